#pragma once
// The table pane: holds one table at a time, made by table type for the
// node selected in the navigation tree, lays it out with the form some
// tables host, and relays notification records between its table and the
// main window. A table that goes away is deleted once control is back in
// the event loop, so that it is never deleted while a record it sent is
// still being handled.

#include "ui/ViewPane.h"

#include <QWidget>

#include <functional>

class CMainTableBox;
class CObject;
class CParameterDlg;

// The node data of a navigation-tree item: its table type and object.
struct TableNodeData {
    int nTableType = 0;
    CObject* pObject = nullptr;
};

class CMainTableView : public QWidget, public IViewPane {
    Q_OBJECT

public:
    // Makes the table class of a type with the node's object.
    using TableFactory = std::function<CMainTableBox*(int nTableType, CObject* pObject)>;

    explicit CMainTableView(QWidget* pParent = nullptr);
    ~CMainTableView() override;

    // Replaces the current table with one of the type.
    void CreateTableBox(int nTableType, CObject* pObject);
    // The node's type and object; type 0 and no object without node data.
    void ShowTreeItem(const TableNodeData* pNodeData);
    void SetTableType(const TableNodeData* pNodeData);
    void DeleteTableBox();

    int OnViewNotify(VIEWNOTIFY* pNotify) override;

    CMainTableBox* GetTableBox() const { return m_pTableBox; }
    int GetTableType() const { return m_nTableType; }
    void SetNavigationTree(INavigationTree* pTree) { m_pNavigationTree = pTree; }
    // Where the pane's own records go; by default the dialog three windows
    // up (splitter, frame, dialog).
    void SetDispatcher(CParameterDlg* pDispatcher) { m_pDispatcher = pDispatcher; }

    // The classes of the table types; a later registration replaces an
    // earlier one. Types without a class get the plain table.
    static void RegisterTableClass(int nTableType, TableFactory factory);
    static bool IsTableClassRegistered(int nTableType);

    // Lays out the table and its hosted form in the pane.
    void LayoutTable();

protected:
    void resizeEvent(QResizeEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;

private:
    CParameterDlg* FindDispatcher() const;

    INavigationTree* m_pNavigationTree = nullptr;
    int m_nTableType = 0;
    CMainTableBox* m_pTableBox = nullptr;
    CParameterDlg* m_pDispatcher = nullptr;
};
