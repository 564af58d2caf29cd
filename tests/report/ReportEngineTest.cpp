// Pagination and drawing of the report engine, through the parameter report
// with sections of lines whose heights the tests choose.

#include "FakeReportDC.h"
#include "platform/base/PrintInfo.h"
#include "report/IParamReportOwner.h"
#include "report/ParamReport.h"
#include "report/ParamReportLine.h"
#include "report/ReportCellLabel.h"
#include "report/ReportLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Page = std::vector<std::string>;
using Sections = std::vector<std::vector<int>>;

// Each section is a list of line heights (HIMETRIC); line j of section i
// shows "s<i>l<j>".
class CSectionOwner : public IParamReportOwner
{
public:
    explicit CSectionOwner(std::vector<std::vector<int>> arrSections) : m_arrSections(std::move(arrSections)) {}

    BOOL DoPreparePrinting(CPrintInfo*) override { return TRUE; }
    int GetPrintItemCount() const override { return static_cast<int>(m_arrSections.size()); }
    void AddPrintItemToReport(int nIndex, CParamReport* pReport, IReportDC*, CPrintInfo*, int, int) override
    {
        const std::vector<int>& arrHeights = m_arrSections[static_cast<std::size_t>(nIndex)];
        for (std::size_t j = 0; j < arrHeights.size(); ++j) {
            auto* pLine = new CParamReportLine(pReport->GetBodyGroup(), 0, 0);
            new CReportCellLabel(pLine, 0, 1000, arrHeights[j], pReport->GetNormalFont(),
                                 "s" + std::to_string(nIndex) + "l" + std::to_string(j), 0);
        }
    }
    std::string GetDeviceText() const override { return "Maker - Device - Application"; }
    std::string GetIndividualAddressText() const override { return "01.01.005"; }
    std::string GetFilePath() const override { return "/data/office.tv2"; }
    std::string GetDateText() const override { return "09.12.2026"; }

private:
    std::vector<std::vector<int>> m_arrSections;
};

// The body texts of drawn operations: the section lines and the empty lines.
Page BodyTexts(const std::vector<std::string>& arrOps)
{
    Page page;
    for (const std::string& strOp : arrOps) {
        const std::size_t nQuote = strOp.find('\'');
        if (strOp.rfind("text ", 0) != 0 || nQuote == std::string::npos)
            continue;
        const std::string strText = strOp.substr(nQuote + 1, strOp.size() - nQuote - 2);
        if (strText == " " || strText.rfind("s", 0) == 0)
            page.push_back(strText);
    }
    return page;
}

// Prints every page in order, as a print loop does, and keeps each page's
// drawing operations.
std::vector<std::vector<std::string>> PrintAll(CParamReport& report, CFakeReportDC& dc, BOOL bPreview = FALSE)
{
    std::vector<std::vector<std::string>> arrPages;
    CPrintInfo info;
    info.m_bPreview = bPreview;
    info.m_rectDraw = dc.GetPrintablePageRect();
    report.BeginPrinting(dc, &info);
    for (UINT nPage = 1; nPage < 100; ++nPage) {
        info.m_nCurPage = nPage;
        report.PrepareDC(dc, &info);
        if (!info.m_bContinuePrinting)
            break;
        info.m_rectDraw = dc.GetPrintablePageRect();
        dc.ClearOps();
        report.Print(dc, &info);
        arrPages.push_back(dc.GetOps());
    }
    report.EndPrinting(dc, &info);
    return arrPages;
}

std::vector<Page> BodyPages(const std::vector<std::vector<std::string>>& arrPages)
{
    std::vector<Page> arrBody;
    for (const auto& arrOps : arrPages)
        arrBody.push_back(BodyTexts(arrOps));
    return arrBody;
}

Page Lines(int nSection, int nFrom, int nTo)
{
    Page page;
    for (int j = nFrom; j <= nTo; ++j)
        page.push_back("s" + std::to_string(nSection) + "l" + std::to_string(j));
    return page;
}

Page Concat(Page a, const Page& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// With the fake context: page 2100 x 2970, margins 100, header and footer
// one 8 pt line (28) each, so the body runs from y 128 to 2842 (2714 units,
// 27140 HIMETRIC); an empty line is 28 high.

}  // namespace

TEST(ReportEngine, PagesHoldWholeLinesAndThePrintLoopStopsAfterTheLast)
{
    CSectionOwner owner(Sections{std::vector<int>(30, 1000)});
    CParamReport report(&owner);
    CFakeReportDC dc;
    const auto arrPages = BodyPages(PrintAll(report, dc));
    // 28 + 26 x 100 = 2628 fits; a 27th line would reach 2728 > 2714.
    ASSERT_EQ(arrPages.size(), 2u);
    EXPECT_EQ(arrPages[0], Concat({" "}, Lines(0, 0, 25)));
    EXPECT_EQ(arrPages[1], Lines(0, 26, 29));
}

TEST(ReportEngine, EverySectionAfterTheFirstStartsANewPage)
{
    CSectionOwner owner(Sections{{1000, 1000}, {1000}, {1000}});
    CParamReport report(&owner);
    CFakeReportDC dc;
    const auto arrPages = BodyPages(PrintAll(report, dc));
    ASSERT_EQ(arrPages.size(), 3u);
    EXPECT_EQ(arrPages[0], Concat({" "}, Lines(0, 0, 1)));
    EXPECT_EQ(arrPages[1], Concat({" "}, Lines(1, 0, 0)));
    EXPECT_EQ(arrPages[2], Concat({" "}, Lines(2, 0, 0)));
}

TEST(ReportEngine, ALineTallerThanThePageIsPrintedOnceOnAPageOfItsOwnCutAtTheFooter)
{
    CSectionOwner owner(Sections{{40000}});
    CParamReport report(&owner);
    CFakeReportDC dc;
    const auto arrOps = PrintAll(report, dc);
    const auto arrPages = BodyPages(arrOps);
    ASSERT_EQ(arrPages.size(), 2u);
    EXPECT_EQ(arrPages[0], Page({" "}));
    EXPECT_EQ(arrPages[1], Page({"s0l0"}));
    // The tall line is drawn inside the body only, and the clip is undone.
    std::vector<std::string> arrClip;
    for (const std::string& strOp : arrOps[1])
        if (strOp == "save" || strOp == "restore" || strOp.rfind("cliprect", 0) == 0)
            arrClip.push_back(strOp);
    EXPECT_EQ(arrClip, (std::vector<std::string>{"save", "cliprect 100,128,2000,2842", "restore"}));
    EXPECT_EQ(dc.GetSaveLevel(), 0);

    // In the middle of a section: the lines after it go on on the next page.
    CSectionOwner middle(Sections{{1000, 40000, 1000}});
    CParamReport report2(&middle);
    const auto arrMiddle = BodyPages(PrintAll(report2, dc));
    ASSERT_EQ(arrMiddle.size(), 3u);
    EXPECT_EQ(arrMiddle[1], Page({"s0l1"}));
    EXPECT_EQ(arrMiddle[2], Page({"s0l2"}));
}

TEST(ReportEngine, ASectionThatBeginsAtTheTopOfAPageLeavesNoEmptyPage)
{
    // The tall line ends its page, so the next section's page-break line
    // stands first on the following page without having been tested.
    CSectionOwner owner(Sections{{40000}, {1000}});
    CParamReport report(&owner);
    CFakeReportDC dc;
    const auto arrPages = BodyPages(PrintAll(report, dc));
    ASSERT_EQ(arrPages.size(), 3u);
    EXPECT_EQ(arrPages[1], Page({"s0l0"}));
    EXPECT_EQ(arrPages[2], Concat({" "}, Lines(1, 0, 0)));
}

TEST(ReportEngine, PreviewJumpsLayOutSkippedPagesLikeDrawnOnesAndReplayCachedPages)
{
    const std::vector<std::vector<int>> arrSections = {std::vector<int>(70, 1000), {1000, 2000}};
    CFakeReportDC dc;
    CSectionOwner owner(arrSections);
    CParamReport printed(&owner);
    const auto arrExpected = PrintAll(printed, dc);
    ASSERT_EQ(arrExpected.size(), 4u);

    CParamReport preview(&owner);
    CPrintInfo info;
    info.m_bPreview = TRUE;
    info.m_rectDraw = dc.GetPrintablePageRect();
    preview.BeginPrinting(dc, &info);
    auto showPage = [&](UINT nPage) {
        info.m_nCurPage = nPage;
        info.m_rectDraw = dc.GetPrintablePageRect();
        dc.ClearOps();
        preview.Print(dc, &info);
        return dc.GetOps();
    };
    // Pages 1 and 2 are laid out without being drawn; page 3 is as printed.
    EXPECT_EQ(showPage(3), arrExpected[2]);
    EXPECT_NE(preview.GetCachedPage(1), nullptr);
    EXPECT_NE(preview.GetCachedPage(2), nullptr);
    // Back to page 1: the recording is replayed, footer page number included,
    // and the item position stays where page 3 left it.
    EXPECT_EQ(showPage(1), arrExpected[0]);
    EXPECT_EQ(showPage(2), arrExpected[1]);
    EXPECT_EQ(showPage(4), arrExpected[3]);
    info.m_nCurPage = 5;
    preview.PrepareDC(dc, &info);
    EXPECT_FALSE(info.m_bContinuePrinting);
    preview.EndPrinting(dc, &info);
    EXPECT_EQ(preview.GetCachedPage(1), nullptr);
}

TEST(ReportEngine, HeaderAndFooterFrameEveryPageWithThePageNumber)
{
    CSectionOwner owner(Sections{std::vector<int>(30, 1000)});
    CParamReport report(&owner);
    CFakeReportDC dc;
    const auto arrPages = PrintAll(report, dc);
    ASSERT_EQ(arrPages.size(), 2u);
    auto has = [](const std::vector<std::string>& arrOps, const std::string& strOp) {
        return std::find(arrOps.begin(), arrOps.end(), strOp) != arrOps.end();
    };
    // 8 pt at 254 units per inch is 28 high and 14 wide per character.
    // Header: device text left, address right, a bar under it; footer: a bar
    // over it, page number centred, file left, date right.
    EXPECT_TRUE(has(arrPages[1], "text 100,100 a0 clip 100,100,2000,128 h28 'Maker - Device - Application'"));
    EXPECT_TRUE(has(arrPages[1], "text 2000,100 a2 clip 100,100,2000,128 h28 'Physikalische Adresse: 01.01.005'"));
    EXPECT_TRUE(has(arrPages[1], "bar 100,127 1900x1"));
    EXPECT_TRUE(has(arrPages[1], "bar 100,2842 1900x1"));
    EXPECT_TRUE(has(arrPages[1], "text 1050,2842 a6 clip 100,2842,2000,2870 h28 'Seite 2'"));
    EXPECT_TRUE(has(arrPages[0], "text 1050,2842 a6 clip 100,2842,2000,2870 h28 'Seite 1'"));
    EXPECT_TRUE(has(arrPages[1], "text 100,2842 a0 clip 100,2842,2000,2870 h28 '/data/office.tv2'"));
    EXPECT_TRUE(has(arrPages[1], "text 2000,2842 a2 clip 100,2842,2000,2870 h28 '09.12.2026'"));
}

TEST(ReportEngine, CellsAreCutAtThePageEdgeAndBordersFollowTheFlags)
{
    CFakeReportDC dc;
    CFont font;
    LOGFONT logFont;
    logFont.lfHeight = -20;
    font.CreateFontIndirect(&logFont);
    CPrintInfo info;
    info.m_rectDraw = RECT{100, 100, 1000, 2000};
    CReportLine line(nullptr, RLF_BORDERS, 0);
    // x 8000 and width 5000 HIMETRIC: from 900 to 1400, cut at 1000; the
    // right-aligned text then aligns to the page edge.
    auto* pCell = new CReportCellLabel(&line, 8000, 5000, 0, &font, std::string("Wert"), RCF_RIGHT | RCF_VCENTER);
    line.Draw(dc, nullptr, &info, 500);
    EXPECT_EQ(dc.GetOps(), (std::vector<std::string>{"text 1000,500 a2 clip 900,500,1000,520 h20 'Wert'",
                                                     "bar 100,500 900x1", "bar 100,519 900x1", "bar 100,500 1x20",
                                                     "bar 999,500 1x20"}));
    // The measured height was kept for later pages.
    EXPECT_EQ(pCell->GetStoredHeight(), 200);

    // A lay-out-only pass draws nothing on the printer but all on a
    // recording context.
    CFakeReportDC record;
    dc.ClearOps();
    info.m_lpUserData = reinterpret_cast<void*>(1);
    line.Draw(dc, &record, &info, 500);
    EXPECT_TRUE(dc.GetOps().empty());
    EXPECT_EQ(record.GetOps().size(), 5u);
}
