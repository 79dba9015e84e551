// IWMWriter: takes raw samples on numbered inputs and writes one ASF file.
//
// Inputs follow the profile's streams with audio first: for the usual
// profile (stream 1 audio, stream 2 video) input 0 is audio and input 1
// video. Input types may be set before or after BeginWriting.
//
// Threads: AllocateSample and WriteSample may run on several threads at
// once (each input has its own lock; the file has one). Every other method
// from one thread, while no WriteSample runs.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/wmf/asf_output.h"
#include "platform/wmf/audio_stream.h"
#include "platform/wmf/media_type_value.h"
#include "platform/wmf/sample_buffer.h"
#include "platform/wmf/video_stream.h"
#include "platform/wmf/wmsdk.h"

namespace wmf {

class CWriter final : public IWMWriter {
public:
    CWriter() = default;
    virtual ~CWriter();

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ZEV_COM_REFCOUNTING

    // NS_E_INVALID_STREAM when a stream's type cannot be encoded.
    HRESULT SetProfile(IWMProfile* pProfile) override;
    HRESULT SetOutputFilename(const WCHAR* pwszFilename) override;
    HRESULT GetInputCount(DWORD* pcInputs) override;
    HRESULT GetInputProps(DWORD dwInputNum, IWMInputMediaProps** ppInput) override;
    // NS_E_INVALID_INPUT_FORMAT for a type the input cannot convert.
    HRESULT SetInputProps(DWORD dwInputNum, IWMInputMediaProps* pInput) override;
    // Creates the file. NS_E_NOT_CONFIGURED without profile or file name.
    HRESULT BeginWriting() override;
    // Finishes and closes the file; a failure means the file is not whole.
    HRESULT EndWriting() override;
    HRESULT AllocateSample(DWORD dwSampleSize, INSSBuffer** ppSample) override;
    HRESULT WriteSample(DWORD dwInputNum, QWORD cnsSampleTime, DWORD dwFlags,
                        INSSBuffer* pSample) override;
    HRESULT Flush() override;

private:
    struct Input {
        GUID type{};
        WORD streamNumber = 0;
        MediaTypeValue outputType;
        MediaTypeValue inputType;
        bool inputChanged = false;  // set the new type on the stream before the next sample
        std::mutex lock;
        std::unique_ptr<VideoStream> video;
        std::unique_ptr<AudioStream> audio;
    };

    HRESULT OpenStreams();
    HRESULT ApplyInputType(Input& in);
    HRESULT FinishWriting();

    ComRefCount m_ref;
    std::vector<std::unique_ptr<Input>> m_inputs;
    std::string m_filename;
    AsfOutput m_output;
    // Shared with the buffers handed out, which may outlive the writer.
    std::shared_ptr<SampleMemoryPool> m_sampleMemory = std::make_shared<SampleMemoryPool>();
    bool m_writing = false;
};

// The input type a writer offers before one is set: PCM at the stream's
// rate and channels, or upright RGB24 at the stream's frame size.
MediaTypeValue DefaultInputType(const GUID& type, const MediaTypeValue& output);
// True when the writer can take `mt` on an input of `type`.
bool IsAcceptedInputType(const GUID& type, const WM_MEDIA_TYPE& mt);

}  // namespace wmf
