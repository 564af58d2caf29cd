#include "editors/time/TimeEditors.h"

#include "editors/time/DayRoutineTable.h"
#include "editors/time/DaySwitchTimeTable.h"
#include "editors/time/DeviceObjectTable.h"
#include "editors/time/DeviceStatusDlg.h"
#include "editors/time/InternalClockTable.h"
#include "editors/time/OverviewTable.h"
#include "editors/time/SetDateTimeDlg.h"
#include "editors/time/SpecialDaysTable.h"
#include "editors/time/SummertimeTable.h"
#include "editors/time/WeekRoutineTable.h"
#include "model/DayRoutine.h"
#include "model/StringLongObject.h"
#include "ui/MainTableView.h"
#include "ui/ParameterDlg.h"

void InstallTimeEditors() {
    // The root node: the internal clock's form.
    CMainTableView::RegisterTableClass(5, [](int, CObject*) -> CMainTableBox* { return new CInternalClockTable(); });
    CMainTableView::RegisterTableClass(6, [](int, CObject*) -> CMainTableBox* { return new CDayRoutineTable(); });
    CMainTableView::RegisterTableClass(7, [](int, CObject*) -> CMainTableBox* { return new CWeekRoutineTable(); });
    CMainTableView::RegisterTableClass(9, [](int, CObject*) -> CMainTableBox* { return new CSpecialDaysTable(); });
    CMainTableView::RegisterTableClass(8, [](int, CObject*) -> CMainTableBox* { return new CSummertimeTable(); });
    // The overview node: switching times by day for one address and period.
    CMainTableView::RegisterTableClass(10, [](int, CObject*) -> CMainTableBox* { return new COverviewTable(); });
    // A routine's node: the switching times of that routine.
    CMainTableView::RegisterTableClass(11, [](int, CObject* pObject) -> CMainTableBox* {
        return new CDaySwitchTimeTable(dynamic_cast<CDayRoutine*>(pObject));
    });
    // The objects of one host group address, for the group selection tree's
    // node of that address (its object names the address's host id).
    CMainTableView::RegisterTableClass(19, [](int, CObject* pObject) -> CMainTableBox* {
        const auto* pAddress = dynamic_cast<const CStringLongObject*>(pObject);
        return new CDeviceObjectTable(pAddress != nullptr ? pAddress->GetId() : -1);
    });
    // Online > Set Date/Time and Show Status.
    CParameterDlg::SetDateTimeDialogRunner(&CSetDateTimeDlg::Run);
    CParameterDlg::SetStatusDialogRunner(&CDeviceStatusDlg::Run);
}
