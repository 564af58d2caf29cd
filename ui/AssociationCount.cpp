#include "ui/AssociationCount.h"

#include "app/Chronoset.h"
#include "common/Globals.h"

namespace ui {

int CountAssociationsNow() {
    DWORD nCount = 0;
    if (g_pChronoset != nullptr) {
        g_pChronoset->CountAssociations(nCount);
    }
    return static_cast<int>(nCount);
}

int AssociationLimit() {
    return CChronoset::GetMaxGroupAddressCount();
}

}  // namespace ui
