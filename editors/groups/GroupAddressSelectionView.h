#pragma once
// The left pane of the group-address insertion window: a view that holds
// the group tree of the host project (control 1) a few pixels in from its
// left edge. It hands the tree the right pane and carries the strip's drag
// questions and drops to the tree and, where the tree declines, to the
// right pane's table.

#include "platform/base/WinTypes.h"
#include "platform/ui/CmdTarget.h"

#include <QWidget>

class CGroupAddressSelectionListBox;
class CMainTableView;

class CGroupAddressSelectionView : public QWidget, public CCmdTarget {
    Q_OBJECT

public:
    static constexpr UINT kListBoxId = 1;
    // The list's left edge in the view.
    static constexpr int kListLeft = 3;

    explicit CGroupAddressSelectionView(QWidget* pParent = nullptr);
    ~CGroupAddressSelectionView() override;

    // The right pane; it shows the table of the tree's current node at once.
    void SetTableView(CMainTableView* pTableView);
    CGroupAddressSelectionListBox* GetListBox() const { return m_pListBox; }

    // Whether a drop of the strip's symbol at the screen point would be
    // taken: by a fitting node of the tree, else by the right pane's table.
    bool QueryDrop(int nDragType, const QPoint& ptScreen) const;
    // The drop: on a fitting node the group goes under that node; on the
    // table that takes it, under the tree's current node.
    void Drop(int nDragType, const QPoint& ptScreen);

    QWidget* GetCmdTargetWindow() const override { return const_cast<CGroupAddressSelectionView*>(this); }

protected:
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    bool TableTakes(int nDragType, const QPoint& ptScreen) const;

    CGroupAddressSelectionListBox* m_pListBox = nullptr;
    CMainTableView* m_pTableView = nullptr;
};
