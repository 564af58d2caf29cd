#include "platform/bus/DeviceApplicationLayer.h"

#include "platform/bus/SimulatedDevice.h"

#include <algorithm>

CDeviceApplicationLayer::EEffect CDeviceApplicationLayer::Serve(const std::vector<BYTE>& arrApdu,
                                                                std::vector<BYTE>& arrAnswer)
{
    arrAnswer.clear();
    CApplicationPdu oRequest;
    if (!CApplicationPdu::Parse(arrApdu, oRequest))
        return EEffect::None;
    if (IsDeviceControl(oRequest)) {
        arrAnswer = ServeDeviceControl(oRequest);
        return EEffect::None;
    }
    switch (oRequest.m_nService) {
    case CApplicationPdu::kMemoryRead:
        arrAnswer = ReadMemory(oRequest);
        break;
    case CApplicationPdu::kMemoryWrite:
        arrAnswer = WriteMemory(oRequest);
        if (!IsVerifying())
            arrAnswer.clear();
        break;
    case CApplicationPdu::kUserMemoryRead:
        arrAnswer = ReadUserMemory(oRequest);
        break;
    case CApplicationPdu::kUserMemoryWrite:
        arrAnswer = WriteUserMemory(oRequest);
        if (!IsVerifying())
            arrAnswer.clear();
        break;
    case CApplicationPdu::kPropertyValueRead:
        arrAnswer = ReadProperty(oRequest);
        break;
    case CApplicationPdu::kPropertyValueWrite:
        arrAnswer = WriteProperty(oRequest);
        break;
    case CApplicationPdu::kDeviceDescriptorRead:
        if (oRequest.m_nShortData == 0)
            arrAnswer = CApplicationPdu(CApplicationPdu::kDeviceDescriptorResponse, 0,
                                        {HIBYTE(kMaskVersion), LOBYTE(kMaskVersion)})
                            .Encode();
        else
            arrAnswer = CApplicationPdu(CApplicationPdu::kDeviceDescriptorResponse, kUnknownDescriptor).Encode();
        break;
    case CApplicationPdu::kAuthorizeRequest:
        if (oRequest.m_arrData.size() == 5)
            arrAnswer = CApplicationPdu(CApplicationPdu::kAuthorizeResponse, 0, {kAccessLevel}).Encode();
        break;
    case CApplicationPdu::kRestart:
        m_nDeviceControl = 0;
        return EEffect::Restart;
    default:
        // Services the device does not have go unanswered, as on a real line.
        break;
    }
    return EEffect::None;
}

std::vector<BYTE> CDeviceApplicationLayer::ReadMemory(const CApplicationPdu& oRequest)
{
    BYTE nCount = 0;
    WORD nAddress = 0;
    std::vector<BYTE> arrExtra, arrData;
    if (!oRequest.GetMemory(nCount, nAddress, arrExtra))
        return {};
    if (arrExtra.empty() && m_device.ReadMemoryFrame(nAddress, nCount, arrData) == EDeviceResult::Ok)
        return CApplicationPdu::Memory(CApplicationPdu::kMemoryResponse, nCount, nAddress, arrData).Encode();
    return CApplicationPdu::Memory(CApplicationPdu::kMemoryResponse, 0, nAddress).Encode();
}

std::vector<BYTE> CDeviceApplicationLayer::WriteMemory(const CApplicationPdu& oRequest)
{
    BYTE nCount = 0;
    WORD nAddress = 0;
    std::vector<BYTE> arrData;
    if (!oRequest.GetMemory(nCount, nAddress, arrData))
        return {};
    const bool bStored = nCount > 0 && arrData.size() == nCount &&
                         m_device.WriteMemoryFrame(nAddress, arrData.data(), arrData.size()) == EDeviceResult::Ok;
    if (!bStored)
        return CApplicationPdu::Memory(CApplicationPdu::kMemoryResponse, 0, nAddress).Encode();
    return CApplicationPdu::Memory(CApplicationPdu::kMemoryResponse, nCount, nAddress,
                                   m_device.PeekMemory(nAddress, nCount))
        .Encode();
}

std::vector<BYTE> CDeviceApplicationLayer::ReadUserMemory(const CApplicationPdu& oRequest)
{
    BYTE nCount = 0;
    DWORD nAddress = 0;
    std::vector<BYTE> arrExtra, arrData;
    if (!oRequest.GetUserMemory(nCount, nAddress, arrExtra))
        return {};
    if (arrExtra.empty() && m_device.ReadUserMemoryFrame(nAddress, nCount, arrData) == EDeviceResult::Ok)
        return CApplicationPdu::UserMemory(CApplicationPdu::kUserMemoryResponse, nCount, nAddress, arrData)
            .Encode();
    return CApplicationPdu::UserMemory(CApplicationPdu::kUserMemoryResponse, 0, nAddress).Encode();
}

std::vector<BYTE> CDeviceApplicationLayer::WriteUserMemory(const CApplicationPdu& oRequest)
{
    BYTE nCount = 0;
    DWORD nAddress = 0;
    std::vector<BYTE> arrData;
    if (!oRequest.GetUserMemory(nCount, nAddress, arrData))
        return {};
    const bool bStored =
        nCount > 0 && arrData.size() == nCount &&
        m_device.WriteUserMemoryFrame(nAddress, arrData.data(), arrData.size()) == EDeviceResult::Ok;
    if (!bStored)
        return CApplicationPdu::UserMemory(CApplicationPdu::kUserMemoryResponse, 0, nAddress).Encode();
    return CApplicationPdu::UserMemory(CApplicationPdu::kUserMemoryResponse, nCount, nAddress,
                                       StatusBlockBytes(nAddress, nCount))
        .Encode();
}

std::vector<BYTE> CDeviceApplicationLayer::ReadProperty(const CApplicationPdu& oRequest)
{
    BYTE nObject = 0, nProperty = 0, nCount = 0;
    WORD nStart = 0;
    std::vector<BYTE> arrExtra, arrData;
    if (!oRequest.GetProperty(nObject, nProperty, nCount, nStart, arrExtra))
        return {};
    if (arrExtra.empty() &&
        m_device.ReadProperty(nObject, nProperty, 0, nStart, nCount, arrData) == EDeviceResult::Ok)
        return CApplicationPdu::Property(CApplicationPdu::kPropertyValueResponse, nObject, nProperty, nCount, nStart,
                                         arrData)
            .Encode();
    return CApplicationPdu::Property(CApplicationPdu::kPropertyValueResponse, nObject, nProperty, 0, nStart).Encode();
}

std::vector<BYTE> CDeviceApplicationLayer::WriteProperty(const CApplicationPdu& oRequest)
{
    BYTE nObject = 0, nProperty = 0, nCount = 0;
    WORD nStart = 0;
    std::vector<BYTE> arrData;
    if (!oRequest.GetProperty(nObject, nProperty, nCount, nStart, arrData))
        return {};
    const CApplicationPdu oRefused(
        CApplicationPdu::Property(CApplicationPdu::kPropertyValueResponse, nObject, nProperty, 0, nStart));
    if (nCount == 0 ||
        m_device.WriteProperty(nObject, nProperty, 0, nStart, nCount, arrData.data(), arrData.size()) !=
            EDeviceResult::Ok)
        return oRefused.Encode();
    std::vector<BYTE> arrStored = StoredPropertyBytes(nObject, nProperty, nStart, arrData.size(), nCount);
    if (arrStored.empty())
        return oRefused.Encode();
    return CApplicationPdu::Property(CApplicationPdu::kPropertyValueResponse, nObject, nProperty, nCount, nStart,
                                     arrStored)
        .Encode();
}

std::vector<BYTE> CDeviceApplicationLayer::StoredPropertyBytes(BYTE nObjectIndex, BYTE nPropertyId, WORD nStartIndex,
                                                               std::size_t nLength, BYTE& nCount) const
{
    if (nPropertyId == CSimulatedDevice::kLoadStateProperty && nObjectIndex >= 1 && nObjectIndex <= 3) {
        // A load event answers with the state it led to.
        nCount = 1;
        return {m_device.GetLoadState(nObjectIndex)};
    }
    if (nObjectIndex != CSimulatedDevice::kStampObject || nStartIndex == 0)
        return {};
    const std::vector<BYTE>* pValue = nullptr;
    std::size_t nElementSize = 1;
    if (nPropertyId == CSimulatedDevice::kDownloadTimeProperty) {
        pValue = &m_device.GetDownloadTime();
        nElementSize = pValue->size();
    } else if (nPropertyId == CSimulatedDevice::kDownloadStampProperty) {
        pValue = &m_device.GetDownloadStamp();
    }
    const std::size_t nOffset = (nStartIndex - 1u) * nElementSize;
    if (!pValue || nOffset + nLength > pValue->size())
        return {};
    auto first = pValue->begin() + static_cast<std::ptrdiff_t>(nOffset);
    return std::vector<BYTE>(first, first + static_cast<std::ptrdiff_t>(nLength));
}

std::vector<BYTE> CDeviceApplicationLayer::StatusBlockBytes(DWORD nAddress, std::size_t nLength) const
{
    const auto arrBlock = m_device.GetStatusBlock();
    const DWORD nOffset = nAddress - CSimulatedDevice::kStatusBlock;
    if (nAddress < CSimulatedDevice::kStatusBlock || nOffset + nLength > arrBlock.size())
        return {};
    auto first = arrBlock.begin() + nOffset;
    return std::vector<BYTE>(first, first + static_cast<std::ptrdiff_t>(nLength));
}

bool CDeviceApplicationLayer::IsDeviceControl(const CApplicationPdu& oRequest) const
{
    BYTE nObject = 0, nProperty = 0, nCount = 0;
    WORD nStart = 0;
    std::vector<BYTE> arrData;
    return m_bVerifyModeOffered &&
           (oRequest.m_nService == CApplicationPdu::kPropertyValueRead ||
            oRequest.m_nService == CApplicationPdu::kPropertyValueWrite) &&
           oRequest.GetProperty(nObject, nProperty, nCount, nStart, arrData) && nObject == kDeviceObject &&
           nProperty == kDeviceControlProperty;
}

std::vector<BYTE> CDeviceApplicationLayer::ServeDeviceControl(const CApplicationPdu& oRequest)
{
    BYTE nObject = 0, nProperty = 0, nCount = 0;
    WORD nStart = 0;
    std::vector<BYTE> arrData;
    oRequest.GetProperty(nObject, nProperty, nCount, nStart, arrData);
    // One element of one byte.
    const bool bWrite = oRequest.m_nService == CApplicationPdu::kPropertyValueWrite;
    if (nCount != 1 || nStart != 1 || arrData.size() != (bWrite ? 1u : 0u))
        return CApplicationPdu::Property(CApplicationPdu::kPropertyValueResponse, nObject, nProperty, 0, nStart)
            .Encode();
    if (bWrite)
        m_nDeviceControl = arrData[0];
    return CApplicationPdu::Property(CApplicationPdu::kPropertyValueResponse, nObject, nProperty, 1, nStart,
                                     {m_nDeviceControl})
        .Encode();
}
