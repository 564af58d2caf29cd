#include "platform/base/FileWriteLock.h"

#include "platform/base/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

// How often a writer waiting for another's lock tries it again.
constexpr int kLockRetryMilliseconds = 2;

std::mutex s_lockMutex;
std::function<void(int nMilliseconds)> s_lockWait;
std::function<int(int fd, int nOperation)> s_lockCall;
// Lock files that another process kept for a whole wait: the next lock of
// each tries once, until one takes it.
std::set<std::string> s_busyLocks;

long long Milliseconds(const timespec& t)
{
    return static_cast<long long>(t.tv_sec) * 1000LL + t.tv_nsec / 1'000'000;
}

// The file a write of the path replaces, for the lock beside it: writers
// that name it by another link, even before it is there, meet at the same
// lock.
std::string LockPathOf(const std::string& path)
{
    std::string target;
    if (!FollowSymbolicLinks(path, target))
        target = path;
    char szReal[PATH_MAX];
    if (::realpath(target.c_str(), szReal) != nullptr)
        return std::string(szReal) + ".lock";
    // A file not there yet: beside it in its folder as that resolves, where
    // the lock lies once the file is there.
    if (::realpath(FolderOf(target).c_str(), szReal) != nullptr)
        return std::string(szReal) + (std::string(szReal) == "/" ? "" : "/") + target.substr(target.rfind('/') + 1) +
               ".lock";
    return target + ".lock";
}

}  // namespace

CFileWriteLock::CFileWriteLock(const std::string& strFilePath) : m_strPath(LockPathOf(strFilePath))
{
    std::function<void(int nMilliseconds)> wait;
    std::function<int(int fd, int nOperation)> lockCall;
    bool bWait = true;
    {
        std::lock_guard lock(s_lockMutex);
        wait = s_lockWait;
        lockCall = s_lockCall;
        bWait = s_busyLocks.count(m_strPath) == 0;
    }
    timespec start {};
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    long long nWaited = 0;
    for (;;) {
        if (m_fd < 0 && !Open())
            return;
        if ((lockCall ? lockCall(m_fd, LOCK_EX | LOCK_NB) : ::flock(m_fd, LOCK_EX | LOCK_NB)) == 0) {
            // The last holder removes the file: a lock on a name that is
            // gone or taken by a new file locks nobody out.
            if (NameLeadsToOpenFile(m_strPath, m_fd)) {
                m_eState = EState::held;
                std::lock_guard lock(s_lockMutex);
                s_busyLocks.erase(m_strPath);
                return;
            }
            Release();
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            m_nErrno = errno;
            m_eState = EState::unlocked;
            // Nobody can lock it, so a lock file made for this write would
            // only be left lying; one another writer made stays.
            if (m_bCreated)
                RemoveLockFile();
            Release();
            return;
        }
        if (!bWait || nWaited >= kFileWriteLockWaitMilliseconds) {
            m_nErrno = EWOULDBLOCK;
            m_eState = EState::busy;
            Release();
            std::lock_guard lock(s_lockMutex);
            s_busyLocks.insert(m_strPath);
            return;
        }
        if (wait) {
            wait(kLockRetryMilliseconds);
            nWaited += kLockRetryMilliseconds;
        } else {
            ::usleep(kLockRetryMilliseconds * 1000);
            timespec now {};
            ::clock_gettime(CLOCK_MONOTONIC, &now);
            nWaited = Milliseconds(now) - Milliseconds(start);
        }
    }
}

CFileWriteLock::~CFileWriteLock()
{
    // The caller's errno of a failed write outlives the lock's release.
    const int nErrno = errno;
    if (m_eState == EState::held)
        RemoveLockFile();
    Release();
    errno = nErrno;
}

// Only while the name still leads to this lock's file: a writer on a host
// that has no lock (ENOLCK on a share that others lock) may have removed it
// and another made a new one there, which this one must not take away.
void CFileWriteLock::RemoveLockFile()
{
    if (NameLeadsToOpenFile(m_strPath, m_fd))
        ::unlink(m_strPath.c_str());
}

// A lock needs only a descriptor to read: a lock file left by another user,
// which this one may not write, locks all the same. Links are not followed,
// so that a lock file is never made or locked elsewhere.
bool CFileWriteLock::Open()
{
    for (;;) {
        m_bCreated = false;
        m_fd = ::open(m_strPath.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (m_fd < 0 && errno == ENOENT) {
            m_fd = ::open(m_strPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
            m_bCreated = m_fd >= 0;
            // Made by another writer in the meantime: open that one.
            if (m_fd < 0 && errno == EEXIST)
                continue;
        }
        if (m_fd < 0 && errno == EACCES) {
            m_fd = ::open(m_strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
            if (m_fd < 0 && errno == ENOENT)
                errno = EACCES;
        }
        if (m_fd >= 0)
            return true;
        m_nErrno = errno;
        // Something at the name that is no lock file (a link, a folder), or
        // one this user may not even read, is what stands in the way.
        struct stat there {};
        m_bLockFileAtFault =
            ::lstat(m_strPath.c_str(), &there) == 0 && (!S_ISREG(there.st_mode) || m_nErrno == EACCES);
        return false;
    }
}

void CFileWriteLock::Release()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

std::string CFileWriteLock::DescribeFailure() const
{
    if (m_eState == EState::busy)
        return "the file is locked by another program";
    if (m_bLockFileAtFault)
        return "its lock file \"" + m_strPath + "\" cannot be opened: " + std::strerror(m_nErrno);
    return std::strerror(m_nErrno);
}

std::string DescribeWriteWithoutLock(const std::string& strWhat, int nErrno)
{
    return strWhat + " is written without a lock, which its file system does not give (" + std::strerror(nErrno) +
           "): another program's changes to it may be lost";
}

void SetFileWriteLockWait(std::function<void(int nMilliseconds)> wait)
{
    std::lock_guard lock(s_lockMutex);
    s_lockWait = std::move(wait);
}

void SetFileWriteLockCall(std::function<int(int fd, int nOperation)> lockCall)
{
    std::lock_guard lock(s_lockMutex);
    s_lockCall = std::move(lockCall);
}

}  // namespace platform
