#include "platform/base/LocalTime.h"

#include <cstdlib>
#include <sys/time.h>

namespace platform {

SYSTEMTIME GetLocalTime()
{
    struct timeval tv {};
    ::gettimeofday(&tv, nullptr);
    std::tm tm = LocalTimeOf(tv.tv_sec);
    SYSTEMTIME st;
    st.wYear = static_cast<WORD>(tm.tm_year + 1900);
    st.wMonth = static_cast<WORD>(tm.tm_mon + 1);
    st.wDayOfWeek = static_cast<WORD>(tm.tm_wday);
    st.wDay = static_cast<WORD>(tm.tm_mday);
    st.wHour = static_cast<WORD>(tm.tm_hour);
    st.wMinute = static_cast<WORD>(tm.tm_min);
    st.wSecond = static_cast<WORD>(tm.tm_sec);
    st.wMilliseconds = static_cast<WORD>(tv.tv_usec / 1000);
    return st;
}

std::optional<std::string> GetTz()
{
    const char* tz = std::getenv("TZ");
    if (!tz)
        return std::nullopt;
    return std::string(tz);
}

void SetTz(const std::optional<std::string>& value)
{
    if (value && !value->empty())
        ::setenv("TZ", value->c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

std::tm BuildLocalFields(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond)
{
    std::tm tm {};
    tm.tm_year = nYear - 1900;
    tm.tm_mon = nMonth - 1;
    tm.tm_mday = nDay;
    tm.tm_hour = nHour;
    tm.tm_min = nMinute;
    tm.tm_sec = nSecond;
    return tm;
}

std::time_t MakeLocalTime(std::tm& tm)
{
    return std::mktime(&tm);
}

std::tm LocalTimeOf(std::time_t t)
{
    std::tm tm {};
    ::localtime_r(&t, &tm);
    return tm;
}

}  // namespace platform
