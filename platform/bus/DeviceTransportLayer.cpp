#include "platform/bus/DeviceTransportLayer.h"

#include "platform/bus/SimulatedDevice.h"

#include <algorithm>

CDeviceTransportLayer::CDeviceTransportLayer(CSimulatedDevice& device) : m_device(device), m_oApplication(device)
{
}

void CDeviceTransportLayer::Receive(WORD nSource, const std::vector<BYTE>& arrTpdu, LONGLONG nNowMs,
                                    std::vector<CCemiFrame>& arrOut)
{
    m_nNowMs = nNowMs;
    CTransportPdu oPdu;
    if (!CTransportPdu::Parse(arrTpdu, oPdu))
        return;
    using EKind = CTransportPdu::EKind;
    const bool bPartner = m_bOpen && nSource == m_nPartner;
    switch (oPdu.m_eKind) {
    case EKind::Connect:
        if (m_bOpen && !bPartner) {
            Send(nSource, CTransportPdu(EKind::Disconnect, 0), arrOut);
            return;
        }
        if (!m_bOpen) {
            LONG nOpenError = 0;
            if (m_device.Connect(m_device.GetIndividualAddress(), nOpenError) != EDeviceResult::Ok) {
                Send(nSource, CTransportPdu(EKind::Disconnect, 0), arrOut);
                return;
            }
            m_bOpen = true;
            m_nPartner = nSource;
            Report(ETunnellingEvent::ConnectionOpened, nSource);
        }
        m_nSendSequence = 0;
        m_nReceiveSequence = 0;
        m_bAwaitingAck = false;
        m_arrWaiting.clear();
        m_nConnectionDeadline = nNowMs + kConnectionTimeoutMs;
        return;
    case EKind::Disconnect:
        if (bPartner)
            Close(false, arrOut);
        return;
    case EKind::DataConnected:
        if (!bPartner) {
            Send(nSource, CTransportPdu(EKind::Disconnect, 0), arrOut);
            return;
        }
        m_nConnectionDeadline = nNowMs + kConnectionTimeoutMs;
        ServeData(oPdu, arrOut);
        return;
    case EKind::Ack:
    case EKind::Nak:
        if (m_bOpen && !bPartner) {
            Send(nSource, CTransportPdu(EKind::Disconnect, 0), arrOut);
            return;
        }
        if (!bPartner || !m_bAwaitingAck)
            return;
        m_nConnectionDeadline = nNowMs + kConnectionTimeoutMs;
        if (oPdu.m_nSequence != m_nSendSequence) {
            Close(true, arrOut);
        } else if (oPdu.m_eKind == EKind::Ack) {
            m_bAwaitingAck = false;
            m_nSendSequence = CTransportPdu::NextSequence(m_nSendSequence);
            SendNext(arrOut);
        } else {
            Repeat(arrOut);
        }
        return;
    case EKind::Data:
        // The device serves nothing without a connection.
        return;
    }
}

void CDeviceTransportLayer::ServeData(const CTransportPdu& oPdu, std::vector<CCemiFrame>& arrOut)
{
    using EKind = CTransportPdu::EKind;
    if (oPdu.m_nSequence == m_nReceiveSequence) {
        const DWORD nFrame = ++m_nFrameCount;
        if (m_nSilentFrom != 0 && nFrame >= m_nSilentFrom)
            return;
        Send(m_nPartner, CTransportPdu(EKind::Ack, oPdu.m_nSequence), arrOut);
        m_nReceiveSequence = CTransportPdu::NextSequence(m_nReceiveSequence);
        std::vector<BYTE> arrAnswer;
        const CDeviceApplicationLayer::EEffect eEffect = m_oApplication.Serve(oPdu.m_arrApdu, arrAnswer);
        Report(ETunnellingEvent::ApplicationFrame, nFrame);
        if (eEffect == CDeviceApplicationLayer::EEffect::Restart) {
            // A restarting device forgets its connection without a word.
            Close(false, arrOut);
            return;
        }
        if (!arrAnswer.empty()) {
            m_arrWaiting.push_back(std::move(arrAnswer));
            SendNext(arrOut);
        }
    } else if (oPdu.m_nSequence == ((m_nReceiveSequence - 1) & CTransportPdu::kSequenceMask)) {
        // Our T_ACK got lost: ack the repetition, serve nothing.
        if (m_nSilentFrom == 0 || m_nFrameCount < m_nSilentFrom)
            Send(m_nPartner, CTransportPdu(EKind::Ack, oPdu.m_nSequence), arrOut);
    } else {
        Send(m_nPartner, CTransportPdu(EKind::Nak, oPdu.m_nSequence), arrOut);
    }
}

void CDeviceTransportLayer::SendNext(std::vector<CCemiFrame>& arrOut)
{
    if (!m_bOpen || m_bAwaitingAck || m_arrWaiting.empty())
        return;
    m_arrSent = std::move(m_arrWaiting.front());
    m_arrWaiting.pop_front();
    m_bAwaitingAck = true;
    m_nRepetitions = 0;
    Send(m_nPartner, CTransportPdu(CTransportPdu::EKind::DataConnected, m_nSendSequence, m_arrSent), arrOut);
    m_nAckDeadline = m_nNowMs + kAckTimeoutMs;
    m_nConnectionDeadline = m_nNowMs + kConnectionTimeoutMs;
}

void CDeviceTransportLayer::Repeat(std::vector<CCemiFrame>& arrOut)
{
    if (m_nRepetitions >= kMaxRepetitions) {
        Close(true, arrOut);
        return;
    }
    ++m_nRepetitions;
    Send(m_nPartner, CTransportPdu(CTransportPdu::EKind::DataConnected, m_nSendSequence, m_arrSent), arrOut);
    m_nAckDeadline = m_nNowMs + kAckTimeoutMs;
    m_nConnectionDeadline = m_nNowMs + kConnectionTimeoutMs;
}

void CDeviceTransportLayer::Tick(LONGLONG nNowMs, std::vector<CCemiFrame>& arrOut)
{
    m_nNowMs = nNowMs;
    if (!m_bOpen)
        return;
    if (m_bAwaitingAck && nNowMs >= m_nAckDeadline)
        Repeat(arrOut);
    if (m_bOpen && nNowMs >= m_nConnectionDeadline)
        Close(true, arrOut);
}

std::optional<LONGLONG> CDeviceTransportLayer::GetDeadline() const
{
    if (!m_bOpen)
        return std::nullopt;
    return m_bAwaitingAck ? std::min(m_nAckDeadline, m_nConnectionDeadline) : m_nConnectionDeadline;
}

void CDeviceTransportLayer::Drop()
{
    std::vector<CCemiFrame> arrNone;
    Close(false, arrNone);
}

void CDeviceTransportLayer::Close(bool bNotify, std::vector<CCemiFrame>& arrOut)
{
    if (!m_bOpen)
        return;
    if (bNotify)
        Send(m_nPartner, CTransportPdu(CTransportPdu::EKind::Disconnect, 0), arrOut);
    m_bOpen = false;
    m_bAwaitingAck = false;
    m_arrWaiting.clear();
    m_device.Disconnect();
    Report(ETunnellingEvent::ConnectionClosed, m_nPartner);
}

void CDeviceTransportLayer::Send(WORD nDestination, const CTransportPdu& oPdu, std::vector<CCemiFrame>& arrOut) const
{
    CCemiFrame oFrame;
    oFrame.m_nMessageCode = CCemiFrame::kDataIndication;
    oFrame.m_nSource = m_device.GetIndividualAddress();
    oFrame.m_nDestination = nDestination;
    oFrame.m_arrTpdu = oPdu.Encode();
    if (!oFrame.m_arrTpdu.empty())
        arrOut.push_back(std::move(oFrame));
}

void CDeviceTransportLayer::Report(ETunnellingEvent eEvent, DWORD nValue) const
{
    if (m_fnEvents)
        m_fnEvents(eEvent, nValue);
}
