// The sequence of one conversion job, from the source check to the tagged
// output file.
#pragma once

#include "convert/common/profile_struc.h"
#include "convert/wmf9/convertor.h"

struct JobRequest {
    const char* szSourceFN;
    const char* szDestFN;
    const ProfileStruc* pProfile;
    char* szLog;
    HWND hWnd;
    IGraphBuilder** ppGraph;
    IMediaControl** ppControl;
    IMediaSeeking** ppSeeking;
    int beginSeconds;  // whole seconds, truncated on entry
    int endSeconds;
    int* pProgress;
};

// Runs the job on the calling thread; everything it acquires stays in `c`.
void RunJob(CConvertor& c, const JobRequest& job);
