#pragma once
// What the stand-in's three access objects share: the binding to a
// connection of the stand-in and the way from it to the connected device.

#include "platform/bus/FalconConnection.h"
#include "platform/com/ComPtr.h"

class CFalconAccessBase
{
protected:
    // Binds to the connection (null unbinds); E_NOINTERFACE for a connection
    // that is not the stand-in's. Recorded under the caller's name.
    HRESULT BindConnection(Falcon::IConnection* pConnection, const char* pszCall);
    // The connected device, or null with E_FALCON_NOT_CONNECTED in hr.
    IDeviceLink* ConnectedDevice(HRESULT& hr);

private:
    CComPtr<IDeviceLinkSource> m_pConnection;
};
