#pragma once
// A local time of the given fields, the rest zero, for the tests that build
// special days, summer times and clock values.

#include "platform/base/LocalTime.h"

namespace testtime {

inline std::tm At(int nYear, int nMonth, int nDay, int nHour = 0, int nMinute = 0)
{
    return platform::BuildLocalFields(nYear, nMonth, nDay, nHour, nMinute);
}

}  // namespace testtime
