#include "platform/bus/SimulatedDevice.h"

#include "DeviceTestSupport.h"

#include <gtest/gtest.h>

using bustest::CManualClock;
using bustest::LoadStateControlByMemory;
using bustest::LoadStateControlByProperty;

namespace {

class SimulatedDeviceTest : public ::testing::Test {
protected:
    SimulatedDeviceTest() : m_device(m_clock.Source())
    {
        LONG nOpenError = -1;
        EXPECT_EQ(m_device.Connect(0x1101, nOpenError), EDeviceResult::Ok);
        EXPECT_EQ(nOpenError, 0);
    }

    void StartLoading(int nMachine)
    {
        ASSERT_EQ(LoadStateControlByMemory(m_device, static_cast<BYTE>(nMachine), 1), 0);
    }

    EDeviceResult Write(DWORD nAddress, const std::vector<BYTE>& arrData)
    {
        return m_device.WriteMemory(nAddress, arrData.data(), arrData.size(), 1);
    }

    std::vector<CDeviceTraceEntry> TraceOf(EDeviceOperation eOperation) const
    {
        std::vector<CDeviceTraceEntry> arrEntries;
        for (const CDeviceTraceEntry& e : m_device.GetTrace()) {
            if (e.m_eOperation == eOperation)
                arrEntries.push_back(e);
        }
        return arrEntries;
    }

    CManualClock m_clock;
    CSimulatedDevice m_device;
};

}  // namespace

TEST_F(SimulatedDeviceTest, FramesCarryAtMostTheirLimit)
{
    StartLoading(3);
    std::vector<BYTE> arr13(13, 0xAB), arr12(12, 0xAB), arr11(11, 0), arrRead;
    m_device.ClearTrace();
    ULONGLONG nFrames = m_device.GetSessionBusTime().GetFrameCount();

    EXPECT_EQ(m_device.WriteMemoryFrame(0x8000, arr13.data(), arr13.size()), EDeviceResult::FrameTooLong);
    EXPECT_EQ(m_device.ReadMemoryFrame(0x8000, 13, arrRead), EDeviceResult::FrameTooLong);
    EXPECT_EQ(m_device.WriteUserMemoryFrame(0xF0000, arr12.data(), arr12.size()), EDeviceResult::FrameTooLong);
    EXPECT_EQ(m_device.ReadUserMemoryFrame(0xF0000, 12, arrRead), EDeviceResult::FrameTooLong);
    EXPECT_EQ(m_device.WriteProperty(5, 202, 2, 1, 11, arr11.data(), arr11.size()), EDeviceResult::FrameTooLong);
    // Refused before anything went on the bus, and nothing was written.
    EXPECT_EQ(m_device.GetSessionBusTime().GetFrameCount(), nFrames);
    EXPECT_EQ(m_device.PeekMemory(0x8000, 1)[0], 0);

    EXPECT_EQ(m_device.WriteMemoryFrame(0x8000, arr12.data(), arr12.size()), EDeviceResult::Ok);
    EXPECT_EQ(m_device.ReadMemoryFrame(0x8000, 12, arrRead), EDeviceResult::Ok);
    EXPECT_EQ(arrRead, arr12);
    EXPECT_EQ(m_device.ReadUserMemoryFrame(0xF0000, 11, arrRead), EDeviceResult::Ok);
    EXPECT_EQ(arrRead.size(), 11u);
    // Property 202 is 40 elements of one byte: a read of 11 does not fit.
    EXPECT_EQ(m_device.ReadProperty(5, 202, 2, 1, 11, arrRead), EDeviceResult::FrameTooLong);
    EXPECT_EQ(m_device.ReadProperty(5, 202, 2, 1, 10, arrRead), EDeviceResult::Ok);
}

TEST_F(SimulatedDeviceTest, LongRequestsAreSplitIntoFramesOfOneCall)
{
    StartLoading(3);
    std::vector<BYTE> arrData(30);
    for (std::size_t i = 0; i < arrData.size(); ++i)
        arrData[i] = static_cast<BYTE>(i);
    m_device.ClearTrace();
    ASSERT_EQ(Write(0x8BD0, arrData), EDeviceResult::Ok);

    auto arrWrites = TraceOf(EDeviceOperation::MemoryWrite);
    ASSERT_EQ(arrWrites.size(), 3u);
    EXPECT_EQ(arrWrites[0].m_nAddress, 0x8BD0u);
    EXPECT_EQ(arrWrites[1].m_nAddress, 0x8BDCu);
    EXPECT_EQ(arrWrites[2].m_nAddress, 0x8BE8u);
    EXPECT_EQ(arrWrites[0].m_arrData.size(), 12u);
    EXPECT_EQ(arrWrites[2].m_arrData.size(), 6u);
    EXPECT_EQ(arrWrites[0].m_nCall, arrWrites[2].m_nCall);
    EXPECT_EQ(arrWrites[1].m_nFlag, 1);

    std::vector<BYTE> arrRead;
    ASSERT_EQ(m_device.ReadMemory(0x8BD0, 30, arrRead), EDeviceResult::Ok);
    EXPECT_EQ(arrRead, arrData);
    EXPECT_EQ(TraceOf(EDeviceOperation::MemoryRead).size(), 3u);

    // The 11-byte status block is one user-memory frame; 20 bytes would be two
    // but run past the block.
    ASSERT_EQ(m_device.ReadUserMemory(0xF0000, 11, arrRead), EDeviceResult::Ok);
    EXPECT_EQ(TraceOf(EDeviceOperation::UserMemoryRead).size(), 1u);
    EXPECT_EQ(m_device.ReadUserMemory(0xF0000, 20, arrRead), EDeviceResult::Unmapped);
    EXPECT_TRUE(arrRead.empty());
}

TEST_F(SimulatedDeviceTest, SplitWriteStopsAtTheFirstRefusedFrame)
{
    StartLoading(3);
    std::vector<BYTE> arrData(20, 0x5A);
    m_device.ClearTrace();
    // The parameter area ends at 0x9B6F: the first frame fits, the second runs out.
    EXPECT_EQ(Write(0x9B60, arrData), EDeviceResult::Unmapped);
    auto arrWrites = TraceOf(EDeviceOperation::MemoryWrite);
    ASSERT_EQ(arrWrites.size(), 2u);
    EXPECT_EQ(arrWrites[0].m_eResult, EDeviceResult::Ok);
    EXPECT_EQ(arrWrites[1].m_eResult, EDeviceResult::Unmapped);
    EXPECT_EQ(m_device.PeekMemory(0x9B60, 12), std::vector<BYTE>(12, 0x5A));
    EXPECT_EQ(m_device.PeekMemory(0x9B6C, 4), std::vector<BYTE>(4, 0));
}

TEST_F(SimulatedDeviceTest, LoadStateMovesByPropertyEvents)
{
    std::vector<BYTE> arrState;
    ASSERT_EQ(m_device.ReadProperty(1, 5, 0, 1, 1, arrState), EDeviceResult::Ok);
    EXPECT_EQ(arrState, std::vector<BYTE>{0});  // unloaded

    auto sendEvent = [&](BYTE nMachine, BYTE nEvent) {
        BYTE arrRecord[10] = {nEvent};
        EXPECT_EQ(m_device.WriteProperty(nMachine, 5, 0, 1, 1, arrRecord, 10), EDeviceResult::Ok);
        EXPECT_EQ(m_device.ReadProperty(nMachine, 5, 0, 1, 1, arrState), EDeviceResult::Ok);
        return arrState.at(0);
    };
    EXPECT_EQ(sendEvent(1, 2), 3);  // completing a load that never started: error
    EXPECT_EQ(sendEvent(1, 1), 2);  // start loading leaves any state
    EXPECT_EQ(sendEvent(1, 3), 2);  // additional load controls while loading
    EXPECT_EQ(sendEvent(1, 2), 1);
    EXPECT_EQ(sendEvent(1, 2), 1);  // completing again changes nothing
    EXPECT_EQ(sendEvent(1, 3), 3);
    EXPECT_EQ(sendEvent(1, 4), 0);
    EXPECT_EQ(sendEvent(1, 9), 3);
    // Each object drives its own machine.
    EXPECT_EQ(m_device.GetLoadState(2), 0);
    EXPECT_EQ(m_device.GetLoadState(3), 0);

    // The download's step: skip when already there, else event and verify.
    for (BYTE m : {3, 1, 2})
        EXPECT_EQ(LoadStateControlByProperty(m_device, m, 1), 0);
    m_device.ClearTrace();
    EXPECT_EQ(LoadStateControlByProperty(m_device, 3, 1), 0);
    EXPECT_TRUE(TraceOf(EDeviceOperation::PropertyWrite).empty());
    for (BYTE m : {2, 1, 3})
        EXPECT_EQ(LoadStateControlByProperty(m_device, m, 2), 0);
    EXPECT_EQ(m_device.GetLoadState(1), 1);
    EXPECT_EQ(m_device.GetLoadState(3), 1);

    // Objects without a load state answer with no elements.
    EXPECT_EQ(m_device.ReadProperty(4, 5, 0, 1, 1, arrState), EDeviceResult::NoSuchProperty);
    EXPECT_EQ(m_device.ReadProperty(0, 5, 0, 1, 1, arrState), EDeviceResult::NoSuchProperty);
}

TEST_F(SimulatedDeviceTest, LoadStateMovesThroughTheControlRegister)
{
    std::vector<BYTE> arrStates;
    ASSERT_EQ(m_device.ReadMemory(0xB6EA, 3, arrStates), EDeviceResult::Ok);
    EXPECT_EQ(arrStates, (std::vector<BYTE>{0, 0, 0}));

    EXPECT_EQ(Write(0x0104, {0x31, 0, 0, 0, 0, 0, 0, 0, 0, 0}), EDeviceResult::Ok);
    EXPECT_EQ(Write(0x0104, {0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0}), EDeviceResult::Ok);
    ASSERT_EQ(m_device.ReadMemory(0xB6EA, 3, arrStates), EDeviceResult::Ok);
    EXPECT_EQ(arrStates, (std::vector<BYTE>{2, 0, 2}));
    EXPECT_EQ(Write(0x0104, {0x12, 0, 0, 0, 0, 0, 0, 0, 0, 0}), EDeviceResult::Ok);
    EXPECT_EQ(m_device.PeekMemory(0xB6EA, 1)[0], 1);

    // The register reads as zeros, takes a record only from its first byte and
    // only for machines 1..3.
    std::vector<BYTE> arrRegister;
    ASSERT_EQ(m_device.ReadMemory(0x0104, 10, arrRegister), EDeviceResult::Ok);
    EXPECT_EQ(arrRegister, std::vector<BYTE>(10, 0));
    EXPECT_EQ(Write(0x0105, {0x21}), EDeviceResult::BadData);
    EXPECT_EQ(Write(0x0104, {0x41, 0}), EDeviceResult::BadData);
    EXPECT_EQ(Write(0x0104, {0x01, 0}), EDeviceResult::BadData);
    EXPECT_EQ(Write(0x0104, std::vector<BYTE>(11, 0x21)), EDeviceResult::Unmapped);
    EXPECT_EQ(m_device.GetLoadState(2), 0);

    // The download's steps in the order of a try.
    for (BYTE m : {3, 1, 2})
        EXPECT_EQ(LoadStateControlByMemory(m_device, m, 1), 0);
    for (BYTE m : {2, 1, 3})
        EXPECT_EQ(LoadStateControlByMemory(m_device, m, 2), 0);
    ASSERT_EQ(m_device.ReadMemory(0xB6EA, 3, arrStates), EDeviceResult::Ok);
    EXPECT_EQ(arrStates, (std::vector<BYTE>{1, 1, 1}));
}

TEST_F(SimulatedDeviceTest, TablesAndParametersAreWritableOnlyWhileLoading)
{
    EXPECT_EQ(Write(0x4000, {3}), EDeviceResult::NotLoading);
    EXPECT_EQ(Write(0x8000, {1}), EDeviceResult::NotLoading);
    StartLoading(1);
    EXPECT_EQ(Write(0x4000, {3}), EDeviceResult::Ok);
    EXPECT_EQ(Write(0x4200, {0}), EDeviceResult::NotLoading);
    EXPECT_EQ(Write(0x4400, {254}), EDeviceResult::NotLoading);  // the object table is the program's
    StartLoading(3);
    EXPECT_EQ(Write(0x4400, {254}), EDeviceResult::Ok);
    EXPECT_EQ(Write(0x8000, {1}), EDeviceResult::Ok);
    ASSERT_EQ(LoadStateControlByMemory(m_device, 3, 2), 0);
    EXPECT_EQ(Write(0x8000, {2}), EDeviceResult::NotLoading);
    EXPECT_EQ(m_device.PeekMemory(0x8000, 1)[0], 1);
}

TEST_F(SimulatedDeviceTest, ProtectedAddressesRefuseWrites)
{
    StartLoading(1);
    StartLoading(3);
    // Load-state bytes are read-only whatever the state.
    EXPECT_EQ(Write(0xB6EA, {1}), EDeviceResult::ReadOnly);
    EXPECT_EQ(Write(0xB6EC, {1}), EDeviceResult::ReadOnly);
    EXPECT_EQ(m_device.GetLoadState(1), 2);
    // Product data takes only its own value: the device's address in the
    // address table, the RAM flags pointer and the value pointers.
    EXPECT_EQ(Write(0x4001, {0x12, 0x03}), EDeviceResult::ReadOnly);
    EXPECT_EQ(Write(0x4001, {0x11, 0x01}), EDeviceResult::Ok);
    std::vector<BYTE> arrEntry;
    ASSERT_EQ(m_device.ReadMemory(0x4403, 4, arrEntry), EDeviceResult::Ok);
    EXPECT_EQ(arrEntry, (std::vector<BYTE>{0x11, 0x00, 0x00, 0x00}));
    EXPECT_EQ(Write(0x4403, {0x11, 0x00, 0x5F, 0x01}), EDeviceResult::Ok);
    EXPECT_EQ(Write(0x4407, {0x00, 0x00, 0x5F, 0x01}), EDeviceResult::ReadOnly);
    EXPECT_EQ(m_device.PeekMemory(0x4407, 4), (std::vector<BYTE>{0x11, 0x04, 0x00, 0x00}));
    EXPECT_EQ(Write(0x4401, {0x00}), EDeviceResult::ReadOnly);
    // Outside the map.
    EXPECT_EQ(Write(0x3FFF, {0}), EDeviceResult::Unmapped);
    EXPECT_EQ(Write(0x9B70, {0}), EDeviceResult::Unmapped);
    EXPECT_EQ(Write(0x10000, {0}), EDeviceResult::Unmapped);
    std::vector<BYTE> arrRead;
    EXPECT_EQ(m_device.ReadMemory(0x3FFE, 4, arrRead), EDeviceResult::Unmapped);
    // Status bytes 9 and 10 and the application id are the device's.
    BYTE arrStatus[2] = {1, 0};
    EXPECT_EQ(m_device.WriteUserMemory(0xF0009, arrStatus, 2), EDeviceResult::ReadOnly);
    EXPECT_EQ(m_device.WriteUserMemory(0xF000B, arrStatus, 1), EDeviceResult::Unmapped);
    BYTE arrId[5] = {0, 3, 0, 0, 0};
    EXPECT_EQ(m_device.WriteProperty(3, 13, 14, 1, 1, arrId, 5), EDeviceResult::ReadOnly);
    EXPECT_EQ(m_device.WriteProperty(5, 203, 0, 1, 1, arrId, 1), EDeviceResult::NoSuchProperty);
    EXPECT_EQ(m_device.GetReportedApplicationId(), CApplicationId());
}

TEST_F(SimulatedDeviceTest, ReportsItsApplicationId)
{
    std::vector<BYTE> arrId;
    ASSERT_EQ(m_device.ReadProperty(3, 13, 14, 1, 1, arrId), EDeviceResult::Ok);
    EXPECT_EQ(arrId, (std::vector<BYTE>{0x00, 0x02, 0x21, 0x01, 0x21}));
    ASSERT_EQ(m_device.ReadProperty(3, 13, 14, 0, 1, arrId), EDeviceResult::Ok);
    EXPECT_EQ(arrId, (std::vector<BYTE>{0x00, 0x01}));  // element 0: the count

    m_device.SetApplicationId(CApplicationId(7, 0x2101, 0x21));
    ASSERT_EQ(m_device.ReadProperty(3, 13, 14, 1, 1, arrId), EDeviceResult::Ok);
    EXPECT_EQ(arrId, (std::vector<BYTE>{0x00, 0x07, 0x21, 0x01, 0x21}));
}

TEST_F(SimulatedDeviceTest, StampPropertiesKeepWhatTheDownloadWrites)
{
    std::vector<BYTE> arrTime;
    // Never downloaded: erased.
    ASSERT_EQ(m_device.ReadProperty(5, 201, 1, 1, 1, arrTime), EDeviceResult::Ok);
    EXPECT_EQ(arrTime, std::vector<BYTE>(6, 0xFF));

    // Written as six one-byte elements, read back as one element of six bytes.
    const BYTE arrNow[6] = {14, 30, 5, 29, 2, 4};
    ASSERT_EQ(m_device.WriteProperty(5, 201, 1, 1, 6, arrNow, 6, 1), EDeviceResult::Ok);
    ASSERT_EQ(m_device.ReadProperty(5, 201, 1, 1, 1, arrTime), EDeviceResult::Ok);
    EXPECT_EQ(arrTime, std::vector<BYTE>(arrNow, arrNow + 6));

    std::vector<BYTE> arrStamp(40);
    for (std::size_t i = 0; i < arrStamp.size(); ++i)
        arrStamp[i] = static_cast<BYTE>('A' + i % 26);
    for (WORD nStart : {1, 11, 21, 31})
        ASSERT_EQ(m_device.WriteProperty(5, 202, 2, nStart, 10, &arrStamp[nStart - 1u], 10, 1), EDeviceResult::Ok);
    EXPECT_EQ(m_device.GetDownloadStamp(), arrStamp);
    const BYTE arrTail[2] = {0, 0};
    EXPECT_EQ(m_device.WriteProperty(5, 202, 2, 40, 2, arrTail, 2, 1), EDeviceResult::BadData);
}

TEST_F(SimulatedDeviceTest, ADownloadAsTheTryRunsItSucceeds)
{
    // Start loading 3, 1, 2; the three tables; the parameters; completed 2,
    // 1, 3; the stamp.
    for (BYTE m : {3, 1, 2})
        ASSERT_EQ(LoadStateControlByMemory(m_device, m, 1), 0);
    ASSERT_EQ(Write(0x4000, {3}), EDeviceResult::Ok);
    ASSERT_EQ(Write(0x4003, {0x0A, 0x03, 0x0A, 0x04}), EDeviceResult::Ok);
    ASSERT_EQ(Write(0x4200, {2}), EDeviceResult::Ok);
    ASSERT_EQ(Write(0x4201, {1, 0, 2, 1}), EDeviceResult::Ok);
    ASSERT_EQ(Write(0x4400, {254}), EDeviceResult::Ok);
    for (DWORD k = 0; k < 254; k += 3) {
        DWORD nEntries = std::min<DWORD>(3, 254 - k);
        std::vector<BYTE> arrBlock;
        ASSERT_EQ(m_device.ReadMemory(0x4403 + 4 * k, 4 * nEntries, arrBlock), EDeviceResult::Ok);
        for (DWORD e = 0; e < nEntries; ++e) {
            arrBlock[4 * e + 2] = 0x5B;
            arrBlock[4 * e + 3] = 0x00;
        }
        ASSERT_EQ(Write(0x4403 + 4 * k, arrBlock), EDeviceResult::Ok);
    }
    std::vector<BYTE> arrWeek = {0xFF, 1, 1, 1, 1, 1, 2, 0};
    ASSERT_EQ(Write(0x86C0, arrWeek), EDeviceResult::Ok);
    ASSERT_EQ(Write(0x8BD0, std::vector<BYTE>(4000, 0xFF)), EDeviceResult::Ok);
    for (BYTE m : {2, 1, 3})
        ASSERT_EQ(LoadStateControlByMemory(m_device, m, 2), 0);
    const BYTE arrNow[6] = {14, 30, 5, 29, 2, 4};
    ASSERT_EQ(m_device.WriteProperty(5, 201, 1, 1, 6, arrNow, 6, 1), EDeviceResult::Ok);

    EXPECT_EQ(m_device.PeekMemory(0x4403, 8), (std::vector<BYTE>{0x11, 0x00, 0x5B, 0x00, 0x11, 0x04, 0x5B, 0x00}));
    EXPECT_EQ(m_device.PeekMemory(0x86C0, 8), arrWeek);

    // The program runs once the clock is set: Saturday 2008-03-01 runs
    // routine 2 of the week routine.
    EXPECT_EQ(m_device.GetStatusBlock()[8] & 0x08, 0);
    ASSERT_TRUE(m_device.SetClock({12, 0, 0, 6, 1, 3, 8}));
    auto arrStatus = m_device.GetStatusBlock();
    EXPECT_EQ(arrStatus[8], 0x09);
    EXPECT_EQ(arrStatus[9], 2);
    EXPECT_EQ(arrStatus[10], 0);
    // Sunday has no routine.
    m_clock.Advance(24LL * 3600 * 1000);
    arrStatus = m_device.GetStatusBlock();
    EXPECT_EQ(arrStatus[9], 0);
    EXPECT_EQ(arrStatus[10], 0xFF);
}

TEST_F(SimulatedDeviceTest, ASpecialDayOverridesTheWeekRoutine)
{
    m_device.SetLoadState(3, 1);
    ASSERT_TRUE(m_device.PokeMemory(0x86C0, {0xFF, 1, 1, 1, 1, 1, 1, 1}));
    // 2008-12-24 08:00 .. 2008-12-26 18:30 runs routine 9; slot 0 is empty.
    std::vector<BYTE> arrSlots(22, 0);
    arrSlots[0] = 0xFF;
    std::vector<BYTE> arrDay = {8, 12, 24, 8, 0, 8, 12, 26, 18, 30, 9};
    std::copy(arrDay.begin(), arrDay.end(), arrSlots.begin() + 11);
    ASSERT_TRUE(m_device.PokeMemory(0x86D0, arrSlots));

    ASSERT_TRUE(m_device.SetClock({7, 59, 0, 3, 24, 12, 8}));
    EXPECT_EQ(m_device.GetStatusBlock()[10], 0);
    m_clock.Advance(60 * 1000);
    EXPECT_EQ(m_device.GetStatusBlock()[9], 9);
    EXPECT_EQ(m_device.GetStatusBlock()[10], 1);
    ASSERT_TRUE(m_device.SetClock({18, 30, 59, 5, 26, 12, 8}));
    EXPECT_EQ(m_device.GetStatusBlock()[10], 1);
    m_clock.Advance(1000);
    EXPECT_EQ(m_device.GetStatusBlock()[9], 1);
    EXPECT_EQ(m_device.GetStatusBlock()[10], 0);
}

TEST_F(SimulatedDeviceTest, AccessesNeedAConnectionToTheDevicesAddress)
{
    std::vector<BYTE> arrRead;
    LONG nOpenError = 0;
    EXPECT_EQ(m_device.Connect(0x1101, nOpenError), EDeviceResult::AlreadyConnected);
    EXPECT_TRUE(m_device.IsConnected());
    EXPECT_EQ(m_device.Disconnect(), EDeviceResult::Ok);
    EXPECT_EQ(m_device.Disconnect(), EDeviceResult::NotConnected);
    EXPECT_EQ(m_device.ReadMemory(0x4000, 1, arrRead), EDeviceResult::NotConnected);
    EXPECT_EQ(m_device.ReadUserMemory(0xF0000, 11, arrRead), EDeviceResult::NotConnected);
    EXPECT_EQ(m_device.ReadProperty(3, 13, 14, 1, 1, arrRead), EDeviceResult::NotConnected);

    EXPECT_EQ(m_device.Connect(0x1102, nOpenError), EDeviceResult::NoDevice);
    EXPECT_FALSE(m_device.IsConnected());
    m_device.SetIndividualAddress(0x1102);
    EXPECT_EQ(m_device.Connect(0x1102, nOpenError), EDeviceResult::Ok);
    EXPECT_EQ(m_device.PeekMemory(0x4001, 2), (std::vector<BYTE>{0x11, 0x02}));
}

TEST_F(SimulatedDeviceTest, RefusedConnectionAndDeviceOpenError)
{
    ASSERT_EQ(m_device.Disconnect(), EDeviceResult::Ok);
    LONG nOpenError = 0;
    m_device.GetFaults().SetConnectionRefused(true);
    EXPECT_EQ(m_device.Connect(0x1101, nOpenError), EDeviceResult::ConnectionRefused);
    EXPECT_EQ(m_device.TestInterface(nOpenError), EDeviceResult::ConnectionRefused);
    EXPECT_FALSE(m_device.IsConnected());

    m_device.GetFaults().SetConnectionRefused(false);
    m_device.GetFaults().SetDeviceOpenError(7);
    EXPECT_EQ(m_device.Connect(0x1101, nOpenError), EDeviceResult::DeviceOpenError);
    EXPECT_EQ(nOpenError, 7);
    EXPECT_FALSE(m_device.IsConnected());
    // The interface itself answered: the value is for the caller to judge.
    nOpenError = 0;
    EXPECT_EQ(m_device.TestInterface(nOpenError), EDeviceResult::Ok);
    EXPECT_EQ(nOpenError, 7);

    m_device.GetFaults().SetDeviceOpenError(0);
    EXPECT_EQ(m_device.Connect(0x1101, nOpenError), EDeviceResult::Ok);
    EXPECT_EQ(nOpenError, 0);
}

TEST_F(SimulatedDeviceTest, TheNthCallFails)
{
    ASSERT_EQ(m_device.Disconnect(), EDeviceResult::Ok);
    // Calls 3 and 4 fail: connect (1), read (2), write (3), read (4), read (5).
    m_device.GetFaults().SetFailCall(3, 2);
    m_device.ClearTrace();
    LONG nOpenError = 0;
    std::vector<BYTE> arrRead;
    ASSERT_EQ(m_device.Connect(0x1101, nOpenError), EDeviceResult::Ok);
    EXPECT_EQ(m_device.ReadMemory(0x4000, 1, arrRead), EDeviceResult::Ok);
    BYTE arrEvent[10] = {0x31};
    EXPECT_EQ(m_device.WriteMemory(0x0104, arrEvent, 10), EDeviceResult::InjectedFailure);
    EXPECT_EQ(m_device.GetLoadState(3), 0);
    EXPECT_EQ(m_device.ReadMemory(0x4000, 1, arrRead), EDeviceResult::InjectedFailure);
    EXPECT_EQ(m_device.ReadMemory(0x4000, 1, arrRead), EDeviceResult::Ok);

    const auto& trace = m_device.GetTrace();
    ASSERT_EQ(trace.size(), 5u);
    EXPECT_EQ(trace[2].m_nCall, 3u);
    EXPECT_EQ(trace[2].m_eResult, EDeviceResult::InjectedFailure);
    EXPECT_EQ(trace[2].ToString(), "MemoryWrite 0x0104 InjectedFailure");
    EXPECT_EQ(trace[4].m_nCall, 5u);

    // Connecting counts as a call too.
    ASSERT_EQ(m_device.Disconnect(), EDeviceResult::Ok);
    m_device.GetFaults().SetFailCall(1);
    EXPECT_EQ(m_device.Connect(0x1101, nOpenError), EDeviceResult::InjectedFailure);
    EXPECT_EQ(m_device.Connect(0x1101, nOpenError), EDeviceResult::Ok);
}

TEST_F(SimulatedDeviceTest, AStuckLoadStateFailsTheVerifyWith53)
{
    m_device.GetFaults().SetLoadStateStuck(1, true);
    EXPECT_EQ(LoadStateControlByMemory(m_device, 3, 1), 0);
    EXPECT_EQ(LoadStateControlByMemory(m_device, 1, 1), 53);
    EXPECT_EQ(LoadStateControlByProperty(m_device, 1, 1), 53);
    EXPECT_EQ(m_device.GetLoadState(1), 0);
    // The event itself was taken; only the state did not move.
    const CDeviceTraceEntry& last = m_device.GetTrace().back();
    EXPECT_EQ(last.m_eOperation, EDeviceOperation::PropertyRead);
    EXPECT_EQ(last.m_arrData, std::vector<BYTE>{0});
    m_device.GetFaults().SetLoadStateStuck(1, false);
    EXPECT_EQ(LoadStateControlByProperty(m_device, 1, 1), 0);
}

TEST_F(SimulatedDeviceTest, AForeignApplicationIsReported)
{
    m_device.GetFaults().SetForeignApplication(CApplicationId::Foreign());
    std::vector<BYTE> arrId;
    ASSERT_EQ(m_device.ReadProperty(3, 13, 14, 1, 1, arrId), EDeviceResult::Ok);
    EXPECT_EQ(arrId, (std::vector<BYTE>{0x00, 0x03, 0x21, 0x01, 0x21}));
    m_device.GetFaults().SetForeignApplication(CApplicationId(2, 0x2101, 0x20));
    ASSERT_EQ(m_device.ReadProperty(3, 13, 14, 1, 1, arrId), EDeviceResult::Ok);
    EXPECT_EQ(arrId[4], 0x20);
    EXPECT_EQ(m_device.GetApplicationId(), CApplicationId());
}
