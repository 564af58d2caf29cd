#include "platform/bus/FalconMemoryAccess.h"

#include "platform/bus/FalconStandIn.h"
#include "platform/bus/FalconValues.h"

HRESULT CFalconMemoryAccess::putref_Connection(Falcon::IConnection* pConnection)
{
    return BindConnection(pConnection, "MemoryAccess.putref_Connection");
}

HRESULT CFalconMemoryAccess::Read(WORD nLength, DWORD nAddress, VARIANT* pvData)
{
    HRESULT hr = pvData ? S_OK : E_POINTER;
    if (SUCCEEDED(hr)) {
        VariantClear(pvData);
        if (IDeviceLink* pDevice = ConnectedDevice(hr)) {
            std::vector<BYTE> arrData;
            hr = platform::FalconResultOf(pDevice->ReadMemory(nAddress, nLength, arrData));
            if (SUCCEEDED(hr))
                hr = platform::MakeFalconReply(arrData, pvData);
        }
    }
    CFalconStandIn::Record("MemoryAccess.Read", pvData ? pvData->vt : VARTYPE{VT_EMPTY}, hr);
    return hr;
}

HRESULT CFalconMemoryAccess::Write(DWORD nAddress, VARIANT vData, WORD nFlag)
{
    std::vector<BYTE> arrData;
    HRESULT hr = platform::FalconValueBytes(vData, arrData);
    if (SUCCEEDED(hr)) {
        if (IDeviceLink* pDevice = ConnectedDevice(hr))
            hr = platform::FalconResultOf(pDevice->WriteMemory(nAddress, arrData.data(), arrData.size(), nFlag));
    }
    CFalconStandIn::Record("MemoryAccess.Write", vData.vt, hr);
    return hr;
}
