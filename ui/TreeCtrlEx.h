#pragma once
// A tree control whose items own a data object: deleting an item deletes its
// data object (and those of its subtree), and the control deletes all items
// with their data when it goes. Each item has an image and a selected image
// from the control's image list, and a children indicator of its own that
// decides whether the expand button shows.

#include <QPixmap>
#include <QTreeWidget>

#include <string>
#include <vector>

class CObject;

class CTreeCtrlEx : public QTreeWidget {
    Q_OBJECT

public:
    // The insert-after markers: insert as the parent's first or last child.
    static QTreeWidgetItem* const TVI_FIRST;
    static QTreeWidgetItem* const TVI_LAST;

    explicit CTreeCtrlEx(QWidget* pParent = nullptr);
    ~CTreeCtrlEx() override;

    // Inserts an item with the text, both images and the data object (owned
    // from now on) under the parent (null: at the top level) after hInsertAfter
    // (an item of the parent or a marker), with the children indicator 0. A
    // real parent is marked as having children. Null on failure, and the data
    // object is deleted then.
    QTreeWidgetItem* InsertItem(const std::string& strText, int nImage, int nSelectedImage, CObject* pData,
                                QTreeWidgetItem* hParent = nullptr, QTreeWidgetItem* hInsertAfter = TVI_LAST);
    // Deletes every top-level item with its subtree and data.
    void DeleteAllItems();
    // Deletes the item's children, then its data object, then the item.
    void DeleteItem(QTreeWidgetItem* hItem);
    // Deletes the item (null: all items); a parent left without children is
    // marked as having none.
    void DeleteItemAndFixParent(QTreeWidgetItem* hItem);
    void SetHasChildren(QTreeWidgetItem* hItem, bool bHasChildren);
    bool HasNoChildren(QTreeWidgetItem* hItem) const;

    CObject* GetItemData(const QTreeWidgetItem* hItem) const;
    std::string GetItemText(const QTreeWidgetItem* hItem) const;
    void SetItemText(QTreeWidgetItem* hItem, const std::string& strText);
    int GetItemImage(const QTreeWidgetItem* hItem) const;
    int GetItemSelectedImage(const QTreeWidgetItem* hItem) const;

    // Navigation (null where there is none).
    QTreeWidgetItem* GetRootItem() const;
    QTreeWidgetItem* GetParentItem(const QTreeWidgetItem* hItem) const;
    QTreeWidgetItem* GetChildItem(const QTreeWidgetItem* hItem) const;
    QTreeWidgetItem* GetNextSiblingItem(const QTreeWidgetItem* hItem) const;
    QTreeWidgetItem* GetPrevSiblingItem(const QTreeWidgetItem* hItem) const;
    QTreeWidgetItem* GetSelectedItem() const;
    // The first item that is shown (its ancestors expanded), from the top.
    QTreeWidgetItem* GetFirstVisibleItem() const;
    // Makes the item the selected one (null clears the selection).
    void SelectItem(QTreeWidgetItem* hItem);
    bool IsItemExpanded(const QTreeWidgetItem* hItem) const;
    // Plain expansion and collapse of one item; collapsing leaves the
    // expansion of its children and the selection as they are.
    void ExpandItem(QTreeWidgetItem* hItem);
    void CollapseItem(QTreeWidgetItem* hItem);
    // Whether the item is hItem or lies below it.
    static bool IsSameOrBelow(const QTreeWidgetItem* hItem, const QTreeWidgetItem* hAncestor);

    // The pictures the item images index.
    void SetImageList(std::vector<QPixmap> images);
    const std::vector<QPixmap>& GetImageList() const { return m_images; }

protected:
    // Called for every item (children first) right before it is deleted
    // through this control, while its data object still exists.
    virtual void OnDeleteItem(QTreeWidgetItem* hItem);

private:
    void ApplyImages(QTreeWidgetItem* hItem) const;
    void ApplyImagesBelow(QTreeWidgetItem* hItem) const;
    bool IsOwnItem(const QTreeWidgetItem* hItem) const;

    std::vector<QPixmap> m_images;
};
