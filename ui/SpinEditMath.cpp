#include "ui/SpinEditMath.h"

#include <cctype>
#include <cmath>

namespace {

constexpr std::size_t kMaxSpinTextRead = 39;
constexpr std::int64_t kSaturation = 1'000'000'000'000'000LL;

// Division rounding toward minus infinity.
std::int64_t FloorDiv64(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}

}  // namespace

std::int64_t ReadLeadingNumber(const std::string& strText) {
    const std::string strHead = strText.substr(0, kMaxSpinTextRead);
    std::size_t i = 0;
    while (i < strHead.size() && std::isspace(static_cast<unsigned char>(strHead[i]))) {
        ++i;
    }
    bool bNegative = false;
    if (i < strHead.size() && (strHead[i] == '+' || strHead[i] == '-')) {
        bNegative = strHead[i] == '-';
        ++i;
    }
    std::int64_t nValue = 0;
    while (i < strHead.size() && std::isdigit(static_cast<unsigned char>(strHead[i]))) {
        if (nValue < kSaturation) {
            nValue = nValue * 10 + (strHead[i] - '0');
        }
        ++i;
    }
    return bNegative ? -nValue : nValue;
}

std::int64_t StepOnIntegerGrid(std::int64_t nValue, std::int64_t nMinimum, std::int64_t nStep, bool bUp) {
    if (nStep < 1) {
        nStep = 1;
    }
    const std::int64_t d = nValue - nMinimum;
    const std::int64_t k = bUp ? FloorDiv64(d, nStep) + 1 : FloorDiv64(d - 1, nStep);
    return k * nStep + nMinimum;
}

double StepOnDoubleGrid(double dValue, double dMinimum, double dStep, bool bUp) {
    const double e = (dValue - dMinimum) / dStep;
    const double k = bUp ? std::floor(e + 0.1) + 1.0 : std::ceil(e - 0.1) - 1.0;
    return k * dStep + dMinimum;
}
