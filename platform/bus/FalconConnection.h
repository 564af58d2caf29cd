#pragma once
// The connection object of the bus-access library's stand-in
// ("Falcon.ConnectionObject.1"). Open2 with knxd's interface id takes the
// knxd server its URL parameter names and reaches real devices
// (CKnxdLink); with any other id it takes the simulated device that the
// parameter names (CSimulatedBus). In device mode it opens a transport
// connection to the target address, in interface-check mode it only asks
// whether the interface answers. The device connection closes when the
// object goes.

#include "platform/bus/FalconInterfaces.h"
#include "platform/bus/SimulatedDevice.h"
#include "platform/com/ComObject.h"

#include <memory>
#include <optional>
#include <string>

// What the stand-in's access objects reach through a bound connection.
struct IDeviceLinkSource : IUnknown {
    DECLARE_INTERFACE_IID(IDeviceLinkSource, "{046DC781-5DC9-462F-96ED-9C0D8C16E541}")
    // The device of an open device connection; null otherwise.
    virtual IDeviceLink* GetConnectedDevice() = 0;

protected:
    ~IDeviceLinkSource() = default;
};

class CFalconConnection : public Falcon::IConnection, public IDeviceLinkSource, public CComObjectRoot
{
public:
    BEGIN_COM_MAP(CFalconConnection)
    COM_INTERFACE_ENTRY(Falcon::IConnection)
    COM_INTERFACE_ENTRY(IDeviceLinkSource)
    END_COM_MAP()
    DECLARE_NOT_AGGREGATABLE(CFalconConnection)

    void FinalRelease();

    // Falcon::IConnection
    HRESULT put_Mode(LONG nMode) override;
    HRESULT put_TargetAddress(VARIANT vAddress) override;
    HRESULT Open2(BSTR bstrInterface, VARIANT vParameter, LONG* pDeviceOpenError) override;

    // IDeviceLinkSource
    IDeviceLink* GetConnectedDevice() override;

private:
    HRESULT DoOpen2(BSTR bstrInterface, const VARIANT& vParameter, LONG* pDeviceOpenError);
    HRESULT OpenKnxd(const std::string& strUrl);

    LONG m_nMode = 0;
    std::optional<WORD> m_oTargetAddress;
    std::shared_ptr<IDeviceLink> m_pDevice;  // held while a device connection is open
};
