#include "access/DeviceStatus.h"

#include "platform/base/LocalTime.h"
#include "platform/base/ResourceLibrary.h"
#include "resources/de/BuiltInResources.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

class DeviceStatusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pPrevious = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
    }
    void TearDown() override { platform::SetFrameworkResourceModule(m_pPrevious); }

    static CDeviceStatus WithBytes(BYTE nFlags, BYTE nRoutine = 0, BYTE nSource = 0)
    {
        CDeviceStatus status;
        status.GetData()[8] = nFlags;
        status.GetData()[9] = nRoutine;
        status.GetData()[10] = nSource;
        return status;
    }

    const platform::CResourceModule* m_pPrevious = nullptr;
};

// Runs the test body in a fixed zone and puts the old one back.
class CTzScope {
public:
    explicit CTzScope(const char* pszTz) : m_oldTz(platform::GetTz()) { platform::SetTz(std::string(pszTz)); }
    ~CTzScope() { platform::SetTz(m_oldTz); }

private:
    std::optional<std::string> m_oldTz;
};

}  // namespace

TEST_F(DeviceStatusTest, AFreshBlockIsZeroAndReadsWholeOrClockPart)
{
    CDeviceStatus status;
    for (std::size_t i = 0; i < CDeviceStatus::kSize; ++i)
        EXPECT_EQ(status.GetData()[i], 0) << i;
    EXPECT_EQ(status.GetSize(true), 11);
    EXPECT_EQ(status.GetSize(false), 9);
}

TEST_F(DeviceStatusTest, FlagsAndTheirTexts)
{
    CDeviceStatus set = WithBytes(0x03, 4, 1);
    EXPECT_TRUE(set.IsClockSet());
    EXPECT_FALSE(set.IsSwitchProgramRunning());
    EXPECT_FALSE(set.IsEnabledByObject());
    EXPECT_EQ(set.GetTimeModeText(), "Sommerzeit");
    EXPECT_EQ(set.GetCurrentDayRoutine(), 4);
    EXPECT_EQ(set.GetDayRoutineTypeText(), "Sondertag");

    CDeviceStatus running = WithBytes(0x18, 0, 0);
    EXPECT_FALSE(running.IsClockSet());
    EXPECT_TRUE(running.IsSwitchProgramRunning());
    EXPECT_TRUE(running.IsEnabledByObject());
    EXPECT_EQ(running.GetTimeModeText(), "Normalzeit");
    EXPECT_EQ(running.GetDayRoutineTypeText(), "Wochenablauf");

    EXPECT_EQ(WithBytes(0x06).GetTimeModeText(), "nicht definiert");
    EXPECT_EQ(WithBytes(0x04).GetTimeModeText(), "nicht definiert");
    EXPECT_EQ(WithBytes(0, 0, 2).GetDayRoutineTypeText(), "aktiviert über Objekt");
    EXPECT_EQ(WithBytes(0, 0, 7).GetDayRoutineTypeText(), "kein Tagesablauf");
    EXPECT_EQ(WithBytes(0, 0, 3).GetDayRoutineTypeText(), "kein Tagesablauf");
}

TEST_F(DeviceStatusTest, TrimIsMagnitudeAndSign)
{
    CDeviceStatus status;
    const BYTE arrClock[7] = {23, 59, 58, 7, 30, 3, 8};
    std::copy(std::begin(arrClock), std::end(arrClock), status.GetData());
    status.GetData()[9] = 5;

    status.SetTrim(-12);
    EXPECT_EQ(status.GetData()[7], 12);
    EXPECT_EQ(status.GetData()[8], 0x80);
    EXPECT_EQ(status.GetTrim(), -12);
    // Only bytes 7 and 8 change.
    EXPECT_TRUE(std::equal(std::begin(arrClock), std::end(arrClock), status.GetData()));
    EXPECT_EQ(status.GetData()[9], 5);

    status.GetData()[8] = 0x8B;  // status bits read with a negative trim
    status.SetTrim(12);
    EXPECT_EQ(status.GetData()[7], 12);
    EXPECT_EQ(status.GetData()[8], 0);
    EXPECT_EQ(status.GetTrim(), 12);

    status.GetData()[8] = 0x09;
    status.SetTrim(-1);
    EXPECT_EQ(status.GetData()[8], 0x89);

    status.SetTrim(-300);
    EXPECT_EQ(status.GetTrim(), -255);
    status.SetTrim(1000);
    EXPECT_EQ(status.GetTrim(), 255);
}

TEST_F(DeviceStatusTest, ClockFromTheDialogRecord)
{
    // Sunday 2008-03-30 14:05:09 in the dialog's form: Sunday = 1, year 2008's low byte.
    const BYTE arrDialog[7] = {14, 5, 9, 1, 30, 3, 0xD8};
    CDeviceClock clock;
    clock.ConvertFrom(arrDialog);
    const BYTE arrExpected[7] = {14, 5, 9, 7, 30, 3, 8};
    EXPECT_TRUE(std::equal(std::begin(arrExpected), std::end(arrExpected), clock.GetData()));

    // Saturday is 7 there and 6 here; 2255 is the last year the byte holds.
    const BYTE arrSaturday[7] = {0, 0, 0, 7, 1, 1, static_cast<BYTE>(2255 & 0xFF)};
    clock.ConvertFrom(arrSaturday);
    EXPECT_EQ(clock.Get(CDeviceClock::Weekday), 6);
    EXPECT_EQ(clock.Get(CDeviceClock::Year), 255);

    const std::array<BYTE, 12> arrPacked = [&] {
        clock.ConvertFrom(arrDialog);
        return clock.PackDateTime();
    }();
    EXPECT_EQ(arrPacked, (std::array<BYTE, 12>{14, 5, 9, 0, 30, 3, 8, 0, 0, 0, 0, 0}));
}

TEST_F(DeviceStatusTest, ClockAndCalendarTime)
{
    CTzScope tz("CET-1CEST,M3.5.0,M10.5.0/3");
    CDeviceClock clock;
    clock.SetTime(CTime(2008, 3, 30, 14, 5, 9));
    const BYTE arrExpected[7] = {14, 5, 9, 7, 30, 3, 8};
    EXPECT_TRUE(std::equal(std::begin(arrExpected), std::end(arrExpected), clock.GetData()));
    EXPECT_EQ(clock.GetTime(), CTime(2008, 3, 30, 14, 5, 9));

    clock.SetTime(CTime(2010, 12, 27, 0, 0, 0));  // a Monday
    EXPECT_EQ(clock.Get(CDeviceClock::Weekday), 1);
    EXPECT_EQ(clock.Get(CDeviceClock::Year), 10);

    // The status block carries the clock in its first seven bytes.
    CDeviceStatus status;
    status.SetTrim(-3);
    status.SetClock(clock);
    EXPECT_EQ(status.GetClock(), clock);
    EXPECT_EQ(status.GetTrim(), -3);
}
