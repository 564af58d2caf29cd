#pragma once
// What the memory and the user-memory access objects share: reading and
// writing one memory region of the connected device, each call recorded
// under the object's name. The derived class names the region and gives
// the COM map of its interface.

#include "platform/bus/FalconAccessBase.h"
#include "platform/bus/FalconStandIn.h"
#include "platform/bus/FalconValues.h"

#include <string>
#include <vector>

template <class TInterface>
class CFalconMemoryRegionAccess : public TInterface, public CComObjectRoot, private CFalconAccessBase
{
public:
    using ReadRegion = EDeviceResult (IDeviceLink::*)(DWORD nAddress, std::size_t nLength,
                                                      std::vector<BYTE>& arrData);
    using WriteRegion = EDeviceResult (IDeviceLink::*)(DWORD nAddress, const BYTE* pData, std::size_t nLength,
                                                       WORD nFlag);

    HRESULT putref_Connection(Falcon::IConnection* pConnection) override
    {
        return BindConnection(pConnection, m_strBindCall.c_str());
    }

    HRESULT Read(WORD nLength, DWORD nAddress, VARIANT* pvData) override
    {
        HRESULT hr = pvData ? S_OK : E_POINTER;
        if (SUCCEEDED(hr)) {
            VariantClear(pvData);
            if (IDeviceLink* pDevice = ConnectedDevice(hr)) {
                std::vector<BYTE> arrData;
                hr = platform::FalconResultOf((pDevice->*m_pfnRead)(nAddress, nLength, arrData));
                if (SUCCEEDED(hr))
                    hr = platform::MakeFalconReply(arrData, pvData);
            }
        }
        CFalconStandIn::Record(m_strReadCall.c_str(), pvData ? pvData->vt : VARTYPE{VT_EMPTY}, hr);
        return hr;
    }

    HRESULT Write(DWORD nAddress, VARIANT vData, WORD nFlag) override
    {
        std::vector<BYTE> arrData;
        HRESULT hr = platform::FalconValueBytes(vData, arrData);
        if (SUCCEEDED(hr)) {
            if (IDeviceLink* pDevice = ConnectedDevice(hr))
                hr = platform::FalconResultOf((pDevice->*m_pfnWrite)(nAddress, arrData.data(), arrData.size(), nFlag));
        }
        CFalconStandIn::Record(m_strWriteCall.c_str(), vData.vt, hr);
        return hr;
    }

protected:
    // pszName prefixes the recorded calls ("<name>.Read").
    CFalconMemoryRegionAccess(const char* pszName, ReadRegion pfnRead, WriteRegion pfnWrite)
        : m_strBindCall(std::string(pszName) + ".putref_Connection"),
          m_strReadCall(std::string(pszName) + ".Read"),
          m_strWriteCall(std::string(pszName) + ".Write"),
          m_pfnRead(pfnRead),
          m_pfnWrite(pfnWrite)
    {
    }

private:
    const std::string m_strBindCall;
    const std::string m_strReadCall;
    const std::string m_strWriteCall;
    const ReadRegion m_pfnRead;
    const WriteRegion m_pfnWrite;
};
