// The standalone road into a real installation: the download and the clock
// through the bus access on a knxd connection, knxd in front of the
// simulated device's tunnelling face. What lands in the device must be what
// the same download leaves in the simulated device reached directly; a
// device that falls silent or knxd killed mid-download must fail the
// download, never report it done.

#include "access/BusAccess.h"
#include "app/Chronoset.h"
#include "access/DeviceStatus.h"
#include "model/DptManager.h"
#include "model/IniManager.h"
#include "common/ProgressInfo.h"
#include "platform/base/WinApp.h"
#include "platform/bus/BusAccessClasses.h"
#include "platform/bus/FalconInterfaces.h"
#include "platform/bus/KnxdTestSupport.h"
#include "platform/bus/MachineConnections.h"
#include "platform/bus/SimulatedBus.h"
#include "tests/access/BusTestSupport.h"
#include "tests/platform/bus/DeviceTestSupport.h"
#include "tools/SampleData.h"

#include <gtest/gtest.h>

#include <future>

using namespace knxdtest;
using bustest::CLogCapture;
using bustest::CTempDir;

namespace {

constexpr CDeviceMemory::ERegion kImages[] = {
    CDeviceMemory::ERegion::AddressTable, CDeviceMemory::ERegion::AssociationTable,
    CDeviceMemory::ERegion::ObjectTable, CDeviceMemory::ERegion::Parameters};

class KnxdDownloadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::access(kKnxdPath, X_OK) != 0)
            GTEST_SKIP() << "knxd is not installed (" << kKnxdPath << ", Debian package knxd)";
        CFalconStandIn::Reset();
        CSimulatedBus::RemoveAll();
        ASSERT_TRUE(SUCCEEDED(RegisterBusAccessClasses()));
        g_DptManager.Init();
        m_app.SetProfileName(m_dir.File("Vek_ZR02.ini"));
        m_pPrevious = g_pChronoset;
        g_pChronoset = &m_set;
        m_set.m_fnDownloadWait = [](DWORD) {};
        m_set.m_fnDownloadTime = [] {
            std::tm tm{};
            tm.tm_year = 108;
            tm.tm_mon = 2;
            tm.tm_mday = 30;
            tm.tm_hour = 14;
            return tm;
        };
    }
    void TearDown() override
    {
        g_pChronoset = m_pPrevious;
        RevokeBusAccessClasses();
        CSimulatedBus::RemoveAll();
        CFalconStandIn::Reset();
    }

    void Identify(const CSimulatedDevice& device)
    {
        const CApplicationId& id = device.GetApplicationId();
        m_set.m_nManufacturerId = id.GetManufacturer();
        m_set.m_nDeviceType = id.GetDeviceType();
        m_set.m_nApplicationVersion = id.GetVersion();
        m_set.m_nIndividualAddress = device.GetIndividualAddress();
    }

    int Download(const CFalconConnectionParams& params, int& nWrong)
    {
        CBusAccess bus(true);
        bus.Init(params);
        CProgressInfo progress(true);
        const int nResult = m_set.DoDownload(&progress, &bus, nWrong, true, true, 0xFFFF);
        bus.Close();
        return nResult;
    }

    // The same download into the simulated device reached directly.
    CDeviceState Reference()
    {
        auto pDevice = std::make_shared<CSimulatedDevice>();
        CSimulatedBus::InstallDevice("", pDevice);
        Identify(*pDevice);
        CFalconConnectionParams params;
        params.SetGuid(Falcon::kSimulatedInterface);
        int nWrong = -1;
        EXPECT_EQ(Download(params, nWrong), 0);
        EXPECT_EQ(nWrong, 0);
        CSimulatedBus::RemoveAll();
        return pDevice->GetState();
    }

    CFalconConnectionParams KnxdParams() const
    {
        CFalconConnectionParams params;
        params.SetGuid(Falcon::kKnxdInterface);
        params.SetConnectionName(Falcon::kKnxdConnectionName);
        params.SetConnectionParam(m_knxd.Url());
        return params;
    }

    // knxd in front of the server, ready for the download.
    void Attach(CServerThread& server)
    {
        ASSERT_TRUE(server.IsOpen());
        server.Start();
        ASSERT_TRUE(m_knxd.Start(server.GetPort(), m_dir.File(".")));
        CKnxdLink probe;
        ASSERT_EQ(ConnectWhenReady(probe, m_knxd.Url(), server.Device().GetIndividualAddress()), EDeviceResult::Ok);
        probe.Disconnect();
        ASSERT_TRUE(server.WaitFor(ETunnellingEvent::ConnectionClosed));
        server.ClearEvents();
        Identify(server.Device());
    }

    void ExpectSameImages(const CSimulatedDevice& device, const CDeviceState& reference)
    {
        for (CDeviceMemory::ERegion eRegion : kImages)
            EXPECT_EQ(device.GetState().m_oMemory.GetRegion(eRegion), reference.m_oMemory.GetRegion(eRegion))
                << "region " << static_cast<int>(eRegion);
        for (int nMachine = 1; nMachine <= 3; ++nMachine)
            EXPECT_EQ(device.GetLoadState(nMachine), CLoadStateMachine::Loaded);
        EXPECT_EQ(device.GetDownloadTime(), reference.m_arrDownloadTime);
        EXPECT_EQ(device.GetDownloadStamp(), reference.m_arrDownloadStamp);
    }

    void DownloadAsIntoTheSimulatedDevice()
    {
        const CDeviceState reference = Reference();
        CServerThread server(m_dir.File("device.json"));
        Attach(server);
        int nWrong = -1;
        ASSERT_EQ(Download(KnxdParams(), nWrong), 0);
        EXPECT_EQ(nWrong, 0);
        // The device's own view, once its connection has ended.
        ASSERT_TRUE(server.WaitFor(ETunnellingEvent::ConnectionClosed));
        server.Stop();
        ExpectSameImages(server.Device(), reference);
    }

    // Runs the download while knxd is killed once the device has served the
    // given application frame.
    int DownloadKillingKnxdAt(CServerThread& server, DWORD nFrame)
    {
        auto killer = std::async(std::launch::async, [&] {
            if (server.WaitFor(ETunnellingEvent::ApplicationFrame, nFrame))
                m_knxd.Kill();
        });
        int nWrong = -1;
        const int nResult = Download(KnxdParams(), nWrong);
        killer.wait();
        return nResult;
    }

    CLogCapture m_log;
    CWinApp m_app;
    CTempDir m_dir;
    CKnxdProcess m_knxd;
    CChronoset m_set;
    CChronoset* m_pPrevious = nullptr;
};

}  // namespace

TEST_F(KnxdDownloadTest, TheSampleLandsAsInTheSimulatedDevice)
{
    // Load-state control through the machines' properties this time.
    g_IniManager.WriteInt("Common", "LSMDownloadMode", 1);
    const bool bStandalone = g_bStandalone;
    g_bStandalone = true;
    ASSERT_EQ(m_set.LoadFromFile(CHRONO_SAMPLE_DATA_FILE, nullptr), 1);
    g_bStandalone = bStandalone;
    DownloadAsIntoTheSimulatedDevice();
    EXPECT_TRUE(m_log.Lines().Has(LOG_LEVEL_INFO, "Load state control of object 3 set to 1"));
}

TEST_F(KnxdDownloadTest, TheLargestSetLandsAsInTheSimulatedDevice)
{
    BuildMaximalParameterSet(m_set);
    DownloadAsIntoTheSimulatedDevice();
}

TEST_F(KnxdDownloadTest, TheClockIsSetAndReadBack)
{
    CServerThread server(m_dir.File("device.json"));
    Attach(server);
    CBusAccess bus(true);
    ASSERT_EQ(bus.Init(KnxdParams()), 1);
    ASSERT_EQ(bus.Connect(static_cast<WORD>(m_set.m_nIndividualAddress), nullptr), 0);

    CDeviceClock clock;
    clock.Set(CDeviceClock::Hour, 9);
    clock.Set(CDeviceClock::Minute, 41);
    clock.Set(CDeviceClock::Second, 7);
    clock.Set(CDeviceClock::Weekday, 3);
    clock.Set(CDeviceClock::Day, 24);
    clock.Set(CDeviceClock::Month, 6);
    clock.Set(CDeviceClock::Year, 9);
    CDeviceStatus written;
    written.SetClock(clock);
    written.SetTrim(-12);
    ASSERT_EQ(bus.WriteMem(CDeviceStatus::kAddress, written.GetData(), written.GetSize(false), 0, nullptr), 0);
    CDeviceStatus read;
    ASSERT_EQ(bus.ReadMem(CDeviceStatus::kAddress, read.GetData(), read.GetSize(true), nullptr), 0);
    EXPECT_EQ(read.GetTrim(), -12);
    const CDeviceClock back = read.GetClock();
    for (auto eField : {CDeviceClock::Day, CDeviceClock::Month, CDeviceClock::Year, CDeviceClock::Hour,
                        CDeviceClock::Minute})
        EXPECT_EQ(back.Get(eField), clock.Get(eField)) << static_cast<int>(eField);
    EXPECT_TRUE(read.IsClockSet());
    EXPECT_EQ(bus.Disconnect(nullptr), 0);
    bus.Close();
}

TEST_F(KnxdDownloadTest, ADeviceFallingSilentFailsTheDownload)
{
    // A device that stops answering is given up on within seconds.
    CFalconStandIn::SetAnswerTimeout(500);
    CServerThread server(m_dir.File("device.json"));
    // The probe's frames are counted too: the download falls silent a few
    // dozen frames in, inside the parameters.
    constexpr DWORD kSilentFrom = 60;
    // Once the last frame is served, what follows waits for answers that
    // never come; those waits need not be long. Set before the answer to
    // that frame leaves, so that the next request already waits briefly.
    server.SetEventHook([](ETunnellingEvent eEvent, DWORD nValue) {
        if (eEvent == ETunnellingEvent::ApplicationFrame && nValue + 1 == kSilentFrom)
            CFalconStandIn::SetAnswerTimeout(kSilenceMs);
    });
    Attach(server);
    BuildSampleParameterSet(m_set);
    Identify(server.Device());
    server.GetServer().SetSilentFrom(kSilentFrom);
    int nWrong = -1;
    EXPECT_NE(Download(KnxdParams(), nWrong), 0);
    EXPECT_TRUE(m_log.Lines().HasError("failed")) << "no error logged";
    server.Stop();
    EXPECT_NE(server.Device().GetLoadState(3), CLoadStateMachine::Loaded);
}

TEST_F(KnxdDownloadTest, KnxdKilledMidDownloadFailsIt)
{
    CFalconStandIn::SetAnswerTimeout(500);
    CServerThread server(m_dir.File("device.json"));
    Attach(server);
    BuildMaximalParameterSet(m_set);
    Identify(server.Device());
    EXPECT_NE(DownloadKillingKnxdAt(server, 200), 0);
    // The device's connection timeout ends what knxd left open.
    ASSERT_TRUE(server.AdvanceUntil(ETunnellingEvent::ConnectionClosed));
    server.Stop();
    EXPECT_NE(server.Device().GetLoadState(3), CLoadStateMachine::Loaded);
}

TEST_F(KnxdDownloadTest, NoKnxdAtTheUrlFailsTheStartWithItsMessage)
{
    BuildSampleParameterSet(m_set);
    m_set.m_nIndividualAddress = CDeviceState::kDefaultIndividualAddress;
    CFalconConnectionParams params = KnxdParams();
    params.SetConnectionParam("local:" + m_dir.File("none.sock"));
    int nWrong = -1;
    EXPECT_NE(Download(params, nWrong), 0);
    EXPECT_TRUE(m_log.Lines().HasError("failed to start TL communication"));
    CBusAccess bus(true);
    EXPECT_FALSE(bus.TestConnection(params));
}
