#include "platform/com/ComModuleLock.h"

#include <atomic>

namespace {

// The library is built with hidden symbols, so this count is never shared
// with another module that links the same code.
std::atomic<LONG> g_nModuleLocks {0};

}  // namespace

LONG CComModuleLock::Lock()
{
    return ++g_nModuleLocks;
}

LONG CComModuleLock::Unlock()
{
    return --g_nModuleLocks;
}

LONG CComModuleLock::GetLockCount()
{
    return g_nModuleLocks.load();
}
