// Wide-text helpers for the runtime's WCHAR (wchar_t, UTF-32 here) and the
// UTF-16LE that ASF files store.
#pragma once

#include <string>
#include <vector>

#include "platform/win/wintypes.h"

namespace wmf {

// The runtime's "ask the length, then fetch" convention: with `out` NULL,
// *pcch receives the length with the terminator; otherwise *pcch must be at
// least that (else ASF_E_BUFFERTOOSMALL and *pcch is set to what is needed).
template <class Count>
HRESULT CopyOutText(const std::wstring& text, WCHAR* out, Count* pcch);

// Little-endian UTF-16 bytes of `text` with a terminating NUL.
std::vector<uint8_t> ToUtf16Le(const std::wstring& text);
// Decodes UTF-16LE (stopping at a NUL); unpaired surrogates become U+FFFD.
std::wstring FromUtf16Le(const uint8_t* data, size_t bytes);

}  // namespace wmf
