#pragma once
// A server module's own registration, called as the platform's registration
// program calls it, for the programs that register a module (regsvr,
// etshost --module): the module is loaded and never unloaded (one that
// links the window layer must stay), its entry called, and what the
// registry had to tell on the way (a failure's reason, a change made
// without a lock) said on standard error after the program's name.

#include "platform/base/WinTypes.h"
#include "platform/com/RegistryStore.h"

#include <cstdio>
#include <dlfcn.h>
#include <string>

// The entry's result; E_FAIL, said so, when the module cannot be loaded or
// has no such entry.
inline HRESULT CallModuleRegistration(const char* pszProgram, const std::string& strModule, const char* pszEntry)
{
    void* hModule = ::dlopen(strModule.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!hModule) {
        std::fprintf(stderr, "%s: cannot load %s: %s\n", pszProgram, strModule.c_str(), ::dlerror());
        return E_FAIL;
    }
    using Entry = HRESULT (*)();
    auto pfnEntry = reinterpret_cast<Entry>(::dlsym(hModule, pszEntry));
    if (!pfnEntry) {
        std::fprintf(stderr, "%s: %s has no %s\n", pszProgram, strModule.c_str(), pszEntry);
        return E_FAIL;
    }
    platform::TakeRegistryNotices();
    const HRESULT hr = pfnEntry();
    for (const std::string& strNotice : platform::TakeRegistryNotices())
        std::fprintf(stderr, "%s: %s\n", pszProgram, strNotice.c_str());
    if (FAILED(hr))
        std::fprintf(stderr, "%s: %s in %s failed hr=0x%08X\n", pszProgram, pszEntry, strModule.c_str(),
                     static_cast<unsigned>(hr));
    return hr;
}
