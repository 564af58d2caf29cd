#pragma once
// The lock that serialises the read, merge and replace of one file between
// processes (the ini files, the registry file): an advisory lock on
// "<file>.lock" beside the file its links lead to (also one not there yet),
// taken for that step alone and removed with it. A writer that finds it
// held waits kFileWriteLockWaitMilliseconds at most; after a wait ran out,
// later locks of the same file try once and give up at once while it is
// still held, until one takes it: behind a stopped writer or a hung mount a
// program waits once, not once a write. Where the file system gives no lock
// at all (ENOLCK on some network mounts) the write goes on without one, and
// a lock file made for it is removed again. A lock file is removed only
// while its name still leads to the file this lock opened, never one that
// another writer put there since; errno outlives the removal.

#include <functional>
#include <string>

namespace platform {

constexpr int kFileWriteLockWaitMilliseconds = 3000;

class CFileWriteLock {
public:
    enum class EState { held, unlocked, busy, failed };

    // Takes the lock of the file at strFilePath.
    explicit CFileWriteLock(const std::string& strFilePath);
    ~CFileWriteLock();
    CFileWriteLock(const CFileWriteLock&) = delete;
    CFileWriteLock& operator=(const CFileWriteLock&) = delete;

    // held: the lock is taken; unlocked: the file system gives none, the
    // write may go on; busy: another process kept it; failed: the lock file
    // could not be opened.
    EState GetState() const { return m_eState; }
    // Why the lock was not taken (EWOULDBLOCK when busy).
    int GetErrno() const { return m_nErrno; }
    // Why a write cannot go on, in words: another program's lock as such, a
    // lock file that is there but cannot be opened by its name (what the
    // user must remove), anything else as the system says it.
    std::string DescribeFailure() const;

private:
    bool Open();
    void RemoveLockFile();
    void Release();

    std::string m_strPath;
    int m_fd = -1;
    // This lock made the lock file, so it removes it where no lock is had.
    bool m_bCreated = false;
    // Something is at the lock file's name that cannot be opened.
    bool m_bLockFileAtFault = false;
    EState m_eState = EState::failed;
    int m_nErrno = 0;
};

// What a user is told of writes that went without a lock: strWhat names the
// file ("Settings file \"...\"").
std::string DescribeWriteWithoutLock(const std::string& strWhat, int nErrno);

// Seam for the tests, so that none waits real seconds: called instead of
// sleeping between two tries to take a lock, with the milliseconds it stands
// for. An empty one sleeps again.
void SetFileWriteLockWait(std::function<void(int nMilliseconds)> wait);
// Seam for the tests, so that a file system without locks is met on any:
// called instead of flock to take the lock, as flock is. An empty one
// takes flock again.
void SetFileWriteLockCall(std::function<int(int fd, int nOperation)> lockCall);

}  // namespace platform
