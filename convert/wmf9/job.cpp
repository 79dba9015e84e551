#include "convert/wmf9/job.h"

#include <cstdio>

#include "convert/engine/graph_helpers.h"
#include "convert/wmf9/decode_graph.h"
#include "convert/wmf9/event_loop.h"
#include "convert/wmf9/finishing.h"
#include "convert/wmf9/profile_builder.h"
#include "convert/wmf9/writer_inputs.h"

namespace {

const char* Text(const char* s) {
    return s ? s : "(null)";
}

bool SourceIsReadable(const char* path) {
    if (!path) return false;
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

// Settings that would make the job divide by zero or run backwards end it
// before anything is built.
bool RequestIsUsable(const LogChannel& log, const JobRequest& job) {
    if (!job.pProfile) {
        log.Send("Error, no encoding profile given, Mission aborted!\r\n");
        return false;
    }
    const ProfileStruc& p = *job.pProfile;
    if (p.framesPerSecond <= 0) {
        log.Printf("Error, frame rate %d is not valid, Mission aborted!\r\n", p.framesPerSecond);
        return false;
    }
    if (p.width <= 0 || p.height <= 0) {
        log.Printf("Error, video size %dx%d is not valid, Mission aborted!\r\n", p.width, p.height);
        return false;
    }
    if (job.beginSeconds > job.endSeconds) {
        log.Printf("Error, begin time %d s is after end time %d s, Mission aborted!\r\n",
                   job.beginSeconds, job.endSeconds);
        return false;
    }
    // Nothing to convert: the file would be an empty one that players
    // refuse, replacing whatever was at the destination.
    if (job.beginSeconds == job.endSeconds) {
        log.Printf("Error, the range from %d s to %d s is empty, Mission aborted!\r\n",
                   job.beginSeconds, job.endSeconds);
        return false;
    }
    return true;
}

bool SetDestination(CConvertor& c, const char* szDestFN) {
    HRESULT hr = ToWidePath(szDestFN, c.m_wszDestFN);
    if (SUCCEEDED(hr)) hr = c.m_pWriter->SetOutputFilename(c.m_wszDestFN);
    if (FAILED(hr)) {
        c.m_log.Printf("Failed to set dest file name! Error=0X%08X\r\n", Hex(hr));
        c.m_log.Send("Failed to set Dest File name, mission aborted!\r\n");
        return false;
    }
    return true;
}

// Control, position and seeking interfaces of the graph; only the control
// interface is indispensable.
bool TakeGraphInterfaces(CConvertor& c, const JobRequest& job) {
    const LogChannel& log = c.m_log;
    HRESULT hr =
        c.m_pGraph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&c.m_pMediaControl));
    if (FAILED(hr) || !c.m_pMediaControl) {
        log.Printf("Failed to find IMediaControl interface, Mission aborted!  Error=0X%08X\r\n",
                   Hex(FAILED(hr) ? hr : E_NOINTERFACE));
        return false;
    }
    if (job.ppControl) *job.ppControl = c.m_pMediaControl;
    hr = c.m_pGraph->QueryInterface(IID_IMediaPosition,
                                    reinterpret_cast<void**>(&c.m_pMediaPosition));
    if (FAILED(hr) || !c.m_pMediaPosition)
        log.Printf(
            "Info: Failed to find IMediaPosition interface, seeking disabled, "
            "Error=0X%08X\r\n",
            Hex(hr));
    hr =
        c.m_pGraph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&c.m_pMediaSeeking));
    if (FAILED(hr) || !c.m_pMediaSeeking)
        log.Printf(
            "Info: Failed to find IMediaSeeking interface, unable to set begin time, "
            "Error=0X%08X\r\n",
            Hex(hr));
    return true;
}

struct TimeRange {
    LONGLONG begin;
    LONGLONG end;
};

TimeRange PrepareTimeRange(CConvertor& c, const JobRequest& job) {
    const TimeRange range = {job.beginSeconds * kUnitsPerSecond, job.endSeconds * kUnitsPerSecond};
    Trace("End time before Long Long is %d\r\n", static_cast<int>(static_cast<int32_t>(range.end)));
    Trace("Begin time is %.6f\r\n", static_cast<double>(range.begin));
    Trace("End  time  is %.6f\r\n", static_cast<double>(range.end));
    Trace("duration is %.6f\r\n", static_cast<double>(range.end - range.begin));
    c.m_videoCallback.SetProgress(job.pProgress, static_cast<double>(range.end - range.begin));
    c.m_log.Printf("Info: Converting range set from nanao seconds %.0f to %.0f \r\n",
                   static_cast<double>(range.begin), static_cast<double>(range.end));
    return range;
}

// A range that begins at or after the source's end would give a file with
// nothing in it; the job ends before the writer creates one. A graph that
// cannot tell its duration lets the job go on.
bool RangeStartsInSource(CConvertor& c, TimeRange range) {
    LONGLONG duration = 0;
    if (!c.m_pMediaSeeking || FAILED(c.m_pMediaSeeking->GetDuration(&duration)) || duration <= 0)
        return true;
    if (range.begin < duration) return true;
    c.m_log.Printf(
        "Error, begin time %.0f s is past the end of the source at %.3f s, Mission "
        "aborted!\r\n",
        static_cast<double>(range.begin) / kUnitsPerSecond,
        static_cast<double>(duration) / kUnitsPerSecond);
    return false;
}

void SetTimeRange(CConvertor& c, TimeRange range) {
    if (!c.m_pMediaSeeking) return;
    const HRESULT hr = c.m_pMediaSeeking->SetPositions(&range.begin, AM_SEEKING_AbsolutePositioning,
                                                       &range.end, AM_SEEKING_AbsolutePositioning);
    if (hr != S_OK)
        c.m_log.Printf("Info: Error in setting converting time range, Error=0X%08X\r\n", Hex(hr));
}

}  // namespace

void RunJob(CConvertor& c, const JobRequest& job) {
    Trace("szSourceFN is %s\n", Text(job.szSourceFN));
    Trace("szDestFN is %s\n", Text(job.szDestFN));
    Trace("rtBegintime is %d\n", job.beginSeconds);
    Trace("rtEndTime is %d\n", job.endSeconds);

    c.m_log.Attach(job.szLog, job.hWnd);
    c.m_ppGraphSlot = job.ppGraph;
    c.m_ppControlSlot = job.ppControl;
    c.m_ppSeekingSlot = job.ppSeeking;
    // A thread already in another apartment can still use COM.
    if (FAILED(c.m_hrComInit) && c.m_hrComInit != RPC_E_CHANGED_MODE) {
        c.m_log.Send("Failed to Init Convertor.mission aborted!\r\n");
        return;
    }

    if (!SourceIsReadable(job.szSourceFN)) {
        c.m_log.Printf("File not found in reading '%s', Mission aborted!\r\n",
                       job.szSourceFN ? job.szSourceFN : "");
        return;
    }
    if (!RequestIsUsable(c.m_log, job)) return;
    c.m_source.Begin(job.szSourceFN);

    const HRESULT hr = WMCreateWriter(nullptr, &c.m_pWriter);
    if (hr != S_OK || !c.m_pWriter) {
        c.m_log.Printf("Failed to create WMWriter object, error 0X%08X, Mission aborted!\r\n",
                       Hex(hr != S_OK ? hr : E_POINTER));
        return;
    }
    if (!BuildDecodeGraph(c, job.szSourceFN)) return;
    if (!BuildEncodingProfile(c, *job.pProfile)) return;
    if (!SetDestination(c, job.szDestFN)) return;
    if (job.ppGraph) *job.ppGraph = c.m_pGraph;
    SwitchOffReferenceClock(c.m_pGraph, c.m_log,
                            "Info: Failed to find interface for media filter!  Error=0X%08X\r\n",
                            "Info: Failed to set time sync to none!  Error=0X%08X\r\n");
    if (!TakeGraphInterfaces(c, job)) return;
    const TimeRange range = PrepareTimeRange(c, job);
    c.m_rangeEnd = range.end;
    if (!RangeStartsInSource(c, range)) return;

    const HRESULT hrBegin = c.m_pWriter->BeginWriting();
    if (FAILED(hrBegin)) {
        c.m_log.PrintfTraced("Info: BeginWriting on IWMWriter failed, Error=0X%08X\r\n",
                             Hex(hrBegin));
        // Without an output file nothing the graph decodes can be kept;
        // running it would end with a success line for a file that is not
        // there.
        c.m_log.Send("Failed to create the output file, Mission aborted!\r\n");
        return;
    }
    SetWriterInputs(c);
    c.m_pMediaControl->Run();
    SetTimeRange(c, range);
    if (job.ppSeeking) *job.ppSeeking = c.m_pMediaSeeking;
    c.m_log.Printf("Info: Begin Convert '%s' to '%s'\r\n", job.szSourceFN, Text(job.szDestFN));

    FinishJob(c, RunEventLoop(c));
}
