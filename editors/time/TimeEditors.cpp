#include "editors/time/TimeEditors.h"

#include "editors/time/DayRoutineTable.h"
#include "editors/time/WeekRoutineTable.h"
#include "ui/MainTableView.h"

void InstallTimeEditors() {
    CMainTableView::RegisterTableClass(6, [](int, CObject*) -> CMainTableBox* { return new CDayRoutineTable(); });
    CMainTableView::RegisterTableClass(7, [](int, CObject*) -> CMainTableBox* { return new CWeekRoutineTable(); });
}
