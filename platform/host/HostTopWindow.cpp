#include "platform/host/HostTopWindow.h"

#include "platform/host/LiveDeviceConnection.h"
#include "platform/host/WindowMessages.h"

#include <cstring>

namespace platform::host {

CHostTopWindow::CHostTopWindow()
    // The object's own address is a handle no window layer hands out.
    : m_hWnd(reinterpret_cast<HWND>(this))
{
    const UINT nGetAppProc = RegisterWindowMessage(kszGetAppProcMessage);
    SetWindowMessageHandler(m_hWnd, [nGetAppProc](UINT nMessage, WPARAM, LPARAM lParam) -> LRESULT {
        if (nMessage != nGetAppProc || lParam == 0)
            return 0;
        const char* pszName = reinterpret_cast<const char*>(lParam);
        if (std::strcmp(pszName, kszGetLifeDeviceConnection) != 0)
            return 0;
        PFNGETLIFEDEVICECONNECTION pfn = &GetLifeDeviceConnection;
        return reinterpret_cast<LRESULT>(pfn);
    });
}

CHostTopWindow::~CHostTopWindow()
{
    SetWindowMessageHandler(m_hWnd, nullptr);
}

}  // namespace platform::host
