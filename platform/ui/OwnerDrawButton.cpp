#include "platform/ui/OwnerDrawButton.h"

#include "platform/ui/Dialog.h"
#include "platform/ui/DialogTemplate.h"

#include <QPainter>

COwnerDrawButton::COwnerDrawButton(QWidget* pParent) : QAbstractButton(pParent) {}

void COwnerDrawButton::RedrawNow() {
    repaint();
}

void COwnerDrawButton::DrawItem(QPainter& painter, const DrawItemInfo& item) {
    for (QWidget* pParent = parentWidget(); pParent != nullptr; pParent = pParent->parentWidget()) {
        if (auto* pDialog = qobject_cast<CDialog*>(pParent)) {
            pDialog->OnDrawItem(item.nCtlID, painter, item);
            return;
        }
    }
}

void COwnerDrawButton::paintEvent(QPaintEvent* /*pEvent*/) {
    QPainter painter(this);
    DrawItemInfo item;
    item.nCtlID = platform::ui::GetDlgCtrlID(this);
    item.pItem = this;
    item.rcItem = rect();
    if (isDown() || isChecked()) {
        item.nItemState |= ODS_SELECTED;
    }
    if (!isEnabled()) {
        item.nItemState |= ODS_DISABLED;
    }
    if (hasFocus()) {
        item.nItemState |= ODS_FOCUS;
    }
    DrawItem(painter, item);
}
