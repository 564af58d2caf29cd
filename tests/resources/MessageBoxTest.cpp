#include "model/MessageBoxes.h"
#include "common/Globals.h"
#include "common/HostLogger.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "tests/support/ScriptedMessageBoxSink.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

HWND FakeWindow(std::uintptr_t n) { return reinterpret_cast<HWND>(n); }

class CRecordingHostLogger : public IHostLogger {
public:
    struct Line {
        LONG nLevel;
        std::string strText;
    };
    HRESULT Log(LONG nLevel, const char* pszText) override {
        m_vecLines.push_back({nLevel, pszText});
        return S_OK;
    }
    HRESULT IsEnabled(LONG, SHORT& nEnabled) override {
        nEnabled = 1;
        return S_OK;
    }
    HRESULT SetName(const std::string&) override { return S_OK; }

    std::vector<Line> m_vecLines;
};

// Plug-in mode with a recording host logger, so that what the boxes log can
// be read back; a source location is set to show that the boxes leave it out.
class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_bStandalone = g_bStandalone;
        m_pHostLogger = g_pHostLogger;
        m_pLogger = std::make_shared<CRecordingHostLogger>();
        m_pHost = std::make_unique<CHostLogger>(m_pLogger, nullptr);
        g_bStandalone = false;
        g_pHostLogger = m_pHost.get();
        g_pszLogSourceFile = "editors/groups/QuantityEditDlg.cpp";
        g_nLogSourceLine = 42;
    }
    void TearDown() override {
        g_bStandalone = m_bStandalone;
        g_pHostLogger = m_pHostLogger;
    }

    std::shared_ptr<CRecordingHostLogger> m_pLogger;
    std::unique_ptr<CHostLogger> m_pHost;

private:
    bool m_bStandalone = false;
    CHostLogger* m_pHostLogger = nullptr;
};

TEST_F(MessageBoxTest, NullTextShowsNothingAndCancels) {
    CScriptedMessageBoxSink sink;  // fails the test on any box
    CMessageBox box;
    EXPECT_EQ(box.AskYesNo(FakeWindow(1), nullptr, "Frage"), IDCANCEL);
    EXPECT_EQ(box.AskYesNoCancel(nullptr, nullptr, nullptr), IDCANCEL);
    EXPECT_EQ(box.Show(FakeWindow(1), nullptr, "x", MB_OK), IDCANCEL);
    EXPECT_TRUE(sink.GetShown().empty());
    EXPECT_TRUE(sink.GetFocusCalls().empty());
}

TEST_F(MessageBoxTest, EachKindHasItsStyleAndFocusReturnsToTheOwner) {
    CScriptedMessageBoxSink sink;
    sink.ExpectBox("w", "c", 0x30, IDOK)
        .ExpectBox("e", "c", 0x10, IDOK)
        .ExpectBox("oc", "c", 0x21, IDOK)
        .ExpectBox("ync", "c", 0x23, IDNO)
        .ExpectBox("yn", "c", 0x24, IDYES)
        .ExpectBox("i", "c", 0x40, IDOK);
    const HWND hOwner = FakeWindow(0x100);
    CMessageBox box(true);
    EXPECT_EQ(box.ShowWarning(hOwner, "w", "c"), IDOK);
    EXPECT_EQ(box.ShowError(hOwner, "e", "c"), IDOK);
    EXPECT_EQ(box.AskOkCancel(hOwner, "oc", "c"), IDOK);
    EXPECT_EQ(box.AskYesNoCancel(hOwner, "ync", "c"), IDNO);
    EXPECT_EQ(box.AskYesNo(hOwner, "yn", "c"), IDYES);
    EXPECT_EQ(box.ShowInfo(hOwner, "i", "c"), IDOK);

    ASSERT_EQ(sink.GetShown().size(), 6u);
    for (const auto& shown : sink.GetShown()) {
        EXPECT_EQ(shown.hOwner, hOwner);
    }
    EXPECT_EQ(sink.GetFocusCalls(), std::vector<HWND>(6, hOwner));
    EXPECT_TRUE(m_pLogger->m_vecLines.empty());  // the object's boxes do not log
}

TEST_F(MessageBoxTest, WithoutOwnerTheFocusIsLeftAlone) {
    CScriptedMessageBoxSink sink;
    sink.ExpectAny(IDOK);
    EXPECT_EQ(CMessageBox().ShowInfo(nullptr, "Hinweis", nullptr), IDOK);
    EXPECT_EQ(sink.GetShown().at(0).strCaption, "");
    EXPECT_TRUE(sink.GetFocusCalls().empty());
}

TEST_F(MessageBoxTest, WithoutSinkBoxesAnswerCancel) {
    platform::IMessageBoxSink* pOld = platform::SetMessageBoxSink(nullptr);
    EXPECT_EQ(CMessageBox().AskYesNo(FakeWindow(1), "Frage?", ""), IDCANCEL);
    EXPECT_EQ(QuestionBox("Frage %d?", 1), IDCANCEL);
    EXPECT_EQ(ErrorBox("Fehler"), IDCANCEL);
    ASSERT_EQ(m_pLogger->m_vecLines.size(), 1u);  // the error box logs its own line, nothing else
    platform::SetMessageBoxSink(pOld);
}

TEST_F(MessageBoxTest, InfoBoxLogsAtLevelFourWithoutPrefix) {
    CScriptedMessageBoxSink sink;
    sink.SetActiveWindow(FakeWindow(0x200));
    CScriptedMessageBoxSink::Expectation expected;
    expected.text = "Die maximale Anzahl von Mengen ist erreicht. (30)";
    expected.caption = "";
    expected.style = 0x40;
    expected.owner = FakeWindow(0x200);
    sink.Expect(expected);
    InfoBox("%s (%d)", "Die maximale Anzahl von Mengen ist erreicht.", 30);

    ASSERT_EQ(m_pLogger->m_vecLines.size(), 1u);
    EXPECT_EQ(m_pLogger->m_vecLines[0].nLevel, 4);
    EXPECT_EQ(m_pLogger->m_vecLines[0].strText, "Die maximale Anzahl von Mengen ist erreicht. (30)\n");
    EXPECT_TRUE(sink.GetFocusCalls().empty());
}

TEST_F(MessageBoxTest, QuestionBoxIsNotLogged) {
    CScriptedMessageBoxSink sink;
    sink.ExpectBox("Wollen Sie die ausgew\xC3\xA4hlten 3 Sommerzeiten l\xC3\xB6schen?", "", 0x23, IDYES);
    EXPECT_EQ(QuestionBox("Wollen Sie die ausgew\xC3\xA4hlten %d Sommerzeiten l\xC3\xB6schen?", 3), IDYES);
    EXPECT_TRUE(m_pLogger->m_vecLines.empty());
}

TEST_F(MessageBoxTest, FreeBoxesLogAtTheirLevels) {
    CScriptedMessageBoxSink sink;
    sink.ExpectBox("e", "", 0x10, IDOK)
        .ExpectBox("n", "", 0x40, IDOK)
        .ExpectBox("w", "", 0x30, IDOK)
        .ExpectBox("oc", "", 0x21, IDCANCEL)
        .ExpectBox("Memory full", "", 0x10, IDOK)
        .ExpectBox("Disk full", "", 0x10, IDOK);
    EXPECT_EQ(ErrorBox("e"), IDOK);
    EXPECT_EQ(NoteBox("n"), IDOK);
    EXPECT_EQ(WarningBox("w"), IDOK);
    EXPECT_EQ(OkCancelBox("oc"), IDCANCEL);
    EXPECT_EQ(MemoryFullBox(), IDOK);
    EXPECT_EQ(DiskFullBox(), IDOK);

    const std::vector<std::pair<LONG, std::string>> expected = {
        {2, "?? e\n"}, {4, "n\n"}, {3, "!! w\n"}, {4, "oc\n"}, {2, "?? Memory full\n"}, {2, "?? Disk full\n"},
    };
    ASSERT_EQ(m_pLogger->m_vecLines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(m_pLogger->m_vecLines[i].nLevel, expected[i].first);
        EXPECT_EQ(m_pLogger->m_vecLines[i].strText, expected[i].second);
    }
}

TEST_F(MessageBoxTest, OverlongBoxTextIsCutToTheSharedBuffer) {
    CScriptedMessageBoxSink sink;
    sink.ExpectAny(IDOK);
    std::string strLong(4000, 'z');
    NoteBox("%s", strLong.c_str());
    ASSERT_EQ(sink.GetShown().size(), 1u);
    EXPECT_EQ(sink.GetShown()[0].strText, std::string(LOG_TEXT_SIZE - 1, 'z'));
}

}  // namespace
