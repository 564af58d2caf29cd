#include "platform/bus/DeviceStateFile.h"
#include "platform/bus/SimulatedDevice.h"

#include "platform/base/AtomicFile.h"

#include "DeviceTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using bustest::CManualClock;
using bustest::CTempDir;
using bustest::LoadStateControlByProperty;
using bustest::ReadText;

TEST(DeviceStateFile, ADownloadSurvivesTheProcess)
{
    CTempDir dir;
    const std::string strPath = dir.File("device.json");
    CManualClock clock;
    {
        CSimulatedDevice device(clock.Source());
        ASSERT_EQ(device.Open(strPath), EDeviceResult::Ok);
        EXPECT_TRUE(platform::FileExists(strPath));  // created on open
        device.GetFaults().SetFailCall(40, 2);
        LONG nOpenError = 0;
        ASSERT_EQ(device.Connect(0x1101, nOpenError), EDeviceResult::Ok);
        for (BYTE m : {3, 1, 2})
            ASSERT_EQ(LoadStateControlByProperty(device, m, 1), 0);
        const BYTE arrParams[3] = {7, 0x10, 0x0E};
        ASSERT_EQ(device.WriteMemory(0x8000, arrParams, 3, 1), EDeviceResult::Ok);
        for (BYTE m : {2, 1})
            ASSERT_EQ(LoadStateControlByProperty(device, m, 2), 0);
        const BYTE arrNow[6] = {14, 30, 5, 29, 2, 4};
        ASSERT_EQ(device.WriteProperty(5, 201, 1, 1, 6, arrNow, 6, 1), EDeviceResult::Ok);
        const BYTE arrClock[9] = {10, 20, 30, 7, 28, 12, 8, 3, 0x80};
        ASSERT_EQ(device.WriteUserMemory(0xF0000, arrClock, 9), EDeviceResult::Ok);
        device.GetFaults().SetLoadStateStuck(2, true);
        ASSERT_EQ(device.Disconnect(), EDeviceResult::Ok);
        EXPECT_EQ(device.GetLastSessionBusTime().GetFrameCount(), device.GetSessionBusTime().GetFrameCount());
    }
    clock.Advance(3600 * 1000);

    CSimulatedDevice reopened(clock.Source());
    ASSERT_EQ(reopened.Open(strPath), EDeviceResult::Ok);
    EXPECT_EQ(reopened.PeekMemory(0x8000, 3), (std::vector<BYTE>{7, 0x10, 0x0E}));
    EXPECT_EQ(reopened.PeekMemory(0xB6EA, 3), (std::vector<BYTE>{1, 1, 2}));  // 3 never completed
    EXPECT_EQ(reopened.GetDownloadTime(), (std::vector<BYTE>{14, 30, 5, 29, 2, 4}));
    EXPECT_TRUE(reopened.GetFaults().IsLoadStateStuck(2));
    EXPECT_EQ(reopened.GetFaults().GetFailCall(), 40u);
    EXPECT_EQ(reopened.GetFaults().GetCallCount(), 19u);  // counting goes on where it stopped
    EXPECT_GT(reopened.GetTotalBusTime().GetBitTimes(), 0u);
    // The clock ran on while nobody looked, 4 ms slow by its trim of -3 s a month.
    auto arrStatus = reopened.GetStatusBlock();
    EXPECT_EQ(std::vector<BYTE>(arrStatus.begin(), arrStatus.begin() + 9),
              (std::vector<BYTE>{11, 20, 29, 7, 28, 12, 8, 3, 0x81}));
}

TEST(DeviceStateFile, TheTextRoundTrips)
{
    CDeviceState state;
    state.Reset(1'200'000'000'000LL, 0x2305);
    state.m_oApplicationId = CApplicationId(7, 0x1234, 0x56);
    state.m_arrLoadStates[1].SetState(CLoadStateMachine::Error);
    state.m_oMemory.SetByte(0x9B6F, 0xEE);
    state.m_arrDownloadStamp[39] = 0x41;
    state.m_oFaults.SetForeignApplication(CApplicationId::Foreign());
    state.m_oFaults.SetDeviceOpenError(12);
    state.m_oTotalBusTime.Restore(3, 40, 600);

    const std::string strText = CDeviceStateFile::ToText(state);
    EXPECT_NE(strText.find("\"individualAddress\": \"2.3.5\""), std::string::npos);
    EXPECT_NE(strText.find("\"4000\": \"01230500"), std::string::npos);  // count 1, own address
    EXPECT_NE(strText.find("\"4400\": \"00100011000000110400"), std::string::npos);

    CDeviceState back;
    ASSERT_TRUE(CDeviceStateFile::FromText(strText, back));
    EXPECT_EQ(CDeviceStateFile::ToText(back), strText);
    EXPECT_EQ(back.m_nIndividualAddress, 0x2305);
    EXPECT_EQ(back.m_oMemory.GetByte(0x9B6F), 0xEE);
    EXPECT_EQ(back.m_oFaults.GetForeignApplication(), CApplicationId::Foreign());
}

// Each number up to the top of its range is taken, one past it refused.
TEST(DeviceStateFile, AnIndividualAddressTakesEachNumberUpToItsRange)
{
    WORD nAddress = 0;
    ASSERT_TRUE(CDeviceStateFile::ParseIndividualAddress("15.15.255", nAddress));
    EXPECT_EQ(nAddress, 0xFFFF);
    EXPECT_EQ(CDeviceStateFile::FormatIndividualAddress(nAddress), "15.15.255");
    for (const char* pszAddress : {"16.15.255", "15.16.255", "15.15.256"}) {
        nAddress = 0x1234;
        EXPECT_FALSE(CDeviceStateFile::ParseIndividualAddress(pszAddress, nAddress)) << pszAddress;
        EXPECT_EQ(nAddress, 0x1234) << pszAddress;
    }
}

// A refused file names the key found wrong and what it should hold; the
// state given stays as it was.
TEST(DeviceStateFile, ABrokenFileIsRefusedAndLeftAlone)
{
    CDeviceState state;
    state.Reset(0);
    const std::string strGood = CDeviceStateFile::ToText(state);
    auto broken = [&](const std::string& strFrom, const std::string& strTo) {
        std::string strText = strGood;
        auto nPos = strText.find(strFrom);
        EXPECT_NE(nPos, std::string::npos) << strFrom;
        return nPos == std::string::npos ? strText : strText.replace(nPos, strFrom.size(), strTo);
    };
    const std::string strAddressRange =
        "individualAddress: expected an individual address (area.line.device) from 0.0.1 to 15.15.255";
    const std::string strManufacturerRange = "application.manufacturer: expected an integer from 0 to 65535";
    struct CCase
    {
        std::string strFrom;  // empty: the whole text is strTo
        std::string strTo;
        std::string strReason;
    };
    std::vector<CCase> arrCases = {
        {"", "[]", "the file: expected an object"},
        {"\"version\": 1", "\"version\": 2", "version: expected 1"},
        {"\"simulated-knx-device\"", "\"device\"", "format: expected \"simulated-knx-device\""},
        // 0.0.0 is no device's address; devinspect --new refuses it too.
        {"\"1.1.1\"", "\"0.0.0\"", strAddressRange},
        {"\"individualAddress\"", "\"address\"", strAddressRange},
        {"\"loadStates\": [\n    0", "\"loadStates\": [\n    4", "loadStates[0]: expected an integer from 0 to 3"},
        {"\"loadStates\": [\n    0,", "\"loadStates\": [", "loadStates: expected a list of 3 load states"},
        {"\"4200\": \"00", "\"4200\": \"", "memory.4200: expected a text of 1024 hex digits"},  // short
        {"\"4200\": \"00", "\"4200\": \"0g", "memory.4200: expected a text of 1024 hex digits"},
        {"\"5/201\": \"ff", "\"5/201\": \"ffff", "properties.5/201: expected a text of 12 hex digits"},
        {"\"clock\": {", "\"clock\": 5, \"c\": {", "clock: expected an object"},
        {"\"trim\": 0", "\"trim\": 256", "clock.trim: expected an integer from -255 to 255"},
        {"\"set\": false", "\"sat\": false", "clock.set: expected true or false"},
        {"\"manufacturer\": 2", "\"manufacturer\": 65536", strManufacturerRange},
        // Past 2^32 and past 2^64 (a floating-point number there) nothing wraps.
        {"\"manufacturer\": 2", "\"manufacturer\": 4294967296", strManufacturerRange},
        {"\"manufacturer\": 2", "\"manufacturer\": 18446744073709551616", strManufacturerRange},
        {"\"manufacturer\": 2", "\"manufacturer\": \"2\"", strManufacturerRange},
        {"\"deviceOpenError\": 0", "\"deviceOpenError\": 2147483648",
         "faults.deviceOpenError: expected an integer from -2147483648 to 2147483647"},
        // 2^64 - 1 taken as a signed number would be -1.
        {"\"deviceOpenError\": 0", "\"deviceOpenError\": 18446744073709551615",
         "faults.deviceOpenError: expected an integer from -2147483648 to 2147483647"},
        {"\"stuckLoadStates\": []", "\"stuckLoadStates\": [4]",
         "faults.stuckLoadStates[0]: expected an integer from 1 to 3"},
        {"\"foreignApplication\": null", "\"foreignApp\": null",
         "faults.foreignApplication: expected an object or null"},
        {"\"foreignApplication\": null", "\"foreignApplication\": {\"manufacturer\": 1, \"deviceType\": 2}",
         "faults.foreignApplication.version: expected an integer from 0 to 255"},
        {"\"frames\": 0", "\"frames\": -1",
         "busTime.lastSession.frames: expected an integer from 0 to 9223372036854775807"},
    };
    // Numbers past 2^32 would wrap into another device's address.
    for (const char* pszAddress : {"\"16.1.1\"", "\"4294967297.1.1\"", "\"4294967298.4294967297.1\"",
                                   "\"1.1.4294967297\"", "\" 1.1.1\"", "\"1.-1.1\"", "\"1..1\"", "257"})
        arrCases.push_back({"\"1.1.1\"", pszAddress, strAddressRange});

    for (const CCase& c : arrCases) {
        CDeviceState out;
        out.Reset(0, 0x2305);
        std::string strReason;
        EXPECT_FALSE(CDeviceStateFile::FromText(c.strFrom.empty() ? c.strTo : broken(c.strFrom, c.strTo), out,
                                                &strReason))
            << c.strTo;
        EXPECT_EQ(strReason, c.strReason) << c.strTo;
        EXPECT_EQ(out.m_nIndividualAddress, 0x2305) << c.strTo;
    }
    std::string strReason;
    CDeviceState out;
    EXPECT_FALSE(CDeviceStateFile::FromText("", out, &strReason));
    EXPECT_EQ(strReason.rfind("not a JSON text: ", 0), 0u) << strReason;

    CTempDir dir;
    const std::string strPath = dir.File("broken.json");
    const std::string strBroken = broken("\"version\": 1", "\"version\": 2");
    ASSERT_TRUE(platform::WriteFileAtomically(strPath, strBroken));
    {
        CSimulatedDevice device;
        EXPECT_EQ(device.Open(strPath), EDeviceResult::StateFileError);
        EXPECT_TRUE(device.GetStatePath().empty());
        LONG nOpenError = 0;
        ASSERT_EQ(device.Connect(0x1101, nOpenError), EDeviceResult::Ok);
        EXPECT_EQ(device.Disconnect(), EDeviceResult::Ok);
    }
    EXPECT_EQ(ReadText(strPath), strBroken);

    CSimulatedDevice device;
    EXPECT_EQ(device.Open(dir.File("no/such/folder/device.json")), EDeviceResult::StateFileError);
}

// A file that cannot be read or written gives the system's reason, through
// the device too, which keeps it where errno would not.
TEST(DeviceStateFile, AFileThatCannotBeReadOrWrittenGivesTheSystemsReason)
{
    CTempDir dir;
    for (const bustest::CUnreadableState& c : bustest::MakeUnreadableStates(dir)) {
        CDeviceState out;
        std::string strReason;
        EXPECT_FALSE(CDeviceStateFile::Load(c.m_strPath, out, &strReason)) << c.m_strPath;
        EXPECT_EQ(strReason, c.m_strReason) << c.m_strPath;
    }

    // The device's own reasons: a file it cannot read, a folder in the
    // file's place and a missing folder, where it would create the file.
    CSimulatedDevice device;
    EXPECT_EQ(device.Open(dir.File("maker.state")), EDeviceResult::StateFileError);
    EXPECT_EQ(device.GetStateFileError(), "application.manufacturer: expected an integer from 0 to 65535");
    EXPECT_EQ(device.Open(dir.File("")), EDeviceResult::StateFileError);
    EXPECT_EQ(device.GetStateFileError(), "Is a directory");
    EXPECT_EQ(device.Open(dir.File("no/such/folder/device.json")), EDeviceResult::StateFileError);
    EXPECT_EQ(device.GetStateFileError(), "No such file or directory");

    // A state file without any write permission is refused, also for root.
    const std::string strFile = dir.File("device.state");
    ASSERT_EQ(device.Open(strFile), EDeviceResult::Ok);
    EXPECT_EQ(device.GetStateFileError(), "");
    ASSERT_EQ(::chmod(strFile.c_str(), 0444), 0);
    ASSERT_EQ(device.Save(), EDeviceResult::StateFileError);
    errno = 0;
    EXPECT_EQ(device.GetStateFileError(), "Permission denied");
    ASSERT_EQ(::chmod(strFile.c_str(), 0644), 0);
    EXPECT_EQ(device.Save(), EDeviceResult::Ok);
    EXPECT_EQ(device.GetStateFileError(), "");
}

// Found by fuzzing the state file: clock times near the 64-bit limits were
// taken, and reading the clock (the device inspector's status block)
// overflowed. Such a file is refused; the clock's whole span still loads.
TEST(DeviceStateFile, ClockTimesBeyondTheClocksSpanAreRefused)
{
    CDeviceState state;
    state.Reset(1'200'000'000'000LL);
    const std::string strGood = CDeviceStateFile::ToText(state);
    auto with = [&](const std::string& strFrom, const std::string& strTo) {
        std::string strText = strGood;
        auto nPos = strText.find(strFrom);
        EXPECT_NE(nPos, std::string::npos) << strFrom;
        return strText.replace(nPos, strFrom.size(), strTo);
    };
    CDeviceState out;
    std::string strReason;
    EXPECT_FALSE(CDeviceStateFile::FromText(
        with("\"setAtMs\": 1200000000000", "\"setAtMs\": -9223372036854775807"), out, &strReason));
    EXPECT_EQ(strReason, "clock.setAtMs: expected an integer from -" + std::to_string(CSimulatedClock::kMaxStoredMs) +
                             " to " + std::to_string(CSimulatedClock::kMaxStoredMs));
    EXPECT_FALSE(CDeviceStateFile::FromText(with("\"baseMs\": 0", "\"baseMs\": 9223372036854775807"), out));

    const std::string strEdge = with("\"baseMs\": 0", "\"baseMs\": " + std::to_string(CSimulatedClock::kMaxStoredMs));
    ASSERT_TRUE(CDeviceStateFile::FromText(strEdge, out));
    CTempDir dir;
    const std::string strPath = dir.File("edge.json");
    ASSERT_TRUE(platform::WriteFileAtomically(strPath, with("\"setAtMs\": 1200000000000",
                                                            "\"setAtMs\": " + std::to_string(-CSimulatedClock::kMaxStoredMs))));
    CManualClock clock;
    CSimulatedDevice device(clock.Source());
    ASSERT_EQ(device.Open(strPath), EDeviceResult::Ok);
    const auto arrBlock = device.GetStatusBlock();
    EXPECT_GE(arrBlock[3], 1);
    EXPECT_LE(arrBlock[3], 7);
}
