#include "access/DownloadProcedure.h"
#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "access/ObjectLinkTable.h"
#include "model/Quantities.h"
#include "common/ProgressInfo.h"
#include "platform/host/HostObjects.h"
#include "platform/host/HostState.h"
#include "report/ParamReport.h"
#include "report/ParamReportLine.h"
#include "report/ReportCellLabel.h"
#include "tests/model/QuantityTestSupport.h"
#include "tests/report/FakeReportDC.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

using namespace quantitytest;
using platform::host::CHostState;
using platform::host::HostFault;
using platform::host::HostParameter;

namespace {

// Quantities with the host's device parameters behind them: "Quantity" 100..,
// "QuantityDisplayName" 200..229, "QuantityLinks" 300..324, "QuantityMember"
// 400..424, "CacheData" 500, "ObjectType" 600..849.
class QuantitiesTest : public QuantityTestBase {
protected:
    void TearDown() override
    {
        g_mapDeviceParameters.RemoveAll();
        QuantityTestBase::TearDown();
    }

    void AddParameter(LONG nId, platform::host::HostValue value)
    {
        auto pNode = std::make_shared<HostParameter>();
        pNode->nId = nId;
        pNode->value = std::move(value);
        IEtsDeviceParameter* pView = nullptr;
        ASSERT_EQ(platform::host::CreateParameterView(m_pState, pNode, &pView), S_OK);
        g_mapDeviceParameters.SetAt(nId, pView);
        pView->Release();
        m_mapNodes[nId] = pNode;
    }
    std::string TextOf(LONG nId) { return std::get<std::string>(m_mapNodes.at(nId)->value); }
    LONG NumberOf(LONG nId) { return std::get<LONG>(m_mapNodes.at(nId)->value); }
    int Calls(const std::string& strCall)
    {
        return static_cast<int>(std::count(m_pState->m_callLog.begin(), m_pState->m_callLog.end(), strCall));
    }

    // The parameters of a complete device (quantity texts as given), entered
    // both in the data set and in the host.
    void AddHostParameters(CQuantities& quantities, const std::vector<std::string>& arrQuantityTexts,
                           const std::vector<std::string>& arrLinkTexts = {},
                           const std::vector<std::string>& arrMemberTexts = {}, int nDisplayNames = 30,
                           int nLinks = 25)
    {
        for (std::size_t i = 0; i < arrQuantityTexts.size(); ++i) {
            quantities.AddQuantityParameter(100 + static_cast<LONG>(i), arrQuantityTexts[i], static_cast<int>(i));
            AddParameter(100 + static_cast<LONG>(i), arrQuantityTexts[i]);
        }
        for (int i = 0; i < nDisplayNames; ++i) {
            const std::string strName = i < 30 ? m_arrNames[static_cast<std::size_t>(i)] : "";
            quantities.AddDisplayNameParameter(200 + i, strName, i);
            AddParameter(200 + i, strName);
        }
        for (int i = 0; i < nLinks; ++i) {
            const std::string strText =
                i < static_cast<int>(arrLinkTexts.size()) ? arrLinkTexts[static_cast<std::size_t>(i)] : "";
            quantities.AddLinksParameter(300 + i, strText, i);
            AddParameter(300 + i, strText);
        }
        for (int i = 0; i < 25; ++i) {
            const std::string strText =
                i < static_cast<int>(arrMemberTexts.size()) ? arrMemberTexts[static_cast<std::size_t>(i)] : "";
            quantities.AddMemberParameter(400 + i, strText, i);
            AddParameter(400 + i, strText);
        }
        quantities.SetCacheDataId(500);
        AddParameter(500, LONG {0});
    }

    std::vector<LONG> ObjectTypeIds()
    {
        std::vector<LONG> arrIds;
        for (LONG i = 0; i < 250; ++i)
            arrIds.push_back(600 + i);
        return arrIds;
    }

    std::vector<int> Numbers()
    {
        std::vector<int> arrNumbers;
        for (const CQuantity* pQuantity : Quantities().GetQuantityList())
            arrNumbers.push_back(pQuantity->GetNumber());
        return arrNumbers;
    }

    // Quantities 1..3 created, 1 and 2 deleted, a new one created: the list
    // holds 3, then 1.
    void MakeThreeThenOne()
    {
        for (int i = 0; i < 3; ++i)
            AddQuantity(1);
        for (int nNumber : {1, 2}) {
            CQuantity* pQuantity = Quantities().GetQuantity(nNumber);
            Quantities().DeleteQuantity(pQuantity);
            delete pQuantity;
        }
        AddQuantity(1);
        ASSERT_EQ(Numbers(), (std::vector<int> {3, 1}));
    }

    std::vector<std::string> m_arrNames = std::vector<std::string>(30);
    std::shared_ptr<CHostState> m_pState = std::make_shared<CHostState>();
    std::map<LONG, std::shared_ptr<HostParameter>> m_mapNodes;
    CEtsDataAccess m_access;
};

const std::string kQuantity3 = "03" "0009" "0000" "00" "0000" "00" "0000" "0000" "03" "0065" "0000" "00";
const std::string kQuantity1 = "01" "0001" "0001" "33" "0100" "01" "0000" "0100" "ff" "ffff" "ffff" "00";
const std::string kEmptyQuantity = "ff" + std::string(36, '0');

}  // namespace

// ------------------------------------------------------------ host load

TEST_F(QuantitiesTest, LoadNeedsAQuantityParameterAndStopsAtTheFirstEmptyText)
{
    EXPECT_EQ(Quantities().CompleteEtsLoad(nullptr), 5);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "failed to insert quantities"));

    CChronoset empty;
    AddHostParameters(*empty.GetQuantities(), {"", kQuantity1});
    EXPECT_EQ(empty.GetQuantities()->CompleteEtsLoad(nullptr), 0);
    EXPECT_EQ(empty.GetQuantities()->GetCount(), 0);

    // No link parameter at all.
    CChronoset noLinks;
    m_arrNames[0] = "Eins";
    AddHostParameters(*noLinks.GetQuantities(), {kQuantity1}, {}, {}, 30, 0);
    m_capture.Clear();
    EXPECT_EQ(noLinks.GetQuantities()->CompleteEtsLoad(nullptr), 5);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "invalid quantity link param count"));
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "failed to set group address links"));
}

TEST_F(QuantitiesTest, LoadsQuantitiesLinksAndMembersAndSavesThemBack)
{
    CGroupDataAddress* pFirst = AddAddress(0x1001, 9, 0, 0x64);
    CGroupDataAddress* pRequest = AddAddress(0x1002, 9, 0, 0x65);
    CGroupDataAddress* pInvalid = AddAddress(0x1003, 1, 1, 0x66, true);
    m_arrNames[0] = "Eins";
    m_arrNames[2] = "Drei";
    const std::string strLinks = "03006400000003006500000007006400000001006600000100ffffffffff" "010099000000";
    const std::string strMembers = "02" "0064" "0000" "00" "1a0c" "03" + std::string("ff") + std::string(16, '0') +
                                   "05" "0064" "0000" "00" "0000" "03" + "80" "0066" "0000" "01" "0100" "03";
    AddHostParameters(Quantities(), {kQuantity3 + kEmptyQuantity + kQuantity1, ""}, {strLinks}, {strMembers});

    CProgressInfo progress(0);
    progress.SetRange(0, 1000);
    ASSERT_EQ(Quantities().CompleteEtsLoad(&progress), 0);
    // One step per parameter of each family.
    EXPECT_EQ(progress.GetPosition(), 2u + 25u + 25u);
    EXPECT_EQ(Numbers(), (std::vector<int> {3, 1}));
    CQuantity* pThree = Quantities().GetQuantity(3);
    CQuantity* pOne = Quantities().GetQuantity(1);
    EXPECT_EQ(pThree->GetName(), "Drei");
    EXPECT_EQ(pThree->GetTriggers(), (CTriggerList {pFirst, pRequest}));
    EXPECT_EQ(pThree->GetRequestGroupAddress(), pRequest);
    EXPECT_EQ(pOne->GetTriggers(), (CTriggerList {pInvalid}));
    EXPECT_EQ(pOne->GetWarmStart(), 3);
    EXPECT_EQ(pOne->GetExponent(), 0xFF);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_INFO, "Groupaddress 153 linked to quantity 1 not found in GA list."));
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_WARNING, "quantitymember not assigned to quantity"));
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_DETAIL, "Loading QuantityMember 2 - not defined"));
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_DETAIL, "Loading QuantityMember 4 - defined"));
    ASSERT_EQ(pThree->GetMemberCount(), 1);
    EXPECT_EQ(pThree->GetMembers().front()->GetGroupAddress(), pFirst);
    ASSERT_EQ(pOne->GetMemberCount(), 1);
    EXPECT_EQ(pOne->GetMembers().front()->GetGroupAddress(), pInvalid);
    EXPECT_EQ(pOne->GetMembers().front()->GetRange(), 1);
    EXPECT_EQ(pFirst->GetUseCount(0x80 | 0x40), 2);

    // Written back: the same records, without the empty and stray ones.
    pThree->SetName("Drei neu");
    ASSERT_EQ(Quantities().SaveToEts(nullptr, &m_access), 0);
    EXPECT_EQ(TextOf(100), kQuantity3 + kQuantity1);
    EXPECT_EQ(TextOf(101), "");
    EXPECT_EQ(TextOf(202), "Drei neu");
    EXPECT_EQ(TextOf(300), "030064000000" "030065000000" "010066000001");
    EXPECT_EQ(TextOf(301), "");
    EXPECT_EQ(TextOf(400), "0200640000001a0c03" "80006600000101" "0003");
    EXPECT_EQ(Calls("DeviceParameter:201.put_Value"), 0);
}

TEST_F(QuantitiesTest, BadQuantityRecordsFailTheLoad)
{
    // A record whose number has no display name.
    AddHostParameters(Quantities(), {"1f" + kQuantity1.substr(2)});
    EXPECT_EQ(Quantities().CompleteEtsLoad(nullptr), 5);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "failed to set quantity displayname"));
    EXPECT_EQ(Quantities().GetCount(), 0);

    // One number twice.
    CChronoset twice;
    m_arrNames[0] = "Eins";
    AddHostParameters(*twice.GetQuantities(), {kQuantity1 + kQuantity1});
    EXPECT_EQ(twice.GetQuantities()->CompleteEtsLoad(nullptr), 5);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "quantity number 1 is used twice"));
    EXPECT_EQ(twice.GetQuantities()->GetCount(), 1);

    // A request address whose link is missing does not stay the request.
    CChronoset stray;
    m_arrNames[2] = "Drei";
    stray.GetGroupDataAddresses()->CreateGroupAddress(false)->SetReference(0x65);
    AddHostParameters(*stray.GetQuantities(), {kQuantity3});
    ASSERT_EQ(stray.GetQuantities()->CompleteEtsLoad(nullptr), 0);
    EXPECT_EQ(stray.GetQuantities()->GetQuantity(3)->GetRequestGroupAddress(), nullptr);
}

// ------------------------------------------------------------ host save

TEST_F(QuantitiesTest, SaveChecksTheParameterCounts)
{
    AddQuantity(1);
    for (int nNames : {29, 31}) {
        CChronoset other;
        other.GetQuantities()->CreateQuantity();
        AddHostParameters(*other.GetQuantities(), {""}, {}, {}, nNames);
        m_capture.Clear();
        EXPECT_EQ(other.GetQuantities()->SaveToEts(nullptr, &m_access), 5);
        EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "invalid quantity displayname parameter count"));
    }
    CChronoset fewLinks;
    fewLinks.GetQuantities()->CreateQuantity();
    AddHostParameters(*fewLinks.GetQuantities(), {""}, {}, {}, 30, 24);
    m_capture.Clear();
    EXPECT_EQ(fewLinks.GetQuantities()->SaveToEts(nullptr, &m_access), 5);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "invalid quantitylink parameter count"));

    // No "Quantity" parameter at all.
    EXPECT_EQ(Quantities().SaveToEts(nullptr, &m_access), 5);
}

TEST_F(QuantitiesTest, LinkAndMemberTextsHoldTenAndTwelveRecords)
{
    CQuantity* pQuantity = AddQuantity(1);
    for (int i = 0; i < 250; ++i)
        ASSERT_EQ(pQuantity->AddTriggerGroupAddress(AddAddress(0x1000 + i, 1, 1, i), false), 1);
    pQuantity->AddTriggerGroupAddress(AddAddress(0x2000, 1, 1, 0x7777, true), false);
    for (int i = 0; i < 13; ++i)
        AddMember(pQuantity, nullptr, static_cast<WORD>(i));
    AddHostParameters(Quantities(), {""});

    ASSERT_EQ(Quantities().SaveToEts(nullptr, &m_access), 0);
    EXPECT_EQ(TextOf(300).size(), 120u);
    EXPECT_EQ(TextOf(300).substr(0, 24), "010000000000" "010001000000");
    EXPECT_EQ(TextOf(324).size(), 120u);
    EXPECT_EQ(TextOf(324).substr(108), "0100f9000000");  // the 250th link
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_WARNING, "1 quantity trigger links did not fit"));
    EXPECT_EQ(TextOf(400).size(), 12u * 18u);
    EXPECT_EQ(TextOf(401), "00ffffffff000c0003");
}

TEST_F(QuantitiesTest, CreationOrderDecidesTheTextsAndTheNumberTheImageSlot)
{
    MakeThreeThenOne();
    CQuantity* pThree = Quantities().GetQuantity(3);
    CQuantity* pOne = Quantities().GetQuantity(1);
    pThree->AddTriggerGroupAddress(AddAddress(0x1001, 1, 1, 1), false);
    pOne->AddTriggerGroupAddress(AddAddress(0x1002, 1, 1, 2), false);
    AddHostParameters(Quantities(), {""});
    ASSERT_EQ(Quantities().SaveToEts(nullptr, &m_access), 0);
    EXPECT_EQ(TextOf(100).substr(0, 2), "03");
    EXPECT_EQ(TextOf(100).substr(38, 2), "01");
    EXPECT_EQ(TextOf(300), "030001000000" "010002000000");

    BYTE nNext = 0;
    DWORD nCount = 0;
    ASSERT_EQ(Quantities().AssignObjectTypes(nullptr, nullptr, nNext, nCount), 0);
    ASSERT_NE(Quantities().InitDownload(nullptr), 0);
    const BYTE* pImage = Quantities().GetQuantityImage();
    EXPECT_EQ(Hex(pImage, 2), "01 01");       // quantity 1: object 1, 1 bit
    EXPECT_EQ(Hex(pImage + 10, 2), "FF FF");  // quantity 2: none
    EXPECT_EQ(Hex(pImage + 20, 2), "00 01");  // quantity 3: object 0
    Quantities().ExitDownload();
    EXPECT_EQ(Quantities().GetQuantityImage(), nullptr);
}

// ------------------------------------------------------------ download images

TEST_F(QuantitiesTest, MemberBlockIsSortedWithTrace)
{
    CQuantity* pOne = AddQuantity(9, 0);
    CQuantity* pTwo = AddQuantity(9, 0);
    auto address = [&](LONG nRaw, SHORT nObject, bool bInvalid = false) {
        CGroupDataAddress* pAddress = AddAddress(nRaw, 9, 0, nRaw, bInvalid);
        pAddress->SetObjectNumber(nObject);
        return pAddress;
    };
    AddMember(pOne, address(0x1001, 5), 0x0001, 1);
    AddMember(pOne, nullptr, 0);
    AddMember(pOne, address(0x1002, 9, true), 0x0002);
    AddMember(pTwo, address(0x1003, 9), 0x0003);
    AddMember(pOne, address(0x1004, 7), 0x0004, 0, true);

    m_capture.Clear();
    ASSERT_NE(Quantities().InitDownload(nullptr), 0);
    const BYTE* pImage = Quantities().GetMemberImage();
    EXPECT_EQ(Hex(pImage, 20), "40 07 04 00 01 09 03 00 80 05 01 00 FF FF FF FF FF FF FF FF");
    EXPECT_EQ(std::count(pImage + 20, pImage + 1200, 0xFF), 1180);

    std::vector<std::string> arrTrace;
    for (std::size_t i = 0; i < m_capture.Lines().size(); ++i)
        if (m_capture.Lines()[i].nLevel == LOG_LEVEL_TRACE)
            arrTrace.push_back(m_capture.TextOf(i));
    const auto itStart = std::find(arrTrace.begin(), arrTrace.end(), "Quantitiy members after sorting for download:");
    ASSERT_NE(itStart, arrTrace.end());
    ASSERT_GE(arrTrace.end() - itStart, 301);
    EXPECT_EQ(itStart[1], "Member 000: Quantity: 01, Range: A, CO: 07");
    EXPECT_EQ(itStart[2], "Member 001: Quantity: 02, Range: A, CO: 09");
    EXPECT_EQ(itStart[3], "Member 002: Quantity: 01, Range: B, CO: 05");
    EXPECT_EQ(itStart[4], "Member 003: Quantity: 01, Range: A, CO: 09");
    EXPECT_EQ(itStart[5], "Member 004: Quantity: 01, Range: A, CO: none");
    EXPECT_EQ(itStart[6], "Member 005: NULL");
    EXPECT_EQ(itStart[300], "Member 299: NULL");
}

TEST_F(QuantitiesTest, ImagesGoIntoTheDownloadProcedure)
{
    CDownloadProcedure procedure;
    EXPECT_EQ(Quantities().Download(nullptr, &procedure), 5);
    EXPECT_EQ(Quantities().VerifyDownload(nullptr, nullptr), 5);

    CQuantity* pQuantity = AddQuantity(5);
    pQuantity->AddTriggerGroupAddress(AddAddress(0x1001, 5, 1, 1), false);
    pQuantity->SetTriggerObjectNumber(0);
    ASSERT_NE(Quantities().InitDownload(nullptr), 0);
    ASSERT_EQ(Quantities().Download(nullptr, &procedure), 0);
    std::vector<WORD> arrStarts;
    for (const CDownloadProcedure::Record& record : procedure.GetRecords()) {
        if (record[0] == CDownloadProcedure::OpWriteMemory)
            arrStarts.push_back(static_cast<WORD>((record[1] << 8) | record[2]));
    }
    ASSERT_EQ(arrStarts.size(), 30u + 120u);
    EXPECT_EQ(arrStarts.front(), 0x8090);
    EXPECT_EQ(arrStarts[30], 0x81D0);
    EXPECT_EQ(arrStarts.back(), 0x81D0 + 1190);
    const auto itFirst = std::find_if(procedure.GetRecords().begin(), procedure.GetRecords().end(),
                                      [](const auto& r) { return r[0] == CDownloadProcedure::OpWriteMemory; });
    EXPECT_EQ(Hex(itFirst->data() + 5, 3), "00 03 00");
}

TEST_F(QuantitiesTest, ImageRefusesANumberOutsideItsSlots)
{
    AddQuantity(1)->SetNumber(31);
    EXPECT_EQ(Quantities().InitDownload(nullptr), 0);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "invalid quantity number 31"));
}

// ------------------------------------------------------------ objects and associations

TEST_F(QuantitiesTest, NumberingSkipsQuantitiesWithoutTriggersAndWritesCacheData)
{
    CQuantity* pFirst = AddQuantity(9, 0);
    CQuantity* pEmpty = AddQuantity(1);
    CQuantity* pInvalidOnly = AddQuantity(1);
    pFirst->AddTriggerGroupAddress(AddAddress(0x1001, 9, 0, 1), true);
    pFirst->AddTriggerGroupAddress(AddAddress(0x1002, 9, 0, 2), false);
    pInvalidOnly->AddTriggerGroupAddress(AddAddress(0x1003, 1, 1, 3, true), false);
    pEmpty->SetTriggerObjectNumber(0);  // left from an earlier numbering

    BYTE nNext = 0;
    DWORD nCount = 0;
    ASSERT_EQ(Quantities().AssignObjectTypes(nullptr, nullptr, nNext, nCount), 0);
    EXPECT_EQ(pFirst->GetTriggerObjectNumber(), 0);
    EXPECT_EQ(pEmpty->GetTriggerObjectNumber(), 255);
    EXPECT_EQ(pInvalidOnly->GetTriggerObjectNumber(), 1);
    EXPECT_EQ(nNext, 2);
    EXPECT_EQ(nCount, 3u);
    EXPECT_EQ(Quantities().FindQuantity(0), pFirst);
    EXPECT_EQ(Quantities().FindQuantity(1), pInvalidOnly);
    EXPECT_EQ(Quantities().FindQuantity(255), nullptr);

    // With the host: object types and "CacheData".
    AddHostParameters(Quantities(), {""});
    const std::vector<LONG> arrIds = ObjectTypeIds();
    AddParameter(600, LONG {0});
    AddParameter(601, LONG {0});
    nNext = 0;
    ASSERT_EQ(Quantities().AssignObjectTypes(&m_access, &arrIds, nNext, nCount), 0);
    EXPECT_EQ(NumberOf(600), 9);
    EXPECT_EQ(NumberOf(601), 1);
    EXPECT_EQ(NumberOf(500), 2);

    // The update keeps the listed object and leaves an unchanged type alone.
    CObjectLinkTable oldLinks;
    auto pLink = std::make_unique<CObjectLink>(WORD {0});
    pLink->m_nObjectTypeId = 600;
    oldLinks.Add(7000, std::move(pLink));
    nNext = 0;
    const int nPuts = Calls("DeviceParameter:600.put_Value");
    ASSERT_EQ(Quantities().UpdateObjectTypes(&m_access, arrIds, nNext, nCount, &oldLinks), 0);
    EXPECT_EQ(Calls("DeviceParameter:600.put_Value"), nPuts);
    EXPECT_EQ(oldLinks.GetLink(0)->m_nRemoved, 0);

    m_pState->m_faults.push_back(HostFault {"DeviceParameter:500", "put_Value", E_FAIL, 0, 0});
    nNext = 0;
    EXPECT_EQ(Quantities().AssignObjectTypes(&m_access, &arrIds, nNext, nCount), 5);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "failed to save cache data"));
}

TEST_F(QuantitiesTest, AssociationWordsAndObjectWords)
{
    CQuantity* pFloat = AddQuantity(9, 0);
    CQuantity* pEmpty = AddQuantity(1);
    CQuantity* pInvalidOnly = AddQuantity(1);
    CGroupDataAddress* pRequest = AddAddress(0x1001, 9, 0, 1);
    CGroupDataAddress* pOther = AddAddress(0x1002, 9, 0, 2);
    pRequest->SetAddressTableIndex(3);
    pOther->SetAddressTableIndex(4);
    pFloat->AddTriggerGroupAddress(pRequest, true);
    pFloat->AddTriggerGroupAddress(AddAddress(0x1003, 9, 0, 3, true), false);
    pFloat->AddTriggerGroupAddress(pOther, false);
    pInvalidOnly->AddTriggerGroupAddress(AddAddress(0x1004, 1, 1, 4, true), false);
    pInvalidOnly->SetWarmStart(3);
    pInvalidOnly->SetColdStart(3);
    (void)pEmpty;

    BYTE nNext = 0;
    DWORD nCount = 0;
    ASSERT_EQ(Quantities().AssignObjectTypes(nullptr, nullptr, nNext, nCount), 0);
    std::vector<WORD> arrAddresses;
    std::vector<WORD> arrAssociations;
    std::vector<WORD> arrObjects;
    ASSERT_EQ(Quantities().BuildAssociations(arrAddresses, arrAssociations, arrObjects), 1);
    // One object word per numbered quantity, also for the one whose triggers
    // are all invalid: the table's index is the object number.
    EXPECT_EQ(arrObjects, (std::vector<WORD> {0xDF08, 0x5F00}));
    EXPECT_EQ(arrAssociations, (std::vector<WORD> {0x0300, 0x0400}));
    EXPECT_TRUE(arrAddresses.empty());

    // Triggers changed since the numbering: refused rather than misnumbered.
    pEmpty->AddTriggerGroupAddress(AddAddress(0x1005, 1, 1, 5), false);
    pEmpty->SetTriggerObjectNumber(7);
    arrObjects.clear();
    EXPECT_EQ(Quantities().BuildAssociations(arrAddresses, arrAssociations, arrObjects), 0);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "internal data error"));
}

TEST_F(QuantitiesTest, ObjectLinksOfTheTriggerObjects)
{
    CQuantity* pMapped = AddQuantity(1);
    CQuantity* pUnmapped = AddQuantity(1);
    CGroupDataAddress* pRequest = AddAddress(0x1001, 1, 1, 11);
    CGroupDataAddress* pOther = AddAddress(0x1002, 1, 1, 12);
    pMapped->AddTriggerGroupAddress(pOther, false);
    pMapped->AddTriggerGroupAddress(pRequest, true);
    pMapped->AddTriggerGroupAddress(AddAddress(0x1003, 1, 1, 13, true), false);
    pUnmapped->AddTriggerGroupAddress(pOther, false);
    BYTE nNext = 0;
    DWORD nCount = 0;
    Quantities().AssignObjectTypes(nullptr, nullptr, nNext, nCount);

    CObjectLinkTable links;
    DWORD nLinked = 0;
    EXPECT_EQ(Quantities().CollectObjectLinks(CObjectNumberMap {{0, 5000}}, nLinked, links), 0);
    EXPECT_EQ(nLinked, 3u);
    ASSERT_EQ(links.GetCount(), 1);
    EXPECT_EQ(links.GetObjectId(0), 5000);
    const CObjectLink* pLink = links.GetLink(0);
    EXPECT_EQ(pLink->m_nObjectNumber, 0);
    ASSERT_EQ(pLink->GetGroupAddressCount(), 2u);
    EXPECT_EQ(pLink->m_arrGroupAddresses[0].m_nReference, 11);  // the request first
    EXPECT_EQ(pLink->m_arrGroupAddresses[1].m_nReference, 12);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "Object for CO number not found: 1"));
}

TEST_F(QuantitiesTest, HostLinkFailureNamesTheQuantity)
{
    DWORD nLinked = 0;
    EXPECT_EQ(Quantities().LinkGroupAddresses(nullptr, &m_access, {}, nLinked), 0);
    CQuantity* pQuantity = AddQuantity(1);
    pQuantity->AddTriggerGroupAddress(AddAddress(0x1001, 1, 1, 11), true);
    pQuantity->SetTriggerObjectNumber(0);
    CObjectLinkTable associations;
    // No object 0 in the map: the link fails and names the quantity.
    EXPECT_EQ(Quantities().LinkGroupAddresses(nullptr, &m_access, {}, nLinked, associations), 5);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "failed to link request GA of quantity 1: Q1"));
    EXPECT_EQ(nLinked, 0u);
}

TEST_F(QuantitiesTest, QuestionsAboutTriggersAndMembers)
{
    CQuantity* pFirst = AddQuantity(1);
    CQuantity* pSecond = AddQuantity(1);
    CGroupDataAddress* pA = AddAddress(0x1001, 1, 1, 11);
    CGroupDataAddress* pB = AddAddress(0x1002, 1, 1, 12);
    CGroupDataAddress* pC = AddAddress(0x1003, 1, 1, 13);
    pFirst->SetTriggerObjectNumber(4);
    pSecond->SetTriggerObjectNumber(6);
    pFirst->AddTriggerGroupAddress(pC, false);
    pSecond->AddTriggerGroupAddress(pC, false);
    EXPECT_EQ(Quantities().GetTriggerObjectNumbers(pC), (std::vector<WORD> {4, 6}));
    EXPECT_TRUE(Quantities().GetTriggerObjectNumbers(pA).empty());
    EXPECT_TRUE(Quantities().IsTrigger(pC, nullptr));
    EXPECT_TRUE(Quantities().IsTrigger(pC, pSecond));
    EXPECT_FALSE(Quantities().IsTrigger(pA, nullptr));

    AddMember(pFirst, pA, 0, 0);
    AddMember(pFirst, pB, 0, 1);
    EXPECT_TRUE(Quantities().HaveNoCommonMemberRange(pA, pB));
    AddMember(pFirst, pB, 0, 0);
    EXPECT_FALSE(Quantities().HaveNoCommonMemberRange(pA, pB));
    EXPECT_TRUE(Quantities().HaveNoCommonMemberRange(pA, pC));
    EXPECT_TRUE(Quantities().HaveNoCommonMemberRange(pA, nullptr));
    AddMember(pSecond, pB, 0, 1);
    EXPECT_EQ(Quantities().CountMembersByReference(12), 3);
    EXPECT_EQ(Quantities().GetQuantity(0), nullptr);
    EXPECT_EQ(Quantities().GetQuantity(2), pSecond);

    CChronoset copy;
    AddHostParameters(Quantities(), {"x"});
    copy.GetQuantities()->CopyParameterObjects(Quantities());
    EXPECT_EQ(copy.GetQuantities()->GetCacheDataId(), 500);
    EXPECT_EQ(copy.GetQuantities()->GetQuantityParameters().at(0)->GetText(), "x");
    EXPECT_EQ(copy.GetQuantities()->GetLinksParameters().size(), 25u);

    for (int i = 0; i < 28; ++i)
        AddQuantity(1);
    EXPECT_EQ(Quantities().CreateQuantity(), nullptr);
}

// ------------------------------------------------------------ data file, export, report

namespace {

// The addresses both sides of an archive test have, in the same order.
void FillLists(CGroupDataAddresses& lists)
{
    const struct {
        LONG nRaw;
        int nType;
        LONG nReference;
        bool bInvalid;
    } kAddresses[] = {{0x1001, 9, 11, false}, {0x1002, 9, 12, false}, {0x1003, 9, 13, true}, {0x1004, 1, 14, false}};
    for (const auto& a : kAddresses) {
        CGroupDataAddress* pAddress = lists.CreateGroupAddress(a.bInvalid);
        pAddress->SetAddress(a.nRaw);
        pAddress->SetType({a.nType, 0});
        pAddress->SetReference(a.nReference);
    }
}

}  // namespace

TEST_F(QuantitiesTest, ArchiveRoundTripByteForByte)
{
    FillLists(Lists());
    MakeThreeThenOne();
    CQuantity* pThree = Quantities().GetQuantity(3);
    pThree->SetType({9, 0});
    pThree->SetName("Drei");
    pThree->SetRangeA(0x0BB8);
    pThree->SetInitValue(0x0C1A);
    pThree->AddTriggerGroupAddress(Lists().FindByReference(11, false), false);
    pThree->AddTriggerGroupAddress(Lists().FindByReference(13, true), false);
    pThree->AddTriggerGroupAddress(Lists().FindByReference(12, false), true);
    AddMember(pThree, Lists().FindByReference(14, false), 1, 1, true);
    AddMember(pThree, Lists().FindByReference(13, true), 0x0C1A);
    AddMember(Quantities().GetQuantity(1), nullptr, 0);
    BYTE nNext = 0;
    DWORD nCount = 0;
    Quantities().AssignObjectTypes(nullptr, nullptr, nNext, nCount);

    CArchive store;
    CProgressInfo progress(0);
    progress.SetRange(0, 100);
    Quantities().StoreToArchive(store, &progress);
    EXPECT_EQ(progress.GetPosition(), 30u);
    const Bytes& bytes = store.GetBuffer();
    // Count, then quantity 3 ("Drei", number, types, ranges).
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 19),
              (Bytes {0x02, 0x00, 0x00, 0x00, 0x04, 'D', 'r', 'e', 'i', 0x03, 0x00, 0x09, 0x00, 0x00, 0x00, 0xB8, 0x0B,
                      0x00, 0x00}));
    // The request address.
    EXPECT_EQ(Bytes(bytes.begin() + 19, bytes.begin() + 27), (Bytes {0x01, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00}));

    CChronoset loaded;
    FillLists(*loaded.GetGroupDataAddresses());
    CArchive load(bytes);
    loaded.GetQuantities()->LoadFromArchive(load, nullptr);
    EXPECT_TRUE(load.AtEnd());
    CQuantity* pLoaded = loaded.GetQuantities()->GetQuantity(3);
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->GetRequestGroupAddress(), loaded.GetGroupDataAddresses()->FindByReference(12, false));
    EXPECT_EQ(pLoaded->GetMembers().back()->GetGroupAddress(),
              loaded.GetGroupDataAddresses()->FindByReference(13, true));
    CArchive again;
    loaded.GetQuantities()->StoreToArchive(again, nullptr);
    EXPECT_EQ(again.GetBuffer(), bytes);
}

TEST_F(QuantitiesTest, ArchiveRefusesImpossibleFiles)
{
    auto refuses = [&](const Bytes& bytes) {
        CChronoset target;
        CArchive load(bytes);
        EXPECT_THROW(target.GetQuantities()->LoadFromArchive(load, nullptr), CArchiveException);
    };
    refuses({31, 0, 0, 0});

    AddQuantity(1);
    AddQuantity(1)->SetNumber(1);
    CArchive twice;
    Quantities().StoreToArchive(twice, nullptr);
    refuses(twice.GetBuffer());
    Quantities().GetQuantity(1)->SetNumber(0);
    CArchive zero;
    Quantities().StoreToArchive(zero, nullptr);
    refuses(zero.GetBuffer());
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "invalid quantity number 0"));

    // 300 members in one record; the same record twice exceeds them.
    CChronoset full;
    CQuantity* pFull = full.GetQuantities()->CreateQuantity();
    for (int i = 0; i < 300; ++i)
        pFull->CreateMember();
    CArchive one;
    full.GetQuantities()->StoreToArchive(one, nullptr);
    Bytes bytes = one.GetBuffer();
    bytes[0] = 2;
    bytes.insert(bytes.end(), one.GetBuffer().begin() + 4, one.GetBuffer().end());
    refuses(bytes);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "more than 300 quantity members"));
}

TEST_F(QuantitiesTest, ExportSectionAndReport)
{
    CQuantity* pQuantity = AddQuantity(1, 1, "Licht");
    pQuantity->SetRangeB(1);
    std::string strFile;
    CProgressInfo progress(0);
    progress.SetRange(0, 1000);
    Quantities().ExportCsv(&progress, strFile);
    EXPECT_EQ(strFile, "\"Mengen\"\n"
                       "\"Nr\",\"Name\",\"Typ\",\"Bereich A\",\"Bereich B\",\"Auslösung\",\"Warmstart\",\"Kaltstart\","
                       "\"Initwert\"\n"
                       "\"01\",\"Licht\",\"1 Bit\",\"bis 0\",\"ab 1\",\"A, B\",\"Bus\",\"Bus\",\"0\"\n");
    EXPECT_EQ(progress.GetPosition(), 1u + 30u + 30u + 300u);

    CFakeReportDC dc;
    CParamReport report;
    report.CreateFonts(dc);
    report.CreateBody();
    Quantities().AddReport(&report, &dc, 19000);
    CReportGroup* pBody = report.GetBodyGroup();
    ASSERT_EQ(pBody->GetCount(), 5);
    auto text = [&](int nLine, int nCell) {
        return dynamic_cast<CReportCellLabel*>(pBody->GetAt(nLine)->GetCell(nCell))->GetText();
    };
    EXPECT_EQ(text(0, 0), "Mengen");
    ASSERT_EQ(pBody->GetAt(2)->GetCellCount(), 9);
    EXPECT_EQ(text(2, 8), "Initwert");
    EXPECT_EQ(text(4, 0), "01");
    EXPECT_EQ(text(4, 3), "bis 0");
    EXPECT_EQ(text(4, 4), "ab 1");
    EXPECT_EQ(dynamic_cast<CReportCellLabel*>(pBody->GetAt(4)->GetCell(0))->GetX(), 500);
}
