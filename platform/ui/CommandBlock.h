#pragma once
// While a window stands in front of the others (the progress window of a
// long operation), the windows that were open when it came up, and the
// windows its owner sits in, take no commands and cannot be closed: no
// import or close may run in the middle of a load, save or download while
// the operation lets window messages through. Windows opened later (message
// boxes, dialogs of the operation) and the front window itself are free.
// Blocks nest; each ends with its front window or when that is destroyed.

class QWidget;

namespace platform::ui {

void BeginCommandBlock(QWidget* pFront);
void EndCommandBlock(QWidget* pFront);
// The window (or the window it sits in) is behind an active block.
bool IsCommandBlocked(const QWidget* pTarget);

}  // namespace platform::ui
