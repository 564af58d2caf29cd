// The host project file under a crash and with bad input: a save stopped
// before its rename or killed while it saves again and again leaves one whole
// project file; files the stand-in cannot use are refused with a message
// that names the file and the reason, and neither the database nor the disk
// changes, in the stand-in and in the host program.

#include "HostTestProject.h"

#include "platform/base/AtomicFile.h"
#include "platform/com/ComVariant.h"
#include "platform/host/EtsHost.h"
#include "platform/host/HostProjectFile.h"
#include "tests/support/CrashTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::host::CEtsHost;

namespace {

class HostProjectCrashTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = crashtest::ScratchDirectory("host-crash");
        m_project = (m_dir / "project.json").string();
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
    // Every file of the folder with its bytes and mode.
    std::map<std::string, std::pair<std::string, unsigned>> Disk() const
    {
        std::map<std::string, std::pair<std::string, unsigned>> files;
        for (const auto& entry : fs::directory_iterator(m_dir)) {
            struct stat st {};
            ::lstat(entry.path().c_str(), &st);
            files[entry.path().filename().string()] = {S_ISREG(st.st_mode) ? Read(entry.path().string()) : "",
                                                       static_cast<unsigned>(st.st_mode)};
        }
        return files;
    }
    // Sets the name of the device (id 100) in the host's database.
    static void Rename(CEtsHost& host, const char* pszName)
    {
        CComPtr<IUnknown> pObject = host.FindObject(102);
        CComPtr<IEtsDeviceParameter> pParameter;
        ASSERT_EQ(pObject->QueryInterface(&pParameter.p), S_OK);
        CComVariant vName(pszName);
        ASSERT_EQ(pParameter->put_Value(vName), S_OK);
    }

    fs::path m_dir;
    std::string m_project;
};

bool Contains(const std::string& strText, const std::string& strPart)
{
    return strText.find(strPart) != std::string::npos;
}

}  // namespace

TEST_F(HostProjectCrashTest, ASaveStoppedBeforeTheRenameKeepsTheOldFileAndTheChange)
{
    CEtsHost host;
    ASSERT_TRUE(host.LoadText(hosttest::Text(hosttest::SmallProject())));
    ASSERT_TRUE(host.SaveFile(m_project));
    const std::string strOld = Read(m_project);
    Rename(host, "neu");
    ASSERT_TRUE(host.IsModified());
    {
        crashtest::CStopBeforeRename stop;
        std::string strError;
        EXPECT_FALSE(host.SaveFile(m_project, &strError));
        EXPECT_TRUE(Contains(strError, "cannot write " + m_project)) << strError;
        ASSERT_EQ(stop.Temporaries().size(), 1u);
        EXPECT_EQ(Read(stop.Temporaries()[0]), host.SaveText());
    }
    EXPECT_EQ(Read(m_project), strOld);
    // The change is still to be saved.
    EXPECT_TRUE(host.IsModified());
    ASSERT_TRUE(host.SaveFile(m_project));
    EXPECT_FALSE(host.IsModified());
    EXPECT_EQ(Disk().size(), 1u) << "a temporary file was left beside the project";
    CEtsHost reloaded;
    ASSERT_TRUE(reloaded.LoadFile(m_project));
    EXPECT_EQ(reloaded.SaveText(), host.SaveText());
}

TEST_F(HostProjectCrashTest, AKilledSaveLeavesOneWholeProjectFile)
{
    CEtsHost first;
    ASSERT_TRUE(first.LoadText(hosttest::Text(hosttest::SmallProject())));
    CEtsHost second;
    ASSERT_TRUE(second.LoadText(hosttest::Text(hosttest::SmallProject())));
    Rename(second, std::string(platform::host::kMaxParameterTextLength, 'n').c_str());
    ASSERT_TRUE(first.SaveFile(m_project));
    const std::string strFirst = Read(m_project);
    const std::string strSecond = second.SaveText();

    std::mt19937 random(17);
    for (int nRound = 0; nRound < 10; ++nRound) {
        crashtest::KillWhileWriting([&](unsigned i) { return (i % 2 ? second : first).SaveFile(m_project); }, random);
        const std::string strNow = Read(m_project);
        EXPECT_TRUE(strNow == strFirst || strNow == strSecond) << "round " << nRound << ": " << strNow.size();
        ASSERT_TRUE(first.SaveFile(m_project));
        EXPECT_EQ(Disk().size(), 1u) << "round " << nRound;
    }
}

TEST_F(HostProjectCrashTest, ProjectFilesTheStandInCannotUseAreRefusedWithTheFileAndTheReason)
{
    const std::string strGood = hosttest::Text(hosttest::SmallProject());
    hosttest::Json foreign = hosttest::SmallProject();
    foreign["format"] = "other";
    const std::map<std::string, std::pair<std::string, std::string>> files = {
        {"empty.json", {"", "the file is empty"}},
        {"blank.json", {" \r\n", "the file is empty"}},
        {"truncated.json", {strGood.substr(0, strGood.size() / 2), "not a JSON text"}},
        {"data.json", {std::string("\0\0\2\0\1\21\0\0", 8), "not a JSON text"}},
        {"foreign.json", {hosttest::Text(foreign), "format"}},
        {"list.json", {"[1, 2, 3]", "expected an object"}},
    };
    for (const auto& [strName, content] : files)
        ASSERT_TRUE(platform::WriteFileAtomically((m_dir / strName).string(), content.first));
    fs::create_directories(m_dir / "folder.json");
    ASSERT_EQ(::mkfifo((m_dir / "pipe.json").c_str(), 0644), 0);

    CEtsHost host;
    ASSERT_TRUE(host.LoadText(strGood));
    Rename(host, "geladen");
    const std::string strBefore = host.SaveText();
    const auto diskBefore = Disk();
    for (const auto& [strName, content] : files) {
        const std::string strPath = (m_dir / strName).string();
        std::string strError;
        EXPECT_FALSE(host.LoadFile(strPath, &strError)) << strName;
        EXPECT_TRUE(Contains(strError, strPath + ": ") && Contains(strError, content.second))
            << strName << ": " << strError;
    }
    const std::map<std::string, std::string> unreadable = {
        {"folder.json", "Is a directory"}, {"pipe.json", "not a regular file"}, {"none.json", "No such file"}};
    for (const auto& [strName, strReason] : unreadable) {
        const std::string strPath = (m_dir / strName).string();
        std::string strError;
        EXPECT_FALSE(host.LoadFile(strPath, &strError)) << strName;
        EXPECT_EQ(strError.rfind("cannot read " + strPath + ": ", 0), 0u) << strError;
        EXPECT_TRUE(Contains(strError, strReason)) << strError;
    }
    EXPECT_EQ(host.SaveText(), strBefore);
    EXPECT_TRUE(host.IsModified());
    EXPECT_EQ(Disk(), diskBefore);

    // A project file that may not be written stays as it is and says why.
    ASSERT_TRUE(platform::WriteFileAtomically(m_project, strGood));
    ASSERT_EQ(::chmod(m_project.c_str(), 0444), 0);
    std::string strError;
    EXPECT_FALSE(host.SaveFile(m_project, &strError));
    EXPECT_EQ(strError, "cannot write " + m_project + ": Permission denied");
    EXPECT_TRUE(host.IsModified());
    ::chmod(m_project.c_str(), 0644);
    EXPECT_EQ(Read(m_project), strGood);
}

#if defined(ETSHOST_PATH) && defined(PLUGIN_PATH)

namespace {

// The host program on the test's folder; the exit code, its output in strOutput.
int RunHost(const fs::path& dir, const std::string& strProject, const std::string& strArguments,
            std::string& strOutput)
{
    const std::string strCommand = "CHRONO_REGISTRY_FILE='" + (dir / "registry.json").string() +
                                   "' QT_QPA_PLATFORM=offscreen '" + ETSHOST_PATH + "' --module '" + PLUGIN_PATH +
                                   "' '" + strProject + "' " + strArguments + " 2>&1";
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

}  // namespace

TEST_F(HostProjectCrashTest, TheHostProgramRefusesABrokenProjectAndLeavesItAsItWas)
{
    const std::string strGood = Read(SAMPLE_PROJECT_PATH);
    ASSERT_FALSE(strGood.empty());
    ASSERT_TRUE(platform::WriteFileAtomically(m_project, strGood.substr(0, strGood.size() - 20)));
    const auto diskBefore = Disk();
    std::string strOutput;
    EXPECT_EQ(RunHost(m_dir, m_project, "associate 1000 0 1/0/3", strOutput), 1);
    EXPECT_TRUE(Contains(strOutput, "etshost: " + m_project + ": not a JSON text")) << strOutput;
    EXPECT_EQ(RunHost(m_dir, m_project, "list", strOutput), 1);
    EXPECT_EQ(Disk(), diskBefore);

    // A project that may not be written: the change is refused with the
    // reason alone, the file stays.
    ASSERT_TRUE(platform::WriteFileAtomically(m_project, strGood));
    ASSERT_EQ(::chmod(m_project.c_str(), 0444), 0);
    EXPECT_EQ(RunHost(m_dir, m_project, "associate 1000 0 1/0/3", strOutput), 1);
    EXPECT_TRUE(Contains(strOutput, "etshost: cannot write " + m_project + ": Permission denied")) << strOutput;
    EXPECT_FALSE(Contains(strOutput, "association added")) << strOutput;
    ::chmod(m_project.c_str(), 0644);
    EXPECT_EQ(Read(m_project), strGood);
    EXPECT_TRUE(platform::FindAtomicWriteTemporaries(m_project).empty());
}

#endif
