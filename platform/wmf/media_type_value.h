// A media type held by value: the structure plus its own copy of the format
// block. Used by stream configurations and writer input properties, which
// hand types out through IWMMediaProps::GetMediaType.
#pragma once

#include <vector>

#include "platform/media/mediatype.h"

namespace wmf {

class MediaTypeValue {
public:
    MediaTypeValue() = default;
    // Copies `mt` and its format block; pUnk is not kept (never used here).
    explicit MediaTypeValue(const WM_MEDIA_TYPE& mt) { Assign(mt); }
    void Assign(const WM_MEDIA_TYPE& mt);

    // The type with pbFormat pointing at this object's block (valid while
    // the object lives unchanged).
    WM_MEDIA_TYPE Type() const { return Bound(); }
    const std::vector<BYTE>& Format() const { return m_format; }
    bool Empty() const { return m_type.majortype == GUID_NULL; }

    // The view of the format block, or nullptr when it is of another kind or
    // too short.
    const VIDEOINFOHEADER* Video() const { return VideoInfoOf(Bound()); }
    const WAVEFORMATEX* Wave() const { return WaveFormatOf(Bound()); }

    // IWMMediaProps::GetMediaType: size query with pType NULL, otherwise a
    // copy whose pbFormat points inside the caller's buffer.
    HRESULT CopyOut(WM_MEDIA_TYPE* pType, DWORD* pcbType) const;

private:
    // A copy of the type whose pbFormat points at m_format.
    WM_MEDIA_TYPE Bound() const;

    WM_MEDIA_TYPE m_type{};
    std::vector<BYTE> m_format;
};

// A media type made from a video format block.
MediaTypeValue MakeVideoType(const GUID& subtype, const VIDEOINFOHEADER& vih, ULONG sampleSize);
// A media type made from a wave format block and `extra` bytes after it
// (cbSize is set to their count).
MediaTypeValue MakeAudioType(const GUID& subtype, const WAVEFORMATEX& wfx,
                             const std::vector<BYTE>& extra);

}  // namespace wmf
