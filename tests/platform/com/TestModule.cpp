// A small in-process server library for the activation tests: one class,
// a registry script with %MODULE% and %Manuf%, the four exports.

#include "platform/com/Com.h"
#include "tests/platform/com/TestInterfaces.h"

namespace {

class CModuleGreeter : public IGreeter, public CComObjectRoot, public CComCoClass<CModuleGreeter, CLSID_ModuleGreeter> {
public:
    BEGIN_COM_MAP(CModuleGreeter)
    COM_INTERFACE_ENTRY(IGreeter)
    END_COM_MAP()
    DECLARE_NOT_AGGREGATABLE(CModuleGreeter)
    DECLARE_REGISTRY_RESOURCEID(101)

    HRESULT Greet(BSTR bstrName, BSTR* pbstrGreeting) override
    {
        if (!pbstrGreeting)
            return E_POINTER;
        CComBSTR text("Hallo, ");
        text.Append(platform::BstrToUtf8(bstrName));
        text.Append("!");
        *pbstrGreeting = text.Detach();
        return S_OK;
    }
};

constexpr const char* kScript = R"(HKCR
{
    %Manuf%_Test.Greeter.1 = s 'Greeter Class'
    {
        CLSID = s '{8D1E3C52-0B7A-4F0E-9A51-3C2B7E6D4B01}'
    }
    NoRemove CLSID
    {
        ForceRemove {8D1E3C52-0B7A-4F0E-9A51-3C2B7E6D4B01} = s 'Greeter Class'
        {
            ProgID = s '%Manuf%_Test.Greeter.1'
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Free'
            }
        }
    }
}
)";

class CTestServerModule : public CComDllModule {
public:
    CTestServerModule()
    {
        AddObjectEntry(MakeObjectMapEntry<CModuleGreeter>());
        AddRegistryScript(101, kScript);
    }

    HRESULT AddCommonRGSReplacements(platform::CRegistrar& registrar) override
    {
        HRESULT hr = CComDllModule::AddCommonRGSReplacements(registrar);
        if (FAILED(hr))
            return hr;
        return registrar.AddReplacement("Manuf", "Vek");
    }
};

CTestServerModule g_testModule;

}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
    return g_testModule.DllGetClassObject(rclsid, riid, ppv);
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow()
{
    return g_testModule.DllCanUnloadNow();
}

extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer()
{
    return g_testModule.DllRegisterServer();
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer()
{
    return g_testModule.DllUnregisterServer();
}

// Creation from inside the library: finds the classes the program put in
// the process's class table.
extern "C" __attribute__((visibility("default"))) HRESULT TestModuleCreate(REFCLSID rclsid, REFIID riid, void** ppv)
{
    return CoCreateInstance(rclsid, nullptr, CLSCTX_ALL, riid, ppv);
}

extern "C" __attribute__((visibility("default"))) LONG TestModuleLockCount()
{
    return g_testModule.GetLockCount();
}
