#pragma once
// What a spin button's buddy receives on each step: the scroll code
// (SB_LINEUP or SB_LINEDOWN), the spin's position after the step and the
// spin itself, so a buddy with several spins can tell them apart. A vertical
// spin calls OnVScroll, a horizontal one OnHScroll.

#include "platform/base/WinTypes.h"

class QWidget;

constexpr UINT SB_LINEUP = 0;
constexpr UINT SB_LINEDOWN = 1;

class ISpinBuddy {
public:
    virtual ~ISpinBuddy() = default;
    virtual void OnVScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) = 0;
    virtual void OnHScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) = 0;
};
