// The codecs this runtime offers and their numbered formats. The tables are
// fixed, so codec and format indexes are stable: callers store them (the
// profile store keeps an audio codec index and format index) and get the
// same configuration back later.
#pragma once

#include <string>

#include "platform/wmf/wmsdk.h"

namespace wmf {

class CStreamConfig;

struct VideoEncoderInfo {
    const wchar_t* name;
    GUID subtype;
    DWORD fourcc;
    const char* ffmpegName;
};

struct AudioEncoderInfo {
    const wchar_t* name;
    GUID subtype;
    WORD formatTag;
    const char* ffmpegName;
};

// The encoder behind a compressed subtype, or nullptr.
const VideoEncoderInfo* FindVideoEncoder(const GUID& subtype);
const AudioEncoderInfo* FindAudioEncoder(const GUID& subtype);

// Limits of what the encoders take; outside them a type is refused.
bool IsValidEncodedFrameSize(LONG width, LONG height);
bool IsValidFrameDuration(REFERENCE_TIME avgTimePerFrame);
bool IsValidVideoBitrate(DWORD bitsPerSecond);
bool IsEncodableAudio(unsigned channels, unsigned sampleRate, uint64_t bitsPerSecond);

// Enumeration by media type (WMMEDIATYPE_Video or WMMEDIATYPE_Audio);
// another type has no codecs.
DWORD CodecCount(const GUID& mediaType);
// E_INVALIDARG for an index out of range.
HRESULT FormatCount(const GUID& mediaType, DWORD codec, DWORD* count);
HRESULT CodecName(const GUID& mediaType, DWORD codec, std::wstring* name);
HRESULT FormatDescription(const GUID& mediaType, DWORD codec, DWORD format, std::wstring* text);
// A new stream configuration (one reference, stream number 0) for the
// format; E_INVALIDARG for an index out of range.
HRESULT MakeCodecFormat(const GUID& mediaType, DWORD codec, DWORD format, CStreamConfig** out);

// Indexes of the codecs the system profiles use.
constexpr DWORD kVideoCodecV8 = 0;
constexpr DWORD kVideoCodecV7 = 1;
constexpr DWORD kAudioCodecV8 = 0;
constexpr DWORD kAudioCodecV7 = 1;

}  // namespace wmf
