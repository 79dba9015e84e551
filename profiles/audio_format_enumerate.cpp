// Enumeration of the runtime's audio formats into the catalogue's table.
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/wmf/media_type_reader.h"
#include "platform/win/trace.h"
#include "profiles/audio_format_catalog.h"

namespace {

// The media type and format block of one format, or false when the
// runtime can't describe it. The two-call protocol sizes the buffer.
bool ReadWaveFormat(IWMMediaProps& props, DWORD& sampleSize, WAVEFORMATEX& wave) {
    CMediaTypeReader reader(&props);
    const WM_MEDIA_TYPE* type = reader.Type();
    if (reader.Result() != S_OK || !type) return false;
    // The fields up to wBitsPerSample are what the trace and table use; a
    // shorter or missing block would be read past its end.
    constexpr size_t kWaveFieldsBytes = offsetof(WAVEFORMATEX, cbSize);
    if (!type->pbFormat || type->cbFormat < kWaveFieldsBytes) return false;
    std::memset(&wave, 0, sizeof(wave));
    std::memcpy(&wave, type->pbFormat, kWaveFieldsBytes);
    sampleSize = type->lSampleSize;
    return true;
}

}  // namespace

int CAudioFormatCatalog::Enumerate(ProfileManagerFactory createManager) {
    ComPtr<IWMProfileManager> manager;
    HRESULT hr = createManager(manager.Put());
    if (FAILED(hr) || !manager) {
        TraceFormat("Failed to create profilemanager, error=0X%08X\r\n", Hex(hr));
        return 0;
    }
    ComPtr<IWMCodecInfo> codecInfo = manager.As<IWMCodecInfo>();
    if (!codecInfo) {
        TraceFormat(
            "Failed to find ICodeInfo! Can't not get Audio Codec Info, Mission Aborted!\r\n");
        return 0;
    }
    DWORD codecCount = 0;
    hr = codecInfo->GetCodecInfoCount(WMMEDIATYPE_Audio, &codecCount);
    if (FAILED(hr)) {
        TraceFormat("Failed to get Audio code count, error=0X%08X\r\n", Hex(hr));
        return 0;
    }
    TraceFormat("We get %d audio codec from the system\r\n", static_cast<int>(codecCount));

    for (DWORD codec = 0; codec < codecCount; ++codec) {
        DWORD formatCount = 0;
        if (FAILED(codecInfo->GetCodecFormatCount(WMMEDIATYPE_Audio, codec, &formatCount)))
            break;  // the table keeps what was found so far
        for (DWORD format = 0; format < formatCount; ++format) {
            ComPtr<IWMStreamConfig> config;
            hr = codecInfo->GetCodecFormat(WMMEDIATYPE_Audio, codec, format, config.Put());
            if (FAILED(hr) || !config) break;  // on with the next codec
            ComPtr<IWMMediaProps> props = config.As<IWMMediaProps>();
            if (!props) continue;
            DWORD sampleSize = 0;
            WAVEFORMATEX wave;
            if (!ReadWaveFormat(*props.Get(), sampleSize, wave)) continue;
            const uint32_t bitrate = wave.nAvgBytesPerSec * 8u;
            TraceFormat(
                "Format Tag %08X, Media Codec ID %02d, Format ID %03d, SampleSize %05d, "
                "Channels %02d, SampleRate %06d, Bitrate %07d, Block Align %07d, "
                "BitsPerSample %03d\r\n",
                static_cast<unsigned>(wave.wFormatTag), static_cast<int>(codec),
                static_cast<int>(format), static_cast<int>(sampleSize),
                static_cast<int>(wave.nChannels), static_cast<int>(wave.nSamplesPerSec),
                static_cast<int>(bitrate), static_cast<int>(wave.nBlockAlign),
                static_cast<int>(wave.wBitsPerSample));
            AddFormat(
                AudioFormatEntry{wave.nChannels, wave.nSamplesPerSec, bitrate, codec, format});
        }
        TraceFormat("\r\n");
    }
    return 1;
}
