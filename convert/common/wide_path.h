// File names cross into the graph and the runtime as wide text. The 8-bit
// system code page of this platform is UTF-8.
#pragma once

#include "platform/win/wintypes.h"

// Room for a path, terminator included, as the platform's MAX_PATH.
inline constexpr size_t kMaxPathChars = 260;

// Converts a NUL-terminated path into `out`. Returns S_OK, E_POINTER for a
// NULL path, HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER) when it does not
// fit in kMaxPathChars, HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION) for
// bytes that are not UTF-8. On failure `out` holds an empty string, never a
// cut path that would name another file.
HRESULT ToWidePath(const char* path, WCHAR (&out)[kMaxPathChars]);
