// Registers an in-process server module in the registry file, as the
// platform's own registration program does: "regsvr module" calls the
// module's DllRegisterServer, "regsvr -u module" its DllUnregisterServer.

#include "platform/base/FileSizeLimit.h"
#include "platform/base/WinTypes.h"
#include "tools/CommandLine.h"

#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <string>

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

    // Modules are never unloaded: one that links the window layer must stay.
    void* hModule = ::dlopen(pszModule, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!hModule) {
        std::fprintf(stderr, "regsvr: cannot load %s: %s\n", pszModule, ::dlerror());
        return 1;
    }
    const char* pszEntry = bUnregister ? "DllUnregisterServer" : "DllRegisterServer";
    using Entry = HRESULT (*)();
    auto pfnEntry = reinterpret_cast<Entry>(::dlsym(hModule, pszEntry));
    if (!pfnEntry) {
        std::fprintf(stderr, "regsvr: %s has no %s\n", pszModule, pszEntry);
        return 1;
    }
    const HRESULT hr = pfnEntry();
    if (FAILED(hr)) {
        std::fprintf(stderr, "regsvr: %s in %s failed hr=0x%08X\n", pszEntry, pszModule, static_cast<unsigned>(hr));
        return 1;
    }
    std::printf("%s in %s succeeded.\n", pszEntry, pszModule);
    return 0;
}
