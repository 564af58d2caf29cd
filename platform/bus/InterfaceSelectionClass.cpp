#include "platform/bus/InterfaceSelectionClass.h"

#include "platform/bus/InterfaceSelector.h"
#include "platform/com/ComActivation.h"
#include "platform/com/ComObject.h"

#include <mutex>

namespace {

std::mutex s_selectionClassMutex;
DWORD s_dwCookie = 0;

}  // namespace

HRESULT RegisterInterfaceSelectionClass()
{
    std::lock_guard lock(s_selectionClassMutex);
    if (s_dwCookie != 0)
        return S_FALSE;
    s_dwCookie = CoRegisterInprocClass(Falcon::CLSID_InterfaceSelection, Falcon::kProgIdInterfaceSelection,
                                       &CComCreator<CInterfaceSelector>::CreateInstance);
    return s_dwCookie != 0 ? S_OK : E_FAIL;
}

void RevokeInterfaceSelectionClass()
{
    std::lock_guard lock(s_selectionClassMutex);
    if (s_dwCookie != 0)
        CoRevokeInprocClass(s_dwCookie);
    s_dwCookie = 0;
    CInterfaceSelector::ForgetLastConnection();
}
