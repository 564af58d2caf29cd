// Golden bytes of the tunnelling face's formats, read and written, and
// malformed input refused. The captured frames are knxd's (driver "ipt");
// what the server answers is pinned byte for byte in TunnellingServerTest.

#include "platform/bus/ApplicationPdu.h"
#include "platform/bus/CemiFrame.h"
#include "platform/bus/KnxIpEndpoint.h"
#include "platform/bus/KnxIpFrame.h"
#include "platform/bus/TransportPdu.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

}  // namespace

TEST(KnxIpCodecTest, KnxIpHeaderAndEndpoint)
{
    const Bytes arrConnect = {0x06, 0x10, 0x02, 0x05, 0x00, 0x1A, 0x08, 0x01, 0x7F, 0x00, 0x00, 0x01, 0x9E,
                              0x3C, 0x08, 0x01, 0x7F, 0x00, 0x00, 0x01, 0x9E, 0x3C, 0x04, 0x04, 0x02, 0x00};
    CKnxIpFrame oFrame;
    ASSERT_TRUE(CKnxIpFrame::Parse(arrConnect.data(), arrConnect.size(), oFrame));
    EXPECT_EQ(oFrame.m_nServiceType, CKnxIpFrame::kConnectRequest);
    EXPECT_EQ(oFrame.Encode(), arrConnect);
    CKnxIpEndpoint oEndpoint;
    ASSERT_TRUE(CKnxIpEndpoint::Parse(oFrame.m_arrBody.data(), oFrame.m_arrBody.size(), oEndpoint));
    EXPECT_EQ(oEndpoint.ToString(), "127.0.0.1:40508");
    EXPECT_FALSE(CKnxIpEndpoint::Parse(oFrame.m_arrBody.data(), 7, oEndpoint));
    EXPECT_FALSE(CKnxIpEndpoint::Parse(arrConnect.data() + 5, 8, oEndpoint));  // length byte 0x1A

    // Header length, version, and a total length that is not the datagram's.
    for (const Bytes& arrBad : {Bytes{0x06, 0x10, 0x04, 0x21, 0x00}, Bytes{0x05, 0x10, 0x04, 0x21, 0x00, 0x08, 1, 0},
                                Bytes{0x06, 0x20, 0x04, 0x21, 0x00, 0x08, 1, 0},
                                Bytes{0x06, 0x10, 0x04, 0x21, 0x00, 0x09, 1, 0},
                                Bytes{0x06, 0x10, 0x04, 0x21, 0x00, 0x07, 1, 0},
                                Bytes{0x06, 0x10, 0x04, 0x21, 0xFF, 0xFF, 1, 0}}) {
        CKnxIpFrame oUntouched;
        EXPECT_FALSE(CKnxIpFrame::Parse(arrBad.data(), arrBad.size(), oUntouched));
        EXPECT_EQ(oUntouched.m_nServiceType, 0);
    }
}

TEST(KnxIpCodecTest, CemiDataFrames)
{
    // L_Data.req 0.0.2 -> 1.1.1: T_Data_Connected #0, A_DeviceDescriptor_Read.
    const Bytes arrRequest = {0x11, 0x00, 0xBC, 0x50, 0x00, 0x02, 0x11, 0x01, 0x01, 0x43, 0x00};
    CCemiFrame oFrame;
    ASSERT_TRUE(CCemiFrame::Parse(arrRequest.data(), arrRequest.size(), oFrame));
    EXPECT_EQ(oFrame.m_nMessageCode, CCemiFrame::kDataRequest);
    EXPECT_EQ(oFrame.m_nSource, 0x0002);
    EXPECT_EQ(oFrame.m_nDestination, 0x1101);
    EXPECT_EQ(oFrame.m_arrTpdu, (Bytes{0x43, 0x00}));
    EXPECT_EQ(oFrame.Encode(), arrRequest);
    // Additional info is carried through.
    const Bytes arrInfo = {0x29, 0x03, 0x03, 0x01, 0x05, 0xBC, 0x60, 0x11, 0x01, 0x00, 0x02, 0x00, 0x81};
    ASSERT_TRUE(CCemiFrame::Parse(arrInfo.data(), arrInfo.size(), oFrame));
    EXPECT_EQ(oFrame.m_arrTpdu, Bytes{0x81});
    EXPECT_EQ(oFrame.Encode(), arrInfo);

    Bytes arrLong = {0x11, 0x00, 0xBC, 0x50, 0x00, 0x02, 0x11, 0x01, 16};  // 17 octets: not a standard frame
    arrLong.resize(arrLong.size() + 17);
    for (const Bytes& arrBad : {Bytes{0x11, 0x00, 0xBC, 0x50, 0x00, 0x02, 0x11, 0x01, 0x02, 0x43, 0x00},
                                Bytes{0x11, 0x00, 0xBC, 0x50, 0x00, 0x02, 0x11, 0x01, 0x00, 0x43, 0x00},
                                Bytes{0x11, 0x05, 0xBC, 0x50, 0x00, 0x02, 0x11, 0x01, 0x01, 0x43, 0x00},
                                Bytes{0xFC, 0x00, 0x00, 0x01, 0x00, 0x38, 0x10, 0x01}, Bytes{0x11}, arrLong})
        EXPECT_FALSE(CCemiFrame::Parse(arrBad.data(), arrBad.size(), oFrame)) << arrBad.size();
}

TEST(KnxIpCodecTest, TransportControlInformation)
{
    using EKind = CTransportPdu::EKind;
    struct Case
    {
        Bytes arrTpdu;
        EKind eKind;
        BYTE nSequence;
    };
    for (const Case& c : {Case{{0x80}, EKind::Connect, 0}, Case{{0x81}, EKind::Disconnect, 0},
                          Case{{0xFE}, EKind::Ack, 15}, Case{{0xCB}, EKind::Nak, 2},
                          Case{{0x7E, 0xD5}, EKind::DataConnected, 15}, Case{{0x03, 0x00}, EKind::Data, 0}}) {
        CTransportPdu oPdu;
        ASSERT_TRUE(CTransportPdu::Parse(c.arrTpdu, oPdu)) << int(c.arrTpdu[0]);
        EXPECT_EQ(oPdu.m_eKind, c.eKind) << int(c.arrTpdu[0]);
        EXPECT_EQ(oPdu.m_nSequence, c.nSequence) << int(c.arrTpdu[0]);
        EXPECT_EQ(oPdu.Encode(), c.arrTpdu);
    }
    // The APDU reads the same whatever TPCI carried it.
    CTransportPdu oPdu;
    ASSERT_TRUE(CTransportPdu::Parse({0x6F, 0xD5, 0x00}, oPdu));
    EXPECT_EQ(oPdu.m_arrApdu, (Bytes{0x03, 0xD5, 0x00}));
    for (const Bytes& arrBad : {Bytes{}, Bytes{0x43}, Bytes{0x80, 0x00}, Bytes{0xC0}, Bytes{0x82}, Bytes{0x84},
                                Bytes{0x04, 0x00}})
        EXPECT_FALSE(CTransportPdu::Parse(arrBad, oPdu)) << arrBad.size();
}

TEST(KnxIpCodecTest, ApplicationServiceFields)
{
    using A = CApplicationPdu;
    A oPdu;
    BYTE nCount = 0, nObject = 0, nProperty = 0;
    WORD nAddress = 0, nStart = 0;
    DWORD nUserAddress = 0;
    Bytes arrData;
    ASSERT_TRUE(A::Parse({0x02, 0x8C, 0x80, 0x10, 9}, oPdu));
    EXPECT_EQ(oPdu.m_nService, A::kMemoryWrite);
    ASSERT_TRUE(oPdu.GetMemory(nCount, nAddress, arrData));
    EXPECT_EQ(nCount, 12);
    EXPECT_EQ(nAddress, 0x8010);
    EXPECT_EQ(arrData, Bytes{9});
    ASSERT_TRUE(A::Parse({0x02, 0xC2, 0xF9, 0x00, 0x03}, oPdu));
    EXPECT_EQ(oPdu.m_nService, A::kUserMemoryWrite);
    ASSERT_TRUE(oPdu.GetUserMemory(nCount, nUserAddress, arrData));
    EXPECT_EQ(nCount, 9);
    EXPECT_EQ(nUserAddress, 0xF0003u);
    ASSERT_TRUE(A::Parse({0x03, 0xD7, 1, 5, 0x1F, 0xFF, 1}, oPdu));
    ASSERT_TRUE(oPdu.GetProperty(nObject, nProperty, nCount, nStart, arrData));
    EXPECT_EQ(nStart, 0xFFF);
    EXPECT_EQ(nCount, 1);
    EXPECT_EQ(A::Property(A::kPropertyValueResponse, 5, 202, 10, 0x123).Encode(),
              (Bytes{0x03, 0xD6, 5, 202, 0xA1, 0x23}));

    // Fields cut short are refused, not read past the end.
    ASSERT_TRUE(A::Parse({0x03, 0xD5, 1, 5, 0x10}, oPdu));
    EXPECT_FALSE(oPdu.GetProperty(nObject, nProperty, nCount, nStart, arrData));
    ASSERT_TRUE(A::Parse({0x02, 0xC0, 0xF1, 0x00}, oPdu));
    EXPECT_FALSE(oPdu.GetUserMemory(nCount, nUserAddress, arrData));
    ASSERT_TRUE(A::Parse({0x02, 0x01, 0x40}, oPdu));
    EXPECT_FALSE(oPdu.GetMemory(nCount, nAddress, arrData));
    EXPECT_FALSE(A::Parse({0x02}, oPdu));
}
