#include "platform/win/text.h"

#include <cstdio>

#include "platform/win/library.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kMaxCodePoint = 0x10FFFF;

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// Decodes one UTF-8 sequence from s (n bytes left); returns its length, or
// 0 for an invalid one.
size_t DecodeUtf8(const unsigned char* s, size_t n, char32_t& cp) {
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
    if (len > n) return 0;
    for (size_t i = 1; i < len; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (s[i] & 0x3F);
    }
    // Overlong forms and surrogates would not come back as the same bytes.
    if (cp < min || cp > kMaxCodePoint || IsSurrogate(cp)) return 0;
    return len;
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c > kMaxCodePoint || IsSurrogate(c)) c = kReplacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes `bytes` into wide text; false at the first invalid sequence when
// `strict`, otherwise such bytes become U+FFFD one by one.
bool DecodeAll(const unsigned char* s, size_t bytes, bool strict, std::wstring& out) {
    for (size_t i = 0; i < bytes;) {
        char32_t cp = 0;
        const size_t len = DecodeUtf8(s + i, bytes - i, cp);
        if (len == 0) {
            if (strict) return false;
            cp = kReplacement;
        }
        out += static_cast<WCHAR>(cp);
        i += len ? len : 1;
    }
    return true;
}

size_t Length(LPCSTR s) {
    size_t n = 0;
    while (s[n]) ++n;
    return n;
}

size_t Length(LPCWSTR s) {
    size_t n = 0;
    while (s[n]) ++n;
    return n;
}

}  // namespace

int MultiByteToWideChar(UINT, DWORD flags, LPCSTR src, int srcBytes, LPWSTR dst, int dstChars) {
    if (!src || srcBytes < -1 || dstChars < 0 || (dstChars > 0 && !dst)) {
        SetLastError(87);  // ERROR_INVALID_PARAMETER
        return 0;
    }
    // With -1 the terminator is converted too and counted.
    const size_t bytes = srcBytes == -1 ? Length(src) + 1 : static_cast<size_t>(srcBytes);
    std::wstring wide;
    if (!DecodeAll(reinterpret_cast<const unsigned char*>(src), bytes,
                   (flags & MB_ERR_INVALID_CHARS) != 0, wide)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    if (dstChars == 0) return static_cast<int>(wide.size());
    if (wide.size() > static_cast<size_t>(dstChars)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    wide.copy(dst, wide.size());
    return static_cast<int>(wide.size());
}

int WideCharToMultiByte(UINT, DWORD, LPCWSTR src, int srcChars, LPSTR dst, int dstBytes, LPCSTR,
                        BOOL* usedDefaultChar) {
    if (!src || srcChars < -1 || dstBytes < 0 || (dstBytes > 0 && !dst)) {
        SetLastError(87);
        return 0;
    }
    const size_t chars = srcChars == -1 ? Length(src) + 1 : static_cast<size_t>(srcChars);
    std::string out;
    bool replaced = false;
    for (size_t i = 0; i < chars; ++i) {
        const auto c = static_cast<char32_t>(src[i]);
        replaced = replaced || c > kMaxCodePoint || IsSurrogate(c);
        AppendUtf8(c, out);
    }
    if (usedDefaultChar) *usedDefaultChar = replaced ? TRUE : FALSE;
    if (dstBytes == 0) return static_cast<int>(out.size());
    if (out.size() > static_cast<size_t>(dstBytes)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    out.copy(dst, out.size());
    return static_cast<int>(out.size());
}

std::string WideToUtf8(LPCWSTR text) {
    std::string out;
    if (!text) return out;
    for (size_t i = 0, n = Length(text); i < n; ++i)
        AppendUtf8(static_cast<char32_t>(text[i]), out);
    return out;
}

std::wstring Utf8ToWide(const char* text) {
    std::wstring out;
    if (text) DecodeAll(reinterpret_cast<const unsigned char*>(text), Length(text), false, out);
    return out;
}

std::string HexText(HRESULT hr) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0X%08X", Hex(hr));
    return buf;
}
