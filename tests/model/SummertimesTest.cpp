#include "tests/model/SwitchProgramTestSupport.h"

#include "model/CalendarRecord.h"
#include "model/Utils.h"
#include "model/Summertimes.h"
#include "common/ProgressInfo.h"
#include "platform/archive/Archive.h"

#include <gtest/gtest.h>

using switchtest::Bytes;
using switchtest::CSchemaGuard;
using switchtest::SwitchProgramTest;
using switchtest::At;

namespace {

class SummertimesTest : public SwitchProgramTest {
protected:
    CSummertimes& Periods() { return *m_chronoset.GetSummertimes(); }
    int Load(const std::string& strText)
    {
        Periods().RemoveAll();
        Periods().SetParameterText(7, strText);
        return Periods().CompleteEtsLoad(nullptr);
    }
    CSummertime* First() { return Periods().GetSummertimes().front(); }
    CSummertime* Add(const std::tm& start, const std::tm& end, int nShift)
    {
        CSummertime* pPeriod = Periods().CreateSummertime();
        EXPECT_NE(pPeriod, nullptr);
        pPeriod->SetStartTime(start);
        pPeriod->SetEndTime(end);
        pPeriod->SetShift(nShift);
        return pPeriod;
    }
};

}  // namespace

TEST(CalendarRecordTest, CivilNormalisationCarriesOverWithoutTheZone)
{
    // 31 April is 1 May; minute 60 is the next hour.
    std::tm tm = NormalizeCivilTime(At(2025, 4, 31, 23, 60));
    EXPECT_EQ(tm.tm_year, 125);
    EXPECT_EQ(tm.tm_mon, 4);
    EXPECT_EQ(tm.tm_mday, 2);
    EXPECT_EQ(tm.tm_hour, 0);
    EXPECT_EQ(tm.tm_min, 0);
    EXPECT_EQ(tm.tm_wday, 5);  // Friday
    EXPECT_EQ(tm.tm_yday, 121);
    // Month 13 and day 0 carry backwards and forwards.
    tm = NormalizeCivilTime(At(2024, 13, 0));
    EXPECT_EQ(tm.tm_year, 124);
    EXPECT_EQ(tm.tm_mon, 11);
    EXPECT_EQ(tm.tm_mday, 31);
    EXPECT_EQ(GetCivilWeekday(At(2024, 2, 29)), 4);
    EXPECT_EQ(GetCivilWeekday(At(1970, 1, 1)), 4);
    EXPECT_EQ(GetCivilWeekday(At(1969, 12, 28)), 0);
    EXPECT_EQ(DaysFromCivil(2000, 3, 1), 11017);
}

TEST_F(SummertimesTest, FlagOnlyTexts)
{
    EXPECT_EQ(Load("00"), 0);
    EXPECT_EQ(Periods().IsEnabled(), 0);
    EXPECT_EQ(Periods().GetCount(), 0);
    EXPECT_EQ(Load("01"), 0);
    EXPECT_EQ(Periods().IsEnabled(), 1);
    EXPECT_EQ(Load("0"), 0);
    EXPECT_EQ(Periods().IsEnabled(), 0);
    // An empty text reads nothing.
    Periods().SetEnabled(1);
    EXPECT_EQ(Load(""), 0);
    EXPECT_EQ(Periods().IsEnabled(), 1);

    CSummertimes orphan;
    orphan.SetParameterText(1, "00");
    EXPECT_EQ(orphan.CompleteEtsLoad(nullptr), 5);
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, "internal data error"));
    EXPECT_EQ(orphan.IsEnabled(), 1);
}

TEST_F(SummertimesTest, ShortAndLongRecords)
{
    // 16 digits: one short record, minutes 0.
    EXPECT_EQ(Load("01" "19031e02" "0a1b0301"), 0);
    ASSERT_EQ(Periods().GetCount(), 1);
    EXPECT_EQ(First()->GetStartTime().tm_year, 125);
    EXPECT_EQ(First()->GetStartTime().tm_mon, 2);
    EXPECT_EQ(First()->GetStartTime().tm_mday, 30);
    EXPECT_EQ(First()->GetStartTime().tm_hour, 2);
    EXPECT_EQ(First()->GetEndTime().tm_year, 125);
    EXPECT_EQ(First()->GetEndTime().tm_mon, 9);
    EXPECT_EQ(First()->GetEndTime().tm_mday, 27);
    EXPECT_EQ(First()->GetEndTime().tm_hour, 3);
    EXPECT_EQ(First()->GetEndTime().tm_min, 0);
    EXPECT_EQ(First()->GetShift(), 1);

    // 22 digits: one long record; shift ff is -1; day 31 of April is 1 May.
    EXPECT_EQ(Load("00" "19041f021e" "190a1a031e" "ff"), 0);
    ASSERT_EQ(Periods().GetCount(), 1);
    EXPECT_EQ(Periods().IsEnabled(), 0);
    EXPECT_EQ(First()->GetStartTime().tm_mon, 4);
    EXPECT_EQ(First()->GetStartTime().tm_mday, 1);
    EXPECT_EQ(First()->GetStartTime().tm_min, 30);
    EXPECT_EQ(First()->GetStartTime().tm_wday, 4);
    EXPECT_EQ(First()->GetShift(), -1);
    EXPECT_EQ(First()->GetParameterString(), "190501021e190a1a031eff");

    // Empty records are skipped; 11 records stop at 10.
    EXPECT_EQ(Load("01" "ff" + std::string(20, '0') + "1903010000190a010000" "01"), 0);
    EXPECT_EQ(Periods().GetCount(), 1);
    std::string strEleven = "01";
    for (int i = 0; i < 11; ++i)
        strEleven += "1903010000190a01000001";
    EXPECT_EQ(Load(strEleven), 0);
    EXPECT_EQ(Periods().GetCount(), 10);
}

TEST_F(SummertimesTest, SaveTextAndExportOfANegativeShift)
{
    Add(At(2025, 3, 30, 2, 0), At(2025, 10, 26, 3, 0), -1);
    Periods().SetEnabled(0);
    EXPECT_EQ(Periods().BuildParameterText(), "00" "1903" "1e0200190a1a0300ff");
    EXPECT_EQ(Periods().SaveToEts(nullptr, nullptr), 5);
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, "failed to set summertime parameter"));
    EXPECT_EQ(Periods().GetParameterText(), "001903" "1e0200190a1a0300ff");

    std::string strFile;
    CProgressInfo progress(0);
    progress.SetRange(0, 100);
    Periods().ExportCsv(&progress, strFile);
    EXPECT_EQ(strFile, "\"Sommerzeiten\"\n"
                       "\"Jahr\",\"Beginn\",\"Ende\",\"Versatz\"\n"
                       "\"2025\",\"vom 30.03.2025, 02:00 Uhr\",\"bis 26.10.2025, 03:00 Uhr\",\"-1h\"\n");
    EXPECT_EQ(progress.GetPosition(), 11u);
    EXPECT_EQ(CSummertimes::GetReportCellText(First(), 0), "2025");
    EXPECT_EQ(CSummertimes::GetReportCellText(First(), 3), "-1 h");
    First()->SetShift(0);
    EXPECT_EQ(CSummertimes::GetReportCellText(First(), 3), "\"keine\"");
}

TEST_F(SummertimesTest, ImageSortedByYear)
{
    ASSERT_TRUE(Periods().InitDownload(nullptr));
    Bytes empty {0x01};
    for (int i = 0; i < 10; ++i) {
        empty.push_back(0xFF);
        empty.insert(empty.end(), 10, 0);
    }
    const BYTE* pImage = Periods().GetDownloadBlock();
    EXPECT_EQ(Bytes(pImage, pImage + 111), empty);

    Add(At(2026, 3, 29, 2, 0), At(2026, 10, 25, 3, 0), 1);
    Add(At(2025, 3, 30, 2, 0), At(2025, 10, 26, 3, 0), 1);
    Add(At(2025, 4, 1, 2, 0), At(2025, 9, 1, 3, 0), 2);
    Periods().SetEnabled(0);
    ASSERT_TRUE(Periods().InitDownload(nullptr));
    pImage = Periods().GetDownloadBlock();
    EXPECT_EQ(pImage[0], 0);
    EXPECT_EQ(pImage[1], 25);
    EXPECT_EQ(pImage[12], 25);
    EXPECT_EQ(Bytes(pImage + 23, pImage + 34), (Bytes {26, 3, 29, 2, 0, 26, 10, 25, 3, 0, 1}));
    EXPECT_EQ(pImage[34], 0xFF);
    Periods().ExitDownload();
    EXPECT_EQ(Periods().AddToDownloadProcedure(nullptr, nullptr), 5);
}

TEST_F(SummertimesTest, ArchiveRecordsBySchemaAndBeyondTheLimit)
{
    Add(At(2025, 3, 30, 2, 15), At(2025, 10, 26, 3, 45), -1);
    CArchive ar;
    Periods().StoreToArchive(ar, nullptr);
    EXPECT_EQ(ar.GetBuffer(), (Bytes {1, 0, 1, 0, 125, 0, 2, 0, 30, 0, 2, 0, 15, 0, 125, 0, 9, 0, 26, 0, 3, 0, 45, 0,
                                      0xFF, 0xFF}));
    CSummertimes loaded;
    CArchive in(ar.GetBuffer());
    loaded.LoadFromArchive(in, nullptr);
    EXPECT_TRUE(in.AtEnd());
    ASSERT_EQ(loaded.GetCount(), 1);
    EXPECT_EQ(loaded.GetSummertimes().front()->GetShift(), -1);
    EXPECT_EQ(loaded.GetSummertimes().front()->GetEndTime().tm_min, 45);

    // Count 12 without minutes (schema 0x1FFFF): ten kept, two read past.
    CSchemaGuard schema(0x1FFFF);
    Bytes bytes {0, 0, 12, 0};
    for (int i = 0; i < 12; ++i) {
        const Bytes record {static_cast<BYTE>(125 + i), 0, 2, 0, 30, 0, 2, 0, 125, 0, 9, 0, 26, 0, 3, 0, 1, 0};
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    bytes.push_back(0x42);
    CSummertimes many;
    CArchive manyIn(bytes);
    CProgressInfo progress(0);
    progress.SetRange(0, 100);
    many.LoadFromArchive(manyIn, &progress);
    EXPECT_EQ(many.GetCount(), 10);
    EXPECT_EQ(many.IsEnabled(), 0);
    EXPECT_EQ(progress.GetPosition(), 11u);
    BYTE nNext = 0;
    manyIn >> nNext;
    EXPECT_EQ(nNext, 0x42);
}

TEST_F(SummertimesTest, ListOperations)
{
    CSummertime* p2025 = Add(At(2025, 3, 30), At(2025, 10, 26), 1);
    CSummertime* p2026 = Add(At(2026, 3, 29), At(2026, 10, 25), 1);
    EXPECT_EQ(Periods().FindByYear(2026), p2026);
    EXPECT_EQ(Periods().FindByYear(2027), nullptr);
    EXPECT_TRUE(Periods().RemoveSummertime(p2025));
    EXPECT_FALSE(Periods().RemoveSummertime(p2025));
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, "SummerTime 125 not found in list"));
    delete p2025;
    for (int i = 1; i < 10; ++i)
        ASSERT_NE(Periods().CreateSummertime(), nullptr);
    EXPECT_EQ(Periods().CreateSummertime(), nullptr);
    EXPECT_EQ(GetObjectKindFlag(p2026), OKF_SUMMERTIME);
}
