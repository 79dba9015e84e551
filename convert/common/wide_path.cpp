#include "convert/common/wide_path.h"

namespace {

constexpr DWORD kErrorInsufficientBuffer = 122;
constexpr DWORD kErrorNoUnicodeTranslation = 1113;

// Decodes one UTF-8 sequence at `s`; returns its length or 0 if invalid.
size_t DecodeUtf8(const unsigned char* s, char32_t& cp) {
    const unsigned char b0 = s[0];
    size_t len;
    char32_t min;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    for (size_t i = 1; i < len; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;  // also stops at the terminator
        cp = (cp << 6) | (s[i] & 0x3F);
    }
    // Overlong forms and surrogates would not come back as the same bytes.
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

HRESULT ToWidePath(const char* path, WCHAR (&out)[kMaxPathChars]) {
    out[0] = L'\0';
    if (!path) return E_POINTER;
    const auto* s = reinterpret_cast<const unsigned char*>(path);
    size_t n = 0;
    while (*s) {
        char32_t cp = 0;
        const size_t len = DecodeUtf8(s, cp);
        if (len == 0) {
            out[0] = L'\0';
            return HRESULT_FROM_WIN32(kErrorNoUnicodeTranslation);
        }
        if (n + 1 >= kMaxPathChars) {
            out[0] = L'\0';
            return HRESULT_FROM_WIN32(kErrorInsufficientBuffer);
        }
        out[n++] = static_cast<WCHAR>(cp);
        s += len;
    }
    out[n] = L'\0';
    return S_OK;
}
