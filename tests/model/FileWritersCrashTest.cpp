// The model's own files under a crash: the ini file through the settings
// writer, stopped before its rename and killed while it writes; the log file,
// which appends, killed while it appends.

#include "model/IniManager.h"
#include "common/LogFile.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/FileSizeLimit.h"
#include "platform/base/WinApp.h"
#include "tests/support/CrashTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <regex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class FileWritersCrashTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = crashtest::ScratchDirectory("model-crash");
    }
    void TearDown() override
    {
        platform::SetAtomicWriteHooks({});
        fs::remove_all(m_dir);
    }

    static std::string Read(const std::string& strPath)
    {
        auto bytes = platform::ReadWholeFile(strPath);
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
    }

    fs::path m_dir;
};

// The payload of log line n: its number and a length that varies up to more
// than a page, so that lines straddle the pages of the file.
std::string Payload(unsigned n)
{
    return "line " + std::to_string(n) + " " + std::string(37 + (n * 997) % 6000, static_cast<char>('a' + n % 26));
}

// True when the text is one whole line this test's writer wrote.
bool IsWholeLine(const std::string& strLine)
{
    static const std::regex start("Start logging date: \\d{4}-\\d{2}-\\d{2}");
    static const std::regex stamp("\\d{2}:\\d{2}:\\d{2}\\.\\d{3}  I ");
    if (std::regex_match(strLine, start))
        return true;
    // The payload is matched by hand: std::regex recurses per character.
    constexpr std::size_t nStamp = 16;
    if (strLine.size() < nStamp + 6 || !std::regex_match(strLine.substr(0, nStamp), stamp) ||
        strLine.compare(nStamp, 5, "line ") != 0)
        return false;
    const std::string strPayload = strLine.substr(nStamp);
    return strPayload == Payload(static_cast<unsigned>(std::strtoul(strPayload.c_str() + 5, nullptr, 10)));
}

}  // namespace

TEST_F(FileWritersCrashTest, SettingsStoppedBeforeTheRenameOrKilledKeepTheIniWhole)
{
    const std::string strIni = (m_dir / "Chronosets2.ini").string();
    CWinApp app;
    app.SetProfileName(strIni);
    CIniManager ini;
    ASSERT_TRUE(platform::WriteFileAtomically(strIni, "; by hand\r\n[Other]\r\nKept=1\r\n"));
    ASSERT_TRUE(ini.WriteInt("MainWindow", "Width", 640));
    const std::string strFirst = Read(strIni);
    ASSERT_TRUE(ini.WriteInt("MainWindow", "Width", 1280));
    const std::string strSecond = Read(strIni);
    ASSERT_NE(strFirst, strSecond);
    {
        crashtest::CStopBeforeRename stop;
        EXPECT_FALSE(ini.WriteInt("MainWindow", "Width", 99));
        EXPECT_EQ(stop.Temporaries().size(), 1u);
    }
    EXPECT_EQ(Read(strIni), strSecond);

    std::mt19937 random(11);
    for (int nRound = 0; nRound < 10; ++nRound) {
        crashtest::KillWhileWriting([&](unsigned i) { return ini.WriteInt("MainWindow", "Width", i % 2 ? 640 : 1280) != 0; },
                                    random);
        const std::string strNow = Read(strIni);
        EXPECT_TRUE(strNow == strFirst || strNow == strSecond) << "round " << nRound << ":\n" << strNow;
        // The next write that changes the file takes the killed write's
        // temporary away (one that changes nothing writes nothing).
        ASSERT_TRUE(ini.WriteInt("MainWindow", "Width", 2000 + static_cast<UINT>(nRound)));
        EXPECT_TRUE(platform::FindAtomicWriteTemporaries(strIni).empty()) << "round " << nRound;
        ASSERT_TRUE(ini.WriteInt("MainWindow", "Width", 1280));
    }
    EXPECT_EQ(Read(strIni), strSecond);
}

// The log appends rather than replaces: a killed run must leave every line
// before the one it was writing whole, and the next run starts on a line of
// its own.
TEST_F(FileWritersCrashTest, AKilledLogRunLeavesWholeLinesAndTheNextRunStartsAFreshLine)
{
    const std::string strLog = (m_dir / "Chronosets2.log").string();
    std::mt19937 random(5);
    // Where this round's lines begin: the cut line of an earlier round stays
    // cut, ended by the run after it.
    std::size_t nRoundBegin = 0;
    for (int nRound = 0; nRound < 8; ++nRound) {
        crashtest::KillWhileWriting(
            [&](unsigned i) {
                static CLogFile log;
                if (i == 0)
                    log.Start(strLog);
                log.WriteLine(4, Payload(i).c_str());
                return true;
            },
            random, 3000);
        // Every line that has its line end is whole; only the text after
        // the last one may be cut.
        const std::string strText = Read(strLog);
        std::size_t nBegin = nRoundBegin;
        for (std::size_t nEnd; (nEnd = strText.find("\r\n", nBegin)) != std::string::npos; nBegin = nEnd + 2)
            ASSERT_TRUE(IsWholeLine(strText.substr(nBegin, nEnd - nBegin)))
                << "round " << nRound << " at byte " << nBegin << ": "
                << strText.substr(nBegin, std::min<std::size_t>(nEnd - nBegin, 80));

        CLogFile log;
        log.Start(strLog);
        log.WriteLine(4, Payload(7).c_str());
        const std::string strAfter = Read(strLog);
        ASSERT_GE(strAfter.size(), strText.size());
        EXPECT_EQ(strAfter.compare(0, strText.size(), strText), 0) << "the log lost what it held";
        std::string strNew = strAfter.substr(strText.size());
        if (nBegin != strText.size()) {
            ASSERT_EQ(strNew.compare(0, 2, "\r\n"), 0) << "the cut line was not ended";
            strNew.erase(0, 2);
        }
        const std::size_t nFirstEnd = strNew.find("\r\n");
        ASSERT_NE(nFirstEnd, std::string::npos);
        EXPECT_TRUE(IsWholeLine(strNew.substr(0, nFirstEnd))) << strNew.substr(0, 80);
        EXPECT_TRUE(IsWholeLine(strNew.substr(nFirstEnd + 2, strNew.size() - nFirstEnd - 4)));
        EXPECT_EQ(strNew.compare(strNew.size() - 2, 2, "\r\n"), 0);
        nRoundBegin = strAfter.size();
    }
}

TEST_F(FileWritersCrashTest, ARunAfterACutLineEndsItFirst)
{
    const std::string strLog = (m_dir / "cut.log").string();
    ASSERT_TRUE(platform::WriteFileAtomically(strLog, "Start logging date: 2024-01-01\r\n12:00:00.000  I half a li"));
    CLogFile log;
    log.Start(strLog);
    log.Append("next");
    EXPECT_TRUE(std::regex_match(Read(strLog),
                                 std::regex("Start logging date: 2024-01-01\r\n12:00:00\\.000  I half a li\r\n"
                                            "Start logging date: \\d{4}-\\d{2}-\\d{2}\r\nnext\r\n")))
        << Read(strLog);
    // A whole last line gets no empty line after it, nor does a new file.
    CLogFile again;
    again.Start(strLog);
    EXPECT_EQ(Read(strLog).find("\r\n\r\n"), std::string::npos);
    // A new log takes its mode from the umask.
    const std::string strNew = (m_dir / "new.log").string();
    const mode_t oldMask = ::umask(002);
    CLogFile fresh;
    fresh.Start(strNew);
    ::umask(oldMask);
    EXPECT_EQ(Read(strNew).rfind("Start logging date: ", 0), 0u);
    struct stat st {};
    ASSERT_EQ(::stat(strNew.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0664u);
}

// A full disk fails a write partway: the log takes back the cut line rather
// than leave it between whole ones. A file size limit stands in for the disk.
TEST_F(FileWritersCrashTest, ALineTheDiskCannotHoldIsTakenBackWhole)
{
    const std::string strLog = (m_dir / "full.log").string();
    ASSERT_TRUE(platform::WriteFileAtomically(strLog, "Start logging date: 2024-01-01\r\n"));
    const int nStatus = crashtest::RunUnderFileSizeLimit(2048, [&] {
        platform::FailWritesPastFileSizeLimit();
        CLogFile log;
        log.Start(strLog);
        log.WriteLine(4, Payload(1).c_str());      // fits
        log.WriteLine(4, Payload(2).c_str());      // cut at the limit, taken back
        log.WriteLine(4, Payload(331).c_str());    // fits where the cut one was
        return 0;
    });
    ASSERT_EQ(crashtest::DescribeStatus(nStatus), "exited with 0");
    const std::string strText = Read(strLog);
    std::vector<std::string> lines;
    for (std::size_t nBegin = 0, nEnd; (nEnd = strText.find("\r\n", nBegin)) != std::string::npos; nBegin = nEnd + 2)
        lines.push_back(strText.substr(nBegin, nEnd - nBegin));
    ASSERT_EQ(lines.size(), 4u) << strText;
    EXPECT_EQ(strText.compare(strText.size() - 2, 2, "\r\n"), 0);
    for (const std::string& strLine : lines)
        EXPECT_TRUE(IsWholeLine(strLine)) << strLine.substr(0, 80);
    EXPECT_NE(lines[2].find("line 1 "), std::string::npos);
    EXPECT_NE(lines[3].find("line 331 "), std::string::npos);
}
