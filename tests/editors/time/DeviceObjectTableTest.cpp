// The device object table against the host stand-in: the rows of the
// objects of two devices on one group address with their columns and sort,
// and rows made from what could be read when host calls fail.

#include "access/HostObjectMaps.h"
#include "editors/time/DeviceObjectTable.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/WinApp.h"
#include "resources/de/BuiltInResources.h"
#include "tests/app/HostTestSupport.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/ui/TestEnvironment.h"

#include <QHeaderView>

#include <memory>

using apptest::Json;

namespace {

constexpr LONG kGroup = 12;  // 1/2/3
constexpr LONG kOtherGroup = 13;  // 1/2/4

// Device 1000 at 1.1.5 with object 0 on 1/2/3 and 1/2/4; device 2000 at
// 2.3.7 with object 1 on 1/2/3 only.
Json TwoDevicesOnOneGroup() {
    Json project = apptest::ProjectWithGroups({{10, 1, 11, 2, kGroup, 3}, {10, 1, 11, 2, kOtherGroup, 4}});
    Json first = apptest::Device(1000, 1, {});
    Json& object = first["commObjects"][0];
    object.update({{"name", "Schalten"}, {"function", "Kanal A"}, {"length", 7}, {"priority", 1}, {"read", true}});
    object["associations"] = Json::array({Json {{"id", 1100}, {"groupAddress", kGroup}, {"acknowledge", true}},
                                           Json {{"id", 1101}, {"groupAddress", kOtherGroup}}});
    Json second = apptest::Device(2000, 2, {});
    second["address"] = 7;
    second["line"] = Json {{"address", 3}, {"area", 2}};
    second["commObjects"][1].update({{"name", "Status"}, {"function", "Ausgang"}, {"communication", false}});
    second["commObjects"][1]["associations"].push_back(Json {{"id", 2100}, {"groupAddress", kGroup}});
    project["projects"][0]["devices"] = Json::array({first, second});
    return project;
}

class DeviceObjectTableTest : public apptest::HostTest, public editortest::CEditorSteps {
protected:
    void SetUp() override {
        HostTest::SetUp();
        m_pPrevious = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        m_app.SetProfileName(m_dir.File("Vek_ZR02.ini"));
        Load(TwoDevicesOnOneGroup());
        Scan(1000);
        m_host.ClearLoggerLines();
        m_pane.resize(900, 300);
        m_pane.show();
    }
    void TearDown() override {
        m_pTable.reset();
        platform::SetFrameworkResourceModule(m_pPrevious);
        HostTest::TearDown();
    }

    CDeviceObjectTable& Open(LONG nSubGroupId) {
        m_pTable = std::make_unique<CDeviceObjectTable>(nSubGroupId);
        // Below the close bar, as the table pane lays them out.
        EXPECT_TRUE(m_pTable->Create(&m_pane, QRect(0, 28, 900, 272)));
        return *m_pTable;
    }

    uitest::CTempDir m_dir;
    CWinApp m_app;
    QWidget m_pane;
    std::unique_ptr<CDeviceObjectTable> m_pTable;

private:
    const platform::CResourceModule* m_pPrevious = nullptr;
};


TEST_F(DeviceObjectTableTest, ObjectsOfEveryDeviceOnTheGroupAddressAreRowsAndSortByColumn) {
    CDeviceObjectTable& table = Open(kGroup);
    ASSERT_EQ(table.GetItemCount(), 2);
    EXPECT_EQ(table.GetColumnCount(), 14);
    EXPECT_FALSE(table.AreNotificationsOn());
    EXPECT_EQ(table.headerItem()->text(13).toStdString(), "Gruppenadressen");
    EXPECT_EQ(RowTexts(table, 0), (Texts {"", "0", "1.1.5", "Kanal A", "Schalten", "1 Byte", "Hoch", "+", "+", "+", "+",
                                     "-", "+", "1/2/3, 1/2/4"}));
    EXPECT_EQ(RowTexts(table, 1), (Texts {"", "1", "2.3.7", "Ausgang", "Status", "1 Bit", "Niedrig", "-", "-", "+", "+",
                                     "-", "-", "1/2/3"}));

    // A click on the header of K puts the cleared flag first.
    QHeaderView* pHeader = table.header();
    const QPoint ptK(pHeader->sectionViewportPosition(7) + pHeader->sectionSize(7) / 2, pHeader->height() / 2);
    uitest::Click(pHeader->viewport(), ptK);
    EXPECT_EQ(table.GetItemText(0, 2), "2.3.7");
    // A click on PA: ascending by individual address.
    const QPoint ptPa(pHeader->sectionViewportPosition(2) + pHeader->sectionSize(2) / 2, pHeader->height() / 2);
    uitest::Click(pHeader->viewport(), ptPa);
    EXPECT_EQ(table.GetItemText(0, 2), "1.1.5");
    EXPECT_EQ(table.GetItemText(1, 2), "2.3.7");
}

TEST_F(DeviceObjectTableTest, UnknownOrUnusedGroupAddressesGiveAnEmptyTable) {
    EXPECT_EQ(Open(4711).GetItemCount(), 0);
    EXPECT_TRUE(Logged("subgroup with id = 4711 doesnt exist")) << LoggedLines();
    EXPECT_EQ(Open(kOtherGroup).GetItemCount(), 1);
}

TEST_F(DeviceObjectTableTest, FailedHostReadsStillMakeTheRowWithUnreadFieldsEmpty) {
    // The second row's device address, every object property but its number
    // and its acknowledge flag fail; the first row's values must not show.
    m_host.AddFault("Device:2000", "get_Address", E_FAIL);
    for (const char* pszProperty : {"CommunicationObjectName", "CommunicationObjectFunction", "TransmissionPriority",
                                    "CommunicationEnabled", "ReadEnabled", "WriteEnabled", "TransmissionEnabled",
                                    "UpdateEnabled", "CommunicationObjectLength", "AssociationsText"})
        m_host.AddFault("CommObject:2002", std::string("GetProperty(") + pszProperty + ")", E_FAIL);
    m_host.AddFault("Association:2100", "get_Acknowledge", E_FAIL);

    CDeviceObjectTable& table = Open(kGroup);
    ASSERT_EQ(table.GetItemCount(), 2);
    EXPECT_EQ(RowTexts(table, 0)[2], "1.1.5");
    EXPECT_EQ(RowTexts(table, 1),
              (Texts {"", "1", "0.0.0", "", "", "1 Bit", "System", "-", "-", "-", "-", "-", "-", ""}));
    EXPECT_TRUE(Logged("Couldnt get device address of comm object hr=0x80004005")) << LoggedLines();
    EXPECT_TRUE(Logged("Couldnt get communication object data hr=0x80004005")) << LoggedLines();
    EXPECT_TRUE(Logged("Couldnt get association data hr=0x80004005")) << LoggedLines();

    // A failing association costs only its own row.
    m_host.ClearFaults();
    m_host.AddFault("RefAssociations", "Item", E_FAIL, 1);
    table.FillTable();
    ASSERT_EQ(table.GetItemCount(), 1);
    EXPECT_EQ(table.GetItemText(0, 2), "2.3.7");
}

}  // namespace
