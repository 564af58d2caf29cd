#include "access/DeviceStatus.h"

#include "common/ResString.h"

#include <algorithm>
#include <cstring>

std::string CDeviceStatus::GetDayRoutineTypeText() const
{
    switch (m_arrData[10]) {
    case 0:
        return LoadResString(40010);
    case 1:
        return LoadResString(802);
    case 2:
        return LoadResString(803);
    default:
        return LoadResString(801);
    }
}

std::string CDeviceStatus::GetTimeModeText() const
{
    switch (GetTimeMode()) {
    case 0:
        return LoadResString(806);
    case 1:
        return LoadResString(805);
    default:
        return LoadResString(804);
    }
}

int CDeviceStatus::GetTrim() const
{
    return (m_arrData[8] & 0x80) ? -static_cast<int>(m_arrData[7]) : m_arrData[7];
}

void CDeviceStatus::SetTrim(int nTrim)
{
    nTrim = std::clamp(nTrim, -255, 255);
    if (nTrim < 0) {
        m_arrData[7] = static_cast<BYTE>(-nTrim);
        m_arrData[8] |= 0x80;
    } else {
        m_arrData[7] = static_cast<BYTE>(nTrim);
        m_arrData[8] = 0;
    }
}

CDeviceClock CDeviceStatus::GetClock() const
{
    CDeviceClock clock;
    std::memcpy(clock.GetData(), m_arrData.data(), CDeviceClock::kSize);
    return clock;
}

void CDeviceStatus::SetClock(const CDeviceClock& clock)
{
    std::memcpy(m_arrData.data(), clock.GetData(), CDeviceClock::kSize);
}
