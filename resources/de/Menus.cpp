// German menus: the main window's menu bars (104 standalone, 105 plug-in)
// and the tables' context menus (133).

#include "resources/de/Tables.h"

namespace resources::de {

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
    {40005, "Ö&ffnen...", 0, {}},
    {40006, "&Speichern", 0, {}},
    {40021, "Speichern &unter...", 0, {}},
    kSeparator,
    {40004, "&Exportieren...", 0, {}},
    kSeparator,
    {40007, "&Drucken...", 0, {}},
    {40036, "&Seitenansicht...", 0, {}},
    {40035, "Druckdaten &filtern...", 0, {}},
    {40008, "D&rucker einrichten...", 0, {}},
    kSeparator,
    {40022, "&Beenden\tAlt+F4", 0, {}},
};
const ResMenuItem kOnline104[] = {
    {40013, "&Schnittstelle...", 0, {}},
    kSeparator,
    {40014, "&Parameter übertragen", 0, {}},
    kSeparator,
    {40015, "&Datum/Uhrzeit einstellen...", 0, {}},
    {40016, "S&tatus anzeigen", 0, {}},
};

// Menu 105, plug-in.
const ResMenuItem kFile105[] = {
    {40006, "&Speichern", 0, {}},
    kSeparator,
    {40004, "&Exportieren...", 0, {}},
    {40002, "&Importieren...", 0, {}},
    kSeparator,
    {40007, "&Drucken...", 0, {}},
    {40036, "&Seitenansicht...", 0, {}},
    {40035, "Druckdaten &filtern...", 0, {}},
    {40008, "D&rucker einrichten...", 0, {}},
    kSeparator,
    {40022, "&Beenden\tAlt+F4", 0, {}},
};
const ResMenuItem kOnline105[] = {
    {40015, "&Datum/Uhrzeit einstellen...", 0, {}},
    {40016, "S&tatus anzeigen", 0, {}},
};

// Popups of both menu bars.
const ResMenuItem kEdit[] = {
    {40027, "&Neu", 0, {}},
    kSeparator,
    {40020, "&Kopieren", 0, {}},
    {40009, "&Einfügen", 0, {}},
    {40010, "&Löschen", 0, {}},
    kSeparator,
    {40012, "&Verwendung", 0, {}},
};
const ResMenuItem kWindow[] = {
    {40017, "&horizontal teilen", 0, {}},
    {40024, "&Symbolleiste", 0, {}},
    {40025, "S&tatusleiste", 0, {}},
};
const ResMenuItem kHelp[] = {
    {40018, "Hilfe zum &Gerät", 0, {}},
    {40019, "Hilfe zum Anwendungs&programm", 0, {}},
    kSeparator,
    {40023, "Ü&ber...", 0, {}},
};

const ResMenuItem kMenu104[] = {
    {0, "&Datei", RESMENU_POPUP, Items(kFile104)},
    {0, "&Bearbeiten", RESMENU_POPUP, Items(kEdit)},
    {0, "&Online", RESMENU_POPUP, Items(kOnline104)},
    {0, "&Fenster", RESMENU_POPUP, Items(kWindow)},
    {0, "&Hilfe", RESMENU_POPUP, Items(kHelp)},
};
const ResMenuItem kMenu105[] = {
    {0, "&Datei", RESMENU_POPUP, Items(kFile105)},
    {0, "&Bearbeiten", RESMENU_POPUP, Items(kEdit)},
    {0, "&Online", RESMENU_POPUP, Items(kOnline105)},
    {0, "&Fenster", RESMENU_POPUP, Items(kWindow)},
    {0, "&Hilfe", RESMENU_POPUP, Items(kHelp)},
};

// Menu 133: one popup per kind of table and selection.
const ResMenuItem kStdEntry[] = {
    {40027, "Neu", 0, {}},
    {40028, "Bearbeiten", 0, {}},
    kSeparator,
    {40020, "Kopieren", 0, {}},
    {40009, "Einfügen", 0, {}},
    {40010, "Löschen", 0, {}},
    kSeparator,
    {40012, "Verwendung", 0, {}},
    {40031, "Hilfe zu", 0, {}},
};
const ResMenuItem kStdEmpty[] = {
    {40027, "Neu", 0, {}},
    kSeparator,
    {40009, "Einfügen", 0, {}},
    kSeparator,
    {40031, "Hilfe zu", 0, {}},
};
const ResMenuItem kGaEntry[] = {
    {40027, "neue GA", 0, {}},
    {40028, "Bearbeiten", 0, {}},
    kSeparator,
    {40010, "Löschen", 0, {}},
    kSeparator,
    {40012, "Verwendung", 0, {}},
    {40031, "Hilfe zu", 0, {}},
};
const ResMenuItem kGaEmpty[] = {
    {40027, "neue GA", 0, {}},
    kSeparator,
    {40031, "Hilfe zu", 0, {}},
};
const ResMenuItem kGaInsEntry[] = {
    {40034, "Übernehmen", 0, {}},
    kSeparator,
    {40031, "Hilfe zu", 0, {}},
};
const ResMenuItem kGaInsEmpty[] = {
    {40031, "Hilfe zu", 0, {}},
};
const ResMenuItem kHelpOnly[] = {
    {40031, "Hilfe zu", 0, {}},
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

}  // namespace resources::de
