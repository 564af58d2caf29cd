#include "tests/model/SwitchProgramTestSupport.h"

#include "model/CalendarRecord.h"
#include "model/Utils.h"
#include "model/SpecialDays.h"
#include "common/ProgressInfo.h"
#include "platform/archive/Archive.h"
#include "report/ParamReport.h"
#include "report/ParamReportLine.h"
#include "report/ReportCellLabel.h"
#include "tests/report/FakeReportDC.h"

#include <gtest/gtest.h>

using switchtest::Bytes;
using switchtest::CSchemaGuard;
using switchtest::SwitchProgramTest;
using switchtest::At;

namespace {

class SpecialDaysTest : public SwitchProgramTest {
protected:
    void SetUp() override
    {
        SwitchProgramTest::SetUp();
        m_p5 = Routines().CreateDayRoutine();
        m_p5->SetNumber(5);
        m_p5->SetName("Feiertag");
    }
    CSpecialDays& Days() { return *m_chronoset.GetSpecialDays(); }
    CSpecialDay* AddDay(const std::tm& start, const std::tm& end, CDayRoutine* pRoutine)
    {
        CSpecialDay* pDay = Days().CreateSpecialDay();
        EXPECT_NE(pDay, nullptr);
        pDay->SetStartTime(start);
        pDay->SetEndTime(end);
        pDay->SetDayRoutine(pRoutine);
        return pDay;
    }
    Bytes Image() { return Bytes(Days().GetDownloadBlock(), Days().GetDownloadBlock() + 1100); }

    CDayRoutine* m_p5 = nullptr;
};

}  // namespace

TEST_F(SpecialDaysTest, RecordTextsAndBytes)
{
    CSpecialDay* pDay = AddDay(At(2024, 12, 24, 12, 30), At(2024, 12, 26, 23, 59), m_p5);
    EXPECT_EQ(pDay->GetParameterString(), "180c180c1e180c1a173b05");
    BYTE arrRecord[11] = {};
    EXPECT_FALSE(pDay->FillDataBuffer(arrRecord, 10));
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, "invalid buffer"));
    ASSERT_TRUE(pDay->FillDataBuffer(arrRecord, 11));
    EXPECT_EQ(Bytes(arrRecord, arrRecord + 11), (Bytes {24, 12, 24, 12, 30, 24, 12, 26, 23, 59, 5}));
    // A year outside the record's range keeps the text at 22 digits.
    pDay->SetStartTime(At(1999, 1, 1));
    pDay->SetDayRoutine(nullptr);
    EXPECT_EQ(pDay->GetParameterString(), "ff0101000018" "0c1a173b00");
}

TEST_F(SpecialDaysTest, ParameterTextsLoad)
{
    // 21 digits hold no record.
    EXPECT_TRUE(Days().InsertSpecialDayFromString(std::string(21, '0')));
    EXPECT_EQ(Days().GetCount(), 0);
    // 44 digits: the empty first record is skipped, the second read.
    EXPECT_TRUE(Days().InsertSpecialDayFromString("ff" + std::string(20, '0') + "1805010000180501173b05"));
    ASSERT_EQ(Days().GetCount(), 1);
    CSpecialDay* pDay = Days().GetSpecialDays().front();
    EXPECT_EQ(pDay->GetDayRoutine(), m_p5);
    EXPECT_EQ(pDay->GetStartTime().tm_year, 124);
    EXPECT_EQ(pDay->GetStartTime().tm_mon, 4);
    EXPECT_EQ(pDay->GetStartTime().tm_mday, 1);
    EXPECT_EQ(pDay->GetEndTime().tm_hour, 23);
    EXPECT_EQ(pDay->GetEndTime().tm_min, 59);
    // Routine 9 does not exist, routine 0 is none.
    EXPECT_TRUE(Days().InsertSpecialDayFromString("1805010000180501173b09" "1805020000180502173b00"));
    EXPECT_EQ(Days().GetCount(), 3);
    EXPECT_EQ(Days().GetSpecialDays().back()->GetDayRoutine(), nullptr);

    // Through the stored parameters: the walk ends at the first empty text.
    CSpecialDays other;
    EXPECT_EQ(other.CompleteEtsLoad(nullptr), 5);
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, "invalid specialday param count"));
    Days().RemoveAll();
    Days().AddParameter(10, "1805010000180501173b05", 0);
    Days().AddParameter(11, "", 1);
    Days().AddParameter(12, "zz", 2);
    CProgressInfo progress(0);
    progress.SetRange(0, 100);
    EXPECT_EQ(Days().CompleteEtsLoad(&progress), 0);
    EXPECT_EQ(Days().GetCount(), 1);
    EXPECT_EQ(progress.GetPosition(), 3u);
    // Without owner nothing is read.
    other.AddParameter(1, "1805010000180501173b05", 0);
    EXPECT_EQ(other.CompleteEtsLoad(nullptr), 5);
    EXPECT_EQ(other.GetCount(), 0);
}

TEST_F(SpecialDaysTest, SaveSplitsTheListTenPerParameter)
{
    for (int i = 0; i < 3; ++i)
        Days().AddParameter(20 + i, "old", i);
    for (int i = 0; i < 25; ++i)
        AddDay(At(2025, 1, 1 + i), At(2025, 1, 1 + i, 23, 59), m_p5);
    // Without host access every write fails, but the texts are built.
    EXPECT_EQ(Days().SaveToEts(nullptr, nullptr), 5);
    const CStringLongObjectArray& arrParameters = Days().GetParameters();
    EXPECT_EQ(arrParameters[0]->GetText().size(), 220u);
    EXPECT_EQ(arrParameters[1]->GetText().size(), 220u);
    EXPECT_EQ(arrParameters[2]->GetText().size(), 110u);
    EXPECT_EQ(arrParameters[2]->GetText().substr(0, 22), "1901150000190115173b05");
}

TEST_F(SpecialDaysTest, ImageIsSortedWithEmptySlotsLast)
{
    ASSERT_TRUE(Days().InitDownload(nullptr));
    Bytes empty;
    for (int i = 0; i < 100; ++i) {
        empty.push_back(0xFF);
        empty.insert(empty.end(), 10, 0);
    }
    EXPECT_EQ(Image(), empty);

    AddDay(At(2025, 3, 1, 8, 0), At(2025, 3, 1, 18, 0), nullptr);
    AddDay(At(2025, 3, 1, 7, 59), At(2025, 3, 2, 0, 0), m_p5);
    AddDay(At(2025, 3, 1, 7, 59), At(2025, 3, 3, 0, 0), m_p5);
    CProgressInfo progress(0);
    progress.SetRange(0, 100);
    ASSERT_TRUE(Days().InitDownload(&progress));
    EXPECT_EQ(progress.GetPosition(), 3u);
    const Bytes image = Image();
    // Equal starts both reach the image, before the later one.
    EXPECT_EQ(Bytes(image.begin(), image.begin() + 5), (Bytes {25, 3, 1, 7, 59}));
    EXPECT_EQ(Bytes(image.begin() + 11, image.begin() + 16), (Bytes {25, 3, 1, 7, 59}));
    EXPECT_EQ(Bytes(image.begin() + 22, image.begin() + 33), (Bytes {25, 3, 1, 8, 0, 25, 3, 1, 18, 0, 0}));
    EXPECT_EQ(image[33], 0xFF);
    EXPECT_EQ(Bytes(image.begin() + 33, image.end()), Bytes(empty.begin() + 33, empty.end()));
    Days().ExitDownload();
    EXPECT_EQ(Days().WriteToDevice(nullptr, nullptr), 5);
    EXPECT_EQ(Days().AddToDownloadProcedure(nullptr, nullptr), 5);
}

TEST_F(SpecialDaysTest, ArchiveRecordsBySchemaAndBeyondTheLimit)
{
    AddDay(At(2025, 12, 24, 12, 30), At(2025, 12, 26, 8, 15), m_p5);
    AddDay(At(2026, 1, 1), At(2026, 1, 1, 23, 59), nullptr);
    CArchive ar;
    Days().StoreToArchive(ar, nullptr);
    EXPECT_EQ(ar.GetBuffer(), (Bytes {0x02, 0x00, 0x00, 0x00,                                 //
                                      125, 0, 11, 0, 24, 0, 12, 0, 30, 0, 125, 0, 11, 0, 26, 0, 8, 0, 15, 0, 5, 0,  //
                                      126, 0, 0, 0, 1, 0, 0, 0, 0, 0, 126, 0, 0, 0, 1, 0, 23, 0, 59, 0, 0xFF, 0xFF}));

    CSpecialDays loaded;
    loaded.SetChronoset(&m_chronoset);
    CArchive in(ar.GetBuffer());
    loaded.LoadFromArchive(in, nullptr);
    EXPECT_TRUE(in.AtEnd());
    ASSERT_EQ(loaded.GetCount(), 2);
    EXPECT_EQ(loaded.GetSpecialDays().front()->GetDayRoutine(), m_p5);
    EXPECT_EQ(loaded.GetSpecialDays().front()->GetStartTime().tm_min, 30);
    EXPECT_EQ(loaded.GetSpecialDays().back()->GetDayRoutine(), nullptr);

    // 101 records without minutes (schema 0x10001), then a word of the next
    // record: the 101st is read and dropped, the reader stays in step.
    CSchemaGuard schema(0x10001);
    Bytes bytes {101, 0, 0, 0};
    for (int i = 0; i < 101; ++i) {
        const Bytes record {125, 0, 0, 0, 1, 0, 8, 0, 125, 0, 0, 0, 1, 0, 9, 0, 5, 0};
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    bytes.push_back(0x42);
    bytes.push_back(0x00);
    CSpecialDays many;
    many.SetChronoset(&m_chronoset);
    CArchive manyIn(bytes);
    many.LoadFromArchive(manyIn, nullptr);
    EXPECT_EQ(many.GetCount(), 100);
    WORD wNext = 0;
    manyIn >> wNext;
    EXPECT_EQ(wNext, 0x42);
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_WARNING, "dropped"));
}

TEST_F(SpecialDaysTest, ExportAndReport)
{
    AddDay(At(2025, 12, 24, 12, 30), At(2025, 12, 26, 8, 5), m_p5);
    AddDay(At(2026, 1, 1), At(2026, 1, 1, 23, 59), nullptr);
    std::string strFile;
    CProgressInfo progress(0);
    progress.SetRange(0, 200);
    Days().ExportCsv(&progress, strFile);
    EXPECT_EQ(strFile, "\"Sondertage\"\n"
                       "\"Beginn\",\"Ende\",\"Tagesablauf\"\n"
                       "\"vom 24.12.2025, 12:30 Uhr\",\"bis 26.12.2025, 08:05 Uhr\",\"05: Feiertag\"\n"
                       "\"vom 01.01.2026, 00:00 Uhr\",\"bis 01.01.2026, 23:59 Uhr\",\"kein\"\n");
    EXPECT_EQ(progress.GetPosition(), 100u);

    // The weekday comes from the date: the loaded record has none.
    EXPECT_EQ(CSpecialDays::GetReportCellText(Days().GetSpecialDays().front(), 0), "von Mi 24.12.2025, 12:30");
    EXPECT_EQ(CSpecialDays::GetReportCellText(Days().GetSpecialDays().front(), 1), "bis Fr 26.12.2025, 08:05");
    EXPECT_EQ(CSpecialDays::GetReportCellText(Days().GetSpecialDays().back(), 1), "bis Do 01.01.2026, 23:59");
    EXPECT_EQ(CSpecialDays::GetReportCellText(Days().GetSpecialDays().back(), 2), "*leer*");

    CFakeReportDC dc;
    CParamReport report;
    report.CreateFonts(dc);
    report.CreateBody();
    Days().AddReport(&report, &dc, 20000);
    // Title, empty line, headings, empty line, two rows.
    ASSERT_EQ(report.GetBodyGroup()->GetCount(), 6);
    auto* pCell = dynamic_cast<CReportCellLabel*>(report.GetBodyGroup()->GetAt(4)->GetCell(2));
    ASSERT_NE(pCell, nullptr);
    EXPECT_EQ(pCell->GetText(), "05: Feiertag");
}

TEST_F(SpecialDaysTest, ListLimitAndRemoval)
{
    for (int i = 0; i < 100; ++i)
        ASSERT_NE(Days().CreateSpecialDay(), nullptr);
    EXPECT_EQ(Days().CreateSpecialDay(), nullptr);
    CSpecialDay* pFirst = Days().GetSpecialDays().front();
    EXPECT_TRUE(Days().RemoveSpecialDay(pFirst));
    EXPECT_FALSE(Days().RemoveSpecialDay(pFirst));
    EXPECT_EQ(Days().GetCount(), 99);
    delete pFirst;
    EXPECT_EQ(GetObjectKindFlag(Days().GetSpecialDays().front()), OKF_SPECIALDAY);
}
