#pragma once
// The host's live device connection: the device-management object that the
// host hands out for one device of its project, through which a plug-in
// reads properties and reads and writes user memory of the real device.
//
// The host does not talk to the bus itself here: whoever provides a device
// (the bus stand-in over its simulated device) installs a factory with
// SetDeviceManagementFactory, and the host's live-connection entry point
// (see HostWindow.h) creates the object through it.

#include "platform/com/ComTypes.h"

#include <functional>

struct IEtsDevice;

struct IDeviceManagement : IUnknown {
    DECLARE_INTERFACE_IID(IDeviceManagement, "{C6C0A3CD-6520-4F5B-AF59-CCE3A5DA61A3}")

    // Opens the connection to the device the object was made for.
    virtual HRESULT Connect() = 0;
    virtual HRESULT Disconnect() = 0;
    // Reads `nCount` elements of a property into `pBuffer` (at most
    // `nBufferLength` bytes). The type code is passed on unchanged.
    virtual HRESULT ReadProp(BYTE nObjectIndex, BYTE nPropertyId, BYTE nType, WORD nStartIndex, BYTE nCount,
                             WORD nBufferLength, BYTE* pBuffer) = 0;
    // Memory of kind `nMemoryType` (3: user memory). `nReserved` is 0;
    // `bVerify` asks for a read-back check.
    virtual HRESULT WriteMem(LONG nMemoryType, DWORD dwAddress, WORD nLength, const BYTE* pData, LONG nReserved,
                             BOOL bVerify) = 0;
    virtual HRESULT ReadMem(LONG nMemoryType, DWORD dwAddress, WORD nLength, BYTE* pBuffer) = 0;

protected:
    ~IDeviceManagement() = default;
};

namespace platform::host {

// Makes the connection object for a device of the project. The three
// numbers are those the plug-in passes through the entry point unchanged
// (0, 0 and -1); `riid` is the interface asked for.
using DeviceManagementFactory =
    std::function<HRESULT(IEtsDevice* pDevice, LONG nArg1, LONG nArg2, LONG nArg3, REFIID riid, void** ppv)>;

// Installs the factory (an empty one removes it); gives back the one before.
// Without a factory the entry point answers E_NOTIMPL.
DeviceManagementFactory SetDeviceManagementFactory(DeviceManagementFactory factory);

// Creates a connection through the installed factory.
HRESULT CreateDeviceManagement(IEtsDevice* pDevice, LONG nArg1, LONG nArg2, LONG nArg3, REFIID riid, void** ppv);

}  // namespace platform::host
