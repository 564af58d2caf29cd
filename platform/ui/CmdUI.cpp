#include "platform/ui/CmdUI.h"

#include "platform/ui/CmdTarget.h"
#include "platform/ui/Menu.h"

void CCmdUI::Enable(BOOL bOn) {
    if (m_pMenu != nullptr) {
        // A submenu's item is reached by position; others by position too,
        // as two items may share an id.
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : MF_GRAYED));
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
    if (m_pMenu != nullptr && m_pSubMenu == nullptr) {
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck != 0 ? MF_CHECKED : MF_UNCHECKED));
    }
}

void CCmdUI::SetRadio(BOOL bOn) {
    SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(const std::string& strText) {
    if (m_pMenu != nullptr && m_pSubMenu == nullptr) {
        m_pMenu->SetMenuItemText(m_nIndex, MF_BYPOSITION, strText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    if (pTarget == nullptr || m_nID == 0) {
        return TRUE;
    }
    m_bEnableChanged = FALSE;
    const BOOL bResult = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this);
    if (bDisableIfNoHndler && !m_bEnableChanged) {
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, true));
    }
    return bResult;
}

void CCmdUI::UpdateMenu(CMenu* pPopup, CCmdTarget* pTarget) {
    if (pPopup == nullptr || pTarget == nullptr) {
        return;
    }
    CCmdUI state;
    state.m_pMenu = pPopup;
    int nIndexMax = pPopup->GetMenuItemCount();
    for (int nIndex = 0; nIndex < nIndexMax; ++nIndex) {
        state.m_nIndex = static_cast<UINT>(nIndex);
        state.m_nIndexMax = static_cast<UINT>(nIndexMax);
        state.m_nID = pPopup->GetMenuItemID(nIndex);
        if (state.m_nID == 0) {
            continue;
        }
        if (state.m_nID == static_cast<UINT>(-1)) {
            state.m_pSubMenu = pPopup->GetSubMenu(nIndex);
            if (state.m_pSubMenu == nullptr) {
                continue;
            }
            state.m_nID = state.m_pSubMenu->GetMenuItemID(0);
            if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1)) {
                continue;
            }
            state.DoUpdate(pTarget, FALSE);
        } else {
            state.m_pSubMenu = nullptr;
            state.DoUpdate(pTarget, state.m_nID < 0xF000);
        }
        // An update may have removed items: go on at the same place, past
        // the items of the same id, with the first item after them.
        const int nCount = pPopup->GetMenuItemCount();
        if (nCount < nIndexMax) {
            nIndex -= nIndexMax - nCount;
            while (nIndex + 1 < nCount && pPopup->GetMenuItemID(nIndex + 1) == state.m_nID) {
                ++nIndex;
            }
        }
        nIndexMax = nCount;
    }
}
