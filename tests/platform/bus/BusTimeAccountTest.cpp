#include "platform/bus/BusTimeAccount.h"
#include "platform/bus/SimulatedDevice.h"

#include "DeviceTestSupport.h"

#include <gtest/gtest.h>

TEST(BusTimeAccount, FrameLengthsOfTp1)
{
    // A 12-byte memory write: 7 overhead + TPCI/APCI 2 + address 2 + 12 data.
    EXPECT_EQ(CBusTimeAccount::CharactersOf(EBusFrameKind::MemoryWrite, 12), 23u);
    EXPECT_EQ(CBusTimeAccount::BitTimesOf(23), 13u * 23 + 76);
    EXPECT_EQ(CBusTimeAccount::CharactersOf(EBusFrameKind::Connect, 0), 8u);
    EXPECT_EQ(CBusTimeAccount::CharactersOf(EBusFrameKind::TransportAck, 0), 8u);
    EXPECT_EQ(CBusTimeAccount::CharactersOf(EBusFrameKind::MemoryRead, 0), 11u);
    EXPECT_EQ(CBusTimeAccount::CharactersOf(EBusFrameKind::PropertyWrite, 10), 23u);
    EXPECT_EQ(CBusTimeAccount::CharactersOf(EBusFrameKind::UserMemoryWrite, 11), 23u);

    CBusTimeAccount account;
    account.AddFrame(EBusFrameKind::MemoryWrite, 12);
    EXPECT_EQ(account.GetBitTimes(), 375u);
    EXPECT_EQ(account.GetMicroseconds(), 39063u);  // 375 / 9600 s
}

TEST(BusTimeAccount, TheDeviceCountsEveryFrameOfAnAccess)
{
    bustest::CManualClock clock;
    CSimulatedDevice device(clock.Source());
    LONG nOpenError = 0;
    ASSERT_EQ(device.Connect(0x1101, nOpenError), EDeviceResult::Ok);
    device.SetLoadState(3, 2);
    const auto& account = device.GetSessionBusTime();
    ASSERT_EQ(account.GetFrameCount(), 1u);  // T_Connect

    // One 12-byte write is the data frame and the device's T_Ack.
    std::vector<BYTE> arrData(12, 0);
    ASSERT_EQ(device.WriteMemory(0x8000, arrData.data(), arrData.size()), EDeviceResult::Ok);
    ASSERT_EQ(account.GetFrames().size(), 3u);
    EXPECT_EQ(account.GetFrames()[1].m_eKind, EBusFrameKind::MemoryWrite);
    EXPECT_EQ(account.GetFrames()[1].m_nCharacters, 23u);
    EXPECT_EQ(account.GetFrames()[1].m_nBitTimes, 375u);
    EXPECT_EQ(account.GetFrames()[2].m_eKind, EBusFrameKind::TransportAck);

    // The switching times, 4000 bytes, go out as 334 write frames.
    std::vector<BYTE> arrTimes(4000, 0xFF);
    ULONGLONG nBefore = account.GetBitTimes();
    ASSERT_EQ(device.WriteMemory(0x8BD0, arrTimes.data(), arrTimes.size()), EDeviceResult::Ok);
    ULONGLONG nExpected = 333 * (375 + 180) + (13 * 15 + 76) + 180;
    EXPECT_EQ(account.GetBitTimes() - nBefore, nExpected);

    // A read is request, T_Ack, response, T_Ack.
    ULONGLONG nFrames = account.GetFrameCount();
    std::vector<BYTE> arrRead;
    ASSERT_EQ(device.ReadMemory(0x8000, 4, arrRead), EDeviceResult::Ok);
    EXPECT_EQ(account.GetFrameCount() - nFrames, 4u);
    EXPECT_EQ(account.GetFrames()[account.GetFrames().size() - 2].m_nCharacters, 15u);

    ASSERT_EQ(device.Disconnect(), EDeviceResult::Ok);
    EXPECT_EQ(device.GetLastSessionBusTime().GetBitTimes(), account.GetBitTimes());
    EXPECT_EQ(device.GetTotalBusTime().GetBitTimes(), account.GetBitTimes());
}
