#pragma once
// The record that panes, tables, form views and edit dialogs pass to each
// other through the main window: added, removed and changed objects, the
// internal clipboard, command queries and commands, toolbar states and pane
// synchronisation. Senders zero-fill it (value-initialise) and read the reply
// fields right after the synchronous call.

#include "platform/base/WinTypes.h"

#include <cstdint>

class CCmdUI;
class CObject;
class IViewPane;
class CMainTableBox;

// Record types.
enum ViewNotifyType : int {
    VN_ADDED = 1,
    VN_REMOVED = 2,
    VN_CHANGED = 3,
    VN_KINDS_CHANGED = 4,
    VN_CLIPBOARD_SET = 5,
    VN_CLIPBOARD_APPEND = 6,
    VN_CLIPBOARD_FIRST = 7,
    VN_CLIPBOARD_NEXT = 8,
    VN_DROP = 9,
    VN_ACTIVATE = 10,
    VN_CLOSING = 11,
    VN_BOTH_TABLES = 12,
    VN_UPDATE_COMMAND_UI = 13,
    VN_COMMAND = 14,
    VN_TOOLBAR_STATE = 15,
    VN_DATA_REPLACED = 16,
    VN_SYNC = 18,
};

// Subcodes of VN_SYNC.
enum ViewNotifySync : int {
    VNS_SELECTION_CHANGED = 1,
    VNS_DRAG_POINT = 2,
    VNS_CAN_PASTE = 3,
    VNS_TABLE_TYPE = 4,
};

// Object-kind bits (the kind field and a table's object kind).
enum ViewObjectKind : int {
    VOK_DAYROUTINE = 1,
    VOK_DAYSWITCHTIME = 2,
    VOK_WEEKROUTINE = 4,  // the object is then a weekday index 0..6
    VOK_SUMMERTIME = 8,
    VOK_SPECIALDAY = 16,
    VOK_QUANTITY = 32,
    VOK_QUANTITYMEMBER = 64,
    VOK_QUANTITYTRIGGER = 128,
    VOK_GROUPADDRESS = 256,
    VOK_ALL = 511,
};

// Handled flags.
constexpr int VNH_HANDLED = 1;
constexpr int VNH_REFUSED = 32;
constexpr int VNH_NO_TARGET = 64;

struct VIEWNOTIFY {
    int nType = 0;
    int nSubcode = 0;
    // Type 13: the item being updated; type 18 subcode 2: the drag point
    // (a QPoint in screen coordinates, converted in place by the receiver).
    void* pCmdUI = nullptr;
    UINT nCommandId = 0;
    int nFlag = 0;
    int nKind = 0;
    IViewPane* pSourcePane = nullptr;
    CMainTableBox* pSource = nullptr;  // a table, or null (main window, trees)
    const void* pSourceTree = nullptr;  // a navigation tree that sent it, or null
    int nValue = 0;
    CObject* pObject = nullptr;  // kind 4: the weekday index instead
    CObject* pParentObject = nullptr;
    IViewPane* pTargetPane = nullptr;
    int nTableType = 0;
    int nResult = 0;
    CObject* pTargetParentObject = nullptr;
    int nHandled = 0;

    CCmdUI* GetCmdUI() const { return static_cast<CCmdUI*>(pCmdUI); }
    // The low byte carries the answer.
    BYTE GetResult() const { return static_cast<BYTE>(nResult & 0xFF); }
};

// The weekday index that a kind-4 record carries in its object field.
inline CObject* WeekdayToObject(int nDay) {
    return reinterpret_cast<CObject*>(static_cast<std::uintptr_t>(nDay));
}
inline int ObjectToWeekday(const CObject* pObject) {
    return static_cast<int>(reinterpret_cast<std::uintptr_t>(pObject));
}
