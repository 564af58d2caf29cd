#include "platform/base/LocalTime.h"

#include <gtest/gtest.h>

#include <ctime>

using namespace platform;

TEST(LocalTime, TzSetAndUnsetChangeTheZone)
{
    auto saved = GetTz();
    SetTz(std::string("CET-1CEST,M3.5.0,M10.5.0/3"));
    EXPECT_EQ(GetTz().value(), "CET-1CEST,M3.5.0,M10.5.0/3");
    std::tm summer = LocalTimeOf(1719835200);  // 2024-07-01 12:00 UTC
    EXPECT_EQ(summer.tm_hour, 14);
    EXPECT_EQ(summer.tm_isdst, 1);

    SetTz(std::string("UTC0"));
    EXPECT_EQ(LocalTimeOf(1719835200).tm_hour, 12);

    // Clearing the zone unsets the variable rather than leaving it empty.
    SetTz(std::string());
    EXPECT_FALSE(GetTz().has_value());
    SetTz(std::nullopt);
    EXPECT_FALSE(GetTz().has_value());
    SetTz(saved);
}

TEST(LocalTime, MakeLocalTimeRoundTrips)
{
    auto saved = GetTz();
    SetTz(std::string("CET-1CEST,M3.5.0,M10.5.0/3"));
    std::tm tm {};
    tm.tm_year = 124;
    tm.tm_mon = 11;
    tm.tm_mday = 24;
    tm.tm_hour = 18;
    tm.tm_isdst = -1;
    std::time_t t = MakeLocalTime(tm);
    EXPECT_EQ(t, 1735059600);
    EXPECT_EQ(LocalTimeOf(t).tm_mday, 24);
    SetTz(saved);
}

// 5:30 east of UTC all year: hour and minute differ from UTC on every date,
// so a clock read in UTC (or with the offset's sign turned) cannot pass.
TEST(LocalTime, LocalTimeIsTheWallClockOfTheZone)
{
    auto saved = GetTz();
    SetTz(std::string("IST-5:30"));
    const std::time_t before = std::time(nullptr);
    const SYSTEMTIME st = GetLocalTime();
    const std::time_t after = std::time(nullptr);
    SetTz(saved);

    // time() may trail the precise clock by a tick: one second more.
    bool bMatched = false;
    for (std::time_t t = before; t <= after + 1 && !bMatched; ++t) {
        const std::time_t shifted = t + 5 * 3600 + 30 * 60;
        std::tm tm {};
        ::gmtime_r(&shifted, &tm);
        bMatched = st.wYear == tm.tm_year + 1900 && st.wMonth == tm.tm_mon + 1 && st.wDay == tm.tm_mday &&
                   st.wDayOfWeek == tm.tm_wday && st.wHour == tm.tm_hour && st.wMinute == tm.tm_min &&
                   st.wSecond == tm.tm_sec;
    }
    EXPECT_TRUE(bMatched) << st.wYear << "-" << st.wMonth << "-" << st.wDay << " " << st.wHour << ":" << st.wMinute
                          << ":" << st.wSecond;
    EXPECT_LT(st.wMilliseconds, 1000);
}

// The fields come as given, in the C library's counting, with nothing else
// set: no weekday, no day of the year, no daylight saving, whatever the
// zone; mktime then reads them as the wall clock of the zone.
TEST(LocalTime, BuildLocalFieldsGivesTheFieldsAsTheWallClockOfAnyZone)
{
    auto saved = GetTz();
    for (const char* pszZone : {"UTC0", "CET-1CEST,M3.5.0,M10.5.0/3", "IST-5:30"}) {
        SetTz(std::string(pszZone));
        const std::tm tm = BuildLocalFields(2024, 12, 24, 18, 7, 9);
        EXPECT_EQ(tm.tm_year, 124) << pszZone;
        EXPECT_EQ(tm.tm_mon, 11) << pszZone;
        EXPECT_EQ(tm.tm_mday, 24) << pszZone;
        EXPECT_EQ(tm.tm_hour, 18) << pszZone;
        EXPECT_EQ(tm.tm_min, 7) << pszZone;
        EXPECT_EQ(tm.tm_sec, 9) << pszZone;
        EXPECT_EQ(tm.tm_wday, 0) << pszZone;
        EXPECT_EQ(tm.tm_yday, 0) << pszZone;
        EXPECT_EQ(tm.tm_isdst, 0) << pszZone;
        EXPECT_EQ(tm.tm_gmtoff, 0) << pszZone;
    }
    // Fields that are no date stay as given, for mktime to carry over.
    EXPECT_EQ(BuildLocalFields(2023, 2, 30).tm_mday, 30);
    EXPECT_EQ(BuildLocalFields(2023, 1, 1).tm_hour, 0);

    // Christmas Eve 2024, 18:00 in Central Europe: 17:00 UTC.
    SetTz(std::string("CET-1CEST,M3.5.0,M10.5.0/3"));
    std::tm winter = BuildLocalFields(2024, 12, 24, 18);
    EXPECT_EQ(MakeLocalTime(winter), 1735059600);
    // 1 July 2024, 14:00 in summer time: 12:00 UTC, once the caller lets
    // mktime find the daylight saving.
    std::tm summer = BuildLocalFields(2024, 7, 1, 14);
    summer.tm_isdst = -1;
    EXPECT_EQ(MakeLocalTime(summer), 1719835200);
    SetTz(saved);
}
