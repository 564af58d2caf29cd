#include "editors/time/DayRoutineTable.h"

#include "app/Chronoset.h"
#include "editors/time/DayRoutineEditDlg.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/DaySwitchTime.h"
#include "model/GroupDataAddress.h"
#include "model/MessageBoxes.h"
#include "model/SpecialDay.h"
#include "model/SpecialDays.h"
#include "model/WeekRoutine.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/base/MessageBoxSink.h"
#include "platform/ui/Handles.h"
#include "ui/ViewNotify.h"
#include "ui/ItemOrder.h"

#include <cstdio>
#include <list>
#include <vector>

using ui::Order;

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
    if (g_pChronoset != nullptr) {
        for (CDayRoutine* pRoutine : g_pChronoset->GetDayRoutines()->GetDayRoutines()) {
            std::vector<std::string> texts;
            GetEntryStrings(pRoutine, texts);
            if (AddRow(texts, pRoutine, GetDefaultImage()) < 0) {
                return false;
            }
        }
    }
    const int nRow = AddItem("", nullptr, GetDefaultImage());
    if (nRow < 0) {
        return false;
    }
    SetItemText(nRow, 1, GetResString(752, "*** neuer Tagesablauf ***"));
    return true;
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
    const CDayRoutine* pA = RoutineOf(GetItemData(nRowA));
    const CDayRoutine* pB = RoutineOf(GetItemData(nRowB));
    // Rows without a routine (the new-entry row) sort last.
    if (pA == nullptr) {
        return pB != nullptr ? 1 : 0;
    }
    if (pB == nullptr) {
        return -1;
    }
    switch (nColumn) {
    case 0:
        return pA->GetNumber() - pB->GetNumber();
    case 1:
        return CompareText(pA->GetName(), pB->GetName());
    case 2:
    case 3: {
        const CGroupDataAddress* pTa = pA->GetTriggerGroupAddress();
        const CGroupDataAddress* pTb = pB->GetTriggerGroupAddress();
        if (pTa == nullptr || pTb == nullptr) {
            return pTa == nullptr ? (pTb == nullptr ? 0 : -1) : 1;
        }
        if (nColumn == 2) {
            return Order(static_cast<WORD>(pTa->GetAddress()), static_cast<WORD>(pTb->GetAddress()));
        }
        return CompareText(pTa->GetName(), pTb->GetName());
    }
    default:
        return 0;
    }
}

int CDayRoutineTable::EditEntry(int nRow) {
    if (IsEditInProgress() || NotifySelectionChanged() != 0 || g_pChronoset == nullptr) {
        return 0;
    }
    CDayRoutines* pRoutines = g_pChronoset->GetDayRoutines();
    const bool bInsert = nRow < 0 || nRow >= GetNewEntryRow();
    if (bInsert && pRoutines->GetCount() >= kMaxRoutines) {
        CMessageBox().ShowError(platform::ui::HwndFromWidget(GetParameterDlg()),
                                GetResString(621, "Die maximale Anzahl von Tagesabläufen ist erreicht.").c_str(),
                                GetResString(620, "Tagesabläufe ausgelastet").c_str());
        return 0;
    }
    SetEditInProgress(true);
    std::vector<CDayRoutine*> routines;
    routines.reserve(10);
    if (!bInsert) {
        std::vector<CObject*> objects;
        GetSelectedObjects(objects);
        for (CObject* pObject : objects) {
            if (CDayRoutine* pRoutine = RoutineOf(pObject)) {
                routines.push_back(pRoutine);
            }
        }
    }
    {
        CDayRoutineEditDlg dlg(GetParameterDlg(), bInsert, &routines);
        dlg.SetTable(this);
        if (bInsert) {
            const int nMark = GetSelectionMark();
            if (nMark >= 0 && nMark < GetDataRowCount()) {
                dlg.SetTemplateRoutine(RoutineOf(GetItemData(nMark)));
            }
        }
        dlg.DoModal();
    }
    UpdateToolbarState();
    SetEditInProgress(false);
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
    const std::string strText =
        FormatIntFields(strFormat, {static_cast<int>(routines.size()), nSwitchTimes, nSpecialDays, nWeekdays});
    return QuestionBox("%s", strText.c_str()) == IDYES;
}

void CDayRoutineTable::SendKindsChangedInDebug() {
    if (!g_bDebugMode) {
        return;
    }
    if (g_pChronoset != nullptr) {
        DWORD nCount = 0;
        g_pChronoset->CountAssociations(nCount);
    }
    VIEWNOTIFY notify;
    notify.nType = VN_KINDS_CHANGED;
    notify.nKind = VOK_ALL;
    SendNotification(&notify);
}

void CDayRoutineTable::DeleteRoutine(CDayRoutine* pRoutine) {
    CDayRoutines* pRoutines = g_pChronoset->GetDayRoutines();
    // Copy first: removing a switching time changes the routine's list.
    const std::list<CDaySwitchTime*> switchTimes = pRoutine->GetSwitchTimes();
    for (CDaySwitchTime* pSwitchTime : switchTimes) {
        pRoutine->RemoveSwitchTime(pSwitchTime);
        DWORD nCount = 0;
        g_pChronoset->CountAssociations(nCount);
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
    SendObjectRecord(VN_REMOVED, pRoutine, pRoutines, GetObjectKind());
    // No row may keep pointing at the deleted routine, whoever else heard of it.
    const int nRow = FindRowOfObject(pRoutine);
    if (nRow >= 0) {
        DeleteRow(nRow, true);
    }
    delete pRoutine;
}

void CDayRoutineTable::DeleteEntries() {
    if (g_pChronoset != nullptr) {
        // Last row first, so the rows still to come keep their places.
        std::vector<CDayRoutine*> routines;
        for (int nRow = GetDataRowCount() - 1; nRow >= 0; --nRow) {
            if (IsRowSelected(nRow)) {
                if (CDayRoutine* pRoutine = RoutineOf(GetItemData(nRow))) {
                    routines.push_back(pRoutine);
                }
            }
        }
        if (!routines.empty() && ConfirmDelete(routines)) {
            for (CDayRoutine* pRoutine : routines) {
                DeleteRoutine(pRoutine);
            }
            g_bDataModified = true;
            UpdateToolbarState();
            DWORD nCount = 0;
            g_pChronoset->CountAssociations(nCount);
        }
    }
    SendKindsChangedInDebug();
}
