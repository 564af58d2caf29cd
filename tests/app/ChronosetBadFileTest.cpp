// Files a user may hand the central object: data files that are empty,
// truncated, foreign, oversized or no files at all, and save and export
// targets that may not be written. Each fails with its log line, and neither
// the open parameter set nor any file on disk changes.

#include "app/Chronoset.h"
#include "model/ArchiveSchema.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "platform/archive/Archive.h"
#include "platform/base/AtomicFile.h"
#include "tools/SampleData.h"

#include "tests/support/CrashTestSupport.h"
#include "tests/support/StandaloneGlobals.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

class ChronosetBadFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = crashtest::ScratchDirectory("chronoset-bad");
        // The set the user has open.
        BuildSampleParameterSet(m_open);
        g_pChronoset = &m_open;
        m_openBefore = Snapshot(m_open);
    }
    void TearDown() override
    {
        for (const auto& entry : fs::recursive_directory_iterator(m_dir))
            ::chmod(entry.path().c_str(), 0755);
        fs::remove_all(m_dir);
    }

    std::string PathOf(const std::string& strName) const { return (m_dir / strName).string(); }
    static Bytes Read(const std::string& strPath) { return platform::ReadWholeFile(strPath).value_or(Bytes {}); }
    void Write(const std::string& strName, const Bytes& bytes) const
    {
        ASSERT_TRUE(platform::WriteFileAtomically(PathOf(strName), bytes.data(), bytes.size()));
    }
    // What a set holds, as its data file and its export.
    static std::string Snapshot(CChronoset& set)
    {
        CArchive ar;
        set.StoreToArchive(ar, nullptr);
        std::string strExport;
        set.ExportText(nullptr, strExport);
        return std::string(ar.GetBuffer().begin(), ar.GetBuffer().end()) + strExport;
    }
    // Every file below the folder with its bytes and mode.
    std::map<std::string, std::pair<std::string, unsigned>> Disk() const
    {
        std::map<std::string, std::pair<std::string, unsigned>> files;
        for (const auto& entry : fs::recursive_directory_iterator(m_dir)) {
            struct stat st {};
            ::lstat(entry.path().c_str(), &st);
            std::string strBytes;
            if (S_ISREG(st.st_mode) && st.st_size < (1 << 20)) {
                ::chmod(entry.path().c_str(), st.st_mode | 0400);
                const Bytes bytes = Read(entry.path().string());
                ::chmod(entry.path().c_str(), st.st_mode & 07777);
                strBytes.assign(bytes.begin(), bytes.end());
            }
            files[entry.path().string()] = {strBytes, static_cast<unsigned>(st.st_mode)};
        }
        return files;
    }
    static std::string LastLogLine() { return g_szLogText; }
    static bool LoggedLast(const std::string& strText)
    {
        const std::string strLine = LastLogLine();
        return strLine.size() >= strText.size() &&
               strLine.compare(strLine.size() - strText.size(), strText.size(), strText) == 0;
    }

    CChronoset m_open;
    std::string m_openBefore;
    fs::path m_dir;

private:
    testsupport::CStandaloneGlobals m_globals;
};

}  // namespace

TEST_F(ChronosetBadFileTest, DataFilesThatDoNotLoadLeaveTheOpenSetAndTheDisk)
{
    ASSERT_EQ(m_open.SaveToFile(PathOf("good.tv2"), nullptr), 1);
    const Bytes good = Read(PathOf("good.tv2"));
    ASSERT_GT(good.size(), 100u);
    std::string strExport;
    m_open.ExportText(nullptr, strExport);

    std::vector<std::pair<std::string, Bytes>> files = {
        {"empty.tv2", {}},
        {"header-only.tv2", Bytes(good.begin(), good.begin() + 4)},
        {"half.tv2", Bytes(good.begin(), good.begin() + static_cast<long>(good.size() / 2))},
        {"one-short.tv2", Bytes(good.begin(), good.end() - 1)},
        {"export.tv2", Bytes(strExport.begin(), strExport.end())},
        {"picture.tv2", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'}},
        {"project.tv2", Bytes({'{', '"', 'f', 'o', 'r', 'm', 'a', 't', '"', ':', '1', '}'})},
        // What a failed disk or a copy tool leaves: it reads as an empty set
        // but for its schema.
        {"zeros.tv2", Bytes(good.size(), 0)},
        {"zeros-4k.tv2", Bytes(4096, 0)},
    };
    // The good file under a schema no file ever carried.
    for (const DWORD nSchema : {0x0u, 0xFFFFu, 0x10008u, 0x20001u, 0xFFFFFFFFu}) {
        Bytes foreign = good;
        for (int i = 0; i < 4; ++i)
            foreign[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(nSchema >> (8 * i));
        files.push_back({"schema" + std::to_string(nSchema) + ".tv2", foreign});
    }
    std::mt19937 random(3);
    for (int i = 0; i < 20; ++i) {
        Bytes noise(1 + random() % 4096);
        for (auto& b : noise)
            b = static_cast<std::uint8_t>(random());
        files.push_back({"noise" + std::to_string(i) + ".tv2", noise});
    }
    // Every tenth length of the good file cut short.
    for (std::size_t n = 5; n < good.size(); n += good.size() / 10)
        files.push_back({"cut" + std::to_string(n) + ".tv2", Bytes(good.begin(), good.begin() + static_cast<long>(n))});
    for (const auto& [strName, bytes] : files)
        Write(strName, bytes);
    // Larger than any parameter set can be (a sparse file: no disk used),
    // starting like the good file.
    {
        Write("huge.tv2", good);
        const int fd = ::open(PathOf("huge.tv2").c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(CChronoset::MAX_DATA_FILE_SIZE) + 1), 0);
        ::close(fd);
        files.push_back({"huge.tv2", {}});
    }
    // No files at all.
    fs::create_directories(m_dir / "folder.tv2");
    ASSERT_EQ(::mkfifo(PathOf("pipe.tv2").c_str(), 0644), 0);
    files.push_back({"folder.tv2", {}});
    files.push_back({"pipe.tv2", {}});
    files.push_back({"missing.tv2", {}});

    const auto diskBefore = Disk();
    for (const auto& [strName, bytes] : files) {
        CChronoset loaded;
        EXPECT_EQ(loaded.LoadFromFile(PathOf(strName), nullptr), 0) << strName;
        EXPECT_EQ(g_pChronoset, &m_open);
    }
    EXPECT_EQ(Snapshot(m_open), m_openBefore) << "a failed load changed the open set";
    EXPECT_EQ(Disk(), diskBefore) << "a failed load changed a file";

    // The good file still loads, and one exactly at the limit is read.
    CChronoset loaded;
    EXPECT_EQ(loaded.LoadFromFile(PathOf("good.tv2"), nullptr), 1);
    g_pChronoset = &m_open;
    EXPECT_EQ(Snapshot(loaded), m_openBefore);
}

TEST_F(ChronosetBadFileTest, BytesAfterTheLastRecordAreLoggedNotRefused)
{
    ASSERT_EQ(m_open.SaveToFile(PathOf("good.tv2"), nullptr), 1);
    Bytes file = Read(PathOf("good.tv2"));
    file.insert(file.end(), {0, 0, 0});
    Write("trailing.tv2", file);
    CChronoset loaded;
    EXPECT_EQ(loaded.LoadFromFile(PathOf("trailing.tv2"), nullptr), 1);
    EXPECT_TRUE(LoggedLast("3 bytes after the last record of the data file are ignored")) << LastLogLine();
    g_pChronoset = &m_open;
    EXPECT_EQ(Snapshot(loaded), m_openBefore);
}

TEST_F(ChronosetBadFileTest, TheLargestParameterSetIsFarBelowTheDataFileLimit)
{
    CChronoset largest;
    g_pChronoset = &largest;
    BuildMaximalParameterSet(largest);
    ASSERT_EQ(largest.SaveToFile(PathOf("largest.tv2"), nullptr), 1);
    EXPECT_LT(Read(PathOf("largest.tv2")).size() * 20, CChronoset::MAX_DATA_FILE_SIZE);
    CChronoset loaded;
    EXPECT_EQ(loaded.LoadFromFile(PathOf("largest.tv2"), nullptr), 1);
}

TEST_F(ChronosetBadFileTest, OversizedDataFileIsRefusedWithALogLineBeforeItIsRead)
{
    const std::string strPath = PathOf("huge.tv2");
    const int fd = ::open(strPath.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(CChronoset::MAX_DATA_FILE_SIZE) + 1), 0);
    ::close(fd);
    CChronoset loaded;
    EXPECT_EQ(loaded.LoadFromFile(strPath, nullptr), 0);
    EXPECT_NE(LastLogLine().find("Failed to read file " + strPath), std::string::npos) << LastLogLine();
    EXPECT_NE(LastLogLine().find("too large"), std::string::npos) << LastLogLine();
    EXPECT_EQ(loaded.GetFilePath(), "");
}

TEST_F(ChronosetBadFileTest, SaveAndExportToTargetsThatMayNotBeWrittenFailAndChangeNothing)
{
    ASSERT_EQ(m_open.SaveToFile(PathOf("current.tv2"), nullptr), 1);
    m_openBefore = Snapshot(m_open);
    Write("read-only.tv2", {1, 2, 3});
    ::chmod(PathOf("read-only.tv2").c_str(), 0444);
    Write("unreadable.tv2", {4, 5, 6});
    ::chmod(PathOf("unreadable.tv2").c_str(), 0000);
    Write("read-only.csv", {'"', 'x', '"'});
    ::chmod(PathOf("read-only.csv").c_str(), 0444);
    Write("unreadable.csv", {'"', 'y', '"'});
    ::chmod(PathOf("unreadable.csv").c_str(), 0000);
    fs::create_symlink("read-only.tv2", m_dir / "link.tv2");
    fs::create_symlink("unreadable.csv", m_dir / "link.csv");
    fs::create_directories(m_dir / "folder.tv2");
    fs::create_directories(m_dir / "folder.csv");
    std::vector<std::string> targets = {"read-only", "unreadable", "link", "folder", "missing/x"};
    if (::geteuid() != 0) {
        // A folder the user may not write into; root may.
        fs::create_directories(m_dir / "locked");
        ::chmod((m_dir / "locked").c_str(), 0555);
        targets.push_back("locked/x");
    }

    const auto diskBefore = Disk();
    for (const std::string& strTarget : targets) {
        const std::string strData = PathOf(strTarget + ".tv2");
        EXPECT_EQ(m_open.SaveToFile(strData, nullptr), 0) << strTarget;
        EXPECT_TRUE(LoggedLast(": Failed to open/create file " + strData)) << LastLogLine();
        const std::string strCsv = PathOf(strTarget + ".csv");
        EXPECT_EQ(m_open.ExportToFile(strCsv, nullptr), 0) << strTarget;
        EXPECT_TRUE(LoggedLast(": Failed to open/create file " + strCsv)) << LastLogLine();
    }
    EXPECT_EQ(Disk(), diskBefore);
    EXPECT_EQ(m_open.GetFilePath(), PathOf("current.tv2"));
    EXPECT_EQ(Snapshot(m_open), m_openBefore);
}
