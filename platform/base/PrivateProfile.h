#pragma once
// The private-profile (ini file) engine that the settings, the COM module's
// OEM section and the launcher rely on. Sections and keys are matched without
// regard to case; a missing file, section or key gives the default. Writes
// keep every other line (comments included) and replace the file atomically.
// Files are UTF-8.
//
// Each file's lines are kept in memory and the disk is read again only when
// the file there changed (its size, times or inode), or changed so recently
// that its file system's time stamps may not tell a second change (a step
// of two seconds on FAT and network mounts). A write reads, merges and
// replaces the file under a lock that other processes' writes of it honour
// ("<file>.lock" beside the file its links lead to, held for that step
// only, waited for three seconds at most), so what another process wrote
// meanwhile is never lost; a write that leaves every value as it stands
// writes nothing. After a lock stayed taken for a whole wait, the next
// writes of the file fail at once while it is still taken, until one finds
// it free (CFileWriteLock). Where the file system gives no lock, writes go
// without it.
//
// A write that fails is kept in memory with what the file held for its key
// then: reads of this process see it, and the next write of the file that
// takes the lock writes it too, into the file as it stands then. It gives
// way once another program has written that key since (its value stands)
// or removed the section the key stood in; a section another program made
// since for other keys leaves it standing. A kept removal of a section gives
// way to any change of that section since, its making included. No program
// can tell a key another program wrote back to the very value the file
// held then from one nobody touched: the kept value replaces that. Kept
// writes that no write took on before the program ends are lost
// (DropKeptProfileWrites, for the caller to tell). A file larger than
// kMaxProfileSize is not parsed: its keys read as absent and it is never
// rewritten; a write refused for that, or because the file cannot be read,
// is not kept.

#include "platform/base/FileWriteLock.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Far larger than any settings file this system writes.
constexpr std::size_t kMaxProfileSize = 1u << 20;
// A write waits this long at most for another process's write of the same
// file to end, and fails after that rather than hang.
constexpr int kProfileLockWaitMilliseconds = kFileWriteLockWaitMilliseconds;

// The value of section/key, or `def` when missing. Blanks around the value are
// dropped, and one pair of enclosing double or single quotes. When
// `bufferSize` is not 0 the result is cut to bufferSize - 1 bytes, as a
// caller's fixed buffer of that size would hold it (never inside a UTF-8
// character).
std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view def,
                                    const std::string& path, std::size_t bufferSize = 0);

// An optional sign and the leading decimal digits of the value, wrapped to 32
// bits, so that a value written as "%u" of a negative number reads back as
// that number. A value without leading digits gives 0; a missing key `def`.
std::int32_t GetPrivateProfileInt(std::string_view section, std::string_view key, std::int32_t def,
                                  const std::string& path);

// Sets section/key to value, creating the file and the section when missing.
// A null value removes the key; a null key removes the whole section. A
// value with blanks at either end or enclosing quotes is written inside one
// more pair of double quotes, so that it reads back as given. False when the
// file cannot be written, or when a name or the value cannot stand in one
// line that reads back as it (a line end anywhere, ']' or NUL in the
// section, '=' in the key, blanks around a name, a key starting like a
// comment or a section); the old file is then untouched, and a write it
// could not take is kept for the next one that takes the lock (as above).
// Inside a CProfileBatch for the same path the write is only noted (true
// when it can stand) and reaches the file when the batch ends; the batch's
// Commit tells whether it did.
bool WritePrivateProfileString(std::string_view section, const char* key, const char* value,
                               const std::string& path);

// One look at one file for a run of reads and writes: while it lives, reads
// of the file use the file as it stood at the batch's first read (with the
// batch's own writes on top), so that a window reading its settings asks the
// disk once rather than once a key; the writes are applied in one atomic
// replacement of the file when it ends (or at Commit), to the file as it
// stands then. Batches for the same file nest; the outermost one counts.
class CProfileBatch {
public:
    explicit CProfileBatch(std::string path);
    ~CProfileBatch();
    CProfileBatch(const CProfileBatch&) = delete;
    CProfileBatch& operator=(const CProfileBatch&) = delete;

    // False when the file could not be written; the old file is untouched
    // and errno tells why. A batch inside an outer one for the same file
    // only hands its writes on (true): the outermost one's Commit tells.
    bool Commit();

private:
    std::string m_strPath;
    bool m_bDone = false;
};

// True once after the file was found over kMaxProfileSize, so that the
// caller can say so in its log once.
bool TakeOversizedProfileNotice(const std::string& path);
// True once after the file was found there but could not be read (a
// folder, no permission), with the reason; its keys read as absent.
bool TakeUnreadableProfileNotice(const std::string& path, int& nErrno);
// True once after a write of the file failed (again after any write of it
// succeeded, one with nothing to change included),
// with the reason in words, so that the caller can say so in its log once:
// a lock that another program holds as such, a lock file that cannot be
// opened by its name, anything else as the system says it.
bool TakeFailedProfileWriteNotice(const std::string& path, std::string& strReason);
// At the end of what made them: drops the file's kept writes and gives how
// many of them no other program has overtaken since, which are lost, with
// the reason of the failure that kept them. The next failure is told again.
std::size_t DropKeptProfileWrites(const std::string& path, std::string& strReason);
// True once after a write of the file went without the lock because its
// file system gives none, with the lock's error.
bool TakeUnlockedProfileWriteNotice(const std::string& path, int& nErrno);
// What the user is told of that: the file, the reason and what may follow.
std::string DescribeUnlockedProfileWrite(const std::string& path, int nErrno);

// Seam for the tests: the step in which time stamps are kept, for every
// file (0: each file system's own), as on FAT or a network mount.
void SetProfileTimestampStep(long long nNanoseconds);

// Reads of ini files from disk and writes to them since the process started.
struct ProfileIoCounts {
    unsigned long long nReads = 0;
    unsigned long long nWrites = 0;
};
ProfileIoCounts GetProfileIoCounts();

}  // namespace platform
