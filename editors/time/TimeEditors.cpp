#include "editors/time/TimeEditors.h"

#include "editors/time/DayRoutineTable.h"
#include "editors/time/DaySwitchTimeTable.h"
#include "editors/time/WeekRoutineTable.h"
#include "model/DayRoutine.h"
#include "ui/MainTableView.h"

void InstallTimeEditors() {
    CMainTableView::RegisterTableClass(6, [](int, CObject*) -> CMainTableBox* { return new CDayRoutineTable(); });
    CMainTableView::RegisterTableClass(7, [](int, CObject*) -> CMainTableBox* { return new CWeekRoutineTable(); });
    // A routine's node: the switching times of that routine.
    CMainTableView::RegisterTableClass(11, [](int, CObject* pObject) -> CMainTableBox* {
        return new CDaySwitchTimeTable(dynamic_cast<CDayRoutine*>(pObject));
    });
}
