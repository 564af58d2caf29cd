#include "model/Float16Value.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr WORD kSignBit = 0x8000;
constexpr WORD kExponentBits = 0x7800;
constexpr WORD kMantissaBits = 0x07FF;

double Resolution(int nExponent)
{
    return 0.01 * std::pow(2.0, nExponent);
}

}  // namespace

int CFloat16Value::GetMantissa() const
{
    const int nLow = m_wValue & kMantissaBits;
    return (m_wValue & kSignBit) ? nLow - 2048 : nLow;
}

void CFloat16Value::SetMantissa(int nMantissa)
{
    nMantissa = std::clamp(nMantissa, kMinMantissa, kMaxMantissa);
    WORD wValue = static_cast<WORD>(m_wValue & kExponentBits);
    wValue |= static_cast<WORD>(nMantissa & kMantissaBits);
    if (nMantissa < 0)
        wValue |= kSignBit;
    m_wValue = wValue;
}

void CFloat16Value::SetMantissaRounded(double dMantissa)
{
    dMantissa = std::clamp(dMantissa, static_cast<double>(kMinMantissa), static_cast<double>(kMaxMantissa));
    // Halves round away from zero.
    const int nMantissa = dMantissa >= 0.0 ? static_cast<int>(dMantissa + 0.5) : static_cast<int>(dMantissa - 0.5);
    SetMantissa(nMantissa);
}

int CFloat16Value::GetExponent() const
{
    if (m_nFixedExponentMode)
        return m_nFixedExponent;
    return (m_wValue & kExponentBits) >> 11;
}

void CFloat16Value::SetExponent(int nExponent)
{
    if (m_nFixedExponentMode) {
        // Keep the encoded value: rescale the mantissa to the new exponent.
        const int nDiff = GetExponent() - nExponent;
        int nMantissa = GetMantissa();
        if (nDiff < 0)
            nMantissa >>= std::min(-nDiff, 16);  // arithmetic: -1 stays -1
        else if (nDiff > 0)
            nMantissa *= 1 << std::min(nDiff, 16);  // SetMantissa saturates
        SetMantissa(nMantissa);
    } else {
        m_nFixedExponent = nExponent;
    }
    m_wValue = static_cast<WORD>((m_wValue & ~kExponentBits) | ((nExponent & 0x0F) << 11));
}

void CFloat16Value::SetFixedExponentMode(int nOn)
{
    const bool bWasOn = m_nFixedExponentMode != 0;
    const bool bOn = nOn != 0;
    if (bWasOn == bOn)
        return;
    // The value stays what the user sees; only its encoding changes. Going
    // fixed, the fixed exponent is the one last set in free mode.
    const double dValue = GetValue();
    m_nFixedExponentMode = nOn;
    SetValue(dValue);
}

double CFloat16Value::GetValue() const
{
    // 2^e exactly, as pow gives it, without pow's cost.
    return std::ldexp(1.0, GetExponent()) * (GetMantissa() * 0.01);
}

int CFloat16Value::IsInRange(double dValue)
{
    return (dValue >= kMinValue && dValue <= kMaxValue) ? 1 : 0;
}

int CFloat16Value::CalcExponent(double dValue)
{
    if (dValue == 0.0)
        return 0;
    double dExponent;
    if (dValue > 0.0)
        dExponent = std::ceil(std::log(dValue / 2047 / 0.01) / std::log(2.0));
    else
        dExponent = std::ceil(std::log(dValue / -2048 / 0.01) / std::log(2.0));
    return dExponent < 0.0 ? 0 : static_cast<int>(dExponent);
}

void CFloat16Value::SetValue(double dValue)
{
    if (std::isnan(dValue))
        dValue = 0.0;
    dValue = std::clamp(dValue, kMinValue, kMaxValue);
    int nExponent = CalcExponent(dValue);
    if (m_nFixedExponentMode)
        nExponent = m_nFixedExponent;
    SetMantissaRounded(dValue / 0.01 / std::pow(2.0, nExponent));
    SetExponent(nExponent);
}

double CFloat16Value::GetResolution() const
{
    return Resolution(GetExponent());
}

double CFloat16Value::GetStepUp() const
{
    return GetMantissa() == kMaxMantissa ? 0.0 : GetResolution();
}

double CFloat16Value::GetStepDown() const
{
    const int nMantissa = GetMantissa();
    if (nMantissa == kMinMantissa)
        return 0.0;
    if (nMantissa < 0 || nMantissa > 1024 || m_nFixedExponentMode)
        return GetResolution();
    // A small positive mantissa steps by half the resolution so the value can
    // pass into the next smaller exponent.
    return Resolution(std::max(GetExponent() - 1, 0));
}
