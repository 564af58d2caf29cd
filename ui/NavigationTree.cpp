#include "ui/NavigationTree.h"

#include "app/Chronoset.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/ResString.h"
#include "platform/base/HelpService.h"
#include "platform/ui/ResourceImages.h"
#include "ui/MainTableView.h"
#include "ui/MainTreeView.h"
#include "ui/NavigationTreeItem.h"
#include "ui/ViewNotify.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cstdio>

namespace {

// The pictures of the strip, each kImageWidth wide, drawn as they are.
std::vector<QPixmap> LoadTreeImages() {
    std::vector<QPixmap> images;
    const QImage strip = platform::ui::LoadBitmapResource(CNavigationTree::kImageBitmap);
    for (int x = 0; x + CNavigationTree::kImageWidth <= strip.width(); x += CNavigationTree::kImageWidth) {
        images.push_back(QPixmap::fromImage(strip.copy(x, 0, CNavigationTree::kImageWidth, strip.height())));
    }
    return images;
}

bool CarriesCharacter(const QKeyEvent* pEvent) {
    return !pEvent->text().isEmpty();
}

}  // namespace

CNavigationTree::CNavigationTree(QWidget* pParent) : CTreeCtrlEx(pParent) {
    setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    SetImageList(LoadTreeImages());
    setFocusPolicy(Qt::StrongFocus);
    // Double clicks and keys toggle nodes only as this tree decides.
    setExpandsOnDoubleClick(false);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setTabKeyNavigation(false);
}

CNavigationTree::~CNavigationTree() {
    m_bNotificationsOn = false;
    m_pTableView = nullptr;
    // While the node handles can still be forgotten.
    DeleteAllItems();
}

std::string CNavigationTree::MakeNodeCaption(int nNumber, const std::string& strName) {
    char szNumber[16];
    std::snprintf(szNumber, sizeof szNumber, "%02d", nNumber);
    return std::string(szNumber) + ": " + strName;
}

void CNavigationTree::Attach(CMainTableView* pTableView, int /*nReserved*/) {
    m_pTableView = pTableView;
    BuildTree();
}

CNavigationTreeItem* CNavigationTree::GetNodeData(const QTreeWidgetItem* hItem) const {
    return dynamic_cast<CNavigationTreeItem*>(GetItemData(hItem));
}

QTreeWidgetItem* CNavigationTree::FindChildNode(QTreeWidgetItem* hParent, int nTableType,
                                                const CObject* pObject) const {
    for (QTreeWidgetItem* hChild = GetChildItem(hParent); hChild != nullptr; hChild = GetNextSiblingItem(hChild)) {
        const CNavigationTreeItem* pData = GetNodeData(hChild);
        if (pData != nullptr && pData->GetTableType() == nTableType && pData->GetObject() == pObject) {
            return hChild;
        }
    }
    return nullptr;
}

QTreeWidgetItem* CNavigationTree::InsertFixedNode(UINT nCaptionId, const char* pszFallback, int nTableType,
                                                  QTreeWidgetItem* hParent) {
    return InsertItem(GetResString(nCaptionId, pszFallback), kImageFolder, kImageFolderSelected,
                      new CNavigationTreeItem(nTableType, nullptr), hParent, TVI_LAST);
}

void CNavigationTree::BuildTree() {
    m_hCurrentNode = nullptr;
    DeleteAllItems();

    if (g_bStandalone) {
        m_hGeneralNode = InsertFixedNode(1104, "Tavik 2.1", kTypeGeneral, nullptr);
    } else {
        m_hGeneralNode = InsertFixedNode(101, "Allgemein", kTypeGeneral, nullptr);
    }
    m_hTimeProgramNode = InsertFixedNode(350, "Zeiten", kTypeTimeProgram, nullptr);
    m_hQuantitiesNode = InsertFixedNode(351, "Mengen", kTypeQuantities, nullptr);
    m_hGroupAddressNode = InsertFixedNode(352, "Gruppenadressen", kTypeGroupAddresses, nullptr);
    m_hUtilizationNode = InsertFixedNode(353, "Auslastung", kTypeUtilization, nullptr);

    if (m_hTimeProgramNode != nullptr) {
        m_hDayRoutinesNode = InsertFixedNode(108, "Tagesabläufe", kTypeDayRoutines, m_hTimeProgramNode);
        m_hWeekRoutineNode = InsertFixedNode(40010, "Wochenablauf", kTypeWeekRoutine, m_hTimeProgramNode);
        m_hSummertimeNode = InsertFixedNode(40011, "Sommerzeiten", kTypeSummertimes, m_hTimeProgramNode);
        m_hSpecialDaysNode = InsertFixedNode(40012, "Sondertage", kTypeSpecialDays, m_hTimeProgramNode);
        m_hOverviewNode = InsertFixedNode(40013, "Übersicht", kTypeOverview, m_hTimeProgramNode);
    }

    if (g_pChronoset != nullptr) {
        for (CDayRoutine* pDayRoutine : g_pChronoset->GetDayRoutines()->GetDayRoutines()) {
            InsertDayRoutineNode(pDayRoutine);
        }
        for (CQuantity* pQuantity : g_pChronoset->GetQuantities()->GetQuantityList()) {
            InsertQuantityNode(pQuantity);
        }
    }

    if (m_hTimeProgramNode != nullptr) {
        SelectNode(m_hTimeProgramNode);
        Expand(m_hTimeProgramNode);
    } else {
        SelectNode(GetFirstVisibleItem());
    }
}

QTreeWidgetItem* CNavigationTree::SelectNode(QTreeWidgetItem* hItem) {
    if (hItem != nullptr) {
        SelectItem(hItem);
    }
    QTreeWidgetItem* hSelected = GetSelectedItem();
    // A tree without selection keeps the table it shows.
    if (hSelected != nullptr && hSelected != m_hCurrentNode) {
        m_hCurrentNode = hSelected;
        if (m_pTableView != nullptr) {
            m_pTableView->ShowTreeItem(GetNodeData(hSelected));
        }
    }
    return hSelected;
}

void CNavigationTree::ReselectSelectedNode() {
    SelectNode(GetSelectedItem());
}

QTreeWidgetItem* CNavigationTree::InsertNumberedNode(QTreeWidgetItem* hParent, int nTableType, CObject* pObject,
                                                     int nNumber, const std::string& strName) {
    // After the last node of a number not above the new one, so that equal
    // numbers keep the order they came in.
    QTreeWidgetItem* hAfter = TVI_FIRST;
    for (QTreeWidgetItem* hChild = GetChildItem(hParent); hChild != nullptr; hChild = GetNextSiblingItem(hChild)) {
        const CNavigationTreeItem* pData = GetNodeData(hChild);
        if (pData == nullptr || pData->GetTableType() != nTableType || pData->GetObject() == nullptr) {
            break;
        }
        int nChildNumber = 0;
        if (nTableType == kTypeDayRoutine) {
            const auto* pRoutine = dynamic_cast<const CDayRoutine*>(pData->GetObject());
            if (pRoutine == nullptr) {
                break;
            }
            nChildNumber = pRoutine->GetNumber();
        } else {
            const auto* pQuantity = dynamic_cast<const CQuantity*>(pData->GetObject());
            if (pQuantity == nullptr) {
                break;
            }
            nChildNumber = pQuantity->GetNumber();
        }
        if (nChildNumber > nNumber) {
            break;
        }
        hAfter = hChild;
    }
    return InsertItem(MakeNodeCaption(nNumber, strName), kImageData, kImageData,
                      new CNavigationTreeItem(nTableType, pObject), hParent, hAfter);
}

void CNavigationTree::InsertDayRoutineNode(CDayRoutine* pDayRoutine) {
    if (pDayRoutine == nullptr || m_hDayRoutinesNode == nullptr) {
        return;
    }
    // A routine has one node; a second announcement of it changes nothing.
    if (FindChildNode(m_hDayRoutinesNode, kTypeDayRoutine, pDayRoutine) != nullptr) {
        return;
    }
    const bool bExpanded = IsItemExpanded(m_hDayRoutinesNode);
    QTreeWidgetItem* hRemembered = nullptr;
    if (bExpanded) {
        QTreeWidgetItem* hSelected = GetSelectedItem();
        if (hSelected != nullptr && hSelected->parent() == m_hDayRoutinesNode) {
            hRemembered = hSelected;
        }
        CollapseItem(m_hDayRoutinesNode);
    }
    InsertNumberedNode(m_hDayRoutinesNode, kTypeDayRoutine, pDayRoutine, pDayRoutine->GetNumber(),
                       pDayRoutine->GetName());
    if (bExpanded) {
        ExpandItem(m_hDayRoutinesNode);
        if (hRemembered != nullptr) {
            SelectItem(hRemembered);
        }
    }
    viewport()->update();
}

void CNavigationTree::InsertQuantityNode(CQuantity* pQuantity) {
    if (pQuantity == nullptr || m_hQuantitiesNode == nullptr) {
        return;
    }
    if (FindChildNode(m_hQuantitiesNode, kTypeQuantity, pQuantity) != nullptr) {
        return;
    }
    const bool bExpanded = IsItemExpanded(m_hQuantitiesNode);
    QTreeWidgetItem* hRememberedQuantity = nullptr;
    QTreeWidgetItem* hRememberedChild = nullptr;
    if (bExpanded) {
        QTreeWidgetItem* hSelected = GetSelectedItem();
        if (hSelected != nullptr && hSelected->parent() == m_hQuantitiesNode) {
            hRememberedQuantity = hSelected;
        } else if (hSelected != nullptr && hSelected->parent() != nullptr &&
                   hSelected->parent()->parent() == m_hQuantitiesNode) {
            hRememberedQuantity = hSelected->parent();
            hRememberedChild = hSelected;
        }
        CollapseItem(m_hQuantitiesNode);
    }
    QTreeWidgetItem* hNode = InsertNumberedNode(m_hQuantitiesNode, kTypeQuantity, pQuantity, pQuantity->GetNumber(),
                                                pQuantity->GetName());
    if (hNode != nullptr) {
        InsertItem(" " + GetResString(40104, "Auslöser"), kImageData, kImageData,
                   new CNavigationTreeItem(kTypeQuantityTriggers, pQuantity), hNode, TVI_LAST);
        InsertItem(" " + GetResString(818, "Mitglieder"), kImageData, kImageData,
                   new CNavigationTreeItem(kTypeQuantityMembers, pQuantity), hNode, TVI_LAST);
    }
    if (bExpanded) {
        ExpandItem(m_hQuantitiesNode);
        if (hRememberedQuantity != nullptr) {
            ExpandItem(hRememberedQuantity);
            SelectItem(hRememberedChild != nullptr ? hRememberedChild : hRememberedQuantity);
        }
    }
    viewport()->update();
}

void CNavigationTree::RemoveNode(QTreeWidgetItem* hItem) {
    if (hItem == nullptr || hItem->treeWidget() != this) {
        return;
    }
    QTreeWidgetItem* hSelected = GetSelectedItem();
    if (hSelected != nullptr && IsSameOrBelow(hSelected, hItem)) {
        if (QTreeWidgetItem* hPrevious = GetPrevSiblingItem(hItem)) {
            SelectNode(hPrevious);
        } else if (QTreeWidgetItem* hNext = GetNextSiblingItem(hItem)) {
            SelectNode(hNext);
        } else if (QTreeWidgetItem* hParent = GetParentItem(hItem)) {
            CollapseItem(hParent);
            SelectNode(hParent);
        }
    }
    DeleteItemAndFixParent(hItem);
}

void CNavigationTree::RefreshBranch(VIEWNOTIFY* pNotify) {
    if (pNotify == nullptr || pNotify->nHandled != 0) {
        return;
    }
    switch (pNotify->nType) {
    case VN_ADDED: {
        if (pNotify->nKind == 0) {
            pNotify->nKind = GetObjectKindFlag(pNotify->pObject);
        }
        if (pNotify->pObject == nullptr) {
            break;
        }
        if (pNotify->nKind == VOK_DAYROUTINE) {
            InsertDayRoutineNode(dynamic_cast<CDayRoutine*>(pNotify->pObject));
        } else if (pNotify->nKind == VOK_QUANTITY) {
            InsertQuantityNode(dynamic_cast<CQuantity*>(pNotify->pObject));
        }
        break;
    }
    case VN_REMOVED:
        if (pNotify->pObject == nullptr) {
            break;
        }
        // The object may be gone already: it is only compared.
        if (pNotify->nKind == VOK_DAYROUTINE) {
            RemoveNode(FindChildNode(m_hDayRoutinesNode, kTypeDayRoutine, pNotify->pObject));
        } else if (pNotify->nKind == VOK_QUANTITY) {
            RemoveNode(FindChildNode(m_hQuantitiesNode, kTypeQuantity, pNotify->pObject));
        }
        break;
    case VN_CHANGED:
        if (pNotify->pObject == nullptr) {
            break;
        }
        if (pNotify->nKind == VOK_DAYROUTINE) {
            QTreeWidgetItem* hNode = FindChildNode(m_hDayRoutinesNode, kTypeDayRoutine, pNotify->pObject);
            const auto* pRoutine = dynamic_cast<const CDayRoutine*>(pNotify->pObject);
            if (hNode != nullptr && pRoutine != nullptr) {
                SetItemText(hNode, MakeNodeCaption(pRoutine->GetNumber(), pRoutine->GetName()));
            }
        } else if (pNotify->nKind == VOK_QUANTITY) {
            QTreeWidgetItem* hNode = FindChildNode(m_hQuantitiesNode, kTypeQuantity, pNotify->pObject);
            const auto* pQuantity = dynamic_cast<const CQuantity*>(pNotify->pObject);
            if (hNode != nullptr && pQuantity != nullptr) {
                SetItemText(hNode, MakeNodeCaption(pQuantity->GetNumber(), pQuantity->GetName()));
            }
        }
        break;
    default:
        break;
    }
}

void CNavigationTree::Expand(QTreeWidgetItem* hItem) {
    if (hItem == nullptr) {
        hItem = GetSelectedItem();
    }
    if (hItem != nullptr && !IsItemExpanded(hItem)) {
        ExpandItem(hItem);
    }
}

void CNavigationTree::Collapse(QTreeWidgetItem* hItem) {
    if (hItem == nullptr) {
        hItem = GetSelectedItem();
    }
    if (hItem == nullptr) {
        return;
    }
    CollapseItem(hItem);
    // A selection hidden by the collapse moves up to the collapsed node, and
    // the table follows it.
    QTreeWidgetItem* hSelected = GetSelectedItem();
    if (hSelected != nullptr && hSelected != hItem && IsSameOrBelow(hSelected, hItem)) {
        SelectNode(hItem);
    }
}

void CNavigationTree::ExpandAllBelow(QTreeWidgetItem* hItem) {
    CollapseItem(hItem);
    ExpandItem(hItem);
    for (int i = 0; i < hItem->childCount(); ++i) {
        ExpandAllBelow(hItem->child(i));
    }
}

void CNavigationTree::ExpandAll(QTreeWidgetItem* hItem) {
    if (hItem == nullptr) {
        hItem = GetSelectedItem();
    }
    if (hItem != nullptr) {
        ExpandAllBelow(hItem);
    }
}

void CNavigationTree::GoToParent() {
    QTreeWidgetItem* hSelected = GetSelectedItem();
    if (hSelected == nullptr) {
        return;
    }
    if (QTreeWidgetItem* hParent = GetParentItem(hSelected)) {
        CollapseItem(hParent);
        SelectNode(hParent);
    } else {
        CollapseItem(hSelected);
    }
}

void CNavigationTree::ToggleNode() {
    QTreeWidgetItem* hSelected = GetSelectedItem();
    if (hSelected == nullptr) {
        return;
    }
    if (hSelected->childCount() == 0) {
        SelectNode(hSelected);
    } else if (IsItemExpanded(hSelected)) {
        Collapse(hSelected);
    } else {
        Expand(hSelected);
    }
}

void CNavigationTree::SelectParentNode() {
    GoToParent();
}

bool CNavigationTree::OnCommand(UINT nId) {
    switch (nId) {
    case 1:
        ToggleNode();
        return true;
    case 40010:
    case 40027:
    case 40028:
        ReselectSelectedNode();
        return true;
    default:
        return false;
    }
}

void CNavigationTree::OnDeleteItem(QTreeWidgetItem* hItem) {
    // Handles of deleted nodes are forgotten, so none is used afterwards.
    for (QTreeWidgetItem** phNode :
         {&m_hCurrentNode, &m_hGeneralNode, &m_hTimeProgramNode, &m_hQuantitiesNode, &m_hGroupAddressNode,
          &m_hUtilizationNode, &m_hDayRoutinesNode, &m_hWeekRoutineNode, &m_hSummertimeNode, &m_hSpecialDaysNode,
          &m_hOverviewNode}) {
        if (*phNode == hItem) {
            *phNode = nullptr;
        }
    }
}

// ---------------------------------------------------------------------------
// Sending

CMainTreeView* CNavigationTree::GetTreeView() const {
    return dynamic_cast<CMainTreeView*>(parentWidget());
}

QWidget* CNavigationTree::GetFrame() const {
    // Tree view, row splitter, frame.
    QWidget* pWidget = const_cast<CNavigationTree*>(this);
    for (int i = 0; i < 3 && pWidget != nullptr; ++i) {
        pWidget = pWidget->parentWidget();
    }
    return pWidget;
}

void CNavigationTree::SendNotification(VIEWNOTIFY* pNotify) {
    pNotify->pSourceTree = this;
    if (CMainTreeView* pView = GetTreeView()) {
        pView->RouteNotification(pNotify);
    }
}

void CNavigationTree::SendActivation(int nValue) {
    if (!m_bNotificationsOn) {
        return;
    }
    VIEWNOTIFY notify;
    notify.nType = VN_ACTIVATE;
    notify.nValue = nValue;
    SendNotification(&notify);
}

void CNavigationTree::focusInEvent(QFocusEvent* pEvent) {
    CTreeCtrlEx::focusInEvent(pEvent);
    SendActivation(1);
}

void CNavigationTree::focusOutEvent(QFocusEvent* pEvent) {
    SendActivation(0);
    CTreeCtrlEx::focusOutEvent(pEvent);
}

// ---------------------------------------------------------------------------
// Keyboard

bool CNavigationTree::event(QEvent* pEvent) {
    if (pEvent->type() == QEvent::KeyPress) {
        auto* pKey = static_cast<QKeyEvent*>(pEvent);
        if (pKey->key() == Qt::Key_Tab || pKey->key() == Qt::Key_Backtab) {
            // The frame moves the focus on to the next pane.
            const bool bBack = pKey->key() == Qt::Key_Backtab || (pKey->modifiers() & Qt::ShiftModifier) != 0;
            if (QWidget* pFrame = GetFrame()) {
                pFrame->setFocus(bBack ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            }
            pKey->accept();
            return true;
        }
    }
    return CTreeCtrlEx::event(pEvent);
}

void CNavigationTree::ShowHelp() {
    platform::WinHelp(m_pTableView != nullptr ? GetObjectTypeStringId(m_pTableView->GetTableType())
                                              : kApplicationHelpContext);
}

void CNavigationTree::keyPressEvent(QKeyEvent* pEvent) {
    const bool bAlt = (pEvent->modifiers() & Qt::AltModifier) != 0;
    pEvent->accept();
    switch (pEvent->key()) {
    case Qt::Key_Backspace:
        GoToParent();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Alt+Enter asks for properties, which the tree has none of.
        if (!bAlt) {
            ToggleNode();
        }
        return;
    case Qt::Key_Left:
        if (QTreeWidgetItem* hParent = GetParentItem(GetSelectedItem())) {
            SelectNode(hParent);
        }
        return;
    case Qt::Key_Right: {
        QTreeWidgetItem* hSelected = GetSelectedItem();
        if (hSelected == nullptr) {
            return;
        }
        if (hSelected->childCount() > 0) {
            if (!IsItemExpanded(hSelected)) {
                Expand(hSelected);
            } else {
                SelectNode(GetChildItem(hSelected));
            }
        } else if (QTreeWidgetItem* hNext = GetNextSiblingItem(hSelected)) {
            SelectNode(hNext);
        }
        return;
    }
    case Qt::Key_Insert:
    case Qt::Key_Delete:
    case Qt::Key_F4:
    case Qt::Key_Slash:
        ReselectSelectedNode();
        return;
    case Qt::Key_Asterisk:
        ExpandAll(nullptr);
        return;
    case Qt::Key_Plus:
        Expand(nullptr);
        return;
    case Qt::Key_Minus:
        Collapse(nullptr);
        return;
    case Qt::Key_F1:
        ShowHelp();
        return;
    case Qt::Key_Menu:
        return;
    default:
        break;
    }
    if (CarriesCharacter(pEvent)) {
        // Typed characters do not search the tree.
        return;
    }
    CTreeCtrlEx::keyPressEvent(pEvent);
    // The table follows the keyboard's selection at once.
    SelectNode(nullptr);
}

// ---------------------------------------------------------------------------
// Mouse

CNavigationTree::HitPart CNavigationTree::HitTest(const QPoint& ptClient, QTreeWidgetItem** phItem) const {
    QTreeWidgetItem* hItem = itemAt(ptClient);
    *phItem = hItem;
    if (hItem == nullptr) {
        return HitPart::Nowhere;
    }
    const QRect rect = visualItemRect(hItem);
    if (ptClient.x() >= rect.left()) {
        return HitPart::Item;
    }
    if (ptClient.x() >= rect.left() - indentation() && !HasNoChildren(hItem)) {
        return HitPart::Button;
    }
    return HitPart::Nowhere;
}

void CNavigationTree::mousePressEvent(QMouseEvent* pEvent) {
    QTreeWidgetItem* hItem = nullptr;
    const HitPart part = HitTest(pEvent->position().toPoint(), &hItem);
    if (pEvent->button() == Qt::RightButton) {
        if (hItem != nullptr) {
            SelectNode(hItem);
        }
        setFocus(Qt::MouseFocusReason);
        pEvent->accept();
        return;
    }
    if (pEvent->button() != Qt::LeftButton) {
        CTreeCtrlEx::mousePressEvent(pEvent);
        return;
    }
    m_bPressTaken = true;
    if (hItem == nullptr) {
        // A click beside the nodes keeps the selection.
        setFocus(Qt::MouseFocusReason);
        pEvent->accept();
        return;
    }
    SelectItem(hItem);
    setFocus(Qt::MouseFocusReason);
    if (part == HitPart::Button) {
        if (IsItemExpanded(hItem)) {
            CollapseItem(hItem);
        } else {
            ExpandItem(hItem);
        }
        pEvent->accept();
        return;
    }
    if (part == HitPart::Item) {
        pEvent->accept();
        return;
    }
    m_bPressTaken = false;
    CTreeCtrlEx::mousePressEvent(pEvent);
}

void CNavigationTree::mouseMoveEvent(QMouseEvent* pEvent) {
    // The view's own handling would select each node the held button
    // slips onto.
    if (m_bPressTaken && (pEvent->buttons() & Qt::LeftButton) != 0) {
        pEvent->accept();
        return;
    }
    CTreeCtrlEx::mouseMoveEvent(pEvent);
}

void CNavigationTree::mouseReleaseEvent(QMouseEvent* pEvent) {
    const bool bTaken = m_bPressTaken && pEvent->button() == Qt::LeftButton;
    if (pEvent->button() == Qt::LeftButton) {
        m_bPressTaken = false;
    }
    if (bTaken) {
        pEvent->accept();
    } else {
        CTreeCtrlEx::mouseReleaseEvent(pEvent);
    }
    if (pEvent->button() == Qt::LeftButton) {
        SelectNode(nullptr);
    }
}

void CNavigationTree::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) {
        QTreeWidgetItem* hItem = nullptr;
        const HitPart part = HitTest(pEvent->position().toPoint(), &hItem);
        if (part == HitPart::Item && hItem == GetSelectedItem() && hItem == m_hCurrentNode) {
            ToggleNode();
            pEvent->accept();
            return;
        }
    }
    CTreeCtrlEx::mouseDoubleClickEvent(pEvent);
}

void CNavigationTree::contextMenuEvent(QContextMenuEvent* pEvent) {
    // The tree has no context menu.
    pEvent->accept();
}
