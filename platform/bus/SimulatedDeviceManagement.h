#pragma once
// The host's live device connection over the simulated line: the
// device-management object the host hands a plug-in for one device of its
// project. It reaches the simulated device that the connection parameter
// names (CSimulatedBus) at the device's individual address, the same device
// the bus-access library's stand-in reaches with that parameter.
//
// Memory kind 3 is the device's user memory; no other kind is served.
// ReadProp and ReadMem fill the caller's buffer with what the device sent
// (at most the buffer's length) and leave the rest of it as it was.

#include "platform/bus/SimulatedDevice.h"
#include "platform/com/ComObject.h"
#include "platform/host/EtsDeviceManagement.h"

#include <memory>
#include <string>

class CSimulatedDeviceManagement : public IDeviceManagement, public CComObjectRoot
{
public:
    static constexpr LONG kUserMemory = 3;

    BEGIN_COM_MAP(CSimulatedDeviceManagement)
    COM_INTERFACE_ENTRY(IDeviceManagement)
    END_COM_MAP()
    DECLARE_NOT_AGGREGATABLE(CSimulatedDeviceManagement)

    // A new object for the device at that address behind the parameter.
    static HRESULT Create(const std::string& strConnectionParam, WORD nTargetAddress, REFIID riid, void** ppv);

    void FinalRelease();

    HRESULT Connect() override;
    HRESULT Disconnect() override;
    HRESULT ReadProp(BYTE nObjectIndex, BYTE nPropertyId, BYTE nType, WORD nStartIndex, BYTE nCount,
                     WORD nBufferLength, BYTE* pBuffer) override;
    HRESULT WriteMem(LONG nMemoryType, DWORD dwAddress, WORD nLength, const BYTE* pData, LONG nReserved,
                     BOOL bVerify) override;
    HRESULT ReadMem(LONG nMemoryType, DWORD dwAddress, WORD nLength, BYTE* pBuffer) override;

    const std::string& GetConnectionParam() const { return m_strConnectionParam; }
    WORD GetTargetAddress() const { return m_nTargetAddress; }

private:
    // The device while connected; null with E_FALCON_NOT_CONNECTED otherwise.
    CSimulatedDevice* ConnectedDevice(HRESULT& hr);

    std::string m_strConnectionParam;
    WORD m_nTargetAddress = 0;
    std::shared_ptr<CSimulatedDevice> m_pDevice;  // held while connected
};
