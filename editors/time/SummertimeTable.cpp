#include "editors/time/SummertimeTable.h"

#include "app/Chronoset.h"
#include "editors/time/SummertimeEditDlg.h"
#include "model/Summertime.h"
#include "model/Summertimes.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/ResString.h"
#include "ui/ItemOrder.h"
#include "ui/ViewNotify.h"

#include <cstdio>
#include <vector>

using ui::Order;

namespace {

CSummertime* PeriodOf(CObject* pObject) {
    return dynamic_cast<CSummertime*>(pObject);
}

CSummertimes* TablePeriods() {
    return g_pChronoset != nullptr ? g_pChronoset->GetSummertimes() : nullptr;
}

}  // namespace

CSummertimeTable::CSummertimeTable() : CMainTableBox(kTableType) {
    SetObjectKind(VOK_SUMMERTIME);
    SetParentObject(TablePeriods());
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
    CSummertimes* pPeriods = TablePeriods();
    if (pPeriods != nullptr && !AddObjectRows(pPeriods->GetSummertimes())) {
        return false;
    }
    return AddNewEntryRow(GetResString(755, "*** neue Sommerzeit ***"), 1);
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
    return CompareRowObjects<CSummertime>(nRowA, nRowB, [&](const CSummertime& a, const CSummertime& b) {
        switch (nColumn) {
        case 0:
            return a.GetStartTime().tm_year - b.GetStartTime().tm_year;
        case 1:
            return Order(TmToDateTime(a.GetStartTime()), TmToDateTime(b.GetStartTime()));
        case 2:
            return Order(TmToDateTime(a.GetEndTime()), TmToDateTime(b.GetEndTime()));
        case 3:
            return a.GetShift() - b.GetShift();
        default:
            return CMainTableBox::CompareItems(nColumn, nRowA, nRowB);
        }
    });
}

int CSummertimeTable::EditEntry(int nRow) {
    if (IsEditInProgress() || NotifySelectionChanged() != 0 || TablePeriods() == nullptr) {
        return 0;
    }
    const bool bInsert = IsNewEntryRow(nRow);
    if (bInsert && TablePeriods()->GetCount() >= kMaxPeriods) {
        ShowErrorBox(GetResString(607, "Die maximale Anzahl von Sommerzeiten ist erreicht."),
                     GetResString(606, "Sommerzeiten ausgelastet"));
        return 0;
    }
    std::vector<CSummertime*> periods;
    if (!bInsert) {
        periods = GetSelectedObjectsOf<CSummertime>();
    }
    RunEditDialog([&]() {
        CSummertimeEditDlg dlg(GetParameterDlg(), bInsert, &periods);
        dlg.SetTable(this);
        if (bInsert) {
            dlg.SetTemplatePeriod(GetMarkObjectOf<CSummertime>());
        }
        return dlg.DoModal();
    });
    return 1;
}

void CSummertimeTable::DeleteEntries() {
    CSummertimes* pPeriods = TablePeriods();
    if (pPeriods != nullptr &&
        DeleteSelectedRows<CSummertime>(GetResString(724, "Wollen Sie die ausgewählten %d Sommerzeiten löschen?"),
                                        [&](CSummertime* pPeriod) {
                                            pPeriods->RemoveSummertime(pPeriod);
                                            DiscardRemovedObject(pPeriod, nullptr);
                                        })) {
        SetDataModified();
        RecountAssociations();
    }
}
