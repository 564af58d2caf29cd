#include "ui/EmptyTable.h"

#include "app/Chronoset.h"
#include "model/DayRoutines.h"
#include "common/Globals.h"

CEmptyTable::CEmptyTable() : CMainTableBox(1) {
    if (g_pChronoset != nullptr) {
        SetParentObject(g_pChronoset->GetDayRoutines());
    }
}

CEmptyTable::~CEmptyTable() = default;
