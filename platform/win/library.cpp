#include "platform/win/library.h"

#include <dlfcn.h>

#include <cstring>

namespace {

thread_local DWORD t_lastError = 0;
thread_local std::string t_loaderMessage;

// The loader reports only text; these are glibc's words for each case.
DWORD ClassifyLoadError(const char* text) {
    if (!text) return ERROR_MOD_NOT_FOUND;
    if (std::strstr(text, "undefined symbol") || std::strstr(text, "symbol lookup error"))
        return ERROR_PROC_NOT_FOUND;
    if (std::strstr(text, "No such file") || std::strstr(text, "cannot open shared object"))
        return ERROR_MOD_NOT_FOUND;
    if (std::strstr(text, "Permission denied")) return ERROR_ACCESS_DENIED;
    return ERROR_BAD_FORMAT;
}

}  // namespace

HMODULE LoadLibraryA(LPCSTR fileName) {
    if (!fileName || !*fileName) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    // Bind every symbol now, so that a library whose runtime lacks a function
    // fails here, where the caller can fall back, and not in the middle of a
    // job.
    void* h = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        const char* err = dlerror();
        t_loaderMessage = err ? err : "";
        SetLastError(ClassifyLoadError(err));
        return nullptr;
    }
    SetLastError(ERROR_SUCCESS);
    return reinterpret_cast<HMODULE>(h);
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    if (!module || !procName) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    dlerror();
    void* sym = dlsym(reinterpret_cast<void*>(module), procName);
    if (!sym) {
        const char* err = dlerror();
        t_loaderMessage = err ? err : "";
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(sym);
}

BOOL FreeLibrary(HMODULE module) {
    if (!module) return FALSE;
    return dlclose(reinterpret_cast<void*>(module)) == 0 ? TRUE : FALSE;
}

DWORD GetLastError() {
    return t_lastError;
}
void SetLastError(DWORD err) {
    t_lastError = err;
}
std::string GetLastLoaderMessage() {
    return t_loaderMessage;
}
