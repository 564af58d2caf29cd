#pragma once
// The KNXnet/IP tunnelling server in front of the simulated device, as an
// IP interface on the device's line offers it; sockets stay outside (see
// CKnxIpUdpServer), so datagrams come in and go out as bytes.
//
// - CONNECT_REQUEST for a link-layer tunnel opens one of eight channels;
//   the response's CRD gives the client its individual address on the line
//   (1.1.240 and on; the interface itself is 1.1.254). Other connection
//   types and layers, and a ninth tunnel, get their error status.
// - CONNECTIONSTATE_REQUEST keeps a channel alive; 120 s without one end it.
//   (A client that goes without DISCONNECT_REQUEST, as knxd 0.14 does when it
//   stops, holds its channel until then or until a frame to it goes unacked.)
// - DISCONNECT_REQUEST is answered and ends the channel; the server sends
//   one itself when it drops a channel.
// - TUNNELING_REQUEST with the expected sequence counter is acked and its
//   cEMI served; the previous counter again is acked again and not served;
//   anything else is dropped. The server's own requests go out one at a time
//   per channel, wait 1 s for their TUNNELING_ACK, go out once more, and
//   then the channel is dropped.
// - DESCRIPTION_REQUEST is answered with the device information and the
//   service families (core and tunnelling).
//
// An L_Data.req is confirmed to its tunnel (source 0.0.0 becomes the
// tunnel's address), and one addressed to the device goes to its transport
// layer; the device's frames go to every tunnel as L_Data.ind. A datagram
// that is not well formed (header, lengths, HPAIs, cEMI) is ignored.
//
// Time comes in as milliseconds of a steady clock; nothing here waits.

#include "platform/base/WinTypes.h"
#include "platform/bus/CemiFrame.h"
#include "platform/bus/DeviceTransportLayer.h"
#include "platform/bus/KnxIpDatagram.h"
#include "platform/bus/KnxIpEndpoint.h"
#include "platform/bus/KnxIpFrame.h"
#include "platform/bus/TunnellingEvent.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

class CSimulatedDevice;

class CTunnellingServer
{
public:
    static constexpr std::size_t kMaxTunnels = 8;
    static constexpr WORD kInterfaceAddress = 0x11FE;    // 1.1.254
    static constexpr WORD kFirstTunnelAddress = 0x11F0;  // 1.1.240
    static constexpr LONGLONG kTunnelAckTimeoutMs = 1000;
    static constexpr LONGLONG kHeartbeatTimeoutMs = 120000;
    static constexpr const char* kFriendlyName = "Chronosets2 simulated device";

    explicit CTunnellingServer(CSimulatedDevice& device);

    // Where the server's datagrams come from; the responses name it.
    void SetLocalEndpoint(const CKnxIpEndpoint& oLocal) { m_oLocal = oLocal; }
    // Application frames from the Nth on go unanswered; 0 answers all.
    void SetSilentFrom(DWORD nFrame) { m_oTransport.SetSilentFrom(nFrame); }
    // Whether the device has verify mode; it has unless told.
    void SetVerifyModeOffered(bool bOffered) { m_oTransport.SetVerifyModeOffered(bOffered); }
    void SetEventSink(TunnellingEventSink fnSink);

    void Receive(const BYTE* pData, std::size_t nLength, const CKnxIpEndpoint& oFrom, LONGLONG nNowMs,
                 std::vector<CKnxIpDatagram>& arrOut);
    void Tick(LONGLONG nNowMs, std::vector<CKnxIpDatagram>& arrOut);
    // When Tick has something to do next.
    std::optional<LONGLONG> GetDeadline() const;
    // Disconnects every tunnel and drops the device's connection.
    void Shutdown(std::vector<CKnxIpDatagram>& arrOut);

    std::size_t GetTunnelCount() const { return m_arrTunnels.size(); }
    const CDeviceTransportLayer& GetTransport() const { return m_oTransport; }

private:
    struct CTunnel
    {
        BYTE m_nChannel = 0;
        WORD m_nAddress = 0;
        CKnxIpEndpoint m_oControl;
        CKnxIpEndpoint m_oData;
        BYTE m_nReceiveSequence = 0;
        BYTE m_nSendSequence = 0;
        LONGLONG m_nHeartbeatDeadline = 0;
        // The cEMI frame sent and not yet acked (with how often it went out),
        // and those waiting behind it.
        bool m_bAwaitingAck = false;
        std::vector<BYTE> m_arrSent;
        int m_nSends = 0;
        LONGLONG m_nAckDeadline = 0;
        std::deque<std::vector<BYTE>> m_arrWaiting;
    };

    void OnConnectRequest(const std::vector<BYTE>& arrBody, const CKnxIpEndpoint& oFrom,
                          std::vector<CKnxIpDatagram>& arrOut);
    void OnConnectionStateRequest(const std::vector<BYTE>& arrBody, const CKnxIpEndpoint& oFrom,
                                  std::vector<CKnxIpDatagram>& arrOut);
    void OnDisconnectRequest(const std::vector<BYTE>& arrBody, const CKnxIpEndpoint& oFrom,
                             std::vector<CKnxIpDatagram>& arrOut);
    void OnDescriptionRequest(const std::vector<BYTE>& arrBody, const CKnxIpEndpoint& oFrom,
                              std::vector<CKnxIpDatagram>& arrOut);
    void OnTunnelingRequest(const std::vector<BYTE>& arrBody, const CKnxIpEndpoint& oFrom,
                            std::vector<CKnxIpDatagram>& arrOut);
    void OnTunnelingAck(const std::vector<BYTE>& arrBody, const CKnxIpEndpoint& oFrom);
    // Confirms the request to its tunnel and hands a frame for the device to
    // its transport layer.
    void ServeDataRequest(CTunnel& oTunnel, CCemiFrame oFrame);

    CTunnel* FindTunnel(BYTE nChannel);
    void Queue(CTunnel& oTunnel, const CCemiFrame& oFrame);
    // Sends every tunnel's next frame where none is waiting for its ack.
    void Flush(std::vector<CKnxIpDatagram>& arrOut);
    void SendTunnelingRequest(CTunnel& oTunnel, std::vector<CKnxIpDatagram>& arrOut);
    void DropTunnel(std::size_t nIndex, std::vector<CKnxIpDatagram>& arrOut);
    void DeliverDeviceFrames(std::vector<CCemiFrame>& arrFrames);
    static void Send(const CKnxIpEndpoint& oTo, WORD nServiceType, std::vector<BYTE> arrBody,
                     std::vector<CKnxIpDatagram>& arrOut);
    // The endpoint an HPAI names, or the sender's for 0.0.0.0:0.
    static CKnxIpEndpoint Resolve(const CKnxIpEndpoint& oNamed, const CKnxIpEndpoint& oFrom);
    void Report(ETunnellingEvent eEvent, DWORD nValue) const;

    CSimulatedDevice& m_device;
    CDeviceTransportLayer m_oTransport;
    CKnxIpEndpoint m_oLocal;
    TunnellingEventSink m_fnEvents;
    LONGLONG m_nNowMs = 0;
    BYTE m_nLastChannel = 0;
    std::vector<CTunnel> m_arrTunnels;
};
