// The download into the simulated device: table images read back from its
// memory, the order of every write, both load-state routes, the retries and
// the faults that end or repeat a try.

#include "access/BusAccess.h"
#include "app/Chronoset.h"
#include "model/DayRoutine.h"
#include "model/DaySwitchTime.h"
#include "model/IniManager.h"
#include "model/Quantity.h"
#include "model/SpecialDay.h"
#include "model/Summertime.h"
#include "model/Utils.h"
#include "common/ProgressInfo.h"
#include "platform/base/WinApp.h"
#include "platform/bus/BusAccessClasses.h"
#include "platform/bus/FalconStandIn.h"
#include "platform/bus/LoadStateMachine.h"
#include "platform/bus/SimulatedBus.h"
#include "tests/access/BusTestSupport.h"
#include "tests/platform/bus/DeviceTestSupport.h"
#include "tests/support/LocalTime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

using bustest::CLogCapture;
using bustest::CManualClock;
using bustest::CTempDir;

namespace {

using Bytes = std::vector<std::uint8_t>;

// One bus call as the download made it: its kind, the memory address or the
// property, and all the bytes its frames carried.
struct Call {
    EDeviceOperation eOperation;
    DWORD nAddress;
    BYTE nObject;
    BYTE nProperty;
    WORD nStartIndex;
    Bytes arrData;
};

class ChronosetDownloadTest : public ::testing::Test {
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
        m_bus.Init(m_params);

        m_app.SetProfileName(m_dir.File("Vek_ZR02.ini"));

        const CApplicationId& id = m_pDevice->GetApplicationId();
        m_set.m_nManufacturerId = id.GetManufacturer();
        m_set.m_nDeviceType = id.GetDeviceType();
        m_set.m_nApplicationVersion = id.GetVersion();
        m_set.m_nIndividualAddress = m_pDevice->GetIndividualAddress();
        m_set.m_nSendDelay = 7;
        m_set.m_fnDownloadWait = [this](DWORD nMs) { m_arrWaits.push_back(nMs); };
        m_set.m_fnDownloadTime = [] {
            std::tm tm {};
            tm.tm_year = 104;  // 2004
            tm.tm_mon = 1;
            tm.tm_mday = 29;
            tm.tm_hour = 13;
            tm.tm_min = 45;
            tm.tm_sec = 30;
            return tm;
        };
        m_pPrevious = g_pChronoset;
        g_pChronoset = &m_set;
    }
    void TearDown() override
    {
        g_pChronoset = m_pPrevious;
        m_bus.Close();
        RevokeBusAccessClasses();
        CSimulatedBus::RemoveAll();
        CFalconStandIn::Reset();
    }

    void SetLsmMode(int nMode) { g_IniManager.WriteInt("Common", "LSMDownloadMode", static_cast<UINT>(nMode)); }

    CGroupDataAddress* AddAddress(LONG nRaw, DWORD dwUse, int nObjectType = 1)
    {
        CGroupDataAddress* p = m_set.m_oGroupDataAddresses.CreateGroupAddress(false);
        EXPECT_NE(p, nullptr);
        p->SetAddress(nRaw);
        p->SetType({nObjectType, 1});
        if (dwUse)
            p->AddUse(dwUse);
        return p;
    }

    int Download(bool bParameters = true, bool bStamp = true)
    {
        DWORD nCount = 0;
        m_set.CountAssociations(nCount);
        m_pDevice->ClearTrace();
        return m_set.DoDownload(&m_progress, &m_bus, m_nWrong, bParameters, bStamp, 0xFFFF);
    }

    // The access calls of the trace, frames of one call joined.
    std::vector<Call> Calls() const
    {
        std::vector<Call> arrCalls;
        DWORD nLast = 0;
        for (const CDeviceTraceEntry& e : m_pDevice->GetTrace()) {
            if (e.m_nCall != 0 && e.m_nCall == nLast && !arrCalls.empty() &&
                arrCalls.back().eOperation == e.m_eOperation) {
                arrCalls.back().arrData.insert(arrCalls.back().arrData.end(), e.m_arrData.begin(), e.m_arrData.end());
                continue;
            }
            nLast = e.m_nCall;
            arrCalls.push_back({e.m_eOperation, e.m_nAddress, e.m_nObjectIndex, e.m_nPropertyId, e.m_nStartIndex,
                                e.m_arrData});
        }
        return arrCalls;
    }
    std::vector<Call> CallsOf(EDeviceOperation eOperation) const
    {
        std::vector<Call> arrOut;
        for (const Call& c : Calls()) {
            if (c.eOperation == eOperation)
                arrOut.push_back(c);
        }
        return arrOut;
    }
    Bytes Memory(DWORD nAddress, std::size_t nLength) const { return m_pDevice->PeekMemory(nAddress, nLength); }

    // The object table's bytes 2 and 3 of entry k as one word.
    WORD ObjectWord(std::size_t k) const
    {
        const Bytes b = Memory(0x4403 + static_cast<DWORD>(4 * k) + 2, 2);
        return static_cast<WORD>(b[0] << 8 | b[1]);
    }

    std::string Dump()
    {
        std::string str;
        for (const auto& line : m_log.Lines().m_arrLines)
            str += line.strText + "\n";
        for (const CDeviceTraceEntry& e : m_pDevice->GetTrace())
            str += e.ToString() + "\n";
        return str;
    }

    void ExpectImagesFreed() const
    {
        EXPECT_TRUE(m_set.m_arrAddressTable.empty());
        EXPECT_TRUE(m_set.m_arrAssociationTable.empty());
        EXPECT_TRUE(m_set.m_arrObjectTable.empty());
        EXPECT_EQ(m_set.m_oDayRoutines.GetTriggerTable(), nullptr);
        EXPECT_EQ(m_set.m_oDayRoutines.GetSwitchTimeTable(), nullptr);
        EXPECT_EQ(m_set.m_oWeekRoutine.GetDownloadBlock(), nullptr);
        EXPECT_EQ(m_set.m_oQuantities.GetQuantityImage(), nullptr);
        EXPECT_EQ(m_set.m_oQuantities.GetMemberImage(), nullptr);
        EXPECT_EQ(m_set.m_oInternalClock.GetDownloadBlock(), nullptr);
        EXPECT_EQ(m_set.m_oSummertimes.GetDownloadBlock(), nullptr);
        EXPECT_EQ(m_set.m_oSpecialDays.GetDownloadBlock(), nullptr);
    }

    CLogCapture m_log;
    CWinApp m_app;
    CTempDir m_dir;
    CManualClock m_clock;
    std::shared_ptr<CSimulatedDevice> m_pDevice;
    CFalconConnectionParams m_params;
    CBusAccess m_bus {true};
    CProgressInfo m_progress {1};
    CChronoset m_set;
    CChronoset* m_pPrevious = nullptr;
    std::vector<DWORD> m_arrWaits;
    int m_nWrong = -1;
};

}  // namespace

// ---------------------------------------------------------------------------
// Table images

TEST_F(ChronosetDownloadTest, EmptySetWritesCountsFillersClockWordsAndStamp)
{
    ASSERT_EQ(Download(), 0);
    EXPECT_EQ(m_nWrong, 0);
    EXPECT_TRUE(m_arrWaits.empty());

    EXPECT_EQ(Memory(0x4000, 1), Bytes {0x01});
    EXPECT_EQ(Memory(0x4200, 1), Bytes {0x00});
    EXPECT_EQ(Memory(0x4400, 1), Bytes {0xFE});
    for (std::size_t k = 0; k < 250; ++k)
        ASSERT_EQ(ObjectWord(k), 0x5B00) << k;
    // The clock in its own mode: request, date, time and lock without group
    // addresses.
    EXPECT_EQ(ObjectWord(250), 0x5B00);
    EXPECT_EQ(ObjectWord(251), 0x5309);
    EXPECT_EQ(ObjectWord(252), 0x5309);
    EXPECT_EQ(ObjectWord(253), 0x5B00);

    EXPECT_EQ(Memory(0x8000, 6), (Bytes {7, 0, 0, 0, 0, 0}));
    for (int nMachine = 1; nMachine <= 3; ++nMachine)
        EXPECT_EQ(m_pDevice->GetLoadState(nMachine), CLoadStateMachine::Loaded);

    // Year 2004 goes out as 0x04.
    EXPECT_EQ(m_pDevice->GetDownloadTime(), (Bytes {13, 45, 30, 29, 2, 0x04}));
    EXPECT_EQ(m_pDevice->GetDownloadStamp(), Bytes(40, 0));
    std::vector<WORD> arrStampStarts;
    for (const Call& c : CallsOf(EDeviceOperation::PropertyWrite)) {
        if (c.nObject == 5 && c.nProperty == 202) {
            arrStampStarts.push_back(c.nStartIndex);
            EXPECT_EQ(c.arrData.size(), 10u);
        }
    }
    EXPECT_EQ(arrStampStarts, (std::vector<WORD> {1, 11, 21, 31}));
    ExpectImagesFreed();
}

TEST_F(ChronosetDownloadTest, AddressTableSortedWithDuplicatesAndAssociationsCountFromOne)
{
    // Main group 8 must follow main group 1 as on the bus.
    CGroupDataAddress* pHigh = AddAddress(0x8101, GAU_SWITCHTIME, 1);      // 8/1/1
    CGroupDataAddress* pLow = AddAddress(0x0203, GAU_SWITCHTIME, 5);       // 0/2/3
    CGroupDataAddress* pTwin = AddAddress(0x0203, GAU_QUANTITY_MEMBER, 9); // 0/2/3 again
    CGroupDataAddress* pTrigger = AddAddress(0x1005, 0, 1);                // 1/0/5
    AddAddress(0x0001, 0);  // unused: not in the tables
    CDayRoutine* pRoutine = m_set.m_oDayRoutines.CreateDayRoutine();
    ASSERT_NE(pRoutine, nullptr);
    pRoutine->SetTriggerGroupAddress(pTrigger);
    ASSERT_TRUE(pTrigger->HasUsage(GAU_DAYROUTINE_TRIGGER));

    ASSERT_EQ(Download(), 0);

    // Four entries, count byte 5; bus form moves the main group to bits 11..14.
    EXPECT_EQ(Memory(0x4000, 1), Bytes {0x05});
    EXPECT_EQ(Memory(0x4003, 8), (Bytes {0x02, 0x03, 0x02, 0x03, 0x08, 0x05, 0x41, 0x01}));
    EXPECT_EQ(pLow->GetAddressTableIndex(), 0);
    EXPECT_EQ(pTwin->GetAddressTableIndex(), 1);
    EXPECT_EQ(pTrigger->GetAddressTableIndex(), 2);
    EXPECT_EQ(pHigh->GetAddressTableIndex(), 3);

    // Associations in list order: (table index + 1, object number).
    EXPECT_EQ(Memory(0x4200, 1), Bytes {0x04});
    EXPECT_EQ(Memory(0x4201, 8), (Bytes {4, 0, 1, 1, 2, 2, 3, 3}));
    EXPECT_EQ(ObjectWord(0), 0x5F00 | (GetKnxValueType(1) & 0xFF));
    EXPECT_EQ(ObjectWord(1), 0x5F00 | (GetKnxValueType(5) & 0xFF));
    EXPECT_EQ(ObjectWord(2), 0x5F00 | (GetKnxValueType(9) & 0xFF));
    EXPECT_EQ(ObjectWord(3), 0xDF00 | (GetKnxValueType(1) & 0xFF));
    EXPECT_EQ(ObjectWord(4), 0x5B00);
}

TEST_F(ChronosetDownloadTest, ClockAddressesJoinTheTablesAndItsWordsFollowTheFillers)
{
    AddAddress(0x0300, GAU_SWITCHTIME);
    CInternalClock& clock = m_set.m_oInternalClock;
    clock.SetMode(1);
    auto make = [](LONG nRaw) {
        auto* p = new CGroupDataAddress;
        p->SetAddress(nRaw);
        return p;
    };
    clock.SetTimeGroupAddress(make(0x0500));
    clock.SetDateGroupAddress(make(0x0400));
    clock.SetRequestGroupAddress(make(0x0100));
    clock.SetLockGroupAddress(make(0x0300));  // the same address as a switching time: kept twice
    clock.SetInactiveTime(2, 5);
    clock.SetLockPolarity(1);
    ASSERT_EQ(Download(), 0) << Dump();

    EXPECT_EQ(Memory(0x4000, 1), Bytes {0x06});
    EXPECT_EQ(Memory(0x4003, 10), (Bytes {0x01, 0x00, 0x03, 0x00, 0x03, 0x00, 0x04, 0x00, 0x05, 0x00}));
    // The list's address, then the clock's request, time, date and lock.
    EXPECT_EQ(Memory(0x4200, 1), Bytes {0x05});
    const Bytes arrAssociations = Memory(0x4201, 10);
    // The two entries of 0/3/0 are distinct: the lock's went in before the
    // list's.
    EXPECT_EQ(arrAssociations, (Bytes {3, 0, 1, 250, 5, 252, 4, 251, 2, 253}));
    EXPECT_EQ(ObjectWord(250), 0x5F00);
    EXPECT_EQ(ObjectWord(251), 0x5709);
    EXPECT_EQ(ObjectWord(252), 0x5709);
    EXPECT_EQ(ObjectWord(253), 0x5F00);
    // (2 * 60 + 5) * 450 little-endian, and the lock flag.
    EXPECT_EQ(Memory(0x8001, 5), (Bytes {0xBA, 0xDB, 0x00, 0x00, 0x01}));
}

TEST_F(ChronosetDownloadTest, InsertGroupAddressSortedKeepsEqualAddressesAndOrdersUnsigned)
{
    std::vector<std::unique_ptr<CGroupDataAddress>> arrOwned;
    std::vector<CGroupDataAddress*> arrSorted;
    for (LONG nRaw : {0x8000L, 0x0100L, 0xF0FFL, 0x0100L, 0x7FFFL, 0x0000L}) {
        arrOwned.push_back(std::make_unique<CGroupDataAddress>());
        arrOwned.back()->SetAddress(nRaw);
        CChronoset::InsertGroupAddressSorted(arrSorted, arrOwned.back().get(), 0,
                                             arrSorted.empty() ? 0 : static_cast<int>(arrSorted.size()) - 1);
    }
    CChronoset::InsertGroupAddressSorted(arrSorted, nullptr, 0, 0);
    std::vector<LONG> arrRaw;
    for (const CGroupDataAddress* p : arrSorted)
        arrRaw.push_back(p->GetAddress());
    EXPECT_EQ(arrRaw, (std::vector<LONG> {0x0000, 0x0100, 0x0100, 0x7FFF, 0x8000, 0xF0FF}));
    // Bounds outside the array are taken in.
    arrOwned.push_back(std::make_unique<CGroupDataAddress>());
    arrOwned.back()->SetAddress(0x9000);
    CChronoset::InsertGroupAddressSorted(arrSorted, arrOwned.back().get(), 40, -3);
    EXPECT_EQ(arrSorted[5]->GetAddress(), 0x9000);
}

TEST_F(ChronosetDownloadTest, ObjectTableKeepsTheDevicesFirstTwoBytes)
{
    // Bytes 0 and 1 of each entry are the device's own (it refuses others).
    const Bytes arrBefore = Memory(0x4403, 4 * 254);
    ASSERT_NE(std::count(arrBefore.begin(), arrBefore.end(), BYTE {0}), static_cast<std::ptrdiff_t>(arrBefore.size()));
    ASSERT_EQ(Download(), 0) << Dump();
    const Bytes arrAfter = Memory(0x4403, 4 * 254);
    for (std::size_t k = 0; k < 254; ++k) {
        EXPECT_EQ(arrAfter[4 * k], arrBefore[4 * k]) << k;
        EXPECT_EQ(arrAfter[4 * k + 1], arrBefore[4 * k + 1]) << k;
    }
    // Each block is read before it is written.
    const std::vector<Call> arrReads = CallsOf(EDeviceOperation::MemoryRead);
    EXPECT_EQ(std::count_if(arrReads.begin(), arrReads.end(), [](const Call& c) { return c.nAddress >= 0x4403 && c.nAddress < 0x4800; }), 85);
}

TEST_F(ChronosetDownloadTest, FixedParameterSetGivesTheseBytes)
{
    // Object numbers: the quantity's trigger object comes first (0), then
    // the addresses with an object of their own in list order.
    CGroupDataAddress* pTrigger = AddAddress(0x1005, 0, 1);   // 1/0/5, object 1
    CGroupDataAddress* pSwitched = AddAddress(0x2103, 0, 5);  // 2/1/3, object 2
    CGroupDataAddress* pMeasured = AddAddress(0x3201, 0, 9);  // 3/2/1, the quantity's trigger
    CGroupDataAddress* pMember = AddAddress(0x0009, 0, 1);    // 0/0/9, object 3

    CDayRoutine* pFirst = m_set.m_oDayRoutines.CreateDayRoutine();
    CDayRoutine* pSecond = m_set.m_oDayRoutines.CreateDayRoutine();
    ASSERT_TRUE(pFirst && pSecond);
    pFirst->SetTriggerGroupAddress(pTrigger);
    // Entered out of order: the table sorts by routine, then time of day.
    const struct {
        CDayRoutine* pRoutine;
        WORD nHour, nMinute;
        DWORD dwValue;
        BYTE bOnChange;
    } arrTimes[] = {{pSecond, 7, 0, 0x10, 0}, {pFirst, 22, 15, 0x00, 0}, {pFirst, 6, 30, 0x64, 1}};
    for (const auto& t : arrTimes) {
        CDaySwitchTime* pTime = t.pRoutine->AddSwitchTime(nullptr);
        ASSERT_NE(pTime, nullptr);
        pTime->SetHour(t.nHour);
        pTime->SetMinute(t.nMinute);
        pTime->SetGroupAddress(pSwitched);
        pTime->SetValue(SwitchTimeValue {t.dwValue});
        pTime->SetSendOnChange(t.bOnChange);
    }
    for (int nDay = 0; nDay < 5; ++nDay)
        m_set.m_oWeekRoutine.SetDayRoutine(nDay, pFirst);
    m_set.m_oWeekRoutine.SetDayRoutine(5, pSecond);

    using testtime::At;
    // Listed late-first: both blocks sort by start.
    CSpecialDay* pNewYear = m_set.m_oSpecialDays.CreateSpecialDay();
    CSpecialDay* pChristmas = m_set.m_oSpecialDays.CreateSpecialDay();
    ASSERT_TRUE(pNewYear && pChristmas);
    pNewYear->SetStartTime(At(2024, 12, 31, 0, 0));
    pNewYear->SetEndTime(At(2025, 1, 1, 23, 59));
    pNewYear->SetDayRoutine(pFirst);
    pChristmas->SetStartTime(At(2024, 12, 24, 8, 0));
    pChristmas->SetEndTime(At(2024, 12, 26, 23, 59));
    m_set.m_oSummertimes.SetEnabled(1);
    for (int nYear : {2025, 2024}) {
        CSummertime* pPeriod = m_set.m_oSummertimes.CreateSummertime();
        ASSERT_NE(pPeriod, nullptr);
        pPeriod->SetStartTime(At(nYear, 3, nYear == 2024 ? 31 : 30, 2, 0));
        pPeriod->SetEndTime(At(nYear, 10, nYear == 2024 ? 27 : 26, 3, 0));
        pPeriod->SetShift(1);
    }

    CQuantity* pQuantity = m_set.m_oQuantities.CreateQuantity();
    ASSERT_NE(pQuantity, nullptr);
    pQuantity->SetType({9, 1});
    pQuantity->SetWarmStart(2);
    pQuantity->SetColdStart(1);
    pQuantity->SetInitValue(0x0C1A);  // 21.0
    pQuantity->SetCondition(1);
    pQuantity->SetRangeA(0x07D0);     // 20.0
    pQuantity->SetRangeB(0x0CE4);
    ASSERT_EQ(pQuantity->AddTriggerGroupAddress(pMeasured, false), 1);
    // The range-B member first: range A sorts before range B.
    for (int nRange : {1, 0}) {
        CQuantityMember* p = pQuantity->CreateMember();
        ASSERT_NE(p, nullptr);
        p->SetGroupAddress(pMember);
        p->SetValues(static_cast<WORD>(nRange), nRange != 0, nRange);  // B: value 1, sent on change only
    }

    CInternalClock& clock = m_set.m_oInternalClock;
    clock.SetMode(4);
    clock.SetSendMinute(30);
    clock.SetSendHour(6);
    clock.SetInactiveTime(1, 30);
    auto* pLock = new CGroupDataAddress;
    pLock->SetAddress(0x4000);  // 4/0/0
    clock.SetLockGroupAddress(pLock);
    clock.SetLockPolarity(1);

    ASSERT_EQ(Download(), 0) << Dump();

    // A block's literal head, then its empty slots up to its size.
    auto block = [](Bytes arrHead, std::size_t nSize, const Bytes& arrEmpty) {
        while (arrHead.size() < nSize)
            arrHead.insert(arrHead.end(), arrEmpty.begin(), arrEmpty.end());
        return arrHead;
    };
    const Bytes arrNoCalendar {0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

    // Address table: entries + 1, then the sorted addresses in bus form.
    EXPECT_EQ(Memory(0x4000, 1), Bytes {0x06});
    EXPECT_EQ(Memory(0x4003, 10), (Bytes {0x00, 0x09, 0x08, 0x05, 0x11, 0x03, 0x1A, 0x01, 0x20, 0x00}));
    // Associations (address-table index + 1, object): the quantity's
    // trigger, the list's addresses, the clock's lock.
    EXPECT_EQ(Memory(0x4200, 11), (Bytes {0x05, 0x04, 0x00, 0x02, 0x01, 0x03, 0x02, 0x01, 0x03, 0x05, 0xFD}));
    // Objects (flags, value type): the quantity (2-byte), the routine's
    // trigger (1 bit, updated from the bus), the switched address (1 byte),
    // the member (1 bit), the fillers; the clock's request, date, time, lock.
    EXPECT_EQ(Memory(0x4400, 1), Bytes {0xFE});
    EXPECT_EQ((std::vector<WORD> {ObjectWord(0), ObjectWord(1), ObjectWord(2), ObjectWord(3), ObjectWord(4)}),
              (std::vector<WORD> {0x5F08, 0xDF00, 0x5F07, 0x5F00, 0x5B00}));
    EXPECT_EQ((std::vector<WORD> {ObjectWord(250), ObjectWord(251), ObjectWord(252), ObjectWord(253)}),
              (std::vector<WORD> {0x5B00, 0x5309, 0x5309, 0x5F00}));

    // Send delay, inactive time 90 s * 450 little-endian, lock flag; the
    // clock's mode, send minute and hour.
    EXPECT_EQ(Memory(0x8000, 6), (Bytes {0x07, 0x34, 0x9E, 0x00, 0x00, 0x01}));
    EXPECT_EQ(Memory(0x8010, 3), (Bytes {0x04, 0x1E, 0x06}));
    // Periods: enabled, then year - 2000, month, day, hour, minute of start
    // and end, and the shift.
    EXPECT_EQ(Memory(0x8020, 111),
              block({0x01,
                     0x18, 0x03, 0x1F, 0x02, 0x00, 0x18, 0x0A, 0x1B, 0x03, 0x00, 0x01,
                     0x19, 0x03, 0x1E, 0x02, 0x00, 0x19, 0x0A, 0x1A, 0x03, 0x00, 0x01},
                    111, arrNoCalendar));
    // Routine triggers by routine number: the trigger's object.
    EXPECT_EQ(Memory(0x86A0, 15), block({0x01}, 15, {0xFF}));
    // Switching times: time word (send-on-change bit 0, minute bits 1..6,
    // hour bits 7..11, routine bits 12..15) low byte first, object, value.
    EXPECT_EQ(Memory(0x8BD0, 4000),
              block({0x3D, 0x13, 0x02, 0x64, 0x00,
                     0x1E, 0x1B, 0x02, 0x00, 0x00,
                     0x80, 0x23, 0x02, 0x10, 0x00},
                    4000, {0xFF}));
    // Week routine: a marker, then Monday to Sunday.
    EXPECT_EQ(Memory(0x86C0, 8), (Bytes {0xFF, 0x01, 0x01, 0x01, 0x01, 0x01, 0x02, 0x00}));
    // Special days: the calendar record with the routine number last.
    EXPECT_EQ(Memory(0x86D0, 1100),
              block({0x18, 0x0C, 0x18, 0x08, 0x00, 0x18, 0x0C, 0x1A, 0x17, 0x3B, 0x00,
                     0x18, 0x0C, 0x1F, 0x00, 0x00, 0x19, 0x01, 0x01, 0x17, 0x3B, 0x01},
                    1100, arrNoCalendar));
    // Quantity 1: trigger object, value format, warm << 4 | cold, init
    // value, condition, range A and B, values low byte first.
    EXPECT_EQ(Memory(0x8090, 300),
              block({0x00, 0x07, 0x21, 0x1A, 0x0C, 0x01, 0xD0, 0x07, 0xE4, 0x0C}, 300, {0xFF}));
    // Members: flags (quantity - 1, send on change 0x40, range B 0x80),
    // object, value.
    EXPECT_EQ(Memory(0x81D0, 1200), block({0x00, 0x03, 0x00, 0x00, 0xC0, 0x03, 0x01, 0x00}, 1200, {0xFF}));
}

TEST_F(ChronosetDownloadTest, SampleDataFileDownloadsIntoTheDevice)
{
    const bool bStandalone = g_bStandalone;
    g_bStandalone = true;
    ASSERT_EQ(m_set.LoadFromFile(CHRONO_SAMPLE_DATA_FILE, nullptr), 1);
    g_bStandalone = bStandalone;
    ASSERT_GT(m_set.m_oDayRoutines.GetCount(), 0);
    ASSERT_GT(m_set.m_oQuantities.GetCount(), 0);
    ASSERT_GT(m_set.m_oSpecialDays.GetCount(), 0);
    // The device of the test answers under its own identity.
    const CApplicationId& id = m_pDevice->GetApplicationId();
    m_set.m_nManufacturerId = id.GetManufacturer();
    m_set.m_nDeviceType = id.GetDeviceType();
    m_set.m_nApplicationVersion = id.GetVersion();
    m_set.m_nIndividualAddress = m_pDevice->GetIndividualAddress();
    ASSERT_EQ(Download(), 0);
    EXPECT_EQ(m_nWrong, 0);

    ASSERT_EQ(m_set.InitDownload(nullptr, true), 1);
    auto image = [](const BYTE* p, std::size_t n) { return p ? Bytes(p, p + n) : Bytes(); };
    EXPECT_EQ(Memory(0x8010, 3), image(m_set.m_oInternalClock.GetDownloadBlock(), 3));
    EXPECT_EQ(Memory(0x8020, 111), image(m_set.m_oSummertimes.GetDownloadBlock(), 111));
    EXPECT_EQ(Memory(0x86D0, 1100), image(m_set.m_oSpecialDays.GetDownloadBlock(), 1100));
    EXPECT_EQ(Memory(0x86A0, 15), image(m_set.m_oDayRoutines.GetTriggerTable(), 15));
    EXPECT_EQ(Memory(0x8BD0, 4000), image(m_set.m_oDayRoutines.GetSwitchTimeTable(), 4000));
    EXPECT_EQ(Memory(0x86C0, 8), image(m_set.m_oWeekRoutine.GetDownloadBlock(), 8));
    EXPECT_EQ(Memory(0x8090, 300), image(m_set.m_oQuantities.GetQuantityImage(), 300));
    EXPECT_EQ(Memory(0x81D0, 1200), image(m_set.m_oQuantities.GetMemberImage(), 1200));
    // The address table counts the device's own address with the group
    // addresses, which follow it in their bus form; one association a word.
    const std::size_t nAddresses = m_set.m_arrAddressTable.size();
    ASSERT_GT(nAddresses, 0u);
    EXPECT_EQ(Memory(0x4000, 1), Bytes {static_cast<BYTE>(nAddresses + 1)});
    for (std::size_t i = 0; i < nAddresses; ++i) {
        WORD wBus = m_set.m_arrAddressTable[i];
        ConvertGroupAddressToKnx(wBus);
        EXPECT_EQ(Memory(0x4003 + static_cast<DWORD>(2 * i), 2),
                  (Bytes {static_cast<BYTE>(wBus >> 8), static_cast<BYTE>(wBus & 0xFF)}));
    }
    EXPECT_EQ(Memory(0x4200, 1), Bytes {static_cast<BYTE>(m_set.m_arrAssociationTable.size())});
    m_set.ExitDownload();
}

// ---------------------------------------------------------------------------
// Order and frame sizes

TEST_F(ChronosetDownloadTest, WritesGoOutInTheirOrderInSmallTableBlocks)
{
    for (LONG n = 0; n < 20; ++n)
        AddAddress(0x0100 + n, GAU_SWITCHTIME);
    ASSERT_EQ(Download(), 0);

    std::vector<std::string> arrOrder;
    auto add = [&arrOrder](const std::string& s) {
        if (arrOrder.empty() || arrOrder.back() != s)
            arrOrder.push_back(s);
    };
    for (const Call& c : Calls()) {
        char sz[48];
        if (c.eOperation == EDeviceOperation::MemoryWrite) {
            if (c.nAddress >= 0x4000 && c.nAddress < 0x4800) {
                // Table data: never more than 12 bytes in one call.
                EXPECT_LE(c.arrData.size(), 12u) << std::hex << c.nAddress;
                std::snprintf(sz, sizeof sz, "table %04x", c.nAddress < 0x4200 ? 0x4000u : c.nAddress < 0x4400 ? 0x4200u : 0x4400u);
            }
            else if (c.nAddress == 0x0104) {
                std::snprintf(sz, sizeof sz, "control %02x", unsigned{c.arrData.at(0)});
            }
            else {
                std::snprintf(sz, sizeof sz, "mem %04x", static_cast<unsigned>(c.nAddress));
            }
            add(sz);
        }
        else if (c.eOperation == EDeviceOperation::PropertyWrite) {
            std::snprintf(sz, sizeof sz, "prop %d", int{c.nProperty});
            add(sz);
        }
    }
    std::vector<std::string> arrExpected {"control 31", "control 11", "control 21", "table 4000", "table 4200",
                                          "table 4400", "mem 8000",   "mem 8001",   "mem 8005"};
    arrExpected.insert(arrExpected.end(), {"mem 8010", "mem 8020"});
    arrExpected.insert(arrExpected.end(), {"mem 86a0", "mem 8bd0", "mem 86c0"});
    arrExpected.push_back("mem 86d0");
    arrExpected.insert(arrExpected.end(),
                       {"mem 8090", "mem 81d0", "control 22", "control 12", "control 32", "prop 201", "prop 202"});
    EXPECT_EQ(arrOrder, arrExpected);

    // The address table: count byte, then 20 entries in 4 blocks.
    std::size_t nAddressWrites = 0;
    for (const Call& c : CallsOf(EDeviceOperation::MemoryWrite))
        nAddressWrites += c.nAddress >= 0x4000 && c.nAddress < 0x4200 ? 1 : 0;
    EXPECT_EQ(nAddressWrites, 1u + 4u);
    EXPECT_TRUE(m_log.Lines().Has(LOG_LEVEL_INFO, "address table memory access writes = 4"));
    EXPECT_TRUE(m_log.Lines().Has(LOG_LEVEL_INFO, "CO table memory access writes = 85"));
    EXPECT_TRUE(m_log.Lines().Has(LOG_LEVEL_DETAIL, "4003| 01 00"));
}

TEST_F(ChronosetDownloadTest, StampAloneOrNothingButTheCheck)
{
    ASSERT_EQ(Download(false, true), 0);
    EXPECT_TRUE(CallsOf(EDeviceOperation::MemoryWrite).empty());
    EXPECT_EQ(CallsOf(EDeviceOperation::PropertyWrite).size(), 5u);

    ASSERT_EQ(Download(false, false), 0);
    EXPECT_TRUE(CallsOf(EDeviceOperation::MemoryWrite).empty());
    EXPECT_TRUE(CallsOf(EDeviceOperation::PropertyWrite).empty());
    ASSERT_EQ(CallsOf(EDeviceOperation::PropertyRead).size(), 1u);
    EXPECT_EQ(CallsOf(EDeviceOperation::PropertyRead)[0].nProperty, 13);
}

// ---------------------------------------------------------------------------
// Load-state control

TEST_F(ChronosetDownloadTest, LoadStateByPropertyWhenTheSettingAsks)
{
    SetLsmMode(1);
    ASSERT_EQ(Download(), 0);
    std::vector<std::pair<int, int>> arrEvents;
    for (const Call& c : CallsOf(EDeviceOperation::PropertyWrite)) {
        if (c.nProperty == 5) {
            EXPECT_EQ(c.arrData.size(), 10u);
            arrEvents.emplace_back(c.nObject, c.arrData.at(0));
        }
    }
    EXPECT_EQ(arrEvents, (std::vector<std::pair<int, int>> {{3, 1}, {1, 1}, {2, 1}, {2, 2}, {1, 2}, {3, 2}}));
    for (const Call& c : CallsOf(EDeviceOperation::MemoryWrite))
        EXPECT_NE(c.nAddress, 0x0104u);
    for (int nMachine = 1; nMachine <= 3; ++nMachine)
        EXPECT_EQ(m_pDevice->GetLoadState(nMachine), CLoadStateMachine::Loaded);
    EXPECT_TRUE(m_log.Lines().Has(LOG_LEVEL_INFO, "Load state control of object 3 set to 1"));
}

TEST_F(ChronosetDownloadTest, LoadStateByMemoryByDefaultSkipsAMachineAlreadyThere)
{
    m_pDevice->SetLoadState(1, CLoadStateMachine::Loading);
    ASSERT_EQ(Download(), 0);
    std::vector<int> arrControls;
    for (const Call& c : CallsOf(EDeviceOperation::MemoryWrite)) {
        if (c.nAddress == 0x0104) {
            EXPECT_EQ(c.arrData, (Bytes {c.arrData.at(0), 0, 0, 0, 0, 0, 0, 0, 0, 0}));
            arrControls.push_back(c.arrData.at(0));
        }
    }
    EXPECT_EQ(arrControls, (std::vector<int> {0x31, 0x21, 0x22, 0x12, 0x32}));
    EXPECT_TRUE(m_log.Lines().Has(LOG_LEVEL_INFO, "LSM at mem-address 46826 already set to requested state 2"));
    for (const Call& c : CallsOf(EDeviceOperation::PropertyWrite))
        EXPECT_NE(c.nProperty, 5);
}

TEST_F(ChronosetDownloadTest, StuckLoadStateGives53AfterThreeTriesOnBothRoutes)
{
    for (int nMode : {0, 1}) {
        SCOPED_TRACE(nMode);
        SetLsmMode(nMode);
        m_arrWaits.clear();
        m_log.Lines().m_arrLines.clear();
        m_pDevice->GetFaults().SetLoadStateStuck(1, true);
        EXPECT_EQ(Download(), 53);
        EXPECT_EQ(m_arrWaits, (std::vector<DWORD> {3000, 3000}));
        EXPECT_TRUE(m_log.Lines().HasError("verify error setting load state control, read LSC = 0"));
        EXPECT_TRUE(m_log.Lines().Has(LOG_LEVEL_WARNING, "CChronoset::DoDownload - 3. download try"));
        // Nothing after the failed start event.
        for (const Call& c : CallsOf(EDeviceOperation::MemoryWrite))
            EXPECT_TRUE(c.nAddress == 0x0104) << std::hex << c.nAddress;
        ExpectImagesFreed();
        m_pDevice->GetFaults().Clear();
    }
}

// ---------------------------------------------------------------------------
// Tries

TEST_F(ChronosetDownloadTest, WrongApplicationEndsAfterOneTryWithoutWriting)
{
    m_pDevice->GetFaults().SetForeignApplication(CApplicationId::Foreign());
    EXPECT_EQ(Download(), 0);
    EXPECT_EQ(m_nWrong, 1);
    EXPECT_TRUE(m_arrWaits.empty());
    EXPECT_EQ(CallsOf(EDeviceOperation::Connect).size(), 1u);
    EXPECT_TRUE(CallsOf(EDeviceOperation::MemoryWrite).empty());
    EXPECT_TRUE(CallsOf(EDeviceOperation::PropertyWrite).empty());
    EXPECT_TRUE(m_log.Lines().HasError("wrong application version loaded in device"));
    ExpectImagesFreed();
}

TEST_F(ChronosetDownloadTest, FailingCallIsRecoveredByTheNextTry)
{
    m_pDevice->GetFaults().SetFailCall(12);
    EXPECT_EQ(Download(), 0);
    EXPECT_EQ(m_nWrong, 0);
    EXPECT_EQ(m_arrWaits, (std::vector<DWORD> {3000}));
    EXPECT_EQ(CallsOf(EDeviceOperation::Connect).size(), 2u);
    for (int nMachine = 1; nMachine <= 3; ++nMachine)
        EXPECT_EQ(m_pDevice->GetLoadState(nMachine), CLoadStateMachine::Loaded);
    EXPECT_EQ(Memory(0x4400, 1), Bytes {0xFE});
}

TEST_F(ChronosetDownloadTest, RefusedConnectionTriedThreeTimes)
{
    m_pDevice->GetFaults().SetConnectionRefused(true);
    EXPECT_NE(Download(), 0);
    EXPECT_EQ(m_arrWaits, (std::vector<DWORD> {3000, 3000}));
    for (const char* psz : {"- 1. download try", "- 2. download try", "- 3. download try"})
        EXPECT_TRUE(m_log.Lines().Has(LOG_LEVEL_WARNING, psz)) << psz;
    EXPECT_TRUE(m_log.Lines().HasError("failed to start TL communication"));
    ExpectImagesFreed();
}

// ---------------------------------------------------------------------------
// Refused before any bus traffic

TEST_F(ChronosetDownloadTest, UnknownIndividualAddressFailsWithoutBusAccess)
{
    m_set.m_nIndividualAddress = -1;
    EXPECT_EQ(Download(), 5);
    EXPECT_TRUE(m_pDevice->GetTrace().empty());
    EXPECT_TRUE(m_log.Lines().HasError("individual address of the device unknown"));
}

TEST_F(ChronosetDownloadTest, TooManyAddressTableEntriesFailInsteadOfOverwriting)
{
    m_set.m_oGroupDataAddresses.SetUnlimited(true);
    for (LONG n = 0; n < 255; ++n)
        AddAddress(0x0100 + n, GAU_SWITCHTIME);
    EXPECT_EQ(Download(), 5);
    EXPECT_TRUE(m_log.Lines().HasError("internal data error"));
    EXPECT_TRUE(m_log.Lines().HasError("failed to init download sequence"));
    EXPECT_TRUE(m_pDevice->GetTrace().empty());
    ExpectImagesFreed();
}

TEST_F(ChronosetDownloadTest, TooManyAssociationsFailInsteadOfWrappingTheCount)
{
    // 30 quantities triggered by the same two addresses: 60 associations on
    // 30 objects; 220 switching addresses bring 220 more.
    CGroupDataAddress* pA = nullptr;
    CGroupDataAddress* pB = nullptr;
    for (int i = 0; i < 30; ++i) {
        CQuantity* pQuantity = m_set.m_oQuantities.CreateQuantity();
        ASSERT_NE(pQuantity, nullptr);
        if (!pA) {
            pA = AddAddress(0x0001, 0, static_cast<int>(pQuantity->GetMainType()));
            pB = AddAddress(0x0002, 0, static_cast<int>(pQuantity->GetMainType()));
        }
        ASSERT_EQ(pQuantity->AddTriggerGroupAddress(pA, false), 1);
        ASSERT_EQ(pQuantity->AddTriggerGroupAddress(pB, false), 1);
    }
    for (LONG n = 0; n < 220; ++n)
        AddAddress(0x0100 + n, GAU_SWITCHTIME);
    EXPECT_EQ(Download(), 5);
    EXPECT_TRUE(m_log.Lines().HasError("association table with 280 entries, at most 255 fit"));
    EXPECT_TRUE(m_pDevice->GetTrace().empty());
}

TEST_F(ChronosetDownloadTest, PlugInBusOnlyLogs)
{
    CBusAccess hostBus(false);
    EXPECT_EQ(m_set.DoDownload(&m_progress, &hostBus, m_nWrong, true, true, 0xFFFF), 0);
    EXPECT_TRUE(m_log.Lines().Has(LOG_LEVEL_INFO, "Download try in plug-in version"));
    EXPECT_TRUE(m_pDevice->GetTrace().empty());
}
