#include "HostTestSupport.h"

#include "access/AssociationVeto.h"
#include "app/DeviceUI2.h"
#include "platform/base/MessageBoxSink.h"
#include "platform/com/ComObject.h"
#include "tests/support/ScriptedMessageBoxSink.h"

using apptest::Json;

namespace {

using apptest::kDevice;
constexpr char kCaption[] = "Verbinde Kommunikationsobjekte";
constexpr char kReadError[] = "Fehler beim Ermitteln der Zuordnungsdaten.";

// A device of 254 visible objects and three group addresses 20, 21, 22.
class AssociationVetoTest : public apptest::HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        void* pv = nullptr;
        ASSERT_EQ(CComCreator<CDeviceUI2>::CreateInstance(nullptr, IidOf<IEtsPlugInEvents>(), &pv), S_OK);
        m_pEvents.Attach(static_cast<IEtsPlugInEvents*>(pv));
    }

    void TearDown() override
    {
        m_host.SetPlugInEvents(nullptr);
        m_pEvents.Release();
        g_bOwnAssociationChange = 0;
        HostTest::TearDown();
    }

    // objects: number -> count of associations it carries already.
    void LoadDevice(std::optional<LONG> nFirstObject, const std::map<int, int>& objects)
    {
        Json project = apptest::ProjectWithGroups({{10, 1, 11, 0, 20, 1}, {10, 1, 11, 0, 21, 2}, {10, 1, 11, 0, 22, 3}});
        std::vector<std::pair<std::string, Json>> parameters = {{"ObjectType-0", 1}};
        if (nFirstObject)
            parameters.emplace_back("CacheData", *nFirstObject);
        Json device = apptest::Device(kDevice, 254, parameters);
        LONG nNextId = 5000;
        for (const auto& [nNumber, nCount] : objects)
            for (int i = 0; i < nCount; ++i)
                device["commObjects"][nNumber]["associations"].push_back(
                    Json {{"id", nNextId++}, {"groupAddress", 20 + i}});
        project["projects"][0]["devices"].push_back(device);
        Load(project);
        m_host.SetPlugInEvents(m_pEvents, kDevice);
    }

    HRESULT AddAssociation(int nObject, LONG nGroupAddress)
    {
        CComPtr<IEtsAssociations> pAssociations;
        EXPECT_EQ(m_host.FindCommObject(kDevice, nObject)->get_Associations(&pAssociations), S_OK);
        CComPtr<IEtsAssociation> pAssociation;
        return pAssociations->Add(Find<IEtsGroupAddress>(nGroupAddress), &pAssociation);
    }

    LONG AssociationCount(int nObject)
    {
        CComPtr<IEtsAssociations> pAssociations;
        m_host.FindCommObject(kDevice, nObject)->get_Associations(&pAssociations);
        LONG nCount = 0;
        pAssociations->get_Count(&nCount);
        return nCount;
    }

    CComPtr<IEtsPlugInEvents> m_pEvents;
    CScriptedMessageBoxSink m_boxes;
};

}  // namespace

TEST_F(AssociationVetoTest, TriggerObjectsAndObjectFMayCarrySeveral)
{
    LoadDevice(3, {{2, 1}, {3, 1}, {4, 1}});
    EXPECT_EQ(AddAssociation(2, 22), S_OK);
    EXPECT_EQ(AddAssociation(3, 22), S_OK);
    m_boxes.ExpectBox("Für das Objekt 4 ist nur eine Zuordnung zulässig.", kCaption, MB_ICONWARNING, IDOK);
    EXPECT_EQ(AddAssociation(4, 22), E_ABORT);
    EXPECT_EQ(AssociationCount(4), 1);
    EXPECT_EQ(AssociationCount(3), 2);
    EXPECT_EQ(g_lastAssociationDeviceId, kDevice);
}

TEST_F(AssociationVetoTest, WithoutTriggerObjectsEveryObjectTakesOne)
{
    LoadDevice(-1, {{0, 1}});
    m_boxes.ExpectBox("Für das Objekt 0 ist nur eine Zuordnung zulässig.", kCaption, MB_ICONWARNING, IDOK);
    EXPECT_EQ(AddAssociation(0, 22), E_ABORT);
    // A first association is always fine.
    EXPECT_EQ(AddAssociation(1, 22), S_OK);
}

TEST_F(AssociationVetoTest, TheDeviceHoldsAtMost250AssociationsBesideTheClock)
{
    std::map<int, int> objects;
    for (int n = 0; n < 250; ++n)
        objects[n] = 1;
    // Object 10 is a trigger object (F = 20), so only the limit can refuse it.
    LoadDevice(20, objects);
    EXPECT_EQ(AddAssociation(251, 21), S_OK);  // the clock's objects are not counted
    m_boxes.ExpectBox(
        "Die Zuordnung konnte nicht getroffen werden, da die maximal Anzahl von Zuordnungen erreicht wurde.",
        kCaption, MB_ICONWARNING, IDOK);
    EXPECT_EQ(AddAssociation(10, 21), E_ABORT);
    EXPECT_EQ(AssociationCount(10), 1);
}

TEST_F(AssociationVetoTest, TheTwoHundredFiftiethAssociationIsAccepted)
{
    std::map<int, int> objects;
    for (int n = 0; n < 249; ++n)
        objects[n] = 1;
    LoadDevice(0, objects);
    EXPECT_EQ(AddAssociation(249, 21), S_OK);
}

TEST_F(AssociationVetoTest, WithoutCacheDataTheErrorBoxShowsAndTheAssociationStays)
{
    LoadDevice(std::nullopt, {{5, 1}});
    m_boxes.ExpectBox(kReadError, kCaption, MB_ICONERROR, IDOK);
    EXPECT_EQ(AddAssociation(5, 22), S_OK);
    EXPECT_EQ(AssociationCount(5), 2);
    EXPECT_TRUE(Logged("failed to read association data of device 1000")) << LoggedLines();
}

TEST_F(AssociationVetoTest, ThePlugInsOwnChangesAreAcceptedUnread)
{
    LoadDevice(-1, {{0, 1}});
    g_bOwnAssociationChange = 1;
    m_host.ClearCallLog();
    EXPECT_EQ(AddAssociation(0, 22), S_OK);
    EXPECT_EQ(m_host.CountCalls("get_DeviceParameters"), 0u);
    EXPECT_EQ(m_host.CountCalls("get_VisibleCommunicationObjects"), 0u);
    EXPECT_EQ(m_host.CountCalls("get_Device"), 0u);
}

TEST_F(AssociationVetoTest, NoAssociationOrAnotherObjectIsLoggedAndAccepted)
{
    LoadDevice(-1, {});
    EXPECT_EQ(m_pEvents->OnAddAssociation(nullptr), S_OK);
    EXPECT_TRUE(Logged("OnAddAssociation called with NULL pointer"));
    EXPECT_EQ(m_pEvents->OnAddAssociation(m_host.FindDevice(kDevice)), S_OK);
    EXPECT_TRUE(Logged("Couldnt get Association interface hr=0x80004003"));
}

TEST_F(AssociationVetoTest, FailedReadsBeforeTheTableOnlyLog)
{
    struct Case {
        const char* pszObject;
        const char* pszMember;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"Association", "get_Device", {"Couldnt get the Device hr=0x80004005"}},
        {"Device:1000",
         "GetPersistInfo",
         {"Calling function GetPersistInfo hr=0x80004005", "Couldnt get object cookie. hr=0x80004005",
          "Couldnt get DeviceId hr=0x80004005"}},
        {"Association",
         "get_Parent",
         {"Couldnt get device communication object from association. hr=0x80004005",
          "Couldnt get DeviceObjectNumber hr=0x80004005"}},
        {"CommObject:1001", "GetProperty(CommunicationObjectNumber)", {"Couldnt get CommunicationObjectNumber. hr=0x80004005"}},
    };
    for (const Case& c : cases) {
        LoadDevice(-1, {{0, 1}});
        m_host.ClearLoggerLines();
        m_host.AddFault(c.pszObject, c.pszMember, E_FAIL);
        // Object 0 with a second association would be refused: a failed read
        // accepts it, without a box.
        EXPECT_EQ(AddAssociation(0, 22), S_OK) << c.pszObject;
        for (const std::string& strLine : c.lines)
            EXPECT_TRUE(Logged(strLine)) << strLine << "\n" << LoggedLines();
        m_host.ClearFaults();
    }
}

TEST_F(AssociationVetoTest, AFailedTableReadShowsTheErrorBoxAndAccepts)
{
    struct Case {
        const char* pszObject;
        const char* pszMember;
        int nCall;
        std::vector<std::string> lines;
    };
    // Object 4 (id 1005) carries one association; F = -1, so a second one
    // would be refused if the table were read.
    const std::vector<Case> cases = {
        {"DeviceParameter", "get_Value", 0, {"Couldnt get Parameter value hr=0x80004005"}},
        {"Device", "get_VisibleCommunicationObjects", 0, {"Couldnt get visible communication objects hr=0x80004005"}},
        {"VisibleCommObjects:1000", "get_Count", 0, {"couldnt get object count hr=0x80004005"}},
        {"VisibleCommObjects:1000", "Item", 1, {"Couldnt get DeviceCO item for index 1, hr=0x80004005"}},
        {"CommObject:1006", "GetProperty(CommunicationObjectNumber)", 0, {"Couldnt get Device Object number hr=0x80004005"}},
        {"CommObject:1006", "GetPersistInfo", 0, {"Couldnt get object cookie hr=0x80004005"}},
        {"CommObject:1006", "get_Associations", 0, {"Couldnt get Associations hr=0x80004005"}},
        // Not the last object read: the count of object 4 itself is missing,
        // and the check must not decide without it.
        {"Associations:1005", "get_Count", 0, {"Couldnt get associations count hr=0x80004005"}},
    };
    for (const Case& c : cases) {
        LoadDevice(-1, {{4, 1}});
        m_host.ClearLoggerLines();
        m_host.AddFault(c.pszObject, c.pszMember, E_FAIL, c.nCall);
        m_boxes.ExpectBox(kReadError, kCaption, MB_ICONERROR, IDOK);
        EXPECT_EQ(AddAssociation(4, 22), S_OK) << c.pszObject << " " << c.pszMember;
        EXPECT_EQ(m_boxes.GetPendingCount(), 0u) << c.pszObject << " " << c.pszMember;
        for (const std::string& strLine : c.lines)
            EXPECT_TRUE(Logged(strLine)) << strLine << "\n" << LoggedLines();
        EXPECT_TRUE(Logged("failed to read association data of device 1000"));
        m_host.ClearFaults();
    }
}

TEST_F(AssociationVetoTest, ALoggerMadeForTheCheckGoesWithIt)
{
    LoadDevice(std::nullopt, {});
    g_pHostLogger = nullptr;
    m_boxes.ExpectBox(kReadError, kCaption, MB_ICONERROR, IDOK);
    EXPECT_EQ(AddAssociation(5, 22), S_OK);
    EXPECT_EQ(g_pHostLogger, nullptr);
    // Its lines reached the host under the module's name.
    EXPECT_TRUE(Logged("Vek_ZR02|2|?? \"DeviceUI2.cpp\""));
}
