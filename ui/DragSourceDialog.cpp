#include "ui/DragSourceDialog.h"

#include "common/Log.h"
#include "platform/base/WindowStyles.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/ResourceImages.h"
#include "ui/DragSourceParent.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

// Room after each item's text.
constexpr int kItemGap = 20;

IDragSourceParent* DragParentOf(QWidget* pWidget) {
    return pWidget != nullptr ? dynamic_cast<IDragSourceParent*>(pWidget->parentWidget()) : nullptr;
}

}  // namespace

CDragSourceDialog::CDragSourceDialog() {
    // A click on the strip starts a drag; it neither takes the focus nor
    // activates a window.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(true);
}

CDragSourceDialog::~CDragSourceDialog() {
    if (m_bDragging) {
        EndDrag();
    }
}

bool CDragSourceDialog::Create(UINT nBitmapId, int nImageWidth, int nImageHeight, int nCapacity, QWidget* pParent,
                               DWORD dwStyle, UINT nID) {
    if (m_bDragging) {
        EndDrag();
    }
    m_bitmap = platform::ui::LoadBitmapResource(nBitmapId);
    if (m_bitmap.isNull()) {
        LOG_WARNING("Drag source bitmap %u not found", nBitmapId);
    }
    m_nImageWidth = nImageWidth;
    m_nImageHeight = nImageHeight;
    m_nRowHeight = nImageHeight + 2;
    m_nCapacity = std::max(nCapacity, 0);
    m_nItemCount = 0;
    m_pDragItem = nullptr;
    m_pItems = std::make_unique<DragSourceItem[]>(static_cast<std::size_t>(m_nCapacity));
    if (pParent == nullptr) {
        return false;
    }
    setParent(pParent, Qt::Widget);
    platform::ui::SetDlgCtrlID(this, nID);
    setEnabled((dwStyle & WS_DISABLED) == 0);
    FitToParent();
    setVisible((dwStyle & WS_VISIBLE) != 0);
    return true;
}

DragSourceItem* CDragSourceDialog::AddItem(const std::string& strText, int nImage, int nItemData,
                                           UINT nDropCursorId) {
    if (m_nItemCount >= m_nCapacity) {
        return nullptr;
    }
    DragSourceItem& item = m_pItems[static_cast<std::size_t>(m_nItemCount++)];
    item.strText = strText;
    item.nImage = nImage;
    item.nItemData = nItemData;
    item.nDropCursorId = nDropCursorId;
    item.rect = QRect();
    update();
    return &item;
}

const DragSourceItem* CDragSourceDialog::GetItem(int nIndex) const {
    if (nIndex < 0 || nIndex >= m_nItemCount) {
        return nullptr;
    }
    return &m_pItems[static_cast<std::size_t>(nIndex)];
}

void CDragSourceDialog::FitToParent() {
    QWidget* pParent = parentWidget();
    if (pParent == nullptr) {
        return;
    }
    setGeometry(0, 0, pParent->width(), m_nRowHeight);
    update();
}

void CDragSourceDialog::paintEvent(QPaintEvent* /*pEvent*/) {
    QPainter dc(this);
    dc.setFont(QApplication::font());
    dc.setBackgroundMode(Qt::TransparentMode);
    dc.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics metrics(dc.font());
    const int nTop = 0;
    int x = 1;
    for (int i = 0; i < m_nItemCount; ++i) {
        DragSourceItem& item = m_pItems[static_cast<std::size_t>(i)];
        int nImagePart = 0;
        if (item.nImage >= 0) {
            if (!m_bitmap.isNull()) {
                dc.drawImage(QPoint(x + 1, nTop + 1), m_bitmap,
                             QRect(item.nImage * m_nImageWidth, 0, m_nImageWidth, m_nImageHeight));
            }
            nImagePart = m_nImageWidth;
        }
        const QString strText = QString::fromStdString(item.strText);
        const int nTextWidth = metrics.horizontalAdvance(strText);
        const QRect rcText(x + nImagePart + 1, nTop, nTextWidth + 1, m_nRowHeight);
        dc.drawText(rcText, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, strText);
        item.rect = QRect(x, nTop, nImagePart + nTextWidth + 1 + kItemGap, m_nRowHeight);
        x = item.rect.left() + item.rect.width();
    }
}

void CDragSourceDialog::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton && !m_bDragging) {
        const QPoint pt = pEvent->position().toPoint();
        for (int i = 0; i < m_nItemCount; ++i) {
            DragSourceItem& item = m_pItems[static_cast<std::size_t>(i)];
            if (!item.rect.isEmpty() && item.rect.contains(pt)) {
                m_pDragItem = &item;
                m_bDragging = true;
                // Qt keeps the mouse with the strip until the release.
                if (!m_noDropCursor) {
                    m_noDropCursor = platform::ui::LoadCursorResource(kNoDropCursorId);
                }
                QApplication::setOverrideCursor(*m_noDropCursor);
                m_bCursorOverridden = true;
                pEvent->accept();
                return;
            }
        }
    }
    QWidget::mousePressEvent(pEvent);
}

void CDragSourceDialog::mouseMoveEvent(QMouseEvent* pEvent) {
    if (!m_bDragging || m_pDragItem == nullptr) {
        QWidget::mouseMoveEvent(pEvent);
        return;
    }
    if (IDragSourceParent* pParent = DragParentOf(this)) {
        const QPoint ptScreen = mapToGlobal(pEvent->position().toPoint());
        if (pParent->OnDragSourceQuery(m_pDragItem->nItemData, ptScreen) != 0) {
            if (!m_dropCursor) {
                m_dropCursor = platform::ui::LoadCursorResource(m_pDragItem->nDropCursorId);
            }
            QApplication::changeOverrideCursor(*m_dropCursor);
        } else if (m_noDropCursor) {
            QApplication::changeOverrideCursor(*m_noDropCursor);
        }
    }
    pEvent->accept();
}

void CDragSourceDialog::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton || !m_bDragging) {
        QWidget::mouseReleaseEvent(pEvent);
        return;
    }
    const int nItemData = m_pDragItem != nullptr ? m_pDragItem->nItemData : 0;
    const QPoint ptScreen = mapToGlobal(pEvent->position().toPoint());
    EndDrag();
    if (IDragSourceParent* pParent = DragParentOf(this)) {
        pParent->OnDragSourceDrop(nItemData, ptScreen);
    }
    m_pDragItem = nullptr;
    pEvent->accept();
}

void CDragSourceDialog::EndDrag() {
    m_bDragging = false;
    if (m_bCursorOverridden) {
        QApplication::restoreOverrideCursor();
        m_bCursorOverridden = false;
    }
    m_dropCursor.reset();
}
