#include "editors/time/DayRoutineTable.h"

#include "app/Chronoset.h"
#include "editors/time/DayRoutineEditDlg.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/DaySwitchTime.h"
#include "model/GroupDataAddress.h"
#include "model/SpecialDay.h"
#include "model/SpecialDays.h"
#include "model/WeekRoutine.h"
#include "common/Globals.h"
#include "common/ResString.h"
#include "ui/GroupAddressOrder.h"
#include "ui/ItemOrder.h"
#include "ui/ViewNotify.h"

#include <cstdio>
#include <list>
#include <vector>

using ui::CompareText;

namespace {

CDayRoutine* RoutineOf(CObject* pObject) {
    return dynamic_cast<CDayRoutine*>(pObject);
}

constexpr int kWeekdays = 7;

}  // namespace

CDayRoutineTable::CDayRoutineTable() : CMainTableBox(kTableType) {
    SetObjectKind(VOK_DAYROUTINE);
    SetParentObject(g_pChronoset != nullptr ? g_pChronoset->GetDayRoutines() : nullptr);
    SetMaxEntries(kMaxRoutines);
    SetColumnCount(4);
}

CDayRoutineTable::~CDayRoutineTable() = default;

std::string CDayRoutineTable::FormatNumber(int nNumber) {
    char szText[16];
    std::snprintf(szText, sizeof(szText), "%02d", nNumber);
    return szText;
}

bool CDayRoutineTable::InitColumns() {
    PresetColumnPrefs();
    AddColumn(GetResString(2000, "TA Nr."), GetStoredColumnWidth(0), LVCFMT_LEFT);
    AddColumn(GetResString(2001, "TA Name"), GetStoredColumnWidth(1), LVCFMT_LEFT);
    AddColumn(GetResString(2002, "GA Nr."), GetStoredColumnWidth(2), LVCFMT_LEFT);
    AddColumn(GetResString(2003, "GA Name"), GetStoredColumnWidth(3), LVCFMT_LEFT);
    return true;
}

bool CDayRoutineTable::FillTable() {
    DeleteAllRows();
    if (g_pChronoset != nullptr && !AddObjectRows(g_pChronoset->GetDayRoutines()->GetDayRoutines())) {
        return false;
    }
    return AddNewEntryRow(GetResString(752, "*** neuer Tagesablauf ***"), 1);
}

void CDayRoutineTable::GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) {
    texts.clear();
    CDayRoutine* pRoutine = RoutineOf(pObject);
    if (pRoutine == nullptr) {
        return;
    }
    const CGroupDataAddress* pTrigger = pRoutine->GetTriggerGroupAddress();
    texts.push_back(FormatNumber(pRoutine->GetNumber()));
    texts.push_back(pRoutine->GetName());
    texts.push_back(pTrigger != nullptr ? pTrigger->GetAddressText(false) : std::string());
    texts.push_back(pTrigger != nullptr ? pTrigger->GetName() : GetResString(107, "*leer*"));
}

int CDayRoutineTable::CompareItems(int nColumn, int nRowA, int nRowB) {
    return CompareRowObjects<CDayRoutine>(nRowA, nRowB, [nColumn](const CDayRoutine& a, const CDayRoutine& b) {
        switch (nColumn) {
        case 0:
            return a.GetNumber() - b.GetNumber();
        case 1:
            return CompareText(a.GetName(), b.GetName());
        case 2:
        case 3:
            // A routine without trigger before one with.
            return ui::CompareGroupAddresses({a.GetTriggerGroupAddress()}, {b.GetTriggerGroupAddress()},
                                             nColumn == 2 ? ui::GaColumn::Number : ui::GaColumn::Name,
                                             ui::Missing::First);
        default:
            return 0;
        }
    });
}

int CDayRoutineTable::EditEntry(int nRow) {
    if (IsEditInProgress() || NotifySelectionChanged() != 0 || g_pChronoset == nullptr) {
        return 0;
    }
    CDayRoutines* pRoutines = g_pChronoset->GetDayRoutines();
    const bool bInsert = IsNewEntryRow(nRow);
    if (bInsert && pRoutines->GetCount() >= kMaxRoutines) {
        ShowErrorBox(GetResString(621, "Die maximale Anzahl von Tagesabläufen ist erreicht."),
                     GetResString(620, "Tagesabläufe ausgelastet"));
        return 0;
    }
    std::vector<CDayRoutine*> routines;
    if (!bInsert) {
        routines = GetSelectedObjectsOf<CDayRoutine>();
    }
    RunEditDialog([&]() {
        CDayRoutineEditDlg dlg(GetParameterDlg(), bInsert, &routines);
        dlg.SetTable(this);
        if (bInsert) {
            dlg.SetTemplateRoutine(GetMarkObjectOf<CDayRoutine>());
        }
        return dlg.DoModal();
    });
    return 1;
}

bool CDayRoutineTable::ConfirmDelete(const std::vector<CDayRoutine*>& routines) {
    int nSwitchTimes = 0;
    int nWeekdays = 0;
    int nSpecialDays = 0;
    const CWeekRoutine* pWeek = g_pChronoset->GetWeekRoutine();
    const CSpecialDays* pSpecialDays = g_pChronoset->GetSpecialDays();
    for (const CDayRoutine* pRoutine : routines) {
        nSwitchTimes += pRoutine->GetSwitchTimeCount();
        for (int nDay = 0; nDay < kWeekdays; ++nDay) {
            if (pWeek->GetDayRoutine(nDay) == pRoutine) {
                ++nWeekdays;
            }
        }
        for (const CSpecialDay* pDay : pSpecialDays->GetSpecialDays()) {
            if (pDay->GetDayRoutine() == pRoutine) {
                ++nSpecialDays;
            }
        }
    }
    const std::string strFormat = GetResString(
        722,
        "Wollen Sie die ausgewählten %d Tagesabläufe löschen? Dadurch werden auch %d Schaltzeiten, %d Sondertage "
        "und %d Wochentagszuordnungen gelöscht.");
    return AskDelete(strFormat, {static_cast<int>(routines.size()), nSwitchTimes, nSpecialDays, nWeekdays});
}

void CDayRoutineTable::DeleteRoutine(CDayRoutine* pRoutine) {
    CDayRoutines* pRoutines = g_pChronoset->GetDayRoutines();
    // Copy first: removing a switching time changes the routine's list.
    const std::list<CDaySwitchTime*> switchTimes = pRoutine->GetSwitchTimes();
    for (CDaySwitchTime* pSwitchTime : switchTimes) {
        pRoutine->RemoveSwitchTime(pSwitchTime);
        RecountAssociations();
        SendObjectRecord(VN_REMOVED, pSwitchTime, pRoutine, VOK_DAYSWITCHTIME);
        delete pSwitchTime;
    }
    CWeekRoutine* pWeek = g_pChronoset->GetWeekRoutine();
    for (int nDay = 0; nDay < kWeekdays; ++nDay) {
        if (pWeek->GetDayRoutine(nDay) == pRoutine) {
            pWeek->SetDayRoutine(nDay, nullptr);
        }
    }
    CSpecialDays* pSpecialDays = g_pChronoset->GetSpecialDays();
    std::vector<CSpecialDay*> days;
    for (CSpecialDay* pDay : pSpecialDays->GetSpecialDays()) {
        if (pDay->GetDayRoutine() == pRoutine) {
            days.push_back(pDay);
        }
    }
    for (CSpecialDay* pDay : days) {
        pSpecialDays->RemoveSpecialDay(pDay);
        SendObjectRecord(VN_REMOVED, pDay, pSpecialDays, VOK_SPECIALDAY);
        delete pDay;
    }
    pRoutines->DeleteDayRoutine(pRoutine);
    DiscardRemovedObject(pRoutine, pRoutines);
}

void CDayRoutineTable::DeleteEntries() {
    if (g_pChronoset != nullptr) {
        // Last row first, so the rows still to come keep their places.
        const std::vector<CDayRoutine*> routines = GetSelectedRowObjects<CDayRoutine>(true);
        if (!routines.empty() && ConfirmDelete(routines)) {
            for (CDayRoutine* pRoutine : routines) {
                DeleteRoutine(pRoutine);
            }
            SetDataModified();
            RecountAssociations();
        }
    }
    SendKindsChangedInDebug();
}
