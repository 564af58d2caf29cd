#include "model/Float16Value.h"

#include <gtest/gtest.h>

namespace {

CFloat16Value FromWord(WORD w)
{
    CFloat16Value value;
    value.SetWord(w);
    return value;
}

CFloat16Value FromValue(double d)
{
    CFloat16Value value;
    value.SetValue(d);
    return value;
}

}  // namespace

TEST(Float16Value, NewValueIsZeroInFreeMode)
{
    CFloat16Value value;
    EXPECT_EQ(value.GetWord(), 0);
    EXPECT_EQ(value.GetValue(), 0.0);
    EXPECT_EQ(value.GetFixedExponentMode(), 0);
}

TEST(Float16Value, DecodesTheBusWord)
{
    EXPECT_EQ(FromWord(0x8000).GetMantissa(), -2048);
    EXPECT_EQ(FromWord(0x8000).GetExponent(), 0);
    EXPECT_DOUBLE_EQ(FromWord(0x8000).GetValue(), -20.48);
    EXPECT_DOUBLE_EQ(FromWord(0x07FF).GetValue(), 20.47);
    EXPECT_DOUBLE_EQ(FromWord(0x7FFF).GetValue(), 670760.96);
    EXPECT_DOUBLE_EQ(FromWord(0xF800).GetValue(), -671088.64);
    EXPECT_EQ(FromWord(0x87FF).GetMantissa(), -1);
}

TEST(Float16Value, FreeModeTakesTheSmallestExponentThatHoldsTheValue)
{
    CFloat16Value ten = FromValue(10.0);
    EXPECT_EQ(ten.GetExponent(), 0);
    EXPECT_EQ(ten.GetMantissa(), 1000);
    EXPECT_EQ(FromValue(20.47).GetExponent(), 0);
    EXPECT_EQ(FromValue(20.48).GetExponent(), 1);
    CFloat16Value thirty = FromValue(30.0);
    EXPECT_EQ(thirty.GetExponent(), 1);
    EXPECT_EQ(thirty.GetMantissa(), 1500);
    EXPECT_EQ(FromValue(-20.48).GetWord(), 0x8000);
    EXPECT_EQ(FromValue(-20.49).GetExponent(), 1);
}

TEST(Float16Value, ValuesOutsideTheRangeEncodeTheNearestEnd)
{
    EXPECT_EQ(FromValue(1e9).GetWord(), 0x7FFF);
    EXPECT_EQ(FromValue(670761.0).GetWord(), 0x7FFF);
    EXPECT_EQ(FromValue(-1e9).GetWord(), 0xF800);
    EXPECT_DOUBLE_EQ(FromValue(-1e9).GetValue(), -671088.64);
    EXPECT_EQ(CFloat16Value::IsInRange(670760.96), 1);
    EXPECT_EQ(CFloat16Value::IsInRange(670760.97), 0);
    EXPECT_EQ(CFloat16Value::IsInRange(-671088.65), 0);
}

TEST(Float16Value, MantissaRoundsHalvesAwayFromZeroAndClamps)
{
    CFloat16Value value;
    value.SetMantissaRounded(0.5);
    EXPECT_EQ(value.GetMantissa(), 1);
    value.SetMantissaRounded(-0.5);
    EXPECT_EQ(value.GetMantissa(), -1);
    value.SetMantissaRounded(-0.4);
    EXPECT_EQ(value.GetMantissa(), 0);
    value.SetMantissaRounded(3000.0);
    EXPECT_EQ(value.GetMantissa(), 2047);
    value.SetMantissa(-5000);
    EXPECT_EQ(value.GetMantissa(), -2048);

    CFloat16Value tiny = FromValue(-0.004);
    EXPECT_EQ(tiny.GetMantissa(), 0);
    EXPECT_EQ(tiny.GetExponent(), 0);
    EXPECT_EQ(tiny.GetWord(), 0);
}

TEST(Float16Value, SetMantissaKeepsTheExponentBits)
{
    CFloat16Value value = FromWord(0x3800);  // E = 7
    value.SetMantissa(-3);
    EXPECT_EQ(value.GetExponent(), 7);
    EXPECT_EQ(value.GetMantissa(), -3);
    EXPECT_EQ(value.GetWord(), 0xBFFD);
}

TEST(Float16Value, FixedExponentSaturatesTheMantissa)
{
    CFloat16Value value;
    value.SetExponent(3);
    value.SetFixedExponentMode(1);
    value.SetValue(100000.0);
    EXPECT_EQ(value.GetMantissa(), 2047);
    EXPECT_EQ(value.GetExponent(), 3);
    EXPECT_DOUBLE_EQ(value.GetValue(), 163.76);

    // A small value keeps the fixed exponent instead of a finer one.
    value.SetValue(1.0);
    EXPECT_EQ(value.GetExponent(), 3);
    EXPECT_EQ(value.GetWord() >> 11 & 0x0F, 3);
    EXPECT_EQ(value.GetMantissa(), 13);  // 12.5 rounds up
}

TEST(Float16Value, SwitchingModesReencodesTheValue)
{
    // The editors' order: exponent in free mode, fixed mode on, then values.
    CFloat16Value value;
    value.SetExponent(2);
    value.SetFixedExponentMode(1);
    EXPECT_EQ(value.GetExponent(), 2);
    value.SetValue(10.0);
    EXPECT_EQ(value.GetMantissa(), 250);
    EXPECT_EQ(value.GetWord() >> 11 & 0x0F, 2);

    value.SetFixedExponentMode(5);  // still on: nothing happens
    EXPECT_EQ(value.GetMantissa(), 250);

    value.SetFixedExponentMode(0);
    EXPECT_EQ(value.GetExponent(), 0);
    EXPECT_EQ(value.GetMantissa(), 1000);
    EXPECT_DOUBLE_EQ(value.GetValue(), 10.0);

    // Going fixed again takes the exponent last set in free mode.
    value.SetFixedExponentMode(1);
    EXPECT_EQ(value.GetExponent(), 0);
    EXPECT_DOUBLE_EQ(value.GetValue(), 10.0);
}

TEST(Float16Value, ChangingTheExponentInFixedModeRescalesTheWord)
{
    CFloat16Value value;
    value.SetExponent(3);
    value.SetFixedExponentMode(1);
    value.SetValue(8.0);  // M = 100 at E = 3
    value.SetExponent(1);
    EXPECT_EQ(value.GetMantissa(), 400);
    EXPECT_EQ(value.GetWord() >> 11 & 0x0F, 1);
    EXPECT_EQ(value.GetExponent(), 3);  // the fixed exponent itself stays
}

TEST(Float16Value, StepsStopAtTheMantissaEnds)
{
    EXPECT_EQ(FromWord(0x07FF).GetStepUp(), 0.0);
    EXPECT_DOUBLE_EQ(FromWord(0x07FF).GetStepDown(), 0.01);
    EXPECT_EQ(FromWord(0x8000).GetStepDown(), 0.0);
    EXPECT_DOUBLE_EQ(FromWord(0x8000).GetStepUp(), 0.01);

    // E = 2: a small positive mantissa steps down by half the resolution.
    CFloat16Value small = FromWord(0x1000 | 1000);
    EXPECT_DOUBLE_EQ(small.GetResolution(), 0.04);
    EXPECT_DOUBLE_EQ(small.GetStepUp(), 0.04);
    EXPECT_DOUBLE_EQ(small.GetStepDown(), 0.02);
    EXPECT_DOUBLE_EQ(FromWord(0x1000 | 1025).GetStepDown(), 0.04);
    EXPECT_DOUBLE_EQ(FromWord(0x9000 | 0x7FF).GetStepDown(), 0.04);  // M = -1
    EXPECT_DOUBLE_EQ(FromWord(0x0000 | 5).GetStepDown(), 0.01);      // E = 0 stays 0

    CFloat16Value fixed;
    fixed.SetExponent(2);
    fixed.SetFixedExponentMode(1);
    fixed.SetValue(40.0);
    EXPECT_DOUBLE_EQ(fixed.GetStepDown(), 0.04);
}

TEST(Float16Value, ByteAccessorsReachTheWord)
{
    CFloat16Value value;
    value.SetLowByte(0x1A);
    value.SetHighByte(0x0C);
    EXPECT_EQ(value.GetWord(), 0x0C1A);
    EXPECT_EQ(value.GetLowByte(), 0x1A);
    EXPECT_EQ(value.GetHighByte(), 0x0C);
    value.SetHighByte(0x85);
    EXPECT_EQ(value.GetWord(), 0x851A);
}

// Every word re-encodes to the same value. Words that spend a larger
// exponent than their value needs (a zero mantissa with E > 0, or E > 0 with
// a mantissa that still fits when doubled) come back in the finer canonical
// form; all others come back bit for bit.
TEST(Float16Value, EveryWordSurvivesAValueRoundTrip)
{
    int nNonCanonical = 0;
    for (int w = 0; w <= 0xFFFF; ++w) {
        const CFloat16Value original = FromWord(static_cast<WORD>(w));
        const double dValue = original.GetValue();
        const CFloat16Value copy = FromValue(dValue);
        ASSERT_EQ(copy.GetValue(), dValue) << "word " << w;

        const int nMantissa = original.GetMantissa();
        const bool bCanonical = original.GetExponent() == 0 || nMantissa > 1023 || nMantissa < -1024;
        if (bCanonical) {
            ASSERT_EQ(copy.GetWord(), w) << "word " << w;
        } else {
            ++nNonCanonical;
            ASSERT_LT(copy.GetExponent(), original.GetExponent()) << "word " << w;
        }
    }
    // 15 exponents above 0, each with 2048 mantissas from -1024 to 1023.
    EXPECT_EQ(nNonCanonical, 15 * 2048);
}
