#include "tests/model/SwitchProgramTestSupport.h"

#include "access/BusAccess.h"
#include "access/DownloadProcedure.h"
#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "common/ProgressInfo.h"
#include "platform/archive/Archive.h"
#include "platform/host/HostObjects.h"
#include "platform/host/HostState.h"
#include "report/ParamReport.h"
#include "report/ParamReportLine.h"
#include "report/ReportCellLabel.h"
#include "tests/report/FakeReportDC.h"

#include <gtest/gtest.h>

#include <memory>

using switchtest::Bytes;
using switchtest::CSchemaGuard;
using switchtest::SwitchProgramTest;

namespace {

// Routines 3 and 12 exist; Monday runs 3, Friday 12.
class WeekRoutineTest : public SwitchProgramTest {
protected:
    void SetUp() override
    {
        SwitchProgramTest::SetUp();
        m_p3 = Routines().CreateDayRoutine();
        m_p3->SetNumber(3);
        m_p3->SetName("Arbeit");
        m_p12 = Routines().CreateDayRoutine();
        m_p12->SetNumber(12);
        m_p12->SetName("Frei");
    }
    void SetMondayAndFriday()
    {
        Week().SetDayRoutine(0, m_p3);
        Week().SetDayRoutine(4, m_p12);
    }
    std::vector<CDayRoutine*> Days()
    {
        std::vector<CDayRoutine*> arrDays;
        for (int nDay = 0; nDay < 7; ++nDay)
            arrDays.push_back(Week().GetDayRoutine(nDay));
        return arrDays;
    }

    CDayRoutine* m_p3 = nullptr;
    CDayRoutine* m_p12 = nullptr;
};

}  // namespace

TEST_F(WeekRoutineTest, ParameterTextAndDeviceBlock)
{
    SetMondayAndFriday();
    EXPECT_EQ(Week().BuildParameterText(), "FF030000000c0000");

    CProgressInfo progress(0);
    progress.SetRange(0, 100);
    EXPECT_EQ(Week().GetDownloadBlock(), nullptr);
    ASSERT_TRUE(Week().InitDownload(&progress));
    EXPECT_EQ(Bytes(Week().GetDownloadBlock(), Week().GetDownloadBlock() + 8),
              (Bytes {0xFF, 0x03, 0x00, 0x00, 0x00, 0x0C, 0x00, 0x00}));
    EXPECT_EQ(progress.GetPosition(), 1u);

    CDownloadProcedure procedure;
    EXPECT_EQ(Week().AddToDownloadProcedure(&progress, &procedure), 0);
    ASSERT_EQ(procedure.GetRecords().size(), 2u);
    const auto& record = procedure.GetRecords()[1];
    EXPECT_EQ(Bytes(record.begin(), record.begin() + 13),
              (Bytes {0x0A, 0x86, 0xC0, 0x86, 0xC7, 0xFF, 0x03, 0x00, 0x00, 0x00, 0x0C, 0x00, 0x00}));
    EXPECT_EQ(progress.GetPosition(), 1u);

    Week().ExitDownload();
    EXPECT_EQ(Week().GetDownloadBlock(), nullptr);
    EXPECT_EQ(Week().AddToDownloadProcedure(nullptr, &procedure), 5);
    CBusAccess bus(true);
    EXPECT_EQ(Week().WriteToDevice(&progress, &bus), 5);
    EXPECT_EQ(progress.GetPosition(), 3u);
}

TEST_F(WeekRoutineTest, ParsingTheHostText)
{
    Week().SetDayRoutine(6, m_p3);
    // Routine 9 does not exist; upper-case digits are read as well.
    Week().SetParameterText(42, "FF030900000C0000");
    CProgressInfo progress(0);
    progress.SetRange(0, 100);
    EXPECT_EQ(Week().CompleteEtsLoad(&progress), 0);
    EXPECT_EQ(Days(), (std::vector<CDayRoutine*> {m_p3, nullptr, nullptr, nullptr, m_p12, nullptr, nullptr}));
    EXPECT_EQ(progress.GetPosition(), 1u);

    // A short text leaves the days it does not reach as they are.
    Week().SetParameterText(42, "FF0c03");
    EXPECT_EQ(Week().CompleteEtsLoad(nullptr), 0);
    EXPECT_EQ(Days(), (std::vector<CDayRoutine*> {m_p12, m_p3, nullptr, nullptr, m_p12, nullptr, nullptr}));

    // "FF" alone, or nothing, changes nothing.
    for (const char* pszText : {"FF", ""}) {
        Week().SetParameterText(42, pszText);
        EXPECT_EQ(Week().CompleteEtsLoad(nullptr), 0);
        EXPECT_EQ(Week().GetDayRoutine(0), m_p12);
    }
}

TEST_F(WeekRoutineTest, WithoutOwnerTheLoadFails)
{
    CWeekRoutine week;
    week.SetParameterText(42, "FF030000000c0000");
    EXPECT_EQ(week.CompleteEtsLoad(nullptr), 5);
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, "internal data error"));
    EXPECT_EQ(week.GetDayRoutine(0), nullptr);
    // Days outside the week have no routine and take none.
    week.SetDayRoutine(7, m_p3);
    EXPECT_EQ(week.GetDayRoutine(7), nullptr);
    EXPECT_EQ(week.GetDayRoutine(-1), nullptr);
}

TEST_F(WeekRoutineTest, SavingWritesAndRemembersTheText)
{
    using platform::host::HostParameter;
    auto pState = std::make_shared<platform::host::CHostState>();
    auto pNode = std::make_shared<HostParameter>();
    pNode->nId = 42;
    pNode->value = std::string("old");
    IEtsDeviceParameter* pView = nullptr;
    ASSERT_EQ(platform::host::CreateParameterView(pState, pNode, &pView), S_OK);
    g_mapDeviceParameters.SetAt(42, pView);
    pView->Release();

    SetMondayAndFriday();
    Week().SetParameterText(42, "");
    CEtsDataAccess access;
    CProgressInfo progress(0);
    progress.SetRange(0, 100);
    EXPECT_EQ(Week().SaveToEts(&progress, &access), 0);
    EXPECT_EQ(std::get<std::string>(pNode->value), "FF030000000c0000");
    EXPECT_EQ(Week().GetParameterText(), "FF030000000c0000");
    EXPECT_EQ(progress.GetPosition(), 1u);

    pState->m_faults.push_back(platform::host::HostFault {"DeviceParameter:42", "put_Value", E_FAIL, 0, 0});
    EXPECT_EQ(Week().SaveToEts(nullptr, &access), 5);
    g_mapDeviceParameters.RemoveAll();
}

TEST_F(WeekRoutineTest, ArchiveRecord)
{
    SetMondayAndFriday();
    CArchive ar;
    Week().StoreToArchive(ar, nullptr);
    EXPECT_EQ(ar.GetBuffer(), (Bytes {0x03, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x0C, 0x00, 0xFF, 0xFF, 0xFF,
                                      0xFF}));

    // An unknown number reads as none.
    CArchive in(Bytes {0x0C, 0x00, 0xFF, 0xFF, 0x09, 0x00, 0x00, 0x00, 0x03, 0x00, 0xFF, 0xFF, 0xFF, 0xFF});
    CProgressInfo progress(0);
    progress.SetRange(0, 100);
    Week().LoadFromArchive(in, &progress);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(Days(), (std::vector<CDayRoutine*> {m_p12, nullptr, nullptr, nullptr, m_p3, nullptr, nullptr}));
    EXPECT_EQ(progress.GetPosition(), 7u);
}

TEST_F(WeekRoutineTest, ExportAndTexts)
{
    SetMondayAndFriday();
    std::string strFile;
    CProgressInfo progress(0);
    progress.SetRange(0, 100);
    Week().ExportCsv(&progress, strFile);
    EXPECT_EQ(strFile,
              "\"Wochenablauf\"\n"
              "\"Wochentag\",\"Tagesablauf\",\"Nr\"\n"
              "\"Montag\",\"Arbeit\",\"03\"\n"
              "\"Dienstag\",,\n"
              "\"Mittwoch\",,\n"
              "\"Donnerstag\",,\n"
              "\"Freitag\",\"Frei\",\"12\"\n"
              "\"Samstag\",,\n"
              "\"Sonntag\",,\n");
    EXPECT_EQ(progress.GetPosition(), 7u);

    EXPECT_EQ(Week().GetColumnText(0, 0), "Montag");
    EXPECT_EQ(Week().GetColumnText(0, 1), "Arbeit");
    EXPECT_EQ(Week().GetColumnText(0, 2), "03");
    EXPECT_EQ(Week().GetColumnText(6, 0), "Sonntag");
    EXPECT_EQ(Week().GetColumnText(6, 1), "\"kein\"");
    EXPECT_EQ(Week().GetColumnText(6, 2), "-");
}

TEST_F(WeekRoutineTest, ReportSection)
{
    SetMondayAndFriday();
    CFakeReportDC dc;
    CParamReport report;
    report.CreateFonts(dc);
    report.CreateBody();
    Week().AddReport(&report, &dc, 19000);
    CReportGroup* pBody = report.GetBodyGroup();
    // Title, gap, headings, gap, seven days.
    ASSERT_EQ(pBody->GetCount(), 11);
    auto text = [&](int nLine, int nCell) {
        return dynamic_cast<CReportCellLabel*>(pBody->GetAt(nLine)->GetCell(nCell))->GetText();
    };
    EXPECT_EQ(text(0, 0), "Wochenablauf");
    EXPECT_EQ(text(2, 0), "Wochentag");
    EXPECT_EQ(text(2, 1), "Tagesablauf");
    EXPECT_EQ(text(2, 2), "Nr");
    EXPECT_EQ(pBody->GetAt(2)->GetFlags(), RLF_BORDER_BOTTOM);
    EXPECT_EQ(text(4, 1), "Arbeit");
    EXPECT_EQ(text(8, 2), "12");
    EXPECT_EQ(text(10, 1), "\"kein\"");
    // "Donnerstag" is the widest text of the first column.
    EXPECT_EQ(dynamic_cast<CReportCellLabel*>(pBody->GetAt(4)->GetCell(0))->GetWidth(), 10 * 140);
}
