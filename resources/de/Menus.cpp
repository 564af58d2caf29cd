// German menus.

#include "resources/de/Tables.h"

namespace resources::de {

// None yet.
const platform::ResList<platform::ResMenu> g_menus{};

}  // namespace resources::de
