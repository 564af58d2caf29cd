#pragma once
// Registration of the bus interface selection component: its class
// (Falcon::CLSID_InterfaceSelection, ProgID "Falcon.InterfaceSelection.1")
// goes into the process's in-process class table, so that creating it finds
// it without a registry entry.

#include "platform/base/WinTypes.h"

// Registers the class once per module; a further call does nothing and
// gives S_FALSE.
HRESULT RegisterInterfaceSelectionClass();
// Takes the registration out of the table again; the component forgets the
// connection it handed out last.
void RevokeInterfaceSelectionClass();
