// The writer's input formats, taken from what each grabber was connected
// with, and the pacing told which streams exist. None of it ends the job.
#pragma once

#include "convert/wmf9/convertor.h"

void SetWriterInputs(CConvertor& c);
