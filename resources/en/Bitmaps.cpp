// English bitmaps.

#include "resources/en/Tables.h"

namespace resources::en {

// None yet.
const platform::ResList<platform::ResBinary> g_bitmaps{};

}  // namespace resources::en
