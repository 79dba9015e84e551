// File names cross into the graph and the runtime as wide text. The 8-bit
// system code page of this platform is UTF-8.
#pragma once

#include <string>

#include "convert/common/convert_api.h"
#include "platform/win/wintypes.h"

// Room for a path, terminator included: whatever the caller's path buffers
// carry (kMaxPathBytes of UTF-8 are at most as many characters).
inline constexpr size_t kMaxPathChars = kMaxPathBytes + 1;

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
