#pragma once
// Who has the keyboard now: a window of ours, nobody, or another program
// (the user went on elsewhere, and no window of ours may push itself to the
// front); and giving it back to a window of ours.

class QWidget;

namespace platform::ui {

enum class KeyboardHolder { Ours, Nobody, AnotherProgram };

// On X the window manager's active window, or without a window manager the
// input focus, as the X server has it; a window this program made counts as
// ours also while it closes. Elsewhere: ours while a window of ours is
// active, nobody while the application is still the active one, else
// another program.
KeyboardHolder WhoHasTheKeyboard();

// Gives the keyboard back to the window after a window in front of it went,
// unless another program has it. Where X has given it to the window already
// but Qt missed that, Qt is told again: Qt passes a focus that comes while a
// modal window of ours is up on to that window, which may go before it ever
// takes it, and X sends no second focus event to a window that has the
// focus. Else the window asks for it.
void GiveKeyboardBack(QWidget& window);

}  // namespace platform::ui
