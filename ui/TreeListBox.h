#pragma once
// An owner-drawn list box that shows a collapsible tree: each shown node is
// one row, drawn with indentation, dotted connecting lines, a plus/minus
// button and an optional image before its text. The box owns the nodes;
// expanding a node inserts rows for its children, collapsing removes them.

#include "platform/base/WinTypes.h"

#include <QListWidget>
#include <QSize>

class CMaskedBitmap;
class CTreeListItem;

// Tree styles.
constexpr WORD TLS_HASBUTTONS = 1;
constexpr WORD TLS_HASLINES = 2;
constexpr WORD TLS_LINESATROOT = 4;

// Parts of a row (HitTestItem).
constexpr int TLHT_NOWHERE = 0;
constexpr int TLHT_BUTTON = 1;
constexpr int TLHT_IMAGE = 2;
constexpr int TLHT_TEXT = 3;
constexpr int TLHT_ROW = 4;

class CTreeListBox : public QListWidget {
    Q_OBJECT

public:
    explicit CTreeListBox(QWidget* pParent = nullptr);
    ~CTreeListBox() override;

    // Links the item in under the parent after pAfter (at the head without
    // it); a top-level item gets its row at once. The item.
    CTreeListItem* InsertItem(CTreeListItem* pParent, CTreeListItem* pAfter, CTreeListItem* pItem, int nItemData);
    void DeleteItem(CTreeListItem* pItem);
    void DeleteAllItems();
    // Depth 1: one level; n: n levels; 0: the whole subtree.
    void Expand(CTreeListItem* pItem, int nDepth);
    void Collapse(CTreeListItem* pItem);
    int FindItemIndex(const CTreeListItem* pItem) const;
    void SetImageStrip(const CMaskedBitmap* pStrip);
    int HitTest(const QPoint& ptClient) const;
    int HitTestItem(int nRow, const QPoint& ptClient) const;
    void GetItemTextRect(int nRow, QRect& rect) const;
    void GetItemIndents(const CTreeListItem* pItem, int& nButtonWidth, int& nIndent, int& nImageWidth) const;
    CTreeListItem* GetFirstRootItem() const { return m_pFirstRoot; }
    CTreeListItem* GetItem(int nRow) const;
    int GetRowCount() const { return count(); }

    WORD GetTreeStyle() const { return m_wTreeStyle; }
    void SetTreeStyle(WORD wStyle) { m_wTreeStyle = wStyle; }
    int GetIndent() const { return m_nIndent; }
    int GetItemHeight();
    QSize GetButtonSize() const { return m_sizeButton; }

    // Draws one row (the owner-draw request).
    void DrawRow(QPainter& painter, const QRect& rectRow, int nRow, bool bSelected, bool bFocus);

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;
    // What a click on a node's button and a double click on its image or
    // text do: a collapsed node expands one level, an expanded one
    // collapses.
    virtual void Toggle(CTreeListItem* pItem);

private:
    void ComputeItemHeight();
    void ApplyItemHeight();
    void InsertRow(int nRow, CTreeListItem* pItem);
    void DrawLinesAndButton(QPainter& painter, const QRect& rectRow, const CTreeListItem* pItem);
    QRect ButtonRect(const QRect& rectRow, const CTreeListItem* pItem) const;

    WORD m_wTreeStyle = TLS_HASBUTTONS | TLS_HASLINES;
    int m_nTextHeight = 0;
    int m_nItemHeight = 0;
    int m_nIndent = 18;
    QSize m_sizeButton{9, 9};
    const CMaskedBitmap* m_pImageStrip = nullptr;
    CTreeListItem* m_pFirstRoot = nullptr;
    CTreeListItem* m_pLastRoot = nullptr;
};
