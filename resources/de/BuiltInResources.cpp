#include "resources/de/BuiltInResources.h"

#include "platform/base/PathUtil.h"
#include "resources/de/Tables.h"

namespace resources {

namespace de {

const platform::ResourceTables& GetTables() {
    static const platform::ResourceTables tables{
        platform::RESOURCE_TABLES_VERSION, 0x0407, g_strings, g_menus, g_accelerators, g_dialogs, g_bitmaps, g_icons,
        g_cursors,
    };
    return tables;
}

}  // namespace de

const platform::CResourceModule& GetBuiltInResourceModule() {
    static const platform::CResourceModule module(de::GetTables(),
                                                  platform::GetModulePathOf(reinterpret_cast<const void*>(
                                                      &GetBuiltInResourceModule)));
    return module;
}

}  // namespace resources
