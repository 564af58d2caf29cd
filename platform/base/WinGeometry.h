#pragma once
// Window geometry records as the settings store them and the window layer
// fills them. Plain data with the platform's field widths; the Qt layer maps
// them to its own rectangles.

#include "platform/base/WinTypes.h"

struct POINT {
    LONG x = 0;
    LONG y = 0;

    bool operator==(const POINT&) const = default;
};

struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;

    bool operator==(const RECT&) const = default;
};

// Show states of a window placement.
constexpr UINT SW_HIDE = 0;
constexpr UINT SW_SHOWNORMAL = 1;
constexpr UINT SW_SHOWMINIMIZED = 2;
constexpr UINT SW_SHOWMAXIMIZED = 3;
constexpr UINT SW_SHOW = 5;

// The saved state of a top-level window: shown how, where its minimised and
// maximised forms sit and its normal rectangle. `length` holds the record's
// size, as its readers check.
struct WINDOWPLACEMENT {
    UINT length = 0;
    UINT flags = 0;
    UINT showCmd = 0;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;

    bool operator==(const WINDOWPLACEMENT&) const = default;
};

static_assert(sizeof(POINT) == 8 && sizeof(RECT) == 16);
static_assert(sizeof(WINDOWPLACEMENT) == 44);
