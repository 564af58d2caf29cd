#include "printing/param/ParamPrintItem.h"

#include "app/Chronoset.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/GroupDataAddresses.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "model/SpecialDays.h"
#include "model/Summertimes.h"
#include "model/Utils.h"
#include "model/WeekRoutine.h"
#include "common/Globals.h"
#include "common/ResString.h"
#include "report/ParamReport.h"
#include "report/ParamReportLine.h"
#include "report/ReportCellLabel.h"
#include "report/ReportDC.h"
#include "report/ReportFontSelection.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr int kUsageLeft = 500;
constexpr int kUsageGap = 350;
constexpr std::size_t kUsageColumns = 5;

using UsageFields = std::array<std::string, kUsageColumns>;

// A row text split at its tabs into at most five fields.
UsageFields SplitUsageFields(const std::string& strText)
{
    UsageFields arrFields;
    std::size_t nStart = 0;
    for (std::size_t i = 0; i < kUsageColumns; ++i) {
        const std::size_t nTab = i + 1 < kUsageColumns ? strText.find('\t', nStart) : std::string::npos;
        arrFields[i] = strText.substr(nStart, nTab == std::string::npos ? std::string::npos : nTab - nStart);
        if (nTab == std::string::npos)
            break;
        nStart = nTab + 1;
    }
    return arrFields;
}

UsageFields UsageRow(UINT nNameId, const char* pszName, int nSize, int nUsed)
{
    const std::string strName = "   " + GetResString(nNameId, pszName);
    if (nUsed < 0) {
        // A failed count would print a huge share; the size alone is true.
        return {strName, std::to_string(nSize), std::string(), std::string(), std::string()};
    }
    std::string strText;
    FormatUsageLine(strText, true, strName, nSize, nUsed);
    return SplitUsageFields(strText);
}

void AddTitleLine(CParamReport* pReport, const std::string& strTitle, int nPageWidth, CFont* pFont)
{
    auto* pLine = new CParamReportLine(pReport->GetBodyGroup(), 0, 0);
    new CReportCellLabel(pLine, 0, nPageWidth, 0, pFont, strTitle, RCF_LEFT);
}

}  // namespace

void CParamPrintItem::AddToReport(CParamReport* pReport, IReportDC* pDC, CPrintInfo* pInfo, int nPageWidth,
                                  int nPageHeight)
{
    CChronoset* pSet = g_pChronoset;
    if (!pSet || !pReport || !pDC || !pReport->GetBodyGroup())
        return;
    // The numbers of routines and quantities are 16-bit.
    const int nNumber = m_nIndex & 0xFFFF;
    switch (m_nType) {
    case PRINT_ITEM_GENERAL:
        AddGeneralPage(pReport, pDC, pInfo, nPageWidth, nPageHeight);
        break;
    case PRINT_ITEM_DAY_ROUTINES:
        pSet->GetDayRoutines()->AddReport(pReport, pDC, nPageWidth);
        break;
    case PRINT_ITEM_DAY_ROUTINE:
        if (CDayRoutine* pRoutine = pSet->GetDayRoutines()->FindDayRoutine(nNumber))
            pRoutine->AddReport(pReport, pDC, nPageWidth);
        break;
    case PRINT_ITEM_WEEK_ROUTINE:
        pSet->GetWeekRoutine()->AddReport(pReport, pDC, nPageWidth);
        break;
    case PRINT_ITEM_SUMMERTIMES:
        pSet->GetSummertimes()->AddReport(pReport, pDC, nPageWidth);
        break;
    case PRINT_ITEM_SPECIAL_DAYS:
        pSet->GetSpecialDays()->AddReport(pReport, pDC, nPageWidth);
        break;
    case PRINT_ITEM_QUANTITIES:
        pSet->GetQuantities()->AddReport(pReport, pDC, nPageWidth);
        break;
    case PRINT_ITEM_QUANTITY_TRIGGERS:
        if (CQuantity* pQuantity = pSet->GetQuantities()->GetQuantity(nNumber))
            pQuantity->AddTriggerReport(pReport, pDC, nPageWidth);
        break;
    case PRINT_ITEM_QUANTITY_MEMBERS:
        if (CQuantity* pQuantity = pSet->GetQuantities()->GetQuantity(nNumber))
            pQuantity->AddMemberReport(pReport, pDC, nPageWidth);
        break;
    case PRINT_ITEM_GROUP_ADDRESSES:
        pSet->GetGroupDataAddresses()->AddReport(pReport, pDC, nPageWidth);
        break;
    case PRINT_ITEM_USAGE:
        AddUsagePage(pReport, pDC, pInfo, nPageWidth, nPageHeight);
        break;
    default:
        break;
    }
}

void CParamPrintItem::AddGeneralPage(CParamReport* pReport, IReportDC* pDC, CPrintInfo* /*pInfo*/, int nPageWidth,
                                     int /*nPageHeight*/)
{
    CChronoset* pSet = g_pChronoset;
    CReportGroup* pBody = pReport->GetBodyGroup();
    if (!pBody)
        return;
    CFont* pNormal = pReport->GetNormalFont();
    AddTitleLine(pReport, g_bStandalone ? GetResString(1104, "Tavik 2.1") : GetResString(101, "Allgemein"), nPageWidth,
                 pReport->GetTitleFont());
    pReport->AddEmptyLine(pBody, pNormal, FALSE);

    auto* pLine = new CParamReportLine(pBody, 0, 0);
    const std::string strLabel = GetResString(135, "Sendeverzögerung") + ":";
    new CReportCellLabel(pLine, 500, nPageWidth, 0, pNormal, strLabel, RCF_LEFT);
    int nLabelWidth;
    {
        CReportFontSelection selection(*pDC, pNormal);
        nLabelWidth = pDC->LogicalToHimetricX(pDC->GetTextExtent(strLabel).cx);
    }
    static constexpr const char* kDelays[] = {"keine", "0,1 s", "0,2 s", "0,3 s", "0,4 s", "0,5 s"};
    const int nDelay = pSet ? (pSet->GetSendDelay() & 0xFF) : 0;
    // Only 0 to 5 have texts; the strings after them say other things.
    const std::string strDelay = nDelay < 6 ? GetResString(static_cast<UINT>(269 + nDelay), kDelays[nDelay]) : std::string();
    new CReportCellLabel(pLine, nLabelWidth + 850, nPageWidth, 0, pNormal, strDelay, RCF_LEFT);

    pReport->AddEmptyLine(pBody, pReport->GetReportData(), FALSE);
    if (pSet)
        pSet->GetInternalClock()->AddReport(pReport, pDC, nPageWidth);
}

void CParamPrintItem::AddUsagePage(CParamReport* pReport, IReportDC* pDC, CPrintInfo* /*pInfo*/, int nPageWidth,
                                   int /*nPageHeight*/)
{
    CChronoset* pSet = g_pChronoset;
    CReportGroup* pBody = pReport->GetBodyGroup();
    if (!pSet || !pBody)
        return;
    CFont* pNormal = pReport->GetNormalFont();
    AddTitleLine(pReport, GetResString(353, "Auslastung"), nPageWidth, pReport->GetTitleFont());
    pReport->AddEmptyLine(pBody, pReport->GetTitleFont(), FALSE);

    const UsageFields arrHeadings = {GetResString(40021, "Feldname"), GetResString(111, "Größe"),
                                     GetResString(40023, "belegt"), GetResString(40024, "(%)"),
                                     GetResString(40025, "frei")};

    DWORD nAssociations = 0;
    const int nObjects = pSet->CountAssociations(nAssociations);
    const int nAssociationsUsed = nObjects < 0 ? -1 : static_cast<int>(nAssociations);
    const int nMaxAddresses = CChronoset::GetMaxGroupAddressCount();
    const CDayRoutines* pRoutines = pSet->GetDayRoutines();
    const CQuantities* pQuantities = pSet->GetQuantities();

    struct Group
    {
        UINT nTitleId;
        const char* pszTitle;
        std::vector<UsageFields> arrRows;
    };
    const std::vector<Group> arrGroups = {
        {40026,
         "Adressen und Objekte",
         {UsageRow(40027, "Gruppenadressen", CGroupDataAddresses::GetMaxCount(),
                   pSet->GetGroupDataAddresses()->GetCount(false)),
          UsageRow(40028, "Objekte", nMaxAddresses, nObjects),
          UsageRow(410, "Zuordnungen", nMaxAddresses, nAssociationsUsed)}},
        {40032,
         "Zeiten",
         {UsageRow(108, "Tagesabläufe", CDayRoutines::GetMaxCount(), pRoutines->GetCount()),
          UsageRow(40033, "Schaltzeiten", CDayRoutines::GetMaxSwitchTimes(), pRoutines->GetSwitchTimeCount()),
          UsageRow(40012, "Sondertage", CSpecialDays::GetMaxCount(), pSet->GetSpecialDays()->GetCount()),
          UsageRow(40011, "Sommerzeiten", CSummertimes::GetMaxCount(), pSet->GetSummertimes()->GetCount())}},
        {40100,
         "Mengen",
         {UsageRow(40100, "Mengen", CQuantities::GetMaxCount(), pQuantities->GetCount()),
          UsageRow(40101, "Mengenmitglieder", CQuantities::GetMaxMemberCount(), pQuantities->GetTotalMemberCount())}},
    };

    // Every column as wide as the widest of its heading and its fields.
    std::array<int, kUsageColumns> arrWidths{};
    {
        CReportFontSelection selection(*pDC, pNormal);
        auto measure = [&](const UsageFields& arrFields) {
            for (std::size_t i = 0; i < kUsageColumns; ++i)
                arrWidths[i] = std::max(arrWidths[i], static_cast<int>(pDC->GetTextExtent(arrFields[i]).cx));
        };
        measure(arrHeadings);
        for (const Group& group : arrGroups)
            for (const UsageFields& arrRow : group.arrRows)
                measure(arrRow);
    }
    for (int& nWidth : arrWidths)
        nWidth = pDC->LogicalToHimetricX(nWidth);

    auto addFields = [&](UINT nFlags, const UsageFields& arrFields) {
        auto* pLine = new CParamReportLine(pBody, nFlags, 0);
        int x = kUsageLeft;
        for (std::size_t i = 0; i < kUsageColumns; ++i) {
            new CReportCellLabel(pLine, x, arrWidths[i], 0, pNormal, arrFields[i], RCF_LEFT);
            x += arrWidths[i] + kUsageGap;
        }
    };
    addFields(RLF_BORDER_BOTTOM, arrHeadings);
    for (const Group& group : arrGroups) {
        pReport->AddEmptyLine(pBody, pNormal, FALSE);
        auto* pTitle = new CParamReportLine(pBody, 0, 0);
        new CReportCellLabel(pTitle, kUsageLeft, nPageWidth, 0, pNormal, GetResString(group.nTitleId, group.pszTitle),
                             RCF_LEFT);
        for (const UsageFields& arrRow : group.arrRows)
            addFields(0, arrRow);
    }
}
