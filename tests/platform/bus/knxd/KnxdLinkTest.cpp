// The link to a real device through knxd, run against a real knxd (driver
// "ipt") in front of the simulated device's tunnelling face: a download's
// steps with and without the device's verify mode, refused writes, a device
// that stops answering, knxd killed while connected, and no knxd at all.

#include "platform/bus/ApplicationPdu.h"
#include "platform/bus/DeviceStateFile.h"
#include "platform/bus/KnxdTestSupport.h"
#include "platform/bus/TransportPdu.h"

#include "../DeviceTestSupport.h"

#include <gtest/gtest.h>

using namespace knxdtest;
using bustest::CTempDir;

namespace {

constexpr WORD kDevice = CDeviceState::kDefaultIndividualAddress;
const Bytes kStartLoading3 = {0x31, 0, 0, 0, 0, 0, 0, 0, 0, 0};  // load-control record: machine 3, event 1
const Bytes kCompleteLoading3 = {0x32, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr WORD kTpduPacket = 0x0025;  // knxd's raw transport message

class KnxdLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::access(kKnxdPath, X_OK) != 0)
            GTEST_SKIP() << "knxd is not installed (" << kKnxdPath << ", Debian package knxd)";
        // A device that stops answering is given up on within seconds.
        CFalconStandIn::SetAnswerTimeout(1000);
    }
    void TearDown() override { CFalconStandIn::Reset(); }

    // knxd in front of the server thread, and the link through it.
    void Attach(CServerThread& server)
    {
        ASSERT_TRUE(server.IsOpen());
        server.Start();
        ASSERT_TRUE(m_knxd.Start(server.GetPort(), m_dir.File(".")));
        ASSERT_EQ(ConnectWhenReady(m_link, m_knxd.Url(), kDevice), EDeviceResult::Ok);
    }

    // Start loading, parameters over two frames, complete, read back.
    void Download(const Bytes& arrParameters)
    {
        ASSERT_EQ(m_link.WriteMemory(0x0104, kStartLoading3.data(), kStartLoading3.size()), EDeviceResult::Ok);
        ASSERT_EQ(m_link.WriteMemory(0x8000, arrParameters.data(), arrParameters.size()), EDeviceResult::Ok);
        ASSERT_EQ(m_link.WriteMemory(0x0104, kCompleteLoading3.data(), kCompleteLoading3.size()),
                  EDeviceResult::Ok);
        Bytes arrRead;
        ASSERT_EQ(m_link.ReadMemory(0x8000, arrParameters.size(), arrRead), EDeviceResult::Ok);
        EXPECT_EQ(arrRead, arrParameters);
        ASSERT_EQ(m_link.ReadMemory(0xB6EC, 1, arrRead), EDeviceResult::Ok);
        EXPECT_EQ(arrRead, Bytes{CLoadStateMachine::Loaded});
    }

    static Bytes Counting(std::size_t nLength, BYTE nFirst)
    {
        Bytes arr(nLength);
        for (std::size_t i = 0; i < nLength; ++i)
            arr[i] = static_cast<BYTE>(nFirst + i);
        return arr;
    }

    CTempDir m_dir;
    CKnxdProcess m_knxd;
    CKnxdLink m_link;
};

}  // namespace

TEST_F(KnxdLinkTest, ADownloadThroughKnxdLandsInTheDevicesStateFile)
{
    const std::string strState = m_dir.File("device.json");
    CSimDeviceProcess simdevice;
    ASSERT_TRUE(simdevice.Start(SIMDEVICE_PATH, strState, m_dir.File("simdevice.log")));
    ASSERT_TRUE(m_knxd.Start(simdevice.GetPort(), m_dir.File(".")));
    ASSERT_EQ(ConnectWhenReady(m_link, m_knxd.Url(), kDevice), EDeviceResult::Ok);
    EXPECT_TRUE(m_link.IsVerifying());

    const Bytes arrParameters = Counting(30, 0xA0);
    Download(arrParameters);
    const Bytes arrTime = {14, 30, 0, 30, 3, 8};
    ASSERT_EQ(m_link.WriteProperty(5, 201, 0, 1, 1, arrTime.data(), arrTime.size()), EDeviceResult::Ok);
    Bytes arrRead;
    ASSERT_EQ(m_link.ReadProperty(5, 201, 0, 1, 1, arrRead), EDeviceResult::Ok);
    EXPECT_EQ(arrRead, arrTime);
    // The clock's block in user memory, 20-bit addresses.
    const Bytes arrClock = {14, 5, 9, 7, 30, 3, 8};
    ASSERT_EQ(m_link.WriteUserMemory(0xF0000, arrClock.data(), arrClock.size()), EDeviceResult::Ok);
    ASSERT_EQ(m_link.ReadUserMemory(0xF0000, arrClock.size(), arrRead), EDeviceResult::Ok);
    EXPECT_EQ(Bytes(arrRead.begin(), arrRead.begin() + 5), Bytes(arrClock.begin(), arrClock.begin() + 5));
    ASSERT_EQ(m_link.Disconnect(), EDeviceResult::Ok);
    EXPECT_FALSE(m_link.IsConnected());

    const int nStatus = simdevice.Stop(SIGTERM);
    EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0) << nStatus;
    CSimulatedDevice saved;
    ASSERT_EQ(saved.Open(strState), EDeviceResult::Ok);
    EXPECT_EQ(saved.PeekMemory(0x8000, arrParameters.size()), arrParameters);
    EXPECT_EQ(saved.GetLoadState(3), CLoadStateMachine::Loaded);
    EXPECT_EQ(saved.GetDownloadTime(), arrTime);
}

TEST_F(KnxdLinkTest, WritesOfADeviceWithoutVerifyModeAreReadBack)
{
    CServerThread server(m_dir.File("device.json"));
    server.GetServer().SetVerifyModeOffered(false);
    Attach(server);
    EXPECT_FALSE(m_link.IsVerifying());

    Download(Counting(13, 1));
    // Outside loading the device refuses parameters: the read-back shows it.
    const Bytes arrOther(3, 0x55);
    EXPECT_EQ(m_link.WriteMemory(0x8000, arrOther.data(), arrOther.size()), EDeviceResult::Refused);
    ASSERT_EQ(m_link.Disconnect(), EDeviceResult::Ok);
    server.Stop();
    EXPECT_EQ(server.Device().PeekMemory(0x8000, 13), Counting(13, 1));
}

TEST_F(KnxdLinkTest, WritesTheDeviceRefusesAreReportedAndChangeNothing)
{
    CServerThread server(m_dir.File("device.json"));
    Attach(server);
    ASSERT_TRUE(m_link.IsVerifying());

    const Bytes arrData = {1, 2, 3};
    EXPECT_EQ(m_link.WriteMemory(0x8000, arrData.data(), arrData.size()), EDeviceResult::Refused);  // not loading
    EXPECT_EQ(m_link.WriteMemory(0xB6EA, arrData.data(), 1), EDeviceResult::Refused);  // the load state is read-only
    const Bytes arrFive(5, 1);
    EXPECT_EQ(m_link.WriteProperty(3, 13, 0, 1, 1, arrFive.data(), arrFive.size()), EDeviceResult::Refused);
    Bytes arrRead;
    EXPECT_EQ(m_link.ReadProperty(0, 56, 0, 1, 1, arrRead), EDeviceResult::Refused);  // a property it lacks
    // A refusal keeps the connection.
    EXPECT_TRUE(m_link.IsConnected());
    ASSERT_EQ(m_link.Disconnect(), EDeviceResult::Ok);
    EXPECT_TRUE(server.WaitFor(ETunnellingEvent::ConnectionClosed));

    server.Stop();
    EXPECT_EQ(server.Device().PeekMemory(0x8000, 3), Bytes(3, 0));
    EXPECT_EQ(server.Device().GetLoadState(1), CLoadStateMachine::Unloaded);
}

TEST_F(KnxdLinkTest, ADeviceThatStopsAnsweringGivesNoAnswerAndClosesTheLink)
{
    CServerThread server(m_dir.File("device.json"));
    // The descriptor and the verify-mode steps are answered, then nothing.
    server.GetServer().SetSilentFrom(4);
    ASSERT_TRUE(server.IsOpen());
    server.Start();
    ASSERT_TRUE(m_knxd.Start(server.GetPort(), m_dir.File(".")));
    CKnxdTap tap;
    ASSERT_TRUE(tap.Start(m_knxd.SocketPath(), m_dir.File("tap.sock")));
    ASSERT_EQ(ConnectWhenReady(m_link, tap.Url(), kDevice), EDeviceResult::Ok);
    // Nothing comes any more: the waits for it need not be long.
    CFalconStandIn::SetAnswerTimeout(kSilenceMs);

    Bytes arrData;
    EXPECT_EQ(m_link.ReadMemory(0xB6EA, 1, arrData), EDeviceResult::NoAnswer);
    EXPECT_FALSE(m_link.IsConnected());
    EXPECT_EQ(m_link.ReadMemory(0xB6EA, 1, arrData), EDeviceResult::NotConnected);
    // The link said goodbye; the device sees it go.
    EXPECT_TRUE(server.WaitFor(ETunnellingEvent::ConnectionClosed));

    // On the wire: the read, sent again three times under its number, then
    // T_Disconnect as the last word; the second call sent nothing.
    const Bytes arrRead = CApplicationPdu::Memory(CApplicationPdu::kMemoryRead, 1, 0xB6EA).Encode();
    std::vector<CTransportPdu> arrSent;
    int nReads = 0;
    for (const CKnxdTap::CMessage& m : tap.Sent()) {
        CTransportPdu tpdu;
        if (m.nType != kTpduPacket || m.arrData.size() < 2 ||
            !CTransportPdu::Parse(Bytes(m.arrData.begin() + 2, m.arrData.end()), tpdu))
            continue;
        EXPECT_EQ(MAKEWORD(m.arrData[1], m.arrData[0]), kDevice);
        nReads += tpdu.m_eKind == CTransportPdu::EKind::DataConnected && tpdu.m_arrApdu == arrRead ? 1 : 0;
        arrSent.push_back(tpdu);
    }
    EXPECT_EQ(nReads, 4);
    ASSERT_GE(arrSent.size(), 5u);
    const auto last = arrSent.end() - 5;
    for (auto it = last; it != arrSent.end() - 1; ++it) {
        EXPECT_EQ(it->m_eKind, CTransportPdu::EKind::DataConnected);
        EXPECT_EQ(it->m_nSequence, last->m_nSequence);
        EXPECT_EQ(it->m_arrApdu, arrRead);
    }
    EXPECT_EQ(arrSent.back().m_eKind, CTransportPdu::EKind::Disconnect);
    server.Stop();
}

TEST_F(KnxdLinkTest, KnxdKilledMidDownloadFailsTheNextStepAndTheDeviceKeepsWhatItHad)
{
    const std::string strState = m_dir.File("device.json");
    CServerThread server(strState);
    Attach(server);
    ASSERT_EQ(m_link.WriteMemory(0x0104, kStartLoading3.data(), kStartLoading3.size()), EDeviceResult::Ok);
    const Bytes arrFirst = Counting(12, 9);
    ASSERT_EQ(m_link.WriteMemory(0x8000, arrFirst.data(), arrFirst.size()), EDeviceResult::Ok);

    m_knxd.Kill();
    const Bytes arrSecond = Counting(12, 40);
    EXPECT_EQ(m_link.WriteMemory(0x800C, arrSecond.data(), arrSecond.size()), EDeviceResult::NoAnswer);
    EXPECT_FALSE(m_link.IsConnected());

    // No T_Disconnect reached the device: its connection timeout ends it,
    // with the load unfinished.
    ASSERT_TRUE(server.AdvanceUntil(ETunnellingEvent::ConnectionClosed));
    server.Stop();
    CDeviceState saved;
    ASSERT_TRUE(CDeviceStateFile::Load(strState, saved));
    const Bytes arrSaved = saved.m_oMemory.GetRegion(CDeviceMemory::ERegion::Parameters);
    EXPECT_EQ(Bytes(arrSaved.begin(), arrSaved.begin() + 12), arrFirst);
    EXPECT_EQ(server.Device().GetLoadState(3), CLoadStateMachine::Loading);
}

TEST_F(KnxdLinkTest, NoKnxdOrNoDeviceAtTheAddressIsToldApart)
{
    EXPECT_EQ(CKnxdLink::TestServer("local:" + m_dir.File("none.sock")), EDeviceResult::ConnectionRefused);
    EXPECT_EQ(m_link.Connect("local:" + m_dir.File("none.sock"), kDevice), EDeviceResult::ConnectionRefused);
    EXPECT_EQ(m_link.Connect("ip:127.0.0.1:1", kDevice), EDeviceResult::ConnectionRefused);

    CServerThread server(m_dir.File("device.json"));
    Attach(server);
    ASSERT_EQ(m_link.Disconnect(), EDeviceResult::Ok);
    EXPECT_EQ(CKnxdLink::TestServer(m_knxd.Url()), EDeviceResult::Ok);
    // 1.1.9 is nobody on the line: nothing comes, and the waits for it
    // need not be long.
    CFalconStandIn::SetAnswerTimeout(kSilenceMs);
    EXPECT_EQ(m_link.Connect(m_knxd.Url(), 0x1109), EDeviceResult::NoDevice);
    EXPECT_FALSE(m_link.IsConnected());
}

// The server's timers run between datagrams, not only when its socket is
// empty: a client that keeps requests coming cannot hold a timeout off.
TEST(KnxIpUdpServerTest, TheTimersRunWhileRequestsKeepComing)
{
    CTempDir dir;
    CServerThread server(dir.File("device.json"));
    ASSERT_TRUE(server.IsOpen());
    server.Start();
    const Bytes arrNat = {0x08, 0x01, 0, 0, 0, 0, 0, 0};
    Bytes arrConnect = arrNat;
    arrConnect.insert(arrConnect.end(), arrNat.begin(), arrNat.end());
    arrConnect.insert(arrConnect.end(), {0x04, 0x04, 0x02, 0x00});
    const Bytes arrConnectRequest = CKnxIpFrame(CKnxIpFrame::kConnectRequest, arrConnect).Encode();
    ASSERT_TRUE(server.Send(arrConnectRequest));
    ASSERT_TRUE(server.ReceiveAnswer());
    server.Advance(1000);

    // Two more tunnels are asked for at once. The server is stopped at the
    // second one's opening, with the third request queued behind it, when
    // the first tunnel's heartbeat becomes overdue.
    {
        auto hold = server.HoldAtNextEvent();
        ASSERT_TRUE(server.Send(arrConnectRequest));
        ASSERT_TRUE(server.Send(arrConnectRequest));
        ASSERT_TRUE(server.WaitUntilStoppedAt(2));
        server.Advance(CTunnellingServer::kHeartbeatTimeoutMs - 500);
    }
    // Two connect responses, and the first tunnel's disconnect request.
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(server.ReceiveAnswer());
    server.Stop();
    using E = ETunnellingEvent;
    const std::vector<std::pair<E, DWORD>> arrExpected = {
        {E::TunnelOpened, 1}, {E::TunnelOpened, 2}, {E::TunnelClosed, 1}, {E::TunnelOpened, 3}};
    const auto arrEvents = server.Events();
    ASSERT_GE(arrEvents.size(), arrExpected.size());
    EXPECT_EQ(decltype(arrEvents)(arrEvents.begin(), arrEvents.begin() + 4), arrExpected);
}
