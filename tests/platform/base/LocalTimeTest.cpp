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
