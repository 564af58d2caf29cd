#include "platform/base/AtomicFile.h"
#include "platform/bus/DeviceReport.h"
#include "platform/bus/SimulatedDevice.h"

#include "DeviceTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

using bustest::CManualClock;
using bustest::CTempDir;
using bustest::LoadStateControlByMemory;

namespace {

struct CRun
{
    int nExit = -1;
    std::string strOutput;
};

// Runs the inspector, in the environment given (as "NAME=VALUE ..."), and
// collects what it prints, its errors included.
CRun RunInspector(const std::string& strArguments, const std::string& strEnvironment = "")
{
    CRun run;
    const std::string strCommand =
        "env -u CHRONO_DEVICE_STATE " + strEnvironment + " " + DEVINSPECT_PATH + " " + strArguments + " 2>&1";
    FILE* pPipe = ::popen(strCommand.c_str(), "r");
    if (!pPipe)
        return run;
    std::array<char, 4096> buffer;
    std::size_t nRead;
    while ((nRead = std::fread(buffer.data(), 1, buffer.size(), pPipe)) > 0)
        run.strOutput.append(buffer.data(), nRead);
    const int nStatus = ::pclose(pPipe);
    run.nExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    return run;
}

// What a download and the clock dialog leave in the device, frame by frame.
void ScriptedDownload(CSimulatedDevice& device)
{
    LONG nOpenError = 0;
    ASSERT_EQ(device.Connect(0x1101, nOpenError), EDeviceResult::Ok);
    for (BYTE nMachine : {3, 1, 2})
        ASSERT_EQ(LoadStateControlByMemory(device, nMachine, 1), 0);
    const BYTE nCount = 3;
    ASSERT_EQ(device.WriteMemory(0x4000, &nCount, 1, 1), EDeviceResult::Ok);
    const BYTE arrAddresses[4] = {0x0A, 0x03, 0x08, 0x01};
    ASSERT_EQ(device.WriteMemory(0x4003, arrAddresses, 4, 1), EDeviceResult::Ok);
    const BYTE arrAssociations[5] = {2, 1, 0, 2, 1};
    ASSERT_EQ(device.WriteMemory(0x4200, arrAssociations, 5, 1), EDeviceResult::Ok);
    const BYTE arrParameters[6] = {3, 0x10, 0x0E, 0, 0, 1};
    ASSERT_EQ(device.WriteMemory(0x8000, arrParameters, 6, 1), EDeviceResult::Ok);
    for (BYTE nMachine : {2, 1, 3})
        ASSERT_EQ(LoadStateControlByMemory(device, nMachine, 2), 0);
    const BYTE arrTime[6] = {14, 30, 0, 30, 3, 8};
    ASSERT_EQ(device.WriteProperty(5, 201, 1, 1, 6, arrTime, 6, 1), EDeviceResult::Ok);
    std::vector<BYTE> arrStamp(10, 'Z');
    for (WORD nStart : {1, 11, 21, 31})
        ASSERT_EQ(device.WriteProperty(5, 202, 2, nStart, 10, arrStamp.data(), 10, 1), EDeviceResult::Ok);
    const BYTE arrClock[9] = {14, 5, 9, 7, 30, 3, 8, 12, 0x80};
    ASSERT_EQ(device.WriteUserMemory(0xF0000, arrClock, 9), EDeviceResult::Ok);
    ASSERT_EQ(device.Disconnect(), EDeviceResult::Ok);
}

}  // namespace

TEST(DeviceInspector, PrintsTheStateFileAfterADownload)
{
    CTempDir dir;
    const std::string strPath = dir.File("device.json");
    CManualClock clock;
    {
        CSimulatedDevice device(clock.Source());
        ASSERT_EQ(device.Open(strPath), EDeviceResult::Ok);
        ScriptedDownload(device);
    }
    const CRun run = RunInspector(strPath);
    ASSERT_EQ(run.nExit, 0) << run.strOutput;
    const std::string& out = run.strOutput;
    for (const char* pszLine : {
             "Individual address: 1.1.1\n",
             "Application: manufacturer 0x0002, device type 0x2101, version 0x21\n",
             "  1 address table       Loaded (1)\n",
             "  3 application program Loaded (1)\n",
             "Tables: address table count 3, associations 2, objects 0\n",
             "  4000| 03 11 01 0a 03 08 01 00 00 00 00 00 00 00 00 00\n",
             "  4200| 02 01 00 02 01 00 00 00 00 00 00 00 00 00 00 00\n",
             "  8000| 03 10 0e 00 00 01 00 00 00 00 00 00 00 00 00 00\n",
             "  5/201 download time: 14:30:00 30.03.2008\n",
             "  5/202 download stamp: 5a 5a",
             "  trim: -12 s per month\n",
             "Faults: none\n",
         }) {
        EXPECT_NE(out.find(pszLine), std::string::npos) << pszLine << "\n--- output:\n" << out;
    }
    // The clock was set (it runs on with the system clock, so only its state is fixed).
    EXPECT_NE(out.find(", set\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("  8010|"), std::string::npos) << "rows of zeros are left out";
    EXPECT_NE(out.find("Bus time, last connection: "), std::string::npos);
}

TEST(DeviceInspector, RefusesMissingFilesAndBadArguments)
{
    CTempDir dir;
    EXPECT_EQ(RunInspector(dir.File("nothing.json")).nExit, 1);
    EXPECT_FALSE(platform::FileExists(dir.File("nothing.json"))) << "an inspection creates nothing";
    EXPECT_EQ(RunInspector("a b").nExit, 2);
    EXPECT_EQ(RunInspector("--verbose x").nExit, 2);
}

// A file it cannot print is refused with the reason after its path: the
// system's, or the key found wrong in the file.
TEST(DeviceInspector, NamesWhyItCannotPrintAFile)
{
    CTempDir dir;
    for (const bustest::CUnreadableState& c : bustest::MakeUnreadableStates(dir)) {
        const CRun run = RunInspector(c.m_strPath);
        EXPECT_EQ(run.nExit, 1) << c.m_strPath;
        EXPECT_EQ(run.strOutput, "devinspect: " + c.m_strPath + ": " + c.m_strReason + "\n");
    }
    EXPECT_FALSE(platform::FileExists(dir.File("missing.state"))) << "an inspection creates nothing";
}

// Without a file it takes the editor's default state file; --new makes its
// folder there and still never overwrites.
TEST(DeviceInspector, TakesTheDefaultStateFileWithoutOne)
{
    CTempDir dir;
    const std::string strMissing = dir.File("missing.state");
    CRun run = RunInspector("", "CHRONO_DEVICE_STATE=" + strMissing);
    EXPECT_EQ(run.nExit, 1);
    EXPECT_EQ(run.strOutput, "devinspect: " + strMissing + ": No such file or directory\n");
    EXPECT_FALSE(platform::FileExists(strMissing));

    const std::string strXdg = "XDG_DATA_HOME=" + dir.File("data");
    const std::string strDefault = dir.File("data/chronosets2/device.state");
    run = RunInspector("--no-memory --new 1.1.5", strXdg);
    ASSERT_EQ(run.nExit, 0) << run.strOutput;
    EXPECT_TRUE(platform::FileExists(strDefault));
    run = RunInspector("--no-memory", strXdg);
    EXPECT_EQ(run.nExit, 0);
    EXPECT_NE(run.strOutput.find("Individual address: 1.1.5\n"), std::string::npos) << run.strOutput;
    run = RunInspector("--new 1.1.6", strXdg);
    EXPECT_EQ(run.nExit, 1);
    EXPECT_EQ(run.strOutput, "devinspect: " + strDefault + ": exists already; not overwritten\n");
}

TEST(DeviceReport, FreshDeviceWithFaults)
{
    CManualClock clock;
    CSimulatedDevice device(clock.Source());
    device.GetFaults().SetLoadStateStuck(3, true);
    device.GetFaults().SetFailCall(7, 2);
    platform::CDeviceReportOptions options;
    options.m_bMemory = false;
    options.m_bStatus = false;
    const std::string strReport = platform::FormatDeviceReport(device, options);
    EXPECT_NE(strReport.find("  1 address table       Unloaded (0)\n"), std::string::npos) << strReport;
    EXPECT_NE(strReport.find("5/201 download time: never written"), std::string::npos);
    EXPECT_NE(strReport.find("Faults: calls from 7 fail (2); machine 3 stuck;"), std::string::npos) << strReport;
    EXPECT_EQ(strReport.find("Status block"), std::string::npos);
    EXPECT_EQ(strReport.find("4000|"), std::string::npos);
}
