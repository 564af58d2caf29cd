#include "editors/groups/GroupAddressLevels.h"

#include "app/Chronoset.h"
#include "model/GroupDataAddresses.h"
#include "model/IniManager.h"

int GetGroupAddressLevels() {
    // The lists read the levels once when the central object was made; the
    // tables must number as they do.
    if (g_pChronoset != nullptr) {
        return g_pChronoset->GetGroupDataAddresses()->GetAddressLevels() == 2 ? 2 : 3;
    }
    return g_IniManager.GetGroupAddressLevels() == 2 ? 2 : 3;
}
