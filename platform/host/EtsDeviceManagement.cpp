#include "platform/host/EtsDeviceManagement.h"

#include "platform/com/ComPtr.h"
#include "platform/host/EtsObjectModel.h"
#include "platform/host/LiveDeviceConnection.h"

#include <utility>

namespace platform::host {

namespace {

DeviceManagementFactory& Factory()
{
    static DeviceManagementFactory factory;
    return factory;
}

}  // namespace

DeviceManagementFactory SetDeviceManagementFactory(DeviceManagementFactory factory)
{
    return std::exchange(Factory(), std::move(factory));
}

HRESULT CreateDeviceManagement(IEtsDevice* pDevice, LONG nArg1, LONG nArg2, LONG nArg3, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    const DeviceManagementFactory& factory = Factory();
    if (!factory)
        return E_NOTIMPL;
    return factory(pDevice, nArg1, nArg2, nArg3, riid, ppv);
}

HRESULT GetLifeDeviceConnection(IUnknown* pDevice, LONG nArg1, LONG nArg2, LONG nArg3, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    CComPtr<IEtsDevice> pEtsDevice;
    if (!pDevice || FAILED(pDevice->QueryInterface(&pEtsDevice.p)) || !pEtsDevice)
        return E_INVALIDARG;
    return CreateDeviceManagement(pEtsDevice, nArg1, nArg2, nArg3, riid, ppv);
}

}  // namespace platform::host
