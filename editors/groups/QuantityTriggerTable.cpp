#include "editors/groups/QuantityTriggerTable.h"

#include "app/Chronoset.h"
#include "editors/groups/QuantityTriggerEditDlg.h"
#include "model/GroupDataAddress.h"
#include "model/Quantity.h"
#include "common/Globals.h"
#include "common/ResString.h"
#include "ui/ViewNotify.h"
#include "ui/GroupAddressOrder.h"
#include "ui/ItemOrder.h"

#include <vector>

using ui::Order;

namespace {

CGroupDataAddress* TriggerAddressOf(CObject* pObject) {
    return dynamic_cast<CGroupDataAddress*>(pObject);
}

// Columns 0 to 2 go by the addresses' number, name and type.
constexpr ui::GaColumn kTriggerAddressColumns[] = {ui::GaColumn::Number, ui::GaColumn::Name, ui::GaColumn::Type};

}  // namespace

CQuantityTriggerTable::CQuantityTriggerTable(CQuantity* pQuantity)
    : CMainTableBox(kTableType), m_pQuantity(pQuantity) {
    SetObjectKind(VOK_QUANTITYTRIGGER);
    SetParentObject(pQuantity);
    SetMaxEntries(kMaxTriggers);
    SetColumnCount(4);
}

CQuantityTriggerTable::~CQuantityTriggerTable() = default;

bool CQuantityTriggerTable::InitColumns() {
    PresetColumnPrefs();
    AddColumn(GetResString(2002, "GA Nr."), GetStoredColumnWidth(0), LVCFMT_LEFT);
    AddColumn(GetResString(2003, "GA Name"), GetStoredColumnWidth(1), LVCFMT_LEFT);
    AddColumn(GetResString(40107, "Typ"), GetStoredColumnWidth(2), LVCFMT_LEFT);
    AddColumn(GetResString(2006, "sendend"), GetStoredColumnWidth(3), LVCFMT_CENTER);
    return true;
}

bool CQuantityTriggerTable::FillTable() {
    DeleteAllRows();
    if (m_pQuantity == nullptr) {
        return true;
    }
    return AddObjectRows(m_pQuantity->GetTriggers()) &&
           AddNewEntryRow(GetResString(757, "*** neuer Mengenauslöser ***"), 1);
}

void CQuantityTriggerTable::GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) {
    texts.clear();
    const CGroupDataAddress* pAddress = TriggerAddressOf(pObject);
    texts.push_back(pAddress != nullptr ? pAddress->GetAddressText(false) : std::string());
    texts.push_back(pAddress != nullptr ? pAddress->GetName() : GetResString(107, "*leer*"));
    texts.push_back(pAddress != nullptr ? pAddress->GetTypeText() : std::string());
    texts.push_back(m_pQuantity != nullptr && m_pQuantity->IsRequestGroupAddress(pAddress) ? "+" : "-");
}

int CQuantityTriggerTable::CompareItems(int nColumn, int nRowA, int nRowB) {
    return CompareRowObjects<CGroupDataAddress>(nRowA, nRowB, [this, nColumn](const CGroupDataAddress& a,
                                                                              const CGroupDataAddress& b) {
        switch (nColumn) {
        case 0:
        case 1:
        case 2:
            return ui::CompareGroupAddresses({&a}, {&b}, kTriggerAddressColumns[nColumn], ui::Missing::Last);
        case 3:
            return m_pQuantity != nullptr
                       ? Order(m_pQuantity->IsRequestGroupAddress(&a), m_pQuantity->IsRequestGroupAddress(&b))
                       : 0;
        default:
            return 0;
        }
    });
}

int CQuantityTriggerTable::EditEntry(int nRow) {
    if (m_pQuantity == nullptr || IsEditInProgress() || NotifySelectionChanged() != 0) {
        return 0;
    }
    const bool bInsert = IsNewEntryRow(nRow);
    if (bInsert && m_pQuantity->GetTriggerCount(false) >= kMaxTriggers) {
        ShowErrorBox(GetResString(710, "Die maximale Anzahl von Auslösern für diese Gruppe ist erreicht."),
                     GetResString(711, "Keine Auslöser"));
        return 0;
    }
    std::vector<CGroupDataAddress*> triggers;
    if (!bInsert) {
        triggers = GetSelectedObjectsOf<CGroupDataAddress>();
    }
    RunEditDialog([&]() {
        CQuantityTriggerEditDlg dlg(GetParameterDlg(), bInsert, bInsert ? nullptr : &triggers);
        dlg.SetTable(this);
        dlg.SetQuantity(m_pQuantity);
        if (bInsert) {
            dlg.SetPreselection(GetMarkObjectOf<CGroupDataAddress>());
        }
        return dlg.DoModal();
    });
    return 1;
}

void CQuantityTriggerTable::DeleteEntries() {
    // A removed invalid address is destroyed; the rows are rebuilt only by
    // the record afterwards.
    if (m_pQuantity != nullptr &&
        DeleteSelectedRows<CGroupDataAddress>(
            GetResString(735, "Wollen Sie die ausgewählten %d Mengenauslöser löschen?"),
            [this](CGroupDataAddress* pAddress) { m_pQuantity->RemoveTriggerGroupAddress(pAddress); })) {
        SendObjectRecord(VN_KINDS_CHANGED, nullptr, nullptr, VOK_QUANTITYTRIGGER);
        SetDataModified();
        RecountAssociations();
    }
    CMainTableBox::DeleteEntries();
}
