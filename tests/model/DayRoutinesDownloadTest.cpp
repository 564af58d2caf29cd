#include "tests/model/SwitchProgramTestSupport.h"

#include "access/BusAccess.h"
#include "access/DownloadProcedure.h"
#include "common/ProgressInfo.h"
#include "platform/bus/BusAccessClasses.h"
#include "platform/bus/FalconStandIn.h"
#include "platform/bus/SimulatedBus.h"
#include "tests/platform/bus/DeviceTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using switchtest::Bytes;
using switchtest::SwitchProgramTest;

namespace {

class DayRoutinesDownloadTest : public SwitchProgramTest {
protected:
    Bytes TriggerTable() { return Bytes(Routines().GetTriggerTable(), Routines().GetTriggerTable() + 15); }
    Bytes SwitchTimeTable()
    {
        return Bytes(Routines().GetSwitchTimeTable(), Routines().GetSwitchTimeTable() + 4000);
    }
};

}  // namespace

TEST_F(DayRoutinesDownloadTest, TriggerTableHoldsTheObjectOfEachValidTrigger)
{
    CGroupDataAddress* pFirst = AddAddress(1, 0x1001, 1, 2, 0x07);
    CGroupDataAddress* pInvalid = AddAddress(2, 0x1002, 1, 2, 0x08, true);
    CGroupDataAddress* pLast = AddAddress(3, 0x1003, 1, 2, 0x121);
    CDayRoutine* p1 = Routines().CreateDayRoutine();
    CDayRoutine* p2 = Routines().CreateDayRoutine();
    CDayRoutine* p3 = Routines().CreateDayRoutine();
    CDayRoutine* p15 = Routines().CreateDayRoutine();
    p15->SetNumber(15);
    p1->SetTriggerGroupAddress(pFirst);
    p2->SetName("ohne");
    p3->SetTriggerGroupAddress(pInvalid);
    p15->SetName("Spät");
    p15->SetTriggerGroupAddress(pLast);

    CProgressInfo progress(0);
    progress.SetRange(0, 100);
    ASSERT_TRUE(Routines().InitDownload(&progress));
    EXPECT_EQ(TriggerTable(), (Bytes {0x07, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                      0xFF, 0x21}));
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_DETAIL, "Dayroutine Spät number 15, assigned CO = 33"));
    // One step for the triggers, three for the switching times.
    EXPECT_EQ(progress.GetPosition(), 4u);
    // Without switching times the table is all 0xFF.
    EXPECT_EQ(SwitchTimeTable(), Bytes(4000, 0xFF));

    Routines().FreeDownloadBuffers();
    EXPECT_EQ(Routines().GetTriggerTable(), nullptr);
    EXPECT_EQ(Routines().GetSwitchTimeTable(), nullptr);
}

TEST_F(DayRoutinesDownloadTest, SwitchTimeTableIsSortedByAddressKindRoutineAndTime)
{
    CGroupDataAddress* pSwitch = AddAddress(1, 0x1001, 1, 2, 0x03);
    CGroupDataAddress* pFloat = AddAddress(2, 0x1002, 9, 0, 0x04);
    CGroupDataAddress* pInvalid = AddAddress(3, 0x1003, 5, 10, 0x05, true);
    CGroupDataAddress* pNine = AddAddress(4, 0x1004, 5, 10, 0x09);
    CGroupDataAddress* pEight = AddAddress(5, 0x1005, 5, 10, 0x08);
    // Routine 2 is listed first.
    CDayRoutine* p2 = Routines().CreateDayRoutine();
    CDayRoutine* p1 = Routines().CreateDayRoutine();
    p2->SetNumber(2);
    p1->SetNumber(1);
    AddTime(p2, 8, 0, pSwitch, 1);
    AddTime(p2, 4, 0, pInvalid, 0x33);
    AddTime(p2, 5, 0, nullptr);
    AddTime(p1, 6, 15, pFloat, 0x0C1A, 1);
    // Equal keys keep their list order.
    AddTime(p1, 9, 0, pNine, 0x99);
    AddTime(p1, 9, 0, pEight, 0x88);
    AddTime(p1, 6, 14, pSwitch, 0);

    ASSERT_TRUE(Routines().InitDownload(nullptr));
    Bytes arrExpected = {
        0x1C, 0x13, 0x03, 0x00, 0x00,  // routine 1, 06:14
        0x1F, 0x13, 0x04, 0x1A, 0x0C,  // routine 1, 06:15 with flag, the float low byte first
        0x80, 0x14, 0x09, 0x99, 0x00,  // routine 1, 09:00, first in the list
        0x80, 0x14, 0x08, 0x88, 0x00,  // routine 1, 09:00, second in the list
        0x00, 0x24, 0x03, 0x01, 0x00,  // routine 2, 08:00
    };
    // The invalid address and the one without address send nothing.
    arrExpected.resize(4000, 0xFF);
    EXPECT_EQ(SwitchTimeTable(), arrExpected);

    EXPECT_LT(CDayRoutines::CompareSwitchTimes(p2->GetSwitchTimes().back(), nullptr), 0);
    EXPECT_GT(CDayRoutines::CompareSwitchTimes(nullptr, p2->GetSwitchTimes().back()), 0);
    EXPECT_EQ(CDayRoutines::CompareSwitchTimes(nullptr, nullptr), 0);
}

TEST_F(DayRoutinesDownloadTest, ProcedureBlocks)
{
    CDownloadProcedure procedure;
    EXPECT_EQ(Routines().AddToDownloadProcedure(nullptr, &procedure), 5);
    EXPECT_TRUE(procedure.GetRecords().empty());

    CDayRoutine* pRoutine = Routines().CreateDayRoutine();
    AddTime(pRoutine, 1, 0, AddAddress(1, 0x1001, 1, 2, 0x11), 1);
    ASSERT_TRUE(Routines().InitDownload(nullptr));
    CProgressInfo progress(0);
    EXPECT_EQ(Routines().AddToDownloadProcedure(&progress, &procedure), 0);
    const auto& arrRecords = procedure.GetRecords();
    // 15 bytes: a control step and two writes; 4000 bytes: a control step and 400 writes.
    ASSERT_EQ(arrRecords.size(), 3u + 401u);
    EXPECT_EQ(arrRecords[1][0], CDownloadProcedure::OpWriteMemory);
    EXPECT_EQ((Bytes {arrRecords[1][1], arrRecords[1][2], arrRecords[1][3], arrRecords[1][4]}),
              (Bytes {0x86, 0xA0, 0x86, 0xA9}));
    EXPECT_EQ((Bytes {arrRecords[2][1], arrRecords[2][2], arrRecords[2][3], arrRecords[2][4]}),
              (Bytes {0x86, 0xAA, 0x86, 0xAE}));
    EXPECT_EQ((Bytes {arrRecords[4][1], arrRecords[4][2], arrRecords[4][3], arrRecords[4][4]}),
              (Bytes {0x8B, 0xD0, 0x8B, 0xD9}));
    EXPECT_EQ((Bytes {arrRecords[4][5], arrRecords[4][6], arrRecords[4][7], arrRecords[4][8], arrRecords[4][9]}),
              (Bytes {0x80, 0x10, 0x11, 0x01, 0x00}));
    EXPECT_EQ(progress.GetPosition(), 0u);
}

// ------------------------------------------------------------ the bus write against the simulated device

namespace {

class DayRoutinesBusTest : public DayRoutinesDownloadTest {
protected:
    void SetUp() override
    {
        DayRoutinesDownloadTest::SetUp();
        CFalconStandIn::Reset();
        CSimulatedBus::RemoveAll();
        ASSERT_TRUE(SUCCEEDED(RegisterBusAccessClasses()));
        m_pDevice = std::make_shared<CSimulatedDevice>(m_clock.Source());
        CSimulatedBus::InstallDevice("", m_pDevice);
        CFalconConnectionParams params;
        params.SetGuid(Falcon::kSimulatedInterface);
        params.SetConnectionName("Simulated line");
        EXPECT_EQ(m_bus.Init(params), 1);
        EXPECT_EQ(m_bus.Connect(0x1101, nullptr), 0);
    }
    void TearDown() override
    {
        m_bus.Close();
        RevokeBusAccessClasses();
        CSimulatedBus::RemoveAll();
        CFalconStandIn::Reset();
        DayRoutinesDownloadTest::TearDown();
    }

    Bytes DeviceMemory(DWORD nAddress, std::size_t nLength)
    {
        std::vector<BYTE> arrData;
        EXPECT_EQ(m_pDevice->ReadMemory(nAddress, nLength, arrData), EDeviceResult::Ok);
        return Bytes(arrData.begin(), arrData.end());
    }

    bustest::CManualClock m_clock;
    std::shared_ptr<CSimulatedDevice> m_pDevice;
    CBusAccess m_bus {true};
};

}  // namespace

TEST_F(DayRoutinesBusTest, BothTablesReachTheDevice)
{
    CDayRoutine* pRoutine = Routines().CreateDayRoutine();
    CGroupDataAddress* pAddress = AddAddress(1, 0x1001, 5, 10, 0x12);
    pRoutine->SetTriggerGroupAddress(AddAddress(2, 0x1002, 1, 2, 0x13));
    AddTime(pRoutine, 23, 59, pAddress, 0x2A, 1);

    // Nothing to write before the tables are built.
    EXPECT_EQ(Routines().WriteToDevice(nullptr, &m_bus), 5);

    ASSERT_TRUE(Routines().InitDownload(nullptr));
    ASSERT_EQ(bustest::LoadStateControlByMemory(*m_pDevice, 3, 1), 0);
    CProgressInfo progress(0);
    progress.SetRange(0, 100);
    ASSERT_EQ(Routines().WriteToDevice(&progress, &m_bus), 0);
    EXPECT_EQ(progress.GetPosition(), 4u);
    EXPECT_EQ(DeviceMemory(0x86A0, 15), TriggerTable());
    EXPECT_EQ(DeviceMemory(0x86A0, 1), (Bytes {0x13}));
    EXPECT_EQ(DeviceMemory(0x8BD0, 4000), SwitchTimeTable());
    EXPECT_EQ(DeviceMemory(0x8BD0, 5), (Bytes {0xF7, 0x1B, 0x12, 0x2A, 0x00}));
}

TEST_F(DayRoutinesBusTest, AFailedTriggerWriteStopsBeforeTheSwitchTimes)
{
    CDayRoutine* pRoutine = Routines().CreateDayRoutine();
    AddTime(pRoutine, 1, 0, AddAddress(1, 0x1001, 1, 2, 0x01), 1);
    ASSERT_TRUE(Routines().InitDownload(nullptr));
    // The parameter area takes writes only while it is loading.
    const Bytes arrBefore = DeviceMemory(0x8BD0, 5);
    EXPECT_EQ(Routines().WriteToDevice(nullptr, &m_bus), 5);
    EXPECT_EQ(DeviceMemory(0x8BD0, 5), arrBefore);
}
