#include "platform/base/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr char kTempMark[] = ".tmp";
constexpr std::size_t kTempLetters = 6;
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::mutex g_hookMutex;
AtomicWriteHooks g_hooks;

AtomicWriteHooks CurrentHooks()
{
    std::lock_guard<std::mutex> lock(g_hookMutex);
    return g_hooks;
}

int Sync(const AtomicWriteHooks& hooks, int fd)
{
    return hooks.sync ? hooks.sync(fd) : ::fsync(fd);
}

// close() that keeps the errno of what failed before it.
void CloseKeepingErrno(int fd)
{
    const int nErrno = errno;
    ::close(fd);
    errno = nErrno;
}

bool WriteWhole(int fd, const std::uint8_t* p, std::size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool FollowSymbolicLinks(const std::string& path, std::string& target)
{
    target = path;
    for (int nHops = 0; nHops < 40; ++nHops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0)
            return false;
        if (n == 0 || static_cast<std::size_t>(n) >= link.size()) {
            errno = ENAMETOOLONG;
            return false;
        }
        link.resize(static_cast<std::size_t>(n));
        if (link.front() != '/') {
            const std::size_t nSlash = target.rfind('/');
            if (nSlash != std::string::npos)
                link = target.substr(0, nSlash + 1) + link;
        }
        target = std::move(link);
    }
    errno = ELOOP;
    return false;
}

namespace {

void SplitPath(const std::string& path, std::string& dir, std::string& name)
{
    dir = FolderOf(path);
    name = path.substr(path.rfind('/') + 1);
}

std::string JoinPath(const std::string& dir, const std::string& name)
{
    return dir == "/" ? "/" + name : dir + "/" + name;
}

std::string RandomLetters()
{
    unsigned char bytes[kTempLetters] = {};
    if (::getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
        // Without the kernel's randomness the clock and the process still
        // make a name that O_EXCL can check.
        auto nSeed = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                     (static_cast<unsigned long long>(::getpid()) << 20);
        for (unsigned char& b : bytes) {
            nSeed = nSeed * 6364136223846793005ULL + 1442695040888963407ULL;
            b = static_cast<unsigned char>(nSeed >> 56);
        }
    }
    std::string letters;
    for (unsigned char b : bytes)
        letters += kLetters[b % (sizeof kLetters - 1)];
    return letters;
}

bool IsTemporaryOf(const std::string& entry, const std::string& name)
{
    const std::string prefix = name + kTempMark;
    if (entry.size() != prefix.size() + kTempLetters || entry.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < entry.size(); ++i) {
        const char c = entry[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

std::vector<std::string> TemporariesIn(const std::string& dir, const std::string& name)
{
    std::vector<std::string> found;
    DIR* pDir = ::opendir(dir.c_str());
    if (pDir == nullptr)
        return found;
    while (const dirent* pEntry = ::readdir(pDir)) {
        if (IsTemporaryOf(pEntry->d_name, name))
            found.push_back(JoinPath(dir, pEntry->d_name));
    }
    ::closedir(pDir);
    return found;
}

// A write holds the lock on its temporary file until the rename, and the
// kernel lets go of it when the writer dies: a temporary that can be locked
// is a left-over of a killed write, one that cannot is being written now.
void RemoveLeftOvers(const std::string& dir, const std::string& name)
{
    for (const std::string& strTemp : TemporariesIn(dir, name)) {
        int fd = ::open(strTemp.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            fd = ::open(strTemp.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat held {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
            NameLeadsToOpenFile(strTemp, fd))
            ::unlink(strTemp.c_str());
        ::close(fd);
    }
}

// A new temporary file beside the target, created with 0666 so that the
// umask decides a new file's mode, and locked as being written.
int CreateTemporary(const std::string& dir, const std::string& name, std::string& strTemp)
{
    for (int nTry = 0; nTry < 100; ++nTry) {
        strTemp = JoinPath(dir, name + kTempMark + RandomLetters());
        const int fd = ::open(strTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return -1;
        }
        // Where the file system gives no lock (ENOLCK on some network
        // mounts) the temporary goes unlocked: no clean-up there can lock it
        // either, so none takes it for a left-over.
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        struct stat st {};
        if (::fstat(fd, &st) == 0 && st.st_nlink > 0)
            return fd;
        // Another write's clean-up took it for a left-over in the moment
        // between its creation and the lock: take a new one.
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path, std::size_t maxSize)
{
    if (path.empty()) {
        errno = ENOENT;
        return std::nullopt;
    }
    // Non-blocking, so a pipe in the file's place cannot hang the caller.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        CloseKeepingErrno(fd);
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return std::nullopt;
    }
    if (static_cast<unsigned long long>(st.st_size) > maxSize) {
        ::close(fd);
        errno = EFBIG;
        return std::nullopt;
    }
    // Read straight into the result, with room for one byte more than the
    // size told, so that a file growing meanwhile is noticed and read on.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t nRead = 0;
    for (;;) {
        if (nRead == bytes.size())
            bytes.resize(bytes.size() + std::max<std::size_t>(bytes.size(), 4096));
        ssize_t n = ::read(fd, bytes.data() + nRead, bytes.size() - nRead);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            CloseKeepingErrno(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        if (static_cast<std::size_t>(n) > maxSize - nRead) {
            ::close(fd);
            errno = EFBIG;
            return std::nullopt;
        }
        nRead += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(nRead);
    return bytes;
}

namespace {

// A new file's place taken where the file system has neither hard links
// nor a rename that refuses to replace (vfat, some FUSE mounts): the name is
// created exclusively, empty, and the complete temporary renamed over it.
// The name holds that empty file until the rename (and keeps it if the
// process dies before), never part of the content.
bool PutInPlaceExclusively(const std::string& strTemp, const std::string& target)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const bool bRenamed = ::rename(strTemp.c_str(), target.c_str()) == 0;
    const int nErrno = errno;
    // Only the empty file made here goes, never one put there since.
    if (!bRenamed && NameLeadsToOpenFile(target, fd))
        ::unlink(target.c_str());
    ::close(fd);
    errno = nErrno;
    return bRenamed;
}

// Puts the complete temporary in the file's place: renamed over what is
// there, or, for a new file, linked to the name, which fails (EEXIST) when
// anything is there by then. A file system without hard links takes the
// rename that refuses to replace, and one without that an exclusive
// creation of the name.
bool PutInPlace(const std::string& strTemp, const std::string& target, bool bReplace)
{
    if (bReplace)
        return ::rename(strTemp.c_str(), target.c_str()) == 0;
    if (::link(strTemp.c_str(), target.c_str()) == 0) {
        // The temporary's own name goes.
        ::unlink(strTemp.c_str());
        return true;
    }
    if (errno == EEXIST)
        return false;
    if (::renameat2(AT_FDCWD, strTemp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    return PutInPlaceExclusively(strTemp, target);
}

bool WriteAtomically(const std::string& path, const void* data, std::size_t size, struct stat* pWritten,
                     bool bReplace = true)
{
    if (path.empty()) {
        errno = ENOENT;
        return false;
    }
    const AtomicWriteHooks hooks = CurrentHooks();
    std::string target = path;
    if (bReplace && !FollowSymbolicLinks(path, target))
        return false;
    struct stat old {};
    const bool bExists = bReplace ? ::stat(target.c_str(), &old) == 0 : ::lstat(target.c_str(), &old) == 0;
    if (bExists && !bReplace) {
        errno = EEXIST;
        return false;
    }
    if (bExists) {
        if (!S_ISREG(old.st_mode)) {
            errno = S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
            return false;
        }
        // The rename would replace a read-only file that opening it for
        // writing would not; honour the file's own permission. Why access
        // refuses is kept: a read-only file system is no permission.
        if ((old.st_mode & 0222) == 0) {
            errno = EACCES;
            return false;
        }
        if (::access(target.c_str(), W_OK) != 0)
            return false;
    }
    std::string dir;
    std::string name;
    SplitPath(target, dir, name);
    std::string strTemp;
    const int fd = CreateTemporary(dir, name, strTemp);
    if (fd < 0)
        return false;
    bool bOk = WriteWhole(fd, static_cast<const std::uint8_t*>(data), size);
    if (bOk && bExists) {
        // The replacement is the same file to its users: owner where the
        // process may set it, and mode (after the owner, which may clear
        // set-id bits).
        struct stat now {};
        const bool bKnown = ::fstat(fd, &now) == 0;
        if (bKnown && (now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
            ::fchown(fd, old.st_uid, old.st_gid) != 0)
            (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        // A file system without modes refuses to set any, so only a mode
        // that differs is set; it is looked at after the owner, whose
        // change may have cleared set-id bits.
        if (!bKnown || ::fstat(fd, &now) != 0 || (now.st_mode & 07777) != (old.st_mode & 07777))
            bOk = ::fchmod(fd, old.st_mode & 07777) == 0;
    }
    bOk = bOk && Sync(hooks, fd) == 0;
    if (!bOk) {
        const int nErrno = errno;
        ::unlink(strTemp.c_str());
        ::close(fd);
        errno = nErrno;
        return false;
    }
    if (hooks.beforeRename && !hooks.beforeRename(strTemp)) {
        ::close(fd);
        errno = ECANCELED;
        return false;
    }
    if (!PutInPlace(strTemp, target, bReplace)) {
        const int nErrno = errno;
        ::unlink(strTemp.c_str());
        ::close(fd);
        errno = nErrno;
        return false;
    }
    if (hooks.afterRename)
        hooks.afterRename(target);
    // The rename lasts through a power cut only once the folder is flushed.
    // The new content is in place whatever this flush says, and a folder
    // that lost the rename still holds the whole old file, so a failure here
    // does not fail the write.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)Sync(hooks, dirFd);
        ::close(dirFd);
    }
    // The descriptor still names the file written, whatever lies at the
    // path by now; the rename itself has changed its status time.
    if (pWritten != nullptr && ::fstat(fd, pWritten) != 0)
        *pWritten = {};
    ::close(fd);
    RemoveLeftOvers(dir, name);
    return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size)
{
    return WriteAtomically(path, data, size, nullptr);
}

bool WriteFileAtomically(const std::string& path, std::string_view text)
{
    return WriteAtomically(path, text.data(), text.size(), nullptr);
}

bool WriteFileAtomically(const std::string& path, std::string_view text, struct ::stat& written)
{
    return WriteAtomically(path, text.data(), text.size(), &written);
}

bool CreateFileAtomically(const std::string& path, std::string_view text)
{
    return WriteAtomically(path, text.data(), text.size(), nullptr, false);
}

std::optional<timespec> FileSystemNow(const std::string& dir)
{
    // A temporary of the write pattern, locked while it lives, so that no
    // write's clean-up takes it for a left-over.
    std::string strTemp;
    const int fd = CreateTemporary(dir.empty() ? "." : dir, "now", strTemp);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    const bool bStat = ::fstat(fd, &st) == 0;
    ::unlink(strTemp.c_str());
    ::close(fd);
    if (!bStat)
        return std::nullopt;
    return st.st_mtim;
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int WhyNotWritable(const std::string& path)
{
    if (path.empty())
        return ENOENT;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return EISDIR;
        return ::access(path.c_str(), W_OK) == 0 ? 0 : errno;
    }
    if (errno != ENOENT)
        return errno;
    const std::string folder = FolderOf(path);
    if (::stat(folder.c_str(), &st) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode))
        return ENOTDIR;
    return ::access(folder.c_str(), W_OK | X_OK) == 0 ? 0 : errno;
}

int WhyWriteStoppedShort(const std::string& path)
{
    struct statvfs fs {};
    if (::statvfs(FolderOf(path).c_str(), &fs) == 0 && fs.f_bavail == 0)
        return ENOSPC;
    struct rlimit limit {};
    struct stat st {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && ::stat(path.c_str(), &st) == 0 &&
        static_cast<rlim_t>(st.st_size) >= limit.rlim_cur)
        return EFBIG;
    return EIO;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t nSlash = path.rfind('/');
    return nSlash == std::string::npos ? std::string(".") : nSlash == 0 ? std::string("/") : path.substr(0, nSlash);
}

bool NameLeadsToOpenFile(const std::string& path, int fd)
{
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

void SetAtomicWriteHooks(AtomicWriteHooks hooks)
{
    std::lock_guard<std::mutex> lock(g_hookMutex);
    g_hooks = std::move(hooks);
}

std::vector<std::string> FindAtomicWriteTemporaries(const std::string& path)
{
    std::string target;
    if (!FollowSymbolicLinks(path, target))
        target = path;
    std::string dir;
    std::string name;
    SplitPath(target, dir, name);
    return TemporariesIn(dir, name);
}

}  // namespace platform
