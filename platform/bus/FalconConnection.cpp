#include "platform/bus/FalconConnection.h"

#include "platform/bus/FalconStandIn.h"
#include "platform/bus/FalconValues.h"
#include "platform/bus/KnxdLink.h"
#include "platform/bus/SimulatedBus.h"

void CFalconConnection::FinalRelease()
{
    if (m_pDevice && m_pDevice->IsConnected())
        m_pDevice->Disconnect();
    m_pDevice.reset();
}

HRESULT CFalconConnection::put_Mode(LONG nMode)
{
    HRESULT hr = CFalconStandIn::GetCallFailure(EFalconCall::SetMode);
    if (SUCCEEDED(hr)) {
        if (m_pDevice)
            hr = E_UNEXPECTED;  // not while open
        else if (nMode != Falcon::kModeDeviceConnection && nMode != Falcon::kModeInterfaceCheck)
            hr = E_INVALIDARG;
        else
            m_nMode = nMode;
    }
    CFalconStandIn::Record("Connection.put_Mode", VT_I4, hr);
    return hr;
}

HRESULT CFalconConnection::put_TargetAddress(VARIANT vAddress)
{
    HRESULT hr = CFalconStandIn::GetCallFailure(EFalconCall::SetTargetAddress);
    if (SUCCEEDED(hr) && m_pDevice)
        hr = E_UNEXPECTED;
    if (SUCCEEDED(hr)) {
        VARIANT vLong;
        VariantInit(&vLong);
        hr = VariantChangeType(&vLong, &vAddress, 0, VT_I4);
        if (SUCCEEDED(hr)) {
            if (vLong.lVal < 0 || vLong.lVal > 0xFFFF)
                hr = E_INVALIDARG;
            else
                m_oTargetAddress = static_cast<WORD>(vLong.lVal);
        }
        VariantClear(&vLong);
    }
    CFalconStandIn::Record("Connection.put_TargetAddress", vAddress.vt, hr);
    return hr;
}

HRESULT CFalconConnection::Open2(BSTR bstrInterface, VARIANT vParameter, LONG* pDeviceOpenError)
{
    HRESULT hr = DoOpen2(bstrInterface, vParameter, pDeviceOpenError);
    CFalconStandIn::Record("Connection.Open2", vParameter.vt, hr);
    return hr;
}

HRESULT CFalconConnection::DoOpen2(BSTR bstrInterface, const VARIANT& vParameter, LONG* pDeviceOpenError)
{
    if (!pDeviceOpenError)
        return E_POINTER;
    *pDeviceOpenError = 0;
    if (HRESULT hr = CFalconStandIn::GetCallFailure(EFalconCall::Open); FAILED(hr))
        return hr;
    if (m_pDevice || m_nMode == 0)
        return E_UNEXPECTED;
    if (m_nMode == Falcon::kModeDeviceConnection && !m_oTargetAddress)
        return E_UNEXPECTED;

    // The interface: a braced class id other than the null one.
    std::optional<GUID> oInterface = platform::ParseGuid(platform::BstrToUtf8(bstrInterface));
    if (!oInterface || platform::IsNullGuid(*oInterface))
        return E_INVALIDARG;

    std::string strParameter;
    if (vParameter.vt == VT_BSTR)
        strParameter = platform::BstrToUtf8(vParameter.bstrVal);
    else if (vParameter.vt != VT_EMPTY && vParameter.vt != VT_NULL)
        return DISP_E_TYPEMISMATCH;

    if (*oInterface == Falcon::kKnxdInterface)
        return OpenKnxd(strParameter);

    EDeviceResult eResult = EDeviceResult::Ok;
    std::shared_ptr<CSimulatedDevice> pDevice = CSimulatedBus::AttachDevice(strParameter, eResult);
    if (!pDevice)
        return platform::FalconResultOf(eResult);

    LONG nOpenError = 0;
    if (m_nMode == Falcon::kModeInterfaceCheck)
        eResult = pDevice->TestInterface(nOpenError);
    else
        eResult = pDevice->Connect(*m_oTargetAddress, nOpenError);
    // An extended error still opens the interface; the caller decides.
    *pDeviceOpenError = nOpenError;
    if (eResult == EDeviceResult::DeviceOpenError)
        return S_OK;
    if (eResult != EDeviceResult::Ok)
        return platform::FalconResultOf(eResult);
    if (m_nMode == Falcon::kModeDeviceConnection)
        m_pDevice = std::move(pDevice);
    return S_OK;
}

HRESULT CFalconConnection::OpenKnxd(const std::string& strUrl)
{
    if (m_nMode == Falcon::kModeInterfaceCheck)
        return platform::FalconResultOf(CKnxdLink::TestServer(strUrl));
    auto pLink = std::make_shared<CKnxdLink>();
    if (EDeviceResult eResult = pLink->Connect(strUrl, *m_oTargetAddress); eResult != EDeviceResult::Ok)
        return platform::FalconResultOf(eResult);
    m_pDevice = std::move(pLink);
    return S_OK;
}

IDeviceLink* CFalconConnection::GetConnectedDevice()
{
    return m_pDevice && m_pDevice->IsConnected() ? m_pDevice.get() : nullptr;
}
