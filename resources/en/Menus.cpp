// English menus: the main window's menu bars (104 standalone, 105 plug-in)
// and the tables' context menus (133), with the ids of the German ones.

#include "resources/en/Tables.h"

namespace resources::en {

namespace {

using platform::ResList;
using platform::ResMenu;
using platform::ResMenuItem;
using platform::RESMENU_POPUP;
using platform::RESMENU_SEPARATOR;

template <std::size_t N>
constexpr ResList<ResMenuItem> Items(const ResMenuItem (&items)[N]) {
    return {items, N};
}

constexpr ResMenuItem kSeparator{0, nullptr, RESMENU_SEPARATOR, {}};

// Menu 104, standalone.
const ResMenuItem kFile104[] = {
    {40005, "&Open...", 0, {}},
    {40006, "&Save", 0, {}},
    {40021, "Save &As...", 0, {}},
    kSeparator,
    {40004, "&Export...", 0, {}},
    kSeparator,
    {40007, "&Print...", 0, {}},
    {40036, "View &Page...", 0, {}},
    {40035, "&Filter Print Data...", 0, {}},
    {40008, "P&rinter Setup...", 0, {}},
    kSeparator,
    {40022, "&Close\tAlt+F4", 0, {}},
};
const ResMenuItem kOnline104[] = {
    {40013, "&Port...", 0, {}},
    kSeparator,
    {40014, "&Download Parameters", 0, {}},
    kSeparator,
    {40015, "&Set Date/Time...", 0, {}},
    {40016, "Sho&w Status...", 0, {}},
};

// Menu 105, plug-in.
const ResMenuItem kFile105[] = {
    {40006, "&Save", 0, {}},
    kSeparator,
    {40004, "&Export...", 0, {}},
    {40002, "&Import...", 0, {}},
    kSeparator,
    {40007, "&Print...", 0, {}},
    {40036, "View &Page...", 0, {}},
    {40035, "&Filter Print Data...", 0, {}},
    {40008, "P&rinter Setup...", 0, {}},
    kSeparator,
    {40022, "&Close\tAlt+F4", 0, {}},
};
const ResMenuItem kOnline105[] = {
    {40015, "&Set Date/Time...", 0, {}},
    {40016, "Sho&w Status...", 0, {}},
};

// Popups of both menu bars.
const ResMenuItem kEdit[] = {
    {40027, "&New", 0, {}},
    kSeparator,
    {40020, "&Copy", 0, {}},
    {40009, "&Insert", 0, {}},
    {40010, "&Delete", 0, {}},
    kSeparator,
    {40012, "&Usage", 0, {}},
};
const ResMenuItem kWindow[] = {
    {40017, "Split &Horizontal", 0, {}},
    {40024, "&Toolbar", 0, {}},
    {40025, "&Status Bar", 0, {}},
};
const ResMenuItem kHelp[] = {
    {40018, "Help for &Device", 0, {}},
    {40019, "Help for &Application Software", 0, {}},
    kSeparator,
    {40023, "&About...", 0, {}},
};

const ResMenuItem kMenu104[] = {
    {0, "&File", RESMENU_POPUP, Items(kFile104)},
    {0, "&Edit", RESMENU_POPUP, Items(kEdit)},
    {0, "&Online", RESMENU_POPUP, Items(kOnline104)},
    {0, "&Window", RESMENU_POPUP, Items(kWindow)},
    {0, "&Help", RESMENU_POPUP, Items(kHelp)},
};
const ResMenuItem kMenu105[] = {
    {0, "&File", RESMENU_POPUP, Items(kFile105)},
    {0, "&Edit", RESMENU_POPUP, Items(kEdit)},
    {0, "&Online", RESMENU_POPUP, Items(kOnline105)},
    {0, "&Window", RESMENU_POPUP, Items(kWindow)},
    {0, "&Help", RESMENU_POPUP, Items(kHelp)},
};

// Menu 133: one popup per kind of table and selection.
const ResMenuItem kStdEntry[] = {
    {40027, "New", 0, {}},
    {40028, "Edit", 0, {}},
    kSeparator,
    {40020, "Copy", 0, {}},
    {40009, "Insert", 0, {}},
    {40010, "Delete", 0, {}},
    kSeparator,
    {40012, "Usage", 0, {}},
    {40031, "Help on", 0, {}},
};
const ResMenuItem kStdEmpty[] = {
    {40027, "New", 0, {}},
    kSeparator,
    {40009, "Insert", 0, {}},
    kSeparator,
    {40031, "Help on", 0, {}},
};
const ResMenuItem kGaEntry[] = {
    {40027, "New GA", 0, {}},
    {40028, "Edit", 0, {}},
    kSeparator,
    {40010, "Delete", 0, {}},
    kSeparator,
    {40012, "Usage", 0, {}},
    {40031, "Help on", 0, {}},
};
const ResMenuItem kGaEmpty[] = {
    {40027, "New GA", 0, {}},
    kSeparator,
    {40031, "Help on", 0, {}},
};
const ResMenuItem kGaInsEntry[] = {
    {40034, "Apply", 0, {}},
    kSeparator,
    {40031, "Help on", 0, {}},
};
const ResMenuItem kGaInsEmpty[] = {
    {40031, "Help on", 0, {}},
};
const ResMenuItem kHelpOnly[] = {
    {40031, "Help on", 0, {}},
};
const ResMenuItem kMenu133[] = {
    {0, "StdEntry", RESMENU_POPUP, Items(kStdEntry)},
    {0, "StdEmpty", RESMENU_POPUP, Items(kStdEmpty)},
    {0, "GAEntry", RESMENU_POPUP, Items(kGaEntry)},
    {0, "GAEmpty", RESMENU_POPUP, Items(kGaEmpty)},
    {0, "GAINSEntry", RESMENU_POPUP, Items(kGaInsEntry)},
    {0, "GAINSEmpty", RESMENU_POPUP, Items(kGaInsEmpty)},
    {0, "Help", RESMENU_POPUP, Items(kHelpOnly)},
};

const ResMenu kMenus[] = {
    {104, Items(kMenu104)},
    {105, Items(kMenu105)},
    {133, Items(kMenu133)},
};

}  // namespace

const platform::ResList<platform::ResMenu> g_menus{kMenus, sizeof(kMenus) / sizeof(kMenus[0])};

}  // namespace resources::en
