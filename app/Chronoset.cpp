#include "app/Chronoset.h"

#include "model/ProgressInfo.h"

#include <cstdio>

CChronoset::CChronoset()
{
    m_oDayRoutines.SetChronoset(this);
    m_oGroupDataAddresses.SetOwner(this);
    m_oWeekRoutine.SetChronoset(this);
    m_oQuantities.SetOwner(this);
}

CChronoset::~CChronoset()
{
    m_arrObjectTypeIds.clear();
}

CObject* CChronoset::CreateObject()
{
    return new CChronoset;
}

std::string CChronoset::GetIndividualAddressText() const
{
    if (m_nIndividualAddress == -1)
        return "--.--.---";
    const auto nAddress = static_cast<DWORD>(m_nIndividualAddress);
    char szText[16];
    std::snprintf(szText, sizeof szText, "%02u.%02u.%03u", static_cast<unsigned>((nAddress >> 12) & 0x0F),
                  static_cast<unsigned>((nAddress >> 8) & 0x0F), static_cast<unsigned>(nAddress & 0xFF));
    return szText;
}

void CChronoset::ShowDeviceInfo(CProgressInfo* pProgress) const
{
    if (!pProgress)
        return;
    pProgress->SetTopText(m_strManufacturerName + "\n" + m_strDeviceTitle + "\n" + m_strApplicationName);
}
