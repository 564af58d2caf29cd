#pragma once
// The device's status block, 11 bytes of user memory at 0xF0000:
//
//   0..6  the clock (CDeviceClock)
//   7     clock trim: magnitude in seconds per month
//   8     flags: bit 0 clock set, bits 1-2 time mode (0 normal time, 1
//         daylight-saving time), bit 3 switching program running, bit 4
//         enabled via object, bit 7 sign of the trim (1 negative)
//   9     the day routine running now
//   10    its source: 0 week routine, 1 special day, 2 activated via
//         object, anything else none
//
// A read transfers all 11 bytes; the clock dialog reads and writes the
// first 9 (clock, trim and flags, of which a write carries only the sign).

#include "access/DeviceClock.h"
#include "platform/base/WinTypes.h"

#include <array>
#include <string>

class CDeviceStatus
{
public:
    static constexpr DWORD kAddress = 0xF0000;
    static constexpr std::size_t kSize = 11;
    static constexpr std::size_t kClockSize = 9;

    CDeviceStatus() = default;

    BYTE* GetData() { return m_arrData.data(); }
    const BYTE* GetData() const { return m_arrData.data(); }
    // 11 for the whole block, else 9.
    WORD GetSize(bool bFull) const { return static_cast<WORD>(bFull ? kSize : kClockSize); }

    bool IsClockSet() const { return (m_arrData[8] & 0x01) != 0; }
    bool IsSwitchProgramRunning() const { return (m_arrData[8] & 0x08) != 0; }
    bool IsEnabledByObject() const { return (m_arrData[8] & 0x10) != 0; }
    BYTE GetCurrentDayRoutine() const { return m_arrData[9]; }
    BYTE GetTimeMode() const { return static_cast<BYTE>((m_arrData[8] >> 1) & 3); }

    std::string GetDayRoutineTypeText() const;
    std::string GetTimeModeText() const;

    // -255..+255 seconds per month.
    int GetTrim() const;
    // Changes bytes 7 and 8 only: a negative trim sets the sign bit, any
    // other clears the flags; the magnitude is held to 255.
    void SetTrim(int nTrim);

    CDeviceClock GetClock() const;
    void SetClock(const CDeviceClock& clock);

private:
    std::array<BYTE, kSize> m_arrData{};
};
