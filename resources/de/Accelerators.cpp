// German accelerator tables.

#include "resources/de/Tables.h"

namespace resources::de {

// None yet.
const platform::ResList<platform::ResAcceleratorTable> g_accelerators{};

}  // namespace resources::de
