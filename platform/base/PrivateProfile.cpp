#include "platform/base/PrivateProfile.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/ProfileText.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <sys/stat.h>
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

// A file's timestamps move in steps of the kernel's clock tick, so a file
// changed again within a tick of being read can look unchanged; one read so
// recently is read again next time, until its time has safely passed.
constexpr long long kRacyNanoseconds = 100'000'000;

enum class FileState { missing, unreadable, oversized, read };

struct CachedFile {
    FileState state = FileState::missing;
    FileIdentity identity;
    bool bRacy = true;
    std::shared_ptr<const CProfileText> pText;
    // What was read, so that reading an unchanged file again skips parsing.
    std::string strBytes;
    bool bOversizeNoticeTaken = false;
};

struct PendingWrite {
    std::string section;
    std::optional<std::string> key;
    std::optional<std::string> value;
};

struct Batch {
    int nDepth = 0;
    // The file as it stood when the batch first read it, which all its reads
    // use; a batch that only writes never reads the file before its end.
    bool bLooked = false;
    std::shared_ptr<const CProfileText> pText;
    std::vector<PendingWrite> writes;
};

std::mutex s_mutex;
std::map<std::string, CachedFile> s_files;
std::map<std::string, Batch> s_batches;
ProfileIoCounts s_counts;

std::optional<FileIdentity> IdentityOf(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return FileIdentity {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

bool IsRecent(const timespec& t)
{
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const long long nAge = (static_cast<long long>(now.tv_sec) - t.tv_sec) * 1'000'000'000LL + now.tv_nsec - t.tv_nsec;
    return nAge < kRacyNanoseconds;
}

// The file as it is on disk now, read again only when it changed since it
// was last read or written here. Call with s_mutex held.
CachedFile& Current(const std::string& path)
{
    CachedFile& file = s_files[path];
    const std::optional<FileIdentity> identity = IdentityOf(path);
    if (!identity) {
        const bool bThere = errno != ENOENT && errno != ENOTDIR;
        file.state = bThere ? FileState::unreadable : FileState::missing;
        file.pText.reset();
        file.bRacy = true;
        return file;
    }
    if (file.state != FileState::missing && !file.bRacy && file.identity == *identity)
        return file;
    file.identity = *identity;
    if (identity->size > static_cast<off_t>(kMaxProfileSize)) {
        file.state = FileState::oversized;
        file.pText.reset();
        file.bRacy = false;
        return file;
    }
    file.bOversizeNoticeTaken = false;
    ++s_counts.nReads;
    auto bytes = ReadWholeFile(path, kMaxProfileSize);
    if (!bytes) {
        file.state = errno == EFBIG ? FileState::oversized : FileState::unreadable;
        file.pText.reset();
        file.bRacy = true;
        return file;
    }
    const std::string_view read(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    if (file.state != FileState::read || !file.pText || read != file.strBytes) {
        file.pText = std::make_shared<const CProfileText>(CProfileText::Parse(read));
        file.strBytes = read;
    }
    file.state = FileState::read;
    // Changed while being read, or so recently that a change may not show:
    // read again next time.
    file.bRacy = IsRecent(identity->mtime) || IdentityOf(path) != identity;
    return file;
}

// Applies the writes to the file as it is on disk now, in one replacement
// of the file, or none when nothing changes. Call with s_mutex held.
bool ApplyWrites(const std::string& path, const std::vector<PendingWrite>& writes)
{
    CachedFile& file = Current(path);
    // A file that is there but cannot be read, or is far larger than any
    // settings file, is never overwritten blindly.
    if (file.state == FileState::unreadable || file.state == FileState::oversized)
        return false;
    // Writes that each leave the file as it stands leave it so together:
    // nothing to copy, nothing to write.
    const auto leavesAlone = [&file](const PendingWrite& write) {
        if (!file.pText)
            return !write.key ? true : !write.value.has_value();
        if (!write.key)
            return !file.pText->HasSection(write.section);
        return file.pText->Find(write.section, *write.key) == write.value;
    };
    if (std::all_of(writes.begin(), writes.end(), leavesAlone))
        return true;
    CProfileText text = file.pText ? *file.pText : CProfileText {};
    bool bChanged = false;
    for (const PendingWrite& write : writes)
        bChanged |= text.Set(write.section, write.key ? write.key->c_str() : nullptr,
                             write.value ? write.value->c_str() : nullptr);
    if (!bChanged)
        return true;
    ++s_counts.nWrites;
    const std::string strText = text.Serialize();
    if (!WriteFileAtomically(path, strText))
        return false;
    // The file now holds what was written; it is known without reading it.
    if (const std::optional<FileIdentity> identity = IdentityOf(path)) {
        file.state = FileState::read;
        file.identity = *identity;
        file.strBytes = strText;
        file.pText = std::make_shared<const CProfileText>(std::move(text));
        // Written here under a new inode: what it holds is known.
        file.bRacy = false;
    } else {
        file.state = FileState::missing;
        file.pText.reset();
    }
    return true;
}

// What a batch's own writes make of section/key; nothing when they leave it
// alone. Call with s_mutex held.
std::optional<std::optional<std::string>> PendingValue(const Batch& batch, std::string_view section,
                                                       std::string_view key)
{
    for (auto it = batch.writes.rbegin(); it != batch.writes.rend(); ++it) {
        if (!CProfileText::NamesEqual(it->section, section))
            continue;
        if (!it->key)
            return std::optional<std::string> {};
        if (CProfileText::NamesEqual(*it->key, key))
            return it->value;
    }
    return std::nullopt;
}

std::optional<std::string> LookUp(std::string_view section, std::string_view key, const std::string& path)
{
    std::shared_ptr<const CProfileText> pText;
    {
        std::lock_guard lock(s_mutex);
        if (auto it = s_batches.find(path); it != s_batches.end()) {
            Batch& batch = it->second;
            if (auto pending = PendingValue(batch, section, key))
                return *pending;
            if (!batch.bLooked) {
                batch.pText = Current(path).pText;
                batch.bLooked = true;
            }
            pText = batch.pText;
        } else {
            pText = Current(path).pText;
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
                        value ? std::optional<std::string>(value) : std::nullopt};
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

bool TakeOversizedProfileNotice(const std::string& path)
{
    std::lock_guard lock(s_mutex);
    auto it = s_files.find(path);
    if (it == s_files.end() || it->second.state != FileState::oversized || it->second.bOversizeNoticeTaken)
        return false;
    it->second.bOversizeNoticeTaken = true;
    return true;
}

ProfileIoCounts GetProfileIoCounts()
{
    std::lock_guard lock(s_mutex);
    return s_counts;
}

}  // namespace platform
