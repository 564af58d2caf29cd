#include "editors/groups/QuantityMemberTable.h"

#include "app/Chronoset.h"
#include "editors/groups/QuantityMemberEditDlg.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
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


using ui::Order;

namespace {

CQuantityMember* MemberOf(CObject* pObject) {
    return dynamic_cast<CQuantityMember*>(pObject);
}

}  // namespace

CQuantityMemberTable::CQuantityMemberTable(CQuantity* pQuantity)
    : CMainTableBox(kTableType), m_pQuantity(pQuantity) {
    SetObjectKind(VOK_QUANTITYMEMBER);
    SetParentObject(pQuantity);
    SetMaxEntries(kMaxMembers);
    SetColumnCount(6);
    SetDragEnabled(true);
}

CQuantityMemberTable::~CQuantityMemberTable() = default;

CObject* CQuantityMemberTable::GetParentObject() {
    return m_pQuantity;
}

bool CQuantityMemberTable::InitColumns() {
    std::vector<WORD>& prefs = GetColumnPrefs();
    if (!prefs.empty() && prefs[0] == 0) {
        static constexpr WORD kPreset[] = {5, 1, 2, 3, 4, 6};
        for (std::size_t i = 0; i < prefs.size() && i < std::size(kPreset); ++i) {
            prefs[i] = kPreset[i];
        }
    }
    AddColumn(GetResString(2002, "GA Nr."), GetStoredColumnWidth(0), LVCFMT_LEFT);
    AddColumn(GetResString(2003, "GA Name"), GetStoredColumnWidth(1), LVCFMT_LEFT);
    AddColumn(GetResString(40107, "Typ"), GetStoredColumnWidth(2), LVCFMT_LEFT);
    AddColumn(GetResString(40108, "Wert"), GetStoredColumnWidth(3), LVCFMT_CENTER);
    AddColumn(GetResString(300, "Bereich"), GetStoredColumnWidth(4), LVCFMT_CENTER);
    AddColumn(GetResString(40109, "SbÄ"), GetStoredColumnWidth(5), LVCFMT_CENTER);
    return true;
}

bool CQuantityMemberTable::FillTable() {
    DeleteAllRows();
    if (m_pQuantity == nullptr) {
        return true;
    }
    for (CQuantityMember* pMember : m_pQuantity->GetMembers()) {
        std::vector<std::string> texts;
        GetEntryStrings(pMember, texts);
        if (AddRow(texts, pMember, GetDefaultImage()) < 0) {
            return false;
        }
    }
    return AddItem(GetResString(756, "*** neues Mengenmitglied ***"), nullptr, GetDefaultImage()) >= 0;
}

void CQuantityMemberTable::GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) {
    texts.clear();
    const CQuantityMember* pMember = MemberOf(pObject);
    if (pMember == nullptr) {
        return;
    }
    const CGroupDataAddress* pAddress = pMember->GetGroupAddress();
    const std::string strEmpty = GetResString(107, "*leer*");
    texts.push_back(pAddress != nullptr ? pAddress->GetAddressText(false) : strEmpty);
    texts.push_back(pAddress != nullptr ? pAddress->GetName() : strEmpty);
    texts.push_back(pAddress != nullptr ? pAddress->GetTypeText() : strEmpty);
    texts.push_back(pAddress != nullptr ? FormatValue(static_cast<int>(pAddress->GetObjectType()),
                                                      static_cast<int>(pAddress->GetSubType()),
                                                      pMember->GetRawValue(), true)
                                        : std::string("0"));
    texts.push_back(pMember->GetRange() == 0 ? GetResString(301, "A") : GetResString(302, "B"));
    texts.push_back(pMember->GetSendOnChange() ? "+" : "-");
}

int CQuantityMemberTable::CompareItems(int nColumn, int nRowA, int nRowB) {
    const CQuantityMember* pA = MemberOf(GetItemData(nRowA));
    const CQuantityMember* pB = MemberOf(GetItemData(nRowB));
    // Rows without a member (the new-entry row) sort last.
    if (pA == nullptr) {
        return pB != nullptr ? 1 : 0;
    }
    if (pB == nullptr) {
        return -1;
    }
    switch (nColumn) {
    case 0:
    case 1:
    case 2:
    case 3: {
        const CGroupDataAddress* pGa = pA->GetGroupAddress();
        const CGroupDataAddress* pGb = pB->GetGroupAddress();
        // A member without address first.
        if (pGa == nullptr || pGb == nullptr) {
            return pGa == nullptr ? (pGb == nullptr ? 0 : -1) : 1;
        }
        if (nColumn == 0) {
            return Order(static_cast<WORD>(pGa->GetAddress()), static_cast<WORD>(pGb->GetAddress()));
        }
        if (nColumn == 1) {
            return ui::CompareText(pGa->GetName(), pGb->GetName());
        }
        if (nColumn == 2) {
            return Order(pGa->GetObjectType(), pGb->GetObjectType());
        }
        return Order(DecodeDptValue(static_cast<int>(pGa->GetObjectType()), pA->GetRawValue()),
                     DecodeDptValue(static_cast<int>(pGb->GetObjectType()), pB->GetRawValue()));
    }
    case 4:
        return Order(pA->GetRange(), pB->GetRange());
    case 5:
        return Order(pA->GetSendOnChange(), pB->GetSendOnChange());
    default:
        return 0;
    }
}

void CQuantityMemberTable::ShowCapacityError() {
    CMessageBox().ShowError(platform::ui::HwndFromWidget(GetParameterDlg()),
                            GetResString(617, "Die maximale Anzahl von Mengenmitgliedern ist erreicht.").c_str(),
                            GetResString(616, "Mengenmitglieder ausgelastet").c_str());
}

int CQuantityMemberTable::EditEntry(int nRow) {
    if (m_pQuantity == nullptr || IsEditInProgress() || NotifySelectionChanged() != 0) {
        return 0;
    }
    const bool bInsert = nRow < 0 || nRow >= GetNewEntryRow();
    if (bInsert) {
        const CQuantities* pQuantities = m_pQuantity->GetOwner();
        if (pQuantities == nullptr) {
            return 0;
        }
        if (pQuantities->GetTotalMemberCount() >= CQuantities::GetMaxMemberCount()) {
            ShowCapacityError();
            return 0;
        }
    }
    SetEditInProgress(true);
    std::vector<CQuantityMember*> members;
    if (!bInsert) {
        std::vector<CObject*> objects;
        GetSelectedObjects(objects);
        for (CObject* pObject : objects) {
            if (CQuantityMember* pMember = MemberOf(pObject)) {
                members.push_back(pMember);
            }
        }
    }
    int nResult = IDCANCEL;
    {
        CQuantityMemberEditDlg dlg(GetParameterDlg(), bInsert, &members);
        dlg.SetTable(this);
        dlg.SetQuantity(m_pQuantity);
        if (bInsert) {
            const int nMark = GetSelectionMark();
            if (nMark >= 0 && nMark < GetDataRowCount()) {
                dlg.SetTemplateMember(MemberOf(GetItemData(nMark)));
            }
        }
        nResult = dlg.DoModal();
    }
    UpdateToolbarState();
    if (nResult == IDOK) {
        g_bDataModified = true;
    }
    SetEditInProgress(false);
    return 1;
}

int CQuantityMemberTable::PasteObject(CObject* pObject) {
    const CQuantityMember* pCopy = MemberOf(pObject);
    if (m_pQuantity == nullptr || pCopy == nullptr || g_pChronoset == nullptr) {
        return PASTE_DONE;
    }
    // A copy without address, or whose address is gone, has nothing to give.
    CGroupDataAddress* pAddress = pCopy->GetGroupAddress();
    if (pAddress == nullptr || !g_pChronoset->GetGroupDataAddresses()->IsInList(pAddress)) {
        return PASTE_UNKNOWN;
    }
    for (const CQuantityMember* pOther : m_pQuantity->GetMembers()) {
        if (pOther->GetGroupAddress() == pAddress && pOther->GetRange() == pCopy->GetRange()) {
            return PASTE_DUPLICATE;
        }
    }
    CQuantityMember* pMember = m_pQuantity->CreateMember();
    if (pMember == nullptr) {
        ShowCapacityError();
        return PASTE_FULL;
    }
    pMember->SetGroupAddress(pAddress);
    pMember->SetValues(pCopy->GetRawValue(), pCopy->GetSendOnChange(), pCopy->GetRange());
    pMember->SetExponent(pCopy->GetExponent());
    SendObjectRecord(VN_ADDED, pMember, m_pQuantity, VOK_QUANTITYMEMBER, 1);
    g_bDataModified = true;
    UpdateToolbarState();
    return PASTE_DONE;
}

void CQuantityMemberTable::DeleteEntries() {
    const int nSelected = GetSelectedEntryCount();
    if (m_pQuantity != nullptr && nSelected > 0) {
        const std::string strQuestion = FormatIntFields(
            GetResString(729, "Wollen Sie die ausgewählten %d Mengenmitglieder löschen?"), {nSelected});
        if (QuestionBox("%s", strQuestion.c_str()) == IDYES) {
            // Collected first: each removal takes its row out of this table.
            std::vector<CQuantityMember*> doomed;
            for (int nRow = GetDataRowCount() - 1; nRow >= 0; --nRow) {
                if (IsItemSelected(nRow)) {
                    if (CQuantityMember* pMember = MemberOf(GetItemData(nRow))) {
                        doomed.push_back(pMember);
                    }
                }
            }
            for (CQuantityMember* pMember : doomed) {
                m_pQuantity->DeleteMember(pMember);
                SendObjectRecord(VN_REMOVED, pMember, m_pQuantity, VOK_QUANTITYMEMBER, 1);
                delete pMember;
            }
            SendObjectRecord(VN_KINDS_CHANGED, nullptr, nullptr, VOK_QUANTITYMEMBER);
            g_bDataModified = true;
            UpdateToolbarState();
            DWORD nCount = 0;
            g_pChronoset->CountAssociations(nCount);
        }
    }
    CMainTableBox::DeleteEntries();
}
