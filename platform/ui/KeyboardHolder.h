#pragma once
// Whether another program has the keyboard: the user went on elsewhere, and
// a window of ours must not push itself to the front.

namespace platform::ui {

// On X: the window manager's active window, or without a window manager
// the input focus, is a window of another program. Elsewhere: the
// application is no longer the active one. False when nobody has the
// keyboard.
bool IsKeyboardWithAnotherProgram();

}  // namespace platform::ui
