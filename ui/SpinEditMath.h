#pragma once
// The arithmetic the spin edits share: the leading number of an edit's text
// and the step to the next point of a grid minimum + k * step.

#include <cstdint>
#include <string>

// The leading decimal number (blanks, an optional sign, digits) of the first
// 39 characters; 0 without one. Digits beyond what the range needs saturate.
std::int64_t ReadLeadingNumber(const std::string& strText);

// The next grid point above (bUp) or below the value, on the grid minimum +
// k * step, also from a value off the grid. A step below 1 counts as 1.
std::int64_t StepOnIntegerGrid(std::int64_t nValue, std::int64_t nMinimum, std::int64_t nStep, bool bUp);

// The same on a grid of doubles; a value within a tenth of a step of a grid
// point counts as on it. The step must not be 0.
double StepOnDoubleGrid(double dValue, double dMinimum, double dStep, bool bUp);
