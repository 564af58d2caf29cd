#include "HostTestSupport.h"

#include "app/Chronoset.h"
#include "app/DeviceUI2.h"
#include "model/IniManager.h"
#include "model/Utils.h"
#include "platform/base/UiServices.h"
#include "platform/base/WinApp.h"
#include "platform/com/ComObject.h"

using apptest::Json;

namespace {

using apptest::kDevice;

// Two projects: 1 with two main groups (10, 20), three middle groups and
// four group addresses and the device; 2 with one of each.
Json TwoProjects()
{
    Json project = apptest::ProjectWithGroups(
        {{10, 1, 11, 0, 12, 1}, {10, 1, 11, 0, 13, 2}, {10, 1, 14, 1, 15, 1}, {20, 2, 21, 0, 22, 1}});
    project["projects"][0]["devices"].push_back(apptest::Device(kDevice, 3, {}));
    Json other = apptest::ProjectWithGroups({{30, 1, 31, 0, 32, 1}})["projects"][0];
    other["id"] = 2;
    other["devices"].push_back(apptest::Device(2000, 1, {}));
    project["projects"].push_back(other);
    return project;
}

class HostScanTest : public apptest::HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        Load(TwoProjects());
    }

    std::vector<std::size_t> MapCounts() const
    {
        return {g_mapProjects.GetCount(), g_mapDevices.GetCount(), g_mapGroupAddresses.GetCount(),
                g_mapMainGroups.GetCount(), g_mapMiddleGroups.GetCount()};
    }
};

}  // namespace

TEST_F(HostScanTest, TheScanEntersEveryObjectOfTheDatabaseUnderItsId)
{
    Scan(kDevice);
    EXPECT_EQ(MapCounts(), (std::vector<std::size_t> {2, 2, 5, 3, 4}));
    EXPECT_TRUE(g_mapProjects.Lookup(2));
    EXPECT_TRUE(g_mapDevices.Lookup(2000));
    EXPECT_TRUE(g_mapGroupAddresses.Lookup(32));
    EXPECT_TRUE(g_mapMiddleGroups.Lookup(14));
    EXPECT_EQ(g_mapGroupAddresses.GetIdAt(0), 12);
    EXPECT_TRUE(m_host.GetLoggerLines().empty()) << LoggedLines();

    ReleaseGlobalObjects();
    EXPECT_EQ(MapCounts(), (std::vector<std::size_t> {0, 0, 0, 0, 0}));
}

TEST_F(HostScanTest, AFailedCollectionOrItemIsSkippedAndTheWalkGoesOn)
{
    struct Case {
        const char* pszObject;
        const char* pszMember;
        int nCall;
        std::vector<std::size_t> counts;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"Database", "get_Projects", 0, {0, 2, 5, 3, 4}, {"Couldnt get projects collection. hr=0x80004005"}},
        {"Projects:0", "get_Count", 0, {0, 2, 5, 3, 4}, {"Couldnt get projects collection count. hr=0x80004005"}},
        {"Projects:0", "Item", 1, {1, 2, 5, 3, 4}, {"Couldnt get project item with index 1. hr=0x80004005"}},
        {"Project:2",
         "GetPersistInfo",
         0,
         {1, 2, 5, 3, 4},
         {"Calling function GetPersistInfo hr=0x80004005",
          "Couldnt get project cookie for item with index 2. hr=0x80004005"}},
        {"Database", "get_Devices", 0, {2, 0, 5, 3, 4}, {"Couldnt get devices collection. hr=0x80004005"}},
        {"Devices:0", "get_Count", 0, {2, 0, 5, 3, 4}, {"Couldnt get devices collection count. hr=0x80004005"}},
        {"Devices:0", "Item", 2, {2, 1, 5, 3, 4}, {"Couldnt get device item with index 2. hr=0x80004005"}},
        {"Device:2000", "GetPersistInfo", 0, {2, 1, 5, 3, 4},
         {"Couldnt get device cookie for item with index 2. hr=0x80004005"}},
        {"Database", "get_AllGroupAddresses", 0, {2, 2, 0, 3, 4}, {"Couldnt get all GA interface. hr=0x80004005"}},
        {"GroupAddresses:0", "get_Count", 0, {2, 2, 0, 3, 4}, {"Couldnt get GAs count. hr=0x80004005"}},
        {"GroupAddresses:0", "Item", 3, {2, 2, 4, 3, 4}, {"Couldnt get GA. hr=0x80004005"}},
        {"GroupAddress:13", "GetPersistInfo", 0, {2, 2, 4, 3, 4}, {"Couldnt get object cookie. hr=0x80004005"}},
        {"Database", "get_MainGroups", 0, {2, 2, 5, 0, 0}, {"Couldnt get Main Groups. hr=0x80004005"}},
        {"MainGroups:0", "get_Count", 0, {2, 2, 5, 0, 0}, {"Couldnt get Main Group count. hr=0x80004005"}},
        {"MainGroups:0", "Item", 1, {2, 2, 5, 2, 2}, {"Couldnt get Main Group item. hr=0x80004005"}},
        {"MainGroup:20", "GetPersistInfo", 0, {2, 2, 5, 2, 3}, {"Couldnt get Main Group cookie. hr=0x80004005"}},
        {"MainGroup:10", "get_MiddleGroups", 0, {2, 2, 5, 3, 2},
         {"Couldnt get middle groups from Main Group. hr=0x80004005"}},
        {"MiddleGroups:10", "get_Count", 0, {2, 2, 5, 3, 2}, {"Couldnt get middle group count. hr=0x80004005"}},
        {"MiddleGroups:10", "Item", 2, {2, 2, 5, 3, 3}, {"Couldnt get middle group item. hr=0x80004005"}},
        {"MiddleGroup:14", "GetPersistInfo", 0, {2, 2, 5, 3, 3}, {"Couldnt get middle group cookie. hr=0x80004005"}},
    };
    for (const Case& c : cases) {
        m_host.ClearLoggerLines();
        m_host.AddFault(c.pszObject, c.pszMember, E_FAIL, c.nCall);
        Scan(kDevice);
        EXPECT_EQ(MapCounts(), c.counts) << c.pszObject << " " << c.pszMember;
        for (const std::string& strLine : c.lines)
            EXPECT_TRUE(Logged(strLine)) << strLine << "\n" << LoggedLines();
        m_host.ClearFaults();
        ReleaseHostObjectMaps();
    }
}

TEST_F(HostScanTest, WithoutTheDeviceParentNothingIsScanned)
{
    m_host.AddFault("Device:1000", "get_Parent", E_FAIL);
    Scan(kDevice);
    EXPECT_EQ(MapCounts(), (std::vector<std::size_t> {0, 0, 0, 0, 0}));
    EXPECT_TRUE(Logged("Couldnt get device parent. hr=0x80004005"));
}

TEST(HostObjectMapTest, KeepsTheOrderOfEnteringAndReplacesInPlace)
{
    platform::host::CEtsHost host;
    ASSERT_TRUE(host.LoadText(TwoProjects().dump()));
    CHostObjectMap<IEtsCommObject> map;
    map.SetAt(1003, host.FindCommObject(kDevice, 2));
    map.SetAt(1001, host.FindCommObject(kDevice, 0));
    map.SetAt(1003, host.FindCommObject(kDevice, 1));
    ASSERT_EQ(map.GetCount(), 2u);
    EXPECT_EQ(map.GetIdAt(0), 1003);
    EXPECT_EQ(map.GetIdAt(1), 1001);
    EXPECT_EQ(map.GetAt(0), map.Lookup(1003));
    CComPtr<IEtsCommObject> pFound;
    EXPECT_FALSE(map.Lookup(4711, pFound));
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
}

namespace {

// A window layer that records what the editing run saw of the host maps.
class CMapsUi : public platform::IUiServices {
public:
    bool BeginSession() override { return true; }
    void EndSession() override {}
    bool FindDialogClass() override { return false; }
    HICON LoadIconFile(const std::string&, int) override { return nullptr; }
    HICON LoadIconResource(UINT) override { return nullptr; }
    void DestroyIcon(HICON) override {}
    bool RegisterWindowClass(const std::string&, HICON) override { return false; }
    void UnregisterWindowClass(const std::string&) override {}
    int RunMainWindow(HWND) override
    {
        nDevices = g_mapDevices.GetCount();
        nGroupAddresses = g_mapGroupAddresses.GetCount();
        return IDOK;
    }
    std::size_t nDevices = 0;
    std::size_t nGroupAddresses = 0;
};

}  // namespace

TEST_F(HostScanTest, AnEditingRunScansTheHostProjectAndEmptiesTheMapsAfterwards)
{
    CMapsUi ui;
    platform::IUiServices* pOldUi = platform::SetUiServices(&ui);
    CWinApp app;
    CComPtr<IEtsPlugInUI> pPlugIn;
    ASSERT_EQ(CComCreator<CDeviceUI2>::CreateInstance(nullptr, IidOf<IEtsPlugInUI>(),
                                                      reinterpret_cast<void**>(&pPlugIn.p)),
              S_OK);
    CComPtr<IEtsDevice> pDevice = m_host.FindDevice(kDevice);
    IUnknown* objects[1] = {pDevice.p};
    ASSERT_EQ(pPlugIn->SetObjects(1, objects), S_OK);
    // The run makes and deletes its own logger.
    g_pHostLogger = nullptr;
    EXPECT_EQ(pPlugIn->Edit(nullptr), S_OK);
    EXPECT_EQ(g_pHostLogger, nullptr);
    g_pHostLogger = m_pLogger;
    EXPECT_EQ(ui.nDevices, 2u);
    EXPECT_EQ(ui.nGroupAddresses, 5u);
    EXPECT_TRUE(g_mapDevices.IsEmpty());
    EXPECT_TRUE(g_mapGroupAddresses.IsEmpty());
    // The run logged through the host's logger under the module's name.
    EXPECT_TRUE(Logged("Vek_ZR02|4|\"StartUp.cpp\"")) << LoggedLines();
    platform::SetUiServices(pOldUi);
}

TEST_F(HostScanTest, TheSettingsAskTheHostForLanguageAndGroupAddressLevels)
{
    m_host.SetLanguage(1033);
    EXPECT_EQ(g_IniManager.GetLanguage(), 1033u);
    EXPECT_EQ(g_IniManager.GetGroupAddressLevels(), 3);
    m_host.SetGroupAddressLevels(2);
    EXPECT_EQ(g_IniManager.GetGroupAddressLevels(), 2);
    m_host.AddFault("Localisation", "GetDefaultLCID", E_FAIL);
    g_IniManager.GetLanguage();
    EXPECT_TRUE(Logged("ILocalise: GetDefaultLCID failed"));
}
