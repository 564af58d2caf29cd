#pragma once
// The "neue Gruppenadresse" entry of the group-address choosers opens the
// group-address insertion dialog. The dialog installs itself here; without
// it the choosers do not offer the entry.

#include "platform/base/WinTypes.h"

#include <functional>

class CGroupDataAddress;
class QWidget;

namespace ui {

// Runs the insertion dialog modally over the owner, offering the datapoint
// types of the allowed-type mask; the address it added to the parameter set,
// or null when the user cancelled.
using GroupAddressInsertHook = std::function<CGroupDataAddress*(QWidget* pOwner, DWORD dwAllowedTypes)>;

// Installs the hook (empty: none); gives back the previous one.
GroupAddressInsertHook SetGroupAddressInsertHook(GroupAddressInsertHook hook);
bool HasGroupAddressInsertHook();
// Runs the installed hook; null when there is none.
CGroupDataAddress* InsertGroupAddress(QWidget* pOwner, DWORD dwAllowedTypes);

}  // namespace ui
