#pragma once
// One visible communication object of the device as the host reports it:
// its number, its place in the host's object collection and its host id.
// The save collects them; deleting and reading the associations walks them.

#include "platform/base/WinTypes.h"

#include <vector>

struct CommObjectEntry {
    WORD nObjectNumber = 0;
    LONG nIndex = -1;
    LONG nObjectId = -1;
};

using CCommObjectArray = std::vector<CommObjectEntry>;
