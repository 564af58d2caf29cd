#pragma once
// The column header of a tab-stop combo box: a separate window placed
// directly above the box that shows the column titles in the box's display
// order and lets the user resize (style bit 0) and reorder (style bit 1) the
// columns with the mouse.
//
// With an id other than -1 it tells its parent about presses: Notify(0)
// after every press that began inside a column, Notify(5) on a double click;
// code 0 also reaches a command-target parent as a command with the id.

#include "platform/base/WinTypes.h"

#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <string>

class CTabComboBox;
class QPainter;

// Header style bits.
constexpr DWORD THS_RESIZABLE = 0x1;
constexpr DWORD THS_MOVABLE = 0x2;

// HitTest results.
constexpr int THT_NOWHERE = 0;
constexpr int THT_BORDER = 1;
constexpr int THT_COLUMN = 2;

class CTabListHeader : public QWidget {
    Q_OBJECT

public:
    CTabListHeader(UINT nRows, DWORD dwStyle, QWidget* pParent = nullptr);
    ~CTabListHeader() override;

    CTabListHeader(const CTabListHeader&) = delete;
    CTabListHeader& operator=(const CTabListHeader&) = delete;

    void SetStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    DWORD GetStyle() const { return m_dwStyle; }
    UINT GetRows() const { return m_nRows; }
    int GetId() const { return m_nId; }

    // Makes the window as a visible child of the parent at the rectangle.
    virtual BOOL Create(DWORD dwStyle, const QRect& rect, QWidget* pParent, int nId);
    // Places the header in the box's parent over the box's width, its bottom
    // nGap pixels above the box, rows x (entry height + 2) high, and links
    // both. FALSE when the box has no parent.
    BOOL CreateForControl(CTabComboBox* pBox, int nGap, int nId);

    // Places the header again over its box, for a new entry height.
    void Reposition();

    CTabComboBox* GetComboBox() const;
    // The box goes or another header takes it.
    void SetComboBox(CTabComboBox* pBox);

    int GetScrollOffset() const { return m_nScrollOffset; }
    void SetScrollOffset(int nOffset);

    // x of a column's left (or right) edge, over the visible columns in
    // display order; -1 for a column not shown when the right edge is asked.
    int ColumnEdge(int nColumn, bool bRight) const;

    // Draws one title cell.
    virtual void DrawCell(QPainter& painter, const QRect& rcCell, int nColumn, int nRow, const std::string& strText);
    // THT_BORDER with the column left of the border, THT_COLUMN with the
    // column under x (the column count right of all columns), THT_NOWHERE
    // left of the first column.
    virtual int HitTest(int x, int y, int& nColumn, int& nRow) const;

    // Ends any drag without applying it.
    void OnCancelMode();

    // State of a drag, for the owner and the tests.
    int GetDragMode() const { return m_nDragMode; }
    int GetSizeLineX() const { return m_nSizeLineX; }
    int GetMoveMarkerColumn() const { return m_nMoveMarkerColumn; }

signals:
    void Notify(int nCode);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    // The window losing the activation ends a drag, as a cancel-mode would.
    bool event(QEvent* pEvent) override;

    // A press, move or release in header coordinates; the mouse events call
    // them.
    virtual void OnButtonDown(const QPoint& point);
    virtual void OnMouseMove(const QPoint& point);
    virtual void OnButtonUp(const QPoint& point);

    // Whether a release at the point completes a resize inside the header
    // or a move onto another column of the same row.
    bool WouldChangeLayout(const QPoint& point) const;

private:
    void SendNotify(int nCode);
    void UpdateCursor(const QPoint& point);
    void ShowSizeLine(int x);
    void HideSizeLine();
    int RowHeight(int nRow, int* pTop) const;

    QPointer<CTabComboBox> m_pComboBox;
    DWORD m_dwStyle = 0;
    int m_nId = -1;
    int m_nGap = 0;
    int m_nScrollOffset = 0;
    int m_nDragMode = 0;
    int m_nHitColumn = -1;
    int m_nHitRow = -1;
    int m_nDragStartX = 0;
    int m_nSizeLineX = -1;
    int m_nMoveMarkerColumn = -1;
    UINT m_nRows = 1;
    bool m_bPressInColumn = false;
    QPointer<QWidget> m_pSizeLine;
};
