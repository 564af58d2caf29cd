#include "tests/report/FakeReportDC.h"

#include "report/ParamReport.h"
#include "report/ParamReportLine.h"
#include "report/ReportCellLabel.h"
#include "report/ReportCellVariable.h"
#include "report/ReportGroup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A label that notes when it is deleted.
class CCountedLabel : public CReportCellLabel
{
public:
    CCountedLabel(CReportLine* pLine, const std::string& strText, std::vector<std::string>& arrDeleted)
        : CReportCellLabel(pLine, 0, 100, 0, nullptr, strText, 0), m_arrDeleted(arrDeleted)
    {
    }
    ~CCountedLabel() override { m_arrDeleted.push_back(GetText()); }

private:
    std::vector<std::string>& m_arrDeleted;
};

CFont MakeFont(LONG nHeight)
{
    LOGFONT logFont;
    logFont.lfHeight = nHeight;
    CFont font;
    font.CreateFontIndirect(&logFont);
    return font;
}

}  // namespace

TEST(ReportObjects, LinesAndCellsBelongToWhatTheyWereCreatedIn)
{
    std::vector<std::string> arrDeleted;
    {
        CReportGroup group;
        auto* pFirst = new CReportLine(&group, RLF_BORDER_TOP | RLF_BORDER_BOTTOM, 50);
        new CCountedLabel(pFirst, "a", arrDeleted);
        new CCountedLabel(pFirst, "b", arrDeleted);
        auto* pSecond = new CParamReportLine(&group, RLF_PAGE_BREAK, 70);
        new CCountedLabel(pSecond, "c", arrDeleted);

        ASSERT_EQ(group.GetCount(), 2);
        EXPECT_EQ(group.GetAt(0), pFirst);
        EXPECT_EQ(group.GetAt(1), pSecond);
        EXPECT_EQ(group.GetAt(2), nullptr);
        EXPECT_EQ(pFirst->GetGroup(), &group);
        EXPECT_EQ(pFirst->GetCellCount(), 2);
        EXPECT_EQ(pFirst->GetCell(1)->GetLine(), pFirst);
        EXPECT_EQ(pFirst->GetFlags(), 0x003u);
        EXPECT_EQ(pFirst->GetMinHeight(), 50);
        // A parameter-report line takes its height from its cells only.
        EXPECT_EQ(pSecond->GetMinHeight(), 0);
        EXPECT_FALSE(pSecond->IsPageBroken());
        pSecond->SetPageBroken(TRUE);
        EXPECT_TRUE(pSecond->IsPageBroken());
    }
    EXPECT_EQ(arrDeleted, (std::vector<std::string>{"a", "b", "c"}));
}

TEST(ReportObjects, HeightsAreMeasuredOnceAndSummed)
{
    CFakeReportDC dc;  // 1 logical unit = 10 HIMETRIC
    CFont font = MakeFont(-30);
    CReportGroup group;
    auto* pLine = new CReportLine(&group, 0, 200);
    auto* pMeasured = new CReportCellLabel(pLine, 0, 1000, 0, &font, std::string("Text"), 0);
    new CReportCellLabel(pLine, 0, 1000, 250, &font, std::string("fixed"), 0);
    auto* pLow = new CReportLine(&group, 0, 100);
    new CReportCell(pLow, 0, 10, 40, 0);

    EXPECT_EQ(pMeasured->GetHeight(dc), 300);
    EXPECT_EQ(pMeasured->GetStoredHeight(), 300);
    EXPECT_EQ(pLine->GetHeight(dc), 300);
    EXPECT_EQ(pLow->GetHeight(dc), 100);
    EXPECT_EQ(group.GetHeight(dc), 400);
    // Measured with the cell's font, and the context's font put back.
    EXPECT_EQ(dc.GetSelectedFont(), nullptr);

    // The stored height serves later contexts, whatever their metrics.
    CFakeReportDC otherDC(127);
    EXPECT_EQ(pMeasured->GetHeight(otherDC), 300);
}

TEST(ReportObjects, MeasuringCellsMeasureOnEveryCall)
{
    CFakeReportDC dc;
    CFont font = MakeFont(-30);
    CReportLine line(nullptr, 0, 0);
    auto* pCell = new CReportCellLabel(&line, 0, 1000, 120, &font, std::string("x"), RCF_MEASURE);
    EXPECT_EQ(pCell->GetHeight(dc), 300);
    EXPECT_EQ(pCell->GetStoredHeight(), 120);
    CReportCell plain(nullptr, 0, 0, 120, RCF_MEASURE);
    EXPECT_EQ(plain.GetHeight(dc), 0);
}

TEST(ReportObjects, MultiLineTextsSplitAtLineEndsAndWrapAtTheCellWidth)
{
    CFakeReportDC dc;
    CFont font = MakeFont(-10);  // 5 logical units per character
    dc.SelectObject(&font);
    CReportLine line(nullptr, 0, 0);

    auto* pLines = new CReportCellLabel(&line, 0, 1000, 0, &font, std::string("one\r\ntwo\nthree"), RCF_MULTILINE);
    EXPECT_EQ(pLines->GetTextLines(dc), (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(pLines->GetHeight(dc), 3 * 10 * 10);

    // 250 HIMETRIC = 25 logical units = five characters.
    auto* pWrapped = new CReportCellLabel(&line, 0, 250, 0, &font, std::string("abc defgh ij\nabcdefghijkl"),
                                          RCF_MULTILINE | RCF_WORDBREAK);
    EXPECT_EQ(pWrapped->GetTextLines(dc),
              (std::vector<std::string>{"abc ", "defgh", " ij", "abcde", "fghij", "kl"}));
    EXPECT_EQ(pWrapped->GetHeight(dc), 6 * 100);

    // Without RCF_MULTILINE the text is one line whatever it holds.
    auto* pSingle = new CReportCellLabel(&line, 0, 250, 0, &font, std::string("a\nb"), RCF_WORDBREAK);
    EXPECT_EQ(pSingle->GetTextLines(dc), (std::vector<std::string>{"a\nb"}));
}

TEST(ReportObjects, VariableCellsReadTheirStringWhenAsked)
{
    std::string strPage = "Seite 1";
    CReportLine line(nullptr, 0, 0);
    auto* pCell = new CReportCellVariable(&line, 0, 100, 0, nullptr, &strPage, RCF_CENTER);
    EXPECT_EQ(pCell->GetText(), "Seite 1");
    strPage = "Seite 2";
    EXPECT_EQ(pCell->GetText(), "Seite 2");
    auto* pEmpty = new CReportCellVariable(&line, 0, 100, 0, nullptr, nullptr, 0);
    EXPECT_EQ(pEmpty->GetText(), "");

    auto* pLabel = new CReportCellLabel(&line, 0, 100, 0, nullptr, std::string("a"), 0);
    pLabel->SetText("b");
    EXPECT_EQ(pLabel->GetText(), "b");
}

TEST(ParamReport, FontsFollowTheContextsResolution)
{
    CFakeReportDC dc(600);
    CParamReport report;
    EXPECT_FALSE(report.GetNormalFont()->IsCreated());
    report.CreateFonts(dc);

    LOGFONT normal;
    ASSERT_TRUE(report.GetNormalFont()->GetLogFont(&normal));
    EXPECT_EQ(normal.lfFaceName, "Arial");
    EXPECT_EQ(normal.lfHeight, -67);  // 8 pt at 600 dpi, 66.67 rounded
    EXPECT_EQ(normal.lfWeight, 400);
    EXPECT_EQ(normal.lfCharSet, 1);
    EXPECT_EQ(normal.lfOutPrecision, 0);
    EXPECT_EQ(normal.lfClipPrecision, 0);
    EXPECT_EQ(normal.lfQuality, 2);
    EXPECT_EQ(normal.lfPitchAndFamily, 0x22);
    EXPECT_EQ(report.GetTitleFont()->GetLogFontRef().lfHeight, -133);
    EXPECT_EQ(report.GetTitleFont()->GetLogFontRef().lfWeight, 700);
    EXPECT_EQ(report.GetReportData()->GetLogFontRef().lfHeight, -100);
    EXPECT_EQ(report.GetReportData()->GetLogFontRef().lfWeight, 700);

    // A second job on another device makes them anew.
    CFakeReportDC screen(96);
    report.CreateFonts(screen);
    EXPECT_EQ(report.GetNormalFont()->GetLogFontRef().lfHeight, -11);
    report.DeleteFonts();
    EXPECT_FALSE(report.GetTitleFont()->IsCreated());
}

TEST(ParamReport, EmptyLinesGoToTheBodyWithTheirPageBreak)
{
    CFakeReportDC dc;
    CParamReport report;
    report.CreateFonts(dc);

    // Without a body there is nowhere to put the line.
    report.AddEmptyLine(nullptr, report.GetNormalFont(), TRUE);
    EXPECT_EQ(report.GetBodyGroup(), nullptr);

    CParamReportGroup* pBody = report.CreateBody();
    ASSERT_EQ(report.GetBodyGroup(), pBody);
    EXPECT_EQ(pBody->GetReport(), &report);
    CReportGroup other;
    report.AddEmptyLine(&other, report.GetTitleFont(), TRUE);
    report.AddEmptyLine(pBody, report.GetNormalFont(), FALSE);
    EXPECT_EQ(other.GetCount(), 0);
    ASSERT_EQ(pBody->GetCount(), 2);

    auto* pBreak = dynamic_cast<CParamReportLine*>(pBody->GetAt(0));
    ASSERT_NE(pBreak, nullptr);
    EXPECT_EQ(pBreak->GetFlags(), 0x400u);
    ASSERT_EQ(pBreak->GetCellCount(), 1);
    auto* pCell = dynamic_cast<CReportCellLabel*>(pBreak->GetCell(0));
    ASSERT_NE(pCell, nullptr);
    EXPECT_EQ(pCell->GetText(), " ");
    EXPECT_EQ(pCell->GetX(), 0);
    EXPECT_EQ(pCell->GetWidth(), 100);
    EXPECT_EQ(pCell->GetStoredHeight(), 0);
    EXPECT_EQ(pCell->GetFlags(), 0u);
    EXPECT_EQ(pCell->GetFont(), report.GetTitleFont());
    EXPECT_EQ(pBody->GetAt(1)->GetFlags(), 0u);

    report.DeleteBody();
    EXPECT_EQ(report.GetBodyGroup(), nullptr);
}
