#pragma once
// A pane of the main window's splitter frame as the notification dispatcher
// sees it: a navigation tree view or a table view. Both take records through
// one entry; a table view relays a record of its own table upwards and hands
// any other to its table.

class QWidget;
struct VIEWNOTIFY;

class IViewPane {
public:
    virtual ~IViewPane() = default;
    // A tree view routes it to its tree, a table view to its table (or up to
    // the main window when its own table sent it). Returns the receiver's
    // answer, 0 when none.
    virtual int OnViewNotify(VIEWNOTIFY* pNotify) = 0;
    // True for a navigation tree view.
    virtual bool IsTreePane() const { return false; }
};

// The navigation tree as the tables and the table pane use it.
class INavigationTree {
public:
    virtual ~INavigationTree() = default;
    // Moves the tree's selection to the parent of its current node.
    virtual void SelectParentNode() = 0;
    // The tree's window (focus goes there when the pane has no table).
    virtual QWidget* GetTreeWindow() = 0;
};
