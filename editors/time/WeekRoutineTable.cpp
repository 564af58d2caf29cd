#include "editors/time/WeekRoutineTable.h"

#include "app/Chronoset.h"
#include "editors/time/WeekRoutineEditDlg.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/WeekRoutine.h"
#include "common/Globals.h"
#include "common/ResString.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Dialog.h"
#include "ui/ViewNotify.h"

#include <algorithm>

namespace {

constexpr UINT IDS_WEEKDAY = 40110;
constexpr UINT IDS_FIRST_WEEKDAY = 40112;
constexpr UINT IDS_ROUTINE_NUMBER = 2000;
constexpr UINT IDS_ROUTINE_NAME = 2001;
constexpr UINT IDS_NO_ROUTINE = 40119;

const char* const kWeekdayNames[] = {"Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"};

int Sign(int n) {
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

}  // namespace

CWeekRoutineTable::CWeekRoutineTable() : CMainTableBox(kTableType) {
    SetMaxEntries(kDays);
    SetColumnCount(kColumns);
    SetObjectKind(VOK_WEEKROUTINE);
}

CWeekRoutineTable::~CWeekRoutineTable() = default;

CDayRoutine* CWeekRoutineTable::GetShownDayRoutine(int nDay) {
    if (g_pChronoset == nullptr) {
        return nullptr;
    }
    CDayRoutine* pRoutine = g_pChronoset->GetWeekRoutine()->GetDayRoutine(nDay);
    if (pRoutine == nullptr) {
        return nullptr;
    }
    // A routine deleted elsewhere may still be referenced for a moment; it
    // must never be read then.
    const auto& routines = g_pChronoset->GetDayRoutines()->GetDayRoutines();
    return std::find(routines.begin(), routines.end(), pRoutine) != routines.end() ? pRoutine : nullptr;
}

int CWeekRoutineTable::GetRowWeekday(int nRow) const {
    return ObjectToWeekday(GetItemData(nRow));
}

bool CWeekRoutineTable::InitColumns() {
    PresetColumnPrefs();
    AddColumn(GetResString(IDS_WEEKDAY, "Wochentag"), GetStoredColumnWidth(0), LVCFMT_LEFT);
    AddColumn(GetResString(IDS_ROUTINE_NUMBER, "TA Nr."), GetStoredColumnWidth(1), LVCFMT_LEFT);
    AddColumn(GetResString(IDS_ROUTINE_NAME, "TA Name"), GetStoredColumnWidth(2), LVCFMT_LEFT);
    return true;
}

void CWeekRoutineTable::GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) {
    const int nDay = ObjectToWeekday(pObject);
    texts.clear();
    if (nDay < 0 || nDay >= kDays) {
        texts.assign(kColumns, std::string());
        return;
    }
    texts.push_back(GetResString(IDS_FIRST_WEEKDAY + static_cast<UINT>(nDay), kWeekdayNames[nDay]));
    if (const CDayRoutine* pRoutine = GetShownDayRoutine(nDay)) {
        texts.push_back(std::to_string(pRoutine->GetNumber()));
        texts.push_back(pRoutine->GetName());
    } else {
        texts.emplace_back();
        texts.push_back(GetResString(IDS_NO_ROUTINE, "\"kein\""));
    }
}

bool CWeekRoutineTable::FillTable() {
    DeleteAllRows();
    for (int nDay = 0; nDay < kDays; ++nDay) {
        std::vector<std::string> texts;
        GetEntryStrings(WeekdayToObject(nDay), texts);
        AddRow(texts, WeekdayToObject(nDay), GetDefaultImage());
    }
    SelectSingleItem(0);
    return true;
}

void CWeekRoutineTable::RefreshTable() {
    const int nRows = std::min(GetItemCount(), kDays);
    for (int nRow = 0; nRow < nRows; ++nRow) {
        std::vector<std::string> texts;
        GetEntryStrings(GetItemData(nRow), texts);
        for (int c = 0; c < static_cast<int>(texts.size()) && c < GetColumnCount(); ++c) {
            SetItemText(nRow, c, texts[static_cast<std::size_t>(c)]);
        }
    }
    viewport()->update();
}

int CWeekRoutineTable::EditEntry(int nRow) {
    if (IsEditInProgress() || nRow < 0 || nRow >= kDays) {
        return 0;
    }
    std::vector<WORD> weekdays(kDays, static_cast<WORD>(-1));
    std::size_t nCount = 0;
    for (int r = 0; r < GetItemCount() && r < kDays; ++r) {
        if (IsItemSelected(r)) {
            weekdays[nCount++] = static_cast<WORD>(GetRowWeekday(r));
        }
    }
    if (nCount == 0) {
        // Only the focus mark, no selection: the row asked for is edited.
        weekdays[0] = static_cast<WORD>(GetRowWeekday(nRow));
    }
    QWidget* pParent = GetParameterDlg();
    if (pParent == nullptr) {
        pParent = window();
    }
    CWeekRoutineEditDlg dlg(pParent, &weekdays);
    dlg.SetTableToNotify(this);
    const int nMark = GetSelectionMark();
    SetEditInProgress(true);
    dlg.DoModal();
    SetEditInProgress(false);
    SetSelectionMark(nMark);
    UpdateToolbarState();
    return 1;
}

void CWeekRoutineTable::DeleteEntries() {
    if (g_pChronoset == nullptr || IsEditInProgress()) {
        return;
    }
    std::vector<int> days;
    for (int r = 0; r < GetItemCount() && r < kDays; ++r) {
        if (IsItemSelected(r)) {
            days.push_back(GetRowWeekday(r));
        }
    }
    for (int nDay : days) {
        g_pChronoset->GetWeekRoutine()->SetDayRoutine(nDay, nullptr);
        VIEWNOTIFY notify;
        notify.nType = VN_CHANGED;
        notify.pObject = WeekdayToObject(nDay);
        notify.pParentObject = nullptr;
        notify.nKind = VOK_WEEKROUTINE;
        SendNotification(&notify);
    }
    if (!days.empty()) {
        // Clearing an assignment changes the parameter set like the dialog does.
        g_bDataModified = true;
        // Without a pane relaying the records back the texts must still follow.
        RefreshTable();
    }
    UpdateToolbarState();
}

int CWeekRoutineTable::OnViewNotify(VIEWNOTIFY* pNotify) {
    if (pNotify != nullptr && pNotify->nHandled == 0 &&
        (pNotify->nType == VN_ADDED || pNotify->nType == VN_REMOVED || pNotify->nType == VN_CHANGED)) {
        if (pNotify->nKind == VOK_DAYROUTINE) {
            RefreshTable();
        } else if (pNotify->nKind == VOK_WEEKROUTINE) {
            RefreshTable();
            pNotify->nHandled = VNH_HANDLED;
        }
    }
    return CMainTableBox::OnViewNotify(pNotify);
}

int CWeekRoutineTable::CompareItems(int nColumn, int nRowA, int nRowB) {
    const int nDayA = GetRowWeekday(nRowA);
    const int nDayB = GetRowWeekday(nRowB);
    if (nColumn == 0) {
        return Sign(nDayA - nDayB);
    }
    if (nColumn != 1 && nColumn != 2) {
        return 0;
    }
    const CDayRoutine* pA = GetShownDayRoutine(nDayA);
    const CDayRoutine* pB = GetShownDayRoutine(nDayB);
    if (pA == nullptr || pB == nullptr) {
        return pA == pB ? 0 : (pA == nullptr ? -1 : 1);
    }
    if (nColumn == 1) {
        return Sign(static_cast<int>(pA->GetNumber()) - static_cast<int>(pB->GetNumber()));
    }
    return Sign(pA->GetName().compare(pB->GetName()));
}

void CWeekRoutineTable::OnUpdateNew(CCmdUI* pCmdUI) {
    CMainTableBox::OnUpdateNew(pCmdUI);
    pCmdUI->Enable(FALSE);
}
