// The Qt-free interfaces of the window layer: file-type filters and the
// file dialog, help requests and the wait cursor.

#include "platform/base/FileDialog.h"
#include "platform/base/FileDialogService.h"
#include "platform/base/HelpService.h"
#include "platform/base/WaitCursor.h"
#include "platform/base/WaitCursorSink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::FileFilterEntry;

TEST(FileFilterTest, FrameworkFilterTextsSplitIntoEntries) {
    EXPECT_EQ(platform::ParseFileFilter("Tavik (*.tv2)|*.tv2|CSV Format (*.csv)|*.csv|Alle Dateien (*.*)|*.*||"),
              (std::vector<FileFilterEntry>{{"Tavik (*.tv2)", {"*.tv2"}},
                                            {"CSV Format (*.csv)", {"*.csv"}},
                                            {"Alle Dateien (*.*)", {"*.*"}}}));
    // Several patterns in one entry; text after the closing bars is ignored.
    EXPECT_EQ(platform::ParseFileFilter("Tavik|*.tv2; *.tv1||Rest|*.x"),
              (std::vector<FileFilterEntry>{{"Tavik", {"*.tv2", "*.tv1"}}}));
    // A description without patterns is dropped; so is everything of an
    // empty or malformed text.
    EXPECT_TRUE(platform::ParseFileFilter("Nur Text").empty());
    EXPECT_TRUE(platform::ParseFileFilter("").empty());
    EXPECT_TRUE(platform::ParseFileFilter("||").empty());
    EXPECT_EQ(platform::ParseFileFilter("A|*.a|B"), (std::vector<FileFilterEntry>{{"A", {"*.a"}}}));
}

// Answers every dialog with a fixed path and keeps the request.
class CFakeFileDialogs : public platform::IFileDialogService {
public:
    int ShowFileDialog(const platform::FileDialogRequest& request, std::string& strPath) override {
        m_request = request;
        if (m_strAnswer.empty()) {
            return IDCANCEL;
        }
        strPath = m_strAnswer;
        return IDOK;
    }

    platform::FileDialogRequest m_request;
    std::string m_strAnswer;
};

TEST(FileDialogTest, RunsThroughTheServiceAndSplitsTheChosenPath) {
    CFakeFileDialogs fake;
    platform::IFileDialogService* pPrevious = platform::SetFileDialogService(&fake);
    fake.m_strAnswer = "/daten/projekt/anlage.neu.tv2";

    CFileDialog dlg(FALSE, "tv2", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "Tavik (*.tv2)|*.tv2|Alle Dateien (*.*)|*.*||", reinterpret_cast<HWND>(0x10));
    dlg.SetTitle("Export");
    dlg.SetInitialDir("/daten/projekt");
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(fake.m_request.bOpen);
    EXPECT_EQ(fake.m_request.strDefExt, "tv2");
    EXPECT_EQ(fake.m_request.strTitle, "Export");
    EXPECT_EQ(fake.m_request.strInitialDir, "/daten/projekt");
    EXPECT_EQ(fake.m_request.dwFlags, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    EXPECT_EQ(fake.m_request.hOwner, reinterpret_cast<HWND>(0x10));
    EXPECT_EQ(fake.m_request.filters.size(), 2u);
    EXPECT_EQ(dlg.GetPathName(), "/daten/projekt/anlage.neu.tv2");
    EXPECT_EQ(dlg.GetFileName(), "anlage.neu.tv2");
    EXPECT_EQ(dlg.GetFileExt(), "tv2");
    EXPECT_EQ(dlg.GetFileTitle(), "anlage.neu");

    // A cancel leaves the path empty.
    fake.m_strAnswer.clear();
    CFileDialog cancelled(TRUE);
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_TRUE(cancelled.GetPathName().empty());
    EXPECT_EQ(cancelled.GetFileExt(), "");

    // Without a service every dialog is a cancel.
    platform::SetFileDialogService(nullptr);
    CFileDialog none(TRUE);
    EXPECT_EQ(none.DoModal(), IDCANCEL);
    platform::SetFileDialogService(pPrevious);
}

class CFakeHelp : public platform::IHelpService {
public:
    void ShowHelp(const std::string& strHelpFile, DWORD dwContext, UINT nCmd) override {
        m_strFile = strHelpFile;
        m_arrContexts.push_back(dwContext);
        m_nCmd = nCmd;
    }
    std::string m_strFile;
    std::vector<DWORD> m_arrContexts;
    UINT m_nCmd = 0;
};

TEST(HelpServiceTest, RequestsGoToTheServiceWithTheApplicationsHelpFile) {
    platform::WinHelp(131185);  // without a service: nothing, no crash
    CFakeHelp help;
    platform::IHelpService* pPrevious = platform::SetHelpService(&help);
    const std::string strOldPath = platform::GetHelpFilePath();
    platform::SetHelpFilePath("/opt/vek/Vek_ZR020407.chm");
    platform::WinHelp(platform::HID_BASE_RESOURCE + 195);
    EXPECT_EQ(help.m_arrContexts, (std::vector<DWORD>{131267}));
    EXPECT_EQ(help.m_strFile, "/opt/vek/Vek_ZR020407.chm");
    EXPECT_EQ(help.m_nCmd, platform::HELP_CONTEXT);
    platform::SetHelpFilePath(strOldPath);
    platform::SetHelpService(pPrevious);
}

class CCountingWaitCursor : public platform::IWaitCursorSink {
public:
    void BeginWaitCursor() override { m_arrCalls.push_back(+1); }
    void EndWaitCursor() override { m_arrCalls.push_back(-1); }
    std::vector<int> m_arrCalls;
};

TEST(WaitCursorTest, ScopesBeginAndEndOnTheSinkTheyStartedWith) {
    { CWaitCursor none; }  // without a sink: nothing
    CCountingWaitCursor first;
    CCountingWaitCursor second;
    platform::IWaitCursorSink* pPrevious = platform::SetWaitCursorSink(&first);
    {
        CWaitCursor outer;
        {
            CWaitCursor inner;
            inner.Restore();
        }
        platform::SetWaitCursorSink(&second);
    }
    EXPECT_EQ(first.m_arrCalls, (std::vector<int>{+1, +1, -1, +1, -1, -1}));
    EXPECT_TRUE(second.m_arrCalls.empty());
    platform::SetWaitCursorSink(pPrevious);
}

}  // namespace
