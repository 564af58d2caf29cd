// The main window's kind of bars: the dialog toolbar with its texts from the
// string table and its own tips, and the dialog status bar.

#include "platform/base/PrivateProfile.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/WinApp.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Dialog.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/resources/SatellitePath.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/DialogStatusBar.h"
#include "ui/DialogToolBar.h"

#include <QCursor>

#include <gtest/gtest.h>

#include <iterator>
#include <vector>

namespace {

// The main window's buttons.
constexpr UINT kButtons[] = {40020, 40009, ID_SEPARATOR, 40007, ID_SEPARATOR, 40006, ID_SEPARATOR, 869,
                             ID_SEPARATOR, 40022};

class CHostDialog : public CDialog {
public:
    CHostDialog() {
        resize(500, 300);
        MapCommand(40022, [this]() { m_arrCommands.push_back(40022); });
        MapCommand(869, [this]() { m_arrCommands.push_back(869); });
        MapUpdateCommandUI(40006, [this](CCmdUI* pCmdUI) { pCmdUI->Enable(m_bModified); });
    }
    std::vector<UINT> m_arrCommands;
    bool m_bModified = false;
};

class DialogBarsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pPrevious = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        m_app.SetProfileName(m_dir.File("Vek_ZR02.ini"));
    }
    void TearDown() override { platform::SetFrameworkResourceModule(m_pPrevious); }

    // The toolbar as the main window makes it.
    static void MakeToolbar(CDialogToolBar& bar, CDialog& dlg) {
        bar.SetSizes(QSize(40, 40), QSize(20, 20));
        ASSERT_TRUE(bar.CreateEx(&dlg, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP));
        ASSERT_TRUE(bar.LoadBitmap(106));
        ASSERT_TRUE(bar.SetButtons(kButtons, static_cast<int>(std::size(kButtons))));
    }

    uitest::CTempDir m_dir;
    CWinApp m_app;

private:
    const platform::CResourceModule* m_pPrevious = nullptr;
};

TEST_F(DialogBarsTest, ToolbarOfTheMainWindowFromBitmap106) {
    CHostDialog dlg;
    CDialogToolBar bar;
    MakeToolbar(bar, dlg);
    EXPECT_EQ(bar.GetImageCount(), 6);
    EXPECT_EQ(bar.GetCount(), 10);
    EXPECT_EQ(bar.GetItemRect(0).size(), QSize(40, 40));
    UINT nId = 0;
    UINT nStyle = 0;
    int iImage = 0;
    bar.GetButtonInfo(bar.CommandToIndex(40022), nId, nStyle, iImage);
    EXPECT_EQ(iImage, 5);
}

TEST_F(DialogBarsTest, EnableButtonChangesOnlyButtonsOnTheBar) {
    CHostDialog dlg;
    CDialogToolBar bar;
    MakeToolbar(bar, dlg);
    std::vector<UINT> before;
    for (int i = 0; i < bar.GetCount(); ++i) {
        before.push_back(bar.GetButtonStyle(i));
    }
    EXPECT_EQ(bar.EnableButton(40038, false), -1);
    EXPECT_EQ(bar.EnableButton(40038, true), -1);
    for (int i = 0; i < bar.GetCount(); ++i) {
        EXPECT_EQ(bar.GetButtonStyle(i), before[static_cast<std::size_t>(i)]);
    }

    EXPECT_EQ(bar.EnableButton(40009, false), 1);
    EXPECT_EQ(bar.GetButtonStyle(1), TBBS_DISABLED);
    bar.SetButtonStyle(1, TBBS_INDETERMINATE | TBBS_CHECKBOX);
    EXPECT_EQ(bar.EnableButton(40009, false), 1);
    EXPECT_EQ(bar.GetButtonStyle(1), TBBS_DISABLED | TBBS_CHECKBOX);
    bar.SetButtonStyle(1, TBBS_INDETERMINATE | TBBS_DISABLED);
    EXPECT_EQ(bar.EnableButton(40009, true), 1);
    EXPECT_EQ(bar.GetButtonStyle(1), TBBS_BUTTON);
    // The image stays.
    UINT nId = 0;
    UINT nStyle = 0;
    int iImage = 0;
    bar.GetButtonInfo(1, nId, nStyle, iImage);
    EXPECT_EQ(iImage, 1);
}

TEST_F(DialogBarsTest, ButtonTextsComeFromTheStringTable) {
    CDialogToolBar bar;
    EXPECT_EQ(bar.GetButtonText(40020, false), "Kopie.");
    EXPECT_EQ(bar.GetButtonText(40020, true), "Kopieren");
    EXPECT_EQ(bar.GetButtonText(40009, true), "Einfügen");
    EXPECT_EQ(bar.GetButtonText(40006, false), "Speich.");
    // The help button's text is string 40019, not its command's.
    EXPECT_EQ(bar.GetButtonText(869, false), "Hilfe");
    EXPECT_EQ(bar.GetButtonText(869, true), "Hilfe");
    EXPECT_EQ(bar.GetButtonText(4711, true), "");

    const platform::CResourceModule* pEnglish = platform::LoadResourceLibrary(SatellitePath());
    ASSERT_NE(pEnglish, nullptr);
    platform::SetFrameworkResourceModule(pEnglish);
    EXPECT_EQ(bar.GetButtonText(40020, false), "Copy");
    EXPECT_EQ(bar.GetButtonText(40009, false), "Ins.");
    EXPECT_EQ(bar.GetButtonText(40009, true), "Insert");
    EXPECT_EQ(bar.GetButtonText(869, true), "Help");
    EXPECT_EQ(bar.GetButtonText(40022, true), "End");
}

TEST_F(DialogBarsTest, TipsNameTheButtonUnderThePointer) {
    CHostDialog dlg;
    CDialogToolBar bar;
    MakeToolbar(bar, dlg);
    EXPECT_TRUE(bar.GetToolTip().HasWindow());
    dlg.RepositionBars();
    dlg.show();
    dlg.activateWindow();
    uitest::ProcessEvents();
    // What the tip shows once the pointer has rested at the point of the bar.
    auto tipAt = [&bar](const QPoint& pt) -> std::string {
        QCursor::setPos(bar.mapToGlobal(pt));
        uitest::MouseMove(&bar, pt);
        uitest::TickTimer(&bar.GetToolTip(), CToolTipWnd::kTimerId);
        return bar.GetToolTip().isVisible() ? bar.GetToolTip().GetWindowText() : std::string("(none)");
    };
    EXPECT_EQ(tipAt(bar.GetItemRect(0).center()), "Kopieren");
    EXPECT_EQ(tipAt(bar.GetItemRect(7).center()), "Hilfe");  // the help button's own text
    EXPECT_EQ(tipAt(bar.GetItemRect(3).center()), "Drucken");
    EXPECT_EQ(tipAt(bar.GetItemRect(2).center()), "(none)");  // a separator
    EXPECT_EQ(tipAt(QPoint(490, 20)), "(none)");
    // A press takes the tip away.
    EXPECT_EQ(tipAt(bar.GetItemRect(0).center()), "Kopieren");
    uitest::MousePress(&bar, bar.GetItemRect(0).center());
    EXPECT_FALSE(bar.GetToolTip().isVisible());
    uitest::MouseRelease(&bar, bar.GetItemRect(0).center());
    bar.DestroyWindow();
    EXPECT_FALSE(bar.GetToolTip().HasWindow());
    dlg.hide();
}

TEST_F(DialogBarsTest, WithTooltipsSwitchedOffTheToolbarStillWorks) {
    ASSERT_TRUE(platform::WritePrivateProfileString("Common", "ToolTips", "0", m_app.GetProfileName()));
    CHostDialog dlg;
    CDialogToolBar bar;
    MakeToolbar(bar, dlg);
    EXPECT_FALSE(bar.GetToolTip().HasWindow());
    dlg.RepositionBars();
    dlg.show();
    uitest::ProcessEvents();
    uitest::ClickToolBarButton(&bar, 869);
    uitest::ClickToolBarButton(&bar, 40022);
    EXPECT_EQ(dlg.m_arrCommands, (std::vector<UINT>{869, 40022}));
    dlg.hide();
}

TEST_F(DialogBarsTest, IdleUpdatesAskTheDialogWhileTheBarsAreShown) {
    CHostDialog dlg;
    CDialogToolBar bar;
    MakeToolbar(bar, dlg);
    CDialogStatusBar status;
    ASSERT_TRUE(status.Create(&dlg));
    const UINT indicators[] = {ID_SEPARATOR, ID_SEPARATOR};
    ASSERT_TRUE(status.SetIndicators(indicators, 2));
    dlg.MapUpdateCommandUI(0xE900, [](CCmdUI* pCmdUI) { pCmdUI->SetText("NUM"); });
    status.SetPaneInfo(1, 0xE900, SBPS_NORMAL, 60);

    bar.OnIdleUpdateCmdUI(TRUE);
    EXPECT_EQ(bar.GetButtonStyle(bar.CommandToIndex(40006)), TBBS_DISABLED);
    EXPECT_EQ(bar.GetButtonStyle(bar.CommandToIndex(40022)), TBBS_BUTTON);
    EXPECT_EQ(bar.GetButtonStyle(bar.CommandToIndex(40020)), TBBS_DISABLED);  // no handler
    status.OnIdleUpdateCmdUI(TRUE);
    EXPECT_EQ(status.GetPaneText(1), "NUM");

    // A hidden bar is left as it is.
    dlg.m_bModified = true;
    bar.hide();
    bar.OnIdleUpdateCmdUI(TRUE);
    EXPECT_EQ(bar.GetButtonStyle(bar.CommandToIndex(40006)), TBBS_DISABLED);
    bar.show();
    bar.OnIdleUpdateCmdUI(TRUE);
    EXPECT_EQ(bar.GetButtonStyle(bar.CommandToIndex(40006)), TBBS_BUTTON);
}

}  // namespace
