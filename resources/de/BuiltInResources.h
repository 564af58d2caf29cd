#pragma once
// The German resources built into the plug-in: the module that is active
// unless the English satellite library is made the resource module.

#include "platform/base/ResourceModule.h"

namespace resources {

// Language 0x0407; its path is the file that holds it (the plug-in).
const platform::CResourceModule& GetBuiltInResourceModule();

}  // namespace resources
