#pragma once
// The state of the association check that the host calls whenever the user
// adds an association in the project (CDeviceUI2::OnAddAssociation).

#include "platform/base/WinTypes.h"

// Set while the plug-in itself creates or deletes associations in the host:
// the check then accepts every event unchecked.
extern BYTE g_bOwnAssociationChange;
// The host id of the device whose association data the check read last
// (-1 at load).
extern LONG g_lastAssociationDeviceId;

// Sets g_bOwnAssociationChange for its lifetime and clears it when it goes,
// on every path out of the plug-in's own association change.
class COwnAssociationChange {
public:
    COwnAssociationChange() { g_bOwnAssociationChange = 1; }
    ~COwnAssociationChange() { g_bOwnAssociationChange = 0; }
    COwnAssociationChange(const COwnAssociationChange&) = delete;
    COwnAssociationChange& operator=(const COwnAssociationChange&) = delete;
};
