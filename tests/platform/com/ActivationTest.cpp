#include "platform/com/Com.h"
#include "tests/platform/com/TempRegistry.h"
#include "tests/platform/com/TestInterfaces.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <thread>

namespace {

class CProgramCounter : public ICounter, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CProgramCounter)
    COM_INTERFACE_ENTRY(ICounter)
    END_COM_MAP()

    HRESULT Increment(LONG* plValue) override
    {
        *plValue = ++m_lValue;
        return S_OK;
    }

private:
    LONG m_lValue = 0;
};

inline constexpr CLSID CLSID_Unknown = platform::MakeGuid("{8D1E3C52-0B7A-4F0E-9A51-3C2B7E6D4BFF}");

void* OpenTestModule()
{
    void* module = ::dlopen(TEST_COM_MODULE_PATH, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    EXPECT_NE(nullptr, module) << ::dlerror();
    return module;
}

template <class F>
F ModuleFunction(const char* name)
{
    void* module = OpenTestModule();
    return module ? reinterpret_cast<F>(::dlsym(module, name)) : nullptr;
}

std::string GreetingOf(IGreeter* greeter, const char* name)
{
    CComBSTR out;
    EXPECT_EQ(S_OK, greeter->Greet(CComBSTR(name), &out));
    return out.ToUtf8();
}

class ActivationTest : public ::testing::Test {
protected:
    CTempRegistry m_temp;
    platform::CRegistryStore m_store;
};

TEST_F(ActivationTest, InprocessTableServesClassesAndProgIds)
{
    DWORD cookie = CoRegisterInprocClass(CLSID_ProgramCounter, "Falcon.Counter.1", &CComCreator<CProgramCounter>::CreateInstance);
    ASSERT_NE(0u, cookie);

    CComPtr<ICounter> counter;
    ASSERT_EQ(S_OK, counter.CoCreateInstance(CLSID_ProgramCounter));
    LONG value = 0;
    counter->Increment(&value);
    EXPECT_EQ(1, value);

    CLSID clsid;
    ASSERT_EQ(S_OK, CLSIDFromProgID("falcon.counter.1", &clsid));
    EXPECT_EQ(CLSID_ProgramCounter, clsid);
    std::string progId;
    ASSERT_EQ(S_OK, ProgIDFromCLSID(CLSID_ProgramCounter, &progId));
    EXPECT_EQ("Falcon.Counter.1", progId);
    CComPtr<ICounter> byProgId;
    ASSERT_EQ(S_OK, byProgId.CoCreateInstance("Falcon.Counter.1"));
    EXPECT_FALSE(byProgId.IsEqualObject(counter));

    CComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, CoGetClassObject(CLSID_ProgramCounter, CLSCTX_ALL, nullptr, IID_IClassFactory,
                                     reinterpret_cast<void**>(&factory)));
    void* pv = nullptr;
    EXPECT_EQ(E_NOINTERFACE, CoCreateInstance(CLSID_ProgramCounter, nullptr, CLSCTX_ALL, IidOf<IGreeter>(), &pv));
    EXPECT_EQ(E_POINTER, CoCreateInstance(CLSID_ProgramCounter, nullptr, CLSCTX_ALL, IidOf<ICounter>(), nullptr));

    // A later registration (a test double) wins until it is revoked.
    DWORD failing = CoRegisterInprocClass(CLSID_ProgramCounter, "", [](IUnknown*, REFIID, void** ppv) {
        *ppv = nullptr;
        return E_OUTOFMEMORY;
    });
    EXPECT_EQ(E_OUTOFMEMORY, CoCreateInstance(CLSID_ProgramCounter, nullptr, CLSCTX_ALL, IidOf<ICounter>(), &pv));
    EXPECT_EQ(S_OK, CoRevokeInprocClass(failing));
    EXPECT_EQ(S_OK, CoRevokeInprocClass(cookie));
    EXPECT_EQ(E_INVALIDARG, CoRevokeInprocClass(cookie));
    EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(CLSID_ProgramCounter, nullptr, CLSCTX_ALL, IidOf<ICounter>(), &pv));
    EXPECT_EQ(0u, CoRegisterInprocClass(CLSID_ProgramCounter, "", nullptr));
}

TEST_F(ActivationTest, UnknownClassesAndNamesAreReported)
{
    void* pv = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(CLSID_Unknown, nullptr, CLSCTX_ALL, IID_IUnknown, &pv));
    EXPECT_EQ(nullptr, pv);
    CLSID clsid = CLSID_Unknown;
    EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromProgID("Vek_ZR01.Nothing.1", &clsid));
    EXPECT_EQ(GUID_NULL, clsid);
    EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromString("Vek_ZR01.DeviceUI2.1", &clsid));
    ASSERT_EQ(S_OK, CLSIDFromString("{6D6A4DFC-4D63-4ea7-8FAE-893D8BB6E22F}", &clsid));
    EXPECT_EQ(platform::MakeGuid("{6D6A4DFC-4D63-4EA7-8FAE-893D8BB6E22F}"), clsid);
    std::string progId;
    EXPECT_EQ(REGDB_E_CLASSNOTREG, ProgIDFromCLSID(CLSID_Unknown, &progId));

    // Registered, but the library is missing or is no server.
    const std::string key = "HKCR\\CLSID\\" + platform::FormatGuid(CLSID_Unknown) + "\\InprocServer32";
    ASSERT_TRUE(m_store.SetValue(key, "", m_temp.GetDirectory() + "/missing.so"));
    EXPECT_EQ(CO_E_DLLNOTFOUND, CoCreateInstance(CLSID_Unknown, nullptr, CLSCTX_ALL, IID_IUnknown, &pv));
    EXPECT_FALSE(CoGetLastLoadError().empty());
    ASSERT_TRUE(m_store.SetValue(key, "", "libdl.so.2"));
    EXPECT_EQ(CO_E_ERRORINDLL, CoCreateInstance(CLSID_Unknown, nullptr, CLSCTX_ALL, IID_IUnknown, &pv));
    // Only in-process servers exist.
    EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(CLSID_Unknown, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, &pv));
}

TEST_F(ActivationTest, ServerLibraryRegisteredByPathIsLoadedAndAsked)
{
    const std::string cls = "HKCR\\CLSID\\" + platform::FormatGuid(CLSID_ModuleGreeter);
    ASSERT_TRUE(m_store.SetValue(cls + "\\InprocServer32", "", TEST_COM_MODULE_PATH));

    CComPtr<IGreeter> greeter;
    ASSERT_EQ(S_OK, greeter.CoCreateInstance(CLSID_ModuleGreeter)) << CoGetLastLoadError();
    EXPECT_EQ("Hallo, Jürgen!", GreetingOf(greeter, "Jürgen"));

    // The library refuses a class it does not serve.
    ASSERT_TRUE(m_store.SetValue("HKCR\\CLSID\\" + platform::FormatGuid(CLSID_Unknown) + "\\InprocServer32", "",
                                 TEST_COM_MODULE_PATH));
    void* pv = nullptr;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, CoCreateInstance(CLSID_Unknown, nullptr, CLSCTX_ALL, IID_IUnknown, &pv));
    // The class refuses aggregation.
    EXPECT_EQ(CLASS_E_NOAGGREGATION, CoCreateInstance(CLSID_ModuleGreeter, greeter, CLSCTX_ALL, IID_IUnknown, &pv));
}

TEST_F(ActivationTest, LibraryRegistersItselfWithItsPathAndUnregisters)
{
    auto registerServer = ModuleFunction<PFNDLLCANUNLOADNOW>("DllRegisterServer");
    auto unregisterServer = ModuleFunction<PFNDLLCANUNLOADNOW>("DllUnregisterServer");
    ASSERT_TRUE(registerServer && unregisterServer);
    ASSERT_TRUE(m_store.CreateKey("HKCR\\CLSID\\{00000000-1111-2222-3333-444444444444}"));

    ASSERT_EQ(S_OK, registerServer());
    const std::string cls = "HKCR\\CLSID\\" + platform::FormatGuid(CLSID_ModuleGreeter);
    const std::string module = m_store.GetValue(cls + "\\InprocServer32", "").value_or("");
    EXPECT_TRUE(std::filesystem::equivalent(module, TEST_COM_MODULE_PATH)) << module;
    EXPECT_EQ("Free", m_store.GetValue(cls + "\\InprocServer32", "ThreadingModel"));

    CLSID clsid;
    ASSERT_EQ(S_OK, CLSIDFromProgID("Vek_Test.Greeter.1", &clsid));
    EXPECT_EQ(CLSID_ModuleGreeter, clsid);
    std::string progId;
    ASSERT_EQ(S_OK, ProgIDFromCLSID(CLSID_ModuleGreeter, &progId));
    EXPECT_EQ("Vek_Test.Greeter.1", progId);
    CComPtr<IGreeter> greeter;
    ASSERT_EQ(S_OK, greeter.CoCreateInstance("Vek_Test.Greeter.1"));
    EXPECT_EQ("Hallo, Welt!", GreetingOf(greeter, "Welt"));

    ASSERT_EQ(S_OK, unregisterServer());
    EXPECT_FALSE(m_store.KeyExists(cls));
    EXPECT_FALSE(m_store.KeyExists("HKCR\\Vek_Test.Greeter.1"));
    EXPECT_TRUE(m_store.KeyExists("HKCR\\CLSID\\{00000000-1111-2222-3333-444444444444}"));
    void* pv = nullptr;
    EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(CLSID_ModuleGreeter, nullptr, CLSCTX_ALL, IID_IUnknown, &pv));
}

TEST_F(ActivationTest, LibraryKeepsItsOwnLockCount)
{
    auto canUnload = ModuleFunction<PFNDLLCANUNLOADNOW>("DllCanUnloadNow");
    auto lockCount = ModuleFunction<PFNTESTMODULELOCKCOUNT>("TestModuleLockCount");
    ASSERT_TRUE(canUnload && lockCount);
    ASSERT_TRUE(m_store.SetValue("HKCR\\CLSID\\" + platform::FormatGuid(CLSID_ModuleGreeter) + "\\InprocServer32", "",
                                 TEST_COM_MODULE_PATH));
    const LONG programLocks = CComModuleLock::GetLockCount();
    EXPECT_EQ(S_OK, canUnload());

    CComPtr<IGreeter> greeter;
    ASSERT_EQ(S_OK, greeter.CoCreateInstance(CLSID_ModuleGreeter));
    EXPECT_EQ(1, lockCount());
    EXPECT_EQ(S_FALSE, canUnload());
    EXPECT_EQ(programLocks, CComModuleLock::GetLockCount());
    greeter.Release();
    EXPECT_EQ(S_OK, canUnload());

    CComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, CoGetClassObject(CLSID_ModuleGreeter, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                     reinterpret_cast<void**>(&factory)));
    EXPECT_EQ(S_OK, canUnload());
    factory->LockServer(TRUE);
    EXPECT_EQ(S_FALSE, canUnload());
    factory->LockServer(FALSE);
    EXPECT_EQ(S_OK, canUnload());
}

TEST_F(ActivationTest, LibrariesFindTheClassesTheProgramRegistered)
{
    auto create = ModuleFunction<PFNTESTMODULECREATE>("TestModuleCreate");
    ASSERT_TRUE(create);
    void* pv = nullptr;
    EXPECT_EQ(REGDB_E_CLASSNOTREG, create(CLSID_ProgramCounter, IidOf<ICounter>(), &pv));
    DWORD cookie = CoRegisterInprocClass(CLSID_ProgramCounter, "", &CComCreator<CProgramCounter>::CreateInstance);
    ASSERT_EQ(S_OK, create(CLSID_ProgramCounter, IidOf<ICounter>(), &pv));
    auto* counter = static_cast<ICounter*>(pv);
    LONG value = 0;
    counter->Increment(&value);
    EXPECT_EQ(1, value);
    counter->Release();
    CoRevokeInprocClass(cookie);
}

TEST(ComRuntimeTest, ApartmentsAreRecordedPerThread)
{
    APTTYPE type;
    EXPECT_EQ(CO_E_NOTINITIALIZED, CoGetApartmentType(&type));
    EXPECT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    EXPECT_EQ(S_FALSE, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    EXPECT_EQ(RPC_E_CHANGED_MODE, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ASSERT_EQ(S_OK, CoGetApartmentType(&type));
    EXPECT_EQ(APTTYPE_MTA, type);

    std::thread other([] {
        APTTYPE t;
        EXPECT_EQ(CO_E_NOTINITIALIZED, CoGetApartmentType(&t));
        EXPECT_EQ(S_OK, CoInitialize(nullptr));
        EXPECT_EQ(S_OK, CoGetApartmentType(&t));
        EXPECT_EQ(APTTYPE_STA, t);
        CoUninitialize();
    });
    other.join();

    CoUninitialize();
    EXPECT_EQ(S_OK, CoGetApartmentType(&type));
    CoUninitialize();
    EXPECT_EQ(CO_E_NOTINITIALIZED, CoGetApartmentType(&type));
}

TEST(ComRuntimeTest, NewGuidsAreRandomVersionFour)
{
    GUID a, b;
    ASSERT_EQ(S_OK, CoCreateGuid(&a));
    ASSERT_EQ(S_OK, CoCreateGuid(&b));
    EXPECT_NE(a, b);
    EXPECT_EQ(0x4000, a.Data3 & 0xF000);
    EXPECT_EQ(0x80, a.Data4[0] & 0xC0);
    void* p = CoTaskMemAlloc(16);
    ASSERT_NE(nullptr, p);
    CoTaskMemFree(p);
    CComPtr<IUnknown> none;
    EXPECT_EQ(E_INVALIDARG, OleRun(none));
}

}  // namespace
