#pragma once
// One KNXnet/IP datagram: the 6-byte header (header length 06, protocol
// version 10, service type, total length, both big-endian) and the body the
// service type gives meaning to. Parse takes a datagram only when the header
// is exactly that and the total length is the datagram's length, so a cut or
// padded datagram never reaches a service's own reading.

#include "platform/base/WinTypes.h"

#include <cstddef>
#include <vector>

class CKnxIpFrame
{
public:
    static constexpr std::size_t kHeaderSize = 6;
    static constexpr BYTE kProtocolVersion = 0x10;

    // Service types
    static constexpr WORD kSearchRequest = 0x0201;
    static constexpr WORD kSearchResponse = 0x0202;
    static constexpr WORD kDescriptionRequest = 0x0203;
    static constexpr WORD kDescriptionResponse = 0x0204;
    static constexpr WORD kConnectRequest = 0x0205;
    static constexpr WORD kConnectResponse = 0x0206;
    static constexpr WORD kConnectionStateRequest = 0x0207;
    static constexpr WORD kConnectionStateResponse = 0x0208;
    static constexpr WORD kDisconnectRequest = 0x0209;
    static constexpr WORD kDisconnectResponse = 0x020A;
    static constexpr WORD kTunnelingRequest = 0x0420;
    static constexpr WORD kTunnelingAck = 0x0421;

    // Status codes of the responses and acknowledgements
    static constexpr BYTE kNoError = 0x00;
    static constexpr BYTE kHostProtocolType = 0x01;
    static constexpr BYTE kConnectionId = 0x21;
    static constexpr BYTE kConnectionType = 0x22;
    static constexpr BYTE kConnectionOption = 0x23;
    static constexpr BYTE kNoMoreConnections = 0x24;
    static constexpr BYTE kTunnellingLayer = 0x29;

    // The connection request's CRI and the response's CRD
    static constexpr BYTE kTunnelConnection = 0x04;
    static constexpr BYTE kTunnelLinkLayer = 0x02;
    // Length, channel, sequence counter and status of tunnelling frames
    static constexpr std::size_t kConnectionHeaderSize = 4;

    CKnxIpFrame() = default;
    CKnxIpFrame(WORD nServiceType, std::vector<BYTE> arrBody)
        : m_nServiceType(nServiceType), m_arrBody(std::move(arrBody))
    {
    }

    // False, and the frame unchanged, for anything but a well-formed datagram.
    static bool Parse(const BYTE* pData, std::size_t nLength, CKnxIpFrame& oFrame);
    // Header and body; empty when the body does not fit a datagram.
    std::vector<BYTE> Encode() const;

    WORD m_nServiceType = 0;
    std::vector<BYTE> m_arrBody;
};
