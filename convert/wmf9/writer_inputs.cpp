#include "convert/wmf9/writer_inputs.h"

#include "convert/wmf9/pacing.h"

namespace {

// The grabber's connected type, or an all-zero type when it has none.
bool ConnectedType(ISampleGrabber* grabber, AM_MEDIA_TYPE& mt) {
    mt = AM_MEDIA_TYPE{};
    if (grabber && SUCCEEDED(grabber->GetConnectedMediaType(&mt))) return true;
    mt = AM_MEDIA_TYPE{};
    return false;
}

}  // namespace

void SetWriterInputs(CConvertor& c) {
    const LogChannel& log = c.m_log;
    IWMInputMediaProps* videoProps = nullptr;
    IWMInputMediaProps* audioProps = nullptr;

    AM_MEDIA_TYPE videoType;
    const bool videoConnected = ConnectedType(c.m_pVideoGrabber, videoType);
    HRESULT hr = c.m_pWriter->GetInputProps(kAudioWriterInput, &videoProps);
    if (FAILED(hr) || !videoProps) {
        log.Send("Info: Can not find InputProps interface on Writer \r\n");
    } else {
        hr = videoProps->SetMediaType(&videoType);
        if (hr != S_OK) Trace("V SetMediatype error 0X%08X\r\n", Hex(hr));
        hr = c.m_pWriter->SetInputProps(kVideoWriterInput, videoProps);
        if (hr != S_OK) {
            Trace("Video Setinputprop error 0X%08X\r\n", Hex(hr));
            log.Printf("Info: Video SetInputProps error 0X%08X\r\n", Hex(hr));
        }
        Trace("\r\n");
        Trace("V Sample size set to %d\r\n", static_cast<int>(videoType.lSampleSize));
    }

    AM_MEDIA_TYPE audioType;
    const bool audioConnected = ConnectedType(c.m_pAudioGrabber, audioType);
    hr = c.m_pWriter->GetInputProps(kVideoWriterInput, &audioProps);
    if (SUCCEEDED(hr) && audioProps) {
        if (audioType.majortype != MEDIATYPE_Audio) Trace("Error: Media type is not audio\r\n");
        hr = audioProps->SetMediaType(&audioType);
        if (hr != S_OK) log.Printf("Info: Audio SetMediatype error 0X%08X\r\n", Hex(hr));
        hr = c.m_pWriter->SetInputProps(kAudioWriterInput, audioProps);
        if (hr != S_OK) {
            Trace("A Setinputprop error 0X%08X\r\n", Hex(hr));
            log.Printf("Info: Audio SetInputProps error 0X%08X\r\n", Hex(hr));
        }
        Trace("A Sample size set to %d\r\n", static_cast<int>(audioType.lSampleSize));
    }
    if (videoProps) videoProps->Release();
    if (audioProps) audioProps->Release();
    FreeMediaType(videoType);
    FreeMediaType(audioType);

    // Only streams that can deliver are waited for.
    LibraryPacing().SetStreams(c.m_pVideoGrabber, videoConnected, c.m_pAudioGrabber,
                               audioConnected);
}
