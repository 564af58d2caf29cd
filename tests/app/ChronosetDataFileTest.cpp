// Data files with content: the records of every data set byte for byte, a
// full parameter set through store, load and store again, files of older
// schemas built from their own record layouts, and the sample data file.

#include "app/Chronoset.h"
#include "model/ArchiveSchema.h"
#include "model/DayRoutine.h"
#include "model/DaySwitchTime.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "common/Globals.h"
#include "platform/base/AtomicFile.h"
#include "tests/support/LocalTime.h"
#include "tools/SampleData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Little-endian fields of a data file, as a test writes them by hand.
class CFileBytes {
public:
    CFileBytes& B(unsigned n)
    {
        m_bytes.push_back(static_cast<std::uint8_t>(n));
        return *this;
    }
    CFileBytes& W(unsigned n) { return B(n & 0xFF).B((n >> 8) & 0xFF); }
    CFileBytes& D(unsigned long n) { return W(n & 0xFFFF).W((n >> 16) & 0xFFFF); }
    CFileBytes& S(const std::string& str)
    {
        B(static_cast<unsigned>(str.size()));
        m_bytes.insert(m_bytes.end(), str.begin(), str.end());
        return *this;
    }
    // A calendar value as words: year since 1900, month 0..11, day, hour
    // and, when asked, minute.
    CFileBytes& T(int nYear, int nMonth, int nDay, int nHour, int nMinute, bool bMinute)
    {
        W(static_cast<unsigned>(nYear - 1900)).W(static_cast<unsigned>(nMonth - 1)).W(static_cast<unsigned>(nDay));
        W(static_cast<unsigned>(nHour));
        if (bMinute)
            W(static_cast<unsigned>(nMinute));
        return *this;
    }
    const Bytes& Get() const { return m_bytes; }

private:
    Bytes m_bytes;
};

class ChronosetDataFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_bStandalone = g_bStandalone;
        g_bStandalone = true;
        m_nSchema = g_nArchiveSchema;
        m_pPrevious = g_pChronoset;
        m_dir = std::filesystem::temp_directory_path() /
                ("chronoset-data-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override
    {
        g_bStandalone = m_bStandalone;
        g_nArchiveSchema = m_nSchema;
        g_pChronoset = m_pPrevious;
        std::filesystem::remove_all(m_dir);
    }

    std::string PathOf(const char* pszName) const { return (m_dir / pszName).string(); }
    static Bytes Read(const std::string& strPath) { return platform::ReadWholeFile(strPath).value_or(Bytes {}); }
    void Write(const std::string& strPath, const Bytes& bytes) const
    {
        ASSERT_TRUE(platform::WriteFileAtomically(strPath, bytes.data(), bytes.size()));
    }
    // Stores the set and gives back the file's bytes.
    Bytes Store(CChronoset& set, const char* pszName)
    {
        g_pChronoset = &set;
        const std::string strPath = PathOf(pszName);
        EXPECT_EQ(set.SaveToFile(strPath, nullptr), 1);
        return Read(strPath);
    }
    static int SwitchTimeCount(const CChronoset& set) { return set.GetDayRoutines()->GetSwitchTimeCount(); }

    bool m_bStandalone = false;
    DWORD m_nSchema = 0;
    CChronoset* m_pPrevious = nullptr;
    std::filesystem::path m_dir;
};

using testtime::At;

// A small set with one record of every kind.
void BuildSmallSet(CChronoset& set)
{
    set.m_nIndividualAddress = 0x1101;
    set.SetSendDelay(5);
    CGroupDataAddresses* pLists = set.GetGroupDataAddresses();
    CGroupDataAddress* pLight = pLists->CreateGroupAddress(false);
    pLight->SetName("Licht");
    pLight->SetAddress(0x1001);
    pLight->SetType({1, 2});
    pLight->SetReference(1001);
    CGroupDataAddress* pBright = pLists->CreateGroupAddress(false);
    pBright->SetName("Hell");
    pBright->SetAddress(0x1002);
    pBright->SetType({5, 1});
    pBright->SetReference(1002);

    auto* pLock = new CGroupDataAddress;
    pLock->SetName("S");
    pLock->SetAddress(0x0004);
    pLock->SetType({1, 2});
    set.GetInternalClock()->SetMode(0);
    set.GetInternalClock()->SetInactiveTime(2, 30);
    set.GetInternalClock()->SetLockPolarity(1);
    set.GetInternalClock()->SetLockGroupAddress(pLock);

    CDayRoutine* pRoutine = set.GetDayRoutines()->CreateDayRoutine();
    pRoutine->SetName("Tag");
    CDaySwitchTime* pTime = pRoutine->AddSwitchTime(nullptr);
    pTime->SetHour(6);
    pTime->SetMinute(30);
    pTime->SetGroupAddress(pLight);
    pTime->SetValue({1});
    set.GetWeekRoutine()->SetDayRoutine(0, pRoutine);

    CSummertime* pPeriod = set.GetSummertimes()->CreateSummertime();
    pPeriod->SetStartTime(At(2025, 3, 30, 2, 0));
    pPeriod->SetEndTime(At(2025, 10, 26, 3, 0));
    pPeriod->SetShift(1);

    CSpecialDay* pDay = set.GetSpecialDays()->CreateSpecialDay();
    pDay->SetStartTime(At(2025, 12, 24, 0, 0));
    pDay->SetEndTime(At(2025, 12, 26, 23, 59));
    pDay->SetDayRoutine(pRoutine);

    CQuantity* pQuantity = set.GetQuantities()->CreateQuantity();
    pQuantity->SetName("M");
    pQuantity->SetType({5, 1});
    pQuantity->SetRangeA(20);
    pQuantity->SetRangeB(60);
    pQuantity->AddTriggerGroupAddress(pBright, false);
    CQuantityMember* pMember = pQuantity->CreateMember();
    pMember->SetGroupAddress(pLight);
    pMember->SetValues(1, false, 0);
}

}  // namespace

TEST_F(ChronosetDataFileTest, SmallFileHoldsEveryRecordByteForByte)
{
    CChronoset set;
    BuildSmallSet(set);
    CFileBytes golden;
    // Frame.
    golden.D(0x20000).D(0x1101).S("").S("").S("").S("").S("").D(0xFFFFFFFF).D(0xFFFFFFFF).B(0).S("").B(5);
    // Group addresses: name, address, type, sub type, object number,
    // reference, invalid flag; then the empty invalid-association list.
    golden.W(2);
    golden.S("Licht").D(0x1001).W(1).W(2).W(0xFFFF).D(1001).W(0);
    golden.S("Hell").D(0x1002).W(5).W(1).W(0xFFFF).D(1002).W(0);
    golden.W(0);
    // Clock: mode, time, date and request absent, send minute and hour,
    // inactive minutes and seconds, lock polarity, lock address.
    golden.W(0).W(0).W(0).W(0).W(0).W(0).D(2).D(30).B(1);
    golden.W(1).S("S").D(0x0004).W(1).W(2).W(0xFFFF).D(0xFFFFFFFF).W(0);
    // Day routines: count; name, number, no trigger, one switching time
    // (hour, minute, address by reference, exponent, value, send on change).
    golden.D(1).S("Tag").W(1).W(0).D(1);
    golden.W(6).W(30).W(1).D(1001).W(0).B(3).W(1).W(0);
    // Week routine: Monday runs routine 1.
    golden.W(1).W(0xFFFF).W(0xFFFF).W(0xFFFF).W(0xFFFF).W(0xFFFF).W(0xFFFF);
    // Daylight saving: enabled, count, start, end, shift.
    golden.W(1).W(1).T(2025, 3, 30, 2, 0, true).T(2025, 10, 26, 3, 0, true).W(1);
    // Special days: count, start, end, routine.
    golden.D(1).T(2025, 12, 24, 0, 0, true).T(2025, 12, 26, 23, 59, true).W(1);
    // Quantities: name, number, types, ranges, no request, one trigger,
    // condition, warm and cold start, init value, exponent, one member,
    // trigger object number.
    golden.D(1).S("M").W(1).W(5).W(1).W(20).W(60).W(0).D(1).W(1).D(1002).W(0);
    golden.W(0).W(0).W(0).W(0).B(3).D(1);
    golden.W(1).D(1001).W(0).W(1).W(0).W(0).B(3);
    golden.W(255);

    const Bytes bytes = Store(set, "small.tv2");
    EXPECT_EQ(bytes, golden.Get());

    // Loaded back, the set is the same and stores the same bytes.
    CChronoset loaded;
    g_pChronoset = &loaded;
    ASSERT_EQ(loaded.LoadFromFile(PathOf("small.tv2"), nullptr), 1);
    ASSERT_EQ(loaded.GetDayRoutines()->GetCount(), 1);
    const CDayRoutine* pRoutine = loaded.GetDayRoutines()->GetDayRoutines().front();
    EXPECT_EQ(loaded.GetWeekRoutine()->GetDayRoutine(0), pRoutine);
    EXPECT_EQ(loaded.GetSpecialDays()->GetSpecialDays().front()->GetDayRoutine(), pRoutine);
    EXPECT_EQ(pRoutine->GetSwitchTimes().front()->GetGroupAddress()->GetName(), "Licht");
    EXPECT_EQ(loaded.GetQuantities()->GetQuantityList().front()->GetTriggers().front()->GetName(), "Hell");
    // The load counted the objects: the trigger is object 0.
    EXPECT_EQ(loaded.GetQuantities()->GetQuantityList().front()->GetTriggerObjectNumber(), 0);
    EXPECT_EQ(loaded.GetObjectCount(), 2);
}

TEST_F(ChronosetDataFileTest, FullParameterSetSurvivesStoreLoadStore)
{
    CChronoset full;
    BuildMaximalParameterSet(full);
    ASSERT_EQ(full.GetDayRoutines()->GetCount(), 15);
    ASSERT_EQ(SwitchTimeCount(full), 800);
    ASSERT_EQ(full.GetGroupDataAddresses()->GetCount(false), 250);
    ASSERT_EQ(full.GetGroupDataAddresses()->GetCount(true), 250);
    ASSERT_EQ(full.GetQuantities()->GetCount(), 30);
    ASSERT_EQ(full.GetQuantities()->GetTotalMemberCount(), 300);
    ASSERT_EQ(full.GetSpecialDays()->GetCount(), 100);
    ASSERT_EQ(full.GetSummertimes()->GetCount(), 10);
    const Bytes first = Store(full, "full.tv2");

    CChronoset loaded;
    g_pChronoset = &loaded;
    ASSERT_EQ(loaded.LoadFromFile(PathOf("full.tv2"), nullptr), 1);
    EXPECT_EQ(loaded.GetDayRoutines()->GetCount(), 15);
    EXPECT_EQ(SwitchTimeCount(loaded), 800);
    EXPECT_EQ(loaded.GetGroupDataAddresses()->GetCount(false), 250);
    EXPECT_EQ(loaded.GetGroupDataAddresses()->GetCount(true), 250);
    EXPECT_EQ(loaded.GetQuantities()->GetCount(), 30);
    EXPECT_EQ(loaded.GetQuantities()->GetTotalMemberCount(), 300);
    EXPECT_EQ(loaded.GetSpecialDays()->GetCount(), 100);
    EXPECT_EQ(loaded.GetSummertimes()->GetCount(), 10);
    EXPECT_EQ(loaded.GetObjectCount(), 250);
    EXPECT_EQ(*loaded.GetDeviceComment(), std::string(40, 'K'));
    // Every switching time found its address again.
    for (const CDayRoutine* pRoutine : loaded.GetDayRoutines()->GetDayRoutines())
        for (const CDaySwitchTime* pTime : pRoutine->GetSwitchTimes())
            ASSERT_NE(pTime->GetGroupAddress(), nullptr);

    EXPECT_EQ(Store(loaded, "again.tv2"), first);
}

namespace {

// A file of an older schema with the records that schema has: two valid
// addresses (switched light 1/0/1, brightness 1/0/2), from 0x10005 on an
// invalid-list address, the clock with a time address, one routine with
// switching times, Monday on it, one daylight-saving period, one special
// day and a quantity triggered by the brightness with the light as member.
Bytes OldSchemaFile(DWORD nSchema)
{
    const bool bApplication = nSchema >= 0x10003;
    const bool bComment = nSchema >= 0x10007;
    const bool bReferences = nSchema >= 0x10006;  // else addresses are named by raw address
    CFileBytes f;
    f.D(nSchema).D(0x1105).S("Alt").S("Beschreibung").S("Vek").S("ORV/X").S("Tavik");
    if (bApplication)
        f.D(2).D(0x2101).B(0x21);
    if (bComment)
        f.S("Notiz");
    f.B(7);

    auto address = [&](const std::string& strName, unsigned nRaw, unsigned nType, unsigned nSub, unsigned long nRef,
                       bool bInvalid) {
        f.S(strName).D(nRaw).W(nType).W(nSub).W(0xFFFF);
        if (nSchema > 0x10003)
            f.D(nRef);
        if (nSchema > 0x10004)
            f.W(bInvalid ? 1 : 0);
    };
    // How a routine, switching time or member names its address.
    auto reference = [&](unsigned nRaw, unsigned long nRef, bool bInvalid) {
        if (bReferences)
            f.W(1).D(nRef).W(bInvalid ? 1 : 0);
        else
            f.W(nRaw);
    };
    f.W(2);
    address("Licht", 0x1001, 1, 2, 1001, false);
    address("Hell", 0x1002, 5, 1, 1002, false);
    if (nSchema >= 0x10005) {
        f.W(1);
        address("Verwaist", 0x1003, 1, 2, 1003, true);
    }
    // Clock: slave mode, a time address, no date address, no request
    // address, sent at 03:05; no inactive time, polarity or lock before
    // the current schema.
    f.W(0).W(1);
    address("Uhrzeit", 0x0001, 10, 1, 555, false);
    f.W(0).W(0).W(5).W(3);

    // No trigger.
    f.D(1).S("Werktag").W(1).W(bReferences ? 0 : 0xFFFF);
    f.D(bReferences ? 2 : 1);
    f.W(6).W(30);
    reference(0x1001, 1001, false);
    f.B(3).W(1).W(0);
    if (bReferences) {
        f.W(7).W(0);
        reference(0x1003, 1003, true);
        f.B(3).W(0).W(1);
    }
    f.W(1).W(0xFFFF).W(0xFFFF).W(0xFFFF).W(0xFFFF).W(0xFFFF).W(0xFFFF);
    // Daylight saving: older files carry no minutes.
    f.W(1).W(1).T(2025, 3, 30, 2, 0, false).T(2025, 10, 26, 3, 0, false).W(1);
    f.D(1).T(2025, 12, 24, 8, 15, nSchema > 0x10001).T(2025, 12, 26, 23, 59, nSchema > 0x10001).W(1);

    f.D(1).S("D\xE4mmerung")  // Windows-1252
     .W(1).W(5).W(1).W(20).W(60);
    // No request address.
    if (bReferences)
        f.W(0);
    else
        f.W(0xFFFF);
    f.D(1);
    reference(0x1002, 1002, false);
    f.W(1).W(0).W(0).W(0).B(3);
    f.D(1);
    reference(0x1001, 1001, false);
    f.W(1).W(0).W(1).B(3);
    f.W(0);
    return f.Get();
}

}  // namespace

TEST_F(ChronosetDataFileTest, OlderSchemaFilesLoadWithTheirOwnRecords)
{
    for (DWORD nSchema : {0x10002u, 0x10006u, 0x10007u}) {
        SCOPED_TRACE(::testing::Message() << std::hex << nSchema);
        Bytes file = OldSchemaFile(nSchema);
        const std::string strPath = PathOf("old.tv1");
        Write(strPath, file);
        CChronoset set;
        g_pChronoset = &set;
        ASSERT_EQ(set.LoadFromFile(strPath, nullptr), 1);
        EXPECT_EQ(g_nArchiveSchema, nSchema);
        EXPECT_EQ(set.m_strDeviceName, "Alt");
        EXPECT_EQ(set.GetIndividualAddressText(), "01.01.005");
        EXPECT_EQ(set.m_nManufacturerId, nSchema >= 0x10003 ? 2 : -1);
        EXPECT_EQ(set.m_nDeviceType, nSchema >= 0x10003 ? 0x2101 : -1);
        EXPECT_EQ(set.m_nApplicationVersion, nSchema >= 0x10003 ? 0x21 : 0);
        EXPECT_EQ(*set.GetDeviceComment(), nSchema >= 0x10007 ? "Notiz" : "");
        EXPECT_EQ(set.GetSendDelay(), 7);

        const CGroupDataAddresses* pLists = set.GetGroupDataAddresses();
        ASSERT_EQ(pLists->GetCount(false), 2);
        EXPECT_EQ(pLists->GetCount(true), nSchema >= 0x10006 ? 1 : 0);
        const CGroupDataAddress* pLight = pLists->GetReferenceFromAddress(0x1001, false);
        const CGroupDataAddress* pBright = pLists->GetReferenceFromAddress(0x1002, false);
        ASSERT_TRUE(pLight && pBright);
        if (nSchema >= 0x10006) {
            EXPECT_EQ(pLight->GetReference(), 1001);
        } else {
            // Without ids in the file each address gets one of its own, so
            // that a store and load do not send every record to one address.
            EXPECT_NE(pLight->GetReference(), -1);
            EXPECT_NE(pLight->GetReference(), pBright->GetReference());
        }

        const CInternalClock* pClock = set.GetInternalClock();
        EXPECT_EQ(pClock->GetMode(), 0);
        ASSERT_NE(pClock->GetTimeGroupAddress(), nullptr);
        EXPECT_EQ(pClock->GetTimeGroupAddress()->GetName(), "Uhrzeit");
        EXPECT_EQ(pClock->GetDateGroupAddress(), nullptr);
        EXPECT_EQ(pClock->GetSendHour(), 3);
        EXPECT_EQ(pClock->GetSendMinute(), 5);
        EXPECT_EQ(pClock->GetLockGroupAddress(), nullptr);

        ASSERT_EQ(set.GetDayRoutines()->GetCount(), 1);
        const CDayRoutine* pRoutine = set.GetDayRoutines()->GetDayRoutines().front();
        EXPECT_EQ(pRoutine->GetName(), "Werktag");
        EXPECT_EQ(pRoutine->GetTriggerGroupAddress(), nullptr);
        ASSERT_EQ(pRoutine->GetSwitchTimeCount(), nSchema >= 0x10006 ? 2 : 1);
        EXPECT_EQ(pRoutine->GetSwitchTimes().front()->GetGroupAddress(), pLight);
        EXPECT_EQ(pRoutine->GetSwitchTimes().front()->GetMinute(), 30);
        if (nSchema >= 0x10006) {
            EXPECT_EQ(pRoutine->GetSwitchTimes().back()->GetGroupAddress()->GetName(), "Verwaist");
            EXPECT_EQ(pRoutine->GetSwitchTimes().back()->GetSendOnChange(), 1);
        }
        EXPECT_EQ(set.GetWeekRoutine()->GetDayRoutine(0), pRoutine);
        EXPECT_EQ(set.GetWeekRoutine()->GetDayRoutine(1), nullptr);

        ASSERT_EQ(set.GetSummertimes()->GetCount(), 1);
        const CSummertime* pPeriod = set.GetSummertimes()->GetSummertimes().front();
        EXPECT_EQ(pPeriod->GetStartTime().tm_mday, 30);
        EXPECT_EQ(pPeriod->GetEndTime().tm_mon, 9);
        EXPECT_EQ(pPeriod->GetShift(), 1);

        ASSERT_EQ(set.GetSpecialDays()->GetCount(), 1);
        const CSpecialDay* pDay = set.GetSpecialDays()->GetSpecialDays().front();
        EXPECT_EQ(pDay->GetStartTime().tm_hour, 8);
        EXPECT_EQ(pDay->GetStartTime().tm_min, 15);
        EXPECT_EQ(pDay->GetEndTime().tm_min, 59);
        EXPECT_EQ(pDay->GetDayRoutine(), pRoutine);

        ASSERT_EQ(set.GetQuantities()->GetCount(), 1);
        const CQuantity* pQuantity = set.GetQuantities()->GetQuantityList().front();
        EXPECT_EQ(pQuantity->GetName(), "Dämmerung");
        EXPECT_EQ(pQuantity->GetRangeB(), 60);
        ASSERT_EQ(pQuantity->GetTriggers().size(), 1u);
        EXPECT_EQ(pQuantity->GetTriggers().front(), pBright);
        EXPECT_EQ(pQuantity->GetRequestGroupAddress(), nullptr);
        ASSERT_EQ(pQuantity->GetMemberCount(), 1);
        EXPECT_EQ(pQuantity->GetMembers().front()->GetGroupAddress(), pLight);
        EXPECT_EQ(pQuantity->GetMembers().front()->GetRange(), 1);

        // Stored again, the file has the current schema and loads the same.
        const Bytes current = Store(set, "current.tv2");
        ASSERT_GE(current.size(), 4u);
        EXPECT_EQ(Bytes(current.begin(), current.begin() + 4), (Bytes {0x00, 0x00, 0x02, 0x00}));
        CChronoset again;
        g_pChronoset = &again;
        ASSERT_EQ(again.LoadFromFile(PathOf("current.tv2"), nullptr), 1);
        EXPECT_EQ(again.GetDayRoutines()->GetSwitchTimeCount(), set.GetDayRoutines()->GetSwitchTimeCount());
        EXPECT_EQ(again.GetQuantities()->GetQuantityList().front()->GetTriggers().front()->GetAddress(), 0x1002);
        EXPECT_EQ(Store(again, "current2.tv2"), current);
    }
}

TEST_F(ChronosetDataFileTest, SampleFileLoadsAndIsWhatTheGeneratorWrites)
{
    CChronoset sample;
    g_pChronoset = &sample;
    ASSERT_EQ(sample.LoadFromFile(CHRONO_SAMPLE_DATA_FILE, nullptr), 1);
    EXPECT_EQ(sample.GetIndividualAddressText(), "01.01.001");
    EXPECT_EQ(sample.GetGroupDataAddresses()->GetCount(false), 11);
    EXPECT_EQ(sample.GetDayRoutines()->GetCount(), 3);
    EXPECT_EQ(SwitchTimeCount(sample), 13);
    EXPECT_NE(sample.GetWeekRoutine()->GetDayRoutine(6), nullptr);
    EXPECT_EQ(sample.GetSpecialDays()->GetCount(), 4);
    EXPECT_EQ(sample.GetSummertimes()->GetCount(), 3);
    EXPECT_EQ(sample.GetQuantities()->GetCount(), 2);
    EXPECT_EQ(sample.GetQuantities()->GetTotalMemberCount(), 6);
    EXPECT_EQ(sample.GetInternalClock()->GetMode(), 0);
    EXPECT_NE(sample.GetInternalClock()->GetLockGroupAddress(), nullptr);

    // The committed file is the one the generator writes today.
    CChronoset built;
    BuildSampleParameterSet(built);
    EXPECT_EQ(Store(built, "built.tv2"), Read(CHRONO_SAMPLE_DATA_FILE));
}

TEST_F(ChronosetDataFileTest, CorruptRecordFailsTheLoad)
{
    CChronoset set;
    BuildSmallSet(set);
    Bytes bytes = Store(set, "small.tv2");
    // The day routine's number becomes 16, which no device table has.
    for (std::size_t i = 0; i + 6 < bytes.size(); ++i) {
        if (bytes[i] == 3 && bytes[i + 1] == 'T' && bytes[i + 2] == 'a' && bytes[i + 3] == 'g') {
            bytes[i + 4] = 16;
            break;
        }
    }
    Write(PathOf("bad.tv2"), bytes);
    CChronoset loaded;
    g_pChronoset = &loaded;
    EXPECT_EQ(loaded.LoadFromFile(PathOf("bad.tv2"), nullptr), 0);
}

// Found by fuzzing the data file: an address holding the largest id there is
// (2147483647) made the next fresh id overflow, so an address without an id
// got a negative one. It gets the lowest free id instead.
TEST_F(ChronosetDataFileTest, LargestIdInTheFileStillLeavesFreshIds)
{
    CChronoset set;
    BuildSmallSet(set);
    CGroupDataAddresses* pLists = set.GetGroupDataAddresses();
    pLists->GetReferenceFromAddress(0x1001, false)->SetReference(2147483647);
    pLists->GetReferenceFromAddress(0x1002, false)->SetReference(0);
    CGroupDataAddress* pWithout = pLists->CreateGroupAddress(false);
    pWithout->SetName("Ohne Id");
    pWithout->SetAddress(0x1003);
    pWithout->SetType({1, 2});
    ASSERT_EQ(pWithout->GetReference(), -1);
    Store(set, "largest.tv2");

    CChronoset loaded;
    g_pChronoset = &loaded;
    ASSERT_EQ(loaded.LoadFromFile(PathOf("largest.tv2"), nullptr), 1);
    CGroupDataAddresses* pLoaded = loaded.GetGroupDataAddresses();
    EXPECT_EQ(pLoaded->GetReferenceFromAddress(0x1001, false)->GetReference(), 2147483647);
    EXPECT_EQ(pLoaded->GetReferenceFromAddress(0x1002, false)->GetReference(), 0);
    const LONG nFresh = pLoaded->GetReferenceFromAddress(0x1003, false)->GetReference();
    EXPECT_GT(nFresh, 0);
    EXPECT_LT(nFresh, 2147483647);
    // Every id of the loaded lists is its own.
    std::set<LONG> ids;
    std::size_t nAddresses = 0;
    for (bool bInvalid : {false, true}) {
        for (DWORD dwUsage : {static_cast<DWORD>(GAU_ANY), DWORD {0}}) {
            GaPosition pos = pLoaded->GetFirstPosByUsage(dwUsage, bInvalid);
            while (pos) {
                if (const CGroupDataAddress* pAddress = pLoaded->GetNextItemByUsage(pos, dwUsage, bInvalid)) {
                    EXPECT_GE(pAddress->GetReference(), 0) << pAddress->GetName();
                    ids.insert(pAddress->GetReference());
                    ++nAddresses;
                }
            }
        }
    }
    EXPECT_EQ(ids.size(), nAddresses);
}
