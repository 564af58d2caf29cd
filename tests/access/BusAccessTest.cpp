#include "access/BusAccess.h"

#include "common/ProgressInfo.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/bus/BusAccessClasses.h"
#include "platform/bus/DeviceStateFile.h"
#include "platform/bus/FalconStandIn.h"
#include "platform/bus/SimulatedBus.h"
#include "platform/bus/SimulatedDeviceManagement.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComVariant.h"
#include "platform/com/SafeArray.h"
#include "resources/de/BuiltInResources.h"
#include "tests/access/BusTestSupport.h"
#include "tests/platform/bus/DeviceTestSupport.h"
#include "tests/support/ScriptedMessageBoxSink.h"

#include <gtest/gtest.h>

using bustest::CFakeDeviceManagement;
using bustest::CLogCapture;
using bustest::CManualClock;

namespace {

class BusAccessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CFalconStandIn::Reset();
        CSimulatedBus::RemoveAll();
        ASSERT_TRUE(SUCCEEDED(RegisterBusAccessClasses()));
        m_pDevice = std::make_shared<CSimulatedDevice>(m_clock.Source());
        CSimulatedBus::InstallDevice("", m_pDevice);
        m_params.SetGuid(Falcon::kSimulatedInterface);
        m_params.SetConnectionName("Simulated line");
    }
    void TearDown() override
    {
        RevokeBusAccessClasses();
        CSimulatedBus::RemoveAll();
        CFalconStandIn::Reset();
    }

    // Standalone bus access, initialised and connected to the device.
    std::unique_ptr<CBusAccess> Connected()
    {
        auto pBus = std::make_unique<CBusAccess>(true);
        EXPECT_EQ(pBus->Init(m_params), 1);
        EXPECT_EQ(pBus->Connect(0x1101, nullptr), 0);
        return pBus;
    }

    std::vector<CDeviceTraceEntry> TraceOf(EDeviceOperation eOperation) const
    {
        std::vector<CDeviceTraceEntry> arrEntries;
        for (const CDeviceTraceEntry& e : m_pDevice->GetTrace()) {
            if (e.m_eOperation == eOperation)
                arrEntries.push_back(e);
        }
        return arrEntries;
    }

    CComPtr<CComObject<CFakeDeviceManagement>> FakeHost()
    {
        CComObject<CFakeDeviceManagement>* p = nullptr;
        EXPECT_EQ(CComObject<CFakeDeviceManagement>::CreateInstance(&p), S_OK);
        return CComPtr<CComObject<CFakeDeviceManagement>>(p);
    }

    CLogCapture m_log;
    CManualClock m_clock;
    std::shared_ptr<CSimulatedDevice> m_pDevice;
    CFalconConnectionParams m_params;
};

}  // namespace

// ---------------------------------------------------------------------------
// Standalone: connection

TEST_F(BusAccessTest, SecondConnectGivesThreeAndTheFirstStaysUsable)
{
    auto pBus = Connected();
    EXPECT_EQ(pBus->Connect(0x1101, nullptr), 3);
    EXPECT_TRUE(m_log.Lines().HasError("Connection to a device was already established"));
    BYTE nState = 0xEE;
    EXPECT_EQ(pBus->ReadDeviceMemory(0xB6EC, &nState, 1), 0);
    EXPECT_EQ(nState, CLoadStateMachine::Unloaded);
    EXPECT_EQ(pBus->Disconnect(nullptr), 0);
    EXPECT_FALSE(m_pDevice->IsConnected());
    // Idle again: a new connection may start.
    EXPECT_EQ(pBus->Connect(0x1101, nullptr), 0);
    pBus->Close();
    EXPECT_FALSE(m_pDevice->IsConnected());
}

TEST_F(BusAccessTest, ConnectionReachesTheTargetWithTheSettings)
{
    m_params.SetConnectionParam("");
    auto pBus = Connected();
    std::vector<CFalconCallRecord> arrCalls = CFalconStandIn::GetCalls();
    ASSERT_GE(arrCalls.size(), 6u);
    EXPECT_EQ(arrCalls[0].m_strCall, "Connection.put_Mode");
    EXPECT_EQ(arrCalls[1].m_strCall, "Connection.put_TargetAddress");
    EXPECT_EQ(arrCalls[1].m_vtValue, VT_I4);
    EXPECT_EQ(arrCalls[2].m_strCall, "Connection.Open2");
    EXPECT_EQ(arrCalls[2].m_vtValue, VT_BSTR);
    EXPECT_EQ(arrCalls[3].m_strCall, "PropertyAccess.putref_Connection");
    EXPECT_EQ(arrCalls[4].m_strCall, "UserMemoryAccess.putref_Connection");
    EXPECT_EQ(arrCalls[5].m_strCall, "MemoryAccess.putref_Connection");
    ASSERT_FALSE(TraceOf(EDeviceOperation::Connect).empty());
    EXPECT_EQ(TraceOf(EDeviceOperation::Connect)[0].m_nAddress, 0x1101u);

    // Nobody at another address: the start fails and leaves nothing behind.
    CBusAccess other(true);
    other.Init(m_params);
    pBus.reset();
    EXPECT_EQ(other.Connect(0x1205, nullptr), 3);
    EXPECT_TRUE(m_log.Lines().HasError("failed to open bus connection, hr=0x"));
    EXPECT_FALSE(other.GetAbsFalcon().IsConnected());
}

TEST_F(BusAccessTest, FailedStartsEndIdleWithTheirMessage)
{
    struct Case {
        std::function<void()> fnInject;
        std::string strError;
    };
    const std::vector<Case> arrCases = {
        {[] { CFalconStandIn::SetCreateFailure(EFalconClass::Connection, E_OUTOFMEMORY); },
         "unable to create connection object, hr=0x8007000E"},
        {[] { CFalconStandIn::SetCallFailure(EFalconCall::SetMode, E_FAIL); }, "failed to set mode, hr=0x80004005"},
        {[] { CFalconStandIn::SetCallFailure(EFalconCall::SetTargetAddress, E_FAIL); },
         "failed to set target address, hr=0x80004005"},
        {[this] { m_pDevice->GetFaults().SetConnectionRefused(true); }, "failed to open bus connection, hr=0x"},
        {[] { CFalconStandIn::SetCreateFailure(EFalconClass::PropertyAccess, E_ACCESSDENIED); },
         "unable to create property access object, hr=0x80070005"},
        {[] { CFalconStandIn::SetCreateFailure(EFalconClass::UserMemoryAccess, E_ACCESSDENIED); },
         "unable to create user memory access object, hr=0x80070005"},
        {[] { CFalconStandIn::SetCreateFailure(EFalconClass::MemoryAccess, E_ACCESSDENIED); },
         "unable to create memory access object, hr=0x80070005"},
        {[] { CFalconStandIn::SetCallFailure(EFalconCall::BindConnection, E_UNEXPECTED); },
         "Calling putref_Connection, hr=0x8000FFFF"},
    };
    for (const Case& c : arrCases) {
        CFalconStandIn::Reset();
        m_pDevice->GetFaults().Clear();
        c.fnInject();
        CBusAccess bus(true);
        bus.Init(m_params);
        EXPECT_EQ(bus.Connect(0x1101, nullptr), 3) << c.strError;
        EXPECT_TRUE(m_log.Lines().HasError(c.strError)) << c.strError;
        EXPECT_FALSE(bus.GetAbsFalcon().IsConnected()) << c.strError;
        EXPECT_FALSE(m_pDevice->IsConnected()) << c.strError;
        // Once the fault is gone the same object connects.
        CFalconStandIn::Reset();
        m_pDevice->GetFaults().Clear();
        EXPECT_EQ(bus.Connect(0x1101, nullptr), 0) << c.strError;
        bus.Disconnect(nullptr);
    }
}

TEST_F(BusAccessTest, DeviceOpenErrorFailsTheStartWithAWarning)
{
    m_pDevice->GetFaults().SetDeviceOpenError(7);
    CBusAccess bus(true);
    bus.Init(m_params);
    EXPECT_EQ(bus.Connect(0x1101, nullptr), 3);
    EXPECT_TRUE(m_log.Lines().Has(LOG_LEVEL_WARNING,
                                  "Extended error information opening bus connection, DeviceOpenError = 7"));
    EXPECT_FALSE(bus.GetAbsFalcon().IsConnected());
}

TEST_F(BusAccessTest, TestConnectionAsksTheInterfaceOnly)
{
    CBusAccess bus(true);
    EXPECT_TRUE(bus.TestConnection(m_params));
    EXPECT_TRUE(TraceOf(EDeviceOperation::Connect).empty());
    EXPECT_EQ(TraceOf(EDeviceOperation::TestInterface).size(), 1u);

    // Extended errors 1..8: no interface; above 8 it is there.
    m_pDevice->GetFaults().SetDeviceOpenError(8);
    EXPECT_FALSE(bus.TestConnection(m_params));
    m_pDevice->GetFaults().SetDeviceOpenError(9);
    EXPECT_TRUE(bus.TestConnection(m_params));
    m_pDevice->GetFaults().SetDeviceOpenError(0);
    m_pDevice->GetFaults().SetConnectionRefused(true);
    EXPECT_FALSE(bus.TestConnection(m_params));
    EXPECT_TRUE(m_log.Lines().HasError("Falcon::IConnectionPtr::Open2 failed, hr=0x"));

    CFalconConnectionParams noInterface;
    m_pDevice->GetFaults().SetConnectionRefused(false);
    EXPECT_FALSE(bus.TestConnection(noInterface));
}

// ---------------------------------------------------------------------------
// Standalone: accesses and conversions

TEST_F(BusAccessTest, ShortReplyLeavesTheRestOfTheBufferZero)
{
    auto pBus = Connected();
    const BYTE arrClock[7] = {8, 15, 0, 3, 5, 6, 9};
    ASSERT_EQ(pBus->WriteMem(0xF0000, arrClock, 7, 0, nullptr), 0);
    CFalconStandIn::SetReplyLimit(5);
    BYTE arrBuffer[11];
    std::fill(std::begin(arrBuffer), std::end(arrBuffer), BYTE{0xEE});
    ASSERT_EQ(pBus->ReadMem(0xF0000, arrBuffer, 11, nullptr), 0);
    const BYTE arrExpected[11] = {8, 15, 0, 3, 5, 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(std::equal(std::begin(arrExpected), std::end(arrExpected), arrBuffer));
}

TEST_F(BusAccessTest, LongRepliesGiveTheirLowBytes)
{
    auto pBus = Connected();
    const BYTE arrClock[7] = {0x12, 0x34, 0x05, 0x06, 0x07, 0x08, 0x09};
    ASSERT_EQ(pBus->WriteMem(0xF0000, arrClock, 7, 0, nullptr), 0);
    CFalconStandIn::SetReplyForm(EFalconReplyForm::Long);
    BYTE arrTwo[2] = {0xEE, 0xEE};
    ASSERT_EQ(pBus->ReadMem(0xF0000, arrTwo, 2, nullptr), 0);
    EXPECT_EQ(arrTwo[0], 0x12);
    EXPECT_EQ(arrTwo[1], 0x34);

    CFalconStandIn::SetReplyForm(EFalconReplyForm::LongArray);
    BYTE arrThree[3] = {};
    ASSERT_EQ(pBus->ReadMem(0xF0000, arrThree, 3, nullptr), 0);
    EXPECT_EQ(arrThree[2], 0x05);

    // The conversion itself: a long fills at most four bytes.
    CComVariant vLong(0x12345678);
    BYTE arrSix[6];
    std::fill(std::begin(arrSix), std::end(arrSix), BYTE{0xEE});
    ASSERT_TRUE(CAbsFalcon::VariantToBytes(vLong, arrSix, 6));
    const BYTE arrExpected[6] = {0x78, 0x56, 0x34, 0x12, 0, 0};
    EXPECT_TRUE(std::equal(std::begin(arrExpected), std::end(arrExpected), arrSix));
}

TEST_F(BusAccessTest, UnconvertibleRepliesAndDataFailWithMinusOne)
{
    CComVariant vText("12");
    BYTE arrBuffer[3] = {1, 2, 3};
    EXPECT_FALSE(CAbsFalcon::VariantToBytes(vText, arrBuffer, 3));
    EXPECT_TRUE(m_log.Lines().HasError("invalid VARTYPE = 8"));
    EXPECT_EQ(arrBuffer[0], 0);
    EXPECT_EQ(arrBuffer[2], 0);

    CComVariant vData;
    EXPECT_FALSE(CAbsFalcon::BytesToVariant(arrBuffer, 0, vData));
    EXPECT_FALSE(CAbsFalcon::BytesToVariant(nullptr, 3, vData));
    EXPECT_EQ(vData.vt, VT_EMPTY);

    auto pBus = Connected();
    EXPECT_EQ(pBus->WritePropertyData(5, 202, 2, 1, 1, arrBuffer, 0, 1), -1);
    EXPECT_TRUE(m_log.Lines().HasError("failed to convert BYTE array into VARIANT"));
    EXPECT_EQ(pBus->WriteDeviceMemory(0x8000, nullptr, 4, 1), 5);
}

TEST_F(BusAccessTest, PropertyValuesAreAByteOrAnArrayByTypeCode)
{
    auto pBus = Connected();
    const BYTE arrValue[6] = {1, 2, 3, 4, 5, 6};
    struct Case {
        BYTE nType, nCount;
        WORD nLength;
        VARTYPE vtExpected;
    };
    for (const Case& c : {Case{1, 1, 1, VT_UI1}, Case{2, 1, 1, VT_UI1}, Case{2, 6, 1, VT_UI1},
                          Case{1, 1, 6, VT_UI1}, Case{0, 1, 1, VT_ARRAY | VT_UI1},
                          Case{14, 1, 1, VT_ARRAY | VT_UI1}, Case{1, 6, 6, VT_ARRAY | VT_UI1}}) {
        ASSERT_EQ(pBus->WritePropertyData(5, 201, c.nType, 1, c.nCount, arrValue, c.nLength, 1), 0);
        EXPECT_EQ(CFalconStandIn::GetCalls().back().m_vtValue, c.vtExpected)
            << "type " << int{c.nType} << " count " << int{c.nCount} << " length " << c.nLength;
    }
    EXPECT_EQ(m_pDevice->GetDownloadTime(), std::vector<BYTE>(arrValue, arrValue + 6));
    EXPECT_TRUE(m_log.Lines().Has(LOG_LEVEL_DETAIL, "CBusAccess::WritePropertyData"));
    EXPECT_TRUE(m_log.Lines().Has(
        LOG_LEVEL_DETAIL, ": Object-Idx (0x05), Property-Id (0xc9), StartIndex (0x0001), Elements (0x06)"));
}

TEST_F(BusAccessTest, ReadPropertyLogsAndFillsTheBuffer)
{
    auto pBus = Connected();
    BYTE arrId[6];
    std::fill(std::begin(arrId), std::end(arrId), BYTE{0xEE});
    ASSERT_EQ(pBus->ReadPropertyData(3, 13, 0, 1, 1, arrId, 6, nullptr), 0);
    auto arrExpected = m_pDevice->GetApplicationId().ToBytes();
    EXPECT_TRUE(std::equal(arrExpected.begin(), arrExpected.end(), arrId));
    EXPECT_EQ(arrId[5], 0);
    EXPECT_TRUE(m_log.Lines().Has(LOG_LEVEL_DETAIL, "CBusAccess::ReadPropertyData"));
    EXPECT_TRUE(m_log.Lines().Has(
        LOG_LEVEL_DETAIL, "Object-Idx (0x03), Property-Id (0x0d), StartIndex (0x0001), Elements (0x01)"));

    // A failing library call leaves the buffer as it was.
    m_pDevice->GetFaults().SetFailCall(1);
    std::fill(std::begin(arrId), std::end(arrId), BYTE{0xEE});
    EXPECT_EQ(pBus->ReadPropertyData(3, 13, 0, 1, 1, arrId, 6, nullptr), 5);
    EXPECT_TRUE(m_log.Lines().HasError("failed to read propertydata, hr=0x"));
    EXPECT_EQ(arrId[0], 0xEE);
}

TEST_F(BusAccessTest, LibraryFailuresGiveFive)
{
    auto pBus = Connected();
    BYTE arrData[4] = {1, 2, 3, 4};
    // Outside loading the parameter area refuses writes.
    EXPECT_EQ(pBus->WriteDeviceMemory(0x8000, arrData, 4, 1), 5);
    EXPECT_TRUE(m_log.Lines().HasError("failed to write memory, hr=0x"));
    EXPECT_EQ(pBus->ReadDeviceMemory(0x2000, arrData, 4), 5);
    EXPECT_TRUE(m_log.Lines().HasError("failed to read memory, hr=0x"));
    EXPECT_EQ(pBus->WriteMem(0xF0009, arrData, 2, 0, nullptr), 5);
    EXPECT_TRUE(m_log.Lines().HasError("failed to write user memory, hr=0x"));
    EXPECT_EQ(pBus->ReadMem(0xF0008, arrData, 4, nullptr), 5);
    EXPECT_TRUE(m_log.Lines().HasError("failed to read user memory, hr=0x"));
    EXPECT_EQ(pBus->WritePropertyData(3, 13, 0, 1, 1, arrData, 4, 0), 5);
    EXPECT_TRUE(m_log.Lines().HasError("failed to write property data, hr=0x"));
}

TEST_F(BusAccessTest, AccessesWithoutConnectionGiveThree)
{
    CBusAccess bus(true);
    bus.Init(m_params);
    BYTE arrBuffer[4] = {};
    EXPECT_EQ(bus.ReadDeviceMemory(0x8000, arrBuffer, 4), 3);
    EXPECT_EQ(bus.WriteMem(0xF0000, arrBuffer, 4, 0, nullptr), 3);
    EXPECT_EQ(bus.ReadPropertyData(3, 13, 0, 1, 1, arrBuffer, 4, nullptr), 3);
    EXPECT_EQ(bus.Disconnect(nullptr), 0);
}

TEST_F(BusAccessTest, ChunkedWriteGoesOutTenElementsAtATime)
{
    auto pBus = Connected();
    BYTE arrStamp[40];
    for (int i = 0; i < 40; ++i)
        arrStamp[i] = static_cast<BYTE>('A' + i % 26);
    CProgressInfo progress(true);
    progress.SetRange(0, 100);
    m_pDevice->ClearTrace();
    ASSERT_EQ(pBus->WritePropertyDataChunked(5, 202, 0, 1, 40, arrStamp, &progress, 1), 0);
    std::vector<WORD> arrStarts;
    for (const CDeviceTraceEntry& e : TraceOf(EDeviceOperation::PropertyWrite)) {
        arrStarts.push_back(e.m_nStartIndex);
        EXPECT_EQ(e.m_nTypeCode, 2);
        EXPECT_EQ(e.m_nCount, 10);
        EXPECT_EQ(e.m_nFlag, 1);
    }
    EXPECT_EQ(arrStarts, (std::vector<WORD>{1, 11, 21, 31}));
    EXPECT_EQ(progress.GetPosition(), 4u);
    EXPECT_EQ(m_pDevice->GetDownloadStamp(), std::vector<BYTE>(arrStamp, arrStamp + 40));

    // 25 elements: 10, 10, 5.
    m_pDevice->ClearTrace();
    ASSERT_EQ(pBus->WritePropertyDataChunked(5, 202, 0, 3, 25, arrStamp, nullptr, 1), 0);
    std::vector<std::pair<WORD, BYTE>> arrChunks;
    for (const CDeviceTraceEntry& e : TraceOf(EDeviceOperation::PropertyWrite))
        arrChunks.push_back({e.m_nStartIndex, e.m_nCount});
    EXPECT_EQ(arrChunks, (std::vector<std::pair<WORD, BYTE>>{{3, 10}, {13, 10}, {23, 5}}));

    // Nothing to write: no chunk at all.
    m_pDevice->ClearTrace();
    EXPECT_EQ(pBus->WritePropertyDataChunked(5, 202, 0, 1, 0, arrStamp, nullptr, 1), 0);
    EXPECT_TRUE(m_pDevice->GetTrace().empty());

    // A failing chunk ends the write with its result.
    m_pDevice->GetFaults().SetFailCall(2);
    CProgressInfo failing(true);
    failing.SetRange(0, 100);
    EXPECT_EQ(pBus->WritePropertyDataChunked(5, 202, 0, 1, 40, arrStamp, &failing, 1), 5);
    EXPECT_TRUE(m_log.Lines().HasError("failed to write property 202 of object 5"));
    EXPECT_EQ(failing.GetPosition(), 1u);
}

TEST_F(BusAccessTest, AddressesAndAccessMode)
{
    CBusAccess standalone(true);
    EXPECT_EQ(standalone.MakeIndividualAddress(1, 1, 3), 0x1103);
    EXPECT_EQ(standalone.MakeIndividualAddress(15, 0x1F, 255), 0xFFFF);
    EXPECT_EQ(standalone.SetAccessMode(0), 1);
    CBusAccess plugIn(false);
    EXPECT_EQ(plugIn.MakeIndividualAddress(1, 1, 3), 0xFFFF);
    EXPECT_EQ(plugIn.SetAccessMode(0), 1);
    EXPECT_EQ(plugIn.Init(m_params), 1);
    EXPECT_EQ(plugIn.GetParams(), m_params);
    EXPECT_TRUE(platform::IsNullGuid(plugIn.GetAbsFalcon().GetParams().GetGuid()));
}

// ---------------------------------------------------------------------------
// Plug-in mode

TEST_F(BusAccessTest, PlugInModeStandaloneOnlyCallsGiveMinusOneWithoutTheHost)
{
    auto pHost = FakeHost();
    CBusAccess bus(false);
    bus.Init(m_params);
    BYTE arrData[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(bus.WriteDeviceMemory(0x8000, arrData, 6, 1), -1);
    EXPECT_EQ(bus.ReadDeviceMemory(0x8000, arrData, 6), -1);
    EXPECT_EQ(bus.WritePropertyData(5, 201, 1, 1, 6, arrData, 6, 1), -1);
    EXPECT_EQ(bus.WritePropertyDataChunked(5, 202, 0, 1, 40, arrData, nullptr, 1), -1);
    EXPECT_TRUE(m_log.Lines().HasError("failed to write property 202 of object 5"));
    EXPECT_FALSE(bus.TestConnection(m_params));
    EXPECT_TRUE(pHost->m_arrCalls.empty());
    EXPECT_TRUE(m_pDevice->GetTrace().empty());
    EXPECT_TRUE(CFalconStandIn::GetCalls().empty());
}

TEST_F(BusAccessTest, PlugInModePassesTheCallsToTheHost)
{
    auto pHost = FakeHost();
    CBusAccess bus(false);
    ASSERT_EQ(bus.Connect(0x1101, pHost), 0);
    EXPECT_EQ(pHost->m_arrCalls, (std::vector<std::string>{"Connect"}));

    pHost->m_arrReply = {10, 11, 12, 13, 14, 15};
    BYTE arrStamp[6] = {};
    ASSERT_EQ(bus.ReadPropertyData(5, 201, 0, 1, 1, arrStamp, 6, pHost), 0);
    EXPECT_EQ(pHost->m_arrArgs, (std::vector<LONG>{5, 201, 0, 1, 1, 6}));
    EXPECT_EQ(arrStamp[5], 15);

    const BYTE arrClock[9] = {1, 2, 3, 4, 5, 6, 7, 8, 0x80};
    ASSERT_EQ(bus.WriteMem(0xF0000, arrClock, 9, 0, pHost), 0);
    EXPECT_EQ(pHost->m_arrArgs, (std::vector<LONG>{3, 0xF0000, 9, 0, FALSE}));
    EXPECT_EQ(pHost->m_arrWritten, std::vector<BYTE>(arrClock, arrClock + 9));
    ASSERT_EQ(bus.WriteMem(0xF0000, arrClock, 9, 5, pHost), 0);
    EXPECT_EQ(pHost->m_arrArgs.back(), TRUE);

    BYTE arrBlock[11] = {};
    ASSERT_EQ(bus.ReadMem(0xF0000, arrBlock, 11, pHost), 0);
    EXPECT_EQ(pHost->m_arrArgs, (std::vector<LONG>{3, 0xF0000, 11}));

    // Disconnect ignores the host's answer; without an object it does nothing.
    pHost->m_hr = E_FAIL;
    EXPECT_EQ(bus.Disconnect(pHost), 0);
    EXPECT_EQ(pHost->m_arrCalls.back(), "Disconnect");
    EXPECT_EQ(bus.Disconnect(nullptr), 0);
    bus.Close();
}

TEST_F(BusAccessTest, PlugInModeFailuresGiveMinusOne)
{
    CBusAccess bus(false);
    BYTE arrBuffer[11] = {};
    EXPECT_EQ(bus.Connect(0x1101, nullptr), -1);
    EXPECT_EQ(bus.ReadPropertyData(5, 201, 0, 1, 1, arrBuffer, 6, nullptr), -1);
    EXPECT_EQ(bus.WriteMem(0xF0000, arrBuffer, 9, 0, nullptr), -1);
    EXPECT_EQ(bus.ReadMem(0xF0000, arrBuffer, 11, nullptr), -1);
    std::size_t nNullLines = 0;
    for (const auto& line : m_log.Lines().m_arrLines)
        nNullLines += line.strText.find("IDeviceManagementPtr is NULL.") != std::string::npos;
    EXPECT_EQ(nNullLines, 4u);

    auto pHost = FakeHost();
    pHost->m_hr = E_FAIL;
    EXPECT_EQ(bus.Connect(0x1101, pHost), -1);
    EXPECT_TRUE(m_log.Lines().HasError("Calling Connect. hr=0x80004005"));
    EXPECT_EQ(bus.ReadPropertyData(5, 201, 0, 1, 1, arrBuffer, 6, pHost), -1);
    EXPECT_TRUE(m_log.Lines().HasError("Calling ReadProp. hr=0x80004005"));
    EXPECT_EQ(bus.WriteMem(0xF0000, arrBuffer, 9, 0, pHost), -1);
    EXPECT_TRUE(m_log.Lines().HasError("Calling WriteMem. hr=0x80004005"));
    EXPECT_EQ(bus.ReadMem(0xF0000, arrBuffer, 11, pHost), -1);
    EXPECT_TRUE(m_log.Lines().HasError("Calling ReadMem. hr=0x80004005"));
}

TEST_F(BusAccessTest, BothRoadsReachTheSameDevice)
{
    // Standalone: set the clock.
    {
        auto pBus = Connected();
        const BYTE arrClock[9] = {10, 20, 30, 3, 2, 7, 8, 5, 0x80};
        ASSERT_EQ(pBus->WriteMem(0xF0000, arrClock, 9, 0, nullptr), 0);
    }
    // Plug-in: read it through the host's device management.
    CComPtr<IDeviceManagement> pHost;
    ASSERT_EQ(CSimulatedDeviceManagement::Create("", 0x1101, IidOf<IDeviceManagement>(),
                                                 reinterpret_cast<void**>(&pHost.p)),
              S_OK);
    CBusAccess bus(false);
    ASSERT_EQ(bus.Connect(0x1101, pHost), 0);
    BYTE arrBlock[11] = {};
    ASSERT_EQ(bus.ReadMem(0xF0000, arrBlock, 11, pHost), 0);
    EXPECT_EQ(arrBlock[0], 10);
    EXPECT_EQ(arrBlock[6], 8);
    EXPECT_EQ(arrBlock[7], 5);
    EXPECT_EQ(arrBlock[8] & 0x81, 0x81);
    BYTE arrStamp[6] = {};
    ASSERT_EQ(bus.ReadPropertyData(5, 201, 0, 1, 1, arrStamp, 6, pHost), 0);
    EXPECT_EQ(arrStamp[0], 0xFF);
    EXPECT_EQ(bus.Disconnect(pHost), 0);
    EXPECT_FALSE(m_pDevice->IsConnected());
}

// ---------------------------------------------------------------------------
// The bus check of the settings

TEST_F(BusAccessTest, TestBusConnectionShowsAnErrorWhenNoInterfaceAnswers)
{
    const platform::CResourceModule* pPrevious =
        platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
    CScriptedMessageBoxSink boxes;
    g_bStandalone = true;
    EXPECT_TRUE(TestBusConnection(nullptr, m_params));
    EXPECT_TRUE(boxes.GetShown().empty());

    m_pDevice->GetFaults().SetDeviceOpenError(2);
    boxes.ExpectBox("Externe physikalische Schnittstelle konnte nicht installiert werden.", "EIB verbinden",
                    MB_ICONERROR | MB_OK, IDOK);
    EXPECT_FALSE(TestBusConnection(nullptr, m_params));
    EXPECT_EQ(boxes.GetShown().size(), 1u);
    g_bStandalone = false;
    platform::SetFrameworkResourceModule(pPrevious);
}

// ---------------------------------------------------------------------------
// A download's writes end up in the device's state file

TEST_F(BusAccessTest, ADownloadThroughTheBusAccessIsInTheStateFile)
{
    bustest::CTempDir dir;
    const std::string strPath = dir.File("device.json");
    m_params.SetConnectionParam(strPath);
    CSimulatedBus::SetClockSource(m_clock.Source());
    {
        auto pBus = Connected();
        // Start loading through the control register, checked at the state bytes.
        for (BYTE nMachine : {3, 1, 2}) {
            BYTE arrControl[10] = {static_cast<BYTE>(1 | nMachine << 4)};
            ASSERT_EQ(pBus->WriteDeviceMemory(0x0104, arrControl, 10, 0), 0);
            BYTE nState = 0;
            ASSERT_EQ(pBus->ReadDeviceMemory(0xB6EA + nMachine - 1u, &nState, 1), 0);
            ASSERT_EQ(nState, CLoadStateMachine::Loading);
        }
        const BYTE arrCount[1] = {2};
        ASSERT_EQ(pBus->WriteDeviceMemory(0x4000, arrCount, 1, 1), 0);
        const BYTE arrEntry[2] = {0x0A, 0x03};
        ASSERT_EQ(pBus->WriteDeviceMemory(0x4003, arrEntry, 2, 1), 0);
        std::vector<BYTE> arrParameters(111);
        for (std::size_t i = 0; i < arrParameters.size(); ++i)
            arrParameters[i] = static_cast<BYTE>(i);
        ASSERT_EQ(pBus->WriteDeviceMemory(0x8020, arrParameters.data(), 111, 1), 0);
        // Complete the loads through the load-state property.
        for (BYTE nMachine : {2, 1, 3}) {
            BYTE arrEvent[10] = {2};
            ASSERT_EQ(pBus->WritePropertyData(nMachine, 5, 0, 1, 1, arrEvent, 10, 0), 0);
            BYTE arrState[10] = {};
            ASSERT_EQ(pBus->ReadPropertyData(nMachine, 5, 0, 1, 1, arrState, 1, nullptr), 0);
            ASSERT_EQ(arrState[0], CLoadStateMachine::Loaded);
        }
        const BYTE arrTime[6] = {14, 30, 0, 30, 3, 8};
        ASSERT_EQ(pBus->WritePropertyData(5, 201, 1, 1, 6, arrTime, 6, 1), 0);
        std::vector<BYTE> arrStamp(40, 0);
        ASSERT_EQ(pBus->WritePropertyDataChunked(5, 202, 2, 1, 40, arrStamp.data(), nullptr, 1), 0);
        const BYTE arrClock[9] = {14, 30, 5, 7, 30, 3, 8, 0, 0};
        ASSERT_EQ(pBus->WriteMem(0xF0000, arrClock, 9, 0, nullptr), 0);
        ASSERT_EQ(pBus->Disconnect(nullptr), 0);
    }
    CSimulatedBus::SetClockSource({});

    CDeviceState state;
    ASSERT_TRUE(CDeviceStateFile::Load(strPath, state));
    for (const CLoadStateMachine& machine : state.m_arrLoadStates)
        EXPECT_EQ(machine.GetState(), CLoadStateMachine::Loaded);
    EXPECT_EQ(state.m_oMemory.GetByte(0x4000), 2);
    EXPECT_EQ(state.m_oMemory.GetByte(0x4003), 0x0A);
    EXPECT_EQ(state.m_oMemory.GetByte(0x4004), 0x03);
    EXPECT_EQ(state.m_oMemory.GetByte(0x8020), 0);
    EXPECT_EQ(state.m_oMemory.GetByte(0x8020 + 110), 110);
    EXPECT_EQ(state.m_arrDownloadTime, (std::vector<BYTE>{14, 30, 0, 30, 3, 8}));
    EXPECT_EQ(state.m_arrDownloadStamp, std::vector<BYTE>(40, 0));
    EXPECT_TRUE(state.m_oClock.IsSet());
    // 111 bytes of parameters alone are ten memory frames with their answers.
    EXPECT_GT(state.m_oLastSessionBusTime.GetFrameCount(), 40u);
    EXPECT_EQ(state.m_oTotalBusTime.GetBitTimes(), state.m_oLastSessionBusTime.GetBitTimes());
}
