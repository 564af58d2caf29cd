#pragma once
// The left pane of a row of the main window's splitter frame: holds the
// navigation tree (control id 1) with a 3-pixel strip at its left, and
// relays notification records between the tree and the main window.

#include "ui/NavigationTree.h"
#include "ui/ViewPane.h"

#include <QWidget>

class CParameterDlg;
struct VIEWNOTIFY;

class CMainTreeView : public QWidget, public IViewPane {
    Q_OBJECT

public:
    static constexpr UINT kTreeId = 1;
    static constexpr int kLeftStrip = 3;

    explicit CMainTreeView(QWidget* pParent = nullptr);
    ~CMainTreeView() override;

    CNavigationTree* GetTree() { return &m_wndTree; }
    const CNavigationTree* GetTree() const { return &m_wndTree; }

    // A record of another pane goes to the tree; one of this view's tree
    // goes up to the main window.
    void RouteNotification(VIEWNOTIFY* pNotify);
    int OnViewNotify(VIEWNOTIFY* pNotify) override;
    bool IsTreePane() const override { return true; }

    // Where the tree's records go; by default the dialog above the frame.
    void SetDispatcher(CParameterDlg* pDispatcher) { m_pDispatcher = pDispatcher; }
    CParameterDlg* FindDispatcher() const;

protected:
    void resizeEvent(QResizeEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;

private:
    CNavigationTree m_wndTree;
    CParameterDlg* m_pDispatcher = nullptr;
};
