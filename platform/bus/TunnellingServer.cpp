#include "platform/bus/TunnellingServer.h"

#include "platform/bus/SimulatedDevice.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kHpaiRequestBody = 2 + CKnxIpEndpoint::kSize;  // channel, reserved, HPAI
constexpr std::size_t kTunnelCri = 4;
constexpr int kTunnelSends = 2;
// Addresses a tunnel may get: from the first on, skipping the device's and
// the interface's own.
constexpr int kTunnelAddressCandidates = static_cast<int>(CTunnellingServer::kMaxTunnels) + 1;

constexpr BYTE kDeviceInfoDib = 0x01;
constexpr BYTE kServiceFamiliesDib = 0x02;
constexpr BYTE kMediumTp1 = 0x02;
constexpr BYTE kCoreFamily = 0x02;
constexpr BYTE kTunnellingFamily = 0x04;
constexpr std::size_t kDeviceInfoSize = 54;
constexpr std::size_t kFriendlyNameSize = 30;

BYTE NextCounter(BYTE nCounter)
{
    return static_cast<BYTE>(nCounter + 1);
}

std::vector<BYTE> ConnectionHeader(BYTE nChannel, BYTE nSequence, BYTE nStatus = CKnxIpFrame::kNoError)
{
    return {static_cast<BYTE>(CKnxIpFrame::kConnectionHeaderSize), nChannel, nSequence, nStatus};
}

}  // namespace

CTunnellingServer::CTunnellingServer(CSimulatedDevice& device) : m_device(device), m_oTransport(device)
{
}

void CTunnellingServer::SetEventSink(TunnellingEventSink fnSink)
{
    m_fnEvents = fnSink;
    m_oTransport.SetEventSink(std::move(fnSink));
}

void CTunnellingServer::Receive(const BYTE* pData, std::size_t nLength, const CKnxIpEndpoint& oFrom, LONGLONG nNowMs,
                                std::vector<CKnxIpDatagram>& arrOut)
{
    m_nNowMs = nNowMs;
    CKnxIpFrame oFrame;
    if (!CKnxIpFrame::Parse(pData, nLength, oFrame))
        return;
    switch (oFrame.m_nServiceType) {
    case CKnxIpFrame::kConnectRequest:
        OnConnectRequest(oFrame.m_arrBody, oFrom, arrOut);
        break;
    case CKnxIpFrame::kConnectionStateRequest:
        OnConnectionStateRequest(oFrame.m_arrBody, oFrom, arrOut);
        break;
    case CKnxIpFrame::kDisconnectRequest:
        OnDisconnectRequest(oFrame.m_arrBody, oFrom, arrOut);
        break;
    case CKnxIpFrame::kDescriptionRequest:
        OnDescriptionRequest(oFrame.m_arrBody, oFrom, arrOut);
        break;
    case CKnxIpFrame::kTunnelingRequest:
        OnTunnelingRequest(oFrame.m_arrBody, oFrom, arrOut);
        break;
    case CKnxIpFrame::kTunnelingAck:
        OnTunnelingAck(oFrame.m_arrBody, oFrom);
        break;
    default:
        // DISCONNECT_RESPONSE to our own request among them: nothing to do.
        break;
    }
    Flush(arrOut);
}

// ---------------------------------------------------------------------------
// Connection management

void CTunnellingServer::OnConnectRequest(const std::vector<BYTE>& arrBody, const CKnxIpEndpoint& oFrom,
                                         std::vector<CKnxIpDatagram>& arrOut)
{
    CKnxIpEndpoint oControl, oData;
    const std::size_t nEndpoints = 2 * CKnxIpEndpoint::kSize;
    if (arrBody.size() < nEndpoints + 2 || !CKnxIpEndpoint::Parse(arrBody.data(), arrBody.size(), oControl) ||
        !CKnxIpEndpoint::Parse(arrBody.data() + CKnxIpEndpoint::kSize, CKnxIpEndpoint::kSize, oData))
        return;
    const BYTE* pCri = arrBody.data() + nEndpoints;
    const std::size_t nCri = arrBody.size() - nEndpoints;
    if (pCri[0] != nCri)
        return;
    oControl = Resolve(oControl, oFrom);
    oData = Resolve(oData, oFrom);

    BYTE nStatus = CKnxIpFrame::kNoError;
    if (oControl.m_nProtocol != CKnxIpEndpoint::kUdp || oData.m_nProtocol != CKnxIpEndpoint::kUdp)
        nStatus = CKnxIpFrame::kHostProtocolType;
    else if (pCri[1] != CKnxIpFrame::kTunnelConnection)
        nStatus = CKnxIpFrame::kConnectionType;
    else if (nCri != kTunnelCri)
        nStatus = CKnxIpFrame::kConnectionOption;
    else if (pCri[2] != CKnxIpFrame::kTunnelLinkLayer)
        nStatus = CKnxIpFrame::kTunnellingLayer;
    else if (m_arrTunnels.size() >= kMaxTunnels)
        nStatus = CKnxIpFrame::kNoMoreConnections;
    if (nStatus != CKnxIpFrame::kNoError) {
        Send(oControl, CKnxIpFrame::kConnectResponse, {0, nStatus}, arrOut);
        return;
    }

    CTunnel oTunnel;
    do {
        m_nLastChannel = NextCounter(m_nLastChannel);
    } while (m_nLastChannel == 0 || FindTunnel(m_nLastChannel));
    oTunnel.m_nChannel = m_nLastChannel;
    for (int i = 0; i < kTunnelAddressCandidates; ++i) {
        const WORD nAddress = static_cast<WORD>(kFirstTunnelAddress + i);
        const bool bTaken = nAddress == m_device.GetIndividualAddress() || nAddress == kInterfaceAddress ||
                            std::any_of(m_arrTunnels.begin(), m_arrTunnels.end(),
                                        [&](const CTunnel& t) { return t.m_nAddress == nAddress; });
        if (!bTaken) {
            oTunnel.m_nAddress = nAddress;
            break;
        }
    }
    oTunnel.m_oControl = oControl;
    oTunnel.m_oData = oData;
    oTunnel.m_nHeartbeatDeadline = m_nNowMs + kHeartbeatTimeoutMs;
    m_arrTunnels.push_back(oTunnel);

    std::vector<BYTE> arrResponse = {oTunnel.m_nChannel, CKnxIpFrame::kNoError};
    m_oLocal.AppendTo(arrResponse);
    arrResponse.insert(arrResponse.end(), {static_cast<BYTE>(kTunnelCri), CKnxIpFrame::kTunnelConnection,
                                     HIBYTE(oTunnel.m_nAddress), LOBYTE(oTunnel.m_nAddress)});
    Send(oControl, CKnxIpFrame::kConnectResponse, std::move(arrResponse), arrOut);
    Report(ETunnellingEvent::TunnelOpened, oTunnel.m_nChannel);
}

void CTunnellingServer::OnConnectionStateRequest(const std::vector<BYTE>& arrBody, const CKnxIpEndpoint& oFrom,
                                                 std::vector<CKnxIpDatagram>& arrOut)
{
    CKnxIpEndpoint oControl;
    if (arrBody.size() != kHpaiRequestBody || !CKnxIpEndpoint::Parse(arrBody.data() + 2, arrBody.size() - 2, oControl))
        return;
    CTunnel* pTunnel = FindTunnel(arrBody[0]);
    if (pTunnel)
        pTunnel->m_nHeartbeatDeadline = m_nNowMs + kHeartbeatTimeoutMs;
    Send(Resolve(oControl, oFrom), CKnxIpFrame::kConnectionStateResponse,
         {arrBody[0], pTunnel ? CKnxIpFrame::kNoError : CKnxIpFrame::kConnectionId}, arrOut);
}

void CTunnellingServer::OnDisconnectRequest(const std::vector<BYTE>& arrBody, const CKnxIpEndpoint& oFrom,
                                            std::vector<CKnxIpDatagram>& arrOut)
{
    CKnxIpEndpoint oControl;
    if (arrBody.size() != kHpaiRequestBody || !CKnxIpEndpoint::Parse(arrBody.data() + 2, arrBody.size() - 2, oControl))
        return;
    const BYTE nChannel = arrBody[0];
    auto it = std::find_if(m_arrTunnels.begin(), m_arrTunnels.end(),
                           [&](const CTunnel& t) { return t.m_nChannel == nChannel; });
    const bool bKnown = it != m_arrTunnels.end();
    Send(Resolve(oControl, oFrom), CKnxIpFrame::kDisconnectResponse,
         {nChannel, bKnown ? CKnxIpFrame::kNoError : CKnxIpFrame::kConnectionId}, arrOut);
    if (bKnown) {
        m_arrTunnels.erase(it);
        Report(ETunnellingEvent::TunnelClosed, nChannel);
    }
}

void CTunnellingServer::OnDescriptionRequest(const std::vector<BYTE>& arrBody, const CKnxIpEndpoint& oFrom,
                                             std::vector<CKnxIpDatagram>& arrOut)
{
    CKnxIpEndpoint oControl;
    if (arrBody.size() != CKnxIpEndpoint::kSize || !CKnxIpEndpoint::Parse(arrBody.data(), arrBody.size(), oControl))
        return;
    std::vector<BYTE> arrResponse = {static_cast<BYTE>(kDeviceInfoSize), kDeviceInfoDib, kMediumTp1, 0x00,
                                  HIBYTE(kInterfaceAddress), LOBYTE(kInterfaceAddress), 0x00, 0x00};
    arrResponse.insert(arrResponse.end(), 6, 0x00);        // serial number
    arrResponse.insert(arrResponse.end(), {224, 0, 23, 12});  // routing multicast address
    arrResponse.insert(arrResponse.end(), 6, 0x00);        // MAC address
    const std::size_t nName = std::min(std::strlen(kFriendlyName), kFriendlyNameSize);
    arrResponse.insert(arrResponse.end(), kFriendlyName, kFriendlyName + nName);
    arrResponse.insert(arrResponse.end(), kFriendlyNameSize - nName, 0x00);
    arrResponse.insert(arrResponse.end(), {6, kServiceFamiliesDib, kCoreFamily, 1, kTunnellingFamily, 1});
    Send(Resolve(oControl, oFrom), CKnxIpFrame::kDescriptionResponse, std::move(arrResponse), arrOut);
}

// ---------------------------------------------------------------------------
// Tunnelling

void CTunnellingServer::OnTunnelingRequest(const std::vector<BYTE>& arrBody, const CKnxIpEndpoint& oFrom,
                                           std::vector<CKnxIpDatagram>& arrOut)
{
    const std::size_t nHeader = CKnxIpFrame::kConnectionHeaderSize;
    if (arrBody.size() <= nHeader || arrBody[0] != nHeader)
        return;
    CTunnel* pTunnel = FindTunnel(arrBody[1]);
    if (!pTunnel || !(oFrom == pTunnel->m_oData))
        return;
    const BYTE nSequence = arrBody[2];
    if (nSequence == static_cast<BYTE>(pTunnel->m_nReceiveSequence - 1)) {
        // Our ack got lost: ack again, serve nothing.
        Send(pTunnel->m_oData, CKnxIpFrame::kTunnelingAck, ConnectionHeader(pTunnel->m_nChannel, nSequence), arrOut);
        return;
    }
    if (nSequence != pTunnel->m_nReceiveSequence)
        return;
    const BYTE* pCemi = arrBody.data() + nHeader;
    const std::size_t nCemi = arrBody.size() - nHeader;
    CCemiFrame oFrame;
    const bool bDataRequest = pCemi[0] == CCemiFrame::kDataRequest;
    if (bDataRequest && !CCemiFrame::Parse(pCemi, nCemi, oFrame))
        return;
    Send(pTunnel->m_oData, CKnxIpFrame::kTunnelingAck, ConnectionHeader(pTunnel->m_nChannel, nSequence), arrOut);
    pTunnel->m_nReceiveSequence = NextCounter(pTunnel->m_nReceiveSequence);
    // Other cEMI messages are taken and left alone.
    if (bDataRequest)
        ServeDataRequest(*pTunnel, std::move(oFrame));
}

void CTunnellingServer::ServeDataRequest(CTunnel& oTunnel, CCemiFrame oFrame)
{
    if (oFrame.m_nSource == 0)
        oFrame.m_nSource = oTunnel.m_nAddress;
    CCemiFrame oConfirm = oFrame;
    oConfirm.m_nMessageCode = CCemiFrame::kDataConfirm;
    oConfirm.m_nControl1 = static_cast<BYTE>(oConfirm.m_nControl1 & ~CCemiFrame::kConfirmError);
    Queue(oTunnel, oConfirm);
    if (oFrame.IsGroupDestination() || oFrame.m_nDestination != m_device.GetIndividualAddress())
        return;
    std::vector<CCemiFrame> arrFrames;
    m_oTransport.Receive(oFrame.m_nSource, oFrame.m_arrTpdu, m_nNowMs, arrFrames);
    DeliverDeviceFrames(arrFrames);
}

void CTunnellingServer::OnTunnelingAck(const std::vector<BYTE>& arrBody, const CKnxIpEndpoint& oFrom)
{
    if (arrBody.size() != CKnxIpFrame::kConnectionHeaderSize || arrBody[0] != CKnxIpFrame::kConnectionHeaderSize)
        return;
    CTunnel* pTunnel = FindTunnel(arrBody[1]);
    if (!pTunnel || !(oFrom == pTunnel->m_oData) || !pTunnel->m_bAwaitingAck ||
        arrBody[2] != pTunnel->m_nSendSequence || arrBody[3] != CKnxIpFrame::kNoError)
        return;
    pTunnel->m_bAwaitingAck = false;
    pTunnel->m_nSendSequence = NextCounter(pTunnel->m_nSendSequence);
}

void CTunnellingServer::DeliverDeviceFrames(std::vector<CCemiFrame>& arrFrames)
{
    // Every tunnel sees the line's traffic.
    for (CTunnel& oTunnel : m_arrTunnels) {
        for (const CCemiFrame& oFrame : arrFrames)
            Queue(oTunnel, oFrame);
    }
    arrFrames.clear();
}

void CTunnellingServer::Queue(CTunnel& oTunnel, const CCemiFrame& oFrame)
{
    std::vector<BYTE> arrCemi = oFrame.Encode();
    if (!arrCemi.empty())
        oTunnel.m_arrWaiting.push_back(std::move(arrCemi));
}

void CTunnellingServer::Flush(std::vector<CKnxIpDatagram>& arrOut)
{
    for (CTunnel& oTunnel : m_arrTunnels) {
        if (oTunnel.m_bAwaitingAck || oTunnel.m_arrWaiting.empty())
            continue;
        oTunnel.m_arrSent = std::move(oTunnel.m_arrWaiting.front());
        oTunnel.m_arrWaiting.pop_front();
        oTunnel.m_nSends = 0;
        SendTunnelingRequest(oTunnel, arrOut);
    }
}

void CTunnellingServer::SendTunnelingRequest(CTunnel& oTunnel, std::vector<CKnxIpDatagram>& arrOut)
{
    std::vector<BYTE> arrBody = ConnectionHeader(oTunnel.m_nChannel, oTunnel.m_nSendSequence);
    arrBody.insert(arrBody.end(), oTunnel.m_arrSent.begin(), oTunnel.m_arrSent.end());
    Send(oTunnel.m_oData, CKnxIpFrame::kTunnelingRequest, std::move(arrBody), arrOut);
    ++oTunnel.m_nSends;
    oTunnel.m_bAwaitingAck = true;
    oTunnel.m_nAckDeadline = m_nNowMs + kTunnelAckTimeoutMs;
}

// ---------------------------------------------------------------------------
// Time

void CTunnellingServer::Tick(LONGLONG nNowMs, std::vector<CKnxIpDatagram>& arrOut)
{
    m_nNowMs = nNowMs;
    std::vector<CCemiFrame> arrFrames;
    m_oTransport.Tick(nNowMs, arrFrames);
    DeliverDeviceFrames(arrFrames);
    for (std::size_t i = m_arrTunnels.size(); i-- > 0;) {
        CTunnel& oTunnel = m_arrTunnels[i];
        if (nNowMs >= oTunnel.m_nHeartbeatDeadline) {
            DropTunnel(i, arrOut);
        } else if (oTunnel.m_bAwaitingAck && nNowMs >= oTunnel.m_nAckDeadline) {
            if (oTunnel.m_nSends < kTunnelSends)
                SendTunnelingRequest(oTunnel, arrOut);
            else
                DropTunnel(i, arrOut);
        }
    }
    Flush(arrOut);
}

std::optional<LONGLONG> CTunnellingServer::GetDeadline() const
{
    std::optional<LONGLONG> oDeadline = m_oTransport.GetDeadline();
    auto consider = [&](LONGLONG n) { oDeadline = oDeadline ? std::min(*oDeadline, n) : n; };
    for (const CTunnel& oTunnel : m_arrTunnels) {
        consider(oTunnel.m_nHeartbeatDeadline);
        if (oTunnel.m_bAwaitingAck)
            consider(oTunnel.m_nAckDeadline);
    }
    return oDeadline;
}

void CTunnellingServer::Shutdown(std::vector<CKnxIpDatagram>& arrOut)
{
    m_oTransport.Drop();
    for (std::size_t i = m_arrTunnels.size(); i-- > 0;)
        DropTunnel(i, arrOut);
}

// ---------------------------------------------------------------------------
// Helpers

CTunnellingServer::CTunnel* CTunnellingServer::FindTunnel(BYTE nChannel)
{
    for (CTunnel& oTunnel : m_arrTunnels) {
        if (oTunnel.m_nChannel == nChannel)
            return &oTunnel;
    }
    return nullptr;
}

void CTunnellingServer::DropTunnel(std::size_t nIndex, std::vector<CKnxIpDatagram>& arrOut)
{
    const CTunnel& oTunnel = m_arrTunnels[nIndex];
    const BYTE nChannel = oTunnel.m_nChannel;
    std::vector<BYTE> arrBody = {nChannel, 0};
    m_oLocal.AppendTo(arrBody);
    Send(oTunnel.m_oControl, CKnxIpFrame::kDisconnectRequest, std::move(arrBody), arrOut);
    m_arrTunnels.erase(m_arrTunnels.begin() + static_cast<std::ptrdiff_t>(nIndex));
    Report(ETunnellingEvent::TunnelClosed, nChannel);
}

void CTunnellingServer::Send(const CKnxIpEndpoint& oTo, WORD nServiceType, std::vector<BYTE> arrBody,
                             std::vector<CKnxIpDatagram>& arrOut)
{
    CKnxIpDatagram oDatagram;
    oDatagram.m_oTo = oTo;
    oDatagram.m_arrBytes = CKnxIpFrame(nServiceType, std::move(arrBody)).Encode();
    if (!oDatagram.m_arrBytes.empty())
        arrOut.push_back(std::move(oDatagram));
}

CKnxIpEndpoint CTunnellingServer::Resolve(const CKnxIpEndpoint& oNamed, const CKnxIpEndpoint& oFrom)
{
    return oNamed.IsRouteBack() ? CKnxIpEndpoint(oFrom.m_nAddress, oFrom.m_nPort, oNamed.m_nProtocol) : oNamed;
}

void CTunnellingServer::Report(ETunnellingEvent eEvent, DWORD nValue) const
{
    if (m_fnEvents)
        m_fnEvents(eEvent, nValue);
}
