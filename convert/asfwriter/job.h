// The job of the fallback engine, from the source check to "Converting
// finished": an empty graph with the ASF writer filter, the source rendered
// into it, the range set, the graph run until it ends, with a worker that
// reports progress.
#pragma once

#include "convert/asfwriter/convertor.h"
#include "convert/common/profile_struc.h"

struct JobArguments {
    const char* source;
    const char* destination;
    const ProfileStruc* profile;
    int beginSeconds;
    int endSeconds;
    int* progress;
};

void RunAsfWriterJob(CConvertor& c, const JobArguments& job);
