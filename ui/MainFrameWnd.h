#pragma once
// The child frame that fills the main window's client area: one row, or two
// when the user splits the window, each with the navigation tree on the left
// and the table pane on the right. A vertical splitter holds the rows and
// each row is a horizontal splitter of its two columns; the tree columns of
// both rows keep one width. When a pane hands the frame the focus, the frame
// moves it on to the next pane (Shift: the previous one): tree 1, form 1,
// list 1, tree 2, form 2, list 2.

#include <QPointer>
#include <QWidget>

#include <array>

class CMainFormView;
class CMainTableBox;
class CMainTableView;
class CMainTreeView;
class CNavigationTree;
class CParameterDlg;
class QSplitter;

class CMainFrameWnd : public QWidget {
    Q_OBJECT

public:
    // The panes' initial size; a stored tree width or row height must be
    // above the minimum to replace it.
    static constexpr int kInitialPaneSize = 200;
    static constexpr int kMinPaneSize = 0;
    static constexpr int kMaxRows = 2;

    explicit CMainFrameWnd(CParameterDlg* pMainWindow);
    ~CMainFrameWnd() override;

    CMainFrameWnd(const CMainFrameWnd&) = delete;
    CMainFrameWnd& operator=(const CMainFrameWnd&) = delete;

    // A visible child of the parent at the rectangle with one row (two when
    // split) of tree and table pane, each row's tree linked with its table
    // pane, the stored tree width and row height applied. False on failure.
    bool Create(QWidget* pParent, const QRect& rect, bool bSplit);
    int GetRowCount() const { return m_nRows; }
    CMainTreeView* GetTreeView(int nRow) const;
    CMainTableView* GetTableView(int nRow) const;
    // Off while the frame goes, so that the focus leaving its panes is not
    // moved on.
    void SetFocusCycling(bool bOn) { m_bFocusCycling = bOn; }
    bool IsFocusCycling() const { return m_bFocusCycling; }
    // Stores the tree width (and with two rows the first row's height) in
    // the application profile, ends focus cycling and takes the panes down.
    // The object itself stays for its owner to delete.
    void DestroyWindow();
    bool HasWindow() const { return m_bCreated && !m_bDestroyed; }

    // The splitter of the rows; null before creation and after destruction.
    QSplitter* GetSplitter() const { return m_pSplitter; }
    // The tree column's width and the first row's height as they are now.
    int GetTreeWidth() const;
    int GetFirstRowHeight() const;
    // The window that takes the focus after pLost when the focus passes
    // through the frame; pLost itself when the cycle has nothing else.
    QWidget* GetNextFocusWindow(QWidget* pLost, bool bBackwards) const;

protected:
    void focusInEvent(QFocusEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    struct Row {
        QSplitter* pSplitter = nullptr;
        CMainTreeView* pTreeView = nullptr;
        CMainTableView* pTableView = nullptr;
    };

    CNavigationTree* TreeOf(int nRow) const;
    CMainTableBox* ListOf(int nRow) const;
    CMainFormView* FormOf(int nRow) const;
    QWidget* NextInForm(QWidget* pLost, int nRow, bool bBackwards) const;
    void GiveFocus(QWidget* pWindow, bool bBackwards);
    void KeepColumnsTogether(int nMovedRow);

    CParameterDlg* m_pMainWindow = nullptr;
    QSplitter* m_pSplitter = nullptr;
    std::array<Row, kMaxRows> m_rows{};
    int m_nRows = 0;
    bool m_bFocusCycling = true;
    bool m_bCreated = false;
    bool m_bDestroyed = false;
    // The widget that had the focus last before the frame took it.
    QPointer<QWidget> m_pLastFocus;
    QMetaObject::Connection m_focusConnection;
};
