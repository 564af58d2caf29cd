#pragma once
// The module object of an in-process server library: its object map (the
// classes it serves), the four exports' work, and registration through the
// classes' registry scripts. A library keeps one such object and forwards
// its extern "C" DllGetClassObject, DllCanUnloadNow, DllRegisterServer and
// DllUnregisterServer to it.

#include "platform/com/ComClassFactory.h"
#include "platform/com/ComTypes.h"
#include "platform/com/Registrar.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

class CComDllModule;

struct CComObjectMapEntry {
    const CLSID* pclsid;
    PFNCREATEINSTANCE pfnCreateInstance;
    HRESULT (*pfnUpdateRegistry)(CComDllModule& module, bool bRegister);
};

// The entry of a class derived from CComCoClass.
template <class T>
CComObjectMapEntry MakeObjectMapEntry()
{
    return {&T::GetObjectCLSID(), &CComCreator<T>::CreateInstance, &T::UpdateRegistry};
}

// In a CComCoClass: registration runs the module's script with this id.
#define DECLARE_REGISTRY_RESOURCEID(id)                                                                      \
    static ::HRESULT UpdateRegistry(::CComDllModule& module, bool bRegister)                                 \
    {                                                                                                        \
        return module.UpdateRegistryFromResource(id, bRegister);                                             \
    }

class CComDllModule {
public:
    CComDllModule() = default;
    explicit CComDllModule(std::vector<CComObjectMapEntry> entries);
    virtual ~CComDllModule() = default;
    CComDllModule(const CComDllModule&) = delete;
    CComDllModule& operator=(const CComDllModule&) = delete;

    void AddObjectEntry(const CComObjectMapEntry& entry);
    const std::vector<CComObjectMapEntry>& GetObjectMap() const { return m_vecEntries; }

    // A class factory for a class of the map; CLASS_E_CLASSNOTAVAILABLE for
    // any other class id.
    HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv);
    // S_OK when no object of the module is alive and no LockServer lock is
    // held, else S_FALSE.
    HRESULT DllCanUnloadNow();
    // Each class of the map registers (or unregisters) itself; the first
    // failure is returned.
    HRESULT DllRegisterServer();
    HRESULT DllUnregisterServer();

    LONG Lock();
    LONG Unlock();
    LONG GetLockCount() const;

    // The file path of the library holding this module object.
    virtual std::string GetModulePath() const;

    // Runs the script with that id: loads it through LoadRegistryScript,
    // fills a registrar with the common replacements and registers or
    // unregisters.
    HRESULT UpdateRegistryFromResource(UINT nResourceId, bool bRegister);
    HRESULT UpdateRegistryFromScript(std::string_view script, bool bRegister);
    // Adds "MODULE" (the library's path). Derived modules add their own.
    virtual HRESULT AddCommonRGSReplacements(platform::CRegistrar& registrar);
    // The script text of an id. By default the scripts given to
    // AddRegistryScript; a module may load them from its resources instead.
    virtual HRESULT LoadRegistryScript(UINT nResourceId, std::string& strScript);
    void AddRegistryScript(UINT nResourceId, std::string strScript);

    // The reason of the last failed registration, as the registrar gave it.
    const std::string& GetRegistrationError() const { return m_strRegistrationError; }

protected:
    // The store registration writes to; by default the file named by the
    // environment at the time of the call.
    virtual platform::CRegistryStore GetRegistryStore() const;

private:
    std::vector<CComObjectMapEntry> m_vecEntries;
    std::map<UINT, std::string> m_mapScripts;
    std::string m_strRegistrationError;
};
