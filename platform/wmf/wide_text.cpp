#include "platform/wmf/wide_text.h"

#include <limits>

#include "platform/wmf/wmsdk.h"

namespace wmf {
namespace {
constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kMaxCodePoint = 0x10FFFF;

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}
}  // namespace

template <class Count>
HRESULT CopyOutText(const std::wstring& text, WCHAR* out, Count* pcch) {
    if (!pcch) return E_POINTER;
    const size_t needed = text.size() + 1;
    if (needed > std::numeric_limits<Count>::max()) return E_UNEXPECTED;
    if (!out) {
        *pcch = static_cast<Count>(needed);
        return S_OK;
    }
    if (*pcch < needed) {
        *pcch = static_cast<Count>(needed);
        return ASF_E_BUFFERTOOSMALL;
    }
    text.copy(out, text.size());
    out[text.size()] = L'\0';
    *pcch = static_cast<Count>(needed);
    return S_OK;
}
template HRESULT CopyOutText<WORD>(const std::wstring&, WCHAR*, WORD*);
template HRESULT CopyOutText<DWORD>(const std::wstring&, WCHAR*, DWORD*);

std::vector<uint8_t> ToUtf16Le(const std::wstring& text) {
    std::vector<uint8_t> out;
    auto put = [&out](uint16_t u) {
        out.push_back(static_cast<uint8_t>(u & 0xFF));
        out.push_back(static_cast<uint8_t>(u >> 8));
    };
    for (wchar_t w : text) {
        char32_t c = static_cast<char32_t>(w);
        if (c > kMaxCodePoint || IsSurrogate(c)) c = kReplacement;
        if (c < 0x10000) {
            put(static_cast<uint16_t>(c));
        } else {
            c -= 0x10000;
            put(static_cast<uint16_t>(0xD800 | (c >> 10)));
            put(static_cast<uint16_t>(0xDC00 | (c & 0x3FF)));
        }
    }
    put(0);
    return out;
}

std::wstring FromUtf16Le(const uint8_t* data, size_t bytes) {
    std::wstring out;
    for (size_t i = 0; i + 1 < bytes; i += 2) {
        char32_t u = data[i] | (data[i + 1] << 8);
        if (u == 0) break;
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes) {
            char32_t lo = data[i + 2] | (data[i + 3] << 8);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                out += static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
                i += 2;
                continue;
            }
        }
        out += static_cast<wchar_t>(IsSurrogate(u) ? kReplacement : u);
    }
    return out;
}

}  // namespace wmf
