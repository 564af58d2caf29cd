#include "tools/HostProjectSaver.h"

#include "platform/base/AtomicFile.h"
#include "platform/com/ComVariant.h"
#include "platform/host/EtsHost.h"
#include "tests/support/ScriptedFileDialogService.h"
#include "tests/support/ScriptedMessageBoxSink.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A host whose project the editor changed; the targets under "file" are
// never written, also for root, as their folder is a regular file.
class HostProjectSaverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(m_dir);
        ASSERT_TRUE(platform::WriteFileAtomically((m_dir / "file").string(), "x"));
        ASSERT_TRUE(m_host.LoadText(R"({"format": "chronosets2-host-project", "version": 1, "projects": [{"id": 1,
            "devices": [{"id": 2, "address": 1, "parameters": [{"id": 3, "value": "alt"}]}]}]})"));
        CComPtr<IEtsDeviceParameter> pParameter;
        ASSERT_EQ(m_host.FindObject(3)->QueryInterface(&pParameter.p), S_OK);
        ASSERT_EQ(pParameter->put_Value(CComVariant("geändert")), S_OK);
        ::testing::internal::CaptureStderr();
        ASSERT_FALSE(m_saver.Write(Blocked("project.json")));
        EXPECT_EQ(::testing::internal::GetCapturedStderr(),
                  "etshost: cannot write " + Blocked("project.json") + ": Not a directory\n");
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Blocked(const char* pszName) const { return (m_dir / "file" / pszName).string(); }
    void ExpectFailureBox(const std::string& strPath)
    {
        CScriptedMessageBoxSink::Expectation box;
        box.textPart = "cannot write " + strPath + ": Not a directory";
        box.caption = "etshost";
        box.style = MB_OK | MB_ICONERROR;
        m_boxes.Expect(box);
    }
    void ExpectDropQuestion(int nAnswer)
    {
        CScriptedMessageBoxSink::Expectation box;
        box.style = MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2;
        box.nAnswer = nAnswer;
        m_boxes.Expect(box);
    }

    const fs::path m_dir = fs::temp_directory_path() / ("saver-" + std::to_string(::getpid()));
    platform::host::CEtsHost m_host;
    CHostProjectSaver m_saver {m_host};
    CScriptedMessageBoxSink m_boxes;
    CScriptedFileDialogService m_dialogs;
};

}  // namespace

TEST_F(HostProjectSaverTest, AFailedWriteKeepsAskingUntilAChosenFileTakesTheProject)
{
    ExpectFailureBox(Blocked("project.json"));
    CScriptedFileDialogService::Expectation first;
    first.bOpen = false;
    first.initialDir = (m_dir / "file").string();
    first.strPath = Blocked("second.json");
    m_dialogs.Expect(first);
    ExpectFailureBox(Blocked("second.json"));
    m_dialogs.ExpectSave((m_dir / "rescued.json").string());
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(m_saver.SaveElsewhere(Blocked("project.json")));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "etshost: cannot write " + Blocked("second.json") + ": Not a directory\n");

    EXPECT_EQ(m_dialogs.GetRequests().at(0).strFileName, "project.json");
    EXPECT_FALSE(m_host.IsModified());
    platform::host::CEtsHost reloaded;
    ASSERT_TRUE(reloaded.LoadFile((m_dir / "rescued.json").string()));
    EXPECT_NE(reloaded.SaveText().find("geändert"), std::string::npos);
}

TEST_F(HostProjectSaverTest, TheChangesGoOnlyAfterAClearYes)
{
    ExpectFailureBox(Blocked("project.json"));
    // No, and a question closed without an answer, lead back to the dialog.
    for (int nAnswer : {IDNO, IDCANCEL, IDYES}) {
        m_dialogs.ExpectCancel();
        ExpectDropQuestion(nAnswer);
    }
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(m_saver.SaveElsewhere(Blocked("project.json")));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "etshost: the changes to the project were not saved\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
    EXPECT_TRUE(m_host.IsModified());
}

TEST(HostProjectSaverAloneTest, WithoutADialogToAnswerNothingIsAsked)
{
    platform::host::CEtsHost host;
    CHostProjectSaver saver(host);
    CScriptedMessageBoxSink boxes;  // an unexpected box fails the test
    EXPECT_FALSE(saver.SaveElsewhere("/nowhere/project.json"));
}
