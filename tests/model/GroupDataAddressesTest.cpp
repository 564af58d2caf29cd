#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "access/ObjectLinkTable.h"
#include "app/Chronoset.h"
#include "model/ArchiveSchema.h"
#include "model/GroupDataAddresses.h"
#include "model/Utils.h"
#include "common/ProgressInfo.h"
#include "platform/archive/Archive.h"
#include "platform/host/HostObjects.h"
#include "platform/host/HostState.h"
#include "report/ParamReport.h"
#include "report/ParamReportLine.h"
#include "report/ReportCellLabel.h"
#include "tests/model/GroupAddressLogCapture.h"
#include "tests/model/SchemaGuard.h"
#include "tests/report/FakeReportDC.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The central object of a test, with its group-address lists; debug mode off
// and the log collected.
class GroupDataAddressesTest : public ::testing::Test {
protected:
    void SetUp() override { g_bDebugMode = false; }

    CGroupDataAddresses& Lists() { return *m_chronoset.GetGroupDataAddresses(); }

    // n addresses 0x1000 + i of type 1 in the list of that kind.
    std::vector<CGroupDataAddress*> Fill(int n, bool bInvalid = false, DWORD dwUsage = 0)
    {
        std::vector<CGroupDataAddress*> arrAddresses;
        for (int i = 0; i < n; ++i) {
            CGroupDataAddress* pAddress = Lists().CreateGroupAddress(bInvalid);
            EXPECT_NE(pAddress, nullptr);
            if (!pAddress)
                break;
            pAddress->SetName("GA" + std::to_string(i));
            pAddress->SetAddress(0x1000 + i);
            pAddress->SetType({1, 1});
            pAddress->SetReference(100 + i);
            if (dwUsage)
                pAddress->AddUse(dwUsage);
            arrAddresses.push_back(pAddress);
        }
        return arrAddresses;
    }

    // The addresses an iteration yields.
    std::vector<CGroupDataAddress*> Walk(int nMask, const CGroupDataAddress* pEdited, bool bInvalid)
    {
        std::vector<CGroupDataAddress*> arrResult;
        GaPosition pos = Lists().GetFirstItemPos(nMask, pEdited, bInvalid);
        while (pos)
            arrResult.push_back(Lists().GetNextItem(pos, nMask, pEdited, bInvalid));
        return arrResult;
    }

    CGroupAddressLogCapture m_capture;
    CChronoset m_chronoset;
};

}  // namespace

// ------------------------------------------------------------ parsing the host parameter records

TEST_F(GroupDataAddressesTest, OneRecordGivesOneAddress)
{
    ASSERT_TRUE(Lists().InsertGroupAddressFromString("003400120001000105Licht", false));
    // The same text with the name as it stands.
    ASSERT_TRUE(Lists().InsertGroupAddressFromString("ffffffff0009000005Licht", true));
    ASSERT_EQ(Lists().GetCount(false), 1);
    ASSERT_EQ(Lists().GetCount(true), 1);

    GaPosition pos = Lists().GetFirstItemPos(GASM_ANY, nullptr, false);
    CGroupDataAddress* pAddress = Lists().GetNextItem(pos, GASM_ANY, nullptr, false);
    ASSERT_NE(pAddress, nullptr);
    EXPECT_EQ(pAddress->GetReference(), 0x00120034);
    EXPECT_EQ(pAddress->GetObjectType(), 1);
    EXPECT_EQ(pAddress->GetSubType(), 1);
    EXPECT_EQ(pAddress->GetName(), "Licht");
    EXPECT_EQ(pAddress->GetAddress(), -1);     // the host load fills it later
    EXPECT_FALSE(pAddress->IsInvalid());

    CGroupDataAddress* pInvalid = Lists().FindByReference(-1, true);
    ASSERT_NE(pInvalid, nullptr);
    EXPECT_EQ(pInvalid->GetName(), "Licht");
    EXPECT_EQ(pInvalid->GetObjectType(), 9);
    EXPECT_TRUE(pInvalid->IsInvalid());
    EXPECT_EQ(pInvalid->GetOwner(), &Lists());
}

TEST_F(GroupDataAddressesTest, TwoRecordsAndATailAndAnEmptyName)
{
    // An empty name: the next record starts right after the length field.
    ASSERT_TRUE(Lists().InsertGroupAddressFromString("000100000001000100" "000200000005000102Ab" "TAIL", false));
    ASSERT_EQ(Lists().GetCount(false), 2);
    EXPECT_EQ(Lists().FindByReference(1, false)->GetName(), "");
    EXPECT_EQ(Lists().FindByReference(2, false)->GetName(), "Ab");
    EXPECT_EQ(Lists().FindByReference(2, false)->GetObjectType(), 5);

    EXPECT_TRUE(Lists().InsertGroupAddressFromString("", false));
    EXPECT_EQ(Lists().GetCount(false), 2);
}

TEST_F(GroupDataAddressesTest, WindowsNamesBecomeUtf8)
{
    ASSERT_TRUE(Lists().InsertGroupAddressFromString(std::string("ffffffff0001000105K\xFC" "che"), false));
    EXPECT_EQ(Lists().FindByReference(-1, false)->GetName(), "Küche");
}

TEST_F(GroupDataAddressesTest, CutRecordsFail)
{
    for (const char* pszText : {"ffffffff000100", "ffffffff0001000105", "ffffffff0001000100ffff"}) {
        m_capture.Clear();
        EXPECT_FALSE(Lists().InsertGroupAddressFromString(pszText, false)) << pszText;
        EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "CGroupDataAddresses::InsertGroupAddressFromString: empty data string"))
            << pszText;
    }
    // A name shorter than its length is taken as it is.
    EXPECT_TRUE(Lists().InsertGroupAddressFromString("000700000001000103ab", false));
    EXPECT_EQ(Lists().FindByReference(7, false)->GetName(), "ab");
}

TEST_F(GroupDataAddressesTest, LoadFromHostParametersStopsAtTheFirstEmptyText)
{
    CProgressInfo progress(0);
    Lists().AddGroupAddressParameter(11, "000100000001000101a" "000200000001000101b", 0);
    Lists().AddGroupAddressParameter(12, "", 1);
    Lists().AddGroupAddressParameter(13, "000300000001000101c", 2);
    Lists().AddInvalidGroupAddressParameter(21, "000400000001000101d", 0);
    EXPECT_EQ(Lists().LoadGroupAddressesFromEts(&progress, nullptr), 0);
    EXPECT_EQ(Lists().GetCount(false), 2);
    EXPECT_EQ(Lists().GetCount(true), 1);
    EXPECT_TRUE(Lists().FindByReference(4, true)->IsInvalid());
}

TEST_F(GroupDataAddressesTest, LoadFromHostParametersFailures)
{
    {
        CChronoset chronoset;
        chronoset.GetGroupDataAddresses()->AddGroupAddressParameter(11, "000100000001000101a", 0);
        EXPECT_EQ(chronoset.GetGroupDataAddresses()->LoadGroupAddressesFromEts(nullptr, nullptr), 5);
        EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "invalid group address parameter count"));
        EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "Calling LoadGroupAddressesFromEts.... TRUE"));
    }
    {
        CChronoset chronoset;
        chronoset.GetGroupDataAddresses()->AddGroupAddressParameter(11, "0001000000", 0);
        chronoset.GetGroupDataAddresses()->AddInvalidGroupAddressParameter(21, "", 0);
        EXPECT_EQ(chronoset.GetGroupDataAddresses()->LoadGroupAddressesFromEts(nullptr, nullptr), 5);
        EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "parameter data error"));
        EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "Calling LoadGroupAddressesFromEts....FALSE"));
    }
    {
        // A gap in the parameter indexes.
        CChronoset chronoset;
        chronoset.GetGroupDataAddresses()->AddGroupAddressParameter(11, "000100000001000101a", 1);
        chronoset.GetGroupDataAddresses()->AddInvalidGroupAddressParameter(21, "", 0);
        EXPECT_EQ(chronoset.GetGroupDataAddresses()->LoadGroupAddressesFromEts(nullptr, nullptr), 5);
        EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "internal data error"));
    }
}

TEST_F(GroupDataAddressesTest, ParameterObjectsAreCopied)
{
    Lists().AddGroupAddressParameter(11, "a", 0);
    Lists().AddInvalidGroupAddressParameter(21, "b", 1);
    CChronoset other;
    other.GetGroupDataAddresses()->CopyParameterObjects(Lists());
    const CStringLongObjectArray& arrValid = other.GetGroupDataAddresses()->GetParameterObjects(false);
    const CStringLongObjectArray& arrInvalid = other.GetGroupDataAddresses()->GetParameterObjects(true);
    ASSERT_EQ(arrValid.size(), 1u);
    EXPECT_EQ(arrValid[0]->GetId(), 11);
    ASSERT_EQ(arrInvalid.size(), 2u);
    EXPECT_EQ(arrInvalid[0], nullptr);
    EXPECT_EQ(arrInvalid[1]->GetText(), "b");
}

// ------------------------------------------------------------ creation, removal, clean-up

TEST_F(GroupDataAddressesTest, CreationStopsAt250UnlessUnlimited)
{
    Fill(250);
    EXPECT_EQ(Lists().CreateGroupAddress(false), nullptr);
    EXPECT_EQ(m_capture.CountLevel(LOG_LEVEL_TRACE), 0);
    EXPECT_NE(Lists().CreateGroupAddress(true), nullptr);

    Lists().SetUnlimited(true);
    CGroupDataAddress* pAddress = Lists().CreateGroupAddress(false);
    ASSERT_NE(pAddress, nullptr);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_TRACE, "Try to create more than 250 group addresses allowed (unlimited GAs)"));
    EXPECT_EQ(Lists().GetCount(false), 251);
    EXPECT_EQ(pAddress->GetLevels(), Lists().GetAddressLevels());
    EXPECT_EQ(Lists().GetMaxCount(), 250);
}

TEST_F(GroupDataAddressesTest, ForcedAddOnAFullListFreesAnUnusedAddressOfThatList)
{
    std::vector<CGroupDataAddress*> arrValid = Fill(250, false, GAU_SWITCHTIME);
    arrValid[3]->RemoveUse(GAU_SWITCHTIME);  // the only unused one
    std::vector<CGroupDataAddress*> arrInvalid = Fill(250, true, GAU_QUANTITY_MEMBER);
    arrInvalid[7]->RemoveUse(GAU_QUANTITY_MEMBER);

    auto* pNew = new CGroupDataAddress;
    pNew->SetInvalid(true);
    EXPECT_FALSE(Lists().AddGroupAddress(pNew, false));
    EXPECT_TRUE(Lists().AddGroupAddress(pNew, true));
    EXPECT_EQ(Lists().GetCount(true), 250);
    EXPECT_EQ(Lists().GetCount(false), 250);
    EXPECT_TRUE(Lists().IsInList(pNew));
    EXPECT_EQ(pNew->GetOwner(), &Lists());
    EXPECT_FALSE(Lists().IsInList(arrInvalid[7]));  // taken out and destroyed
    EXPECT_TRUE(Lists().IsInList(arrValid[3]));     // the valid list is left alone
    pNew->AddUse(GAU_QUANTITY_MEMBER);

    // Nothing unused is left in the invalid list: the list stays at 250.
    auto* pMore = new CGroupDataAddress;
    pMore->SetInvalid(true);
    EXPECT_FALSE(Lists().AddGroupAddress(pMore, true));
    EXPECT_EQ(Lists().GetCount(true), 250);
    // While unlimited it grows; the clean-up trims later.
    Lists().SetUnlimited(true);
    EXPECT_TRUE(Lists().AddGroupAddress(pMore, true));
    EXPECT_EQ(Lists().GetCount(true), 251);

    // An address already in a list is not appended a second time.
    EXPECT_FALSE(Lists().AddGroupAddress(pNew, true));
    EXPECT_FALSE(Lists().AddGroupAddress(nullptr, true));
}

TEST_F(GroupDataAddressesTest, RemoveTakesOutWithoutDestroying)
{
    std::vector<CGroupDataAddress*> arrAddresses = Fill(2);
    arrAddresses[0]->SetReference(1234567);
    arrAddresses[0]->AddUse(GAU_SWITCHTIME);
    m_capture.Clear();

    EXPECT_TRUE(Lists().Remove(arrAddresses[0], false));
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "Removing used group address: 234567, 01/00/0000, valid"));
    EXPECT_FALSE(Lists().IsInList(arrAddresses[0]));
    EXPECT_EQ(arrAddresses[0]->GetName(), "GA0");

    m_capture.Clear();
    EXPECT_FALSE(Lists().Remove(arrAddresses[0], false));
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_WARNING,
                              "CGroupDataAddresses::Remove: Group address 4096 (01/00/0000) not found in list"));
    delete arrAddresses[0];

    m_capture.Clear();
    EXPECT_TRUE(Lists().Remove(arrAddresses[1], true));
    EXPECT_EQ(m_capture.Lines().size(), 0u);
    delete arrAddresses[1];
    EXPECT_FALSE(Lists().Remove(nullptr, false));
}

TEST_F(GroupDataAddressesTest, IsInListDecidesByIdentityInBothLists)
{
    std::vector<CGroupDataAddress*> arrValid = Fill(1);
    std::vector<CGroupDataAddress*> arrInvalid = Fill(1, true);
    EXPECT_TRUE(Lists().IsInList(arrValid[0]));
    EXPECT_TRUE(Lists().IsInList(arrInvalid[0]));

    // A copy with the same content is another object.
    CGroupDataAddress copy;
    copy.CopyFrom(*arrValid[0]);
    EXPECT_FALSE(Lists().IsInList(&copy));

    // An address whose flag no longer matches its list is still found.
    arrInvalid[0]->SetInvalid(false);
    EXPECT_TRUE(Lists().IsInList(arrInvalid[0]));
    arrInvalid[0]->SetInvalid(true);
    EXPECT_FALSE(Lists().IsInList(nullptr));
}

TEST_F(GroupDataAddressesTest, ReplaceItemAndRemoveAt)
{
    std::vector<CGroupDataAddress*> arrAddresses = Fill(3);
    auto* pNew = new CGroupDataAddress;
    Lists().ReplaceItem(arrAddresses[1], pNew);
    EXPECT_TRUE(Lists().IsInList(pNew));
    EXPECT_FALSE(Lists().IsInList(arrAddresses[1]));
    delete arrAddresses[1];

    // Order kept: the new one stands in the old one's place.
    GaPosition pos = Lists().GetFirstItemPos(GASM_ANY, nullptr, false);
    EXPECT_EQ(Lists().GetNextItem(pos, GASM_ANY, nullptr, false), arrAddresses[0]);
    GaPosition posNew = pos;
    EXPECT_EQ(Lists().GetNextItem(pos, GASM_ANY, nullptr, false), pNew);
    Lists().RemoveAt(posNew, false);
    EXPECT_EQ(Lists().GetCount(false), 2);
    delete pNew;

    CGroupDataAddress outside;
    Lists().ReplaceItem(&outside, arrAddresses[0]);
    Lists().ReplaceItem(nullptr, arrAddresses[0]);
    EXPECT_EQ(Lists().GetCount(false), 2);
}

TEST_F(GroupDataAddressesTest, CleanUpTrimsToTheUnusedAddresses)
{
    Lists().SetUnlimited(true);
    std::vector<CGroupDataAddress*> arrAddresses = Fill(252, false, GAU_QUANTITY_MEMBER);
    arrAddresses[100]->RemoveUse(GAU_QUANTITY_MEMBER);
    Lists().SetUnlimited(false);
    m_capture.Clear();

    Lists().CleanUpGroupAddresses();
    EXPECT_EQ(Lists().GetCount(false), 251);
    EXPECT_FALSE(Lists().IsInList(arrAddresses[100]));
    EXPECT_EQ(m_capture.TextOf(0), "CleanUpGroupAddresses");
    EXPECT_EQ(m_capture.TextOf(1), "... List of valid group addresses contains 252 elements");
    EXPECT_EQ(m_capture.TextOf(2), "... ... Removing group address:");
    EXPECT_EQ(m_capture.TextOf(3), "... ... ... name = GA100");
    EXPECT_EQ(m_capture.TextOf(4), "... ... ... address = 01/00/0100");
    EXPECT_EQ(m_capture.TextOf(5), "... ... ... subgroup id = 200");
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_INFO, "... List of invalid group addresses contains 0 elements"));
    // Used addresses are never removed.
    EXPECT_EQ(m_capture.CountLevel(LOG_LEVEL_ERROR), 0);
}

TEST_F(GroupDataAddressesTest, DeleteUnusedInvalidKeepsUsedOnes)
{
    std::vector<CGroupDataAddress*> arrAddresses = Fill(3, true);
    arrAddresses[1]->AddUse(GAU_QUANTITY_TRIGGER);
    Fill(2);
    Lists().DeleteUnusedInvalid();
    EXPECT_EQ(Lists().GetCount(true), 1);
    EXPECT_TRUE(Lists().IsInList(arrAddresses[1]));
    EXPECT_EQ(Lists().GetCount(false), 2);
}

TEST_F(GroupDataAddressesTest, BorrowingListsLeaveTheirAddressesAlone)
{
    CGroupDataAddress address;
    {
        CGroupDataAddresses borrowed(false);
        EXPECT_TRUE(borrowed.AddGroupAddress(&address, false));
        borrowed.DeleteUnusedInvalid();
    }
    EXPECT_EQ(address.GetName(), "");
}

// ------------------------------------------------------------ lookups

TEST_F(GroupDataAddressesTest, LookupsByReferenceAddressAndObjectNumber)
{
    std::vector<CGroupDataAddress*> arrValid = Fill(3);
    std::vector<CGroupDataAddress*> arrInvalid = Fill(2, true);
    arrValid[0]->SetReference(-1);
    arrValid[2]->SetReference(-1);
    arrValid[1]->SetObjectNumber(4);
    arrInvalid[1]->SetObjectNumber(9);

    EXPECT_EQ(Lists().FindByReference(-1, false), arrValid[0]);
    EXPECT_EQ(Lists().FindByReference(100, true), arrInvalid[0]);
    EXPECT_EQ(Lists().FindByReference(100, false), nullptr);

    // Addresses without number have -1, yet -1 finds none.
    EXPECT_EQ(Lists().FindByObjectNumber(-1, true), nullptr);
    EXPECT_EQ(Lists().FindByObjectNumber(4, false), arrValid[1]);
    EXPECT_EQ(Lists().FindByObjectNumber(9, false), nullptr);
    EXPECT_EQ(Lists().FindByObjectNumber(9, true), arrInvalid[1]);

    m_capture.Clear();
    EXPECT_EQ(Lists().GetReferenceFromAddress(0x1001, false), arrValid[1]);
    EXPECT_EQ(m_capture.TextOf(0), "CGroupDataAddresses::GetReferenceFromAddress: checking address= 01/00/0001");
    char szFound[128];
    std::snprintf(szFound, sizeof szFound,
                  "CGroupDataAddresses::GetReferenceFromAddress: .. found address, return ref=%p, Name= GA1",
                  static_cast<void*>(arrValid[1]));
    EXPECT_EQ(m_capture.TextOf(1), szFound);
    EXPECT_EQ(Lists().GetReferenceFromAddress(0x1005, true), nullptr);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_TRACE,
                              "CGroupDataAddresses::GetReferenceFromAddress: .. adress does not exist, return NULL"));
}

TEST_F(GroupDataAddressesTest, RepeatedLookupsFollowEveryChangeOfKeysAndLists)
{
    // Enough lookups that the lists answer from their index, between the
    // changes that must make it stale.
    const auto findMany = [this](LONG nReference, SHORT nNumber) {
        CGroupDataAddress* pByReference = nullptr;
        CGroupDataAddress* pByNumber = nullptr;
        for (int i = 0; i < 20; ++i) {
            pByReference = Lists().FindByReference(nReference, false);
            pByNumber = Lists().FindByObjectNumber(nNumber, true);
        }
        return std::make_pair(pByReference, pByNumber);
    };
    std::vector<CGroupDataAddress*> arrValid = Fill(30);
    std::vector<CGroupDataAddress*> arrInvalid = Fill(5, true);
    for (int i = 0; i < 30; ++i)
        arrValid[i]->SetObjectNumber(static_cast<SHORT>(i));
    arrInvalid[3]->SetObjectNumber(77);
    EXPECT_EQ(findMany(105, 7), std::make_pair(arrValid[5], arrValid[7]));
    EXPECT_EQ(findMany(999, 77), std::make_pair(static_cast<CGroupDataAddress*>(nullptr), arrInvalid[3]));

    // Equal keys: the first in list order.
    arrValid[20]->SetReference(105);
    arrValid[3]->SetObjectNumber(7);
    EXPECT_EQ(findMany(105, 7), std::make_pair(arrValid[5], arrValid[3]));
    arrValid[5]->SetReference(500);
    arrValid[3]->SetObjectNumber(-1);
    EXPECT_EQ(findMany(105, 7), std::make_pair(arrValid[20], arrValid[7]));
    EXPECT_EQ(findMany(500, 3), std::make_pair(arrValid[5], static_cast<CGroupDataAddress*>(nullptr)));

    // Another address's key copied over, a removal, a replacement.
    arrValid[1]->CopyFrom(*arrValid[20]);
    EXPECT_EQ(findMany(105, 1), std::make_pair(arrValid[1], arrValid[1]));
    ASSERT_TRUE(Lists().Remove(arrValid[1], true));
    EXPECT_EQ(findMany(105, 1), std::make_pair(arrValid[20], static_cast<CGroupDataAddress*>(nullptr)));
    EXPECT_FALSE(Lists().IsInList(arrValid[1]));
    Lists().ReplaceItem(arrValid[20], arrValid[1]);
    EXPECT_EQ(findMany(105, 1), std::make_pair(arrValid[1], arrValid[1]));
    EXPECT_TRUE(Lists().IsInList(arrValid[1]));
    EXPECT_FALSE(Lists().IsInList(arrValid[20]));
    delete arrValid[20];

    // A new address at the end of the list.
    CGroupDataAddress* pNew = Lists().CreateGroupAddress(false);
    ASSERT_NE(pNew, nullptr);
    pNew->SetReference(4242);
    EXPECT_EQ(findMany(4242, 1).first, pNew);
}

// ------------------------------------------------------------ iteration and the association limit

TEST_F(GroupDataAddressesTest, BelowTheLimitEveryKindSeesEverything)
{
    std::vector<CGroupDataAddress*> arrValid = Fill(3);
    Fill(2, true);
    m_chronoset.m_nAssociationCount = 249;
    for (int nMask : {1, 2, 0x40, 0x80, 511})
        EXPECT_EQ(Walk(nMask, nullptr, false), arrValid) << nMask;
    EXPECT_EQ(Walk(0x80, nullptr, true).size(), 2u);
}

TEST_F(GroupDataAddressesTest, AtTheLimitTriggerChoosersOfferNothing)
{
    Fill(3);
    m_chronoset.m_nAssociationCount = 250;
    for (int nMask : {GASM_QUANTITY_TRIGGER, GASM_DAYROUTINE_TRIGGER}) {
        m_capture.Clear();
        EXPECT_FALSE(Lists().GetFirstItemPos(nMask, nullptr, false)) << nMask;
        EXPECT_TRUE(m_capture.Has(
            LOG_LEVEL_TRACE, "CGroupDataAddresses: GetFirstItemPos: no more group addresses allowed (return NULL)"));
    }
    // Without the rule, or for any kind, nothing is filtered.
    EXPECT_EQ(Walk(GASM_QUANTITY_TRIGGER | GASM_NO_LIMIT, nullptr, false).size(), 3u);
    EXPECT_EQ(Walk(GASM_ANY, nullptr, false).size(), 3u);
    EXPECT_EQ(Walk(0x10, nullptr, false).size(), 3u);
}

TEST_F(GroupDataAddressesTest, AtTheLimitSwitchTimeAndMemberChoosersOfferOnlyAddressesWithAnObject)
{
    std::vector<CGroupDataAddress*> arrValid = Fill(4);
    std::vector<CGroupDataAddress*> arrInvalid = Fill(1, true);
    arrInvalid[0]->SetObjectNumber(9);
    arrValid[1]->SetObjectNumber(3);
    arrValid[3]->SetObjectNumber(255);
    arrValid[2]->SetObjectNumber(256);  // no object number
    m_chronoset.m_nAssociationCount = 250;

    const std::vector<CGroupDataAddress*> arrWithObject = {arrValid[1], arrValid[3]};
    EXPECT_EQ(Walk(GASM_SWITCHTIME, nullptr, false), arrWithObject);
    // Only the valid list is walked, whatever was asked.
    EXPECT_EQ(Walk(GASM_QUANTITY_MEMBER, nullptr, true), arrWithObject);

    // The entry under edit holds an address used once: its association can
    // move, so every address is offered.
    CGroupDataAddress edited;
    edited.AddUse(GAU_SWITCHTIME);
    EXPECT_EQ(Walk(GASM_SWITCHTIME, &edited, false), arrValid);
    edited.AddUse(GAU_QUANTITY_MEMBER);
    EXPECT_EQ(Walk(GASM_SWITCHTIME, &edited, false), arrWithObject);
    EXPECT_EQ(Walk(GASM_SWITCHTIME | GASM_NO_LIMIT, &edited, false), arrValid);
}

TEST_F(GroupDataAddressesTest, IterationByUsage)
{
    std::vector<CGroupDataAddress*> arrValid = Fill(4);
    arrValid[1]->AddUse(GAU_SWITCHTIME);
    arrValid[2]->AddUse(GAU_QUANTITY_MEMBER);
    arrValid[3]->AddUse(GAU_SWITCHTIME | GAU_QUANTITY_TRIGGER);

    auto walk = [&](DWORD dwUsage) {
        std::vector<CGroupDataAddress*> arrResult;
        GaPosition pos = Lists().GetFirstPosByUsage(dwUsage, false);
        while (pos)
            arrResult.push_back(Lists().GetNextItemByUsage(pos, dwUsage, false));
        return arrResult;
    };
    EXPECT_EQ(walk(GAU_SWITCHTIME), (std::vector<CGroupDataAddress*> {arrValid[1], arrValid[3]}));
    EXPECT_EQ(walk(GAU_QUANTITY_MEMBER | GAU_QUANTITY_TRIGGER),
              (std::vector<CGroupDataAddress*> {arrValid[2], arrValid[3]}));
    EXPECT_EQ(walk(0), (std::vector<CGroupDataAddress*> {arrValid[0]}));
    EXPECT_FALSE(Lists().GetFirstPosByUsage(GAU_DAYROUTINE_TRIGGER, false));
    GaPosition none;
    EXPECT_EQ(Lists().GetNextItemByUsage(none, 0, false), nullptr);
}

TEST_F(GroupDataAddressesTest, IterationByTypeAndTheDayRoutineTriggerChoice)
{
    std::vector<CGroupDataAddress*> arrValid = Fill(5);
    arrValid[1]->SetType({9, 0});
    arrValid[2]->AddUse(GAU_SWITCHTIME);
    arrValid[4]->SetType({9, 0});

    auto walk = [&](LONG nType, int nMask) {
        std::vector<CGroupDataAddress*> arrResult;
        GaPosition pos = Lists().GetFirstPosByType(nType, nMask, nullptr, false);
        while (pos)
            arrResult.push_back(Lists().GetNextItemByType(pos, nType, nMask, nullptr, false));
        return arrResult;
    };
    EXPECT_EQ(walk(9, GASM_ANY), (std::vector<CGroupDataAddress*> {arrValid[1], arrValid[4]}));
    EXPECT_EQ(walk(1, GASM_SWITCHTIME), (std::vector<CGroupDataAddress*> {arrValid[0], arrValid[2], arrValid[3]}));
    // The day-routine editor's trigger choice: unused 1-bit addresses only.
    EXPECT_EQ(walk(1, 513), (std::vector<CGroupDataAddress*> {arrValid[0], arrValid[3]}));
    EXPECT_TRUE(walk(5, GASM_ANY).empty());

    m_chronoset.m_nAssociationCount = 250;
    EXPECT_EQ(walk(1, 513), (std::vector<CGroupDataAddress*> {arrValid[0], arrValid[3]}));
    EXPECT_TRUE(walk(1, GASM_DAYROUTINE_TRIGGER).empty());
}

// ------------------------------------------------------------ object numbering

TEST_F(GroupDataAddressesTest, NumberingGivesUsedAddressesNumbersAndOthersNone)
{
    std::vector<CGroupDataAddress*> arrValid = Fill(4);
    arrValid[0]->AddUse(GAU_SWITCHTIME);
    arrValid[1]->AddUse(GAU_QUANTITY_TRIGGER);  // the quantity's own trigger object
    arrValid[1]->SetObjectNumber(17);
    arrValid[2]->SetObjectNumber(18);            // unused, stale number
    arrValid[3]->AddUse(GAU_DAYROUTINE_TRIGGER);
    std::vector<CGroupDataAddress*> arrInvalid = Fill(1, true, GAU_QUANTITY_MEMBER);

    BYTE nNext = 2;
    DWORD nCount = 5;
    const std::vector<LONG> arrIds;
    EXPECT_EQ(Lists().AssignObjectTypes(nullptr, arrIds, nNext, nCount, false), 0);
    EXPECT_EQ(Lists().AssignObjectTypes(nullptr, arrIds, nNext, nCount, true), 0);
    EXPECT_EQ(arrValid[0]->GetObjectNumber(), 2);
    EXPECT_EQ(arrValid[1]->GetObjectNumber(), -1);
    EXPECT_EQ(arrValid[2]->GetObjectNumber(), -1);
    EXPECT_EQ(arrValid[3]->GetObjectNumber(), 3);
    EXPECT_EQ(arrInvalid[0]->GetObjectNumber(), 4);
    EXPECT_EQ(nNext, 5);
    EXPECT_EQ(nCount, 8u);
}

TEST_F(GroupDataAddressesTest, NumberingStopsAt250AndLeavesNoStaleNumbers)
{
    Lists().SetUnlimited(true);
    std::vector<CGroupDataAddress*> arrValid = Fill(252, false, GAU_SWITCHTIME);
    std::vector<CGroupDataAddress*> arrInvalid = Fill(1, true, GAU_SWITCHTIME);
    arrValid[250]->SetObjectNumber(12);
    arrValid[251]->SetObjectNumber(13);
    arrInvalid[0]->SetObjectNumber(14);

    BYTE nNext = 0;
    DWORD nCount = 0;
    const std::vector<LONG> arrIds;
    EXPECT_EQ(Lists().AssignObjectTypes(nullptr, arrIds, nNext, nCount, false), 0);
    EXPECT_EQ(Lists().AssignObjectTypes(nullptr, arrIds, nNext, nCount, true), 0);
    EXPECT_EQ(nNext, 250);
    EXPECT_EQ(nCount, 250u);
    EXPECT_EQ(arrValid[249]->GetObjectNumber(), 249);
    EXPECT_EQ(arrValid[250]->GetObjectNumber(), -1);
    EXPECT_EQ(arrValid[251]->GetObjectNumber(), -1);
    EXPECT_EQ(arrInvalid[0]->GetObjectNumber(), -1);
    EXPECT_EQ(Lists().FindByObjectNumber(12, true), arrValid[12]);
}

// ------------------------------------------------------------ data file

TEST_F(GroupDataAddressesTest, ArchiveRoundTripAndCountWords)
{
    std::vector<CGroupDataAddress*> arrValid = Fill(2);
    std::vector<CGroupDataAddress*> arrInvalid = Fill(1, true);
    arrInvalid[0]->SetName("X");

    CProgressInfo progress(0);
    CArchive ar;
    Lists().StoreToArchive(ar, &progress);
    const Bytes& bytes = ar.GetBuffer();
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 2);
    EXPECT_EQ(bytes[1], 0);
    // Count word, two records of 20 bytes (3-character names), count word,
    // one record of 18 bytes.
    ASSERT_EQ(bytes.size(), 2u + 2 * 20 + 2 + 18);
    EXPECT_EQ(bytes[42], 1);

    CSchemaGuard schema(ARCHIVE_SCHEMA_CURRENT);
    CChronoset loaded;
    CArchive in(bytes);
    loaded.GetGroupDataAddresses()->LoadFromArchive(in, &progress);
    EXPECT_TRUE(in.AtEnd());
    ASSERT_EQ(loaded.GetGroupDataAddresses()->GetCount(false), 2);
    ASSERT_EQ(loaded.GetGroupDataAddresses()->GetCount(true), 1);
    CGroupDataAddress* pLoaded = loaded.GetGroupDataAddresses()->FindByReference(101, false);
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->GetName(), "GA1");
    EXPECT_EQ(pLoaded->GetAddress(), 0x1001);
    EXPECT_EQ(pLoaded->GetOwner(), loaded.GetGroupDataAddresses());
    EXPECT_TRUE(loaded.GetGroupDataAddresses()->FindByReference(100, true)->IsInvalid());

    // Storing leaves a loading archive alone and the other way round.
    CArchive wrong(bytes);
    Lists().StoreToArchive(wrong, &progress);
    EXPECT_EQ(wrong.GetPosition(), 0u);
}

TEST_F(GroupDataAddressesTest, ArchiveBeforeSchema0x10005HasNoInvalidList)
{
    CArchive ar;
    ar << WORD {1};
    ar << std::string("Alt") << DWORD {0x0102} << WORD {1} << WORD {1} << WORD {0xFFFF};
    ar << DWORD {0xCAFEBABE};  // whatever follows the group addresses
    CSchemaGuard schema(0x10003);
    CArchive in(ar.GetBuffer());
    Lists().LoadFromArchive(in, nullptr);
    EXPECT_EQ(Lists().GetCount(false), 1);
    EXPECT_EQ(Lists().GetCount(true), 0);
    CGroupDataAddress* pAddress = Lists().FindByReference(-1, false);
    ASSERT_NE(pAddress, nullptr);
    EXPECT_EQ(pAddress->GetName(), "Alt");
    EXPECT_FALSE(pAddress->IsInvalid());
    DWORD dwNext = 0;
    in >> dwNext;
    EXPECT_EQ(dwNext, 0xCAFEBABEu);
}

TEST_F(GroupDataAddressesTest, ArchiveSurplusRecordsAreReadPastInStep)
{
    CArchive ar;
    ar << WORD {252};
    for (int i = 0; i < 252; ++i)
        ar << std::string("V") << DWORD(i) << WORD {1} << WORD {1} << WORD {0xFFFF} << DWORD(i) << WORD {0};
    ar << WORD {1};
    // A record of the valid list whose flag says invalid: the list decides.
    ar << std::string("I") << DWORD {0x0505} << WORD {1} << WORD {1} << WORD {0xFFFF} << DWORD {7} << WORD {0};

    CSchemaGuard schema(ARCHIVE_SCHEMA_CURRENT);
    CArchive in(ar.GetBuffer());
    Lists().LoadFromArchive(in, nullptr);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(Lists().GetCount(false), 250);
    EXPECT_EQ(Lists().GetCount(true), 1);
    EXPECT_EQ(Lists().FindByReference(250, false), nullptr);
    CGroupDataAddress* pInvalid = Lists().FindByReference(7, true);
    ASSERT_NE(pInvalid, nullptr);
    EXPECT_TRUE(pInvalid->IsInvalid());
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_WARNING, "2 group addresses beyond the capacity of the valid list skipped"));
}

TEST_F(GroupDataAddressesTest, ArchiveProgressFillsEachListTo250)
{
    Fill(3);
    CProgressInfo progress(0);
    progress.SetRange(0, 10000);
    CArchive ar;
    Lists().StoreToArchive(ar, &progress);
    // Per list: the count word, one per record, the slots left.
    EXPECT_EQ(progress.GetPosition(), 2u * 251);
}

// ------------------------------------------------------------ text export and report

TEST_F(GroupDataAddressesTest, ExportListsTheValidAddressesWithUsageColumns)
{
    std::vector<CGroupDataAddress*> arrValid = Fill(2);
    arrValid[1]->AddUse(GAU_QUANTITY_TRIGGER);
    Fill(1, true);
    std::string strFile;
    Lists().ExportCsv(nullptr, strFile);
    EXPECT_EQ(strFile,
              "\"Gruppenadressen\"\n"
              "\"Gruppenadresse\",\"Nr\",\"Typ\",\"TA\",\"SZ\",\"MA\",\"MM\"\n"
              "\"GA0\",\"01/00/0000\",\"1 Bit\",,,,\n"
              "\"GA1\",\"01/00/0001\",\"1 Bit\",,,\"X\",\n");
}

TEST_F(GroupDataAddressesTest, ReportSectionOfTheValidList)
{
    std::vector<CGroupDataAddress*> arrValid = Fill(2);
    arrValid[0]->SetType({9, 0});
    arrValid[0]->AddUse(GAU_DAYROUTINE_TRIGGER | GAU_QUANTITY_MEMBER);
    Fill(1, true);

    CFakeReportDC dc;
    CParamReport report;
    report.CreateFonts(dc);
    report.CreateBody();
    Lists().AddReport(&report, &dc, 19000);

    CReportGroup* pBody = report.GetBodyGroup();
    // Title, gap, headings, gap, two rows.
    ASSERT_EQ(pBody->GetCount(), 6);
    auto text = [&](int nLine, int nCell) {
        return dynamic_cast<CReportCellLabel*>(pBody->GetAt(nLine)->GetCell(nCell))->GetText();
    };
    EXPECT_EQ(text(0, 0), "Gruppenadressen");
    ASSERT_EQ(pBody->GetAt(2)->GetCellCount(), 7);
    EXPECT_EQ(text(2, 0), "Gruppenadresse");
    EXPECT_EQ(text(2, 6), "MM");
    EXPECT_EQ(pBody->GetAt(2)->GetFlags(), RLF_BORDER_BOTTOM);
    ASSERT_EQ(pBody->GetAt(4)->GetCellCount(), 7);
    EXPECT_EQ(text(4, 0), "GA0");
    EXPECT_EQ(text(4, 1), "01/00/0000");
    EXPECT_EQ(text(4, 2), GetDptTypeName(9));
    EXPECT_EQ(text(4, 3), "X");
    EXPECT_EQ(text(4, 4), "");
    EXPECT_EQ(text(4, 5), "");
    EXPECT_EQ(text(4, 6), "X");
    EXPECT_EQ(text(5, 0), "GA1");
    EXPECT_EQ(dynamic_cast<CReportCellLabel*>(pBody->GetAt(2)->GetCell(0))->GetX(), 500);
}

// ------------------------------------------------------------ writing into the host

namespace {

using platform::host::CHostState;
using platform::host::HostFault;
using platform::host::HostParameter;

// Device parameters of the host stand-in, entered in the device-parameter
// map as a host scan would.
class GroupAddressHostTest : public GroupDataAddressesTest {
protected:
    void TearDown() override { g_mapDeviceParameters.RemoveAll(); }

    std::shared_ptr<HostParameter> AddParameter(LONG nId, platform::host::HostValue value)
    {
        auto pNode = std::make_shared<HostParameter>();
        pNode->nId = nId;
        pNode->value = std::move(value);
        IEtsDeviceParameter* pView = nullptr;
        EXPECT_EQ(platform::host::CreateParameterView(m_pState, pNode, &pView), S_OK);
        g_mapDeviceParameters.SetAt(nId, pView);
        pView->Release();
        m_mapNodes[nId] = pNode;
        return pNode;
    }
    std::string TextOf(LONG nId) { return std::get<std::string>(m_mapNodes.at(nId)->value); }
    LONG NumberOf(LONG nId) { return std::get<LONG>(m_mapNodes.at(nId)->value); }
    int Calls(const std::string& strCall)
    {
        return static_cast<int>(std::count(m_pState->m_callLog.begin(), m_pState->m_callLog.end(), strCall));
    }

    std::shared_ptr<CHostState> m_pState = std::make_shared<CHostState>();
    std::map<LONG, std::shared_ptr<HostParameter>> m_mapNodes;
    CEtsDataAccess m_access;
};

}  // namespace

TEST_F(GroupAddressHostTest, TwoRecordsPerParameterAndEmptyParametersBeyond)
{
    std::vector<CGroupDataAddress*> arrValid = Fill(3);
    arrValid[0]->SetName("Küche");
    arrValid[1]->SetReference(-1);
    for (LONG nId : {11, 12, 13})
        Lists().AddGroupAddressParameter(nId, "old", nId - 11);
    Lists().AddInvalidGroupAddressParameter(21, "old", 0);
    for (LONG nId : {11, 12, 13, 21})
        AddParameter(nId, std::string("old"));

    CProgressInfo progress(0);
    progress.SetRange(0, 1000);
    EXPECT_EQ(Lists().SaveGroupAddressesToEts(&progress, &m_access), 0);
    // The host holds characters: the name's Windows-1252 byte arrives as "ü".
    EXPECT_EQ(TextOf(11), "006400000001000105Küche" "ffffffff0001000103GA1");
    EXPECT_EQ(TextOf(12), "006600000001000103GA2");
    EXPECT_EQ(TextOf(13), "");
    EXPECT_EQ(TextOf(21), "");
    EXPECT_EQ(progress.GetPosition(), 4u);

    // What was written reads back the same.
    CChronoset loaded;
    loaded.GetGroupDataAddresses()->AddGroupAddressParameter(11, TextOf(11), 0);
    loaded.GetGroupDataAddresses()->AddGroupAddressParameter(12, TextOf(12), 1);
    loaded.GetGroupDataAddresses()->AddInvalidGroupAddressParameter(21, TextOf(21), 0);
    EXPECT_EQ(loaded.GetGroupDataAddresses()->LoadGroupAddressesFromEts(nullptr, &m_access), 0);
    EXPECT_EQ(loaded.GetGroupDataAddresses()->GetCount(false), 3);
    EXPECT_EQ(loaded.GetGroupDataAddresses()->FindByReference(100, false)->GetName(), "Küche");
}

TEST_F(GroupAddressHostTest, ParametersBoundHowManyAddressesAreSaved)
{
    Fill(250);
    for (int i = 0; i < 125; ++i) {
        Lists().AddGroupAddressParameter(1000 + i, "", i);
        AddParameter(1000 + i, std::string());
    }
    Lists().AddInvalidGroupAddressParameter(21, "", 0);
    AddParameter(21, std::string());
    EXPECT_EQ(Lists().SaveGroupAddressesToEts(nullptr, &m_access), 0);
    EXPECT_EQ(TextOf(1124), "015c00000001000105GA248" "015d00000001000105GA249");

    // With 100 parameters only the first 200 addresses find a place.
    CChronoset fewer;
    CGroupDataAddresses& lists = *fewer.GetGroupDataAddresses();
    GaPosition pos = Lists().GetFirstItemPos(GASM_ANY, nullptr, false);
    while (pos) {
        CGroupDataAddress* pSource = Lists().GetNextItem(pos, GASM_ANY, nullptr, false);
        lists.CreateGroupAddress(false)->CopyFrom(*pSource);
    }
    for (int i = 0; i < 100; ++i)
        lists.AddGroupAddressParameter(1000 + i, "", i);
    lists.AddInvalidGroupAddressParameter(21, "", 0);
    EXPECT_EQ(lists.SaveGroupAddressesToEts(nullptr, &m_access), 0);
    EXPECT_EQ(TextOf(1099), "012a00000001000105GA198" "012b00000001000105GA199");
}

TEST_F(GroupAddressHostTest, SaveFailures)
{
    Fill(1);
    Lists().AddInvalidGroupAddressParameter(21, "", 0);
    AddParameter(21, std::string("x"));
    // No "GroupAddress" parameter at all.
    EXPECT_EQ(Lists().SaveGroupAddressesToEts(nullptr, &m_access), 5);
    EXPECT_EQ(TextOf(21), "x");

    // A gap in the indexes.
    Lists().AddGroupAddressParameter(12, "", 1);
    AddParameter(12, std::string("y"));
    m_capture.Clear();
    EXPECT_EQ(Lists().SaveGroupAddressesToEts(nullptr, &m_access), 5);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "internal data error"));

    // The host refuses the value.
    Lists().AddGroupAddressParameter(11, "", 0);
    AddParameter(11, std::string("z"));
    m_pState->m_faults.push_back(HostFault {"DeviceParameter:12", "put_Value", E_FAIL, 0, 0});
    m_capture.Clear();
    EXPECT_EQ(Lists().SaveGroupAddressesToEts(nullptr, &m_access), 5);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "failed to set group address parameter"));
    EXPECT_EQ(TextOf(11), "006400000001000103GA0");
    EXPECT_EQ(TextOf(21), "x");  // the invalid list is not reached
}

TEST_F(GroupAddressHostTest, NumberingWritesTheObjectTypes)
{
    std::vector<CGroupDataAddress*> arrValid = Fill(3, false, GAU_SWITCHTIME);
    arrValid[1]->SetType({9, 0});
    arrValid[2]->RemoveUse(GAU_SWITCHTIME);
    std::vector<LONG> arrIds;
    for (int i = 0; i < 250; ++i)
        arrIds.push_back(2000 + i);
    for (LONG nId : {2004, 2005, 2006})
        AddParameter(nId, LONG {0});

    BYTE nNext = 4;
    DWORD nCount = 0;
    EXPECT_EQ(Lists().AssignObjectTypes(&m_access, arrIds, nNext, nCount, false), 0);
    EXPECT_EQ(NumberOf(2004), 1);
    EXPECT_EQ(NumberOf(2005), 9);
    EXPECT_EQ(NumberOf(2006), 0);  // unused: no object, nothing written
    EXPECT_EQ(nNext, 6);

    // A number without its "ObjectType" parameter fails.
    Fill(1, true, GAU_QUANTITY_MEMBER);
    m_capture.Clear();
    nNext = 7;
    EXPECT_EQ(Lists().AssignObjectTypes(&m_access, arrIds, nNext, nCount, true), 5);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "failed to set objecttype parameter"));
}

TEST_F(GroupAddressHostTest, UpdateWritesOnlyChangedTypesOfKeptObjects)
{
    std::vector<CGroupDataAddress*> arrValid = Fill(4, false, GAU_SWITCHTIME);
    arrValid[1]->SetType({9, 0});
    arrValid[2]->SetType({5, 1});
    arrValid[3]->SetType({7, 1});
    std::vector<LONG> arrIds;
    for (int i = 0; i < 250; ++i)
        arrIds.push_back(3000 + i);
    AddParameter(3000, LONG {1});  // same type, listed: left alone
    AddParameter(3001, LONG {1});  // listed, type changed
    AddParameter(3002, LONG {5});  // listed, value unreadable
    AddParameter(3003, LONG {0});  // not listed

    CObjectLinkTable oldLinks;
    for (LONG nTypeId : {3000, 3001, 3002, 3100}) {
        auto pLink = std::make_unique<CObjectLink>(WORD {0});
        pLink->m_nObjectTypeId = nTypeId;
        oldLinks.Add(nTypeId + 50000, std::move(pLink));
    }
    m_pState->m_faults.push_back(HostFault {"DeviceParameter:3002", "get_Value", E_FAIL, 0, 0});

    BYTE nNext = 0;
    DWORD nCount = 0;
    EXPECT_EQ(Lists().UpdateObjectTypes(&m_access, arrIds, nNext, nCount, false, &oldLinks), 0);
    EXPECT_EQ(Calls("DeviceParameter:3000.put_Value"), 0);
    EXPECT_EQ(Calls("DeviceParameter:3000.get_Value"), 1);
    EXPECT_EQ(NumberOf(3001), 9);
    EXPECT_EQ(NumberOf(3002), 5);
    EXPECT_EQ(Calls("DeviceParameter:3002.put_Value"), 1);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "Couldnt get parameter value."));
    EXPECT_EQ(NumberOf(3003), 7);
    EXPECT_EQ(Calls("DeviceParameter:3003.get_Value"), 0);
    // Listed objects that stay in use are kept; the others stay removed.
    EXPECT_EQ(oldLinks.GetLink(0)->m_nRemoved, 0);
    EXPECT_EQ(oldLinks.GetLink(1)->m_nRemoved, 0);
    EXPECT_EQ(oldLinks.GetLink(2)->m_nRemoved, 0);
    EXPECT_EQ(oldLinks.GetLink(3)->m_nRemoved, 1);
    EXPECT_EQ(nCount, 4u);

    // A listed parameter missing from the map is reported and written.
    auto pLink = std::make_unique<CObjectLink>(WORD {4});
    pLink->m_nObjectTypeId = 3004;
    oldLinks.Add(1, std::move(pLink));
    Fill(1, false, GAU_SWITCHTIME);
    m_capture.Clear();
    EXPECT_EQ(Lists().UpdateObjectTypes(&m_access, arrIds, nNext, nCount, false, &oldLinks), 5);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "Parameter with id 3004 doesnt exist."));
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "failed to set objecttype parameter"));
}
