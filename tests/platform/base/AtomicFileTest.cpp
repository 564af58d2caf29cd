// The atomic write: the mode of new and old files, symbolic links written
// through, the folder flushed after the rename, targets that may not be
// replaced, a write stopped or killed before its rename and the clean-up of
// what it left; and the bounded whole-file read.

#include "platform/base/AtomicFile.h"
#include "tests/support/CrashTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = crashtest::ScratchDirectory("atomic");
    }
    void TearDown() override
    {
        platform::SetAtomicWriteHooks({});
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    std::string PathOf(const std::string& strName) const { return (m_dir / strName).string(); }
    static std::string Read(const std::string& strPath)
    {
        auto bytes = platform::ReadWholeFile(strPath);
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<none>");
    }
    static mode_t ModeOf(const std::string& strPath)
    {
        struct stat st {};
        EXPECT_EQ(::stat(strPath.c_str(), &st), 0) << strPath;
        return st.st_mode & 07777;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path m_dir;
};

// Sets the umask for one scope.
class CUmask {
public:
    explicit CUmask(mode_t mask) : m_old(::umask(mask)) {}
    ~CUmask() { ::umask(m_old); }

private:
    mode_t m_old;
};

}  // namespace

TEST_F(AtomicFileTest, NewFileTakesItsModeFromTheUmaskAndAnOldFileKeepsItsOwn)
{
    struct Case {
        mode_t umask;
        mode_t expected;
    };
    for (const Case& c : {Case {022, 0644}, Case {077, 0600}, Case {0, 0666}, Case {027, 0640}}) {
        CUmask mask(c.umask);
        const std::string strPath = PathOf("new-" + std::to_string(c.umask));
        ASSERT_TRUE(platform::WriteFileAtomically(strPath, "x"));
        EXPECT_EQ(ModeOf(strPath), c.expected) << std::oct << c.umask;
    }

    CUmask mask(022);
    const std::string strPath = PathOf("old");
    for (mode_t mode : {mode_t {0600}, mode_t {0640}, mode_t {0604}, mode_t {0664}, mode_t {0200}}) {
        ASSERT_TRUE(platform::WriteFileAtomically(strPath, "before"));
        ASSERT_EQ(::chmod(strPath.c_str(), mode), 0);
        ASSERT_TRUE(platform::WriteFileAtomically(strPath, "after"));
        EXPECT_EQ(ModeOf(strPath), mode) << std::oct << mode;
        ::chmod(strPath.c_str(), 0644);
        EXPECT_EQ(Read(strPath), "after");
    }
}

TEST_F(AtomicFileTest, SymbolicLinksAreWrittenThroughAndStayLinks)
{
    fs::create_directories(m_dir / "real");
    const std::string strFile = PathOf("real/data.tv2");
    ASSERT_TRUE(platform::WriteFileAtomically(strFile, "old"));
    ASSERT_EQ(::chmod(strFile.c_str(), 0640), 0);

    // A relative link in another folder, and a link to that link.
    fs::create_symlink("real/data.tv2", m_dir / "link.tv2");
    fs::create_symlink(m_dir / "link.tv2", m_dir / "second.tv2");
    ASSERT_TRUE(platform::WriteFileAtomically(PathOf("link.tv2"), "through the link"));
    EXPECT_TRUE(fs::is_symlink(m_dir / "link.tv2"));
    EXPECT_EQ(Read(strFile), "through the link");
    EXPECT_EQ(ModeOf(strFile), 0640u);
    ASSERT_TRUE(platform::WriteFileAtomically(PathOf("second.tv2"), "two links"));
    EXPECT_TRUE(fs::is_symlink(m_dir / "second.tv2"));
    EXPECT_TRUE(fs::is_symlink(m_dir / "link.tv2"));
    EXPECT_EQ(Read(strFile), "two links");
    // The temporary lay beside the file, not beside the link: nothing else
    // appeared in either folder.
    EXPECT_EQ(Names(), (std::vector<std::string> {"link.tv2", "real", "second.tv2"}));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir / "real"), fs::directory_iterator()), 1);

    // A link to a file that does not exist yet makes the file.
    fs::create_symlink("real/new.tv2", m_dir / "dangling.tv2");
    ASSERT_TRUE(platform::WriteFileAtomically(PathOf("dangling.tv2"), "made"));
    EXPECT_TRUE(fs::is_symlink(m_dir / "dangling.tv2"));
    EXPECT_EQ(Read(PathOf("real/new.tv2")), "made");

    // A loop of links is refused and makes nothing.
    fs::create_symlink("loop-b", m_dir / "loop-a");
    fs::create_symlink("loop-a", m_dir / "loop-b");
    errno = 0;
    EXPECT_FALSE(platform::WriteFileAtomically(PathOf("loop-a"), "x"));
    EXPECT_EQ(errno, ELOOP);
    EXPECT_TRUE(fs::is_symlink(m_dir / "loop-a"));
}

TEST_F(AtomicFileTest, TheFolderIsFlushedAfterTheRenameAndTheFileBeforeIt)
{
    fs::create_directories(m_dir / "real");
    const std::string strFile = PathOf("real/state.json");
    ASSERT_TRUE(platform::WriteFileAtomically(strFile, "old"));
    fs::create_symlink("real/state.json", m_dir / "state.json");

    struct Flush {
        bool bFolder;
        ino_t ino;
        std::string strTargetThen;
    };
    std::vector<Flush> flushes;
    platform::AtomicWriteHooks hooks;
    hooks.sync = [&](int fd) {
        struct stat st {};
        ::fstat(fd, &st);
        flushes.push_back({S_ISDIR(st.st_mode), st.st_ino, Read(strFile)});
        return ::fsync(fd);
    };
    platform::SetAtomicWriteHooks(hooks);
    ASSERT_TRUE(platform::WriteFileAtomically(PathOf("state.json"), "new"));
    platform::SetAtomicWriteHooks({});

    ASSERT_EQ(flushes.size(), 2u);
    // The temporary file is flushed while the old content is still in place.
    EXPECT_FALSE(flushes[0].bFolder);
    EXPECT_EQ(flushes[0].strTargetThen, "old");
    // Then the folder that holds the file (not the link) with the rename done.
    struct stat folder {};
    ASSERT_EQ(::stat((m_dir / "real").c_str(), &folder), 0);
    EXPECT_TRUE(flushes[1].bFolder);
    EXPECT_EQ(flushes[1].ino, folder.st_ino);
    EXPECT_EQ(flushes[1].strTargetThen, "new");

    // A failing flush of the file fails the write and keeps the old file.
    hooks.sync = [](int) {
        errno = EIO;
        return -1;
    };
    platform::SetAtomicWriteHooks(hooks);
    errno = 0;
    EXPECT_FALSE(platform::WriteFileAtomically(strFile, "lost"));
    EXPECT_EQ(errno, EIO);
    platform::SetAtomicWriteHooks({});
    EXPECT_EQ(Read(strFile), "new");
    EXPECT_TRUE(platform::FindAtomicWriteTemporaries(strFile).empty());
}

TEST_F(AtomicFileTest, TargetsThatMayNotBeReplacedAreRefusedAndStayAsTheyWere)
{
    const std::string strFile = PathOf("kept.tv2");
    for (mode_t mode : {mode_t {0444}, mode_t {0000}, mode_t {0555}}) {
        ASSERT_TRUE(platform::WriteFileAtomically(strFile, "kept"));
        ASSERT_EQ(::chmod(strFile.c_str(), mode), 0);
        errno = 0;
        EXPECT_FALSE(platform::WriteFileAtomically(strFile, "replaced")) << std::oct << mode;
        EXPECT_EQ(errno, EACCES);
        EXPECT_EQ(ModeOf(strFile), mode);
        ::chmod(strFile.c_str(), 0644);
        EXPECT_EQ(Read(strFile), "kept");
    }
    // Through a link as well.
    ASSERT_EQ(::chmod(strFile.c_str(), 0444), 0);
    fs::create_symlink("kept.tv2", m_dir / "link.tv2");
    EXPECT_FALSE(platform::WriteFileAtomically(PathOf("link.tv2"), "replaced"));
    ::chmod(strFile.c_str(), 0644);
    EXPECT_EQ(Read(strFile), "kept");

    // A folder, a pipe, a path below a file, a missing folder.
    fs::create_directories(m_dir / "folder" / "inner");
    errno = 0;
    EXPECT_FALSE(platform::WriteFileAtomically(PathOf("folder"), "x"));
    EXPECT_EQ(errno, EISDIR);
    ASSERT_EQ(::mkfifo(PathOf("pipe").c_str(), 0644), 0);
    EXPECT_FALSE(platform::WriteFileAtomically(PathOf("pipe"), "x"));
    EXPECT_FALSE(platform::WriteFileAtomically(PathOf("kept.tv2/x"), "x"));
    EXPECT_FALSE(platform::WriteFileAtomically(PathOf("missing/x"), "x"));
    EXPECT_FALSE(platform::WriteFileAtomically("", "x"));
    EXPECT_EQ(Names(), (std::vector<std::string> {"folder", "kept.tv2", "link.tv2", "pipe"}));
    // Why, as told before writing.
    EXPECT_EQ(platform::WhyNotWritable(PathOf("folder")), EISDIR);
    EXPECT_EQ(platform::WhyNotWritable(PathOf("kept.tv2/x")), ENOTDIR);
    EXPECT_EQ(platform::WhyNotWritable(PathOf("missing/x")), ENOENT);
    EXPECT_EQ(platform::WhyNotWritable(""), ENOENT);
    EXPECT_EQ(platform::WhyNotWritable(PathOf("new.tv2")), 0);
    EXPECT_EQ(platform::WhyNotWritable(PathOf("kept.tv2")), 0);

    // A folder the process may not write into (root may).
    if (::geteuid() != 0) {
        fs::create_directories(m_dir / "locked");
        ASSERT_TRUE(platform::WriteFileAtomically(PathOf("locked/x"), "kept"));
        ASSERT_EQ(::chmod((m_dir / "locked").c_str(), 0555), 0);
        EXPECT_FALSE(platform::WriteFileAtomically(PathOf("locked/x"), "replaced"));
        EXPECT_EQ(platform::WhyNotWritable(PathOf("locked/y")), EACCES);
        ::chmod((m_dir / "locked").c_str(), 0755);
        EXPECT_EQ(Read(PathOf("locked/x")), "kept");
    }
}

TEST_F(AtomicFileTest, AWriteStoppedBeforeItsRenameLeavesTheOldFileAndTheNextWriteClearsUp)
{
    const std::string strFile = PathOf("device.state");
    ASSERT_TRUE(platform::WriteFileAtomically(strFile, "old content"));
    // Files of the user that only look alike stay.
    for (const char* pszName : {"device.state.tmp1", "device.state.tmpABCDEFG", "device.state.tmpAB-DEF",
                                "other.state.tmpABCDEF", "device.state.bak"})
        ASSERT_TRUE(platform::WriteFileAtomically(PathOf(pszName), "mine"));
    {
        crashtest::CStopBeforeRename stop;
        for (int i = 0; i < 3; ++i) {
            errno = 0;
            EXPECT_FALSE(platform::WriteFileAtomically(strFile, "new content " + std::to_string(i)));
            EXPECT_EQ(errno, ECANCELED);
        }
        ASSERT_EQ(stop.Temporaries().size(), 3u);
        // Stopped where a killed process stops: the old file whole, the
        // temporaries complete beside it.
        EXPECT_EQ(Read(strFile), "old content");
        EXPECT_EQ(Read(stop.Temporaries()[2]), "new content 2");
        EXPECT_EQ(platform::FindAtomicWriteTemporaries(strFile).size(), 3u);
    }
    ASSERT_TRUE(platform::WriteFileAtomically(strFile, "newer content"));
    EXPECT_EQ(Read(strFile), "newer content");
    EXPECT_TRUE(platform::FindAtomicWriteTemporaries(strFile).empty());
    EXPECT_EQ(Names(), (std::vector<std::string> {"device.state", "device.state.bak", "device.state.tmp1",
                                                   "device.state.tmpAB-DEF", "device.state.tmpABCDEFG",
                                                   "other.state.tmpABCDEF"}));
}

TEST_F(AtomicFileTest, TheClearUpLeavesTheTemporaryOfAWriteInProgress)
{
    const std::string strFile = PathOf("registry.json");
    ASSERT_TRUE(platform::WriteFileAtomically(strFile, "0"));
    // While the first write waits before its rename, a second write of the
    // same file runs to its end and clears up beside it.
    bool bInner = false;
    bool bInnerWritten = false;
    std::string strOuterTemp;
    platform::AtomicWriteHooks hooks;
    hooks.beforeRename = [&](const std::string& strTemp) {
        if (bInner)
            return true;
        strOuterTemp = strTemp;
        bInner = true;
        bInnerWritten = platform::WriteFileAtomically(strFile, "inner");
        EXPECT_TRUE(fs::exists(strTemp)) << "the clear-up took a write in progress for a left-over";
        return true;
    };
    platform::SetAtomicWriteHooks(hooks);
    EXPECT_TRUE(platform::WriteFileAtomically(strFile, "outer"));
    platform::SetAtomicWriteHooks({});
    EXPECT_TRUE(bInnerWritten);
    EXPECT_EQ(Read(strFile), "outer");
    EXPECT_TRUE(platform::FindAtomicWriteTemporaries(strFile).empty());
}

TEST_F(AtomicFileTest, AKilledWriterLeavesTheOldFileOrTheNewOneWholeAndNoTemporaryAfterTheNextWrite)
{
    const std::string strFile = PathOf("data.tv2");
    // Contents of different lengths, so that a mix of two shows.
    const std::vector<std::string> contents = {std::string(100, 'a'), std::string(70000, 'b'),
                                               std::string(3000, 'c')};
    ASSERT_TRUE(platform::WriteFileAtomically(strFile, contents[0]));
    std::mt19937 random(7);
    for (int nRound = 0; nRound < 20; ++nRound) {
        crashtest::KillWhileWriting(
            [&](unsigned i) { return platform::WriteFileAtomically(strFile, contents[i % contents.size()]); },
            random);
        const std::string strNow = Read(strFile);
        EXPECT_TRUE(strNow == contents[0] || strNow == contents[1] || strNow == contents[2])
            << "round " << nRound << ": " << strNow.size() << " bytes";
        ASSERT_TRUE(platform::WriteFileAtomically(strFile, contents[0]));
        EXPECT_TRUE(platform::FindAtomicWriteTemporaries(strFile).empty()) << "round " << nRound;
    }
    EXPECT_EQ(Names(), (std::vector<std::string> {"data.tv2"}));
}

// A new file never replaces what came to its place while it was written.
TEST_F(AtomicFileTest, ANewFileNeverReplacesWhatCameThereMeanwhile)
{
    const std::string strPath = PathOf("device.state");
    platform::AtomicWriteHooks hooks;
    hooks.beforeRename = [&strPath](const std::string&) { return ::symlink("theirs", strPath.c_str()) == 0; };
    platform::SetAtomicWriteHooks(hooks);
    errno = 0;
    EXPECT_FALSE(platform::CreateFileAtomically(strPath, "ours"));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_TRUE(fs::is_symlink(strPath));
    EXPECT_EQ(Names(), std::vector<std::string> {"device.state"});
    platform::SetAtomicWriteHooks({});
    ASSERT_TRUE(platform::CreateFileAtomically(PathOf("new.state"), "ours"));
    EXPECT_EQ(Read(PathOf("new.state")), "ours");
}

TEST_F(AtomicFileTest, WholeFileReadsStopAtTheLimitAndReadOnlyRegularFiles)
{
    const std::string strFile = PathOf("big.tv2");
    // A sparse file: its size costs no disk.
    {
        const int fd = ::open(strFile.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, 1 << 20), 0);
        ::close(fd);
    }
    errno = 0;
    EXPECT_FALSE(platform::ReadWholeFile(strFile, (1 << 20) - 1));
    EXPECT_EQ(errno, EFBIG);
    auto bytes = platform::ReadWholeFile(strFile, 1 << 20);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), std::size_t {1 << 20});
    EXPECT_TRUE(platform::ReadWholeFile(strFile));

    // A pipe neither blocks nor counts as a file; a device, a folder, a
    // missing file and the empty path give nothing.
    ASSERT_EQ(::mkfifo(PathOf("pipe").c_str(), 0644), 0);
    errno = 0;
    EXPECT_FALSE(platform::ReadWholeFile(PathOf("pipe")));
    EXPECT_EQ(errno, EINVAL);
    EXPECT_FALSE(platform::ReadWholeFile("/dev/zero", 4096));
    EXPECT_FALSE(platform::ReadWholeFile(m_dir.string()));
    EXPECT_FALSE(platform::ReadWholeFile(PathOf("none")));
    EXPECT_FALSE(platform::ReadWholeFile(""));
    // An empty file is read as empty.
    ASSERT_TRUE(platform::WriteFileAtomically(PathOf("empty"), ""));
    ASSERT_TRUE(platform::ReadWholeFile(PathOf("empty")));
    EXPECT_TRUE(platform::ReadWholeFile(PathOf("empty"))->empty());
}
