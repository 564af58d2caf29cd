#pragma once
// Calendar arithmetic of the month calendar. Dates are packed into one
// 32-bit value, year in bits 16 to 31, month (1-12) in bits 8 to 15 and day
// in bits 0 to 7, so that packed dates compare in date order; 0 is no date.

#include "platform/base/WinTypes.h"

constexpr DWORD PackDate(int nYear, int nMonth, int nDay) {
    return (static_cast<DWORD>(nYear) << 16) | (static_cast<DWORD>(nMonth & 0xFF) << 8) |
           static_cast<DWORD>(nDay & 0xFF);
}
constexpr int GetPackedYear(DWORD dwDate) { return static_cast<int>(dwDate >> 16); }
constexpr int GetPackedMonth(DWORD dwDate) { return static_cast<int>((dwDate >> 8) & 0xFF); }
constexpr int GetPackedDay(DWORD dwDate) { return static_cast<int>(dwDate & 0xFF); }

bool IsLeapYear(int nYear);
// 0 for a month outside 1..12.
int GetDaysInMonth(int nYear, int nMonth);
// 0 = Sunday .. 6 = Saturday.
int GetWeekday(int nYear, int nMonth, int nDay);
// The date with month and day brought into range: the month to 1..12, the
// day to 1..the month's length.
DWORD NormalizeDate(int nYear, int nMonth, int nDay);

// Across month and year ends.
DWORD GetNextDay(DWORD dwDate);
DWORD GetPreviousDay(DWORD dwDate);
DWORD AddDays(DWORD dwDate, int nDays);
// Month and year steps keep the day, cut to the target month's length.
DWORD GetNextMonth(DWORD dwDate);
DWORD GetPreviousMonth(DWORD dwDate);
DWORD GetNextYear(DWORD dwDate);
DWORD GetPreviousYear(DWORD dwDate);
