#pragma once
// The connection object of the bus-access library's stand-in
// ("Falcon.ConnectionObject.1"). Open2 takes the simulated device that the
// connection parameter names (CSimulatedBus): in device mode it opens a
// transport connection to the target address, in interface-check mode it
// only asks whether the interface answers. The device connection closes
// when the object goes.

#include "platform/bus/FalconInterfaces.h"
#include "platform/bus/SimulatedDevice.h"
#include "platform/com/ComObject.h"

#include <memory>
#include <optional>

// What the stand-in's access objects reach through a bound connection.
struct ISimulatedConnection : IUnknown {
    DECLARE_INTERFACE_IID(ISimulatedConnection, "{046DC781-5DC9-462F-96ED-9C0D8C16E541}")
    // The device of an open device connection; null otherwise.
    virtual CSimulatedDevice* GetConnectedDevice() = 0;

protected:
    ~ISimulatedConnection() = default;
};

class CFalconConnection : public Falcon::IConnection, public ISimulatedConnection, public CComObjectRoot
{
public:
    BEGIN_COM_MAP(CFalconConnection)
    COM_INTERFACE_ENTRY(Falcon::IConnection)
    COM_INTERFACE_ENTRY(ISimulatedConnection)
    END_COM_MAP()
    DECLARE_NOT_AGGREGATABLE(CFalconConnection)

    void FinalRelease();

    // Falcon::IConnection
    HRESULT put_Mode(LONG nMode) override;
    HRESULT put_TargetAddress(VARIANT vAddress) override;
    HRESULT Open2(BSTR bstrInterface, VARIANT vParameter, LONG* pDeviceOpenError) override;

    // ISimulatedConnection
    CSimulatedDevice* GetConnectedDevice() override;

private:
    HRESULT DoOpen2(BSTR bstrInterface, const VARIANT& vParameter, LONG* pDeviceOpenError);

    LONG m_nMode = 0;
    std::optional<WORD> m_oTargetAddress;
    std::shared_ptr<CSimulatedDevice> m_pDevice;  // held while a device connection is open
};
