#include "model/DaySwitchTime.h"

#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/HexFields.h"
#include "model/IChronosetServices.h"
#include "model/SwitchProgramReferences.h"
#include "model/Utils.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/archive/Archive.h"

#include <cstdio>
#include <string>

namespace {

// The value as "%02d" writes it.
void AppendTwoDigits(std::string& strText, unsigned nValue)
{
    if (nValue < 10)
        strText += '0';
    strText += std::to_string(nValue);
}

}  // namespace

WORD MakeSwitchTimeWord(WORD nHour, WORD nMinute, bool bSendOnChange, int nDayRoutine)
{
    return static_cast<WORD>((bSendOnChange ? 1 : 0) | ((nMinute << 1) & 0x7E) | ((nHour << 7) & 0xF80) |
                             ((static_cast<unsigned>(nDayRoutine) << 12) & 0xF000));
}

CDaySwitchTime::CDaySwitchTime(const CDaySwitchTime& other)
    : CObject(other),
      m_nHour(other.m_nHour),
      m_nMinute(other.m_nMinute),
      m_pGroupDataAddress(other.m_pGroupDataAddress),
      m_value(other.m_value),
      m_nExponent(other.m_nExponent),
      m_bSendOnChange(other.m_bSendOnChange),
      m_pDayRoutine(other.m_pDayRoutine),
      m_bHoldsUse(false)
{
}

CObject* CDaySwitchTime::CreateObject()
{
    return new CDaySwitchTime;
}

CGroupDataAddresses* CDaySwitchTime::GetGroupDataAddresses() const
{
    if (m_pDayRoutine && m_pDayRoutine->GetDayRoutines())
        return m_pDayRoutine->GetDayRoutines()->GetGroupDataAddresses();
    return g_pChronosetServices ? g_pChronosetServices->GetGroupDataAddresses() : nullptr;
}

void CDaySwitchTime::ReleaseGroupAddressUse()
{
    // Only a use this object registered is given back, and only to an
    // address that still exists.
    if (m_pGroupDataAddress && m_bHoldsUse && IsListedGroupAddress(GetGroupDataAddresses(), m_pGroupDataAddress))
        m_pGroupDataAddress->RemoveUse(GAU_SWITCHTIME);
    m_bHoldsUse = false;
}

void CDaySwitchTime::SetGroupAddress(CGroupDataAddress* pAddress)
{
    ReleaseGroupAddressUse();
    if (pAddress)
        pAddress->AddUse(GAU_SWITCHTIME);
    m_pGroupDataAddress = pAddress;
    m_bHoldsUse = pAddress != nullptr;
}

WORD CDaySwitchTime::GetTimeWord(int nDayRoutine) const
{
    return MakeSwitchTimeWord(m_nHour, m_nMinute, m_bSendOnChange != 0, nDayRoutine);
}

std::string CDaySwitchTime::ToHexString(int nDayRoutine) const
{
    DWORD dwReference = 0xFFFFFFFF;
    unsigned nInvalid = 0;
    if (m_pGroupDataAddress) {
        dwReference = static_cast<DWORD>(m_pGroupDataAddress->GetReference());
        nInvalid = m_pGroupDataAddress->IsInvalid() ? 1 : 0;
    }
    // "%04x%04x%04x%02x%02x%02x%02x", written field by field.
    std::string strRecord;
    strRecord.reserve(20);
    AppendHexPadded(strRecord, static_cast<unsigned>(GetTimeWord(nDayRoutine)), 4);
    AppendHexPadded(strRecord, static_cast<unsigned>(dwReference & 0xFFFF), 4);
    AppendHexPadded(strRecord, static_cast<unsigned>(dwReference >> 16), 4);
    AppendHexPadded(strRecord, nInvalid, 2);
    AppendHexPadded(strRecord, static_cast<unsigned>(m_nExponent), 2);
    AppendHexPadded(strRecord, static_cast<unsigned>(m_value.dwValue & 0xFF), 2);
    AppendHexPadded(strRecord, static_cast<unsigned>((m_value.dwValue >> 8) & 0xFF), 2);
    return strRecord;
}

bool CDaySwitchTime::ToBuffer(BYTE* pBuffer, int nLength) const
{
    if (!pBuffer || nLength <= 4 || !m_pDayRoutine) {
        LOG_ERROR("invalid buffer");
        return false;
    }
    if (!m_pGroupDataAddress || m_pGroupDataAddress->IsInvalid()) {
        // The table is prefilled with 0xFF; the value bytes stay as they are.
        pBuffer[0] = 0xFF;
        pBuffer[1] = 0xFF;
        pBuffer[2] = 0xFF;
        return true;
    }
    pBuffer[2] = static_cast<BYTE>(m_pGroupDataAddress->GetObjectNumber() & 0xFF);
    EncodeDptValue(m_value.dwValue, static_cast<int>(m_pGroupDataAddress->GetObjectType()), pBuffer + 3);
    const WORD wTime = GetTimeWord(m_pDayRoutine->GetNumber());
    pBuffer[0] = static_cast<BYTE>(wTime & 0xFF);
    pBuffer[1] = static_cast<BYTE>(wTime >> 8);
    return true;
}

void CDaySwitchTime::StoreToArchive(CArchive& ar) const
{
    if (!ar.IsStoring())
        return;
    ar << m_nHour << m_nMinute;
    StoreArchivedGroupAddress(ar, m_pGroupDataAddress);
    ar << m_nExponent << static_cast<WORD>(m_value.dwValue & 0xFFFF) << static_cast<WORD>(m_bSendOnChange ? 1 : 0);
}

void CDaySwitchTime::LoadFromArchive(CArchive& ar)
{
    if (!ar.IsLoading())
        return;
    ar >> m_nHour >> m_nMinute;
    CGroupDataAddress* pAddress = ReadArchivedGroupAddress(ar, GetGroupDataAddresses());
    SetGroupAddress(pAddress);

    WORD wValue = 0;
    WORD wSendOnChange = 0;
    ar >> m_nExponent >> wValue >> wSendOnChange;
    m_value.dwValue = wValue;
    m_bSendOnChange = wSendOnChange != 0 ? 1 : 0;
}

void CDaySwitchTime::ExportCsv(std::string& strFile) const
{
    // Appended piece by piece: the export has a line per switching time.
    strFile += '"';
    AppendTwoDigits(strFile, m_nHour);
    strFile += ':';
    AppendTwoDigits(strFile, m_nMinute);
    strFile += "\",";
    if (m_pGroupDataAddress) {
        const CGroupDataAddress& address = *m_pGroupDataAddress;
        strFile += '"';
        strFile += address.GetName();
        strFile += "\",\"";
        strFile += address.GetAddressText(false);
        strFile += "\",\"";
        address.AppendTypeText(strFile);
        strFile += "\",\"";
        strFile += FormatValue(static_cast<int>(address.GetObjectType()), static_cast<int>(address.GetSubType()),
                               m_value.dwValue, true);
        strFile += "\",";
    } else {
        strFile += "\"\",\"\",\"\",\"\",";
    }
    strFile += '"';
    if (m_bSendOnChange)
        AppendResString(strFile, 808, "Ja");
    else
        AppendResString(strFile, 807, "Nein");
    strFile += "\"\n";
}
