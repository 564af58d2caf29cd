// The parameter report of real parameter sets, on a context with fixed
// metrics: the print selection, the general and usage pages, and where the
// pages of the sample and of the largest set break.

#include "FakeReportDC.h"
#include "app/Chronoset.h"
#include "common/Globals.h"
#include "platform/base/PrintInfo.h"
#include "report/ParamReport.h"
#include "report/ReportCellText.h"
#include "report/ReportLine.h"
#include "printing/param/ParamReportOwner.h"
#include "platform/base/ResourceLibrary.h"
#include "tests/resources/SatellitePath.h"
#include "tools/SampleData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CTestOwner : public CParamReportOwner
{
public:
    BOOL DoPreparePrinting(CPrintInfo*) override { return TRUE; }
    std::string GetDateText() const override { return "09.12.2026"; }
};

class ParamReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pPrevious = g_pChronoset;
        m_bPreviousStandalone = g_bStandalone;
        g_pChronoset = &m_set;
        g_bStandalone = false;
    }
    void TearDown() override
    {
        g_pChronoset = m_pPrevious;
        g_bStandalone = m_bPreviousStandalone;
    }

    std::vector<std::pair<int, int>> Items(CParamReportOwner& owner)
    {
        std::vector<std::pair<int, int>> arrItems;
        for (const auto& pItem : owner.GetPrintItems())
            arrItems.emplace_back(pItem->GetType(), pItem->GetIndex());
        return arrItems;
    }

    // The texts of the body's lines, the cells of a line joined by "|".
    static std::vector<std::string> BodyLines(CParamReport& report)
    {
        std::vector<std::string> arrLines;
        CReportGroup* pBody = report.GetBodyGroup();
        for (int i = 0; pBody && i < pBody->GetCount(); ++i) {
            std::string strLine;
            CReportLine* pLine = pBody->GetAt(i);
            for (int j = 0; j < pLine->GetCellCount(); ++j) {
                if (j > 0)
                    strLine += "|";
                strLine += static_cast<CReportCellText*>(pLine->GetCell(j))->GetText();
            }
            arrLines.push_back(strLine);
        }
        return arrLines;
    }

    // Prints every page and gives, per page, the body texts drawn on it.
    static std::vector<std::vector<std::string>> PrintPages(CParamReport& report, CFakeReportDC& dc)
    {
        std::vector<std::vector<std::string>> arrPages;
        CPrintInfo info;
        info.m_rectDraw = dc.GetPrintablePageRect();
        report.BeginPrinting(dc, &info);
        for (UINT nPage = 1; nPage < 1000; ++nPage) {
            info.m_nCurPage = nPage;
            report.PrepareDC(dc, &info);
            if (!info.m_bContinuePrinting)
                break;
            info.m_rectDraw = dc.GetPrintablePageRect();
            dc.ClearOps();
            report.Print(dc, &info);
            std::vector<std::string> arrTexts;
            for (const std::string& strOp : dc.GetOps()) {
                const std::size_t nQuote = strOp.find('\'');
                // Body texts only: the header and footer lie above 128 and from 2842.
                const int y = std::stoi(strOp.substr(strOp.find(',') + 1));
                if (strOp.rfind("text ", 0) == 0 && nQuote != std::string::npos && y >= 128 && y < 2842)
                    arrTexts.push_back(strOp.substr(nQuote + 1, strOp.size() - nQuote - 2));
            }
            arrPages.push_back(arrTexts);
        }
        report.EndPrinting(dc, &info);
        return arrPages;
    }

    CChronoset m_set;
    CChronoset* m_pPrevious = nullptr;
    bool m_bPreviousStandalone = false;
};

}  // namespace

TEST_F(ParamReportTest, AllDataListsEveryRoutineAndQuantityByNumber)
{
    CTestOwner empty;
    EXPECT_EQ(Items(empty), (std::vector<std::pair<int, int>>{
                                {1, 0}, {2, 0}, {4, 0}, {5, 0}, {6, 0}, {8, 0}, {11, 0}, {12, 0}}));

    BuildSampleParameterSet(m_set);
    CTestOwner owner;
    std::vector<std::pair<int, int>> arrExpected = {{1, 0}, {2, 0}};
    for (const CDayRoutine* pRoutine : m_set.GetDayRoutines()->GetDayRoutines())
        arrExpected.emplace_back(3, pRoutine->GetNumber());
    std::sort(arrExpected.begin() + 2, arrExpected.end());
    for (auto item : std::vector<std::pair<int, int>>{{4, 0}, {5, 0}, {6, 0}, {8, 0}})
        arrExpected.push_back(item);
    for (int n = 1; n <= 30; ++n) {
        if (m_set.GetQuantities()->GetQuantity(n)) {
            arrExpected.emplace_back(9, n);
            arrExpected.emplace_back(10, n);
        }
    }
    arrExpected.emplace_back(11, 0);
    arrExpected.emplace_back(12, 0);
    EXPECT_EQ(Items(owner), arrExpected);

    // A selection starts empty; the first equal item is found.
    owner.SetPrintSelection(PRINT_SELECTION_CHOSEN);
    EXPECT_TRUE(owner.GetPrintItems().empty());
    owner.AddPrintItem(std::make_unique<CParamPrintItem>(9, 2));
    EXPECT_NE(owner.FindPrintItem(CParamPrintItem(9, 2)), nullptr);
    EXPECT_EQ(owner.FindPrintItem(CParamPrintItem(10, 2)), nullptr);
}

TEST_F(ParamReportTest, GeneralPageShowsTitleSendDelayAndTheClock)
{
    BuildSampleParameterSet(m_set);
    CTestOwner owner;
    owner.SetPrintSelection(PRINT_SELECTION_CHOSEN);
    owner.AddPrintItem(std::make_unique<CParamPrintItem>(PRINT_ITEM_GENERAL, 0));
    CFakeReportDC dc;
    CPrintInfo info;

    m_set.SetSendDelay(0);
    CParamReport report(&owner);
    report.BeginPrinting(dc, &info);
    std::vector<std::string> arrLines = BodyLines(report);
    ASSERT_GE(arrLines.size(), 5u);
    EXPECT_EQ(arrLines[0], " ");
    EXPECT_EQ(arrLines[1], "Allgemein");
    EXPECT_EQ(arrLines[2], " ");
    EXPECT_EQ(arrLines[3], "Sendeverzögerung:|keine");
    // The value starts 850 after the label's width (17 characters of 14).
    EXPECT_EQ(report.GetBodyGroup()->GetAt(3)->GetCell(1)->GetX(), 17 * 140 + 850);
    EXPECT_EQ(arrLines[4], " ");
    EXPECT_GT(arrLines.size(), 5u) << "the clock's section follows";
    report.EndPrinting(dc, &info);

    m_set.SetSendDelay(5);
    g_bStandalone = true;
    CParamReport standalone(&owner);
    CPrintInfo info2;
    standalone.BeginPrinting(dc, &info2);
    arrLines = BodyLines(standalone);
    EXPECT_EQ(arrLines[1], "Tavik 2.1");
    EXPECT_EQ(arrLines[3], "Sendeverzögerung:|0,5 s");
    standalone.EndPrinting(dc, &info2);

    // A delay without a text of its own prints none rather than another text.
    m_set.SetSendDelay(9);
    CParamReport odd(&owner);
    CPrintInfo info3;
    odd.BeginPrinting(dc, &info3);
    EXPECT_EQ(BodyLines(odd)[3], "Sendeverzögerung:|");
    odd.EndPrinting(dc, &info3);
}

TEST_F(ParamReportTest, UsagePageColumnsAreAsWideAsTheirWidestEntry)
{
    BuildSampleParameterSet(m_set);
    CTestOwner owner;
    owner.SetPrintSelection(PRINT_SELECTION_CHOSEN);
    owner.AddPrintItem(std::make_unique<CParamPrintItem>(PRINT_ITEM_USAGE, 0));
    CFakeReportDC dc;
    CPrintInfo info;
    CParamReport report(&owner);
    report.BeginPrinting(dc, &info);
    const std::vector<std::string> arrLines = BodyLines(report);
    const std::vector<std::string> arrExpected = {
        " ",
        "Auslastung",
        " ",
        "Feldname|Größe|belegt|(%)|frei",
        " ",
        "Adressen und Objekte",
        "   Gruppenadressen|250|11|(4%)|239",
    };
    ASSERT_EQ(arrLines.size(), 19u);
    EXPECT_EQ(std::vector<std::string>(arrLines.begin(), arrLines.begin() + 7), arrExpected);
    EXPECT_EQ(arrLines[10], "Zeiten");
    // The sample's three routines of 15.
    EXPECT_EQ(arrLines[11], "   Tagesabläufe|15|3|(20%)|12");
    EXPECT_EQ(arrLines[16], "Mengen");

    // Column 1 is as wide as "   Mengenmitglieder" (19 characters of 14 =
    // 266 units, 2660 HIMETRIC); the next starts 350 after it.
    CReportLine* pHeadings = report.GetBodyGroup()->GetAt(3);
    EXPECT_EQ(pHeadings->GetFlags(), RLF_BORDER_BOTTOM);
    EXPECT_EQ(pHeadings->GetCell(0)->GetX(), 500);
    EXPECT_EQ(pHeadings->GetCell(0)->GetWidth(), 2660);
    EXPECT_EQ(pHeadings->GetCell(1)->GetX(), 500 + 2660 + 350);
    report.EndPrinting(dc, &info);
}

TEST_F(ParamReportTest, EmptySelectionPrintsItsNote)
{
    CTestOwner owner;
    owner.SetPrintSelection(PRINT_SELECTION_CHOSEN);
    CFakeReportDC dc;
    CParamReport report(&owner);
    const auto arrPages = PrintPages(report, dc);
    ASSERT_EQ(arrPages.size(), 1u);
    EXPECT_EQ(arrPages[0], (std::vector<std::string>{" ", "Keine Druckdatenselektion"}));
}

TEST_F(ParamReportTest, SamplePagesBreakBetweenSections)
{
    BuildSampleParameterSet(m_set);
    CTestOwner owner;
    CFakeReportDC dc;
    CParamReport report(&owner);
    const auto arrPages = PrintPages(report, dc);
    // Every section fits on one page of its own.
    ASSERT_EQ(arrPages.size(), owner.GetPrintItems().size());
    std::vector<std::string> arrTitles;
    for (const auto& arrTexts : arrPages) {
        ASSERT_GE(arrTexts.size(), 2u);
        EXPECT_EQ(arrTexts[0], " ");
        arrTitles.push_back(arrTexts[1]);
    }
    EXPECT_EQ(arrTitles.front(), "Allgemein");
    EXPECT_EQ(arrTitles.back(), "Auslastung");
}

TEST_F(ParamReportTest, LargestSetPagesStartWithTheirSectionsOrGoOnWithThem)
{
    BuildMaximalParameterSet(m_set);
    CTestOwner owner;
    CFakeReportDC dc;
    CParamReport report(&owner);
    const auto arrPages = PrintPages(report, dc);

    // A section's first page shows its title after the empty line; "" marks a
    // page that goes on with the section before it.
    std::vector<std::string> arrExpected = {"Allgemein", "Tagesabläufe"};
    for (int n = 1; n <= 15; ++n)
        arrExpected.push_back("Tagesablauf - Tagesablauf " + std::to_string(n));
    for (const char* pszTitle : {"Wochenablauf", "Sommerzeiten", "Sondertage", "", "Mengen"})
        arrExpected.push_back(pszTitle);
    for (int n = 1; n <= 30; ++n) {
        arrExpected.push_back("Auslöser der Menge Menge " + std::to_string(n));
        arrExpected.push_back("Mitglieder der Menge Menge " + std::to_string(n));
    }
    for (const char* pszTitle : {"Gruppenadressen", "", "", "Auslastung"})
        arrExpected.push_back(pszTitle);

    std::vector<std::string> arrStarts;
    for (const auto& arrTexts : arrPages) {
        ASSERT_GE(arrTexts.size(), 2u);
        arrStarts.push_back(arrTexts[0] == " " ? arrTexts[1] : std::string());
    }
    EXPECT_EQ(arrStarts, arrExpected);
}

TEST_F(ParamReportTest, HeaderAndFooterSpeakTheUserInterfaceLanguage)
{
    BuildSampleParameterSet(m_set);
    auto frame = [&]() {
        CTestOwner owner;
        owner.SetPrintSelection(PRINT_SELECTION_CHOSEN);
        CFakeReportDC dc;
        CParamReport report(&owner);
        CPrintInfo info;
        report.BeginPrinting(dc, &info);
        info.m_nCurPage = 1;
        info.m_rectDraw = dc.GetPrintablePageRect();
        report.PrepareDC(dc, &info);
        report.Print(dc, &info);
        std::vector<std::string> arrTexts;
        for (const std::string& strOp : dc.GetOps())
            if (strOp.rfind("text ", 0) == 0)
                arrTexts.push_back(strOp.substr(strOp.find('\'') + 1, strOp.size() - strOp.find('\'') - 2));
        report.EndPrinting(dc, &info);
        return arrTexts;
    };
    const std::string strDevice =
        m_set.GetManufacturerText() + " - " + m_set.GetProductText() + " - " + m_set.GetApplicationText();
    EXPECT_EQ(frame(), (std::vector<std::string>{strDevice, "Physikalische Adresse: 01.01.001", "Seite 1",
                                                 "09.12.2026", " ", "Keine Druckdatenselektion"}));

    const platform::CResourceModule* pEnglish = platform::LoadResourceLibrary(SatellitePath());
    ASSERT_NE(pEnglish, nullptr);
    const platform::CResourceModule* pPrevious = platform::SetFrameworkResourceModule(pEnglish);
    const std::vector<std::string> arrEnglish = frame();
    platform::SetFrameworkResourceModule(pPrevious);
    EXPECT_EQ(arrEnglish, (std::vector<std::string>{strDevice, "Physical address: 01.01.001", "Page 1", "09.12.2026",
                                                    " ", "No print data selection"}));
}
