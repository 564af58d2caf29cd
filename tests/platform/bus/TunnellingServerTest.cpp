// The tunnelling face without sockets: datagrams in, datagrams out, time
// moved by hand. A harness plays the tunnel client (as knxd does) and the
// management client behind it (address 0.0.2).

#include "platform/bus/CemiFrame.h"
#include "platform/bus/DeviceStateFile.h"
#include "platform/bus/KnxIpFrame.h"
#include "platform/bus/TransportPdu.h"
#include "platform/bus/TunnellingServer.h"

#include "DeviceTestSupport.h"

#include <gtest/gtest.h>

using bustest::CManualClock;
using bustest::CTempDir;

namespace {

using Bytes = std::vector<BYTE>;

const CKnxIpEndpoint kClient(0x7F000001, 0x9E3C);
const Bytes kClientHpai = {0x08, 0x01, 0x7F, 0x00, 0x00, 0x01, 0x9E, 0x3C};
constexpr WORD kDevice = 0x1101;
constexpr WORD kTool = 0x0002;

Bytes Cat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Datagram(WORD nService, const Bytes& arrBody)
{
    return CKnxIpFrame(nService, arrBody).Encode();
}

Bytes ConnectRequest(const Bytes& arrCri = {0x04, 0x04, 0x02, 0x00}, const Bytes& arrHpai = kClientHpai)
{
    return Datagram(CKnxIpFrame::kConnectRequest, Cat(Cat(arrHpai, arrHpai), arrCri));
}

class TunnellingServerTest : public ::testing::Test {
protected:
    TunnellingServerTest() : m_device(m_clock.Source()), m_server(m_device)
    {
        m_server.SetLocalEndpoint(CKnxIpEndpoint(0x7F000001, 3671));
    }

    std::vector<CKnxIpDatagram> Feed(const Bytes& arrDatagram, const CKnxIpEndpoint& oFrom = kClient)
    {
        std::vector<CKnxIpDatagram> arrOut;
        m_server.Receive(arrDatagram.data(), arrDatagram.size(), oFrom, m_nNowMs, arrOut);
        return arrOut;
    }
    std::vector<CKnxIpDatagram> Advance(LONGLONG nMs)
    {
        m_nNowMs += nMs;
        std::vector<CKnxIpDatagram> arrOut;
        m_server.Tick(m_nNowMs, arrOut);
        return arrOut;
    }
    void Connect()
    {
        auto arrOut = Feed(ConnectRequest());
        ASSERT_EQ(arrOut.size(), 1u);
        ASSERT_EQ(arrOut[0].m_arrBytes[7], CKnxIpFrame::kNoError);
        m_nChannel = arrOut[0].m_arrBytes[6];
    }
    Bytes TunnelingRequest(BYTE nSequence, const Bytes& arrCemi) const
    {
        return Datagram(CKnxIpFrame::kTunnelingRequest, Cat({0x04, m_nChannel, nSequence, 0x00}, arrCemi));
    }
    static Bytes DataRequest(const Bytes& arrTpdu, WORD nSource = kTool)
    {
        CCemiFrame oFrame;
        oFrame.m_nMessageCode = CCemiFrame::kDataRequest;
        oFrame.m_nSource = nSource;
        oFrame.m_nDestination = kDevice;
        oFrame.m_arrTpdu = arrTpdu;
        return oFrame.Encode();
    }
    // Acks the server's tunnelling requests as they come; gives the TPDUs
    // of the device's frames among them.
    std::vector<Bytes> Collect(std::vector<CKnxIpDatagram> arrOut, WORD nDestination = kTool)
    {
        std::vector<Bytes> arrTpdus;
        while (!arrOut.empty()) {
            CKnxIpFrame oFrame;
            const Bytes arrBytes = arrOut.front().m_arrBytes;
            arrOut.erase(arrOut.begin());
            if (!CKnxIpFrame::Parse(arrBytes.data(), arrBytes.size(), oFrame) ||
                oFrame.m_nServiceType != CKnxIpFrame::kTunnelingRequest)
                continue;
            const Bytes& arrBody = oFrame.m_arrBody;
            CCemiFrame oCemi;
            EXPECT_TRUE(CCemiFrame::Parse(arrBody.data() + 4, arrBody.size() - 4, oCemi));
            if (oCemi.m_nMessageCode == CCemiFrame::kDataIndication) {
                EXPECT_EQ(oCemi.m_nSource, kDevice);
                EXPECT_EQ(oCemi.m_nDestination, nDestination);
                arrTpdus.push_back(oCemi.m_arrTpdu);
            }
            auto arrNext = Feed(Datagram(CKnxIpFrame::kTunnelingAck, {0x04, arrBody[1], arrBody[2], 0x00}));
            arrOut.insert(arrOut.end(), arrNext.begin(), arrNext.end());
        }
        return arrTpdus;
    }
    // One TPDU of the tool to the device, and the device's TPDUs back.
    std::vector<Bytes> Transfer(const Bytes& arrTpdu, WORD nSource = kTool)
    {
        return Collect(Feed(TunnelingRequest(m_nSequence++, DataRequest(arrTpdu, nSource))), nSource);
    }
    // A_..._Response as the device's T_Data_Connected carries it, acked.
    Bytes Ask(BYTE nSequence, const Bytes& arrApdu)
    {
        Bytes arrTpdu = arrApdu;
        arrTpdu[0] = static_cast<BYTE>(arrTpdu[0] | 0x40 | nSequence << 2);
        auto arrBack = Transfer(arrTpdu);
        if (arrBack.size() != 2 || arrBack[0] != Bytes{static_cast<BYTE>(0xC2 | nSequence << 2)})
            return {};
        const Bytes arrAnswer = arrBack[1];
        EXPECT_TRUE(Transfer({static_cast<BYTE>(0xC2 | (arrAnswer[0] & 0x3C))}).empty());
        return arrAnswer;
    }
    std::size_t Count(EDeviceOperation eOperation) const
    {
        std::size_t n = 0;
        for (const CDeviceTraceEntry& e : m_device.GetTrace())
            n += e.m_eOperation == eOperation;
        return n;
    }

    CManualClock m_clock;
    CSimulatedDevice m_device;
    CTunnellingServer m_server;
    LONGLONG m_nNowMs = 1000;
    BYTE m_nChannel = 0;
    BYTE m_nSequence = 0;
};

}  // namespace

TEST_F(TunnellingServerTest, ConnectionManagementHasItsGoldenBytes)
{
    auto arrOut = Feed(ConnectRequest());
    ASSERT_EQ(arrOut.size(), 1u);
    EXPECT_EQ(arrOut[0].m_oTo, kClient);
    // Channel 1, our HPAI, CRD with the tunnel's address 1.1.240.
    EXPECT_EQ(arrOut[0].m_arrBytes, (Bytes{0x06, 0x10, 0x02, 0x06, 0x00, 0x14, 0x01, 0x00, 0x08, 0x01, 0x7F, 0x00, 0x00,
                                           0x01, 0x0E, 0x57, 0x04, 0x04, 0x11, 0xF0}));
    m_nChannel = 1;

    const Bytes arrState = Cat({0x01, 0x00}, kClientHpai);
    EXPECT_EQ(Feed(Datagram(CKnxIpFrame::kConnectionStateRequest, arrState)).at(0).m_arrBytes,
              (Bytes{0x06, 0x10, 0x02, 0x08, 0x00, 0x08, 0x01, 0x00}));
    EXPECT_EQ(Feed(Datagram(CKnxIpFrame::kConnectionStateRequest, Cat({0x07, 0x00}, kClientHpai))).at(0).m_arrBytes,
              (Bytes{0x06, 0x10, 0x02, 0x08, 0x00, 0x08, 0x07, 0x21}));

    auto arrDescription = Feed(Datagram(CKnxIpFrame::kDescriptionRequest, kClientHpai));
    ASSERT_EQ(arrDescription.size(), 1u);
    const Bytes& arrDib = arrDescription[0].m_arrBytes;
    ASSERT_EQ(arrDib.size(), 6u + 54u + 6u);
    EXPECT_EQ(Bytes(arrDib.begin() + 6, arrDib.begin() + 12), (Bytes{0x36, 0x01, 0x02, 0x00, 0x11, 0xFE}));
    EXPECT_EQ(Bytes(arrDib.end() - 6, arrDib.end()), (Bytes{0x06, 0x02, 0x02, 0x01, 0x04, 0x01}));

    EXPECT_EQ(Feed(Datagram(CKnxIpFrame::kDisconnectRequest, arrState)).at(0).m_arrBytes,
              (Bytes{0x06, 0x10, 0x02, 0x0A, 0x00, 0x08, 0x01, 0x00}));
    EXPECT_EQ(m_server.GetTunnelCount(), 0u);
    EXPECT_EQ(Feed(Datagram(CKnxIpFrame::kDisconnectRequest, arrState)).at(0).m_arrBytes,
              (Bytes{0x06, 0x10, 0x02, 0x0A, 0x00, 0x08, 0x01, 0x21}));
}

TEST_F(TunnellingServerTest, ConnectRequestsItCannotServeGetTheirStatus)
{
    auto status = [&](const Bytes& arrDatagram) {
        auto arrOut = Feed(arrDatagram);
        return arrOut.size() == 1 && arrOut[0].m_arrBytes.size() >= 8 ? arrOut[0].m_arrBytes[7] : -1;
    };
    EXPECT_EQ(status(ConnectRequest({0x02, 0x03})), CKnxIpFrame::kConnectionType);           // device management
    EXPECT_EQ(status(ConnectRequest({0x04, 0x04, 0x80, 0x00})), CKnxIpFrame::kTunnellingLayer);  // bus monitor
    EXPECT_EQ(status(ConnectRequest({0x05, 0x04, 0x02, 0x00, 0x00})), CKnxIpFrame::kConnectionOption);
    Bytes arrTcp = kClientHpai;
    arrTcp[1] = CKnxIpEndpoint::kTcp;
    EXPECT_EQ(status(ConnectRequest({0x04, 0x04, 0x02, 0x00}, arrTcp)), CKnxIpFrame::kHostProtocolType);
    EXPECT_EQ(m_server.GetTunnelCount(), 0u);

    // A client behind address translation is answered where it sent from.
    const CKnxIpEndpoint oNat(0x0A000002, 5000);
    auto arrOut = Feed(ConnectRequest({0x04, 0x04, 0x02, 0x00}, {0x08, 0x01, 0, 0, 0, 0, 0, 0}), oNat);
    ASSERT_EQ(arrOut.size(), 1u);
    EXPECT_EQ(arrOut[0].m_oTo, oNat);
    for (std::size_t i = 1; i < CTunnellingServer::kMaxTunnels; ++i)
        EXPECT_EQ(status(ConnectRequest()), CKnxIpFrame::kNoError);
    EXPECT_EQ(status(ConnectRequest()), CKnxIpFrame::kNoMoreConnections);
}

TEST_F(TunnellingServerTest, SequenceCountersRepeatsAndResends)
{
    Connect();
    // T_Connect: acked, confirmed (L_Data.con) as the server's request #0.
    auto arrOut = Feed(TunnelingRequest(0, DataRequest({0x80})));
    ASSERT_EQ(arrOut.size(), 2u);
    EXPECT_EQ(arrOut[0].m_arrBytes, (Bytes{0x06, 0x10, 0x04, 0x21, 0x00, 0x0A, 0x04, 0x01, 0x00, 0x00}));
    EXPECT_EQ(arrOut[1].m_arrBytes, (Bytes{0x06, 0x10, 0x04, 0x20, 0x00, 0x14, 0x04, 0x01, 0x00, 0x00, 0x2E, 0x00,
                                           0xBC, 0x60, 0x00, 0x02, 0x11, 0x01, 0x00, 0x80}));
    EXPECT_TRUE(m_device.IsConnected());
    Collect(arrOut);

    // Our ack got lost: the repetition is acked again and not served twice;
    // a counter out of line is dropped.
    const Bytes arrRead = TunnelingRequest(1, DataRequest({0x42, 0x01, 0xB6, 0xEA}));
    arrOut = Feed(arrRead);
    ASSERT_EQ(arrOut.size(), 2u);
    arrOut = Feed(arrRead);
    ASSERT_EQ(arrOut.size(), 1u);
    EXPECT_EQ(arrOut[0].m_arrBytes, (Bytes{0x06, 0x10, 0x04, 0x21, 0x00, 0x0A, 0x04, 0x01, 0x01, 0x00}));
    EXPECT_TRUE(Feed(TunnelingRequest(5, DataRequest({0x80}))).empty());
    EXPECT_EQ(Count(EDeviceOperation::MemoryRead), 1u);

    // The server's unacked request goes out once more after 1 s, then the
    // channel is dropped.
    EXPECT_TRUE(Advance(999).empty());
    arrOut = Advance(1);
    ASSERT_EQ(arrOut.size(), 1u);
    EXPECT_EQ(arrOut[0].m_arrBytes[8], 0x01);
    arrOut = Advance(1000);
    ASSERT_EQ(arrOut.size(), 1u);
    EXPECT_EQ(arrOut[0].m_arrBytes, (Bytes{0x06, 0x10, 0x02, 0x09, 0x00, 0x10, 0x01, 0x00, 0x08, 0x01, 0x7F, 0x00,
                                           0x00, 0x01, 0x0E, 0x57}));
    EXPECT_EQ(m_server.GetTunnelCount(), 0u);
}

TEST_F(TunnellingServerTest, MalformedDatagramsAreIgnored)
{
    Connect();
    const Bytes arrGood = DataRequest({0x80});
    Bytes arrCutCemi = arrGood;
    arrCutCemi.pop_back();
    const std::vector<Bytes> arrBad = {
        {0x06, 0x10, 0x04, 0x20, 0x00},
        Datagram(CKnxIpFrame::kTunnelingRequest, Cat({0x05, m_nChannel, 0x00, 0x00}, arrGood)),
        Datagram(CKnxIpFrame::kTunnelingRequest, Cat({0x04, 0x09, 0x00, 0x00}, arrGood)),
        Datagram(CKnxIpFrame::kTunnelingRequest, {0x04, m_nChannel, 0x00, 0x00}),
        TunnelingRequest(0, arrCutCemi),
        Datagram(CKnxIpFrame::kTunnelingAck, {0x04, m_nChannel, 0x00}),
        Datagram(CKnxIpFrame::kConnectionStateRequest, {m_nChannel, 0x00, 0x08, 0x01}),
        Datagram(CKnxIpFrame::kDisconnectRequest, Cat({m_nChannel, 0x00}, Bytes(8, 0x07))),
        Datagram(CKnxIpFrame::kDescriptionRequest, {}),
        ConnectRequest({0x05, 0x04, 0x02, 0x00}),
        ConnectRequest({0x04, 0x04, 0x02}),
        Datagram(CKnxIpFrame::kConnectRequest, kClientHpai),
        Datagram(0x0530, {1, 2, 3}),
    };
    for (const Bytes& arrDatagram : arrBad)
        EXPECT_TRUE(Feed(arrDatagram).empty()) << arrDatagram.size();
    // A stranger's datagram on an open channel is not taken either.
    EXPECT_TRUE(Feed(TunnelingRequest(0, arrGood), CKnxIpEndpoint(0x7F000001, 1)).empty());

    EXPECT_EQ(m_server.GetTunnelCount(), 1u);
    EXPECT_FALSE(m_device.IsConnected());
    EXPECT_EQ(Feed(TunnelingRequest(0, arrGood)).size(), 2u);
    EXPECT_TRUE(m_device.IsConnected());
}

TEST_F(TunnellingServerTest, TransportConnectionOfTheDevice)
{
    Connect();
    EXPECT_EQ(Transfer({0x43, 0x00}), std::vector<Bytes>{{0x81}});  // data without a connection
    EXPECT_TRUE(Transfer({0x80}).empty());
    ASSERT_EQ(Ask(0, {0x03, 0x00}), (Bytes{0x43, 0x40, 0x07, 0x05}));

    // The same frame again is acked and not served; a number out of line is refused.
    const Bytes arrRead = {0x46, 0x01, 0xB6, 0xEA};
    auto arrBack = Transfer(arrRead);
    ASSERT_EQ(arrBack.size(), 2u);
    EXPECT_EQ(arrBack[1], (Bytes{0x46, 0x41, 0xB6, 0xEA, 0x00}));
    EXPECT_EQ(Transfer(arrRead), std::vector<Bytes>{{0xC6}});
    EXPECT_EQ(Transfer({0x4E, 0x01, 0xB6, 0xEA}), std::vector<Bytes>{{0xCF}});
    EXPECT_EQ(Count(EDeviceOperation::MemoryRead), 1u);

    // Strangers are turned away while the device is taken.
    EXPECT_EQ(Transfer({0x80}, 0x0003), std::vector<Bytes>{{0x81}});
    EXPECT_EQ(Transfer({0x4A, 0x01, 0xB6, 0xEA}, 0x0003), std::vector<Bytes>{{0x81}});
    EXPECT_TRUE(m_device.IsConnected());

    // The device's answer is repeated every 3 s while unacked, three times.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Collect(Advance(3000)), std::vector<Bytes>{arrBack[1]});
    EXPECT_EQ(Collect(Advance(3000)), std::vector<Bytes>{{0x81}});
    EXPECT_FALSE(m_device.IsConnected());
}

TEST_F(TunnellingServerTest, SixSecondsOfSilenceEndTheConnectionAndSaveTheState)
{
    CTempDir dir;
    const std::string strState = dir.File("device.json");
    ASSERT_EQ(m_device.Open(strState), EDeviceResult::Ok);
    Connect();
    Transfer({0x80});
    ASSERT_FALSE(Ask(0, {0x02, 0x01, 0xB6, 0xEA}).empty());
    EXPECT_TRUE(Collect(Advance(5999)).empty());
    EXPECT_EQ(Collect(Advance(1)), std::vector<Bytes>{{0x81}});
    EXPECT_FALSE(m_device.IsConnected());
    CDeviceState oSaved;
    ASSERT_TRUE(CDeviceStateFile::Load(strState, oSaved));
    EXPECT_GT(oSaved.m_oLastSessionBusTime.GetFrameCount(), 0u);
}

TEST_F(TunnellingServerTest, SilentDeviceNeitherAcksNorAnswers)
{
    m_server.SetSilentFrom(2);
    Connect();
    Transfer({0x80});
    ASSERT_FALSE(Ask(0, {0x03, 0x00}).empty());
    EXPECT_TRUE(Transfer({0x46, 0x01, 0xB6, 0xEA}).empty());
    EXPECT_TRUE(Transfer({0x46, 0x01, 0xB6, 0xEA}).empty());
    EXPECT_EQ(Count(EDeviceOperation::MemoryRead), 0u);
    EXPECT_TRUE(Transfer({0x81}).empty());
    EXPECT_FALSE(m_device.IsConnected());
}

TEST_F(TunnellingServerTest, ApplicationServicesMapOntoTheDeviceFrames)
{
    Connect();
    Transfer({0x80});
    BYTE n = 0;
    auto ask = [&](const Bytes& arrApdu) {
        Bytes arrAnswer = Ask(n, arrApdu);
        n = (n + 1) & 0x0F;
        if (!arrAnswer.empty())
            arrAnswer[0] &= 0x03;
        return arrAnswer;
    };
    // Memory writes are answered in verify mode only, which the tool sets.
    EXPECT_TRUE(Transfer({static_cast<BYTE>(0x42 | n << 2), 0x8C, 0x80, 0x00, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}) ==
                std::vector<Bytes>{{static_cast<BYTE>(0xC2 | n << 2)}});
    n = (n + 1) & 0x0F;
    EXPECT_EQ(ask({0x03, 0xD7, 0, 14, 0x10, 0x01, 0x04}), (Bytes{0x03, 0xD6, 0, 14, 0x10, 0x01, 0x04}));
    // Parameters are refused outside loading: count 0.
    EXPECT_EQ(ask({0x02, 0x82, 0x80, 0x00, 1, 2}), (Bytes{0x02, 0x40, 0x80, 0x00}));
    // Start loading machine 3 through its property: the answer is the new state.
    EXPECT_EQ(ask(Cat({0x03, 0xD7, 3, 5, 0x10, 0x01}, Bytes{1, 0, 0, 0, 0, 0, 0, 0, 0, 0})),
              (Bytes{0x03, 0xD6, 3, 5, 0x10, 0x01, 2}));
    const Bytes arrTwelve = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_EQ(ask(Cat({0x02, 0x8C, 0x80, 0x00}, arrTwelve)), Cat({0x02, 0x4C, 0x80, 0x00}, arrTwelve));
    EXPECT_EQ(m_device.PeekMemory(0x8000, 12), arrTwelve);
    // The load-control register takes its record and reads as zeros.
    EXPECT_EQ(ask({0x02, 0x8A, 0x01, 0x04, 0x11, 5, 5, 5, 5, 5, 5, 5, 5, 5}),
              Cat({0x02, 0x4A, 0x01, 0x04}, Bytes(10, 0)));
    EXPECT_EQ(m_device.GetLoadState(1), CLoadStateMachine::Loading);
    // A count that does not match the data is refused.
    EXPECT_EQ(ask({0x02, 0x83, 0x80, 0x00, 9, 9}), (Bytes{0x02, 0x40, 0x80, 0x00}));
    EXPECT_EQ(m_device.PeekMemory(0x8000, 2), (Bytes{1, 2}));

    // User memory: the extension nibble carries address bits 16-19.
    const Bytes arrClock = {14, 5, 9, 7, 30, 3, 8};
    EXPECT_EQ(ask(Cat({0x02, 0xC2, 0xF7, 0x00, 0x00}, arrClock)), Cat({0x02, 0xC1, 0xF7, 0x00, 0x00}, arrClock));
    EXPECT_EQ(ask({0x02, 0xC2, 0xF1, 0x00, 0x09, 0}), (Bytes{0x02, 0xC1, 0xF0, 0x00, 0x09}));  // read-only byte
    EXPECT_EQ(ask({0x02, 0xC0, 0xFC, 0x00, 0x00}), (Bytes{0x02, 0xC1, 0xF0, 0x00, 0x00}));        // 12 > 11

    // Properties: a missing one (what a tool reads first) and a read-only one.
    EXPECT_EQ(ask({0x03, 0xD5, 0, 56, 0x10, 0x01}), (Bytes{0x03, 0xD6, 0, 56, 0x00, 0x01}));
    EXPECT_EQ(ask(Cat({0x03, 0xD7, 3, 13, 0x10, 0x01}, Bytes(5, 0))), (Bytes{0x03, 0xD6, 3, 13, 0x00, 0x01}));
    EXPECT_EQ(ask({0x03, 0xD5, 5, 202, 0x10, 0x00}), (Bytes{0x03, 0xD6, 5, 202, 0x10, 0x00, 0x00, 40}));

    EXPECT_EQ(ask({0x03, 0x02}), (Bytes{0x03, 0x7F}));  // descriptor type 2: none
    EXPECT_EQ(ask({0x03, 0xD1, 0x00, 0x11, 0x22, 0x33, 0x44}), (Bytes{0x03, 0xD2, 0x00}));

    // A restart is acked and ends the connection without a word.
    EXPECT_EQ(Transfer({static_cast<BYTE>(0x43 | n << 2), 0x80}), std::vector<Bytes>{{static_cast<BYTE>(0xC2 | n << 2)}});
    EXPECT_FALSE(m_device.IsConnected());
}
