#pragma once
// A cEMI link-layer data message as tunnelling carries it:
//
//   message code, additional-info length and info, control field 1,
//   control field 2, source, destination, NPDU length, TPDU
//
// The NPDU length counts the TPDU's octets after its first, so a TPDU is
// never empty; a standard frame carries at most 16 of them. Parse takes the
// data request, confirmation and indication and checks that every length
// agrees with the bytes there.

#include "platform/base/WinTypes.h"

#include <cstddef>
#include <vector>

class CCemiFrame
{
public:
    static constexpr BYTE kDataRequest = 0x11;     // L_Data.req
    static constexpr BYTE kDataConfirm = 0x2E;     // L_Data.con
    static constexpr BYTE kDataIndication = 0x29;  // L_Data.ind

    // Control field 1: standard frame, not repeated, normal broadcast, low
    // priority; its last bit marks a failed confirmation.
    static constexpr BYTE kStandardFrame = 0x80;
    static constexpr BYTE kDefaultControl1 = 0xBC;
    static constexpr BYTE kConfirmError = 0x01;
    // Control field 2: individual destination, hop count 6.
    static constexpr BYTE kGroupDestination = 0x80;
    static constexpr BYTE kDefaultControl2 = 0x60;

    static constexpr std::size_t kMaxStandardTpdu = 16;

    static bool Parse(const BYTE* pData, std::size_t nLength, CCemiFrame& oFrame);
    // Empty when the TPDU is empty or longer than a frame carries.
    std::vector<BYTE> Encode() const;

    bool IsGroupDestination() const { return (m_nControl2 & kGroupDestination) != 0; }
    bool IsStandardFrame() const { return (m_nControl1 & kStandardFrame) != 0; }

    BYTE m_nMessageCode = kDataIndication;
    std::vector<BYTE> m_arrAdditionalInfo;
    BYTE m_nControl1 = kDefaultControl1;
    BYTE m_nControl2 = kDefaultControl2;
    WORD m_nSource = 0;
    WORD m_nDestination = 0;
    std::vector<BYTE> m_arrTpdu;
};
