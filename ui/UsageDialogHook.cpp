#include "ui/UsageDialogHook.h"

#include <utility>

namespace ui {

namespace {
UsageDialogHook& InstalledUsageHook() {
    static UsageDialogHook hook;
    return hook;
}
}  // namespace

UsageDialogHook SetUsageDialogHook(UsageDialogHook hook) {
    return std::exchange(InstalledUsageHook(), std::move(hook));
}

int ShowUsageDialog(QWidget* pOwner, int nTableType, const std::vector<CObject*>& objects) {
    const UsageDialogHook& hook = InstalledUsageHook();
    return hook ? hook(pOwner, nTableType, objects) : -1;
}

}  // namespace ui
