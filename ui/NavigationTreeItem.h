#pragma once
// The data of a navigation-tree node: the table type the table pane shows
// for it and the data object that table works on (not owned; null for the
// fixed nodes). The table pane reads it as its node data.

#include "platform/base/Object.h"
#include "ui/MainTableView.h"

class CNavigationTreeItem : public CObject, public TableNodeData {
public:
    DECLARE_RUNTIME_CLASS(CNavigationTreeItem)

    CNavigationTreeItem(int nTableType, CObject* pObject);
    ~CNavigationTreeItem() override;

    CNavigationTreeItem(const CNavigationTreeItem&) = delete;
    CNavigationTreeItem& operator=(const CNavigationTreeItem&) = delete;

    int GetTableType() const { return nTableType; }
    CObject* GetObject() const { return pObject; }
};
