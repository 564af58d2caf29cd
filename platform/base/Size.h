#pragma once
// A width and height pair, as the framework's size class: text extents and
// converted lengths.

#include "platform/base/WinTypes.h"

class CSize
{
public:
    CSize() = default;
    CSize(LONG cxValue, LONG cyValue) : cx(cxValue), cy(cyValue) {}

    bool operator==(const CSize&) const = default;

    LONG cx = 0;
    LONG cy = 0;
};
