// German dialog templates.

#include "resources/de/Tables.h"

namespace resources::de {

// None yet.
const platform::ResList<platform::ResDialog> g_dialogs{};

}  // namespace resources::de
