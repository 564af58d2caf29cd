#pragma once
// The device's clock record, the first seven bytes of its status block:
// hour, minute, second, weekday (Monday 1 .. Sunday 7), day, month (1..12),
// year - 2000.

#include "platform/base/Time.h"
#include "platform/base/WinTypes.h"

#include <array>

class CDeviceClock
{
public:
    static constexpr std::size_t kSize = 7;
    enum EField { Hour, Minute, Second, Weekday, Day, Month, Year };

    CDeviceClock() = default;

    BYTE* GetData() { return m_arrData.data(); }
    const BYTE* GetData() const { return m_arrData.data(); }
    BYTE Get(EField eField) const { return m_arrData[eField]; }
    void Set(EField eField, BYTE nValue) { m_arrData[eField] = nValue; }

    // From the clock dialog's 7-byte date/time record: same field order, but
    // weekdays Sunday 1 .. Saturday 7 and the low byte of the full year.
    void ConvertFrom(const BYTE* pSource);
    // From a local calendar time.
    void SetTime(const CTime& time);
    // The local calendar time of the record (year + 2000); the daylight-saving
    // state is left to the calendar conversion.
    CTime GetTime() const;
    // The clock dialog's 12-byte date/time value: hour, minute, second, 0,
    // day, month, year byte, five zero bytes.
    std::array<BYTE, 12> PackDateTime() const;

    bool operator==(const CDeviceClock&) const = default;

private:
    std::array<BYTE, kSize> m_arrData{};
};
