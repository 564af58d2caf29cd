// English icons.

#include "resources/en/Tables.h"

namespace resources::en {

// None yet.
const platform::ResList<platform::ResBinary> g_icons{};

}  // namespace resources::en
