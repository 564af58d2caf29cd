#include "report/ReportTable.h"

#include "report/ParamReport.h"
#include "report/ParamReportLine.h"
#include "report/ReportCellLabel.h"
#include "report/ReportDC.h"
#include "report/ReportFontSelection.h"

#include <algorithm>

namespace {

void AddCells(CReportLine* pLine, CFont* pFont, const std::vector<ReportColumn>& arrColumns, const ReportRow& arrTexts)
{
    const std::size_t nCount = std::min(arrColumns.size(), arrTexts.size());
    for (std::size_t i = 0; i < nCount; ++i)
        new CReportCellLabel(pLine, arrColumns[i].x, arrColumns[i].nWidth, 0, pFont, arrTexts[i], 0);
}

}  // namespace

std::vector<ReportColumn> LayoutReportColumns(IReportDC& dc, CFont* pFont, const ReportRow& arrHeadings,
                                              const std::vector<ReportRow>& arrRows)
{
    std::size_t nColumns = arrHeadings.size();
    for (const ReportRow& arrRow : arrRows)
        nColumns = std::max(nColumns, arrRow.size());

    std::vector<int> arrWidths(nColumns, 0);
    {
        CReportFontSelection selection(dc, pFont);
        auto measure = [&](const ReportRow& arrTexts) {
            for (std::size_t i = 0; i < arrTexts.size(); ++i)
                arrWidths[i] = std::max(arrWidths[i], static_cast<int>(dc.GetTextExtent(arrTexts[i]).cx));
        };
        measure(arrHeadings);
        for (const ReportRow& arrRow : arrRows)
            measure(arrRow);
    }

    std::vector<ReportColumn> arrColumns(nColumns);
    int x = REPORT_TABLE_LEFT;
    for (std::size_t i = 0; i < nColumns; ++i) {
        arrColumns[i].x = x;
        arrColumns[i].nWidth = dc.LogicalToHimetricX(arrWidths[i]);
        x += arrColumns[i].nWidth + REPORT_COLUMN_GAP;
    }
    return arrColumns;
}

void AddReportTable(CParamReport& report, IReportDC& dc, const ReportRow& arrHeadings,
                    const std::vector<ReportRow>& arrRows)
{
    CReportGroup* pBody = report.GetBodyGroup();
    if (!pBody)
        return;
    CFont* pFont = report.GetNormalFont();
    const std::vector<ReportColumn> arrColumns = LayoutReportColumns(dc, pFont, arrHeadings, arrRows);

    AddCells(new CParamReportLine(pBody, RLF_BORDER_BOTTOM, 0), pFont, arrColumns, arrHeadings);
    report.AddEmptyLine(pBody, pFont, FALSE);
    for (const ReportRow& arrRow : arrRows)
        AddCells(new CParamReportLine(pBody, 0, 0), pFont, arrColumns, arrRow);
}

void AddReportTableSection(CParamReport& report, IReportDC& dc, int nPageWidth, const std::string& strTitle,
                           const ReportRow& arrHeadings, const std::vector<ReportRow>& arrRows)
{
    CReportGroup* pBody = report.GetBodyGroup();
    if (!pBody)
        return;
    auto* pTitle = new CParamReportLine(pBody, 0, 0);
    new CReportCellLabel(pTitle, 0, nPageWidth, 0, report.GetTitleFont(), strTitle, 0);
    report.AddEmptyLine(pBody, report.GetTitleFont(), FALSE);
    AddReportTable(report, dc, arrHeadings, arrRows);
}
