#pragma once
// The framework's menu on Qt: a menu bar's popups or one popup, built from a
// menu resource of the active resource module or in code. Items carry their
// command ids; separators have id 0 and items that open a submenu -1.
// Submenus are reached through GetSubMenu, whose objects the menu keeps.
// Items are addressed by command id (searching submenus too) or by position.

#include "platform/base/WinTypes.h"

#include <QMenu>
#include <QPointer>

#include <map>
#include <memory>
#include <string>

class CCmdTarget;
class QAction;

// Item addressing and states.
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_SEPARATOR = 0x0800;

// Popup tracking.
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

class CMenu {
public:
    CMenu();
    ~CMenu();

    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // From menu resource nIDResource of the active module; FALSE when it is
    // missing or the menu already exists.
    BOOL LoadMenu(UINT nIDResource);
    // An empty menu bar or popup.
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // Destroys the menu and its submenus.
    BOOL DestroyMenu();

    // The Qt menu (for a menu bar: the hidden menu holding its popups); null
    // when there is none.
    QMenu* GetSafeHmenu() const { return m_pMenu.data(); }

    // -1 when there is no menu.
    int GetMenuItemCount() const;
    // 0 for a separator; -1 for an item that opens a submenu or a position
    // outside the menu.
    UINT GetMenuItemID(int nPos) const;
    // The submenu the item at the position opens, null when none.
    CMenu* GetSubMenu(int nPos);

    // The previous state (MF_GRAYED or MF_ENABLED, MF_CHECKED or
    // MF_UNCHECKED), -1 when there is no such item.
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    // MF_GRAYED, MF_CHECKED, MF_SEPARATOR, MF_POPUP combined; -1 for none.
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    // The item's text with its mnemonics and accelerator text; empty for none.
    std::string GetMenuString(UINT nIDItem, UINT nFlags) const;
    BOOL SetMenuItemText(UINT nItem, UINT nFlags, const std::string& strText);

    // Appends an item (MF_STRING with id and text, MF_SEPARATOR, with
    // MF_GRAYED or MF_CHECKED).
    BOOL AppendMenu(UINT nFlags, UINT nIDNewItem = 0, const char* lpszNewItem = nullptr);
    // Appends an item that opens pPopup; the popup's menu moves into this one
    // and pPopup is left empty.
    BOOL AppendPopup(CMenu& popup, const char* lpszNewItem, UINT nFlags = MF_STRING);
    // Removes an item; a submenu it opened stays with this menu.
    BOOL RemoveMenu(UINT nPosition, UINT nFlags);
    // Removes an item and destroys a submenu it opened.
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);

    // Shows this popup at the screen point and lets the user choose. The
    // target first gets OnInitMenuPopup (not with TPM_NONOTIFY), also for
    // each submenu as it opens. With TPM_RETURNCMD the chosen command id is
    // returned (0 for none); otherwise the command goes to the target and the
    // result is TRUE when an item was chosen.
    UINT TrackPopupMenu(UINT nFlags, int x, int y, CCmdTarget* pTarget);

    // The item's Qt action, null when none.
    QAction* FindAction(UINT nItem, UINT nFlags) const;
    // The command id an action carries; 0 for none.
    static UINT GetActionID(const QAction* pAction);

private:
    explicit CMenu(QMenu* pMenu);  // a submenu's object: it does not own the menu

    void Attach(QMenu* pMenu, bool bOwns);
    void ForgetSubMenus();

    QPointer<QMenu> m_pMenu;
    bool m_bOwns = false;
    std::map<const QMenu*, std::unique_ptr<CMenu>> m_mapSubMenus;
};
