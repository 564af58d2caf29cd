#pragma once
// Command routing: a command id from a menu, button, toolbar or accelerator
// reaches the handler its target mapped for it; before a menu or bar shows,
// update handlers set the item's state through a command-UI object. Targets
// map handlers at run time (usually in their constructors); a later mapping
// of the same id wins, so a derived class overrides its base. Routing to
// other targets (a pane, a child) is done by overriding OnCmdMsg.

#include "platform/base/WinTypes.h"

#include <functional>
#include <vector>

class CCmdUI;
class CMenu;
class QWidget;

// Notification codes of OnCmdMsg.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget();

    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // CN_COMMAND runs the command handler of nID; with bQuery it only says
    // whether there is one and runs nothing. CN_UPDATE_COMMAND_UI runs the
    // update handler with pCmdUI. TRUE when handled.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI = nullptr, bool bQuery = false);

    // A command arriving at this target, as a menu item, a button, a
    // toolbar button or an accelerator sends it. FALSE when nothing handled
    // it or when the target's window takes no commands now (a progress
    // window is up in front of it).
    BOOL SendCommand(UINT nID);

    // Before a popup of this target's menu or context menu shows. Default:
    // nothing.
    virtual void OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu);

    // The window this target is; null when it is none.
    virtual QWidget* GetCmdTargetWindow() const { return nullptr; }

    void MapCommand(UINT nID, std::function<void()> handler);
    void MapCommandRange(UINT nFirst, UINT nLast, std::function<void(UINT)> handler);
    // A handler that may decline: FALSE lets the search go on as if it did
    // not exist.
    void MapCommandEx(UINT nID, std::function<BOOL(UINT)> handler);
    void MapUpdateCommandUI(UINT nID, std::function<void(CCmdUI*)> handler);
    void MapUpdateCommandUIRange(UINT nFirst, UINT nLast, std::function<void(CCmdUI*)> handler);

    bool HasCommandHandler(UINT nID) const;
    bool HasUpdateHandler(UINT nID) const;

protected:
    // What a command does once it arrived. Default: OnCmdMsg.
    virtual BOOL OnCommand(UINT nID);
    // This target's own handlers, without routing.
    BOOL DispatchCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, bool bQuery);

private:
    struct CommandEntry {
        UINT nFirst;
        UINT nLast;
        std::function<BOOL(UINT)> handler;
    };
    struct UpdateEntry {
        UINT nFirst;
        UINT nLast;
        std::function<void(CCmdUI*)> handler;
    };

    std::vector<CommandEntry> m_arrCommands;
    std::vector<UpdateEntry> m_arrUpdates;
};
