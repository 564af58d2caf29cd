#include "printing/view/PrintSelectionListBox.h"

#include "app/Chronoset.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "common/Globals.h"
#include "common/ResString.h"
#include "printing/param/ParamPrintItem.h"
#include "ui/ListItem.h"

#include <QItemSelection>
#include <QPainter>
#include <QStyleOptionViewItem>

#include <cstdio>
#include <functional>

namespace {

// "%02d: %s" with a routine's or a quantity's number and name.
std::string NumberedText(int nNumber, const std::string& strName) {
    char szNumber[16];
    std::snprintf(szNumber, sizeof(szNumber), "%02d: ", nNumber);
    return szNumber + strName;
}

}  // namespace

CPrintSelectionListBox::CPrintSelectionListBox(QWidget* pParent) : CSelectionTreeListBox(pParent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
}

CPrintSelectionListBox::~CPrintSelectionListBox() {
    Clear();
}

void CPrintSelectionListBox::Clear() {
    DeleteAllItems();
    m_mapPrintItems.clear();
    m_nSelectable = 0;
}

CListItem* CPrintSelectionListBox::AddEntry(CTreeListItem* pParent, CTreeListItem* pAfter, const std::string& strText,
                                            int nImage, int nMarkedImage, int nType, int nIndex) {
    auto* pItem = new CListItem(strText, nImage, nMarkedImage, nullptr, LIDO_OBJECT);
    InsertItem(pParent, pAfter, pItem, 0);
    if (nType != 0) {
        m_mapPrintItems[pItem] = std::make_unique<CParamPrintItem>(nType, nIndex);
        ++m_nSelectable;
    }
    return pItem;
}

void CPrintSelectionListBox::BuildItems() {
    if (g_pChronoset == nullptr) {
        return;
    }
    Clear();
    LoadImageStrip(kImageStripId);

    const std::string strGeneral =
        g_bStandalone ? GetResString(1104, "Tavik 2.1") : GetResString(101, "Allgemein");
    CListItem* pGeneral =
        AddEntry(nullptr, nullptr, strGeneral, kImageFolder, kImageFolder, PRINT_ITEM_GENERAL, 0);

    CListItem* pProgram = AddEntry(nullptr, pGeneral, GetResString(350, "Zeitschaltprogramm"), kImageFolder,
                                   kImageOpenFolder, 0, 0);
    CListItem* pRoutinesItem = AddEntry(pProgram, nullptr, GetResString(108, "Tagesabläufe"), kImageFolder,
                                        kImageOpenFolder, PRINT_ITEM_DAY_ROUTINES, 0);
    const CDayRoutines* pRoutines = g_pChronoset->GetDayRoutines();
    CTreeListItem* pAfter = nullptr;
    int nFound = 0;
    for (int nNumber = 1; nNumber <= CDayRoutines::GetMaxCount() && nFound < pRoutines->GetCount(); ++nNumber) {
        if (const CDayRoutine* pRoutine = pRoutines->FindDayRoutine(nNumber)) {
            pAfter = AddEntry(pRoutinesItem, pAfter, NumberedText(nNumber, pRoutine->GetName()), kImageData,
                              kImageData, PRINT_ITEM_DAY_ROUTINE, nNumber);
            ++nFound;
        }
    }
    CListItem* pWeek = AddEntry(pProgram, pRoutinesItem, GetResString(40010, "Wochenablauf"), kImageFolder,
                                kImageFolder, PRINT_ITEM_WEEK_ROUTINE, 0);
    CListItem* pSummertimes = AddEntry(pProgram, pWeek, GetResString(40011, "Sommerzeiten"), kImageFolder,
                                       kImageFolder, PRINT_ITEM_SUMMERTIMES, 0);
    AddEntry(pProgram, pSummertimes, GetResString(40012, "Sondertage"), kImageFolder, kImageFolder,
             PRINT_ITEM_SPECIAL_DAYS, 0);

    CListItem* pQuantitiesItem = AddEntry(nullptr, pProgram, GetResString(351, "Mengen"), kImageFolder,
                                          kImageOpenFolder, PRINT_ITEM_QUANTITIES, 0);
    const CQuantities* pQuantities = g_pChronoset->GetQuantities();
    pAfter = nullptr;
    nFound = 0;
    for (int nNumber = 1; nNumber <= CQuantities::GetMaxCount() && nFound < pQuantities->GetCount(); ++nNumber) {
        if (const CQuantity* pQuantity = pQuantities->GetQuantity(nNumber)) {
            pAfter = AddEntry(pQuantitiesItem, pAfter, NumberedText(nNumber, pQuantity->GetName()), kImageData,
                              kImageData, 0, 0);
            CListItem* pTriggers = AddEntry(pAfter, nullptr, GetResString(40104, "Auslöser"), -1, -1,
                                            PRINT_ITEM_QUANTITY_TRIGGERS, nNumber);
            AddEntry(pAfter, pTriggers, GetResString(818, "Mitglieder"), -1, -1, PRINT_ITEM_QUANTITY_MEMBERS,
                     nNumber);
            ++nFound;
        }
    }

    CListItem* pAddresses = AddEntry(nullptr, pQuantitiesItem, GetResString(352, "Gruppenadressen"), kImageFolder,
                                     kImageFolder, PRINT_ITEM_GROUP_ADDRESSES, 0);
    AddEntry(nullptr, pAddresses, GetResString(353, "Auslastung"), kImageFolder, kImageOpenFolder,
             PRINT_ITEM_USAGE, 0);

    // Entries without children are leaves, so that they show no expand
    // button ("Mengen" of a device without quantities among them).
    std::function<void(CTreeListItem*)> markLeaves = [&](CTreeListItem* pItem) {
        for (; pItem != nullptr; pItem = pItem->GetNextSibling()) {
            pItem->SetItemData(pItem->GetFirstChild() == nullptr ? 1 : 0);
            markLeaves(pItem->GetFirstChild());
        }
    };
    markLeaves(GetFirstRootItem());

    Expand(pProgram, 0);
    if (pQuantitiesItem->GetFirstChild() != nullptr) {
        Expand(pQuantitiesItem, 0);
    }
    scrollToTop();
    CreateToolTip();
}

const CParamPrintItem* CPrintSelectionListBox::GetPrintItem(int nRow) const {
    const auto it = m_mapPrintItems.find(GetItem(nRow));
    return it != m_mapPrintItems.end() ? it->second.get() : nullptr;
}

void CPrintSelectionListBox::SyncSelection() {
    QItemSelection selection;
    for (int i = 0; i < count(); ++i) {
        if (GetPrintItem(i) != nullptr) {
            const QModelIndex index = model()->index(i, 0);
            selection.select(index, index);
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void CPrintSelectionListBox::DeselectCaptions() {
    for (QListWidgetItem* pRow : selectedItems()) {
        if (GetPrintItem(row(pRow)) == nullptr) {
            pRow->setSelected(false);
        }
    }
}

int CPrintSelectionListBox::GetSelectedCount() const {
    int nCount = 0;
    for (const QListWidgetItem* pRow : selectedItems()) {
        if (GetPrintItem(row(pRow)) != nullptr) {
            ++nCount;
        }
    }
    return nCount;
}

// ---------------------------------------------------------------------------
// Drawing

void CPrintSelectionListBox::DrawSelectionRow(QPainter& painter, const QStyleOptionViewItem& option, int nRow) {
    const bool bSelected = (option.state & QStyle::State_Selected) != 0;
    DrawRow(painter, option.rect, nRow, bSelected, false);
    if ((option.state & QStyle::State_HasFocus) == 0) {
        return;
    }
    // From one pixel left of where the text was drawn to the row's end.
    int nLeft = option.rect.left();
    if (const auto* pItem = dynamic_cast<const CListItem*>(GetItem(nRow))) {
        nLeft = pItem->GetTextRect().left() - 1;
    }
    const QRect rectFocus(QPoint(nLeft, option.rect.top()), option.rect.bottomRight());
    painter.setPen(QPen(palette().color(bSelected ? QPalette::HighlightedText : QPalette::Text), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rectFocus.adjusted(0, 0, -1, -1));
}
