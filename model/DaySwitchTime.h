#pragma once
// One switching time of a day routine: at an hour and minute the device sends
// a value to a group address, optionally only when the value changed. Knows
// its four external forms: the 20-digit record of the "SwitchTime" host
// parameters, the data-file record, the 5-byte slot of the device's
// switching-time table and the text-export line.
//
// Time word (shared by the parameter record and the device slot):
//   bit 0 send-on-change, bits 1..6 minute, bits 7..11 hour,
//   bits 12..15 number of the owning day routine (1..15).

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <ctime>
#include <string>

class CArchive;
class CDayRoutine;
class CGroupDataAddress;
class CGroupDataAddresses;

// The value a switching time sends: the low 16 bits are the raw value as the
// bus carries it for the group address's type (1-bit, 2-bit and 1-byte types
// in the low byte, 2-byte types in the whole word, main type 9 as the 2-byte
// float word); the upper two bytes are 0.
struct SwitchTimeValue {
    DWORD dwValue = 0;
    bool operator==(const SwitchTimeValue&) const = default;
};

// A time word of this value marks an undefined parameter record.
constexpr WORD SWITCHTIME_UNDEFINED = 0xFFFF;

// The time word of hour, minute, flag and routine number.
WORD MakeSwitchTimeWord(WORD nHour, WORD nMinute, bool bSendOnChange, int nDayRoutine);

class CDaySwitchTime : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CDaySwitchTime)

    CDaySwitchTime() = default;
    // Copies every field; the group address is taken without a use of its
    // own. Such copies live only in the internal clipboard and are never
    // listed in a routine: a routine lists only what AddSwitchTime made.
    CDaySwitchTime(const CDaySwitchTime& other);
    CDaySwitchTime& operator=(const CDaySwitchTime&) = delete;
    // Leaves the group address's uses alone: the routine that lists the
    // switching time releases them first.
    ~CDaySwitchTime() override = default;

    // The framework's dynamic creation by class.
    static CObject* CreateObject();

    WORD GetHour() const { return m_nHour; }
    void SetHour(WORD nHour) { m_nHour = nHour; }
    WORD GetMinute() const { return m_nMinute; }
    void SetMinute(WORD nMinute) { m_nMinute = nMinute; }
    // The time of day as a broken-down time that is zero but for hour and
    // minute (the editors' time fields take this form).
    std::tm GetTime() const
    {
        std::tm tm {};
        tm.tm_hour = m_nHour;
        tm.tm_min = m_nMinute;
        return tm;
    }
    CGroupDataAddress* GetGroupAddress() const { return m_pGroupDataAddress; }
    // Moves the switching-time use (kind 2) from the previous group address to
    // the new one, then stores it. Every change of the address goes here.
    void SetGroupAddress(CGroupDataAddress* pAddress);
    SwitchTimeValue GetValue() const { return m_value; }
    void SetValue(SwitchTimeValue value) { m_value = value; }
    BYTE GetExponent() const { return m_nExponent; }
    void SetExponent(BYTE nExponent) { m_nExponent = nExponent; }
    BYTE GetSendOnChange() const { return m_bSendOnChange; }
    void SetSendOnChange(BYTE bSendOnChange) { m_bSendOnChange = bSendOnChange != 0 ? 1 : 0; }
    CDayRoutine* GetDayRoutine() const { return m_pDayRoutine; }
    void SetDayRoutine(CDayRoutine* pDayRoutine) { m_pDayRoutine = pDayRoutine; }

    // Whether this switching time holds a use of its group address (a
    // clipboard copy holds none).
    bool HoldsGroupAddressUse() const { return m_bHoldsUse; }
    // Gives back the use it holds, to an address the lists still hold; the
    // pointer stays.
    void ReleaseGroupAddressUse();
    // Forgets the address without touching its uses (the address itself is
    // being deleted).
    void ClearGroupAddress()
    {
        m_pGroupDataAddress = nullptr;
        m_bHoldsUse = false;
    }

    // The time word with the owning routine's number in bits 12..15.
    WORD GetTimeWord(int nDayRoutine) const;

    // "%04x%04x%04x%02x%02x%02x%02x": time word (with the given routine
    // number), reference low and high word (ffff ffff without group
    // address), invalid-list flag, exponent, value low and high byte.
    std::string ToHexString(int nDayRoutine) const;

    // The 5-byte slot of the device table: time word low byte first, the
    // communication-object number, the two value bytes. Without a usable
    // group address the first three bytes become 0xFF. False (logged) for a
    // missing or short buffer or a switching time without routine.
    bool ToBuffer(BYTE* pBuffer, int nLength) const;

    // The data-file record; each does nothing in the other direction.
    void LoadFromArchive(CArchive& ar);
    void StoreToArchive(CArchive& ar) const;

    // Appends the text-export line ("\n" at the end).
    void ExportCsv(std::string& strFile) const;

    // The group-address lists of the central object this switching time
    // belongs to (through its routine), else those of the open device.
    CGroupDataAddresses* GetGroupDataAddresses() const;

private:
    WORD m_nHour = 0;
    WORD m_nMinute = 0;
    CGroupDataAddress* m_pGroupDataAddress = nullptr;
    SwitchTimeValue m_value;
    BYTE m_nExponent = 3;
    BYTE m_bSendOnChange = 0;
    CDayRoutine* m_pDayRoutine = nullptr;
    bool m_bHoldsUse = false;
};
