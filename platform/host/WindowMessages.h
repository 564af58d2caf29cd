#pragma once
// The few window-message services that pass between the host and a plug-in:
// registered message names, the parent and owner of a window, and sending a
// message to a window that answers it.
//
// Windows belong to different layers: the host program's top window answers
// its messages itself (SetWindowMessageHandler), the plug-in's window layer
// tells the relations of its own windows (AddWindowRelations). The state is
// one per process: a program that links this library shares its instance
// with the libraries it loads, as the object layer's class table does.

#include "platform/base/WinTypes.h"

#include <cstdint>
#include <functional>

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

namespace platform::host {

// The id of a registered message: the same name (any case) gives the same id
// in the whole process, from 0xC000 on; 0 for an empty or null name.
UINT RegisterWindowMessage(const char* pszName);

// Answers the relations of the windows of one layer; each function returns
// false for a window the layer does not know.
struct WindowRelations {
    // Child windows have a parent; top-level windows may have an owner.
    std::function<bool(HWND hWnd, bool& bChild)> isChild;
    std::function<bool(HWND hWnd, HWND& hParent)> getParent;
    std::function<bool(HWND hWnd, HWND& hOwner)> getOwner;
};

// Installs the relations of a layer's windows; the cookie removes them.
DWORD AddWindowRelations(WindowRelations relations);
void RemoveWindowRelations(DWORD dwCookie);

// False for a window no layer knows (it counts as a top-level window).
bool IsChildWindow(HWND hWnd);
// Null when the window has none or is unknown.
HWND GetParentWindow(HWND hWnd);
HWND GetOwnerWindow(HWND hWnd);

// The window at the top of the window's chain: from each window to its
// parent when it is a child, else to its owner, until neither exists.
HWND GetTopLevelWindow(HWND hWnd);

using WindowMessageHandler = std::function<LRESULT(UINT nMessage, WPARAM wParam, LPARAM lParam)>;

// A window of the caller's that answers messages (an empty handler removes
// it). The handle is the caller's own unique value.
void SetWindowMessageHandler(HWND hWnd, WindowMessageHandler handler);

// The window's answer; 0 when it has no handler.
LRESULT SendMessage(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);

}  // namespace platform::host
