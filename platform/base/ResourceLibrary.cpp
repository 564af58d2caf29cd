#include "platform/base/ResourceLibrary.h"

#include <dlfcn.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>

namespace platform {

namespace {

std::atomic<const CResourceModule*> g_pFrameworkModule{nullptr};
std::atomic<const CResourceModule*> g_pComModule{nullptr};

// The modules of the satellites opened so far, by library handle. They live
// until the process ends, like the libraries themselves.
struct LoadedLibraries {
    std::mutex mutex;
    std::map<void*, std::unique_ptr<CResourceModule>> modules;
};

LoadedLibraries& Loaded() {
    static LoadedLibraries* pLoaded = new LoadedLibraries;  // never destroyed: handed-out modules stay valid
    return *pLoaded;
}

}  // namespace

const CResourceModule* GetFrameworkResourceModule() { return g_pFrameworkModule.load(); }

const CResourceModule* SetFrameworkResourceModule(const CResourceModule* pModule) {
    return g_pFrameworkModule.exchange(pModule);
}

const CResourceModule* GetComResourceInstance() { return g_pComModule.load(); }

const CResourceModule* SetComResourceInstance(const CResourceModule* pModule) {
    return g_pComModule.exchange(pModule);
}

const CResourceModule* LoadResourceLibrary(const std::string& strPath) {
    if (strPath.empty()) {
        return nullptr;
    }
    // Never closed: a library that links a toolkit must not be unloaded, and
    // the tables are read in place.
    void* hLibrary = dlopen(strPath.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (hLibrary == nullptr) {
        dlerror();
        return nullptr;
    }

    LoadedLibraries& loaded = Loaded();
    std::lock_guard<std::mutex> lock(loaded.mutex);
    auto it = loaded.modules.find(hLibrary);
    if (it != loaded.modules.end()) {
        return it->second.get();
    }

    void* pSymbol = dlsym(hLibrary, kResourceTablesExport);
    if (pSymbol == nullptr) {
        dlerror();
        return nullptr;
    }
    auto pfnGetTables = reinterpret_cast<GetResourceTablesFunc>(pSymbol);
    const ResourceTables* pTables = pfnGetTables();
    if (pTables == nullptr || pTables->dwVersion != RESOURCE_TABLES_VERSION) {
        return nullptr;
    }

    auto pModule = std::make_unique<CResourceModule>(*pTables, strPath);
    const CResourceModule* pResult = pModule.get();
    loaded.modules.emplace(hLibrary, std::move(pModule));
    return pResult;
}

}  // namespace platform
