#include "app/command_line.h"

#include <cstring>

ZevCommandLine ReadZevCommandLine(int argc, const char* const* argv, const char* traceVariable) {
    ZevCommandLine line;
    line.trace = traceVariable && *traceVariable && std::strcmp(traceVariable, "0") != 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            line.help = true;
        else if (std::strcmp(argv[i], "--trace") == 0)
            line.trace = true;
    }
    return line;
}

std::string ZevUsageText() {
    return "Usage: zev [OPTION]... [FILE]\n"
           "Convert a range of a movie into a Windows Media file (.wmv), in a window.\n"
           "FILE is loaded at start, in the running window if there is one.\n"
           "\n"
           "  --trace     write the converters' trace lines (one or more per decoded\n"
           "              picture) to standard output; the same as ZEV_TRACE=1 in the\n"
           "              environment. Without it standard output stays quiet. Lines\n"
           "              that a reader does not take in time are dropped: a job never\n"
           "              waits for them.\n"
           "  -h, --help  show this help and exit\n"
           "\n"
           "zev-convert runs the same job from a terminal (zev-convert --help).\n";
}
