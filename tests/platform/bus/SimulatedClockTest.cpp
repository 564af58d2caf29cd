#include "platform/bus/SimulatedDevice.h"

#include "DeviceTestSupport.h"

#include <gtest/gtest.h>

using bustest::CManualClock;

namespace {

class DeviceClockBlockTest : public ::testing::Test {
protected:
    DeviceClockBlockTest() : m_device(m_clock.Source())
    {
        LONG nOpenError = 0;
        EXPECT_EQ(m_device.Connect(0x1101, nOpenError), EDeviceResult::Ok);
    }

    EDeviceResult WriteBlock(const std::vector<BYTE>& arrBlock)
    {
        return m_device.WriteUserMemory(0xF0000, arrBlock.data(), arrBlock.size(), 1);
    }

    std::vector<BYTE> ReadBlock(std::size_t nLength = 11)
    {
        std::vector<BYTE> arrBlock;
        EXPECT_EQ(m_device.ReadUserMemory(0xF0000, nLength, arrBlock), EDeviceResult::Ok);
        return arrBlock;
    }

    CManualClock m_clock;
    CSimulatedDevice m_device;
};

}  // namespace

TEST_F(DeviceClockBlockTest, AFreshClockRunsFromItsDefaultTimeAndIsNotSet)
{
    m_clock.Advance(90 * 1000);
    EXPECT_EQ(ReadBlock(), (std::vector<BYTE>{0, 1, 30, 6, 1, 1, 0, 0, 0x00, 0, 0xFF}));
}

TEST_F(DeviceClockBlockTest, TheClockRunsOnFromTheWrittenTime)
{
    // Sunday 2008-12-28 10:20:30, trim -12 s per month: as the clock dialog writes it.
    ASSERT_EQ(WriteBlock({10, 20, 30, 7, 28, 12, 8, 12, 0x80}), EDeviceResult::Ok);
    EXPECT_EQ(ReadBlock(9), (std::vector<BYTE>{10, 20, 30, 7, 28, 12, 8, 12, 0x81}));

    // Less than a second later the read-back still matches to the second.
    m_clock.Advance(999);
    EXPECT_EQ(ReadBlock(3), (std::vector<BYTE>{10, 20, 30}));
    m_clock.Advance(44 * 1000 + 1);
    EXPECT_EQ(ReadBlock(3), (std::vector<BYTE>{10, 21, 15}));

    // Over midnight and the year's end: the weekday moves on with the days.
    ASSERT_EQ(WriteBlock({23, 59, 59, 3, 31, 12, 8, 0, 0}), EDeviceResult::Ok);
    m_clock.Advance(1000);
    EXPECT_EQ(ReadBlock(9), (std::vector<BYTE>{0, 0, 0, 4, 1, 1, 9, 0, 0x01}));
    // Leap day.
    ASSERT_EQ(WriteBlock({23, 0, 0, 4, 28, 2, 8}), EDeviceResult::Ok);
    m_clock.Advance(3600 * 1000);
    EXPECT_EQ(ReadBlock(7), (std::vector<BYTE>{0, 0, 0, 5, 29, 2, 8}));
}

TEST_F(DeviceClockBlockTest, TheTrimCorrectsTheRate)
{
    ASSERT_EQ(WriteBlock({0, 0, 0, 1, 1, 6, 9, 255, 0}), EDeviceResult::Ok);
    m_clock.Advance(CSimulatedClock::kMonthMilliseconds);
    // 30 days and 255 seconds later.
    EXPECT_EQ(ReadBlock(7), (std::vector<BYTE>{0, 4, 15, 3, 1, 7, 9}));

    // A new trim applies from its write on; the time gained so far stays.
    ASSERT_EQ(WriteBlock({0, 0, 0, 1, 1, 6, 9, 255, 0x80}), EDeviceResult::Ok);
    m_clock.Advance(CSimulatedClock::kMonthMilliseconds);
    EXPECT_EQ(ReadBlock(9), (std::vector<BYTE>{23, 55, 45, 2, 30, 6, 9, 255, 0x81}));
}

TEST_F(DeviceClockBlockTest, PartialWritesChangeOnlyTheirBytes)
{
    ASSERT_EQ(WriteBlock({10, 20, 30, 7, 28, 12, 8, 5, 0}), EDeviceResult::Ok);
    m_clock.Advance(10 * 1000);
    const BYTE nMinute = 45;
    ASSERT_EQ(m_device.WriteUserMemory(0xF0001, &nMinute, 1), EDeviceResult::Ok);
    EXPECT_EQ(ReadBlock(8), (std::vector<BYTE>{10, 45, 40, 7, 28, 12, 8, 5}));
    // Only the sign of the flags byte is taken.
    const BYTE nFlags = 0x9E;
    ASSERT_EQ(m_device.WriteUserMemory(0xF0008, &nFlags, 1), EDeviceResult::Ok);
    EXPECT_EQ(ReadBlock(9)[8], 0x81);
    EXPECT_EQ(m_device.GetState().m_oClock.GetTrim(), -5);
}

TEST_F(DeviceClockBlockTest, AnInvalidDateOrTimeIsRefused)
{
    ASSERT_EQ(WriteBlock({10, 20, 30, 7, 28, 12, 8, 0, 0}), EDeviceResult::Ok);
    EXPECT_EQ(WriteBlock({24, 0, 0, 1, 1, 1, 9, 0, 0}), EDeviceResult::BadData);
    EXPECT_EQ(WriteBlock({0, 60, 0, 1, 1, 1, 9, 0, 0}), EDeviceResult::BadData);
    EXPECT_EQ(WriteBlock({0, 0, 0, 0, 1, 1, 9, 0, 0}), EDeviceResult::BadData);
    EXPECT_EQ(WriteBlock({0, 0, 0, 1, 29, 2, 9, 0, 0}), EDeviceResult::BadData);  // 2009 is no leap year
    EXPECT_EQ(WriteBlock({0, 0, 0, 1, 1, 13, 9, 0, 0}), EDeviceResult::BadData);
    EXPECT_EQ(ReadBlock(7), (std::vector<BYTE>{10, 20, 30, 7, 28, 12, 8}));
}
