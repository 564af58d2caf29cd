#include "platform/bus/BusAccessClasses.h"

#include "platform/bus/FalconConnection.h"
#include "platform/bus/FalconMemoryAccess.h"
#include "platform/bus/FalconPropertyAccess.h"
#include "platform/bus/FalconStandIn.h"
#include "platform/bus/FalconUserMemoryAccess.h"
#include "platform/com/ComActivation.h"

#include <mutex>
#include <vector>

namespace {

std::mutex s_busClassesMutex;
std::vector<DWORD> s_arrCookies;

template <class T>
ComCreateFunction CreatorOf(EFalconClass eClass)
{
    return [eClass](IUnknown* pUnkOuter, REFIID riid, void** ppv) -> HRESULT {
        if (HRESULT hr = CFalconStandIn::GetCreateFailure(eClass); FAILED(hr)) {
            if (ppv)
                *ppv = nullptr;
            return hr;
        }
        return CComCreator<T>::CreateInstance(pUnkOuter, riid, ppv);
    };
}

}  // namespace

HRESULT RegisterBusAccessClasses()
{
    std::lock_guard lock(s_busClassesMutex);
    if (!s_arrCookies.empty())
        return S_FALSE;
    struct Entry {
        const CLSID& clsid;
        const char* pszProgId;
        ComCreateFunction fnCreate;
    };
    const Entry arrEntries[] = {
        {Falcon::CLSID_ConnectionObject, Falcon::kProgIdConnection,
         CreatorOf<CFalconConnection>(EFalconClass::Connection)},
        {Falcon::CLSID_PropertyAccess, Falcon::kProgIdPropertyAccess,
         CreatorOf<CFalconPropertyAccess>(EFalconClass::PropertyAccess)},
        {Falcon::CLSID_MemoryAccess, Falcon::kProgIdMemoryAccess,
         CreatorOf<CFalconMemoryAccess>(EFalconClass::MemoryAccess)},
        {Falcon::CLSID_UserMemoryAccess, Falcon::kProgIdUserMemoryAccess,
         CreatorOf<CFalconUserMemoryAccess>(EFalconClass::UserMemoryAccess)},
    };
    for (const Entry& entry : arrEntries) {
        DWORD dwCookie = CoRegisterInprocClass(entry.clsid, entry.pszProgId, entry.fnCreate);
        if (dwCookie == 0) {
            for (DWORD dwDone : s_arrCookies)
                CoRevokeInprocClass(dwDone);
            s_arrCookies.clear();
            return E_FAIL;
        }
        s_arrCookies.push_back(dwCookie);
    }
    return S_OK;
}

void RevokeBusAccessClasses()
{
    std::lock_guard lock(s_busClassesMutex);
    for (DWORD dwCookie : s_arrCookies)
        CoRevokeInprocClass(dwCookie);
    s_arrCookies.clear();
}
