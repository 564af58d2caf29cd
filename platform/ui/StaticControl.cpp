#include "platform/ui/StaticControl.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEvent>
#include <QRadioButton>

namespace {

bool CanTakeTheFocus(const QWidget* pWidget, const QWidget* pWindow) {
    return pWidget->window() == pWindow && pWidget->isVisible() && pWidget->isEnabled() &&
           qobject_cast<const QLabel*>(pWidget) == nullptr;
}

// The button of the radio's group that has the group's tab stop.
QWidget* GroupTabStop(QRadioButton* pRadio, const QWidget* pWindow) {
    QButtonGroup* pGroup = pRadio->group();
    if (pGroup == nullptr || !pGroup->exclusive()) {
        return pRadio;
    }
    QAbstractButton* pChecked = pGroup->checkedButton();
    if (pChecked != nullptr && CanTakeTheFocus(pChecked, pWindow)) {
        return pChecked;
    }
    const auto buttons = pGroup->buttons();
    for (QAbstractButton* pButton : buttons) {
        if (CanTakeTheFocus(pButton, pWindow)) {
            return pButton;
        }
    }
    return pRadio;
}

}  // namespace

CStaticControl::CStaticControl(QWidget* pParent) : QLabel(pParent) {}

bool CStaticControl::event(QEvent* pEvent) {
    // QLabel would click a button buddy; the label's one shortcut is its
    // mnemonic.
    if (pEvent->type() != QEvent::Shortcut || buddy() == nullptr) {
        return QLabel::event(pEvent);
    }
    QWidget* pTarget = FocusTarget();
    if (pTarget != nullptr) {
        pTarget->setFocus(Qt::ShortcutFocusReason);
        window()->setAttribute(Qt::WA_KeyboardFocusChange);
    }
    return true;
}

QWidget* CStaticControl::FocusTarget() const {
    QWidget* pStart = buddy();
    QWidget* pWidget = pStart;
    do {
        if (CanTakeTheFocus(pWidget, window())) {
            // Any button of a group leads to its tab stop, which Qt may
            // have moved off the button met first.
            if (auto* pRadio = qobject_cast<QRadioButton*>(pWidget)) {
                return GroupTabStop(pRadio, window());
            }
            if ((pWidget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
                return pWidget;
            }
        }
        pWidget = pWidget->nextInFocusChain();
    } while (pWidget != nullptr && pWidget != pStart);
    return nullptr;
}
