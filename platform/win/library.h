// Loading shared libraries by file name, as LoadLibraryA does.
//
// Names follow this platform ("libtranzo9.so") and are searched the
// platform's way (LD_LIBRARY_PATH, the caller's RUNPATH, the system).
// Symbols are bound at load time, so a library that imports a function its
// dependencies lack fails to load. GetLastError after a failed call:
// ERROR_MOD_NOT_FOUND (126) when the file was not found,
// ERROR_PROC_NOT_FOUND (127) when it was found but an imported symbol is
// missing (also from GetProcAddress for a missing export),
// ERROR_BAD_FORMAT (11) for a file that is no loadable library.
#pragma once

#include <string>

#include "platform/win/wintypes.h"

struct HINSTANCE__;
using HMODULE = HINSTANCE__*;
using HINSTANCE = HMODULE;
using FARPROC = void (*)();

HMODULE LoadLibraryA(LPCSTR fileName);
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
BOOL FreeLibrary(HMODULE module);

// Per-thread last error, as Win32 keeps it.
DWORD GetLastError();
void SetLastError(DWORD err);
// The loader's own words for the last failure on this thread (for logs).
std::string GetLastLoaderMessage();
