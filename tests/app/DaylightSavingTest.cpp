#include "app/PlugInApp.h"
#include "app/TimeZoneGuard.h"
#include "platform/base/LocalTime.h"

#include <gtest/gtest.h>

namespace {

constexpr char kCet[] = "CET-1CEST,M3.5.0,M10.5.0/3";
constexpr std::time_t kJulyNoonUtc = 1719835200;  // 2024-07-01 12:00 UTC

class DaylightSavingTest : public ::testing::Test {
protected:
    void SetUp() override { m_saved = platform::GetTz(); }
    void TearDown() override { platform::SetTz(m_saved); }
    std::optional<std::string> m_saved;
};

}  // namespace

TEST_F(DaylightSavingTest, SwitchFixesTheStandardOffsetAndRestores)
{
    platform::SetTz(std::string(kCet));
    CPlugInApp app;
    app.DisableDaylightSaving(true);
    EXPECT_EQ(platform::GetTz(), "XST-1:00:00");
    EXPECT_EQ(platform::LocalTimeOf(kJulyNoonUtc).tm_hour, 13);  // no summer hour
    // A second switch-off without a restore changes nothing.
    app.DisableDaylightSaving(true);
    EXPECT_EQ(platform::GetTz(), "XST-1:00:00");
    app.RestoreDaylightSaving(true);
    EXPECT_EQ(platform::GetTz(), kCet);
    EXPECT_EQ(platform::LocalTimeOf(kJulyNoonUtc).tm_hour, 14);
}

TEST_F(DaylightSavingTest, ZoneWithoutDaylightSavingIsLeftAlone)
{
    platform::SetTz(std::string("UTC0"));
    CPlugInApp app;
    app.DisableDaylightSaving(true);
    EXPECT_EQ(platform::GetTz(), "UTC0");
    app.RestoreDaylightSaving(true);
    EXPECT_EQ(platform::GetTz(), "UTC0");
}

TEST_F(DaylightSavingTest, ZonesUnderAnHourEastKeepTheirSign)
{
    platform::SetTz(std::string("XXT-0:30XXS,M3.5.0,M10.5.0/3"));
    CPlugInApp app;
    app.DisableDaylightSaving(true);
    EXPECT_EQ(platform::GetTz(), "XST-0:30:00");
    EXPECT_EQ(platform::LocalTimeOf(kJulyNoonUtc).tm_min, 30);
    app.RestoreDaylightSaving(true);
    platform::SetTz(std::string("YYT3:30YYS,M3.2.0,M11.1.0"));
    app.DisableDaylightSaving(true);
    EXPECT_EQ(platform::GetTz(), "XST3:30:00");
    app.RestoreDaylightSaving(true);
}

TEST_F(DaylightSavingTest, GuardLiftsTheFixedZoneForItsSpan)
{
    platform::SetTz(std::string(kCet));
    CPlugInApp app;
    app.DisableDaylightSaving(true);
    {
        CTimeZoneGuard guard;
        guard.ClearTZ();
        EXPECT_FALSE(platform::GetTz().has_value());
    }
    EXPECT_EQ(platform::GetTz(), "XST-1:00:00");
    app.RestoreDaylightSaving(true);

    // With TZ unset the guard changes nothing.
    platform::SetTz(std::nullopt);
    {
        CTimeZoneGuard guard;
        guard.ClearTZ();
        EXPECT_FALSE(platform::GetTz().has_value());
    }
    EXPECT_FALSE(platform::GetTz().has_value());
}
