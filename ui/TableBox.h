#pragma once
// The report-style list control under every list of the editor. Each row
// shows one data object (its item data, never owned); rows 0 .. data row
// count - 1 are data rows kept in their sorted place, rows after them are
// trailing rows (the "new entry" row the tables append). A click on a column
// header sorts the data rows by that column. Each column keeps a format byte:
// its alignment in the low two bits, 0x80 when it was added auto-sized.

#include "platform/base/WinTypes.h"

#include <QIcon>
#include <QTreeWidget>

#include <string>
#include <vector>

class CObject;

// Column alignment of AddColumn's format.
constexpr int LVCFMT_LEFT = 0;
constexpr int LVCFMT_RIGHT = 1;
constexpr int LVCFMT_CENTER = 2;
// Auto-size widths of AddColumn and SetColumnWidth.
constexpr int LVSCW_AUTOSIZE = -1;
constexpr int LVSCW_AUTOSIZE_USEHEADER = -2;
// The widest a column shown at its default width grows to fit its texts:
// a long free text (a description) does not push the others out of sight.
constexpr int kMaxFittedColumnWidth = 300;

class CTableBox : public QTreeWidget {
    Q_OBJECT

public:
    explicit CTableBox(QWidget* pParent = nullptr);
    ~CTableBox() override;

    CTableBox(const CTableBox&) = delete;
    CTableBox& operator=(const CTableBox&) = delete;

    // Appends a column; its index.
    int AddColumn(const std::string& strTitle, int nWidth, int nFormat);
    // Appends a row after all rows (a trailing row); its index, or -1.
    int AddItem(const std::string& strText, CObject* pObject, int nImage);
    // Inserts a data row at its ascending place; its index, or -1.
    int AddRow(const std::vector<std::string>& texts, CObject* pObject, int nImage);
    // Writes the next column of the row last placed.
    void SetNextSubItemText(const std::string& strText);
    void SetItemImage(int nRow, int nImage);
    int GetItemImage(int nRow) const;
    // Only this row selected, and it is the selection mark and focused.
    void SelectSingleItem(int nRow);
    void SetItemSelected(int nRow, bool bSelected);
    void DeleteRow(int nRow, bool bReselect);
    void DeleteAllRows();
    // Applied only when it is a permutation of all columns.
    void SetColumnOrder(int nCount, const int* pOrder);
    std::vector<int> GetColumnOrder() const;

    // The ordering of two rows in one column: right-aligned columns compare
    // their leading numbers, others their texts byte by byte.
    virtual int CompareItems(int nColumn, int nRowA, int nRowB);
    // The header-click sort of the data rows.
    virtual void SortByColumn(int nColumn);

    int GetItemCount() const { return topLevelItemCount(); }
    int GetColumnCount() const { return columnCount(); }
    std::string GetItemText(int nRow, int nColumn) const;
    void SetItemText(int nRow, int nColumn, const std::string& strText);
    CObject* GetItemData(int nRow) const;
    void SetItemData(int nRow, CObject* pObject);
    bool IsItemSelected(int nRow) const;
    bool IsItemFocused(int nRow) const;
    int GetSelectedCount() const;
    // -1 when no row is the mark.
    int GetSelectionMark() const;
    void SetSelectionMark(int nRow);
    // The row under a point of the viewport, -1 when none.
    int HitTestRow(const QPoint& ptViewport) const;
    QRect GetItemRect(int nRow) const;
    // The first row whose item data is the object, -1 when none.
    int FindRowOfObject(const CObject* pObject) const;

    int GetColumnFormat(int nColumn) const;
    int GetColumnWidth(int nColumn) const { return columnWidth(nColumn); }
    void SetColumnWidthEx(int nColumn, int nWidth);
    // The width that shows the text and image of rows nFirst to nLast of
    // the column whole, measured with the control's font; with bTitle its
    // title too.
    int GetContentWidth(int nColumn, int nFirst, int nLast, bool bTitle) const;

    int GetDataRowCount() const { return m_nDataRowCount; }
    int GetCurrentRow() const { return m_nCurrentRow; }
    int GetSortColumn() const { return m_nSortColumn; }
    bool IsSortDescending() const { return m_bSortDescending; }
    int GetDefaultImage() const { return m_nDefaultImage; }
    void SetDefaultImage(int nImage) { m_nDefaultImage = nImage; }
    // The small images of the rows, by index.
    void SetImageList(std::vector<QIcon> images);

protected:
    // The selection mark follows the user as the platform's list keeps it:
    // a press on a row (but for Shift, which extends from the mark) and a
    // move of the focus by keys without Shift or Ctrl make that row the mark.
    void mousePressEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

    void ApplyImage(QTreeWidgetItem* pItem, int nImage) const;
    // Moves a row to another place, keeping what it had.
    bool MoveRow(int nFrom, int nTo);

    std::vector<BYTE> m_arrColumnFormats;
    int m_nCurrentRow = 0;
    int m_nNextColumn = 0;
    int m_nSortColumn = -1;
    bool m_bSortDescending = false;
    int m_nDefaultImage = -1;
    int m_nDataRowCount = 0;
    // The data rows were all placed by AddRow since the table was emptied,
    // so they stand in ascending order and a new row's place can be
    // searched by halves rather than row by row.
    bool m_bRowsInAddOrder = true;
    std::vector<QIcon> m_images;
};
