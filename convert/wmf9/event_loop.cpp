#include "convert/wmf9/event_loop.h"

#include "convert/common/job_report.h"
#include "convert/engine/event_pump.h"

namespace {

bool EndsJob(long code) {
    return code == EC_COMPLETE || code == EC_USERABORT || code == EC_ERRORABORT ||
           code == EC_PREPROCESS_COMPLETE;
}

GraphEnding ReportEnding(const CConvertor& c, long code) {
    const LogChannel& log = c.m_log;
    switch (code) {
        case EC_COMPLETE:
            // A source that changed while it was read is no success.
            if (!ReportSourceEnd([&log](const char* line) { log.Send(line); }, c.m_source,
                                 c.m_pMediaSeeking, c.m_rangeEnd))
                return GraphEnding::RangeDone;
            break;
        case EC_USERABORT:
            log.Send(kReportStopped9);
            break;
        case EC_ERRORABORT:
            log.Send(kReportFailed9);
            // The likely cause of the error, if it is this.
            if (c.m_source.Changed()) log.Send(kReportSourceChanged);
            break;
        default:  // EC_PREPROCESS_COMPLETE ends the job without a line
            break;
    }
    return GraphEnding::Other;
}

}  // namespace

GraphEnding RunEventLoop(CConvertor& c) {
    const LogChannel& log = c.m_log;
    GraphEnding ending = GraphEnding::Other;
    // Declared in this order so that the sink goes before the events.
    ComPtr<IMediaEvent> events;
    ComPtr<IMediaEventSink> sink;
    c.m_pGraph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(events.Put()));
    if (!events) {
        log.Send("Failed to find IMediaEvent interface!\r\n");
    } else {
        log.Send("Under converting, please wait...\r\n");
        OAEVENT handle = 0;
        if (FAILED(events->GetEventHandle(&handle)) || !handle) {
            log.Send("Unexpected failure (GetEventHandle failed)...\r\n");
        } else {
            c.m_pGraph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(sink.Put()));
            if (sink) {
                Trace("Get Media Sink success\r\n");
                c.m_videoCallback.SetEventSink(sink.Get());
                c.m_audioCallback.SetEventSink(sink.Get());
            }
            ending = ReportEnding(
                c, PumpUntilEndingEvent(events.Get(), reinterpret_cast<HANDLE>(handle), &EndsJob));
        }
    }
    // The graph still runs until finishing stops it; take the sink back
    // before letting it go.
    c.m_videoCallback.SetEventSink(nullptr);
    c.m_audioCallback.SetEventSink(nullptr);
    return ending;
}
