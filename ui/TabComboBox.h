#pragma once
// An owner-drawn drop-down list whose entry texts are tab-separated fields,
// drawn as columns of adjustable width and order. A CTabListHeader placed
// above the box shows the column titles and lets the user resize and
// reorder the columns.
//
// Entries are kept as strings with one integer of item data each (see
// platform/ui/ComboBoxData.h). The box is made in code or takes the place of
// a plain combo box of a dialog template (SubclassDlgItem).

#include "platform/base/WinTypes.h"
#include "ui/TabComboItem.h"

#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QIcon>
#include <QPointer>
#include <QRect>

#include <cstdint>
#include <string>
#include <vector>

class CTabListHeader;
class QPainter;

// Box style bits.
constexpr DWORD TCS_GRIDLINES = 0x1;  // a vertical line after each column
constexpr DWORD TCS_FILLROWS = 0x2;   // lines to the bottom, empty space drawn as a row

// The draw-item record of one entry.
struct TabDrawItem {
    QPainter* pPainter = nullptr;
    QRect rcItem;
    int nItem = -1;
    std::intptr_t nItemData = 0;
    bool bSelected = false;
    bool bFocus = false;
    bool bDisabled = false;
    // The widths to draw the columns at, by column index, with the texts
    // that do not fit cut with an ellipsis; null: the columns' own widths.
    const std::vector<int>* pColumnWidths = nullptr;
    // Set by SetItemColors.
    QColor crBack;
    QColor crText;
};

class CTabComboBox : public QComboBox {
    Q_OBJECT

public:
    // Copies the nColumns column descriptions of pColumns.
    CTabComboBox(DWORD dwStyle, int nColumns, const CTabComboItem* pColumns, QWidget* pParent = nullptr);
    ~CTabComboBox() override;

    CTabComboBox(const CTabComboBox&) = delete;
    CTabComboBox& operator=(const CTabComboBox&) = delete;

    // Takes the place of the control with that id among pParent's children
    // (a plain combo box of a dialog template): its geometry, id, font,
    // enabled state, entries and selection; the plain box is destroyed.
    // FALSE when there is no such control.
    BOOL SubclassDlgItem(UINT nId, QWidget* pParent);

    DWORD GetStyle() const { return m_dwStyle; }
    void SetStyle(DWORD dwStyle);

    // Appends a column, taking ownership; its index.
    int AddItem(CTabComboItem* pColumn);
    void RemoveItem(int nIndex);
    void RemoveAllItems();
    int GetColumnCount() const { return static_cast<int>(m_arrColumns.size()); }
    // Null for an index out of range.
    CTabComboItem* GetColumn(int nIndex) const;
    void SetColumnWidth(int nIndex, int nWidth);
    // The widths of the visible columns together.
    int GetColumnsWidth() const;

    // Display position -> column index. Null or the natural order clears it.
    void SetColumnOrder(const std::vector<WORD>* pOrder);
    // The order, or 0, 1, 2, ... when none is set.
    void GetColumnOrder(std::vector<WORD>& order) const;
    bool HasColumnOrder() const { return !m_arrColumnOrder.empty(); }
    int OrderToColumn(int nPosition) const;
    int ColumnToOrder(int nColumn) const;

    // Widens the columns so that the entry text fits; appends missing ones.
    void FitText(const std::string& strText);
    void FitAllItems();

    // Not owned; source of the numbered picture cells.
    void SetImageList(const std::vector<QIcon>* pImages);
    const std::vector<QIcon>* GetImageList() const { return m_pImages; }

    CTabListHeader* GetHeader() const;
    // Called by the header when it is made for this box or goes.
    void SetHeader(CTabListHeader* pHeader);

    // The entry height: the font's text height + 2, cached per font.
    int MeasureItem();

    // Whether the list is dropped down; opens or closes it.
    bool GetDroppedState() const { return m_bDroppedDown; }
    void ShowDropDown(bool bShow);

    // Without stored strings the entry texts come from the columns'
    // GetCellText. Boxes keep strings unless told otherwise.
    void SetHasStrings(bool bHasStrings) { m_bHasStrings = bHasStrings; }
    bool HasStrings() const { return m_bHasStrings; }

    // The text of an entry: the stored string, or the cell texts of the
    // visible columns joined by tabs.
    virtual std::string GetItemText(int nItem, std::intptr_t nItemData) const;
    // Background and text colour of an entry.
    virtual void SetItemColors(TabDrawItem& item, const std::string& strText);
    // Draws one cell.
    virtual void DrawCell(QPainter& painter, const QRect& rcCell, int nColumn, const std::string& strText);

    // Draws one entry (the framework's owner-draw call); used by the list
    // and the closed box.
    void DrawItem(TabDrawItem& item);

    // Field n of a tab-separated text; empty when it has fewer fields.
    static std::string GetTabField(const std::string& strText, int nField);

    // The column widths of the closed box for an entry text, by column
    // index: the columns' own when they fit into nAvailable pixels;
    // otherwise every column gives up what its text does not need, and
    // where that is not enough the widest are cut to one common width, so
    // that each column keeps a part of the box.
    std::vector<int> GetFaceWidths(const std::string& strText, int nAvailable) const;
    // Where the closed box draws its entry.
    QRect GetFaceRect() const;

    void showPopup() override;
    void hidePopup() override;
    QSize sizeHint() const override;

signals:
    // The list opened or closed (by the user or in code).
    void DropDown();
    void CloseUp();

protected:
    // What a cell needs beside its text (DrawCell's margins).
    virtual int GetCellMargins() const { return 0; }

    void paintEvent(QPaintEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;

    // Redraws the box, its open list and its header.
    void RedrawAll();
    // Sizes the open list to the box and its columns and keeps it inside
    // the box's window where it fits there, and inside the screen.
    void FitListToWindow();

private:
    void DrawRow(TabDrawItem& item, const std::string& strText);

    DWORD m_dwStyle = 0;
    std::vector<CTabComboItem*> m_arrColumns;
    std::vector<WORD> m_arrColumnOrder;
    QPointer<CTabListHeader> m_pHeader;
    const std::vector<QIcon>* m_pImages = nullptr;
    bool m_bDroppedDown = false;
    bool m_bHasStrings = true;
    int m_nItemHeight = 0;
    QString m_strMeasuredFont;
};
