#include "access/DeviceClock.h"

void CDeviceClock::ConvertFrom(const BYTE* pSource)
{
    if (!pSource)
        return;
    m_arrData[Hour] = pSource[Hour];
    m_arrData[Minute] = pSource[Minute];
    m_arrData[Second] = pSource[Second];
    m_arrData[Weekday] = pSource[Weekday] == 1 ? 7 : static_cast<BYTE>(pSource[Weekday] - 1);
    m_arrData[Day] = pSource[Day];
    m_arrData[Month] = pSource[Month];
    // The low byte of the full year + 48 is the full year - 2000, modulo 256.
    m_arrData[Year] = static_cast<BYTE>(pSource[Year] + 48);
}

void CDeviceClock::SetTime(const CTime& time)
{
    std::tm tm{};
    if (!time.GetLocalTm(tm))
        return;
    m_arrData[Hour] = static_cast<BYTE>(tm.tm_hour);
    m_arrData[Minute] = static_cast<BYTE>(tm.tm_min);
    m_arrData[Second] = static_cast<BYTE>(tm.tm_sec);
    m_arrData[Weekday] = tm.tm_wday == 0 ? 7 : static_cast<BYTE>(tm.tm_wday);
    m_arrData[Day] = static_cast<BYTE>(tm.tm_mday);
    m_arrData[Month] = static_cast<BYTE>(tm.tm_mon + 1);
    m_arrData[Year] = static_cast<BYTE>(tm.tm_year + 1900 - 2000);
}

CTime CDeviceClock::GetTime() const
{
    return CTime(m_arrData[Year] + 2000, m_arrData[Month], m_arrData[Day], m_arrData[Hour], m_arrData[Minute],
                 m_arrData[Second]);
}

std::array<BYTE, 12> CDeviceClock::PackDateTime() const
{
    std::array<BYTE, 12> arrPacked{};
    arrPacked[0] = m_arrData[Hour];
    arrPacked[1] = m_arrData[Minute];
    arrPacked[2] = m_arrData[Second];
    arrPacked[4] = m_arrData[Day];
    arrPacked[5] = m_arrData[Month];
    arrPacked[6] = m_arrData[Year];
    return arrPacked;
}
