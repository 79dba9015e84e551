// COM-style objects: reference-counted interfaces found by interface
// identifier, and class creation through a registry that each layer fills.
//
// Ownership: every interface pointer handed out by QueryInterface or
// CoCreateInstance carries one reference that the receiver releases.
// Threads: AddRef/Release are atomic; everything else is per interface.
#pragma once

#include <atomic>

#include "platform/win/wintypes.h"

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, void** ppv) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};

constexpr GUID IID_IUnknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Each interface declares its identifier as a member `iid`; IID_Xxx constants
// name the same value for code written the classic way.
template <class T>
constexpr const GUID& IidOf() {
    return T::iid;
}
template <>
constexpr const GUID& IidOf<IUnknown>() {
    return IID_IUnknown;
}

constexpr DWORD COINIT_MULTITHREADED = 0x0;
constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;
constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC = 0x3;
constexpr DWORD CLSCTX_ALL = 0x17;

// Per-thread initialisation count, as COM keeps it: S_OK for the first call
// on a thread, S_FALSE for each further one.
HRESULT CoInitializeEx(void* reserved, DWORD coinit);
HRESULT CoInitialize(void* reserved);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** ppv);
void* CoTaskMemAlloc(size_t bytes);
void CoTaskMemFree(void* p);

// Creates an object of a registered class and returns the interface asked for.
using ComClassFactory = HRESULT (*)(REFIID riid, void** ppv);
// Registers a class for CoCreateInstance; a second registration replaces the
// first (tests use this to put a fault-injecting double in place).
void ComRegisterClass(REFCLSID clsid, ComClassFactory factory);
void ComUnregisterClass(REFCLSID clsid);

// Reference counting for implementations: the object deletes itself when the
// last reference goes.
class ComRefCount {
public:
    ULONG Add() { return ++m_count; }
    ULONG Drop() { return --m_count; }

private:
    std::atomic<ULONG> m_count{1};
};

// AddRef/Release for a class that owns a `ComRefCount m_ref` and has a
// virtual destructor.
#define ZEV_COM_REFCOUNTING      \
    ULONG AddRef() override {    \
        return m_ref.Add();      \
    }                            \
    ULONG Release() override {   \
        ULONG n = m_ref.Drop();  \
        if (n == 0) delete this; \
        return n;                \
    }

// QueryInterface helper: hand out `self` as the asked-for interface.
template <class Itf, class Obj>
HRESULT ComAnswer(Obj* self, void** ppv) {
    *ppv = static_cast<Itf*>(self);
    self->AddRef();
    return S_OK;
}

// Minimal owning pointer for interfaces held by layer code (not by the
// engines, which release in their own fixed order).
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    explicit ComPtr(T* p) : m_p(p) {}  // adopts one reference
    ComPtr(const ComPtr& o) : m_p(o.m_p) {
        if (m_p) m_p->AddRef();
    }
    ComPtr(ComPtr&& o) noexcept : m_p(o.m_p) { o.m_p = nullptr; }
    ComPtr& operator=(ComPtr o) noexcept {
        T* t = m_p;
        m_p = o.m_p;
        o.m_p = t;
        return *this;
    }
    ~ComPtr() { Reset(); }
    void Reset() {
        if (m_p) m_p->Release();
        m_p = nullptr;
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    T** Put() {
        Reset();
        return &m_p;
    }
    T* Detach() {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }
    template <class U>
    ComPtr<U> As() const {
        ComPtr<U> r;
        if (m_p) m_p->QueryInterface(IidOf<U>(), reinterpret_cast<void**>(r.Put()));
        return r;
    }

private:
    T* m_p = nullptr;
};
