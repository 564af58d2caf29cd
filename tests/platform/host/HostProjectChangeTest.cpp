// When the host stand-in's project counts as changed and is worth saving,
// and what deleting a group takes with it.

#include "HostTestProject.h"

#include "platform/base/AtomicFile.h"
#include "platform/com/ComBSTR.h"
#include "platform/com/ComVariant.h"
#include "platform/host/EtsHost.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

using platform::host::CEtsHost;
using hosttest::Json;

namespace {

using hosttest::Find;

CComPtr<IEtsInternalDatabase> Database(CEtsHost& host)
{
    CComPtr<IEtsDomObjectInternal> pInternal;
    Find<IEtsDevice>(host, 100)->QueryInterface(&pInternal.p);
    LONG nCookie = 0;
    CComPtr<IUnknown> pPersistInfo;
    pInternal->GetPersistInfo(&nCookie, &pPersistInfo);
    CComPtr<IEagleDomPersist> pPersist;
    pPersistInfo->QueryInterface(&pPersist.p);
    CComPtr<IUnknown> pDatabaseObject;
    pPersist->get_Database(&pDatabaseObject);
    CComPtr<IEtsInternalDatabase> pDatabase;
    pDatabaseObject->QueryInterface(&pDatabase.p);
    return pDatabase;
}

std::string ReadText(const std::string& strPath)
{
    auto bytes = platform::ReadWholeFile(strPath);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

class HostProjectChangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() / ("host-change-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
        m_strPath = (m_dir / "project.json").string();
        CEtsHost writer;
        ASSERT_TRUE(writer.LoadText(hosttest::Text(hosttest::SmallProject())));
        ASSERT_TRUE(writer.SaveFile(m_strPath));
        ASSERT_TRUE(m_host.LoadFile(m_strPath));
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::filesystem::path m_dir;
    std::string m_strPath;
    CEtsHost m_host;
};

TEST_F(HostProjectChangeTest, IdsOfObjectsThatDidNotStayLeaveTheProjectUnchanged)
{
    const std::string strBefore = ReadText(m_strPath);
    // Ids for the plug-in's placeholders.
    CComPtr<IEtsInternalDatabase> pDatabase = Database(m_host);
    LONG nFirst = 0, nSecond = 0;
    ASSERT_EQ(pDatabase->NewId(&nFirst), S_OK);
    ASSERT_EQ(pDatabase->NewId(&nSecond), S_OK);
    EXPECT_FALSE(m_host.IsModified());

    // A main group made and taken back again.
    CComPtr<IEtsMainGroups> pMainGroups;
    Find<IEtsProject>(m_host, 1)->get_MainGroups(&pMainGroups);
    CComPtr<IEtsMainGroup> pMain;
    ASSERT_EQ(pMainGroups->Add(CComVariant(static_cast<SHORT>(7)), CComBSTR("weg"), &pMain), S_OK);
    EXPECT_TRUE(m_host.IsModified());
    ASSERT_EQ(pMain->Delete(), S_OK);
    EXPECT_FALSE(m_host.IsModified());
    EXPECT_EQ(ReadText(m_strPath), strBefore);

    // A real change is saved with the counter, so no id is handed out twice.
    CComPtr<IEtsDeviceParameter> pParameter = Find<IEtsDeviceParameter>(m_host, 102);
    ASSERT_EQ(pParameter->put_Value(CComVariant("neu")), S_OK);
    ASSERT_TRUE(m_host.IsModified());
    ASSERT_TRUE(m_host.SaveFile(m_strPath));
    EXPECT_FALSE(m_host.IsModified());
    const Json saved = Json::parse(ReadText(m_strPath));
    EXPECT_GT(saved["nextId"].get<LONG>(), nSecond);
    EXPECT_EQ(saved["projects"][0]["mainGroups"].size(), 1u);
    CEtsHost reloaded;
    ASSERT_TRUE(reloaded.LoadFile(m_strPath));
    LONG nAfter = 0;
    ASSERT_EQ(Database(reloaded)->NewId(&nAfter), S_OK);
    EXPECT_GT(nAfter, nSecond);
}

TEST_F(HostProjectChangeTest, DeletingAGroupTakesItsSubtreeAndTheirAssociations)
{
    // Group address 13 alone: its middle group keeps 12.
    CComPtr<IEtsGroupAddress> pOther = Find<IEtsGroupAddress>(m_host, 13);
    ASSERT_EQ(pOther->Delete(), S_OK);
    EXPECT_TRUE(m_host.IsModified());
    VARIANT_BOOL bCentral = 0;
    EXPECT_EQ(pOther->get_Central(&bCentral), E_FAIL);
    Json saved = Json::parse(m_host.SaveText());
    ASSERT_EQ(saved["projects"][0]["mainGroups"][0]["middleGroups"][0]["groupAddresses"].size(), 1u);

    // A fault keeps the group.
    CComPtr<IEtsMainGroup> pMain = Find<IEtsMainGroup>(m_host, 10);
    m_host.AddFault("MainGroup:10", "Delete", E_FAIL);
    EXPECT_EQ(pMain->Delete(), E_FAIL);
    EXPECT_TRUE(Find<IEtsGroupAddress>(m_host, 12));
    m_host.ClearFaults();

    // The main group takes its middle group, group address 12 and the
    // association of object 110 with it.
    CComPtr<IEtsMiddleGroup> pMiddle = Find<IEtsMiddleGroup>(m_host, 11);
    CComPtr<IEtsGroupAddress> pSub = Find<IEtsGroupAddress>(m_host, 12);
    ASSERT_EQ(pMain->Delete(), S_OK);
    saved = Json::parse(m_host.SaveText());
    EXPECT_TRUE(saved["projects"][0]["mainGroups"].empty());
    EXPECT_TRUE(saved["projects"][0]["devices"][0]["commObjects"][0]["associations"].empty());
    CComPtr<IEtsGroupAddresses> pAddresses;
    EXPECT_EQ(pMiddle->get_GroupAddresses(&pAddresses), E_FAIL);
    VARIANT vAddress;
    EXPECT_EQ(pSub->get_Address(&vAddress), E_FAIL);
    EXPECT_FALSE(m_host.FindObject(120));
}

}  // namespace
