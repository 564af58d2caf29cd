#pragma once
// Registration of the bus-access library's stand-in: its four classes go
// into the process's in-process class table under their ProgIDs
// ("Falcon.ConnectionObject.1", "Falcon.PropertyAccess.1",
// "Falcon.MemoryAccess.1", "Falcon.UserMemoryAccess.1"), so that creating
// them by ProgID finds them without a registry entry. Creation fails with
// the failure injected for the class (CFalconStandIn::SetCreateFailure).

#include "platform/base/WinTypes.h"

// Registers the classes once per module; a further call does nothing.
HRESULT RegisterBusAccessClasses();
// Takes this module's registrations out of the table again.
void RevokeBusAccessClasses();
