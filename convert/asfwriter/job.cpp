#include "convert/asfwriter/job.h"

#include <cstdio>

#include "convert/asfwriter/asf_profile.h"
#include "convert/asfwriter/progress_worker.h"
#include "convert/engine/event_pump.h"
#include "convert/engine/graph_helpers.h"
#include "convert/common/job_report.h"
#include "convert/engine/output_failure.h"
#include "convert/engine/source_end.h"

namespace {

// The range's stop lies one second past the asked end.
constexpr int kStopSlackSeconds = 1;

template <class T>
HRESULT Query(IUnknown* from, T** out) {
    *out = nullptr;
    return from->QueryInterface(IidOf<T>(), reinterpret_cast<void**>(out));
}

bool SourceReadable(const char* path) {
    FILE* f = path ? std::fopen(path, "rb") : nullptr;
    if (!f) return false;
    std::fclose(f);
    return true;
}

bool EndsTheJob(long code) {
    return code == EC_COMPLETE || code == EC_USERABORT || code == EC_ERRORABORT ||
           code == EC_PREPROCESS_COMPLETE;
}

// Waits for the graph's end while pumping the caller's messages; sets the
// stop flag when an ending event arrives. Returns the failure of the output
// file when that is what ended the graph, else S_OK.
HRESULT RunEventLoop(CConvertor& c, CProgressWorker* worker, const CSourceWatch& source,
                     LONGLONG rangeEnd) {
    IMediaEvent* events = nullptr;
    if (FAILED(Query(c.m_pGraph, &events)) || !events) {
        c.m_log.Send("QI failed for IMediaEvent interface!\n");
        return S_OK;
    }
    c.m_log.Send("Under converting, please wait...\r\n");
    OAEVENT handle = 0;
    if (FAILED(events->GetEventHandle(&handle)) || !handle) {
        c.m_log.Send("Unexpected failure (GetEventHandle failed)...\n");
        events->Release();
        return S_OK;
    }
    LONG_PTR param = 0;
    const long code =
        PumpUntilEndingEvent(events, reinterpret_cast<HANDLE>(handle), EndsTheJob, &param);
    switch (code) {
        case EC_COMPLETE:
            ReportSourceEnd([&c](const char* line) { c.m_log.Send(line); }, source,
                            c.m_pMediaSeeking, rangeEnd);
            break;
        case EC_USERABORT:
            c.m_log.Send(kReportStopped8);
            break;
        case EC_ERRORABORT:
            // A log line, not only a trace line: the caller must not take a
            // job that failed (an unwritable file, a broken stream) for one
            // that finished. Standard output sees the same text as before.
            c.m_log.Send(kReportFailed8);
            if (source.Changed()) c.m_log.Send(kReportSourceChanged);
            break;
        case EC_PREPROCESS_COMPLETE:
            Trace("Preprocess complete\n");
            break;
        default:
            break;
    }
    if (worker) worker->SetStopFlag();
    events->Release();
    const auto hr = static_cast<HRESULT>(param);
    return code == EC_ERRORABORT && IsOutputFileFailure(hr) ? hr : S_OK;
}

// The writer filter closes the file when the graph stops and posts a failure
// to finish it; take that from the queue, leaving nothing else of note.
HRESULT FileFailureAfterStop(IGraphBuilder* graph) {
    IMediaEvent* events = nullptr;
    if (FAILED(Query(graph, &events)) || !events) return S_OK;
    HRESULT failure = S_OK;
    long code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    while (events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
        events->FreeEventParams(code, p1, p2);
        const auto hr = static_cast<HRESULT>(p1);
        if (code == EC_ERRORABORT && IsOutputFileFailure(hr) && SUCCEEDED(failure)) failure = hr;
    }
    events->Release();
    return failure;
}

// Steps up to the rendered graph; false when the job ends there.
bool BuildGraph(CConvertor& c, const JobArguments& job) {
    const EchoLog& log = c.m_log;
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IGraphBuilder, reinterpret_cast<void**>(&c.m_pGraph));
    if (FAILED(hr) || !c.m_pGraph) {
        log.Printf("CreateFilterGraph: Failed to create graph! Error=0x%x\n", Hex(hr));
        log.Send("Failed to Create Graphbuilder, mission aborted!");
        return false;
    }
    if (c.m_ppGraphSlot) *c.m_ppGraphSlot = c.m_pGraph;

    hr = CoCreateInstance(CLSID_WMAsfWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                          reinterpret_cast<void**>(&c.m_pWriterFilter));
    if (FAILED(hr) || !c.m_pWriterFilter) {
        log.Printf("CreateFilter: Failed to create filter!  Error=0x%x\n", Hex(hr));
        log.Send("Failed to Create AsfWriter filter, mission aborted!");
        return false;
    }
    if (FAILED(hr = Query(c.m_pWriterFilter, &c.m_pFileSink)) || !c.m_pFileSink) {
        log.Printf("Failed to create QI IFileSinkFilter!  Error=0x%x\n", Hex(hr));
        log.Send("Failed to find FileSink Filter, mission aborted!");
        return false;
    }
    if (FAILED(hr = c.m_pGraph->AddFilter(c.m_pWriterFilter, L"Mux"))) {
        log.Printf("Failed to add ASFWriter filter to Graph!  Error=0x%x\n", Hex(hr));
        log.Send("Failed to Add ASFWriter to Graph, mission aborted!");
        return false;
    }
    if (FAILED(hr = Query(c.m_pWriterFilter, &c.m_pConfig)) || !c.m_pConfig) {
        log.Printf("Failed to find IConfigAsfWriter!  Error=0x%x\n", Hex(hr));
        log.Send("Failed to find ASFWriter Config interface, mission aborted!");
        return false;
    }
    if (!BuildAsfWriterProfile(c, *job.profile)) return false;

    hr = ToWidePath(job.destination, c.m_wszDestFN);
    if (SUCCEEDED(hr)) hr = c.m_pFileSink->SetFileName(c.m_wszDestFN, nullptr);
    if (FAILED(hr)) {
        log.Printf("Failed to set dest file name! Error=0x%x\n", Hex(hr));
        log.Send("Failed to set Dest File name, mission aborted!");
        return false;
    }
    SwitchOffReferenceClock(c.m_pGraph, log.Channel(),
                            "Failed to find interface for media filter!  Error=0x%x\n",
                            "Failed to set time sync to none!  Error=0x%x\n");

    Trace("before render file \r\n");
    hr = ToWidePath(job.source, c.m_wszSourceFN);
    // A path the graph never saw is not an unrecognised format.
    if (const std::string line = UnusablePathLine("Source", hr); !line.empty()) {
        log.Send(line.c_str());
        return false;
    }
    if (SUCCEEDED(hr)) hr = c.m_pGraph->RenderFile(c.m_wszSourceFN, nullptr);
    Trace("begin to render file \r\n");
    if (FAILED(hr)) {
        log.Printf("Failed to render source file %ls!  Error=0x%x\n", c.m_wszSourceFN, Hex(hr));
        log.Send(
            "Unrecogonized source file format, pleae ensure WMP can play it! Mission aborted!");
        return false;
    }
    // The writer filter took the first stream of each kind; the others must
    // neither sound nor slow the job down.
    if (const int ignored = DiscardUnconvertedStreams(c.m_pGraph); ignored > 0)
        log.Printf(kFirstSoundTrackLine, ignored + 1);
    return true;
}

// Control, position and seeking, with the range set twice; false when the
// job ends there.
bool PositionGraph(CConvertor& c, const JobArguments& job) {
    const EchoLog& log = c.m_log;
    HRESULT hr = Query(c.m_pGraph, &c.m_pMediaControl);
    if (FAILED(hr) || !c.m_pMediaControl) {
        log.Printf("Failed to find IMediaControl interface, Mission aborted!  Error=0X%08X\r\n",
                   Hex(hr));
        return false;
    }
    if (c.m_ppControlSlot) *c.m_ppControlSlot = c.m_pMediaControl;

    hr = Query(c.m_pGraph, &c.m_pMediaPosition);
    if (FAILED(hr) || !c.m_pMediaPosition) {
        log.Printf(
            "Info: Failed to find IMediaPosition interface, seeking disabled, Error=0X%08X\r\n",
            Hex(hr));
    } else {
        c.m_pMediaPosition->put_CurrentPosition(job.beginSeconds);
        c.m_pMediaPosition->put_StopTime(job.endSeconds);
    }
    hr = Query(c.m_pGraph, &c.m_pMediaSeeking);
    if (FAILED(hr) || !c.m_pMediaSeeking) {
        log.Printf(
            "Info: Failed to find IMediaSeeking interface, unable to set begin time, "
            "Error=0X%08X\r\n",
            Hex(hr));
    }
    LONGLONG begin = job.beginSeconds * kUnitsPerSecond;
    LONGLONG end = (static_cast<LONGLONG>(job.endSeconds) + kStopSlackSeconds) * kUnitsPerSecond;
    log.Printf("Begin time is %.6f\r\n", static_cast<double>(begin));
    log.Printf("End  time  is %.6f\r\n", static_cast<double>(end));
    if (c.m_pMediaSeeking) {
        hr = c.m_pMediaSeeking->SetPositions(&begin, AM_SEEKING_AbsolutePositioning, &end,
                                             AM_SEEKING_AbsolutePositioning);
        if (hr != S_OK) {
            log.Printf(
                "Info: Can not set converting time range with WMP version lower than 9, "
                "Error=0X%08X\r\n",
                Hex(hr));
        }
        if (c.m_ppSeekingSlot) *c.m_ppSeekingSlot = c.m_pMediaSeeking;
    }
    return true;
}

}  // namespace

void RunAsfWriterJob(CConvertor& c, const JobArguments& job) {
    if (!SourceReadable(job.source)) {
        c.m_log.Printf("File not found in reading '%s', Mission aborted!\n",
                       job.source ? job.source : "");
        return;
    }
    CSourceWatch source;
    source.Begin(job.source);
    if (!BuildGraph(c, job) || !PositionGraph(c, job)) return;

    c.m_log.Printf("Info: Begin Convert '%s' to '%s'\r\n", job.source, job.destination);
    c.m_pMediaControl->Run();

    CProgressWorker* worker = nullptr;
    double duration = 0;
    if (c.m_pMediaPosition) {
        c.m_pMediaPosition->get_Duration(&duration);
        worker = new CProgressWorker(duration, job.progress, c.m_pMediaPosition);
        if (!worker->Start()) {
            c.m_log.Send("Create progress thread failed, no progress\r\n");
            delete worker;
            worker = nullptr;
        }
    } else {
        c.m_log.Send("No progress info\r\n");
    }

    HRESULT fileFailure =
        RunEventLoop(c, worker, source, static_cast<LONGLONG>(job.endSeconds) * kUnitsPerSecond);

    const HRESULT stopped = c.m_pMediaControl->Stop();
    const HRESULT closeFailure = FileFailureAfterStop(c.m_pGraph);
    if (SUCCEEDED(fileFailure)) fileFailure = closeFailure;
    // The worker reads the position interface and the progress integer: it
    // is finished with both before the job goes on.
    if (worker) {
        worker->SetStopFlag();
        worker->Join();
        delete worker;
    }
    if (FAILED(stopped))
        c.m_log.Printf("Failed to stop filter graph!  Error=0X%08X\r\n", Hex(stopped));
    // The destination does not hold the new file: an abort, whatever ended
    // the graph.
    if (FAILED(fileFailure)) c.m_log.Send(OutputFailureLine(fileFailure).c_str());
    c.m_log.Send(kReportFinished8);
}
