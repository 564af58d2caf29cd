#include "HostTestSupport.h"

#include "access/AssociationVeto.h"
#include "access/EtsDataAccess.h"
#include "model/Utils.h"
#include "platform/com/ComBSTR.h"
#include "platform/com/ComObject.h"
#include "platform/com/ComVariant.h"

using apptest::Json;

namespace {

using apptest::kDevice;

// Project 1: main 1 (10) / middle 2 (11) / subs 3 (12) and 4 (13), a second
// middle group 5 (14) with two subs of address 7 (15, 16); main 17 (17) /
// middle 18 (18) / sub 300 (19). Project 2 holds main 1 (30) / middle 0 (31)
// / sub 1 (32). Device 1000 in line 1.2 at address 5, objects 0..3 (1001..).
Json TestProject()
{
    Json project = apptest::ProjectWithGroups({{10, 1, 11, 2, 12, 3},
                                               {10, 1, 11, 2, 13, 4},
                                               {10, 1, 14, 5, 15, 7},
                                               {10, 1, 14, 5, 16, 7},
                                               {17, 17, 18, 18, 19, 300}});
    Json device = apptest::Device(kDevice, 4, {{"Text", "alt"}, {"Zahl", 1}});
    device["line"] = Json {{"address", 2}, {"area", 1}};
    device["commObjects"][1]["associations"].push_back(Json {{"id", 500}, {"groupAddress", 12}, {"send", false}});
    project["projects"][0]["devices"].push_back(device);
    Json other = apptest::ProjectWithGroups({{30, 1, 31, 0, 32, 1}})["projects"][0];
    other["id"] = 2;
    project["projects"].push_back(other);
    return project;
}

class EtsDataAccessTest : public apptest::HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        Load(TestProject());
        Scan(kDevice);
        // The device's parameters and objects, as the host load enters them.
        CComPtr<IEtsDeviceParameters> pParameters;
        m_host.FindDevice(kDevice)->get_DeviceParameters(&pParameters);
        for (LONG i = 1; i <= 2; ++i) {
            CComPtr<IEtsDeviceParameter> pParameter;
            pParameters->Item(MakeIndexVariant(i), &pParameter);
            LONG nId = 0;
            GetObjectCookie(pParameter, nId);
            g_mapDeviceParameters.SetAt(nId, pParameter);
            m_parameterIds.push_back(nId);
        }
        for (int n = 0; n < 4; ++n)
            g_mapCommObjects.SetAt(kDevice + 1 + n, m_host.FindCommObject(kDevice, n));
        m_host.ClearLoggerLines();
    }

    Json Saved() { return Json::parse(m_host.SaveText()); }

    LONG AssociationCount(int nObject)
    {
        CComPtr<IEtsAssociations> pAssociations;
        m_host.FindCommObject(kDevice, nObject)->get_Associations(&pAssociations);
        LONG nCount = 0;
        pAssociations->get_Count(&nCount);
        return nCount;
    }

    CEtsDataAccess m_access;
    std::vector<LONG> m_parameterIds;
};

}  // namespace

TEST_F(EtsDataAccessTest, DeviceParametersAreWrittenByIdAsTextOrNumber)
{
    EXPECT_EQ(m_access.SetDeviceParameterValue(m_parameterIds[0], "neu"), 1);
    EXPECT_EQ(m_access.SetDeviceParameterLong(m_parameterIds[1], 42), 1);
    const Json parameters = Saved()["projects"][0]["devices"][0]["parameters"];
    EXPECT_EQ(parameters[0]["value"], "neu");
    EXPECT_EQ(parameters[1]["value"], 42);

    // An id the map does not hold.
    EXPECT_EQ(m_access.SetDeviceParameterValue(4711, "x"), 0);
    EXPECT_TRUE(Logged("Device Parameter with id: 4711 not found in the global map."));
    EXPECT_TRUE(Logged("Calling SetDeviceParameterValue hr=0x80004005"));

    m_host.AddFault("DeviceParameter", "put_Value", MakeHResult(0x80020005u));
    EXPECT_EQ(m_access.SetDeviceParameterLong(m_parameterIds[1], 7), 0);
    EXPECT_TRUE(Logged("Couldnt set value of device parameter hr=0x80020005"));
    EXPECT_TRUE(Logged("Calling SetDeviceParameterValue hr=0x80020005"));
}

TEST_F(EtsDataAccessTest, GroupAddressPartsOfTheCurrentProject)
{
    EXPECT_EQ(m_access.GetGroupAddressParts(12, 1), 0x1203);
    // Levels wider than their bits are cut.
    EXPECT_EQ(m_access.GetGroupAddressParts(19, 1), (1 << 12) | (2 << 8) | 0x2C);
    // Unknown: -1 without a line.
    EXPECT_EQ(m_access.GetGroupAddressParts(999, 1), -1);
    EXPECT_TRUE(m_host.GetLoggerLines().empty());
    // Another project: both ids in the line.
    EXPECT_EQ(m_access.GetGroupAddressParts(32, 1), -1);
    EXPECT_TRUE(Logged("group address in wrong project: 2, current: 1")) << LoggedLines();
}

TEST_F(EtsDataAccessTest, EveryFailedStepOfTheGroupAddressPartsIsLogged)
{
    const std::vector<std::pair<std::pair<const char*, const char*>, const char*>> cases = {
        {{"GroupAddress:12", "get_Parent"}, "Couldnt get parent of sub group. hr=0x80004005"},
        {{"MiddleGroup:11", "get_Parent"}, "Couldnt get parent of middle group. hr=0x80004005"},
        {{"MainGroup:10", "get_Address"}, "Couldnt get main group address. hr=0x80004005"},
        {{"MiddleGroup:11", "get_Address"}, "Couldnt get middle group address. hr=0x80004005"},
        {{"GroupAddress:12", "get_Address"}, "Couldnt get subgroup address. hr=0x80004005"},
        {{"MainGroup:10", "get_Project"}, "CEtsDataAccess::CompareProjectIds couldnt get project hr=0x80004005"},
        {{"Project:1", "GetPersistInfo"}, "CEtsDataAccess::CompareProjectIds couldnt get project cookie hr=0x80004005"},
    };
    for (const auto& [fault, pszLine] : cases) {
        m_host.AddFault(fault.first, fault.second, E_FAIL);
        EXPECT_EQ(m_access.GetGroupAddressParts(12, 1), -1) << pszLine;
        EXPECT_TRUE(Logged(pszLine)) << pszLine << "\n" << LoggedLines();
        m_host.ClearFaults();
    }
}

TEST_F(EtsDataAccessTest, AFailedLengthReadIsNeverTakenForOneBit)
{
    // Object 1 carries group address 12 and is 1 bit long (length 0).
    EXPECT_EQ(m_access.GetCommObjectLength(12), 0);
    EXPECT_EQ(m_access.GetCommObjectLength(13), -1);
    EXPECT_EQ(m_access.GetCommObjectLength(999), kCommObjectLengthFailed);
    m_host.AddFault("GroupAddress:12", "get_CommunicationObjectLength", E_FAIL);
    EXPECT_EQ(m_access.GetCommObjectLength(12), kCommObjectLengthFailed);
    EXPECT_FALSE(IsSupportedKnxValueType(kCommObjectLengthFailed));
    EXPECT_TRUE(Logged("hr=0x80004005"));
    EXPECT_EQ(m_access.GetGroupName(13), "GA 13");
    EXPECT_EQ(m_access.GetGroupName(999), "");
}

TEST_F(EtsDataAccessTest, CreatingAnAssociationSetsTheSendFlagUnderTheOwnChangeFlag)
{
    // The host asks the plug-in while it adds; the flag tells it the change
    // is the plug-in's own.
    class CEvents : public IEtsPlugInEvents, public CComObjectRoot {
    public:
        BEGIN_COM_MAP(CEvents)
        COM_INTERFACE_ENTRY(IEtsPlugInEvents)
        END_COM_MAP()
        HRESULT OnAddAssociation(IUnknown*) override
        {
            m_nFlag = g_bOwnAssociationChange;
            return S_OK;
        }
        HRESULT OnRemoveAssociation(IUnknown*) override { return S_OK; }
        HRESULT OnObjectChanged(IUnknown*, LONG, LONG) override { return S_OK; }
        HRESULT OnParameterChanged(IUnknown*, LONG, LONG) override { return S_OK; }
        int m_nFlag = -1;
    };
    CComObjectNoLock<CEvents>* pEvents = nullptr;
    CComObjectNoLock<CEvents>::CreateInstance(&pEvents);
    CComPtr<IEtsPlugInEvents> pHold(pEvents);
    m_host.SetPlugInEvents(pEvents);

    EXPECT_EQ(m_access.CreateAssociation(kDevice + 1, 13, TRUE, 1, 1, 1), 0);
    EXPECT_EQ(pEvents->m_nFlag, 1);
    EXPECT_EQ(g_bOwnAssociationChange, 0);
    const Json associations = Saved()["projects"][0]["devices"][0]["commObjects"][0]["associations"];
    ASSERT_EQ(associations.size(), 1u);
    EXPECT_EQ(associations[0]["groupAddress"], 13);
    EXPECT_EQ(associations[0]["send"], true);

    // The pair exists: the host's 0xC0040211 is no failure, the send flag is set.
    EXPECT_EQ(m_access.CreateAssociation(kDevice + 2, 12, TRUE, 1, 1, 1), 0);
    EXPECT_EQ(AssociationCount(1), 1);
    EXPECT_EQ(Saved()["projects"][0]["devices"][0]["commObjects"][1]["associations"][0]["send"], true);
    m_host.SetPlugInEvents(nullptr);
}

TEST_F(EtsDataAccessTest, FailedAssociationStepsGiveMinusOneAndClearTheFlag)
{
    EXPECT_EQ(m_access.CreateAssociation(4711, 12, TRUE, 1, 1, 1), -1);
    EXPECT_TRUE(Logged("Couldnt found device communication object with id=4711"));
    EXPECT_EQ(m_access.CreateAssociation(kDevice + 1, 4711, TRUE, 1, 1, 1), -1);
    EXPECT_TRUE(Logged("Couldnt found group address object with id=4711"));

    struct Case {
        const char* pszObject;
        const char* pszMember;
        HRESULT hr;
        const char* pszLine;
    };
    const std::vector<Case> cases = {
        {"CommObject:1001", "get_Associations", E_FAIL, "Couldnt get associations hr=0x80004005"},
        {"Associations:1001", "Add", E_FAIL, "?? \"EtsDataAccess.cpp\""},
        // The host's "exists" answer without an association.
        {"Associations:1001", "Add", ETS_E_ASSOCIATION_EXISTS, "!! \"EtsDataAccess.cpp\""},
        {"Association", "put_Send", E_FAIL, "Couldnt put send property for association hr=0x80004005"},
    };
    for (const Case& c : cases) {
        m_host.ClearLoggerLines();
        m_host.AddFault(c.pszObject, c.pszMember, c.hr);
        EXPECT_EQ(m_access.CreateAssociation(kDevice + 1, 13, TRUE, 1, 1, 1), -1) << c.pszLine;
        EXPECT_TRUE(Logged(c.pszLine)) << c.pszLine << "\n" << LoggedLines();
        EXPECT_EQ(g_bOwnAssociationChange, 0);
        m_host.ClearFaults();
    }
    EXPECT_TRUE(Logged("Couldnt put send property for association hr=0x80004005"));
    m_host.ClearLoggerLines();
    m_host.AddFault("Associations:1001", "Add", ETS_E_ASSOCIATION_EXISTS);
    m_access.CreateAssociation(kDevice + 1, 13, TRUE, 1, 1, 1);
    EXPECT_TRUE(Logged("Couldnt create association hr=0xC0040211"));
}

TEST_F(EtsDataAccessTest, AListedPairIsReusedAndTakenOutOfTheList)
{
    // The association list as the save reads it from the host.
    CComPtr<IEtsAssociations> pAssociations;
    m_host.FindCommObject(kDevice, 1)->get_Associations(&pAssociations);
    CComPtr<IEtsAssociation> pExisting;
    pAssociations->Item(MakeIndexVariant(1), &pExisting);
    CObjectLinkTable list;
    auto pLink = std::make_unique<CObjectLink>(1);
    pLink->AddGroupAddress(13, 1);
    pLink->AddGroupAddress(12, 1, pExisting);
    list.Add(kDevice + 2, std::move(pLink));

    m_host.ClearCallLog();
    EXPECT_EQ(m_access.CreateAssociationIfMissing(kDevice + 2, 12, list, TRUE, 1, 1, 1), 0);
    EXPECT_EQ(m_host.CountCalls("Add"), 0u);
    EXPECT_EQ(AssociationCount(1), 1);
    EXPECT_EQ(Saved()["projects"][0]["devices"][0]["commObjects"][1]["associations"][0]["send"], true);
    ASSERT_EQ(list.GetLink(0)->GetGroupAddressCount(), 1u);
    EXPECT_EQ(list.GetLink(0)->m_arrGroupAddresses[0].m_nReference, 13);

    // A pair that is not listed is created.
    EXPECT_EQ(m_access.CreateAssociationIfMissing(kDevice + 3, 12, list, FALSE, 1, 1, 1), 0);
    EXPECT_EQ(AssociationCount(2), 1);
    CComPtr<IEtsAssociation> pFound;
    EXPECT_FALSE(m_access.FindAssociation(list, kDevice + 2, 12, pFound));
}

TEST_F(EtsDataAccessTest, AddingAGroupAddressCreatesItsMissingGroupsAndEntersAllThree)
{
    CComPtr<IEtsProject> pProject = Find<IEtsProject>(1);
    const LONG nId = m_access.AddGroupAddress(pProject, 6, 3, 9, "Neu", "Beschreibung", "Schlüssel", TRUE);
    ASSERT_GT(nId, 0);
    EXPECT_TRUE(g_mapGroupAddresses.Lookup(nId));
    const Json mainGroups = Saved()["projects"][0]["mainGroups"];
    const Json& main = mainGroups.back();
    EXPECT_EQ(main["address"], 6);
    EXPECT_EQ(main["name"], "");
    const Json& middle = main["middleGroups"][0];
    EXPECT_EQ(middle["address"], 3);
    EXPECT_EQ(middle["name"], "");
    const Json& sub = middle["groupAddresses"][0];
    EXPECT_EQ(sub["id"], nId);
    EXPECT_EQ(sub["central"], true);
    EXPECT_EQ(sub["description"], "Beschreibung");
    EXPECT_EQ(sub["uniqueName"], "Schlüssel");
    EXPECT_TRUE(g_mapMainGroups.Lookup(main["id"].get<LONG>()));
    EXPECT_TRUE(g_mapMiddleGroups.Lookup(middle["id"].get<LONG>()));
    EXPECT_EQ(m_access.GetGroupAddressParts(nId, 1), 0x6309);

    // Existing groups are taken, matched by address.
    const std::size_t nMainCount = mainGroups.size();
    EXPECT_GT(m_access.AddGroupAddress(pProject, 1, 2, 10, "Zweite", "", "", FALSE), 0);
    EXPECT_EQ(Saved()["projects"][0]["mainGroups"].size(), nMainCount);
    EXPECT_EQ(m_access.GetSubGroupCount(11), 3);
}

TEST_F(EtsDataAccessTest, CompletingANewGroupAddressNeverUndoesIt)
{
    m_host.AddFault("GroupAddress", "put_Central", E_FAIL);
    m_host.AddFault("GroupAddress", "put_Description", E_FAIL);
    m_host.AddFault("GroupAddress", "put_UniqueName", E_FAIL);
    const LONG nId = m_access.AddGroupAddress(Find<IEtsProject>(1), 1, 2, 11, "N", "D", "U", TRUE);
    EXPECT_GT(nId, 0);
    EXPECT_TRUE(Logged("!! \"EtsDataAccess.cpp\"")) << LoggedLines();
    EXPECT_TRUE(Logged("Couldnt put group address central hr=0x80004005"));
    EXPECT_TRUE(Logged("Couldnt put group address description hr=0x80004005"));
    EXPECT_TRUE(Logged("Couldnt put group address unique name hr=0x80004005"));
}

TEST_F(EtsDataAccessTest, FailuresOfTheGroupTreeOperations)
{
    // A result that is a new host id.
    constexpr LONG kNewId = -99;
    struct Case {
        const char* pszObject;
        const char* pszMember;
        int nCall;
        std::function<LONG()> call;
        LONG nExpected;
        const char* pszLine;
    };
    CComPtr<IEtsProject> pProject = Find<IEtsProject>(1);
    auto addIn = [&](LONG nMain, LONG nMiddle) {
        return [&, nMain, nMiddle] { return m_access.AddGroupAddress(pProject, nMain, nMiddle, 12, "x", "", "", FALSE); };
    };
    auto addMain = [&] { return m_access.AddMainGroup(pProject, 4, "M", "", ""); };
    auto addMiddle = [&] { return m_access.AddMiddleGroup(10, 4, "M", "", ""); };
    // In order: a skipped item makes the walk add a group of the same
    // address, which the later cases find.
    const std::vector<Case> cases = {
        {"Project:1", "get_MainGroups", 0, addIn(1, 2), -1, "Couldnt get main groups hr=0x80004005"},
        {"MainGroups:1", "get_Count", 0, addIn(1, 2), -1, "Couldnt get main groups count hr=0x80004005"},
        {"MainGroups:1", "Add", 0, addIn(9, 2), -1, "Couldnt add new main group hr=0x80004005"},
        {"MainGroups:1", "Add", 0, addIn(9, 2), -1, "Couldnt get or create a main group with address 9 hr=0x80004005"},
        {"MainGroup", "GetPersistInfo", 0, addIn(9, 2), -1, "Couldnt get maingroup object cookie hr=0x80004005"},
        {"MainGroups:1", "Item", 0, addIn(1, 2), kNewId, "Couldnt get main group item hr=0x80004005"},
        {"MainGroup:10", "get_Address", 0, addIn(1, 2), kNewId, "Couldnt get main group address hr=0x80004005"},
        {"MainGroup:10", "get_MiddleGroups", 0, addIn(1, 2), -1, "Couldnt get middle groups hr=0x80004005"},
        {"MiddleGroups:10", "get_Count", 0, addIn(1, 2), -1, "Couldnt get Middle groups count hr=0x80004005"},
        {"MiddleGroups:10", "Add", 0, addIn(1, 7), -1, "Couldnt add new Middle group hr=0x80004005"},
        {"MiddleGroups:10", "Add", 0, addIn(1, 7), -1,
         "Couldnt get or create a middle group with address 7, hr=0x80004005"},
        {"MiddleGroup", "GetPersistInfo", 0, addIn(1, 7), -1, "Couldnt get Middlegroup object cookie hr=0x80004005"},
        {"MiddleGroups:10", "Item", 0, addIn(1, 2), kNewId, "Couldnt get Middle group item hr=0x80004005"},
        {"MiddleGroup:11", "get_Address", 0, addIn(1, 2), kNewId, "Couldnt get Middle group address hr=0x80004005"},
        {"MiddleGroup:11", "get_GroupAddresses", 0, addIn(1, 2), -1, "Couldnt get group addresses hr=0x80004005"},
        {"GroupAddresses:11", "Add", 0, addIn(1, 2), -1, "Couldnt add group address hr=0x80004005"},
        {"GroupAddress", "GetPersistInfo", 0, addIn(1, 2), -1, "Couldnt get group address cookie hr=0x80004005"},
        {"Project:1", "get_MainGroups", 0, addMain, -1, "Couldnt get Main Groups hr=0x80004005"},
        {"MainGroups:1", "Add", 0, addMain, -1, "Couldnt add main group hr=0x80004005"},
        {"MainGroup", "GetPersistInfo", 0, addMain, -1, "Couldnt get main group cookie hr=0x80004005"},
        {"", "", 0, [&] { return m_access.AddMiddleGroup(4711, 4, "M", "", ""); }, -1,
         "Couldnt find Maingroup with Id: 4711"},
        {"MainGroup:10", "get_MiddleGroups", 0, addMiddle, -1,
         "Couldnt get middle groups from Maingroup with Id: 10, hr=0x80004005"},
        {"MiddleGroups:10", "Add", 0, addMiddle, -1, "Couldnt add middle groups to Maingroup with Id: 10, hr=0x80004005"},
        {"MiddleGroup", "GetPersistInfo", 0, addMiddle, -1,
         "Couldnt get middle group cookie, global map not updated hr=0x80004005"},
        // Middle group 14 holds 15 and 16, both of address 7.
        {"", "", 0, [&] { return m_access.FindSubGroup(4711, 7); }, -1, "Couldnt get middle group with id 4711"},
        {"MiddleGroup:14", "get_GroupAddresses", 0, [&] { return m_access.FindSubGroup(14, 7); }, -1,
         "Couldnt get group addresses from middle group with id 14 hr=0x80004005"},
        {"GroupAddresses:14", "get_Count", 0, [&] { return m_access.FindSubGroup(14, 7); }, -1,
         "Couldnt get group addresses count hr=0x80004005"},
        {"GroupAddresses:14", "Item", 2, [&] { return m_access.FindSubGroup(14, 7); }, 15,
         "Couldnt get group addresses item with id 2 hr=0x80004005"},
        {"GroupAddress:16", "get_Address", 0, [&] { return m_access.FindSubGroup(14, 7); }, 15,
         "Couldnt get sub group address hr=0x80004005"},
        {"GroupAddress:16", "GetPersistInfo", 0, [&] { return m_access.FindSubGroup(14, 7); }, 15,
         "Couldnt get sub group cookie hr=0x80004005"},
        // Main group 17 holds middle group 18 of address 18.
        {"", "", 0, [&] { return m_access.FindMiddleGroup(4711, 18); }, -1, "Couldnt find Maingroup with Id: 4711"},
        {"MainGroup:17", "get_MiddleGroups", 0, [&] { return m_access.FindMiddleGroup(17, 18); }, -1,
         "Couldnt find middle groups from Maingroup with Id: 17 hr=0x80004005"},
        {"MiddleGroups:17", "get_Count", 0, [&] { return m_access.FindMiddleGroup(17, 18); }, -1,
         "Couldnt middle group count hr=0x80004005"},
        {"MiddleGroups:17", "Item", 1, [&] { return m_access.FindMiddleGroup(17, 18); }, -1,
         "Couldnt get middle group item hr=0x80004005"},
        {"MiddleGroup:18", "get_Address", 0, [&] { return m_access.FindMiddleGroup(17, 18); }, -1,
         "Couldnt get middle group address hr=0x80004005"},
        {"MiddleGroup:18", "GetPersistInfo", 0, [&] { return m_access.FindMiddleGroup(17, 18); }, -1,
         "Couldnt get middle group cookie hr=0x80004005"},
        {"MiddleGroup:11", "get_GroupAddresses", 0, [&] { return m_access.GetSubGroupCount(11); }, 0,
         "Couldnt get group addresses from middlegroup hr=0x80004005"},
        {"GroupAddresses:11", "get_Count", 0, [&] { return m_access.GetSubGroupCount(11); }, 0,
         "Couldnt get subgroup count for middlegroup  hr=0x80004005"},
    };
    for (const Case& c : cases) {
        m_host.ClearLoggerLines();
        if (*c.pszObject || *c.pszMember)
            m_host.AddFault(c.pszObject, c.pszMember, E_FAIL, c.nCall);
        const LONG nResult = c.call();
        if (c.nExpected == kNewId)
            EXPECT_GT(nResult, 0) << c.pszLine;
        else
            EXPECT_EQ(nResult, c.nExpected) << c.pszLine;
        EXPECT_TRUE(Logged(c.pszLine)) << c.pszLine << "\n" << LoggedLines();
        m_host.ClearFaults();
    }
    // The sub-group count's failures are warnings.
    m_host.AddFault("GroupAddresses:11", "get_Count", E_FAIL);
    m_host.ClearLoggerLines();
    m_access.GetSubGroupCount(11);
    EXPECT_TRUE(Logged("!! \"EtsDataAccess.cpp\""));
}

TEST_F(EtsDataAccessTest, NewMainAndMiddleGroupsKeepTheirIdWhenTheirTextsFail)
{
    CComPtr<IEtsProject> pProject = Find<IEtsProject>(1);
    m_host.AddFault("MainGroup", "put_Description", E_FAIL);
    m_host.AddFault("MainGroup", "put_UniqueName", E_FAIL);
    const LONG nMain = m_access.AddMainGroup(pProject, 4, "Haupt", "Text", "Key");
    EXPECT_GT(nMain, 0);
    EXPECT_TRUE(Logged("Couldnt set main group description hr=0x80004005, description=Text"));
    EXPECT_TRUE(Logged("Couldnt set main group unique name hr=0x80004005, unique name=Key"));
    m_host.AddFault("MiddleGroup", "put_Description", E_FAIL);
    const LONG nMiddle = m_access.AddMiddleGroup(nMain, 1, "Mitte", "Text", "");
    EXPECT_GT(nMiddle, 0);
    EXPECT_TRUE(Logged("Couldnt set middle group description hr=0x80004005, description=Text"));
    EXPECT_EQ(m_access.FindMiddleGroup(nMain, 1), nMiddle);
    EXPECT_EQ(m_access.IsMainGroupEmpty(g_mapMainGroups.Lookup(nMain)), 0);
    EXPECT_EQ(m_access.IsMiddleGroupEmpty(g_mapMiddleGroups.Lookup(nMiddle)), 1);
    m_host.AddFault("MiddleGroups", "Item", E_FAIL);
    EXPECT_EQ(m_access.IsMainGroupEmpty(g_mapMainGroups.Lookup(nMain)), 1);
}

TEST_F(EtsDataAccessTest, OfTwoSubGroupsWithOneAddressTheLaterCounts)
{
    EXPECT_EQ(m_access.FindSubGroup(14, 7), 16);
    EXPECT_EQ(m_access.FindSubGroup(11, 99), -1);
    EXPECT_TRUE(Logged("!! \"EtsDataAccess.cpp\""));
    EXPECT_TRUE(Logged("Subgroup with address 99 doesnt exist in middlegroup(ID): 11"));
    EXPECT_EQ(m_access.FindMiddleGroup(10, 9), -1);
    EXPECT_TRUE(Logged("Middlegroup with address 9 doesnt exist in maingroup(ID): 10"));
}

TEST_F(EtsDataAccessTest, TheDeviceAddressNeedsTheDevicePart)
{
    LONG nAddress = 0;
    EXPECT_EQ(m_access.GetDeviceAddress(m_host.FindDevice(kDevice), nAddress), S_OK);
    EXPECT_EQ(nAddress, 0x1205);

    Json project = TestProject();
    project["projects"][0]["devices"][0]["address"] = nullptr;
    Load(project);
    EXPECT_EQ(m_access.GetDeviceAddress(m_host.FindDevice(kDevice), nAddress), S_OK);
    EXPECT_EQ(nAddress, -1);

    project["projects"][0]["devices"][0]["address"] = 7;
    project["projects"][0]["devices"][0]["line"] = nullptr;
    Load(project);
    EXPECT_EQ(m_access.GetDeviceAddress(m_host.FindDevice(kDevice), nAddress), S_OK);
    EXPECT_EQ(nAddress, 7);
    EXPECT_TRUE(Logged("ptrLine == NULL"));
}

TEST_F(EtsDataAccessTest, DeviceAddressFailuresKeepWhatWasGathered)
{
    struct Case {
        const char* pszObject;
        const char* pszMember;
        LONG nExpected;
        const char* pszLine;
    };
    const std::vector<Case> cases = {
        {"Device:1000", "get_Address", -1, "Couldnt get device Address hr=0x80004005"},
        {"Device:1000", "get_Line", 5, "Couldnt get device line hr=0x80004005"},
        {"Line", "get_Address", 5, "Couldnt get line address hr=0x80004005"},
        {"Line", "get_Area", 0x205, "Couldnt get line address hr=0x80004005"},
        {"Area", "get_Address", 0x205, "Couldnt get area address hr=0x80004005"},
    };
    for (const Case& c : cases) {
        m_host.ClearLoggerLines();
        m_host.AddFault(c.pszObject, c.pszMember, E_FAIL);
        LONG nAddress = 0;
        EXPECT_EQ(m_access.GetDeviceAddress(m_host.FindDevice(kDevice), nAddress), E_FAIL) << c.pszLine;
        EXPECT_EQ(nAddress, c.nExpected) << c.pszLine;
        EXPECT_TRUE(Logged(c.pszLine)) << c.pszLine;
        m_host.ClearFaults();
    }
}

TEST_F(EtsDataAccessTest, GroupRecordsAreFilledOnlyWhenEveryReadSucceeded)
{
    SubGroupData sub;
    ASSERT_EQ(m_access.GetSubGroupDataEx(g_mapGroupAddresses.Lookup(12), sub), S_OK);
    EXPECT_EQ(sub.strName, "GA 12");
    EXPECT_EQ(sub.nId, 12);
    EXPECT_EQ(sub.nAddress, 3);
    EXPECT_EQ(sub.nCentral, 0);
    EXPECT_EQ(sub.nValueType, 0);

    MainGroupData main;
    m_host.AddFault("MainGroup:10", "get_Description", E_FAIL);
    EXPECT_EQ(m_access.GetMainGroupDataEx(g_mapMainGroups.Lookup(10), main), E_FAIL);
    EXPECT_EQ(main.nId, -1);
    EXPECT_TRUE(Logged("Couldnt get main group description hr=0x80004005"));
    m_host.ClearFaults();
    m_host.AddFault("MainGroup:10", "get_PassThrough", E_ACCESSDENIED);
    m_host.ClearLoggerLines();
    EXPECT_EQ(m_access.GetMainGroupDataEx(g_mapMainGroups.Lookup(10), main), E_ACCESSDENIED);
    EXPECT_TRUE(m_host.GetLoggerLines().empty());  // the further value's failure is only returned
    m_host.ClearFaults();
    ASSERT_EQ(m_access.GetMainGroupDataEx(g_mapMainGroups.Lookup(10), main), S_OK);
    EXPECT_EQ(main.nAddress, 1);

    std::string strName = "vorher";
    LONG nId = 0, nAddress = 0;
    m_host.AddFault("MiddleGroup:11", "get_Address", E_FAIL);
    EXPECT_EQ(m_access.GetMiddleGroupData(g_mapMiddleGroups.Lookup(11), strName, nId, nAddress), E_FAIL);
    EXPECT_EQ(strName, "vorher");
    EXPECT_TRUE(Logged("Couldnt get Middle group address hr=0x80004005"));
    m_host.ClearFaults();

    // A middle group without address.
    Json project = TestProject();
    project["projects"][0]["mainGroups"][0]["middleGroups"][0]["address"] = nullptr;
    Load(project);
    Scan(kDevice);
    MiddleGroupData middle;
    middle.nAddress = 77;
    ASSERT_EQ(m_access.GetMiddleGroupDataEx(g_mapMiddleGroups.Lookup(11), middle), S_OK);
    EXPECT_EQ(middle.nAddress, 77);
    ASSERT_EQ(m_access.GetMiddleGroupData(g_mapMiddleGroups.Lookup(11), strName, nId, nAddress), S_OK);
    EXPECT_EQ(nAddress, -1);
    ASSERT_EQ(m_access.GetMiddleGroupAddress(g_mapMiddleGroups.Lookup(11), nAddress), S_OK);
    EXPECT_EQ(nAddress, -1);
    EXPECT_TRUE(Logged("Couldnt get Middle group address, address==VT_NULL hr=0x00000000"));
}

TEST_F(EtsDataAccessTest, CommObjectDataReadsEachPropertyOnItsOwn)
{
    CommObjectData data;
    data.nPriority = 9;
    m_host.AddFault("CommObject", "GetProperty(TransmissionPriority)", E_FAIL);
    EXPECT_EQ(m_access.GetCommObjectData(m_host.FindCommObject(kDevice, 1), data), S_OK);
    EXPECT_EQ(data.nNumber, 1);
    EXPECT_EQ(data.strName, "Objekt 1");
    EXPECT_EQ(data.nPriority, 9);
    EXPECT_EQ(data.nCommunication, 1);
    EXPECT_EQ(data.nRead, 0);
    EXPECT_EQ(data.strAssociations, "1/2/3");
    EXPECT_TRUE(Logged("!! \"EtsDataAccess.cpp\""));
    EXPECT_TRUE(Logged("Couldnt get TransmissionPriority hr=0x80004005"));
    m_host.ClearFaults();
    m_host.AddFault("CommObject", "GetProperty(AssociationsText)", E_FAIL);
    EXPECT_EQ(m_access.GetCommObjectData(m_host.FindCommObject(kDevice, 1), data), E_FAIL);
}

TEST_F(EtsDataAccessTest, ApplicationManufacturerProjectAndAcknowledge)
{
    CComPtr<IEtsApplicationProgram> pProgram;
    m_host.FindDevice(kDevice)->get_ApplicationProgram(&pProgram);
    ApplicationData application;
    m_host.AddFault("ApplicationProgram", "get_Version", E_FAIL);
    EXPECT_EQ(m_access.GetApplicationInfo(pProgram, application), S_OK);
    EXPECT_EQ(application.strName, "Programm");
    EXPECT_EQ(application.nDeviceType, 0x2101);
    EXPECT_EQ(application.nVersion, 0);
    EXPECT_TRUE(Logged("Couldnt get application version hr=0x80004005"));
    m_host.ClearFaults();

    CComPtr<IEtsManufacturer> pManufacturer;
    pProgram->get_Manufacturer(&pManufacturer);
    ManufacturerData manufacturer;
    m_host.AddFault("Manufacturer", "get_ID", E_FAIL);
    EXPECT_EQ(m_access.GetManufacturerInfo(pManufacturer, manufacturer), E_FAIL);
    EXPECT_EQ(manufacturer.strName, "Vek");
    EXPECT_TRUE(Logged("Couldnt get manufacturer ID hr=0x80004005"));
    m_host.ClearFaults();

    std::string strName;
    EXPECT_EQ(m_access.GetProjectName(m_host.FindDevice(kDevice), strName), S_OK);
    EXPECT_EQ(strName, "Projekt");
    m_host.AddFault("Project", "get_Name", E_FAIL);
    EXPECT_EQ(m_access.GetProjectName(m_host.FindDevice(kDevice), strName), E_FAIL);
    EXPECT_TRUE(Logged("Couldnt get project name hr=0x80004005"));
    m_host.ClearFaults();

    CComPtr<IEtsAssociation> pAssociation = Find<IEtsAssociation>(500);
    bool bAcknowledge = true;
    EXPECT_EQ(m_access.GetAcknowledge(pAssociation, bAcknowledge), S_OK);
    EXPECT_FALSE(bAcknowledge);
    m_host.AddFault("Association", "get_Acknowledge", E_FAIL);
    EXPECT_EQ(m_access.GetAcknowledge(pAssociation, bAcknowledge), E_FAIL);
    EXPECT_TRUE(Logged("Couldnt get Acknowledge hr=0x80004005"));
}

TEST_F(EtsDataAccessTest, TheInternalDatabaseGivesFreshIds)
{
    CComPtr<IEtsInternalDatabase> pDatabase;
    ASSERT_EQ(m_access.GetInternalDatabase(m_host.FindDevice(kDevice), pDatabase), S_OK);
    LONG nFirst = 0, nSecond = 0;
    pDatabase->NewId(&nFirst);
    pDatabase->NewId(&nSecond);
    EXPECT_GT(nFirst, 1004);
    EXPECT_EQ(nSecond, nFirst + 1);

    const std::vector<std::pair<std::pair<const char*, const char*>, const char*>> cases = {
        {{"Device:1000", "GetPersistInfo"}, "Calling function GetPersistInfo hr=0x80004005"},
        {{"PersistInfo", "get_Database"}, "Couldnt get Database hr=0x80004005"},
    };
    for (const auto& [fault, pszLine] : cases) {
        m_host.AddFault(fault.first, fault.second, E_FAIL);
        CComPtr<IEtsInternalDatabase> pNone;
        EXPECT_EQ(m_access.GetInternalDatabase(m_host.FindDevice(kDevice), pNone), E_FAIL);
        EXPECT_FALSE(pNone);
        EXPECT_TRUE(Logged(pszLine)) << pszLine;
        m_host.ClearFaults();
    }
    CComPtr<IEtsInternalDatabase> pNone;
    EXPECT_EQ(m_access.GetInternalDatabase(Find<IEtsDevice>(12), pNone), E_POINTER);
}

TEST_F(EtsDataAccessTest, UpdateEnabledIsWrittenByObjectId)
{
    EXPECT_EQ(m_access.SetUpdateEnabled(kDevice + 2, true), S_OK);
    EXPECT_EQ(Saved()["projects"][0]["devices"][0]["commObjects"][1]["update"], true);
    EXPECT_EQ(m_access.SetUpdateEnabled(4711, true), E_UNEXPECTED);
    EXPECT_TRUE(Logged("No communication object with id=4711, hr=0x8000FFFF"));
    m_host.AddFault("CommObject", "PutProperty(UpdateEnabled)", E_FAIL);
    EXPECT_EQ(m_access.SetUpdateEnabled(kDevice + 2, false), E_FAIL);
    EXPECT_TRUE(Logged("Calling function put_UpdateEnabled for objectId: 1002, hr=0x80004005"));
}
