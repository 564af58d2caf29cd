#include "ui/KeepOpenComboBox.h"

#include <QAbstractItemView>
#include <QCursor>
#include <QFocusEvent>

CKeepOpenComboBox::CKeepOpenComboBox(QWidget* pParent) : QComboBox(pParent) {}

bool CKeepOpenComboBox::IsDroppedDown() const {
    return view() != nullptr && view()->isVisible();
}

void CKeepOpenComboBox::focusOutEvent(QFocusEvent* pEvent) {
    const bool bWasDropped = IsDroppedDown();
    QComboBox::focusOutEvent(pEvent);
    // The list's own popup takes the focus while it is open; that is no
    // leaving.
    if (pEvent->reason() != Qt::PopupFocusReason) {
        OnKillFocus(bWasDropped, QCursor::pos());
    }
}

void CKeepOpenComboBox::OnKillFocus(bool bWasDroppedDown, const QPoint& ptCursor) {
    const QRect rectWindow(mapToGlobal(QPoint(0, 0)), size());
    if (bWasDroppedDown && rectWindow.contains(ptCursor)) {
        showPopup();
    }
}
