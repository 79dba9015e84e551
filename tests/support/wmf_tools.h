// The runtime's part of the test kit: media made in memory, media types
// with their own format blocks, and the engines' way of making a profile.
// Files, folders and the outside readers are the kit's base (media_tools.h).
#pragma once

#include <string>
#include <vector>

#include "media_tools.h"
#include "platform/wmf/wmsdk.h"

namespace wmftest {

// A media type that owns its format block (copies keep their own block).
struct OwnedType {
    AM_MEDIA_TYPE mt{};
    std::vector<BYTE> block;
    OwnedType() = default;
    OwnedType(const OwnedType& o) : mt(o.mt), block(o.block) { Bind(); }
    OwnedType& operator=(const OwnedType& o) {
        mt = o.mt;
        block = o.block;
        Bind();
        return *this;
    }
    void Bind() {
        mt.pbFormat = block.empty() ? nullptr : block.data();
        mt.cbFormat = static_cast<ULONG>(block.size());
    }
    VIDEOINFOHEADER* Video() { return VideoInfoOf(mt); }
    WAVEFORMATEX* Wave() { return WaveFormatOf(mt); }
};

OwnedType RawVideoType(const GUID& subtype, LONG width, LONG height, WORD bitCount = 0);
OwnedType PcmType(WORD channels, DWORD rate, WORD bits, bool isFloat = false);
OwnedType MediaTypeOf(IWMMediaProps* props);

// One frame of a moving test pattern in the layout of `subtype`.
std::vector<BYTE> MakeFrame(const GUID& subtype, LONG width, LONG height, int index);
// A sine tone, interleaved, in the given sample format.
std::vector<BYTE> MakeTone(WORD channels, DWORD rate, WORD bits, bool isFloat, size_t samples,
                           size_t firstSample);

// The engines' way of making a profile: system profile 0 of version 8, with
// audio format (codec, format) as stream 1 and format 2 of the V8 video
// codec, resized and re-rated, as stream 2.
ComPtr<IWMProfile> MakeJobProfile(DWORD audioCodec, DWORD audioFormat, LONG width, LONG height,
                                  int fps, DWORD videoBitrate);

}  // namespace wmftest
