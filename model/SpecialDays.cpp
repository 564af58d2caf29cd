#include "model/SpecialDays.h"

#include "access/BusAccess.h"
#include "access/DownloadProcedure.h"
#include "access/EtsDataAccess.h"
#include "common/ProgressSteps.h"
#include "model/ArchiveSchema.h"
#include "model/CalendarRecord.h"
#include "model/CsvField.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/HexFields.h"
#include "model/IChronosetServices.h"
#include "model/Locale.h"
#include "model/Utils.h"
#include "common/Log.h"
#include "common/ProgressInfo.h"
#include "common/ResString.h"
#include "platform/archive/Archive.h"
#include "report/ReportTable.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using progress::Step;

std::string SpecialDaysTitle()
{
    return GetResString(40012, "Sondertage");
}

void ShowSpecialDays(CProgressInfo* pProgress)
{
    if (pProgress)
        pProgress->SetBottomText(SpecialDaysTitle());
}

// The slots left up to the capacity, for the progress.
DWORD SpecialDaySlotsLeft(int nCount)
{
    return nCount < CSpecialDays::kMaxSpecialDays ? static_cast<DWORD>(CSpecialDays::kMaxSpecialDays - nCount) : 0;
}

}  // namespace

CSpecialDays::~CSpecialDays()
{
    m_arrParameters.clear();
    RemoveAll();
}

CObject* CSpecialDays::CreateObject()
{
    return new CSpecialDays;
}

CDayRoutine* CSpecialDays::FindDayRoutine(int nNumber) const
{
    return m_pChronoset ? m_pChronoset->GetDayRoutines()->FindDayRoutine(nNumber) : nullptr;
}

// ------------------------------------------------------------ list

CSpecialDay* CSpecialDays::CreateSpecialDay()
{
    if (GetCount() >= kMaxSpecialDays)
        return nullptr;
    auto* pSpecialDay = new CSpecialDay(this);
    m_lstSpecialDays.push_back(pSpecialDay);
    return pSpecialDay;
}

bool CSpecialDays::RemoveSpecialDay(CSpecialDay* pSpecialDay)
{
    const auto it = std::find(m_lstSpecialDays.begin(), m_lstSpecialDays.end(), pSpecialDay);
    if (it == m_lstSpecialDays.end())
        return false;
    m_lstSpecialDays.erase(it);
    return true;
}

void CSpecialDays::RemoveAll()
{
    for (CSpecialDay* pSpecialDay : m_lstSpecialDays)
        delete pSpecialDay;
    m_lstSpecialDays.clear();
}

// ------------------------------------------------------------ host parameters

void CSpecialDays::AddParameter(LONG nId, const std::string& strText, int nIndex)
{
    AddStringLongObject(m_arrParameters, nId, strText, nIndex);
}

void CSpecialDays::CopyParameterObjects(const CSpecialDays& other)
{
    CopyStringLongObjectArray(m_arrParameters, other.m_arrParameters);
}

int CSpecialDays::CompleteEtsLoad(CProgressInfo* pProgress)
{
    ShowSpecialDays(pProgress);
    if (m_arrParameters.empty()) {
        LOG_ERROR("invalid specialday param count");
        return 5;
    }
    int nResult = 0;
    std::size_t nRead = 0;
    for (const auto& pParameter : m_arrParameters) {
        if (!pParameter) {
            LOG_ERROR("internal data error");
            nResult = 5;
            break;
        }
        // The texts are filled from the first on; an empty one ends them.
        if (pParameter->GetText().empty())
            break;
        if (!InsertSpecialDayFromString(pParameter->GetText())) {
            LOG_ERROR("failed to insert specialdays from parameterstring: %s", pParameter->GetText().c_str());
            nResult = 5;
            break;
        }
        ++nRead;
        Step(pProgress, 1);
    }
    Step(pProgress, static_cast<DWORD>(m_arrParameters.size() - nRead));
    return nResult;
}

bool CSpecialDays::InsertSpecialDayFromString(const std::string& strText)
{
    if (!m_pChronoset) {
        LOG_ERROR("internal data error");
        return false;
    }
    const std::size_t nRecords = std::min<std::size_t>(strText.size() / CALENDAR_RECORD_DIGITS, kDaysPerParameter);
    for (std::size_t i = 0; i < nRecords; ++i) {
        std::size_t pos = i * CALENDAR_RECORD_DIGITS;
        std::size_t posFirst = pos;
        DWORD dwFirst = 0;
        if (!ParseHexField(strText, posFirst, 2, dwFirst)) {
            LOG_ERROR("%s: empty data string", "CSpecialDays::InsertSpecialDayFromString");
            return false;
        }
        if (dwFirst == CALENDAR_RECORD_EMPTY)
            continue;
        std::tm tmStart {};
        std::tm tmEnd {};
        if (!ExtractCalendarFields(strText, pos, tmStart, "CSpecialDays::ExtractTimeFromString") ||
            !ExtractCalendarFields(strText, pos, tmEnd, "CSpecialDays::ExtractTimeFromString"))
            return false;
        DWORD dwRoutine = 0;
        if (!ParseHexField(strText, pos, 2, dwRoutine)) {
            LOG_ERROR("%s: empty data string", "CSpecialDays::InsertSpecialDayFromString");
            return false;
        }
        CSpecialDay* pSpecialDay = CreateSpecialDay();
        if (!pSpecialDay) {
            LOG_ERROR("failed to add specialday");
            return false;
        }
        pSpecialDay->SetStartTime(tmStart);
        pSpecialDay->SetEndTime(tmEnd);
        pSpecialDay->SetDayRoutine(FindDayRoutine(static_cast<int>(dwRoutine)));
    }
    return true;
}

int CSpecialDays::SaveToEts(CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    ShowSpecialDays(pProgress);
    if (m_arrParameters.empty())
        return 5;
    int nResult = 0;
    auto it = m_lstSpecialDays.begin();
    for (const auto& pParameter : m_arrParameters) {
        if (!pParameter) {
            LOG_ERROR("internal data error");
            nResult = 5;
            continue;
        }
        std::string strText;
        bool bComplete = true;
        for (int n = 0; n < kDaysPerParameter && it != m_lstSpecialDays.end(); ++n, ++it) {
            if (!*it) {
                LOG_ERROR("internal data error");
                bComplete = false;
                break;
            }
            strText += (*it)->GetParameterString();
        }
        if (!bComplete) {
            nResult = 5;
            continue;
        }
        pParameter->SetText(strText);
        if (!pAccess || !pAccess->SetDeviceParameterValue(pParameter->GetId(), strText)) {
            LOG_ERROR("failed to set group address parameter");
            nResult = 5;
            continue;
        }
        Step(pProgress, 1);
    }
    if (it != m_lstSpecialDays.end())
        LOG_WARNING("%d special days do not fit into the %d special-day parameters",
                    static_cast<int>(std::distance(it, m_lstSpecialDays.end())),
                    static_cast<int>(m_arrParameters.size()));
    return nResult;
}

// ------------------------------------------------------------ data file

void CSpecialDays::StoreToArchive(CArchive& ar, CProgressInfo* pProgress) const
{
    if (!ar.IsStoring())
        return;
    ShowSpecialDays(pProgress);
    ar << static_cast<DWORD>(m_lstSpecialDays.size());
    for (const CSpecialDay* pSpecialDay : m_lstSpecialDays) {
        StoreCalendarWords(ar, pSpecialDay->GetStartTime());
        StoreCalendarWords(ar, pSpecialDay->GetEndTime());
        const CDayRoutine* pDayRoutine = pSpecialDay->GetDayRoutine();
        ar << (pDayRoutine ? static_cast<WORD>(pDayRoutine->GetNumber()) : kNoRoutine);
        Step(pProgress, 1);
    }
    Step(pProgress, SpecialDaySlotsLeft(GetCount()));
}

void CSpecialDays::LoadFromArchive(CArchive& ar, CProgressInfo* pProgress)
{
    if (!ar.IsLoading())
        return;
    ShowSpecialDays(pProgress);
    const bool bWithMinutes = g_nArchiveSchema > 0x10001;
    DWORD dwCount = 0;
    ar >> dwCount;
    DWORD dwDropped = 0;
    for (DWORD i = 0; i < dwCount; ++i) {
        std::tm tmStart {};
        std::tm tmEnd {};
        WORD wRoutine = kNoRoutine;
        LoadCalendarWords(ar, tmStart, bWithMinutes);
        LoadCalendarWords(ar, tmEnd, bWithMinutes);
        ar >> wRoutine;
        // Records the list cannot hold are read all the same, so that the
        // records behind them stay in step.
        CSpecialDay* pSpecialDay = CreateSpecialDay();
        if (!pSpecialDay) {
            ++dwDropped;
            continue;
        }
        pSpecialDay->SetStartTime(tmStart);
        pSpecialDay->SetEndTime(tmEnd);
        pSpecialDay->SetDayRoutine(wRoutine == kNoRoutine ? nullptr : FindDayRoutine(wRoutine));
        Step(pProgress, 1);
    }
    if (dwDropped)
        LOG_WARNING("%lu special days of the data file beyond %d dropped", static_cast<unsigned long>(dwDropped),
                    kMaxSpecialDays);
    Step(pProgress, SpecialDaySlotsLeft(GetCount()));
}

// ------------------------------------------------------------ text export and report

void CSpecialDays::ExportCsv(CProgressInfo* pProgress, std::string& strFile) const
{
    ShowSpecialDays(pProgress);
    strFile += CsvField(SpecialDaysTitle()) + "\n";
    strFile += CsvField(GetResString(40123, "Beginn")) + "," + CsvField(GetResString(40124, "Ende")) + "," +
               CsvField(GetResString(40111, "Tagesablauf")) + "\n";
    for (const CSpecialDay* pSpecialDay : m_lstSpecialDays) {
        strFile += pSpecialDay->GetExportText() + "\n";
        Step(pProgress, 1);
    }
    Step(pProgress, SpecialDaySlotsLeft(GetCount()));
}

std::string CSpecialDays::GetReportCellText(const CSpecialDay* pSpecialDay, int nColumn)
{
    if (!pSpecialDay)
        return "-";
    auto dateCell = [](const std::string& strPrefix, const std::tm& tm) {
        std::string strDate;
        std::string strTime;
        TmToDate(strDate, tm);
        TmToDateText(strTime, tm);
        // The weekday comes from the date itself: a loaded record carries
        // none.
        return strPrefix + " " + GetShortWeekdayName(GetCivilWeekday(tm)) + " " + strDate + ", " + strTime;
    };
    switch (nColumn) {
    case 0:
        return dateCell(GetResString(830, "von"), pSpecialDay->GetStartTime());
    case 1:
        return dateCell(GetResString(40135, "bis"), pSpecialDay->GetEndTime());
    case 2:
        if (const CDayRoutine* pDayRoutine = pSpecialDay->GetDayRoutine()) {
            char szNumber[16];
            std::snprintf(szNumber, sizeof szNumber, "%02d: ", static_cast<int>(pDayRoutine->GetNumber()));
            return szNumber + pDayRoutine->GetName();
        }
        return GetResString(107, "*leer*");
    default:
        return "-";
    }
}

void CSpecialDays::AddReport(CParamReport* pReport, IReportDC* pDC, int nWidth)
{
    if (!pReport || !pDC)
        return;
    const ReportRow arrHeadings = {GetResString(40123, "Beginn"), GetResString(40124, "Ende"),
                                   GetResString(40111, "Tagesablauf")};
    std::vector<ReportRow> arrRows;
    for (const CSpecialDay* pSpecialDay : m_lstSpecialDays)
        arrRows.push_back({GetReportCellText(pSpecialDay, 0), GetReportCellText(pSpecialDay, 1),
                           GetReportCellText(pSpecialDay, 2)});
    AddReportTableSection(*pReport, *pDC, nWidth, SpecialDaysTitle(), arrHeadings, arrRows);
}

// ------------------------------------------------------------ download

int CSpecialDays::CompareByStart(const CSpecialDay* pA, const CSpecialDay* pB)
{
    if (!pA || !pB)
        return pA ? -1 : (pB ? 1 : 0);
    const std::tm a = pA->GetStartTime();
    const std::tm b = pB->GetStartTime();
    const int arrA[] = {a.tm_year, a.tm_mon, a.tm_mday, a.tm_hour, a.tm_min};
    const int arrB[] = {b.tm_year, b.tm_mon, b.tm_mday, b.tm_hour, b.tm_min};
    for (std::size_t i = 0; i < 5; ++i)
        if (arrA[i] != arrB[i])
            return arrA[i] < arrB[i] ? -1 : 1;
    return 0;
}

bool CSpecialDays::InitDownload(CProgressInfo* pProgress)
{
    m_pBlock = std::make_unique<BYTE[]>(kBlockSize);
    bool bResult = true;
    std::vector<const CSpecialDay*> arrSlots(kMaxSpecialDays, nullptr);
    std::size_t nSlot = 0;
    for (const CSpecialDay* pSpecialDay : m_lstSpecialDays) {
        if (nSlot >= arrSlots.size())
            break;
        if (!pSpecialDay) {
            LOG_ERROR("internal data error");
            bResult = false;
            continue;
        }
        arrSlots[nSlot++] = pSpecialDay;
    }
    Step(pProgress, 1);
    std::stable_sort(arrSlots.begin(), arrSlots.end(),
                     [](const CSpecialDay* pA, const CSpecialDay* pB) { return CompareByStart(pA, pB) < 0; });
    Step(pProgress, 1);
    for (std::size_t i = 0; i < arrSlots.size(); ++i) {
        BYTE* pSlot = m_pBlock.get() + i * CALENDAR_RECORD_SIZE;
        if (!arrSlots[i]) {
            pSlot[0] = CALENDAR_RECORD_EMPTY;
        } else if (!arrSlots[i]->FillDataBuffer(pSlot, CALENDAR_RECORD_SIZE)) {
            LOG_ERROR("failed to fill specialday databuffer");
            bResult = false;
        }
    }
    Step(pProgress, 1);
    return bResult;
}

int CSpecialDays::AddToDownloadProcedure(CProgressInfo* pProgress, CDownloadProcedure* pProcedure)
{
    ShowSpecialDays(pProgress);
    if (!m_pBlock || !pProcedure)
        return 5;
    return pProcedure->WriteToMemory(m_pBlock.get(), kBlockAddress, kBlockSize);
}

int CSpecialDays::WriteToDevice(CProgressInfo* pProgress, CBusAccess* pBusAccess)
{
    ShowSpecialDays(pProgress);
    Step(pProgress, 2);
    if (!m_pBlock || !pBusAccess)
        return 5;
    return pBusAccess->WriteDeviceMemory(kBlockAddress, m_pBlock.get(), kBlockSize, 1);
}
