#include "model/WeekRoutine.h"

#include "access/BusAccess.h"
#include "access/DownloadProcedure.h"
#include "access/EtsDataAccess.h"
#include "common/ProgressSteps.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/IChronosetServices.h"
#include "model/Utils.h"
#include "common/Log.h"
#include "common/ProgressInfo.h"
#include "common/ResString.h"
#include "platform/archive/Archive.h"
#include "report/ReportTable.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr WORD kNoRoutine = 0xFFFF;  // a weekday without routine in the data file

using progress::Step;

void ShowWeekRoutine(CProgressInfo* pProgress)
{
    if (pProgress)
        pProgress->SetBottomText(GetResString(40010, "Wochenablauf"));
}

}  // namespace

CObject* CWeekRoutine::CreateObject()
{
    return new CWeekRoutine;
}

CDayRoutine* CWeekRoutine::FindDayRoutine(int nNumber) const
{
    return m_pChronoset ? m_pChronoset->GetDayRoutines()->FindDayRoutine(nNumber) : nullptr;
}

std::string CWeekRoutine::GetColumnText(int nDay, int nColumn) const
{
    if (!IsDay(nDay))
        return "-";
    const CDayRoutine* pDayRoutine = m_arrDayRoutines[nDay];
    switch (nColumn) {
    case 0:
        return GetWeekdayName(nDay);
    case 1:
        return pDayRoutine ? pDayRoutine->GetName() : GetResString(40119, "\"kein\"");
    case 2:
        return pDayRoutine ? FormatTwoDigits(pDayRoutine->GetNumber()) : std::string("-");
    default:
        return "-";
    }
}

// ------------------------------------------------------------ host parameter

void CWeekRoutine::SetParameterText(LONG nId, const std::string& strText)
{
    m_nParameterId = nId;
    m_strParameterText = strText;
}

std::string CWeekRoutine::BuildParameterText() const
{
    std::string strText = "FF";
    for (const CDayRoutine* pDayRoutine : m_arrDayRoutines) {
        char szField[8];
        std::snprintf(szField, sizeof szField, "%02x",
                      pDayRoutine ? static_cast<unsigned>(pDayRoutine->GetNumber()) & 0xFF : 0u);
        strText += szField;
    }
    return strText;
}

int CWeekRoutine::CompleteEtsLoad(CProgressInfo* pProgress)
{
    ShowWeekRoutine(pProgress);
    if (!m_pChronoset) {
        LOG_ERROR("internal data error");
        return 5;
    }
    int nResult = 0;
    const std::size_t nLength = m_strParameterText.size();
    // The first two characters are a filler; day d sits at 2 * d.
    for (std::size_t d = 1; d <= static_cast<std::size_t>(kDays) && d < nLength / 2; ++d) {
        const std::string strField = m_strParameterText.substr(2 * d, 2);
        if (strField.size() < 2) {
            LOG_ERROR("%s: empty data string", "CWeekRoutine::CompleteEtsLoad");
            nResult = 5;
            break;
        }
        const auto nNumber = static_cast<int>(std::strtoul(strField.c_str(), nullptr, 16));
        m_arrDayRoutines[d - 1] = nNumber == 0 ? nullptr : FindDayRoutine(nNumber);
    }
    Step(pProgress, 1);
    return nResult;
}

int CWeekRoutine::SaveToEts(CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    ShowWeekRoutine(pProgress);
    m_strParameterText = BuildParameterText();
    int nResult = 0;
    if (!pAccess) {
        LOG_ERROR("internal data error");
        nResult = 5;
    } else if (!pAccess->SetDeviceParameterValue(m_nParameterId, m_strParameterText)) {
        nResult = 5;
    }
    Step(pProgress, 1);
    return nResult;
}

// ------------------------------------------------------------ data file

void CWeekRoutine::StoreToArchive(CArchive& ar, CProgressInfo* pProgress) const
{
    if (!ar.IsStoring())
        return;
    ShowWeekRoutine(pProgress);
    for (const CDayRoutine* pDayRoutine : m_arrDayRoutines)
        ar << (pDayRoutine ? static_cast<WORD>(pDayRoutine->GetNumber()) : kNoRoutine);
}

void CWeekRoutine::LoadFromArchive(CArchive& ar, CProgressInfo* pProgress)
{
    if (!ar.IsLoading())
        return;
    ShowWeekRoutine(pProgress);
    for (CDayRoutine*& pDayRoutine : m_arrDayRoutines) {
        WORD wNumber = kNoRoutine;
        ar >> wNumber;
        pDayRoutine = wNumber == kNoRoutine ? nullptr : FindDayRoutine(wNumber);
        Step(pProgress, 1);
    }
}

// ------------------------------------------------------------ text export and report

void CWeekRoutine::ExportCsv(CProgressInfo* pProgress, std::string& strFile) const
{
    ShowWeekRoutine(pProgress);
    strFile += "\"" + GetResString(40010, "Wochenablauf") + "\"\n";
    strFile += "\"" + GetResString(40110, "Wochentag") + "\",\"" + GetResString(40111, "Tagesablauf") + "\",\"" +
               GetResString(40103, "Nr") + "\"\n";
    for (int nDay = 0; nDay < kDays; ++nDay) {
        strFile += "\"" + GetWeekdayName(nDay) + "\",";
        if (const CDayRoutine* pDayRoutine = m_arrDayRoutines[static_cast<std::size_t>(nDay)])
            strFile += "\"" + pDayRoutine->GetName() + "\",\"" + FormatTwoDigits(pDayRoutine->GetNumber()) + "\"";
        else
            strFile += ",";
        strFile += "\n";
        Step(pProgress, 1);
    }
}

void CWeekRoutine::AddReport(CParamReport* pReport, IReportDC* pDC, int nWidth)
{
    if (!pReport || !pDC)
        return;
    const ReportRow arrHeadings = {GetResString(40110, "Wochentag"), GetResString(40111, "Tagesablauf"),
                                   GetResString(40103, "Nr")};
    std::vector<ReportRow> arrRows;
    for (int nDay = 0; nDay < kDays; ++nDay)
        arrRows.push_back({GetColumnText(nDay, 0), GetColumnText(nDay, 1), GetColumnText(nDay, 2)});
    AddReportTableSection(*pReport, *pDC, nWidth, GetResString(40010, "Wochenablauf"), arrHeadings, arrRows);
}

// ------------------------------------------------------------ download

bool CWeekRoutine::InitDownload(CProgressInfo* pProgress)
{
    m_pBlock = std::make_unique<BYTE[]>(kBlockSize);
    m_pBlock[0] = 0xFF;
    for (int nDay = 0; nDay < kDays; ++nDay) {
        const CDayRoutine* pDayRoutine = m_arrDayRoutines[static_cast<std::size_t>(nDay)];
        m_pBlock[static_cast<std::size_t>(nDay + 1)] =
            pDayRoutine ? static_cast<BYTE>(pDayRoutine->GetNumber() & 0xFF) : 0;
    }
    Step(pProgress, 1);
    return true;
}

int CWeekRoutine::AddToDownloadProcedure(CProgressInfo* pProgress, CDownloadProcedure* pProcedure)
{
    ShowWeekRoutine(pProgress);
    if (!m_pBlock || !pProcedure)
        return 5;
    return pProcedure->WriteToMemory(m_pBlock.get(), kBlockAddress, kBlockSize);
}

int CWeekRoutine::WriteToDevice(CProgressInfo* pProgress, CBusAccess* pBusAccess)
{
    ShowWeekRoutine(pProgress);
    Step(pProgress, 2);
    if (!m_pBlock || !pBusAccess)
        return 5;
    return pBusAccess->WriteDeviceMemory(kBlockAddress, m_pBlock.get(), kBlockSize, 1);
}
