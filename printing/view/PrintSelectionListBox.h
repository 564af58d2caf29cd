#pragma once
// The sections of the report as a tree in the print data selection: the
// general page, the time-switch program with its day routines, the
// quantities with each quantity's triggers and members, the group addresses
// and the utilisation. Entries that stand for a section carry its print
// item; captions carry none and are never left selected. Rows whose text is
// cut off show it whole in a tooltip.

#include "platform/base/WinTypes.h"
#include "ui/SelectionTreeListBox.h"

#include <memory>
#include <string>
#include <unordered_map>

class CListItem;
class CParamPrintItem;
class QStyleOptionViewItem;

class CPrintSelectionListBox : public CSelectionTreeListBox {
    Q_OBJECT

public:
    static constexpr UINT kImageStripId = 124;
    // The pictures of the strip.
    static constexpr int kImageFolder = 0;
    static constexpr int kImageOpenFolder = 1;
    static constexpr int kImageData = 2;

    explicit CPrintSelectionListBox(QWidget* pParent = nullptr);
    ~CPrintSelectionListBox() override;

    // The tree of the opened device's sections, expanded; nothing without a
    // device. Counts the entries that carry a print item.
    void BuildItems();
    int GetSelectableCount() const { return m_nSelectable; }

    // The print item of the row's entry; null for a caption.
    const CParamPrintItem* GetPrintItem(int nRow) const;
    // Selects every row that carries a print item and only those.
    void SyncSelection();
    // Deselects the selected rows without a print item.
    void DeselectCaptions();
    int GetSelectedCount() const;

    // The base drawing without its focus frame, then a focus frame around
    // the row's text part only.
    void DrawSelectionRow(QPainter& painter, const QStyleOptionViewItem& option, int nRow) override;

private:
    // Inserts an entry after pAfter under pParent; nType 0 gives a caption.
    CListItem* AddEntry(CTreeListItem* pParent, CTreeListItem* pAfter, const std::string& strText, int nImage,
                        int nMarkedImage, int nType, int nIndex);
    void Clear();

    int m_nSelectable = 0;
    // The print item of each entry that has one. The list keeps them: an
    // entry frees only a framework object or a memory block as its data, and
    // a print item is neither.
    std::unordered_map<const CTreeListItem*, std::unique_ptr<CParamPrintItem>> m_mapPrintItems;
};
