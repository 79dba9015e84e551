#include "convert/engine/wide_path.h"

#include "platform/win/library.h"
#include "platform/win/text.h"

#include <cstdio>

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

std::string UnusablePathLine(const char* what, HRESULT hr) {
    char line[160];
    if (hr == HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER)) {
        std::snprintf(line, sizeof line, "%s path is longer than %zu bytes, Mission aborted!\r\n",
                      what, kMaxPathChars - 1);
        return line;
    }
    if (hr == HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION)) {
        std::snprintf(line, sizeof line, "%s path is not UTF-8 text, Mission aborted!\r\n", what);
        return line;
    }
    return {};
}
