#pragma once
// A KNXnet/IP host address (the 8-byte HPAI): protocol, IPv4 address and
// port, the address and port in network order on the wire. 0.0.0.0:0 asks
// the receiver to answer where the datagram came from, as a client behind
// address translation does.

#include "platform/base/WinTypes.h"

#include <cstddef>
#include <string>
#include <vector>

class CKnxIpEndpoint
{
public:
    static constexpr std::size_t kSize = 8;
    static constexpr BYTE kUdp = 0x01;
    static constexpr BYTE kTcp = 0x02;

    CKnxIpEndpoint() = default;
    CKnxIpEndpoint(DWORD nAddress, WORD nPort, BYTE nProtocol = kUdp)
        : m_nProtocol(nProtocol), m_nAddress(nAddress), m_nPort(nPort)
    {
    }

    // Reads an HPAI at the front of the bytes; false when fewer than 8 bytes
    // are there or its length byte is not 8.
    static bool Parse(const BYTE* pData, std::size_t nLength, CKnxIpEndpoint& oEndpoint);
    void AppendTo(std::vector<BYTE>& arrBytes) const;

    bool IsRouteBack() const { return m_nAddress == 0 && m_nPort == 0; }
    // "a.b.c.d:port", for messages.
    std::string ToString() const;

    bool operator==(const CKnxIpEndpoint&) const = default;

    BYTE m_nProtocol = kUdp;
    DWORD m_nAddress = 0;  // host order, 0x7F000001 is 127.0.0.1
    WORD m_nPort = 0;
};
