#include "platform/bus/ApplicationPdu.h"

namespace {

constexpr WORD kCodeMask = 0x3FF;
constexpr WORD kFourBitMask = 0x3C0;

// The octets after the fields of a layout, or false when they are too few.
bool SplitAfter(const std::vector<BYTE>& arrAll, std::size_t nFields, std::vector<BYTE>& arrRest)
{
    if (arrAll.size() < nFields)
        return false;
    arrRest.assign(arrAll.begin() + static_cast<std::ptrdiff_t>(nFields), arrAll.end());
    return true;
}

}  // namespace

bool CApplicationPdu::HasShortData(WORD nService)
{
    // The codes 1011 and 1111 open the 10-bit services.
    const WORD nHigh = nService & kFourBitMask;
    return nHigh != 0x2C0 && nHigh != 0x3C0;
}

bool CApplicationPdu::Parse(const std::vector<BYTE>& arrApdu, CApplicationPdu& oPdu)
{
    if (arrApdu.size() < 2)
        return false;
    const WORD nCode = static_cast<WORD>(((arrApdu[0] & 0x03) << 8 | arrApdu[1]) & kCodeMask);
    if (HasShortData(nCode)) {
        oPdu.m_nService = nCode & kFourBitMask;
        oPdu.m_nShortData = static_cast<BYTE>(nCode & kShortDataMask);
    } else {
        oPdu.m_nService = nCode;
        oPdu.m_nShortData = 0;
    }
    oPdu.m_arrData.assign(arrApdu.begin() + 2, arrApdu.end());
    return true;
}

std::vector<BYTE> CApplicationPdu::Encode() const
{
    WORD nCode = m_nService & kCodeMask;
    if (HasShortData(nCode))
        nCode = static_cast<WORD>((nCode & kFourBitMask) | (m_nShortData & kShortDataMask));
    std::vector<BYTE> arrApdu = {static_cast<BYTE>(nCode >> 8), LOBYTE(nCode)};
    arrApdu.insert(arrApdu.end(), m_arrData.begin(), m_arrData.end());
    return arrApdu;
}

CApplicationPdu CApplicationPdu::Memory(WORD nService, BYTE nCount, WORD nAddress, const std::vector<BYTE>& arrData)
{
    CApplicationPdu oPdu(nService, nCount, {HIBYTE(nAddress), LOBYTE(nAddress)});
    oPdu.m_arrData.insert(oPdu.m_arrData.end(), arrData.begin(), arrData.end());
    return oPdu;
}

CApplicationPdu CApplicationPdu::UserMemory(WORD nService, BYTE nCount, DWORD nAddress,
                                            const std::vector<BYTE>& arrData)
{
    const BYTE nFirst = static_cast<BYTE>(((nAddress >> 16) & 0x0F) << 4 | (nCount & 0x0F));
    CApplicationPdu oPdu(nService, 0, {nFirst, static_cast<BYTE>(nAddress >> 8), static_cast<BYTE>(nAddress)});
    oPdu.m_arrData.insert(oPdu.m_arrData.end(), arrData.begin(), arrData.end());
    return oPdu;
}

CApplicationPdu CApplicationPdu::Property(WORD nService, BYTE nObjectIndex, BYTE nPropertyId, BYTE nCount,
                                          WORD nStartIndex, const std::vector<BYTE>& arrData)
{
    CApplicationPdu oPdu(nService, 0,
                         {nObjectIndex, nPropertyId,
                          static_cast<BYTE>((nCount & 0x0F) << 4 | ((nStartIndex >> 8) & 0x0F)),
                          LOBYTE(nStartIndex)});
    oPdu.m_arrData.insert(oPdu.m_arrData.end(), arrData.begin(), arrData.end());
    return oPdu;
}

bool CApplicationPdu::GetMemory(BYTE& nCount, WORD& nAddress, std::vector<BYTE>& arrData) const
{
    if (!SplitAfter(m_arrData, 2, arrData))
        return false;
    nCount = m_nShortData;
    nAddress = static_cast<WORD>(m_arrData[0] << 8 | m_arrData[1]);
    return true;
}

bool CApplicationPdu::GetUserMemory(BYTE& nCount, DWORD& nAddress, std::vector<BYTE>& arrData) const
{
    if (!SplitAfter(m_arrData, 3, arrData))
        return false;
    nCount = static_cast<BYTE>(m_arrData[0] & 0x0F);
    nAddress = static_cast<DWORD>(m_arrData[0] >> 4) << 16 | static_cast<DWORD>(m_arrData[1]) << 8 | m_arrData[2];
    return true;
}

bool CApplicationPdu::GetProperty(BYTE& nObjectIndex, BYTE& nPropertyId, BYTE& nCount, WORD& nStartIndex,
                                  std::vector<BYTE>& arrData) const
{
    if (!SplitAfter(m_arrData, 4, arrData))
        return false;
    nObjectIndex = m_arrData[0];
    nPropertyId = m_arrData[1];
    nCount = static_cast<BYTE>(m_arrData[2] >> 4);
    nStartIndex = static_cast<WORD>((m_arrData[2] & 0x0F) << 8 | m_arrData[3]);
    return true;
}
