#pragma once
// The KNX 2-byte float (datapoint main type 9) as sent on the bus: bit 15
// sign, bits 11..14 exponent E, bits 0..10 the low mantissa bits; the
// mantissa M is the 12-bit two's-complement number of bit 15 and bits 0..10,
// and the value is 0.01 * M * 2^E.
//
// In fixed-exponent mode every encoding uses one chosen exponent (values that
// do not fit saturate at the ends of the mantissa range); in free mode the
// smallest exponent that holds the value is taken, for the finest resolution.

#include "platform/base/WinTypes.h"

class CFloat16Value
{
public:
    static constexpr double kMinValue = -671088.64;
    static constexpr double kMaxValue = 670760.96;
    static constexpr int kMinMantissa = -2048;
    static constexpr int kMaxMantissa = 2047;

    CFloat16Value() = default;

    WORD GetWord() const { return m_wValue; }
    void SetWord(WORD wValue) { m_wValue = wValue; }
    BYTE GetLowByte() const { return LOBYTE(m_wValue); }
    BYTE GetHighByte() const { return HIBYTE(m_wValue); }
    void SetLowByte(BYTE byLow) { m_wValue = MAKEWORD(byLow, HIBYTE(m_wValue)); }
    void SetHighByte(BYTE byHigh) { m_wValue = MAKEWORD(LOBYTE(m_wValue), byHigh); }

    int GetMantissa() const;
    void SetMantissa(int nMantissa);
    void SetMantissaRounded(double dMantissa);

    int GetExponent() const;
    void SetExponent(int nExponent);

    int GetFixedExponentMode() const { return m_nFixedExponentMode; }
    void SetFixedExponentMode(int nOn);

    double GetValue() const;
    void SetValue(double dValue);

    static int IsInRange(double dValue);
    static int CalcExponent(double dValue);

    double GetResolution() const;
    double GetStepUp() const;
    double GetStepDown() const;

private:
    WORD m_wValue = 0;
    int m_nFixedExponentMode = 0;
    int m_nFixedExponent = 0;
};
