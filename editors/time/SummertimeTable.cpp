#include "editors/time/SummertimeTable.h"

#include "app/Chronoset.h"
#include "editors/time/SummertimeEditDlg.h"
#include "model/MessageBoxes.h"
#include "model/Summertime.h"
#include "model/Summertimes.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/base/MessageBoxSink.h"
#include "platform/ui/Handles.h"
#include "ui/ItemOrder.h"
#include "ui/ViewNotify.h"

#include <cstdio>
#include <vector>

using ui::Order;

namespace {

CSummertime* PeriodOf(CObject* pObject) {
    return dynamic_cast<CSummertime*>(pObject);
}

CSummertimes* Periods() {
    return g_pChronoset != nullptr ? g_pChronoset->GetSummertimes() : nullptr;
}

}  // namespace

CSummertimeTable::CSummertimeTable() : CMainTableBox(kTableType) {
    SetObjectKind(VOK_SUMMERTIME);
    SetParentObject(Periods());
    SetMaxEntries(kMaxPeriods);
    SetColumnCount(4);
}

CSummertimeTable::~CSummertimeTable() = default;

std::string CSummertimeTable::FormatShift(int nShift) {
    if (nShift == 0) {
        return GetResString(220, "\"keine\"");
    }
    char szText[32];
    std::snprintf(szText, sizeof(szText), "%+d", nShift);
    return szText + GetResString(40133, "h");
}

bool CSummertimeTable::InitColumns() {
    PresetColumnPrefs();
    AddColumn(GetResString(40122, "Jahr"), GetStoredColumnWidth(0), LVCFMT_LEFT);
    AddColumn(GetResString(40123, "Beginn"), GetStoredColumnWidth(1), LVCFMT_LEFT);
    AddColumn(GetResString(40124, "Ende"), GetStoredColumnWidth(2), LVCFMT_LEFT);
    AddColumn(GetResString(40125, "Versatz"), GetStoredColumnWidth(3), LVCFMT_LEFT);
    return true;
}

bool CSummertimeTable::FillTable() {
    DeleteAllRows();
    if (CSummertimes* pPeriods = Periods()) {
        for (CSummertime* pPeriod : pPeriods->GetSummertimes()) {
            std::vector<std::string> texts;
            GetEntryStrings(pPeriod, texts);
            if (AddRow(texts, pPeriod, GetDefaultImage()) < 0) {
                return false;
            }
        }
    }
    const int nRow = AddItem("", nullptr, GetDefaultImage());
    if (nRow < 0) {
        return false;
    }
    SetItemText(nRow, 1, GetResString(755, "*** neue Sommerzeit ***"));
    return true;
}

void CSummertimeTable::GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) {
    texts.clear();
    const CSummertime* pPeriod = PeriodOf(pObject);
    if (pPeriod == nullptr) {
        return;
    }
    // Year, "vom ..." and "bis ..." read as in the report.
    for (int nColumn = 0; nColumn < 3; ++nColumn) {
        texts.push_back(CSummertimes::GetReportCellText(pPeriod, nColumn));
    }
    texts.push_back(FormatShift(pPeriod->GetShift()));
}

int CSummertimeTable::CompareItems(int nColumn, int nRowA, int nRowB) {
    const CSummertime* pA = PeriodOf(GetItemData(nRowA));
    const CSummertime* pB = PeriodOf(GetItemData(nRowB));
    // The new-entry row sorts last.
    if (pA == nullptr) {
        return pB != nullptr ? 1 : 0;
    }
    if (pB == nullptr) {
        return -1;
    }
    switch (nColumn) {
    case 0:
        return pA->GetStartTime().tm_year - pB->GetStartTime().tm_year;
    case 1:
        return Order(TmToDateTime(pA->GetStartTime()), TmToDateTime(pB->GetStartTime()));
    case 2:
        return Order(TmToDateTime(pA->GetEndTime()), TmToDateTime(pB->GetEndTime()));
    case 3:
        return pA->GetShift() - pB->GetShift();
    default:
        return CMainTableBox::CompareItems(nColumn, nRowA, nRowB);
    }
}

int CSummertimeTable::EditEntry(int nRow) {
    if (IsEditInProgress() || NotifySelectionChanged() != 0 || Periods() == nullptr) {
        return 0;
    }
    const bool bInsert = nRow < 0 || nRow >= GetNewEntryRow();
    if (bInsert && Periods()->GetCount() >= kMaxPeriods) {
        CMessageBox().ShowError(platform::ui::HwndFromWidget(GetParameterDlg()),
                                GetResString(607, "Die maximale Anzahl von Sommerzeiten ist erreicht.").c_str(),
                                GetResString(606, "Sommerzeiten ausgelastet").c_str());
        return 0;
    }
    SetEditInProgress(true);
    std::vector<CSummertime*> periods;
    if (!bInsert) {
        std::vector<CObject*> objects;
        GetSelectedObjects(objects);
        for (CObject* pObject : objects) {
            if (CSummertime* pPeriod = PeriodOf(pObject)) {
                periods.push_back(pPeriod);
            }
        }
    }
    {
        CSummertimeEditDlg dlg(GetParameterDlg(), bInsert, &periods);
        dlg.SetTable(this);
        if (bInsert) {
            const int nMark = GetSelectionMark();
            if (nMark >= 0 && nMark < GetDataRowCount()) {
                dlg.SetTemplatePeriod(PeriodOf(GetItemData(nMark)));
            }
        }
        dlg.DoModal();
    }
    UpdateToolbarState();
    SetEditInProgress(false);
    return 1;
}

void CSummertimeTable::DeleteEntries() {
    CSummertimes* pPeriods = Periods();
    const int nSelected = GetSelectedEntryCount();
    if (nSelected <= 0 || pPeriods == nullptr) {
        return;
    }
    const std::string strQuestion =
        FormatIntFields(GetResString(724, "Wollen Sie die ausgewählten %d Sommerzeiten löschen?"), {nSelected});
    if (QuestionBox("%s", strQuestion.c_str()) != IDYES) {
        return;
    }
    // Collected first, last row first: each removal takes its row away.
    std::vector<CSummertime*> doomed;
    for (int nRow = GetDataRowCount() - 1; nRow >= 0; --nRow) {
        if (IsRowSelected(nRow)) {
            if (CSummertime* pPeriod = PeriodOf(GetItemData(nRow))) {
                doomed.push_back(pPeriod);
            }
        }
    }
    for (CSummertime* pPeriod : doomed) {
        pPeriods->RemoveSummertime(pPeriod);
        SendObjectRecord(VN_REMOVED, pPeriod, nullptr, VOK_SUMMERTIME);
        // No row may keep pointing at the deleted period, whoever heard of it.
        const int nRow = FindRowOfObject(pPeriod);
        if (nRow >= 0) {
            DeleteRow(nRow, true);
        }
        delete pPeriod;
    }
    g_bDataModified = true;
    UpdateToolbarState();
    DWORD nCount = 0;
    g_pChronoset->CountAssociations(nCount);
}
