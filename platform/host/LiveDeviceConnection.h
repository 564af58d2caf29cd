#pragma once
// The host's entry point to a live device connection. A plug-in finds it by
// sending the registered message "ETS3:GETAPPPROC" to the host's top window
// with lParam pointing at the text "GetLifeDeviceConnection"; the answer is
// the entry point's address (0 from a window that is not the host's).

#include "platform/com/ComTypes.h"

inline constexpr char kszGetAppProcMessage[] = "ETS3:GETAPPPROC";
inline constexpr char kszGetLifeDeviceConnection[] = "GetLifeDeviceConnection";

// (device, 0, 0, -1, interface id, out interface): the numbers are passed on
// to the device-management factory unchanged.
using PFNGETLIFEDEVICECONNECTION = HRESULT (*)(IUnknown* pDevice, LONG nArg1, LONG nArg2, LONG nArg3, REFIID riid,
                                               void** ppv);

namespace platform::host {

// The entry point: E_POINTER for a null out pointer, E_INVALIDARG for an
// object that is not a device of the host, else the factory's answer
// (E_NOTIMPL while no factory is installed).
HRESULT GetLifeDeviceConnection(IUnknown* pDevice, LONG nArg1, LONG nArg2, LONG nArg3, REFIID riid, void** ppv);

}  // namespace platform::host
