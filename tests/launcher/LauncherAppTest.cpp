#include "launcher/LauncherApp.h"
#include "platform/base/AtomicFile.h"
#include "tests/support/ScriptedMessageBoxSink.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class LauncherAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("launcher-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
        ::setenv("CHRONO_REGISTRY_FILE", (m_dir / "registry.json").c_str(), 1);
        // No editor can answer on this socket.
        ::setenv("XDG_RUNTIME_DIR", m_dir.c_str(), 1);
    }
    void TearDown() override
    {
        ::unsetenv("CHRONO_REGISTRY_FILE");
        fs::remove_all(m_dir);
    }
    fs::path m_dir;
};

}  // namespace

TEST_F(LauncherAppTest, DirectoryOfThePath)
{
    EXPECT_EQ(CLauncherApp::GetDirectory("/opt/tavik/Chronosets2"), "/opt/tavik");
    EXPECT_EQ(CLauncherApp::GetDirectory("C:\\Tavik\\Chronosets2.exe"), "C:\\Tavik");
    EXPECT_EQ(CLauncherApp::GetDirectory("Chronosets2"), "");
    EXPECT_EQ(CLauncherApp::GetDirectory("/Chronosets2"), "");
}

TEST_F(LauncherAppTest, ClassIdFromTheIniFileOrTheDefault)
{
    EXPECT_EQ(CLauncherApp::GetStandaloneClsid(m_dir.string()), kDefaultStandaloneClsid);
    ASSERT_TRUE(platform::WriteFileAtomically((m_dir / "ZR02DLL.ini").string(), "[OEM]\nDynCLSIDSA=\n"));
    EXPECT_EQ(CLauncherApp::GetStandaloneClsid(m_dir.string()), kDefaultStandaloneClsid);
    ASSERT_TRUE(platform::WriteFileAtomically((m_dir / "ZR02DLL.ini").string(),
                                              "[oem]\ndynclsidsa={11111111-2222-3333-4444-555555555555}\n"));
    EXPECT_EQ(CLauncherApp::GetStandaloneClsid(m_dir.string()), "{11111111-2222-3333-4444-555555555555}");
}

TEST_F(LauncherAppTest, UnregisteredClassShowsTheCreationMessage)
{
    CScriptedMessageBoxSink sink;
    sink.ExpectBox("Couldnt create IStandaloneChron2 instance for CLSID={6D6A4DFC-4D63-4ea7-8FAE-893D8BB6E22F} "
                   "hr=0x80040154",
                   "Chronosets", 0, IDOK);
    EXPECT_FALSE(CLauncherApp().Run((m_dir / "Chronosets2").string()));
}

TEST_F(LauncherAppTest, MalformedClassIdFailsCreation)
{
    ASSERT_TRUE(platform::WriteFileAtomically((m_dir / "ZR02DLL.ini").string(), "[OEM]\nDynCLSIDSA=nonsense\n"));
    CScriptedMessageBoxSink sink;
    CScriptedMessageBoxSink::Expectation creation;
    creation.textPart = "Couldnt create IStandaloneChron2 instance for CLSID=nonsense hr=0x";
    sink.Expect(creation);
    EXPECT_FALSE(CLauncherApp().Run((m_dir / "Chronosets2").string()));
}

TEST_F(LauncherAppTest, ProgramWithoutDirectory)
{
    CScriptedMessageBoxSink sink;
    sink.ExpectText("Output Path is empty", IDOK);
    EXPECT_FALSE(CLauncherApp().Run("Chronosets2"));
}
