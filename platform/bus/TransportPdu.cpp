#include "platform/bus/TransportPdu.h"

namespace {

constexpr BYTE kControl = 0x80;
constexpr BYTE kNumbered = 0x40;
constexpr BYTE kApciBits = 0x03;

}  // namespace

bool CTransportPdu::Parse(const std::vector<BYTE>& arrTpdu, CTransportPdu& oPdu)
{
    if (arrTpdu.empty())
        return false;
    const BYTE nFirst = arrTpdu[0];
    const BYTE nSequence = static_cast<BYTE>((nFirst >> 2) & kSequenceMask);
    const bool bNumbered = (nFirst & kNumbered) != 0;
    if ((nFirst & kControl) == 0) {
        if (arrTpdu.size() < 2 || (!bNumbered && nSequence != 0))
            return false;
        oPdu.m_eKind = bNumbered ? EKind::DataConnected : EKind::Data;
        oPdu.m_nSequence = nSequence;
        oPdu.m_arrApdu.assign(arrTpdu.begin(), arrTpdu.end());
        oPdu.m_arrApdu[0] = static_cast<BYTE>(nFirst & kApciBits);
        return true;
    }
    if (arrTpdu.size() != 1)
        return false;
    EKind eKind;
    switch (nFirst & (kNumbered | kApciBits)) {
    case 0x00: eKind = EKind::Connect; break;
    case 0x01: eKind = EKind::Disconnect; break;
    case kNumbered | 0x02: eKind = EKind::Ack; break;
    case kNumbered | 0x03: eKind = EKind::Nak; break;
    default: return false;
    }
    if (!bNumbered && nSequence != 0)
        return false;
    oPdu.m_eKind = eKind;
    oPdu.m_nSequence = nSequence;
    oPdu.m_arrApdu.clear();
    return true;
}

std::vector<BYTE> CTransportPdu::Encode() const
{
    const BYTE nSequence = static_cast<BYTE>((m_nSequence & kSequenceMask) << 2);
    switch (m_eKind) {
    case EKind::Data:
    case EKind::DataConnected: {
        if (m_arrApdu.size() < 2)
            return {};
        std::vector<BYTE> arrTpdu = m_arrApdu;
        arrTpdu[0] = static_cast<BYTE>(arrTpdu[0] & kApciBits);
        if (m_eKind == EKind::DataConnected)
            arrTpdu[0] = static_cast<BYTE>(arrTpdu[0] | kNumbered | nSequence);
        return arrTpdu;
    }
    case EKind::Connect: return {kControl};
    case EKind::Disconnect: return {kControl | 0x01};
    case EKind::Ack: return {static_cast<BYTE>(kControl | kNumbered | nSequence | 0x02)};
    case EKind::Nak: return {static_cast<BYTE>(kControl | kNumbered | nSequence | 0x03)};
    }
    return {};
}
