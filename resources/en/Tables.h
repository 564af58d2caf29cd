#pragma once
// The English resource tables, one data file per kind.

#include "platform/base/ResourceTables.h"

namespace resources::en {

extern const platform::ResList<platform::ResString> g_strings;
extern const platform::ResList<platform::ResMenu> g_menus;
extern const platform::ResList<platform::ResAcceleratorTable> g_accelerators;
extern const platform::ResList<platform::ResDialog> g_dialogs;
extern const platform::ResList<platform::ResBinary> g_bitmaps;
extern const platform::ResList<platform::ResBinary> g_icons;
extern const platform::ResList<platform::ResBinary> g_cursors;

// All kinds together.
const platform::ResourceTables& GetTables();

}  // namespace resources::en
