#pragma once
// The simple beep of the window layer: a rejected key or paste sounds it.
// Tests replace the sound with a hook that counts.

#include "platform/base/WinTypes.h"

#include <functional>

namespace platform::ui {

using BeepHook = std::function<void(UINT)>;

// Sounds the beep of the kind (0xFFFFFFFF: the simple one), or calls the
// hook when one is set.
void MessageBeep(UINT uType);
// Installs the hook (empty: the real beep again); gives back the previous.
BeepHook SetBeepHook(BeepHook hook);

}  // namespace platform::ui
