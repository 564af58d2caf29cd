#include "platform/base/AtomicFile.h"
#include "platform/base/FileSizeLimit.h"
#include "platform/base/PrivateProfile.h"
#include "tests/support/CrashTestSupport.h"
#include "tests/support/ProfileLockHolder.h"

#include <array>
#include <filesystem>
#include <initializer_list>
#include <gtest/gtest.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;
namespace fs = std::filesystem;

namespace {

class PrivateProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("ini-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "test.ini").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    void Put(const std::string& text) { ASSERT_TRUE(WriteFileAtomically(path, text)); }
    std::string Contents() const
    {
        auto bytes = ReadWholeFile(path);
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
    }

    // Writes made while another program holds the file's lock, each of
    // which fails; the caller counts the lock's waits.
    void WriteBehindALock(std::initializer_list<std::array<const char*, 3>> writes)
    {
        locktest::CLockHolder holder(path + ".lock");
        ASSERT_TRUE(holder.Holds());
        for (const auto& [pszSection, pszKey, pszValue] : writes)
            EXPECT_FALSE(WritePrivateProfileString(pszSection, pszKey, pszValue, path)) << pszSection;
    }

    fs::path dir;
    std::string path;
};

}  // namespace

TEST_F(PrivateProfileTest, LookupsIgnoreCaseAndTrimValues)
{
    Put("; settings\n[Common]\nDebugMode = 1 \nToolTips=0\n[SerialCommunication]\r\nConnectionName=\"  COM1 \"\n");
    EXPECT_EQ(GetPrivateProfileInt("common", "DEBUGMODE", 7, path), 1);
    EXPECT_EQ(GetPrivateProfileInt("COMMON", "tooltips", 1, path), 0);
    EXPECT_EQ(GetPrivateProfileString("serialcommunication", "connectionname", "", path), "  COM1 ");
}

TEST_F(PrivateProfileTest, DefaultsWhenFileSectionOrKeyIsMissing)
{
    EXPECT_EQ(GetPrivateProfileString("LANGUAGE", "LAST", "0407", path), "0407");
    EXPECT_EQ(GetPrivateProfileInt("Common", "GroupAddressLevels", 3, path), 3);
    Put("[Common]\nOther=5\n");
    EXPECT_EQ(GetPrivateProfileInt("Missing", "Other", 9, path), 9);
    EXPECT_EQ(GetPrivateProfileInt("Common", "Missing", 9, path), 9);
    EXPECT_EQ(GetPrivateProfileString("Common", "Missing", "dflt", path), "dflt");
}

TEST_F(PrivateProfileTest, IntegersWrapAt32BitsAndTakeLeadingDigits)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%u", static_cast<unsigned>(-8));
    ASSERT_TRUE(WritePrivateProfileString("ParameterDialog", "Left", buf, path));
    EXPECT_EQ(GetPrivateProfileInt("ParameterDialog", "Left", 0, path), -8);
    Put("[S]\na=-12\nb=42px\nc=px\nd=\ne=+7\n");
    EXPECT_EQ(GetPrivateProfileInt("S", "a", 0, path), -12);
    EXPECT_EQ(GetPrivateProfileInt("S", "b", 0, path), 42);
    EXPECT_EQ(GetPrivateProfileInt("S", "c", 5, path), 0);
    EXPECT_EQ(GetPrivateProfileInt("S", "d", 5, path), 0);
    EXPECT_EQ(GetPrivateProfileInt("S", "e", 5, path), 7);
}

TEST_F(PrivateProfileTest, StringsAreCutToTheCallersBuffer)
{
    Put("[S]\nk=abcdef\nu=\xC3\xA4\xC3\xB6\n");
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", path, 5), "abcd");
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", path, 0), "abcdef");
    EXPECT_EQ(GetPrivateProfileString("S", "missing", "0407xyz", path, 5), "0407");
    // Never half a UTF-8 character.
    EXPECT_EQ(GetPrivateProfileString("S", "u", "", path, 4), "\xC3\xA4");
}

TEST_F(PrivateProfileTest, WritingIntoAMissingFileCreatesFileAndSection)
{
    ASSERT_TRUE(WritePrivateProfileString("LANGUAGE", "LAST", "0409", path));
    EXPECT_EQ(Contents(), "[LANGUAGE]\nLAST=0409\n");
    ASSERT_TRUE(WritePrivateProfileString("Common", "ToolTips", "0", path));
    EXPECT_EQ(GetPrivateProfileString("language", "last", "", path), "0409");
    EXPECT_EQ(GetPrivateProfileInt("common", "tooltips", 1, path), 0);
}

TEST_F(PrivateProfileTest, WritingKeepsCommentsOtherLinesAndLineEnds)
{
    Put("; top comment\r\n[A]\r\nx=1\r\n# note\r\ngarbage line\r\n\r\n[B]\r\ny=2\r\n");
    ASSERT_TRUE(WritePrivateProfileString("a", "X", "10", path));
    ASSERT_TRUE(WritePrivateProfileString("A", "z", "3", path));
    ASSERT_TRUE(WritePrivateProfileString("B", "y", "20", path));
    EXPECT_EQ(Contents(), "; top comment\r\n[A]\r\nX=10\r\n# note\r\ngarbage line\r\nz=3\r\n\r\n[B]\r\ny=20\r\n");
}

TEST_F(PrivateProfileTest, NullValueRemovesKeyAndNullKeyRemovesSection)
{
    Put("[A]\nx=1\ny=2\n[B]\nz=3\n");
    ASSERT_TRUE(WritePrivateProfileString("A", "x", nullptr, path));
    EXPECT_EQ(Contents(), "[A]\ny=2\n[B]\nz=3\n");
    ASSERT_TRUE(WritePrivateProfileString("a", nullptr, nullptr, path));
    EXPECT_EQ(Contents(), "[B]\nz=3\n");
}

TEST_F(PrivateProfileTest, MalformedLinesAreSkippedNotFatal)
{
    Put("[Broken\nk=bad\n=novalue\n[Good]\n  \nk=ok\n");
    EXPECT_EQ(GetPrivateProfileString("Broken", "k", "dflt", path), "dflt");
    EXPECT_EQ(GetPrivateProfileString("Good", "k", "", path), "ok");
}

TEST_F(PrivateProfileTest, FailedWriteLeavesTheOldFile)
{
    Put("[A]\nx=1\n");
    // A file-size limit makes the write fail even for root; it fails as a
    // full disk would, rather than end the process.
    const int nStatus = crashtest::RunUnderFileSizeLimit(16, [&] {
        FailWritesPastFileSizeLimit();
        const bool bWritten = WritePrivateProfileString("A", "x", "a value far too long for the limit", path);
        return bWritten ? 1 : errno == EFBIG ? 0 : 2;
    });
    EXPECT_EQ(crashtest::DescribeStatus(nStatus), "exited with 0");
    EXPECT_EQ(Contents(), "[A]\nx=1\n");
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_EQ(entry.path().filename(), "test.ini") << "temporary file left behind";
}

TEST_F(PrivateProfileTest, WriteIntoMissingFolderFails)
{
    EXPECT_FALSE(WritePrivateProfileString("A", "x", "1", (dir / "nope" / "a.ini").string()));
    EXPECT_FALSE(fs::exists(dir / "nope"));
}

// Found by fuzzing the connection record: a chosen connection whose name
// ended in a blank was written as it is and read back without the blank.
TEST_F(PrivateProfileTest, ValuesWithBlanksOrQuotesAtTheEndsReadBackAsWritten)
{
    for (const char* value : {"Simulated KNX device ", " /tmp/device.state", "\ttab", "\"quoted\"", "'single'",
                              "\"", "a \"b\" c", ""}) {
        ASSERT_TRUE(WritePrivateProfileString("SerialCommunication", "ConnectionName", value, path)) << value;
        EXPECT_EQ(GetPrivateProfileString("SerialCommunication", "ConnectionName", "<missing>", path), value);
    }
    ASSERT_TRUE(WritePrivateProfileString("SerialCommunication", "ConnectionName", "plain", path));
    EXPECT_EQ(Contents(), "[SerialCommunication]\nConnectionName=plain\n");
}

// A line end in a value would start lines of its own (a key or a section
// the program never wrote); such a write is refused and changes nothing.
TEST_F(PrivateProfileTest, WhatCannotStandInOneLineIsRefused)
{
    Put("[SerialCommunication]\nConnectionParam=/tmp/a.state\n");
    EXPECT_FALSE(WritePrivateProfileString("SerialCommunication", "ConnectionParam", "/tmp/a\n[Common]\nDebugMode=1",
                                           path));
    EXPECT_FALSE(WritePrivateProfileString("SerialCommunication", "ConnectionParam", "/tmp/b\r", path));
    EXPECT_FALSE(WritePrivateProfileString("Serial]Communication", "x", "1", path));
    EXPECT_FALSE(WritePrivateProfileString(std::string_view("Serial\0Communication", 20), "x", "1", path));
    EXPECT_FALSE(WritePrivateProfileString("Common\n", "x", "1", path));
    EXPECT_FALSE(WritePrivateProfileString(" Common", "x", "1", path));
    EXPECT_FALSE(WritePrivateProfileString("Common", "a=b", "1", path));
    EXPECT_FALSE(WritePrivateProfileString("Common", ";x", "1", path));
    EXPECT_FALSE(WritePrivateProfileString("Common", "[x]", "1", path));
    EXPECT_FALSE(WritePrivateProfileString("Common", "x ", "1", path));
    EXPECT_EQ(Contents(), "[SerialCommunication]\nConnectionParam=/tmp/a.state\n");
    EXPECT_EQ(GetPrivateProfileInt("Common", "DebugMode", 0, path), 0);
}

// Found by fuzzing the settings: a value holding a NUL byte was read whole,
// but written back only up to the NUL, so the connection settings changed
// when the program saved them.
TEST_F(PrivateProfileTest, ALineEndsAtANulByte)
{
    using namespace std::string_literals;
    Put("[SerialCommunication]\nConnectionParam=/tmp/device.st\0ate \nConnectionName = \"a\0b\"\n"s);
    const std::string param = GetPrivateProfileString("SerialCommunication", "ConnectionParam", "", path);
    EXPECT_EQ(param, "/tmp/device.st");
    EXPECT_EQ(GetPrivateProfileString("SerialCommunication", "ConnectionName", "", path), "\"a");
    ASSERT_TRUE(WritePrivateProfileString("SerialCommunication", "ConnectionParam", param.c_str(), path));
    EXPECT_EQ(GetPrivateProfileString("SerialCommunication", "ConnectionParam", "", path), param);
}

namespace {

// Dates the file back, so that its state is no longer one a change within
// the same clock tick could hide: from then on only a change is read.
void Age(const std::string& strPath)
{
    const timespec times[2] = {{0, UTIME_OMIT}, {::time(nullptr) - 60, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, strPath.c_str(), times, 0), 0);
}

// Time stamps kept in steps of the given length, as a file system with
// that granularity keeps them, while it lives.
class CTimestampStep {
public:
    explicit CTimestampStep(long long nNanoseconds) { SetProfileTimestampStep(nNanoseconds); }
    ~CTimestampStep() { SetProfileTimestampStep(0); }
    CTimestampStep(const CTimestampStep&) = delete;
    CTimestampStep& operator=(const CTimestampStep&) = delete;
};

// A step so long that every time stamp of a test falls into the same one:
// a change in place of the same length never shows in the file's identity,
// and every file counts as changed within a step of now. What such a
// change reads is then the doing of that last rule alone.
constexpr long long kOneStepForEverything = 1LL << 62;

// Runs the action and tells how often the disk was read meanwhile.
template <class Action>
unsigned long long ReadsDuring(Action action)
{
    const unsigned long long nBefore = GetProfileIoCounts().nReads;
    action();
    return GetProfileIoCounts().nReads - nBefore;
}

void RewriteInPlace(const std::string& strPath, const char* pszText)
{
    std::FILE* pFile = std::fopen(strPath.c_str(), "r+");
    ASSERT_NE(pFile, nullptr);
    std::fputs(pszText, pFile);
    std::fclose(pFile);
}

}  // namespace

TEST_F(PrivateProfileTest, AnUnchangedFileIsReadOnceAndAnUnchangedValueIsNotWritten)
{
    // With time stamps as fine as they come, the file is old enough at once.
    const CTimestampStep fine(1);
    Put("[Common]\nA=1\n");
    Age(path);
    EXPECT_EQ(GetPrivateProfileInt("Common", "A", 0, path), 1);
    const ProfileIoCounts before = GetProfileIoCounts();
    EXPECT_EQ(GetPrivateProfileInt("Common", "A", 0, path), 1);
    EXPECT_EQ(GetPrivateProfileString("Common", "B", "x", path), "x");
    EXPECT_TRUE(WritePrivateProfileString("Common", "A", "1", path));
    EXPECT_TRUE(WritePrivateProfileString("Common", "B", nullptr, path));
    const ProfileIoCounts after = GetProfileIoCounts();
    EXPECT_EQ(after.nReads, before.nReads);
    EXPECT_EQ(after.nWrites, before.nWrites);
}

TEST_F(PrivateProfileTest, AChangeOnDiskIsReadAndKeptByTheNextWrite)
{
    const CTimestampStep oneStep(kOneStepForEverything);
    Put("[Common]\nA=1\n");
    EXPECT_EQ(GetPrivateProfileInt("Common", "A", 0, path), 1);
    // Another process replaces the file, then one rewrites it in place with
    // the same length within the same time-stamp step.
    Put("[Common]\nA=2\nOther=7\n");
    EXPECT_EQ(GetPrivateProfileInt("Common", "A", 0, path), 2);
    RewriteInPlace(path, "[Common]\nA=3\nOther=8\n");
    int nRead = 0;
    EXPECT_EQ(ReadsDuring([&] { nRead = GetPrivateProfileInt("Common", "A", 0, path); }), 1u);
    EXPECT_EQ(nRead, 3);
    Put("[Common]\nA=3\nOther=9\n");
    EXPECT_TRUE(WritePrivateProfileString("Common", "A", "4", path));
    EXPECT_EQ(Contents(), "[Common]\nA=4\nOther=9\n");
    // Our own write is no more trusted within its step than another's.
    RewriteInPlace(path, "[Common]\nA=5\nOther=9\n");
    EXPECT_EQ(ReadsDuring([&] { nRead = GetPrivateProfileInt("Common", "A", 0, path); }), 1u);
    EXPECT_EQ(nRead, 5);
}

TEST_F(PrivateProfileTest, ABatchWritesItsKeysInOneGoAndKeepsWhatOthersWroteMeanwhile)
{
    Put("[Table]\nColumn1=10\n");
    const ProfileIoCounts before = GetProfileIoCounts();
    {
        CProfileBatch batch(path);
        EXPECT_TRUE(WritePrivateProfileString("Table", "Column1", "20", path));
        EXPECT_TRUE(WritePrivateProfileString("Table", "Column2", "30", path));
        EXPECT_EQ(Contents(), "[Table]\nColumn1=10\n");
        // The batch reads the file as it first looked at it, with its own
        // writes on top.
        EXPECT_EQ(GetPrivateProfileInt("table", "column1", 0, path), 20);
        EXPECT_EQ(GetPrivateProfileInt("Table", "Column3", 5, path), 5);
        Put("[Table]\nColumn1=10\n[Serial]\nGuid=x\n");
        EXPECT_EQ(GetPrivateProfileString("Serial", "Guid", "none", path), "none");
        {
            CProfileBatch inner(path);
            EXPECT_TRUE(WritePrivateProfileString("Table", "Pref1", "1", path));
        }
        EXPECT_TRUE(batch.Commit());
    }
    EXPECT_EQ(GetProfileIoCounts().nWrites, before.nWrites + 1);
    EXPECT_EQ(Contents(), "[Table]\nColumn1=20\nColumn2=30\nPref1=1\n[Serial]\nGuid=x\n");
}

TEST_F(PrivateProfileTest, AFileFarLargerThanAnySettingsIsNeitherReadNorWritten)
{
    std::string strHuge = "[Common]\nA=1\n;" + std::string(kMaxProfileSize, 'x') + "\n";
    Put(strHuge);
    EXPECT_EQ(GetPrivateProfileInt("Common", "A", 5, path), 5);
    EXPECT_TRUE(TakeOversizedProfileNotice(path));
    EXPECT_FALSE(TakeOversizedProfileNotice(path));
    EXPECT_FALSE(WritePrivateProfileString("Common", "A", "2", path));
    EXPECT_EQ(Contents(), strHuge);
    // The refused write is not kept: once the file is small again, its own
    // value is read and written on.
    Put("[Common]\nA=1\n");
    EXPECT_EQ(GetPrivateProfileInt("Common", "A", 5, path), 1);
    EXPECT_TRUE(WritePrivateProfileString("Common", "B", "1", path));
    EXPECT_EQ(Contents(), "[Common]\nA=1\nB=1\n");
}

// On a file system with coarse time stamps, a rewrite in place of the same
// length, with the modification time put back, leaves the file's identity
// as it was; its change time, within one step of now, keeps it from being
// trusted.
TEST_F(PrivateProfileTest, ASameSizeRewriteWithTheOldTimePutBackIsSeenOnCoarseTimeStamps)
{
    const CTimestampStep coarse(kOneStepForEverything);
    Put("[Common]\nA=1\n");
    Age(path);
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    EXPECT_EQ(GetPrivateProfileInt("Common", "A", 0, path), 1);
    RewriteInPlace(path, "[Common]\nA=2\n");
    const timespec times[2] = {{0, UTIME_OMIT}, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    int nRead = 0;
    EXPECT_EQ(ReadsDuring([&] { nRead = GetPrivateProfileInt("Common", "A", 0, path); }), 1u);
    EXPECT_EQ(nRead, 2);
}

// Another process replaces the file in the moment after this one's write:
// what lies at the path then is not taken for what was written.
TEST_F(PrivateProfileTest, AFileReplacedRightAfterOurWriteIsReadAgain)
{
    // Not racy for a moment: the identity alone tells.
    const CTimestampStep fine(1);
    Put("[Common]\nA=1\n");
    AtomicWriteHooks hooks;
    bool bReplaced = false;
    hooks.afterRename = [&bReplaced](const std::string& strPath) {
        if (bReplaced)
            return;
        bReplaced = true;
        // As the other process's own atomic write, without this engine.
        const std::string strOther = strPath + ".other";
        std::FILE* pFile = std::fopen(strOther.c_str(), "w");
        std::fputs("[Common]\nA=3\n", pFile);
        std::fclose(pFile);
        ::rename(strOther.c_str(), strPath.c_str());
    };
    SetAtomicWriteHooks(hooks);
    const bool bWritten = WritePrivateProfileString("Common", "A", "2", path);
    SetAtomicWriteHooks({});
    ASSERT_TRUE(bWritten);
    EXPECT_EQ(GetPrivateProfileInt("Common", "A", 0, path), 3);
}

// Two processes writing different keys of one file at once: the lock around
// each read, merge and replace lets neither lose the other's keys.
TEST_F(PrivateProfileTest, TwoProcessesWritingDifferentKeysLoseNone)
{
    constexpr int kWrites = 300;
    pid_t children[2] = {};
    for (int nChild = 0; nChild < 2; ++nChild) {
        children[nChild] = ::fork();
        ASSERT_GE(children[nChild], 0);
        if (children[nChild] == 0) {
            bool bOk = true;
            for (int i = 0; i < kWrites; ++i) {
                const std::string strKey = "P" + std::to_string(nChild) + "_" + std::to_string(i);
                bOk = WritePrivateProfileString("Keys", strKey.c_str(), "1", path) && bOk;
            }
            ::_exit(bOk ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int nStatus = 0;
        ASSERT_EQ(::waitpid(child, &nStatus, 0), child);
        EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0);
    }
    int nMissing = 0;
    for (int nChild = 0; nChild < 2; ++nChild) {
        for (int i = 0; i < kWrites; ++i) {
            const std::string strKey = "P" + std::to_string(nChild) + "_" + std::to_string(i);
            nMissing += GetPrivateProfileInt("Keys", strKey, 0, path) == 1 ? 0 : 1;
        }
    }
    EXPECT_EQ(nMissing, 0);
    EXPECT_FALSE(fs::exists(path + ".lock"));
}

// Behind another's lock a writer waits once, a bounded time, and fails
// saying so; later writes fail at once while the lock stays, and write once
// it is free. A write that changes nothing takes no lock.
TEST_F(PrivateProfileTest, AWriterHeldOffByAnotherLockWaitsOnceUntilTheLockIsFree)
{
    Put("[Common]\nA=1\n");
    const locktest::CCountedLockWaits waits;
    locktest::CLockHolder holder(path + ".lock");
    ASSERT_TRUE(holder.Holds());
    EXPECT_TRUE(WritePrivateProfileString("Common", "A", "1", path));
    EXPECT_EQ(waits.nWaited, 0);
    EXPECT_FALSE(WritePrivateProfileString("Common", "A", "2", path));
    std::string strReason;
    EXPECT_TRUE(TakeFailedProfileWriteNotice(path, strReason));
    EXPECT_EQ(strReason, "the file is locked by another program");
    EXPECT_FALSE(WritePrivateProfileString("Common", "A", "3", path));
    EXPECT_EQ(waits.nWaited, kProfileLockWaitMilliseconds);
    holder.Release();
    EXPECT_TRUE(WritePrivateProfileString("Common", "A", "4", path));
    EXPECT_EQ(Contents(), "[Common]\nA=4\n");
    locktest::CLockHolder again(path + ".lock");
    EXPECT_FALSE(WritePrivateProfileString("Common", "A", "5", path));
    EXPECT_EQ(waits.nWaited, 2 * kProfileLockWaitMilliseconds);
}

// Writes held off by another's lock are kept: reads see them, and they go
// with the next write that takes the lock, a batch's too, into the file as
// another program left it by then.
TEST_F(PrivateProfileTest, WritesHeldOffByALockGoWithTheNextWriteThatTakesIt)
{
    Put("[A]\nColumn1=10\n[Gone]\nX=1\n");
    const locktest::CCountedLockWaits waits;
    locktest::CLockHolder holder(path + ".lock");
    ASSERT_TRUE(holder.Holds());
    EXPECT_FALSE(WritePrivateProfileString("A", "Column1", "11", path));
    {
        CProfileBatch batch(path);
        EXPECT_TRUE(WritePrivateProfileString("Gone", "X", "2", path));
        EXPECT_TRUE(WritePrivateProfileString("Gone", nullptr, nullptr, path));
        EXPECT_TRUE(WritePrivateProfileString("B", "Column1", "21", path));
        EXPECT_FALSE(batch.Commit());
    }
    EXPECT_EQ(GetPrivateProfileInt("A", "Column1", 0, path), 11);
    EXPECT_EQ(GetPrivateProfileInt("B", "Column1", 0, path), 21);
    EXPECT_EQ(GetPrivateProfileInt("Gone", "X", 0, path), 0);
    EXPECT_EQ(Contents(), "[A]\nColumn1=10\n[Gone]\nX=1\n");
    holder.Release();
    Put("[A]\nColumn1=10\n[Gone]\nX=1\n[Other]\nK=1\n");
    {
        CProfileBatch batch(path);
        EXPECT_TRUE(WritePrivateProfileString("C", "Column1", "31", path));
        EXPECT_TRUE(batch.Commit());
    }
    EXPECT_EQ(Contents(), "[A]\nColumn1=11\n[Other]\nK=1\n[B]\nColumn1=21\n[C]\nColumn1=31\n");
    EXPECT_EQ(waits.nWaited, kProfileLockWaitMilliseconds);
}

// Kept writes give way to what another program wrote after they failed,
// even in the moment before the next write takes the lock: its newer value
// stands and a section it removed stays removed; a kept write whose key
// nobody touched still lands.
TEST_F(PrivateProfileTest, AKeptWriteGivesWayToWhatAnotherProgramWroteSince)
{
    Put("[S]\nK=0\n[Old]\nX=1\n[Changed]\nX=1\n[Mine]\nZ=0\n");
    const locktest::CCountedLockWaits waits;
    WriteBehindALock({{"S", "K", "1"}, {"Old", "X", "5"}, {"Changed", nullptr, nullptr}, {"Mine", "Z", "7"}});
    bool bOtherWrote = false;
    const locktest::CLockCall otherWritesFirst([&](int fd, int nOperation) {
        if (!bOtherWrote)
            bOtherWrote = WriteFileAtomically(path, "[S]\nK=2\n[Changed]\nX=3\n[Mine]\nZ=0\n");
        return ::flock(fd, nOperation);
    });
    EXPECT_TRUE(WritePrivateProfileString("T", "Y", "1", path));
    EXPECT_TRUE(bOtherWrote);
    EXPECT_EQ(Contents(), "[S]\nK=2\n[Changed]\nX=3\n[Mine]\nZ=7\n[T]\nY=1\n");
}

// A section the file did not have when the writes were kept, which another
// program makes since for a key of its own: the kept keys nobody else wrote
// still go, the one it wrote keeps its value, for reads and on disk.
TEST_F(PrivateProfileTest, KeptKeysOfANewSectionStandWhenAnotherProgramMakesIt)
{
    Put("[SerialCommunication]\nPort=1\n");
    const locktest::CCountedLockWaits waits;
    WriteBehindALock({{"Table1", "Column1", "55"}, {"Table1", "Column2", "66"}});
    Put("[SerialCommunication]\nPort=1\n[Table1]\nColumn2=70\n");
    EXPECT_EQ(GetPrivateProfileInt("Table1", "Column1", 0, path), 55);
    EXPECT_EQ(GetPrivateProfileInt("Table1", "Column2", 0, path), 70);
    EXPECT_TRUE(WritePrivateProfileString("Other", "K", "1", path));
    EXPECT_EQ(Contents(), "[SerialCommunication]\nPort=1\n[Table1]\nColumn2=70\nColumn1=55\n[Other]\nK=1\n");
}

// At the end the kept writes go: those another program overtook are not
// counted as lost, none reaches the file later, and the next failure is
// told again, also after an end that had none left to drop.
TEST_F(PrivateProfileTest, DroppedKeptWritesAreCountedOnceAndNeverWritten)
{
    Put("[S]\nA=0\nB=0\n");
    const locktest::CCountedLockWaits waits;
    std::string strReason;
    WriteBehindALock({{"S", "A", "1"}, {"S", "B", "1"}, {"T", "C", "1"}});
    EXPECT_TRUE(TakeFailedProfileWriteNotice(path, strReason));
    Put("[S]\nA=0\nB=2\n");
    strReason.clear();
    EXPECT_EQ(DropKeptProfileWrites(path, strReason), 2u);
    EXPECT_EQ(strReason, "the file is locked by another program");
    EXPECT_EQ(DropKeptProfileWrites(path, strReason), 0u);
    EXPECT_EQ(GetPrivateProfileInt("S", "A", -1, path), 0);
    WriteBehindALock({{"U", "D", "2"}});
    EXPECT_TRUE(TakeFailedProfileWriteNotice(path, strReason));
    EXPECT_TRUE(WritePrivateProfileString("U", "D", "1", path));
    EXPECT_EQ(Contents(), "[S]\nA=0\nB=2\n[U]\nD=1\n");
    // An end with none left, all given way to another's met by a read, too.
    WriteBehindALock({{"U", "D", "3"}});
    EXPECT_TRUE(TakeFailedProfileWriteNotice(path, strReason));
    Put("[U]\nD=4\n");
    EXPECT_EQ(GetPrivateProfileInt("U", "D", 0, path), 4);
    EXPECT_EQ(DropKeptProfileWrites(path, strReason), 0u);
    WriteBehindALock({{"U", "E", "1"}});
    EXPECT_TRUE(TakeFailedProfileWriteNotice(path, strReason));
}

// Reads see a kept write only while the file holds what it held when the
// write failed: a newer value of another program's is read instead, until
// the next write and after it.
TEST_F(PrivateProfileTest, ReadsPreferWhatAnotherProgramWroteOverAKeptWrite)
{
    Put("[S]\nK=0\n[Old]\nX=1\n");
    const locktest::CCountedLockWaits waits;
    WriteBehindALock({{"S", "K", "1"}, {"Old", "X", "5"}});
    EXPECT_EQ(GetPrivateProfileInt("S", "K", -1, path), 1);
    EXPECT_EQ(GetPrivateProfileInt("Old", "X", -1, path), 5);
    Put("[S]\nK=2\n");
    EXPECT_EQ(GetPrivateProfileInt("S", "K", -1, path), 2);
    EXPECT_EQ(GetPrivateProfileInt("Old", "X", -1, path), -1);
    {
        CProfileBatch batch(path);
        EXPECT_EQ(GetPrivateProfileInt("S", "K", -1, path), 2);
    }
    EXPECT_TRUE(WritePrivateProfileString("T", "Y", "1", path));
    EXPECT_EQ(Contents(), "[S]\nK=2\n[T]\nY=1\n");
}

// A write that had nothing left to change succeeds like any other: the
// failure told before it is over, and the next one is told again.
TEST_F(PrivateProfileTest, AFailureAfterAWriteWithNothingToChangeIsToldAgain)
{
    Put("[Common]\nA=1\n");
    const locktest::CCountedLockWaits waits;
    std::string strReason;
    WriteBehindALock({{"Common", "A", "2"}});
    EXPECT_TRUE(TakeFailedProfileWriteNotice(path, strReason));
    // Another program wrote the value meanwhile.
    Put("[Common]\nA=2\n");
    EXPECT_TRUE(WritePrivateProfileString("Common", "A", "2", path));
    WriteBehindALock({{"Common", "A", "3"}});
    EXPECT_TRUE(TakeFailedProfileWriteNotice(path, strReason));
    EXPECT_EQ(strReason, "the file is locked by another program");
}

// A lock file that cannot be opened (a link, a folder) fails the write and
// is named in its reason: it is what the user must remove.
TEST_F(PrivateProfileTest, ALockFileInTheWayIsNamedInTheFailure)
{
    for (const bool bFolder : {false, true}) {
        const std::string strIni = (dir / (bFolder ? "folder.ini" : "link.ini")).string();
        const std::string strLock = (fs::canonical(dir) / (bFolder ? "folder.ini.lock" : "link.ini.lock")).string();
        ASSERT_TRUE(WriteFileAtomically(strIni, "[Common]\nA=1\n"));
        bFolder ? (void)fs::create_directory(strLock) : fs::create_symlink("elsewhere", strLock);
        EXPECT_FALSE(WritePrivateProfileString("Common", "A", "2", strIni));
        std::string strReason;
        ASSERT_TRUE(TakeFailedProfileWriteNotice(strIni, strReason));
        EXPECT_EQ(strReason,
                  "its lock file \"" + strLock + "\" cannot be opened: " + std::strerror(bFolder ? EISDIR : ELOOP));
        const auto bytes = ReadWholeFile(strIni);
        EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "[Common]\nA=1\n");
    }
    EXPECT_FALSE(fs::exists(dir / "elsewhere"));
}

// Writers through a link to a file not there yet and through the file's own
// path meet at one lock, beside the file.
TEST_F(PrivateProfileTest, AWriteThroughALinkToAMissingFileTakesTheFilesOwnLock)
{
    fs::create_directories(dir / "real");
    const std::string strReal = (dir / "real" / "test.ini").string();
    fs::create_symlink("real/test.ini", dir / "link.ini");
    const locktest::CCountedLockWaits waits;
    locktest::CLockHolder holder(strReal + ".lock");
    ASSERT_TRUE(holder.Holds());
    EXPECT_FALSE(WritePrivateProfileString("Common", "A", "1", (dir / "link.ini").string()));
    EXPECT_FALSE(fs::exists(strReal));
}

// Another user's lock file, which this one may only read, locks all the
// same. As root the writer runs as another user, whom permissions bind.
TEST_F(PrivateProfileTest, AReadOnlyLockFileOfAnotherOwnerStillLocks)
{
    Put("[Common]\nA=1\n");
    ASSERT_TRUE(WriteFileAtomically(path + ".lock", ""));
    ASSERT_EQ(::chmod((path + ".lock").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(dir.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    // 0 written, 1 held off by the lock, 2 failed otherwise.
    const auto write = [&](const char* pszValue) {
        const int nStatus = crashtest::RunAsAnotherUser([&] {
            const locktest::CCountedLockWaits waits;
            return WritePrivateProfileString("Common", "A", pszValue, path) ? 0 : errno == EWOULDBLOCK ? 1 : 2;
        });
        return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    };
    locktest::CLockHolder holder(path + ".lock");
    EXPECT_EQ(write("2"), 1);
    holder.Release();
    EXPECT_EQ(write("3"), 0);
    EXPECT_EQ(GetPrivateProfileString("Common", "A", "", path), "3");
}

// Where the file system gives no lock, a write goes on without one: the
// lock file made for it is removed, one that was there already stays.
TEST_F(PrivateProfileTest, WithoutLocksOnlyTheLockFileMadeForTheWriteIsRemoved)
{
    const locktest::CLockCall noLocks(locktest::CLockCall::NoLocks);
    const std::string strLock = (fs::canonical(dir) / "test.ini.lock").string();
    EXPECT_TRUE(WritePrivateProfileString("Common", "A", "1", path));
    EXPECT_FALSE(fs::exists(strLock));
    ASSERT_TRUE(WriteFileAtomically(strLock, ""));
    EXPECT_TRUE(WritePrivateProfileString("Common", "A", "2", path));
    EXPECT_TRUE(fs::exists(strLock));
    int nErrno = 0;
    EXPECT_TRUE(TakeUnlockedProfileWriteNotice(path, nErrno));
    EXPECT_EQ(nErrno, ENOLCK);
    EXPECT_EQ(Contents(), "[Common]\nA=2\n");
}

// A held lock whose file another writer removed meanwhile (one on a host
// without locks), and whose name a new lock file took, leaves that one; the
// caller's errno outlives the release.
TEST_F(PrivateProfileTest, AHeldLockRemovesOnlyItsOwnLockFileAndKeepsErrno)
{
    const std::string strLock = (fs::canonical(dir) / "test.ini.lock").string();
    {
        const CFileWriteLock lock(path);
        ASSERT_EQ(lock.GetState(), CFileWriteLock::EState::held);
        ASSERT_EQ(::unlink(strLock.c_str()), 0);
        ASSERT_TRUE(WriteFileAtomically(strLock, "another writer's"));
    }
    EXPECT_TRUE(fs::exists(strLock));
    ASSERT_EQ(::unlink(strLock.c_str()), 0);
    {
        const CFileWriteLock lock(path);
        ASSERT_EQ(::unlink(strLock.c_str()), 0);
        errno = ENOSPC;
    }
    EXPECT_EQ(errno, ENOSPC);
}

// A file that cannot be written fails the batch that would have written it,
// and the failure is told once until a write succeeds again.
TEST_F(PrivateProfileTest, AFailedWriteFailsItsBatchAndIsToldOnce)
{
    Put("[Common]\nA=1\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    {
        CProfileBatch batch(path);
        EXPECT_TRUE(WritePrivateProfileString("Common", "A", "2", path));
        EXPECT_FALSE(batch.Commit());
    }
    std::string strReason;
    EXPECT_TRUE(TakeFailedProfileWriteNotice(path, strReason));
    EXPECT_EQ(strReason, std::strerror(EACCES));
    EXPECT_FALSE(WritePrivateProfileString("Common", "A", "3", path));
    EXPECT_FALSE(TakeFailedProfileWriteNotice(path, strReason));
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    EXPECT_TRUE(WritePrivateProfileString("Common", "A", "4", path));
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(WritePrivateProfileString("Common", "A", "5", path));
    EXPECT_TRUE(TakeFailedProfileWriteNotice(path, strReason));
    EXPECT_EQ(Contents(), "[Common]\nA=4\n");
}
