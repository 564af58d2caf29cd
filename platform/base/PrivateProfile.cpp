#include "platform/base/PrivateProfile.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/FileWriteLock.h"
#include "platform/base/ProfileText.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <utility>
#include <vector>

namespace platform {

namespace {

// What tells one state of a file from another without reading it.
struct FileIdentity {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime {};
    timespec ctime {};

    bool operator==(const FileIdentity& o) const
    {
        return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec && ctime.tv_sec == o.ctime.tv_sec && ctime.tv_nsec == o.ctime.tv_nsec;
    }
};

// A file's timestamps move in steps, so a file changed again within a step
// of being read can look unchanged; one read so recently is read again next
// time, until its time has safely passed. On the file systems the kernel
// stamps from its own clock a step is its clock tick, well below the first
// figure; FAT and exFAT keep two seconds, and network mounts and FUSE file
// systems are stamped by another clock, taken as coarse as FAT.
constexpr long long kFineNanoseconds = 100'000'000;
constexpr long long kCoarseNanoseconds = 2'000'000'000;

// How a file system's timestamps are to be read: their step, and whether
// they come from this kernel's clock or have to be compared with a time
// stamp the file system gives now.
struct TimestampRule {
    long long nStep = kCoarseNanoseconds;
    bool bKernelClock = false;
};

enum class FileState { missing, unreadable, oversized, read };

// Something the caller is to tell once: raised with its reason, told once,
// and raised anew only after it was cleared.
struct Notice {
    int nErrno = 0;
    // The reason in words, where the system's words for nErrno would not say
    // it (a lock another program holds, a lock file in the way).
    std::string strReason;
    bool bTaken = false;

    void Raise(int nReason, std::string strWords = {})
    {
        if (nErrno == 0)
            bTaken = false;
        nErrno = nReason;
        strReason = std::move(strWords);
    }
    void Clear() { nErrno = 0; }
    std::string Words() const { return strReason.empty() ? std::strerror(nErrno) : strReason; }
    bool Take(int& nReason)
    {
        if (nErrno == 0 || bTaken)
            return false;
        bTaken = true;
        nReason = nErrno;
        return true;
    }
};

// What the file held, when a write failed, for what the write sets: whether
// the section was there, and the key's value (for a section's removal, the
// section's entries).
struct HeldOnDisk {
    bool bSection = false;
    std::optional<std::string> held;
};

struct PendingWrite {
    std::string section;
    std::optional<std::string> key;
    std::optional<std::string> value;
    // For a write kept after it failed: the file as it stood then.
    HeldOnDisk before;
};

struct CachedFile {
    FileState state = FileState::missing;
    FileIdentity identity;
    bool bRacy = true;
    std::optional<TimestampRule> rule;
    std::shared_ptr<const CProfileText> pText;
    // What was read, so that reading an unchanged file again skips parsing.
    std::string strBytes;
    Notice oversized;
    Notice unreadable;
    // Why the last write failed; cleared by one that succeeds.
    Notice writeFailed;
    // The file system gives no lock: writes go without it, told once.
    Notice unlocked;
    // Writes that failed, kept in memory as the values this process set:
    // while the file still holds for their keys what it held at the failure,
    // reads see them and they go with the next write of the file, so that a
    // setting changed while the file was locked is not lost once the lock is
    // free; once another program has written such a key since, what it wrote
    // stands and the kept write is dropped. At most one entry per key.
    std::vector<PendingWrite> kept;
};

struct Batch {
    int nDepth = 0;
    // The file as it stood when the batch first read it, which all its reads
    // use; a batch that only writes never reads the file before its end.
    bool bLooked = false;
    // Whether the file could be read then (or was not there).
    bool bKnown = false;
    std::shared_ptr<const CProfileText> pText;
    std::vector<PendingWrite> writes;
};

std::mutex s_mutex;
std::map<std::string, CachedFile> s_files;
std::map<std::string, Batch> s_batches;
ProfileIoCounts s_counts;
long long s_nStepOverride = 0;

long long Nanoseconds(const timespec& t)
{
    return static_cast<long long>(t.tv_sec) * 1'000'000'000LL + t.tv_nsec;
}

// A time stamp as a file system of that step keeps it.
timespec InSteps(timespec t, long long nStep)
{
    const long long n = Nanoseconds(t) / nStep * nStep;
    return timespec {static_cast<time_t>(n / 1'000'000'000LL), static_cast<long>(n % 1'000'000'000LL)};
}

FileIdentity IdentityOf(const struct stat& st)
{
    FileIdentity identity {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
    if (s_nStepOverride > 0) {
        identity.mtime = InSteps(identity.mtime, s_nStepOverride);
        identity.ctime = InSteps(identity.ctime, s_nStepOverride);
    }
    return identity;
}

std::optional<FileIdentity> IdentityOf(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return IdentityOf(st);
}

TimestampRule RuleOf(const std::string& path)
{
    if (s_nStepOverride > 0)
        return {s_nStepOverride, true};
    struct statfs fs {};
    if (::statfs(path.c_str(), &fs) != 0)
        return {};
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0xEF53:      // ext2, ext3, ext4
    case 0x58465342:  // XFS
    case 0x9123683E:  // Btrfs
    case 0x01021994:  // tmpfs
    case 0x858458F6:  // ramfs
    case 0x794C7630:  // overlayfs
    case 0xF2F52010:  // F2FS
    case 0x2FC12FC1:  // ZFS
    case 0x52654973:  // ReiserFS
    case 0x3153464A:  // JFS
        return {kFineNanoseconds, true};
    case 0x4D44:      // FAT
    case 0x2011BAB0:  // exFAT
        return {kCoarseNanoseconds, true};
    default:
        return {};
    }
}

// Whether the file may still change without its identity showing it: its
// modification or status time lies within one step of its file system's
// present time (or after it, from a clock ahead of ours).
bool IsRacy(const std::string& path, CachedFile& file)
{
    if (!file.rule)
        file.rule = RuleOf(path);
    timespec now {};
    std::optional<timespec> fsNow;
    if (!file.rule->bKernelClock)
        fsNow = FileSystemNow(FolderOf(path));
    if (fsNow)
        now = *fsNow;
    else
        ::clock_gettime(CLOCK_REALTIME, &now);
    const long long nLatest = std::max(Nanoseconds(file.identity.mtime), Nanoseconds(file.identity.ctime));
    return Nanoseconds(now) - nLatest < file.rule->nStep;
}

// The file as it is on disk now, read again only when it changed since it
// was last read or written here. Call with s_mutex held.
CachedFile& Current(const std::string& path)
{
    CachedFile& file = s_files[path];
    const std::optional<FileIdentity> identity = IdentityOf(path);
    if (!identity) {
        const int nErrno = errno;
        const bool bThere = nErrno != ENOENT && nErrno != ENOTDIR;
        file.state = bThere ? FileState::unreadable : FileState::missing;
        bThere ? file.unreadable.Raise(nErrno) : file.unreadable.Clear();
        file.oversized.Clear();
        file.pText.reset();
        file.bRacy = true;
        errno = nErrno;
        return file;
    }
    if (file.state != FileState::missing && !file.bRacy && file.identity == *identity)
        return file;
    file.identity = *identity;
    if (identity->size > static_cast<off_t>(kMaxProfileSize)) {
        file.state = FileState::oversized;
        file.oversized.Raise(EFBIG);
        file.unreadable.Clear();
        file.pText.reset();
        file.bRacy = false;
        return file;
    }
    file.oversized.Clear();
    ++s_counts.nReads;
    auto bytes = ReadWholeFile(path, kMaxProfileSize);
    if (!bytes) {
        const int nErrno = errno;
        file.state = nErrno == EFBIG ? FileState::oversized : FileState::unreadable;
        nErrno == EFBIG ? file.oversized.Raise(EFBIG) : file.unreadable.Raise(nErrno);
        file.pText.reset();
        file.bRacy = true;
        errno = nErrno;
        return file;
    }
    file.unreadable.Clear();
    const std::string_view read(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    if (file.state != FileState::read || !file.pText || read != file.strBytes) {
        file.pText = std::make_shared<const CProfileText>(CProfileText::Parse(read));
        file.strBytes = read;
    }
    file.state = FileState::read;
    // Changed while being read, or so recently that a change may not show:
    // read again next time.
    file.bRacy = IdentityOf(path) != identity || IsRacy(path, file);
    return file;
}

bool FailWrite(CachedFile& file, int nErrno, std::string strReason = {})
{
    file.writeFailed.Raise(nErrno != 0 ? nErrno : EIO, std::move(strReason));
    errno = file.writeFailed.nErrno;
    return false;
}

// Whether the file's lines are known: read, or not there at all.
bool IsKnown(const CachedFile& file)
{
    return file.state == FileState::read || file.state == FileState::missing;
}

// What the text holds for what the write sets.
HeldOnDisk HeldFor(const CProfileText* pText, const PendingWrite& write)
{
    if (!pText || !pText->HasSection(write.section))
        return {};
    return {true, write.key ? pText->Find(write.section, *write.key) : pText->SectionEntries(write.section)};
}

// Whether another program wrote what a kept write sets after it failed: its
// key (a value set, changed or removed), or for a section's removal anything
// of the section; or removed the section the key stood in then. A section
// made since for other keys leaves a key kept for it standing. Another
// program that wrote back the very value the file held then leaves no trace
// of it: the kept write goes.
bool IsOvertaken(const CProfileText* pText, const PendingWrite& write)
{
    const HeldOnDisk now = HeldFor(pText, write);
    return (write.before.bSection && !now.bSection) || now.held != write.before.held;
}

// Drops the kept writes another program overtook: what it wrote is newer
// than what this process kept.
void DropOvertaken(std::vector<PendingWrite>& kept, const CProfileText* pText)
{
    std::erase_if(kept, [pText](const PendingWrite& write) { return IsOvertaken(pText, write); });
}

// Reads the file as it is now and gives what a write of it is to set: the
// kept writes that still stand, then the new ones, and whether they would
// change it; nothing (errno set) when the file cannot take a write. Call
// with s_mutex held.
std::optional<std::vector<PendingWrite>> Prepare(const std::string& path, const std::vector<PendingWrite>& writes,
                                                 bool& bChanges)
{
    CachedFile& file = Current(path);
    // A file that is there but cannot be read, or is far larger than any
    // settings file, is never overwritten blindly.
    if (file.state == FileState::oversized) {
        errno = EFBIG;
        return std::nullopt;
    }
    if (file.state == FileState::unreadable) {
        FailWrite(file, errno);
        return std::nullopt;
    }
    DropOvertaken(file.kept, file.pText.get());
    std::vector<PendingWrite> all = file.kept;
    all.insert(all.end(), writes.begin(), writes.end());
    // Writes that each leave the file as it stands leave it so together:
    // nothing to copy, nothing to write.
    const auto leavesAlone = [&file](const PendingWrite& write) {
        if (!file.pText)
            return !write.key ? true : !write.value.has_value();
        if (!write.key)
            return !file.pText->HasSection(write.section);
        return file.pText->Find(write.section, *write.key) == write.value;
    };
    bChanges = !std::all_of(all.begin(), all.end(), leavesAlone);
    return all;
}

// A write of the file went through, or had nothing to change: nothing is
// kept any more, and the next failure is told again.
bool Succeed(CachedFile& file)
{
    file.kept.clear();
    file.writeFailed.Clear();
    return true;
}

// Writes the writes, after the file's kept ones that still stand, into the
// file as it is on disk now, in one replacement of the file, or none when
// nothing changes. Call with s_mutex held.
bool WriteNow(const std::string& path, const std::vector<PendingWrite>& writes)
{
    // Writes that change nothing need no lock, so they never wait for
    // another writer, nor touch a folder that takes no file.
    bool bChanges = false;
    if (!Prepare(path, writes, bChanges))
        return false;
    CachedFile& file = s_files[path];
    if (!bChanges)
        return Succeed(file);
    // What another process writes meanwhile is taken in under the lock, so
    // that it is never replaced unseen, and a kept write it overtook is
    // dropped.
    const CFileWriteLock lock(path);
    switch (lock.GetState()) {
    case CFileWriteLock::EState::busy:
    case CFileWriteLock::EState::failed:
        return FailWrite(file, lock.GetErrno(), lock.DescribeFailure());
    case CFileWriteLock::EState::unlocked:
        file.unlocked.Raise(lock.GetErrno());
        break;
    case CFileWriteLock::EState::held:
        break;
    }
    const std::optional<std::vector<PendingWrite>> all = Prepare(path, writes, bChanges);
    if (!all)
        return false;
    if (!bChanges)
        return Succeed(file);
    CProfileText text = file.pText ? *file.pText : CProfileText {};
    bool bChanged = false;
    for (const PendingWrite& write : *all)
        bChanged |= text.Set(write.section, write.key ? write.key->c_str() : nullptr,
                             write.value ? write.value->c_str() : nullptr);
    if (!bChanged)
        return Succeed(file);
    ++s_counts.nWrites;
    const std::string strText = text.Serialize();
    struct stat written {};
    if (!WriteFileAtomically(path, strText, written))
        return FailWrite(file, errno);
    // What was written is known without reading it, under the identity of
    // the file written; another process's file at the path since then has
    // another one. A program rewriting it in place within a time-stamp step
    // would not show, so it is racy for that long.
    file.state = FileState::read;
    file.identity = IdentityOf(written);
    file.strBytes = strText;
    file.pText = std::make_shared<const CProfileText>(std::move(text));
    file.bRacy = written.st_ino == 0 || IsRacy(path, file);
    return Succeed(file);
}

// A failed write joins the kept ones in place of any it supersedes: the
// same key, or anything of a section it removes.
void Keep(std::vector<PendingWrite>& kept, const PendingWrite& write)
{
    std::erase_if(kept, [&write](const PendingWrite& earlier) {
        return CProfileText::NamesEqual(earlier.section, write.section) &&
               (!write.key || (earlier.key && CProfileText::NamesEqual(*earlier.key, *write.key)));
    });
    kept.push_back(write);
}

// The writes, after those of the file's that failed before and still
// stand, in one replacement of the file; those that fail again are kept
// with what the file held for them, unless it could not be read or is too
// large to be parsed: then nothing tells later whether another program
// wrote their keys meanwhile. Call with s_mutex held.
bool ApplyWrites(const std::string& path, const std::vector<PendingWrite>& writes)
{
    if (WriteNow(path, writes))
        return true;
    const int nErrno = errno;
    CachedFile& file = s_files[path];
    if (IsKnown(file)) {
        for (PendingWrite write : writes) {
            write.before = HeldFor(file.pText.get(), write);
            Keep(file.kept, write);
        }
    }
    errno = nErrno;
    return false;
}

// What the writes make of section/key, the last one counting; nothing when
// they leave it alone. Call with s_mutex held.
std::optional<std::optional<std::string>> PendingValue(const std::vector<PendingWrite>& writes,
                                                       std::string_view section, std::string_view key)
{
    for (auto it = writes.rbegin(); it != writes.rend(); ++it) {
        if (!CProfileText::NamesEqual(it->section, section))
            continue;
        if (!it->key)
            return std::optional<std::string> {};
        if (CProfileText::NamesEqual(*it->key, key))
            return it->value;
    }
    return std::nullopt;
}

// A batch's own writes come first, then what failed writes keep while the
// file still holds what it held at their failure, then the file.
std::optional<std::string> LookUp(std::string_view section, std::string_view key, const std::string& path)
{
    std::shared_ptr<const CProfileText> pText;
    {
        std::lock_guard lock(s_mutex);
        auto it = s_batches.find(path);
        bool bKnown = false;
        if (it != s_batches.end()) {
            Batch& batch = it->second;
            if (auto pending = PendingValue(batch.writes, section, key))
                return *pending;
            if (!batch.bLooked) {
                const CachedFile& file = Current(path);
                batch.pText = file.pText;
                batch.bKnown = IsKnown(file);
                batch.bLooked = true;
            }
            pText = batch.pText;
            bKnown = batch.bKnown;
        } else {
            const CachedFile& file = Current(path);
            pText = file.pText;
            bKnown = IsKnown(file);
        }
        // The file as these reads see it is one this process saw after every
        // kept write failed (no write is kept while a batch of the file is
        // open), so what it shows overtaken is so.
        std::vector<PendingWrite>& kept = s_files[path].kept;
        if (bKnown) {
            DropOvertaken(kept, pText.get());
            if (auto value = PendingValue(kept, section, key))
                return *value;
        }
    }
    return pText ? pText->Find(section, key) : std::nullopt;
}

std::string CutToBuffer(std::string s, std::size_t bufferSize)
{
    if (bufferSize == 0 || s.size() < bufferSize)
        return s;
    std::size_t n = bufferSize - 1;
    // Never leave half a UTF-8 character at the end.
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
        --n;
    s.resize(n);
    return s;
}

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view def,
                                    const std::string& path, std::size_t bufferSize)
{
    auto v = LookUp(section, key, path);
    return CutToBuffer(v ? std::move(*v) : std::string(def), bufferSize);
}

std::int32_t GetPrivateProfileInt(std::string_view section, std::string_view key, std::int32_t def,
                                  const std::string& path)
{
    auto v = LookUp(section, key, path);
    if (!v)
        return def;
    std::string_view s = *v;
    bool negative = false;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    // Digits wrap at 32 bits, so "%u" of a negative value reads back as it.
    std::uint32_t n = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        n = n * 10u + static_cast<std::uint32_t>(s[i] - '0');
    if (negative)
        n = 0u - n;
    return static_cast<std::int32_t>(n);
}

bool WritePrivateProfileString(std::string_view section, const char* key, const char* value,
                               const std::string& path)
{
    if (path.empty() || !CProfileText::IsRepresentable(section, key, value))
        return false;
    PendingWrite write {std::string(section), key ? std::optional<std::string>(key) : std::nullopt,
                        value ? std::optional<std::string>(value) : std::nullopt, {}};
    std::lock_guard lock(s_mutex);
    if (auto it = s_batches.find(path); it != s_batches.end()) {
        it->second.writes.push_back(std::move(write));
        return true;
    }
    return ApplyWrites(path, {write});
}

CProfileBatch::CProfileBatch(std::string path) : m_strPath(std::move(path))
{
    if (m_strPath.empty())
        return;
    std::lock_guard lock(s_mutex);
    ++s_batches[m_strPath].nDepth;
}

CProfileBatch::~CProfileBatch()
{
    Commit();
}

bool CProfileBatch::Commit()
{
    if (m_bDone || m_strPath.empty())
        return true;
    m_bDone = true;
    std::lock_guard lock(s_mutex);
    auto it = s_batches.find(m_strPath);
    if (it == s_batches.end() || --it->second.nDepth > 0)
        return true;
    const std::vector<PendingWrite> writes = std::move(it->second.writes);
    s_batches.erase(it);
    return writes.empty() || ApplyWrites(m_strPath, writes);
}

namespace {

// Takes one of the file's notices, with its reason.
bool TakeNotice(const std::string& path, Notice CachedFile::*pNotice, int& nErrno)
{
    std::lock_guard lock(s_mutex);
    auto it = s_files.find(path);
    return it != s_files.end() && (it->second.*pNotice).Take(nErrno);
}

}  // namespace

bool TakeFailedProfileWriteNotice(const std::string& path, std::string& strReason)
{
    std::lock_guard lock(s_mutex);
    auto it = s_files.find(path);
    int nErrno = 0;
    if (it == s_files.end() || !it->second.writeFailed.Take(nErrno))
        return false;
    strReason = it->second.writeFailed.Words();
    return true;
}

std::size_t DropKeptProfileWrites(const std::string& path, std::string& strReason)
{
    std::lock_guard lock(s_mutex);
    auto it = s_files.find(path);
    if (it == s_files.end())
        return 0;
    if (it->second.kept.empty()) {
        // Reads may have let every kept write give way; a failure after
        // this end is still new, and told again.
        it->second.writeFailed.Clear();
        return 0;
    }
    // Those another program overtook are not lost: what it wrote stands.
    CachedFile& file = Current(path);
    if (IsKnown(file))
        DropOvertaken(file.kept, file.pText.get());
    const std::size_t nLost = file.kept.size();
    if (nLost > 0)
        strReason = file.writeFailed.Words();
    file.kept.clear();
    // What fails after this is new, and told again.
    file.writeFailed.Clear();
    return nLost;
}

bool TakeUnlockedProfileWriteNotice(const std::string& path, int& nErrno)
{
    return TakeNotice(path, &CachedFile::unlocked, nErrno);
}

bool TakeUnreadableProfileNotice(const std::string& path, int& nErrno)
{
    return TakeNotice(path, &CachedFile::unreadable, nErrno);
}

bool TakeOversizedProfileNotice(const std::string& path)
{
    int nErrno = 0;
    return TakeNotice(path, &CachedFile::oversized, nErrno);
}

std::string DescribeUnlockedProfileWrite(const std::string& path, int nErrno)
{
    return DescribeWriteWithoutLock("Settings file \"" + path + "\"", nErrno);
}

void SetProfileTimestampStep(long long nNanoseconds)
{
    std::lock_guard lock(s_mutex);
    s_nStepOverride = std::max(0LL, nNanoseconds);
    for (auto& [path, file] : s_files) {
        file.rule.reset();
        file.bRacy = true;
    }
}

ProfileIoCounts GetProfileIoCounts()
{
    std::lock_guard lock(s_mutex);
    return s_counts;
}

}  // namespace platform
