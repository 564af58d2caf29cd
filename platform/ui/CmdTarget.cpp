#include "platform/ui/CmdTarget.h"

#include "platform/ui/CmdUI.h"
#include "platform/ui/CommandBlock.h"

#include <utility>

CCmdTarget::~CCmdTarget() = default;

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, bool bQuery) {
    return DispatchCmdMsg(nID, nCode, pCmdUI, bQuery);
}

BOOL CCmdTarget::SendCommand(UINT nID) {
    if (platform::ui::IsCommandBlocked(GetCmdTargetWindow())) {
        return FALSE;
    }
    return OnCommand(nID);
}

void CCmdTarget::OnInitMenuPopup(CMenu* /*pPopup*/, UINT /*nIndex*/, BOOL /*bSysMenu*/) {}

BOOL CCmdTarget::OnCommand(UINT nID) {
    return OnCmdMsg(nID, CN_COMMAND);
}

void CCmdTarget::MapCommand(UINT nID, std::function<void()> handler) {
    m_arrCommands.push_back({nID, nID, [handler = std::move(handler)](UINT) {
                                 handler();
                                 return TRUE;
                             }});
}

void CCmdTarget::MapCommandRange(UINT nFirst, UINT nLast, std::function<void(UINT)> handler) {
    m_arrCommands.push_back({nFirst, nLast, [handler = std::move(handler)](UINT nID) {
                                 handler(nID);
                                 return TRUE;
                             }});
}

void CCmdTarget::MapCommandEx(UINT nID, std::function<BOOL(UINT)> handler) {
    m_arrCommands.push_back({nID, nID, std::move(handler)});
}

void CCmdTarget::MapUpdateCommandUI(UINT nID, std::function<void(CCmdUI*)> handler) {
    m_arrUpdates.push_back({nID, nID, std::move(handler)});
}

void CCmdTarget::MapUpdateCommandUIRange(UINT nFirst, UINT nLast, std::function<void(CCmdUI*)> handler) {
    m_arrUpdates.push_back({nFirst, nLast, std::move(handler)});
}

bool CCmdTarget::HasCommandHandler(UINT nID) const {
    for (const CommandEntry& entry : m_arrCommands) {
        if (nID >= entry.nFirst && nID <= entry.nLast) {
            return true;
        }
    }
    return false;
}

bool CCmdTarget::HasUpdateHandler(UINT nID) const {
    for (const UpdateEntry& entry : m_arrUpdates) {
        if (nID >= entry.nFirst && nID <= entry.nLast) {
            return true;
        }
    }
    return false;
}

BOOL CCmdTarget::DispatchCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, bool bQuery) {
    if (nCode == CN_UPDATE_COMMAND_UI) {
        if (pCmdUI == nullptr) {
            return FALSE;
        }
        // The latest mapping first.
        for (auto it = m_arrUpdates.rbegin(); it != m_arrUpdates.rend(); ++it) {
            if (nID < it->nFirst || nID > it->nLast || !it->handler) {
                continue;
            }
            if (bQuery) {
                return TRUE;
            }
            pCmdUI->m_bContinueRouting = FALSE;
            // A handler may change the maps; keep it alive while it runs.
            const std::function<void(CCmdUI*)> handler = it->handler;
            handler(pCmdUI);
            return pCmdUI->m_bContinueRouting ? FALSE : TRUE;
        }
        return FALSE;
    }
    if (nCode != CN_COMMAND) {
        return FALSE;
    }
    for (std::size_t i = m_arrCommands.size(); i-- > 0;) {
        if (i >= m_arrCommands.size()) {
            continue;  // a declining handler removed mappings
        }
        const CommandEntry& entry = m_arrCommands[i];
        if (nID < entry.nFirst || nID > entry.nLast || !entry.handler) {
            continue;
        }
        if (bQuery) {
            return TRUE;
        }
        const std::function<BOOL(UINT)> handler = entry.handler;
        if (handler(nID)) {
            return TRUE;
        }
    }
    return FALSE;
}
