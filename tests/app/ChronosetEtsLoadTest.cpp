// The host load and save of the central object against the host stand-in:
// the sample project's device, the parameter names, faults of host calls,
// and a load -> edit -> save -> reload round trip.

#include "app/Chronoset.h"

#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "model/DayRoutine.h"
#include "platform/com/ComVariant.h"
#include "tests/app/HostTestSupport.h"
#include "tests/support/ScriptedMessageBoxSink.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

namespace {

constexpr LONG kSampleDevice = 1000;

std::string SampleProjectPath()
{
    return (std::filesystem::path(CHRONO_SAMPLE_DATA_FILE).parent_path() / "sample-project.json").string();
}

// Every device parameter of the device in a saved project text, by name.
std::map<std::string, std::string> ParameterTexts(const std::string& strProject, LONG nDevice)
{
    std::map<std::string, std::string> texts;
    const apptest::Json project = apptest::Json::parse(strProject);
    for (const auto& p : project["projects"])
        for (const auto& d : p["devices"])
            if (d["id"] == nDevice)
                for (const auto& parameter : d["parameters"])
                    texts[parameter["name"].get<std::string>()] = parameter["value"].dump();
    return texts;
}

class ChronosetEtsLoadTest : public apptest::HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        m_pPrevious = g_pChronoset;
        m_bModifiedBefore = g_bDataModified;
        g_bDataModified = false;
        NewSet();
    }
    void TearDown() override
    {
        g_pChronoset = m_pPrevious;
        g_bDataModified = m_bModifiedBefore;
        m_pSet.reset();
        HostTest::TearDown();
    }

    void NewSet()
    {
        ReleaseHostObjectMaps();
        m_pSet = std::make_unique<CChronoset>();
        g_pChronoset = m_pSet.get();
    }

    void LoadSample()
    {
        std::string strError;
        ASSERT_TRUE(m_host.LoadFile(SampleProjectPath(), &strError)) << strError;
    }

    // What the start-up does: scan, then load with messages.
    HRESULT LoadDevice(LONG nDevice, BOOL bNoMessages = TRUE)
    {
        Scan(nDevice);
        return m_pSet->LoadFromEts(m_host.FindDevice(nDevice), nullptr, nullptr, bNoMessages, TRUE);
    }

    std::unique_ptr<CChronoset> m_pSet;
    CChronoset* m_pPrevious = nullptr;
    bool m_bModifiedBefore = false;
};

// A small device with the given parameters and no objects.
apptest::Json SmallDevice(const std::vector<std::pair<std::string, apptest::Json>>& parameters)
{
    apptest::Json project = apptest::ProjectWithGroups({{10, 1, 11, 0, 20, 1}});
    apptest::Json device = apptest::Device(kSampleDevice, 0, parameters);
    project["projects"][0]["devices"].push_back(device);
    return project;
}

}  // namespace

TEST_F(ChronosetEtsLoadTest, SampleDeviceLoadsIdentityAndDataSets)
{
    LoadSample();
    CScriptedMessageBoxSink boxes;
    ASSERT_EQ(LoadDevice(kSampleDevice, FALSE), S_OK) << LoggedLines();
    const CChronoset& set = *m_pSet;
    EXPECT_EQ(set.m_nDeviceId, kSampleDevice);
    EXPECT_EQ(set.m_nProjectId, 1);
    EXPECT_EQ(set.m_strDeviceTitle, "ORV/X2.1");
    EXPECT_EQ(set.m_strApplicationName, "ORV/X2.1 Zeitprogramme");
    EXPECT_EQ(set.m_nDeviceType, 8449);
    EXPECT_EQ(set.m_nApplicationVersion, 33);
    EXPECT_EQ(set.m_strManufacturerName, "Vek");
    EXPECT_EQ(set.m_nManufacturerId, 2);
    EXPECT_EQ(set.m_nParameterVersion, 0x20000);
    EXPECT_EQ(set.m_nParameterVersionId, 1001);
    EXPECT_EQ(set.m_nSendDelayId, 1003);
    EXPECT_EQ(set.m_arrObjectTypeIds.size(), 250u);
    EXPECT_EQ(set.m_arrObjectTypeIds[0], 1449);
    EXPECT_EQ(set.GetDayRoutines()->GetCount(), 2);
    EXPECT_EQ(set.GetGroupDataAddresses()->GetCount(false), 2);
    EXPECT_NE(set.GetGroupDataAddresses()->FindByReference(13, false), nullptr);
    // Every parameter went into the host map for the save.
    EXPECT_EQ(g_mapDeviceParameters.GetCount(), 707u);
    // The unchanged sample needs no save and shows no box.
    EXPECT_FALSE(g_bDataModified);
    EXPECT_TRUE(boxes.GetShown().empty());
}

TEST_F(ChronosetEtsLoadTest, SaveWithoutEditKeepsEveryParameterText)
{
    LoadSample();
    const auto before = ParameterTexts(m_host.SaveText(), kSampleDevice);
    ASSERT_EQ(LoadDevice(kSampleDevice), S_OK);
    ASSERT_EQ(m_pSet->SaveToEts(kSampleDevice, nullptr), 0) << LoggedLines();
    const auto after = ParameterTexts(m_host.SaveText(), kSampleDevice);
    ASSERT_EQ(before.size(), after.size());
    // The sample leaves three records empty, which the data sets write in
    // full, and its group-address names differ from the project's, which
    // the load takes over. Everything else stays as it was.
    std::vector<std::string> changed;
    for (const auto& [strName, strText] : before)
        if (after.at(strName) != strText)
            changed.push_back(strName);
    EXPECT_EQ(changed, (std::vector<std::string> {"GroupAddress-0", "InternalClock", "Summertimes", "Weekroutine"}));
    EXPECT_NE(after.at("GroupAddress-0").find("Tagesablauf Arbeitstag"), std::string::npos);
    EXPECT_FALSE(m_host.SaveText().empty());
}

TEST_F(ChronosetEtsLoadTest, EditSaveReloadRoundTrip)
{
    LoadSample();
    ASSERT_EQ(LoadDevice(kSampleDevice), S_OK);
    DayRoutinePosition pos = m_pSet->GetDayRoutines()->GetHeadPosition();
    CDayRoutine* pRoutine = m_pSet->GetDayRoutines()->GetNext(pos);
    ASSERT_NE(pRoutine, nullptr);
    pRoutine->SetName("Neuer Name");
    m_pSet->SetSendDelay(7);
    ASSERT_EQ(m_pSet->SaveToEts(kSampleDevice, nullptr), 0) << LoggedLines();
    const std::string strSaved = m_host.SaveText();
    const auto saved = ParameterTexts(strSaved, kSampleDevice);
    EXPECT_EQ(saved.at("SendDelay"), "7");
    EXPECT_EQ(saved.at("DayRoutineDisplayName-0"), "\"Neuer Name\"");

    // A fresh host from the saved text, a fresh object.
    NewSet();
    std::string strError;
    ASSERT_TRUE(m_host.LoadText(strSaved, &strError)) << strError;
    ASSERT_EQ(LoadDevice(kSampleDevice), S_OK);
    EXPECT_EQ(m_pSet->GetSendDelay(), 7);
    pos = m_pSet->GetDayRoutines()->GetHeadPosition();
    EXPECT_EQ(m_pSet->GetDayRoutines()->GetNext(pos)->GetName(), "Neuer Name");
    // Saving the reloaded set changes no text: nothing stale was left.
    ASSERT_EQ(m_pSet->SaveToEts(kSampleDevice, nullptr), 0);
    EXPECT_EQ(ParameterTexts(m_host.SaveText(), kSampleDevice), saved);
    // The triggers' associations are still there, once each.
    CComPtr<IEtsAssociations> pAssociations;
    m_host.FindCommObject(kSampleDevice, 0)->get_Associations(&pAssociations);
    LONG nCount = 0;
    pAssociations->get_Count(&nCount);
    EXPECT_EQ(nCount, 1);
}

TEST_F(ChronosetEtsLoadTest, DistributeParameterDataNamesAndIndexes)
{
    CChronoset& set = *m_pSet;
    EXPECT_TRUE(set.DistributeParameterData("quantitylinks-3", CComVariant(std::string("abc")), 77));
    ASSERT_GE(set.GetQuantities()->GetLinksParameters().size(), 4u);
    ASSERT_NE(set.GetQuantities()->GetLinksParameters()[3], nullptr);
    EXPECT_EQ(set.GetQuantities()->GetLinksParameters()[3]->GetId(), 77);
    EXPECT_TRUE(set.DistributeParameterData("SwitchTime", CComVariant(std::string("x")), 78));
    EXPECT_TRUE(set.DistributeParameterData("PRINTLABEL", CComVariant(std::string("")), 79));
    EXPECT_TRUE(set.DistributeParameterData("SendDelay", CComVariant(LONG {0x23}), 80));
    EXPECT_EQ(set.GetSendDelay(), 3);
    EXPECT_EQ(set.m_nSendDelayId, 80);
    EXPECT_TRUE(set.DistributeParameterData("ObjectType-4", CComVariant(LONG {1}), 81));
    ASSERT_EQ(set.m_arrObjectTypeIds.size(), 5u);
    EXPECT_EQ(set.m_arrObjectTypeIds[4], 81);
    // Indexes no family can have are ignored instead of growing arrays.
    EXPECT_TRUE(set.DistributeParameterData("ObjectType-99999999999", CComVariant(LONG {1}), 82));
    EXPECT_TRUE(set.DistributeParameterData("ObjectType--2", CComVariant(LONG {1}), 83));
    EXPECT_EQ(set.m_arrObjectTypeIds.size(), 5u);
    EXPECT_FALSE(set.DistributeParameterData("Unbekannt", CComVariant(std::string("")), 84));
}

TEST_F(ChronosetEtsLoadTest, UnknownNameFailsTheLoadBeforeCompletion)
{
    Load(SmallDevice({{"SendDelay", 2}, {"Unbekannt", ""}, {"ParameterVersion", 5}}));
    CScriptedMessageBoxSink boxes;
    EXPECT_EQ(LoadDevice(kSampleDevice, FALSE), E_FAIL);
    EXPECT_TRUE(Logged("Couldnt DistributeParameterData hr=0x80004005"));
    EXPECT_EQ(m_pSet->GetSendDelay(), 2);
    EXPECT_EQ(m_pSet->m_nParameterVersion, 0x20000);
    EXPECT_FALSE(Logged("CompleteEtsLoad"));
    EXPECT_FALSE(g_bDataModified);
}

TEST_F(ChronosetEtsLoadTest, FailingDataSetStopsTheLoadWithBox814)
{
    // No parameters at all: the data sets cannot complete.
    Load(SmallDevice({}));
    CScriptedMessageBoxSink boxes;
    boxes.ExpectText("Fehler beim Laden der Parameterdaten!", IDOK);
    EXPECT_NE(LoadDevice(kSampleDevice, FALSE), S_OK);
    EXPECT_TRUE(Logged("Error calling CompleteEtsLoad"));
    EXPECT_FALSE(Logged("Checking group addresses for communication objects"));
    EXPECT_FALSE(g_bDataModified);
}

TEST_F(ChronosetEtsLoadTest, HostFaultsOnTheWay)
{
    LoadSample();
    // The application program cannot be read: the load goes on.
    m_host.AddFault("Device", "get_ApplicationProgram", E_FAIL);
    // A parameter item that cannot be fetched is skipped, here the last.
    m_host.AddFault("DeviceParameters", "Item", E_FAIL, 707);
    ASSERT_EQ(LoadDevice(kSampleDevice), S_OK) << LoggedLines();
    EXPECT_EQ(m_pSet->m_nDeviceType, -1);
    EXPECT_TRUE(Logged("Couldnt get application program hr=0x80004005"));
    EXPECT_EQ(g_mapDeviceParameters.GetCount(), 706u);

    // The device's own id cannot be read: the load stops at once.
    NewSet();
    m_host.ClearFaults();
    m_host.AddFault("Device", "GetPersistInfo", E_ACCESSDENIED);
    EXPECT_EQ(LoadDevice(kSampleDevice), E_ACCESSDENIED);
    EXPECT_TRUE(Logged("Calling ReadDeviceData hr=0x80070005"));

    // A parameter value that cannot be read ends the walk with its status.
    NewSet();
    m_host.ClearFaults();
    m_host.AddFault("DeviceParameter:1003", "get_Value", E_FAIL);
    EXPECT_EQ(LoadDevice(kSampleDevice), E_FAIL);
    EXPECT_TRUE(Logged("Couldnt get Parameter value hr=0x80004005"));
}

TEST_F(ChronosetEtsLoadTest, SaveChecksObjectTypesAndSendDelay)
{
    LoadSample();
    ASSERT_EQ(LoadDevice(kSampleDevice), S_OK);
    // 249 object types: the parameters are written, then the save fails.
    m_pSet->m_arrObjectTypeIds.resize(249);
    m_pSet->SetSendDelay(9);
    EXPECT_EQ(m_pSet->SaveToEts(kSampleDevice, nullptr), 5);
    EXPECT_TRUE(Logged("invalid number of objecttype parameters: 249 should be: 250"));
    EXPECT_EQ(ParameterTexts(m_host.SaveText(), kSampleDevice).at("SendDelay"), "9");

    // Without the send-delay parameter nothing of the data sets is written.
    m_pSet->m_nSendDelayId = -1;
    m_pSet->SetSendDelay(4);
    DayRoutinePosition pos = m_pSet->GetDayRoutines()->GetHeadPosition();
    m_pSet->GetDayRoutines()->GetNext(pos)->SetName("Nicht gespeichert");
    EXPECT_EQ(m_pSet->SaveToEts(kSampleDevice, nullptr), 5);
    EXPECT_TRUE(Logged("failed to save send delay"));
    const auto texts = ParameterTexts(m_host.SaveText(), kSampleDevice);
    EXPECT_EQ(texts.at("SendDelay"), "9");
    EXPECT_EQ(texts.at("DayRoutineDisplayName-0"), "\"Arbeitstag\"");
}

// An import over a host device replaces its associations; they go at the next
// save into the host, which links the new set's own again.
TEST_F(ChronosetEtsLoadTest, ReplacedAssociationsAreDeletedByTheNextSave)
{
    LoadSample();
    ASSERT_EQ(LoadDevice(kSampleDevice), S_OK);
    m_pSet->SetHostAssociationsReplaced(true);
    m_host.ClearCallLog();
    ASSERT_EQ(m_pSet->SaveToEts(kSampleDevice, nullptr), 0) << LoggedLines();
    EXPECT_FALSE(m_pSet->AreHostAssociationsReplaced());
    const std::size_t nDeletedWithImport = m_host.CountCalls("Delete");
    EXPECT_GT(nDeletedWithImport, 0u);
    CComPtr<IEtsAssociations> pAssociations;
    m_host.FindCommObject(kSampleDevice, 0)->get_Associations(&pAssociations);
    LONG nCount = 0;
    pAssociations->get_Count(&nCount);
    EXPECT_EQ(nCount, 1);

    // Without an import the save deletes less.
    m_host.ClearCallLog();
    ASSERT_EQ(m_pSet->SaveToEts(kSampleDevice, nullptr), 0);
    EXPECT_LT(m_host.CountCalls("Delete"), nDeletedWithImport);
}
