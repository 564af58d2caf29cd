#pragma once
// Date texts as the fields show them (day.month.year, two-digit day and
// month), written out here rather than through the formatter under test.

#include <cstdio>
#include <ctime>
#include <string>

namespace datetext {

inline std::string Dotted(int nYear, int nMonth, int nDay)
{
    char sz[40];
    std::snprintf(sz, sizeof sz, "%02d.%02d.%04d", nDay, nMonth, nYear);
    return sz;
}

// The local date at the moment, in the zone TZ names now.
inline std::string LocalDotted(std::time_t t)
{
    ::tzset();
    std::tm tm{};
    ::localtime_r(&t, &tm);
    return Dotted(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

// True when the text is today's date as of a moment between the two; a
// test that reads the clock around midnight accepts either day.
inline bool IsLocalDateBetween(const std::string& strText, std::time_t tBefore, std::time_t tAfter)
{
    return strText == LocalDotted(tBefore) || strText == LocalDotted(tAfter);
}

}  // namespace datetext
