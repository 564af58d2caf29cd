// English menus.

#include "resources/en/Tables.h"

namespace resources::en {

// None yet.
const platform::ResList<platform::ResMenu> g_menus{};

}  // namespace resources::en
