#include "platform/base/LocalTime.h"

#include <gtest/gtest.h>

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

TEST(LocalTime, LocalTimeIsPlausible)
{
    SYSTEMTIME st = GetLocalTime();
    EXPECT_GE(st.wYear, 2024);
    EXPECT_GE(st.wMonth, 1);
    EXPECT_LE(st.wMonth, 12);
    EXPECT_LT(st.wMilliseconds, 1000);
    EXPECT_LT(st.wDayOfWeek, 7);
}
