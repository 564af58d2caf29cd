#include "editors/groups/QuantityMemberTable.h"

#include "app/Chronoset.h"
#include "editors/groups/QuantityMemberEditDlg.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/ResString.h"
#include "platform/base/MessageBoxSink.h"
#include "ui/ViewNotify.h"
#include "ui/GroupAddressOrder.h"
#include "ui/ItemOrder.h"


using ui::Order;

namespace {

CQuantityMember* MemberOf(CObject* pObject) {
    return dynamic_cast<CQuantityMember*>(pObject);
}

ui::AddressedValue AddressedValueOf(const CQuantityMember& member) {
    return {member.GetGroupAddress(), member.GetRawValue()};
}

// Columns 0 to 3 go by the members' group addresses.
constexpr ui::GaColumn kMemberAddressColumns[] = {ui::GaColumn::Number, ui::GaColumn::Name, ui::GaColumn::Type,
                                                  ui::GaColumn::Value};

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
    return AddObjectRows(m_pQuantity->GetMembers()) &&
           AddNewEntryRow(GetResString(756, "*** neues Mengenmitglied ***"), 0);
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
    return CompareRowObjects<CQuantityMember>(nRowA, nRowB, [nColumn](const CQuantityMember& a,
                                                                      const CQuantityMember& b) {
        switch (nColumn) {
        case 0:
        case 1:
        case 2:
        case 3:
            // A member without address first.
            return ui::CompareGroupAddresses(AddressedValueOf(a), AddressedValueOf(b), kMemberAddressColumns[nColumn],
                                             ui::Missing::First);
        case 4:
            return Order(a.GetRange(), b.GetRange());
        case 5:
            return Order(a.GetSendOnChange(), b.GetSendOnChange());
        default:
            return 0;
        }
    });
}

void CQuantityMemberTable::ShowCapacityError() {
    ShowErrorBox(GetResString(617, "Die maximale Anzahl von Mengenmitgliedern ist erreicht."),
                 GetResString(616, "Mengenmitglieder ausgelastet"));
}

int CQuantityMemberTable::EditEntry(int nRow) {
    if (m_pQuantity == nullptr || IsEditInProgress() || NotifySelectionChanged() != 0) {
        return 0;
    }
    const bool bInsert = IsNewEntryRow(nRow);
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
    std::vector<CQuantityMember*> members;
    if (!bInsert) {
        members = GetSelectedObjectsOf<CQuantityMember>();
    }
    const int nResult = RunEditDialog([&]() {
        CQuantityMemberEditDlg dlg(GetParameterDlg(), bInsert, &members);
        dlg.SetTable(this);
        dlg.SetQuantity(m_pQuantity);
        if (bInsert) {
            dlg.SetTemplateMember(GetMarkObjectOf<CQuantityMember>());
        }
        return dlg.DoModal();
    });
    if (nResult == IDOK) {
        g_bDataModified = true;
    }
    return 1;
}

int CQuantityMemberTable::PasteObject(CObject* pObject) {
    const CQuantityMember* pCopy = MemberOf(pObject);
    if (m_pQuantity == nullptr || pCopy == nullptr || g_pChronoset == nullptr) {
        return PASTE_DONE;
    }
    CGroupDataAddress* pAddress = GetKnownGroupAddress(pCopy->GetGroupAddress());
    if (pAddress == nullptr) {
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
    SetDataModified();
    return PASTE_DONE;
}

void CQuantityMemberTable::DeleteEntries() {
    if (m_pQuantity != nullptr &&
        DeleteSelectedRows<CQuantityMember>(
            GetResString(729, "Wollen Sie die ausgewählten %d Mengenmitglieder löschen?"),
            [this](CQuantityMember* pMember) {
                m_pQuantity->DeleteMember(pMember);
                SendObjectRecord(VN_REMOVED, pMember, m_pQuantity, VOK_QUANTITYMEMBER, 1);
                delete pMember;
            })) {
        SendObjectRecord(VN_KINDS_CHANGED, nullptr, nullptr, VOK_QUANTITYMEMBER);
        SetDataModified();
        RecountAssociations();
    }
    CMainTableBox::DeleteEntries();
}
