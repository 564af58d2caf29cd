// The central object's check of the application program loaded in the
// simulated device: the manufacturer pair that counts as one, a foreign
// manufacturer, type and version differences and a failed property read.

#include "access/BusAccess.h"
#include "app/Chronoset.h"
#include "common/ProgressInfo.h"
#include "platform/bus/BusAccessClasses.h"
#include "platform/bus/FalconStandIn.h"
#include "platform/bus/SimulatedBus.h"
#include "tests/access/BusTestSupport.h"
#include "tests/platform/bus/DeviceTestSupport.h"

#include <gtest/gtest.h>

using bustest::CFakeDeviceManagement;
using bustest::CLogCapture;
using bustest::CManualClock;

namespace {

class ChronosetApplicationTest : public ::testing::Test {
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
        m_pBus = std::make_unique<CBusAccess>(true);
        ASSERT_EQ(m_pBus->Init(m_params), 1);
        ASSERT_EQ(m_pBus->Connect(0x1101, nullptr), 0);
        // The program the device runs unless a test says otherwise.
        m_set.m_nManufacturerId = 2;
        m_set.m_nDeviceType = 0x2101;
        m_set.m_nApplicationVersion = 0x21;
        m_progress.SetRange(0, 10);
    }
    void TearDown() override
    {
        m_pBus.reset();
        RevokeBusAccessClasses();
        CSimulatedBus::RemoveAll();
        CFalconStandIn::Reset();
    }

    // The check with a flag that starts cleared, so that setting it shows.
    int Check(bool& bWrong)
    {
        bWrong = false;
        return m_set.CheckApplicationProgram(&m_progress, m_pBus.get(), bWrong, nullptr);
    }

    CLogCapture m_log;
    CManualClock m_clock;
    std::shared_ptr<CSimulatedDevice> m_pDevice;
    CFalconConnectionParams m_params;
    std::unique_ptr<CBusAccess> m_pBus;
    CProgressInfo m_progress {1};
    CChronoset m_set;
};

}  // namespace

TEST_F(ChronosetApplicationTest, MatchingProgramIsAccepted)
{
    bool bWrong = true;
    EXPECT_EQ(Check(bWrong), 0);
    EXPECT_FALSE(bWrong);
    EXPECT_TRUE(m_log.Lines().Has(LOG_LEVEL_INFO, "app-program info: manuf-id = 2, device type: 8449, app-version: = 33"));
    EXPECT_TRUE(m_log.Lines().Has(LOG_LEVEL_INFO, "correct app-program version"));
    EXPECT_FALSE(m_log.Lines().Has(LOG_LEVEL_INFO, "Exception takes place"));
}

TEST_F(ChronosetApplicationTest, ManufacturersTwoAndSevenCountAsOneEitherWay)
{
    bool bWrong = true;
    // The project names 7, the device reports 2.
    m_set.m_nManufacturerId = 7;
    EXPECT_EQ(Check(bWrong), 0);
    EXPECT_FALSE(bWrong);
    EXPECT_TRUE(
        m_log.Lines().Has(LOG_LEVEL_INFO, "Exception takes place during manfacturer ID check. ETS-ID=7, Device-ID=2"));

    // The project names 2, the device reports 7.
    m_set.m_nManufacturerId = 2;
    m_pDevice->SetApplicationId(CApplicationId(7, 0x2101, 0x21));
    EXPECT_EQ(Check(bWrong), 0);
    EXPECT_FALSE(bWrong);
    EXPECT_TRUE(
        m_log.Lines().Has(LOG_LEVEL_INFO, "Exception takes place during manfacturer ID check. ETS-ID=2, Device-ID=7"));
    // Only the low 16 bits of the project's code are compared.
    m_set.m_nManufacturerId = 0x10002;
    EXPECT_EQ(Check(bWrong), 0);
    EXPECT_FALSE(bWrong);
}

TEST_F(ChronosetApplicationTest, ForeignManufacturerIsWrongButTheReadSucceeded)
{
    m_pDevice->GetFaults().SetForeignApplication(CApplicationId::Foreign());
    bool bWrong = false;
    // The mismatch status stays inside: the caller learns it from the flag.
    EXPECT_EQ(Check(bWrong), 0);
    EXPECT_TRUE(bWrong);
    EXPECT_TRUE(m_log.Lines().HasError("Manfacturer IDs different ETS-ID=2, Device-ID=3"));
    EXPECT_TRUE(m_log.Lines().Has(LOG_LEVEL_INFO, "wrong app-program version"));
}

TEST_F(ChronosetApplicationTest, DeviceTypeOrVersionDifferenceIsWrong)
{
    bool bWrong = false;
    m_set.m_nDeviceType = 0x2102;
    EXPECT_EQ(Check(bWrong), 0);
    EXPECT_TRUE(bWrong);
    m_set.m_nDeviceType = 0x2101;
    m_set.m_nApplicationVersion = 0x22;
    EXPECT_EQ(Check(bWrong), 0);
    EXPECT_TRUE(bWrong);
    // A data file without application fields keeps -1 and 0: never a match.
    CChronoset fresh;
    bWrong = false;
    EXPECT_EQ(fresh.CheckApplicationProgram(nullptr, m_pBus.get(), bWrong, nullptr), 0);
    EXPECT_TRUE(bWrong);
}

TEST_F(ChronosetApplicationTest, FailedReadLeavesTheFlagSetAndReturnsTheFailure)
{
    // The next access call fails.
    m_pDevice->GetFaults().SetFailCall(1);
    bool bWrong = false;
    const int nStatus = Check(bWrong);
    EXPECT_NE(nStatus, 0);
    EXPECT_TRUE(bWrong);
    EXPECT_TRUE(m_log.Lines().Has(LOG_LEVEL_WARNING, "Couldnt read application infomation."));
    EXPECT_FALSE(m_log.Lines().Has(LOG_LEVEL_INFO, "app-program info"));
    // The progress moved on by the one read all the same.
    EXPECT_EQ(m_progress.GetPosition(), 1u);
}

TEST_F(ChronosetApplicationTest, PlugInReadGoesThroughTheDeviceManagement)
{
    CComObject<CFakeDeviceManagement>* pHost = nullptr;
    ASSERT_EQ(CComObject<CFakeDeviceManagement>::CreateInstance(&pHost), S_OK);
    CComPtr<CComObject<CFakeDeviceManagement>> pKeep(pHost);
    CBusAccess bus(false);
    pHost->m_arrReply = {0x00, 0x07, 0x21, 0x01, 0x21};
    bool bWrong = true;
    EXPECT_EQ(m_set.CheckApplicationProgram(nullptr, &bus, bWrong, pHost), 0);
    EXPECT_FALSE(bWrong);
    // Object 3, property 13, type 14, start 1, one element, 5 bytes.
    EXPECT_EQ(pHost->m_arrArgs, (std::vector<LONG> {3, 13, 14, 1, 1, 5}));

    pHost->m_hr = E_FAIL;
    bWrong = false;
    EXPECT_EQ(m_set.CheckApplicationProgram(nullptr, &bus, bWrong, pHost), -1);
    EXPECT_TRUE(bWrong);
}
