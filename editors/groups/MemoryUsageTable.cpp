#include "editors/groups/MemoryUsageTable.h"

#include "app/Chronoset.h"
#include "model/DayRoutines.h"
#include "model/GroupDataAddresses.h"
#include "model/Quantities.h"
#include "model/SpecialDays.h"
#include "model/Summertimes.h"
#include "common/Globals.h"
#include "common/ResString.h"
#include "ui/ViewNotify.h"

#include <cstdio>

namespace {

std::string FormatInt(const char* pszFormat, long long nValue) {
    char szText[32];
    std::snprintf(szText, sizeof(szText), pszFormat, nValue);
    return szText;
}

}  // namespace

CMemoryUsageTable::CMemoryUsageTable() : CMainTableBox(kTableType) {}

bool CMemoryUsageTable::InitColumns() {
    AddColumn(GetResString(40021, "Feldname"), GetStoredColumnWidth(0), LVCFMT_LEFT);
    AddColumn(GetResString(111, "Größe"), GetStoredColumnWidth(1), LVCFMT_RIGHT);
    AddColumn(GetResString(40023, "belegt"), GetStoredColumnWidth(2), LVCFMT_RIGHT);
    AddColumn(GetResString(40024, "(%)"), GetStoredColumnWidth(3), LVCFMT_CENTER);
    AddColumn(GetResString(40025, "frei"), GetStoredColumnWidth(4), LVCFMT_RIGHT);
    return true;
}

void CMemoryUsageTable::AddDataRow(const std::string& strName, int nSize, int nUsed) {
    if (AddItem("   " + strName, nullptr, GetDefaultImage()) < 0) {
        return;
    }
    SetNextSubItemText(FormatInt("%lld", nSize));
    if (nUsed < 0) {
        // A failed count would read as a huge share and more free entries
        // than the table has; better to show nothing.
        return;
    }
    SetNextSubItemText(FormatInt("%lld", nUsed));
    const unsigned int nPercent =
        nSize > 0 ? static_cast<unsigned int>(nUsed) * 100U / static_cast<unsigned int>(nSize) : 0U;
    SetNextSubItemText(FormatInt("(%lld%%)", nPercent));
    SetNextSubItemText(FormatInt("%lld", static_cast<long long>(nSize) - nUsed));
}

void CMemoryUsageTable::AddHeadingRow(const std::string& strTitle) {
    AddItem(strTitle, nullptr, GetDefaultImage());
}

void CMemoryUsageTable::AddSeparatorRow() {
    AddItem("", nullptr, GetDefaultImage());
}

bool CMemoryUsageTable::FillTable() {
    DeleteAllRows();
    CChronoset* pSet = g_pChronoset;
    if (pSet == nullptr) {
        return true;
    }
    // Counting also numbers the objects, so it runs once per fill.
    DWORD nAssociations = 0;
    const int nObjects = pSet->CountAssociations(nAssociations);
    const int nAssociationsUsed = nObjects < 0 ? -1 : static_cast<int>(nAssociations);

    AddHeadingRow(GetResString(40026, "Adressen und Objekte"));
    AddDataRow(GetResString(40027, "Gruppenadressen"), CGroupDataAddresses::GetMaxCount(),
               pSet->GetGroupDataAddresses()->GetCount(false));
    AddDataRow(GetResString(40028, "Objekte"), CChronoset::GetMaxGroupAddressCount(), nObjects);
    AddDataRow(GetResString(410, "Zuordnungen"), CChronoset::GetMaxGroupAddressCount(), nAssociationsUsed);
    AddSeparatorRow();

    const CDayRoutines* pRoutines = pSet->GetDayRoutines();
    AddHeadingRow(GetResString(40032, "Zeiten"));
    AddDataRow(GetResString(108, "Tagesabläufe"), CDayRoutines::GetMaxCount(), pRoutines->GetCount());
    AddDataRow(GetResString(40033, "Schaltzeiten"), CDayRoutines::GetMaxSwitchTimes(),
               pRoutines->GetSwitchTimeCount());
    AddDataRow(GetResString(40012, "Sondertage"), CSpecialDays::GetMaxCount(), pSet->GetSpecialDays()->GetCount());
    AddDataRow(GetResString(40011, "Sommerzeiten"), CSummertimes::GetMaxCount(), pSet->GetSummertimes()->GetCount());
    AddSeparatorRow();

    const CQuantities* pQuantities = pSet->GetQuantities();
    AddHeadingRow(GetResString(40100, "Mengen"));
    AddDataRow(GetResString(40100, "Mengen"), CQuantities::GetMaxCount(), pQuantities->GetCount());
    AddDataRow(GetResString(40101, "Mengenmitglieder"), CQuantities::GetMaxMemberCount(),
               pQuantities->GetTotalMemberCount());
    return true;
}

int CMemoryUsageTable::OnViewNotify(VIEWNOTIFY* pNotify) {
    if (pNotify != nullptr && pNotify->nHandled == 0 && pNotify->nFlag == 0 &&
        (pNotify->nType == VN_ADDED || pNotify->nType == VN_REMOVED || pNotify->nType == VN_CHANGED)) {
        RefreshTable();
        pNotify->nHandled = VNH_HANDLED;
    }
    return CMainTableBox::OnViewNotify(pNotify);
}
