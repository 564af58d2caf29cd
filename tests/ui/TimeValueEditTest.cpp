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

#include <QTest>

#include <gtest/gtest.h>

using controlstest::CBeepCounter;
using controlstest::CScopedIntl;
using controlstest::LoseFocus;

namespace {

const char* const kInvalidTimeText =
    "Die eingegebene Zeit ist ungültig. Sie wird daher durch den letzten gültigen Wert ersetzt.";

class TimeEditExTest : public ::testing::Test {
protected:
    CScopedIntl m_intl{controlstest::UsIntl()};
    CScriptedMessageBoxSink m_boxes;
};

TEST_F(TimeEditExTest, InvalidTextWarnsOnceAndReturnsTheLastGoodTime) {
    QWidget dialog;
    auto* pEdit = new CTimeEditEx(TEM_WARNINVALID, &dialog);
    pEdit->SetTime(CTime(2000, 1, 1, 10, 15, 0));
    EXPECT_EQ(pEdit->GetWindowText(), "10:15");

    m_boxes.ExpectBox(kInvalidTimeText, "Ungültige Zeit", MB_ICONWARNING, IDOK);
    pEdit->SetWindowText("25:00");
    LoseFocus(pEdit);
    EXPECT_EQ(pEdit->GetWindowText(), "10:15");
    ASSERT_EQ(m_boxes.GetShown().size(), 1u);
    EXPECT_EQ(m_boxes.GetShown()[0].hOwner, platform::ui::HwndFromWidget(&dialog));
    // Already replaced: leaving again says nothing.
    LoseFocus(pEdit);
    EXPECT_EQ(m_boxes.GetShown().size(), 1u);

    // Without the mode bit the time returns silently.
    CTimeEditEx quiet;
    quiet.SetTime(CTime(2000, 1, 1, 8, 0, 0));
    quiet.SetWindowText("12:75");
    EXPECT_EQ(quiet.GetTime(), CTime(2000, 1, 1, 8, 0, 0));
    EXPECT_EQ(m_boxes.GetShown().size(), 1u);
}

TEST_F(TimeEditExTest, ShortDigitTextsReadAsHoursAndMinutes) {
    CTimeEditEx edit;
    for (const char* pszText : {"0930", "930", " 9 30", "9:30"}) {
        edit.SetWindowText(pszText);
        EXPECT_EQ(edit.GetTime(), CTime(2000, 1, 1, 9, 30, 0)) << pszText;
    }
    edit.SetWindowText("5");
    EXPECT_EQ(edit.GetTime(), CTime(2000, 1, 1, 0, 5, 0));
    // A valid text becomes the last good time when the field is left.
    edit.SetWindowText("1745");
    LoseFocus(&edit);
    EXPECT_EQ(edit.GetWindowText(), "17:45");
    EXPECT_EQ(edit.GetLastGoodTime(), CTime(2000, 1, 1, 17, 45, 0));
}

TEST_F(TimeEditExTest, AttachedSpinsChangeOneFieldAndWrap) {
    QWidget dialog;
    auto* pEdit = new CTimeEditEx(&dialog);
    pEdit->setGeometry(0, 0, 60, 20);
    auto* pMinutes = new CSpinControl();
    auto* pHours = new CSpinControl();
    ASSERT_TRUE(pMinutes->CreateBelow(pEdit, 101));
    ASSERT_TRUE(pHours->CreateBelow(pEdit, 102));
    pEdit->SetSpinControl(0, pMinutes);
    pEdit->SetSpinControl(1, pHours);
    pEdit->SetSpinControl(3, pHours);  // ignored

    pEdit->SetWindowText("10:59");
    pMinutes->OnLButtonDown(QPoint(50, 6));  // the right half steps up
    pMinutes->OnLButtonUp();
    EXPECT_EQ(pEdit->GetWindowText(), "10:00");
    pEdit->SetWindowText("23:15");
    pHours->OnLButtonDown(QPoint(50, 6));
    pHours->OnLButtonUp();
    EXPECT_EQ(pEdit->GetWindowText(), "00:15");
    pHours->OnLButtonDown(QPoint(5, 6));
    pHours->OnLButtonUp();
    EXPECT_EQ(pEdit->GetWindowText(), "23:15");

    // A spin that is not attached steps the whole time, without wrapping.
    CSpinControl general;
    pEdit->SetWindowText("23:59");
    pEdit->OnHScroll(SB_LINEDOWN, 0, &general);
    EXPECT_EQ(pEdit->GetWindowText(), "23:59");
    pEdit->SetWindowText("00:00");
    pEdit->OnHScroll(SB_LINEUP, 0, &general);
    EXPECT_EQ(pEdit->GetWindowText(), "00:00");
    pEdit->OnVScroll(SB_LINEUP, 0, &general);
    EXPECT_EQ(pEdit->GetWindowText(), "00:01");
}

TEST_F(TimeEditExTest, HourModeStepsWholeHours) {
    CTimeEditEx edit(TEM_HOURSTEP | TEM_ZEROMINUTES);
    edit.SetWindowText("10:30");
    edit.OnHScroll(SB_LINEDOWN, 0, nullptr);
    EXPECT_EQ(edit.GetWindowText(), "11:00");
    edit.SetWindowText("10:30");
    edit.OnHScroll(SB_LINEUP, 0, nullptr);
    EXPECT_EQ(edit.GetWindowText(), "09:00");
    edit.SetWindowText("23:30");
    edit.OnHScroll(SB_LINEDOWN, 0, nullptr);
    EXPECT_EQ(edit.GetWindowText(), "23:00");
}

TEST(TimeEditExClockTest, TwelveHourClockAcceptsTheSuffixes) {
    platform::IntlValues intl = controlstest::UsIntl();
    intl.iTime = 0;
    intl.iTLZero = 0;
    intl.s1159 = "AM";
    intl.s2359 = "PM";
    CScopedIntl scoped(intl);
    CBeepCounter beeps;
    CTimeEditEx edit;
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
    CValueEditEx edit;
    edit.SetRange(0, 59);
    edit.SetWrapAround(TRUE);
    edit.SetValue(59);
    edit.OnHScroll(SB_LINEDOWN, 0, nullptr);
    EXPECT_EQ(edit.GetValue(), 0u);
    edit.OnHScroll(SB_LINEUP, 0, nullptr);
    EXPECT_EQ(edit.GetValue(), 59u);

    edit.SetWrapAround(FALSE);
    edit.OnVScroll(SB_LINEUP, 0, nullptr);
    EXPECT_EQ(edit.GetValue(), 59u);
    edit.SetValue(0);
    edit.OnVScroll(SB_LINEDOWN, 0, nullptr);
    EXPECT_EQ(edit.GetValue(), 0u);

    // A typed value above the range comes down to its top.
    edit.SetWindowText("99");
    edit.OnHScroll(SB_LINEUP, 0, nullptr);
    EXPECT_EQ(edit.GetWindowText(), "59");
    // With a minimum above 0, one below it steps to the minimum.
    CValueEditEx month;
    month.SetRange(1, 12);
    month.SetWrapAround(TRUE);
    month.SetWindowText("0");
    month.OnHScroll(SB_LINEDOWN, 0, nullptr);
    EXPECT_EQ(month.GetValue(), 1u);
    month.OnHScroll(SB_LINEUP, 0, nullptr);
    EXPECT_EQ(month.GetValue(), 12u);
}

TEST(ValueEditExTest, DigitsDotAndSwitchedOffState) {
    CValueEditEx edit;
    edit.SetRange(0, 59);
    edit.SetDigitCount(2);
    edit.SetValue(5);
    EXPECT_EQ(edit.GetWindowText(), "05");
    edit.EnableValue(FALSE);
    EXPECT_EQ(edit.GetWindowText(), "- -");
    EXPECT_FALSE(edit.isEnabled());
    EXPECT_EQ(edit.GetValue(), 5u);
    edit.SetValue(7);  // only kept while switched off
    EXPECT_EQ(edit.GetWindowText(), "- -");
    edit.EnableValue(TRUE);
    EXPECT_TRUE(edit.isEnabled());
    EXPECT_EQ(edit.GetWindowText(), "07");

    edit.SetWindowText("75");
    LoseFocus(&edit);
    EXPECT_EQ(edit.GetWindowText(), "59");
    edit.SetWindowText("");
    LoseFocus(&edit);
    EXPECT_EQ(edit.GetWindowText(), "00");

    edit.SetDigitCount(-3);
    edit.SetDotSuffix(TRUE);
    edit.SetValue(12);
    EXPECT_EQ(edit.GetWindowText(), "12.");
    EXPECT_EQ(edit.GetValue(), 12u);
}

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
