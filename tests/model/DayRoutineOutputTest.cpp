#include "tests/model/SwitchProgramTestSupport.h"

#include "model/Utils.h"
#include "common/ProgressInfo.h"
#include "report/ParamReport.h"
#include "report/ParamReportLine.h"
#include "report/ReportCellLabel.h"
#include "tests/report/FakeReportDC.h"

#include <gtest/gtest.h>

using switchtest::SwitchProgramTest;

namespace {

class DayRoutineOutputTest : public SwitchProgramTest {
protected:
    void SetUp() override
    {
        SwitchProgramTest::SetUp();
        m_report.CreateFonts(m_dc);
        m_report.CreateBody();
    }

    CReportGroup* Body() { return m_report.GetBodyGroup(); }
    CReportCellLabel* Cell(int nLine, int nCell)
    {
        return dynamic_cast<CReportCellLabel*>(Body()->GetAt(nLine)->GetCell(nCell));
    }
    std::vector<std::string> Texts(int nLine)
    {
        std::vector<std::string> arrTexts;
        for (int i = 0; i < Body()->GetAt(nLine)->GetCellCount(); ++i)
            arrTexts.push_back(Cell(nLine, i)->GetText());
        return arrTexts;
    }

    CFakeReportDC m_dc;
    CParamReport m_report;
};

}  // namespace

TEST_F(DayRoutineOutputTest, ExportWritesTheRoutineBlockThenOneBlockPerRoutine)
{
    CGroupDataAddress* pTrigger = AddAddress(1, 0x1001, 1, 2, -1, false, "Taster");
    CGroupDataAddress* pLight = AddAddress(2, 0x1203, 1, 2, -1, false, "Licht \"Flur\"");
    CDayRoutine* p1 = Routines().CreateDayRoutine();
    CDayRoutine* p2 = Routines().CreateDayRoutine();
    p1->SetName("Werktag");
    p1->SetTriggerGroupAddress(pTrigger);
    p2->SetName("Ruhetag");
    AddTime(p1, 6, 30, pLight, 1, 1);
    AddTime(p1, 22, 0, pLight, 0);

    CProgressInfo progress(0);
    progress.SetRange(0, 2000);
    std::string strFile;
    Routines().ExportCsv(&progress, strFile);
    // Names go out as they stand, quotes and all.
    EXPECT_EQ(strFile,
              "\"Tagesabläufe\"\n"
              "\"Nr\",\"Name\",\"Auslöser\",\"Nr\"\n"
              "\"01\",\"Werktag\",\"Taster\",\"01/00/0001\"\n"
              "\"02\",\"Ruhetag\",\"\",\"\"\n"
              "\n"
              "\"Tagesablauf - Werktag\"\n"
              "\"Zeit\",\"Gruppenadresse\",\"Nr\",\"Typ\",\"Wert\",\"SbÄ\"\n"
              "\"06:30\",\"Licht \"Flur\"\",\"01/02/0003\",\"1 Bit\",\"1\",\"Ja\"\n"
              "\"22:00\",\"Licht \"Flur\"\",\"01/02/0003\",\"1 Bit\",\"0\",\"Nein\"\n"
              "\n"
              "\"Tagesablauf - Ruhetag\"\n"
              "\"Zeit\",\"Gruppenadresse\",\"Nr\",\"Typ\",\"Wert\",\"SbÄ\"\n");
    // A full set of switching times always accounts for 800 steps.
    EXPECT_EQ(progress.GetPosition(), 800u);
}

TEST_F(DayRoutineOutputTest, ExportWithoutRoutines)
{
    std::string strFile;
    Routines().ExportCsv(nullptr, strFile);
    EXPECT_EQ(strFile, "\"Tagesabläufe\"\n\"Nr\",\"Name\",\"Auslöser\",\"Nr\"\n");
}

TEST_F(DayRoutineOutputTest, RoutinesSection)
{
    CDayRoutine* p1 = Routines().CreateDayRoutine();
    p1->SetName("Werktag");
    p1->SetTriggerGroupAddress(AddAddress(1, 0x1001, 1, 2, -1, false, "Taster"));
    Routines().CreateDayRoutine()->SetName("Ruhetag");

    Routines().AddReport(&m_report, &m_dc, 19000);
    // Title, gap, headings, gap, two rows.
    ASSERT_EQ(Body()->GetCount(), 6);
    EXPECT_EQ(Texts(0), (std::vector<std::string> {"Tagesabläufe"}));
    EXPECT_EQ(Cell(0, 0)->GetWidth(), 19000);
    EXPECT_EQ(Texts(2), (std::vector<std::string> {"Name", "Nr", "Auslöser", "Nr"}));
    EXPECT_EQ(Body()->GetAt(2)->GetFlags(), RLF_BORDER_BOTTOM);
    EXPECT_EQ(Texts(4), (std::vector<std::string> {"Werktag", "01", "Taster", "01/00/0001"}));
    EXPECT_EQ(Texts(5), (std::vector<std::string> {"Ruhetag", "02", "*leer*", ""}));
    EXPECT_EQ(Body()->GetAt(5)->GetFlags(), 0u);

    // 140 HIMETRIC per character: the names are the widest texts of the
    // first column, the heading "Auslöser" of the third.
    EXPECT_EQ(Cell(4, 0)->GetX(), 500);
    EXPECT_EQ(Cell(4, 0)->GetWidth(), 7 * 140);
    EXPECT_EQ(Cell(4, 1)->GetX(), 500 + 980 + 350);
    EXPECT_EQ(Cell(4, 2)->GetWidth(), 8 * 140);  // "Auslöser"
}

TEST_F(DayRoutineOutputTest, EmptyReportShowsTitleAndHeadings)
{
    Routines().AddReport(&m_report, &m_dc, 19000);
    ASSERT_EQ(Body()->GetCount(), 4);
    EXPECT_EQ(Texts(2), (std::vector<std::string> {"Name", "Nr", "Auslöser", "Nr"}));
}

TEST_F(DayRoutineOutputTest, SwitchTimeSectionOfARoutine)
{
    CDayRoutine* pRoutine = Routines().CreateDayRoutine();
    pRoutine->SetName("Werktag");
    CGroupDataAddress* pCounter = AddAddress(1, 0x1203, 7, 1, -1, false, "Z");
    AddTime(pRoutine, 6, 30, pCounter, 65535, 1);
    AddTime(pRoutine, 7, 0, nullptr);

    pRoutine->AddReport(&m_report, &m_dc, 19000);
    ASSERT_EQ(Body()->GetCount(), 6);
    EXPECT_EQ(Texts(0), (std::vector<std::string> {"Tagesablauf - Werktag"}));
    EXPECT_EQ(Texts(2), (std::vector<std::string> {"Uhrzeit", "Gruppenadresse", "Typ", "Nr", "Wert", "SbÄ"}));
    const std::string strType = GetDptTypeName(7);
    EXPECT_EQ(Texts(4), (std::vector<std::string> {"06:30", "Z", strType, "01/02/0003", "65535", "Ja"}));
    EXPECT_EQ(Texts(5), (std::vector<std::string> {"07:00", "-", "-", "-", "-", "Nein"}));
    // The value column is as wide as its widest text, a value, not its
    // heading.
    EXPECT_EQ(Cell(4, 4)->GetWidth(), 5 * 140);
}
