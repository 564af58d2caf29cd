#include "platform/base/MulDiv.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/WindowStyles.h"
#include "platform/ui/Beep.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Handles.h"
#include "platform/ui/WindowClasses.h"
#include "tests/platform/ui/UiTestHarness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using platform::ResDialog;
using platform::ResDialogControl;
using platform::ResList;

constexpr UINT IDD_FULL = 500;
constexpr UINT IDD_FIXED = 501;
constexpr UINT IDD_NODEFAULT = 502;
constexpr UINT IDD_GROUPS = 503;
constexpr UINT IDD_LABELS = 504;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

const ResDialogControl kFullControls[] = {
    {1001, "EDIT", nullptr, 10, 10, 80, 12, kChild, 0},
    {1002, "STATIC", "&Name:", 10, 26, 40, 8, WS_CHILD | WS_VISIBLE, 0},
    {1003, "COMBOBOX", nullptr, 10, 38, 80, 60, kChild | CBS_DROPDOWNLIST, 0},
    {1004, "BUTTON", "&Aktiv", 100, 10, 50, 10, kChild | BS_AUTOCHECKBOX, 0},
    {1005, "TestSlider", nullptr, 100, 26, 60, 12, kChild, 0},
    {1006, "msctls_unknown32", nullptr, 100, 40, 20, 20, kChild | WS_DISABLED, 0},
    {IDOK, "BUTTON", "OK", 60, 70, 40, 14, kChild | BS_DEFPUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "Abbrechen", 110, 70, 40, 14, kChild | BS_PUSHBUTTON, 0},
};
const ResDialogControl kNoDefaultControls[] = {
    {1001, "EDIT", nullptr, 10, 10, 80, 12, kChild, 0},
    {1010, "BUTTON", "Anwenden", 10, 30, 40, 14, kChild | BS_PUSHBUTTON, 0},
};

// Two groups of radio buttons (a static between them belongs to the first)
// and a check box much wider than its text.
const ResDialogControl kGroupControls[] = {
    {1020, "BUTTON", "&1", 10, 10, 40, 10, kChild | BS_AUTORADIOBUTTON | WS_GROUP, 0},
    {1021, "BUTTON", "&2", 10, 22, 40, 10, kChild | BS_AUTORADIOBUTTON, 0},
    {1022, "STATIC", "Senden:", 10, 34, 40, 8, WS_CHILD | WS_VISIBLE, 0},
    {1023, "BUTTON", "&A", 60, 10, 40, 10, kChild | BS_AUTORADIOBUTTON | WS_GROUP, 0},
    {1024, "BUTTON", "&B", 60, 22, 40, 10, kChild | BS_AUTORADIOBUTTON, 0},
    {1025, "BUTTON", "X", 10, 46, 150, 10, kChild | BS_AUTOCHECKBOX | WS_GROUP, 0},
};

// Labels whose mnemonics lead to a check box, a push button, a disabled edit
// and radio groups, one behind a control that can be hidden.
const ResDialogControl kLabelControls[] = {
    {1030, "STATIC", "&Optionen:", 10, 10, 40, 8, WS_CHILD | WS_VISIBLE, 0},
    {1031, "BUTTON", "&Aktiv", 60, 10, 60, 10, kChild | BS_AUTOCHECKBOX, 0},
    {1032, "STATIC", "A&nwenden:", 10, 24, 40, 8, WS_CHILD | WS_VISIBLE, 0},
    {1033, "BUTTON", "Los", 60, 22, 40, 14, kChild | BS_PUSHBUTTON, 0},
    {1034, "STATIC", "&Wert:", 10, 40, 40, 8, WS_CHILD | WS_VISIBLE, 0},
    {1035, "EDIT", nullptr, 60, 38, 40, 12, kChild | WS_DISABLED, 0},
    {1036, "EDIT", nullptr, 110, 38, 40, 12, kChild, 0},
    {1037, "STATIC", "&Senden:", 10, 54, 40, 8, WS_CHILD | WS_VISIBLE, 0},
    {1038, "BUTTON", "bei A", 60, 54, 40, 10, kChild | BS_AUTORADIOBUTTON | WS_GROUP, 0},
    {1039, "BUTTON", "bei B", 110, 54, 40, 10, kChild | BS_AUTORADIOBUTTON, 0},
    {1040, "STATIC", "&Exponent:", 10, 68, 40, 8, WS_CHILD | WS_VISIBLE, 0},
    {1041, "COMBOBOX", nullptr, 60, 66, 40, 60, kChild | CBS_DROPDOWNLIST | WS_GROUP, 0},
    {1042, "BUTTON", "&in %", 60, 68, 40, 10, kChild | BS_AUTORADIOBUTTON | WS_GROUP, 0},
    {1043, "BUTTON", "S&tandard", 110, 68, 40, 10, kChild | BS_AUTORADIOBUTTON, 0},
};

const ResDialog kDialogTestDialogs[] = {
    {IDD_FULL, "Testdialog", 0, 0, 170, 90, "MS Shell Dlg", 8,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_SETFONT, 0,
     ResList<ResDialogControl>{kFullControls, std::size(kFullControls)}},
    {IDD_FIXED, "Fest", 0, 0, 120, 40, "MS Shell Dlg", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0,
     ResList<ResDialogControl>{}},
    {IDD_NODEFAULT, "Ohne Vorgabe", 0, 0, 100, 50, "MS Shell Dlg", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0,
     ResList<ResDialogControl>{kNoDefaultControls, std::size(kNoDefaultControls)}},
    {IDD_GROUPS, "Gruppen", 0, 0, 170, 70, "MS Shell Dlg", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0,
     ResList<ResDialogControl>{kGroupControls, std::size(kGroupControls)}},
    {IDD_LABELS, "Beschriftungen", 0, 0, 170, 84, "MS Shell Dlg", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0,
     ResList<ResDialogControl>{kLabelControls, std::size(kLabelControls)}},
};

const platform::ResourceTables kDialogTestTables{
    platform::RESOURCE_TABLES_VERSION,
    0x0407,
    {},
    {},
    {},
    ResList<ResDialog>{kDialogTestDialogs, std::size(kDialogTestDialogs)},
    {},
    {},
    {},
};

// Makes the test templates the active resources and registers the custom
// control class.
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        static const platform::CResourceModule module(kDialogTestTables);
        m_pPrevious = platform::SetFrameworkResourceModule(&module);
        platform::ui::RegisterControlClass("testslider", [](const ResDialogControl&, QWidget* pParent) {
            return new QSlider(Qt::Horizontal, pParent);
        });
    }
    void TearDown() override {
        platform::ui::UnregisterControlClass("TestSlider");
        platform::SetFrameworkResourceModule(m_pPrevious);
    }

    uitest::CTestModalRunner m_runner;

private:
    const platform::CResourceModule* m_pPrevious = nullptr;
};

// Records the framework calls; OK and Cancel can be switched off.
class CProbeDialog : public CDialog {
public:
    explicit CProbeDialog(UINT nId, bool bKeysClose = true) : CDialog(nId), m_bKeysClose(bKeysClose) {}

    int m_nInitCalls = 0;
    bool m_bVisibleAtInit = true;
    int m_nOkCalls = 0;
    int m_nCancelCalls = 0;
    int m_nCloseCalls = 0;
    int m_nEndInInit = 0;
    std::vector<UINT> m_arrCommands;

protected:
    BOOL OnCommand(UINT nId) override {
        m_arrCommands.push_back(nId);
        return CDialog::OnCommand(nId);
    }
    BOOL OnInitDialog() override {
        ++m_nInitCalls;
        m_bVisibleAtInit = isVisible();
        if (m_nEndInInit != 0) {
            EndDialog(m_nEndInInit);
        }
        return TRUE;
    }
    void OnOK() override {
        ++m_nOkCalls;
        if (m_bKeysClose) {
            CDialog::OnOK();
        }
    }
    void OnCancel() override {
        ++m_nCancelCalls;
        if (m_bKeysClose) {
            CDialog::OnCancel();
        }
    }
    void OnClose() override {
        ++m_nCloseCalls;
        CDialog::OnClose();
    }

private:
    bool m_bKeysClose;
};

TEST_F(DialogTest, TemplateGivesCaptionSizeInDialogUnitsAndControlsById) {
    CDialog dlg(IDD_FULL);
    ASSERT_TRUE(dlg.IsTemplateBuilt());
    EXPECT_EQ(dlg.GetTemplateId(), IDD_FULL);
    EXPECT_EQ(dlg.GetWindowText(), "Testdialog");

    const QSize base = dlg.GetBaseUnits();
    EXPECT_EQ(base, platform::ui::GetDialogBaseUnits(dlg.font()));
    EXPECT_GE(base.width(), 3);
    EXPECT_GE(base.height(), 8);
    EXPECT_EQ(dlg.size(), QSize(MulDiv(170, base.width(), 4), MulDiv(90, base.height(), 8)));

    auto* pEdit = dlg.GetDlgItemAs<QLineEdit>(1001);
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(pEdit->geometry(), QRect(MulDiv(10, base.width(), 4), MulDiv(10, base.height(), 8),
                                       MulDiv(80, base.width(), 4), MulDiv(12, base.height(), 8)));
    auto* pLabel = dlg.GetDlgItemAs<QLabel>(1002);
    ASSERT_NE(pLabel, nullptr);
    EXPECT_EQ(pLabel->text(), "&Name:");
    auto* pCombo = dlg.GetDlgItemAs<QComboBox>(1003);
    ASSERT_NE(pCombo, nullptr);
    EXPECT_FALSE(pCombo->isEditable());
    EXPECT_LT(pCombo->height(), MulDiv(60, base.height(), 8));  // closed, not dropped
    EXPECT_NE(dlg.GetDlgItemAs<QCheckBox>(1004), nullptr);
    EXPECT_NE(dlg.GetDlgItemAs<QSlider>(1005), nullptr);  // the registered custom class
    QWidget* pUnknown = dlg.GetDlgItem(1006);
    ASSERT_NE(pUnknown, nullptr);
    EXPECT_FALSE(pUnknown->isEnabled());
    auto* pOk = dlg.GetDlgItemAs<QPushButton>(IDOK);
    ASSERT_NE(pOk, nullptr);
    EXPECT_TRUE(pOk->isDefault());
    EXPECT_EQ(CDialog::GetDlgCtrlID(pOk), static_cast<UINT>(IDOK));
    EXPECT_EQ(dlg.GetDlgItem(9999), nullptr);
    EXPECT_EQ(uitest::FindControl(&dlg, 1001), pEdit);
}

TEST_F(DialogTest, SizingBorderMakesTheDialogResizableAndBoxesFollowTheStyle) {
    CDialog resizable(IDD_FULL);
    EXPECT_NE(resizable.minimumSize(), resizable.maximumSize());
    EXPECT_TRUE(resizable.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(resizable.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(resizable.windowFlags().testFlag(Qt::WindowCloseButtonHint));

    CDialog fixed(IDD_FIXED);
    EXPECT_EQ(fixed.minimumSize(), fixed.maximumSize());
    EXPECT_EQ(fixed.size(), fixed.minimumSize());
    EXPECT_FALSE(fixed.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(fixed.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(DialogTest, MissingTemplateRunsNothing) {
    CDialog dlg(4711);
    EXPECT_FALSE(dlg.IsTemplateBuilt());
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(m_runner.GetRunCount(), 0);
}

TEST_F(DialogTest, InitDialogRunsOnceBeforeTheFirstShow) {
    CProbeDialog dlg(IDD_FULL);
    EXPECT_EQ(dlg.m_nInitCalls, 0);
    dlg.show();
    EXPECT_EQ(dlg.m_nInitCalls, 1);
    EXPECT_FALSE(dlg.m_bVisibleAtInit);
    dlg.hide();
    dlg.show();
    EXPECT_EQ(dlg.m_nInitCalls, 1);
    dlg.hide();
}

TEST_F(DialogTest, EnterEscapeButtonsAndCloseBoxEndTheModalRun) {
    {
        CProbeDialog dlg(IDD_FULL);
        m_runner.Then([](QDialog& d) { uitest::PressKey(&d, Qt::Key_Return); });
        EXPECT_EQ(dlg.DoModal(), IDOK);  // through the default button
        EXPECT_EQ(dlg.m_nOkCalls, 1);
        EXPECT_EQ(dlg.m_nInitCalls, 1);
    }
    {
        CProbeDialog dlg(IDD_FULL);
        m_runner.Then([](QDialog& d) { uitest::PressKey(&d, Qt::Key_Escape); });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.m_nCancelCalls, 1);
    }
    {
        CProbeDialog dlg(IDD_FULL);
        m_runner.Then([](QDialog& d) { uitest::Click(uitest::FindControl(&d, IDCANCEL)); });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
    {
        CProbeDialog dlg(IDD_FULL);
        m_runner.Then([](QDialog& d) { uitest::PressCloseBox(&d); });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.m_nCloseCalls, 1);
        EXPECT_EQ(dlg.m_nCancelCalls, 1);
    }
    {
        // Enter without a default button still means OK.
        CProbeDialog dlg(IDD_NODEFAULT);
        m_runner.Then([](QDialog& d) { uitest::PressKey(uitest::FindControl(&d, 1001), Qt::Key_Enter); });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_nOkCalls, 1);
    }
}

TEST_F(DialogTest, ButtonClicksReachOnCommandWithTheirIds) {
    CProbeDialog dlg(IDD_FULL);
    m_runner.Then([](QDialog& d) {
        uitest::Click(uitest::FindControl(&d, 1004));
        uitest::TypeText(uitest::FindControl(&d, 1001), "abc");
        uitest::Click(uitest::FindControl(&d, IDOK));
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_arrCommands, (std::vector<UINT>{1004, IDOK}));
    EXPECT_TRUE(dlg.GetDlgItemAs<QCheckBox>(1004)->isChecked());
    EXPECT_EQ(dlg.GetDlgItemAs<QLineEdit>(1001)->text(), "abc");
}

TEST_F(DialogTest, DialogWithEmptyOkAndCancelIgnoresEnterAndEscape) {
    CProbeDialog dlg(IDD_FULL, false);
    m_runner.Then([&dlg](QDialog& d) {
        uitest::PressKey(&d, Qt::Key_Return);
        uitest::PressKey(&d, Qt::Key_Escape);
        uitest::PressKey(uitest::FindControl(&d, 1001), Qt::Key_Escape);
        uitest::ProcessEvents();
        EXPECT_TRUE(d.isVisible());
        dlg.EndDialog(7);
    });
    EXPECT_EQ(dlg.DoModal(), 7);
    EXPECT_EQ(dlg.m_nOkCalls, 1);
    EXPECT_EQ(dlg.m_nCancelCalls, 2);
}

TEST_F(DialogTest, EndingInInitDialogNeverShows) {
    CProbeDialog dlg(IDD_FULL);
    dlg.m_nEndInInit = 3;
    EXPECT_EQ(dlg.DoModal(), 3);
    EXPECT_EQ(m_runner.GetRunCount(), 0);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(DialogTest, DialogWithoutTemplateIsEmptyAndRuns) {
    CDialog dlg;
    EXPECT_TRUE(dlg.IsTemplateBuilt());
    EXPECT_EQ(dlg.GetDlgItem(IDOK), nullptr);
    m_runner.Then([](QDialog& d) { uitest::PressKey(&d, Qt::Key_Escape); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, ControlsMadeInCodeAreFoundByIdUntilDeleted) {
    CDialog dlg;
    auto* pEdit = new QLineEdit(&dlg);
    CDialog::SetDlgCtrlID(pEdit, 1200);
    EXPECT_EQ(dlg.GetDlgItem(1200), pEdit);
    delete pEdit;
    EXPECT_EQ(dlg.GetDlgItem(1200), nullptr);
}

TEST_F(DialogTest, RegisteredWindowClassGivesItsIcon) {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    const HICON hIcon = platform::ui::CreateIconHandle(QIcon(QPixmap::fromImage(image)));
    ASSERT_TRUE(platform::ui::RegisterWindowClass("Test-DialogClass", hIcon));

    CDialog withClass(IDD_FIXED);
    withClass.SetWindowClass("test-dialogclass");
    CDialog withoutClass(IDD_FIXED);
    withoutClass.SetWindowClass("Not-Registered");
    withClass.show();
    withoutClass.show();
    EXPECT_FALSE(withClass.windowIcon().isNull());
    EXPECT_EQ(withClass.windowIcon().pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));
    EXPECT_NE(withoutClass.windowIcon().pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));
    withClass.hide();
    withoutClass.hide();

    EXPECT_TRUE(platform::ui::UnregisterWindowClass("Test-DialogClass"));
    EXPECT_TRUE(platform::ui::DestroyIconHandle(hIcon));
}

// Radio buttons exclude each other only within their template group, and a
// click anywhere on a button control's rectangle takes, as on the platform.
TEST_F(DialogTest, RadioGroupsFollowTheTemplateAndTheWholeButtonTakesTheClick) {
    CDialog dlg(IDD_GROUPS);
    uitest::CTestModalRunner runner;
    runner.Then([&](QDialog&) {
        auto checked = [&](UINT nId) { return dlg.GetDlgItemAs<QAbstractButton>(nId)->isChecked(); };
        auto clickRightEnd = [&](UINT nId) {
            QWidget* pButton = dlg.GetDlgItem(nId);
            uitest::Click(pButton, QPoint(pButton->width() - 3, pButton->height() / 2));
        };
        clickRightEnd(1020);
        clickRightEnd(1023);
        EXPECT_TRUE(checked(1020));
        EXPECT_TRUE(checked(1023));
        clickRightEnd(1024);
        EXPECT_TRUE(checked(1020));
        EXPECT_FALSE(checked(1023));
        EXPECT_TRUE(checked(1024));
        clickRightEnd(1021);
        EXPECT_FALSE(checked(1020));
        EXPECT_TRUE(checked(1024));
        clickRightEnd(1025);
        EXPECT_TRUE(checked(1025));
        uitest::PressWindowKey(&dlg, Qt::Key_Escape);
    });
    dlg.DoModal();
}

// A label's mnemonic only moves the focus on: it never toggles a check box,
// presses a button or selects a radio button, it passes a disabled control
// by, and a radio group takes it on its checked button; a button's own
// mnemonic acts.
TEST_F(DialogTest, ALabelsMnemonicMovesTheFocusAndNeverActsOnTheControlAfterIt) {
    CProbeDialog dlg(IDD_LABELS);
    uitest::CTestModalRunner runner;
    runner.Then([&](QDialog&) {
        auto* pCheck = dlg.GetDlgItemAs<QAbstractButton>(1031);
        auto checked = [&](UINT nId) { return dlg.IsDlgButtonChecked(nId); };
        for (int i = 0; i < 2; ++i) {
            uitest::PressWindowKey(&dlg, Qt::Key_O, Qt::AltModifier);
            // Qt presses a button on a mnemonic a moment later.
            QTest::qWait(250);
            EXPECT_FALSE(pCheck->isChecked());
            EXPECT_EQ(QApplication::focusWidget(), pCheck);
        }
        uitest::PressWindowKey(&dlg, Qt::Key_A, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&]() { return pCheck->isChecked(); }));
        uitest::PressWindowKey(&dlg, Qt::Key_N, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(1033));
        uitest::PressWindowKey(&dlg, Qt::Key_W, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(1036));

        // No button of the group checked: the first takes the focus, and
        // stays unchecked.
        uitest::PressWindowKey(&dlg, Qt::Key_S, Qt::AltModifier);
        QTest::qWait(250);
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(1038));
        EXPECT_FALSE(checked(1038));
        EXPECT_FALSE(checked(1039));
        // The second checked by the program (a stored B), while the first
        // had the focus last: Tab into the group and the label lead to the
        // checked one.
        uitest::PressWindowKey(&dlg, Qt::Key_W, Qt::AltModifier);
        dlg.CheckDlgButton(1039, true);
        uitest::PressWindowKey(&dlg, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(1039));
        uitest::PressWindowKey(&dlg, Qt::Key_W, Qt::AltModifier);
        uitest::PressWindowKey(&dlg, Qt::Key_S, Qt::AltModifier);
        QTest::qWait(250);
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(1039));
        EXPECT_FALSE(checked(1038));
        EXPECT_TRUE(checked(1039));

        // Behind a hidden control the next shown group: its checked button.
        dlg.GetDlgItem(1041)->hide();
        dlg.CheckDlgButton(1043, true);
        uitest::PressWindowKey(&dlg, Qt::Key_E, Qt::AltModifier);
        QTest::qWait(250);
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(1043));
        EXPECT_FALSE(checked(1042));
        EXPECT_TRUE(checked(1043));
        EXPECT_EQ(dlg.m_arrCommands, (std::vector<UINT>{1031}));
        uitest::PressWindowKey(&dlg, Qt::Key_Escape);
    });
    dlg.DoModal();
}

// Alt with a letter that no shown, enabled control has as its mnemonic only
// beeps: the focused field takes no text from it.
TEST_F(DialogTest, AltWithTheLetterOfAHiddenOrDisabledControlTypesNothing) {
    CProbeDialog dlg(IDD_LABELS);
    int nBeeps = 0;
    const platform::ui::BeepHook previous = platform::ui::SetBeepHook([&](UINT) { ++nBeeps; });
    uitest::CTestModalRunner runner;
    runner.Then([&](QDialog&) {
        for (UINT nId : {1040u, 1041u, 1042u, 1043u}) {
            dlg.GetDlgItem(nId)->hide();
        }
        dlg.GetDlgItem(1031)->setEnabled(false);
        auto* pEdit = dlg.GetDlgItemAs<QLineEdit>(1036);
        pEdit->setText("Name");
        pEdit->setFocus();
        pEdit->selectAll();
        for (int nKey : {Qt::Key_E, Qt::Key_I, Qt::Key_T, Qt::Key_A, Qt::Key_Q}) {
            uitest::PressWindowKey(&dlg, nKey, Qt::AltModifier);
        }
        uitest::PressWindowKey(&dlg, Qt::Key_E, Qt::AltModifier | Qt::ShiftModifier);
        QTest::qWait(250);
        EXPECT_EQ(pEdit->text(), "Name");
        EXPECT_EQ(QApplication::focusWidget(), pEdit);
        EXPECT_GE(nBeeps, 5);
        EXPECT_TRUE(dlg.m_arrCommands.empty());
        // A shown label still leads on, and plain letters still type.
        uitest::PressWindowKey(&dlg, Qt::Key_S, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), dlg.GetDlgItem(1038));
        uitest::PressWindowKey(&dlg, Qt::Key_W, Qt::AltModifier);
        uitest::PressWindowKey(&dlg, Qt::Key_End);
        uitest::PressWindowKey(&dlg, Qt::Key_E);
        EXPECT_EQ(pEdit->text(), "Namee");
        uitest::PressWindowKey(&dlg, Qt::Key_Escape);
    });
    dlg.DoModal();
    platform::ui::SetBeepHook(previous);
}

}  // namespace
