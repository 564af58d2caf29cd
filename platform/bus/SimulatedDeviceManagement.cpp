#include "platform/bus/SimulatedDeviceManagement.h"

#include "platform/bus/FalconInterfaces.h"
#include "platform/bus/FalconValues.h"
#include "platform/bus/SimulatedBus.h"

#include <algorithm>
#include <cstring>

HRESULT CSimulatedDeviceManagement::Create(const std::string& strConnectionParam, WORD nTargetAddress, REFIID riid,
                                           void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    CComObject<CSimulatedDeviceManagement>* pObject = nullptr;
    HRESULT hr = CComObject<CSimulatedDeviceManagement>::CreateInstance(&pObject);
    if (FAILED(hr))
        return hr;
    pObject->m_strConnectionParam = strConnectionParam;
    pObject->m_nTargetAddress = nTargetAddress;
    pObject->AddRef();
    hr = pObject->QueryInterface(riid, ppv);
    pObject->Release();
    return hr;
}

void CSimulatedDeviceManagement::FinalRelease()
{
    if (m_pDevice && m_pDevice->IsConnected())
        m_pDevice->Disconnect();
    m_pDevice.reset();
}

HRESULT CSimulatedDeviceManagement::Connect()
{
    if (m_pDevice)
        return platform::FalconResultOf(EDeviceResult::AlreadyConnected);
    EDeviceResult eResult = EDeviceResult::Ok;
    std::shared_ptr<CSimulatedDevice> pDevice = CSimulatedBus::AttachDevice(m_strConnectionParam, eResult);
    if (!pDevice)
        return platform::FalconResultOf(eResult);
    LONG nOpenError = 0;
    eResult = pDevice->Connect(m_nTargetAddress, nOpenError);
    if (eResult != EDeviceResult::Ok)
        return platform::FalconResultOf(eResult);
    m_pDevice = std::move(pDevice);
    return S_OK;
}

HRESULT CSimulatedDeviceManagement::Disconnect()
{
    if (!m_pDevice)
        return S_FALSE;
    EDeviceResult eResult = m_pDevice->IsConnected() ? m_pDevice->Disconnect() : EDeviceResult::Ok;
    m_pDevice.reset();
    return platform::FalconResultOf(eResult);
}

CSimulatedDevice* CSimulatedDeviceManagement::ConnectedDevice(HRESULT& hr)
{
    CSimulatedDevice* pDevice = m_pDevice && m_pDevice->IsConnected() ? m_pDevice.get() : nullptr;
    hr = pDevice ? S_OK : Falcon::E_FALCON_NOT_CONNECTED;
    return pDevice;
}

HRESULT CSimulatedDeviceManagement::ReadProp(BYTE nObjectIndex, BYTE nPropertyId, BYTE nType, WORD nStartIndex,
                                             BYTE nCount, WORD nBufferLength, BYTE* pBuffer)
{
    if (!pBuffer && nBufferLength > 0)
        return E_POINTER;
    HRESULT hr;
    CSimulatedDevice* pDevice = ConnectedDevice(hr);
    if (!pDevice)
        return hr;
    std::vector<BYTE> arrData;
    hr = platform::FalconResultOf(
        pDevice->ReadProperty(nObjectIndex, nPropertyId, nType, nStartIndex, nCount, arrData));
    if (SUCCEEDED(hr) && !arrData.empty())
        std::memcpy(pBuffer, arrData.data(), std::min<std::size_t>(arrData.size(), nBufferLength));
    return hr;
}

HRESULT CSimulatedDeviceManagement::WriteMem(LONG nMemoryType, DWORD dwAddress, WORD nLength, const BYTE* pData,
                                             LONG /*nReserved*/, BOOL bVerify)
{
    if (nMemoryType != kUserMemory || nLength == 0)
        return E_INVALIDARG;
    if (!pData)
        return E_POINTER;
    HRESULT hr;
    CSimulatedDevice* pDevice = ConnectedDevice(hr);
    if (!pDevice)
        return hr;
    hr = platform::FalconResultOf(pDevice->WriteUserMemory(dwAddress, pData, nLength));
    if (SUCCEEDED(hr) && bVerify) {
        std::vector<BYTE> arrBack;
        hr = platform::FalconResultOf(pDevice->ReadUserMemory(dwAddress, nLength, arrBack));
        if (SUCCEEDED(hr) && (arrBack.size() != nLength || std::memcmp(arrBack.data(), pData, nLength) != 0))
            hr = E_FAIL;
    }
    return hr;
}

HRESULT CSimulatedDeviceManagement::ReadMem(LONG nMemoryType, DWORD dwAddress, WORD nLength, BYTE* pBuffer)
{
    if (nMemoryType != kUserMemory || nLength == 0)
        return E_INVALIDARG;
    if (!pBuffer)
        return E_POINTER;
    HRESULT hr;
    CSimulatedDevice* pDevice = ConnectedDevice(hr);
    if (!pDevice)
        return hr;
    std::vector<BYTE> arrData;
    hr = platform::FalconResultOf(pDevice->ReadUserMemory(dwAddress, nLength, arrData));
    if (SUCCEEDED(hr))
        std::memcpy(pBuffer, arrData.data(), std::min<std::size_t>(arrData.size(), nLength));
    return hr;
}
