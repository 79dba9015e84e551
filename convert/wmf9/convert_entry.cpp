// The library's one export.
#include "convert/common/convert_api.h"
#include "convert/engine/convert_export.h"
#include "convert/engine/whole_seconds.h"
#include "convert/wmf9/convertor.h"
#include "convert/wmf9/job.h"
#include "convert/wmf9/pacing.h"

ZEV_CONVERT_EXPORT void Convert(char* szSourceFN, char* szDestFN, ProfileStruc* pProfile,
                                char* szLog, HWND__* hWnd, IGraphBuilder** ppGraph,
                                IMediaControl** ppControl, IMediaSeeking** ppSeeking,
                                double rtBegintime, double rtEndTime, int* pProgress) {
    // The graph layer's classes must be registered before the first
    // CoCreateInstance; this also keeps the layer a needed library.
    DShowRegisterClasses();
    // Pacing starts afresh even when the library stays loaded between jobs.
    LibraryPacing().Reset();
    CConvertor convertor;
    const JobRequest job = {szSourceFN,
                            szDestFN,
                            pProfile,
                            szLog,
                            hWnd,
                            ppGraph,
                            ppControl,
                            ppSeeking,
                            WholeSeconds(rtBegintime),
                            WholeSeconds(rtEndTime),
                            pProgress};
    RunJob(convertor, job);
}
