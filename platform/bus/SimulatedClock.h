#pragma once
// The real-time clock of the simulated device. It keeps the device time it
// was last given (in milliseconds since 2000-01-01 00:00:00 of the device's
// own calendar, without time zones) together with the moment of the wall
// clock at which it was given, and runs on from there: a read at wall-clock
// time t gives the set time plus the elapsed time, corrected by the trim
// (seconds per month of 30 days, positive runs faster).
//
// The weekday is kept as written and moves on with every day that passes,
// as an RTC chip does; it is not derived from the date.
//
// The clock record: hour, minute, second, weekday (Monday 1 .. Sunday 7),
// day, month (1..12), year - 2000.

#include "platform/base/WinTypes.h"

#include <array>

class CSimulatedClock
{
public:
    using Record = std::array<BYTE, 7>;

    static constexpr LONGLONG kMonthMilliseconds = 30LL * 24 * 3600 * 1000;

    // 2000-01-01 00:00:00, a Saturday, not set, running from wall-clock 0.
    CSimulatedClock() = default;

    // A fresh device's clock starts at its default time at that moment.
    void Start(LONGLONG nNowMs);

    // Sets the clock to the record at that moment and marks it set; false
    // (nothing changed) when the record is not a valid date and time.
    bool Set(const Record& arrRecord, LONGLONG nNowMs);
    Record Read(LONGLONG nNowMs) const;

    int GetTrim() const { return m_nTrim; }
    // Changes the rate from now on; the time so far keeps the old rate.
    void SetTrim(int nTrim, LONGLONG nNowMs);
    bool IsSet() const { return m_bSet; }

    static bool IsValid(const Record& arrRecord);

    // The stored form (state file).
    LONGLONG GetBaseMs() const { return m_nBaseMs; }
    BYTE GetBaseWeekday() const { return m_nBaseWeekday; }
    LONGLONG GetSetAtMs() const { return m_nSetAtMs; }
    // The stored times lie within this many milliseconds (10000 years) of
    // their epochs, so that reading the clock at any wall-clock time of that
    // span, trim included, stays within 64 bits.
    static constexpr LONGLONG kMaxStoredMs = 10000LL * 366 * 24 * 3600 * 1000;
    // False when the values are out of range.
    bool Restore(LONGLONG nBaseMs, BYTE nBaseWeekday, LONGLONG nSetAtMs, int nTrim, bool bSet);

private:
    LONGLONG DeviceMs(LONGLONG nNowMs) const;
    void Rebase(LONGLONG nNowMs);

    LONGLONG m_nBaseMs = 0;
    BYTE m_nBaseWeekday = 6;
    LONGLONG m_nSetAtMs = 0;
    int m_nTrim = 0;
    bool m_bSet = false;
};
