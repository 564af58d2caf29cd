#include "editors/groups/QuantityTriggerTable.h"

#include "app/Chronoset.h"
#include "editors/groups/QuantityTriggerEditDlg.h"
#include "model/GroupDataAddress.h"
#include "model/MessageBoxes.h"
#include "model/Quantity.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/base/MessageBoxSink.h"
#include "platform/ui/Handles.h"
#include "ui/ViewNotify.h"
#include "ui/ItemOrder.h"

#include <vector>

using ui::Order;

namespace {

CGroupDataAddress* AddressOf(CObject* pObject) {
    return dynamic_cast<CGroupDataAddress*>(pObject);
}

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
    for (CGroupDataAddress* pAddress : m_pQuantity->GetTriggers()) {
        std::vector<std::string> texts;
        GetEntryStrings(pAddress, texts);
        if (AddRow(texts, pAddress, GetDefaultImage()) < 0) {
            return false;
        }
    }
    const int nRow = AddItem("", nullptr, GetDefaultImage());
    if (nRow < 0) {
        return false;
    }
    SetItemText(nRow, 1, GetResString(757, "*** neuer Mengenauslöser ***"));
    return true;
}

void CQuantityTriggerTable::GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) {
    texts.clear();
    const CGroupDataAddress* pAddress = AddressOf(pObject);
    texts.push_back(pAddress != nullptr ? pAddress->GetAddressText(false) : std::string());
    texts.push_back(pAddress != nullptr ? pAddress->GetName() : GetResString(107, "*leer*"));
    texts.push_back(pAddress != nullptr ? pAddress->GetTypeText() : std::string());
    texts.push_back(m_pQuantity != nullptr && m_pQuantity->IsRequestGroupAddress(pAddress) ? "+" : "-");
}

int CQuantityTriggerTable::CompareItems(int nColumn, int nRowA, int nRowB) {
    const CGroupDataAddress* pA = AddressOf(GetItemData(nRowA));
    const CGroupDataAddress* pB = AddressOf(GetItemData(nRowB));
    // Rows without an address (the new-entry row) sort last.
    if (pA == nullptr) {
        return pB != nullptr ? 1 : 0;
    }
    if (pB == nullptr) {
        return -1;
    }
    switch (nColumn) {
    case 0:
        return Order(static_cast<WORD>(pA->GetAddress()), static_cast<WORD>(pB->GetAddress()));
    case 1:
        return ui::CompareText(pA->GetName(), pB->GetName());
    case 2:
        return Order(pA->GetObjectType(), pB->GetObjectType());
    case 3:
        return m_pQuantity != nullptr
                   ? Order(m_pQuantity->IsRequestGroupAddress(pA), m_pQuantity->IsRequestGroupAddress(pB))
                   : 0;
    default:
        return 0;
    }
}

int CQuantityTriggerTable::EditEntry(int nRow) {
    if (m_pQuantity == nullptr || IsEditInProgress() || NotifySelectionChanged() != 0) {
        return 0;
    }
    const bool bInsert = nRow < 0 || nRow >= GetNewEntryRow();
    if (bInsert && m_pQuantity->GetTriggerCount(false) >= kMaxTriggers) {
        CMessageBox().ShowError(
            platform::ui::HwndFromWidget(GetParameterDlg()),
            GetResString(710, "Die maximale Anzahl von Auslösern für diese Gruppe ist erreicht.").c_str(),
            GetResString(711, "Keine Auslöser").c_str());
        return 0;
    }
    SetEditInProgress(true);
    std::vector<CGroupDataAddress*> triggers;
    if (!bInsert) {
        std::vector<CObject*> objects;
        GetSelectedObjects(objects);
        for (CObject* pObject : objects) {
            if (CGroupDataAddress* pAddress = AddressOf(pObject)) {
                triggers.push_back(pAddress);
            }
        }
    }
    {
        CQuantityTriggerEditDlg dlg(GetParameterDlg(), bInsert, bInsert ? nullptr : &triggers);
        dlg.SetTable(this);
        dlg.SetQuantity(m_pQuantity);
        if (bInsert) {
            const int nMark = GetSelectionMark();
            if (nMark >= 0 && nMark < GetDataRowCount()) {
                dlg.SetPreselection(AddressOf(GetItemData(nMark)));
            }
        }
        dlg.DoModal();
    }
    UpdateToolbarState();
    SetEditInProgress(false);
    return 1;
}

void CQuantityTriggerTable::DeleteEntries() {
    const int nSelected = GetSelectedEntryCount();
    if (m_pQuantity != nullptr && nSelected > 0) {
        const std::string strQuestion = FormatIntFields(
            GetResString(735, "Wollen Sie die ausgewählten %d Mengenauslöser löschen?"), {nSelected});
        if (QuestionBox("%s", strQuestion.c_str()) == IDYES) {
            // Collected first: a removed invalid address is destroyed, and
            // the rows are rebuilt only by the notification afterwards.
            std::vector<CGroupDataAddress*> doomed;
            for (int nRow = GetDataRowCount() - 1; nRow >= 0; --nRow) {
                if (IsItemSelected(nRow)) {
                    if (CGroupDataAddress* pAddress = AddressOf(GetItemData(nRow))) {
                        doomed.push_back(pAddress);
                    }
                }
            }
            for (CGroupDataAddress* pAddress : doomed) {
                m_pQuantity->RemoveTriggerGroupAddress(pAddress);
            }
            SendObjectRecord(VN_KINDS_CHANGED, nullptr, nullptr, VOK_QUANTITYTRIGGER);
            g_bDataModified = true;
            UpdateToolbarState();
            if (g_pChronoset != nullptr) {
                DWORD nCount = 0;
                g_pChronoset->CountAssociations(nCount);
            }
        }
    }
    CMainTableBox::DeleteEntries();
}
