#pragma once
// Fills the host's device-management hook with the simulated line: the
// host's live-connection entry point then hands out, for a device of its
// project, a CSimulatedDeviceManagement that reaches the simulated device
// behind the connection parameter at the project device's individual
// address. The host program calls this once at start.

#include "platform/base/WinTypes.h"
#include "platform/host/EtsDeviceManagement.h"

#include <string>

// Gives back the factory installed before.
platform::host::DeviceManagementFactory InstallSimulatedDeviceManagement(const std::string& strConnectionParam);

// The individual address of a project device from its area, line and device
// numbers; E_FAIL when one of them is unassigned or out of range.
HRESULT GetEtsDeviceAddress(IEtsDevice* pDevice, WORD& nAddress);
