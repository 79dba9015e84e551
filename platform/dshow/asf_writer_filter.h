// The WM ASF Writer filter: encodes the streams connected to it through the
// Windows Media runtime's writer and writes one file. Its input pins follow
// the profile it is configured with (audio inputs first, as the writer
// numbers them); the file is opened when the graph starts and closed when it
// stops. Internal; created through CLSID_WMAsfWriter.
//
// Failures of the file are posted to the graph as EC_ERRORABORT with the
// writer's result as the first parameter: while running for a file that
// cannot be begun or written, and once more when the graph stops and the
// file cannot be finished (that event waits in the queue after the stop).
#pragma once

#include <gst/app/gstappsink.h>

#include <atomic>
#include <map>
#include <string>

#include "platform/dshow/filter_base.h"
#include "platform/wmf/wmsdk.h"

namespace zev::dshow {

class AsfWriterFilter final : public FilterBase, public IFileSinkFilter, public IConfigAsfWriter {
public:
    AsfWriterFilter();
    ~AsfWriterFilter() override;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override { return FilterBase::AddRef(); }
    ULONG Release() override { return FilterBase::Release(); }

    // IFileSinkFilter
    HRESULT SetFileName(LPCWSTR pszFileName, const AM_MEDIA_TYPE* pmt) override;
    HRESULT GetCurFile(LPWSTR* ppszFileName, AM_MEDIA_TYPE* pmt) override;
    // IConfigAsfWriter. A profile whose streams differ from those of the
    // pins already made is refused with VFW_E_WRONG_STATE.
    HRESULT ConfigureFilterUsingProfile(IWMProfile* pProfile) override;
    HRESULT GetCurrentProfile(IWMProfile** ppProfile) override;

    bool AcceptInput(Pin* input, Pin* from, const MediaFormat& offered,
                     MediaFormat* agreed) override;
    GstElement* BuildBranch(Pin* input, const BranchContext& ctx) override;
    bool GatesDelivery() const override { return true; }
    void OnGraphStarting() override;
    void OnGraphStopped() override;

private:
    struct InputSink {
        AsfWriterFilter* filter;
        DWORD inputNumber;
        StreamKind kind;
        std::vector<BYTE> scratch;  // streaming thread only
    };
    static GstFlowReturn OnSample(GstAppSink* sink, gpointer input);
    void Write(InputSink& input, GstSample* sample);
    void CloseFile();
    void ReportWriteFailure(HRESULT hr);

    IWMProfile* m_profile = nullptr;
    IWMWriter* m_writer = nullptr;
    std::wstring m_fileName;
    std::map<const Pin*, InputSink> m_inputs;
    bool m_writing = false;
    std::atomic<bool> m_writeFailed{false};  // posted once per run
};

HRESULT CreateAsfWriterFilter(REFIID riid, void** ppv);

}  // namespace zev::dshow
