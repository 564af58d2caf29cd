#include "editors/groups/MainMiddleGroupTable.h"

#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "app/Chronoset.h"
#include "editors/groups/MainMiddleGroupEntry.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/base/WaitCursor.h"
#include "ui/ItemOrder.h"
#include "ui/ViewNotify.h"

#include <algorithm>
#include <utility>

using ui::CompareText;
using ui::Order;

namespace {

const CMainMiddleGroupEntry* MainMiddleEntryOf(CObject* pObject) {
    return dynamic_cast<const CMainMiddleGroupEntry*>(pObject);
}

std::string GroupFlagText(BOOL bFlag) {
    return bFlag ? "+" : "-";
}

}  // namespace

CMainMiddleGroupTable::CMainMiddleGroupTable(int nTableType, int nParentId)
    : CMainTableBox(nTableType == kMiddleGroupsType ? kMiddleGroupsType : kMainGroupsType), m_nParentId(nParentId) {
    SetObjectKind(VOK_GROUPADDRESS);
    SetDefaultImage(m_nTableType == kMainGroupsType ? 0 : 1);
    SetNotificationsOn(false);
    SetMaxEntries(kMaxRows);
    SetColumnCount(kColumnCount);
    // By address.
    m_nSortColumn = 2;
}

CMainMiddleGroupTable::~CMainMiddleGroupTable() {
    // The rows point into the entries: they go first.
    DestroyWindow();
    DeleteAllRows();
}

bool CMainMiddleGroupTable::InitColumns() {
    PresetColumnPrefs();
    AddColumn("", GetStoredColumnWidth(0), LVCFMT_LEFT);
    AddColumn(m_nTableType == kMainGroupsType ? GetResString(400, "Hauptgruppe") : GetResString(401, "Mittelgruppe"),
              GetStoredColumnWidth(1), LVCFMT_LEFT);
    AddColumn(GetResString(403, "Adresse"), GetStoredColumnWidth(2), LVCFMT_LEFT);
    AddColumn(GetResString(405, "W"), GetStoredColumnWidth(3), LVCFMT_CENTER);
    AddColumn(GetResString(404, "Beschreibung"), GetStoredColumnWidth(4), LVCFMT_LEFT);
    return true;
}

bool CMainMiddleGroupTable::AddEntry(std::unique_ptr<CMainMiddleGroupEntry> pEntry) {
    CMainMiddleGroupEntry* pRowEntry = pEntry.get();
    m_entries.push_back(std::move(pEntry));
    std::vector<std::string> texts;
    GetEntryStrings(pRowEntry, texts);
    if (AddRow(texts, pRowEntry, GetDefaultImage()) < 0) {
        LOG_ERROR("Adding row");
        return false;
    }
    return true;
}

bool CMainMiddleGroupTable::FillTable() {
    CWaitCursor wait;
    DeleteAllRows();
    m_entries.clear();
    if (m_nTableType == kMiddleGroupsType) {
        FillMiddleGroups();
    } else {
        FillMainGroups();
    }
    return true;
}

void CMainMiddleGroupTable::FillMainGroups() {
    const LONG nProjectId = g_pChronoset != nullptr ? g_pChronoset->GetProjectId() : -1;
    IEtsProject* pProject = g_mapProjects.Lookup(nProjectId);
    if (pProject == nullptr) {
        LOG_ERROR("Couldnt get project with id=%ld", static_cast<long>(nProjectId));
        return;
    }
    CComPtr<IEtsMainGroups> pMainGroups;
    if (FAILED(pProject->get_MainGroups(&pMainGroups)) || !pMainGroups) {
        return;
    }
    AddGroups<IEtsMainGroup, IEtsMainGroups>(pMainGroups, &CEtsDataAccess::GetMainGroupDataEx, false);
}

void CMainMiddleGroupTable::FillMiddleGroups() {
    IEtsMainGroup* pMainGroup = g_mapMainGroups.Lookup(m_nParentId);
    if (pMainGroup == nullptr) {
        LOG_ERROR("Couldnt find Maingroup with Id: %ld", static_cast<long>(m_nParentId));
        return;
    }
    CComPtr<IEtsMiddleGroups> pMiddleGroups;
    if (FAILED(pMainGroup->get_MiddleGroups(&pMiddleGroups)) || !pMiddleGroups) {
        return;
    }
    AddGroups<IEtsMiddleGroup, IEtsMiddleGroups>(pMiddleGroups, &CEtsDataAccess::GetMiddleGroupDataEx, true);
}

template <typename Group, typename Groups>
void CMainMiddleGroupTable::AddGroups(Groups* pGroups, HRESULT (CEtsDataAccess::*pReadGroup)(Group*, GroupData&),
                                      bool bHostIds) {
    LONG nCount = 0;
    if (FAILED(pGroups->get_Count(&nCount))) {
        return;
    }
    CEtsDataAccess access;
    for (LONG i = 1; i <= nCount; ++i) {
        if (GetEntryCount() >= kMaxRows) {
            LOG_ERROR("Maximum count exceeded. max=%d, actual counter=%d", kMaxRows, static_cast<int>(nCount));
            return;
        }
        CComPtr<Group> pGroup;
        GroupData data;
        if (FAILED(pGroups->Item(MakeIndexVariant(i), &pGroup)) || !pGroup ||
            FAILED((access.*pReadGroup)(pGroup, data))) {
            continue;
        }
        auto pEntry = std::make_unique<CMainMiddleGroupEntry>();
        pEntry->m_nAddress = static_cast<int>(data.nAddress);
        pEntry->m_strName = data.strName;
        pEntry->m_strDescription = data.strDescription;
        pEntry->m_bFlagW = data.nFlag != 0 ? TRUE : FALSE;
        pEntry->m_nHostId = bHostIds ? static_cast<int>(data.nId) : -1;
        if (!AddEntry(std::move(pEntry))) {
            return;
        }
    }
}

void CMainMiddleGroupTable::RefreshTable() {
    // The entries are made anew: the selection is found again by address.
    std::vector<int> selected;
    for (int i = 0; i < GetItemCount(); ++i) {
        if (const CMainMiddleGroupEntry* pEntry = MainMiddleEntryOf(GetItemData(i));
            pEntry != nullptr && IsItemSelected(i)) {
            selected.push_back(pEntry->m_nAddress);
        }
    }
    const CMainMiddleGroupEntry* pMark = MainMiddleEntryOf(GetItemData(GetSelectionMark()));
    const int nMarkAddress = pMark != nullptr ? pMark->m_nAddress : -1;
    Refill();
    for (int i = 0; i < GetItemCount(); ++i) {
        const CMainMiddleGroupEntry* pEntry = MainMiddleEntryOf(GetItemData(i));
        if (pEntry == nullptr) {
            continue;
        }
        if (std::find(selected.begin(), selected.end(), pEntry->m_nAddress) != selected.end()) {
            SetItemSelected(i, true);
        }
        if (pEntry->m_nAddress == nMarkAddress) {
            SetSelectionMark(i);
        }
    }
    viewport()->update();
}

void CMainMiddleGroupTable::GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) {
    texts.clear();
    const CMainMiddleGroupEntry* pEntry = MainMiddleEntryOf(pObject);
    if (pEntry == nullptr) {
        return;
    }
    texts.emplace_back();
    texts.push_back(pEntry->m_strName);
    texts.push_back(std::to_string(pEntry->m_nAddress));
    texts.push_back(GroupFlagText(pEntry->m_bFlagW));
    texts.push_back(pEntry->m_strDescription);
}

int CMainMiddleGroupTable::CompareItems(int nColumn, int nRowA, int nRowB) {
    return CompareRowObjects<CMainMiddleGroupEntry>(nRowA, nRowB, [nColumn](const CMainMiddleGroupEntry& a,
                                                                            const CMainMiddleGroupEntry& b) {
        switch (nColumn) {
        case 1:
            return CompareText(a.m_strName, b.m_strName);
        case 2:
            return Order(a.m_nAddress, b.m_nAddress);
        case 3:
            // Without the flag first.
            return Order(a.m_bFlagW != FALSE, b.m_bFlagW != FALSE);
        case 4:
            return CompareText(a.m_strDescription, b.m_strDescription);
        default:
            return 0;
        }
    });
}
