// The wait for the end of the job on the caller's thread, dispatching the
// thread's window messages meanwhile so that the caller's timers, its stop
// command and its log handler run inside it.
#pragma once

#include "convert/wmf9/convertor.h"

// Returns after the ending event (or a missing event channel) and "End of
// converting.".
void RunEventLoop(CConvertor& c);
