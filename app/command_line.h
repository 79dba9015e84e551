// zev's own options, read before the toolkit starts, so that `zev --help`
// works without a display. Everything else on the command line (the file
// to open, the toolkit's options) is left to the application.
#pragma once

#include <string>

struct ZevCommandLine {
    bool help = false;
    // The converters' trace lines go to standard output: asked for with
    // --trace, or with ZEV_TRACE set to anything but "" or "0".
    bool trace = false;
};

// `traceVariable` is the value of ZEV_TRACE, or null when it is not set.
ZevCommandLine ReadZevCommandLine(int argc, const char* const* argv, const char* traceVariable);

std::string ZevUsageText();
