// The complete main window: bars, menu, status line, closing with the save
// question, the window keys of the ini file, and the file, device and print
// commands, driven through their command ids on the offscreen platform.

#include "app/Chronoset.h"
#include "model/DayRoutine.h"
#include "model/DaySwitchTime.h"
#include "model/IniManager.h"
#include "model/Quantity.h"
#include "common/Globals.h"
#include "platform/base/Guid.h"
#include "platform/base/HelpService.h"
#include "platform/base/PathUtil.h"
#include "platform/base/PrivateProfile.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/WinApp.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Menu.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/support/RecordingHelpService.h"
#include "tests/support/ScriptedFileDialogService.h"
#include "tests/support/ScriptedMessageBoxSink.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/IReportView.h"
#include "ui/MainTableBox.h"
#include "ui/MainFrameWnd.h"
#include "ui/MainTableView.h"
#include "ui/NavigationTree.h"
#include "ui/ParameterDlg.h"
#include "ui/ViewNotify.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <utility>

namespace {

using uitest::CTempDir;

constexpr UINT MB_ERROR_OK = 0x10;  // error icon, OK

std::string ReadFile(const std::string& strPath) {
    std::ifstream file(strPath, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The menu of the window's bar that holds the item with the command id, and
// the item; nulls when there is none.
std::pair<QAction*, QAction*> FindBarItem(CParameterDlg& dlg, UINT nId) {
    QMenuBar* pBar = dlg.GetMenuBarWidget();
    for (QAction* pTitle : pBar != nullptr ? pBar->actions() : QList<QAction*>()) {
        if (pTitle->menu() != nullptr) {
            if (QAction* pItem = uitest::FindMenuAction(*pTitle->menu(), nId)) {
                return {pTitle, pItem};
            }
        }
    }
    return {nullptr, nullptr};
}

// Opens the menu that holds the command with a click on its title in the
// bar, as a user does; null when no menu holds it.
QMenu* OpenBarMenu(CParameterDlg& dlg, UINT nId) {
    const auto [pTitle, pItem] = FindBarItem(dlg, nId);
    if (pTitle == nullptr) {
        return nullptr;
    }
    QMenuBar* pBar = dlg.GetMenuBarWidget();
    uitest::Click(pBar, pBar->actionGeometry(pTitle).center());
    uitest::ProcessEvents();
    EXPECT_TRUE(pTitle->menu()->isVisible()) << "the menu of " << nId << " did not open";
    return pTitle->menu();
}

// What the user sees of the item once its menu is open: enabled, checked.
// Absent items count as disabled.
std::pair<bool, bool> ShownItemState(CParameterDlg& dlg, UINT nId) {
    QMenu* pMenu = OpenBarMenu(dlg, nId);
    if (pMenu == nullptr) {
        return {false, false};
    }
    QAction* pItem = FindBarItem(dlg, nId).second;
    const std::pair<bool, bool> state{pItem->isEnabled(), pItem->isChecked()};
    uitest::PressWindowKey(pMenu, Qt::Key_Escape);
    uitest::ProcessEvents();
    EXPECT_FALSE(pMenu->isVisible());
    return state;
}

bool IsCommandEnabled(CParameterDlg& dlg, UINT nId) {
    return ShownItemState(dlg, nId).first;
}

int CheckState(CParameterDlg& dlg, UINT nId) {
    return ShownItemState(dlg, nId).second ? 1 : 0;
}

// Picks the item from the window's menu as a user does.
void PickMenuItem(CParameterDlg& dlg, UINT nId) {
    QMenu* pMenu = OpenBarMenu(dlg, nId);
    ASSERT_NE(pMenu, nullptr) << "no menu item " << nId;
    QAction* pItem = FindBarItem(dlg, nId).second;
    ASSERT_TRUE(pMenu->actions().contains(pItem)) << nId << " is in a cascade";
    if (!pItem->isEnabled()) {
        ADD_FAILURE() << "menu item " << nId << " is disabled";
        pMenu->hide();
        return;
    }
    uitest::Click(pMenu, pMenu->actionGeometry(pItem).center());
    uitest::ProcessEvents();
}

// The children's texts of a tree item.
std::vector<std::string> ChildTexts(const CNavigationTree& tree, const QTreeWidgetItem* pItem) {
    std::vector<std::string> texts;
    for (QTreeWidgetItem* p = tree.GetChildItem(pItem); p != nullptr; p = tree.GetNextSiblingItem(p)) {
        texts.push_back(tree.GetItemText(p));
    }
    return texts;
}

// The "Tagesabläufe" node of a tree.
QTreeWidgetItem* DayRoutinesNode(const CNavigationTree& tree) {
    for (QTreeWidgetItem* pTop = tree.GetRootItem(); pTop != nullptr; pTop = tree.GetNextSiblingItem(pTop)) {
        for (QTreeWidgetItem* p = tree.GetChildItem(pTop); p != nullptr; p = tree.GetNextSiblingItem(p)) {
            if (tree.GetItemText(p) == "Tagesabläufe") {
                return p;
            }
        }
    }
    return nullptr;
}

// A click into the empty part of the first row's table, as a user gives it
// the focus.
void FocusTable(CParameterDlg& dlg) {
    CMainTableView* pView = dlg.GetTableView(0);
    ASSERT_NE(pView, nullptr);
    CMainTableBox* pBox = pView->GetTableBox();
    ASSERT_NE(pBox, nullptr);
    uitest::Click(pBox->viewport(), QPoint(5, pBox->viewport()->height() - 3));
    uitest::ProcessEvents();
    ASSERT_TRUE(pBox->hasFocus());
}

class FakeReportView : public IReportView {
public:
    explicit FakeReportView(bool bPreviewStarts) : m_bPreviewStarts(bPreviewStarts) {}
    bool HasWindow() const override { return m_bPreviewOpen; }
    void OnPreviewPrint() override { ++m_nPreviewPrints; }
    void OnFilePrint() override { ++m_nPrints; }
    bool DoPrintPreview(UINT, QWidget*) override { return m_bPreviewOpen = m_bPreviewStarts; }
    void OnFilePrintSetup() override {}
    int RunPrintSelection(CParameterDlg*) override { return IDOK; }
    void DestroyWindow() override { m_bPreviewOpen = false; }

    bool m_bPreviewStarts;
    bool m_bPreviewOpen = false;
    int m_nPrints = 0;
    int m_nPreviewPrints = 0;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pPreviousResources = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        // The window's profile, in the temporary folder.
        m_app.SetProfileName(Ini());
        m_bStandalone = g_bStandalone;
        m_bModified = g_bDataModified;
        m_pPrevious = g_pChronoset;
        g_pChronoset = new CChronoset;
        g_bDataModified = false;
        g_bStandalone = true;
        CParameterDlg::SetDownloadFollowUpDelay(0);
    }
    void TearDown() override {
        CParameterDlg::SetDateTimeDialogRunner(nullptr);
        CParameterDlg::SetStatusDialogRunner(nullptr);
        CParameterDlg::SetReportViewFactory(nullptr);
        g_bPrintPreviewActive = false;
        delete g_pChronoset;
        g_pChronoset = m_pPrevious;
        g_bDataModified = m_bModified;
        g_bStandalone = m_bStandalone;
        platform::SetFrameworkResourceModule(m_pPreviousResources);
    }

    std::string Ini() const { return m_dir.File("Vek_ZR02.ini"); }
    std::string IniValue(const char* pszSection, const char* pszKey) const {
        return platform::GetPrivateProfileString(pszSection, pszKey, "", Ini());
    }
    void WriteIni(const char* pszSection, const char* pszKey, const std::string& strValue) const {
        platform::WritePrivateProfileString(pszSection, pszKey, strValue.c_str(), Ini());
    }
    // A data file with the routines' names, numbered from 1.
    std::string WriteDataFile(const std::string& strName, std::initializer_list<const char*> routines) {
        CChronoset set;
        for (const char* pszName : routines) {
            set.GetDayRoutines()->CreateDayRoutine()->SetName(pszName);
        }
        set.SetDeviceAddress(0x1105);
        const std::string strPath = m_dir.File(strName);
        CChronoset* pKept = g_pChronoset;
        EXPECT_EQ(set.SaveToFile(strPath, nullptr), 1);
        g_pChronoset = pKept;
        return strPath;
    }
    // Runs the window with the script; the window ends through its exit
    // command unless the script closed it.
    void Run(const std::function<void(CParameterDlg&)>& script) {
        CParameterDlg dlg(nullptr, nullptr);
        m_runner.Then([&](QDialog& d) {
            script(dlg);
            if (d.isVisible()) {
                g_bDataModified = false;
                dlg.SendCommand(CParameterDlg::ID_FILE_EXIT);
            }
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }

    CTempDir m_dir;
    CWinApp m_app;
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    CScriptedFileDialogService m_files;

private:
    const platform::CResourceModule* m_pPreviousResources = nullptr;
    bool m_bStandalone = false;
    bool m_bModified = false;
    CChronoset* m_pPrevious = nullptr;
};

TEST_F(MainWindowTest, UsageLinesOfTheDataSets) {
    for (int i = 0; i < 3; ++i) {
        g_pChronoset->GetDayRoutines()->CreateDayRoutine();
    }
    DayRoutinePosition pos = g_pChronoset->GetDayRoutines()->GetHeadPosition();
    g_pChronoset->GetDayRoutines()->GetNext(pos)->AddSwitchTime(nullptr);
    g_pChronoset->GetQuantities()->CreateQuantity();
    EXPECT_EQ(CParameterDlg::BuildUsageText(6), "Tagesabläufe: 3 (20%) belegt, 12 frei von insgesamt 15");
    EXPECT_EQ(CParameterDlg::BuildUsageText(2), "Mengen: 1 (3%) belegt, 29 frei von insgesamt 30");
    EXPECT_EQ(CParameterDlg::BuildUsageText(12), CParameterDlg::BuildUsageText(2));
    EXPECT_EQ(CParameterDlg::BuildUsageText(11), "Schaltzeiten: 1 (0%) belegt, 799 frei von insgesamt 800");
    EXPECT_EQ(CParameterDlg::BuildUsageText(8), "Sommerzeiten: 0 (0%) belegt, 10 frei von insgesamt 10");
    EXPECT_EQ(CParameterDlg::BuildUsageText(9), "Sondertage: 0 (0%) belegt, 100 frei von insgesamt 100");
    EXPECT_EQ(CParameterDlg::BuildUsageText(14), "Mengenmitglieder: 0 (0%) belegt, 300 frei von insgesamt 300");
    for (int nType : {0, 1, 3, 4, 5, 7, 10, 13}) {
        EXPECT_EQ(CParameterDlg::BuildUsageText(nType), "") << nType;
    }

    Run([](CParameterDlg& dlg) {
        // The focused table of day routines shows its usage, the focused
        // tree an empty line.
        CNavigationTree* pTree = dlg.GetTree(0);
        ASSERT_NE(pTree, nullptr);
        QTreeWidgetItem* pRoutines = DayRoutinesNode(*pTree);
        ASSERT_NE(pRoutines, nullptr);
        uitest::Click(pTree->viewport(), pTree->visualItemRect(pRoutines).center());
        FocusTable(dlg);
        EXPECT_EQ(dlg.GetStatusBar().GetPaneText(0), "Tagesabläufe: 3 (20%) belegt, 12 frei von insgesamt 15");
        uitest::Click(pTree->viewport(), pTree->visualItemRect(pRoutines).center());
        EXPECT_TRUE(pTree->hasFocus());
        EXPECT_EQ(dlg.GetStatusBar().GetPaneText(0), "");
    });
}

TEST_F(MainWindowTest, BarsMenuAndFrameAtCreation) {
    Run([](CParameterDlg& dlg) {
        ASSERT_NE(dlg.GetMenu(), nullptr);
        // The standalone menu has the file dialog commands and the Online
        // popup with the interface and the download.
        EXPECT_EQ(dlg.GetMenu()->GetMenuItemCount(), 5);
        EXPECT_TRUE(dlg.GetToolBar().IsBarVisible());
        EXPECT_TRUE(dlg.GetStatusBar().IsBarVisible());
        EXPECT_EQ(dlg.GetToolBar().GetCount(), 10);
        EXPECT_EQ(dlg.GetStatusBar().GetCount(), 2);
        EXPECT_NE(dlg.GetTree(0), nullptr);
        EXPECT_EQ(dlg.GetTree(1), nullptr);  // not split by default
        EXPECT_FALSE(dlg.IsSplit());
        // Copy, paste and (without a report view) print start disabled,
        // save follows the modified flag.
        for (UINT nId : {CParameterDlg::ID_EDIT_COPY, CParameterDlg::ID_EDIT_PASTE, CParameterDlg::ID_FILE_PRINT,
                         CParameterDlg::ID_FILE_SAVE}) {
            EXPECT_NE(dlg.GetToolBar().GetButtonStyle(dlg.GetToolBar().CommandToIndex(nId)) & TBBS_DISABLED, 0u)
                << nId;
        }
        EXPECT_EQ(dlg.GetToolBar().GetButtonStyle(dlg.GetToolBar().CommandToIndex(CParameterDlg::ID_HELP_TABLE)) &
                      TBBS_DISABLED,
                  0u);

        // Split and unsplit rebuild the frame with one or two rows.
        EXPECT_EQ(CheckState(dlg, CParameterDlg::ID_WINDOW_SPLIT), 0);
        PickMenuItem(dlg, CParameterDlg::ID_WINDOW_SPLIT);
        EXPECT_TRUE(dlg.IsSplit());
        EXPECT_NE(dlg.GetTree(1), nullptr);
        EXPECT_EQ(CheckState(dlg, CParameterDlg::ID_WINDOW_SPLIT), 1);
        PickMenuItem(dlg, CParameterDlg::ID_WINDOW_SPLIT);
        EXPECT_EQ(dlg.GetTree(1), nullptr);

        // The bar toggles hide and show, and the frame takes the room.
        const int nFrameTop = dlg.GetFrame()->geometry().top();
        EXPECT_EQ(CheckState(dlg, CParameterDlg::ID_WINDOW_TOOLBAR), 1);
        PickMenuItem(dlg, CParameterDlg::ID_WINDOW_TOOLBAR);
        EXPECT_FALSE(dlg.GetToolBar().IsBarVisible());
        EXPECT_EQ(CheckState(dlg, CParameterDlg::ID_WINDOW_TOOLBAR), 0);
        EXPECT_LT(dlg.GetFrame()->geometry().top(), nFrameTop);
        PickMenuItem(dlg, CParameterDlg::ID_WINDOW_STATUSBAR);
        EXPECT_FALSE(dlg.GetStatusBar().IsBarVisible());
        PickMenuItem(dlg, CParameterDlg::ID_WINDOW_STATUSBAR);
        EXPECT_TRUE(dlg.GetStatusBar().IsBarVisible());
    });
    // The states go to the ini file on closing.
    EXPECT_EQ(IniValue("ParameterDialog", "Toolbar"), "0");
    EXPECT_EQ(IniValue("ParameterDialog", "Statusbar"), "1");
    EXPECT_EQ(IniValue("SplitterWindow", "HorzDevided"), "0");
}

TEST_F(MainWindowTest, PlugInMenuHasNoFileDialogsOrDownload) {
    g_bStandalone = false;
    Run([](CParameterDlg& dlg) {
        CMenu* pFile = dlg.GetMenu()->GetSubMenu(0);
        ASSERT_NE(pFile, nullptr);
        std::vector<UINT> ids;
        for (int i = 0; i < pFile->GetMenuItemCount(); ++i) {
            ids.push_back(pFile->GetMenuItemID(i));
        }
        EXPECT_EQ(std::count(ids.begin(), ids.end(), CParameterDlg::ID_FILE_OPEN), 0);
        EXPECT_EQ(std::count(ids.begin(), ids.end(), CParameterDlg::ID_FILE_IMPORT), 1);
        EXPECT_FALSE(IsCommandEnabled(dlg, CParameterDlg::ID_DEVICE_DOWNLOAD));
    });
}

TEST_F(MainWindowTest, SaveAndCloseAsksOnlyForModifiedDataAndStaysOpenWhenSavingFails) {
    CParameterDlg dlg(nullptr, nullptr);
    // Unmodified: no question.
    EXPECT_EQ(dlg.SaveAndClose(), 1);

    g_bDataModified = true;
    const std::string strQuestion = "Sollen die geänderten Daten gespeichert werden?";
    m_boxes.ExpectText(strQuestion, IDCANCEL);
    EXPECT_EQ(dlg.SaveAndClose(), 2);

    // Yes, but the file dialog of the first save is cancelled.
    m_boxes.ExpectText(strQuestion, IDYES);
    m_files.ExpectCancel();
    EXPECT_EQ(dlg.SaveAndClose(), 2);
    EXPECT_TRUE(g_bDataModified);

    // Yes, and the file cannot be written: the error shows, the window stays.
    m_boxes.ExpectText(strQuestion, IDYES);
    m_files.ExpectSave(m_dir.File("missing-folder/x.tv2"));
    m_boxes.ExpectBox("Fehler beim Speichern der Parameterdaten!", "Parameterdaten speichern", MB_ERROR_OK, IDOK);
    EXPECT_EQ(dlg.SaveAndClose(), 2);

    // No: closes and leaves the data as they are.
    m_boxes.ExpectText(strQuestion, IDNO);
    EXPECT_EQ(dlg.SaveAndClose(), 1);
    EXPECT_TRUE(g_bDataModified);

    // Yes with a file that can be written.
    CParameterDlg dlgNext(nullptr, nullptr);
    m_boxes.ExpectText(strQuestion, IDYES);
    m_files.ExpectSave(m_dir.File("saved.tv2"));
    EXPECT_EQ(dlgNext.SaveAndClose(), 1);
    EXPECT_FALSE(g_bDataModified);
    EXPECT_FALSE(ReadFile(m_dir.File("saved.tv2")).empty());
}

TEST_F(MainWindowTest, CloseBoxWithUnsavedDataAsksAndCancelKeepsTheWindow) {
    CParameterDlg dlg(nullptr, nullptr);
    m_runner.Then([&](QDialog& d) {
        g_bDataModified = true;
        m_boxes.ExpectAny(IDCANCEL);
        uitest::PressCloseBox(&d);
        uitest::ProcessEvents();
        EXPECT_TRUE(d.isVisible());
        m_boxes.ExpectAny(IDNO);
        dlg.SendCommand(CParameterDlg::ID_FILE_EXIT);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST_F(MainWindowTest, WindowSizeAndPlacementKeys) {
    // A size of 0 is ignored; the placement is applied afterwards and wins.
    WriteIni("MainWindow", "WindowSize", "0 480");
    WriteIni("ParameterDialog", "Left", "10");
    WriteIni("ParameterDialog", "Top", "20");
    WriteIni("ParameterDialog", "Right", "710");
    WriteIni("ParameterDialog", "Bottom", "520");
    Run([](CParameterDlg& dlg) {
        EXPECT_EQ(dlg.size(), QSize(700, 500));
        dlg.resize(640, 470);
    });
    EXPECT_EQ(IniValue("MainWindow", "WindowSize"), "640 470");
    // The window stays where it was put: no drift from run to run.
    EXPECT_EQ(IniValue("ParameterDialog", "Left"), "10");
    EXPECT_EQ(IniValue("ParameterDialog", "Top"), "20");
    EXPECT_EQ(IniValue("ParameterDialog", "Right"), "650");
    EXPECT_EQ(IniValue("ParameterDialog", "wpl.showCmd"), "1");

    // A damaged placement still opens the window on the screen.
    WriteIni("ParameterDialog", "Left", "-90000");
    WriteIni("ParameterDialog", "Right", "100000");
    WriteIni("MainWindow", "WindowSize", "90000 90000");
    Run([](CParameterDlg& dlg) {
        const QRect rectScreen = dlg.screen()->availableVirtualGeometry();
        EXPECT_LE(dlg.width(), rectScreen.width());
        EXPECT_LE(dlg.height(), rectScreen.height());
        EXPECT_TRUE(rectScreen.contains(dlg.geometry().center()));
    });
}

TEST_F(MainWindowTest, HelpFileNameFollowsTheLanguageAndTheHelpCommandsTheirContexts) {
    CRecordingHelpService help;
    Run([&](CParameterDlg& dlg) {
        const std::string strPath = platform::GetHelpFilePath();
        char szSuffix[16];
        std::snprintf(szSuffix, sizeof szSuffix, "%04x.chm", static_cast<unsigned>(g_IniManager.GetLanguage()));
        ASSERT_GE(strPath.size(), 8u);
        EXPECT_EQ(strPath.substr(strPath.size() - 8), szSuffix);
        // The name is cut at its first dot.
        EXPECT_EQ(platform::PathFileName(strPath).find('.'), platform::PathFileName(strPath).size() - 4);

        dlg.SendCommand(CParameterDlg::ID_HELP_DEVICE);
        dlg.SendCommand(CParameterDlg::ID_HELP_APPLICATION);
        // The focused table of the first row shows the time program.
        FocusTable(dlg);
        dlg.SendCommand(CParameterDlg::ID_HELP_TABLE);
    });
    ASSERT_EQ(help.GetContexts().size(), 3u);
    EXPECT_EQ(help.GetContexts()[0], 936u);
    EXPECT_EQ(help.GetContexts()[1], 131185u);
    EXPECT_EQ(help.GetContexts()[2], 921u);
}

TEST_F(MainWindowTest, DeviceCommandsFollowTheInterfaceAndTheAddress) {
    CParameterDlg::SetDateTimeDialogRunner([](CParameterDlg*, WORD, const CFalconConnectionParams&) { return 1; });
    CParameterDlg::SetStatusDialogRunner([](CParameterDlg*, WORD, const CFalconConnectionParams&) { return 1; });
    // No interface, address unknown.
    Run([](CParameterDlg& dlg) {
        for (UINT nId : {CParameterDlg::ID_DEVICE_DOWNLOAD, CParameterDlg::ID_DEVICE_SET_DATE_TIME,
                         CParameterDlg::ID_DEVICE_STATUS}) {
            EXPECT_FALSE(IsCommandEnabled(dlg, nId)) << nId;
        }
        EXPECT_TRUE(IsCommandEnabled(dlg, CParameterDlg::ID_DEVICE_INTERFACE));
    });
    // Address known, still no interface.
    g_pChronoset->SetDeviceAddress(0x1105);
    Run([](CParameterDlg& dlg) {
        EXPECT_FALSE(IsCommandEnabled(dlg, CParameterDlg::ID_DEVICE_DOWNLOAD));
        EXPECT_FALSE(IsCommandEnabled(dlg, CParameterDlg::ID_DEVICE_SET_DATE_TIME));
        EXPECT_FALSE(IsCommandEnabled(dlg, CParameterDlg::ID_DEVICE_STATUS));
    });
    WriteIni("SerialCommunication", "Guid", "{98956E5B-B3A6-44B2-BBCF-7A9B7DD66732}");
    Run([](CParameterDlg& dlg) {
        EXPECT_TRUE(dlg.IsConnectionConfigured());
        EXPECT_TRUE(IsCommandEnabled(dlg, CParameterDlg::ID_DEVICE_DOWNLOAD));
        EXPECT_TRUE(IsCommandEnabled(dlg, CParameterDlg::ID_DEVICE_SET_DATE_TIME));
        EXPECT_TRUE(IsCommandEnabled(dlg, CParameterDlg::ID_DEVICE_STATUS));
    });
    // Plug-in mode: no download; clock and status need only the address.
    g_bStandalone = false;
    Run([](CParameterDlg& dlg) {
        EXPECT_FALSE(IsCommandEnabled(dlg, CParameterDlg::ID_DEVICE_DOWNLOAD));
        EXPECT_TRUE(IsCommandEnabled(dlg, CParameterDlg::ID_DEVICE_SET_DATE_TIME));
        EXPECT_TRUE(IsCommandEnabled(dlg, CParameterDlg::ID_DEVICE_STATUS));
    });
    g_pChronoset->SetDeviceAddress(-1);
    Run([](CParameterDlg& dlg) {
        EXPECT_FALSE(IsCommandEnabled(dlg, CParameterDlg::ID_DEVICE_SET_DATE_TIME));
        EXPECT_FALSE(IsCommandEnabled(dlg, CParameterDlg::ID_DEVICE_STATUS));
    });
}

TEST_F(MainWindowTest, EditCommandsStayEnabledOnlyWhenThePaneAnswersExactlyHandled) {
    Run([](CParameterDlg& dlg) {
        // The focused tree answers no edit query: the items are disabled.
        for (UINT nId : {CParameterDlg::ID_EDIT_NEW, CParameterDlg::ID_EDIT_COPY, CParameterDlg::ID_EDIT_PASTE,
                         CParameterDlg::ID_EDIT_DELETE, CParameterDlg::ID_EDIT_USAGE}) {
            EXPECT_FALSE(IsCommandEnabled(dlg, nId)) << nId;
        }
    });
}

TEST_F(MainWindowTest, OpenAsksFirstWhenModifiedAndAFailedOpenKeepsTheData) {
    const std::string strGood = WriteDataFile("gut.tv2", {"Morgens", "Abends"});
    const std::string strBad = m_dir.File("kaputt.tv2");
    std::ofstream(strBad) << "no data file";
    Run([&](CParameterDlg& dlg) {
        CChronoset* pBefore = g_pChronoset;
        g_bDataModified = true;
        const std::string strQuestion = "Änderungen werden verloren gehen. Wollen Sie trotzdem importieren?";
        m_boxes.ExpectText(strQuestion, IDNO);
        dlg.SendCommand(CParameterDlg::ID_FILE_OPEN);
        m_boxes.ExpectText(strQuestion, IDCANCEL);
        dlg.SendCommand(CParameterDlg::ID_FILE_OPEN);
        EXPECT_EQ(g_pChronoset, pBefore);

        // A file that does not load: the box, the old object, the trees rebuilt.
        m_boxes.ExpectText(strQuestion, IDYES);
        m_files.ExpectOpen(strBad);
        m_boxes.ExpectBox("Fehler beim Laden der Parameterdaten!", "Parameterdaten laden", MB_ERROR_OK, IDOK);
        dlg.SendCommand(CParameterDlg::ID_FILE_OPEN);
        EXPECT_EQ(g_pChronoset, pBefore);
        EXPECT_TRUE(g_bDataModified);
        EXPECT_EQ(dlg.GetCurrentFile(), "");
        ASSERT_FALSE(m_files.GetRequests().empty());
        // The open dialog of the standalone mode.
        EXPECT_TRUE(m_files.GetRequests().back().bOpen);
        EXPECT_EQ(m_files.GetRequests().back().filters.size(), 2u);
        EXPECT_EQ(m_files.GetRequests().back().strDefExt, "tv2");

        // A good file replaces the object; open leaves the flag alone.
        g_bDataModified = false;
        m_files.ExpectOpen(strGood);
        dlg.SendCommand(CParameterDlg::ID_FILE_OPEN);
        EXPECT_NE(g_pChronoset, pBefore);
        EXPECT_EQ(g_pChronoset->GetDayRoutines()->GetCount(), 2);
        EXPECT_FALSE(g_bDataModified);
        EXPECT_EQ(dlg.GetCurrentFile(), strGood);
        EXPECT_EQ(dlg.GetWindowText(), "Vek - Parametriersoftware Tavik 2.1 - gut.tv2 - 01.01.005");
        const CNavigationTree* pTree = dlg.GetTree(0);
        ASSERT_NE(pTree, nullptr);
        EXPECT_EQ(ChildTexts(*pTree, DayRoutinesNode(*pTree)),
                  (std::vector<std::string>{"01: Morgens", "02: Abends"}));
        // The next dialog starts in the file's folder.
        m_files.ExpectCancel();
        dlg.SendCommand(CParameterDlg::ID_FILE_OPEN);
        EXPECT_EQ(m_files.GetRequests().back().strInitialDir, m_dir.Path());
    });
}

TEST_F(MainWindowTest, ImportMarksTheDataModifiedAndEmptiesTheClipboard) {
    const std::string strFile = WriteDataFile("import.tv2", {"Nacht"});
    Run([&](CParameterDlg& dlg) {
        CDayRoutine* pRoutine = g_pChronoset->GetDayRoutines()->CreateDayRoutine();
        ASSERT_TRUE(dlg.SetClipboardObject(pRoutine->AddSwitchTime(nullptr)));
        m_files.Expect({.bOpen = true, .title = "Import", .initialDir = {}, .nAnswer = IDOK, .strPath = strFile});
        dlg.SendCommand(CParameterDlg::ID_FILE_IMPORT);
        EXPECT_TRUE(g_bDataModified);
        EXPECT_EQ(dlg.GetClipboard().GetCount(), 0u);
        EXPECT_EQ(dlg.GetToolBar().GetButtonStyle(dlg.GetToolBar().CommandToIndex(CParameterDlg::ID_FILE_SAVE)) &
                      TBBS_DISABLED,
                  0u);
        // A cancelled import still counts as a change.
        g_bDataModified = false;
        m_files.ExpectCancel();
        dlg.SendCommand(CParameterDlg::ID_FILE_IMPORT);
        EXPECT_TRUE(g_bDataModified);
    });
}

TEST_F(MainWindowTest, ExportWritesCsvTextOrADataFileThatBecomesCurrent) {
    g_pChronoset->GetDayRoutines()->CreateDayRoutine()->SetName("Büro");
    Run([&](CParameterDlg& dlg) {
        g_bDataModified = true;
        m_files.Expect({.bOpen = false, .title = "Export", .initialDir = {}, .nAnswer = IDOK, .strPath = m_dir.File("liste.CSV")});
        dlg.SendCommand(CParameterDlg::ID_FILE_EXPORT);
        const std::string strCsv = ReadFile(m_dir.File("liste.CSV"));
        EXPECT_NE(strCsv.find("B\xFCro"), std::string::npos);  // stored bytes are Windows-1252
        EXPECT_EQ(dlg.GetCurrentFile(), "");
        EXPECT_EQ(m_files.GetRequests().back().filters.size(), 2u);  // CSV and all files

        m_files.ExpectSave(m_dir.File("kopie.tv2"));
        dlg.SendCommand(CParameterDlg::ID_FILE_EXPORT);
        EXPECT_EQ(dlg.GetCurrentFile(), m_dir.File("kopie.tv2"));
        EXPECT_TRUE(g_bDataModified);

        // Save As writes a data file that reopens with the same data.
        m_files.ExpectSave(m_dir.File("neu.tv2"));
        dlg.SendCommand(CParameterDlg::ID_FILE_SAVE_AS);
        EXPECT_EQ(dlg.GetCurrentFile(), m_dir.File("neu.tv2"));
        CChronoset reopened;
        CChronoset* pKept = g_pChronoset;
        ASSERT_EQ(reopened.LoadFromFile(m_dir.File("neu.tv2"), nullptr), 1);
        g_pChronoset = pKept;
        EXPECT_EQ(ReadFile(m_dir.File("neu.tv2")), ReadFile(m_dir.File("kopie.tv2")));

        // A failed CSV export or data-file export says so.
        m_files.ExpectSave(m_dir.File("missing-folder/x.csv"));
        m_boxes.ExpectBox("Fehler beim Speichern der Parameterdaten!", "Parameterdaten speichern", MB_ERROR_OK, IDOK);
        dlg.SendCommand(CParameterDlg::ID_FILE_EXPORT);
        m_files.ExpectSave(m_dir.File("missing-folder/x.tv2"));
        m_boxes.ExpectBox("Fehler beim Speichern der Parameterdaten!", "Export", MB_ERROR_OK, IDOK);
        dlg.SendCommand(CParameterDlg::ID_FILE_EXPORT);
        // A failed Save As keeps Save and the title on the last file written.
        m_files.ExpectSave(m_dir.File("missing-folder/y.tv2"));
        m_boxes.ExpectAny(IDOK);
        dlg.SendCommand(CParameterDlg::ID_FILE_SAVE_AS);
        EXPECT_EQ(dlg.GetCurrentFile(), m_dir.File("neu.tv2"));
        EXPECT_EQ(dlg.GetWindowText(), "Vek - Parametriersoftware Tavik 2.1 - neu.tv2 - --.--.---");
    });
}

// After an import the usage line counts the imported set, for the table that
// keeps the focus.
TEST_F(MainWindowTest, UsageLineFollowsTheImportedSet) {
    g_bStandalone = false;
    g_pChronoset->GetDayRoutines()->CreateDayRoutine();
    g_pChronoset->GetDayRoutines()->CreateDayRoutine();
    const std::string strFile = WriteDataFile("import.tv2", {"A", "B", "C"});
    Run([&](CParameterDlg& dlg) {
        CNavigationTree* pTree = dlg.GetTree(0);
        ASSERT_NE(pTree, nullptr);
        uitest::Click(pTree->viewport(), pTree->visualItemRect(DayRoutinesNode(*pTree)).center());
        FocusTable(dlg);
        EXPECT_EQ(dlg.GetStatusBar().GetPaneText(0), "Tagesabläufe: 2 (13%) belegt, 13 frei von insgesamt 15");
        m_files.Expect({.bOpen = true, .title = "Import", .initialDir = {}, .nAnswer = IDOK, .strPath = strFile});
        dlg.SendCommand(CParameterDlg::ID_FILE_IMPORT);
        // The rebuilt tree shows its first node, whose table keeps the focus
        // and counts nothing: the replaced set's count is gone.
        const CMainTableBox* pBox = dlg.GetTableView(0)->GetTableBox();
        ASSERT_NE(pBox, nullptr);
        EXPECT_TRUE(pBox->hasFocus());
        EXPECT_EQ(dlg.GetStatusBar().GetPaneText(0), "");
        pTree = dlg.GetTree(0);
        uitest::Click(pTree->viewport(), pTree->visualItemRect(DayRoutinesNode(*pTree)).center());
        FocusTable(dlg);
        EXPECT_EQ(dlg.GetStatusBar().GetPaneText(0), "Tagesabläufe: 3 (20%) belegt, 12 frei von insgesamt 15");
    });
}

TEST_F(MainWindowTest, StandaloneSaveAsksForAFileOnceThenSavesThere) {
    Run([&](CParameterDlg& dlg) {
        g_bDataModified = true;
        EXPECT_TRUE(IsCommandEnabled(dlg, CParameterDlg::ID_FILE_SAVE));
        m_files.ExpectCancel();
        dlg.SendCommand(CParameterDlg::ID_FILE_SAVE);
        EXPECT_TRUE(g_bDataModified);

        m_files.ExpectSave(m_dir.File("anlage.tv2"));
        dlg.SendCommand(CParameterDlg::ID_FILE_SAVE);
        EXPECT_FALSE(g_bDataModified);
        EXPECT_FALSE(IsCommandEnabled(dlg, CParameterDlg::ID_FILE_SAVE));
        EXPECT_EQ(dlg.GetWindowText(), "Vek - Parametriersoftware Tavik 2.1 - anlage.tv2 - --.--.---");

        // The second save goes to the same file without a dialog.
        g_bDataModified = true;
        dlg.SendCommand(CParameterDlg::ID_FILE_SAVE);
        EXPECT_FALSE(g_bDataModified);
    });
}

TEST_F(MainWindowTest, PrintCommandsNeedTheReportViewAndAFailedPreviewClearsItsFlag) {
    Run([](CParameterDlg& dlg) {
        EXPECT_FALSE(IsCommandEnabled(dlg, CParameterDlg::ID_FILE_PRINT));
        EXPECT_FALSE(IsCommandEnabled(dlg, CParameterDlg::ID_FILE_PRINT_PREVIEW));
    });
    FakeReportView* pView = nullptr;
    bool bStarts = false;
    CParameterDlg::SetReportViewFactory([&](CParameterDlg*) {
        auto p = std::make_unique<FakeReportView>(bStarts);
        pView = p.get();
        return p;
    });
    Run([&](CParameterDlg& dlg) {
        EXPECT_TRUE(IsCommandEnabled(dlg, CParameterDlg::ID_FILE_PRINT_PREVIEW));
        m_boxes.ExpectAny(IDOK);
        dlg.SendCommand(CParameterDlg::ID_FILE_PRINT_PREVIEW);
        EXPECT_FALSE(g_bPrintPreviewActive);
        EXPECT_EQ(dlg.GetReportView(), nullptr);

        bStarts = true;
        dlg.SendCommand(CParameterDlg::ID_FILE_PRINT_PREVIEW);
        EXPECT_TRUE(g_bPrintPreviewActive);
        ASSERT_NE(pView, nullptr);
        // Printing while the preview is open prints from it.
        dlg.SendCommand(CParameterDlg::ID_FILE_PRINT);
        EXPECT_EQ(pView->m_nPreviewPrints, 1);
        EXPECT_EQ(pView->m_nPrints, 0);
    });
}

}  // namespace
