// Which of the runtime's video codecs the encoding profile uses.
#pragma once

#include <functional>
#include <string>

#include "platform/win/wintypes.h"

// Preferred codec names, best first, compared whole and case-sensitively.
inline constexpr const wchar_t* kVideoCodecPreference[] = {
    L"Windows Media Video V8",
    L"Windows Media Video 9 Advanced Profile",
    L"Windows Media Video 9",
    L"Windows Media Video V7",
};
// The best position starts here, not past the table: a name at this
// position or below never displaces codec number 0.
inline constexpr int kInitialBestPosition = 2;

// Reads codec j's name into `name`; false when it cannot be read.
using CodecNameReader = std::function<bool(DWORD j, std::wstring& name)>;

// Scans codecs 0 .. codecCount-1 and returns the chosen codec number: the
// first codec named at position 0 (which ends the scan), else the first at
// position 1, else 0.
DWORD ChooseVideoCodec(DWORD codecCount, const CodecNameReader& nameOf);
