// The exported entry point of the fallback converter library.
#include "convert/asfwriter/job.h"
#include "convert/common/convert_api.h"
#include "convert/engine/convert_export.h"
#include "convert/engine/whole_seconds.h"
#include "platform/dshow/dshow.h"

ZEV_CONVERT_EXPORT void Convert(char* szSourceFN, char* szDestFN, ProfileStruc* pProfile,
                                char* szLog, HWND__* hWnd, IGraphBuilder** ppGraph,
                                IMediaControl** ppControl, IMediaSeeking** ppSeeking,
                                double rtBegintime, double rtEndTime, int* pProgress) {
    // Makes sure the graph layer is loaded and its classes creatable.
    DShowRegisterClasses();
    CConvertor c;
    c.m_log.Attach(szLog, hWnd);
    c.m_ppGraphSlot = ppGraph;
    c.m_ppControlSlot = ppControl;
    c.m_ppSeekingSlot = ppSeeking;
    if (ppGraph) *ppGraph = nullptr;
    if (ppControl) *ppControl = nullptr;
    if (ppSeeking) *ppSeeking = nullptr;
    if (FAILED(c.m_hrComInit)) {
        c.m_log.Send("Failed to Init Convertor.mission aborted!");
        return;
    }
    if (!pProfile) return;
    const JobArguments job{
        szSourceFN, szDestFN, pProfile, WholeSeconds(rtBegintime), WholeSeconds(rtEndTime),
        pProgress};
    RunAsfWriterJob(c, job);
}
