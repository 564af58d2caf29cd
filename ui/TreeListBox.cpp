#include "ui/TreeListBox.h"

#include "ui/MaskedBitmap.h"
#include "ui/TreeListItem.h"

#include <QBrush>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int kItemRole = Qt::UserRole;

class CTreeListDelegate : public QStyledItemDelegate {
public:
    explicit CTreeListDelegate(CTreeListBox* pBox) : QStyledItemDelegate(pBox), m_pBox(pBox) {}

    void paint(QPainter* pPainter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        pPainter->save();
        m_pBox->DrawRow(*pPainter, option.rect, index.row(), (option.state & QStyle::State_Selected) != 0,
                        (option.state & QStyle::State_HasFocus) != 0);
        pPainter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& /*option*/, const QModelIndex& /*index*/) const override {
        return QSize(0, m_pBox->GetItemHeight());
    }

private:
    CTreeListBox* m_pBox;
};

QBrush DottedBrush(const QColor& colour) {
    // Alternating pixels, like an 8 x 8 one-bit pattern of 0xAA / 0x55 rows.
    QImage pattern(8, 8, QImage::Format_ARGB32);
    pattern.fill(Qt::transparent);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            if ((x + y) % 2 == 0) {
                pattern.setPixelColor(x, y, colour);
            }
        }
    }
    return QBrush(pattern);
}

}  // namespace

CTreeListBox::CTreeListBox(QWidget* pParent) : QListWidget(pParent) {
    setSortingEnabled(false);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new CTreeListDelegate(this));
}

CTreeListBox::~CTreeListBox() {
    DeleteAllItems();
}

CTreeListItem* CTreeListBox::GetItem(int nRow) const {
    const QListWidgetItem* pRow = item(nRow);
    return pRow != nullptr ? reinterpret_cast<CTreeListItem*>(pRow->data(kItemRole).value<quintptr>()) : nullptr;
}

void CTreeListBox::InsertRow(int nRow, CTreeListItem* pItem) {
    auto* pRow = new QListWidgetItem();
    pRow->setData(kItemRole, QVariant::fromValue(reinterpret_cast<quintptr>(pItem)));
    pRow->setSizeHint(QSize(0, GetItemHeight()));
    insertItem(nRow, pRow);
    pItem->m_wState |= TLIS_SHOWN;
}

CTreeListItem* CTreeListBox::InsertItem(CTreeListItem* pParent, CTreeListItem* pAfter, CTreeListItem* pItem,
                                        int nItemData) {
    if (pItem == nullptr) {
        return nullptr;
    }
    pItem->m_nLevel = pParent != nullptr ? pParent->m_nLevel + 1 : 0;
    pItem->m_pParent = pParent;
    pItem->m_nItemData = nItemData;
    CTreeListItem*& rFirst = pParent != nullptr ? pParent->m_pFirstChild : m_pFirstRoot;
    CTreeListItem*& rLast = pParent != nullptr ? pParent->m_pLastChild : m_pLastRoot;
    if (pAfter != nullptr) {
        pItem->m_pPrevSibling = pAfter;
        pItem->m_pNextSibling = pAfter->m_pNextSibling;
        if (pAfter->m_pNextSibling != nullptr) {
            pAfter->m_pNextSibling->m_pPrevSibling = pItem;
        } else {
            rLast = pItem;
        }
        pAfter->m_pNextSibling = pItem;
    } else {
        pItem->m_pPrevSibling = nullptr;
        pItem->m_pNextSibling = rFirst;
        if (rFirst != nullptr) {
            rFirst->m_pPrevSibling = pItem;
        } else {
            rLast = pItem;
        }
        rFirst = pItem;
    }
    if (pParent == nullptr) {
        int nRow = 0;
        if (pAfter != nullptr) {
            const int nAfter = FindItemIndex(pAfter);
            nRow = nAfter < 0 ? count() : nAfter + 1;
            // Past the rows of pAfter's shown descendants.
            while (nRow < count() && GetItem(nRow) != nullptr && GetItem(nRow)->m_pParent != nullptr) {
                ++nRow;
            }
        }
        InsertRow(nRow, pItem);
    }
    return pItem;
}

void CTreeListBox::DeleteItem(CTreeListItem* pItem) {
    if (pItem == nullptr) {
        return;
    }
    Collapse(pItem);
    while (pItem->m_pFirstChild != nullptr) {
        DeleteItem(pItem->m_pFirstChild);
    }
    if (pItem->IsShown()) {
        const int nRow = FindItemIndex(pItem);
        if (nRow >= 0) {
            delete takeItem(nRow);
        }
    }
    CTreeListItem*& rFirst = pItem->m_pParent != nullptr ? pItem->m_pParent->m_pFirstChild : m_pFirstRoot;
    CTreeListItem*& rLast = pItem->m_pParent != nullptr ? pItem->m_pParent->m_pLastChild : m_pLastRoot;
    if (pItem->m_pPrevSibling != nullptr) {
        pItem->m_pPrevSibling->m_pNextSibling = pItem->m_pNextSibling;
    } else {
        rFirst = pItem->m_pNextSibling;
    }
    if (pItem->m_pNextSibling != nullptr) {
        pItem->m_pNextSibling->m_pPrevSibling = pItem->m_pPrevSibling;
    } else {
        rLast = pItem->m_pPrevSibling;
    }
    delete pItem;
}

void CTreeListBox::DeleteAllItems() {
    while (m_pFirstRoot != nullptr) {
        DeleteItem(m_pFirstRoot);
    }
    clear();
}

void CTreeListBox::Expand(CTreeListItem* pItem, int nDepth) {
    if (pItem == nullptr || pItem->IsLeaf()) {
        return;
    }
    pItem->OnExpand(this);
    if (!pItem->IsExpanded()) {
        const int nRow = FindItemIndex(pItem);
        setUpdatesEnabled(false);
        int nInsert = nRow + 1;
        for (CTreeListItem* pChild = pItem->m_pFirstChild; pChild != nullptr; pChild = pChild->m_pNextSibling) {
            if (nRow >= 0) {
                InsertRow(nInsert++, pChild);
            }
        }
        pItem->m_wState |= TLIS_EXPANDED;
        setUpdatesEnabled(true);
        viewport()->update();
    }
    if (nDepth == 1) {
        return;
    }
    for (CTreeListItem* pChild = pItem->m_pFirstChild; pChild != nullptr; pChild = pChild->m_pNextSibling) {
        Expand(pChild, nDepth == 0 ? 0 : nDepth - 1);
    }
}

void CTreeListBox::Collapse(CTreeListItem* pItem) {
    if (pItem == nullptr || !pItem->IsExpanded()) {
        return;
    }
    for (CTreeListItem* pChild = pItem->m_pFirstChild; pChild != nullptr; pChild = pChild->m_pNextSibling) {
        Collapse(pChild);
    }
    setUpdatesEnabled(false);
    for (CTreeListItem* pChild = pItem->m_pFirstChild; pChild != nullptr; pChild = pChild->m_pNextSibling) {
        if (pChild->IsShown()) {
            const int nRow = FindItemIndex(pChild);
            if (nRow >= 0) {
                delete takeItem(nRow);
            }
            pChild->m_wState &= static_cast<WORD>(~TLIS_SHOWN);
        }
    }
    pItem->m_wState &= static_cast<WORD>(~TLIS_EXPANDED);
    setUpdatesEnabled(true);
    pItem->OnCollapse(this);
    viewport()->update();
}

int CTreeListBox::FindItemIndex(const CTreeListItem* pItem) const {
    if (pItem == nullptr || !pItem->IsShown() || count() == 0) {
        return -1;
    }
    int nLow = 0;
    int nHigh = count() - 1;
    while (nHigh - nLow > 8) {
        const int nMid = (nLow + nHigh) / 2;
        const CTreeListItem* pMid = GetItem(nMid);
        if (pMid == pItem) {
            return nMid;
        }
        if (pMid != nullptr && pMid->IsBefore(pItem)) {
            nLow = nMid + 1;
        } else {
            nHigh = nMid - 1;
        }
    }
    for (int i = nLow; i <= nHigh; ++i) {
        if (GetItem(i) == pItem) {
            return i;
        }
    }
    // Not where the order puts it: look everywhere.
    for (int i = 0; i < count(); ++i) {
        if (GetItem(i) == pItem) {
            return i;
        }
    }
    return -1;
}

void CTreeListBox::ComputeItemHeight() {
    m_nTextHeight = QFontMetrics(font()).height();
    int nHeight = std::max(m_sizeButton.height(), m_nTextHeight);
    if (m_pImageStrip != nullptr) {
        nHeight = std::max(nHeight, m_pImageStrip->GetFrameSize().height());
    }
    m_nItemHeight = nHeight + 4;
}

int CTreeListBox::GetItemHeight() {
    if (m_nItemHeight == 0) {
        ComputeItemHeight();
    }
    return m_nItemHeight;
}

void CTreeListBox::ApplyItemHeight() {
    setUpdatesEnabled(false);
    for (int i = 0; i < count(); ++i) {
        item(i)->setSizeHint(QSize(0, m_nItemHeight));
    }
    setUpdatesEnabled(true);
    viewport()->update();
}

void CTreeListBox::changeEvent(QEvent* pEvent) {
    QListWidget::changeEvent(pEvent);
    if (pEvent->type() == QEvent::FontChange) {
        ComputeItemHeight();
        ApplyItemHeight();
    }
}

void CTreeListBox::SetImageStrip(const CMaskedBitmap* pStrip) {
    m_pImageStrip = pStrip;
    if (pStrip != nullptr) {
        m_nIndent = (3 * m_sizeButton.width() + pStrip->GetFrameSize().height()) / 2;
    } else {
        m_nIndent = 2 * m_sizeButton.width();
    }
    ComputeItemHeight();
    ApplyItemHeight();
}

void CTreeListBox::GetItemIndents(const CTreeListItem* pItem, int& nButtonWidth, int& nIndent,
                                  int& nImageWidth) const {
    nButtonWidth = (m_wTreeStyle & TLS_LINESATROOT) != 0 ? 2 * m_sizeButton.width() : 0;
    nIndent = pItem != nullptr ? pItem->GetLevel() * m_nIndent : 0;
    nImageWidth = m_pImageStrip != nullptr ? m_pImageStrip->GetFrameSize().width() : 0;
}

void CTreeListBox::GetItemTextRect(int nRow, QRect& rect) const {
    const QListWidgetItem* pRow = item(nRow);
    rect = pRow != nullptr ? visualItemRect(pRow) : QRect();
    int nButton = 0;
    int nIndent = 0;
    int nImage = 0;
    GetItemIndents(GetItem(nRow), nButton, nIndent, nImage);
    rect.setLeft(rect.left() + nButton + nIndent + nImage + 4);
}

int CTreeListBox::HitTest(const QPoint& ptClient) const {
    const QListWidgetItem* pRow = itemAt(ptClient);
    return pRow != nullptr ? row(pRow) : -1;
}

QRect CTreeListBox::ButtonRect(const QRect& rectRow, const CTreeListItem* pItem) const {
    int nButton = 0;
    int nIndent = 0;
    int nImage = 0;
    GetItemIndents(pItem, nButton, nIndent, nImage);
    const int nIndentEnd = rectRow.left() + nButton + nIndent;
    const int nRight = nIndentEnd - m_sizeButton.width();
    const int nTop = rectRow.top() + (rectRow.height() - m_sizeButton.height()) / 2;
    return QRect(nRight - m_sizeButton.width(), nTop, m_sizeButton.width(), m_sizeButton.height());
}

int CTreeListBox::HitTestItem(int nRow, const QPoint& ptClient) const {
    const QListWidgetItem* pRow = item(nRow);
    if (pRow == nullptr) {
        return TLHT_NOWHERE;
    }
    const QRect rectRow = visualItemRect(pRow);
    if (!rectRow.contains(ptClient)) {
        return TLHT_NOWHERE;
    }
    const CTreeListItem* pItem = GetItem(nRow);
    int nButton = 0;
    int nIndent = 0;
    int nImage = 0;
    GetItemIndents(pItem, nButton, nIndent, nImage);
    const bool bTop = pItem != nullptr && pItem->GetLevel() == 0 && (m_wTreeStyle & TLS_LINESATROOT) == 0;
    if (pItem != nullptr && !bTop && (m_wTreeStyle & TLS_HASBUTTONS) != 0 && !pItem->IsLeaf() &&
        ButtonRect(rectRow, pItem).contains(ptClient)) {
        return TLHT_BUTTON;
    }
    const int nImageLeft = rectRow.left() + nButton + nIndent;
    if (nImage > 0 && ptClient.x() >= nImageLeft && ptClient.x() < nImageLeft + nImage) {
        return TLHT_IMAGE;
    }
    QRect rectText;
    GetItemTextRect(nRow, rectText);
    if (ptClient.x() >= rectText.left()) {
        return TLHT_TEXT;
    }
    return TLHT_ROW;
}

void CTreeListBox::Toggle(CTreeListItem* pItem) {
    if (pItem->IsExpanded()) {
        Collapse(pItem);
    } else {
        Expand(pItem, 1);
    }
}

void CTreeListBox::mousePressEvent(QMouseEvent* pEvent) {
    const QPoint pt = pEvent->position().toPoint();
    const int nRow = HitTest(pt);
    if ((m_wTreeStyle & TLS_HASBUTTONS) != 0 && nRow >= 0 && HitTestItem(nRow, pt) == TLHT_BUTTON) {
        Toggle(GetItem(nRow));
    }
    QListWidget::mousePressEvent(pEvent);
}

void CTreeListBox::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    const QPoint pt = pEvent->position().toPoint();
    const int nRow = HitTest(pt);
    if (nRow >= 0) {
        const int nPart = HitTestItem(nRow, pt);
        CTreeListItem* pItem = GetItem(nRow);
        if ((nPart == TLHT_IMAGE || nPart == TLHT_TEXT) && pItem != nullptr && !pItem->IsLeaf()) {
            Toggle(pItem);
        }
    }
    QListWidget::mouseDoubleClickEvent(pEvent);
}

void CTreeListBox::keyPressEvent(QKeyEvent* pEvent) {
    CTreeListItem* pItem = GetItem(currentRow());
    if ((pEvent->modifiers() & Qt::KeypadModifier) != 0 && pItem != nullptr && !pItem->IsLeaf()) {
        switch (pEvent->key()) {
        case Qt::Key_Asterisk:
            Expand(pItem, 0);
            pEvent->accept();
            return;
        case Qt::Key_Plus:
            Expand(pItem, 1);
            pEvent->accept();
            return;
        case Qt::Key_Minus:
            Collapse(pItem);
            pEvent->accept();
            return;
        default:
            break;
        }
    }
    QListWidget::keyPressEvent(pEvent);
}

void CTreeListBox::DrawLinesAndButton(QPainter& painter, const QRect& rectRow, const CTreeListItem* pItem) {
    if (pItem->GetLevel() == 0 && (m_wTreeStyle & TLS_LINESATROOT) == 0) {
        return;
    }
    int nButton = 0;
    int nIndent = 0;
    int nImage = 0;
    GetItemIndents(pItem, nButton, nIndent, nImage);
    const int nIndentEnd = rectRow.left() + nButton + nIndent;
    const int nMid = rectRow.top() + rectRow.height() / 2;
    const bool bButton = (m_wTreeStyle & TLS_HASBUTTONS) != 0 && !pItem->IsLeaf();
    const QRect rectButton = ButtonRect(rectRow, pItem);
    const int nLineX = rectButton.center().x();
    if ((m_wTreeStyle & TLS_HASLINES) != 0) {
        const QBrush brush = DottedBrush(palette().color(QPalette::Mid));
        const int nFrom = bButton ? rectButton.right() + 1 : nIndentEnd - 3 * m_sizeButton.width() / 2;
        painter.fillRect(QRect(QPoint(nFrom, nMid), QPoint(nIndentEnd + nImage, nMid)), brush);
        if (pItem->IsExpanded() && pItem->GetFirstChild() != nullptr) {
            const int nChildX = nLineX + m_nIndent;
            painter.fillRect(QRect(QPoint(nChildX, nMid), QPoint(nChildX, rectRow.bottom())), brush);
        }
        // The node's own vertical line, then one for each ancestor with a
        // next sibling.
        const int nOwnBottom = pItem->GetNextSibling() != nullptr ? rectRow.bottom() : nMid;
        if (bButton) {
            painter.fillRect(QRect(QPoint(nLineX, rectRow.top()), QPoint(nLineX, rectButton.top() - 1)), brush);
            if (nOwnBottom > rectButton.bottom()) {
                painter.fillRect(QRect(QPoint(nLineX, rectButton.bottom() + 1), QPoint(nLineX, nOwnBottom)), brush);
            }
        } else {
            painter.fillRect(QRect(QPoint(nLineX, rectRow.top()), QPoint(nLineX, nOwnBottom)), brush);
        }
        int nX = nLineX - m_nIndent;
        for (const CTreeListItem* pAncestor = pItem->GetParent();
             pAncestor != nullptr && (pAncestor->GetLevel() > 0 || (m_wTreeStyle & TLS_LINESATROOT) != 0);
             pAncestor = pAncestor->GetParent(), nX -= m_nIndent) {
            if (pAncestor->GetNextSibling() != nullptr) {
                painter.fillRect(QRect(QPoint(nX, rectRow.top()), QPoint(nX, rectRow.bottom())), brush);
            }
        }
    }
    if (bButton) {
        painter.fillRect(rectButton, palette().color(QPalette::Base));
        painter.setPen(QColor(192, 192, 192));
        painter.drawRect(rectButton.adjusted(0, 0, -1, -1));
        const int nInset = m_sizeButton.width() / 4;
        const QPoint c = rectButton.center();
        painter.setPen(Qt::black);
        painter.drawLine(rectButton.left() + nInset, c.y(), rectButton.right() - nInset, c.y());
        if (!pItem->IsExpanded()) {
            painter.drawLine(c.x(), rectButton.top() + nInset, c.x(), rectButton.bottom() - nInset);
        }
    }
}

void CTreeListBox::DrawRow(QPainter& painter, const QRect& rectRow, int nRow, bool bSelected, bool bFocus) {
    CTreeListItem* pItem = GetItem(nRow);
    if (pItem == nullptr) {
        if (bFocus) {
            QRect rect = rectRow;
            if (rect.height() == 0) {
                rect.setHeight(GetItemHeight());
            }
            painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
            painter.drawRect(rect.adjusted(0, 0, -1, -1));
        }
        return;
    }
    QRect rectText;
    int nButton = 0;
    int nIndent = 0;
    int nImage = 0;
    GetItemIndents(pItem, nButton, nIndent, nImage);
    rectText = rectRow;
    rectText.setLeft(rectRow.left() + nButton + nIndent + nImage + 4);
    painter.fillRect(QRect(rectRow.left(), rectRow.top(), rectText.left() - rectRow.left(), rectRow.height()),
                     palette().color(QPalette::Base));
    DrawLinesAndButton(painter, rectRow, pItem);
    const int nImageIndex = pItem->GetImage();
    if (m_pImageStrip != nullptr && nImageIndex >= 0) {
        const QSize size = m_pImageStrip->GetFrameSize();
        const QRect rectImage(rectRow.left() + nButton + nIndent, rectRow.top() + (rectRow.height() - size.height()) / 2,
                              size.width(), size.height());
        const QBrush window(palette().color(QPalette::Base));
        m_pImageStrip->Draw(painter, rectImage, nImageIndex, &window);
    }
    const QColor background = palette().color(bSelected ? QPalette::Highlight : QPalette::Base);
    const QColor text = palette().color(bSelected ? QPalette::HighlightedText : QPalette::Text);
    painter.setBackground(background);
    painter.setPen(text);
    pItem->Draw(this, painter, rectText, bSelected);
    if (bFocus) {
        painter.setPen(QPen(text, 1, Qt::DotLine));
        painter.drawRect(rectText.adjusted(0, 0, -1, -1));
    }
}
