#include "app/TimeZoneGuard.h"

#include "platform/base/LocalTime.h"

CTimeZoneGuard::~CTimeZoneGuard()
{
    RestoreTZ();
}

void CTimeZoneGuard::ClearTZ()
{
    m_strSavedTz = platform::GetTz().value_or(std::string());
    if (!m_strSavedTz.empty())
        platform::SetTz(std::nullopt);
}

void CTimeZoneGuard::RestoreTZ()
{
    if (!m_strSavedTz.empty())
        platform::SetTz(m_strSavedTz);
    m_strSavedTz.clear();
}
