#include "ui/TabComboBox.h"

#include "platform/ui/ComboBoxData.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/ResourceImages.h"
#include "ui/TabListHeader.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QStylePainter>

#include <algorithm>

namespace {

// Draws the entries of the open list through the box's own drawing.
class CTabComboDelegate : public QStyledItemDelegate {
public:
    explicit CTabComboDelegate(CTabComboBox* pBox) : QStyledItemDelegate(pBox), m_pBox(pBox) {}

    void paint(QPainter* pPainter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        TabDrawItem item;
        item.pPainter = pPainter;
        item.rcItem = option.rect;
        item.nItem = index.row();
        item.nItemData = GetComboItemData(m_pBox, index.row());
        item.bSelected = (option.state & QStyle::State_Selected) != 0;
        item.bFocus = (option.state & QStyle::State_HasFocus) != 0;
        item.bDisabled = !m_pBox->isEnabled();
        m_pBox->DrawItem(item);
    }

    QSize sizeHint(const QStyleOptionViewItem& /*option*/, const QModelIndex& /*index*/) const override {
        return {m_pBox->GetColumnsWidth(), m_pBox->MeasureItem()};
    }

private:
    CTabComboBox* m_pBox;
};

}  // namespace

CTabComboBox::CTabComboBox(DWORD dwStyle, int nColumns, const CTabComboItem* pColumns, QWidget* pParent)
    : QComboBox(pParent), m_dwStyle(dwStyle) {
    setEditable(false);
    setItemDelegate(new CTabComboDelegate(this));
    for (int i = 0; pColumns != nullptr && i < nColumns; ++i) {
        m_arrColumns.push_back(new CTabComboItem(pColumns[i]));
    }
}

CTabComboBox::~CTabComboBox() {
    if (m_pHeader) {
        m_pHeader->SetComboBox(nullptr);
    }
    for (CTabComboItem* pColumn : m_arrColumns) {
        delete pColumn;
    }
}

CTabListHeader* CTabComboBox::GetHeader() const {
    return m_pHeader.data();
}

void CTabComboBox::SetHeader(CTabListHeader* pHeader) {
    m_pHeader = pHeader;
}

BOOL CTabComboBox::SubclassDlgItem(UINT nId, QWidget* pParent) {
    QWidget* pControl = platform::ui::FindDlgItem(pParent, nId);
    if (pControl == this) {
        return TRUE;
    }
    if (pControl == nullptr) {
        return FALSE;
    }
    setToolTip(pControl->toolTip());
    if (auto* pPlain = qobject_cast<QComboBox*>(pControl)) {
        clear();
        for (int i = 0; i < pPlain->count(); ++i) {
            AddComboItem(this, pPlain->itemText(i), GetComboItemData(pPlain, i));
        }
        setCurrentIndex(pPlain->currentIndex());
    }
    platform::ui::ReplaceDlgControl(pControl, this);
    setVisible(true);
    return TRUE;
}

void CTabComboBox::SetStyle(DWORD dwStyle) {
    m_dwStyle = dwStyle;
    RedrawAll();
}

int CTabComboBox::AddItem(CTabComboItem* pColumn) {
    if (pColumn == nullptr) {
        return -1;
    }
    m_arrColumns.push_back(pColumn);
    const int nIndex = GetColumnCount() - 1;
    if (!m_arrColumnOrder.empty()) {
        m_arrColumnOrder.push_back(static_cast<WORD>(nIndex));
    }
    if (m_pHeader) {
        m_pHeader->update();
    }
    return nIndex;
}

void CTabComboBox::RemoveItem(int nIndex) {
    if (nIndex < 0 || nIndex >= GetColumnCount()) {
        return;
    }
    delete m_arrColumns[static_cast<std::size_t>(nIndex)];
    m_arrColumns.erase(m_arrColumns.begin() + nIndex);
    std::erase(m_arrColumnOrder, static_cast<WORD>(nIndex));
    for (WORD& wColumn : m_arrColumnOrder) {
        if (wColumn > nIndex) {
            --wColumn;
        }
    }
    RedrawAll();
}

void CTabComboBox::RemoveAllItems() {
    for (CTabComboItem* pColumn : m_arrColumns) {
        delete pColumn;
    }
    m_arrColumns.clear();
    m_arrColumnOrder.clear();
    RedrawAll();
}

CTabComboItem* CTabComboBox::GetColumn(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetColumnCount()) {
        return nullptr;
    }
    return m_arrColumns[static_cast<std::size_t>(nIndex)];
}

void CTabComboBox::SetColumnWidth(int nIndex, int nWidth) {
    if (CTabComboItem* pColumn = GetColumn(nIndex)) {
        pColumn->m_nWidth = nWidth;
        RedrawAll();
    }
}

void CTabComboBox::SetColumnOrder(const std::vector<WORD>* pOrder) {
    bool bNatural = true;
    if (pOrder != nullptr) {
        for (std::size_t i = 0; i < pOrder->size(); ++i) {
            if ((*pOrder)[i] != i) {
                bNatural = false;
                break;
            }
        }
    }
    if (bNatural) {
        m_arrColumnOrder.clear();
    } else {
        m_arrColumnOrder = *pOrder;
    }
    RedrawAll();
}

void CTabComboBox::GetColumnOrder(std::vector<WORD>& order) const {
    if (!m_arrColumnOrder.empty()) {
        order = m_arrColumnOrder;
        return;
    }
    order.clear();
    for (int i = 0; i < GetColumnCount(); ++i) {
        order.push_back(static_cast<WORD>(i));
    }
}

int CTabComboBox::OrderToColumn(int nPosition) const {
    if (m_arrColumnOrder.empty() || nPosition < 0 || nPosition >= static_cast<int>(m_arrColumnOrder.size())) {
        return nPosition;
    }
    return m_arrColumnOrder[static_cast<std::size_t>(nPosition)];
}

int CTabComboBox::ColumnToOrder(int nColumn) const {
    if (m_arrColumnOrder.empty()) {
        return nColumn;
    }
    for (std::size_t i = 0; i < m_arrColumnOrder.size(); ++i) {
        if (m_arrColumnOrder[i] == nColumn) {
            return static_cast<int>(i);
        }
    }
    return nColumn;
}

void CTabComboBox::FitText(const std::string& strText) {
    const QFontMetrics metrics(font());
    const int nAverage = metrics.averageCharWidth();
    const int nMaxFields = GetColumnCount() + 40;
    std::size_t nStart = 0;
    for (int nField = 0; nField < nMaxFields; ++nField) {
        const std::size_t nTab = strText.find('\t', nStart);
        const std::string strField =
            strText.substr(nStart, nTab == std::string::npos ? std::string::npos : nTab - nStart);
        const int nWidth = metrics.horizontalAdvance(QString::fromStdString(strField)) + nAverage;
        if (nField >= GetColumnCount()) {
            m_arrColumns.push_back(new CTabComboItem(TCI_LEFT, nWidth, std::string()));
            if (!m_arrColumnOrder.empty()) {
                m_arrColumnOrder.push_back(static_cast<WORD>(nField));
            }
        } else if (m_arrColumns[static_cast<std::size_t>(nField)]->m_nWidth < nWidth) {
            m_arrColumns[static_cast<std::size_t>(nField)]->m_nWidth = nWidth;
        }
        if (nTab == std::string::npos) {
            break;
        }
        nStart = nTab + 1;
    }
    RedrawAll();
}

void CTabComboBox::FitAllItems() {
    for (int i = 0; i < count(); ++i) {
        FitText(GetItemText(i, GetComboItemData(this, i)));
    }
}

void CTabComboBox::SetImageList(const std::vector<QIcon>* pImages) {
    if (m_pImages != pImages) {
        m_pImages = pImages;
        RedrawAll();
    }
}

int CTabComboBox::MeasureItem() {
    const QString strKey = font().key();
    if (m_nItemHeight == 0 || strKey != m_strMeasuredFont) {
        m_nItemHeight = QFontMetrics(font()).height() + 2;
        m_strMeasuredFont = strKey;
    }
    return m_nItemHeight;
}

void CTabComboBox::ShowDropDown(bool bShow) {
    if (bShow && !m_bDroppedDown) {
        showPopup();
    } else if (!bShow && m_bDroppedDown) {
        hidePopup();
    }
}

void CTabComboBox::showPopup() {
    m_bDroppedDown = true;
    QComboBox::showPopup();
    FitListToWindow();
    emit DropDown();
}

int CTabComboBox::GetColumnsWidth() const {
    int nWidth = 0;
    for (const CTabComboItem* pColumn : m_arrColumns) {
        if (!pColumn->IsHidden()) {
            nWidth += std::max<int>(0, pColumn->m_nWidth);
        }
    }
    return nWidth;
}

void CTabComboBox::FitListToWindow() {
    QWidget* pList = view() != nullptr ? view()->window() : nullptr;
    if (pList == nullptr || pList == window() || !pList->isVisible()) {
        return;
    }
    // As wide as the box, or as its columns where they need more.
    QRect rcList = pList->geometry();
    const int nFrame = rcList.width() - view()->viewport()->width();
    if (GetColumnCount() > 0) {
        rcList.setWidth(std::max(width(), GetColumnsWidth() + nFrame));
    }
    // Moved left to stay inside the dialog as far as it fits there: a list
    // wider than the dialog starts at the dialog's left edge.
    const QRect rcWindow = window()->geometry();
    if (rcList.right() > rcWindow.right()) {
        const int nLeft = std::max(rcWindow.left(), rcList.left() - (rcList.right() - rcWindow.right()));
        rcList.moveLeft(std::min(nLeft, rcList.left()));
    }
    // The screen is the limit: the list moves on past the dialog's edge to
    // stay on it, and one wider than the screen takes the screen's width and
    // scrolls.
    if (const QScreen* pScreen = screen()) {
        const QRect rcScreen = pScreen->availableGeometry();
        rcList.setWidth(std::min(rcList.width(), rcScreen.width()));
        rcList.moveRight(std::min(rcList.right(), rcScreen.right()));
        rcList.moveLeft(std::max(rcList.left(), rcScreen.left()));
    }
    if (rcList != pList->geometry()) {
        pList->setGeometry(rcList);
    }
}

void CTabComboBox::hidePopup() {
    QComboBox::hidePopup();
    if (m_bDroppedDown) {
        m_bDroppedDown = false;
        emit CloseUp();
    }
}

QSize CTabComboBox::sizeHint() const {
    QSize size = QComboBox::sizeHint();
    size.setHeight(std::max(size.height(), const_cast<CTabComboBox*>(this)->MeasureItem() + 6));
    return size;
}

std::string CTabComboBox::GetItemText(int nItem, std::intptr_t nItemData) const {
    if (nItem < 0 || nItem >= count()) {
        return {};
    }
    if (m_bHasStrings) {
        return itemText(nItem).toStdString();
    }
    std::string strText;
    bool bFirst = true;
    for (int i = 0; i < GetColumnCount(); ++i) {
        const CTabComboItem* pColumn = m_arrColumns[static_cast<std::size_t>(i)];
        if (pColumn->IsHidden()) {
            continue;
        }
        if (!bFirst) {
            strText += '\t';
        }
        strText += pColumn->GetCellText(nItem, i, nItemData);
        bFirst = false;
    }
    return strText;
}

std::string CTabComboBox::GetTabField(const std::string& strText, int nField) {
    std::size_t nStart = 0;
    for (int i = 0; i < nField; ++i) {
        const std::size_t nTab = strText.find('\t', nStart);
        if (nTab == std::string::npos) {
            return {};
        }
        nStart = nTab + 1;
    }
    const std::size_t nEnd = strText.find('\t', nStart);
    return strText.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
}

void CTabComboBox::SetItemColors(TabDrawItem& item, const std::string& /*strText*/) {
    const QPalette& pal = palette();
    if (item.bSelected) {
        item.crBack = pal.color(QPalette::Highlight);
        item.crText = pal.color(QPalette::HighlightedText);
    } else {
        item.crBack = pal.color(QPalette::Base);
        item.crText = pal.color(QPalette::Text);
    }
}

void CTabComboBox::DrawCell(QPainter& painter, const QRect& rcCell, int nColumn, const std::string& strText) {
    const CTabComboItem* pColumn = GetColumn(nColumn);
    if (pColumn == nullptr || rcCell.width() <= 0) {
        return;
    }
    painter.save();
    painter.setClipRect(rcCell, Qt::IntersectClip);
    if (!pColumn->IsPicture()) {
        painter.fillRect(rcCell, painter.background());
        int nAlign = Qt::AlignLeft;
        if (pColumn->GetAlignment() == TCI_RIGHT) {
            nAlign = Qt::AlignRight;
        } else if (pColumn->GetAlignment() == TCI_CENTER) {
            nAlign = Qt::AlignHCenter;
        }
        painter.drawText(rcCell, nAlign | Qt::AlignVCenter | Qt::TextSingleLine, QString::fromStdString(strText));
    } else if (strText.rfind("ICO", 0) == 0) {
        const QIcon icon = platform::ui::LoadIconResource(platform::ui::ResourceIdFromText(strText.c_str() + 3));
        if (!icon.isNull()) {
            const QSize size = icon.actualSize(rcCell.size());
            icon.paint(&painter, QRect(rcCell.topLeft(), size));
        }
    } else if (strText.rfind("BMP", 0) == 0) {
        const QImage image = platform::ui::LoadBitmapResource(platform::ui::ResourceIdFromText(strText.c_str() + 3));
        if (!image.isNull()) {
            painter.drawImage(rcCell.topLeft(), image, QRect(QPoint(0, 0), rcCell.size()));
        }
    } else if (!strText.empty() && strText[0] >= '0' && strText[0] <= '9' && m_pImages != nullptr) {
        const std::size_t nImage = std::stoul(strText.substr(0, std::min<std::size_t>(strText.size(), 9)));
        painter.fillRect(rcCell, palette().color(QPalette::Base));
        if (nImage < m_pImages->size()) {
            (*m_pImages)[nImage].paint(&painter, rcCell, Qt::AlignLeft | Qt::AlignTop);
        }
    }
    painter.restore();
}

void CTabComboBox::DrawItem(TabDrawItem& item) {
    QPainter& painter = *item.pPainter;
    if (item.nItem < 0) {
        painter.save();
        if (m_dwStyle & TCS_FILLROWS) {
            item.crBack = palette().color(QPalette::Base);
            item.crText = palette().color(QPalette::Text);
            DrawRow(item, std::string());
        }
        if (item.bFocus) {
            painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
            painter.drawRect(item.rcItem.adjusted(0, 0, -1, -1));
        }
        painter.restore();
        return;
    }
    const std::string strText = GetItemText(item.nItem, item.nItemData);
    painter.save();
    SetItemColors(item, strText);
    DrawRow(item, strText);
    if (item.bFocus) {
        painter.setPen(QPen(item.crText, 1, Qt::DotLine));
        painter.drawRect(item.rcItem.adjusted(0, 0, -1, -1));
    }
    painter.restore();
}

void CTabComboBox::DrawRow(TabDrawItem& item, const std::string& strText) {
    QPainter& painter = *item.pPainter;
    painter.setBackground(item.crBack);
    painter.setPen(item.crText);
    painter.setFont(font());
    const bool bGrid = (m_dwStyle & TCS_GRIDLINES) != 0;
    const int nLineBottom = (m_dwStyle & TCS_FILLROWS) ? std::max(item.rcItem.bottom(), rect().bottom())
                                                       : item.rcItem.bottom();
    int nLeft = item.rcItem.left();
    for (int nPos = 0; nPos < GetColumnCount(); ++nPos) {
        const int nColumn = OrderToColumn(nPos);
        const CTabComboItem* pColumn = GetColumn(nColumn);
        if (pColumn == nullptr || pColumn->IsHidden()) {
            continue;
        }
        const int nWidth = item.pColumnWidths != nullptr ? (*item.pColumnWidths)[static_cast<std::size_t>(nColumn)]
                                                         : std::max<int>(0, pColumn->m_nWidth);
        const QRect rcCell(nLeft, item.rcItem.top(), bGrid ? nWidth - 1 : nWidth, item.rcItem.height());
        std::string strField = GetTabField(strText, nColumn);
        if (item.pColumnWidths != nullptr && !pColumn->IsPicture()) {
            const QFontMetrics metrics(font());
            const QString strWhole = QString::fromStdString(strField);
            const int nRoom = std::max(0, nWidth - GetCellMargins());
            if (metrics.horizontalAdvance(strWhole) > nRoom) {
                strField = metrics.elidedText(strWhole, Qt::ElideRight, nRoom).toStdString();
            }
        }
        painter.setPen(item.crText);
        DrawCell(painter, rcCell, nColumn, strField);
        if (bGrid) {
            painter.setPen(Qt::black);
            painter.drawLine(rcCell.right() + 1, item.rcItem.top(), rcCell.right() + 1, nLineBottom);
        }
        nLeft += nWidth;
    }
    if (nLeft <= item.rcItem.right()) {
        painter.fillRect(QRect(nLeft, item.rcItem.top(), item.rcItem.right() - nLeft + 1, item.rcItem.height()),
                         item.crBack);
    }
}

std::vector<int> CTabComboBox::GetFaceWidths(const std::string& strText, int nAvailable) const {
    const auto nCount = static_cast<std::size_t>(GetColumnCount());
    std::vector<int> widths(nCount, 0);
    int nTotal = 0;
    for (std::size_t i = 0; i < nCount; ++i) {
        if (!m_arrColumns[i]->IsHidden()) {
            widths[i] = std::max(0, m_arrColumns[i]->m_nWidth);
            nTotal += widths[i];
        }
    }
    if (nTotal <= nAvailable) {
        return widths;
    }
    // Each column down to what its text needs.
    const QFontMetrics metrics(font());
    std::vector<int> needs = widths;
    int nNeeded = 0;
    for (std::size_t i = 0; i < nCount; ++i) {
        if (!m_arrColumns[i]->IsPicture()) {
            const QString strField = QString::fromStdString(GetTabField(strText, static_cast<int>(i)));
            needs[i] = std::min(widths[i], metrics.horizontalAdvance(strField) + GetCellMargins());
        }
        nNeeded += needs[i];
    }
    if (nNeeded <= nAvailable) {
        // The room left goes back to the columns from the left, so that the
        // first ones keep their places under the header.
        int nSpare = nAvailable - nNeeded;
        for (int nPos = 0; nPos < GetColumnCount() && nSpare > 0; ++nPos) {
            const auto n = static_cast<std::size_t>(OrderToColumn(nPos));
            const int nAdd = std::min(nSpare, widths[n] - needs[n]);
            needs[n] += nAdd;
            nSpare -= nAdd;
        }
        return needs;
    }
    // The common width of the cut columns: the narrow ones keep what they
    // need, the rest share the room that is left.
    std::vector<int> sorted = needs;
    std::sort(sorted.begin(), sorted.end());
    int nRoom = std::max(0, nAvailable);
    int nLevel = 0;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const int nLeft = static_cast<int>(sorted.size() - i);
        if (sorted[i] * nLeft > nRoom) {
            nLevel = nRoom / nLeft;
            break;
        }
        nRoom -= sorted[i];
    }
    for (int& nWidth : needs) {
        nWidth = std::min(nWidth, nLevel);
    }
    return needs;
}

QRect CTabComboBox::GetFaceRect() const {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
}

void CTabComboBox::paintEvent(QPaintEvent* /*pEvent*/) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect rcEdit = GetFaceRect();
    TabDrawItem item;
    item.pPainter = &painter;
    item.rcItem = rcEdit;
    item.nItem = currentIndex();
    item.nItemData = GetComboItemData(this, item.nItem);
    item.bSelected = hasFocus() && !m_bDroppedDown;
    item.bFocus = hasFocus();
    item.bDisabled = !isEnabled();
    const std::vector<int> widths = GetFaceWidths(GetItemText(item.nItem, item.nItemData), rcEdit.width());
    item.pColumnWidths = &widths;
    painter.setClipRect(rcEdit);
    DrawItem(item);
}

void CTabComboBox::changeEvent(QEvent* pEvent) {
    QComboBox::changeEvent(pEvent);
    if (pEvent->type() == QEvent::FontChange) {
        // The next measure sees the new font; the header follows its height.
        if (m_pHeader) {
            m_pHeader->Reposition();
        }
        if (view() != nullptr) {
            view()->doItemsLayout();
        }
    }
}

void CTabComboBox::RedrawAll() {
    update();
    if (view() != nullptr && view()->isVisible()) {
        view()->viewport()->update();
    }
    if (m_pHeader) {
        m_pHeader->update();
    }
}
