#include "platform/bus/KnxdLink.h"

#include "platform/bus/FalconStandIn.h"
#include "platform/bus/SimulatedDevice.h"
#include "platform/bus/TransportPdu.h"

#include <algorithm>
#include <chrono>

namespace {

// knxd's messages for a raw transport client: the open (the client's own
// address, 0 for knxd's choice, and a reserved octet) and a TPDU with the
// partner's address before it.
constexpr WORD kOpenTpdu = 0x0024;
constexpr WORD kTpduPacket = 0x0025;
// A server answers an open at once; one that does not is not knxd.
constexpr int kServerAnswerMs = 3000;

// The device object's control property; bit 2 is verify mode.
constexpr BYTE kDeviceObject = 0;
constexpr BYTE kDeviceControlProperty = 14;
constexpr BYTE kVerifyModeBit = 0x04;

// A transport acknowledgement is due within 3 s; a frame unacknowledged
// goes out again up to three times.
constexpr int kAckTimeoutMs = 3000;
constexpr int kMaxRepetitions = 3;

constexpr std::size_t kMaxPropertyData = 10;
// The load-control register takes a record and reads as zeros, on every
// device of this kind: what it stored can't be compared.
constexpr DWORD kLoadControlRegister = 0x0104;
constexpr DWORD kLoadControlEnd = 0x010E;
constexpr DWORD kMaxMemoryAddress = 0xFFFF;
constexpr DWORD kMaxUserMemoryAddress = 0xFFFFF;

using Clock = std::chrono::steady_clock;

int MillisecondsUntil(Clock::time_point deadline)
{
    const auto nLeft = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<long long>(nLeft, 0));
}

// The place a memory, user-memory or property message is about, for telling
// an answer from a late answer to another request.
struct Place
{
    DWORD nAddress = 0;
    BYTE nObject = 0;
    BYTE nProperty = 0;
    WORD nStart = 0;
    bool operator==(const Place&) const = default;
};

bool PlaceOf(const CApplicationPdu& pdu, Place& place, BYTE& nCount, std::vector<BYTE>& arrData)
{
    switch (pdu.m_nService) {
    case CApplicationPdu::kMemoryRead:
    case CApplicationPdu::kMemoryWrite:
    case CApplicationPdu::kMemoryResponse: {
        WORD nAddress = 0;
        if (!pdu.GetMemory(nCount, nAddress, arrData))
            return false;
        place.nAddress = nAddress;
        return true;
    }
    case CApplicationPdu::kUserMemoryRead:
    case CApplicationPdu::kUserMemoryWrite:
    case CApplicationPdu::kUserMemoryResponse:
        return pdu.GetUserMemory(nCount, place.nAddress, arrData);
    case CApplicationPdu::kPropertyValueRead:
    case CApplicationPdu::kPropertyValueWrite:
    case CApplicationPdu::kPropertyValueResponse:
        return pdu.GetProperty(place.nObject, place.nProperty, nCount, place.nStart, arrData);
    default:
        nCount = 0;
        arrData = pdu.m_arrData;
        return true;
    }
}

// The count an answer carries (elements or bytes) and its data.
BYTE AnsweredCount(const CApplicationPdu& answer, std::vector<BYTE>& arrData)
{
    Place place;
    BYTE nCount = 0;
    if (!PlaceOf(answer, place, nCount, arrData))
        return 0;
    return nCount;
}

// A memory or user-memory request of the kind the flag tells.
CApplicationPdu MemoryPdu(bool bUserMemory, bool bWrite, DWORD nAddress, BYTE nCount,
                          const std::vector<BYTE>& arrData = {})
{
    if (bUserMemory)
        return CApplicationPdu::UserMemory(bWrite ? CApplicationPdu::kUserMemoryWrite : CApplicationPdu::kUserMemoryRead,
                                           nCount, nAddress, arrData);
    return CApplicationPdu::Memory(bWrite ? CApplicationPdu::kMemoryWrite : CApplicationPdu::kMemoryRead, nCount,
                                   static_cast<WORD>(nAddress), arrData);
}

WORD ResponseOf(WORD nService)
{
    switch (nService) {
    case CApplicationPdu::kMemoryRead:
    case CApplicationPdu::kMemoryWrite: return CApplicationPdu::kMemoryResponse;
    case CApplicationPdu::kUserMemoryRead:
    case CApplicationPdu::kUserMemoryWrite: return CApplicationPdu::kUserMemoryResponse;
    case CApplicationPdu::kPropertyValueRead:
    case CApplicationPdu::kPropertyValueWrite: return CApplicationPdu::kPropertyValueResponse;
    case CApplicationPdu::kDeviceDescriptorRead: return CApplicationPdu::kDeviceDescriptorResponse;
    default: return 0;
    }
}

bool Answers(const CApplicationPdu& answer, const CApplicationPdu& request)
{
    if (answer.m_nService != ResponseOf(request.m_nService))
        return false;
    Place requestPlace, answerPlace;
    BYTE nCount = 0;
    std::vector<BYTE> arrData;
    return PlaceOf(request, requestPlace, nCount, arrData) && PlaceOf(answer, answerPlace, nCount, arrData) &&
           requestPlace == answerPlace;
}

}  // namespace

CKnxdLink::~CKnxdLink()
{
    Disconnect();
}

EDeviceResult CKnxdLink::TestServer(const std::string& strUrl)
{
    CKnxdSocket socket;
    return socket.Open(strUrl) ? EDeviceResult::Ok : EDeviceResult::ConnectionRefused;
}

EDeviceResult CKnxdLink::Connect(const std::string& strUrl, WORD nTargetAddress)
{
    if (m_socket.IsOpen())
        return EDeviceResult::AlreadyConnected;
    if (!m_socket.Open(strUrl) || !m_socket.Send(kOpenTpdu, {0, 0, 0}))
        return EDeviceResult::ConnectionRefused;
    WORD nType = 0;
    std::vector<BYTE> arrData;
    if (m_socket.Receive(nType, arrData, kServerAnswerMs) != CKnxdSocket::EReceive::Message || nType != kOpenTpdu) {
        m_socket.Close();
        return EDeviceResult::ConnectionRefused;
    }
    m_nDevice = nTargetAddress;
    m_nSendSequence = 0;
    m_nReceiveSequence = 0;
    m_arrReceived.clear();
    m_bVerifying = false;
    m_bRefusedByDevice = false;
    if (!SendTpdu(CTransportPdu(CTransportPdu::EKind::Connect, 0).Encode()))
        return Break();
    // T_Connect is not answered: only the answer to a request shows that a
    // device is there. One that refuses the connection ends it at once.
    CApplicationPdu answer;
    if (Exchange(CApplicationPdu(CApplicationPdu::kDeviceDescriptorRead, 0), answer) != EDeviceResult::Ok) {
        const bool bEnded = !m_socket.IsOpen();
        Disconnect();
        return bEnded && m_bRefusedByDevice ? EDeviceResult::ConnectionRefused : EDeviceResult::NoDevice;
    }
    SwitchOnVerifyMode();
    return m_socket.IsOpen() ? EDeviceResult::Ok : EDeviceResult::NoDevice;
}

void CKnxdLink::SwitchOnVerifyMode()
{
    m_bVerifying = false;
    CApplicationPdu answer;
    BYTE nCount = 0, nObject = 0, nProperty = 0;
    WORD nStart = 0;
    std::vector<BYTE> arrValue;
    const auto read = CApplicationPdu::Property(CApplicationPdu::kPropertyValueRead, kDeviceObject,
                                                kDeviceControlProperty, 1, 1);
    if (Exchange(read, answer) != EDeviceResult::Ok ||
        !answer.GetProperty(nObject, nProperty, nCount, nStart, arrValue) || nCount != 1 || arrValue.size() != 1)
        return;
    const auto write = CApplicationPdu::Property(CApplicationPdu::kPropertyValueWrite, kDeviceObject,
                                                 kDeviceControlProperty, 1, 1,
                                                 {static_cast<BYTE>(arrValue[0] | kVerifyModeBit)});
    if (Exchange(write, answer) != EDeviceResult::Ok ||
        !answer.GetProperty(nObject, nProperty, nCount, nStart, arrValue) || nCount != 1 || arrValue.size() != 1)
        return;
    m_bVerifying = (arrValue[0] & kVerifyModeBit) != 0;
}

EDeviceResult CKnxdLink::Disconnect()
{
    if (m_socket.IsOpen()) {
        SendTpdu(CTransportPdu(CTransportPdu::EKind::Disconnect, 0).Encode());
        m_socket.Close();
    }
    m_arrReceived.clear();
    m_bVerifying = false;
    return EDeviceResult::Ok;
}

EDeviceResult CKnxdLink::Break()
{
    Disconnect();
    return EDeviceResult::NoAnswer;
}

bool CKnxdLink::SendTpdu(const std::vector<BYTE>& arrTpdu)
{
    std::vector<BYTE> arrPacket(arrTpdu.size() + 2);
    arrPacket[0] = HIBYTE(m_nDevice);
    arrPacket[1] = LOBYTE(m_nDevice);
    std::copy(arrTpdu.begin(), arrTpdu.end(), arrPacket.begin() + 2);
    return m_socket.Send(kTpduPacket, arrPacket);
}

CKnxdLink::EWait CKnxdLink::WaitForFrame(int nMilliseconds)
{
    WORD nType = 0;
    std::vector<BYTE> arrPacket;
    switch (m_socket.Receive(nType, arrPacket, nMilliseconds)) {
    case CKnxdSocket::EReceive::Timeout: return EWait::Timeout;
    case CKnxdSocket::EReceive::Closed: return EWait::Ended;
    case CKnxdSocket::EReceive::Message: break;
    }
    CTransportPdu tpdu;
    // knxd passes on what other devices send to the client's address too.
    if (nType != kTpduPacket || arrPacket.size() < 3 || MAKEWORD(arrPacket[1], arrPacket[0]) != m_nDevice ||
        !CTransportPdu::Parse({arrPacket.begin() + 2, arrPacket.end()}, tpdu))
        return EWait::Frame;
    switch (tpdu.m_eKind) {
    case CTransportPdu::EKind::DataConnected:
        if (tpdu.m_nSequence == m_nReceiveSequence) {
            SendTpdu(CTransportPdu(CTransportPdu::EKind::Ack, tpdu.m_nSequence).Encode());
            m_nReceiveSequence = CTransportPdu::NextSequence(m_nReceiveSequence);
            CApplicationPdu apdu;
            if (CApplicationPdu::Parse(tpdu.m_arrApdu, apdu))
                m_arrReceived.push_back(std::move(apdu));
        } else if (CTransportPdu::NextSequence(tpdu.m_nSequence) == m_nReceiveSequence) {
            // Our acknowledgement was lost: the device sends its frame again.
            SendTpdu(CTransportPdu(CTransportPdu::EKind::Ack, tpdu.m_nSequence).Encode());
        } else {
            SendTpdu(CTransportPdu(CTransportPdu::EKind::Nak, tpdu.m_nSequence).Encode());
        }
        return EWait::Frame;
    case CTransportPdu::EKind::Ack:
        return tpdu.m_nSequence == m_nSendSequence ? EWait::Acked : EWait::Frame;
    case CTransportPdu::EKind::Nak:
        return tpdu.m_nSequence == m_nSendSequence ? EWait::Nak : EWait::Frame;
    case CTransportPdu::EKind::Disconnect:
        m_bRefusedByDevice = true;
        m_socket.Close();
        return EWait::Ended;
    default:
        return EWait::Frame;
    }
}

EDeviceResult CKnxdLink::Send(const CApplicationPdu& request)
{
    if (!m_socket.IsOpen())
        return EDeviceResult::NotConnected;
    const std::vector<BYTE> arrTpdu =
        CTransportPdu(CTransportPdu::EKind::DataConnected, m_nSendSequence, request.Encode()).Encode();
    if (arrTpdu.empty())
        return EDeviceResult::BadData;
    const int nAckWait = std::min(kAckTimeoutMs, CFalconStandIn::GetAnswerTimeout());
    for (int nTry = 0; nTry <= kMaxRepetitions; ++nTry) {
        if (!SendTpdu(arrTpdu))
            return Break();
        const auto deadline = Clock::now() + std::chrono::milliseconds(nAckWait);
        EWait eWait = EWait::Frame;
        while (eWait == EWait::Frame)
            eWait = WaitForFrame(MillisecondsUntil(deadline));
        if (eWait == EWait::Acked) {
            m_nSendSequence = CTransportPdu::NextSequence(m_nSendSequence);
            return EDeviceResult::Ok;
        }
        if (eWait == EWait::Ended)
            return Break();
    }
    return Break();
}

EDeviceResult CKnxdLink::Receive(const CApplicationPdu& request, CApplicationPdu& answer)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(CFalconStandIn::GetAnswerTimeout());
    for (;;) {
        while (!m_arrReceived.empty()) {
            CApplicationPdu message = std::move(m_arrReceived.front());
            m_arrReceived.pop_front();
            if (Answers(message, request)) {
                answer = std::move(message);
                return EDeviceResult::Ok;
            }
        }
        const int nLeft = MillisecondsUntil(deadline);
        if (nLeft == 0)
            return Break();
        if (const EWait eWait = WaitForFrame(nLeft); eWait == EWait::Ended || eWait == EWait::Timeout)
            return Break();
    }
}

EDeviceResult CKnxdLink::Exchange(const CApplicationPdu& request, CApplicationPdu& answer)
{
    EDeviceResult eResult = Send(request);
    return eResult == EDeviceResult::Ok ? Receive(request, answer) : eResult;
}

EDeviceResult CKnxdLink::ReadProperty(BYTE nObjectIndex, BYTE nPropertyId, BYTE /*nTypeCode*/, WORD nStartIndex,
                                      BYTE nCount, std::vector<BYTE>& arrData)
{
    arrData.clear();
    CApplicationPdu answer;
    const EDeviceResult eResult = Exchange(
        CApplicationPdu::Property(CApplicationPdu::kPropertyValueRead, nObjectIndex, nPropertyId, nCount, nStartIndex),
        answer);
    if (eResult != EDeviceResult::Ok)
        return eResult;
    const BYTE nAnswered = AnsweredCount(answer, arrData);
    // A device answers a property it lacks, or a read it refuses, with no
    // elements.
    if (nAnswered == 0) {
        arrData.clear();
        return EDeviceResult::Refused;
    }
    return EDeviceResult::Ok;
}

EDeviceResult CKnxdLink::WriteProperty(BYTE nObjectIndex, BYTE nPropertyId, BYTE /*nTypeCode*/, WORD nStartIndex,
                                       BYTE nCount, const BYTE* pData, std::size_t nLength, WORD /*nFlag*/)
{
    if (nLength > kMaxPropertyData)
        return EDeviceResult::FrameTooLong;
    if (pData == nullptr || nLength == 0)
        return EDeviceResult::BadData;
    CApplicationPdu answer;
    const EDeviceResult eResult =
        Exchange(CApplicationPdu::Property(CApplicationPdu::kPropertyValueWrite, nObjectIndex, nPropertyId, nCount,
                                           nStartIndex, {pData, pData + nLength}),
                 answer);
    if (eResult != EDeviceResult::Ok)
        return eResult;
    // The answer carries the property's value after the write, which for a
    // control property (a load event) is not what was written.
    std::vector<BYTE> arrStored;
    return AnsweredCount(answer, arrStored) == 0 ? EDeviceResult::Refused : EDeviceResult::Ok;
}

EDeviceResult CKnxdLink::ReadFrames(bool bUserMemory, DWORD nAddress, std::size_t nLength,
                                    std::vector<BYTE>& arrData)
{
    arrData.clear();
    const std::size_t nFrame =
        bUserMemory ? CSimulatedDevice::kMaxUserMemoryFrameData : CSimulatedDevice::kMaxMemoryFrameData;
    const DWORD nLimit = bUserMemory ? kMaxUserMemoryAddress : kMaxMemoryAddress;
    if (nLength > 0 && (nAddress > nLimit || nLength - 1 > nLimit - nAddress))
        return EDeviceResult::Unmapped;
    for (std::size_t nDone = 0; nDone < nLength;) {
        const auto nCount = static_cast<BYTE>(std::min(nFrame, nLength - nDone));
        const auto nAt = static_cast<DWORD>(nAddress + nDone);
        CApplicationPdu answer;
        if (EDeviceResult eResult = Exchange(MemoryPdu(bUserMemory, false, nAt, nCount), answer);
            eResult != EDeviceResult::Ok)
            return eResult;
        std::vector<BYTE> arrFrame;
        if (AnsweredCount(answer, arrFrame) != nCount || arrFrame.size() != nCount)
            return EDeviceResult::Refused;
        arrData.insert(arrData.end(), arrFrame.begin(), arrFrame.end());
        nDone += nCount;
    }
    return EDeviceResult::Ok;
}

EDeviceResult CKnxdLink::WriteFrames(bool bUserMemory, DWORD nAddress, const BYTE* pData, std::size_t nLength)
{
    if (pData == nullptr || nLength == 0)
        return EDeviceResult::BadData;
    const std::size_t nFrame =
        bUserMemory ? CSimulatedDevice::kMaxUserMemoryFrameData : CSimulatedDevice::kMaxMemoryFrameData;
    const DWORD nLimit = bUserMemory ? kMaxUserMemoryAddress : kMaxMemoryAddress;
    if (nAddress > nLimit || nLength - 1 > nLimit - nAddress)
        return EDeviceResult::Unmapped;
    for (std::size_t nDone = 0; nDone < nLength;) {
        const auto nCount = static_cast<BYTE>(std::min(nFrame, nLength - nDone));
        const auto nAt = static_cast<DWORD>(nAddress + nDone);
        const std::vector<BYTE> arrFrame(pData + nDone, pData + nDone + nCount);
        const CApplicationPdu write = MemoryPdu(bUserMemory, true, nAt, nCount, arrFrame);
        CApplicationPdu answer;
        EDeviceResult eResult = Send(write);
        if (eResult == EDeviceResult::Ok) {
            // In verify mode the device answers the write with what it
            // stored; otherwise the bytes are read back.
            if (m_bVerifying)
                eResult = Receive(write, answer);
            else
                eResult = Exchange(MemoryPdu(bUserMemory, false, nAt, nCount), answer);
        }
        if (eResult != EDeviceResult::Ok)
            return eResult;
        std::vector<BYTE> arrStored;
        const BYTE nAnswered = AnsweredCount(answer, arrStored);
        // User memory is compared by its count only: a device keeps status
        // bits of its own there, and its clock runs on.
        const bool bCompareBytes = !bUserMemory && (nAt + nCount <= kLoadControlRegister || nAt >= kLoadControlEnd);
        if (nAnswered != nCount || (bCompareBytes && arrStored != arrFrame))
            return EDeviceResult::Refused;
        nDone += nCount;
    }
    return EDeviceResult::Ok;
}

EDeviceResult CKnxdLink::ReadMemory(DWORD nAddress, std::size_t nLength, std::vector<BYTE>& arrData)
{
    return ReadFrames(false, nAddress, nLength, arrData);
}

EDeviceResult CKnxdLink::WriteMemory(DWORD nAddress, const BYTE* pData, std::size_t nLength, WORD /*nFlag*/)
{
    return WriteFrames(false, nAddress, pData, nLength);
}

EDeviceResult CKnxdLink::ReadUserMemory(DWORD nAddress, std::size_t nLength, std::vector<BYTE>& arrData)
{
    return ReadFrames(true, nAddress, nLength, arrData);
}

EDeviceResult CKnxdLink::WriteUserMemory(DWORD nAddress, const BYTE* pData, std::size_t nLength, WORD /*nFlag*/)
{
    return WriteFrames(true, nAddress, pData, nLength);
}
