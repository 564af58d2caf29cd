#pragma once
// a * b / c in 64 bits, rounded half away from zero, as the platform's
// MulDiv: the rounding of every unit conversion of the reports and fonts.
// -1 when c is 0 or the result does not fit 32 bits.

#include "platform/base/WinTypes.h"

#include <cstdint>

inline int MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    if (nDenominator == 0)
        return -1;
    std::int64_t nProduct = static_cast<std::int64_t>(nNumber) * nNumerator;
    std::int64_t nDivisor = nDenominator;
    if (nDivisor < 0) {
        nDivisor = -nDivisor;
        nProduct = -nProduct;
    }
    const std::int64_t nHalf = nDivisor / 2;
    const std::int64_t nResult = nProduct >= 0 ? (nProduct + nHalf) / nDivisor : (nProduct - nHalf) / nDivisor;
    if (nResult > INT32_MAX || nResult < -INT32_MAX)
        return -1;
    return static_cast<int>(nResult);
}
