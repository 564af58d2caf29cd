// Command routing: handlers by id, command-UI updates, the update walk over
// a popup, menus from resources on dialogs and as context menus, and
// accelerator tables.

#include "platform/base/ResourceLibrary.h"
#include "platform/base/VirtualKeys.h"
#include "platform/base/WindowStyles.h"
#include "platform/ui/AcceleratorTable.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Menu.h"
#include "tests/platform/ui/UiTestHarness.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <iterator>
#include <vector>

namespace {

using platform::ResList;
using platform::ResMenu;
using platform::ResMenuItem;
using platform::RESMENU_GRAYED;
using platform::RESMENU_POPUP;
using platform::RESMENU_SEPARATOR;

constexpr ResMenuItem kSeparator{0, nullptr, RESMENU_SEPARATOR, {}};

const ResMenuItem kCascade[] = {
    {300, "&Eins", 0, {}},
    {301, "&Zwei", 0, {}},
};
const ResMenuItem kFile[] = {
    {100, "Ö&ffnen...", 0, {}},
    {101, "&Speichern", 0, {}},
    kSeparator,
    {102, "&Ohne Handler", 0, {}},
    {0, "&Weiter", RESMENU_POPUP, {kCascade, std::size(kCascade)}},
    {0xF060, "S&chließen", 0, {}},
    {103, "&Beenden\tAlt+F4", RESMENU_GRAYED, {}},
};
const ResMenuItem kView[] = {
    {200, "&Symbolleiste", 0, {}},
};
const ResMenuItem kBar[] = {
    {0, "&Datei", RESMENU_POPUP, {kFile, std::size(kFile)}},
    {0, "&Ansicht", RESMENU_POPUP, {kView, std::size(kView)}},
};
const ResMenu kMenus[] = {
    {900, {kBar, std::size(kBar)}},
};

const platform::ResAccelerator kAccels[] = {
    {platform::RESACCEL_VIRTKEY | platform::RESACCEL_CONTROL, 'C', 40020},
    {platform::RESACCEL_VIRTKEY, VK_DELETE, 40010},
    {platform::RESACCEL_VIRTKEY | platform::RESACCEL_SHIFT, VK_INSERT, 40009},
    {0, '+', 40050},
};
const platform::ResAcceleratorTable kAccelTables[] = {
    {901, {kAccels, std::size(kAccels)}},
};

const platform::ResDialogControl kRoutingControls[] = {
    {1001, "EDIT", nullptr, 10, 10, 80, 12, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0},
    {1002, "BUTTON", "&Anwenden", 10, 30, 50, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0},
};
const platform::ResDialog kRoutingDialogs[] = {
    {902, "Befehle", 0, 0, 160, 60, "MS Shell Dlg", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 0,
     {kRoutingControls, std::size(kRoutingControls)}},
};

const platform::ResourceTables kRoutingTables{
    platform::RESOURCE_TABLES_VERSION, 0x0407, {}, {kMenus, std::size(kMenus)}, {kAccelTables, std::size(kAccelTables)},
    {kRoutingDialogs, std::size(kRoutingDialogs)},   {},     {}, {},
};

class CommandRoutingTest : public ::testing::Test {
protected:
    void SetUp() override {
        static const platform::CResourceModule module(kRoutingTables);
        m_pPrevious = platform::SetFrameworkResourceModule(&module);
    }
    void TearDown() override { platform::SetFrameworkResourceModule(m_pPrevious); }

    uitest::CTestModalRunner m_runner;

private:
    const platform::CResourceModule* m_pPrevious = nullptr;
};

// A dialog that records the commands its handlers got.
class CCommandDialog : public CDialog {
public:
    CCommandDialog() : CDialog(902) {
        MapCommand(100, [this]() { m_arrCommands.push_back(100); });
        MapCommandRange(300, 301, [this](UINT nId) { m_arrCommands.push_back(nId); });
        MapCommand(40020, [this]() { m_arrCommands.push_back(40020); });
        MapCommand(40010, [this]() { m_arrCommands.push_back(40010); });
        MapCommand(40009, [this]() { m_arrCommands.push_back(40009); });
        MapCommand(40050, [this]() { m_arrCommands.push_back(40050); });
        MapCommand(1002, [this]() { m_arrCommands.push_back(1002); });
        MapCommand(200, [this]() { m_bToolbar = !m_bToolbar; });
        MapUpdateCommandUI(200, [this](CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bToolbar ? 1 : 0); });
        MapUpdateCommandUI(101, [this](CCmdUI* pCmdUI) { pCmdUI->Enable(m_bModified); });
    }

    std::vector<UINT> m_arrCommands;
    bool m_bToolbar = true;
    bool m_bModified = false;
    int m_nPopupInits = 0;

protected:
    void OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu) override {
        ++m_nPopupInits;
        CDialog::OnInitMenuPopup(pPopup, nIndex, bSysMenu);
    }
};

TEST_F(CommandRoutingTest, HandlersRunByIdAndTheLatestMappingWins) {
    CCmdTarget target;
    std::vector<int> calls;
    target.MapCommand(10, [&]() { calls.push_back(1); });
    target.MapCommand(10, [&]() { calls.push_back(2); });
    target.MapCommandRange(20, 29, [&](UINT nId) { calls.push_back(static_cast<int>(nId)); });
    // A handler that declines lets the search go on.
    target.MapCommandEx(25, [&](UINT) {
        calls.push_back(-25);
        return FALSE;
    });
    EXPECT_TRUE(target.SendCommand(10));
    EXPECT_TRUE(target.SendCommand(25));
    EXPECT_FALSE(target.SendCommand(30));
    EXPECT_EQ(calls, (std::vector<int>{2, -25, 25}));
    EXPECT_TRUE(target.HasCommandHandler(27));
    EXPECT_FALSE(target.HasUpdateHandler(27));
    // A query runs nothing.
    EXPECT_TRUE(target.OnCmdMsg(10, CN_COMMAND, nullptr, true));
    EXPECT_EQ(calls.size(), 3u);
}

TEST_F(CommandRoutingTest, AnItemWithoutUpdateHandlerIsEnabledExactlyWhenACommandHandlerExists) {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 1, "mit Handler");
    menu.AppendMenu(MF_STRING | MF_GRAYED, 2, "ohne Handler");
    menu.AppendMenu(MF_STRING, 3, "Update ohne Enable");
    menu.AppendMenu(MF_STRING, 4, "weitergereicht");
    CCmdTarget target;
    target.MapCommand(1, []() {});
    target.MapUpdateCommandUI(3, [](CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); });
    target.MapUpdateCommandUI(4, [](CCmdUI* pCmdUI) { pCmdUI->ContinueRouting(); });

    CCmdUI state;
    state.m_pMenu = &menu;
    for (UINT i = 0; i < 4; ++i) {
        state.m_nIndex = i;
        state.m_nID = i + 1;
        const BOOL bAnswered = state.DoUpdate(&target, TRUE);
        EXPECT_EQ(bAnswered, i == 2 ? TRUE : FALSE) << "item " << i + 1;
    }
    EXPECT_EQ(menu.GetMenuState(1, MF_BYCOMMAND), MF_ENABLED);
    EXPECT_EQ(menu.GetMenuState(2, MF_BYCOMMAND), MF_GRAYED);
    // The update handler did not say: no command handler, so disabled.
    EXPECT_EQ(menu.GetMenuState(3, MF_BYCOMMAND), MF_GRAYED | MF_CHECKED);
    EXPECT_EQ(menu.GetMenuState(4, MF_BYCOMMAND), MF_GRAYED);
}

TEST_F(CommandRoutingTest, UpdateWalkOverAPopupFromTheResources) {
    CCommandDialog dlg;
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(900));
    EXPECT_FALSE(menu.LoadMenu(900));  // already made
    EXPECT_EQ(menu.GetMenuItemCount(), 2);
    CMenu* pFile = menu.GetSubMenu(0);
    ASSERT_NE(pFile, nullptr);
    EXPECT_EQ(menu.GetSubMenu(0), pFile);  // the same object each time
    EXPECT_EQ(pFile->GetMenuItemCount(), 7);
    EXPECT_EQ(pFile->GetMenuItemID(2), 0u);                      // separator
    EXPECT_EQ(pFile->GetMenuItemID(4), static_cast<UINT>(-1));   // submenu
    EXPECT_EQ(pFile->GetMenuItemID(9), static_cast<UINT>(-1));   // no such item
    EXPECT_EQ(pFile->GetMenuString(103, MF_BYCOMMAND), "&Beenden\tAlt+F4");
    EXPECT_EQ(pFile->GetMenuState(103, MF_BYCOMMAND), MF_GRAYED);

    dlg.m_bModified = false;
    CCmdUI::UpdateMenu(pFile, &dlg);
    EXPECT_EQ(pFile->GetMenuState(100, MF_BYCOMMAND), MF_ENABLED);  // command handler
    EXPECT_EQ(pFile->GetMenuState(101, MF_BYCOMMAND), MF_GRAYED);   // update handler says so
    EXPECT_EQ(pFile->GetMenuState(102, MF_BYCOMMAND), MF_GRAYED);   // no handler at all
    EXPECT_EQ(pFile->GetMenuState(4, MF_BYPOSITION) & MF_GRAYED, 0u);  // a submenu stays
    EXPECT_EQ(pFile->GetMenuState(0xF060, MF_BYCOMMAND), MF_ENABLED);  // system ids are left alone
    EXPECT_EQ(pFile->GetMenuState(103, MF_BYCOMMAND), MF_GRAYED);

    dlg.m_bModified = true;
    CCmdUI::UpdateMenu(pFile, &dlg);
    EXPECT_EQ(pFile->GetMenuState(101, MF_BYCOMMAND), MF_ENABLED);

    CMenu* pView = menu.GetSubMenu(1);
    CCmdUI::UpdateMenu(pView, &dlg);
    // The update handler only checks; the command handler keeps it enabled.
    EXPECT_EQ(pView->GetMenuState(200, MF_BYCOMMAND), MF_CHECKED);
    dlg.m_bToolbar = false;
    CCmdUI::UpdateMenu(pView, &dlg);
    EXPECT_EQ(pView->GetMenuState(200, MF_BYCOMMAND), MF_UNCHECKED);
}

TEST_F(CommandRoutingTest, UpdateWalkGoesOnWhereAnUpdateRemovedItems) {
    // An update that removes its own item skips the items of the same id
    // that move up, and the walk reaches the next item.
    {
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        menu.AppendMenu(MF_STRING, 1, "entfernt sich");
        menu.AppendMenu(MF_STRING, 1, "gleiche Id");
        menu.AppendMenu(MF_STRING, 2, "danach");
        CCmdTarget target;
        std::vector<UINT> updates;
        target.MapUpdateCommandUI(1, [&](CCmdUI* pCmdUI) {
            updates.push_back(1);
            pCmdUI->m_pMenu->DeleteMenu(pCmdUI->m_nIndex, MF_BYPOSITION);
        });
        target.MapUpdateCommandUI(2, [&](CCmdUI* pCmdUI) {
            updates.push_back(2);
            pCmdUI->Enable(FALSE);
        });
        CCmdUI::UpdateMenu(&menu, &target);
        EXPECT_EQ(updates, (std::vector<UINT>{1, 2}));
        EXPECT_EQ(menu.GetMenuItemCount(), 2);
        EXPECT_EQ(menu.GetMenuState(2, MF_BYCOMMAND), MF_GRAYED);
    }
    // An update that removes an item before it: the item after it is still
    // updated.
    {
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        menu.AppendMenu(MF_STRING, 5, "davor");
        menu.AppendMenu(MF_STRING, 1, "räumt auf");
        menu.AppendMenu(MF_STRING, 2, "danach");
        CCmdTarget target;
        std::vector<UINT> updates;
        target.MapUpdateCommandUI(5, [&](CCmdUI*) { updates.push_back(5); });
        target.MapUpdateCommandUI(1, [&](CCmdUI* pCmdUI) {
            updates.push_back(1);
            pCmdUI->m_pMenu->DeleteMenu(0, MF_BYPOSITION);
        });
        target.MapUpdateCommandUI(2, [&](CCmdUI*) { updates.push_back(2); });
        CCmdUI::UpdateMenu(&menu, &target);
        EXPECT_EQ(updates, (std::vector<UINT>{5, 1, 2}));
    }
}

TEST_F(CommandRoutingTest, MenuBarOfADialogSendsItsCommandsAndUpdatesBeforeAPopupShows) {
    CCommandDialog dlg;
    const QSize before = dlg.size();
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(900));
    ASSERT_TRUE(dlg.SetMenu(&menu));
    EXPECT_EQ(dlg.GetMenu(), &menu);
    ASSERT_NE(dlg.GetMenuBarWidget(), nullptr);
    // The client area keeps the template's size below the bar.
    EXPECT_EQ(dlg.GetClientRect().size(), before);
    EXPECT_EQ(dlg.GetClientRect().top(), dlg.GetMenuBarWidget()->sizeHint().height());
    EXPECT_EQ(dlg.GetMenuBarWidget()->actions().size(), 2);

    // The user opens "Datei" on the bar and picks an item, then a cascade's
    // item.
    dlg.show();
    uitest::ProcessEvents();
    QMenuBar* pBar = dlg.GetMenuBarWidget();
    QMenu* pFile = menu.GetSubMenu(0)->GetSafeHmenu();
    auto open = [&]() {
        uitest::Click(pBar, pBar->actionGeometry(pBar->actions().front()).center());
        uitest::ProcessEvents();
        return pFile->isVisible();
    };
    auto pick = [](QMenu* pMenu, UINT nId) {
        QAction* pAction = uitest::FindMenuAction(*pMenu, nId);
        ASSERT_NE(pAction, nullptr);
        QMenu* pOwner = pMenu;
        if (!pMenu->actions().contains(pAction)) {
            // In the cascade: open it first.
            for (QAction* pItem : pMenu->actions()) {
                if (pItem->menu() != nullptr && pItem->menu()->actions().contains(pAction)) {
                    uitest::Click(pMenu, pMenu->actionGeometry(pItem).center());
                    uitest::ProcessEvents();
                    pOwner = pItem->menu();
                }
            }
            ASSERT_TRUE(pOwner->isVisible()) << "the cascade did not open";
        }
        uitest::Click(pOwner, pOwner->actionGeometry(pAction).center());
        uitest::ProcessEvents();
    };
    ASSERT_TRUE(open());
    EXPECT_EQ(dlg.m_nPopupInits, 1);
    EXPECT_FALSE(uitest::FindMenuAction(*pFile, 102)->isEnabled());
    pick(pFile, 100);
    EXPECT_FALSE(pFile->isVisible());
    ASSERT_TRUE(open());
    EXPECT_EQ(dlg.m_nPopupInits, 2);
    pick(pFile, 301);
    // A disabled item sends nothing.
    ASSERT_TRUE(open());
    pick(pFile, 102);
    pFile->hide();
    EXPECT_EQ(dlg.m_arrCommands, (std::vector<UINT>{100, 301}));
    dlg.hide();

    ASSERT_TRUE(dlg.SetMenu(nullptr));
    EXPECT_EQ(dlg.GetMenuBarWidget(), nullptr);
    EXPECT_EQ(dlg.size(), before);
}

TEST_F(CommandRoutingTest, ContextMenuIsUpdatedTrackedAndSendsTheChosenCommand) {
    CCommandDialog dlg;
    uitest::CTestPopupMenuRunner popups;
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(900));
    CMenu* pFile = menu.GetSubMenu(0);

    popups.Then([](QMenu& popup) {
        // Brought up to date before it shows.
        EXPECT_FALSE(uitest::FindMenuAction(popup, 102)->isEnabled());
        return uitest::FindMenuAction(popup, 100);
    });
    EXPECT_EQ(pFile->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, 40, 50, &dlg), static_cast<UINT>(TRUE));
    EXPECT_EQ(popups.GetLastPoint(), QPoint(40, 50));
    EXPECT_EQ(dlg.m_arrCommands, (std::vector<UINT>{100}));
    EXPECT_EQ(dlg.m_nPopupInits, 1);

    // With TPM_RETURNCMD the id comes back and nothing is sent; a disabled
    // item counts as no choice.
    popups.ThenChoose(301).ThenChoose(102).Then([](QMenu&) { return nullptr; });
    EXPECT_EQ(pFile->TrackPopupMenu(TPM_RETURNCMD, 0, 0, &dlg), 301u);
    EXPECT_EQ(pFile->TrackPopupMenu(TPM_RETURNCMD, 0, 0, &dlg), 0u);
    EXPECT_EQ(pFile->TrackPopupMenu(0, 0, 0, &dlg), static_cast<UINT>(FALSE));
    EXPECT_EQ(dlg.m_arrCommands, (std::vector<UINT>{100}));
}

TEST_F(CommandRoutingTest, UnexpectedPopupFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            CMenu menu;
            menu.CreatePopupMenu();
            menu.AppendMenu(MF_STRING, 1, "Eins");
            uitest::CTestPopupMenuRunner popups;
            EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, nullptr), 0u);
        },
        "unexpected popup menu");
}

TEST_F(CommandRoutingTest, AcceleratorsSendTheirCommandsBeforeTheControlsSeeTheKeys) {
    CCommandDialog dlg;
    CAcceleratorTable accel;
    EXPECT_FALSE(accel.Load(4711));
    ASSERT_TRUE(accel.Load(901));
    EXPECT_EQ(accel.GetEntries().size(), 4u);
    EXPECT_EQ(CAcceleratorTable::KeySequenceOf(platform::RESACCEL_VIRTKEY | platform::RESACCEL_CONTROL, 'C'),
              QKeySequence(Qt::CTRL | Qt::Key_C));
    accel.Attach(&dlg, &dlg);
    m_runner.Then([](QDialog& d) {
        QWidget* pEdit = uitest::FindControl(&d, 1001);
        pEdit->setFocus();
        uitest::PressKey(pEdit, Qt::Key_C, Qt::ControlModifier);
        uitest::PressKey(pEdit, Qt::Key_Delete);
        uitest::PressKey(pEdit, Qt::Key_Insert, Qt::ShiftModifier);
        uitest::PressKey(pEdit, Qt::Key_C);  // a plain letter is no accelerator
        uitest::TypeText(pEdit, "+");        // a character entry
        uitest::PressKey(&d, Qt::Key_Escape);
    });
    dlg.DoModal();
    EXPECT_EQ(dlg.m_arrCommands, (std::vector<UINT>{40020, 40010, 40009, 40050}));
    EXPECT_EQ(dlg.GetDlgItemText(1001), "c");
}

TEST_F(CommandRoutingTest, ButtonsAndUnhandledIdsOfADialog) {
    CCommandDialog dlg;
    m_runner.Then([](QDialog& d) {
        uitest::Click(uitest::FindControl(&d, 1002));
        uitest::PressKey(&d, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_arrCommands, (std::vector<UINT>{1002}));
    EXPECT_FALSE(dlg.SendCommand(4711));
    // OK without a mapping ends the dialog as before.
    EXPECT_TRUE(dlg.SendCommand(IDOK));
}

}  // namespace
