#pragma once
// A local time of the given fields, the rest zero, for the tests that build
// special days, summer times and clock values. Filled here by hand rather
// than by the code under test, so that a fault there cannot move the
// expected values along with it.

#include <ctime>

namespace testtime {

inline std::tm At(int nYear, int nMonth, int nDay, int nHour = 0, int nMinute = 0)
{
    std::tm tm {};
    tm.tm_year = nYear - 1900;
    tm.tm_mon = nMonth - 1;
    tm.tm_mday = nDay;
    tm.tm_hour = nHour;
    tm.tm_min = nMinute;
    return tm;
}

}  // namespace testtime
