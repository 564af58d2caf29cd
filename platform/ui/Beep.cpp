#include "platform/ui/Beep.h"

#include <QApplication>

#include <utility>

namespace platform::ui {

namespace {

BeepHook& Hook() {
    static BeepHook hook;
    return hook;
}

}  // namespace

void MessageBeep(UINT uType) {
    if (Hook()) {
        Hook()(uType);
        return;
    }
    QApplication::beep();
}

BeepHook SetBeepHook(BeepHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

}  // namespace platform::ui
