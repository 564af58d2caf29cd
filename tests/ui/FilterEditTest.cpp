// The filtering edits, the spin edits' stepping and the spin button.

#include "tests/ui/ControlsTestSupport.h"
#include "tests/platform/ui/UiTestHarness.h"

#include "platform/ui/DialogTemplate.h"
#include "ui/CharSet.h"
#include "ui/DoubleSpinEdit.h"
#include "ui/IntSpinEdit.h"
#include "ui/SpinControl.h"
#include "ui/TimeSpinEdit.h"
#include "ui/UIntSpinEdit.h"
#include "ui/ValueEditEx.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using controlstest::CBeepCounter;
using controlstest::ClickSpin;
using controlstest::CControlWindow;
using controlstest::CScopedIntl;

namespace {

TEST(CharSetTest, SetsOfCharactersCombine) {
    const CCharSet all(static_cast<const char*>(nullptr));
    for (int i = 0; i < 256; ++i) {
        EXPECT_TRUE(all.Test(i)) << i;
    }
    EXPECT_TRUE(g_csDigits.Contains('0'));
    EXPECT_TRUE(g_csDigits.Contains('9'));
    EXPECT_FALSE(g_csDigits.Contains('a'));
    // Codes above 127 count unsigned.
    const CCharSet umlaut(std::string("\xFC"));
    EXPECT_TRUE(umlaut.ContainsCode(0xFC));

    const CCharSet sign = g_csDigits + std::string("+-");
    EXPECT_TRUE(sign.Contains('-'));
    EXPECT_FALSE(g_csDigits.Contains('-'));  // the global stays as it was
    EXPECT_EQ(sign - CCharSet("+-"), g_csDigits);

    // The complement of an odd-sized set keeps to its size.
    CBitSet bits(20);
    bits.Set(3);
    const CBitSet inverse = ~bits;
    EXPECT_FALSE(inverse.Test(3));
    EXPECT_TRUE(inverse.Test(19));
    EXPECT_FALSE(inverse.Test(20));
    EXPECT_EQ(~inverse, bits);
    // Sets of another size do not combine.
    CBitSet other(8);
    other.Set(1);
    bits |= other;
    EXPECT_FALSE(bits.Test(1));
}

TEST(FilterEditTest, TypedCharactersOutsideTheSetBeepAndAreDropped) {
    CBeepCounter beeps;
    CControlWindow window;
    auto& edit = window.Add<CUIntSpinEdit>();
    uitest::TypeText(&edit, "12a3");
    EXPECT_EQ(edit.GetWindowText(), "123");
    EXPECT_EQ(beeps.Count(), 1);
    uitest::PressKey(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.GetWindowText(), "12");
    EXPECT_EQ(beeps.Count(), 1);
    // A character beyond the 8-bit codes is never in a set.
    uitest::TypeText(&edit, "\u20AC");
    EXPECT_EQ(edit.GetWindowText(), "12");
    EXPECT_EQ(beeps.Count(), 2);
    // Arrows move as usual without a beep.
    uitest::PressKey(&edit, Qt::Key_Left);
    EXPECT_EQ(beeps.Count(), 2);

    edit.AllowChar('x');
    uitest::TypeText(&edit, "x");
    edit.AllowChars("x12", false);
    uitest::TypeText(&edit, "x1");
    EXPECT_EQ(edit.GetWindowText(), "1x2");
    EXPECT_EQ(beeps.Count(), 4);
}

TEST(FilterEditTest, PasteKeepsOnlyAcceptedCharacters) {
    CBeepCounter beeps;
    CControlWindow window;
    auto& edit = window.Add<CIntSpinEdit>();
    auto paste = [&edit](const char* pszClipboard) {
        controlstest::SetClipboardText(pszClipboard);
        uitest::PressKey(&edit, Qt::Key_V, Qt::ControlModifier);
        return edit.GetWindowText();
    };
    EXPECT_EQ(paste("12a3"), "123");
    EXPECT_EQ(beeps.Count(), 1);

    // The paste replaces the selection.
    uitest::PressKey(&edit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(paste("-4x"), "-4");
    EXPECT_EQ(beeps.Count(), 2);

    // Nothing accepted: the text stays, one beep.
    EXPECT_EQ(paste("abc"), "-4");
    EXPECT_EQ(beeps.Count(), 3);

    // A clean paste does not beep.
    EXPECT_EQ(paste("5"), "-45");
    EXPECT_EQ(beeps.Count(), 3);

    // Shift+Insert is a paste too, and goes through the same filter.
    controlstest::SetClipboardText("6y");
    uitest::PressKey(&edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit.GetWindowText(), "-456");
    EXPECT_EQ(beeps.Count(), 4);
}

TEST(FilterEditTest, TakesThePlaceOfATemplateEdit) {
    CBeepCounter beeps;
    QWidget dialog;
    dialog.resize(200, 100);
    auto* pBefore = new QLineEdit(&dialog);
    pBefore->setGeometry(10, 0, 60, 14);
    auto* pLabel = new QLabel("&Wert", &dialog);
    pLabel->setGeometry(80, 0, 60, 14);
    auto* pPlain = new QLineEdit("42", &dialog);
    pPlain->setGeometry(10, 20, 60, 14);
    pLabel->setBuddy(pPlain);
    auto* pAfter = new QLineEdit(&dialog);
    pAfter->setGeometry(10, 40, 60, 14);
    platform::ui::SetDlgCtrlID(pPlain, 1001);
    QPointer<QLineEdit> pGone = pPlain;

    auto* pEdit = new CUIntSpinEdit(nullptr);
    ASSERT_TRUE(pEdit->SubclassDlgItem(1001, &dialog));
    EXPECT_TRUE(pGone.isNull());
    EXPECT_EQ(platform::ui::FindDlgItem(&dialog, 1001), pEdit);
    EXPECT_EQ(pEdit->geometry(), QRect(10, 20, 60, 14));
    EXPECT_EQ(pEdit->GetWindowText(), "42");
    dialog.show();
    uitest::ProcessEvents();
    // Tab from the control before it lands in it and goes on to the next.
    uitest::PressKey(pBefore, Qt::Key_Tab);
    EXPECT_TRUE(pEdit->hasFocus());
    uitest::PressWindowKey(&dialog, Qt::Key_Tab);
    EXPECT_TRUE(pAfter->hasFocus());
    // The label's mnemonic leads to it.
    uitest::PressWindowKey(&dialog, Qt::Key_W, Qt::AltModifier);
    EXPECT_TRUE(pEdit->hasFocus());
    uitest::PressKey(pEdit, Qt::Key_End);
    uitest::TypeText(pEdit, "7z");
    EXPECT_EQ(pEdit->GetWindowText(), "427");
    EXPECT_EQ(beeps.Count(), 1);

    // No plain edit at the id: nothing happens.
    CUIntSpinEdit other;
    EXPECT_FALSE(other.SubclassDlgItem(1002, &dialog));
    EXPECT_FALSE(other.SubclassDlgItem(1001, &dialog));  // no longer a plain edit
}

TEST(SpinEditTest, IntegerStepsMoveToTheNextGridPoint) {
    CControlWindow window;
    auto& edit = window.Add<CUIntSpinEdit>();
    CSpinControl& spin = window.AddSpinBeside(edit, 101);
    edit.SetRange(0, 100);
    edit.SetStepSize(5);
    auto step = [&](const char* pszText, bool bUp) {
        edit.SetWindowText(pszText);
        ClickSpin(spin, bUp);
        return edit.GetWindowText();
    };
    EXPECT_EQ(step("7", true), "10");
    EXPECT_EQ(step("7", false), "5");
    EXPECT_EQ(step("10", false), "5");
    EXPECT_EQ(step("0", false), "0");
    EXPECT_EQ(step("", true), "5");  // no number counts as 0
    EXPECT_EQ(step("98", true), "100");
    EXPECT_EQ(step("250", true), "100");

    // Off-grid and negative values round toward minus infinity.
    auto& signedEdit = window.Add<CIntSpinEdit>();
    CSpinControl& signedSpin = window.AddSpinBeside(signedEdit, 102);
    signedEdit.SetRange(-10, 10);
    signedEdit.SetStepSize(3);
    auto stepSigned = [&](const char* pszText, bool bUp) {
        signedEdit.SetWindowText(pszText);
        ClickSpin(signedSpin, bUp);
        return signedEdit.GetWindowText();
    };
    EXPECT_EQ(stepSigned("-5", true), "-4");
    EXPECT_EQ(stepSigned("-5", false), "-7");
    EXPECT_EQ(stepSigned("-12", true), "-10");
    EXPECT_EQ(stepSigned("-9", false), "-10");
    // The spin hands the focus to its edit.
    EXPECT_TRUE(signedEdit.hasFocus());
}

TEST(SpinEditTest, DoubleStepsSnapWithinATenthAndUseTheLocale) {
    CScopedIntl intl(controlstest::GermanIntl());
    CBeepCounter beeps;
    CControlWindow window;
    auto& edit = window.Add<CDoubleSpinEdit>();
    CSpinControl& spin = window.AddSpinBeside(edit, 101);
    edit.SetRange(0.0, 10.0);
    edit.SetStepSize(0.5);
    edit.SetDecimals(1);
    auto step = [&](const char* pszText, bool bUp) {
        edit.SetWindowText(pszText);
        ClickSpin(spin, bUp);
        return edit.GetWindowText();
    };
    EXPECT_EQ(step("1,26", true), "1,5");
    EXPECT_EQ(step("1,04", false), "0,5");  // 1,04 counts as 1,0
    EXPECT_EQ(step("1,04", true), "1,5");
    EXPECT_EQ(step("9,9", true), "10,0");
    EXPECT_EQ(step("0", false), "0,0");
    // No number: the middle of the range, no step.
    EXPECT_EQ(step("-", true), "5,0");

    uitest::TypeText(&edit, ",.");
    EXPECT_EQ(beeps.Count(), 1);
}

TEST(SpinEditTest, TimeStepsStayWithinTheDay) {
    CScopedIntl intl(controlstest::UsIntl());
    CControlWindow window;
    auto& edit = window.Add<CTimeSpinEdit>();
    CSpinControl& spin = window.AddSpinBeside(edit, 101);
    auto step = [&](const char* pszText, bool bUp) {
        edit.SetWindowText(pszText);
        ClickSpin(spin, bUp);
        return edit.GetWindowText();
    };
    EXPECT_EQ(step("10:00", false), "09:59:00");
    EXPECT_EQ(step("23:59:30", true), "23:59:59");
    EXPECT_EQ(step("00:00:30", false), "00:00:00");
    edit.SetStepSize(CTimeSpan(0, 1, 0, 0));
    EXPECT_EQ(step("22:15", true), "23:15:00");
}

// Records what a spin tells its buddy.
class CRecordingBuddy : public QWidget, public ISpinBuddy {
public:
    struct Call {
        bool bVertical;
        UINT nCode;
        UINT nPos;
        QWidget* pSpin;
    };
    void OnVScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) override {
        m_calls.push_back({true, nSBCode, nPos, pScrollBar});
    }
    void OnHScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) override {
        m_calls.push_back({false, nSBCode, nPos, pScrollBar});
    }
    std::vector<Call> m_calls;
};

TEST(SpinControlTest, HoldingAHalfStepsAtOnceThenAfter400ThenEvery50) {
    CControlWindow window;
    auto& edit = window.Add<CValueEditEx>();
    edit.setGeometry(10, 10, 60, 20);
    edit.SetWindowText("0");
    CSpinControl& spin = window.AddSpinBelow(edit, 2001);
    EXPECT_EQ(spin.parentWidget(), &window.Window());
    EXPECT_EQ(spin.geometry(), QRect(10, 32, 60, 12));
    EXPECT_EQ(spin.GetBuddy(), &edit);
    EXPECT_EQ(spin.GetStyle() & SPS_HORIZONTAL, SPS_HORIZONTAL);
    const QPoint ptRight(45, 6);
    const QPoint ptLeft(10, 6);
    CSpinControl* pSpin = &spin;

    // Each half is drawn raised until it is pressed, then sunken.
    const QRect rectLeftHalf(0, 0, 28, 12);
    const QRect rectRightHalf(33, 0, 27, 12);
    const QImage raised = pSpin->grab().toImage();
    uitest::MousePress(pSpin, ptRight);
    EXPECT_EQ(edit.GetWindowText(), "1");  // the first step comes at once
    CWndTimers* pTimers = CWndTimers::Of(pSpin, false);
    ASSERT_NE(pTimers, nullptr);
    EXPECT_EQ(pTimers->GetElapse(CSpinControl::kTimerFirst), 400u);
    EXPECT_FALSE(pTimers->IsTimerSet(CSpinControl::kTimerRepeat));
    const QImage pressed = pSpin->grab().toImage();
    EXPECT_NE(pressed.copy(rectRightHalf), raised.copy(rectRightHalf));
    EXPECT_EQ(pressed.copy(rectLeftHalf), raised.copy(rectLeftHalf));

    ASSERT_TRUE(uitest::TickTimer(pSpin, CSpinControl::kTimerFirst));
    EXPECT_EQ(edit.GetWindowText(), "2");
    EXPECT_FALSE(pTimers->IsTimerSet(CSpinControl::kTimerFirst));
    EXPECT_EQ(pTimers->GetElapse(CSpinControl::kTimerRepeat), 50u);
    ASSERT_TRUE(uitest::TickTimer(pSpin, CSpinControl::kTimerRepeat));
    EXPECT_EQ(edit.GetWindowText(), "3");

    // Off the pressed half the steps pause, also when the pointer leaves
    // the spin; back on they go on.
    uitest::MouseMove(pSpin, ptLeft);
    ASSERT_TRUE(uitest::TickTimer(pSpin, CSpinControl::kTimerRepeat));
    EXPECT_EQ(edit.GetWindowText(), "3");
    EXPECT_EQ(pSpin->grab().toImage(), raised);
    uitest::MouseMove(pSpin, ptRight);
    ASSERT_TRUE(uitest::TickTimer(pSpin, CSpinControl::kTimerRepeat));
    EXPECT_EQ(edit.GetWindowText(), "4");
    uitest::MouseMove(pSpin, QPoint(45, 40));
    ASSERT_TRUE(uitest::TickTimer(pSpin, CSpinControl::kTimerRepeat));
    EXPECT_EQ(edit.GetWindowText(), "4");
    uitest::MouseMove(pSpin, ptRight);

    EXPECT_EQ(pSpin->grab().toImage(), pressed);

    // Released outside: no more steps, both halves raised again.
    uitest::MouseRelease(pSpin, QPoint(45, 40));
    EXPECT_FALSE(pTimers->IsTimerSet(CSpinControl::kTimerRepeat));
    EXPECT_EQ(pSpin->grab().toImage(), raised);

    // The left half steps down; a double click steps twice.
    uitest::Click(pSpin, ptLeft);
    EXPECT_EQ(edit.GetWindowText(), "3");
    EXPECT_FALSE(pTimers->IsTimerSet(CSpinControl::kTimerFirst));
    uitest::DoubleClick(pSpin, ptLeft);
    EXPECT_EQ(edit.GetWindowText(), "1");
}

TEST(SpinControlTest, TellsTheBuddyWithCodePositionAndItself) {
    CRecordingBuddy buddy;
    buddy.resize(100, 40);
    auto* pSpin = new CSpinControl();
    ASSERT_TRUE(pSpin->Create(0, QRect(0, 0, 12, 20), &buddy, 3001));
    EXPECT_EQ(pSpin->GetBuddy(), &buddy);  // the parent when none was set
    EXPECT_EQ(pSpin->GetStyle() & SPS_VERTICAL, SPS_VERTICAL);
    auto* pOnChange = new CSpinControl();
    CRecordingBuddy quiet;
    pOnChange->SetBuddy(&quiet);
    ASSERT_TRUE(pOnChange->Create(SPS_HORIZONTAL | SPS_NOTIFYONCHANGE, QRect(30, 0, 40, 12), &buddy, 3002));
    buddy.show();
    uitest::ProcessEvents();

    // Vertical: the upper half is SB_LINEUP and lowers the position.
    uitest::Click(pSpin, QPoint(6, 2));
    uitest::Click(pSpin, QPoint(6, 18));
    ASSERT_EQ(buddy.m_calls.size(), 2u);
    EXPECT_TRUE(buddy.m_calls[0].bVertical);
    EXPECT_EQ(buddy.m_calls[0].nCode, SB_LINEUP);
    EXPECT_EQ(buddy.m_calls[0].nPos, 4u);
    EXPECT_EQ(buddy.m_calls[0].pSpin, pSpin);
    EXPECT_EQ(buddy.m_calls[1].nCode, SB_LINEDOWN);
    EXPECT_EQ(buddy.m_calls[1].nPos, 5u);

    // At the end of the range the position stays and the buddy still hears.
    buddy.m_calls.clear();
    for (int i = 0; i < 7; ++i) {
        uitest::Click(pSpin, QPoint(6, 18));
    }
    EXPECT_EQ(pSpin->GetPos(), 9);
    EXPECT_EQ(buddy.m_calls.size(), 7u);

    // Unless it asks to hear of changes only.
    for (int i = 0; i < 7; ++i) {
        uitest::Click(pOnChange, QPoint(35, 6));
    }
    EXPECT_EQ(quiet.m_calls.size(), 4u);
    EXPECT_FALSE(quiet.m_calls.front().bVertical);

    // A disabled spin does nothing and draws its arrows hollow.
    quiet.m_calls.clear();
    const QImage enabled = pOnChange->grab().toImage();
    pOnChange->setEnabled(false);
    EXPECT_NE(pOnChange->GetState() & CSpinControl::kStateDisabled, 0);
    EXPECT_NE(pOnChange->grab().toImage(), enabled);
    uitest::Click(pOnChange, QPoint(5, 6));
    EXPECT_TRUE(quiet.m_calls.empty());
}

}  // namespace
