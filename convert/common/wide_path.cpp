#include "convert/common/wide_path.h"

#include "platform/win/library.h"
#include "platform/win/text.h"

HRESULT ToWidePath(const char* path, WCHAR (&out)[kMaxPathChars]) {
    out[0] = L'\0';
    if (!path) return E_POINTER;
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, out, kMaxPathChars) == 0) {
        // Never a cut path: it would name another file.
        out[0] = L'\0';
        return HRESULT_FROM_WIN32(GetLastError());
    }
    return S_OK;
}
