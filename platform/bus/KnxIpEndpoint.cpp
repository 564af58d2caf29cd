#include "platform/bus/KnxIpEndpoint.h"

bool CKnxIpEndpoint::Parse(const BYTE* pData, std::size_t nLength, CKnxIpEndpoint& oEndpoint)
{
    if (!pData || nLength < kSize || pData[0] != kSize)
        return false;
    oEndpoint.m_nProtocol = pData[1];
    oEndpoint.m_nAddress = static_cast<DWORD>(pData[2]) << 24 | static_cast<DWORD>(pData[3]) << 16 |
                           static_cast<DWORD>(pData[4]) << 8 | pData[5];
    oEndpoint.m_nPort = static_cast<WORD>(pData[6] << 8 | pData[7]);
    return true;
}

void CKnxIpEndpoint::AppendTo(std::vector<BYTE>& arrBytes) const
{
    arrBytes.insert(arrBytes.end(), {static_cast<BYTE>(kSize), m_nProtocol, static_cast<BYTE>(m_nAddress >> 24),
                                     static_cast<BYTE>(m_nAddress >> 16), static_cast<BYTE>(m_nAddress >> 8),
                                     static_cast<BYTE>(m_nAddress), HIBYTE(m_nPort), LOBYTE(m_nPort)});
}

std::string CKnxIpEndpoint::ToString() const
{
    return std::to_string(m_nAddress >> 24) + "." + std::to_string((m_nAddress >> 16) & 0xFF) + "." +
           std::to_string((m_nAddress >> 8) & 0xFF) + "." + std::to_string(m_nAddress & 0xFF) + ":" +
           std::to_string(m_nPort);
}
