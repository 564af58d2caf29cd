#include "ui/NavigationTreeItem.h"

CNavigationTreeItem::CNavigationTreeItem(int nType, CObject* pNodeObject) {
    nTableType = nType;
    pObject = pNodeObject;
}

CNavigationTreeItem::~CNavigationTreeItem() = default;
