#include "editors/time/SpecialDaysTable.h"

#include "app/Chronoset.h"
#include "editors/time/SpecialDayEditDlg.h"
#include "model/CalendarRecord.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/SpecialDay.h"
#include "model/SpecialDays.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/base/MessageBoxSink.h"
#include "ui/ItemOrder.h"
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
    return CompareRowObjects<CSpecialDay>(nRowA, nRowB, [nColumn](const CSpecialDay& a, const CSpecialDay& b) {
        switch (nColumn) {
        case 0:
            return CompareCalendarTimes(a.GetStartTime(), b.GetStartTime());
        case 1:
            return CompareCalendarTimes(a.GetEndTime(), b.GetEndTime());
        case 2: {
            const CDayRoutine* pRa = a.GetDayRoutine();
            const CDayRoutine* pRb = b.GetDayRoutine();
            if (const auto missing = ui::OrderMissing(pRa, pRb, ui::Missing::First)) {
                return *missing;
            }
            return pRa->GetNumber() - pRb->GetNumber();
        }
        default:
            return 0;
        }
    });
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
    if (g_pChronoset != nullptr && !AddObjectRows(g_pChronoset->GetSpecialDays()->GetSpecialDays())) {
        return false;
    }
    return AddNewEntryRow(GetResString(754, "*** neuer Sondertag ***"), 0);
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
    const bool bNewEntry = IsNewEntryRow(nRow);
    if (bNewEntry) {
        if (pSpecialDays->GetCount() >= kMaxSpecialDays) {
            ShowErrorBox(LoadResString(605), GetResString(604, "Sondertage ausgelastet"));
            return 0;
        }
        if (g_pChronoset->GetDayRoutines()->GetCount() == 0) {
            ShowErrorBox(LoadResString(705), GetResString(704, "Kein Tagesablauf definiert"));
            return 0;
        }
    }
    LOG_TRACE("CSpecialDaysTable: EditEntry (nEntry=%d)", nRow);
    // Only the rows the user selected, without the mark's.
    std::vector<CSpecialDay*> selected;
    if (!bNewEntry) {
        selected = GetSelectedRowObjects<CSpecialDay>(false);
    }
    const int nResult = RunEditDialog([&]() {
        CSpecialDayEditDlg dlg(GetParameterDlg(), bNewEntry, &selected);
        dlg.SetTable(this);
        dlg.SetTemplateSpecialDay(bNewEntry ? GetMarkObjectOf<CSpecialDay>() : nullptr);
        return dlg.DoModal();
    });
    if (nResult == IDOK) {
        g_bDataModified = true;
    }
    return 1;
}

void CSpecialDaysTable::DeleteEntries() {
    if (g_pChronoset == nullptr) {
        return;
    }
    CSpecialDays* pSpecialDays = g_pChronoset->GetSpecialDays();
    if (DeleteSelectedRows<CSpecialDay>(GetResString(726, "Wollen Sie die ausgewählten %d Sondertage löschen?"),
                                        [&](CSpecialDay* pSpecialDay) {
                                            pSpecialDays->RemoveSpecialDay(pSpecialDay);
                                            DiscardRemovedObject(pSpecialDay, nullptr);
                                        })) {
        SetDataModified();
    }
}
