// English accelerator tables.

#include "resources/en/Tables.h"

namespace resources::en {

// None yet.
const platform::ResList<platform::ResAcceleratorTable> g_accelerators{};

}  // namespace resources::en
