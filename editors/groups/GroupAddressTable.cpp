#include "editors/groups/GroupAddressTable.h"

#include "app/Chronoset.h"
#include "editors/groups/LinkGroupAddressDlg.h"
#include "editors/groups/GroupAddressInsertDlg.h"
#include "editors/groups/UsageDlg.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/DaySwitchTime.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/base/MessageBoxSink.h"
#include "platform/ui/CmdUI.h"
#include "ui/GroupAddressInsertHook.h"
#include "ui/GroupAddressOrder.h"
#include "ui/ViewNotify.h"

#include <algorithm>
#include <list>

namespace {

// Every record this table sends about its own changes carries this flag, so
// that the tables apply them through the closing kinds-changed record.
constexpr int kOwnChangeFlag = 1;

CGroupDataAddress* AddressOfRow(CObject* pObject) {
    return dynamic_cast<CGroupDataAddress*>(pObject);
}

int UseOrder(int n) {
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

const char* UseMark(const CGroupDataAddress& address, DWORD dwUse) {
    return address.HasUsage(dwUse) ? "+" : "-";
}

bool IsInInvalidList(const CGroupDataAddresses& lists, const CGroupDataAddress* pAddress) {
    const CGroupDataAddressList& invalid = lists.GetList(true);
    return std::find(invalid.begin(), invalid.end(), pAddress) != invalid.end();
}

}  // namespace

CGroupAddressTable::CGroupAddressTable() : CMainTableBox(kTableType) {
    SetObjectKind(VOK_GROUPADDRESS);
    SetMaxEntries(kMaxAddresses);
    SetColumnCount(7);
}

CGroupAddressTable::~CGroupAddressTable() = default;

bool CGroupAddressTable::InitColumns() {
    PresetColumnPrefs();
    AddColumn(GetResString(2002, "GA Nr."), GetStoredColumnWidth(0), LVCFMT_LEFT);
    AddColumn(GetResString(2003, "GA Name"), GetStoredColumnWidth(1), LVCFMT_LEFT);
    AddColumn(GetResString(40107, "Typ"), GetStoredColumnWidth(2), LVCFMT_LEFT);
    AddColumn(GetResString(310, "TA"), GetStoredColumnWidth(3), LVCFMT_CENTER);
    AddColumn(GetResString(311, "SZ"), GetStoredColumnWidth(4), LVCFMT_CENTER);
    AddColumn(GetResString(312, "MA"), GetStoredColumnWidth(5), LVCFMT_CENTER);
    AddColumn(GetResString(313, "MM"), GetStoredColumnWidth(6), LVCFMT_CENTER);
    return true;
}

bool CGroupAddressTable::FillTable() {
    DeleteAllRows();
    if (g_pChronoset != nullptr) {
        CGroupDataAddresses* pLists = g_pChronoset->GetGroupDataAddresses();
        for (const bool bInvalid : {false, true}) {
            GaPosition pos = pLists->GetFirstItemPos(GASM_ANY, nullptr, bInvalid);
            while (pos) {
                if (AddObjectRow(pLists->GetNextItem(pos, GASM_ANY, nullptr, bInvalid)) < 0) {
                    return false;
                }
            }
        }
    }
    return g_bStandalone || AddNewEntryRow(GetResString(759, "*** neue Gruppenadresse ***"), 1);
}

void CGroupAddressTable::GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) {
    texts.clear();
    const CGroupDataAddress* pAddress = AddressOfRow(pObject);
    if (pAddress == nullptr) {
        return;
    }
    texts.push_back(pAddress->GetAddressText(true));
    texts.push_back(pAddress->GetName());
    texts.push_back(pAddress->GetTypeText());
    for (const DWORD dwUse : {GAU_DAYROUTINE_TRIGGER, GAU_SWITCHTIME, GAU_QUANTITY_TRIGGER, GAU_QUANTITY_MEMBER}) {
        texts.push_back(UseMark(*pAddress, dwUse));
    }
}

int CGroupAddressTable::CompareItems(int nColumn, int nRowA, int nRowB) {
    return CompareRowObjects<CGroupDataAddress>(nRowA, nRowB, [nColumn](const CGroupDataAddress& a,
                                                                        const CGroupDataAddress& b) {
        switch (nColumn) {
        case 0:
            // The invalid list first.
            if (a.IsInvalid() != b.IsInvalid()) {
                return a.IsInvalid() ? -1 : 1;
            }
            return ui::CompareGroupAddresses({&a}, {&b}, ui::GaColumn::Number, ui::Missing::Last);
        case 1:
            return ui::CompareGroupAddresses({&a}, {&b}, ui::GaColumn::Name, ui::Missing::Last);
        case 2:
            return ui::CompareGroupAddresses({&a}, {&b}, ui::GaColumn::Type, ui::Missing::Last);
        case 3:
        case 4:
        case 5:
        case 6: {
            const DWORD dwUse = DWORD{1} << (nColumn - 3);
            return UseOrder(static_cast<int>(a.HasUsage(dwUse)) - static_cast<int>(b.HasUsage(dwUse)));
        }
        default:
            return 0;
        }
    });
}

std::vector<CGroupDataAddress*> CGroupAddressTable::GetSelectedUsedAddresses() const {
    std::vector<CGroupDataAddress*> used = GetSelectedObjectsOf<CGroupDataAddress>();
    std::erase_if(used, [](const CGroupDataAddress* pAddress) { return !pAddress->HasUsage(GAU_ANY); });
    return used;
}

int CGroupAddressTable::EditEntry(int nRow) {
    if (nRow < 0 || nRow >= GetDataRowCount()) {
        if (g_bStandalone) {
            return 0;
        }
        NewEntry();
        return 1;
    }
    // A data row moves the uses of the selected used addresses.
    const std::vector<CGroupDataAddress*> used = GetSelectedUsedAddresses();
    if (used.empty()) {
        return 1;
    }
    RecountAssociations();
    bool bChanged = false;
    {
        CLinkGroupAddressDlg dlg(GetParameterDlg(), used);
        dlg.DoModal();
        bChanged = dlg.HasChanged();
    }
    if (bChanged) {
        UpdateToolbarState();
        RecountAssociations();
        SendKindsChanged(VOK_ALL);
    }
    return 1;
}

void CGroupAddressTable::OnPaneCommand(int /*nCode*/) {
    NewEntry();
}

void CGroupAddressTable::NewEntry() {
    if (g_bStandalone) {
        return;
    }
    // Several rows at a time, and the dialog stays open for more.
    bool bApplied = false;
    {
        CGroupAddressInsertDlg dlg(GetParameterDlg(), FALSE, FALSE, kInsertTypeMask, TRUE);
        dlg.DoModal();
        bApplied = dlg.IsApplied() != FALSE;
    }
    if (!bApplied) {
        return;
    }
    UpdateToolbarState();
    SendKindsChanged(VOK_GROUPADDRESS);
}

void CGroupAddressTable::OnUpdateEditEntry(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!GetSelectedUsedAddresses().empty());
}

bool CGroupAddressTable::IsUsedAnywhere(const CGroupDataAddress* pAddress) {
    if (g_pChronoset == nullptr || pAddress == nullptr) {
        return false;
    }
    for (const CDayRoutine* pRoutine : g_pChronoset->GetDayRoutines()->GetDayRoutines()) {
        if (pRoutine->GetTriggerGroupAddress() == pAddress) {
            return true;
        }
        for (const CDaySwitchTime* pSwitchTime : pRoutine->GetSwitchTimes()) {
            if (pSwitchTime->GetGroupAddress() == pAddress) {
                return true;
            }
        }
    }
    for (const CQuantity* pQuantity : g_pChronoset->GetQuantities()->GetQuantityList()) {
        if (pQuantity->IsTrigger(pAddress)) {
            return true;
        }
        for (const CQuantityMember* pMember : pQuantity->GetMembers()) {
            if (pMember->GetGroupAddress() == pAddress) {
                return true;
            }
        }
    }
    return false;
}

void CGroupAddressTable::DeleteEntries() {
    if (g_bStandalone || g_pChronoset == nullptr) {
        return;
    }
    CGroupDataAddresses& lists = *g_pChronoset->GetGroupDataAddresses();
    // Only rows the user selected: the selection mark alone deletes nothing.
    std::vector<CGroupDataAddress*> used;
    std::vector<CGroupDataAddress*> unused;
    for (CGroupDataAddress* pAddress : GetSelectedRowObjects<CGroupDataAddress>(false)) {
        (IsUsedAnywhere(pAddress) ? used : unused).push_back(pAddress);
    }
    if (!used.empty()) {
        std::vector<CObject*> objects(used.begin(), used.end());
        int nResult = IDCANCEL;
        {
            CUsageDlg dlg(GetParameterDlg(), true, objects);
            nResult = dlg.DoModal();
        }
        if (nResult == IDOK) {
            for (CGroupDataAddress* pAddress : used) {
                DetachAddress(lists, pAddress);
            }
        }
    }
    if (!unused.empty() &&
        AskDelete(GetResString(738, "Wollen Sie die %d ausgewählten (unbenutzten) Gruppenadressen löschen?"),
                  {static_cast<int>(unused.size())})) {
        DeleteUnused(lists, unused);
    }
    SendKindsChanged(VOK_ALL);
    RecountAssociations();
    UpdateToolbarState();
}

void CGroupAddressTable::DetachAddress(CGroupDataAddresses& lists, CGroupDataAddress* pAddress) {
    // Releasing the last use of an invalid-list address destroys it; from
    // then on the pointer only serves to ask whether it is still listed.
    const auto gone = [&lists, pAddress]() { return !lists.IsInList(pAddress); };
    if (gone()) {
        return;
    }
    const bool bInvalid = IsInInvalidList(lists, pAddress);
    bool bRemove = !bInvalid;
    bool bWalkEnded = false;
    for (CDayRoutine* pRoutine : g_pChronoset->GetDayRoutines()->GetDayRoutines()) {
        if (pRoutine->GetTriggerGroupAddress() == pAddress) {
            pRoutine->SetTriggerGroupAddress(nullptr);
            g_bDataModified = true;
            // Clearing a trigger never destroys the address: an invalid one
            // without any other use goes with this delete.
            if (bInvalid && !pAddress->HasUsage(GAU_ANY)) {
                bRemove = true;
                bWalkEnded = true;
                break;
            }
        }
        // Copied: each removal changes the routine's list.
        const std::list<CDaySwitchTime*> switchTimes = pRoutine->GetSwitchTimes();
        for (CDaySwitchTime* pSwitchTime : switchTimes) {
            if (pSwitchTime->GetGroupAddress() != pAddress) {
                continue;
            }
            pRoutine->RemoveSwitchTime(pSwitchTime);
            g_bDataModified = true;
            SendObjectRecord(VN_REMOVED, pSwitchTime, pRoutine, VOK_DAYSWITCHTIME, kOwnChangeFlag);
            delete pSwitchTime;
            if (gone()) {
                return;
            }
        }
    }
    if (!bWalkEnded) {
        for (CQuantity* pQuantity : g_pChronoset->GetQuantities()->GetQuantityList()) {
            while (pQuantity->IsTrigger(pAddress)) {
                SendObjectRecord(VN_REMOVED, pAddress, pQuantity, VOK_QUANTITYTRIGGER, kOwnChangeFlag);
                CGroupDataAddress* pTrigger = pAddress;
                pQuantity->RemoveTriggerGroupAddress(pTrigger);
                g_bDataModified = true;
                if (gone()) {
                    return;
                }
            }
            const std::list<CQuantityMember*> members(pQuantity->GetMembers().begin(), pQuantity->GetMembers().end());
            for (CQuantityMember* pMember : members) {
                if (pMember->GetGroupAddress() != pAddress) {
                    continue;
                }
                pQuantity->DeleteMember(pMember);
                g_bDataModified = true;
                SendObjectRecord(VN_REMOVED, pMember, pQuantity, VOK_QUANTITYMEMBER, kOwnChangeFlag);
                delete pMember;
                if (gone()) {
                    return;
                }
            }
        }
    }
    SendObjectRecord(VN_REMOVED, pAddress, nullptr, VOK_GROUPADDRESS, kOwnChangeFlag);
    if (!bRemove) {
        // The data model removes an invalid-list address with its last use.
        return;
    }
    if (!lists.Remove(pAddress, false)) {
        LOG_ERROR("Couldnt delete invalid assoc GA.");
        return;
    }
    g_bDataModified = true;
    delete pAddress;
}

void CGroupAddressTable::DeleteUnused(CGroupDataAddresses& lists, const std::vector<CGroupDataAddress*>& unused) {
    for (CGroupDataAddress* pAddress : unused) {
        if (!lists.IsInList(pAddress) || !lists.Remove(pAddress, false)) {
            LOG_ERROR("Couldnt delete invalid assoc GA.");
            continue;
        }
        g_bDataModified = true;
        SendObjectRecord(VN_REMOVED, pAddress, nullptr, VOK_GROUPADDRESS, kOwnChangeFlag);
        delete pAddress;
    }
}

void CGroupAddressTable::SendKindsChanged(int nKinds) {
    VIEWNOTIFY notify;
    notify.nType = VN_KINDS_CHANGED;
    notify.nKind = nKinds;
    notify.nFlag = kOwnChangeFlag;
    SendNotification(&notify);
}
