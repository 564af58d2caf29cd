#include "platform/bus/FalconAccessBase.h"

#include "platform/bus/FalconStandIn.h"

HRESULT CFalconAccessBase::BindConnection(Falcon::IConnection* pConnection, const char* pszCall)
{
    HRESULT hr = CFalconStandIn::GetCallFailure(EFalconCall::BindConnection);
    if (SUCCEEDED(hr)) {
        if (!pConnection) {
            m_pConnection = nullptr;
        } else {
            CComPtr<IDeviceLinkSource> pOwn;
            hr = pConnection->QueryInterface(&pOwn.p);
            if (SUCCEEDED(hr))
                m_pConnection = pOwn;
        }
    }
    CFalconStandIn::Record(pszCall, VT_UNKNOWN, hr);
    return hr;
}

IDeviceLink* CFalconAccessBase::ConnectedDevice(HRESULT& hr)
{
    IDeviceLink* pDevice = m_pConnection ? m_pConnection->GetConnectedDevice() : nullptr;
    hr = pDevice ? S_OK : Falcon::E_FALCON_NOT_CONNECTED;
    return pDevice;
}
