#include "platform/base/TimeSpan.h"

CTimeSpan::CTimeSpan(long nDays, int nHours, int nMinutes, int nSeconds)
    : m_nSpan(static_cast<std::int64_t>(nDays) * 86400 + static_cast<std::int64_t>(nHours) * 3600 +
              static_cast<std::int64_t>(nMinutes) * 60 + nSeconds)
{
}
