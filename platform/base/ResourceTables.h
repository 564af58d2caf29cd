#pragma once
// The resources of one module as plain constant data: string table, menus,
// accelerator tables, dialog templates, bitmaps, icons and cursors. The
// built-in German module and the English satellite library are both made of
// these tables, so the satellite needs no code beyond the one exported
// function that hands them out.
//
// Every kind has its own id space: string 104 and menu 104 are unrelated,
// and a command id (in a menu or an accelerator) never names a string.
//
// All pointers refer to static data of the module that holds the tables,
// which is never unloaded.

#include "platform/base/WinTypes.h"

#include <cstddef>

namespace platform {

// A counted run of entries; an empty kind is { nullptr, 0 }.
template <typename T>
struct ResList {
    const T* pItems = nullptr;
    std::size_t nCount = 0;

    const T* begin() const { return pItems; }
    const T* end() const { return pItems + nCount; }
    std::size_t size() const { return nCount; }
    bool empty() const { return nCount == 0; }
};

// One string-table entry, UTF-8.
struct ResString {
    UINT nId;
    const char* pszText;
};

// Menu item flags.
constexpr UINT RESMENU_POPUP = 0x0010;      // opens pChildren
constexpr UINT RESMENU_SEPARATOR = 0x0800;  // no text, no command
constexpr UINT RESMENU_GRAYED = 0x0001;
constexpr UINT RESMENU_CHECKED = 0x0008;

struct ResMenuItem {
    UINT nCommand;         // command id; 0 for popups and separators
    const char* pszText;   // with '&' mnemonics and "\t" accelerator text; null for separators
    UINT nFlags;           // RESMENU_*
    ResList<ResMenuItem> children;  // entries of a popup
};

struct ResMenu {
    UINT nId;
    ResList<ResMenuItem> items;  // the top-level entries (a menu bar's popups)
};

// Accelerator flags; without RESACCEL_VIRTKEY the key is a character code.
constexpr BYTE RESACCEL_VIRTKEY = 0x01;
constexpr BYTE RESACCEL_SHIFT = 0x04;
constexpr BYTE RESACCEL_CONTROL = 0x08;
constexpr BYTE RESACCEL_ALT = 0x10;

struct ResAccelerator {
    BYTE fFlags;      // RESACCEL_*
    WORD wKey;        // virtual-key code or character
    UINT nCommand;
};

struct ResAcceleratorTable {
    UINT nId;
    ResList<ResAccelerator> entries;
};

// One control of a dialog template. Position and size are in dialog units.
struct ResDialogControl {
    UINT nId;
    const char* pszClass;  // "BUTTON", "EDIT", "STATIC", "COMBOBOX", "LISTBOX", or a custom class name
    const char* pszText;   // may be null
    SHORT x, y, cx, cy;
    DWORD dwStyle;
    DWORD dwExStyle;
};

struct ResDialog {
    UINT nId;
    const char* pszCaption;  // may be null
    SHORT x, y, cx, cy;      // dialog units
    const char* pszFontName; // e.g. "MS Sans Serif"; null for the system font
    WORD wFontSize;          // points
    DWORD dwStyle;
    DWORD dwExStyle;
    ResList<ResDialogControl> controls;
};

// Bitmaps (BMP file bytes), icons (ICO file bytes) and cursors (CUR file
// bytes), embedded as they are.
struct ResBinary {
    UINT nId;
    const BYTE* pData;
    std::size_t nSize;
};

// Bumped whenever the layout of the structures above changes, so that a
// satellite built against another layout is refused instead of misread.
constexpr DWORD RESOURCE_TABLES_VERSION = 1;

struct ResourceTables {
    DWORD dwVersion;  // RESOURCE_TABLES_VERSION
    LANGID wLanguage; // 0x0407 German, 0x0409 English
    ResList<ResString> strings;
    ResList<ResMenu> menus;
    ResList<ResAcceleratorTable> accelerators;
    ResList<ResDialog> dialogs;
    ResList<ResBinary> bitmaps;
    ResList<ResBinary> icons;
    ResList<ResBinary> cursors;
};

// The one function a satellite resource library exports (extern "C").
using GetResourceTablesFunc = const ResourceTables* (*)();
inline constexpr char kResourceTablesExport[] = "GetResourceTables";

}  // namespace platform
