#pragma once
// A signed span of whole seconds, as the framework's time-span class: the
// step of the time edits and the difference of two CTime values.

#include <compare>
#include <cstdint>

class CTimeSpan
{
public:
    CTimeSpan() = default;
    explicit CTimeSpan(std::int64_t nSeconds) : m_nSpan(nSeconds) {}
    CTimeSpan(long nDays, int nHours, int nMinutes, int nSeconds);

    std::int64_t GetTotalSeconds() const { return m_nSpan; }
    std::int64_t GetTotalMinutes() const { return m_nSpan / 60; }
    std::int64_t GetTotalHours() const { return m_nSpan / 3600; }
    std::int64_t GetDays() const { return m_nSpan / 86400; }
    // The parts below a day, with the sign of the span.
    int GetHours() const { return static_cast<int>(GetTotalHours() - GetDays() * 24); }
    int GetMinutes() const { return static_cast<int>(GetTotalMinutes() - GetTotalHours() * 60); }
    int GetSeconds() const { return static_cast<int>(GetTotalSeconds() - GetTotalMinutes() * 60); }

    CTimeSpan operator+(CTimeSpan other) const { return CTimeSpan(m_nSpan + other.m_nSpan); }
    CTimeSpan operator-(CTimeSpan other) const { return CTimeSpan(m_nSpan - other.m_nSpan); }
    CTimeSpan operator-() const { return CTimeSpan(-m_nSpan); }
    CTimeSpan& operator+=(CTimeSpan other)
    {
        m_nSpan += other.m_nSpan;
        return *this;
    }
    CTimeSpan& operator-=(CTimeSpan other)
    {
        m_nSpan -= other.m_nSpan;
        return *this;
    }

    auto operator<=>(const CTimeSpan&) const = default;
    bool operator==(const CTimeSpan&) const = default;

private:
    std::int64_t m_nSpan = 0;
};
