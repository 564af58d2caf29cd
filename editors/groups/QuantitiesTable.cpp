#include "editors/groups/QuantitiesTable.h"

#include "app/Chronoset.h"
#include "editors/groups/QuantityEditDlg.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/ResString.h"
#include "platform/base/MessageBoxSink.h"
#include "ui/ViewNotify.h"
#include "ui/ItemOrder.h"

#include <cstdio>

using ui::Order;

namespace {

CQuantity* QuantityOf(CObject* pObject) {
    return dynamic_cast<CQuantity*>(pObject);
}

int ColumnOrder(int n) {
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
    if (g_pChronoset != nullptr && !AddObjectRows(g_pChronoset->GetQuantities()->GetQuantityList())) {
        return false;
    }
    return AddNewEntryRow(GetResString(758, "*** neue Menge ***"), 0);
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
    return CompareRowObjects<CQuantity>(nRowA, nRowB, [nColumn](const CQuantity& a, const CQuantity& b) {
        switch (nColumn) {
        case 0:
            return ColumnOrder(a.GetNumber() - b.GetNumber());
        case 1:
            return ui::CompareText(a.GetName(), b.GetName());
        case 2:
            return ColumnOrder(a.GetMainType() - b.GetMainType());
        case 3:
            return Order(Decoded(a, a.GetRangeA()), Decoded(b, b.GetRangeA()));
        case 4:
            return Order(Decoded(a, a.GetRangeB()), Decoded(b, b.GetRangeB()));
        case 5:
            return ColumnOrder(a.GetCondition() - b.GetCondition());
        case 6:
            return ColumnOrder(a.GetWarmStart() - b.GetWarmStart());
        case 7:
            return ColumnOrder(a.GetColdStart() - b.GetColdStart());
        case 8:
            return Order(Decoded(a, a.GetInitValue()), Decoded(b, b.GetInitValue()));
        default:
            return 0;
        }
    });
}

int CQuantitiesTable::EditEntry(int nRow) {
    if (IsEditInProgress() || NotifySelectionChanged() != 0 || g_pChronoset == nullptr) {
        return 0;
    }
    const bool bInsert = IsNewEntryRow(nRow);
    if (bInsert && g_pChronoset->GetQuantities()->GetCount() >= kMaxQuantities) {
        ShowErrorBox(GetResString(609, "Die maximale Anzahl von Mengen ist erreicht."),
                     GetResString(608, "Mengen ausgelastet"));
        return 0;
    }
    std::vector<CQuantity*> quantities;
    if (!bInsert) {
        quantities = GetSelectedObjectsOf<CQuantity>();
    }
    const int nResult = RunEditDialog([&]() {
        CQuantityEditDlg dlg(GetParameterDlg(), bInsert, &quantities);
        dlg.SetTable(this);
        if (bInsert) {
            dlg.SetTemplateQuantity(GetMarkObjectOf<CQuantity>());
        }
        return dlg.DoModal();
    });
    if (nResult == IDOK) {
        SetDataModified();
    }
    return 1;
}

void CQuantitiesTable::DeleteEntries() {
    const int nSelected = GetSelectedEntryCount();
    if (nSelected <= 0 || g_pChronoset == nullptr) {
        return;
    }
    // Collected from the last row to the first: each removal takes its row
    // out of this table.
    const std::vector<CQuantity*> doomed = GetSelectedRowObjects<CQuantity>(true);
    int nMembers = 0;
    for (const CQuantity* pQuantity : doomed) {
        nMembers += pQuantity->GetMemberCount();
    }
    if (!AskDelete(GetResString(731, "Wollen Sie die ausgewählten %d Mengen löschen? Dadurch werden auch %d "
                                     "Mengenmitglieder gelöscht."),
                   {nSelected, nMembers})) {
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
    SetDataModified();
}
