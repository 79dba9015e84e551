#include <gtest/gtest.h>

#include "platform/win/com.h"

namespace {

constexpr CLSID kTestClass = MakeLayerGuid(0x7E57, 1);

struct ITestThing : IUnknown {
    static constexpr GUID iid = MakeLayerGuid(0x7E57, 2);
    virtual int Value() = 0;
};

int g_live = 0;

class TestThing : public ITestThing {
public:
    TestThing() { ++g_live; }
    virtual ~TestThing() { --g_live; }
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == ITestThing::iid)
            return ComAnswer<ITestThing>(this, ppv);
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ZEV_COM_REFCOUNTING
    int Value() override { return 42; }

private:
    ComRefCount m_ref;
};

HRESULT CreateTestThing(REFIID riid, void** ppv) {
    auto* t = new TestThing;
    HRESULT hr = t->QueryInterface(riid, ppv);
    t->Release();
    return hr;
}

}  // namespace

TEST(Com, InitialisationCountsPerThreadAndRefusesAModeChange) {
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CoUninitialize();
}

TEST(Com, CreatesRegisteredClassesOnlyAfterInitialisation) {
    ComRegisterClass(kTestClass, CreateTestThing);
    ITestThing* thing = nullptr;
    EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_INPROC_SERVER, ITestThing::iid,
                               reinterpret_cast<void**>(&thing)),
              CO_E_NOTINITIALIZED);
    EXPECT_EQ(thing, nullptr);

    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    ASSERT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_INPROC_SERVER, ITestThing::iid,
                               reinterpret_cast<void**>(&thing)),
              S_OK);
    EXPECT_EQ(thing->Value(), 42);
    EXPECT_EQ(g_live, 1);

    IUnknown* unk = nullptr;
    EXPECT_EQ(thing->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unk)), S_OK);
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(thing->QueryInterface(MakeLayerGuid(0x7E57, 99), &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    unk->Release();
    thing->Release();
    EXPECT_EQ(g_live, 0);

    EXPECT_EQ(CoCreateInstance(MakeLayerGuid(0x7E57, 3), nullptr, CLSCTX_INPROC_SERVER,
                               IID_IUnknown, reinterpret_cast<void**>(&unk)),
              REGDB_E_CLASSNOTREG);
    ComUnregisterClass(kTestClass);
    EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&unk)),
              REGDB_E_CLASSNOTREG);
    CoUninitialize();
}
