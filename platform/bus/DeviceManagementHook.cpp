#include "platform/bus/DeviceManagementHook.h"

#include "platform/bus/SimulatedDeviceManagement.h"
#include "platform/com/ComPtr.h"
#include "platform/host/EtsObjectModel.h"

namespace {

// A number from an address VARIANT within 0..nMax; false for VT_NULL.
bool AddressNumber(const VARIANT& vAddress, LONG nMax, LONG& nNumber)
{
    VARIANT vLong;
    VariantInit(&vLong);
    bool bOk = SUCCEEDED(VariantChangeType(&vLong, &vAddress, 0, VT_I4)) && vLong.lVal >= 0 && vLong.lVal <= nMax;
    nNumber = bOk ? vLong.lVal : 0;
    VariantClear(&vLong);
    return bOk;
}

template <class T>
bool AddressOf(T* pObject, LONG nMax, LONG& nNumber)
{
    VARIANT vAddress;
    VariantInit(&vAddress);
    bool bOk = pObject && SUCCEEDED(pObject->get_Address(&vAddress)) && AddressNumber(vAddress, nMax, nNumber);
    VariantClear(&vAddress);
    return bOk;
}

}  // namespace

HRESULT GetEtsDeviceAddress(IEtsDevice* pDevice, WORD& nAddress)
{
    nAddress = 0;
    if (!pDevice)
        return E_POINTER;
    CComPtr<IEtsLine> pLine;
    CComPtr<IEtsArea> pArea;
    LONG nDevice = 0, nLine = 0, nArea = 0;
    if (!AddressOf(pDevice, 255, nDevice) || FAILED(pDevice->get_Line(&pLine)) || !AddressOf(pLine.p, 15, nLine) ||
        FAILED(pLine->get_Area(&pArea)) || !AddressOf(pArea.p, 15, nArea))
        return E_FAIL;
    nAddress = static_cast<WORD>(nArea << 12 | nLine << 8 | nDevice);
    return S_OK;
}

platform::host::DeviceManagementFactory InstallSimulatedDeviceManagement(const std::string& strConnectionParam)
{
    return platform::host::SetDeviceManagementFactory(
        [strConnectionParam](IEtsDevice* pDevice, LONG, LONG, LONG, REFIID riid, void** ppv) -> HRESULT {
            if (!ppv)
                return E_POINTER;
            *ppv = nullptr;
            WORD nAddress = 0;
            if (HRESULT hr = GetEtsDeviceAddress(pDevice, nAddress); FAILED(hr))
                return hr;
            return CSimulatedDeviceManagement::Create(strConnectionParam, nAddress, riid, ppv);
        });
}
