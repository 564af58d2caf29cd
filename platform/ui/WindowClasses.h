#pragma once
// Window class names with the icon their windows show. The standard dialog
// class "#32770" always exists and has no icon of its own. Names compare
// without regard to case. The registry keeps the icon handle, not the icon:
// whoever made the icon destroys it after unregistering.

#include "platform/base/WinTypes.h"

#include <string>

namespace platform::ui {

inline constexpr char kStandardDialogClass[] = "#32770";

// False when the name is empty or already registered.
bool RegisterWindowClass(const std::string& strName, HICON hIcon);
// False when the name is not registered (the standard class cannot go).
bool UnregisterWindowClass(const std::string& strName);
bool IsWindowClassRegistered(const std::string& strName);
// The class's icon; null when the class is unknown or has none.
HICON GetWindowClassIcon(const std::string& strName);

}  // namespace platform::ui
