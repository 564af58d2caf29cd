// The one entry point of the English satellite library: the loader of the
// plug-in finds it by name and reads the tables in place.

#include "resources/en/Tables.h"

namespace resources::en {

const platform::ResourceTables& GetTables() {
    static const platform::ResourceTables tables{
        platform::RESOURCE_TABLES_VERSION, 0x0409, g_strings, g_menus, g_accelerators, g_dialogs, g_bitmaps, g_icons,
        g_cursors,
    };
    return tables;
}

}  // namespace resources::en

extern "C" __attribute__((visibility("default"))) const platform::ResourceTables* GetResourceTables() {
    return &resources::en::GetTables();
}
