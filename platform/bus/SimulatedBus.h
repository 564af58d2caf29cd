#pragma once
// The simulated line behind the bus-access library's stand-in and the host's
// device management: which simulated device a connection parameter reaches.
//
// - A device installed for a parameter (tests, tools) is reached as it is.
// - The empty parameter reaches one in-memory device of the process, made on
//   first use.
// - Any other parameter is the path of a device state file: the device is
//   read from it (or created there) when the first connection takes it, is
//   shared by every connection of the process that holds it meanwhile, and
//   writes its state back when a connection closes and when the last holder
//   lets go.
//
// Thread-safe; the devices themselves serve one caller at a time.

#include "platform/bus/SimulatedDevice.h"

#include <memory>
#include <string>

class CSimulatedBus
{
public:
    // The device behind the parameter, or null with the reason (the state
    // file cannot be read or written) in eResult.
    static std::shared_ptr<CSimulatedDevice> AttachDevice(const std::string& strConnectionParam,
                                                          EDeviceResult& eResult);

    // Makes the device the one the parameter reaches; null removes it.
    static void InstallDevice(const std::string& strConnectionParam, std::shared_ptr<CSimulatedDevice> pDevice);
    // Forgets every installed device and the process's in-memory device.
    static void RemoveAll();

    // The clock of devices made from here on (the system clock when empty).
    static void SetClockSource(CSimulatedDevice::ClockSource fnClock);
};
