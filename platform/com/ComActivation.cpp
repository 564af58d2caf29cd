#include "platform/com/ComActivation.h"

#include "platform/com/ComClassFactory.h"
#include "platform/com/ComProcessState.h"
#include "platform/com/RegistryStore.h"

#include <dlfcn.h>
#include <optional>

namespace {

thread_local std::string t_strLastLoadError;

std::optional<ComCreateFunction> FindInprocClass(REFCLSID rclsid)
{
    CComProcessState& state = GetComProcessState();
    std::lock_guard lock(state.mutex);
    for (auto it = state.mapClasses.rbegin(); it != state.mapClasses.rend(); ++it) {
        if (it->second.clsid == rclsid)
            return it->second.fnCreate;
    }
    return std::nullopt;
}

// The class's registered library, or the failure that stands for it.
HRESULT FindServerPath(REFCLSID rclsid, std::string& path)
{
    platform::CRegistryStore store;
    platform::CRegistryKey root;
    HRESULT hr = store.Load(root);
    if (FAILED(hr))
        return hr;
    const platform::CRegistryKey* key =
        root.FindPath("HKEY_CLASSES_ROOT\\CLSID\\" + platform::FormatGuid(rclsid) + "\\InprocServer32");
    const std::string* value = key ? key->GetValue("") : nullptr;
    if (!value || value->empty())
        return REGDB_E_CLASSNOTREG;
    path = *value;
    return S_OK;
}

HRESULT GetServerClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
    std::string path;
    HRESULT hr = FindServerPath(rclsid, path);
    if (FAILED(hr))
        return hr;
    // Never unloaded: a server may hold threads, timers or a toolkit that
    // must not lose its code.
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!module) {
        const char* err = ::dlerror();
        t_strLastLoadError = err ? err : path;
        return CO_E_DLLNOTFOUND;
    }
    auto getClassObject = reinterpret_cast<PFNDLLGETCLASSOBJECT>(::dlsym(module, "DllGetClassObject"));
    if (!getClassObject) {
        t_strLastLoadError = path + ": no DllGetClassObject";
        return CO_E_ERRORINDLL;
    }
    try {
        return getClassObject(rclsid, riid, ppv);
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void*, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (std::optional<ComCreateFunction> fn = FindInprocClass(rclsid))
        return CComClassFactory::Create(std::move(*fn), riid, ppv);
    if (!(dwClsContext & CLSCTX_INPROC))
        return REGDB_E_CLASSNOTREG;
    return GetServerClassObject(rclsid, riid, ppv);
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (std::optional<ComCreateFunction> fn = FindInprocClass(rclsid)) {
        try {
            return (*fn)(pUnkOuter, riid, ppv);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_UNEXPECTED;
        }
    }
    if (!(dwClsContext & CLSCTX_INPROC))
        return REGDB_E_CLASSNOTREG;
    void* pv = nullptr;
    HRESULT hr = GetServerClassObject(rclsid, IID_IClassFactory, &pv);
    if (FAILED(hr))
        return hr;
    if (!pv)
        return E_UNEXPECTED;
    auto* factory = static_cast<IClassFactory*>(pv);
    hr = factory->CreateInstance(pUnkOuter, riid, ppv);
    factory->Release();
    return hr;
}

HRESULT CLSIDFromProgID(std::string_view progId, CLSID* pclsid)
{
    if (!pclsid)
        return E_INVALIDARG;
    *pclsid = GUID_NULL;
    if (progId.empty() || progId.find('\\') != std::string_view::npos)
        return CO_E_CLASSSTRING;
    {
        CComProcessState& state = GetComProcessState();
        std::lock_guard lock(state.mutex);
        platform::RegistryNameLess less;
        for (auto it = state.mapClasses.rbegin(); it != state.mapClasses.rend(); ++it) {
            const std::string& name = it->second.strProgId;
            if (!name.empty() && !less(name, progId) && !less(progId, name)) {
                *pclsid = it->second.clsid;
                return S_OK;
            }
        }
    }
    platform::CRegistryStore store;
    std::optional<std::string> text = store.GetValue("HKEY_CLASSES_ROOT\\" + std::string(progId) + "\\CLSID", "");
    std::optional<GUID> clsid = text ? platform::ParseGuid(*text) : std::nullopt;
    if (!clsid)
        return CO_E_CLASSSTRING;
    *pclsid = *clsid;
    return S_OK;
}

HRESULT CLSIDFromString(std::string_view text, CLSID* pclsid)
{
    if (!pclsid)
        return E_INVALIDARG;
    std::optional<GUID> clsid = platform::ParseGuid(text);
    *pclsid = clsid.value_or(GUID_NULL);
    return clsid ? S_OK : CO_E_CLASSSTRING;
}

HRESULT ProgIDFromCLSID(REFCLSID rclsid, std::string* pProgId)
{
    if (!pProgId)
        return E_INVALIDARG;
    pProgId->clear();
    {
        CComProcessState& state = GetComProcessState();
        std::lock_guard lock(state.mutex);
        for (auto it = state.mapClasses.rbegin(); it != state.mapClasses.rend(); ++it) {
            if (it->second.clsid == rclsid) {
                if (it->second.strProgId.empty())
                    break;
                *pProgId = it->second.strProgId;
                return S_OK;
            }
        }
    }
    platform::CRegistryStore store;
    std::optional<std::string> progId =
        store.GetValue("HKEY_CLASSES_ROOT\\CLSID\\" + platform::FormatGuid(rclsid) + "\\ProgID", "");
    if (!progId || progId->empty())
        return REGDB_E_CLASSNOTREG;
    *pProgId = *progId;
    return S_OK;
}

DWORD CoRegisterInprocClass(REFCLSID rclsid, std::string_view progId, ComCreateFunction fnCreate)
{
    if (!fnCreate)
        return 0;
    CComProcessState& state = GetComProcessState();
    std::lock_guard lock(state.mutex);
    DWORD cookie = state.dwNextCookie++;
    state.mapClasses.emplace(cookie, CComInprocClass {rclsid, std::string(progId), std::move(fnCreate)});
    return cookie;
}

HRESULT CoRevokeInprocClass(DWORD dwCookie)
{
    CComProcessState& state = GetComProcessState();
    std::lock_guard lock(state.mutex);
    return state.mapClasses.erase(dwCookie) ? S_OK : E_INVALIDARG;
}

std::string CoGetLastLoadError()
{
    return t_strLastLoadError;
}
