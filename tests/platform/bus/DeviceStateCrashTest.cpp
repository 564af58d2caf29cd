// The simulated device's state file under a crash: a save stopped before its
// rename and a child process killed while it saves again and again leave one
// whole state that the next open reads, and no temporary file after the next
// save.

#include "platform/bus/DeviceStateFile.h"
#include "platform/bus/SimulatedDevice.h"

#include "platform/base/AtomicFile.h"
#include "tests/support/CrashTestSupport.h"

#include "DeviceTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using bustest::CManualClock;
using bustest::CTempDir;

namespace {

std::string ReadStateText(const std::string& strPath)
{
    auto oBytes = platform::ReadWholeFile(strPath);
    return oBytes ? std::string(oBytes->begin(), oBytes->end()) : std::string();
}

}  // namespace

TEST(DeviceStateCrash, ASaveStoppedBeforeTheRenameKeepsTheOldStateAndReportsIt)
{
    CTempDir dir;
    const std::string strPath = dir.File("device.json");
    CManualClock clock;
    CSimulatedDevice device(clock.Source());
    ASSERT_EQ(device.Open(strPath), EDeviceResult::Ok);
    const std::string strOld = ReadStateText(strPath);
    ASSERT_TRUE(device.PokeMemory(0x8000, {1, 2, 3}));
    {
        crashtest::CStopBeforeRename stop;
        EXPECT_EQ(device.Save(), EDeviceResult::StateFileError);
        EXPECT_EQ(stop.Temporaries().size(), 1u);
    }
    EXPECT_EQ(ReadStateText(strPath), strOld);
    ASSERT_EQ(device.Save(), EDeviceResult::Ok);
    EXPECT_TRUE(platform::FindAtomicWriteTemporaries(strPath).empty());
    CSimulatedDevice reopened(clock.Source());
    ASSERT_EQ(reopened.Open(strPath), EDeviceResult::Ok);
    EXPECT_EQ(reopened.PeekMemory(0x8000, 3), (std::vector<BYTE> {1, 2, 3}));
}

TEST(DeviceStateCrash, AKilledSaveLeavesAStateTheNextOpenReads)
{
    CTempDir dir;
    const std::string strPath = dir.File("device.json");
    CManualClock clock;
    CSimulatedDevice device(clock.Source());
    ASSERT_EQ(device.Open(strPath), EDeviceResult::Ok);
    const std::string strEmpty = ReadStateText(strPath);
    // The second state differs all through its memory.
    CSimulatedDevice other(clock.Source());
    ASSERT_EQ(other.Open(""), EDeviceResult::Ok);
    ASSERT_TRUE(other.PokeMemory(0x8000, std::vector<BYTE>(2000, 0x5A)));
    other.SetIndividualAddress(0x2203);
    const std::string strFull = CDeviceStateFile::ToText(other.GetState());

    std::mt19937 random(19);
    for (int nRound = 0; nRound < 10; ++nRound) {
        crashtest::KillWhileWriting(
            [&](unsigned i) {
                return i % 2 ? CDeviceStateFile::Save(strPath, other.GetState()) : device.Save() == EDeviceResult::Ok;
            },
            random);
        const std::string strNow = ReadStateText(strPath);
        EXPECT_TRUE(strNow == strEmpty || strNow == strFull) << "round " << nRound << ": " << strNow.size();
        CSimulatedDevice reopened(clock.Source());
        EXPECT_EQ(reopened.Open(strPath), EDeviceResult::Ok) << "round " << nRound;
        ASSERT_EQ(device.Save(), EDeviceResult::Ok);
        EXPECT_TRUE(platform::FindAtomicWriteTemporaries(strPath).empty()) << "round " << nRound;
    }
}
