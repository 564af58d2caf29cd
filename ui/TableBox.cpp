#include "ui/TableBox.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kRoleObject = Qt::UserRole;
constexpr int kRoleRowImage = Qt::UserRole + 1;
constexpr int kRoleMark = Qt::UserRole + 2;
constexpr BYTE kFormatAutoSize = 0x80;

Qt::Alignment AlignmentOf(int nFormat) {
    switch (nFormat & 3) {
    case LVCFMT_RIGHT:
        return Qt::AlignRight | Qt::AlignVCenter;
    case LVCFMT_CENTER:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

// The leading number of a text (optional blanks and sign, then digits); 0
// for a text without one. Saturates instead of overflowing.
long long LeadingNumber(const std::string& strText) {
    std::size_t i = 0;
    while (i < strText.size() && (strText[i] == ' ' || strText[i] == '\t')) {
        ++i;
    }
    bool bNegative = false;
    if (i < strText.size() && (strText[i] == '-' || strText[i] == '+')) {
        bNegative = strText[i] == '-';
        ++i;
    }
    long long nValue = 0;
    constexpr long long kLimit = 1'000'000'000'000'000LL;
    for (; i < strText.size() && strText[i] >= '0' && strText[i] <= '9'; ++i) {
        if (nValue < kLimit) {
            nValue = nValue * 10 + (strText[i] - '0');
        }
    }
    return bNegative ? -nValue : nValue;
}

}  // namespace

CTableBox::CTableBox(QWidget* pParent) : QTreeWidget(pParent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setColumnCount(0);
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    connect(header(), &QHeaderView::sectionClicked, this, [this](int nColumn) { SortByColumn(nColumn); });
}

CTableBox::~CTableBox() {
    DeleteAllRows();
}

int CTableBox::AddColumn(const std::string& strTitle, int nWidth, int nFormat) {
    if (header() == nullptr) {
        return -1;
    }
    // Grid lines, header drag and drop, full-row select.
    header()->setSectionsMovable(true);
    const int nColumn = columnCount();
    setColumnCount(nColumn + 1);
    QTreeWidgetItem* pHeader = headerItem();
    pHeader->setText(nColumn, QString::fromStdString(strTitle));
    pHeader->setTextAlignment(nColumn, AlignmentOf(nFormat));
    BYTE nByte = static_cast<BYTE>(nFormat & 0xFF);
    if (nWidth < 0) {
        nByte |= kFormatAutoSize;
    }
    m_arrColumnFormats.push_back(nByte);
    SetColumnWidthEx(nColumn, nWidth);
    if (nColumn > 0 && (m_arrColumnFormats[static_cast<std::size_t>(nColumn - 1)] & kFormatAutoSize) != 0) {
        SetColumnWidthEx(nColumn - 1, LVSCW_AUTOSIZE_USEHEADER);
    }
    return nColumn;
}

void CTableBox::SetColumnWidthEx(int nColumn, int nWidth) {
    if (nColumn < 0 || nColumn >= columnCount()) {
        return;
    }
    if (nWidth >= 0) {
        setColumnWidth(nColumn, nWidth);
        return;
    }
    resizeColumnToContents(nColumn);
    if (nWidth == LVSCW_AUTOSIZE_USEHEADER) {
        const QFontMetrics metrics(header()->font());
        const int nHeader = metrics.horizontalAdvance(headerItem()->text(nColumn)) + 12;
        setColumnWidth(nColumn, std::max(columnWidth(nColumn), nHeader));
    }
}

int CTableBox::GetContentWidth(int nColumn, int nFirst, int nLast, bool bTitle) const {
    if (nColumn < 0 || nColumn >= columnCount()) {
        return 0;
    }
    int nWidth = bTitle ? header()->sectionSizeHint(nColumn) : 0;
    for (int i = std::max(nFirst, 0); i <= std::min(nLast, topLevelItemCount() - 1); ++i) {
        nWidth = std::max(nWidth, sizeHintForIndex(model()->index(i, nColumn)).width());
    }
    return nWidth;
}

int CTableBox::GetColumnFormat(int nColumn) const {
    if (nColumn < 0 || static_cast<std::size_t>(nColumn) >= m_arrColumnFormats.size()) {
        return 0;
    }
    return m_arrColumnFormats[static_cast<std::size_t>(nColumn)];
}

void CTableBox::SetImageList(std::vector<QIcon> images) {
    m_images = std::move(images);
    for (int i = 0; i < topLevelItemCount(); ++i) {
        ApplyImage(topLevelItem(i), topLevelItem(i)->data(0, kRoleRowImage).toInt());
    }
}

void CTableBox::ApplyImage(QTreeWidgetItem* pItem, int nImage) const {
    pItem->setData(0, kRoleRowImage, nImage);
    if (nImage >= 0 && static_cast<std::size_t>(nImage) < m_images.size()) {
        pItem->setIcon(0, m_images[static_cast<std::size_t>(nImage)]);
    } else {
        pItem->setIcon(0, QIcon());
    }
}

int CTableBox::AddItem(const std::string& strText, CObject* pObject, int nImage) {
    auto* pItem = new QTreeWidgetItem();
    for (int c = 0; c < columnCount(); ++c) {
        pItem->setTextAlignment(c, AlignmentOf(GetColumnFormat(c)));
    }
    pItem->setText(0, QString::fromStdString(strText));
    pItem->setData(0, kRoleObject, QVariant::fromValue(reinterpret_cast<quintptr>(pObject)));
    ApplyImage(pItem, nImage);
    addTopLevelItem(pItem);
    const int nRow = topLevelItemCount() - 1;
    m_nCurrentRow = nRow;
    m_nNextColumn = 1;
    m_nDataRowCount = std::clamp(m_nDataRowCount, 0, topLevelItemCount());
    return nRow;
}

int CTableBox::AddRow(const std::vector<std::string>& texts, CObject* pObject, int nImage) {
    const int nCount = topLevelItemCount();
    const int nInsert = std::clamp(m_nDataRowCount, 0, nCount);
    m_nDataRowCount = nInsert;
    auto* pItem = new QTreeWidgetItem();
    for (int c = 0; c < columnCount(); ++c) {
        pItem->setTextAlignment(c, AlignmentOf(GetColumnFormat(c)));
    }
    if (texts.empty()) {
        // Filled column by column afterwards, in no sorted place.
        m_bRowsInAddOrder = false;
        insertTopLevelItem(nInsert, pItem);
        m_nCurrentRow = nInsert;
        m_nDataRowCount = nInsert + 1;
        m_nNextColumn = 0;
        return nInsert;
    }
    for (std::size_t c = 0; c < texts.size(); ++c) {
        pItem->setText(static_cast<int>(c), QString::fromStdString(texts[c]));
    }
    pItem->setData(0, kRoleObject, QVariant::fromValue(reinterpret_cast<quintptr>(pObject)));
    ApplyImage(pItem, nImage);
    insertTopLevelItem(nInsert, pItem);

    const int nColumns = columnCount();
    // New rows always take their ascending place: before the first row that
    // sorts after them, by the sort column first, then the others in turn.
    const auto sortsBefore = [&](int n) {
        int nResult = 0;
        if (m_nSortColumn >= 0 && m_nSortColumn < nColumns) {
            nResult = CompareItems(m_nSortColumn, nInsert, n);
        }
        for (int c = 0; nResult == 0 && c < nColumns; ++c) {
            if (c != m_nSortColumn) {
                nResult = CompareItems(c, nInsert, n);
            }
        }
        return nResult < 0;
    };
    int nRow = nInsert;
    if (m_bRowsInAddOrder) {
        int nLow = 0;
        int nHigh = nInsert;
        while (nLow < nHigh) {
            const int nMiddle = nLow + (nHigh - nLow) / 2;
            if (sortsBefore(nMiddle)) {
                nHigh = nMiddle;
            } else {
                nLow = nMiddle + 1;
            }
        }
        nRow = nLow;
    } else {
        for (int n = 0; n < nInsert; ++n) {
            if (sortsBefore(n)) {
                nRow = n;
                break;
            }
        }
    }
    if (nRow < nInsert && !MoveRow(nInsert, nRow)) {
        return -1;
    }
    m_nCurrentRow = nRow;
    m_nDataRowCount = nInsert + 1;
    m_nNextColumn = static_cast<int>(texts.size());
    return nRow;
}

void CTableBox::SetNextSubItemText(const std::string& strText) {
    if (m_nCurrentRow < m_nDataRowCount) {
        m_bRowsInAddOrder = false;
    }
    QTreeWidgetItem* pItem = topLevelItem(m_nCurrentRow);
    if (pItem != nullptr && m_nNextColumn < columnCount()) {
        pItem->setText(m_nNextColumn, QString::fromStdString(strText));
    }
    ++m_nNextColumn;
}

void CTableBox::SetItemImage(int nRow, int nImage) {
    if (QTreeWidgetItem* pItem = topLevelItem(nRow)) {
        ApplyImage(pItem, nImage);
    }
}

int CTableBox::GetItemImage(int nRow) const {
    const QTreeWidgetItem* pItem = topLevelItem(nRow);
    return pItem != nullptr ? pItem->data(0, kRoleRowImage).toInt() : -1;
}

std::string CTableBox::GetItemText(int nRow, int nColumn) const {
    const QTreeWidgetItem* pItem = topLevelItem(nRow);
    return pItem != nullptr ? pItem->text(nColumn).toStdString() : std::string();
}

void CTableBox::SetItemText(int nRow, int nColumn, const std::string& strText) {
    if (nRow < m_nDataRowCount) {
        m_bRowsInAddOrder = false;
    }
    if (QTreeWidgetItem* pItem = topLevelItem(nRow)) {
        pItem->setText(nColumn, QString::fromStdString(strText));
    }
}

CObject* CTableBox::GetItemData(int nRow) const {
    const QTreeWidgetItem* pItem = topLevelItem(nRow);
    return pItem != nullptr ? reinterpret_cast<CObject*>(pItem->data(0, kRoleObject).value<quintptr>()) : nullptr;
}

void CTableBox::SetItemData(int nRow, CObject* pObject) {
    if (nRow < m_nDataRowCount) {
        m_bRowsInAddOrder = false;
    }
    if (QTreeWidgetItem* pItem = topLevelItem(nRow)) {
        pItem->setData(0, kRoleObject, QVariant::fromValue(reinterpret_cast<quintptr>(pObject)));
    }
}

bool CTableBox::IsItemSelected(int nRow) const {
    const QTreeWidgetItem* pItem = topLevelItem(nRow);
    return pItem != nullptr && pItem->isSelected();
}

bool CTableBox::IsItemFocused(int nRow) const {
    const QTreeWidgetItem* pItem = topLevelItem(nRow);
    return pItem != nullptr && currentItem() == pItem;
}

int CTableBox::GetSelectedCount() const {
    int nCount = 0;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        nCount += topLevelItem(i)->isSelected() ? 1 : 0;
    }
    return nCount;
}

int CTableBox::GetSelectionMark() const {
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->data(0, kRoleMark).toBool()) {
            return i;
        }
    }
    return -1;
}

void CTableBox::SetSelectionMark(int nRow) {
    for (int i = 0; i < topLevelItemCount(); ++i) {
        topLevelItem(i)->setData(0, kRoleMark, i == nRow);
    }
}

int CTableBox::HitTestRow(const QPoint& ptViewport) const {
    const QTreeWidgetItem* pItem = itemAt(ptViewport);
    return pItem != nullptr ? indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(pItem)) : -1;
}

QRect CTableBox::GetItemRect(int nRow) const {
    QTreeWidgetItem* pItem = topLevelItem(nRow);
    return pItem != nullptr ? visualItemRect(pItem) : QRect();
}

int CTableBox::FindRowOfObject(const CObject* pObject) const {
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (GetItemData(i) == pObject) {
            return i;
        }
    }
    return -1;
}

void CTableBox::SelectSingleItem(int nRow) {
    QTreeWidgetItem* pItem = topLevelItem(nRow);
    if (pItem == nullptr) {
        return;
    }
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (i != nRow) {
            topLevelItem(i)->setSelected(false);
        }
    }
    pItem->setSelected(true);
    SetSelectionMark(nRow);
    setCurrentItem(pItem, 0, QItemSelectionModel::NoUpdate);
}

void CTableBox::mousePressEvent(QMouseEvent* pEvent) {
    const int nRow = HitTestRow(pEvent->position().toPoint());
    const bool bWasSelected = IsItemSelected(nRow);
    QTreeWidget::mousePressEvent(pEvent);
    if (nRow < 0) {
        return;
    }
    const Qt::KeyboardModifiers modifiers = pEvent->modifiers();
    if (pEvent->button() == Qt::LeftButton) {
        if ((modifiers & Qt::ShiftModifier) == 0) {
            SetSelectionMark(nRow);
        }
    } else if (pEvent->button() == Qt::RightButton) {
        // A right press selects an unselected row alone; a selected one
        // keeps the selection and the mark.
        if (!bWasSelected && (modifiers & (Qt::ShiftModifier | Qt::ControlModifier)) == 0) {
            SetSelectionMark(nRow);
        }
    }
}

void CTableBox::keyPressEvent(QKeyEvent* pEvent) {
    QTreeWidgetItem* const pBefore = currentItem();
    QTreeWidget::keyPressEvent(pEvent);
    QTreeWidgetItem* const pAfter = currentItem();
    if (pAfter != nullptr && pAfter != pBefore &&
        (pEvent->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) == 0) {
        SetSelectionMark(indexOfTopLevelItem(pAfter));
    }
}

void CTableBox::SetItemSelected(int nRow, bool bSelected) {
    if (QTreeWidgetItem* pItem = topLevelItem(nRow)) {
        pItem->setSelected(bSelected);
    }
}

void CTableBox::DeleteRow(int nRow, bool bReselect) {
    if (nRow < 0 || nRow >= topLevelItemCount()) {
        return;
    }
    delete takeTopLevelItem(nRow);
    if (nRow < m_nDataRowCount) {
        --m_nDataRowCount;
    }
    if (bReselect) {
        const int nNew = std::min(nRow, topLevelItemCount() - 1);
        if (QTreeWidgetItem* pItem = topLevelItem(nNew)) {
            SetSelectionMark(nNew);
            pItem->setSelected(true);
            setCurrentItem(pItem, 0, QItemSelectionModel::NoUpdate);
        }
    }
}

void CTableBox::DeleteAllRows() {
    clear();
    m_nDataRowCount = 0;
    m_bRowsInAddOrder = true;
}

void CTableBox::SetColumnOrder(int nCount, const int* pOrder) {
    if (pOrder == nullptr || nCount != columnCount()) {
        return;
    }
    std::vector<bool> seen(static_cast<std::size_t>(nCount), false);
    for (int i = 0; i < nCount; ++i) {
        const int nIndex = pOrder[i];
        if (nIndex < 0 || nIndex >= nCount || seen[static_cast<std::size_t>(nIndex)]) {
            return;
        }
        seen[static_cast<std::size_t>(nIndex)] = true;
    }
    // Position i shows column pOrder[i].
    for (int i = 0; i < nCount; ++i) {
        header()->moveSection(header()->visualIndex(pOrder[i]), i);
    }
}

std::vector<int> CTableBox::GetColumnOrder() const {
    std::vector<int> order(static_cast<std::size_t>(columnCount()));
    for (int i = 0; i < columnCount(); ++i) {
        order[static_cast<std::size_t>(i)] = header()->logicalIndex(i);
    }
    return order;
}

int CTableBox::CompareItems(int nColumn, int nRowA, int nRowB) {
    const std::string strA = GetItemText(nRowA, nColumn);
    const std::string strB = GetItemText(nRowB, nColumn);
    if ((GetColumnFormat(nColumn) & 3) == LVCFMT_RIGHT) {
        const long long nA = LeadingNumber(strA);
        const long long nB = LeadingNumber(strB);
        return nA < nB ? -1 : (nA > nB ? 1 : 0);
    }
    const int nResult = std::strcmp(strA.c_str(), strB.c_str());
    return nResult < 0 ? -1 : (nResult > 0 ? 1 : 0);
}

bool CTableBox::MoveRow(int nFrom, int nTo) {
    QTreeWidgetItem* pItem = topLevelItem(nFrom);
    if (pItem == nullptr) {
        return false;
    }
    const bool bSelected = pItem->isSelected();
    const bool bFocused = currentItem() == pItem;
    takeTopLevelItem(nFrom);
    insertTopLevelItem(nTo, pItem);
    pItem->setSelected(bSelected);
    if (bFocused) {
        setCurrentItem(pItem, 0, QItemSelectionModel::NoUpdate);
    }
    return true;
}

void CTableBox::SortByColumn(int nColumn) {
    if (nColumn < 0 || nColumn >= columnCount()) {
        return;
    }
    m_bRowsInAddOrder = false;
    if (nColumn == m_nSortColumn) {
        m_bSortDescending = !m_bSortDescending;
    } else {
        m_bSortDescending = false;
        m_nSortColumn = nColumn;
    }
    const int nRows = std::min(topLevelItemCount(), m_nDataRowCount);
    for (int r = 1; r < nRows; ++r) {
        for (int i = 0; i < r; ++i) {
            const int nResult = CompareItems(nColumn, r, i);
            if (m_bSortDescending ? nResult > 0 : nResult < 0) {
                if (!MoveRow(r, i)) {
                    setFocus();
                    return;
                }
                break;
            }
        }
    }
    setFocus();
}
