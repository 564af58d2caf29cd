#include "platform/bus/FalconPropertyAccess.h"

#include "platform/bus/FalconStandIn.h"
#include "platform/bus/FalconValues.h"

HRESULT CFalconPropertyAccess::putref_Connection(Falcon::IConnection* pConnection)
{
    return BindConnection(pConnection, "PropertyAccess.putref_Connection");
}

HRESULT CFalconPropertyAccess::Read(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex,
                                   BYTE nCount, VARIANT* pvData)
{
    HRESULT hr = pvData ? S_OK : E_POINTER;
    if (SUCCEEDED(hr)) {
        VariantClear(pvData);
        if (IDeviceLink* pDevice = ConnectedDevice(hr)) {
            std::vector<BYTE> arrData;
            hr = platform::FalconResultOf(
                pDevice->ReadProperty(nObjectIndex, nPropertyId, nTypeCode, nStartIndex, nCount, arrData));
            if (SUCCEEDED(hr))
                hr = platform::MakeFalconReply(arrData, pvData);
        }
    }
    CFalconStandIn::Record("PropertyAccess.Read", pvData ? pvData->vt : VARTYPE{VT_EMPTY}, hr);
    return hr;
}

HRESULT CFalconPropertyAccess::Write(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex,
                                    BYTE nCount, VARIANT vData, WORD nFlag)
{
    std::vector<BYTE> arrData;
    HRESULT hr = platform::FalconValueBytes(vData, arrData);
    if (SUCCEEDED(hr)) {
        if (IDeviceLink* pDevice = ConnectedDevice(hr))
            hr = platform::FalconResultOf(pDevice->WriteProperty(nObjectIndex, nPropertyId, nTypeCode, nStartIndex,
                                                                 nCount, arrData.data(), arrData.size(), nFlag));
    }
    CFalconStandIn::Record("PropertyAccess.Write", vData.vt, hr);
    return hr;
}
