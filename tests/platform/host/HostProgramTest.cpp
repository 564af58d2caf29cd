#include "platform/base/AtomicFile.h"
#include "platform/host/HostProjectFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#if defined(ETSHOST_PATH) && defined(PLUGIN_PATH)

namespace fs = std::filesystem;

namespace {

// The host program on a copy of the sample project, with a registry file of
// its own; the plug-in registers itself from its path.
class HostProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("etshost-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        m_project = (m_dir / "project.json").string();
        fs::copy_file(SAMPLE_PROJECT_PATH, m_project, fs::copy_options::overwrite_existing);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Runs the program; the exit code, the output in strOutput.
    int Run(const std::string& strArguments, std::string& strOutput)
    {
        const std::string strCommand = "CHRONO_REGISTRY_FILE='" + (m_dir / "registry.json").string() +
                                       "' QT_QPA_PLATFORM=offscreen '" + ETSHOST_PATH + "' --module '" +
                                       PLUGIN_PATH + "' '" + m_project + "' " + strArguments + " 2>&1";
        FILE* pPipe = ::popen(strCommand.c_str(), "r");
        if (!pPipe)
            return -1;
        char szBuffer[512];
        strOutput.clear();
        while (std::fgets(szBuffer, sizeof szBuffer, pPipe))
            strOutput += szBuffer;
        const int nStatus = ::pclose(pPipe);
        return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    }

    nlohmann::json Project() const
    {
        auto bytes = platform::ReadWholeFile(m_project);
        return nlohmann::json::parse(bytes->begin(), bytes->end());
    }

    fs::path m_dir;
    std::string m_project;
};

const nlohmann::json& Object(const nlohmann::json& project, int nNumber)
{
    return project["projects"][0]["devices"][0]["commObjects"][static_cast<std::size_t>(nNumber)];
}

}  // namespace

TEST_F(HostProgramTest, TheDevicesPlugInRefusesASecondAssociationOnAnOrdinaryObject)
{
    std::string strOutput;
    // Object 1 carries the trigger of the second day routine already.
    EXPECT_EQ(Run("associate 1000 1 1/0/3", strOutput), 4) << strOutput;
    EXPECT_NE(strOutput.find("refused"), std::string::npos) << strOutput;
    const nlohmann::json before = Project();
    EXPECT_EQ(Object(before, 1)["associations"].size(), 1u);

    // Object 0 is the first ordinary object number itself (CacheData 0),
    // which may carry several.
    EXPECT_EQ(Run("associate 1000 0 1/0/3", strOutput), 0) << strOutput;
    const nlohmann::json after = Project();
    const nlohmann::json& associations = Object(after, 0)["associations"];
    ASSERT_EQ(associations.size(), 2u);
    EXPECT_EQ(associations[1]["groupAddress"], 15);

    // The same pair again is no new association.
    EXPECT_EQ(Run("associate 1000 0 15", strOutput), 0) << strOutput;
    EXPECT_NE(strOutput.find("exists already"), std::string::npos) << strOutput;
}

TEST_F(HostProgramTest, WrongArgumentsAreReported)
{
    std::string strOutput;
    EXPECT_EQ(Run("associate 1000 999 1/0/3", strOutput), 1);
    EXPECT_NE(strOutput.find("no object 999"), std::string::npos) << strOutput;
    EXPECT_EQ(Run("associate 1000 1 9/9/9", strOutput), 1);
    EXPECT_EQ(Run("edit 4711", strOutput), 1);
    EXPECT_NE(strOutput.find("no device 4711"), std::string::npos) << strOutput;
    EXPECT_EQ(Run("frobnicate", strOutput), 2);
    EXPECT_EQ(Run("list", strOutput), 0);
    EXPECT_NE(strOutput.find("1000\tZeitschaltuhr Technikraum\tORV/X2.1"), std::string::npos) << strOutput;
}

TEST_F(HostProgramTest, AProjectFileLargerThanAnyProjectIsRefusedUnread)
{
    // Sparse: the size without the disk.
    ASSERT_EQ(::truncate(m_project.c_str(), static_cast<off_t>(platform::host::kMaxProjectFileSize) + 1), 0);
    std::string strOutput;
    EXPECT_EQ(Run("list", strOutput), 1);
    EXPECT_EQ(strOutput, "etshost: cannot read " + m_project + ": larger than a project file may be (32 MiB)\n");
}

#endif
