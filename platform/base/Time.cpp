#include "platform/base/Time.h"

#include "platform/base/LocalTime.h"

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond, int nDST)
{
    if (nYear < 1900 || nYear > 3000 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31 || nHour < 0 ||
        nHour > 23 || nMinute < 0 || nMinute > 59 || nSecond < 0 || nSecond > 59) {
        m_nTime = -1;
        return;
    }
    std::tm tm = platform::BuildLocalFields(nYear, nMonth, nDay, nHour, nMinute, nSecond);
    tm.tm_isdst = nDST < 0 ? -1 : (nDST > 0 ? 1 : 0);
    const std::time_t t = platform::MakeLocalTime(tm);
    // The runtime's time has no form before the epoch.
    m_nTime = t < 0 ? -1 : static_cast<std::int64_t>(t);
}

CTime CTime::GetCurrentTime()
{
    return CTime(static_cast<std::int64_t>(std::time(nullptr)));
}

bool CTime::GetLocalTm(std::tm& tm) const
{
    if (m_nTime < 0)
        return false;
    tm = platform::LocalTimeOf(static_cast<std::time_t>(m_nTime));
    return true;
}

std::tm CTime::ToLocalFields() const
{
    std::tm tm{};
    GetLocalTm(tm);
    return tm;
}

int CTime::GetYear() const
{
    return ToLocalFields().tm_year + 1900;
}

int CTime::GetMonth() const
{
    return ToLocalFields().tm_mon + 1;
}

int CTime::GetDay() const
{
    return ToLocalFields().tm_mday;
}

int CTime::GetHour() const
{
    return ToLocalFields().tm_hour;
}

int CTime::GetMinute() const
{
    return ToLocalFields().tm_min;
}

int CTime::GetSecond() const
{
    return ToLocalFields().tm_sec;
}

int CTime::GetDayOfWeek() const
{
    return ToLocalFields().tm_wday + 1;
}
