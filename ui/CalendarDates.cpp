#include "ui/CalendarDates.h"

#include <algorithm>

namespace {

constexpr int kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

}  // namespace

bool IsLeapYear(int nYear) {
    return nYear % 4 == 0 && !(nYear % 100 == 0 && nYear % 400 != 0);
}

int GetDaysInMonth(int nYear, int nMonth) {
    if (nMonth < 1 || nMonth > 12) {
        return 0;
    }
    return (nMonth == 2 && IsLeapYear(nYear)) ? 29 : kDaysInMonth[nMonth - 1];
}

int GetWeekday(int nYear, int nMonth, int nDay) {
    nMonth = std::clamp(nMonth, 1, 12);
    const int c = nYear - 1;
    int nDays = nDay + c + c / 4 - c / 100 + c / 400 + kDaysBeforeMonth[nMonth - 1];
    if (IsLeapYear(nYear) && nMonth > 2) {
        ++nDays;
    }
    return ((nDays % 7) + 7) % 7;
}

DWORD NormalizeDate(int nYear, int nMonth, int nDay) {
    nMonth = std::clamp(nMonth, 1, 12);
    nDay = std::clamp(nDay, 1, GetDaysInMonth(nYear, nMonth));
    return PackDate(nYear, nMonth, nDay);
}

DWORD GetNextDay(DWORD dwDate) {
    int nYear = GetPackedYear(dwDate);
    int nMonth = GetPackedMonth(dwDate);
    int nDay = GetPackedDay(dwDate) + 1;
    if (nDay > GetDaysInMonth(nYear, nMonth)) {
        nDay = 1;
        if (++nMonth > 12) {
            nMonth = 1;
            ++nYear;
        }
    }
    return PackDate(nYear, nMonth, nDay);
}

DWORD GetPreviousDay(DWORD dwDate) {
    int nYear = GetPackedYear(dwDate);
    int nMonth = GetPackedMonth(dwDate);
    int nDay = GetPackedDay(dwDate) - 1;
    if (nDay < 1) {
        if (--nMonth < 1) {
            nMonth = 12;
            --nYear;
        }
        nDay = GetDaysInMonth(nYear, nMonth);
    }
    return PackDate(nYear, nMonth, nDay);
}

DWORD AddDays(DWORD dwDate, int nDays) {
    for (; nDays > 0; --nDays) {
        dwDate = GetNextDay(dwDate);
    }
    for (; nDays < 0; ++nDays) {
        dwDate = GetPreviousDay(dwDate);
    }
    return dwDate;
}

DWORD GetNextMonth(DWORD dwDate) {
    int nYear = GetPackedYear(dwDate);
    int nMonth = GetPackedMonth(dwDate) + 1;
    if (nMonth > 12) {
        nMonth = 1;
        ++nYear;
    }
    return NormalizeDate(nYear, nMonth, GetPackedDay(dwDate));
}

DWORD GetPreviousMonth(DWORD dwDate) {
    int nYear = GetPackedYear(dwDate);
    int nMonth = GetPackedMonth(dwDate) - 1;
    if (nMonth < 1) {
        nMonth = 12;
        --nYear;
    }
    return NormalizeDate(nYear, nMonth, GetPackedDay(dwDate));
}

DWORD GetNextYear(DWORD dwDate) {
    return NormalizeDate(GetPackedYear(dwDate) + 1, GetPackedMonth(dwDate), GetPackedDay(dwDate));
}

DWORD GetPreviousYear(DWORD dwDate) {
    return NormalizeDate(GetPackedYear(dwDate) - 1, GetPackedMonth(dwDate), GetPackedDay(dwDate));
}
