#include "platform/win/com.h"

#include <cstdlib>
#include <map>
#include <mutex>

namespace {

struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const {
        return std::memcmp(&a, &b, sizeof a) < 0;
    }
};

// The class registry that each layer fills when it is loaded.
struct ClassRegistry {
    std::mutex lock;
    std::map<GUID, ComClassFactory, GuidLess> classes;
};

ClassRegistry& Registry() {
    static ClassRegistry* r = new ClassRegistry;  // outlives every static destructor
    return *r;
}

thread_local int t_initCount = 0;
thread_local DWORD t_initMode = 0;

}  // namespace

HRESULT CoInitializeEx(void*, DWORD coinit) {
    const DWORD mode = coinit & COINIT_APARTMENTTHREADED;
    if (t_initCount > 0 && mode != t_initMode) return RPC_E_CHANGED_MODE;
    t_initMode = mode;
    return t_initCount++ == 0 ? S_OK : S_FALSE;
}

HRESULT CoInitialize(void* reserved) {
    return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED);
}

void CoUninitialize() {
    if (t_initCount > 0) --t_initCount;
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (t_initCount == 0) return CO_E_NOTINITIALIZED;
    ComClassFactory factory = nullptr;
    {
        auto& r = Registry();
        std::lock_guard<std::mutex> g(r.lock);
        auto it = r.classes.find(clsid);
        if (it != r.classes.end()) factory = it->second;
    }
    if (!factory) return REGDB_E_CLASSNOTREG;
    return factory(riid, ppv);
}

void ComRegisterClass(REFCLSID clsid, ComClassFactory factory) {
    auto& r = Registry();
    std::lock_guard<std::mutex> g(r.lock);
    r.classes[clsid] = factory;
}

void ComUnregisterClass(REFCLSID clsid) {
    auto& r = Registry();
    std::lock_guard<std::mutex> g(r.lock);
    r.classes.erase(clsid);
}

void* CoTaskMemAlloc(size_t bytes) {
    return std::malloc(bytes ? bytes : 1);
}
void CoTaskMemFree(void* p) {
    std::free(p);
}
