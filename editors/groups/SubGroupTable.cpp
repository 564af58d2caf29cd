#include "editors/groups/SubGroupTable.h"

#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "app/Chronoset.h"
#include "editors/groups/GroupAddressLevels.h"
#include "editors/groups/SubGroupEntry.h"
#include "model/GroupDataAddresses.h"
#include "model/InternalClock.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/base/WaitCursor.h"
#include "platform/ui/CmdUI.h"
#include "ui/ItemOrder.h"
#include "ui/MainFormView.h"
#include "ui/ViewNotify.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include <algorithm>
#include <utility>

using ui::CompareText;
using ui::Order;

namespace {

CSubGroupEntry* SubGroupEntryOf(CObject* pObject) {
    return dynamic_cast<CSubGroupEntry*>(pObject);
}

std::string SubGroupFlagText(BOOL bFlag) {
    return bFlag ? "+" : "-";
}

// Main group in bits 12-15, middle group in bits 8-11, sub group in bits 0-7.
LONG SubGroupRawAddress(LONG nMain, LONG nMiddle, LONG nSub) {
    return (nSub & 0xFF) | ((nMiddle << 8) & 0x0F00) | ((nMain << 12) & 0xF000);
}

}  // namespace

CSubGroupTable::CSubGroupTable(int nGroupId) : CMainTableBox(kTableType), m_nGroupId(nGroupId) {
    SetObjectKind(VOK_GROUPADDRESS);
    SetDefaultImage(kSubGroupImage);
    SetNotificationsOn(false);
    SetMaxEntries(kMaxRows);
    SetColumnCount(kColumnCount);
    // By number.
    m_nSortColumn = 2;
}

CSubGroupTable::~CSubGroupTable() {
    // The rows point into the entries: they go first.
    DestroyWindow();
    DeleteAllRows();
}

bool CSubGroupTable::IsAddressListed(LONG nRawAddress) {
    if (g_pChronoset == nullptr) {
        return false;
    }
    return g_pChronoset->GetInternalClock()->FindGroupAddress(nRawAddress) != nullptr ||
           g_pChronoset->GetGroupDataAddresses()->GetReferenceFromAddress(nRawAddress, false) != nullptr;
}

ISubGroupTableOwner* CSubGroupTable::FindOwner() const {
    for (QWidget* pWidget = parentWidget(); pWidget != nullptr; pWidget = pWidget->parentWidget()) {
        if (auto* pOwner = dynamic_cast<ISubGroupTableOwner*>(pWidget)) {
            return pOwner;
        }
    }
    return nullptr;
}

int CSubGroupTable::OnCreate() {
    m_pOwner = FindOwner();
    if (m_pOwner != nullptr) {
        m_options = m_pOwner->GetSubGroupTableOptions();
    }
    if (m_options.bSingleSelection) {
        setSelectionMode(QAbstractItemView::SingleSelection);
    }
    UpdateApplyButton();
    return 0;
}

bool CSubGroupTable::InitColumns() {
    PresetColumnPrefs();
    AddColumn("", GetStoredColumnWidth(0), LVCFMT_LEFT);
    AddColumn(GetResString(402, "Untergruppe"), GetStoredColumnWidth(1), LVCFMT_LEFT);
    AddColumn(GetResString(403, "Adresse"), GetStoredColumnWidth(2), LVCFMT_LEFT);
    AddColumn(GetResString(405, "W"), GetStoredColumnWidth(3), LVCFMT_CENTER);
    AddColumn(GetResString(406, "ZF"), GetStoredColumnWidth(4), LVCFMT_CENTER);
    AddColumn(GetResString(404, "Beschreibung"), GetStoredColumnWidth(5), LVCFMT_LEFT);
    return true;
}

bool CSubGroupTable::FillTable() {
    CWaitCursor wait;
    DeleteAllRows();
    m_entries.clear();
    CEtsDataAccess access;
    const int nLevels = GetGroupAddressLevels();
    if (nLevels != 2) {
        IEtsMiddleGroup* pMiddleGroup = g_mapMiddleGroups.Lookup(m_nGroupId);
        if (pMiddleGroup == nullptr) {
            LOG_ERROR("Couldnt get middle group with id %ld", static_cast<long>(m_nGroupId));
            return true;
        }
        CComPtr<IEtsMainGroup> pMainGroup;
        LONG nMainAddress = -1;
        std::string strName;
        LONG nMiddleId = -1;
        LONG nMiddleAddress = -1;
        if (FAILED(pMiddleGroup->get_Parent(&pMainGroup)) || !pMainGroup ||
            FAILED(access.GetMainGroupAddress(pMainGroup, nMainAddress)) ||
            FAILED(access.GetMiddleGroupData(pMiddleGroup, strName, nMiddleId, nMiddleAddress))) {
            return true;
        }
        AddSubGroups(pMiddleGroup, nMainAddress, nMiddleAddress, nMiddleId, nLevels);
        return true;
    }
    IEtsMainGroup* pMainGroup = g_mapMainGroups.Lookup(m_nGroupId);
    if (pMainGroup == nullptr) {
        LOG_ERROR("Couldnt find Maingroup with Id: %ld", static_cast<long>(m_nGroupId));
        return true;
    }
    LONG nMainAddress = -1;
    CComPtr<IEtsMiddleGroups> pMiddleGroups;
    LONG nCount = 0;
    if (FAILED(access.GetMainGroupAddress(pMainGroup, nMainAddress)) ||
        FAILED(pMainGroup->get_MiddleGroups(&pMiddleGroups)) || !pMiddleGroups ||
        FAILED(pMiddleGroups->get_Count(&nCount))) {
        return true;
    }
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsMiddleGroup> pMiddleGroup;
        std::string strName;
        LONG nMiddleId = -1;
        LONG nMiddleAddress = -1;
        if (FAILED(pMiddleGroups->Item(MakeIndexVariant(i), &pMiddleGroup)) || !pMiddleGroup ||
            FAILED(access.GetMiddleGroupData(pMiddleGroup, strName, nMiddleId, nMiddleAddress))) {
            continue;
        }
        if (!AddSubGroups(pMiddleGroup, nMainAddress, nMiddleAddress, nMiddleId, nLevels)) {
            break;
        }
    }
    return true;
}

bool CSubGroupTable::AddSubGroups(IEtsMiddleGroup* pMiddleGroup, LONG nMainAddress, LONG nMiddleAddress,
                                  LONG nMiddleId, int nLevels) {
    // A group without a number makes no address of its sub groups.
    if (nMainAddress < 0 || nMiddleAddress < 0) {
        LOG_WARNING("Group without address skipped: main %ld, middle %ld", static_cast<long>(nMainAddress),
                    static_cast<long>(nMiddleAddress));
        return true;
    }
    CComPtr<IEtsGroupAddresses> pGroupAddresses;
    LONG nCount = 0;
    if (FAILED(pMiddleGroup->get_GroupAddresses(&pGroupAddresses)) || !pGroupAddresses ||
        FAILED(pGroupAddresses->get_Count(&nCount))) {
        return true;
    }
    CEtsDataAccess access;
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsGroupAddress> pGroupAddress;
        SubGroupData data;
        if (FAILED(pGroupAddresses->Item(MakeIndexVariant(i), &pGroupAddress)) || !pGroupAddress ||
            FAILED(access.GetSubGroupDataEx(pGroupAddress, data))) {
            continue;
        }
        if (data.nAddress < 0) {
            // Without a number it cannot become a group address of the
            // parametrisation.
            LOG_WARNING("Subgroup without address skipped: id %ld", static_cast<long>(data.nId));
            continue;
        }
        if (GetEntryCount() >= kMaxRows) {
            LOG_ERROR("Maximum count exceeded. max=%d, actual counter=%d", kMaxRows, GetEntryCount());
            return false;
        }
        const LONG nRaw = SubGroupRawAddress(nMainAddress, nMiddleAddress, data.nAddress);
        auto pEntry = std::make_unique<CSubGroupEntry>();
        pEntry->m_nNumber = static_cast<int>(nLevels == 2 ? (nRaw & 0x0FFF) : data.nAddress);
        pEntry->m_bListed = IsAddressListed(nRaw) ? TRUE : FALSE;
        pEntry->m_strName = data.strName;
        pEntry->m_strDescription = data.strDescription;
        pEntry->m_bFlagW = data.nFlag != 0 ? TRUE : FALSE;
        pEntry->m_bCentralFunction = data.nCentral != 0 ? TRUE : FALSE;
        pEntry->m_nHostId = static_cast<int>(data.nId);
        pEntry->m_nHostObjectType = data.nValueType;
        pEntry->m_nGroupId = static_cast<int>(nMiddleId);
        CSubGroupEntry* pRowEntry = pEntry.get();
        m_entries.push_back(std::move(pEntry));

        std::vector<std::string> texts;
        GetEntryStrings(pRowEntry, texts);
        int nImage = nLevels == 2 ? -1 : kSubGroupImage;
        if (pRowEntry->m_bListed) {
            nImage = kListedImage;
        }
        if (AddRow(texts, pRowEntry, nImage) < 0) {
            LOG_ERROR("Adding row");
            return false;
        }
    }
    return true;
}

void CSubGroupTable::RefreshTable() {
    // The entries are made anew: the selection is found again by host id.
    std::vector<int> selected;
    for (int i = 0; i < GetItemCount(); ++i) {
        if (const CSubGroupEntry* pEntry = SubGroupEntryOf(GetItemData(i)); pEntry != nullptr && IsItemSelected(i)) {
            selected.push_back(pEntry->m_nHostId);
        }
    }
    const CSubGroupEntry* pMark = SubGroupEntryOf(GetItemData(GetSelectionMark()));
    const int nMarkId = pMark != nullptr ? pMark->m_nHostId : -1;
    Refill();
    for (int i = 0; i < GetItemCount(); ++i) {
        const CSubGroupEntry* pEntry = SubGroupEntryOf(GetItemData(i));
        if (pEntry == nullptr) {
            continue;
        }
        if (std::find(selected.begin(), selected.end(), pEntry->m_nHostId) != selected.end()) {
            SetItemSelected(i, true);
        }
        if (nMarkId != -1 && pEntry->m_nHostId == nMarkId) {
            SetSelectionMark(i);
        }
    }
    UpdateApplyButton();
    viewport()->update();
}

void CSubGroupTable::GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) {
    texts.clear();
    const CSubGroupEntry* pEntry = SubGroupEntryOf(pObject);
    if (pEntry == nullptr) {
        return;
    }
    texts.emplace_back();
    texts.push_back(pEntry->m_strName);
    texts.push_back(std::to_string(pEntry->m_nNumber));
    texts.push_back(SubGroupFlagText(pEntry->m_bFlagW));
    texts.push_back(SubGroupFlagText(pEntry->m_bCentralFunction));
    texts.push_back(pEntry->m_strDescription);
}

int CSubGroupTable::CompareItems(int nColumn, int nRowA, int nRowB) {
    return CompareRowObjects<CSubGroupEntry>(nRowA, nRowB, [nColumn](const CSubGroupEntry& a,
                                                                     const CSubGroupEntry& b) {
        switch (nColumn) {
        case 1:
            return CompareText(a.m_strName, b.m_strName);
        case 2:
            return Order(a.m_nNumber, b.m_nNumber);
        case 3:
            // Without the flag first.
            return Order(a.m_bFlagW != FALSE, b.m_bFlagW != FALSE);
        case 4:
            return Order(a.m_bCentralFunction != FALSE, b.m_bCentralFunction != FALSE);
        case 5:
            return CompareText(a.m_strDescription, b.m_strDescription);
        default:
            return 0;
        }
    });
}

int CSubGroupTable::CountSelectableRows() {
    int nCount = 0;
    for (int i = 0; i < GetDataRowCount() && i < GetItemCount(); ++i) {
        if (!IsItemSelected(i)) {
            continue;
        }
        const CSubGroupEntry* pEntry = SubGroupEntryOf(GetItemData(i));
        if (pEntry == nullptr) {
            continue;
        }
        if (pEntry->m_bListed) {
            SetItemSelected(i, false);
        } else {
            ++nCount;
        }
    }
    return nCount;
}

void CSubGroupTable::UpdateApplyButton() {
    const int nCount = CountSelectableRows();
    if (CMainFormView* pForm = GetFormView()) {
        if (QWidget* pButton = pForm->GetDlgItem(kApplyButtonId)) {
            pButton->setEnabled(nCount > 0);
        }
    }
}

void CSubGroupTable::MarkEntryListed(CSubGroupEntry* pEntry) {
    if (pEntry == nullptr) {
        return;
    }
    pEntry->m_bListed = TRUE;
    const int nRow = FindRowOfObject(pEntry);
    if (nRow >= 0) {
        SetItemImage(nRow, kListedImage);
    }
    UpdateApplyButton();
}

void CSubGroupTable::SetFirstAddedAddress(CGroupDataAddress* pAddress) {
    m_pFirstAdded = pAddress;
    // Handed over at once: the dialog keeps it when this table goes, and a
    // later table that adds nothing leaves it alone.
    if (pAddress != nullptr && m_pOwner != nullptr) {
        m_pOwner->SetResultAddress(pAddress);
    }
}

void CSubGroupTable::RunApply() {
    if (m_pOwner == nullptr) {
        // Without the insertion dialog nothing can take the rows.
        LOG_WARNING("CSubGroupTable: no insertion dialog owns the table");
        return;
    }
    QPointer<CSubGroupTable> pAlive(this);
    m_pOwner->ApplySubGroups(*this);
    if (pAlive.isNull()) {
        return;
    }
    UpdateApplyButton();
    viewport()->update();
}

void CSubGroupTable::OnPaneCommand(int /*nCode*/) {
    RunApply();
}

void CSubGroupTable::OnApply() {
    RunApply();
}

void CSubGroupTable::OnUpdateApply(CCmdUI* pCmdUI) {
    pCmdUI->Enable(CountSelectableRows() > 0);
}

void CSubGroupTable::keyPressEvent(QKeyEvent* pEvent) {
    CMainTableBox::keyPressEvent(pEvent);
    UpdateApplyButton();
}

void CSubGroupTable::keyReleaseEvent(QKeyEvent* pEvent) {
    CMainTableBox::keyReleaseEvent(pEvent);
    UpdateApplyButton();
}

void CSubGroupTable::mousePressEvent(QMouseEvent* pEvent) {
    CMainTableBox::mousePressEvent(pEvent);
    UpdateApplyButton();
}

void CSubGroupTable::mouseReleaseEvent(QMouseEvent* pEvent) {
    CMainTableBox::mouseReleaseEvent(pEvent);
    UpdateApplyButton();
}

void CSubGroupTable::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton || IsEditInProgress()) {
        CMainTableBox::mouseDoubleClickEvent(pEvent);
        return;
    }
    pEvent->accept();
    RunApply();
}
