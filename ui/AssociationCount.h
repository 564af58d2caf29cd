#pragma once
// The project's association count against its limit, as the edit dialogs
// check it before they offer or make a new group address.

namespace ui {

// The associations of the central object now; 0 without one.
int CountAssociationsNow();

// The most associations the device takes.
int AssociationLimit();

}  // namespace ui
