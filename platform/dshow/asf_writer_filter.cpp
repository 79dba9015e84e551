#include "platform/dshow/asf_writer_filter.h"

#include <cwchar>

#include "platform/dshow/delivery.h"

namespace zev::dshow {
namespace {

constexpr gint64 kNsPer100ns = 100;

std::wstring InputPinName(StreamKind kind, int index) {
    wchar_t name[32];
    std::swprintf(name, 32, L"%ls Input %02d", kind == StreamKind::Video ? L"Video" : L"Audio",
                  index);
    return name;
}

StreamKind KindOfInput(IWMWriter* writer, DWORD input) {
    IWMInputMediaProps* props = nullptr;
    if (FAILED(writer->GetInputProps(input, &props)) || !props) return StreamKind::Other;
    GUID type = GUID_NULL;
    props->GetType(&type);
    props->Release();
    return type == MEDIATYPE_Video   ? StreamKind::Video
           : type == MEDIATYPE_Audio ? StreamKind::Audio
                                     : StreamKind::Other;
}

}  // namespace

AsfWriterFilter::AsfWriterFilter() : FilterBase(L"WM ASF Writer") {}

AsfWriterFilter::~AsfWriterFilter() {
    CloseFile();
    if (m_writer) m_writer->Release();
    if (m_profile) m_profile->Release();
}

HRESULT AsfWriterFilter::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IFileSinkFilter) return ComAnswer<IFileSinkFilter>(this, ppv);
    if (riid == IID_IConfigAsfWriter) return ComAnswer<IConfigAsfWriter>(this, ppv);
    return FilterBase::QueryInterface(riid, ppv);
}

HRESULT AsfWriterFilter::SetFileName(LPCWSTR pszFileName, const AM_MEDIA_TYPE*) {
    if (!pszFileName) return E_POINTER;
    if (!*pszFileName) return E_INVALIDARG;
    if (m_writing) return VFW_E_WRONG_STATE;
    m_fileName = pszFileName;
    return S_OK;
}

HRESULT AsfWriterFilter::GetCurFile(LPWSTR* ppszFileName, AM_MEDIA_TYPE* pmt) {
    if (!ppszFileName) return E_POINTER;
    *ppszFileName = nullptr;
    if (pmt) std::memset(pmt, 0, sizeof *pmt);
    if (m_fileName.empty()) return E_FAIL;
    const size_t bytes = (m_fileName.size() + 1) * sizeof(WCHAR);
    *ppszFileName = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*ppszFileName) return E_OUTOFMEMORY;
    std::memcpy(*ppszFileName, m_fileName.c_str(), bytes);
    return S_OK;
}

HRESULT AsfWriterFilter::ConfigureFilterUsingProfile(IWMProfile* pProfile) {
    if (!pProfile) return E_POINTER;
    if (m_writing || (Host() && !Host()->IsStopped())) return VFW_E_WRONG_STATE;
    // The private entry point: present even in runtimes without the
    // public writer factory.
    IWMWriter* writer = nullptr;
    HRESULT hr = WMCreateWriterPriv(&writer);
    if (FAILED(hr) || !writer) return FAILED(hr) ? hr : E_FAIL;
    hr = writer->SetProfile(pProfile);
    DWORD count = 0;
    if (SUCCEEDED(hr)) hr = writer->GetInputCount(&count);
    std::vector<StreamKind> kinds;
    for (DWORD i = 0; SUCCEEDED(hr) && i < count; ++i) kinds.push_back(KindOfInput(writer, i));
    if (SUCCEEDED(hr) && !Pins().empty()) {
        bool same = Pins().size() == kinds.size();
        for (size_t i = 0; same && i < kinds.size(); ++i)
            same = m_inputs.at(Pins()[i].get()).kind == kinds[i];
        if (!same) hr = VFW_E_WRONG_STATE;
    }
    if (FAILED(hr)) {
        writer->Release();
        return hr;
    }
    if (Pins().empty()) {
        int perKind[3] = {0, 0, 0};
        for (DWORD i = 0; i < count; ++i) {
            const int index = ++perKind[static_cast<int>(kinds[i])];
            Pin* pin = AddPin(PINDIR_INPUT, InputPinName(kinds[i], index));
            m_inputs.emplace(pin, InputSink{this, i, kinds[i], {}});
        }
    }
    if (m_writer) m_writer->Release();
    m_writer = writer;
    pProfile->AddRef();
    if (m_profile) m_profile->Release();
    m_profile = pProfile;
    return S_OK;
}

HRESULT AsfWriterFilter::GetCurrentProfile(IWMProfile** ppProfile) {
    if (!ppProfile) return E_POINTER;
    *ppProfile = m_profile;
    if (!m_profile) return E_FAIL;
    m_profile->AddRef();
    return S_OK;
}

bool AsfWriterFilter::AcceptInput(Pin* input, Pin*, const MediaFormat& offered,
                                  MediaFormat* agreed) {
    auto it = m_inputs.find(input);
    if (it == m_inputs.end() || it->second.kind != offered.kind) return false;
    AM_MEDIA_TYPE any{};
    any.majortype = offered.kind == StreamKind::Video ? MEDIATYPE_Video : MEDIATYPE_Audio;
    return NegotiateFormat(offered, any, agreed);
}

GstElement* AsfWriterFilter::BuildBranch(Pin* input, const BranchContext& ctx) {
    auto it = m_inputs.find(input);
    if (it == m_inputs.end() || !m_writing) return nullptr;
    GstElement* sink = MakeElement("appsink");
    if (!sink) return nullptr;
    g_object_set(sink, "sync", ctx.sync ? TRUE : FALSE, nullptr);
    GstAppSinkCallbacks cb{};
    cb.new_sample = &AsfWriterFilter::OnSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &cb, &it->second, nullptr);
    return MakeConvertingBranch(input->Format(), sink, BranchThread::Own);
}

void AsfWriterFilter::OnGraphStarting() {
    CloseFile();
    if (!m_writer || m_fileName.empty()) return;
    // Each connected input takes exactly what its connection carries.
    for (const auto& pin : Pins()) {
        if (!pin->IsLinked()) continue;
        const InputSink& in = m_inputs.at(pin.get());
        IWMInputMediaProps* props = nullptr;
        if (FAILED(m_writer->GetInputProps(in.inputNumber, &props)) || !props) continue;
        AM_MEDIA_TYPE mt{};
        if (SUCCEEDED(FormatToMediaType(pin->Format(), &mt)) && SUCCEEDED(props->SetMediaType(&mt)))
            m_writer->SetInputProps(in.inputNumber, props);
        FreeMediaType(mt);
        props->Release();
    }
    m_writeFailed = false;
    HRESULT hr = m_writer->SetOutputFilename(m_fileName.c_str());
    if (SUCCEEDED(hr)) hr = m_writer->BeginWriting();
    if (SUCCEEDED(hr))
        m_writing = true;
    else
        ReportWriteFailure(hr);
}

void AsfWriterFilter::ReportWriteFailure(HRESULT hr) {
    if (Host()) Host()->Events().Post(EC_ERRORABORT, static_cast<LONG_PTR>(hr), 0);
}

void AsfWriterFilter::OnGraphStopped() {
    CloseFile();
}

void AsfWriterFilter::CloseFile() {
    if (!m_writing) return;
    m_writer->Flush();
    const HRESULT hr = m_writer->EndWriting();
    m_writing = false;
    // The graph has stopped; the owner learns from this event, taken after
    // the stop, that the file at the destination is not the new one.
    if (FAILED(hr)) ReportWriteFailure(hr);
}

GstFlowReturn AsfWriterFilter::OnSample(GstAppSink* sink, gpointer data) {
    auto* input = static_cast<InputSink*>(data);
    SampleRef s(gst_app_sink_pull_sample(sink));
    if (s) input->filter->Write(*input, s.Get());
    return GST_FLOW_OK;
}

void AsfWriterFilter::Write(InputSink& input, GstSample* sample) {
    DeliveredBuffer buffer;
    if (!buffer.Prepare(sample, input.kind, &input.scratch) || buffer.TimeNs() < 0) return;
    INSSBuffer* out = nullptr;
    if (FAILED(m_writer->AllocateSample(static_cast<DWORD>(buffer.Size()), &out)) || !out) return;
    BYTE* dst = nullptr;
    if (SUCCEEDED(out->GetBuffer(&dst)) && dst) {
        std::memcpy(dst, buffer.Data(), buffer.Size());
        out->SetLength(static_cast<DWORD>(buffer.Size()));
        const HRESULT hr = m_writer->WriteSample(
            input.inputNumber, static_cast<QWORD>(buffer.TimeNs() / kNsPer100ns), 0, out);
        // A file that can no longer be written ends the job as an error.
        if (IsOutputFileFailure(hr) && !m_writeFailed.exchange(true)) ReportWriteFailure(hr);
    }
    out->Release();
}

HRESULT CreateAsfWriterFilter(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (!EnsureGstInit()) return E_FAIL;
    auto* f = new AsfWriterFilter;
    HRESULT hr = f->QueryInterface(riid, ppv);
    f->Release();
    return hr;
}

}  // namespace zev::dshow
