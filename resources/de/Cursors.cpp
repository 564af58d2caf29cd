// German cursors.

#include "resources/de/Tables.h"

namespace resources::de {

// None yet.
const platform::ResList<platform::ResBinary> g_cursors{};

}  // namespace resources::de
