#include "editors/time/SpecialDaysTable.h"

#include "app/Chronoset.h"
#include "editors/time/SpecialDayEditDlg.h"
#include "model/CalendarRecord.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/MessageBoxes.h"
#include "model/SpecialDay.h"
#include "model/SpecialDays.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/base/MessageBoxSink.h"
#include "platform/ui/Handles.h"
#include "ui/ViewNotify.h"

#include <cstdio>

namespace {

CSpecialDay* SpecialDayOf(CObject* pObject) {
    return dynamic_cast<CSpecialDay*>(pObject);
}

}  // namespace

CSpecialDaysTable::CSpecialDaysTable() : CMainTableBox(kTableType) {
    SetObjectKind(VOK_SPECIALDAY);
    SetParentObject(g_pChronoset != nullptr ? g_pChronoset->GetSpecialDays() : nullptr);
    SetMaxEntries(kMaxSpecialDays);
    SetColumnCount(3);
}

CSpecialDaysTable::~CSpecialDaysTable() = default;

std::string CSpecialDaysTable::FormatPeriodEdge(const std::string& strPrefix, const std::tm& tm) {
    // A loaded record carries no weekday; it comes from the date itself.
    return FormatCalendarText(strPrefix + " " + GetShortWeekdayName(GetCivilWeekday(tm)) + ",", tm, true);
}

int CSpecialDaysTable::CompareItems(int nColumn, int nRowA, int nRowB) {
    const CSpecialDay* pA = SpecialDayOf(GetItemData(nRowA));
    const CSpecialDay* pB = SpecialDayOf(GetItemData(nRowB));
    // Rows without a special day (the new-entry row) sort last.
    if (pA == nullptr) {
        return pB != nullptr ? 1 : 0;
    }
    if (pB == nullptr) {
        return -1;
    }
    switch (nColumn) {
    case 0:
        return CompareCalendarTimes(pA->GetStartTime(), pB->GetStartTime());
    case 1:
        return CompareCalendarTimes(pA->GetEndTime(), pB->GetEndTime());
    case 2: {
        const CDayRoutine* pRa = pA->GetDayRoutine();
        const CDayRoutine* pRb = pB->GetDayRoutine();
        if (pRa == nullptr || pRb == nullptr) {
            return pRa == nullptr ? (pRb == nullptr ? 0 : -1) : 1;
        }
        return pRa->GetNumber() - pRb->GetNumber();
    }
    default:
        return 0;
    }
}

bool CSpecialDaysTable::InitColumns() {
    PresetColumnPrefs();
    AddColumn(GetResString(40123, "Beginn"), GetStoredColumnWidth(0), LVCFMT_LEFT);
    AddColumn(GetResString(40124, "Ende"), GetStoredColumnWidth(1), LVCFMT_LEFT);
    AddColumn(GetResString(40111, "Tagesablauf"), GetStoredColumnWidth(2), LVCFMT_LEFT);
    return true;
}

bool CSpecialDaysTable::FillTable() {
    DeleteAllRows();
    if (g_pChronoset != nullptr) {
        for (CSpecialDay* pSpecialDay : g_pChronoset->GetSpecialDays()->GetSpecialDays()) {
            std::vector<std::string> texts;
            GetEntryStrings(pSpecialDay, texts);
            if (AddRow(texts, pSpecialDay, GetDefaultImage()) < 0) {
                return false;
            }
        }
    }
    return AddItem(GetResString(754, "*** neuer Sondertag ***"), nullptr, GetDefaultImage()) >= 0;
}

void CSpecialDaysTable::GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) {
    texts.clear();
    const CSpecialDay* pSpecialDay = SpecialDayOf(pObject);
    if (pSpecialDay == nullptr) {
        return;
    }
    texts.push_back(FormatPeriodEdge(GetResString(830, "von"), pSpecialDay->GetStartTime()));
    texts.push_back(FormatPeriodEdge(GetResString(40135, "bis"), pSpecialDay->GetEndTime()));
    if (const CDayRoutine* pRoutine = pSpecialDay->GetDayRoutine()) {
        char szNumber[16];
        std::snprintf(szNumber, sizeof(szNumber), "%02d: ", static_cast<int>(pRoutine->GetNumber()));
        texts.push_back(szNumber + pRoutine->GetName());
    } else {
        texts.push_back(GetResString(107, "*leer*"));
    }
}

int CSpecialDaysTable::OnViewNotify(VIEWNOTIFY* pNotify) {
    // A renamed routine changes the texts of the rows that run it.
    if (pNotify != nullptr && pNotify->nType == VN_CHANGED && pNotify->nKind == VOK_DAYROUTINE &&
        pNotify->nHandled == 0) {
        RefreshTable();
    }
    return CMainTableBox::OnViewNotify(pNotify);
}

int CSpecialDaysTable::EditEntry(int nRow) {
    if (IsEditInProgress() || NotifySelectionChanged() != 0 || g_pChronoset == nullptr) {
        return 0;
    }
    CSpecialDays* pSpecialDays = g_pChronoset->GetSpecialDays();
    const bool bNewEntry = nRow < 0 || nRow >= GetNewEntryRow();
    if (bNewEntry) {
        const HWND hOwner = platform::ui::HwndFromWidget(GetParameterDlg());
        if (pSpecialDays->GetCount() >= kMaxSpecialDays) {
            CMessageBox().ShowError(hOwner, LoadResString(605).c_str(),
                                    GetResString(604, "Sondertage ausgelastet").c_str());
            return 0;
        }
        if (g_pChronoset->GetDayRoutines()->GetCount() == 0) {
            CMessageBox().ShowError(hOwner, LoadResString(705).c_str(),
                                    GetResString(704, "Kein Tagesablauf definiert").c_str());
            return 0;
        }
    }
    LOG_TRACE("CSpecialDaysTable: EditEntry (nEntry=%d)", nRow);
    SetEditInProgress(true);
    std::vector<CSpecialDay*> selected;
    CSpecialDay* pTemplate = nullptr;
    if (!bNewEntry) {
        for (int i = 0; i < GetDataRowCount(); ++i) {
            if (IsRowSelected(i)) {
                if (CSpecialDay* pSpecialDay = SpecialDayOf(GetItemData(i))) {
                    selected.push_back(pSpecialDay);
                }
            }
        }
    } else {
        const int nMark = GetSelectionMark();
        if (nMark >= 0 && nMark < GetDataRowCount()) {
            pTemplate = SpecialDayOf(GetItemData(nMark));
        }
    }
    int nResult = IDCANCEL;
    {
        CSpecialDayEditDlg dlg(GetParameterDlg(), bNewEntry, &selected);
        dlg.SetTable(this);
        dlg.SetTemplateSpecialDay(pTemplate);
        nResult = dlg.DoModal();
    }
    UpdateToolbarState();
    if (nResult == IDOK) {
        g_bDataModified = true;
    }
    SetEditInProgress(false);
    return 1;
}

void CSpecialDaysTable::DeleteEntries() {
    const int nSelected = GetSelectedEntryCount();
    if (nSelected <= 0 || g_pChronoset == nullptr) {
        return;
    }
    const std::string strQuestion =
        FormatIntFields(GetResString(726, "Wollen Sie die ausgewählten %d Sondertage löschen?"), {nSelected});
    if (QuestionBox("%s", strQuestion.c_str()) != IDYES) {
        return;
    }
    CSpecialDays* pSpecialDays = g_pChronoset->GetSpecialDays();
    // Collected first, last row first: each record that comes back takes
    // its row out of this table.
    std::vector<CSpecialDay*> doomed;
    for (int nRow = GetDataRowCount() - 1; nRow >= 0; --nRow) {
        if (IsRowSelected(nRow)) {
            if (CSpecialDay* pSpecialDay = SpecialDayOf(GetItemData(nRow))) {
                doomed.push_back(pSpecialDay);
            }
        }
    }
    for (CSpecialDay* pSpecialDay : doomed) {
        pSpecialDays->RemoveSpecialDay(pSpecialDay);
        SendObjectRecord(VN_REMOVED, pSpecialDay, nullptr, VOK_SPECIALDAY);
        // No row may keep pointing at the deleted day, whoever heard of it.
        const int nRow = FindRowOfObject(pSpecialDay);
        if (nRow >= 0) {
            DeleteRow(nRow, true);
        }
        delete pSpecialDay;
    }
    g_bDataModified = true;
    UpdateToolbarState();
}
