#include "editors/groups/QuantitiesTable.h"

#include "app/Chronoset.h"
#include "editors/groups/QuantityEditDlg.h"
#include "model/MessageBoxes.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/base/MessageBoxSink.h"
#include "platform/ui/Handles.h"
#include "ui/ViewNotify.h"
#include "ui/ItemOrder.h"

#include <cstdio>

using ui::Order;

namespace {

CQuantity* QuantityOf(CObject* pObject) {
    return dynamic_cast<CQuantity*>(pObject);
}

int Sign(int n) {
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

// A raw value of the quantity's own type as a number.
double Decoded(const CQuantity& quantity, WORD wRaw) {
    return DecodeDptValue(quantity.GetMainType(), wRaw);
}

}  // namespace

CQuantitiesTable::CQuantitiesTable() : CMainTableBox(kTableType) {
    SetObjectKind(VOK_QUANTITY);
    SetParentObject(g_pChronoset != nullptr ? g_pChronoset->GetQuantities() : nullptr);
    SetMaxEntries(kMaxQuantities);
    SetColumnCount(9);
}

CQuantitiesTable::~CQuantitiesTable() = default;

std::string CQuantitiesTable::FormatNumber(int nNumber) {
    char szText[16];
    std::snprintf(szText, sizeof szText, "%02d:", nNumber);
    return szText;
}

bool CQuantitiesTable::InitColumns() {
    PresetColumnPrefs();
    AddColumn(GetResString(2004, "ME Nr."), GetStoredColumnWidth(0), LVCFMT_RIGHT);
    AddColumn(GetResString(2005, "ME Name"), GetStoredColumnWidth(1), LVCFMT_LEFT);
    AddColumn(GetResString(40107, "Typ"), GetStoredColumnWidth(2), LVCFMT_LEFT);
    AddColumn(GetResString(202, "Bereich A"), GetStoredColumnWidth(3), LVCFMT_LEFT);
    AddColumn(GetResString(203, "Bereich B"), GetStoredColumnWidth(4), LVCFMT_LEFT);
    AddColumn(GetResString(204, "Auslösung"), GetStoredColumnWidth(5), LVCFMT_LEFT);
    AddColumn(GetResString(211, "Warmstart"), GetStoredColumnWidth(6), LVCFMT_LEFT);
    AddColumn(GetResString(212, "Kaltstart"), GetStoredColumnWidth(7), LVCFMT_LEFT);
    AddColumn(GetResString(213, "Initwert"), GetStoredColumnWidth(8), LVCFMT_LEFT);
    return true;
}

bool CQuantitiesTable::FillTable() {
    DeleteAllRows();
    if (g_pChronoset != nullptr) {
        for (CQuantity* pQuantity : g_pChronoset->GetQuantities()->GetQuantityList()) {
            std::vector<std::string> texts;
            GetEntryStrings(pQuantity, texts);
            if (AddRow(texts, pQuantity, GetDefaultImage()) < 0) {
                return false;
            }
        }
    }
    return AddItem(GetResString(758, "*** neue Menge ***"), nullptr, GetDefaultImage()) >= 0;
}

void CQuantitiesTable::GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) {
    texts.clear();
    const CQuantity* pQuantity = QuantityOf(pObject);
    if (pQuantity == nullptr) {
        return;
    }
    texts.push_back(FormatNumber(pQuantity->GetNumber()));
    texts.push_back(pQuantity->GetName());
    texts.push_back(GetDptTypeName(pQuantity->GetMainType()));
    texts.push_back(pQuantity->GetRangeAText());
    texts.push_back(pQuantity->GetRangeBText());
    texts.push_back(pQuantity->GetConditionText());
    texts.push_back(pQuantity->GetWarmStartText());
    texts.push_back(pQuantity->GetColdStartText());
    texts.push_back(pQuantity->GetInitValueText());
}

int CQuantitiesTable::CompareItems(int nColumn, int nRowA, int nRowB) {
    const CQuantity* pA = QuantityOf(GetItemData(nRowA));
    const CQuantity* pB = QuantityOf(GetItemData(nRowB));
    // Rows without a quantity (the new-entry row) sort last.
    if (pA == nullptr) {
        return pB != nullptr ? 1 : 0;
    }
    if (pB == nullptr) {
        return -1;
    }
    switch (nColumn) {
    case 0:
        return Sign(pA->GetNumber() - pB->GetNumber());
    case 1:
        return ui::CompareText(pA->GetName(), pB->GetName());
    case 2:
        return Sign(pA->GetMainType() - pB->GetMainType());
    case 3:
        return Order(Decoded(*pA, pA->GetRangeA()), Decoded(*pB, pB->GetRangeA()));
    case 4:
        return Order(Decoded(*pA, pA->GetRangeB()), Decoded(*pB, pB->GetRangeB()));
    case 5:
        return Sign(pA->GetCondition() - pB->GetCondition());
    case 6:
        return Sign(pA->GetWarmStart() - pB->GetWarmStart());
    case 7:
        return Sign(pA->GetColdStart() - pB->GetColdStart());
    case 8:
        return Order(Decoded(*pA, pA->GetInitValue()), Decoded(*pB, pB->GetInitValue()));
    default:
        return 0;
    }
}

int CQuantitiesTable::EditEntry(int nRow) {
    if (IsEditInProgress() || NotifySelectionChanged() != 0 || g_pChronoset == nullptr) {
        return 0;
    }
    const bool bInsert = nRow < 0 || nRow >= GetNewEntryRow();
    if (bInsert && g_pChronoset->GetQuantities()->GetCount() >= kMaxQuantities) {
        CMessageBox().ShowError(platform::ui::HwndFromWidget(GetParameterDlg()),
                                GetResString(609, "Die maximale Anzahl von Mengen ist erreicht.").c_str(),
                                GetResString(608, "Mengen ausgelastet").c_str());
        return 0;
    }
    SetEditInProgress(true);
    std::vector<CQuantity*> quantities;
    if (!bInsert) {
        std::vector<CObject*> objects;
        GetSelectedObjects(objects);
        for (CObject* pObject : objects) {
            if (CQuantity* pQuantity = QuantityOf(pObject)) {
                quantities.push_back(pQuantity);
            }
        }
    }
    int nResult = IDCANCEL;
    {
        CQuantityEditDlg dlg(GetParameterDlg(), bInsert, &quantities);
        dlg.SetTable(this);
        if (bInsert) {
            const int nMark = GetSelectionMark();
            if (nMark >= 0 && nMark < GetDataRowCount()) {
                dlg.SetTemplateQuantity(QuantityOf(GetItemData(nMark)));
            }
        }
        nResult = dlg.DoModal();
    }
    UpdateToolbarState();
    if (nResult == IDOK) {
        g_bDataModified = true;
        UpdateToolbarState();
    }
    SetEditInProgress(false);
    return 1;
}

void CQuantitiesTable::DeleteEntries() {
    const int nSelected = GetSelectedEntryCount();
    if (nSelected <= 0 || g_pChronoset == nullptr) {
        return;
    }
    // Collected from the last row to the first: each removal takes its row
    // out of this table.
    std::vector<CQuantity*> doomed;
    int nMembers = 0;
    for (int nRow = GetDataRowCount() - 1; nRow >= 0; --nRow) {
        if (IsItemSelected(nRow)) {
            if (CQuantity* pQuantity = QuantityOf(GetItemData(nRow))) {
                doomed.push_back(pQuantity);
                nMembers += pQuantity->GetMemberCount();
            }
        }
    }
    const std::string strQuestion = FormatIntFields(
        GetResString(731, "Wollen Sie die ausgewählten %d Mengen löschen? Dadurch werden auch %d Mengenmitglieder "
                          "gelöscht."),
        {nSelected, nMembers});
    if (QuestionBox("%s", strQuestion.c_str()) != IDYES) {
        return;
    }
    CQuantities* pQuantities = g_pChronoset->GetQuantities();
    for (CQuantity* pQuantity : doomed) {
        // Copied: deleting a member changes the quantity's list.
        const std::vector<CQuantityMember*> members(pQuantity->GetMembers().begin(), pQuantity->GetMembers().end());
        for (CQuantityMember* pMember : members) {
            pQuantity->DeleteMember(pMember);
            SendObjectRecord(VN_REMOVED, pMember, pQuantity, VOK_QUANTITYMEMBER);
            delete pMember;
        }
        pQuantities->DeleteQuantity(pQuantity);
        SendObjectRecord(VN_REMOVED, pQuantity, nullptr, VOK_QUANTITY);
        delete pQuantity;
    }
    g_bDataModified = true;
    UpdateToolbarState();
}
