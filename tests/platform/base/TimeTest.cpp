#include "platform/base/LocalTime.h"
#include "platform/base/Time.h"
#include "platform/base/TimeSpan.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

class TimeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldTz = platform::GetTz();
        platform::SetTz(std::string("CET-1CEST,M3.5.0,M10.5.0/3"));
    }
    void TearDown() override { platform::SetTz(m_oldTz); }

    std::optional<std::string> m_oldTz;
};

}  // namespace

TEST_F(TimeTest, BuildsFromLocalFieldsInTheCurrentZone)
{
    const CTime winter(2005, 12, 24, 12, 30, 15);
    EXPECT_EQ(winter.GetTime(), 1135423815);  // 11:30:15 UTC
    EXPECT_EQ(winter.GetYear(), 2005);
    EXPECT_EQ(winter.GetMonth(), 12);
    EXPECT_EQ(winter.GetDay(), 24);
    EXPECT_EQ(winter.GetHour(), 12);
    EXPECT_EQ(winter.GetMinute(), 30);
    EXPECT_EQ(winter.GetSecond(), 15);
    EXPECT_EQ(winter.GetDayOfWeek(), 7);  // Saturday

    const CTime summer(2005, 7, 1, 12, 0, 0);
    EXPECT_EQ(summer.GetTime(), 1120212000);  // 10:00 UTC
    EXPECT_EQ(CTime(2000, 1, 2, 0, 0, 0).GetDayOfWeek(), 1);  // Sunday

    std::tm tm{};
    ASSERT_TRUE(summer.GetLocalTm(tm));
    EXPECT_EQ(tm.tm_isdst, 1);
    EXPECT_EQ(tm.tm_hour, 12);
}

TEST_F(TimeTest, FieldsWithoutALocalFormGiveTheInvalidTime)
{
    std::tm tm{};
    EXPECT_EQ(CTime(1900, 1, 1, 0, 0, 0).GetTime(), -1);
    EXPECT_FALSE(CTime(1900, 1, 1, 0, 0, 0).GetLocalTm(tm));
    EXPECT_EQ(CTime(2005, 13, 1, 0, 0, 0).GetTime(), -1);
    EXPECT_EQ(CTime(2005, 1, 0, 0, 0, 0).GetTime(), -1);
    EXPECT_EQ(CTime(2005, 1, 1, 24, 0, 0).GetTime(), -1);
    EXPECT_TRUE(CTime(0).GetLocalTm(tm));
}

TEST_F(TimeTest, ArithmeticWithSpans)
{
    const CTime start(2000, 1, 1, 23, 59, 0);
    const CTimeSpan minute(0, 0, 1, 0);
    CTime end = start + minute;
    EXPECT_EQ(end.GetDay(), 2);
    EXPECT_EQ(end.GetHour(), 0);
    EXPECT_EQ(end - start, minute);
    end -= CTimeSpan(1, 0, 0, 0);
    EXPECT_LT(end, start);
    EXPECT_EQ((start - end).GetTotalSeconds(), 86400 - 60);

    const CTimeSpan span(2, 3, 4, 5);
    EXPECT_EQ(span.GetDays(), 2);
    EXPECT_EQ(span.GetHours(), 3);
    EXPECT_EQ(span.GetMinutes(), 4);
    EXPECT_EQ(span.GetSeconds(), 5);
    EXPECT_EQ((-span).GetHours(), -3);
    EXPECT_EQ(span.GetTotalMinutes(), 2 * 1440 + 3 * 60 + 4);
}

TEST_F(TimeTest, CurrentTimeIsNowAndReadsInTheCurrentZone)
{
    platform::SetTz(std::string("IST-5:30"));  // no daylight saving: always 5:30 ahead of UTC
    const std::time_t before = std::time(nullptr);
    const CTime now = CTime::GetCurrentTime();
    const std::time_t after = std::time(nullptr);
    EXPECT_GE(now.GetTime(), before);
    EXPECT_LE(now.GetTime(), after + 1);  // time() may trail a precise clock by a tick

    const std::time_t t = static_cast<std::time_t>(now.GetTime());
    std::tm utc {};
    ::gmtime_r(&t, &utc);
    EXPECT_EQ(now.GetHour() * 60 + now.GetMinute(), (utc.tm_hour * 60 + utc.tm_min + 330) % 1440);
}
