#pragma once
// Where resources are loaded from. Two places name the active module, as the
// framework and the COM module each keep their own: the framework's resource
// module, which string, menu and dialog loading read, and the COM module's
// resource instance. Both start out null (no module: every lookup misses);
// the start-up sets them to the built-in module and may switch them to a
// satellite library.
//
// Satellite libraries are opened once and never unloaded, so the tables and
// the module objects handed out stay valid for the life of the process.

#include "platform/base/ResourceModule.h"

#include <string>

namespace platform {

const CResourceModule* GetFrameworkResourceModule();
// Gives back the module that was active before.
const CResourceModule* SetFrameworkResourceModule(const CResourceModule* pModule);

const CResourceModule* GetComResourceInstance();
// Gives back the module that was set before.
const CResourceModule* SetComResourceInstance(const CResourceModule* pModule);

// Opens the satellite resource library at `strPath` and takes its tables from
// its exported GetResourceTables function. Null when the file cannot be
// loaded, lacks the export or hands out tables of another layout. Loading the
// same library again gives the same module.
const CResourceModule* LoadResourceLibrary(const std::string& strPath);

}  // namespace platform
