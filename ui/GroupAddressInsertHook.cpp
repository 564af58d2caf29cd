#include "ui/GroupAddressInsertHook.h"

#include <utility>

namespace ui {

namespace {
GroupAddressInsertHook& InstalledInsertHook() {
    static GroupAddressInsertHook hook;
    return hook;
}
}  // namespace

GroupAddressInsertHook SetGroupAddressInsertHook(GroupAddressInsertHook hook) {
    return std::exchange(InstalledInsertHook(), std::move(hook));
}

bool HasGroupAddressInsertHook() {
    return static_cast<bool>(InstalledInsertHook());
}

CGroupDataAddress* InsertGroupAddress(QWidget* pOwner, DWORD dwAllowedTypes) {
    const GroupAddressInsertHook& hook = InstalledInsertHook();
    return hook ? hook(pOwner, dwAllowedTypes) : nullptr;
}

}  // namespace ui
