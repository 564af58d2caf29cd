#pragma once
// The table layout that the data sets' report sections share: a title across
// the page, then a heading row with a bottom border and one row per record.
// Columns start at x 500 (HIMETRIC); each is as wide as its widest text
// (heading or cell, measured in the normal font) and the next one starts 350
// after its end.

#include <string>
#include <vector>

class CFont;
class CParamReport;
class IReportDC;

constexpr int REPORT_TABLE_LEFT = 500;
constexpr int REPORT_COLUMN_GAP = 350;

struct ReportColumn
{
    int x = 0;       // HIMETRIC from the page rectangle's left
    int nWidth = 0;  // HIMETRIC
};

using ReportRow = std::vector<std::string>;

// The columns of a table: as many as the longest of headings and rows, each
// as wide as the widest of its texts measured with the font selected (the
// previous font is selected again afterwards).
std::vector<ReportColumn> LayoutReportColumns(IReportDC& dc, CFont* pFont, const ReportRow& arrHeadings,
                                              const std::vector<ReportRow>& arrRows);

// Appends to the body: the heading line (bottom border), an empty line in
// the normal font, then one line per row; every cell a label in the normal
// font at its column (a row shorter than the headings leaves its last
// columns empty).
void AddReportTable(CParamReport& report, IReportDC& dc, const ReportRow& arrHeadings,
                    const std::vector<ReportRow>& arrRows);

// A whole section: the title at x 0 across the page width in the title font,
// an empty line in the title font, then the table.
void AddReportTableSection(CParamReport& report, IReportDC& dc, int nPageWidth, const std::string& strTitle,
                           const ReportRow& arrHeadings, const std::vector<ReportRow>& arrRows);
