#include "model/DayRoutines.h"

#include "access/BusAccess.h"
#include "access/DownloadProcedure.h"
#include "access/EtsDataAccess.h"
#include "common/ProgressSteps.h"
#include "model/DaySwitchTime.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/HexFields.h"
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
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kEntryLength = 12;   // one routine in "DayRoutines"
constexpr std::size_t kRecordLength = 20;  // one switching time in "SwitchTime"
constexpr const char* kUnusedEntry = "00FFFFFFFF00";

using progress::Step;

void ShowText(CProgressInfo* pProgress, UINT nId, const char* pszText)
{
    if (pProgress)
        pProgress->SetBottomText(GetResString(nId, pszText));
}

void ShowDayRoutines(CProgressInfo* pProgress) { ShowText(pProgress, 108, "Tagesabläufe"); }
void ShowDisplayNames(CProgressInfo* pProgress) { ShowText(pProgress, 136, "Anzeigenamen der Tagesabläufe"); }
void ShowSwitchTimes(CProgressInfo* pProgress) { ShowText(pProgress, 40033, "Schaltzeiten"); }

// The fixed-width hex field at pos (either case); false when the text ends
// before the field does.
bool ReadHexField(const std::string& strText, std::size_t pos, std::size_t nWidth, DWORD& dwValue)
{
    if (pos >= strText.size() || strText.size() - pos < nWidth)
        return false;
    dwValue = HexFieldValue(strText.data() + pos, nWidth);
    return true;
}

LONG MakeReference(DWORD dwLow, DWORD dwHigh)
{
    return static_cast<LONG>(((dwHigh & 0xFFFF) << 16) | (dwLow & 0xFFFF));
}


}  // namespace

CDayRoutines::~CDayRoutines()
{
    RemoveAll();
}

CObject* CDayRoutines::CreateObject()
{
    return new CDayRoutines;
}

CGroupDataAddresses* CDayRoutines::GetGroupDataAddresses() const
{
    IChronosetServices* pChronoset = m_pChronoset ? m_pChronoset : g_pChronosetServices;
    return pChronoset ? pChronoset->GetGroupDataAddresses() : nullptr;
}

bool CDayRoutines::IsListed(const CDayRoutine* pDayRoutine) const
{
    return pDayRoutine &&
           std::find(m_lstDayRoutines.begin(), m_lstDayRoutines.end(), pDayRoutine) != m_lstDayRoutines.end();
}

// ------------------------------------------------------------ routines

CDayRoutine* CDayRoutines::CreateDayRoutine()
{
    if (GetCount() >= kMaxDayRoutines) {
        LOG_DETAIL("Try to create more then %d day routines", kMaxDayRoutines);
        return nullptr;
    }
    int nNumber = 1;
    while (nNumber <= kMaxDayRoutines && FindDayRoutine(nNumber))
        ++nNumber;
    if (nNumber > kMaxDayRoutines) {
        LOG_DETAIL("Try to create more then %d day routines", kMaxDayRoutines);
        return nullptr;
    }
    auto* pDayRoutine = static_cast<CDayRoutine*>(CDayRoutine::CreateObject());
    pDayRoutine->SetDayRoutines(this);
    pDayRoutine->SetNumber(static_cast<SHORT>(nNumber));
    m_lstDayRoutines.push_back(pDayRoutine);
    return pDayRoutine;
}

CDayRoutine* CDayRoutines::FindDayRoutine(int nNumber) const
{
    if (nNumber < 1 || nNumber > kMaxDayRoutines)
        return nullptr;
    for (CDayRoutine* pDayRoutine : m_lstDayRoutines)
        if (pDayRoutine && pDayRoutine->GetNumber() == nNumber)
            return pDayRoutine;
    return nullptr;
}

void CDayRoutines::DeleteDayRoutine(CDayRoutine* pDayRoutine)
{
    if (!IsListed(pDayRoutine))
        return;
    CGroupDataAddress* pTrigger = pDayRoutine->GetTriggerGroupAddress();
    const bool bHeld = pDayRoutine->HoldsTriggerUse();
    pDayRoutine->ReleaseTriggerUse();
    CGroupDataAddresses* pLists = GetGroupDataAddresses();
    if (pTrigger && bHeld && pLists && pLists->IsInList(pTrigger) && pTrigger->IsInvalid() &&
        !pTrigger->HasUsage(GAU_ANY)) {
        // An address of the invalid list lives only as long as it is used.
        pLists->Remove(pTrigger, false);
        delete pTrigger;
        pDayRoutine->ClearTriggerGroupAddress();
    }
    m_lstDayRoutines.remove(pDayRoutine);
}

void CDayRoutines::DeleteDayRoutineByNumber(int nNumber)
{
    DeleteDayRoutine(FindDayRoutine(nNumber));
}

void CDayRoutines::RemoveAll()
{
    for (CDayRoutine* pDayRoutine : m_lstDayRoutines)
        if (pDayRoutine)
            pDayRoutine->ReleaseUses();
    for (CDayRoutine* pDayRoutine : m_lstDayRoutines)
        delete pDayRoutine;
    m_lstDayRoutines.clear();
}

int CDayRoutines::GetTriggeredDayRoutineNumber(const CGroupDataAddress* pAddress) const
{
    if (!pAddress)
        return 0;
    for (const CDayRoutine* pDayRoutine : m_lstDayRoutines)
        if (pDayRoutine && pDayRoutine->GetTriggerGroupAddress() == pAddress)
            return pDayRoutine->GetNumber();
    return 0;
}

int CDayRoutines::GetSwitchTimeCount() const
{
    int nCount = 0;
    for (const CDayRoutine* pDayRoutine : m_lstDayRoutines)
        if (pDayRoutine)
            nCount += pDayRoutine->GetSwitchTimeCount();
    return nCount;
}

int CDayRoutines::CheckSwitchTimeConflict(const CGroupDataAddress* pA, const CGroupDataAddress* pB) const
{
    if (!pA || !pB || !pA->HasUsage(GAU_SWITCHTIME) || !pB->HasUsage(GAU_SWITCHTIME))
        return 1;
    for (const CDayRoutine* pDayRoutine : m_lstDayRoutines) {
        if (!pDayRoutine)
            continue;
        const std::list<CDaySwitchTime*>& lstTimes = pDayRoutine->GetSwitchTimes();
        for (const CDaySwitchTime* pOnA : lstTimes) {
            if (!pOnA || pOnA->GetGroupAddress() != pA)
                continue;
            for (const CDaySwitchTime* pOnB : lstTimes) {
                if (pOnB && pOnB != pOnA && pOnB->GetGroupAddress() == pB && pOnB->GetHour() == pOnA->GetHour() &&
                    pOnB->GetMinute() == pOnA->GetMinute())
                    return 0;
            }
        }
    }
    return 1;
}

std::string CDayRoutines::GetColumnText(const CDayRoutine* pDayRoutine, int nColumn) const
{
    if (!pDayRoutine)
        return "-";
    const CGroupDataAddress* pTrigger = pDayRoutine->GetTriggerGroupAddress();
    switch (nColumn) {
    case 0:
        return pDayRoutine->GetName();
    case 1:
        return FormatTwoDigits(pDayRoutine->GetNumber());
    case 2:
        return pTrigger ? pTrigger->GetName() : GetResString(107, "*leer*");
    case 3:
        return pTrigger ? pTrigger->GetAddressText(false) : std::string();
    default:
        return "-";
    }
}

// ------------------------------------------------------------ host parameters

void CDayRoutines::SetDayRoutineParameter(LONG nId, const std::string& strText)
{
    m_nDayRoutinesId = nId;
    m_strDayRoutines = strText;
}

void CDayRoutines::AddDisplayNameParameter(LONG nId, const std::string& strText, int nIndex)
{
    AddStringLongObject(m_arrDisplayNames, nId, strText, nIndex);
}

void CDayRoutines::AddSwitchTimeParameter(LONG nId, const std::string& strText, int nIndex)
{
    AddStringLongObject(m_arrSwitchTimes, nId, strText, nIndex);
}

void CDayRoutines::CopyParameters(const CDayRoutines& other)
{
    m_nDayRoutinesId = other.m_nDayRoutinesId;
    CopyStringLongObjectArray(m_arrDisplayNames, other.m_arrDisplayNames);
    CopyStringLongObjectArray(m_arrSwitchTimes, other.m_arrSwitchTimes);
}

int CDayRoutines::LoadFromParameters(CProgressInfo* pProgress, CEtsDataAccess* /*pAccess*/)
{
    int nResult = 0;
    ShowDayRoutines(pProgress);
    if (m_strDayRoutines.empty()) {
        LOG_ERROR("no DayRoutines parameter data");
        nResult = 5;
    } else if (!InsertDayRoutineFromString(pProgress, m_strDayRoutines)) {
        LOG_ERROR("error inserting dayroutine objects");
        nResult = 5;
    } else {
        ShowSwitchTimes(pProgress);
        if (!LoadSwitchTimeParameters(pProgress)) {
            LOG_ERROR("error inserting dayroutine objects");
            nResult = 5;
        }
    }
    // All or nothing.
    if (nResult != 0)
        RemoveAll();
    return nResult;
}

bool CDayRoutines::InsertDayRoutineFromString(CProgressInfo* pProgress, const std::string& strText)
{
    static const char* const kszFunction = "CDayRoutines::InsertDayRoutineFromString";
    if (strText.empty())
        return false;
    CGroupDataAddresses* pLists = GetGroupDataAddresses();
    const std::size_t nEntries = strText.size() / kEntryLength;
    for (std::size_t i = 0; i < nEntries && i < static_cast<std::size_t>(kMaxDayRoutines); ++i) {
        const std::size_t pos = i * kEntryLength;
        DWORD dwUsed = 0;
        if (!ReadHexField(strText, pos, 2, dwUsed)) {
            LOG_ERROR("%s: empty data string", kszFunction);
            return false;
        }
        if (dwUsed == 0) {
            LOG_DETAIL("Loading DayRoutine %d - not selected", static_cast<int>(i));
            continue;
        }
        DWORD dwLow = 0, dwHigh = 0, dwInvalid = 0;
        if (!ReadHexField(strText, pos + 2, 4, dwLow) || !ReadHexField(strText, pos + 6, 4, dwHigh) ||
            !ReadHexField(strText, pos + 10, 2, dwInvalid)) {
            LOG_ERROR("%s: empty data string", kszFunction);
            return false;
        }
        const LONG nReference = MakeReference(dwLow, dwHigh);

        // A number already taken would give two routines one number.
        CDayRoutine* pDayRoutine = FindDayRoutine(static_cast<int>(i + 1)) ? nullptr : CreateDayRoutine();
        if (!pDayRoutine) {
            LOG_ERROR("unable to insert dayroutine object");
            return false;
        }
        pDayRoutine->SetNumber(static_cast<SHORT>(i + 1));

        CGroupDataAddress* pTrigger = nullptr;
        if (nReference != -1 && pLists)
            pTrigger = pLists->FindByReference(nReference, dwInvalid != 0);
        pDayRoutine->SetTriggerGroupAddress(pTrigger);

        if (i < m_arrDisplayNames.size()) {
            const CStringLongObject* pName = m_arrDisplayNames[i].get();
            if (!pName) {
                LOG_ERROR("internal data error");
                return false;
            }
            pDayRoutine->SetName(pName->GetText());
        }
        LOG_DETAIL("Loading DayRoutine %d - selected - assigned subgroup-id = %ld", static_cast<int>(i),
                   static_cast<long>(nReference));
    }
    Step(pProgress, 1);
    return true;
}

bool CDayRoutines::LoadSwitchTimeParameters(CProgressInfo* pProgress)
{
    if (m_arrSwitchTimes.empty())
        return false;
    bool bResult = true;
    std::size_t nVisited = 0;
    for (const auto& pParameter : m_arrSwitchTimes) {
        if (!pParameter) {
            LOG_ERROR("internal data error");
            bResult = false;
            break;
        }
        if (pParameter->GetText().empty())
            break;
        if (!InsertSwitchTimesFromString(pParameter->GetText())) {
            LOG_ERROR("failed to insert switchtimes");
            bResult = false;
            break;
        }
        ++nVisited;
        Step(pProgress, 1);
    }
    Step(pProgress, static_cast<DWORD>(m_arrSwitchTimes.size() - nVisited));
    return bResult;
}

bool CDayRoutines::InsertSwitchTimesFromString(const std::string& strText)
{
    static const char* const kszFunction = "CDayRoutines::InsertSwitchTimesFromString";
    if (strText.empty())
        return true;
    CGroupDataAddresses* pLists = GetGroupDataAddresses();
    const std::size_t nRecords = strText.size() / kRecordLength;
    for (std::size_t i = 0; i < nRecords && i < static_cast<std::size_t>(kMaxSwitchTimes); ++i) {
        const std::size_t pos = i * kRecordLength;
        DWORD dwTime = 0;
        if (!ReadHexField(strText, pos, 4, dwTime)) {
            LOG_ERROR("%s: empty data string", kszFunction);
            return false;
        }
        if (dwTime == SWITCHTIME_UNDEFINED) {
            LOG_DETAIL("Loading SwitchTime %d - not defined", static_cast<int>(i));
            continue;
        }
        // The record's own number decides its routine, not the parameter.
        CDayRoutine* pDayRoutine = FindDayRoutine(static_cast<int>((dwTime >> 12) & 0x0F));
        if (!pDayRoutine) {
            LOG_ERROR("Switchtime not assigned to dayroutine");
            continue;
        }
        DWORD dwLow = 0, dwHigh = 0, dwInvalid = 0, dwExponent = 0, dwValue = 0;
        if (!ReadHexField(strText, pos + 4, 4, dwLow) || !ReadHexField(strText, pos + 8, 4, dwHigh) ||
            !ReadHexField(strText, pos + 12, 2, dwInvalid) || !ReadHexField(strText, pos + 14, 2, dwExponent) ||
            !ReadHexField(strText, pos + 16, 4, dwValue)) {
            LOG_ERROR("%s: empty data string", kszFunction);
            return false;
        }
        // The value is stored low byte first.
        const DWORD dwSwapped = ((dwValue & 0xFF) << 8) | ((dwValue >> 8) & 0xFF);
        const LONG nReference = MakeReference(dwLow, dwHigh);

        CDaySwitchTime* pSwitchTime = pDayRoutine->AddSwitchTime(nullptr);
        if (!pSwitchTime) {
            LOG_ERROR("unable to insert switchtime object");
            return false;
        }
        pSwitchTime->SetSendOnChange(static_cast<BYTE>(dwTime & 0x01));
        pSwitchTime->SetMinute(static_cast<WORD>((dwTime >> 1) & 0x3F));
        pSwitchTime->SetHour(static_cast<WORD>((dwTime >> 7) & 0x1F));
        CGroupDataAddress* pAddress = nullptr;
        if (nReference != -1 && pLists)
            pAddress = pLists->FindByReference(nReference, dwInvalid != 0);
        pSwitchTime->SetGroupAddress(pAddress);
        pSwitchTime->SetExponent(static_cast<BYTE>(dwExponent));
        pSwitchTime->SetValue(SwitchTimeValue {dwSwapped});
        LOG_DETAIL("Loading SwitchTime %d - defined - assigned GroupAdress subgroup-id = %ld - "
                   "CommunicationObjectValue = %d",
                   static_cast<int>(i), static_cast<long>(nReference), static_cast<int>(dwSwapped));
    }
    return true;
}

int CDayRoutines::SaveToEts(CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    int nResult = WriteDayRoutineParameter(pProgress, pAccess);
    if (nResult == 0)
        nResult = WriteDisplayNames(pProgress, pAccess);
    if (nResult == 0)
        nResult = WriteSwitchTimes(pProgress, pAccess);
    return nResult;
}

int CDayRoutines::WriteDayRoutineParameter(CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    ShowDayRoutines(pProgress);
    std::string strText;
    for (int i = 0; i < kMaxDayRoutines; ++i)
        strText += kUnusedEntry;
    for (const CDayRoutine* pDayRoutine : m_lstDayRoutines) {
        const int nNumber = pDayRoutine ? pDayRoutine->GetNumber() : 0;
        if (nNumber < 1 || nNumber > kMaxDayRoutines) {
            LOG_ERROR("internal data error");
            return 5;
        }
        std::string strEntry = "01FFFFFFFF00";
        if (const CGroupDataAddress* pTrigger = pDayRoutine->GetTriggerGroupAddress()) {
            const auto dwReference = static_cast<DWORD>(pTrigger->GetReference());
            char szEntry[16];
            std::snprintf(szEntry, sizeof szEntry, "01%04x%04x%02x", static_cast<unsigned>(dwReference & 0xFFFF),
                          static_cast<unsigned>(dwReference >> 16), pTrigger->IsInvalid() ? 1u : 0u);
            strEntry = szEntry;
        }
        strText.replace(static_cast<std::size_t>(nNumber - 1) * kEntryLength, kEntryLength, strEntry);
    }
    if (!pAccess || !pAccess->SetDeviceParameterValue(m_nDayRoutinesId, strText)) {
        LOG_ERROR("internal data error");
        return 5;
    }
    Step(pProgress, 1);
    return 0;
}

int CDayRoutines::WriteDisplayNames(CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    ShowDisplayNames(pProgress);
    for (std::size_t i = 0; i < m_arrDisplayNames.size() && i < static_cast<std::size_t>(kMaxDayRoutines); ++i) {
        CStringLongObject* pParameter = m_arrDisplayNames[i].get();
        if (!pParameter) {
            LOG_ERROR("internal data error");
            return 5;
        }
        // Parameters of unused numbers keep the host's text.
        if (const CDayRoutine* pDayRoutine = FindDayRoutine(static_cast<int>(i + 1))) {
            pParameter->SetText(pDayRoutine->GetName());
            if (!pAccess || !pAccess->SetDeviceParameterValue(pParameter->GetId(), pParameter->GetText())) {
                LOG_ERROR("failed to set DayRoutineDisplayName-%d parameter to value %s", static_cast<int>(i),
                          pParameter->GetText().c_str());
                return 5;
            }
        }
        Step(pProgress, 1);
    }
    return 0;
}

int CDayRoutines::BuildSwitchTimeParameterStrings(CProgressInfo* pProgress)
{
    if (m_arrSwitchTimes.size() != static_cast<std::size_t>(kSwitchTimeParameters))
        return 5;
    for (const auto& pParameter : m_arrSwitchTimes) {
        if (!pParameter) {
            LOG_ERROR("internal data error");
            return 5;
        }
        pParameter->SetText(std::string());
        Step(pProgress, 1);
    }
    std::size_t nParameter = 0;
    int nInParameter = 0;
    for (const CDayRoutine* pDayRoutine : m_lstDayRoutines) {
        if (!pDayRoutine) {
            LOG_ERROR("internal data error");
            return 5;
        }
        for (const CDaySwitchTime* pSwitchTime : pDayRoutine->GetSwitchTimes()) {
            if (!pSwitchTime || nParameter >= m_arrSwitchTimes.size()) {
                LOG_ERROR("internal data error");
                return 5;
            }
            CStringLongObject& parameter = *m_arrSwitchTimes[nParameter];
            parameter.SetText(parameter.GetText() + pSwitchTime->ToHexString(pDayRoutine->GetNumber()));
            if (++nInParameter == kSwitchTimesPerParameter) {
                ++nParameter;
                nInParameter = 0;
            }
        }
    }
    Step(pProgress, 1);
    return 0;
}

int CDayRoutines::WriteSwitchTimes(CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    ShowSwitchTimes(pProgress);
    const int nResult = BuildSwitchTimeParameterStrings(pProgress);
    if (nResult != 0)
        return nResult;
    for (const auto& pParameter : m_arrSwitchTimes) {
        if (!pParameter) {
            LOG_ERROR("internal data error");
            return 5;
        }
        if (!pAccess || !pAccess->SetDeviceParameterValue(pParameter->GetId(), pParameter->GetText())) {
            LOG_ERROR("failed to set switchtime parameter");
            return 5;
        }
        Step(pProgress, 1);
    }
    return 0;
}

// ------------------------------------------------------------ data file

void CDayRoutines::StoreToArchive(CArchive& ar, CProgressInfo* pProgress) const
{
    if (!ar.IsStoring())
        return;
    ShowDayRoutines(pProgress);
    ar << static_cast<DWORD>(m_lstDayRoutines.size());
    for (const CDayRoutine* pDayRoutine : m_lstDayRoutines) {
        pDayRoutine->StoreToArchive(ar);
        Step(pProgress, 1);
    }
    Step(pProgress, static_cast<DWORD>(std::max(0, kMaxDayRoutines - GetCount())));
}

void CDayRoutines::LoadFromArchive(CArchive& ar, CProgressInfo* pProgress)
{
    if (!ar.IsLoading())
        return;
    ShowDayRoutines(pProgress);
    try {
        DWORD dwCount = 0;
        ar >> dwCount;
        if (dwCount > static_cast<DWORD>(kMaxDayRoutines)) {
            LOG_ERROR("the data file holds %lu day routines, more than %d", static_cast<unsigned long>(dwCount),
                      kMaxDayRoutines);
            throw CArchiveException(CArchiveException::badFormat);
        }
        for (DWORD i = 0; i < dwCount; ++i) {
            CDayRoutine* pDayRoutine = CreateDayRoutine();
            if (!pDayRoutine) {
                LOG_ERROR("the data file holds more day routines than the set may hold");
                throw CArchiveException(CArchiveException::badFormat);
            }
            pDayRoutine->LoadFromArchive(ar);
            Step(pProgress, 1);
        }
        Step(pProgress, static_cast<DWORD>(std::max(0, kMaxDayRoutines - GetCount())));
    } catch (const CArchiveException&) {
        // A file that cannot be read whole leaves no half routine, and no
        // group address keeps a use for what was dropped.
        RemoveAll();
        throw;
    }
}

// ------------------------------------------------------------ text export and report

void CDayRoutines::ExportCsv(CProgressInfo* pProgress, std::string& strFile) const
{
    ShowDayRoutines(pProgress);
    strFile += "\"" + GetResString(108, "Tagesabläufe") + "\"\n";
    const std::string strNumber = GetResString(40103, "Nr");
    strFile += "\"" + strNumber + "\",\"" + GetResString(40102, "Name") + "\",\"" + GetResString(40104, "Auslöser") +
               "\",\"" + strNumber + "\"\n";
    for (const CDayRoutine* pDayRoutine : m_lstDayRoutines)
        pDayRoutine->ExportCsvLine(strFile);

    ShowSwitchTimes(pProgress);
    for (const CDayRoutine* pDayRoutine : m_lstDayRoutines) {
        strFile += "\n";
        pDayRoutine->ExportCsvSwitchTimes(pProgress, strFile);
    }
    // A full set of switching times always accounts for the same steps.
    Step(pProgress, static_cast<DWORD>(std::max(0, kMaxSwitchTimes - GetSwitchTimeCount())));
}

void CDayRoutines::AddReport(CParamReport* pReport, IReportDC* pDC, int nWidth)
{
    if (!pReport || !pDC)
        return;
    const ReportRow arrHeadings = {GetResString(40102, "Name"), GetResString(40103, "Nr"),
                                   GetResString(40104, "Auslöser"), GetResString(40103, "Nr")};
    std::vector<ReportRow> arrRows;
    arrRows.reserve(m_lstDayRoutines.size());
    for (const CDayRoutine* pDayRoutine : m_lstDayRoutines) {
        ReportRow arrRow;
        for (int nColumn = 0; nColumn < 4; ++nColumn)
            arrRow.push_back(GetColumnText(pDayRoutine, nColumn));
        arrRows.push_back(std::move(arrRow));
    }
    AddReportTableSection(*pReport, *pDC, nWidth, GetResString(108, "Tagesabläufe"), arrHeadings, arrRows);
}

// ------------------------------------------------------------ download

bool CDayRoutines::InitDownload(CProgressInfo* pProgress)
{
    return InitDayRoutinesDownload(pProgress) && InitSwitchTimesDownload(pProgress);
}

bool CDayRoutines::InitDayRoutinesDownload(CProgressInfo* pProgress)
{
    LOG_DETAIL("CDayRoutines::InitDayRoutinesDownload");
    m_pTriggerTable = std::make_unique<BYTE[]>(kTriggerTableSize);
    std::memset(m_pTriggerTable.get(), 0xFF, kTriggerTableSize);
    for (const CDayRoutine* pDayRoutine : m_lstDayRoutines) {
        if (!pDayRoutine)
            continue;
        const int nNumber = pDayRoutine->GetNumber();
        const CGroupDataAddress* pTrigger = pDayRoutine->GetTriggerGroupAddress();
        if (nNumber < 1 || nNumber > kTriggerTableSize || !pTrigger || pTrigger->IsInvalid())
            continue;
        const auto nObject = static_cast<BYTE>(pTrigger->GetObjectNumber() & 0xFF);
        m_pTriggerTable[static_cast<std::size_t>(nNumber - 1)] = nObject;
        LOG_DETAIL("Dayroutine %s number %d, assigned CO = %d", pDayRoutine->GetName().c_str(), nNumber,
                   static_cast<int>(nObject));
    }
    Step(pProgress, 1);
    return true;
}

int CDayRoutines::CompareSwitchTimes(const CDaySwitchTime* pA, const CDaySwitchTime* pB)
{
    if (!pA || !pB)
        return pA ? -1 : (pB ? 1 : 0);
    const CGroupDataAddress* pAddressA = pA->GetGroupAddress();
    const CGroupDataAddress* pAddressB = pB->GetGroupAddress();
    if (!pAddressA || !pAddressB)
        return pAddressA ? -1 : (pAddressB ? 1 : 0);
    if (pAddressA->IsInvalid() != pAddressB->IsInvalid())
        return pAddressA->IsInvalid() ? 1 : -1;
    const int nRoutineA = pA->GetDayRoutine() ? pA->GetDayRoutine()->GetNumber() : 0;
    const int nRoutineB = pB->GetDayRoutine() ? pB->GetDayRoutine()->GetNumber() : 0;
    if (nRoutineA != nRoutineB)
        return nRoutineA < nRoutineB ? -1 : 1;
    if (pA->GetHour() != pB->GetHour())
        return pA->GetHour() < pB->GetHour() ? -1 : 1;
    if (pA->GetMinute() != pB->GetMinute())
        return pA->GetMinute() < pB->GetMinute() ? -1 : 1;
    return 0;
}

bool CDayRoutines::InitSwitchTimesDownload(CProgressInfo* pProgress)
{
    m_pSwitchTimeTable = std::make_unique<BYTE[]>(kSwitchTimeTableSize);
    std::memset(m_pSwitchTimeTable.get(), 0xFF, kSwitchTimeTableSize);

    std::vector<const CDaySwitchTime*> arrEntries;
    arrEntries.reserve(kMaxSwitchTimes);
    for (const CDayRoutine* pDayRoutine : m_lstDayRoutines) {
        if (!pDayRoutine) {
            LOG_ERROR("internal data error");
            return false;
        }
        for (const CDaySwitchTime* pSwitchTime : pDayRoutine->GetSwitchTimes()) {
            if (!pSwitchTime || arrEntries.size() >= static_cast<std::size_t>(kMaxSwitchTimes)) {
                LOG_ERROR("internal data error");
                return false;
            }
            arrEntries.push_back(pSwitchTime);
        }
    }
    Step(pProgress, 1);

    // Equal entries keep the routines' order, so the same data always gives
    // the same table.
    std::stable_sort(arrEntries.begin(), arrEntries.end(),
                     [](const CDaySwitchTime* pA, const CDaySwitchTime* pB) { return CompareSwitchTimes(pA, pB) < 0; });
    Step(pProgress, 1);

    bool bResult = true;
    for (std::size_t i = 0; i < arrEntries.size(); ++i) {
        if (!arrEntries[i]->ToBuffer(m_pSwitchTimeTable.get() + i * kSwitchTimeSlotSize, kSwitchTimeSlotSize)) {
            bResult = false;
            break;
        }
    }
    Step(pProgress, 1);
    return bResult;
}

int CDayRoutines::WriteToDevice(CProgressInfo* pProgress, CBusAccess* pBusAccess)
{
    const int nResult = WriteDayRoutinesToDevice(pProgress, pBusAccess);
    if (nResult != 0)
        return nResult;
    return WriteSwitchTimesToDevice(pProgress, pBusAccess);
}

int CDayRoutines::WriteDayRoutinesToDevice(CProgressInfo* pProgress, CBusAccess* pBusAccess)
{
    ShowDayRoutines(pProgress);
    Step(pProgress, 2);
    if (!m_pTriggerTable || !pBusAccess)
        return 5;
    return pBusAccess->WriteDeviceMemory(kTriggerTableAddress, m_pTriggerTable.get(), kTriggerTableSize, 1);
}

int CDayRoutines::WriteSwitchTimesToDevice(CProgressInfo* pProgress, CBusAccess* pBusAccess)
{
    ShowSwitchTimes(pProgress);
    Step(pProgress, 2);
    if (!m_pSwitchTimeTable || !pBusAccess)
        return 5;
    return pBusAccess->WriteDeviceMemory(kSwitchTimeTableAddress, m_pSwitchTimeTable.get(), kSwitchTimeTableSize, 1);
}

int CDayRoutines::AddToDownloadProcedure(CProgressInfo* pProgress, CDownloadProcedure* pProcedure)
{
    const int nResult = AddDayRoutinesToProcedure(pProgress, pProcedure);
    if (nResult != 0)
        return nResult;
    return AddSwitchTimesToProcedure(pProgress, pProcedure);
}

int CDayRoutines::AddDayRoutinesToProcedure(CProgressInfo* pProgress, CDownloadProcedure* pProcedure)
{
    ShowDayRoutines(pProgress);
    if (!m_pTriggerTable || !pProcedure)
        return 5;
    return pProcedure->WriteToMemory(m_pTriggerTable.get(), kTriggerTableAddress, kTriggerTableSize);
}

int CDayRoutines::AddSwitchTimesToProcedure(CProgressInfo* pProgress, CDownloadProcedure* pProcedure)
{
    ShowSwitchTimes(pProgress);
    if (!m_pSwitchTimeTable || !pProcedure)
        return 5;
    return pProcedure->WriteToMemory(m_pSwitchTimeTable.get(), kSwitchTimeTableAddress, kSwitchTimeTableSize);
}

void CDayRoutines::FreeDownloadBuffers()
{
    m_pTriggerTable.reset();
    m_pSwitchTimeTable.reset();
}
