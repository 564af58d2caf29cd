#pragma once
// Local time with milliseconds and the TZ variable, with Linux semantics:
// where the original cleared the zone by writing "TZ=" alone, this unsets it.

#include "platform/base/WinTypes.h"

#include <ctime>
#include <optional>
#include <string>

namespace platform {

struct SYSTEMTIME {
    WORD wYear = 0;
    WORD wMonth = 0;      // 1..12
    WORD wDayOfWeek = 0;  // 0 = Sunday
    WORD wDay = 0;
    WORD wHour = 0;
    WORD wMinute = 0;
    WORD wSecond = 0;
    WORD wMilliseconds = 0;
};

SYSTEMTIME GetLocalTime();

// The current TZ value, nothing when unset.
std::optional<std::string> GetTz();
// Sets TZ (an empty value or nothing unsets it) and lets the C runtime
// re-read it.
void SetTz(const std::optional<std::string>& value);

// The fields of a local time, the rest zero; tm_isdst 0 until the caller
// says otherwise.
std::tm BuildLocalFields(int nYear, int nMonth, int nDay, int nHour = 0, int nMinute = 0, int nSecond = 0);

// mktime / localtime_r over the current zone.
std::time_t MakeLocalTime(std::tm& tm);
std::tm LocalTimeOf(std::time_t t);

}  // namespace platform
