#include "ui/GroupAddressInsertHook.h"

#include <utility>

namespace ui {

namespace {
GroupAddressInsertHook& Hook() {
    static GroupAddressInsertHook hook;
    return hook;
}
}  // namespace

GroupAddressInsertHook SetGroupAddressInsertHook(GroupAddressInsertHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

bool HasGroupAddressInsertHook() {
    return static_cast<bool>(Hook());
}

CGroupDataAddress* InsertGroupAddress(QWidget* pOwner, DWORD dwAllowedTypes) {
    const GroupAddressInsertHook& hook = Hook();
    return hook ? hook(pOwner, dwAllowedTypes) : nullptr;
}

}  // namespace ui
