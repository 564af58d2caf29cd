#include "platform/bus/SimulatedClock.h"

namespace {

constexpr LONGLONG kDayMs = 24LL * 3600 * 1000;

LONGLONG FloorDiv(LONGLONG a, LONGLONG b)
{
    LONGLONG q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

bool IsLeapYear(int nYear)
{
    return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
}

int DaysInMonth(int nYear, int nMonth)
{
    static constexpr int s_arrDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (nMonth == 2 && IsLeapYear(nYear)) ? 29 : s_arrDays[nMonth - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's
// algorithm).
constexpr LONGLONG DaysFromCivil(LONGLONG y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const LONGLONG era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<LONGLONG>(doe) - 719468;
}

void CivilFromDays(LONGLONG z, LONGLONG& y, unsigned& m, unsigned& d)
{
    z += 719468;
    const LONGLONG era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<LONGLONG>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

constexpr LONGLONG kEpoch2000Days = DaysFromCivil(2000, 1, 1);

}  // namespace

void CSimulatedClock::Start(LONGLONG nNowMs)
{
    m_nBaseMs = 0;
    m_nBaseWeekday = 6;
    m_nSetAtMs = nNowMs;
    m_bSet = false;
}

bool CSimulatedClock::IsValid(const Record& arrRecord)
{
    int nMonth = arrRecord[5];
    int nDay = arrRecord[4];
    return arrRecord[0] <= 23 && arrRecord[1] <= 59 && arrRecord[2] <= 59 && arrRecord[3] >= 1 &&
           arrRecord[3] <= 7 && nMonth >= 1 && nMonth <= 12 && nDay >= 1 &&
           nDay <= DaysInMonth(2000 + arrRecord[6], nMonth);
}

bool CSimulatedClock::Set(const Record& arrRecord, LONGLONG nNowMs)
{
    if (!IsValid(arrRecord))
        return false;
    LONGLONG nDays = DaysFromCivil(2000 + arrRecord[6], arrRecord[5], arrRecord[4]) - kEpoch2000Days;
    m_nBaseMs = nDays * kDayMs + (arrRecord[0] * 3600LL + arrRecord[1] * 60LL + arrRecord[2]) * 1000;
    m_nBaseWeekday = arrRecord[3];
    m_nSetAtMs = nNowMs;
    m_bSet = true;
    return true;
}

LONGLONG CSimulatedClock::DeviceMs(LONGLONG nNowMs) const
{
    LONGLONG nElapsed = nNowMs - m_nSetAtMs;
    // Trim seconds per month: elapsed * trim * 1000 / month-in-ms.
    LONGLONG nCorrection = nElapsed * m_nTrim / (kMonthMilliseconds / 1000);
    return m_nBaseMs + nElapsed + nCorrection;
}

CSimulatedClock::Record CSimulatedClock::Read(LONGLONG nNowMs) const
{
    LONGLONG nMs = DeviceMs(nNowMs);
    LONGLONG nDays = FloorDiv(nMs, kDayMs);
    LONGLONG nSecondOfDay = (nMs - nDays * kDayMs) / 1000;
    LONGLONG nYear = 0;
    unsigned nMonth = 0, nDay = 0;
    CivilFromDays(nDays + kEpoch2000Days, nYear, nMonth, nDay);
    LONGLONG nDaysGone = nDays - FloorDiv(m_nBaseMs, kDayMs);
    LONGLONG nWeekday = ((m_nBaseWeekday - 1 + nDaysGone) % 7 + 7) % 7 + 1;
    return {static_cast<BYTE>(nSecondOfDay / 3600),
            static_cast<BYTE>(nSecondOfDay / 60 % 60),
            static_cast<BYTE>(nSecondOfDay % 60),
            static_cast<BYTE>(nWeekday),
            static_cast<BYTE>(nDay),
            static_cast<BYTE>(nMonth),
            static_cast<BYTE>((nYear - 2000) & 0xFF)};
}

void CSimulatedClock::Rebase(LONGLONG nNowMs)
{
    LONGLONG nMs = DeviceMs(nNowMs);
    LONGLONG nDaysGone = FloorDiv(nMs, kDayMs) - FloorDiv(m_nBaseMs, kDayMs);
    m_nBaseWeekday = static_cast<BYTE>(((m_nBaseWeekday - 1 + nDaysGone) % 7 + 7) % 7 + 1);
    m_nBaseMs = nMs;
    m_nSetAtMs = nNowMs;
}

void CSimulatedClock::SetTrim(int nTrim, LONGLONG nNowMs)
{
    if (nTrim < -255)
        nTrim = -255;
    if (nTrim > 255)
        nTrim = 255;
    Rebase(nNowMs);
    m_nTrim = nTrim;
}

bool CSimulatedClock::Restore(LONGLONG nBaseMs, BYTE nBaseWeekday, LONGLONG nSetAtMs, int nTrim, bool bSet)
{
    if (nBaseWeekday < 1 || nBaseWeekday > 7 || nTrim < -255 || nTrim > 255)
        return false;
    if (nBaseMs < -kMaxStoredMs || nBaseMs > kMaxStoredMs || nSetAtMs < -kMaxStoredMs || nSetAtMs > kMaxStoredMs)
        return false;
    m_nBaseMs = nBaseMs;
    m_nBaseWeekday = nBaseWeekday;
    m_nSetAtMs = nSetAtMs;
    m_nTrim = nTrim;
    m_bSet = bSet;
    return true;
}
