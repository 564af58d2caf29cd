#include "model/DayRoutine.h"

#include "model/DayRoutines.h"
#include "model/DaySwitchTime.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/IChronosetServices.h"
#include "model/SwitchProgramReferences.h"
#include "model/Utils.h"
#include "common/Log.h"
#include "common/ProgressInfo.h"
#include "common/ResString.h"
#include "platform/archive/Archive.h"
#include "report/ReportTable.h"

#include <algorithm>
#include <cstdio>

CDayRoutine::~CDayRoutine()
{
    for (CDaySwitchTime* pSwitchTime : m_lstSwitchTimes)
        delete pSwitchTime;
}

CObject* CDayRoutine::CreateObject()
{
    return new CDayRoutine;
}

CGroupDataAddresses* CDayRoutine::GetGroupDataAddresses() const
{
    if (m_pDayRoutines)
        return m_pDayRoutines->GetGroupDataAddresses();
    return g_pChronosetServices ? g_pChronosetServices->GetGroupDataAddresses() : nullptr;
}

void CDayRoutine::ReleaseTriggerUse()
{
    if (m_pTriggerGroupAddress && m_bHoldsTriggerUse &&
        IsListedGroupAddress(GetGroupDataAddresses(), m_pTriggerGroupAddress))
        m_pTriggerGroupAddress->RemoveUse(GAU_DAYROUTINE_TRIGGER);
    m_bHoldsTriggerUse = false;
}

void CDayRoutine::SetTriggerGroupAddress(CGroupDataAddress* pAddress)
{
    ReleaseTriggerUse();
    if (pAddress) {
        // An address triggers one routine at most: the use stays with the
        // routine that had it first (the address logs the attempt).
        m_bHoldsTriggerUse = !pAddress->HasUsage(GAU_DAYROUTINE_TRIGGER);
        pAddress->AddUse(GAU_DAYROUTINE_TRIGGER);
    }
    m_pTriggerGroupAddress = pAddress;
}

void CDayRoutine::ClearTriggerGroupAddress()
{
    m_pTriggerGroupAddress = nullptr;
    m_bHoldsTriggerUse = false;
}

bool CDayRoutine::UsesGroupAddress(const CGroupDataAddress* pAddress) const
{
    if (!pAddress || !pAddress->HasUsage(GAU_SWITCHTIME))
        return false;
    return std::any_of(m_lstSwitchTimes.begin(), m_lstSwitchTimes.end(),
                       [pAddress](const CDaySwitchTime* p) { return p && p->GetGroupAddress() == pAddress; });
}

CDaySwitchTime* CDayRoutine::AddSwitchTime(const CDaySwitchTime* pTemplate)
{
    const int nTotal = m_pDayRoutines ? m_pDayRoutines->GetSwitchTimeCount() : GetSwitchTimeCount();
    if (nTotal >= CDayRoutines::GetMaxSwitchTimes())
        return nullptr;

    auto* pSwitchTime = static_cast<CDaySwitchTime*>(CDaySwitchTime::CreateObject());
    pSwitchTime->SetDayRoutine(this);
    if (pTemplate) {
        // A template from the clipboard holds its address without a use; the
        // address may have been deleted since it was copied.
        CGroupDataAddress* pAddress = pTemplate->GetGroupAddress();
        if (pAddress && !IsListedGroupAddress(GetGroupDataAddresses(), pAddress)) {
            LOG_WARNING("switching time copied without its group address, which no longer exists");
            pAddress = nullptr;
        }
        pSwitchTime->SetGroupAddress(pAddress);
        pSwitchTime->SetValue(pTemplate->GetValue());
        pSwitchTime->SetExponent(pTemplate->GetExponent());
        pSwitchTime->SetHour(pTemplate->GetHour());
        pSwitchTime->SetMinute(pTemplate->GetMinute());
        pSwitchTime->SetSendOnChange(pTemplate->GetSendOnChange());
    }
    m_lstSwitchTimes.push_back(pSwitchTime);
    return pSwitchTime;
}

void CDayRoutine::RemoveSwitchTime(CDaySwitchTime* pSwitchTime)
{
    auto it = std::find(m_lstSwitchTimes.begin(), m_lstSwitchTimes.end(), pSwitchTime);
    if (!pSwitchTime || it == m_lstSwitchTimes.end())
        return;

    CGroupDataAddress* pAddress = pSwitchTime->GetGroupAddress();
    const bool bHeld = pSwitchTime->HoldsGroupAddressUse();
    pSwitchTime->ReleaseGroupAddressUse();
    CGroupDataAddresses* pLists = GetGroupDataAddresses();
    if (pAddress && bHeld && pLists && pLists->IsInList(pAddress) && pAddress->IsInvalid() &&
        !pAddress->HasUsage(GAU_ANY)) {
        // An address of the invalid list lives only as long as it is used.
        pLists->Remove(pAddress, false);
        delete pAddress;
        pSwitchTime->ClearGroupAddress();
    }
    m_lstSwitchTimes.erase(it);
}

void CDayRoutine::ReleaseUses()
{
    for (CDaySwitchTime* pSwitchTime : m_lstSwitchTimes)
        if (pSwitchTime)
            pSwitchTime->ReleaseGroupAddressUse();
    ReleaseTriggerUse();
}

std::string CDayRoutine::GetSwitchTimeText(const CDaySwitchTime* pSwitchTime, int nColumn)
{
    if (!pSwitchTime)
        return "-";
    if (nColumn == 0) {
        char szTime[16];
        std::snprintf(szTime, sizeof szTime, "%02d:%02d", static_cast<int>(pSwitchTime->GetHour()),
                      static_cast<int>(pSwitchTime->GetMinute()));
        return szTime;
    }
    if (nColumn == 5)
        return pSwitchTime->GetSendOnChange() ? GetResString(808, "Ja") : GetResString(807, "Nein");

    const CGroupDataAddress* pAddress = pSwitchTime->GetGroupAddress();
    if (!pAddress)
        return "-";
    switch (nColumn) {
    case 1:
        return pAddress->GetName();
    case 2:
        return GetDptTypeName(static_cast<int>(pAddress->GetObjectType()));
    case 3:
        return pAddress->GetAddressText(false);
    case 4:
        return FormatValue(static_cast<int>(pAddress->GetObjectType()), static_cast<int>(pAddress->GetSubType()),
                           pSwitchTime->GetValue().dwValue, true);
    default:
        return "-";
    }
}

// ------------------------------------------------------------ data file

void CDayRoutine::StoreToArchive(CArchive& ar) const
{
    if (!ar.IsStoring())
        return;
    ar << m_strName << static_cast<WORD>(m_nNumber);
    StoreArchivedGroupAddress(ar, m_pTriggerGroupAddress);
    ar << static_cast<DWORD>(m_lstSwitchTimes.size());
    for (const CDaySwitchTime* pSwitchTime : m_lstSwitchTimes)
        pSwitchTime->StoreToArchive(ar);
}

void CDayRoutine::LoadFromArchive(CArchive& ar)
{
    if (!ar.IsLoading())
        return;
    std::string strName;
    WORD wNumber = 0;
    ar >> strName >> wNumber;
    m_strName = strName;

    // The number indexes the device tables: refuse what does not fit them.
    const auto nNumber = static_cast<SHORT>(wNumber);
    if (nNumber < 1 || nNumber > CDayRoutines::GetMaxCount()) {
        LOG_ERROR("day routine number %d in the data file is outside 1..%d", static_cast<int>(nNumber),
                  CDayRoutines::GetMaxCount());
        throw CArchiveException(CArchiveException::badFormat);
    }
    if (m_pDayRoutines) {
        const CDayRoutine* pOther = m_pDayRoutines->FindDayRoutine(nNumber);
        if (pOther && pOther != this) {
            LOG_ERROR("day routine number %d appears twice in the data file", static_cast<int>(nNumber));
            throw CArchiveException(CArchiveException::badFormat);
        }
    }
    m_nNumber = nNumber;

    SetTriggerGroupAddress(ReadArchivedGroupAddress(ar, GetGroupDataAddresses()));

    DWORD dwCount = 0;
    ar >> dwCount;
    for (DWORD i = 0; i < dwCount; ++i) {
        CDaySwitchTime* pSwitchTime = AddSwitchTime(nullptr);
        if (!pSwitchTime) {
            LOG_ERROR("the data file holds more than %d switching times", CDayRoutines::GetMaxSwitchTimes());
            throw CArchiveException(CArchiveException::badFormat);
        }
        pSwitchTime->LoadFromArchive(ar);
    }
}

// ------------------------------------------------------------ export and report

void CDayRoutine::ExportCsvLine(std::string& strFile) const
{
    const CGroupDataAddress* pTrigger = m_pTriggerGroupAddress;
    strFile += "\"" + FormatTwoDigits(m_nNumber) + "\",\"" + m_strName + "\",\"" +
               (pTrigger ? pTrigger->GetName() : std::string()) + "\",\"" +
               (pTrigger ? pTrigger->GetAddressText(false) : std::string()) + "\"\n";
}

void CDayRoutine::ExportCsvSwitchTimes(CProgressInfo* pProgress, std::string& strFile) const
{
    strFile += "\"" + GetResString(40111, "Tagesablauf") + " - " + m_strName + "\"\n";
    strFile += "\"" + GetResString(40136, "Zeit") + "\",\"" + GetResString(40106, "Gruppenadresse") + "\",\"" +
               GetResString(40103, "Nr") + "\",\"" + GetResString(40107, "Typ") + "\",\"" +
               GetResString(40108, "Wert") + "\",\"" + GetResString(40109, "SbÄ") + "\"\n";
    for (const CDaySwitchTime* pSwitchTime : m_lstSwitchTimes) {
        pSwitchTime->ExportCsv(strFile);
        if (pProgress)
            pProgress->Step(1);
    }
}

void CDayRoutine::AddReport(CParamReport* pReport, IReportDC* pDC, int nWidth)
{
    if (!pReport || !pDC)
        return;
    const ReportRow arrHeadings = {
        GetResString(40105, "Uhrzeit"), GetResString(40106, "Gruppenadresse"), GetResString(40107, "Typ"),
        GetResString(40103, "Nr"),      GetResString(40108, "Wert"),           GetResString(40109, "SbÄ"),
    };
    std::vector<ReportRow> arrRows;
    arrRows.reserve(m_lstSwitchTimes.size());
    for (const CDaySwitchTime* pSwitchTime : m_lstSwitchTimes) {
        ReportRow arrRow;
        for (int nColumn = 0; nColumn < 6; ++nColumn)
            arrRow.push_back(GetSwitchTimeText(pSwitchTime, nColumn));
        arrRows.push_back(std::move(arrRow));
    }
    AddReportTableSection(*pReport, *pDC, nWidth, GetResString(40111, "Tagesablauf") + " - " + m_strName,
                          arrHeadings, arrRows);
}
