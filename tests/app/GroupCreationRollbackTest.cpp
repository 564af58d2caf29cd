// A host call that fails while a group or group address is created leaves
// nothing half-made behind: neither in the host project nor in the host
// object maps, and the project is not worth saving.

#include "HostTestSupport.h"

#include "access/EtsDataAccess.h"

#include <functional>
#include <string>
#include <vector>

using apptest::Json;

namespace {

using apptest::kDevice;

// Main 1 (10) / middle 2 (11) / sub 3 (12); a device to scan from.
Json RollbackProject()
{
    Json project = apptest::ProjectWithGroups({{10, 1, 11, 2, 12, 3}});
    project["projects"][0]["devices"].push_back(apptest::Device(kDevice, 1, {}));
    return project;
}

class GroupCreationRollbackTest : public apptest::HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        Load(RollbackProject());
        Scan(kDevice);
        m_strBefore = Content();
        m_host.ClearLoggerLines();
    }

    // The saved project without the id counter.
    std::string Content() const
    {
        Json saved = Json::parse(m_host.SaveText());
        saved.erase("nextId");
        return saved.dump();
    }
    std::size_t MapSizes() const
    {
        return g_mapMainGroups.GetCount() * 10000 + g_mapMiddleGroups.GetCount() * 100 +
               g_mapGroupAddresses.GetCount();
    }

    CEtsDataAccess m_access;
    std::string m_strBefore;
};

TEST_F(GroupCreationRollbackTest, EveryFailureAfterTheHostMadeAGroupTakesItBack)
{
    CComPtr<IEtsProject> pProject = Find<IEtsProject>(1);
    struct Case {
        const char* pszObject;
        const char* pszMember;
        std::function<LONG()> create;
        const char* pszLine;
    };
    // New main 9 and middle 7 on the way to the group address, or only a
    // new middle group 7 under main 1.
    auto inNewGroups = [&] { return m_access.AddGroupAddress(pProject, 9, 7, 1, "GA", "", "", FALSE); };
    auto inNewMiddle = [&] { return m_access.AddGroupAddress(pProject, 1, 7, 1, "GA", "", "", FALSE); };
    const std::vector<Case> cases = {
        {"MainGroup", "GetPersistInfo", [&] { return m_access.AddMainGroup(pProject, 4, "M", "D", "K"); },
         "Couldnt get main group cookie hr=0x80004005"},
        {"MiddleGroup", "GetPersistInfo", [&] { return m_access.AddMiddleGroup(10, 4, "M", "D", "K"); },
         "Couldnt get middle group cookie, global map not updated hr=0x80004005"},
        {"MainGroup", "GetPersistInfo", inNewGroups, "Couldnt get maingroup object cookie hr=0x80004005"},
        {"MiddleGroups", "Add", inNewGroups, "Couldnt add new Middle group hr=0x80004005"},
        {"MiddleGroup", "GetPersistInfo", inNewGroups, "Couldnt get Middlegroup object cookie hr=0x80004005"},
        {"MiddleGroup", "get_GroupAddresses", inNewGroups, "Couldnt get group addresses hr=0x80004005"},
        {"GroupAddresses", "Add", inNewGroups, "Couldnt add group address hr=0x80004005"},
        {"GroupAddress", "GetPersistInfo", inNewGroups, "Couldnt get group address cookie hr=0x80004005"},
        {"GroupAddress", "GetPersistInfo", inNewMiddle, "Couldnt get group address cookie hr=0x80004005"},
    };
    const std::size_t nMaps = MapSizes();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszLine);
        m_host.ClearLoggerLines();
        m_host.AddFault(c.pszObject, c.pszMember, E_FAIL);
        EXPECT_EQ(c.create(), -1);
        m_host.ClearFaults();
        EXPECT_TRUE(Logged(c.pszLine)) << LoggedLines();
        EXPECT_EQ(Content(), m_strBefore);
        EXPECT_EQ(MapSizes(), nMaps);
        EXPECT_FALSE(m_host.IsModified());
    }
    // Nothing stale in the maps: the same creation succeeds afterwards.
    const LONG nId = inNewGroups();
    ASSERT_GT(nId, 0);
    EXPECT_EQ(m_access.GetGroupAddressParts(nId, 1), 0x9701);
    EXPECT_EQ(MapSizes(), nMaps + 10101);
}

TEST_F(GroupCreationRollbackTest, AGroupThatCannotBeTakenBackIsLogged)
{
    CComPtr<IEtsProject> pProject = Find<IEtsProject>(1);
    m_host.AddFault("MainGroup", "GetPersistInfo", E_FAIL);
    m_host.AddFault("MainGroup", "Delete", E_ACCESSDENIED);
    EXPECT_EQ(m_access.AddMainGroup(pProject, 4, "M", "", ""), -1);
    EXPECT_TRUE(Logged("Couldnt remove the new main group again hr=0x80070005")) << LoggedLines();
    EXPECT_EQ(g_mapMainGroups.GetCount(), 1u);
}

}  // namespace
