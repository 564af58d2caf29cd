#include "model/Summertimes.h"

#include "access/BusAccess.h"
#include "access/DownloadProcedure.h"
#include "access/EtsDataAccess.h"
#include "common/ProgressSteps.h"
#include "model/ArchiveSchema.h"
#include "model/CalendarRecord.h"
#include "model/CsvField.h"
#include "model/HexFields.h"
#include "common/Log.h"
#include "common/ProgressInfo.h"
#include "common/ResString.h"
#include "platform/archive/Archive.h"
#include "report/ReportTable.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr std::size_t kShortRecordSize = 8;

using progress::Step;

std::string SummertimesTitle()
{
    return GetResString(40011, "Sommerzeiten");
}

void ShowSummertimes(CProgressInfo* pProgress)
{
    if (pProgress)
        pProgress->SetBottomText(SummertimesTitle());
}

DWORD SummertimeSlotsLeft(int nCount)
{
    return nCount < CSummertimes::kMaxSummertimes ? static_cast<DWORD>(CSummertimes::kMaxSummertimes - nCount) : 0;
}

// One two-digit field of a short record.
bool ReadShortField(const std::string& strText, std::size_t& pos, int& nValue)
{
    DWORD dwValue = 0;
    if (!ParseHexField(strText, pos, 2, dwValue)) {
        LOG_ERROR("%s: empty data string", "CSummertimes::ExtractSummertimeData");
        return false;
    }
    nValue = static_cast<int>(dwValue);
    return true;
}

// Start and end of a short record at pos: one year for both, month, day
// and hour of each, minutes 0.
bool ExtractShortRecord(const std::string& strText, std::size_t& pos, std::tm& tmStart, std::tm& tmEnd)
{
    int nYear = 0;
    if (!ReadShortField(strText, pos, nYear) || !ReadShortField(strText, pos, tmStart.tm_mon) ||
        !ReadShortField(strText, pos, tmStart.tm_mday) || !ReadShortField(strText, pos, tmStart.tm_hour) ||
        !ReadShortField(strText, pos, tmEnd.tm_mon) || !ReadShortField(strText, pos, tmEnd.tm_mday) ||
        !ReadShortField(strText, pos, tmEnd.tm_hour))
        return false;
    tmStart.tm_year = tmEnd.tm_year = nYear + 100;
    tmStart.tm_mon -= 1;
    tmEnd.tm_mon -= 1;
    tmStart.tm_min = tmEnd.tm_min = 0;
    return true;
}

}  // namespace

CSummertimes::~CSummertimes()
{
    RemoveAll();
}

CObject* CSummertimes::CreateObject()
{
    return new CSummertimes;
}

// ------------------------------------------------------------ list

CSummertime* CSummertimes::CreateSummertime()
{
    if (GetCount() >= kMaxSummertimes)
        return nullptr;
    auto* pSummertime = new CSummertime(this);
    m_lstSummertimes.push_back(pSummertime);
    return pSummertime;
}

bool CSummertimes::RemoveSummertime(CSummertime* pSummertime)
{
    const auto nFound = std::count(m_lstSummertimes.begin(), m_lstSummertimes.end(), pSummertime);
    const int nYear = pSummertime ? pSummertime->GetStartTime().tm_year : 0;
    if (nFound == 0) {
        LOG_ERROR("SummerTime %d not found in list", nYear);
        return false;
    }
    if (nFound > 1)
        LOG_ERROR("SummerTime %d found %d times in list", nYear, static_cast<int>(nFound));
    m_lstSummertimes.remove(pSummertime);
    return true;
}

CSummertime* CSummertimes::FindByYear(int nYear) const
{
    for (CSummertime* pSummertime : m_lstSummertimes)
        if (pSummertime && pSummertime->GetStartTime().tm_year + 1900 == nYear)
            return pSummertime;
    return nullptr;
}

void CSummertimes::RemoveAll()
{
    for (CSummertime* pSummertime : m_lstSummertimes)
        delete pSummertime;
    m_lstSummertimes.clear();
}

// ------------------------------------------------------------ host parameter

void CSummertimes::SetParameterText(LONG nId, const std::string& strText)
{
    m_nParameterId = nId;
    m_strParameterText = strText;
}

std::string CSummertimes::BuildParameterText() const
{
    std::string strText = m_bEnabled ? "01" : "00";
    for (const CSummertime* pSummertime : m_lstSummertimes) {
        if (!pSummertime) {
            LOG_ERROR("internal data error");
            break;
        }
        strText += pSummertime->GetParameterString();
    }
    return strText;
}

bool CSummertimes::ExtractSummertimeData(const std::string& strText, std::size_t& pos, std::tm& tmStart,
                                         std::tm& tmEnd)
{
    return ExtractCalendarFields(strText, pos, tmStart, "CSummertimes::ExtractSummertimeData") &&
           ExtractCalendarFields(strText, pos, tmEnd, "CSummertimes::ExtractSummertimeData");
}

int CSummertimes::CompleteEtsLoad(CProgressInfo* pProgress)
{
    ShowSummertimes(pProgress);
    if (!m_pChronoset) {
        LOG_ERROR("internal data error");
        return 5;
    }
    const std::string& strText = m_strParameterText;
    if (strText.empty())
        return 0;

    std::size_t pos = 0;
    DWORD dwEnabled = 0;
    ParseHexField(strText, pos, std::min<std::size_t>(2, strText.size()), dwEnabled);
    m_bEnabled = dwEnabled != 0 ? 1 : 0;

    // The record form is told by the length of the rest.
    const std::size_t nBytes = strText.size() > 2 ? (strText.size() - 2) / 2 : 0;
    const bool bShort = nBytes % kShortRecordSize == 0 && nBytes / kShortRecordSize >= 1 &&
                        nBytes / kShortRecordSize <= static_cast<std::size_t>(kMaxSummertimes);
    const std::size_t nRecordDigits = bShort ? 2 * kShortRecordSize : CALENDAR_RECORD_DIGITS;
    const std::size_t nRecords =
        std::min<std::size_t>(bShort ? nBytes / kShortRecordSize : nBytes / CALENDAR_RECORD_SIZE, kMaxSummertimes);

    int nResult = 0;
    for (std::size_t i = 0; i < nRecords && nResult == 0; ++i) {
        pos = 2 + i * nRecordDigits;
        std::size_t posFirst = pos;
        DWORD dwFirst = 0;
        if (!ParseHexField(strText, posFirst, 2, dwFirst)) {
            LOG_ERROR("%s: empty data string", "CSummertimes::CompleteEtsLoad");
            nResult = 5;
            break;
        }
        if (dwFirst == CALENDAR_RECORD_EMPTY)
            continue;
        std::tm tmStart {};
        std::tm tmEnd {};
        const bool bRead = bShort ? ExtractShortRecord(strText, pos, tmStart, tmEnd)
                                  : ExtractSummertimeData(strText, pos, tmStart, tmEnd);
        if (!bRead) {
            nResult = 5;
            break;
        }
        // Out-of-range values are carried over, not refused.
        tmStart = NormalizeCivilTime(tmStart);
        tmEnd = NormalizeCivilTime(tmEnd);
        DWORD dwShift = 0;
        if (!ParseHexField(strText, pos, 2, dwShift)) {
            LOG_ERROR("%s: empty data string", "CSummertimes::CompleteEtsLoad");
            nResult = 5;
            break;
        }
        CSummertime* pSummertime = CreateSummertime();
        if (!pSummertime) {
            LOG_ERROR("failed to add summertime");
            nResult = 5;
            break;
        }
        pSummertime->SetStartTime(tmStart);
        pSummertime->SetEndTime(tmEnd);
        pSummertime->SetShift(static_cast<signed char>(static_cast<BYTE>(dwShift)));
    }
    Step(pProgress, 1);
    return nResult;
}

int CSummertimes::SaveToEts(CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    ShowSummertimes(pProgress);
    int nResult = 0;
    if (std::find(m_lstSummertimes.begin(), m_lstSummertimes.end(), nullptr) != m_lstSummertimes.end())
        nResult = 5;  // BuildParameterText logs it
    m_strParameterText = BuildParameterText();
    if (!pAccess || !pAccess->SetDeviceParameterValue(m_nParameterId, m_strParameterText)) {
        LOG_ERROR("failed to set summertime parameter");
        nResult = 5;
    }
    Step(pProgress, 1);
    return nResult;
}

// ------------------------------------------------------------ data file

void CSummertimes::StoreToArchive(CArchive& ar, CProgressInfo* pProgress) const
{
    if (!ar.IsStoring())
        return;
    ShowSummertimes(pProgress);
    ar << static_cast<WORD>(m_bEnabled ? 1 : 0);
    Step(pProgress, 1);
    ar << static_cast<WORD>(m_lstSummertimes.size());
    for (const CSummertime* pSummertime : m_lstSummertimes) {
        StoreCalendarWords(ar, pSummertime->GetStartTime());
        StoreCalendarWords(ar, pSummertime->GetEndTime());
        ar << static_cast<WORD>(static_cast<SHORT>(pSummertime->GetShift()));
        Step(pProgress, 1);
    }
    Step(pProgress, SummertimeSlotsLeft(GetCount()));
}

void CSummertimes::LoadFromArchive(CArchive& ar, CProgressInfo* pProgress)
{
    if (!ar.IsLoading())
        return;
    ShowSummertimes(pProgress);
    const bool bWithMinutes = g_nArchiveSchema > 0x1FFFF;
    WORD wEnabled = 1;
    ar >> wEnabled;
    m_bEnabled = wEnabled ? 1 : 0;
    Step(pProgress, 1);
    WORD wCount = 0;
    ar >> wCount;
    int nDropped = 0;
    for (WORD i = 0; i < wCount; ++i) {
        std::tm tmStart {};
        std::tm tmEnd {};
        SHORT nShift = 0;
        LoadCalendarWords(ar, tmStart, bWithMinutes);
        LoadCalendarWords(ar, tmEnd, bWithMinutes);
        ar >> nShift;
        // Records the list cannot hold are read all the same, so that the
        // records behind them stay in step.
        CSummertime* pSummertime = CreateSummertime();
        if (!pSummertime) {
            ++nDropped;
            continue;
        }
        pSummertime->SetStartTime(tmStart);
        pSummertime->SetEndTime(tmEnd);
        pSummertime->SetShift(nShift);
        Step(pProgress, 1);
    }
    if (nDropped)
        LOG_WARNING("%d daylight-saving periods of the data file beyond %d dropped", nDropped, kMaxSummertimes);
    Step(pProgress, SummertimeSlotsLeft(GetCount()));
}

// ------------------------------------------------------------ text export and report

void CSummertimes::ExportCsv(CProgressInfo* pProgress, std::string& strFile) const
{
    ShowSummertimes(pProgress);
    strFile += CsvField(SummertimesTitle()) + "\n";
    strFile += CsvField(GetResString(40122, "Jahr")) + "," + CsvField(GetResString(40123, "Beginn")) + "," +
               CsvField(GetResString(40124, "Ende")) + "," + CsvField(GetResString(40125, "Versatz")) + "\n";
    Step(pProgress, 1);
    for (const CSummertime* pSummertime : m_lstSummertimes) {
        strFile += pSummertime->GetExportText() + "\n";
        Step(pProgress, 1);
    }
    Step(pProgress, SummertimeSlotsLeft(GetCount()));
}

std::string CSummertimes::GetReportCellText(const CSummertime* pSummertime, int nColumn)
{
    if (!pSummertime)
        return "-";
    char szText[64];
    switch (nColumn) {
    case 0:
        std::snprintf(szText, sizeof szText, "%d", pSummertime->GetStartTime().tm_year + 1900);
        return szText;
    case 1:
        return FormatCalendarText(GetResString(40134, "vom"), pSummertime->GetStartTime(), true);
    case 2:
        return FormatCalendarText(GetResString(40135, "bis"), pSummertime->GetEndTime(), true);
    case 3:
        if (pSummertime->GetShift() == 0)
            return GetResString(220, "\"keine\"");
        std::snprintf(szText, sizeof szText, "%+d %s", pSummertime->GetShift(), GetResString(40133, "h").c_str());
        return szText;
    default:
        return "-";
    }
}

void CSummertimes::AddReport(CParamReport* pReport, IReportDC* pDC, int nWidth)
{
    if (!pReport || !pDC)
        return;
    const ReportRow arrHeadings = {GetResString(40122, "Jahr"), GetResString(40123, "Beginn"),
                                   GetResString(40124, "Ende"), GetResString(40125, "Versatz")};
    std::vector<ReportRow> arrRows;
    for (const CSummertime* pSummertime : m_lstSummertimes)
        arrRows.push_back({GetReportCellText(pSummertime, 0), GetReportCellText(pSummertime, 1),
                           GetReportCellText(pSummertime, 2), GetReportCellText(pSummertime, 3)});
    AddReportTableSection(*pReport, *pDC, nWidth, SummertimesTitle(), arrHeadings, arrRows);
}

// ------------------------------------------------------------ download

int CSummertimes::CompareByYear(const CSummertime* pA, const CSummertime* pB)
{
    if (!pA || !pB)
        return pA ? -1 : (pB ? 1 : 0);
    const int nA = pA->GetStartTime().tm_year;
    const int nB = pB->GetStartTime().tm_year;
    return nA < nB ? -1 : (nA > nB ? 1 : 0);
}

bool CSummertimes::InitDownload(CProgressInfo* pProgress)
{
    m_pBlock = std::make_unique<BYTE[]>(kBlockSize);
    m_pBlock[0] = m_bEnabled ? 1 : 0;
    bool bResult = true;
    std::vector<const CSummertime*> arrSlots(kMaxSummertimes, nullptr);
    std::size_t nSlot = 0;
    for (const CSummertime* pSummertime : m_lstSummertimes) {
        if (nSlot >= arrSlots.size())
            break;
        if (!pSummertime) {
            LOG_ERROR("internal data error");
            bResult = false;
            continue;
        }
        arrSlots[nSlot++] = pSummertime;
    }
    Step(pProgress, 1);
    std::stable_sort(arrSlots.begin(), arrSlots.end(),
                     [](const CSummertime* pA, const CSummertime* pB) { return CompareByYear(pA, pB) < 0; });
    Step(pProgress, 1);
    for (std::size_t i = 0; i < arrSlots.size(); ++i) {
        BYTE* pSlot = m_pBlock.get() + 1 + i * CALENDAR_RECORD_SIZE;
        if (!arrSlots[i]) {
            pSlot[0] = CALENDAR_RECORD_EMPTY;
        } else if (!arrSlots[i]->FillDataBuffer(pSlot, CALENDAR_RECORD_SIZE)) {
            LOG_ERROR("failed to fill summertime databuffer");
            bResult = false;
        }
    }
    Step(pProgress, 1);
    return bResult;
}

int CSummertimes::AddToDownloadProcedure(CProgressInfo* pProgress, CDownloadProcedure* pProcedure)
{
    ShowSummertimes(pProgress);
    if (!m_pBlock || !pProcedure)
        return 5;
    return pProcedure->WriteToMemory(m_pBlock.get(), kBlockAddress, kBlockSize);
}

int CSummertimes::WriteToDevice(CProgressInfo* pProgress, CBusAccess* pBusAccess)
{
    ShowSummertimes(pProgress);
    Step(pProgress, 2);
    if (!m_pBlock || !pBusAccess)
        return 5;
    return pBusAccess->WriteDeviceMemory(kBlockAddress, m_pBlock.get(), kBlockSize, 1);
}
