#include "common/Globals.h"
#include "common/HostLogger.h"
#include "common/Log.h"
#include "common/LogFile.h"
#include "platform/base/LocalTime.h"

#include <cerrno>
#include <gtest/gtest.h>

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Stands in for the host's logger object: wants the levels it is told to,
// records what it gets.
class CFakeHostLogger : public IHostLogger {
public:
    struct Line {
        LONG nLevel;
        std::string strText;
    };

    HRESULT Log(LONG nLevel, const char* pszText) override {
        m_vecLines.push_back({nLevel, pszText});
        return S_OK;
    }
    HRESULT IsEnabled(LONG nLevel, SHORT& nEnabled) override {
        m_vecAsked.push_back(nLevel);
        nEnabled = m_mapEnabled.count(nLevel) ? m_mapEnabled[nLevel] : 1;
        return S_OK;
    }
    HRESULT SetName(const std::string& strName) override {
        m_vecNames.push_back(strName);
        return S_OK;
    }

    std::map<LONG, SHORT> m_mapEnabled;
    std::vector<Line> m_vecLines;
    std::vector<LONG> m_vecAsked;
    std::vector<std::string> m_vecNames;
};

std::string FormatPrefixedInto(std::size_t nSize, const char* format, ...) __attribute__((format(printf, 2, 3)));

std::string FormatPrefixedInto(std::size_t nSize, const char* format, ...) {
    std::vector<char> buffer(nSize + 16, '#');
    va_list args;
    va_start(args, format);
    FormatLogPrefix(buffer.data(), nSize, format, args);
    va_end(args);
    EXPECT_EQ(buffer[nSize], '#') << "wrote past the buffer";
    return buffer.data();
}

#define FormatPrefixed(...) FormatPrefixedInto(LOG_TEXT_SIZE, __VA_ARGS__)

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Keeps the process-wide logging state of each test to itself.
class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_bStandalone = g_bStandalone;
        m_pLogFile = g_pLogFile;
        m_pHostLogger = g_pHostLogger;
        m_pszSource = g_pszLogSourceFile;
        m_nLine = g_nLogSourceLine;

        char szTemplate[] = "/tmp/logtest-XXXXXX";
        ASSERT_NE(mkdtemp(szTemplate), nullptr);
        m_dir = szTemplate;
    }
    void TearDown() override {
        g_bStandalone = m_bStandalone;
        g_pLogFile = m_pLogFile;
        g_pHostLogger = m_pHostLogger;
        g_pszLogSourceFile = m_pszSource;
        g_nLogSourceLine = m_nLine;
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    // Plug-in mode with a fake host logger behind g_pHostLogger.
    std::shared_ptr<CFakeHostLogger> UseHostLogger() {
        auto pFake = std::make_shared<CFakeHostLogger>();
        m_pHost = std::make_unique<CHostLogger>(pFake, "Vek_ZR02");
        g_bStandalone = false;
        g_pHostLogger = m_pHost.get();
        return pFake;
    }

    fs::path m_dir;
    std::unique_ptr<CHostLogger> m_pHost;

private:
    bool m_bStandalone = false;
    CLogFile* m_pLogFile = nullptr;
    CHostLogger* m_pHostLogger = nullptr;
    const char* m_pszSource = nullptr;
    std::uint32_t m_nLine = 0;
};

TEST_F(LogTest, PrefixNamesTheSourceFileAfterItsLastSeparator) {
    g_nLogSourceLine = 120;
    g_pszLogSourceFile = "/work/src/model/Utils.cpp";
    EXPECT_EQ(FormatPrefixed("failed to set %s", "X"), "\"Utils.cpp\"(120): failed to set X");
    g_pszLogSourceFile = "C:\\src\\model\\Utils.cpp";
    EXPECT_EQ(FormatPrefixed("failed to set X"), "\"Utils.cpp\"(120): failed to set X");
    g_pszLogSourceFile = "D:Utils.cpp";
    EXPECT_EQ(FormatPrefixed("failed to set X"), "\"Utils.cpp\"(120): failed to set X");
    g_pszLogSourceFile = "a\\b/c:Utils";
    EXPECT_EQ(FormatPrefixed("x"), "\"Utils\"(120): x");
    g_pszLogSourceFile = "Utils.cpp";
    EXPECT_EQ(FormatPrefixed("x"), "\"Utils.cpp\"(120): x");
}

TEST_F(LogTest, WithoutSourceFileTheTextStandsAlone) {
    g_pszLogSourceFile = nullptr;
    g_nLogSourceLine = 7;
    EXPECT_EQ(FormatPrefixed("Module = \"%s\"", "Vek_ZR02.so"), "Module = \"Vek_ZR02.so\"");
}

TEST_F(LogTest, OverlongLinesAreCutToTheBufferInsteadOfOverrunningIt) {
    g_pszLogSourceFile = "Utils.cpp";
    g_nLogSourceLine = 1;
    std::string strLong(5000, 'x');
    std::string strLine = FormatPrefixed("%s", strLong.c_str());
    EXPECT_EQ(strLine.size(), LOG_TEXT_SIZE - 1);
    EXPECT_EQ(strLine.rfind("\"Utils.cpp\"(1): xxx", 0), 0u);

    g_pszLogSourceFile = "LongerName.cpp";
    EXPECT_EQ(FormatPrefixedInto(8, "%d", 12345), "\"Longer");
    g_pszLogSourceFile = nullptr;
    EXPECT_EQ(FormatPrefixedInto(4, "%d", 12345), "123");
}

TEST_F(LogTest, StandaloneLinesGoToTheLogFileWithTimeAndTag) {
    g_bStandalone = true;
    CLogFile logFile;
    logFile.Start((m_dir / "Chronosets2.log").string());
    g_pLogFile = &logFile;

    LOG_WARNING("failed to set %s", "X");  // sets this file as the source
    LogError("e");
    LogInfo("i");
    LogDetail("d");
    LogTrace("t");
    logFile.WriteLine(7, "seven");

    std::string strContent = ReadFile(m_dir / "Chronosets2.log");
    const std::regex expected(
        "Start logging date: \\d{4}-\\d{2}-\\d{2}\r\n"
        "\\d{2}:\\d{2}:\\d{2}\\.\\d{3}  W \"LogTest\\.cpp\"\\(\\d+\\): failed to set X\r\n"
        "\\d{2}:\\d{2}:\\d{2}\\.\\d{3}  E \"LogTest\\.cpp\"\\(\\d+\\): e\r\n"
        "\\d{2}:\\d{2}:\\d{2}\\.\\d{3}  I \"LogTest\\.cpp\"\\(\\d+\\): i\r\n"
        "\\d{2}:\\d{2}:\\d{2}\\.\\d{3}  1 \"LogTest\\.cpp\"\\(\\d+\\): d\r\n"
        "\\d{2}:\\d{2}:\\d{2}\\.\\d{3}  2 \"LogTest\\.cpp\"\\(\\d+\\): t\r\n"
        "\\d{2}:\\d{2}:\\d{2}\\.\\d{3}  seven\r\n");
    EXPECT_TRUE(std::regex_match(strContent, expected)) << strContent;
    EXPECT_EQ(logFile.GetPath(), (m_dir / "Chronosets2.log").string());
}

TEST_F(LogTest, LogFileStampsAreTheLocalDateAndTime) {
    // 5:30 east of UTC all year: a stamp taken in UTC differs in hour and
    // minute on every date.
    const std::optional<std::string> oldTz = platform::GetTz();
    platform::SetTz(std::string("IST-5:30"));
    const std::time_t before = std::time(nullptr);
    CLogFile logFile;
    logFile.Start((m_dir / "stamp.log").string());
    logFile.WriteLine(7, "x");
    const std::time_t after = std::time(nullptr);
    platform::SetTz(oldTz);

    std::istringstream lines(ReadFile(m_dir / "stamp.log"));
    std::string strDateLine;
    std::string strTimeLine;
    std::getline(lines, strDateLine);
    std::getline(lines, strTimeLine);
    // time() may trail the precise clock by a tick: one second more.
    auto stampedWithin = [before, after](const std::string& strLine, const char* pszFormat) {
        for (std::time_t t = before; t <= after + 1; ++t) {
            const std::time_t shifted = t + 5 * 3600 + 30 * 60;
            std::tm tm{};
            ::gmtime_r(&shifted, &tm);
            char szExpected[64];
            std::strftime(szExpected, sizeof szExpected, pszFormat, &tm);
            if (strLine.rfind(szExpected, 0) == 0)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(stampedWithin(strDateLine, "Start logging date: %Y-%m-%d\r")) << strDateLine;
    EXPECT_TRUE(stampedWithin(strTimeLine, "%H:%M:%S.")) << strTimeLine;
}

TEST_F(LogTest, LogFileCollectsRunsOneAfterTheOther) {
    const std::string strPath = (m_dir / "run.log").string();
    for (int nRun = 0; nRun < 2; ++nRun) {
        CLogFile logFile;
        logFile.Start(strPath);
        logFile.Append("run");
    }
    std::string strContent = ReadFile(strPath);
    const std::regex expected("(Start logging date: \\d{4}-\\d{2}-\\d{2}\r\nrun\r\n){2}");
    EXPECT_TRUE(std::regex_match(strContent, expected)) << strContent;
}

TEST_F(LogTest, LogFileInMissingDirectoryDropsLinesSilently) {
    g_bStandalone = true;
    CLogFile logFile;
    const fs::path path = m_dir / "missing" / "Chronosets2.log";
    logFile.Start(path.string());
    g_pLogFile = &logFile;
    // The failure being logged keeps its reason for the caller, whatever the
    // log file's own calls met.
    errno = ENOSPC;
    LOG_ERROR("lost %d", 1);
    EXPECT_EQ(errno, ENOSPC);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(fs::exists(m_dir / "missing"));
}

TEST_F(LogTest, StandaloneWithoutLogFileWritesNothing) {
    g_bStandalone = true;
    g_pLogFile = nullptr;
    auto pFake = std::make_shared<CFakeHostLogger>();
    CHostLogger host(pFake, nullptr);
    g_pHostLogger = &host;
    LogError("nowhere");
    EXPECT_TRUE(pFake->m_vecLines.empty());
}

TEST_F(LogTest, PluginLinesReachTheHostWithLevelMarks) {
    auto pFake = UseHostLogger();
    g_pszLogSourceFile = "Utils.cpp";
    g_nLogSourceLine = 120;
    LogError("e");
    LogWarning("failed to set X");
    LogInfo("i");
    LogDetail("d");
    LogTrace("t");

    ASSERT_EQ(pFake->m_vecLines.size(), 5u);
    EXPECT_EQ(pFake->m_vecLines[0].nLevel, 2);
    EXPECT_EQ(pFake->m_vecLines[0].strText, "?? \"Utils.cpp\"(120): e\n");
    EXPECT_EQ(pFake->m_vecLines[1].nLevel, 3);
    EXPECT_EQ(pFake->m_vecLines[1].strText, "!! \"Utils.cpp\"(120): failed to set X\n");
    EXPECT_EQ(pFake->m_vecLines[2].strText, "\"Utils.cpp\"(120): i\n");
    EXPECT_EQ(pFake->m_vecLines[3].nLevel, 5);
    EXPECT_EQ(pFake->m_vecLines[4].nLevel, 6);
    EXPECT_EQ(pFake->m_vecNames, std::vector<std::string>{"Vek_ZR02"});
}

TEST_F(LogTest, PluginLinesAreCutTo255AndDisabledLevelsSendNothing) {
    auto pFake = UseHostLogger();
    g_pszLogSourceFile = nullptr;
    std::string strLong(300, 'a');
    LogInfo("%s", strLong.c_str());
    ASSERT_EQ(pFake->m_vecLines.size(), 1u);
    EXPECT_EQ(pFake->m_vecLines[0].strText, std::string(255, 'a'));

    pFake->m_mapEnabled[5] = 0;
    pFake->m_vecAsked.clear();
    LogDetail("%s", strLong.c_str());
    EXPECT_EQ(pFake->m_vecLines.size(), 1u);
    EXPECT_EQ(pFake->m_vecAsked, std::vector<LONG>{5});
}

TEST_F(LogTest, PluginWithoutHostLoggerDropsLines) {
    g_bStandalone = false;
    g_pHostLogger = nullptr;
    LogError("dropped");  // nothing to check but that it returns

    CHostLogger empty(nullptr, "Vek_ZR02");
    EXPECT_EQ(empty.GetLogger(), nullptr);
    g_pHostLogger = &empty;
    LogError("dropped");
}

TEST_F(LogTest, HostLoggerByNameUsesTheInstalledCreator) {
    auto pFake = std::make_shared<CFakeHostLogger>();
    HostLoggerCreator previous = SetHostLoggerCreator([pFake] { return pFake; });
    {
        CHostLogger named("Vek_ZR02.DeviceUI2.1");
        EXPECT_EQ(named.GetLogger(), pFake.get());
        CHostLogger unnamed(nullptr);
        EXPECT_EQ(unnamed.GetLogger(), pFake.get());
    }
    EXPECT_EQ(pFake->m_vecNames, std::vector<std::string>{"Vek_ZR02.DeviceUI2.1"});

    SetHostLoggerCreator(nullptr);
    EXPECT_EQ(pFake.use_count(), 1);  // every holder let go
    CHostLogger none("Vek_ZR02");
    EXPECT_EQ(none.GetLogger(), nullptr);
    SetHostLoggerCreator(std::move(previous));
}

std::string SnprintfInto(std::size_t nSize, const char* format, ...) __attribute__((format(printf, 2, 3)));

std::string SnprintfInto(std::size_t nSize, const char* format, ...) {
    std::vector<char> buffer(nSize + 16, '#');
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer.data(), nSize, format, args);
    va_end(args);
    return buffer.data();
}

#define EXPECT_FORMATS_AS_SNPRINTF(nSize, ...) \
    EXPECT_EQ(FormatPrefixedInto(nSize, __VA_ARGS__), SnprintfInto(nSize, __VA_ARGS__))

TEST_F(LogTest, LinesAreWrittenByteForByteAsSnprintfWritesThem) {
    g_pszLogSourceFile = nullptr;
    const char* volatile pszNull = nullptr;
    for (std::size_t nSize : {std::size_t {LOG_TEXT_SIZE}, std::size_t {1}, std::size_t {2}, std::size_t {7}}) {
        EXPECT_FORMATS_AS_SNPRINTF(nSize, "plain text without conversions");
        EXPECT_FORMATS_AS_SNPRINTF(nSize, "%d %i %u|%d|%d", 0, -17, 4000000000u, INT_MIN, INT_MAX);
        EXPECT_FORMATS_AS_SNPRINTF(nSize, "%ld %lu %lld %llu %zu", LONG_MIN, ULONG_MAX, LLONG_MIN, ULLONG_MAX,
                                   std::size_t {42});
        EXPECT_FORMATS_AS_SNPRINTF(nSize, "%x %X %08X %08lx %04x %02x", 0xBEEFu, 0xBEEFu, 0x1Au, 0xABCDEFul, 0u,
                                   0x1FFu);
        EXPECT_FORMATS_AS_SNPRINTF(nSize, "[%03d] [%05d] [%-5d] [%-6d] [%5d] [%02u]", -5, -42, 7, -7, -3, 9u);
        EXPECT_FORMATS_AS_SNPRINTF(nSize, "[%s] [%5s] [%-5s] [%2s] [%s]", "a", "bc", "de", "long", pszNull);
        EXPECT_FORMATS_AS_SNPRINTF(nSize, "%c%c%% 100%%", 'x', 'y');
        // Conversions left to vsnprintf, also after ones written by hand.
        EXPECT_FORMATS_AS_SNPRINTF(nSize, "%d then %.2f and %s", 3, 2.5, "z");
        EXPECT_FORMATS_AS_SNPRINTF(nSize, "%s %p %+d %.3s %*d", "a", static_cast<void*>(nullptr), 5, "abcdef", 4, 1);
    }
    g_pszLogSourceFile = "/src/model/Log.cpp";
    g_nLogSourceLine = 1234;
    EXPECT_EQ(FormatPrefixedInto(LOG_TEXT_SIZE, "%s=%d", "n", 5), "\"Log.cpp\"(1234): n=5");
    EXPECT_EQ(FormatPrefixedInto(12, "%s=%d", "n", 5), "\"Log.cpp\"(1");
}

TEST_F(LogTest, SharedBufferMayBeALogArgument) {
    auto pFake = UseHostLogger();
    g_pszLogSourceFile = nullptr;
    std::snprintf(g_szLogText, LOG_TEXT_SIZE, "%s", "earlier line");
    LogInfo("%s again", g_szLogText);
    ASSERT_EQ(pFake->m_vecLines.size(), 1u);
    EXPECT_EQ(pFake->m_vecLines[0].strText, "earlier line again\n");
    EXPECT_STREQ(g_szLogText, "earlier line again");
}

}  // namespace
