#pragma once
// Posted messages: work queued for the window thread that runs after the
// current event has been handled, unless the receiver is gone by then.
// Where a caller sends instead of posting, it simply calls.

#include "platform/base/WinTypes.h"

#include <functional>

class QObject;
class QWidget;

namespace platform::ui {

// Runs fn later on the receiver's thread; never when the receiver was
// destroyed first.
void PostCall(QObject* pReceiver, std::function<void()> fn);

// Posts the command to the window, as a posted WM_COMMAND: it arrives at
// the window's command target (a dialog, a bar, a pane) later.
void PostCommand(QWidget* pWindow, UINT nID);

}  // namespace platform::ui
