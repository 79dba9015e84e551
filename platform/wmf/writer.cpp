#include "platform/win/text.h"
#include "platform/wmf/writer.h"

#include <algorithm>
#include <limits>

#include "platform/wmf/codec_catalog.h"
#include "platform/wmf/input_props.h"
#include "platform/wmf/sample_buffer.h"
#include "platform/wmf/stream_config.h"
#include "platform/wmf/wide_text.h"

namespace wmf {
namespace {
// Larger than any raw frame the inputs accept at a sane size.
constexpr DWORD kMaxSampleBytes = 256u << 20;
constexpr WORD kDefaultPcmBits = 16;

HRESULT ReadMediaType(IWMMediaProps* props, MediaTypeValue* out) {
    DWORD size = 0;
    HRESULT hr = props->GetMediaType(nullptr, &size);
    if (FAILED(hr)) return hr;
    if (size < sizeof(WM_MEDIA_TYPE)) return E_INVALIDARG;
    std::vector<uint64_t> buf((size + 7) / 8);
    auto* mt = reinterpret_cast<WM_MEDIA_TYPE*>(buf.data());
    hr = props->GetMediaType(mt, &size);
    if (FAILED(hr)) return hr;
    // The block must lie inside what the properties said they need.
    if (mt->cbFormat > size - sizeof(WM_MEDIA_TYPE)) return E_INVALIDARG;
    out->Assign(*mt);
    return S_OK;
}
}  // namespace

MediaTypeValue DefaultInputType(const GUID& type, const MediaTypeValue& output) {
    if (type == WMMEDIATYPE_Audio) {
        const WAVEFORMATEX* out = output.Wave();
        WAVEFORMATEX wfx{};
        wfx.wFormatTag = WAVE_FORMAT_PCM;
        wfx.nChannels = out ? out->nChannels : 2;
        wfx.nSamplesPerSec = out ? out->nSamplesPerSec : 44100;
        wfx.wBitsPerSample = kDefaultPcmBits;
        wfx.nBlockAlign = static_cast<WORD>(wfx.nChannels * kDefaultPcmBits / 8);
        wfx.nAvgBytesPerSec = wfx.nSamplesPerSec * wfx.nBlockAlign;
        return MakeAudioType(WMMEDIASUBTYPE_PCM, wfx, {});
    }
    const VIDEOINFOHEADER* out = output.Video();
    VIDEOINFOHEADER vih{};
    vih.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih.bmiHeader.biWidth = out ? out->bmiHeader.biWidth : 320;
    vih.bmiHeader.biHeight = out ? std::abs(out->bmiHeader.biHeight) : 240;
    vih.bmiHeader.biPlanes = 1;
    vih.bmiHeader.biBitCount = 24;
    vih.rcSource = vih.rcTarget = RECT{0, 0, vih.bmiHeader.biWidth, vih.bmiHeader.biHeight};
    vih.AvgTimePerFrame = out ? out->AvgTimePerFrame : 0;
    const size_t bytes =
        RawFrameBytes(MEDIASUBTYPE_RGB24, vih.bmiHeader.biWidth, vih.bmiHeader.biHeight);
    vih.bmiHeader.biSizeImage = static_cast<DWORD>(bytes);
    return MakeVideoType(WMMEDIASUBTYPE_RGB24, vih, static_cast<ULONG>(bytes));
}

bool IsAcceptedInputType(const GUID& type, const WM_MEDIA_TYPE& mt) {
    if (mt.majortype != type) return false;
    RawVideoLayout video;
    RawAudioLayout audio;
    if (type == WMMEDIATYPE_Video) return ParseRawVideo(mt, &video);
    if (type == WMMEDIATYPE_Audio) return ParseRawAudio(mt, &audio);
    return false;
}

CWriter::~CWriter() {
    if (m_writing) FinishWriting();
}

HRESULT CWriter::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IWMWriter) return ComAnswer<IWMWriter>(this, ppv);
    return E_NOINTERFACE;
}

HRESULT CWriter::SetProfile(IWMProfile* pProfile) {
    if (!pProfile) return E_POINTER;
    if (m_writing) return NS_E_INVALID_REQUEST;
    DWORD count = 0;
    HRESULT hr = pProfile->GetStreamCount(&count);
    if (FAILED(hr)) return hr;
    if (count == 0) return NS_E_INVALID_STREAM;
    std::vector<std::unique_ptr<Input>> inputs;
    for (DWORD i = 0; i < count; ++i) {
        ComPtr<IWMStreamConfig> stream;
        hr = pProfile->GetStream(i, stream.Put());
        if (FAILED(hr)) return hr;
        if (!stream) return NS_E_INVALID_STREAM;
        auto in = std::make_unique<Input>();
        ComPtr<IWMMediaProps> props = stream.As<IWMMediaProps>();
        if (FAILED(stream->GetStreamType(&in->type)) ||
            FAILED(stream->GetStreamNumber(&in->streamNumber)) || !props ||
            FAILED(ReadMediaType(props.Get(), &in->outputType)) ||
            !IsValidOutputType(in->type, in->outputType.Type()))
            return NS_E_INVALID_STREAM;
        in->inputType = DefaultInputType(in->type, in->outputType);
        inputs.push_back(std::move(in));
    }
    // Audio inputs first, then video, each in profile order.
    std::stable_sort(inputs.begin(), inputs.end(), [](const auto& a, const auto& b) {
        return a->type == WMMEDIATYPE_Audio && b->type != WMMEDIATYPE_Audio;
    });
    m_inputs = std::move(inputs);
    return S_OK;
}

HRESULT CWriter::SetOutputFilename(const WCHAR* pwszFilename) {
    if (!pwszFilename) return E_POINTER;
    if (m_writing) return NS_E_INVALID_REQUEST;
    if (!*pwszFilename) return E_INVALIDARG;
    m_filename = WideToUtf8(pwszFilename);
    return S_OK;
}

HRESULT CWriter::GetInputCount(DWORD* pcInputs) {
    if (!pcInputs) return E_POINTER;
    *pcInputs = static_cast<DWORD>(m_inputs.size());
    return S_OK;
}

HRESULT CWriter::GetInputProps(DWORD dwInputNum, IWMInputMediaProps** ppInput) {
    if (!ppInput) return E_POINTER;
    *ppInput = nullptr;
    if (dwInputNum >= m_inputs.size()) return E_INVALIDARG;
    Input& in = *m_inputs[dwInputNum];
    std::lock_guard<std::mutex> hold(in.lock);
    const bool video = in.type == WMMEDIATYPE_Video;
    *ppInput = new CInputMediaProps(in.type, in.inputType,
                                    (video ? L"Video" : L"Audio") + std::to_wstring(dwInputNum));
    return S_OK;
}

HRESULT CWriter::SetInputProps(DWORD dwInputNum, IWMInputMediaProps* pInput) {
    if (!pInput) return E_POINTER;
    if (dwInputNum >= m_inputs.size()) return E_INVALIDARG;
    MediaTypeValue type;
    if (FAILED(ReadMediaType(pInput, &type))) return NS_E_INVALID_INPUT_FORMAT;
    Input& in = *m_inputs[dwInputNum];
    if (!IsAcceptedInputType(in.type, type.Type())) return NS_E_INVALID_INPUT_FORMAT;
    std::lock_guard<std::mutex> hold(in.lock);
    in.inputType = std::move(type);
    in.inputChanged = true;
    return S_OK;
}

HRESULT CWriter::OpenStreams() {
    std::vector<const AVCodecContext*> encoders;
    for (size_t i = 0; i < m_inputs.size(); ++i) {
        Input& in = *m_inputs[i];
        const int index = static_cast<int>(i);
        // The rate is read here only, from the stream's format: the profile
        // checked it there (a stream's SetBitrate value is not checked).
        if (const VIDEOINFOHEADER* vih = in.outputType.Video()) {
            VideoEncoderSettings s{FindVideoEncoder(in.outputType.Type().subtype)->ffmpegName,
                                   vih->bmiHeader.biWidth, std::abs(vih->bmiHeader.biHeight),
                                   vih->AvgTimePerFrame, vih->dwBitRate};
            CodecContextPtr enc = OpenVideoEncoder(s);
            if (!enc) return NS_E_INVALID_OUTPUT_FORMAT;
            in.video = std::make_unique<VideoStream>(std::move(enc), m_output, index);
            encoders.push_back(in.video->Encoder());
        } else {
            const WAVEFORMATEX* wfx = in.outputType.Wave();
            CodecContextPtr enc = OpenAudioEncoder(
                FindAudioEncoder(in.outputType.Type().subtype)->ffmpegName, wfx->nChannels,
                static_cast<int>(wfx->nSamplesPerSec), int64_t{wfx->nAvgBytesPerSec} * 8);
            if (!enc) return NS_E_INVALID_OUTPUT_FORMAT;
            in.audio = std::make_unique<AudioStream>(std::move(enc), m_output, index);
            encoders.push_back(in.audio->Encoder());
        }
        in.inputChanged = true;
    }
    return m_output.Open(m_filename, encoders);
}

HRESULT CWriter::BeginWriting() {
    if (m_writing) return NS_E_INVALID_REQUEST;
    if (m_inputs.empty() || m_filename.empty()) return NS_E_NOT_CONFIGURED;
    HRESULT hr = OpenStreams();
    if (FAILED(hr)) {
        for (auto& in : m_inputs) {
            in->video.reset();
            in->audio.reset();
        }
        return hr;
    }
    m_writing = true;
    return S_OK;
}

HRESULT CWriter::ApplyInputType(Input& in) {
    HRESULT hr = NS_E_INVALID_INPUT_FORMAT;
    RawVideoLayout video;
    RawAudioLayout audio;
    if (in.video && ParseRawVideo(in.inputType.Type(), &video)) hr = in.video->SetInput(video);
    if (in.audio && ParseRawAudio(in.inputType.Type(), &audio)) hr = in.audio->SetInput(audio);
    if (SUCCEEDED(hr)) in.inputChanged = false;
    return hr;
}

HRESULT CWriter::AllocateSample(DWORD dwSampleSize, INSSBuffer** ppSample) {
    if (!ppSample) return E_POINTER;
    *ppSample = nullptr;
    if (dwSampleSize > kMaxSampleBytes) return E_INVALIDARG;
    CSampleBuffer* buffer = CSampleBuffer::Create(dwSampleSize, m_sampleMemory);
    if (!buffer) return E_OUTOFMEMORY;
    *ppSample = buffer;
    return S_OK;
}

HRESULT CWriter::WriteSample(DWORD dwInputNum, QWORD cnsSampleTime, DWORD /*dwFlags*/,
                             INSSBuffer* pSample) {
    if (!pSample) return E_POINTER;
    if (!m_writing) return NS_E_INVALID_REQUEST;
    if (dwInputNum >= m_inputs.size()) return E_INVALIDARG;
    BYTE* data = nullptr;
    DWORD length = 0;
    HRESULT hr = pSample->GetBufferAndLength(&data, &length);
    if (FAILED(hr)) return hr;
    if (!data && length) return E_POINTER;
    // Times beyond this cannot be scaled to any stream's time base.
    constexpr QWORD kMaxTime = static_cast<QWORD>(std::numeric_limits<int64_t>::max() / 1024);
    if (cnsSampleTime > kMaxTime) return E_INVALIDARG;
    const auto time = static_cast<int64_t>(cnsSampleTime);

    Input& in = *m_inputs[dwInputNum];
    std::lock_guard<std::mutex> hold(in.lock);
    if (in.inputChanged) {
        hr = ApplyInputType(in);
        if (FAILED(hr)) return hr;
    }
    if (in.video) return in.video->Write(data, length, time);
    if (in.audio) return in.audio->Write(data, length, time);
    return NS_E_INVALID_REQUEST;
}

HRESULT CWriter::Flush() {
    if (!m_writing) return NS_E_INVALID_REQUEST;
    return m_output.FlushFile();
}

HRESULT CWriter::FinishWriting() {
    HRESULT result = S_OK;
    for (auto& in : m_inputs) {
        std::lock_guard<std::mutex> hold(in->lock);
        HRESULT hr = S_OK;
        if (in->video) hr = in->video->Finish();
        if (in->audio) hr = in->audio->Finish();
        if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
    HRESULT hr = m_output.Close();
    if (FAILED(hr)) result = hr;  // the file's own failure says most
    for (auto& in : m_inputs) {
        in->video.reset();
        in->audio.reset();
    }
    m_writing = false;
    return result;
}

HRESULT CWriter::EndWriting() {
    if (!m_writing) return NS_E_INVALID_REQUEST;
    return FinishWriting();
}

}  // namespace wmf
