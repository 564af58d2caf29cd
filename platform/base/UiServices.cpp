#include "platform/base/UiServices.h"

namespace platform {

namespace {
IUiServices* g_pUiServices = nullptr;
}

IUiServices* GetUiServices()
{
    return g_pUiServices;
}

IUiServices* SetUiServices(IUiServices* pServices)
{
    IUiServices* pOld = g_pUiServices;
    g_pUiServices = pServices;
    return pOld;
}

}  // namespace platform
