#include "ui/SelectionTreeListBox.h"

#include "platform/base/WindowStyles.h"
#include "ui/TreeListItem.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

class CSelectionRowDelegate : public QStyledItemDelegate {
public:
    explicit CSelectionRowDelegate(CSelectionTreeListBox* pBox) : QStyledItemDelegate(pBox), m_pBox(pBox) {}

    void paint(QPainter* pPainter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        pPainter->save();
        m_pBox->DrawSelectionRow(*pPainter, option, index.row());
        pPainter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& /*option*/, const QModelIndex& /*index*/) const override {
        return QSize(0, m_pBox->GetItemHeight());
    }

private:
    CSelectionTreeListBox* m_pBox;
};

}  // namespace

CSelectionTreeListBox::CSelectionTreeListBox(QWidget* pParent) : CTreeListBox(pParent), m_toolTip(0) {
    setItemDelegate(new CSelectionRowDelegate(this));
    // Texts too long for the list show in the tooltip, not behind a
    // horizontal scroll bar; the tip follows the pointer over the rows.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
}

CSelectionTreeListBox::~CSelectionTreeListBox() {
    m_toolTip.DestroyWindow();
}

void CSelectionTreeListBox::LoadImageStrip(UINT nStripId) {
    if (m_images.Load(nStripId, 0, kImageWidth)) {
        SetImageStrip(&m_images);
    }
}

void CSelectionTreeListBox::CreateToolTip() {
    if (!m_toolTip.HasWindow()) {
        m_toolTip.Create(this, WS_BORDER);
    }
}

// ---------------------------------------------------------------------------
// Mouse

void CSelectionTreeListBox::mousePressEvent(QMouseEvent* pEvent) {
    m_toolTip.RelayEvent(pEvent);
    // Only the left button selects, as in a list box.
    if (pEvent->button() != Qt::LeftButton) {
        pEvent->accept();
        return;
    }
    CTreeListBox::mousePressEvent(pEvent);
}

void CSelectionTreeListBox::mouseReleaseEvent(QMouseEvent* pEvent) {
    m_toolTip.RelayEvent(pEvent);
    if (pEvent->button() != Qt::LeftButton) {
        pEvent->accept();
        return;
    }
    CTreeListBox::mouseReleaseEvent(pEvent);
}

void CSelectionTreeListBox::mouseMoveEvent(QMouseEvent* pEvent) {
    m_toolTip.RelayEvent(pEvent);
    CTreeListBox::mouseMoveEvent(pEvent);
}

// ---------------------------------------------------------------------------
// Tooltips

int CSelectionTreeListBox::GetTextExtent(int nFirst, int nLast) const {
    const QFontMetrics metrics(font());
    int nRight = 0;
    for (int i = std::max(nFirst, 0); i <= std::min(nLast, GetRowCount() - 1); ++i) {
        const CTreeListItem* pItem = GetItem(i);
        if (pItem == nullptr) {
            continue;
        }
        QRect rectText;
        GetItemTextRect(i, rectText);
        std::string strText;
        pItem->GetText(strText);
        nRight = std::max(nRight, rectText.left() + metrics.horizontalAdvance(QString::fromStdString(strText)));
    }
    return nRight;
}

int CSelectionTreeListBox::OnToolTipHitTest(const QPoint& ptClient) {
    const int nRow = HitTest(ptClient);
    if (GetItem(nRow) == nullptr) {
        return 0;
    }
    return GetTextExtent(nRow, nRow) > viewport()->width() ? nRow + 1 : 0;
}

std::string CSelectionTreeListBox::OnToolTipGetText(int nId) {
    std::string strText;
    if (const CTreeListItem* pItem = GetItem(nId - 1)) {
        pItem->GetText(strText);
    }
    return strText;
}
