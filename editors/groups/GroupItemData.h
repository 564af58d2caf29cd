#pragma once
// What a node of the group selection tree stands for: the table type the
// right pane shows for it (16 project, 17 main group with middle groups,
// 18 group with sub groups, 19 sub group) and the group's host id (0 for the
// project). Owned by its tree item.

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

struct GroupItemData : public CObject {
    GroupItemData(int nKindIn, LONG nIdIn) : nKind(nKindIn), nId(nIdIn) {}

    int nKind = 0;
    LONG nId = -1;
};
