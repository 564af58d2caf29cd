// The datapoint value edit: scaling, snapping to the datapoint's resolution,
// the 2-byte float's exponent modes, the character rules by type and the
// partner edits.

#include "tests/ui/ControlsTestSupport.h"
#include "tests/platform/ui/UiTestHarness.h"

#include "model/DptSubType.h"
#include "model/Float16Value.h"
#include "ui/FloatEditEx.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using controlstest::CBeepCounter;
using controlstest::ClickSpin;
using controlstest::CControlWindow;
using controlstest::CScopedIntl;
using controlstest::LoseFocus;

namespace {

class FloatEditExTest : public ::testing::Test {
protected:
    // Enters the text as the user does: selects all, deletes, types and
    // leaves the field.
    static void Enter(CFloatEditEx& edit, const std::string& strText) {
        uitest::PressKey(&edit, Qt::Key_A, Qt::ControlModifier);
        uitest::PressKey(&edit, Qt::Key_Delete);
        uitest::TypeText(&edit, strText);
        LoseFocus(&edit);
    }
    // An edit in the window with a spin under it.
    CFloatEditEx& AddEdit() {
        auto& edit = m_window.Add<CFloatEditEx>();
        m_spins[&edit] = &m_window.AddSpinBelow(edit, 100 + static_cast<UINT>(m_spins.size()));
        return edit;
    }
    // A click on the left (down) or right (up) half of the edit's spin.
    void Step(CFloatEditEx& edit, bool bUp) { ClickSpin(*m_spins.at(&edit), !bUp); }

    CScopedIntl m_intl{controlstest::UsIntl()};
    CControlWindow m_window;
    std::map<CFloatEditEx*, CSpinControl*> m_spins;
    const CDptSubType m_percent{1, "1 Byte vorzeichenlos", "%", 0, 100, 1};
    const CDptSubType m_counter{10, "1 Byte vorzeichenlos", "", 0, 255, 0};
    const CDptSubType m_signed8{10, "1 Byte vorzeichenbehaftet", "", -128, 127, 0};
    const CDptSubType m_unsigned16{1, "2 Byte vorzeichenlos", "", 0, 65535, 0};
    const CDptSubType m_signed16{1, "2 Byte vorzeichenbehaftet", "", -32768, 32767, 0};
    const CDptSubType m_float{0, "2 Byte Float", "", -671088.64, 670760.96, 0};
};

TEST_F(FloatEditExTest, PercentageShowsScaledAndSnapsToTheRawByte) {
    CFloatEditEx& edit = AddEdit();
    edit.SetDpt(5, 1, &m_percent);
    EXPECT_EQ(edit.GetDecimals(), 2);
    edit.SetRawValue(255);
    EXPECT_EQ(edit.GetWindowText(), "100.00");
    Enter(edit, "50");
    EXPECT_EQ(edit.GetValue(), 128u);
    EXPECT_EQ(edit.GetWindowText(), "50.20");
    EXPECT_FALSE(edit.IsEdited());

    // A step is one raw unit; from the top it stays.
    Step(edit, true);
    EXPECT_EQ(edit.GetValue(), 129u);
    EXPECT_EQ(edit.GetWindowText(), "50.59");
    edit.SetRawValue(255);
    Step(edit, true);
    EXPECT_EQ(edit.GetValue(), 255u);
    Step(edit, false);
    EXPECT_EQ(edit.GetValue(), 254u);
}

TEST_F(FloatEditExTest, TwoByteFloatSnapsToTheNearestStepAndStopsAtTheEnd) {
    CFloatEditEx& edit = m_window.Add<CFloatEditEx>();
    CSpinControl& spin = m_window.AddSpinBeside(edit, 100);
    edit.SetDpt(9, 0, &m_float);
    EXPECT_EQ(edit.GetDecimals(), 2);
    // 40.97 needs exponent 2 (steps of 0.04): the nearest is 40.96.
    Enter(edit, "40.97");
    EXPECT_EQ(edit.GetWindowText(), "40.96");
    EXPECT_EQ(edit.GetValue(), 0x1400u);

    Enter(edit, "21.3");
    EXPECT_EQ(edit.GetWindowText(), "21.30");
    EXPECT_DOUBLE_EQ(edit.CastToDouble(edit.GetValue()), 21.3);

    // A typed value is snapped before the spin steps from it.
    uitest::PressKey(&edit, Qt::Key_A, Qt::ControlModifier);
    uitest::TypeText(&edit, "40.97");
    ClickSpin(spin, true);
    EXPECT_EQ(edit.GetWindowText(), "41.00");

    edit.SetDouble(CFloat16Value::kMaxValue);
    const std::string strTop = edit.GetWindowText();
    ClickSpin(spin, true);
    EXPECT_EQ(edit.GetWindowText(), strTop);
    edit.SetDouble(CFloat16Value::kMinValue);
    ClickSpin(spin, false);
    EXPECT_DOUBLE_EQ(edit.GetShownValue(), CFloat16Value::kMinValue);

    // Negative values keep their encoding both ways.
    edit.SetRawValue(0x87FF);  // mantissa -1, exponent 0
    EXPECT_EQ(edit.GetWindowText(), "-0.01");
    EXPECT_EQ(edit.GetValue(), 0x87FFu);
}

TEST_F(FloatEditExTest, FixedExponentGivesItsResolution) {
    CFloatEditEx& edit = AddEdit();
    edit.SetExponent(3);  // steps of 0.08
    edit.SetDpt(9, 0, &m_float);
    Enter(edit, "21.3");
    EXPECT_EQ(edit.GetWindowText(), "21.28");
    Step(edit, true);
    EXPECT_EQ(edit.GetWindowText(), "21.36");
    Step(edit, false);
    Step(edit, false);
    EXPECT_EQ(edit.GetWindowText(), "21.20");
    EXPECT_DOUBLE_EQ(edit.GetStep(21.2, 0), 0.08);

    // Automatic: the resolution follows the value.
    edit.SetExponent(-1);
    EXPECT_DOUBLE_EQ(edit.GetStep(10.0, 0), 0.01);
    EXPECT_DOUBLE_EQ(edit.GetStep(50.0, 0), 0.04);
    EXPECT_DOUBLE_EQ(edit.GetStep(50.0, +1), 0.04);
    Enter(edit, "50.05");
    EXPECT_EQ(edit.GetWindowText(), "50.04");
}

TEST_F(FloatEditExTest, SignAndSeparatorAreAllowedByType) {
    CBeepCounter beeps;
    CFloatEditEx& signedEdit = AddEdit();
    signedEdit.SetDpt(8, 1, &m_signed16);
    uitest::TypeText(&signedEdit, "-12");
    EXPECT_EQ(signedEdit.GetWindowText(), "-12");
    EXPECT_EQ(beeps.Count(), 0);

    CFloatEditEx& unsignedEdit = AddEdit();
    unsignedEdit.SetDpt(7, 1, &m_unsigned16);
    EXPECT_EQ(unsignedEdit.GetDecimals(), 0);
    uitest::TypeText(&unsignedEdit, "-1.5");
    EXPECT_EQ(unsignedEdit.GetWindowText(), "15");
    EXPECT_EQ(beeps.Count(), 2);
    EXPECT_TRUE(unsignedEdit.IsEdited());  // rejected keys count as editing

    CFloatEditEx& floatEdit = AddEdit();
    floatEdit.SetDpt(9, 0, &m_float);
    uitest::TypeText(&floatEdit, "-1.5");
    EXPECT_EQ(floatEdit.GetWindowText(), "-1.5");
    EXPECT_EQ(beeps.Count(), 2);
}

TEST_F(FloatEditExTest, RawValuesByTypeRoundAndLimit) {
    CFloatEditEx& edit = AddEdit();
    edit.SetDpt(6, 10, &m_signed8);
    edit.SetRawValue(0xFB);
    EXPECT_EQ(edit.GetWindowText(), "-5");
    EXPECT_EQ(edit.GetValue() & 0xFF, 0xFBu);

    edit.SetDpt(8, 1, &m_signed16);
    edit.SetRawValue(0x8000);
    EXPECT_EQ(edit.GetWindowText(), "-32768");
    Enter(edit, "-2.5");  // no separator here: typed as -25
    EXPECT_EQ(edit.GetWindowText(), "-25");

    // Rounding half away from zero, limited to the byte.
    edit.SetDpt(5, 10, &m_counter);
    edit.SetDouble(254.5);
    EXPECT_EQ(edit.GetValue(), 255u);
    edit.SetDouble(-0.5);
    EXPECT_EQ(edit.GetValue(), 0u);
    edit.SetDouble(300.0);  // not limited by the shown range of type 5
    EXPECT_EQ(edit.GetValue(), 255u);

    // The owner's order when the type changes keeps the value.
    edit.SetRawValue(200);
    const DWORD dwOld = edit.GetValue();
    edit.SetDpt(7, 1, &m_unsigned16);
    edit.SetRawValue(dwOld);
    EXPECT_EQ(edit.GetWindowText(), "200");
}

TEST_F(FloatEditExTest, UnparsedTextBecomesTheMiddleOnlyWhenEdited) {
    CFloatEditEx& edit = AddEdit();
    edit.SetDpt(7, 1, &m_unsigned16);
    edit.SetRawValue(17);
    // Set by the program, not typed: left as it is.
    edit.SetWindowText("");
    LoseFocus(&edit);
    EXPECT_EQ(edit.GetWindowText(), "");

    Enter(edit, "");
    EXPECT_EQ(edit.GetWindowText(), "32768");
    EXPECT_EQ(edit.GetValue(), 32768u);

    // Cutting the text is an edit too: the value follows the text.
    edit.SetRawValue(5);
    uitest::PressKey(&edit, Qt::Key_A, Qt::ControlModifier);
    uitest::PressKey(&edit, Qt::Key_X, Qt::ControlModifier);
    LoseFocus(&edit);
    EXPECT_EQ(edit.GetWindowText(), "32768");
    EXPECT_EQ(edit.GetValue(), 32768u);

    // So is a paste.
    edit.SetRawValue(5);
    controlstest::SetClipboardText("1x");
    uitest::PressKey(&edit, Qt::Key_A, Qt::ControlModifier);
    uitest::PressKey(&edit, Qt::Key_V, Qt::ControlModifier);
    LoseFocus(&edit);
    EXPECT_EQ(edit.GetWindowText(), "1");
    EXPECT_EQ(edit.GetValue(), 1u);

    // Out of range is limited.
    CFloatEditEx& signedEdit = AddEdit();
    signedEdit.SetDpt(6, 10, &m_signed8);
    Enter(signedEdit, "-300");
    EXPECT_EQ(signedEdit.GetWindowText(), "-128");
}

TEST_F(FloatEditExTest, UnknownMainTypeGivesZeroBothWays) {
    CFloatEditEx& edit = AddEdit();
    edit.SetDpt(4, 0, &m_counter);
    EXPECT_EQ(edit.GetMainType(), 4);
    edit.SetRawValue(77);
    EXPECT_EQ(edit.GetDouble(), 0.0);
    EXPECT_EQ(edit.GetValue(), 0u);

    // No sub type object or main type 0: the binding is ignored.
    CFloatEditEx& unbound = AddEdit();
    unbound.SetDpt(7, 1, nullptr);
    unbound.SetDpt(0, 1, &m_unsigned16);
    EXPECT_EQ(unbound.GetMainType(), 0);
}

TEST_F(FloatEditExTest, PartnersStayAStepApart) {
    CFloatEditEx& lower = AddEdit();
    CFloatEditEx& upper = AddEdit();
    lower.SetUpperPartner(&upper);
    upper.SetLowerPartner(&lower);
    lower.SetDpt(8, 1, &m_signed16);
    upper.SetDpt(8, 1, &m_signed16);
    EXPECT_EQ(lower.GetMaximum(), 32766.0);
    EXPECT_EQ(upper.GetMinimum(), -32767.0);

    lower.SetRawValue(10);
    upper.SetRawValue(20);
    Enter(lower, "20");
    EXPECT_EQ(lower.GetWindowText(), "20");
    EXPECT_EQ(upper.GetWindowText(), "21");

    // Setting the upper one below the lower one pushes the lower one down.
    Enter(upper, "5");
    EXPECT_EQ(upper.GetWindowText(), "5");
    EXPECT_EQ(lower.GetWindowText(), "4");

    // Stepping the upper one down never goes below the lower one + 1.
    lower.SetDouble(-32768);
    upper.SetDouble(-32767);
    Step(upper, false);
    EXPECT_EQ(upper.GetWindowText(), "-32767");
    EXPECT_EQ(lower.GetWindowText(), "-32768");
    for (int i = 0; i < 5; ++i) {
        Step(upper, true);
        Step(lower, true);
        EXPECT_GE(upper.GetDouble(), lower.GetDouble() + 1) << i;
    }
    EXPECT_EQ(lower.GetWindowText(), "-32763");
    EXPECT_EQ(upper.GetWindowText(), "-32762");
    // Stepping the lower one up pushes the upper one along.
    Step(lower, true);
    EXPECT_EQ(lower.GetWindowText(), "-32762");
    EXPECT_EQ(upper.GetWindowText(), "-32761");
}

}  // namespace
