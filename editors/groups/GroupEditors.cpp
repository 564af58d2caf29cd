#include "editors/groups/GroupEditors.h"

#include "app/UsageDialog.h"
#include "editors/groups/GaSelectionBtnView.h"
#include "editors/groups/GroupAddressInsertDlg.h"
#include "editors/groups/GroupAddressTable.h"
#include "editors/groups/MainMiddleGroupTable.h"
#include "editors/groups/MemoryUsageTable.h"
#include "editors/groups/QuantitiesTable.h"
#include "editors/groups/QuantityMemberTable.h"
#include "editors/groups/QuantityTable.h"
#include "editors/groups/QuantityTriggerTable.h"
#include "editors/groups/SubGroupTable.h"
#include "editors/groups/UsageDlg.h"
#include "model/GroupDataAddresses.h"
#include "model/Quantity.h"
#include "model/StringLongObject.h"
#include "common/Globals.h"
#include "platform/ui/Handles.h"
#include "ui/GroupAddressInsertHook.h"
#include "ui/MainTableView.h"
#include "ui/UsageDialogHook.h"

#include <vector>

namespace {

// The reconciliation's view of the usage dialog.
class CReconcileUsageDialog : public IUsageDialog {
public:
    int DoModal(HWND hParent, bool bDeleteMode, CGroupDataAddresses* pList, CGroupAddressCheck* pCheck,
                bool bShowWarning) override {
        std::vector<CObject*> objects;
        if (pList != nullptr) {
            for (bool bInvalid : {false, true}) {
                for (CGroupDataAddress* pAddress : pList->GetList(bInvalid)) {
                    objects.push_back(pAddress);
                }
            }
        }
        CUsageDlg dlg(platform::ui::WidgetFromHwnd(hParent), bDeleteMode, objects);
        dlg.SetAssociationCheck(pCheck);
        dlg.ShowWarning(bShowWarning ? 1 : 0);
        return dlg.DoModal();
    }
};

}  // namespace

void InstallGroupEditors() {
    static CReconcileUsageDialog reconcileUsage;
    SetUsageDialog(&reconcileUsage);
    ui::SetUsageDialogHook([](QWidget* pOwner, int /*nTableType*/, const std::vector<CObject*>& objects) {
        CUsageDlg dlg(pOwner, false, objects);
        return dlg.DoModal();
    });
    CMainTableView::RegisterTableClass(2, [](int, CObject*) -> CMainTableBox* { return new CQuantitiesTable(); });
    CMainTableView::RegisterTableClass(3, [](int, CObject*) -> CMainTableBox* { return new CGroupAddressTable(); });
    CMainTableView::RegisterTableClass(4, [](int, CObject*) -> CMainTableBox* { return new CMemoryUsageTable(); });
    // A quantity's trigger and member nodes.
    CMainTableView::RegisterTableClass(13, [](int, CObject* pObject) -> CMainTableBox* {
        return new CQuantityTriggerTable(dynamic_cast<CQuantity*>(pObject));
    });
    CMainTableView::RegisterTableClass(14, [](int, CObject* pObject) -> CMainTableBox* {
        return new CQuantityMemberTable(dynamic_cast<CQuantity*>(pObject));
    });
    // A quantity's node: its form.
    CMainTableView::RegisterTableClass(12, [](int, CObject* pObject) -> CMainTableBox* {
        return new CQuantityTable(dynamic_cast<CQuantity*>(pObject));
    });
    // The group selection tree's nodes: the project (its main groups), a
    // main group (its middle groups) and a middle group, or a main group
    // with two-level addresses (its sub groups); the node's object names the
    // group's host id.
    const auto hostId = [](CObject* pObject) -> int {
        const auto* pGroup = dynamic_cast<const CStringLongObject*>(pObject);
        return pGroup != nullptr ? static_cast<int>(pGroup->GetId()) : -1;
    };
    CMainTableView::RegisterTableClass(16, [hostId](int, CObject* pObject) -> CMainTableBox* {
        return new CMainMiddleGroupTable(16, hostId(pObject));
    });
    CMainTableView::RegisterTableClass(17, [hostId](int, CObject* pObject) -> CMainTableBox* {
        return new CMainMiddleGroupTable(17, hostId(pObject));
    });
    CMainTableView::RegisterTableClass(18, [hostId](int, CObject* pObject) -> CMainTableBox* {
        return new CSubGroupTable(hostId(pObject));
    });
    // The sub groups' button bar with "Übernehmen".
    CMainTableBox::RegisterFormView(18, []() -> CMainFormView* { return new CGaSelectionBtnView(); });
    // The "neue Gruppenadresse" entry of the choosers: the clock's choosers
    // (date, time, its one-bit addresses) take one address that stays
    // outside the list; the others add to the list. Either closes once
    // something was added.
    ui::SetGroupAddressInsertHook([](QWidget* pOwner, DWORD dwAllowedTypes) -> CGroupDataAddress* {
        if (g_bStandalone) {
            return nullptr;
        }
        const BOOL bClock = (dwAllowedTypes & CGroupAddressInsertDlg::kClockTypeBits) != 0 ? TRUE : FALSE;
        CGroupAddressInsertDlg dlg(pOwner, bClock, TRUE, dwAllowedTypes, !bClock);
        dlg.DoModal();
        return dlg.GetGroupAddress();
    });
}
