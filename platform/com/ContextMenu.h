#pragma once
// The shell's context-menu interface, which host plug-in objects carry. Its
// methods take the shell's menu and command records as opaque pointers.

#include "platform/com/ComTypes.h"

struct IContextMenu : IUnknown {
    DECLARE_INTERFACE_IID(IContextMenu, "{000214E4-0000-0000-C000-000000000046}")
    virtual HRESULT QueryContextMenu(void* hMenu, UINT nIndexMenu, UINT nCmdFirst, UINT nCmdLast, UINT nFlags) = 0;
    virtual HRESULT InvokeCommand(void* pCommandInfo) = 0;
    virtual HRESULT GetCommandString(std::uintptr_t nCommand, UINT nType, UINT* pReserved, char* pszName,
                                     UINT nMax) = 0;

protected:
    ~IContextMenu() = default;
};
