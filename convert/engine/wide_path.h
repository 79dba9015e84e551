// File names cross into the graph and the runtime as wide text. The 8-bit
// system code page of this platform is UTF-8.
#pragma once

#include <string>

#include "platform/win/wintypes.h"

// Room for a path, terminator included: whatever the caller's 1024-byte
// path buffers carry (1023 bytes of UTF-8 are at most 1023 characters).
inline constexpr size_t kMaxPathChars = 1024;

// Converts a NUL-terminated path into `out`. Returns S_OK, E_POINTER for a
// NULL path, HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER) when it does not
// fit in kMaxPathChars, HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION) for
// bytes that are not UTF-8. On failure `out` holds an empty string, never a
// cut path that would name another file.
HRESULT ToWidePath(const char* path, WCHAR (&out)[kMaxPathChars]);

// The abort line for a path ToWidePath refused with `hr`, naming it as
// `what` ("Source", "Destination"): too long, or not UTF-8. Empty for
// any other result.
std::string UnusablePathLine(const char* what, HRESULT hr);
