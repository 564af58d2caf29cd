#pragma once
// Window and icon handles for the Qt-free layers. A handle is a number that
// the window layer hands out, never the address of a Qt object, so a handle
// of a widget that is gone maps to null instead of a dangling pointer.
// Handles are never reused within a process. For the window thread only.

#include "platform/base/WinTypes.h"

#include <QIcon>

class QWidget;

namespace platform::ui {

// The widget's handle, made on first use and the same for its whole life;
// null for null.
HWND HwndFromWidget(const QWidget* pWidget);
// The widget of the handle; null for null, an unknown handle or a widget
// that was destroyed.
QWidget* WidgetFromHwnd(HWND hWnd);

// A handle owning a copy of the icon. A shared handle belongs to the window
// layer (a cached resource icon): DestroyIconHandle leaves it alone.
HICON CreateIconHandle(const QIcon& icon, bool bShared = false);
// The icon of the handle; a null icon for null, an unknown or a destroyed
// handle.
QIcon IconFromHandle(HICON hIcon);
bool IsIconHandle(HICON hIcon);
// Frees an owned icon handle. False for null, unknown, already destroyed or
// shared handles.
bool DestroyIconHandle(HICON hIcon);
// Frees a handle whatever its kind; for the window layer's own caches.
void ReleaseIconHandle(HICON hIcon);

}  // namespace platform::ui
