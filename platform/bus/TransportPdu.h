#pragma once
// A TPDU: the transport-layer control information (TPCI) in the first
// octet's upper six bits, and for data the APDU, whose 10-bit service code
// begins in that same octet's last two bits.
//
//   00 0000 aa   unnumbered data (individual, group or broadcast by the
//                destination)
//   01 ssss aa   T_Data_Connected with sequence number s
//   10 0000 00   T_Connect            10 0000 01   T_Disconnect
//   11 ssss 10   T_ACK                11 ssss 11   T_NAK
//
// The APDU kept here starts with an octet holding only those two bits, so it
// reads the same whatever TPCI carried it. Control PDUs are one octet; data
// needs two at least.

#include "platform/base/WinTypes.h"

#include <vector>

class CTransportPdu
{
public:
    enum class EKind { Data, DataConnected, Connect, Disconnect, Ack, Nak };

    static constexpr BYTE kSequenceMask = 0x0F;
    // The sequence number after nSequence; it wraps after 15.
    static constexpr BYTE NextSequence(BYTE nSequence) { return static_cast<BYTE>((nSequence + 1) & kSequenceMask); }

    CTransportPdu() = default;
    CTransportPdu(EKind eKind, BYTE nSequence, std::vector<BYTE> arrApdu = {})
        : m_eKind(eKind), m_nSequence(static_cast<BYTE>(nSequence & kSequenceMask)), m_arrApdu(std::move(arrApdu))
    {
    }

    static bool Parse(const std::vector<BYTE>& arrTpdu, CTransportPdu& oPdu);
    // Empty when a data PDU lacks its APDU.
    std::vector<BYTE> Encode() const;

    bool IsData() const { return m_eKind == EKind::Data || m_eKind == EKind::DataConnected; }

    EKind m_eKind = EKind::Data;
    BYTE m_nSequence = 0;
    std::vector<BYTE> m_arrApdu;
};
