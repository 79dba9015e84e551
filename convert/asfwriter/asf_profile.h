// The encoding profile of the fallback engine: system profile 0 of version
// 7.0, cut down to the caller's audio format and format 0 of the preferred
// video codec, sized and rated, and handed to the ASF writer filter.
#pragma once

#include <functional>
#include <string>

#include "convert/asfwriter/convertor.h"
#include "convert/common/profile_struc.h"

// Preferred video codec names, best first, compared whole.
inline constexpr const wchar_t* kAsfVideoCodecPreference[] = {
    L"Windows Media Video 9",
    L"Windows Media Video V8",
    L"Windows Media Video V7",
};

using CodecNameSource = std::function<bool(DWORD j, std::wstring& name)>;

// The chosen codec number: a codec whose name is at a position no worse
// than the best so far is taken (so a later equal name wins); the scan
// ends at a codec that takes position 0. Codec 0 when none matches.
DWORD ChooseAsfVideoCodec(DWORD codecCount, const CodecNameSource& nameOf);

// True when the writer filter holds the profile; false after the lines that
// end the job.
bool BuildAsfWriterProfile(CConvertor& c, const ProfileStruc& profile);
