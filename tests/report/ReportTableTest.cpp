#include "tests/report/FakeReportDC.h"

#include "report/ParamReport.h"
#include "report/ParamReportLine.h"
#include "report/ReportCellLabel.h"
#include "report/ReportTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The (x, width, text) of each cell of a line.
struct CellInfo
{
    int x;
    int nWidth;
    std::string strText;
    bool operator==(const CellInfo&) const = default;
};

std::vector<CellInfo> CellsOf(const CReportLine* pLine)
{
    std::vector<CellInfo> arrCells;
    for (int i = 0; i < pLine->GetCellCount(); ++i) {
        auto* pLabel = dynamic_cast<CReportCellLabel*>(pLine->GetCell(i));
        arrCells.push_back({pLabel->GetX(), pLabel->GetWidth(), pLabel->GetText()});
    }
    return arrCells;
}

class ReportTableTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // 254 dpi: the normal font is 28 units high, so every character is
        // 14 logical units = 140 HIMETRIC wide.
        m_report.CreateFonts(m_dc);
        m_report.CreateBody();
    }

    CFakeReportDC m_dc;
    CParamReport m_report;
};

}  // namespace

TEST_F(ReportTableTest, ColumnsStartAt500AndFollow350AfterTheWidestText)
{
    const ReportRow arrHeadings{"Nr", "Name", "Wert"};
    const std::vector<ReportRow> arrRows{{"01", "Kessel", "12"}, {"15", "Licht Flur", "3"}};
    const std::vector<ReportColumn> arrColumns =
        LayoutReportColumns(m_dc, m_report.GetNormalFont(), arrHeadings, arrRows);
    ASSERT_EQ(arrColumns.size(), 3u);
    EXPECT_EQ(arrColumns[0].x, 500);
    EXPECT_EQ(arrColumns[0].nWidth, 280);   // "Nr", "01", "15"
    EXPECT_EQ(arrColumns[1].x, 1130);       // 500 + 280 + 350
    EXPECT_EQ(arrColumns[1].nWidth, 1400);  // "Licht Flur", wider than its heading
    EXPECT_EQ(arrColumns[2].x, 2880);
    EXPECT_EQ(arrColumns[2].nWidth, 560);   // "Wert", wider than its cells
    // Measured in the normal font; the context's own font is back afterwards.
    EXPECT_EQ(m_dc.GetSelectedFont(), nullptr);
    EXPECT_GT(m_dc.GetSelectCount(), 0);
}

TEST_F(ReportTableTest, WidthsAreConvertedWithMulDivRounding)
{
    CFakeReportDC dc(600);
    CParamReport report;
    report.CreateFonts(dc);  // 67 high, 33 wide per character
    const std::vector<ReportColumn> arrColumns = LayoutReportColumns(dc, report.GetNormalFont(), {"ab", "c"}, {});
    ASSERT_EQ(arrColumns.size(), 2u);
    EXPECT_EQ(arrColumns[0].nWidth, 279);  // 66 * 2540 / 600 = 279.4
    EXPECT_EQ(arrColumns[1].nWidth, 140);  // 33 * 2540 / 600 = 139.7
    EXPECT_EQ(arrColumns[1].x, 500 + 279 + 350);
}

TEST_F(ReportTableTest, SectionIsTitleEmptyLineHeadingsEmptyLineAndRows)
{
    AddReportTableSection(m_report, m_dc, 19000, "Wochenablauf", {"Wochentag", "Tagesablauf", "Nr"},
                          {{"Montag", "Büro", "01"}, {"Dienstag", "\"kein\"", "-"}});
    CReportGroup* pBody = m_report.GetBodyGroup();
    ASSERT_EQ(pBody->GetCount(), 6);

    const CReportLine* pTitle = pBody->GetAt(0);
    EXPECT_EQ(pTitle->GetFlags(), 0u);
    EXPECT_EQ(CellsOf(pTitle), (std::vector<CellInfo>{{0, 19000, "Wochenablauf"}}));
    EXPECT_EQ(dynamic_cast<CReportCellLabel*>(pTitle->GetCell(0))->GetFont(), m_report.GetTitleFont());

    const CReportLine* pTitleGap = pBody->GetAt(1);
    EXPECT_EQ(CellsOf(pTitleGap), (std::vector<CellInfo>{{0, 100, " "}}));
    EXPECT_EQ(dynamic_cast<CReportCellLabel*>(pTitleGap->GetCell(0))->GetFont(), m_report.GetTitleFont());

    // "Wochentag" 9, "Tagesablauf" 11, "Nr" 2 characters of 140 HIMETRIC.
    const CReportLine* pHeadings = pBody->GetAt(2);
    EXPECT_EQ(pHeadings->GetFlags(), RLF_BORDER_BOTTOM);
    EXPECT_EQ(CellsOf(pHeadings), (std::vector<CellInfo>{{500, 1260, "Wochentag"},
                                                         {2110, 1540, "Tagesablauf"},
                                                         {4000, 280, "Nr"}}));

    const CReportLine* pGap = pBody->GetAt(3);
    EXPECT_EQ(pGap->GetFlags(), 0u);
    EXPECT_EQ(dynamic_cast<CReportCellLabel*>(pGap->GetCell(0))->GetFont(), m_report.GetNormalFont());

    const CReportLine* pRow = pBody->GetAt(5);
    EXPECT_EQ(pRow->GetFlags(), 0u);
    EXPECT_EQ(CellsOf(pRow), (std::vector<CellInfo>{{500, 1260, "Dienstag"},
                                                    {2110, 1540, "\"kein\""},
                                                    {4000, 280, "-"}}));
    auto* pCell = dynamic_cast<CReportCellLabel*>(pRow->GetCell(0));
    EXPECT_EQ(pCell->GetFont(), m_report.GetNormalFont());
    EXPECT_EQ(pCell->GetFlags(), 0u);
    EXPECT_EQ(pCell->GetStoredHeight(), 0);
}

TEST_F(ReportTableTest, ShortRowsLeaveTheirLastColumnsEmpty)
{
    AddReportTable(m_report, m_dc, {"A", "B", "C"}, {{"x"}, {}});
    CReportGroup* pBody = m_report.GetBodyGroup();
    ASSERT_EQ(pBody->GetCount(), 4);
    EXPECT_EQ(pBody->GetAt(2)->GetCellCount(), 1);
    EXPECT_EQ(pBody->GetAt(3)->GetCellCount(), 0);
}

TEST_F(ReportTableTest, AnEmptyTableStillShowsItsHeadings)
{
    AddReportTableSection(m_report, m_dc, 19000, "Sondertage", {"Beginn", "Ende", "Tagesablauf"}, {});
    CReportGroup* pBody = m_report.GetBodyGroup();
    ASSERT_EQ(pBody->GetCount(), 4);
    EXPECT_EQ(pBody->GetAt(2)->GetCellCount(), 3);
}
