#pragma once
// The group tree of the host project in the left pane of the insertion
// window: the project, its main groups, their middle groups and, loaded
// when their group is first expanded, the sub groups. Selecting a node makes
// the right pane show the table of the node's children (or, for a sub
// group, the device objects linked to it). New main, middle and sub groups
// are made in the host project by dropping a symbol of the insertion
// dialog's strip onto the tree or onto the right pane's table.

#include "model/StringLongObject.h"
#include "platform/base/WinTypes.h"
#include "ui/SelectionTreeListBox.h"

#include <QFont>

#include <string>

class CEtsDataAccess;
class CListItem;
class CMainTableView;
class QStyleOptionViewItem;
struct GroupItemData;

// The item numbers from the level below the project down to the node that
// was selected when the tree was last closed; -1 for levels not used. Kept
// for the life of the process, so the next tree opens where the last one
// was left.
extern int g_anLastGroupPath[3];

class CGroupAddressSelectionListBox : public CSelectionTreeListBox {
    Q_OBJECT

public:
    static constexpr UINT kImageStripId = 125;
    static constexpr int kImageMainGroup = 0;
    static constexpr int kImageMiddleGroup = 1;
    static constexpr int kImageSubGroup = 2;
    static constexpr int kImageProject = 3;
    static constexpr int kImageProjectSelected = 4;

    // Node kinds: the table types the right pane shows for them.
    static constexpr int kKindProject = 16;
    static constexpr int kKindMainGroup = 17;  // a main group with middle groups
    static constexpr int kKindGroup = 18;      // a group with sub groups
    static constexpr int kKindSubGroup = 19;

    // The strip's symbols.
    static constexpr int kDragMainGroup = 400;
    static constexpr int kDragMiddleGroup = 401;
    static constexpr int kDragSubGroup = 402;

    // Builds the tree from the host project and goes back to the node of
    // g_anLastGroupPath.
    explicit CGroupAddressSelectionListBox(QWidget* pParent);
    ~CGroupAddressSelectionListBox() override;

    // The right pane (not owned); it shows the table of the current row at
    // once (row 0 becomes current when there is none).
    void SetTableView(CMainTableView* pTableView);
    CMainTableView* GetTableView() const { return m_pTableView; }

    void FillFromEts(CEtsDataAccess* pAccess);

    // Make a group in the host project under the item (the project, a main
    // group of three-level mode, a group with sub groups) through the group
    // dialogs, and its node in the tree. Refused quietly for an item of
    // another kind.
    void CreateMainGroup(CEtsDataAccess* pAccess, CListItem* pItem);
    void CreateMiddleGroup(CEtsDataAccess* pAccess, CListItem* pItem);
    void CreateSubGroup(CEtsDataAccess* pAccess, CListItem* pItem);

    // Whether the node under the screen point takes the strip's symbol.
    bool IsDropTarget(int nDragType, const QPoint& ptScreen) const;
    // A drop on the tree: creates under the node at the point. False when
    // that node does not take the symbol.
    bool DropOnTree(int nDragType, const QPoint& ptScreen);
    // A drop on the right pane's table: creates under the current node.
    void DropOnTable(int nDragType);

    // Expands the item one level, first loading the sub groups of a group
    // whose sub groups were never loaded. Nothing for a leaf.
    void ExpandWithLoading(CTreeListItem* pItem);

    // The number at the start of a node's text ("[12] Licht" gives 12).
    static int GetItemNumber(const CTreeListItem* pItem);
    static GroupItemData* GetGroupData(const CTreeListItem* pItem);
    CListItem* GetCurrentItem() const;
    // 2 or 3, as the tree was built.
    int GetAddressLevels() const { return m_nLevels; }

    // Draws one row: the selection colours only while the list has the
    // focus, and a frame around image and text.
    void DrawSelectionRow(QPainter& painter, const QStyleOptionViewItem& option, int nRow) override;

protected:
    bool event(QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;
    // The tree loads a group's sub groups before it expands it.
    void Toggle(CTreeListItem* pItem) override;

private:
    void RestorePath();
    void StorePath() const;
    void LoadSubGroups(CTreeListItem* pItem);
    // Links the item in under the parent after the last sibling whose number
    // is not greater than its own.
    CTreeListItem* InsertSorted(CTreeListItem* pParent, CListItem* pItem, bool bLeaf);
    // Inserts a created node so that it gets its row: the expanded nodes of
    // the parent's subtree stay expanded, the parent is expanded when asked
    // or when it was.
    void InsertCreatedItem(CTreeListItem* pParent, CListItem* pItem, bool bExpandParent);
    void SelectItem(CTreeListItem* pItem);
    // The right pane shows the item's table, unless it shows it already.
    void ShowTable(CTreeListItem* pItem);
    void ShowCurrentTable();
    void RunCreate(CEtsDataAccess* pAccess, int nDragType, CListItem* pItem);
    bool MoveFocusOut(bool bNext);
    void UpdateProjectImage();
    QWidget* Owner() const;

    CMainTableView* m_pTableView = nullptr;
    QFont m_font;
    int m_nLevels = 3;
    // The node whose table the right pane shows, and the object its table
    // was made with (the node's host id).
    CTreeListItem* m_pShownItem = nullptr;
    CStringLongObject m_tableNode;
};
