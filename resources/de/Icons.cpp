// German icons.

#include "resources/de/Tables.h"

namespace resources::de {

// None yet.
const platform::ResList<platform::ResBinary> g_icons{};

}  // namespace resources::de
