#include "platform/base/MessageBoxSink.h"
#include "platform/bus/FalconInterfaces.h"
#include "platform/bus/InterfaceSelection.h"
#include "platform/bus/InterfaceSelectionClass.h"
#include "platform/bus/MachineConnections.h"
#include "platform/com/ComActivation.h"
#include "platform/com/ComPtr.h"
#include "platform/ui/ConnectionSelectionDlg.h"
#include "platform/ui/Handles.h"
#include "platform/ui/QtConnectionChooser.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/support/ScriptedFileDialogService.h"
#include "tests/support/ScriptedMessageBoxSink.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

using ConnectionDlg = CConnectionSelectionDlg;
using Falcon::ConnectionChoice;
using Falcon::ConnectionEntry;
using Falcon::EConnectionProblem;

constexpr GUID kOtherInterface = platform::MakeGuid("{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}");

QTreeWidget* List(QDialog& dlg) {
    return qobject_cast<QTreeWidget*>(uitest::FindControl(&dlg, ConnectionDlg::IDC_CONNECTION_LIST));
}
QLineEdit* StateFile(QDialog& dlg) {
    return qobject_cast<QLineEdit*>(uitest::FindControl(&dlg, ConnectionDlg::IDC_STATE_FILE));
}

// Two connections: the simulated device with its file and one whose
// parameter the user cannot change. The check refuses paths with "bad".
ConnectionChoice MakeChoice() {
    ConnectionChoice choice;
    choice.vecEntries = {
        {"Simulated KNX device", Falcon::kSimulatedInterface, "/data/device.state", true},
        {"Other line", kOtherInterface, "port 7", false},
    };
    choice.nSelected = 0;
    choice.fnCheck = [](const ConnectionEntry& entry) {
        return entry.strParameter.find("bad") != std::string::npos ? EConnectionProblem::NotAStateFile
                                                                    : EConnectionProblem::None;
    };
    return choice;
}

class ConnectionSelectionDlgTest : public ::testing::Test {
protected:
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
};

TEST_F(ConnectionSelectionDlgTest, ListsTheConnectionsAndEditsOnlyAStateFile) {
    ConnectionChoice choice = MakeChoice();
    choice.nSelected = 1;
    m_runner.Then([](QDialog& d) {
        QTreeWidget* pList = List(d);
        ASSERT_NE(pList, nullptr);
        ASSERT_EQ(pList->topLevelItemCount(), 2);
        EXPECT_EQ(pList->topLevelItem(0)->text(0).toStdString(), "Simulated KNX device");
        EXPECT_EQ(pList->topLevelItem(0)->text(1).toStdString(), "/data/device.state");
        EXPECT_EQ(pList->topLevelItem(1)->text(1).toStdString(), "port 7");
        // The preselected one is shown; its parameter is not the user's.
        EXPECT_EQ(pList->currentItem(), pList->topLevelItem(1));
        EXPECT_EQ(StateFile(d)->text().toStdString(), "port 7");
        EXPECT_FALSE(StateFile(d)->isEnabled());
        EXPECT_FALSE(uitest::FindControl(&d, ConnectionDlg::IDC_BROWSE)->isEnabled());

        uitest::Click(pList->viewport(), pList->visualItemRect(pList->topLevelItem(0)).center());
        EXPECT_EQ(pList->currentItem(), pList->topLevelItem(0));
        EXPECT_TRUE(StateFile(d)->isEnabled());
        EXPECT_TRUE(uitest::FindControl(&d, ConnectionDlg::IDC_BROWSE)->isEnabled());
        uitest::PressKey(StateFile(d), Qt::Key_A, Qt::ControlModifier);
        uitest::TypeText(StateFile(d), "/tmp/x.state");
        EXPECT_EQ(pList->topLevelItem(0)->text(1).toStdString(), "/tmp/x.state");
        uitest::Click(uitest::FindControl(&d, IDOK));
    });
    CQtConnectionChooser chooser;
    ASSERT_TRUE(chooser.ChooseConnection(choice));
    EXPECT_EQ(choice.nSelected, 0);
    EXPECT_EQ(choice.vecEntries[0].strParameter, "/tmp/x.state");
    EXPECT_EQ(choice.vecEntries[1].strParameter, "port 7");
}

TEST_F(ConnectionSelectionDlgTest, AKnxdUrlIsEditedWithoutBrowsing) {
    ConnectionChoice choice = MakeChoice();
    choice.vecEntries.push_back(
        {Falcon::kKnxdConnectionName, Falcon::kKnxdInterface, Falcon::kDefaultKnxdUrl, false, true});
    m_runner.Then([](QDialog& d) {
        QTreeWidget* pList = List(d);
        auto* pLabel = qobject_cast<QLabel*>(uitest::FindControl(&d, ConnectionDlg::IDC_STATE_FILE_LABEL));
        ASSERT_NE(pLabel, nullptr);
        uitest::Click(pList->viewport(), pList->visualItemRect(pList->topLevelItem(2)).center());
        EXPECT_EQ(pLabel->text().toStdString(), "&knxd-Adresse:");
        EXPECT_TRUE(StateFile(d)->isEnabled());
        EXPECT_FALSE(uitest::FindControl(&d, ConnectionDlg::IDC_BROWSE)->isEnabled());
        uitest::PressKey(StateFile(d), Qt::Key_A, Qt::ControlModifier);
        uitest::TypeText(StateFile(d), "ip:gateway:6720");
        // Back on the state file, its own label returns.
        uitest::Click(pList->viewport(), pList->visualItemRect(pList->topLevelItem(0)).center());
        EXPECT_EQ(pLabel->text().toStdString(), "&Zustandsdatei:");
        uitest::Click(pList->viewport(), pList->visualItemRect(pList->topLevelItem(2)).center());
        EXPECT_EQ(StateFile(d)->text().toStdString(), "ip:gateway:6720");
        uitest::Click(uitest::FindControl(&d, IDOK));
    });
    CQtConnectionChooser chooser;
    ASSERT_TRUE(chooser.ChooseConnection(choice));
    EXPECT_EQ(choice.nSelected, 2);
    EXPECT_EQ(choice.vecEntries[2].strParameter, "ip:gateway:6720");
    EXPECT_EQ(choice.vecEntries[0].strParameter, "/data/device.state");
}

TEST_F(ConnectionSelectionDlgTest, RefusedChoiceSaysWhyAndStaysOpen) {
    ConnectionChoice choice = MakeChoice();
    CScriptedMessageBoxSink::Expectation box;
    box.textPart = ConnectionDlg::GetProblemText(EConnectionProblem::NotAStateFile);
    box.caption = "Busschnittstelle auswählen";
    box.style = MB_OK | MB_ICONERROR;
    m_boxes.Expect(box);
    m_runner.Then([](QDialog& d) {
        uitest::PressKey(StateFile(d), Qt::Key_A, Qt::ControlModifier);
        uitest::TypeText(StateFile(d), "/bad.state");
        uitest::Click(uitest::FindControl(&d, IDOK));
        EXPECT_TRUE(d.isVisible());
        uitest::PressKey(StateFile(d), Qt::Key_A, Qt::ControlModifier);
        uitest::TypeText(StateFile(d), "/good.state");
        uitest::PressKey(&d, Qt::Key_Return);
    });
    ConnectionDlg dlg(choice);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(m_boxes.GetShown().size(), 1u);
    EXPECT_EQ(m_boxes.GetShown()[0].strText.substr(0, 11), "/bad.state\n");
    EXPECT_EQ(choice.vecEntries[0].strParameter, "/good.state");
}

// Return on the list confirms once: a refused row says why once; a double
// click on a row confirms that row.
TEST_F(ConnectionSelectionDlgTest, ReturnOnTheListAndDoubleClickConfirmOnce) {
    ConnectionChoice choice = MakeChoice();
    choice.vecEntries[0].strParameter = "/bad.state";
    CScriptedMessageBoxSink::Expectation box;
    box.textPart = ConnectionDlg::GetProblemText(EConnectionProblem::NotAStateFile);
    m_boxes.Expect(box);
    m_runner.Then([](QDialog& d) {
        QTreeWidget* pList = List(d);
        ASSERT_TRUE(pList->hasFocus());
        uitest::PressWindowKey(&d, Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
        uitest::DoubleClick(pList->viewport(), pList->visualItemRect(pList->topLevelItem(1)).center());
    });
    ConnectionDlg dlg(choice);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(m_boxes.GetShown().size(), 1u);
    EXPECT_EQ(choice.nSelected, 1);
}

TEST_F(ConnectionSelectionDlgTest, CancelKeepsTheChoiceAndBrowseFillsThePath) {
    ConnectionChoice choice = MakeChoice();
    choice.strCaption = "Eigene";
    CScriptedFileDialogService files;
    CScriptedFileDialogService::Expectation browse;
    browse.bOpen = false;
    browse.initialDir = "/data";
    browse.strPath = "/picked/dev.state";
    files.Expect(browse);
    m_runner.Then([](QDialog& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "Eigene");
        uitest::Click(uitest::FindControl(&d, ConnectionDlg::IDC_BROWSE));
        EXPECT_EQ(StateFile(d)->text().toStdString(), "/picked/dev.state");
        uitest::Click(uitest::FindControl(&d, IDCANCEL));
    });
    CQtConnectionChooser chooser;
    EXPECT_FALSE(chooser.ChooseConnection(choice));
    EXPECT_EQ(choice.vecEntries[0].strParameter, "/data/device.state");
    ASSERT_EQ(files.GetRequests().size(), 1u);
    EXPECT_EQ(files.GetRequests()[0].strFileName, "device.state");
}

// The whole road as the editor takes it: the class from the class table,
// the dialog through the installed chooser, the record filled.
TEST_F(ConnectionSelectionDlgTest, ComponentRunsTheDialog) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("ifseltest" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    const std::string strChosen = (dir / "sub" / "dev.state").string();

    ASSERT_TRUE(SUCCEEDED(RegisterInterfaceSelectionClass()));
    CComPtr<Falcon::IInterfaceSelection> pSelection;
    ASSERT_EQ(CoCreateInstance(Falcon::CLSID_InterfaceSelection, nullptr, CLSCTX_ALL,
                               IidOf<Falcon::IInterfaceSelection>(), reinterpret_cast<void**>(&pSelection.p)),
              S_OK);
    CQtConnectionChooser chooser;
    Falcon::IConnectionChooser* pPrevious = Falcon::SetConnectionChooser(&chooser);

    m_runner.Then([&](QDialog& d) {
        EXPECT_EQ(StateFile(d)->text().toStdString(), Falcon::GetDefaultDeviceStatePath());
        uitest::PressKey(StateFile(d), Qt::Key_A, Qt::ControlModifier);
        uitest::TypeText(StateFile(d), strChosen);
        uitest::Click(uitest::FindControl(&d, IDOK));
    });
    Falcon::ConnectionRecord record {};
    EXPECT_EQ(pSelection->SelectConnection(nullptr, -1, &record), S_OK);
    EXPECT_EQ(Falcon::GetConnectionName(record), Falcon::kSimulatedConnectionName);
    EXPECT_EQ(record.guidInterface, Falcon::kSimulatedInterface);
    EXPECT_EQ(Falcon::GetConnectionParameter(record), strChosen);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "sub"));

    m_runner.Then([](QDialog& d) { uitest::PressKey(&d, Qt::Key_Escape); });
    const Falcon::ConnectionRecord before = record;
    EXPECT_EQ(pSelection->SelectConnection(nullptr, -1, &record), S_FALSE);
    EXPECT_EQ(std::memcmp(&before, &record, sizeof record), 0);

    Falcon::SetConnectionChooser(pPrevious);
    pSelection.Release();
    RevokeInterfaceSelectionClass();
    std::filesystem::remove_all(dir);
}

// The dialog opens centred over the window it belongs to.
TEST_F(ConnectionSelectionDlgTest, OpensCentredOverItsOwner) {
    QWidget owner;
    owner.setGeometry(60, 40, 680, 520);
    owner.show();
    ConnectionChoice choice = MakeChoice();
    choice.hOwner = platform::ui::HwndFromWidget(&owner);
    m_runner.Then([&](QDialog& d) {
        const QPoint ptCentre = d.frameGeometry().center();
        const QPoint ptOwner = owner.frameGeometry().center();
        EXPECT_LE((ptCentre - ptOwner).manhattanLength(), 4) << ptCentre.x() << "," << ptCentre.y();
        uitest::Click(uitest::FindControl(&d, IDCANCEL));
    });
    CQtConnectionChooser chooser;
    EXPECT_FALSE(chooser.ChooseConnection(choice));
}

}  // namespace
