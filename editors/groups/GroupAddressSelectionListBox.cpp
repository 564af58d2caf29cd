#include "editors/groups/GroupAddressSelectionListBox.h"

#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "app/Chronoset.h"
#include "common/ResultCode.h"
#include "editors/groups/GroupItemData.h"
#include "editors/groups/MainMiddleGroupDlg.h"
#include "editors/groups/SubGroupEditDlg.h"
#include "model/GroupDataAddresses.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/base/WaitCursor.h"
#include "platform/com/ComBSTR.h"
#include "platform/com/ComPtr.h"
#include "platform/ui/Handles.h"
#include "ui/ListItem.h"
#include "ui/MainFormView.h"
#include "ui/MainTableBox.h"
#include "ui/MainTableView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionViewItem>

#include <algorithm>
#include <cstdlib>
#include <vector>

int g_anLastGroupPath[3] = {-1, -1, -1};

namespace {

// A host call that succeeded without handing out its object counts as failed.
template <class T>
HRESULT Checked(HRESULT hr, const CComPtr<T>& p) {
    return FAILED(hr) ? hr : (p ? hr : E_POINTER);
}

std::string NodeText(long nNumber, const std::string& strName) {
    return "[" + std::to_string(nNumber) + "] " + strName;
}

}  // namespace

CGroupAddressSelectionListBox::CGroupAddressSelectionListBox(QWidget* pParent) : CSelectionTreeListBox(pParent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_font = QApplication::font(this);
    setFont(m_font);
    LoadImageStrip(kImageStripId);
    connect(this, &QListWidget::currentRowChanged, this, [this](int) { UpdateProjectImage(); });

    CEtsDataAccess access;
    if (access.IsValid()) {
        FillFromEts(&access);
    } else {
        LOG_ERROR("Error: Could not connect to ETS database");
    }
    CreateToolTip();
    RestorePath();
}

CGroupAddressSelectionListBox::~CGroupAddressSelectionListBox() {
    StorePath();
    m_pShownItem = nullptr;
    DeleteAllItems();
}

// ---------------------------------------------------------------------------
// Building the tree

void CGroupAddressSelectionListBox::FillFromEts(CEtsDataAccess* pAccess) {
    if (pAccess == nullptr || g_pChronoset == nullptr) {
        return;
    }
    m_nLevels = g_pChronoset->GetGroupDataAddresses()->GetAddressLevels() == 2 ? 2 : 3;
    const LONG nProjectId = g_pChronoset->GetProjectId();
    IEtsProject* pProject = g_mapProjects.Lookup(nProjectId);
    if (pProject == nullptr) {
        LOG_ERROR("Couldnt get project with id=%ld", static_cast<long>(nProjectId));
        return;
    }
    CComBSTR bstrName;
    HRESULT hr = pProject->get_Name(&bstrName);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get project name hr=0x%08X", Hr(hr));
        return;
    }
    auto* pRoot = new CListItem(platform::BstrToUtf8(bstrName), kImageProject, kImageProjectSelected,
                                new GroupItemData(kKindProject, 0), LIDO_OBJECT);
    InsertItem(nullptr, nullptr, pRoot, 0);

    CComPtr<IEtsMainGroups> pMainGroups;
    hr = Checked(pProject->get_MainGroups(&pMainGroups), pMainGroups);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get main groups hr=0x%08X", Hr(hr));
        return;
    }
    LONG nCount = 0;
    hr = pMainGroups->get_Count(&nCount);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get main groups count hr=0x%08X", Hr(hr));
        return;
    }
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsMainGroup> pMainGroup;
        hr = Checked(pMainGroups->Item(MakeIndexVariant(i), &pMainGroup), pMainGroup);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get main group item index=%ld hr=0x%08X", static_cast<long>(i), Hr(hr));
            continue;
        }
        std::string strName;
        LONG nId = -1;
        LONG nAddress = -1;
        hr = pAccess->GetMainGroupData(pMainGroup, strName, nId, nAddress);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get main group data for item with index=%ld hr=0x%08X", static_cast<long>(i), Hr(hr));
            continue;
        }
        // Three levels: a leaf until its first middle group comes; two
        // levels: the sub groups of its middle groups are its children.
        const bool bLeaf = m_nLevels == 3 || pAccess->IsMainGroupEmpty(pMainGroup) != 0;
        CTreeListItem* pMainItem = InsertSorted(
            pRoot,
            new CListItem(NodeText(nAddress, strName), kImageMainGroup, kImageMainGroup,
                          new GroupItemData(m_nLevels == 3 ? kKindMainGroup : kKindGroup, nId), LIDO_OBJECT),
            bLeaf);
        if (m_nLevels != 3) {
            continue;
        }

        CComPtr<IEtsMiddleGroups> pMiddleGroups;
        hr = Checked(pMainGroup->get_MiddleGroups(&pMiddleGroups), pMiddleGroups);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get middle groups hr=0x%08X", Hr(hr));
            continue;
        }
        LONG nMiddleCount = 0;
        hr = pMiddleGroups->get_Count(&nMiddleCount);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get middle groups count hr=0x%08X", Hr(hr));
            continue;
        }
        for (LONG j = 1; j <= nMiddleCount; ++j) {
            CComPtr<IEtsMiddleGroup> pMiddleGroup;
            hr = Checked(pMiddleGroups->Item(MakeIndexVariant(j), &pMiddleGroup), pMiddleGroup);
            if (FAILED(hr)) {
                LOG_ERROR("Couldnt get middle group item hr=0x%08X", Hr(hr));
                continue;
            }
            std::string strMiddleName;
            LONG nMiddleId = -1;
            LONG nMiddleAddress = -1;
            hr = pAccess->GetMiddleGroupData(pMiddleGroup, strMiddleName, nMiddleId, nMiddleAddress);
            if (FAILED(hr)) {
                LOG_ERROR("Couldnt get middle group data hr=0x%08X", Hr(hr));
                continue;
            }
            InsertSorted(pMainItem,
                         new CListItem(NodeText(nMiddleAddress, strMiddleName), kImageMiddleGroup, kImageMiddleGroup,
                                       new GroupItemData(kKindGroup, nMiddleId), LIDO_OBJECT),
                         pAccess->IsMiddleGroupEmpty(pMiddleGroup) != 0);
            pMainItem->SetItemData(0);
        }
    }
    Expand(pRoot, 1);
}

void CGroupAddressSelectionListBox::LoadSubGroups(CTreeListItem* pItem) {
    const GroupItemData* pData = GetGroupData(pItem);
    if (pData == nullptr) {
        LOG_ERROR("ITEMDATA not defined for item");
        return;
    }
    CWaitCursor wait;
    CEtsDataAccess access;
    // The sub groups of one middle group, numbered from nBase on.
    auto loadMiddleGroup = [&](IEtsMiddleGroup* pMiddleGroup, LONG nBase) {
        CComPtr<IEtsGroupAddresses> pSubGroups;
        HRESULT hr = pMiddleGroup != nullptr ? Checked(pMiddleGroup->get_GroupAddresses(&pSubGroups), pSubGroups)
                                             : E_POINTER;
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get group addresses hr=0x%08X", Hr(hr));
            return;
        }
        LONG nCount = 0;
        hr = pSubGroups->get_Count(&nCount);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get subgroup count. hr=0x%08X", Hr(hr));
            return;
        }
        for (LONG i = 1; i <= nCount; ++i) {
            CComPtr<IEtsGroupAddress> pSubGroup;
            hr = Checked(pSubGroups->Item(MakeIndexVariant(i), &pSubGroup), pSubGroup);
            if (FAILED(hr)) {
                LOG_ERROR("Couldnt get subgroup item. hr=0x%08X", Hr(hr));
                continue;
            }
            std::string strName;
            LONG nId = -1;
            LONG nAddress = -1;
            hr = access.GetSubGroupData(pSubGroup, strName, nId, nAddress);
            if (FAILED(hr)) {
                LOG_ERROR("Couldnt get group address data. hr=0x%08X", Hr(hr));
                continue;
            }
            InsertSorted(pItem,
                         new CListItem(NodeText(nBase + nAddress, strName), kImageSubGroup, kImageSubGroup,
                                       new GroupItemData(kKindSubGroup, nId), LIDO_OBJECT),
                         true);
        }
    };

    if (m_nLevels == 3) {
        loadMiddleGroup(g_mapMiddleGroups.Lookup(pData->nId), 0);
        return;
    }
    IEtsMainGroup* pMainGroup = g_mapMainGroups.Lookup(pData->nId);
    CComPtr<IEtsMiddleGroups> pMiddleGroups;
    HRESULT hr =
        pMainGroup != nullptr ? Checked(pMainGroup->get_MiddleGroups(&pMiddleGroups), pMiddleGroups) : E_POINTER;
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get middle groups. hr=0x%08X", Hr(hr));
        return;
    }
    LONG nCount = 0;
    hr = pMiddleGroups->get_Count(&nCount);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get middle group count. hr=0x%08X", Hr(hr));
        return;
    }
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsMiddleGroup> pMiddleGroup;
        hr = Checked(pMiddleGroups->Item(MakeIndexVariant(i), &pMiddleGroup), pMiddleGroup);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get middle group item. hr=0x%08X", Hr(hr));
            continue;
        }
        std::string strName;
        LONG nId = -1;
        LONG nAddress = -1;
        hr = access.GetMiddleGroupData(pMiddleGroup, strName, nId, nAddress);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get middle group data. hr=0x%08X", Hr(hr));
            continue;
        }
        loadMiddleGroup(pMiddleGroup, nAddress * 256);
    }
}

void CGroupAddressSelectionListBox::ExpandWithLoading(CTreeListItem* pItem) {
    if (pItem == nullptr || pItem->IsLeaf()) {
        return;
    }
    const GroupItemData* pData = GetGroupData(pItem);
    if (pData != nullptr && pData->nKind == kKindGroup && pItem->GetFirstChild() == nullptr) {
        LoadSubGroups(pItem);
        // Marked expanded without children: the new ones need their rows.
        if (pItem->IsExpanded()) {
            Collapse(pItem);
        }
    }
    Expand(pItem, 1);
}

void CGroupAddressSelectionListBox::Toggle(CTreeListItem* pItem) {
    if (pItem == nullptr) {
        return;
    }
    if (pItem->IsExpanded()) {
        Collapse(pItem);
    } else {
        ExpandWithLoading(pItem);
    }
}

int CGroupAddressSelectionListBox::GetItemNumber(const CTreeListItem* pItem) {
    if (pItem == nullptr) {
        return 0;
    }
    const std::string& strText = pItem->GetTextRef();
    std::size_t nPos = strText.find_first_not_of(" ([{");
    return nPos == std::string::npos ? 0 : std::atoi(strText.c_str() + nPos);
}

GroupItemData* CGroupAddressSelectionListBox::GetGroupData(const CTreeListItem* pItem) {
    return pItem != nullptr ? dynamic_cast<GroupItemData*>(static_cast<CObject*>(pItem->GetData())) : nullptr;
}

CListItem* CGroupAddressSelectionListBox::GetCurrentItem() const {
    return dynamic_cast<CListItem*>(GetItem(currentRow()));
}

CTreeListItem* CGroupAddressSelectionListBox::InsertSorted(CTreeListItem* pParent, CListItem* pItem, bool bLeaf) {
    const int nNumber = GetItemNumber(pItem);
    // The siblings are in order: the last one not greater is found from the
    // end, so that a host listing in ascending order costs one step each.
    CTreeListItem* pAfter = pParent->GetLastChild();
    while (pAfter != nullptr && GetItemNumber(pAfter) > nNumber) {
        pAfter = pAfter->GetPrevSibling();
    }
    return InsertItem(pParent, pAfter, pItem, bLeaf ? 1 : 0);
}

void CGroupAddressSelectionListBox::InsertCreatedItem(CTreeListItem* pParent, CListItem* pItem, bool bExpandParent) {
    // Collapsing forgets the expanded state of the whole subtree; note it,
    // parents before their children, to expand them again in that order.
    std::vector<CTreeListItem*> expanded;
    std::vector<CTreeListItem*> stack{pParent};
    while (!stack.empty()) {
        CTreeListItem* pNode = stack.back();
        stack.pop_back();
        if (!pNode->IsExpanded()) {
            continue;
        }
        expanded.push_back(pNode);
        std::vector<CTreeListItem*> children;
        for (CTreeListItem* pChild = pNode->GetFirstChild(); pChild != nullptr; pChild = pChild->GetNextSibling()) {
            children.push_back(pChild);
        }
        stack.insert(stack.end(), children.rbegin(), children.rend());
    }
    const bool bWasExpanded = pParent->IsExpanded();
    Collapse(pParent);
    InsertSorted(pParent, pItem, true);
    pParent->SetItemData(0);
    if (bExpandParent || bWasExpanded) {
        Expand(pParent, 1);
        for (CTreeListItem* pNode : expanded) {
            if (pNode != pParent) {
                Expand(pNode, 1);
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Path, selection and the right pane

void CGroupAddressSelectionListBox::RestorePath() {
    CTreeListItem* pItem = GetFirstRootItem();
    if (pItem == nullptr) {
        return;
    }
    for (int nLevel = 0; nLevel < m_nLevels && nLevel < 3; ++nLevel) {
        // -1 marks the end of the path, never a number to look for.
        const int nNumber = g_anLastGroupPath[nLevel];
        if (nNumber < 0) {
            break;
        }
        CTreeListItem* pChild = pItem->GetFirstChild();
        while (pChild != nullptr && GetItemNumber(pChild) != nNumber) {
            pChild = pChild->GetNextSibling();
        }
        if (pChild == nullptr) {
            break;
        }
        ExpandWithLoading(pChild);
        pItem = pChild;
    }
    SelectItem(pItem);
}

void CGroupAddressSelectionListBox::StorePath() const {
    int anPath[3] = {-1, -1, -1};
    std::vector<int> numbers;
    for (const CTreeListItem* pItem = GetItem(currentRow()); pItem != nullptr && pItem->GetParent() != nullptr;
         pItem = pItem->GetParent()) {
        numbers.push_back(GetItemNumber(pItem));
    }
    for (std::size_t i = 0; i < numbers.size() && i < 3; ++i) {
        anPath[i] = numbers[numbers.size() - 1 - i];
    }
    for (int i = 0; i < 3; ++i) {
        g_anLastGroupPath[i] = anPath[i];
    }
}

void CGroupAddressSelectionListBox::SelectItem(CTreeListItem* pItem) {
    const int nRow = FindItemIndex(pItem);
    if (nRow >= 0) {
        // A visible list scrolls to the new current row by itself.
        setCurrentRow(nRow);
    }
}

void CGroupAddressSelectionListBox::UpdateProjectImage() {
    CTreeListItem* pRoot = GetFirstRootItem();
    if (pRoot == nullptr) {
        return;
    }
    const bool bSelected = GetItem(currentRow()) == pRoot;
    const WORD wState = pRoot->GetState();
    pRoot->SetState(bSelected ? static_cast<WORD>(wState | TLIS_MARKED) : static_cast<WORD>(wState & ~TLIS_MARKED));
    viewport()->update();
}

void CGroupAddressSelectionListBox::SetTableView(CMainTableView* pTableView) {
    m_pTableView = pTableView;
    m_pShownItem = nullptr;
    if (currentRow() < 0 && GetRowCount() > 0) {
        setCurrentRow(0);
    }
    ShowCurrentTable();
}

void CGroupAddressSelectionListBox::ShowTable(CTreeListItem* pItem) {
    if (m_pTableView == nullptr || pItem == nullptr) {
        return;
    }
    const GroupItemData* pData = GetGroupData(pItem);
    if (pData == nullptr) {
        LOG_ERROR("ITEMDATA not defined for item");
        return;
    }
    // Making the same table again would only read the host once more and
    // lose the rows the user selected in it.
    if (pItem == m_pShownItem && m_pTableView->GetTableBox() != nullptr &&
        m_pTableView->GetTableType() == pData->nKind) {
        return;
    }
    m_tableNode.SetText(pItem->GetTextRef());
    m_tableNode.SetId(pData->nId);
    m_pShownItem = pItem;
    m_pTableView->CreateTableBox(pData->nKind, &m_tableNode);
}

void CGroupAddressSelectionListBox::ShowCurrentTable() {
    ShowTable(GetItem(currentRow()));
}

// ---------------------------------------------------------------------------
// Creating groups

QWidget* CGroupAddressSelectionListBox::Owner() const {
    return window();
}

void CGroupAddressSelectionListBox::CreateMainGroup(CEtsDataAccess* pAccess, CListItem* pItem) {
    const GroupItemData* pData = GetGroupData(pItem);
    if (pAccess == nullptr || pData == nullptr || pData->nKind != kKindProject || g_pChronoset == nullptr) {
        return;
    }
    if (pItem->GetChildCount(false, false) > 15) {
        CMessageBox().ShowInfo(platform::ui::HwndFromWidget(Owner()),
                               GetResString(421, "Keine Hauptgruppenadressen verfügbar").c_str(),
                               GetResString(420, "Hinweis").c_str());
        return;
    }
    const LONG nProjectId = g_pChronoset->GetProjectId();
    CMainMiddleGroupDlg dlg(CMainMiddleGroupDlg::kMainGroup, static_cast<int>(nProjectId), pAccess, Owner());
    if (dlg.DoModal() != IDOK) {
        return;
    }
    IEtsProject* pProject = g_mapProjects.Lookup(nProjectId);
    const LONG nId = pProject != nullptr ? pAccess->AddMainGroup(pProject, dlg.m_nNumber, dlg.m_strName,
                                                                 dlg.m_strDescription, dlg.m_strKey, 1, 0)
                                         : -1;
    if (nId == -1) {
        LOG_ERROR("failed to create main group address");
        return;
    }
    auto* pNew = new CListItem(NodeText(dlg.m_nNumber, dlg.m_strName), kImageMainGroup, kImageMainGroup,
                               new GroupItemData(m_nLevels == 3 ? kKindMainGroup : kKindGroup, nId), LIDO_OBJECT);
    InsertCreatedItem(pItem, pNew, true);
    SelectItem(pNew);
    ShowTable(pNew);
    g_bDataModified = true;
}

void CGroupAddressSelectionListBox::CreateMiddleGroup(CEtsDataAccess* pAccess, CListItem* pItem) {
    const GroupItemData* pData = GetGroupData(pItem);
    if (pAccess == nullptr || pData == nullptr || pData->nKind != kKindMainGroup) {
        return;
    }
    if (pItem->GetChildCount(false, false) > 7) {
        CMessageBox().ShowInfo(platform::ui::HwndFromWidget(Owner()),
                               GetResString(423, "Keine Mittelgruppenadressen verfügbar").c_str(),
                               GetResString(420, "Hinweis").c_str());
        return;
    }
    const LONG nMainGroupId = pData->nId;
    CMainMiddleGroupDlg dlg(CMainMiddleGroupDlg::kMiddleGroup, static_cast<int>(nMainGroupId), pAccess, Owner());
    if (dlg.DoModal() != IDOK) {
        return;
    }
    const LONG nId =
        pAccess->AddMiddleGroup(nMainGroupId, dlg.m_nNumber, dlg.m_strName, dlg.m_strDescription, dlg.m_strKey, 1);
    if (nId == -1) {
        LOG_ERROR("failed to create middle group address");
        return;
    }
    auto* pNew = new CListItem(NodeText(dlg.m_nNumber, dlg.m_strName), kImageMiddleGroup, kImageMiddleGroup,
                               new GroupItemData(kKindGroup, nId), LIDO_OBJECT);
    InsertCreatedItem(pItem, pNew, true);
    SelectItem(pNew);
    ShowTable(pNew);
    g_bDataModified = true;
}

void CGroupAddressSelectionListBox::CreateSubGroup(CEtsDataAccess* pAccess, CListItem* pItem) {
    const GroupItemData* pData = GetGroupData(pItem);
    if (pAccess == nullptr || pData == nullptr || pData->nKind != kKindGroup || g_pChronoset == nullptr) {
        return;
    }
    const LONG nGroupId = pData->nId;

    // Room left: one sub address stays reserved when the groups have
    // addresses.
    LONG nCount = 0;
    if (m_nLevels == 3) {
        nCount = pAccess->GetSubGroupCount(nGroupId);
        if (IEtsMiddleGroup* pMiddleGroup = g_mapMiddleGroups.Lookup(nGroupId)) {
            LONG nMiddleAddress = -1;
            CComPtr<IEtsMainGroup> pMainGroup;
            LONG nMainAddress = -1;
            if (SUCCEEDED(pAccess->GetMiddleGroupAddress(pMiddleGroup, nMiddleAddress)) && nMiddleAddress >= 0 &&
                SUCCEEDED(Checked(pMiddleGroup->get_Parent(&pMainGroup), pMainGroup)) &&
                SUCCEEDED(pAccess->GetMainGroupAddress(pMainGroup, nMainAddress))) {
                ++nCount;
            }
        }
    } else if (IEtsMainGroup* pMainGroup = g_mapMainGroups.Lookup(nGroupId)) {
        CComPtr<IEtsMiddleGroups> pMiddleGroups;
        LONG nMiddleCount = 0;
        if (SUCCEEDED(Checked(pMainGroup->get_MiddleGroups(&pMiddleGroups), pMiddleGroups)) &&
            SUCCEEDED(pMiddleGroups->get_Count(&nMiddleCount))) {
            for (LONG i = 1; i <= nMiddleCount; ++i) {
                CComPtr<IEtsMiddleGroup> pMiddleGroup;
                std::string strName;
                LONG nMiddleId = -1;
                LONG nAddress = -1;
                if (SUCCEEDED(Checked(pMiddleGroups->Item(MakeIndexVariant(i), &pMiddleGroup), pMiddleGroup)) &&
                    SUCCEEDED(pAccess->GetMiddleGroupData(pMiddleGroup, strName, nMiddleId, nAddress))) {
                    nCount += pAccess->GetSubGroupCount(nMiddleId);
                }
            }
        }
        LONG nMainAddress = -1;
        if (SUCCEEDED(pAccess->GetMainGroupAddress(pMainGroup, nMainAddress))) {
            ++nCount;
        }
    }
    if (nCount >= (m_nLevels == 3 ? 256 : 2048)) {
        CMessageBox().ShowInfo(platform::ui::HwndFromWidget(Owner()),
                               GetResString(425, "Keine Untergruppen verfügbar").c_str(),
                               GetResString(420, "Hinweis").c_str());
        return;
    }

    // The addresses of the group's main and middle group. One without an
    // address cannot take a group address: the host would make a new group
    // for it instead.
    LONG nMainAddress = -1;
    LONG nMiddleAddress = 0;
    bool bAddresses = false;
    LONG nMainGroupId = nGroupId;
    if (m_nLevels == 3) {
        const GroupItemData* pParentData = GetGroupData(pItem->GetParent());
        nMainGroupId = pParentData != nullptr ? pParentData->nId : -1;
    }
    if (IEtsMainGroup* pMainGroup = g_mapMainGroups.Lookup(nMainGroupId)) {
        const HRESULT hr = pAccess->GetMainGroupAddress(pMainGroup, nMainAddress);
        if (FAILED(hr)) {
            LOG_ERROR("failed to get main group address hr=0x%08X", Hr(hr));
        } else {
            bAddresses = nMainAddress >= 0;
        }
    } else {
        LOG_ERROR("Main group not found.");
    }
    if (bAddresses && m_nLevels == 3) {
        if (IEtsMiddleGroup* pMiddleGroup = g_mapMiddleGroups.Lookup(nGroupId)) {
            const HRESULT hr = pAccess->GetMiddleGroupAddress(pMiddleGroup, nMiddleAddress);
            if (FAILED(hr)) {
                LOG_ERROR("failed to get middlegroup address. hr=0x%08X", Hr(hr));
                bAddresses = false;
            } else {
                bAddresses = nMiddleAddress >= 0;
            }
        } else {
            LOG_ERROR("middlegroup with id=%ld not found.", static_cast<long>(nGroupId));
            bAddresses = false;
        }
    }
    if (!bAddresses) {
        LOG_ERROR("failed to get main and middle group address from selectionbox item");
        return;
    }

    CSubGroupEditDlg dlg(pAccess, static_cast<int>(nGroupId), static_cast<int>(nMainAddress),
                         static_cast<int>(nMiddleAddress), Owner());
    if (dlg.DoModal() != IDOK) {
        return;
    }
    LONG nSubAddress = dlg.m_nNumber;
    if (m_nLevels == 2) {
        nMiddleAddress = dlg.m_nNumber / 256;
        nSubAddress = dlg.m_nNumber % 256;
    }
    const LONG nProjectId = g_pChronoset->GetProjectId();
    IEtsProject* pProject = g_mapProjects.Lookup(nProjectId);
    if (pProject == nullptr) {
        LOG_ERROR("Error getting project with id=%ld", static_cast<long>(nProjectId));
        return;
    }
    const LONG nId =
        pAccess->AddGroupAddress(pProject, nMainAddress, nMiddleAddress, nSubAddress, dlg.m_strName,
                                 dlg.m_strDescription, dlg.m_strKey, dlg.m_bCentralFunction, 1, 0);
    if (nId == -1) {
        LOG_ERROR("failed to create subgroupaddress %d", dlg.m_nNumber);
        return;
    }

    if (pItem->GetFirstChild() != nullptr) {
        InsertCreatedItem(pItem,
                          new CListItem(NodeText(dlg.m_nNumber, dlg.m_strName), kImageSubGroup, kImageSubGroup,
                                        new GroupItemData(kKindSubGroup, nId), LIDO_OBJECT),
                          false);
    } else {
        pItem->SetItemData(0);
        ExpandWithLoading(pItem);
    }

    if (currentRow() != FindItemIndex(pItem)) {
        SelectItem(pItem);
        ShowTable(pItem);
    } else if (m_pTableView != nullptr && m_pTableView->GetTableType() == kKindGroup &&
               m_pTableView->GetTableBox() != nullptr) {
        m_pTableView->GetTableBox()->RefreshTable();
    } else {
        LOG_ERROR(
            "CGroupAddressSelectionListBox::CreateSubGroup: Unexpected table view type %d (type %d=TableViewSubGroups "
            "expected)",
            m_pTableView != nullptr ? m_pTableView->GetTableType() : 0, kKindGroup);
    }
}

// ---------------------------------------------------------------------------
// Dropping the strip's symbols

namespace {

bool KindTakes(int nKind, int nDragType) {
    return (nKind == CGroupAddressSelectionListBox::kKindProject &&
            nDragType == CGroupAddressSelectionListBox::kDragMainGroup) ||
           (nKind == CGroupAddressSelectionListBox::kKindMainGroup &&
            nDragType == CGroupAddressSelectionListBox::kDragMiddleGroup) ||
           (nKind == CGroupAddressSelectionListBox::kKindGroup &&
            nDragType == CGroupAddressSelectionListBox::kDragSubGroup);
}

}  // namespace

bool CGroupAddressSelectionListBox::IsDropTarget(int nDragType, const QPoint& ptScreen) const {
    const QPoint pt = viewport()->mapFromGlobal(ptScreen);
    if (!viewport()->rect().contains(pt)) {
        return false;
    }
    const GroupItemData* pData = GetGroupData(GetItem(HitTest(pt)));
    return pData != nullptr && KindTakes(pData->nKind, nDragType);
}

void CGroupAddressSelectionListBox::RunCreate(CEtsDataAccess* pAccess, int nDragType, CListItem* pItem) {
    const GroupItemData* pData = GetGroupData(pItem);
    if (pData == nullptr || !KindTakes(pData->nKind, nDragType)) {
        return;
    }
    switch (nDragType) {
    case kDragMainGroup:
        CreateMainGroup(pAccess, pItem);
        break;
    case kDragMiddleGroup:
        CreateMiddleGroup(pAccess, pItem);
        break;
    case kDragSubGroup:
        CreateSubGroup(pAccess, pItem);
        break;
    default:
        break;
    }
}

bool CGroupAddressSelectionListBox::DropOnTree(int nDragType, const QPoint& ptScreen) {
    if (!IsDropTarget(nDragType, ptScreen)) {
        return false;
    }
    CListItem* pItem = dynamic_cast<CListItem*>(GetItem(HitTest(viewport()->mapFromGlobal(ptScreen))));
    CEtsDataAccess access;
    if (!access.IsValid()) {
        LOG_ERROR("Failed to connect to ETS database");
        return true;
    }
    RunCreate(&access, nDragType, pItem);
    return true;
}

void CGroupAddressSelectionListBox::DropOnTable(int nDragType) {
    CEtsDataAccess access;
    if (!access.IsValid()) {
        LOG_ERROR("Failed to connect to ETS database");
        return;
    }
    RunCreate(&access, nDragType, GetCurrentItem());
}

// ---------------------------------------------------------------------------
// Keys and mouse

bool CGroupAddressSelectionListBox::MoveFocusOut(bool bNext) {
    CMainTableBox* pTable = m_pTableView != nullptr ? m_pTableView->GetTableBox() : nullptr;
    if (pTable == nullptr) {
        return false;
    }
    QWidget* pTarget = nullptr;
    if (bNext) {
        // The first button of the table's button bar.
        if (CMainFormView* pForm = pTable->GetFormView()) {
            for (QAbstractButton* pButton : pForm->findChildren<QAbstractButton*>()) {
                if (pButton->isVisible() && pButton->isEnabled() && (pButton->focusPolicy() & Qt::TabFocus) != 0) {
                    pTarget = pButton;
                    break;
                }
            }
        }
    }
    if (pTarget == nullptr) {
        pTarget = pTable;
    }
    pTarget->setFocus(bNext ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

bool CGroupAddressSelectionListBox::event(QEvent* pEvent) {
    // The list wants the Tab key: it leads to the right pane rather than
    // along the window's focus chain.
    if (pEvent->type() == QEvent::KeyPress) {
        auto* pKey = static_cast<QKeyEvent*>(pEvent);
        const bool bTab = pKey->key() == Qt::Key_Tab || pKey->key() == Qt::Key_Backtab;
        if (bTab && (pKey->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0) {
            ShowCurrentTable();
            const bool bBack = pKey->key() == Qt::Key_Backtab || (pKey->modifiers() & Qt::ShiftModifier) != 0;
            if (MoveFocusOut(!bBack)) {
                pKey->accept();
                return true;
            }
        }
    }
    return CSelectionTreeListBox::event(pEvent);
}

void CGroupAddressSelectionListBox::keyPressEvent(QKeyEvent* pEvent) {
    const bool bKeypad = (pEvent->modifiers() & Qt::KeypadModifier) != 0;
    const int nKey = pEvent->key();
    const bool bCollapse = nKey == Qt::Key_Left || (bKeypad && nKey == Qt::Key_Minus);
    const bool bExpand = nKey == Qt::Key_Right || (bKeypad && nKey == Qt::Key_Plus);
    if (bCollapse || bExpand || (bKeypad && nKey == Qt::Key_Asterisk)) {
        CTreeListItem* pItem = GetItem(currentRow());
        if (pItem != nullptr && !pItem->IsLeaf()) {
            if (bCollapse) {
                Collapse(pItem);
            } else if (bExpand) {
                ExpandWithLoading(pItem);
            }
        }
        pEvent->accept();
        return;
    }
    CSelectionTreeListBox::keyPressEvent(pEvent);
    ShowCurrentTable();
}

void CGroupAddressSelectionListBox::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) {
        ShowCurrentTable();
    }
    CSelectionTreeListBox::mouseReleaseEvent(pEvent);
}

void CGroupAddressSelectionListBox::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    // Only the left button opens and closes nodes.
    if (pEvent->button() != Qt::LeftButton) {
        pEvent->accept();
        return;
    }
    CSelectionTreeListBox::mouseDoubleClickEvent(pEvent);
}

void CGroupAddressSelectionListBox::showEvent(QShowEvent* pEvent) {
    CSelectionTreeListBox::showEvent(pEvent);
    // The path was restored before the list had its size.
    if (currentRow() >= 0) {
        scrollToItem(item(currentRow()));
    }
}

void CGroupAddressSelectionListBox::focusInEvent(QFocusEvent* pEvent) {
    CSelectionTreeListBox::focusInEvent(pEvent);
    viewport()->update();
}

void CGroupAddressSelectionListBox::focusOutEvent(QFocusEvent* pEvent) {
    CSelectionTreeListBox::focusOutEvent(pEvent);
    viewport()->update();
}

// ---------------------------------------------------------------------------
// Drawing

void CGroupAddressSelectionListBox::DrawSelectionRow(QPainter& painter, const QStyleOptionViewItem& option,
                                                     int nRow) {
    const bool bSelected = (option.state & QStyle::State_Selected) != 0;
    const bool bFocusRect = (option.state & QStyle::State_HasFocus) != 0;
    const bool bListFocus = hasFocus();
    const bool bShownSelected = bSelected && bListFocus;
    DrawRow(painter, option.rect, nRow, bShownSelected, false);
    auto* pItem = dynamic_cast<CListItem*>(GetItem(nRow));
    if (pItem == nullptr) {
        return;
    }
    int nButton = 0;
    int nIndent = 0;
    int nImage = 0;
    GetItemIndents(pItem, nButton, nIndent, nImage);
    const int nLeft = option.rect.left() + nButton + nIndent;
    const int nRight = std::min(pItem->GetTextRect().right() + 1, option.rect.right());
    const QRect rectFrame(QPoint(nLeft, option.rect.top()), QPoint(std::max(nLeft, nRight), option.rect.bottom()));
    QColor frame = palette().color(QPalette::Base);
    if (bSelected) {
        frame = bListFocus ? QColor(192, 192, 192) : palette().color(QPalette::Highlight);
    }
    painter.setPen(frame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rectFrame.adjusted(0, 0, -1, -1));
    if (bFocusRect) {
        QRect rectText = option.rect;
        rectText.setLeft(nLeft + nImage + 4);
        const QColor text = palette().color(bShownSelected ? QPalette::HighlightedText : QPalette::Text);
        painter.setPen(QPen(text, 1, Qt::DotLine));
        painter.drawRect(rectText.adjusted(0, 0, -1, -1));
    }
}
