#include "HostTestProject.h"

#include "platform/base/AtomicFile.h"
#include "platform/com/ComBSTR.h"
#include "platform/com/ComVariant.h"
#include "platform/host/EtsHost.h"
#include "platform/host/HostProjectFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <unistd.h>

using platform::host::CEtsHost;
using hosttest::Json;

namespace {

std::string Name(IEtsDeviceParameter* pParameter)
{
    CComBSTR bstrName;
    pParameter->get_Name(&bstrName);
    return bstrName.ToUtf8();
}

}  // namespace

TEST(HostProjectFileTest, SampleProjectHoldsTheTimeProgramDevice)
{
    CEtsHost host;
    std::string strError;
    ASSERT_TRUE(host.LoadFile(SAMPLE_PROJECT_PATH, &strError)) << strError;
    EXPECT_EQ(host.GetDeviceIds(), (std::vector<LONG> {1000, 5000}));

    CComPtr<IEtsDevice> pDevice = host.FindDevice(1000);
    ASSERT_TRUE(pDevice);
    // The application program the simulated device runs.
    CComPtr<IEtsApplicationProgram> pProgram;
    ASSERT_EQ(pDevice->get_ApplicationProgram(&pProgram), S_OK);
    LONG nType = 0, nVersion = 0, nManufacturer = 0;
    pProgram->get_DeviceType(&nType);
    pProgram->get_Version(&nVersion);
    CComPtr<IEtsManufacturer> pManufacturer;
    pProgram->get_Manufacturer(&pManufacturer);
    pManufacturer->get_ID(&nManufacturer);
    EXPECT_EQ(nType, 0x2101);
    EXPECT_EQ(nVersion, 0x21);
    EXPECT_EQ(nManufacturer, 2);

    // The parameter families a complete device has.
    CComPtr<IEtsDeviceParameters> pParameters;
    ASSERT_EQ(pDevice->get_DeviceParameters(&pParameters), S_OK);
    LONG nCount = 0;
    pParameters->get_Count(&nCount);
    std::map<std::string, int> families;
    std::set<std::string> names;
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsDeviceParameter> pParameter;
        ASSERT_EQ(pParameters->Item(MakeIndexVariant(i), &pParameter), S_OK);
        const std::string strName = Name(pParameter);
        EXPECT_TRUE(names.insert(strName).second) << strName;
        ++families[strName.substr(0, strName.find('-'))];
    }
    EXPECT_EQ(families["SwitchTime"], 80);
    EXPECT_EQ(families["QuantityLinks"], 25);
    EXPECT_EQ(families["QuantityMember"], 25);
    EXPECT_EQ(families["QuantityDisplayName"], 30);
    EXPECT_EQ(families["DayRoutineDisplayName"], 15);
    EXPECT_EQ(families["ObjectType"], 250);
    EXPECT_EQ(families["GroupAddress"], 125);
    EXPECT_EQ(families["InvalidAssocGroupAddress"], 125);
    for (const char* pszSingle : {"ParameterVersion", "PrintLabel", "SendDelay", "InternalClock", "Summertimes",
                                  "DayRoutines", "Weekroutine", "CacheData", "RequestObjectVisibility",
                                  "DateObjectVisibility", "TimeObjectVisibility", "LockTimeProgramVisibility",
                                  "TimeGroupAddressDisplayName", "DateGroupAddressDisplayName",
                                  "RequestGroupAdressDisplayName", "LockTimeProgramDisplayName"})
        EXPECT_EQ(families[pszSingle], 1) << pszSingle;

    // Objects 0..253; the two day-routine trigger objects are typed and
    // visible, the clock's request object hidden by its parameter.
    CComPtr<IEtsCommObjects> pObjects;
    ASSERT_EQ(pDevice->get_CommunicationObjects(&pObjects), S_OK);
    pObjects->get_Count(&nCount);
    EXPECT_EQ(nCount, 254);
    CComPtr<IEtsCommObjects> pVisible;
    ASSERT_EQ(pDevice->get_VisibleCommunicationObjects(&pVisible), S_OK);
    pVisible->get_Count(&nCount);
    EXPECT_EQ(nCount, 3);  // objects 0, 1 and the lock object 253
}

TEST(HostProjectFileTest, SavingAndLoadingAgainGivesTheSameFile)
{
    CEtsHost host;
    ASSERT_TRUE(host.LoadFile(SAMPLE_PROJECT_PATH));
    const std::string strFirst = host.SaveText();
    CEtsHost again;
    std::string strError;
    ASSERT_TRUE(again.LoadText(strFirst, &strError)) << strError;
    EXPECT_EQ(again.SaveText(), strFirst);
    EXPECT_FALSE(again.IsModified());
}

TEST(HostProjectFileTest, ObjectsWithoutIdGetFreshOnesAboveEveryId)
{
    Json project = hosttest::SmallProject();
    project["nextId"] = 5;  // below the ids in the file: raised
    project["projects"][0]["mainGroups"][0]["middleGroups"][0]["groupAddresses"].push_back(
        Json {{"address", 9}, {"name", "ohne Id"}});
    CEtsHost host;
    std::string strError;
    ASSERT_TRUE(host.LoadText(hosttest::Text(project), &strError)) << strError;
    const Json saved = Json::parse(host.SaveText());
    const Json& added = saved["projects"][0]["mainGroups"][0]["middleGroups"][0]["groupAddresses"][2];
    EXPECT_EQ(added["id"], 121);
    EXPECT_EQ(saved["nextId"], 122);
}

TEST(HostProjectFileTest, FaultyFilesAreRefusedWithThePlaceAndLeaveTheDatabase)
{
    CEtsHost host;
    ASSERT_TRUE(host.LoadText(hosttest::Text(hosttest::SmallProject())));
    const std::string strBefore = host.SaveText();

    struct Case {
        std::function<void(Json&)> change;
        std::string strMessagePart;
    };
    const std::vector<Case> cases = {
        {[](Json& j) { j["format"] = "other"; }, "format: expected"},
        {[](Json& j) { j["version"] = 2; }, "version"},
        {[](Json& j) { j["projects"][0]["devices"][0]["id"] = 10; }, "projects[0].devices[0].id: the id 10 is used twice"},
        {[](Json& j) { j["projects"][0]["devices"][0]["commObjects"][0]["associations"][0]["groupAddress"] = 99; },
         "no group address has the id 99"},
        {[](Json& j) { j["projects"][0]["devices"][0]["parameters"][0]["value"] = 1.5; },
         "parameters[0].value: expected a text or an integer"},
        {[](Json& j) { j["projects"][0]["mainGroups"][0].erase("address"); }, "mainGroups[0].address"},
        // The individual address's parts are never cut into another device's.
        {[](Json& j) { j["projects"][0]["devices"][0]["address"] = 300; },
         "devices[0].address: expected an integer from 0 to 255 or null"},
        {[](Json& j) { j["projects"][0]["devices"][0]["line"] = Json {{"address", 1}, {"area", 16}}; },
         "devices[0].line.area: expected an integer from 0 to 15 or null"},
        {[](Json& j) { j["projects"][0]["devices"][0]["line"] = Json {{"address", 16}, {"area", 1}}; },
         "devices[0].line.address: expected an integer from 0 to 15 or null"},
        {[](Json& j) { j["projects"][0]["devices"][0]["applicationProgram"]["typeLengths"]["4294967297"] = 7; },
         "typeLengths.4294967297: expected a type number as the key"},
    };
    for (const Case& c : cases) {
        Json project = hosttest::SmallProject();
        c.change(project);
        std::string strError;
        EXPECT_FALSE(host.LoadText(hosttest::Text(project), &strError));
        EXPECT_NE(strError.find(c.strMessagePart), std::string::npos) << strError;
    }
    std::string strError;
    EXPECT_FALSE(host.LoadText("{ not json", &strError));
    EXPECT_NE(strError.find("not a JSON text"), std::string::npos);
    EXPECT_EQ(host.SaveText(), strBefore);
}

TEST(HostProjectFileTest, AssociationsReachOnlyGroupAddressesOfTheirProject)
{
    Json project = hosttest::SmallProject();
    Json other = {{"id", 2},
                  {"name", "Anderes"},
                  {"mainGroups",
                   Json::array({{{"id", 20},
                                 {"address", 1},
                                 {"middleGroups",
                                  Json::array({{{"id", 21},
                                                {"address", 0},
                                                {"groupAddresses", Json::array({{{"id", 22}, {"address", 1}}})}}})}}})}};
    project["projects"].push_back(other);
    project["projects"][0]["devices"][0]["commObjects"][1]["associations"] =
        Json::array({{{"id", 130}, {"groupAddress", 22}}});
    CEtsHost host;
    std::string strError;
    EXPECT_FALSE(host.LoadText(hosttest::Text(project), &strError));
    EXPECT_NE(strError.find("belongs to another project"), std::string::npos) << strError;
}

TEST(HostProjectFileTest, SaveFileWritesTheChangesAndClearsTheFlag)
{
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("host-save-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string strPath = (dir / "project.json").string();

    CEtsHost host;
    ASSERT_TRUE(host.LoadText(hosttest::Text(hosttest::SmallProject())));
    CComPtr<IUnknown> pObject = host.FindObject(102);
    CComPtr<IEtsDeviceParameter> pParameter;
    ASSERT_EQ(pObject->QueryInterface(&pParameter.p), S_OK);
    CComVariant vSame("x");
    ASSERT_EQ(pParameter->put_Value(vSame), S_OK);
    EXPECT_FALSE(host.IsModified());  // the same value is no change
    CComVariant vNew("neu");
    ASSERT_EQ(pParameter->put_Value(vNew), S_OK);
    EXPECT_TRUE(host.IsModified());
    ASSERT_TRUE(host.SaveFile(strPath));
    EXPECT_FALSE(host.IsModified());

    CEtsHost reloaded;
    ASSERT_TRUE(reloaded.LoadFile(strPath));
    const Json saved = Json::parse(reloaded.SaveText());
    EXPECT_EQ(saved["projects"][0]["devices"][0]["parameters"][1]["value"], "neu");
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
    std::filesystem::remove_all(dir);
}

// Found by fuzzing the project file: an id of 2147483647, or a counter there
// with objects still to number, made the next id overflow. Such a file has
// no id left to hand out and is refused; the last usable counter loads.
TEST(HostProjectFileTest, IdsAtTheEndOfTheRangeAreRefused)
{
    CEtsHost host;
    std::string strError;
    Json project = hosttest::SmallProject();
    project["projects"][0]["id"] = 2147483647;
    EXPECT_FALSE(host.LoadText(hosttest::Text(project), &strError));
    EXPECT_NE(strError.find("nextId: no id is left above 2147483647"), std::string::npos) << strError;

    project = hosttest::SmallProject();
    project["nextId"] = 2147483647;
    project["projects"][0].erase("id");
    EXPECT_FALSE(host.LoadText(hosttest::Text(project), &strError));
    EXPECT_NE(strError.find("nextId: no id is left"), std::string::npos) << strError;

    project = hosttest::SmallProject();
    project["nextId"] = 2147483646;
    project["projects"][0].erase("id");
    ASSERT_TRUE(host.LoadText(hosttest::Text(project), &strError)) << strError;
    EXPECT_EQ(Json::parse(host.SaveText())["nextId"], 2147483647);
}

// Seen while mending the above: a number beyond the signed 64-bit range was
// read as a negative one (18446744073709551615 as -1) and taken as a value.
TEST(HostProjectFileTest, NumbersBeyondSixtyFourBitsAreRefused)
{
    CEtsHost host;
    std::string strError;
    Json project = hosttest::SmallProject();
    project["projects"][0]["devices"][0]["parameters"][0]["value"] = 18446744073709551615ull;
    EXPECT_FALSE(host.LoadText(hosttest::Text(project), &strError));
    EXPECT_NE(strError.find("parameters[0].value: expected an integer"), std::string::npos) << strError;
}

// Texts are limited in characters: a name as long as the host's objects
// take, a parameter text far beyond what the editor writes.
TEST(HostProjectFileTest, TextsLongerThanTheHostsObjectsHoldAreRefusedWithTheirPlace)
{
    using platform::host::kMaxParameterTextLength;
    using platform::host::kMaxProjectTextLength;
    std::string strUmlauts;
    for (std::size_t i = 0; i < kMaxProjectTextLength; ++i)
        strUmlauts += "ä";
    Json project = hosttest::SmallProject();
    project["projects"][0]["mainGroups"][0]["name"] = strUmlauts;
    project["projects"][0]["devices"][0]["parameters"][1]["value"] = std::string(kMaxParameterTextLength, 'f');
    CEtsHost host;
    std::string strError;
    EXPECT_TRUE(host.LoadText(hosttest::Text(project), &strError)) << strError;

    project["projects"][0]["mainGroups"][0]["name"] = strUmlauts + "x";
    EXPECT_FALSE(host.LoadText(hosttest::Text(project), &strError));
    EXPECT_EQ(strError, "projects[0].mainGroups[0].name: expected a text of at most 1024 characters");
    project = hosttest::SmallProject();
    project["projects"][0]["devices"][0]["parameters"][1]["value"] = std::string(kMaxParameterTextLength + 1, 'f');
    EXPECT_FALSE(host.LoadText(hosttest::Text(project), &strError));
    EXPECT_EQ(strError, "projects[0].devices[0].parameters[1].value: expected a text of at most 16384 characters");
    project = hosttest::SmallProject();
    project["projects"][0]["devices"][0]["parameters"][1]["name"] = std::string(kMaxProjectTextLength + 1, 'n');
    EXPECT_FALSE(host.LoadText(hosttest::Text(project), &strError));
    EXPECT_NE(strError.find("parameters[1].name: expected a text of at most"), std::string::npos) << strError;

    // The objects take no longer texts, so the host never writes what it
    // would refuse.
    ASSERT_TRUE(host.LoadText(hosttest::Text(hosttest::SmallProject())));
    const std::string strBefore = host.SaveText();
    CComPtr<IUnknown> pObject = host.FindObject(102);
    CComPtr<IEtsDeviceParameter> pParameter;
    ASSERT_EQ(pObject->QueryInterface(&pParameter.p), S_OK);
    CComVariant vLong(std::string(kMaxParameterTextLength + 1, 'f').c_str());
    EXPECT_EQ(pParameter->put_Value(vLong), E_INVALIDARG);
    CComPtr<IEtsMainGroup> pMain;
    ASSERT_EQ(host.FindObject(10)->QueryInterface(&pMain.p), S_OK);
    EXPECT_EQ(pMain->put_Description(CComBSTR((strUmlauts + "x").c_str())), E_INVALIDARG);
    CComPtr<IEtsMiddleGroups> pMiddleGroups;
    ASSERT_EQ(pMain->get_MiddleGroups(&pMiddleGroups), S_OK);
    CComPtr<IEtsMiddleGroup> pMiddle;
    EXPECT_EQ(pMiddleGroups->Add(CComVariant(static_cast<SHORT>(5)), CComBSTR((strUmlauts + "x").c_str()), &pMiddle),
              E_INVALIDARG);
    EXPECT_FALSE(host.IsModified());
    EXPECT_EQ(host.SaveText(), strBefore);
}
