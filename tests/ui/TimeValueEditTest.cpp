// The time-of-day edit, the bounded number edit and the combo box that
// stays open.

#include "tests/ui/ControlsTestSupport.h"
#include "tests/platform/ui/UiTestHarness.h"

#include "platform/ui/Handles.h"
#include "tests/support/ScriptedMessageBoxSink.h"
#include "ui/KeepOpenComboBox.h"
#include "ui/SpinControl.h"
#include "ui/TimeEditEx.h"
#include "ui/ValueEditEx.h"

#include <gtest/gtest.h>

using controlstest::CBeepCounter;
using controlstest::ClickSpin;
using controlstest::CControlWindow;
using controlstest::CScopedIntl;
using controlstest::LoseFocus;

namespace {

const char* const kInvalidTimeText =
    "Die eingegebene Zeit ist ungültig. Sie wird daher durch den letzten gültigen Wert ersetzt.";

class TimeEditExTest : public ::testing::Test {
protected:
    CScopedIntl m_intl{controlstest::UsIntl()};
    CScriptedMessageBoxSink m_boxes;
    CControlWindow m_window;
};

TEST_F(TimeEditExTest, InvalidTextWarnsOnceAndReturnsTheLastGoodTime) {
    auto& edit = m_window.Add<CTimeEditEx>(TEM_WARNINVALID);
    edit.SetTime(CTime(2000, 1, 1, 10, 15, 0));
    EXPECT_EQ(edit.GetWindowText(), "10:15");

    m_boxes.ExpectBox(kInvalidTimeText, "Ungültige Zeit", MB_ICONWARNING, IDOK);
    uitest::PressKey(&edit, Qt::Key_A, Qt::ControlModifier);
    uitest::TypeText(&edit, "25:00");
    // The refused text keeps the focus for the time that came back.
    uitest::PressKey(&edit, Qt::Key_Tab);
    uitest::ProcessEvents();
    EXPECT_TRUE(edit.hasFocus());
    EXPECT_EQ(edit.GetWindowText(), "10:15");
    ASSERT_EQ(m_boxes.GetShown().size(), 1u);
    EXPECT_EQ(m_boxes.GetShown()[0].hOwner, platform::ui::HwndFromWidget(&m_window.Window()));
    // Already replaced: leaving again says nothing.
    LoseFocus(&edit);
    EXPECT_EQ(m_boxes.GetShown().size(), 1u);

    // Without the mode bit the time returns silently.
    auto& quiet = m_window.Add<CTimeEditEx>();
    quiet.SetTime(CTime(2000, 1, 1, 8, 0, 0));
    uitest::PressKey(&quiet, Qt::Key_A, Qt::ControlModifier);
    uitest::TypeText(&quiet, "12:75");
    LoseFocus(&quiet);
    EXPECT_EQ(quiet.GetWindowText(), "08:00");
    EXPECT_EQ(m_boxes.GetShown().size(), 1u);
}

TEST_F(TimeEditExTest, ShortDigitTextsReadAsHoursAndMinutes) {
    auto& edit = m_window.Add<CTimeEditEx>();
    for (const char* pszText : {"0930", "930", " 9 30", "9:30"}) {
        edit.SetWindowText(pszText);
        EXPECT_EQ(edit.GetTime(), CTime(2000, 1, 1, 9, 30, 0)) << pszText;
    }
    edit.SetWindowText("5");
    EXPECT_EQ(edit.GetTime(), CTime(2000, 1, 1, 0, 5, 0));
    // A valid typed text becomes the last good time when the field is left.
    uitest::PressKey(&edit, Qt::Key_A, Qt::ControlModifier);
    uitest::TypeText(&edit, "1745");
    LoseFocus(&edit);
    EXPECT_EQ(edit.GetWindowText(), "17:45");
    EXPECT_EQ(edit.GetLastGoodTime(), CTime(2000, 1, 1, 17, 45, 0));
}

TEST_F(TimeEditExTest, AttachedSpinsChangeOneFieldAndWrap) {
    auto& edit = m_window.Add<CTimeEditEx>();
    edit.setGeometry(10, 50, 60, 20);
    // The minutes' spin under the edit, the hours' one beside it, and one
    // that is not attached to a field.
    CSpinControl& minutes = m_window.AddSpinBelow(edit, 101);
    auto* pHours = new CSpinControl();
    pHours->SetBuddy(&edit);
    ASSERT_TRUE(pHours->Create(SPS_HORIZONTAL, QRect(90, 50, 60, 12), &m_window.Window(), 102));
    auto* pGeneral = new CSpinControl();
    pGeneral->SetBuddy(&edit);
    ASSERT_TRUE(pGeneral->Create(SPS_HORIZONTAL, QRect(160, 50, 60, 12), &m_window.Window(), 103));
    CSpinControl& general = m_window.AddSpinBeside(edit, 104);
    edit.SetSpinControl(0, &minutes);
    edit.SetSpinControl(1, pHours);
    // An index past the seconds attaches nothing: that spin stays a general
    // one.
    edit.SetSpinControl(3, pGeneral);

    edit.SetWindowText("10:59");
    ClickSpin(minutes, false);  // the right half steps up
    EXPECT_EQ(edit.GetWindowText(), "10:00");
    edit.SetWindowText("23:15");
    ClickSpin(*pHours, false);
    EXPECT_EQ(edit.GetWindowText(), "00:15");
    ClickSpin(*pHours, true);
    EXPECT_EQ(edit.GetWindowText(), "23:15");

    // A spin that is not attached steps the whole time, without wrapping.
    edit.SetWindowText("12:00");
    ClickSpin(*pGeneral, true);  // horizontal: the left half steps down
    EXPECT_EQ(edit.GetWindowText(), "11:59");
    ClickSpin(general, false);  // vertical: the lower half steps down
    EXPECT_EQ(edit.GetWindowText(), "11:58");
    edit.SetWindowText("23:58");
    ClickSpin(*pGeneral, false);
    EXPECT_EQ(edit.GetWindowText(), "23:59");
    ClickSpin(*pGeneral, false);
    EXPECT_EQ(edit.GetWindowText(), "23:59");
    edit.SetWindowText("00:00");
    ClickSpin(*pGeneral, true);
    EXPECT_EQ(edit.GetWindowText(), "00:00");
    ClickSpin(general, true);  // vertical: the upper half steps up
    EXPECT_EQ(edit.GetWindowText(), "00:01");
}

TEST_F(TimeEditExTest, HourModeStepsWholeHours) {
    auto& edit = m_window.Add<CTimeEditEx>(TEM_HOURSTEP | TEM_ZEROMINUTES);
    CSpinControl& spin = m_window.AddSpinBelow(edit, 101);
    auto step = [&](const char* pszText, bool bUp) {
        edit.SetWindowText(pszText);
        ClickSpin(spin, !bUp);
        return edit.GetWindowText();
    };
    EXPECT_EQ(step("10:30", true), "11:00");
    EXPECT_EQ(step("10:30", false), "09:00");
    EXPECT_EQ(step("23:30", true), "23:00");
}

TEST(TimeEditExClockTest, TwelveHourClockAcceptsTheSuffixes) {
    platform::IntlValues intl = controlstest::UsIntl();
    intl.iTime = 0;
    intl.iTLZero = 0;
    intl.s1159 = "AM";
    intl.s2359 = "PM";
    CScopedIntl scoped(intl);
    CBeepCounter beeps;
    CControlWindow window;
    auto& edit = window.Add<CTimeEditEx>();
    uitest::TypeText(&edit, "1:05 pm");
    EXPECT_EQ(beeps.Count(), 0);
    EXPECT_EQ(edit.GetTime(), CTime(2000, 1, 1, 13, 5, 0));
    LoseFocus(&edit);
    EXPECT_EQ(edit.GetWindowText(), "1:05 PM");
    edit.SetWindowText("12:00 AM");
    EXPECT_EQ(edit.GetTime(), CTime(2000, 1, 1, 0, 0, 0));
    uitest::TypeText(&edit, "x");
    EXPECT_EQ(beeps.Count(), 1);
}

TEST(ValueEditExTest, StepsWrapOrStopAtTheEnds) {
    CControlWindow window;
    auto& edit = window.Add<CValueEditEx>();
    CSpinControl& below = window.AddSpinBelow(edit, 101);
    CSpinControl& beside = window.AddSpinBeside(edit, 102);
    edit.SetRange(0, 59);
    edit.SetWrapAround(TRUE);
    edit.SetValue(59);
    ClickSpin(below, false);  // right: up
    EXPECT_EQ(edit.GetValue(), 0u);
    ClickSpin(below, true);
    EXPECT_EQ(edit.GetValue(), 59u);

    edit.SetWrapAround(FALSE);
    ClickSpin(beside, true);  // upper: up
    EXPECT_EQ(edit.GetValue(), 59u);
    edit.SetValue(0);
    ClickSpin(beside, false);
    EXPECT_EQ(edit.GetValue(), 0u);

    // A typed value above the range comes down to its top.
    uitest::PressKey(&edit, Qt::Key_A, Qt::ControlModifier);
    uitest::TypeText(&edit, "99");
    ClickSpin(below, true);
    EXPECT_EQ(edit.GetWindowText(), "59");
    // With a minimum above 0, one below it steps to the minimum.
    auto& month = window.Add<CValueEditEx>();
    CSpinControl& monthSpin = window.AddSpinBelow(month, 103);
    month.SetRange(1, 12);
    month.SetWrapAround(TRUE);
    month.SetWindowText("0");
    ClickSpin(monthSpin, false);
    EXPECT_EQ(month.GetValue(), 1u);
    ClickSpin(monthSpin, true);
    EXPECT_EQ(month.GetValue(), 12u);
}

TEST(ValueEditExTest, DigitsDotAndSwitchedOffState) {
    CControlWindow window;
    auto& edit = window.Add<CValueEditEx>();
    edit.SetRange(0, 59);
    edit.SetDigitCount(2);
    edit.SetValue(5);
    EXPECT_EQ(edit.GetWindowText(), "05");
    edit.EnableValue(FALSE);
    EXPECT_EQ(edit.GetWindowText(), "- -");
    EXPECT_EQ(edit.GetValue(), 5u);
    EXPECT_FALSE(edit.isEnabled());
    edit.SetValue(7);  // only kept while switched off
    EXPECT_EQ(edit.GetWindowText(), "- -");
    edit.EnableValue(TRUE);
    EXPECT_TRUE(edit.isEnabled());
    EXPECT_EQ(edit.GetWindowText(), "07");

    auto enter = [&edit](const char* pszText) {
        uitest::PressKey(&edit, Qt::Key_A, Qt::ControlModifier);
        uitest::PressKey(&edit, Qt::Key_Delete);
        uitest::TypeText(&edit, pszText);
        LoseFocus(&edit);
        return edit.GetWindowText();
    };
    EXPECT_EQ(enter("75"), "59");
    EXPECT_EQ(enter(""), "00");

    edit.SetDigitCount(-3);
    edit.SetDotSuffix(TRUE);
    edit.SetValue(12);
    EXPECT_EQ(edit.GetWindowText(), "12.");
    EXPECT_EQ(edit.GetValue(), 12u);
}

// Qt keeps the focus on a combo box while its list is open, so no user
// action here makes it lose the focus with the list open; the reaction to
// that loss is called directly, with the pointer where it would be.
TEST(KeepOpenComboBoxTest, OpensAgainOnlyWithThePointerOverIt) {
    QWidget dialog;
    auto* pCombo = new CKeepOpenComboBox(&dialog);
    pCombo->addItems({"A", "B"});
    pCombo->setGeometry(10, 10, 80, 20);
    dialog.show();
    const QPoint ptInside = pCombo->mapToGlobal(QPoint(5, 5));
    const QPoint ptOutside = pCombo->mapToGlobal(QPoint(200, 200));

    pCombo->OnKillFocus(false, ptInside);
    EXPECT_FALSE(pCombo->IsDroppedDown());
    pCombo->OnKillFocus(true, ptOutside);
    EXPECT_FALSE(pCombo->IsDroppedDown());
    pCombo->OnKillFocus(true, ptInside);
    EXPECT_TRUE(pCombo->IsDroppedDown());
    pCombo->hidePopup();
}

}  // namespace
