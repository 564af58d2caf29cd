#include "platform/com/ComDllModule.h"

#include "platform/base/PathUtil.h"
#include "platform/com/ComModuleLock.h"

#include <utility>

namespace {

// Lies in the library that links this code, wherever the module object
// itself was put.
void ModuleAnchor() {}

}  // namespace

CComDllModule::CComDllModule(std::vector<CComObjectMapEntry> entries)
    : m_vecEntries(std::move(entries))
{
}

void CComDllModule::AddObjectEntry(const CComObjectMapEntry& entry)
{
    m_vecEntries.push_back(entry);
}

HRESULT CComDllModule::DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    for (const CComObjectMapEntry& entry : m_vecEntries) {
        if (entry.pclsid && *entry.pclsid == rclsid && entry.pfnCreateInstance)
            return CComClassFactory::Create(entry.pfnCreateInstance, riid, ppv);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CComDllModule::DllCanUnloadNow()
{
    return GetLockCount() == 0 ? S_OK : S_FALSE;
}

HRESULT CComDllModule::DllRegisterServer()
{
    for (const CComObjectMapEntry& entry : m_vecEntries) {
        if (!entry.pfnUpdateRegistry)
            continue;
        HRESULT hr = entry.pfnUpdateRegistry(*this, true);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT CComDllModule::DllUnregisterServer()
{
    HRESULT result = S_OK;
    for (const CComObjectMapEntry& entry : m_vecEntries) {
        if (!entry.pfnUpdateRegistry)
            continue;
        // Every class is removed even when one fails.
        HRESULT hr = entry.pfnUpdateRegistry(*this, false);
        if (FAILED(hr) && SUCCEEDED(result))
            result = hr;
    }
    return result;
}

LONG CComDllModule::Lock()
{
    return CComModuleLock::Lock();
}

LONG CComDllModule::Unlock()
{
    return CComModuleLock::Unlock();
}

LONG CComDllModule::GetLockCount() const
{
    return CComModuleLock::GetLockCount();
}

std::string CComDllModule::GetModulePath() const
{
    return platform::GetModulePathOf(reinterpret_cast<const void*>(&ModuleAnchor));
}

HRESULT CComDllModule::UpdateRegistryFromResource(UINT nResourceId, bool bRegister)
{
    std::string script;
    HRESULT hr = LoadRegistryScript(nResourceId, script);
    if (FAILED(hr)) {
        m_strRegistrationError = "no registry script " + std::to_string(nResourceId);
        return hr;
    }
    return UpdateRegistryFromScript(script, bRegister);
}

HRESULT CComDllModule::UpdateRegistryFromScript(std::string_view script, bool bRegister)
{
    platform::CRegistrar registrar(GetRegistryStore());
    HRESULT hr = AddCommonRGSReplacements(registrar);
    if (FAILED(hr)) {
        m_strRegistrationError = "the replacements could not be set";
        return hr;
    }
    hr = bRegister ? registrar.StringRegister(script) : registrar.StringUnregister(script);
    m_strRegistrationError = registrar.GetErrorText();
    return hr;
}

HRESULT CComDllModule::AddCommonRGSReplacements(platform::CRegistrar& registrar)
{
    std::string path = GetModulePath();
    if (path.empty())
        return E_FAIL;
    return registrar.AddReplacement("MODULE", path);
}

HRESULT CComDllModule::LoadRegistryScript(UINT nResourceId, std::string& strScript)
{
    auto it = m_mapScripts.find(nResourceId);
    if (it == m_mapScripts.end())
        return HRESULT_RESOURCE_NOT_FOUND;
    strScript = it->second;
    return S_OK;
}

void CComDllModule::AddRegistryScript(UINT nResourceId, std::string strScript)
{
    m_mapScripts[nResourceId] = std::move(strScript);
}

platform::CRegistryStore CComDllModule::GetRegistryStore() const
{
    return platform::CRegistryStore();
}
