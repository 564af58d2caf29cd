#include "ui/TreeCtrlEx.h"

#include "platform/base/Object.h"

#include <QHeaderView>
#include <QIcon>

#include <cstdint>
#include <memory>

namespace {

constexpr int kOwningItemType = QTreeWidgetItem::UserType + 103;
constexpr int kRoleItemImage = Qt::UserRole + 1;
constexpr int kRoleSelectedImage = Qt::UserRole + 2;

// An item that owns its data object. Its children go before its data, so a
// child's data never outlives the parent's.
class OwningItem : public QTreeWidgetItem {
public:
    explicit OwningItem(CObject* pData) : QTreeWidgetItem(kOwningItemType), m_pData(pData) {}
    ~OwningItem() override {
        const QList<QTreeWidgetItem*> children = takeChildren();
        qDeleteAll(children);
        m_pData.reset();
    }
    OwningItem(const OwningItem&) = delete;
    OwningItem& operator=(const OwningItem&) = delete;

    CObject* Data() const { return m_pData.get(); }

private:
    std::unique_ptr<CObject> m_pData;
};

// Marker values only; never dereferenced.
QTreeWidgetItem* MarkerItem(std::uintptr_t nValue) {
    return reinterpret_cast<QTreeWidgetItem*>(nValue);
}

}  // namespace

QTreeWidgetItem* const CTreeCtrlEx::TVI_FIRST = MarkerItem(~std::uintptr_t{0xFFFE});
QTreeWidgetItem* const CTreeCtrlEx::TVI_LAST = MarkerItem(~std::uintptr_t{0xFFFD});

CTreeCtrlEx::CTreeCtrlEx(QWidget* pParent) : QTreeWidget(pParent) {
    setColumnCount(1);
    setHeaderHidden(true);
    header()->setStretchLastSection(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
}

CTreeCtrlEx::~CTreeCtrlEx() {
    // The items' destructors delete the data objects.
    clear();
}

bool CTreeCtrlEx::IsOwnItem(const QTreeWidgetItem* hItem) const {
    return hItem != nullptr && hItem->treeWidget() == this;
}

QTreeWidgetItem* CTreeCtrlEx::InsertItem(const std::string& strText, int nImage, int nSelectedImage, CObject* pData,
                                         QTreeWidgetItem* hParent, QTreeWidgetItem* hInsertAfter) {
    if (hParent != nullptr && !IsOwnItem(hParent)) {
        delete pData;
        return nullptr;
    }
    const int nCount = hParent != nullptr ? hParent->childCount() : topLevelItemCount();
    int nIndex = nCount;
    if (hInsertAfter == TVI_FIRST) {
        nIndex = 0;
    } else if (hInsertAfter != TVI_LAST && hInsertAfter != nullptr) {
        if (!IsOwnItem(hInsertAfter) || hInsertAfter->parent() != hParent) {
            delete pData;
            return nullptr;
        }
        nIndex = (hParent != nullptr ? hParent->indexOfChild(hInsertAfter) : indexOfTopLevelItem(hInsertAfter)) + 1;
    }
    auto* pItem = new OwningItem(pData);
    pItem->setText(0, QString::fromStdString(strText));
    pItem->setData(0, kRoleItemImage, nImage);
    pItem->setData(0, kRoleSelectedImage, nSelectedImage);
    pItem->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
    ApplyImages(pItem);
    if (hParent != nullptr) {
        hParent->insertChild(nIndex, pItem);
        SetHasChildren(hParent, true);
    } else {
        insertTopLevelItem(nIndex, pItem);
    }
    return pItem;
}

void CTreeCtrlEx::DeleteAllItems() {
    while (topLevelItemCount() > 0) {
        DeleteItem(topLevelItem(0));
    }
}

void CTreeCtrlEx::DeleteItem(QTreeWidgetItem* hItem) {
    if (!IsOwnItem(hItem)) {
        return;
    }
    while (hItem->childCount() > 0) {
        DeleteItem(hItem->child(0));
    }
    OnDeleteItem(hItem);
    // The item's destructor deletes its data object.
    delete hItem;
}

void CTreeCtrlEx::DeleteItemAndFixParent(QTreeWidgetItem* hItem) {
    if (hItem == nullptr) {
        DeleteAllItems();
        return;
    }
    if (!IsOwnItem(hItem)) {
        return;
    }
    QTreeWidgetItem* hParent = hItem->parent();
    DeleteItem(hItem);
    if (hParent != nullptr && hParent->childCount() == 0) {
        SetHasChildren(hParent, false);
    }
}

void CTreeCtrlEx::SetHasChildren(QTreeWidgetItem* hItem, bool bHasChildren) {
    if (hItem != nullptr) {
        hItem->setChildIndicatorPolicy(bHasChildren ? QTreeWidgetItem::ShowIndicator
                                                    : QTreeWidgetItem::DontShowIndicator);
    }
}

bool CTreeCtrlEx::HasNoChildren(QTreeWidgetItem* hItem) const {
    return hItem == nullptr || hItem->childIndicatorPolicy() == QTreeWidgetItem::DontShowIndicator;
}

CObject* CTreeCtrlEx::GetItemData(const QTreeWidgetItem* hItem) const {
    if (hItem == nullptr || hItem->type() != kOwningItemType) {
        return nullptr;
    }
    return static_cast<const OwningItem*>(hItem)->Data();
}

std::string CTreeCtrlEx::GetItemText(const QTreeWidgetItem* hItem) const {
    return hItem != nullptr ? hItem->text(0).toStdString() : std::string();
}

void CTreeCtrlEx::SetItemText(QTreeWidgetItem* hItem, const std::string& strText) {
    if (hItem != nullptr) {
        hItem->setText(0, QString::fromStdString(strText));
    }
}

int CTreeCtrlEx::GetItemImage(const QTreeWidgetItem* hItem) const {
    return hItem != nullptr ? hItem->data(0, kRoleItemImage).toInt() : -1;
}

int CTreeCtrlEx::GetItemSelectedImage(const QTreeWidgetItem* hItem) const {
    return hItem != nullptr ? hItem->data(0, kRoleSelectedImage).toInt() : -1;
}

QTreeWidgetItem* CTreeCtrlEx::GetRootItem() const {
    return topLevelItemCount() > 0 ? topLevelItem(0) : nullptr;
}

QTreeWidgetItem* CTreeCtrlEx::GetParentItem(const QTreeWidgetItem* hItem) const {
    return hItem != nullptr ? hItem->parent() : nullptr;
}

QTreeWidgetItem* CTreeCtrlEx::GetChildItem(const QTreeWidgetItem* hItem) const {
    return hItem != nullptr && hItem->childCount() > 0 ? hItem->child(0) : nullptr;
}

QTreeWidgetItem* CTreeCtrlEx::GetNextSiblingItem(const QTreeWidgetItem* hItem) const {
    if (hItem == nullptr) {
        return nullptr;
    }
    if (QTreeWidgetItem* hParent = hItem->parent()) {
        const int nIndex = hParent->indexOfChild(const_cast<QTreeWidgetItem*>(hItem));
        return nIndex + 1 < hParent->childCount() ? hParent->child(nIndex + 1) : nullptr;
    }
    const int nIndex = indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(hItem));
    return nIndex >= 0 && nIndex + 1 < topLevelItemCount() ? topLevelItem(nIndex + 1) : nullptr;
}

QTreeWidgetItem* CTreeCtrlEx::GetPrevSiblingItem(const QTreeWidgetItem* hItem) const {
    if (hItem == nullptr) {
        return nullptr;
    }
    if (QTreeWidgetItem* hParent = hItem->parent()) {
        const int nIndex = hParent->indexOfChild(const_cast<QTreeWidgetItem*>(hItem));
        return nIndex > 0 ? hParent->child(nIndex - 1) : nullptr;
    }
    const int nIndex = indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(hItem));
    return nIndex > 0 ? topLevelItem(nIndex - 1) : nullptr;
}

QTreeWidgetItem* CTreeCtrlEx::GetSelectedItem() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

QTreeWidgetItem* CTreeCtrlEx::GetFirstVisibleItem() const {
    for (QTreeWidgetItemIterator it(const_cast<CTreeCtrlEx*>(this)); *it != nullptr; ++it) {
        bool bShown = true;
        for (const QTreeWidgetItem* hUp = (*it)->parent(); hUp != nullptr; hUp = hUp->parent()) {
            bShown = bShown && hUp->isExpanded();
        }
        if (bShown) {
            return *it;
        }
    }
    return nullptr;
}

void CTreeCtrlEx::SelectItem(QTreeWidgetItem* hItem) {
    if (hItem == nullptr) {
        clearSelection();
        return;
    }
    if (!IsOwnItem(hItem)) {
        return;
    }
    setCurrentItem(hItem, 0, QItemSelectionModel::ClearAndSelect);
    scrollToItem(hItem);
}

bool CTreeCtrlEx::IsItemExpanded(const QTreeWidgetItem* hItem) const {
    return hItem != nullptr && hItem->isExpanded();
}

void CTreeCtrlEx::ExpandItem(QTreeWidgetItem* hItem) {
    if (IsOwnItem(hItem)) {
        hItem->setExpanded(true);
    }
}

void CTreeCtrlEx::CollapseItem(QTreeWidgetItem* hItem) {
    if (IsOwnItem(hItem)) {
        hItem->setExpanded(false);
    }
}

bool CTreeCtrlEx::IsSameOrBelow(const QTreeWidgetItem* hItem, const QTreeWidgetItem* hAncestor) {
    for (const QTreeWidgetItem* hUp = hItem; hUp != nullptr; hUp = hUp->parent()) {
        if (hUp == hAncestor) {
            return true;
        }
    }
    return false;
}

void CTreeCtrlEx::SetImageList(std::vector<QPixmap> images) {
    m_images = std::move(images);
    if (!m_images.empty()) {
        setIconSize(m_images.front().size());
    }
    for (int i = 0; i < topLevelItemCount(); ++i) {
        ApplyImagesBelow(topLevelItem(i));
    }
}

void CTreeCtrlEx::ApplyImages(QTreeWidgetItem* hItem) const {
    const auto pictureAt = [this](int nIndex) {
        return nIndex >= 0 && static_cast<std::size_t>(nIndex) < m_images.size()
                   ? m_images[static_cast<std::size_t>(nIndex)]
                   : QPixmap();
    };
    const QPixmap normal = pictureAt(hItem->data(0, kRoleItemImage).toInt());
    const QPixmap selected = pictureAt(hItem->data(0, kRoleSelectedImage).toInt());
    if (normal.isNull() && selected.isNull()) {
        hItem->setIcon(0, QIcon());
        return;
    }
    QIcon icon;
    if (!normal.isNull()) {
        icon.addPixmap(normal, QIcon::Normal);
    }
    // A selected item draws its selected picture.
    icon.addPixmap(selected.isNull() ? normal : selected, QIcon::Selected);
    hItem->setIcon(0, icon);
}

void CTreeCtrlEx::ApplyImagesBelow(QTreeWidgetItem* hItem) const {
    ApplyImages(hItem);
    for (int i = 0; i < hItem->childCount(); ++i) {
        ApplyImagesBelow(hItem->child(i));
    }
}

void CTreeCtrlEx::OnDeleteItem(QTreeWidgetItem* /*hItem*/) {}
