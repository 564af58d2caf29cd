#pragma once
// The number of levels (2 or 3) the parametrisation's group addresses have,
// which the group tables and dialogs of the host project follow.

int GetGroupAddressLevels();
