#pragma once
// The host program's top-level window as far as plug-ins reach it: a handle
// that answers "ETS3:GETAPPPROC" with the live-connection entry point. It has
// no widget; a plug-in's windows name it as their parent or owner.

#include "platform/base/WinTypes.h"

namespace platform::host {

class CHostTopWindow {
public:
    CHostTopWindow();
    ~CHostTopWindow();
    CHostTopWindow(const CHostTopWindow&) = delete;
    CHostTopWindow& operator=(const CHostTopWindow&) = delete;

    HWND GetHandle() const { return m_hWnd; }

private:
    HWND m_hWnd;
};

}  // namespace platform::host
