#include "platform/bus/KnxIpFrame.h"

#include <limits>

bool CKnxIpFrame::Parse(const BYTE* pData, std::size_t nLength, CKnxIpFrame& oFrame)
{
    if (!pData || nLength < kHeaderSize || pData[0] != kHeaderSize || pData[1] != kProtocolVersion)
        return false;
    const std::size_t nTotal = static_cast<std::size_t>(pData[4] << 8 | pData[5]);
    if (nTotal != nLength)
        return false;
    oFrame.m_nServiceType = static_cast<WORD>(pData[2] << 8 | pData[3]);
    oFrame.m_arrBody.assign(pData + kHeaderSize, pData + nLength);
    return true;
}

std::vector<BYTE> CKnxIpFrame::Encode() const
{
    const std::size_t nTotal = kHeaderSize + m_arrBody.size();
    if (nTotal > std::numeric_limits<WORD>::max())
        return {};
    std::vector<BYTE> arrBytes = {static_cast<BYTE>(kHeaderSize), kProtocolVersion, HIBYTE(m_nServiceType),
                                  LOBYTE(m_nServiceType), HIBYTE(static_cast<WORD>(nTotal)),
                                  LOBYTE(static_cast<WORD>(nTotal))};
    arrBytes.insert(arrBytes.end(), m_arrBody.begin(), m_arrBody.end());
    return arrBytes;
}
