#pragma once
// The window of the group-address insertion below its strip: a splitter
// with the host's group tree on the left and the table of the tree's
// current node on the right. It carries the strip's drag questions and
// drops to the tree and passes the focus on in the order tree, button bar,
// table when Tab leaves one of them.

#include "editors/groups/SubGroupTableOwner.h"
#include "platform/base/WinTypes.h"

#include <QMetaObject>
#include <QPointer>
#include <QWidget>

class CGroupAddressSelectionView;
class CMainTableBox;
class CMainTableView;
class QSplitter;

class CGroupAddressInsertWnd : public QWidget {
    Q_OBJECT

public:
    static constexpr UINT kSplitterId = 0xE900;
    static constexpr int kInitialPaneSize = 200;

    CGroupAddressInsertWnd();
    ~CGroupAddressInsertWnd() override;

    // The options of the dialog it belongs to.
    void SetOptions(const SubGroupTableOptions& options) { m_options = options; }
    const SubGroupTableOptions& GetOptions() const { return m_options; }

    // Makes the panes as a visible child of the parent at the rectangle;
    // false when that fails.
    bool Create(QWidget* pParent, const QRect& rect);

    CGroupAddressSelectionView* GetSelectionView() const { return m_pSelectionView; }
    CMainTableView* GetTableView() const { return m_pTableView; }
    QSplitter* GetSplitter() const { return m_pSplitter; }

    // The strip's drag: non-zero when the tree or the right pane's table
    // takes the drag type at the screen point.
    int OnDragQuery(int nDragType, const QPoint& ptScreen) const;
    void OnDragDrop(int nDragType, const QPoint& ptScreen);

    // The window the focus goes to when it leaves pLost by Tab (backwards:
    // Shift+Tab).
    QWidget* GetNextFocusWindow(QWidget* pLost, bool bBackwards) const;

protected:
    void focusInEvent(QFocusEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    QWidget* Tree() const;
    CMainTableBox* Table() const;
    // The table's button bar while it shows.
    QWidget* ButtonBar() const;
    // Widens the tree's pane, up to half the window, so that texts ending
    // at nTextRight show whole; not once the user has moved the splitter.
    void WidenTreePane(int nTextRight);

    SubGroupTableOptions m_options;
    QSplitter* m_pSplitter = nullptr;
    CGroupAddressSelectionView* m_pSelectionView = nullptr;
    CMainTableView* m_pTableView = nullptr;
    bool m_bSplitterMoved = false;
    // The window that had the focus before the frame took it.
    QPointer<QWidget> m_pLastFocus;
    QMetaObject::Connection m_focusConnection;
};
