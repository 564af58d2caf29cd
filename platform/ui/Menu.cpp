#include "platform/ui/Menu.h"

#include "platform/base/ResourceLibrary.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/PopupMenuRunner.h"
#include "platform/ui/ResourceText.h"

#include <QAction>
#include <QVariant>

#include <vector>

namespace {

constexpr char kCommandProperty[] = "chrono.cmdId";
constexpr UINT kNoItem = static_cast<UINT>(-1);

QAction* AddItem(QMenu& menu, UINT nId, const QString& text, UINT nFlags) {
    QAction* pAction = menu.addAction(text);
    pAction->setProperty(kCommandProperty, QVariant::fromValue<uint>(nId));
    pAction->setEnabled((nFlags & (MF_GRAYED | MF_DISABLED)) == 0);
    if ((nFlags & MF_CHECKED) != 0) {
        pAction->setCheckable(true);
        pAction->setChecked(true);
    }
    return pAction;
}

void BuildItems(QMenu& menu, const platform::ResList<platform::ResMenuItem>& items) {
    for (const platform::ResMenuItem& item : items) {
        if ((item.nFlags & platform::RESMENU_SEPARATOR) != 0) {
            menu.addSeparator();
            continue;
        }
        if ((item.nFlags & platform::RESMENU_POPUP) != 0) {
            // The submenu belongs to its parent menu.
            auto* pPopup = new QMenu(platform::ui::ResourceText(item.pszText), &menu);
            BuildItems(*pPopup, item.children);
            QAction* pAction = menu.addMenu(pPopup);
            pAction->setEnabled((item.nFlags & platform::RESMENU_GRAYED) == 0);
            continue;
        }
        AddItem(menu, item.nCommand, platform::ui::ResourceText(item.pszText), item.nFlags);
    }
}

// The first action with the command id, in this menu or its submenus.
QAction* FindByCommand(const QMenu& menu, UINT nId) {
    const auto actions = menu.actions();
    for (QAction* pAction : actions) {
        if (pAction->menu() == nullptr && !pAction->isSeparator() && CMenu::GetActionID(pAction) == nId) {
            return pAction;
        }
    }
    for (QAction* pAction : actions) {
        if (QMenu* pSub = pAction->menu()) {
            if (QAction* pFound = FindByCommand(*pSub, nId)) {
                return pFound;
            }
        }
    }
    return nullptr;
}

// The menu that lists the action: this one or one of its submenus.
QMenu* FindContainer(QMenu& menu, const QAction* pAction) {
    const auto actions = menu.actions();
    if (actions.contains(const_cast<QAction*>(pAction))) {
        return &menu;
    }
    for (QAction* pItem : actions) {
        if (QMenu* pSub = pItem->menu()) {
            if (QMenu* pFound = FindContainer(*pSub, pAction)) {
                return pFound;
            }
        }
    }
    return nullptr;
}

// Every submenu below the menu, with its position in its parent.
void CollectSubMenus(QMenu& menu, std::vector<std::pair<QMenu*, int>>& subMenus) {
    const auto actions = menu.actions();
    for (int i = 0; i < actions.size(); ++i) {
        if (QMenu* pSub = actions[i]->menu()) {
            subMenus.emplace_back(pSub, i);
            CollectSubMenus(*pSub, subMenus);
        }
    }
}

}  // namespace

CMenu::CMenu() = default;

CMenu::CMenu(QMenu* pMenu) {
    Attach(pMenu, false);
}

CMenu::~CMenu() {
    DestroyMenu();
}

void CMenu::Attach(QMenu* pMenu, bool bOwns) {
    m_pMenu = pMenu;
    m_bOwns = bOwns;
}

void CMenu::ForgetSubMenus() {
    m_mapSubMenus.clear();
}

BOOL CMenu::LoadMenu(UINT nIDResource) {
    if (m_pMenu != nullptr) {
        return FALSE;
    }
    const platform::CResourceModule* pModule = platform::GetFrameworkResourceModule();
    const platform::ResMenu* pResource = pModule != nullptr ? pModule->FindMenu(nIDResource) : nullptr;
    if (pResource == nullptr) {
        return FALSE;
    }
    auto* pMenu = new QMenu();
    BuildItems(*pMenu, pResource->items);
    Attach(pMenu, true);
    return TRUE;
}

BOOL CMenu::CreateMenu() {
    if (m_pMenu != nullptr) {
        return FALSE;
    }
    Attach(new QMenu(), true);
    return TRUE;
}

BOOL CMenu::CreatePopupMenu() {
    return CreateMenu();
}

BOOL CMenu::DestroyMenu() {
    ForgetSubMenus();
    if (m_pMenu == nullptr) {
        return FALSE;
    }
    if (m_bOwns) {
        delete m_pMenu.data();
    }
    m_pMenu = nullptr;
    m_bOwns = false;
    return TRUE;
}

int CMenu::GetMenuItemCount() const {
    return m_pMenu != nullptr ? static_cast<int>(m_pMenu->actions().size()) : -1;
}

UINT CMenu::GetMenuItemID(int nPos) const {
    if (m_pMenu == nullptr) {
        return kNoItem;
    }
    const auto actions = m_pMenu->actions();
    if (nPos < 0 || nPos >= actions.size()) {
        return kNoItem;
    }
    const QAction* pAction = actions[nPos];
    if (pAction->isSeparator()) {
        return 0;
    }
    if (pAction->menu() != nullptr) {
        return kNoItem;
    }
    return GetActionID(pAction);
}

CMenu* CMenu::GetSubMenu(int nPos) {
    if (m_pMenu == nullptr) {
        return nullptr;
    }
    const auto actions = m_pMenu->actions();
    if (nPos < 0 || nPos >= actions.size() || actions[nPos]->menu() == nullptr) {
        return nullptr;
    }
    QMenu* pSub = actions[nPos]->menu();
    auto& pWrapper = m_mapSubMenus[pSub];
    if (!pWrapper) {
        pWrapper.reset(new CMenu(pSub));
    }
    return pWrapper.get();
}

QAction* CMenu::FindAction(UINT nItem, UINT nFlags) const {
    if (m_pMenu == nullptr) {
        return nullptr;
    }
    if ((nFlags & MF_BYPOSITION) != 0) {
        const auto actions = m_pMenu->actions();
        return nItem < static_cast<UINT>(actions.size()) ? actions[static_cast<int>(nItem)] : nullptr;
    }
    return FindByCommand(*m_pMenu, nItem);
}

UINT CMenu::GetActionID(const QAction* pAction) {
    if (pAction == nullptr) {
        return 0;
    }
    const QVariant value = pAction->property(kCommandProperty);
    return value.isValid() ? value.toUInt() : 0;
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    QAction* pAction = FindAction(nIDEnableItem, nEnable);
    if (pAction == nullptr) {
        return kNoItem;
    }
    const UINT nPrevious = pAction->isEnabled() ? MF_ENABLED : MF_GRAYED;
    pAction->setEnabled((nEnable & (MF_GRAYED | MF_DISABLED)) == 0);
    return nPrevious;
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
    QAction* pAction = FindAction(nIDCheckItem, nCheck);
    if (pAction == nullptr) {
        return kNoItem;
    }
    const UINT nPrevious = pAction->isChecked() ? MF_CHECKED : MF_UNCHECKED;
    const bool bCheck = (nCheck & MF_CHECKED) != 0;
    if (bCheck) {
        pAction->setCheckable(true);
    }
    pAction->setChecked(bCheck);
    return nPrevious;
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const {
    const QAction* pAction = FindAction(nID, nFlags);
    if (pAction == nullptr) {
        return kNoItem;
    }
    UINT nState = 0;
    if (pAction->isSeparator()) {
        nState |= MF_SEPARATOR;
    }
    if (pAction->menu() != nullptr) {
        nState |= MF_POPUP;
    }
    if (!pAction->isEnabled()) {
        nState |= MF_GRAYED;
    }
    if (pAction->isChecked()) {
        nState |= MF_CHECKED;
    }
    return nState;
}

std::string CMenu::GetMenuString(UINT nIDItem, UINT nFlags) const {
    const QAction* pAction = FindAction(nIDItem, nFlags);
    return pAction != nullptr ? pAction->text().toStdString() : std::string();
}

BOOL CMenu::SetMenuItemText(UINT nItem, UINT nFlags, const std::string& strText) {
    QAction* pAction = FindAction(nItem, nFlags);
    if (pAction == nullptr) {
        return FALSE;
    }
    pAction->setText(QString::fromStdString(strText));
    return TRUE;
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT nIDNewItem, const char* lpszNewItem) {
    if (m_pMenu == nullptr || (nFlags & MF_POPUP) != 0) {
        return FALSE;
    }
    if ((nFlags & MF_SEPARATOR) != 0) {
        m_pMenu->addSeparator();
        return TRUE;
    }
    AddItem(*m_pMenu, nIDNewItem, platform::ui::ResourceText(lpszNewItem), nFlags);
    return TRUE;
}

BOOL CMenu::AppendPopup(CMenu& popup, const char* lpszNewItem, UINT nFlags) {
    if (m_pMenu == nullptr || popup.m_pMenu == nullptr || &popup == this) {
        return FALSE;
    }
    QMenu* pSub = popup.m_pMenu.data();
    popup.ForgetSubMenus();
    popup.m_pMenu = nullptr;
    popup.m_bOwns = false;
    pSub->setParent(m_pMenu.data(), pSub->windowFlags());
    pSub->setTitle(platform::ui::ResourceText(lpszNewItem));
    QAction* pAction = m_pMenu->addMenu(pSub);
    pAction->setEnabled((nFlags & (MF_GRAYED | MF_DISABLED)) == 0);
    return TRUE;
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) {
    QAction* pAction = FindAction(nPosition, nFlags);
    if (pAction == nullptr) {
        return FALSE;
    }
    if (QMenu* pContainer = FindContainer(*m_pMenu, pAction)) {
        pContainer->removeAction(pAction);
    }
    return TRUE;
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) {
    QAction* pAction = FindAction(nPosition, nFlags);
    if (pAction == nullptr) {
        return FALSE;
    }
    QMenu* pSub = pAction->menu();
    if (!RemoveMenu(nPosition, nFlags)) {
        return FALSE;
    }
    if (pSub != nullptr) {
        m_mapSubMenus.erase(pSub);
        delete pSub;
    } else {
        delete pAction;
    }
    return TRUE;
}

UINT CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CCmdTarget* pTarget) {
    if (m_pMenu == nullptr) {
        return 0;
    }
    const bool bNotify = pTarget != nullptr && (nFlags & TPM_NONOTIFY) == 0;
    std::vector<QMetaObject::Connection> connections;
    if (bNotify) {
        pTarget->OnInitMenuPopup(this, 0, FALSE);
        // Cascading submenus tell the target as they open.
        std::vector<std::pair<QMenu*, int>> subMenus;
        CollectSubMenus(*m_pMenu, subMenus);
        for (const auto& [pSub, nIndex] : subMenus) {
            connections.push_back(QObject::connect(pSub, &QMenu::aboutToShow, [pTarget, pSub = pSub, nIndex = nIndex]() {
                CMenu wrapper(pSub);
                pTarget->OnInitMenuPopup(&wrapper, static_cast<UINT>(nIndex), FALSE);
            }));
        }
    }
    QAction* pChosen = platform::ui::RunPopupMenu(*m_pMenu, QPoint(x, y));
    for (const QMetaObject::Connection& connection : connections) {
        QObject::disconnect(connection);
    }
    const UINT nId = pChosen != nullptr && pChosen->isEnabled() ? GetActionID(pChosen) : 0;
    if ((nFlags & TPM_RETURNCMD) != 0) {
        return nId;
    }
    if (nId == 0) {
        return FALSE;
    }
    if (pTarget != nullptr) {
        pTarget->SendCommand(nId);
    }
    return TRUE;
}
