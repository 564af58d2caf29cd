#pragma once
// A calendar time as the framework's time class holds it: seconds since
// 1970-01-01 00:00:00 UTC in 64 bits, read and built as local time through
// the C runtime and the current TZ.
//
// A time that has no local form (before the epoch, or built from fields the
// runtime cannot convert) holds -1; GetLocalTm then fails and the formatting
// functions give an empty text for it, as they do for the zero time.

#include "platform/base/TimeSpan.h"

#include <compare>
#include <cstdint>
#include <ctime>

class CTime
{
public:
    CTime() = default;
    explicit CTime(std::int64_t nTime) : m_nTime(nTime) {}
    // Local time of the given fields (month 1..12, day 1..31); nDST < 0 lets
    // the runtime decide whether daylight saving applies. Fields outside
    // their ranges (years 1900..3000) give the invalid time -1.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond, int nDST = -1);

    static CTime GetCurrentTime();

    std::int64_t GetTime() const { return m_nTime; }

    // The local broken-down time; false when the time has no local form.
    bool GetLocalTm(std::tm& tm) const;

    int GetYear() const;
    int GetMonth() const;      // 1..12
    int GetDay() const;        // 1..31
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 = Sunday .. 7 = Saturday

    CTime operator+(CTimeSpan span) const { return CTime(m_nTime + span.GetTotalSeconds()); }
    CTime operator-(CTimeSpan span) const { return CTime(m_nTime - span.GetTotalSeconds()); }
    CTimeSpan operator-(CTime other) const { return CTimeSpan(m_nTime - other.m_nTime); }
    CTime& operator+=(CTimeSpan span)
    {
        m_nTime += span.GetTotalSeconds();
        return *this;
    }
    CTime& operator-=(CTimeSpan span)
    {
        m_nTime -= span.GetTotalSeconds();
        return *this;
    }

    auto operator<=>(const CTime&) const = default;
    bool operator==(const CTime&) const = default;

private:
    std::tm ToLocalFields() const;

    std::int64_t m_nTime = 0;
};
