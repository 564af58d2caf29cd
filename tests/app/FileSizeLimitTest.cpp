// Writes past a file-size limit, in processes that left SIGXFSZ at its
// default action: each writer fails as on a full disk, the old file stays and
// no temporary is left, and the process lives on.

#include "app/Chronoset.h"
#include "app/PlugInApp.h"
#include "app/StandaloneChron2.h"
#include "platform/base/AtomicFile.h"
#include "platform/bus/DeviceStateFile.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComObject.h"
#include "platform/host/EtsHost.h"
#include "tests/support/CrashTestSupport.h"
#include "tests/support/StandaloneGlobals.h"
#include "tools/SampleData.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr rlim_t kLimit = 4096;

std::string Read(const std::string& strPath)
{
    auto bytes = platform::ReadWholeFile(strPath);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
}

class FileSizeLimitTest : public ::testing::Test {
protected:
    void SetUp() override { m_dir = crashtest::ScratchDirectory("fsize"); }
    void TearDown() override { fs::remove_all(m_dir); }

    // Gives the file old content and remembers it.
    std::string Old(const char* pszName, const std::string& strContent)
    {
        const std::string strPath = (m_dir / pszName).string();
        EXPECT_TRUE(platform::WriteFileAtomically(strPath, strContent));
        m_old.emplace_back(strPath, strContent);
        return strPath;
    }
    void ExpectOldFilesAlone()
    {
        for (const auto& [strPath, strContent] : m_old) {
            EXPECT_EQ(Read(strPath), strContent) << strPath;
            EXPECT_TRUE(platform::FindAtomicWriteTemporaries(strPath).empty()) << strPath;
        }
    }

    fs::path m_dir;
    std::vector<std::pair<std::string, std::string>> m_old;
    testsupport::CStandaloneGlobals m_globals;
};

}  // namespace

TEST_F(FileSizeLimitTest, EveryWriterOfThePlugInFailsCleanlyPastTheLimit)
{
    CChronoset large;
    g_pChronoset = &large;
    BuildMaximalParameterSet(large);
    platform::host::CEtsHost host;
    ASSERT_TRUE(host.LoadFile(SAMPLE_PROJECT_PATH));
    const CDeviceState state;
    ASSERT_GT(CDeviceStateFile::ToText(state).size(), kLimit);

    const std::string strData = Old("set.tv2", "old data");
    const std::string strCsv = Old("set.csv", "old export");
    const std::string strProject = Old("project.json", "old project");
    const std::string strState = Old("device.state", "old state");
    // A log already past the limit: not one more line fits.
    const std::string strLog = Old("Chronosets2.log", "Start logging date: 2024-01-01\r\n" + std::string(kLimit, 'x') + "\r\n");

    const int nStatus = crashtest::RunUnderFileSizeLimit(kLimit, [&] {
        theApp.InitInstance();  // what the library's first call runs
        std::string strError;
        const bool bHostSaved = host.SaveFile(strProject, &strError);
        CComPtr<IStandaloneChron2> pStart;
        CComCreator<CStandaloneChron2>::CreateInstance(nullptr, IidOf<IStandaloneChron2>(),
                                                       reinterpret_cast<void**>(&pStart.p));
        // Each bit a writer that did not fail; without a window layer the
        // editor's start-up runs through and returns 2.
        return (large.SaveToFile(strData, nullptr) != 0 ? 1 : 0) | (large.ExportToFile(strCsv, nullptr) != 0 ? 2 : 0) |
               (bHostSaved || strError.find("File too large") == std::string::npos ? 4 : 0) |
               (CDeviceStateFile::Save(strState, state) ? 8 : 0) |
               (pStart->Start(platform::BstrFromUtf8(strLog)) != 2 ? 16 : 0);
    });
    EXPECT_EQ(crashtest::DescribeStatus(nStatus), "exited with 0");
    ExpectOldFilesAlone();
}

TEST_F(FileSizeLimitTest, AProgramPastTheLimitSaysItCouldNotWriteAndEnds)
{
    const std::string strData = Old("sample.tv2", "old data");
    const std::string strErrors = (m_dir / "errors.txt").string();
    const int nStatus = crashtest::RunUnderFileSizeLimit(1024, [&] {
        const int fd = ::open(strErrors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::dup2(fd, STDERR_FILENO) < 0)
            return 124;
        ::execl(MAKE_SAMPLE_DATA_PATH, MAKE_SAMPLE_DATA_PATH, strData.c_str(), static_cast<char*>(nullptr));
        return 127;
    });
    EXPECT_EQ(crashtest::DescribeStatus(nStatus), "exited with 1");
    EXPECT_EQ(Read(strErrors), "could not write " + strData + ": File too large\n");
    ExpectOldFilesAlone();
}
