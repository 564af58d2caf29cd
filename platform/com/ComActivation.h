#pragma once
// Creating objects by class id or ProgID. A class is looked up first in the
// process's in-process class table (classes that the host and bus stand-ins
// register with CoRegisterInprocClass), then in the registry:
// HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32 names the library, which is
// loaded (never unloaded) and asked through its DllGetClassObject.
// ProgIDs resolve through the table, then HKEY_CLASSES_ROOT\<ProgID>\CLSID.

#include "platform/com/ComTypes.h"

#include <functional>
#include <string>
#include <string_view>

// E_POINTER for a null out pointer; REGDB_E_CLASSNOTREG for a class that is
// neither in the table nor registered (or asked for without an in-process
// context); REGDB_E_READREGDB when the registry file is unreadable;
// CO_E_DLLNOTFOUND when the registered library does not load;
// CO_E_ERRORINDLL when it has no DllGetClassObject; the library's refusal
// (CLASS_E_CLASSNOTAVAILABLE) or the object's answer (E_NOINTERFACE,
// CLASS_E_NOAGGREGATION, ...) otherwise.
HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid, void** ppv);
HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void* pvReserved, REFIID riid, void** ppv);

// CO_E_CLASSSTRING for a ProgID that names no class.
HRESULT CLSIDFromProgID(std::string_view progId, CLSID* pclsid);
// A braced class id text; CO_E_CLASSSTRING (and GUID_NULL) for anything else.
HRESULT CLSIDFromString(std::string_view text, CLSID* pclsid);
// REGDB_E_CLASSNOTREG when the class has no ProgID.
HRESULT ProgIDFromCLSID(REFCLSID rclsid, std::string* pProgId);

// The in-process class table. The newest registration of a class id wins;
// revoking it brings the one before back. Registration gives a cookie (0
// when the creation function is empty).
using ComCreateFunction = std::function<HRESULT(IUnknown* pUnkOuter, REFIID riid, void** ppv)>;
DWORD CoRegisterInprocClass(REFCLSID rclsid, std::string_view progId, ComCreateFunction fnCreate);
HRESULT CoRevokeInprocClass(DWORD dwCookie);

// The text dlerror gave for the last library of a class that failed to load
// on this thread (for messages; empty when none failed).
std::string CoGetLastLoadError();
