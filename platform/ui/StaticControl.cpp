#include "platform/ui/StaticControl.h"

#include <QEvent>
#include <QRadioButton>
#include <QShortcutEvent>

CStaticControl::CStaticControl(QWidget* pParent) : QLabel(pParent) {}

bool CStaticControl::event(QEvent* pEvent) {
    // QLabel would click a button buddy; the label's one shortcut is its
    // mnemonic.
    if (pEvent->type() != QEvent::Shortcut || buddy() == nullptr) {
        return QLabel::event(pEvent);
    }
    QWidget* pTarget = FocusTarget();
    if (pTarget == nullptr) {
        return true;
    }
    pTarget->setFocus(Qt::ShortcutFocusReason);
    window()->setAttribute(Qt::WA_KeyboardFocusChange);
    auto* pRadio = qobject_cast<QRadioButton*>(pTarget);
    if (pRadio != nullptr && !pRadio->isChecked() && !static_cast<QShortcutEvent*>(pEvent)->isAmbiguous()) {
        pRadio->click();
    }
    return true;
}

QWidget* CStaticControl::FocusTarget() const {
    QWidget* pStart = buddy();
    QWidget* pWidget = pStart;
    do {
        if (pWidget->window() == window() && pWidget->isVisible() && pWidget->isEnabled() &&
            (pWidget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && qobject_cast<QLabel*>(pWidget) == nullptr) {
            return pWidget;
        }
        pWidget = pWidget->nextInFocusChain();
    } while (pWidget != nullptr && pWidget != pStart);
    return nullptr;
}
