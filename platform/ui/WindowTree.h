#pragma once
// Helpers over a window and its children: the first and last tab stop among
// the direct children (for keyboard navigation that leaves a control at its
// ends) and a font for a whole window tree.

#include "platform/base/WinTypes.h"

class QFont;
class QWidget;

// The first direct child, in creation order, that is shown (not hidden in
// itself), enabled and takes the focus by Tab; null when none.
QWidget* GetFirstTabStopChild(const QWidget* pWindow);
// The same search from the last child backwards.
QWidget* GetLastTabStopChild(const QWidget* pWindow);

// Sets the font on the window and on every window below it; with bRedraw
// they repaint.
void ApplyToWindowTree(QWidget* pWindow, const QFont& font, BOOL bRedraw);
