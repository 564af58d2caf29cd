#include "platform/ui/AltKeyFilter.h"

#include "platform/ui/Beep.h"

#include <QKeyEvent>

CAltKeyFilter::CAltKeyFilter(QObject* pParent) : QObject(pParent) {}

void CAltKeyFilter::Watch(QObject* pWindow) {
    if (pWindow != nullptr) {
        // A second installation only moves it to the front.
        pWindow->installEventFilter(this);
    }
}

bool CAltKeyFilter::eventFilter(QObject* /*pWatched*/, QEvent* pEvent) {
    if (pEvent->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* pKey = static_cast<const QKeyEvent*>(pEvent);
    // Ctrl with Alt is a character of its own on some keyboards.
    const Qt::KeyboardModifiers modifiers = pKey->modifiers();
    if ((modifiers & Qt::AltModifier) == 0 || (modifiers & Qt::ControlModifier) != 0 || pKey->text().isEmpty() ||
        !pKey->text().front().isPrint()) {
        return false;
    }
    platform::ui::MessageBeep(0xFFFFFFFF);
    return true;
}
