#pragma once
// Whole-file reads and crash-safe whole-file writes. Every file the system
// writes goes through WriteFileAtomically, so neither a failure nor a killed
// process nor a power cut leaves half a file behind: the bytes go to a
// temporary file beside the target ("<name>.tmp" and six letters or digits),
// which is flushed and renamed over the old one, and the folder is flushed
// after the rename. Temporaries that a killed write left beside the file are
// removed by the next successful write of that file. The one exception is a
// new file where the file system has no hard links (CreateFileAtomically),
// which may be seen, or left, empty.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct stat;

namespace platform {

// The file's bytes, or nothing when it cannot be opened or read, is no
// regular file (a folder, a pipe, a device) or holds more than maxSize bytes
// (errno is EFBIG then).
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path,
                                                       std::size_t maxSize = static_cast<std::size_t>(-1));

// True when the new content is in place. On false the old file is untouched
// and errno tells why. A symbolic link is written through: the file it points
// to gets the content and the link stays. An existing file keeps its mode
// (and, where the process may, its owner); a new one gets 0666 less the
// umask. A file without any write permission is refused (EACCES), also for
// root, as is anything but a regular file in the target's place.
bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size);
bool WriteFileAtomically(const std::string& path, std::string_view text);
// The same, and on success the status of the file written, taken from the
// file itself after the rename: what another process may have put at the
// path since then is not mistaken for it.
bool WriteFileAtomically(const std::string& path, std::string_view text, struct ::stat& written);

// A new file, written whole in the same way, where nothing is: the complete
// temporary is linked to the name instead of renamed over it, so anything
// that is there by then (a file, a link, made even in the last moment) stays
// as it is and the write fails (EEXIST). Symbolic links are not followed.
// Where the file system has no hard links the name is created exclusively,
// empty, and the complete temporary renamed over it: until the rename the
// name holds an empty file, which a reader may see then, and which a
// process killed or a power cut in that moment leaves behind; a rename that
// fails removes it.
bool CreateFileAtomically(const std::string& path, std::string_view text);

// The file that a write of the path replaces: the path with its symbolic
// links followed, also to a file that is not there yet. False (errno set)
// on a loop of links or one that cannot be read.
bool FollowSymbolicLinks(const std::string& path, std::string& target);

// The file system's own present time in the folder: the time stamp a file
// created there now gets (on a network mount the server's clock, not this
// machine's). Nothing when the folder takes no new file.
std::optional<timespec> FileSystemNow(const std::string& dir);

bool FileExists(const std::string& path);

// Why a write of the file would fail, as far as the file and its folder
// tell without writing (errno: no such folder, no permission, a read-only
// file system, a folder in its place); 0 when nothing there stands against it.
int WhyNotWritable(const std::string& path);

// Why a file that its writer left short of its whole content stopped there,
// where the writer does not tell: its file system full, the process's limit
// on the size of a file reached, else an error of the device.
int WhyWriteStoppedShort(const std::string& path);

// The folder a path names its file in: everything before the last '/', "/"
// for a file in the root, "." for a bare name.
std::string FolderOf(const std::string& path);

// Whether the name, its last link not followed, still leads to the file the
// descriptor has open, and not to one another process has put there since:
// what may be removed by its name only while this holds.
bool NameLeadsToOpenFile(const std::string& path, int fd);

// Seams for the crash tests, and for the benchmarks, which time the code
// rather than the disk; the program itself never sets them.
struct AtomicWriteHooks {
    // Called when the temporary file is complete and flushed, before the
    // rename. Returning false stops the write there as if the process had
    // died: the temporary file stays, the old file is untouched and the write
    // returns false (errno ECANCELED).
    std::function<bool(const std::string& strTempPath)> beforeRename;
    // Called right after the rename, with the file's path: what another
    // process may do to the file in that moment.
    std::function<void(const std::string& strPath)> afterRename;
    // Called instead of fsync for each flush, of the file and of its folder.
    std::function<int(int fd)> sync;
};

// Installs the hooks for every later write; empty hooks remove them.
void SetAtomicWriteHooks(AtomicWriteHooks hooks);

// The temporaries of the write pattern lying beside the file (after its
// symbolic links are followed), in no particular order.
std::vector<std::string> FindAtomicWriteTemporaries(const std::string& path);

}  // namespace platform
