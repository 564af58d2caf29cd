#pragma once
// The command-UI object: one menu item, toolbar button or status pane while
// its state is brought up to date. Update handlers call Enable, SetCheck and
// SetText; DoUpdate asks the target and, where the caller wants it, treats
// an item without update handler as enabled exactly when a command handler
// exists. The bars derive their own kinds.

#include "platform/base/WinTypes.h"

#include <string>

class CCmdTarget;
class CMenu;
class QWidget;

class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    CCmdUI(const CCmdUI&) = delete;
    CCmdUI& operator=(const CCmdUI&) = delete;

    virtual void Enable(BOOL bOn = TRUE);
    // 0 clear, 1 checked, 2 indeterminate.
    virtual void SetCheck(int nCheck = 1);
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(const std::string& strText);
    // The update handler passes the item on along the route.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks the target for the item's state. With bDisableIfNoHndler an item
    // whose update handler did not call Enable (or that has none) is
    // enabled exactly when the target has a command handler for it. TRUE
    // when an update handler answered.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    // The update walk over a popup before it shows: separators are skipped;
    // an item that opens a submenu is updated through the first item of
    // that submenu and never disabled for lack of a handler; other items are
    // disabled when nothing handles them and their id is below 0xF000. When
    // an update removes items, the walk goes on at the same place and skips
    // the items with the same id.
    static void UpdateMenu(CMenu* pPopup, CCmdTarget* pTarget);

    UINT m_nID = 0;
    UINT m_nIndex = 0;     // position of the item in its menu or bar
    UINT m_nIndexMax = 0;  // number of items in the menu or bar
    CMenu* m_pMenu = nullptr;     // the menu of a menu item
    CMenu* m_pSubMenu = nullptr;  // the submenu the item opens, if any
    QWidget* m_pOther = nullptr;  // the bar of a toolbar button or status pane
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
};
