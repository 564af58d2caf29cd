#pragma once
// The navigation tree of the main window: fixed nodes for the data sets of
// the opened device plus one node per day routine and per quantity. The
// selected node decides the table that the table pane of the same row shows;
// the tree follows the data through the notification records of the other
// panes, and Tab hands the focus to the frame, which moves it to the next
// pane.

#include "platform/base/WinTypes.h"
#include "ui/TreeCtrlEx.h"
#include "ui/ViewPane.h"

#include <string>

class CDayRoutine;
class CMainTableView;
class CMainTreeView;
class CNavigationTreeItem;
class CObject;
class CQuantity;
struct VIEWNOTIFY;

class CNavigationTree : public CTreeCtrlEx, public INavigationTree {
    Q_OBJECT

public:
    // Table types of the nodes.
    static constexpr int kTypeGeneral = 5;
    static constexpr int kTypeTimeProgram = 1;
    static constexpr int kTypeQuantities = 2;
    static constexpr int kTypeGroupAddresses = 3;
    static constexpr int kTypeUtilization = 4;
    static constexpr int kTypeDayRoutines = 6;
    static constexpr int kTypeWeekRoutine = 7;
    static constexpr int kTypeSummertimes = 8;
    static constexpr int kTypeSpecialDays = 9;
    static constexpr int kTypeOverview = 10;
    static constexpr int kTypeDayRoutine = 11;
    static constexpr int kTypeQuantity = 12;
    static constexpr int kTypeQuantityTriggers = 13;
    static constexpr int kTypeQuantityMembers = 14;

    // Pictures: folder, selected folder, data node.
    static constexpr UINT kImageBitmap = 124;
    static constexpr int kImageWidth = 20;
    static constexpr int kImageFolder = 0;
    static constexpr int kImageFolderSelected = 1;
    static constexpr int kImageData = 2;

    explicit CNavigationTree(QWidget* pParent = nullptr);
    ~CNavigationTree() override;

    // Links the table pane of the same row and builds the tree.
    void Attach(CMainTableView* pTableView, int nReserved = 0);
    CMainTableView* GetTableView() const { return m_pTableView; }
    void SetTableView(CMainTableView* pTableView) { m_pTableView = pTableView; }

    // Rebuilds every node from the central object and selects the time
    // program node.
    void BuildTree();
    // Selects the item (null keeps the selection); when the selection is not
    // the current node any more, it becomes the current node and the table
    // pane shows its table. The selected item.
    QTreeWidgetItem* SelectNode(QTreeWidgetItem* hItem);
    // Applies an added, removed or changed record of another pane.
    void RefreshBranch(VIEWNOTIFY* pNotify);
    // Null: the selected node.
    void Expand(QTreeWidgetItem* hItem);
    void Collapse(QTreeWidgetItem* hItem);
    void ExpandAll(QTreeWidgetItem* hItem);
    void GoToParent();
    void ToggleNode();
    void InsertDayRoutineNode(CDayRoutine* pDayRoutine);
    void InsertQuantityNode(CQuantity* pQuantity);
    void RemoveNode(QTreeWidgetItem* hItem);
    // The commands the tree takes itself; false for others.
    bool OnCommand(UINT nId);

    QTreeWidgetItem* GetCurrentNode() const { return m_hCurrentNode; }
    QTreeWidgetItem* GetGeneralNode() const { return m_hGeneralNode; }
    QTreeWidgetItem* GetTimeProgramNode() const { return m_hTimeProgramNode; }
    QTreeWidgetItem* GetQuantitiesNode() const { return m_hQuantitiesNode; }
    QTreeWidgetItem* GetGroupAddressNode() const { return m_hGroupAddressNode; }
    QTreeWidgetItem* GetUtilizationNode() const { return m_hUtilizationNode; }
    QTreeWidgetItem* GetDayRoutinesNode() const { return m_hDayRoutinesNode; }
    QTreeWidgetItem* GetWeekRoutineNode() const { return m_hWeekRoutineNode; }
    QTreeWidgetItem* GetSummertimeNode() const { return m_hSummertimeNode; }
    QTreeWidgetItem* GetSpecialDaysNode() const { return m_hSpecialDaysNode; }
    QTreeWidgetItem* GetOverviewNode() const { return m_hOverviewNode; }
    // The node data of an item; null for none.
    CNavigationTreeItem* GetNodeData(const QTreeWidgetItem* hItem) const;
    // The node under the parent whose type and object match; null for none.
    QTreeWidgetItem* FindChildNode(QTreeWidgetItem* hParent, int nTableType, const CObject* pObject) const;

    bool AreNotificationsOn() const { return m_bNotificationsOn; }
    void SetNotificationsOn(bool bOn) { m_bNotificationsOn = bOn; }

    // The node captions of day routines and quantities: "%02d: %s".
    static std::string MakeNodeCaption(int nNumber, const std::string& strName);

    // INavigationTree
    void SelectParentNode() override;
    QWidget* GetTreeWindow() override { return this; }

protected:
    bool event(QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;
    void OnDeleteItem(QTreeWidgetItem* hItem) override;

private:
    enum class HitPart { Nowhere, Button, Item };

    QTreeWidgetItem* InsertFixedNode(UINT nCaptionId, const char* pszFallback, int nTableType,
                                     QTreeWidgetItem* hParent);
    QTreeWidgetItem* InsertNumberedNode(QTreeWidgetItem* hParent, int nTableType, CObject* pObject, int nNumber,
                                        const std::string& strName);
    void ReselectSelectedNode();
    void SendActivation(int nValue);
    void SendNotification(VIEWNOTIFY* pNotify);
    CMainTreeView* GetTreeView() const;
    QWidget* GetFrame() const;
    HitPart HitTest(const QPoint& ptClient, QTreeWidgetItem** phItem) const;
    void ExpandAllBelow(QTreeWidgetItem* hItem);
    void ShowHelp();

    CMainTableView* m_pTableView = nullptr;
    QTreeWidgetItem* m_hCurrentNode = nullptr;
    QTreeWidgetItem* m_hGeneralNode = nullptr;
    QTreeWidgetItem* m_hTimeProgramNode = nullptr;
    QTreeWidgetItem* m_hQuantitiesNode = nullptr;
    QTreeWidgetItem* m_hGroupAddressNode = nullptr;
    QTreeWidgetItem* m_hUtilizationNode = nullptr;
    QTreeWidgetItem* m_hDayRoutinesNode = nullptr;
    QTreeWidgetItem* m_hWeekRoutineNode = nullptr;
    QTreeWidgetItem* m_hSummertimeNode = nullptr;
    QTreeWidgetItem* m_hSpecialDaysNode = nullptr;
    QTreeWidgetItem* m_hOverviewNode = nullptr;
    bool m_bNotificationsOn = true;
    // The left press was taken by the tree itself (a node or its button):
    // moves and the release of that press select nothing else.
    bool m_bPressTaken = false;
};
