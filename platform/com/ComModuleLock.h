#pragma once
// The lock count of the module this code is linked into: objects alive plus
// LockServer locks. A server module may be unloaded when it is 0. Each
// module (program or loaded library) has its own count.

#include "platform/base/WinTypes.h"

class CComModuleLock {
public:
    static LONG Lock();
    static LONG Unlock();
    static LONG GetLockCount();
};
