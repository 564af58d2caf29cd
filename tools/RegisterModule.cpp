// Registers an in-process server module in the registry file, as the
// platform's own registration program does: "regsvr module" calls the
// module's DllRegisterServer, "regsvr -u module" its DllUnregisterServer.
// A registration that fails says why (the registry file's reason) and gives
// status 1; one made without the registry's lock, which the file system
// does not give, is warned of.

#include "platform/base/FileSizeLimit.h"
#include "tools/CommandLine.h"
#include "tools/ModuleRegistration.h"

#include <cstdio>
#include <cstring>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: regsvr [-u] MODULE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    platform::FailWritesPastFileSizeLimit();
    bool bUnregister = false;
    const char* pszModule = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-u") == 0)
            bUnregister = true;
        else if (!pszModule && !IsOptionArgument(argv[i]))
            pszModule = argv[i];
        else
            return Usage();
    }
    if (!pszModule)
        return Usage();

    const char* pszEntry = bUnregister ? "DllUnregisterServer" : "DllRegisterServer";
    if (FAILED(CallModuleRegistration("regsvr", pszModule, pszEntry)))
        return 1;
    std::printf("%s in %s succeeded.\n", pszEntry, pszModule);
    return 0;
}
