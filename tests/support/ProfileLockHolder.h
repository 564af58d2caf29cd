#pragma once
// A file's write lock (an ini file's, the registry file's) held as another
// process holds it (a stopped writer, a hung mount): on a descriptor of its
// own, which the writes do not share; and the lock's waits for it counted,
// not slept; the lock's own call replaced.

#include "platform/base/PrivateProfile.h"

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace locktest {

class CLockHolder {
public:
    explicit CLockHolder(const std::string& strLockPath)
        : m_fd(::open(strLockPath.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666))
    {
        if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0)
            Release();
    }
    ~CLockHolder() { Release(); }
    bool Holds() const { return m_fd >= 0; }
    void Release() { m_fd = m_fd >= 0 ? (::close(m_fd), -1) : -1; }

private:
    int m_fd;
};

// The lock's flock call replaced while it lives: by one that fails as a
// file system without locks does (ENOLCK), or by another program's doing in
// the moment before the lock is taken.
class CLockCall {
public:
    explicit CLockCall(std::function<int(int fd, int nOperation)> lockCall)
    {
        platform::SetFileWriteLockCall(std::move(lockCall));
    }
    ~CLockCall() { platform::SetFileWriteLockCall({}); }
    CLockCall(const CLockCall&) = delete;
    CLockCall& operator=(const CLockCall&) = delete;

    static int NoLocks(int, int)
    {
        errno = ENOLCK;
        return -1;
    }
};

struct CCountedLockWaits {
    long long nWaited = 0;
    CCountedLockWaits() { platform::SetFileWriteLockWait([this](int nMilliseconds) { nWaited += nMilliseconds; }); }
    ~CCountedLockWaits() { platform::SetFileWriteLockWait({}); }
};

}  // namespace locktest
