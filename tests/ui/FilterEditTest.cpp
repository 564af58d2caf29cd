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

#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using controlstest::CBeepCounter;
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
    CUIntSpinEdit edit;
    uitest::TypeText(&edit, "12a3");
    EXPECT_EQ(edit.GetWindowText(), "123");
    EXPECT_EQ(beeps.Count(), 1);
    uitest::PressKey(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.GetWindowText(), "12");
    EXPECT_EQ(beeps.Count(), 1);
    // A character beyond the 8-bit codes is never in a set.
    QKeyEvent euro(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(0x20AC)));
    QApplication::sendEvent(&edit, &euro);
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
    CIntSpinEdit edit;
    controlstest::SetClipboardText("12a3");
    edit.OnPaste();
    EXPECT_EQ(edit.GetWindowText(), "123");
    EXPECT_EQ(beeps.Count(), 1);

    // The paste replaces the selection; the keyboard's paste is filtered too.
    edit.selectAll();
    controlstest::SetClipboardText("-4x");
    uitest::PressKey(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.GetWindowText(), "-4");
    EXPECT_EQ(beeps.Count(), 2);

    // Nothing accepted: the text stays, one beep.
    controlstest::SetClipboardText("abc");
    edit.OnPaste();
    EXPECT_EQ(edit.GetWindowText(), "-4");
    EXPECT_EQ(beeps.Count(), 3);

    // A clean paste does not beep.
    controlstest::SetClipboardText("5");
    edit.OnPaste();
    EXPECT_EQ(edit.GetWindowText(), "-45");
    EXPECT_EQ(beeps.Count(), 3);
}

TEST(FilterEditTest, TakesThePlaceOfATemplateEdit) {
    CBeepCounter beeps;
    QWidget dialog;
    auto* pBefore = new QLineEdit(&dialog);
    auto* pPlain = new QLineEdit("42", &dialog);
    pPlain->setGeometry(10, 20, 60, 14);
    platform::ui::SetDlgCtrlID(pPlain, 1001);
    QPointer<QLineEdit> pGone = pPlain;

    auto* pEdit = new CUIntSpinEdit(nullptr);
    ASSERT_TRUE(pEdit->SubclassDlgItem(1001, &dialog));
    EXPECT_TRUE(pGone.isNull());
    EXPECT_EQ(platform::ui::FindDlgItem(&dialog, 1001), pEdit);
    EXPECT_EQ(pEdit->parentWidget(), &dialog);
    EXPECT_EQ(pEdit->geometry(), QRect(10, 20, 60, 14));
    EXPECT_EQ(pEdit->GetWindowText(), "42");
    EXPECT_EQ(pBefore->nextInFocusChain(), pEdit);
    uitest::TypeText(pEdit, "7z");
    EXPECT_EQ(pEdit->GetWindowText(), "427");
    EXPECT_EQ(beeps.Count(), 1);

    // No plain edit at the id: nothing happens.
    CUIntSpinEdit other;
    EXPECT_FALSE(other.SubclassDlgItem(1002, &dialog));
    EXPECT_FALSE(other.SubclassDlgItem(1001, &dialog));  // no longer a plain edit
}

TEST(SpinEditTest, IntegerStepsMoveToTheNextGridPoint) {
    CUIntSpinEdit edit;
    edit.SetRange(0, 100);
    edit.SetStepSize(5);
    auto step = [&edit](const char* pszText, UINT nCode) {
        edit.SetWindowText(pszText);
        edit.OnVScroll(nCode, 0, nullptr);
        return edit.GetWindowText();
    };
    EXPECT_EQ(step("7", SB_LINEUP), "10");
    EXPECT_EQ(step("7", SB_LINEDOWN), "5");
    EXPECT_EQ(step("10", SB_LINEDOWN), "5");
    EXPECT_EQ(step("0", SB_LINEDOWN), "0");
    EXPECT_EQ(step("", SB_LINEUP), "5");  // no number counts as 0
    EXPECT_EQ(step("98", SB_LINEUP), "100");
    EXPECT_EQ(step("250", SB_LINEUP), "100");
    EXPECT_EQ(step("7", 5), "7");  // other codes do nothing

    // Off-grid and negative values round toward minus infinity.
    CIntSpinEdit signedEdit;
    signedEdit.SetRange(-10, 10);
    signedEdit.SetStepSize(3);
    signedEdit.SetWindowText("-5");
    signedEdit.OnVScroll(SB_LINEUP, 0, nullptr);
    EXPECT_EQ(signedEdit.GetWindowText(), "-4");
    signedEdit.SetWindowText("-5");
    signedEdit.OnVScroll(SB_LINEDOWN, 0, nullptr);
    EXPECT_EQ(signedEdit.GetWindowText(), "-7");
    signedEdit.SetWindowText("-12");
    signedEdit.OnVScroll(SB_LINEUP, 0, nullptr);
    EXPECT_EQ(signedEdit.GetWindowText(), "-10");
    signedEdit.SetWindowText("-9");
    signedEdit.OnVScroll(SB_LINEDOWN, 0, nullptr);
    EXPECT_EQ(signedEdit.GetWindowText(), "-10");
}

TEST(SpinEditTest, DoubleStepsSnapWithinATenthAndUseTheLocale) {
    CScopedIntl intl(controlstest::GermanIntl());
    CBeepCounter beeps;
    CDoubleSpinEdit edit;
    edit.SetRange(0.0, 10.0);
    edit.SetStepSize(0.5);
    edit.SetDecimals(1);
    auto step = [&edit](const char* pszText, UINT nCode) {
        edit.SetWindowText(pszText);
        edit.OnVScroll(nCode, 0, nullptr);
        return edit.GetWindowText();
    };
    EXPECT_EQ(step("1,26", SB_LINEUP), "1,5");
    EXPECT_EQ(step("1,04", SB_LINEDOWN), "0,5");  // 1,04 counts as 1,0
    EXPECT_EQ(step("1,04", SB_LINEUP), "1,5");
    EXPECT_EQ(step("9,9", SB_LINEUP), "10,0");
    EXPECT_EQ(step("0", SB_LINEDOWN), "0,0");
    // No number: the middle of the range, no step.
    EXPECT_EQ(step("-", SB_LINEUP), "5,0");

    uitest::TypeText(&edit, ",.");
    EXPECT_EQ(beeps.Count(), 1);
}

TEST(SpinEditTest, TimeStepsStayWithinTheDay) {
    CScopedIntl intl(controlstest::UsIntl());
    CTimeSpinEdit edit;
    auto step = [&edit](const char* pszText, UINT nCode) {
        edit.SetWindowText(pszText);
        edit.OnVScroll(nCode, 0, nullptr);
        return edit.GetWindowText();
    };
    EXPECT_EQ(step("10:00", SB_LINEDOWN), "09:59:00");
    EXPECT_EQ(step("23:59:30", SB_LINEUP), "23:59:59");
    EXPECT_EQ(step("00:00:30", SB_LINEDOWN), "00:00:00");
    edit.SetStepSize(CTimeSpan(0, 1, 0, 0));
    EXPECT_EQ(step("22:15", SB_LINEUP), "23:15:00");
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
    QWidget dialog;
    auto* pEdit = new CValueEditEx(&dialog);
    pEdit->setGeometry(10, 10, 60, 20);
    pEdit->SetWindowText("0");
    auto* pSpin = new CSpinControl();
    ASSERT_TRUE(pSpin->CreateBelow(pEdit, 2001));
    EXPECT_EQ(pSpin->parentWidget(), &dialog);
    EXPECT_EQ(pSpin->geometry(), QRect(10, 32, 60, 12));
    EXPECT_EQ(pSpin->GetBuddy(), pEdit);
    EXPECT_EQ(pSpin->GetStyle() & SPS_HORIZONTAL, SPS_HORIZONTAL);
    const QPoint ptRight(45, 6);
    const QPoint ptLeft(10, 6);

    pSpin->OnLButtonDown(ptRight);
    EXPECT_EQ(pEdit->GetWindowText(), "1");  // the first step comes at once
    EXPECT_EQ(pSpin->GetState() & CSpinControl::kStateLowerPressed, CSpinControl::kStateLowerPressed);
    CWndTimers* pTimers = CWndTimers::Of(pSpin, false);
    ASSERT_NE(pTimers, nullptr);
    EXPECT_EQ(pTimers->GetElapse(CSpinControl::kTimerFirst), 400u);
    EXPECT_FALSE(pTimers->IsTimerSet(CSpinControl::kTimerRepeat));

    ASSERT_TRUE(uitest::TickTimer(pSpin, CSpinControl::kTimerFirst));
    EXPECT_EQ(pEdit->GetWindowText(), "2");
    EXPECT_FALSE(pTimers->IsTimerSet(CSpinControl::kTimerFirst));
    EXPECT_EQ(pTimers->GetElapse(CSpinControl::kTimerRepeat), 50u);
    ASSERT_TRUE(uitest::TickTimer(pSpin, CSpinControl::kTimerRepeat));
    EXPECT_EQ(pEdit->GetWindowText(), "3");

    // Off the pressed half the steps pause; back on they go on.
    pSpin->OnMouseMove(ptLeft);
    EXPECT_NE(pSpin->GetState() & CSpinControl::kStateOutside, 0);
    ASSERT_TRUE(uitest::TickTimer(pSpin, CSpinControl::kTimerRepeat));
    EXPECT_EQ(pEdit->GetWindowText(), "3");
    pSpin->OnMouseMove(ptRight);
    ASSERT_TRUE(uitest::TickTimer(pSpin, CSpinControl::kTimerRepeat));
    EXPECT_EQ(pEdit->GetWindowText(), "4");

    pSpin->OnLButtonUp();
    EXPECT_FALSE(pTimers->IsTimerSet(CSpinControl::kTimerRepeat));
    EXPECT_EQ(pSpin->GetState() & (CSpinControl::kStateUpperPressed | CSpinControl::kStateLowerPressed), 0);

    // The left half steps down; real mouse events reach the same handlers.
    QTest::mousePress(pSpin, Qt::LeftButton, Qt::NoModifier, ptLeft);
    QTest::mouseRelease(pSpin, Qt::LeftButton, Qt::NoModifier, ptLeft);
    EXPECT_EQ(pEdit->GetWindowText(), "3");
    EXPECT_FALSE(pTimers->IsTimerSet(CSpinControl::kTimerFirst));
}

TEST(SpinControlTest, TellsTheBuddyWithCodePositionAndItself) {
    CRecordingBuddy buddy;
    CSpinControl spin;
    ASSERT_TRUE(spin.Create(0, QRect(0, 0, 12, 20), &buddy, 3001));
    EXPECT_EQ(spin.GetBuddy(), &buddy);  // the parent when none was set
    EXPECT_EQ(spin.GetStyle() & SPS_VERTICAL, SPS_VERTICAL);

    // Vertical: the upper half is SB_LINEUP and lowers the position.
    spin.OnLButtonDown(QPoint(6, 2));
    spin.OnLButtonUp();
    spin.OnLButtonDown(QPoint(6, 18));
    spin.OnLButtonUp();
    ASSERT_EQ(buddy.m_calls.size(), 2u);
    EXPECT_TRUE(buddy.m_calls[0].bVertical);
    EXPECT_EQ(buddy.m_calls[0].nCode, SB_LINEUP);
    EXPECT_EQ(buddy.m_calls[0].nPos, 4u);
    EXPECT_EQ(buddy.m_calls[0].pSpin, &spin);
    EXPECT_EQ(buddy.m_calls[1].nCode, SB_LINEDOWN);
    EXPECT_EQ(buddy.m_calls[1].nPos, 5u);

    // At the end of the range the position stays and the buddy still hears.
    buddy.m_calls.clear();
    for (int i = 0; i < 7; ++i) {
        spin.OnLButtonDown(QPoint(6, 18));
        spin.OnLButtonUp();
    }
    EXPECT_EQ(spin.GetPos(), 9);
    EXPECT_EQ(buddy.m_calls.size(), 7u);

    // Unless it asks to hear of changes only.
    CRecordingBuddy quiet;
    CSpinControl onChange;
    ASSERT_TRUE(onChange.Create(SPS_HORIZONTAL | SPS_NOTIFYONCHANGE, QRect(0, 0, 40, 12), &quiet, 3002));
    for (int i = 0; i < 7; ++i) {
        onChange.OnLButtonDown(QPoint(35, 6));
        onChange.OnLButtonUp();
    }
    EXPECT_EQ(quiet.m_calls.size(), 4u);
    EXPECT_FALSE(quiet.m_calls.front().bVertical);

    // A disabled spin does nothing.
    quiet.m_calls.clear();
    onChange.setEnabled(false);
    EXPECT_NE(onChange.GetState() & CSpinControl::kStateDisabled, 0);
    onChange.OnLButtonDown(QPoint(5, 6));
    EXPECT_TRUE(quiet.m_calls.empty());
}

}  // namespace
