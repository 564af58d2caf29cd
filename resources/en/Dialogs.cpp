// English dialog templates.

#include "resources/en/Tables.h"

namespace resources::en {

// None yet.
const platform::ResList<platform::ResDialog> g_dialogs{};

}  // namespace resources::en
