#include "platform/bus/BusAccessClasses.h"
#include "platform/bus/FalconInterfaces.h"
#include "platform/bus/FalconStandIn.h"
#include "platform/bus/FalconValues.h"
#include "platform/bus/SimulatedBus.h"
#include "platform/com/ComBSTR.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComVariant.h"
#include "platform/com/SafeArray.h"

#include "DeviceTestSupport.h"

#include <gtest/gtest.h>

using bustest::CManualClock;
using bustest::CTempDir;

namespace {

const std::string kInterfaceText = platform::FormatGuid(Falcon::kSimulatedInterface);

CComVariant TextVariant(const std::string& strText)
{
    return CComVariant(strText);
}

CComVariant ByteArray(const std::vector<BYTE>& arrBytes)
{
    SAFEARRAY* psa = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(arrBytes.size()));
    void* pv = nullptr;
    SafeArrayAccessData(psa, &pv);
    std::copy(arrBytes.begin(), arrBytes.end(), static_cast<BYTE*>(pv));
    SafeArrayUnaccessData(psa);
    CComVariant v;
    v.vt = VT_ARRAY | VT_UI1;
    v.parray = psa;
    return v;
}

// The bytes of a byte-array or long-array reply, the low byte of each element.
std::vector<BYTE> ReplyBytes(const VARIANT& v)
{
    std::vector<BYTE> arrBytes;
    if (!(v.vt & VT_ARRAY) || !v.parray)
        return arrBytes;
    const ULONG nSize = SafeArrayGetElemsize(v.parray);
    void* pv = nullptr;
    SafeArrayAccessData(v.parray, &pv);
    for (ULONG i = 0; i < v.parray->rgsabound[0].cElements; ++i)
        arrBytes.push_back(static_cast<const BYTE*>(pv)[i * nSize]);
    SafeArrayUnaccessData(v.parray);
    return arrBytes;
}

class FalconStandInTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CFalconStandIn::Reset();
        CSimulatedBus::RemoveAll();
        ASSERT_TRUE(SUCCEEDED(RegisterBusAccessClasses()));
        m_pDevice = std::make_shared<CSimulatedDevice>(m_clock.Source());
        CSimulatedBus::InstallDevice("", m_pDevice);
    }
    void TearDown() override
    {
        RevokeBusAccessClasses();
        CSimulatedBus::RemoveAll();
        CFalconStandIn::Reset();
    }

    // A device connection (mode 4) to the address through the parameter.
    CComPtr<Falcon::IConnection> Open(WORD nAddress = 0x1101, const std::string& strParam = "",
                                      HRESULT* pHr = nullptr, LONG* pOpenError = nullptr)
    {
        CComPtr<Falcon::IConnection> pConnection;
        EXPECT_EQ(pConnection.CoCreateInstance(Falcon::kProgIdConnection), S_OK);
        EXPECT_EQ(pConnection->put_Mode(Falcon::kModeDeviceConnection), S_OK);
        EXPECT_EQ(pConnection->put_TargetAddress(CComVariant(static_cast<int>(nAddress))), S_OK);
        LONG nOpenError = -1;
        HRESULT hr = pConnection->Open2(CComBSTR(kInterfaceText), TextVariant(strParam), &nOpenError);
        if (pHr)
            *pHr = hr;
        else
            EXPECT_EQ(hr, S_OK);
        if (pOpenError)
            *pOpenError = nOpenError;
        return pConnection;
    }

    template <class T>
    CComPtr<T> Bound(const char* pszProgId, Falcon::IConnection* pConnection)
    {
        CComPtr<T> pAccess;
        EXPECT_EQ(pAccess.CoCreateInstance(pszProgId), S_OK);
        EXPECT_EQ(pAccess->putref_Connection(pConnection), S_OK);
        return pAccess;
    }

    void StartLoading(int nMachine)
    {
        ASSERT_EQ(bustest::LoadStateControlByMemory(*m_pDevice, static_cast<BYTE>(nMachine), 1), 0);
    }

    // The last call of the log, as "<call> <vt> <hr>".
    static std::string LastCall()
    {
        const std::vector<CFalconCallRecord> arrCalls = CFalconStandIn::GetCalls();
        if (arrCalls.empty())
            return "none";
        const CFalconCallRecord& last = arrCalls.back();
        return last.m_strCall + " " + std::to_string(last.m_vtValue) + " " +
               std::to_string(static_cast<unsigned>(last.m_hr));
    }
    static std::string Call(const std::string& strCall, VARTYPE vt, HRESULT hr)
    {
        return strCall + " " + std::to_string(vt) + " " + std::to_string(static_cast<unsigned>(hr));
    }

    // A memory-region access object: every way through its calls, each in
    // the log under the object's name.
    template <class T>
    void ExpectRegionCalls(const char* pszProgId, const std::string& strName, DWORD nAddress)
    {
        SCOPED_TRACE(strName);
        CComPtr<T> pAccess;
        ASSERT_EQ(pAccess.CoCreateInstance(pszProgId), S_OK);
        CComVariant vRead;
        EXPECT_EQ(pAccess->Read(1, nAddress, &vRead), Falcon::E_FALCON_NOT_CONNECTED);
        EXPECT_EQ(LastCall(), Call(strName + ".Read", VT_EMPTY, Falcon::E_FALCON_NOT_CONNECTED));
        EXPECT_EQ(pAccess->Write(nAddress, CComVariant(BYTE{1}), 0), Falcon::E_FALCON_NOT_CONNECTED);
        EXPECT_EQ(LastCall(), Call(strName + ".Write", VT_UI1, Falcon::E_FALCON_NOT_CONNECTED));

        auto pConnection = Open();
        EXPECT_EQ(pAccess->putref_Connection(pConnection), S_OK);
        EXPECT_EQ(LastCall(), Call(strName + ".putref_Connection", VT_UNKNOWN, S_OK));
        EXPECT_EQ(pAccess->Read(1, nAddress, nullptr), E_POINTER);
        EXPECT_EQ(LastCall(), Call(strName + ".Read", VT_EMPTY, E_POINTER));
        EXPECT_EQ(pAccess->Write(nAddress, CComVariant("text"), 0), DISP_E_TYPEMISMATCH);
        EXPECT_EQ(LastCall(), Call(strName + ".Write", VT_BSTR, DISP_E_TYPEMISMATCH));
        EXPECT_EQ(pAccess->Read(2, nAddress, &vRead), S_OK);
        EXPECT_EQ(LastCall(), Call(strName + ".Read", VT_ARRAY | VT_UI1, S_OK));
        EXPECT_EQ(ReplyBytes(vRead).size(), 2u);
    }

    CManualClock m_clock;
    std::shared_ptr<CSimulatedDevice> m_pDevice;
};

}  // namespace

TEST_F(FalconStandInTest, ClassesAreFoundByProgIdAndRegisteredOnce)
{
    EXPECT_EQ(RegisterBusAccessClasses(), S_FALSE);
    for (const char* pszProgId : {Falcon::kProgIdConnection, Falcon::kProgIdPropertyAccess,
                                  Falcon::kProgIdMemoryAccess, Falcon::kProgIdUserMemoryAccess}) {
        CLSID clsid;
        EXPECT_EQ(CLSIDFromProgID(pszProgId, &clsid), S_OK) << pszProgId;
        CComPtr<IUnknown> pObject;
        EXPECT_EQ(pObject.CoCreateInstance(clsid), S_OK) << pszProgId;
    }
    RevokeBusAccessClasses();
    CLSID clsid;
    EXPECT_TRUE(FAILED(CLSIDFromProgID(Falcon::kProgIdConnection, &clsid)));
}

TEST_F(FalconStandInTest, CreationFailureIsInjectedPerClass)
{
    CFalconStandIn::SetCreateFailure(EFalconClass::UserMemoryAccess, E_OUTOFMEMORY);
    CComPtr<Falcon::IUserMemoryAccess> pUserMemory;
    EXPECT_EQ(pUserMemory.CoCreateInstance(Falcon::kProgIdUserMemoryAccess), E_OUTOFMEMORY);
    EXPECT_EQ(pUserMemory.p, nullptr);
    CComPtr<Falcon::IMemoryAccess> pMemory;
    EXPECT_EQ(pMemory.CoCreateInstance(Falcon::kProgIdMemoryAccess), S_OK);
}

TEST_F(FalconStandInTest, DeviceConnectionReachesTheTargetAndClosesWithTheObject)
{
    {
        auto pConnection = Open(0x1101);
        EXPECT_TRUE(m_pDevice->IsConnected());
        // A second connection to the same device is refused while the first lasts.
        HRESULT hr = S_OK;
        auto pSecond = Open(0x1101, "", &hr);
        EXPECT_EQ(hr, platform::FalconResultOf(EDeviceResult::AlreadyConnected));
    }
    EXPECT_FALSE(m_pDevice->IsConnected());

    HRESULT hr = S_OK;
    auto pNobody = Open(0x1102, "", &hr);
    EXPECT_EQ(hr, platform::FalconResultOf(EDeviceResult::NoDevice));
    EXPECT_FALSE(m_pDevice->IsConnected());
}

TEST_F(FalconStandInTest, OpenNeedsModeTargetAndAnInterface)
{
    CComPtr<Falcon::IConnection> pConnection;
    ASSERT_EQ(pConnection.CoCreateInstance(Falcon::kProgIdConnection), S_OK);
    LONG nOpenError = 0;
    EXPECT_EQ(pConnection->Open2(CComBSTR(kInterfaceText), CComVariant(), &nOpenError), E_UNEXPECTED);
    EXPECT_EQ(pConnection->put_Mode(7), E_INVALIDARG);
    ASSERT_EQ(pConnection->put_Mode(Falcon::kModeDeviceConnection), S_OK);
    EXPECT_EQ(pConnection->Open2(CComBSTR(kInterfaceText), CComVariant(), &nOpenError), E_UNEXPECTED);
    EXPECT_EQ(pConnection->put_TargetAddress(CComVariant(0x10000)), E_INVALIDARG);
    EXPECT_EQ(pConnection->put_TargetAddress(CComVariant("x")), DISP_E_TYPEMISMATCH);
    ASSERT_EQ(pConnection->put_TargetAddress(CComVariant(0x1101)), S_OK);
    EXPECT_EQ(pConnection->Open2(CComBSTR(platform::FormatGuid(GUID_NULL)), CComVariant(), &nOpenError),
              E_INVALIDARG);
    EXPECT_EQ(pConnection->Open2(CComBSTR("COM1"), CComVariant(), &nOpenError), E_INVALIDARG);
    EXPECT_EQ(pConnection->Open2(CComBSTR(kInterfaceText), CComVariant(), nullptr), E_POINTER);
    EXPECT_FALSE(m_pDevice->IsConnected());
    // A null text is the empty parameter.
    CComVariant vNull;
    vNull.vt = VT_BSTR;
    vNull.bstrVal = nullptr;
    EXPECT_EQ(pConnection->Open2(CComBSTR(kInterfaceText), vNull, &nOpenError), S_OK);
    EXPECT_TRUE(m_pDevice->IsConnected());
}

TEST_F(FalconStandInTest, InterfaceFaultsShowInOpen2)
{
    m_pDevice->GetFaults().SetDeviceOpenError(3);
    HRESULT hr = E_FAIL;
    LONG nOpenError = 0;
    auto pConnection = Open(0x1101, "", &hr, &nOpenError);
    // The open itself succeeds and reports the extended error; nothing is connected.
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(nOpenError, 3);
    EXPECT_FALSE(m_pDevice->IsConnected());

    m_pDevice->GetFaults().SetDeviceOpenError(0);
    m_pDevice->GetFaults().SetConnectionRefused(true);
    auto pRefused = Open(0x1101, "", &hr, &nOpenError);
    EXPECT_EQ(hr, platform::FalconResultOf(EDeviceResult::ConnectionRefused));

    // The interface check takes no target and makes no connection.
    m_pDevice->GetFaults().SetConnectionRefused(false);
    m_pDevice->GetFaults().SetDeviceOpenError(12);
    CComPtr<Falcon::IConnection> pCheck;
    ASSERT_EQ(pCheck.CoCreateInstance(Falcon::kProgIdConnection), S_OK);
    ASSERT_EQ(pCheck->put_Mode(Falcon::kModeInterfaceCheck), S_OK);
    EXPECT_EQ(pCheck->Open2(CComBSTR(kInterfaceText), CComVariant(), &nOpenError), S_OK);
    EXPECT_EQ(nOpenError, 12);
    EXPECT_FALSE(m_pDevice->IsConnected());
}

TEST_F(FalconStandInTest, InjectedCallFailures)
{
    CComPtr<Falcon::IConnection> pConnection;
    ASSERT_EQ(pConnection.CoCreateInstance(Falcon::kProgIdConnection), S_OK);
    CFalconStandIn::SetCallFailure(EFalconCall::SetMode, E_ACCESSDENIED);
    EXPECT_EQ(pConnection->put_Mode(Falcon::kModeDeviceConnection), E_ACCESSDENIED);
    CFalconStandIn::SetCallFailure(EFalconCall::SetMode, S_OK);
    CFalconStandIn::SetCallFailure(EFalconCall::SetTargetAddress, E_FAIL);
    EXPECT_EQ(pConnection->put_TargetAddress(CComVariant(0x1101)), E_FAIL);
    CFalconStandIn::SetCallFailure(EFalconCall::Open, E_ABORT);
    LONG nOpenError = 0;
    EXPECT_EQ(pConnection->Open2(CComBSTR(kInterfaceText), CComVariant(), &nOpenError), E_ABORT);
    CFalconStandIn::Reset();

    auto pOpen = Open();
    CFalconStandIn::SetCallFailure(EFalconCall::BindConnection, E_UNEXPECTED);
    CComPtr<Falcon::IPropertyAccess> pProperty;
    ASSERT_EQ(pProperty.CoCreateInstance(Falcon::kProgIdPropertyAccess), S_OK);
    EXPECT_EQ(pProperty->putref_Connection(pOpen), E_UNEXPECTED);
    CComVariant vData;
    EXPECT_EQ(pProperty->Read(3, 13, 0, 1, 1, &vData), Falcon::E_FALCON_NOT_CONNECTED);

    // Every call is in the log with its result.
    std::vector<CFalconCallRecord> arrCalls = CFalconStandIn::GetCalls();
    ASSERT_FALSE(arrCalls.empty());
    EXPECT_EQ(arrCalls.back().m_strCall, "PropertyAccess.Read");
    EXPECT_EQ(arrCalls.back().m_hr, Falcon::E_FALCON_NOT_CONNECTED);
}

TEST_F(FalconStandInTest, PropertiesThroughTheAccessObject)
{
    auto pConnection = Open();
    auto pProperty = Bound<Falcon::IPropertyAccess>(Falcon::kProgIdPropertyAccess, pConnection);

    CComVariant vId;
    ASSERT_EQ(pProperty->Read(3, 13, 0, 1, 1, &vId), S_OK);
    EXPECT_EQ(vId.vt, VT_ARRAY | VT_UI1);
    auto arrId = m_pDevice->GetApplicationId().ToBytes();
    EXPECT_EQ(ReplyBytes(vId), std::vector<BYTE>(arrId.begin(), arrId.end()));

    // A load event as a 10-byte array moves the machine; a plain byte is one too.
    std::vector<BYTE> arrEvent(10, 0);
    arrEvent[0] = 1;
    ASSERT_EQ(pProperty->Write(2, 5, 0, 1, 1, ByteArray(arrEvent), 0), S_OK);
    EXPECT_EQ(m_pDevice->GetLoadState(2), CLoadStateMachine::Loading);
    ASSERT_EQ(pProperty->Write(2, 5, 1, 1, 1, CComVariant(BYTE{2}), 0), S_OK);
    EXPECT_EQ(m_pDevice->GetLoadState(2), CLoadStateMachine::Loaded);
    std::vector<CFalconCallRecord> arrCalls = CFalconStandIn::GetCalls();
    EXPECT_EQ(arrCalls.back().m_strCall, "PropertyAccess.Write");
    EXPECT_EQ(arrCalls.back().m_vtValue, VT_UI1);

    // Refusals come back as the device's reason; other kinds of value are refused.
    EXPECT_EQ(pProperty->Write(3, 13, 0, 1, 1, ByteArray({1, 2, 3, 4, 5}), 0),
              platform::FalconResultOf(EDeviceResult::ReadOnly));
    EXPECT_EQ(pProperty->Write(5, 201, 1, 1, 6, CComVariant("text"), 1), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(pProperty->Write(5, 202, 2, 1, 11, ByteArray(std::vector<BYTE>(11, 0x41)), 1),
              platform::FalconResultOf(EDeviceResult::FrameTooLong));
    EXPECT_EQ(pProperty->Read(3, 13, 0, 1, 1, nullptr), E_POINTER);
}

TEST_F(FalconStandInTest, MemoryIsSplitIntoFramesOfTwelveBytes)
{
    auto pConnection = Open();
    auto pMemory = Bound<Falcon::IMemoryAccess>(Falcon::kProgIdMemoryAccess, pConnection);
    StartLoading(3);
    m_pDevice->ClearTrace();

    std::vector<BYTE> arrData(30);
    for (std::size_t i = 0; i < arrData.size(); ++i)
        arrData[i] = static_cast<BYTE>(i + 1);
    ASSERT_EQ(pMemory->Write(0x8010, ByteArray(arrData), 1), S_OK);
    std::vector<DWORD> arrFrames;
    for (const CDeviceTraceEntry& e : m_pDevice->GetTrace()) {
        if (e.m_eOperation == EDeviceOperation::MemoryWrite) {
            arrFrames.push_back(e.m_nAddress);
            EXPECT_LE(e.m_arrData.size(), 12u);
            EXPECT_EQ(e.m_nFlag, 1);
        }
    }
    EXPECT_EQ(arrFrames, (std::vector<DWORD>{0x8010, 0x801C, 0x8028}));

    CComVariant vRead;
    ASSERT_EQ(pMemory->Read(30, 0x8010, &vRead), S_OK);
    EXPECT_EQ(ReplyBytes(vRead), arrData);

    // The load-state bytes are protected.
    EXPECT_EQ(pMemory->Write(0xB6EA, ByteArray({1}), 0), platform::FalconResultOf(EDeviceResult::ReadOnly));
    // Without an open connection nothing reaches the device.
    pConnection.Release();
    EXPECT_EQ(pMemory->Read(1, 0x8010, &vRead), S_OK) << "the access object keeps its connection";
    EXPECT_EQ(pMemory->putref_Connection(nullptr), S_OK);
    EXPECT_EQ(pMemory->Read(1, 0x8010, &vRead), Falcon::E_FALCON_NOT_CONNECTED);
    EXPECT_FALSE(m_pDevice->IsConnected());
}

TEST_F(FalconStandInTest, UserMemoryHoldsTheStatusBlock)
{
    auto pConnection = Open();
    auto pUser = Bound<Falcon::IUserMemoryAccess>(Falcon::kProgIdUserMemoryAccess, pConnection);

    // Sunday 2008-03-30 23:59:58, trim -12.
    ASSERT_EQ(pUser->Write(0xF0000, ByteArray({23, 59, 58, 7, 30, 3, 8, 12, 0x80}), 0), S_OK);
    m_clock.Advance(3500);
    CComVariant vBlock;
    ASSERT_EQ(pUser->Read(11, 0xF0000, &vBlock), S_OK);
    std::vector<BYTE> arrBlock = ReplyBytes(vBlock);
    ASSERT_EQ(arrBlock.size(), 11u);
    // The clock ran on into Monday.
    EXPECT_EQ(std::vector<BYTE>(arrBlock.begin(), arrBlock.begin() + 7),
              (std::vector<BYTE>{0, 0, 1, 1, 31, 3, 8}));
    EXPECT_EQ(arrBlock[7], 12);
    EXPECT_EQ(arrBlock[8] & 0x81, 0x81);
    EXPECT_EQ(pUser->Write(0xF0009, ByteArray({1}), 0), platform::FalconResultOf(EDeviceResult::ReadOnly));
}

TEST_F(FalconStandInTest, ReplyFormAndLimitShapeEveryRead)
{
    auto pConnection = Open();
    auto pUser = Bound<Falcon::IUserMemoryAccess>(Falcon::kProgIdUserMemoryAccess, pConnection);
    ASSERT_EQ(pUser->Write(0xF0000, ByteArray({10, 20, 30, 2, 4, 3, 8}), 0), S_OK);

    CFalconStandIn::SetReplyLimit(5);
    CComVariant vRead;
    ASSERT_EQ(pUser->Read(11, 0xF0000, &vRead), S_OK);
    EXPECT_EQ(ReplyBytes(vRead), (std::vector<BYTE>{10, 20, 30, 2, 4}));

    CFalconStandIn::SetReplyForm(EFalconReplyForm::LongArray);
    ASSERT_EQ(pUser->Read(3, 0xF0000, &vRead), S_OK);
    EXPECT_EQ(vRead.vt, VT_ARRAY | VT_I4);
    EXPECT_EQ(ReplyBytes(vRead), (std::vector<BYTE>{10, 20, 30}));

    CFalconStandIn::SetReplyForm(EFalconReplyForm::Long);
    ASSERT_EQ(pUser->Read(3, 0xF0000, &vRead), S_OK);
    EXPECT_EQ(vRead.vt, VT_I4);
    EXPECT_EQ(vRead.lVal, 10 | 20 << 8 | 30 << 16);
}

TEST_F(FalconStandInTest, BothMemoryRegionsRecordTheirCallsUnderTheirNames)
{
    ExpectRegionCalls<Falcon::IMemoryAccess>(Falcon::kProgIdMemoryAccess, "MemoryAccess", 0x8010);
    ExpectRegionCalls<Falcon::IUserMemoryAccess>(Falcon::kProgIdUserMemoryAccess, "UserMemoryAccess", 0xF0000);
}

TEST_F(FalconStandInTest, FailingNthCallOfTheDeviceFailsThatAccess)
{
    auto pConnection = Open();
    auto pMemory = Bound<Falcon::IMemoryAccess>(Falcon::kProgIdMemoryAccess, pConnection);
    m_pDevice->GetFaults().SetFailCall(2);
    CComVariant vRead;
    EXPECT_EQ(pMemory->Read(1, 0x8000, &vRead), S_OK);
    EXPECT_EQ(pMemory->Read(1, 0x8000, &vRead), platform::FalconResultOf(EDeviceResult::InjectedFailure));
    EXPECT_EQ(pMemory->Read(1, 0x8000, &vRead), S_OK);
}

TEST_F(FalconStandInTest, AFileDeviceIsSavedWhenItsConnectionCloses)
{
    CTempDir dir;
    const std::string strPath = dir.File("line.json");
    CSimulatedBus::SetClockSource(m_clock.Source());
    {
        auto pConnection = Open(0x1101, strPath);
        auto pMemory = Bound<Falcon::IMemoryAccess>(Falcon::kProgIdMemoryAccess, pConnection);
        auto pProperty = Bound<Falcon::IPropertyAccess>(Falcon::kProgIdPropertyAccess, pConnection);
        std::vector<BYTE> arrEvent(10, 0);
        arrEvent[0] = 1;
        ASSERT_EQ(pProperty->Write(3, 5, 0, 1, 1, ByteArray(arrEvent), 0), S_OK);
        ASSERT_EQ(pMemory->Write(0x8000, ByteArray({0x42}), 1), S_OK);
    }
    CSimulatedBus::SetClockSource({});

    CSimulatedDevice reread(m_clock.Source());
    ASSERT_EQ(reread.Open(strPath), EDeviceResult::Ok);
    EXPECT_EQ(reread.PeekMemory(0x8000, 1)[0], 0x42);
    EXPECT_EQ(reread.GetLoadState(3), CLoadStateMachine::Loading);
    EXPECT_GT(reread.GetLastSessionBusTime().GetFrameCount(), 0u);

    // A parameter that names no readable state file is refused.
    HRESULT hr = S_OK;
    auto pBroken = Open(0x1101, dir.File("missing/dir/line.json"), &hr);
    EXPECT_EQ(hr, platform::FalconResultOf(EDeviceResult::StateFileError));
}
