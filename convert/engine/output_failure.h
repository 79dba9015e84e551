// The line that ends a job whose output file could not be written: both
// engines log it after their own finishing lines, so that the caller sees
// an abort, not a finished job, whenever the file at the destination is not
// the new, whole one.
#pragma once

#include <string>

#include "platform/win/wintypes.h"

// A few words on why the runtime could not write the file, for `hr` as its
// writer returns it ("the disk is full", ...).
const char* OutputFailureReason(HRESULT hr);

// "Failed to write the output file (<reason>), Error=0X%08X, Mission
// aborted!\r\n".
std::string OutputFailureLine(HRESULT hr);
