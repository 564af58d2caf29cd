#include "platform/bus/SimulatedDeviceManagement.h"

#include "platform/bus/FalconInterfaces.h"
#include "platform/bus/FalconValues.h"
#include "platform/bus/SimulatedBus.h"
#include "platform/com/ComPtr.h"

#include "DeviceTestSupport.h"

#include <gtest/gtest.h>

using bustest::CManualClock;
using bustest::CTempDir;

namespace {

class SimulatedDeviceManagementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CSimulatedBus::RemoveAll();
        m_pDevice = std::make_shared<CSimulatedDevice>(m_clock.Source());
        CSimulatedBus::InstallDevice("sim", m_pDevice);
    }
    void TearDown() override { CSimulatedBus::RemoveAll(); }

    CComPtr<IDeviceManagement> Make(WORD nAddress = 0x1101, const std::string& strParam = "sim")
    {
        CComPtr<IDeviceManagement> pManagement;
        EXPECT_EQ(CSimulatedDeviceManagement::Create(strParam, nAddress, IidOf<IDeviceManagement>(),
                                                     reinterpret_cast<void**>(&pManagement.p)),
                  S_OK);
        return pManagement;
    }

    CManualClock m_clock;
    std::shared_ptr<CSimulatedDevice> m_pDevice;
};

}  // namespace

TEST_F(SimulatedDeviceManagementTest, ConnectsToTheDeviceAtItsAddress)
{
    auto pManagement = Make();
    BYTE arrBuffer[11] = {};
    EXPECT_EQ(pManagement->ReadMem(3, 0xF0000, 11, arrBuffer), Falcon::E_FALCON_NOT_CONNECTED);
    ASSERT_EQ(pManagement->Connect(), S_OK);
    EXPECT_TRUE(m_pDevice->IsConnected());
    EXPECT_EQ(pManagement->Connect(), platform::FalconResultOf(EDeviceResult::AlreadyConnected));
    EXPECT_EQ(pManagement->Disconnect(), S_OK);
    EXPECT_FALSE(m_pDevice->IsConnected());
    EXPECT_EQ(pManagement->Disconnect(), S_FALSE);

    auto pOther = Make(0x1205);
    EXPECT_EQ(pOther->Connect(), platform::FalconResultOf(EDeviceResult::NoDevice));

    // Letting go of a connected object closes its connection.
    ASSERT_EQ(pManagement->Connect(), S_OK);
    pManagement.Release();
    EXPECT_FALSE(m_pDevice->IsConnected());
}

TEST_F(SimulatedDeviceManagementTest, UserMemoryAndPropertiesReachTheSameDevice)
{
    auto pManagement = Make();
    ASSERT_EQ(pManagement->Connect(), S_OK);

    const BYTE arrClock[9] = {12, 30, 0, 2, 1, 4, 8, 10, 0x80};
    ASSERT_EQ(pManagement->WriteMem(3, 0xF0000, 9, arrClock, 0, FALSE), S_OK);
    BYTE arrBlock[11] = {};
    ASSERT_EQ(pManagement->ReadMem(3, 0xF0000, 11, arrBlock), S_OK);
    EXPECT_EQ(arrBlock[0], 12);
    EXPECT_EQ(arrBlock[7], 10);
    EXPECT_EQ(arrBlock[8] & 0x81, 0x81);
    EXPECT_EQ(m_pDevice->GetStatusBlock()[1], 30);

    // A read-back check compares everything: the device sets its own flag bits.
    EXPECT_EQ(pManagement->WriteMem(3, 0xF0000, 9, arrClock, 0, TRUE), E_FAIL);
    EXPECT_EQ(pManagement->WriteMem(1, 0x8000, 1, arrClock, 0, FALSE), E_INVALIDARG);
    EXPECT_EQ(pManagement->ReadMem(3, 0xF0000, 11, nullptr), E_POINTER);

    // A never-downloaded stamp leaves the pre-filled buffer as the device has it.
    BYTE arrStamp[8];
    std::fill(std::begin(arrStamp), std::end(arrStamp), BYTE{0x55});
    ASSERT_EQ(pManagement->ReadProp(5, 201, 0, 1, 1, 6, arrStamp), S_OK);
    EXPECT_EQ(arrStamp[0], 0xFF);
    EXPECT_EQ(arrStamp[5], 0xFF);
    EXPECT_EQ(arrStamp[6], 0x55) << "beyond the buffer length given";

    BYTE arrId[5] = {};
    ASSERT_EQ(pManagement->ReadProp(3, 13, 0, 1, 1, 5, arrId), S_OK);
    auto arrExpected = m_pDevice->GetApplicationId().ToBytes();
    EXPECT_TRUE(std::equal(arrExpected.begin(), arrExpected.end(), arrId));
    EXPECT_EQ(pManagement->ReadProp(9, 9, 0, 1, 1, 5, arrId), platform::FalconResultOf(EDeviceResult::NoSuchProperty));
}

TEST_F(SimulatedDeviceManagementTest, DeviceFaultsReachTheHostRoad)
{
    m_pDevice->GetFaults().SetConnectionRefused(true);
    auto pManagement = Make();
    EXPECT_EQ(pManagement->Connect(), platform::FalconResultOf(EDeviceResult::ConnectionRefused));
    m_pDevice->GetFaults().SetConnectionRefused(false);
    ASSERT_EQ(pManagement->Connect(), S_OK);
    m_pDevice->GetFaults().SetFailCall(1);  // the next call
    BYTE arrBlock[11] = {};
    EXPECT_EQ(pManagement->ReadMem(3, 0xF0000, 11, arrBlock),
              platform::FalconResultOf(EDeviceResult::InjectedFailure));
}
