#pragma once
// Who has the keyboard now: a window of ours, nobody, or another program
// (the user went on elsewhere, and no window of ours may push itself to the
// front).

namespace platform::ui {

enum class KeyboardHolder { Ours, Nobody, AnotherProgram };

// On X the window manager's active window, or without a window manager the
// input focus, as the X server has it. Elsewhere: ours while a window of
// ours is active, nobody while the application is still the active one,
// else another program.
KeyboardHolder WhoHasTheKeyboard();

}  // namespace platform::ui
