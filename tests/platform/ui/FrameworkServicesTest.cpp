// Services of the framework stand-in: timers by id, posted calls, help by
// context id from dialogs, the Qt help, wait-cursor and file-dialog sinks,
// the command block behind a window in front, template extras, and the
// test doubles' failures on prompts nobody expected.

#include "platform/base/FileDialog.h"
#include "platform/base/HelpService.h"
#include "platform/base/MessageBoxSink.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/WaitCursor.h"
#include "platform/base/WindowStyles.h"
#include "platform/ui/CommandBlock.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/OwnerDrawButton.h"
#include "platform/ui/Posting.h"
#include "platform/ui/QtFileDialogService.h"
#include "platform/ui/QtHelpService.h"
#include "platform/ui/QtMessageBoxSink.h"
#include "platform/ui/QtWaitCursorSink.h"
#include "platform/ui/WndTimers.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/support/RecordingHelpService.h"
#include "tests/support/ScriptedFileDialogService.h"
#include "tests/support/ScriptedMessageBoxSink.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace {

const platform::ResDialogControl kServicesControls[] = {
    {1001, "STATIC", "&Name:", 10, 10, 40, 8, WS_CHILD | WS_VISIBLE, 0},
    {1002, "EDIT", nullptr, 55, 10, 80, 12, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0},
    {1003, "STATIC", "A & B", 10, 26, 40, 8, WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0},
    {1004, "BUTTON", "", 10, 40, 30, 14, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0},
    {IDOK, "BUTTON", "OK", 100, 40, 40, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDC_HILFE, "BUTTON", "Hilfe", 100, 58, 40, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0},
};
const platform::ResDialog kServicesDialogs[] = {
    {168, "Tagesablauf", 0, 0, 150, 80, "MS Shell Dlg", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0,
     {kServicesControls, std::size(kServicesControls)}},
};
const platform::ResourceTables kServicesTables{
    platform::RESOURCE_TABLES_VERSION, 0x0407, {}, {}, {}, {kServicesDialogs, std::size(kServicesDialogs)}, {}, {}, {},
};

class FrameworkServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        static const platform::CResourceModule module(kServicesTables);
        m_pPrevious = platform::SetFrameworkResourceModule(&module);
    }
    void TearDown() override { platform::SetFrameworkResourceModule(m_pPrevious); }

    uitest::CTestModalRunner m_runner;

private:
    const platform::CResourceModule* m_pPrevious = nullptr;
};

class CTimerDialog : public CDialog {
public:
    CTimerDialog() : CDialog(168) {}
    std::vector<CWndTimers::TimerId> m_arrTicks;
    std::vector<UINT> m_arrDrawn;

    void OnDrawItem(UINT nIDCtl, QPainter& painter, const DrawItemInfo& item) override {
        m_arrDrawn.push_back(nIDCtl);
        painter.fillRect(item.rcItem, Qt::red);
    }

protected:
    void OnTimer(CWndTimers::TimerId nIDEvent) override {
        m_arrTicks.push_back(nIDEvent);
        if (nIDEvent == 2) {
            KillTimer(2);  // a one-shot
        }
    }
};

TEST_F(FrameworkServicesTest, TimersByIdAreTickedByHand) {
    CTimerDialog dlg;
    EXPECT_FALSE(uitest::TickTimer(&dlg, 1));
    EXPECT_EQ(dlg.SetTimer(1, 500), 1u);
    EXPECT_EQ(dlg.SetTimer(2, 100), 2u);
    CWndTimers* pTimers = CWndTimers::Of(&dlg, false);
    ASSERT_NE(pTimers, nullptr);
    EXPECT_EQ(pTimers->GetElapse(1), 500u);
    // Setting an id again restarts it with the new interval.
    dlg.SetTimer(1, 250);
    EXPECT_EQ(pTimers->GetElapse(1), 250u);
    EXPECT_TRUE(uitest::TickTimer(&dlg, 1));
    EXPECT_TRUE(uitest::TickTimer(&dlg, 2));
    EXPECT_FALSE(uitest::TickTimer(&dlg, 2));  // it killed itself
    EXPECT_TRUE(uitest::TickTimer(&dlg, 1));
    EXPECT_EQ(dlg.m_arrTicks, (std::vector<CWndTimers::TimerId>{1, 2, 1}));
    EXPECT_TRUE(dlg.KillTimer(1));
    EXPECT_FALSE(dlg.KillTimer(1));
    EXPECT_FALSE(pTimers->IsTimerSet(1));
}

TEST_F(FrameworkServicesTest, PostedCallsRunLaterAndNeverForAGoneReceiver) {
    std::vector<int> calls;
    auto pReceiver = std::make_unique<QObject>();
    platform::ui::PostCall(pReceiver.get(), [&]() { calls.push_back(1); });
    auto pGone = std::make_unique<QObject>();
    platform::ui::PostCall(pGone.get(), [&]() { calls.push_back(2); });
    pGone.reset();
    EXPECT_TRUE(calls.empty());
    uitest::ProcessEvents();
    EXPECT_EQ(calls, (std::vector<int>{1}));

    CDialog dlg;
    dlg.MapCommand(40005, [&]() { calls.push_back(40005); });
    platform::ui::PostCommand(&dlg, 40005);
    EXPECT_EQ(calls.size(), 1u);
    uitest::ProcessEvents();
    EXPECT_EQ(calls, (std::vector<int>{1, 40005}));
}

TEST_F(FrameworkServicesTest, HilfeButtonAndF1AskForTheDialogsContext) {
    CRecordingHelpService help;
    CTimerDialog dlg;
    m_runner.Then([](QDialog& d) {
        uitest::Click(uitest::FindControl(&d, IDC_HILFE));
        uitest::PressKey(uitest::FindControl(&d, 1002), Qt::Key_F1);
        uitest::PressKey(&d, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(help.GetContexts(), (std::vector<DWORD>{0x20000 + 168, 0x20000 + 168}));

    // A dialog may answer with another context.
    CTimerDialog other;
    other.SetHelpID(113);
    other.SendCommand(IDC_HILFE);
    EXPECT_EQ(help.GetContexts().back(), 131185u);
}

TEST_F(FrameworkServicesTest, QtHelpOpensAnExistingHelpFileAndLogsOtherwise) {
    std::vector<std::pair<int, std::string>> lines;
    std::vector<std::pair<std::string, DWORD>> opened;
    CQtHelpService help([&](int nLevel, const std::string& strLine) { lines.emplace_back(nLevel, strLine); },
                        [&](const std::string& strFile, DWORD dwContext) {
                            opened.emplace_back(strFile, dwContext);
                            return true;
                        });
    CScriptedMessageBoxSink boxes;
    CScriptedMessageBoxSink::Expectation missing;
    missing.textPart = "\"/nonexistent/Vek_ZR020407.chm\"";
    boxes.Expect(missing);
    help.ShowHelp("", 936, platform::HELP_CONTEXT);
    help.ShowHelp("/nonexistent/Vek_ZR020407.chm", 131185, platform::HELP_CONTEXT);
    EXPECT_TRUE(opened.empty());
    // The user learns which file is missing; without a file set, nothing shows.
    EXPECT_EQ(boxes.GetShown().size(), 1u);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].first, CQtHelpService::kLevelInfo);
    EXPECT_EQ(lines[0].second, "Help requested for context 936 (0x3A8), no help file \"\"");
    EXPECT_NE(lines[1].second.find("131185 (0x20071)"), std::string::npos);

    const std::string strFile = (std::filesystem::temp_directory_path() / "chrono-help-0407.chm").string();
    std::ofstream(strFile) << "help";
    help.ShowHelp(strFile, 131267, platform::HELP_CONTEXT);
    help.ShowHelp(strFile, 0, platform::HELP_QUIT);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], std::make_pair(strFile, DWORD{131267}));
    EXPECT_EQ(lines.back().second, "Help opened for context 131267 (0x200C3): \"" + strFile + "\"");
    std::filesystem::remove(strFile);
}

TEST_F(FrameworkServicesTest, WaitCursorShowsTheBusyCursorWhileAnyScopeLasts) {
    CQtWaitCursorSink sink;
    platform::IWaitCursorSink* pPrevious = platform::SetWaitCursorSink(&sink);
    {
        CWaitCursor outer;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            CWaitCursor inner;
            EXPECT_EQ(sink.GetDepth(), 2);
        }
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    sink.EndWaitCursor();  // unbalanced: nothing
    EXPECT_EQ(sink.GetDepth(), 0);
    platform::SetWaitCursorSink(pPrevious);
}

TEST_F(FrameworkServicesTest, QtFileDialogFollowsTheRequest) {
    platform::FileDialogRequest request;
    request.bOpen = false;
    request.strTitle = "Export";
    request.filters = platform::ParseFileFilter("Tavik (*.tv2)|*.tv2|CSV Format (*.csv)|*.csv|Alle Dateien|*.*||");
    request.nFilterIndex = 2;
    request.strDefExt = "tv2";
    request.dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    request.strInitialDir = std::filesystem::temp_directory_path().string();

    QFileDialog dlg;
    CQtFileDialogService::PrepareDialog(dlg, request);
    EXPECT_EQ(dlg.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dlg.windowTitle(), "Export");
    EXPECT_EQ(dlg.nameFilters(),
              (QStringList{"Tavik (*.tv2)", "CSV Format (*.csv)", "Alle Dateien (*.*)"}));
    EXPECT_EQ(dlg.selectedNameFilter(), "CSV Format (*.csv)");
    EXPECT_EQ(dlg.defaultSuffix(), "tv2");
    EXPECT_FALSE(dlg.testOption(QFileDialog::DontConfirmOverwrite));

    request.bOpen = true;
    request.dwFlags = OFN_HIDEREADONLY;
    QFileDialog open;
    CQtFileDialogService::PrepareDialog(open, request);
    EXPECT_EQ(open.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open.fileMode(), QFileDialog::ExistingFile);

    // A cancelled run changes nothing.
    CQtFileDialogService service;
    platform::IFileDialogService* pPrevious = platform::SetFileDialogService(&service);
    m_runner.Then([](QDialog& d) { uitest::PressWindowKey(&d, Qt::Key_Escape); });
    CFileDialog fileDialog(TRUE, "tv2");
    EXPECT_EQ(fileDialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(fileDialog.GetPathName().empty());
    platform::SetFileDialogService(pPrevious);
}

TEST_F(FrameworkServicesTest, WindowsBehindAFrontWindowTakeNoCommandsAndDoNotClose) {
    CDialog owner;
    int nCommands = 0;
    owner.MapCommand(40005, [&]() { ++nCommands; });
    owner.show();
    QDialog front(&owner);
    front.show();
    platform::ui::BeginCommandBlock(&front);
    EXPECT_TRUE(platform::ui::IsCommandBlocked(&owner));
    EXPECT_FALSE(platform::ui::IsCommandBlocked(&front));
    EXPECT_FALSE(owner.SendCommand(40005));
    uitest::PressCloseBox(&owner);
    EXPECT_TRUE(owner.isVisible());
    // A window opened later (a dialog of the operation) is free.
    CDialog later;
    later.show();
    later.MapCommand(1, [&]() { nCommands += 10; });
    EXPECT_TRUE(later.SendCommand(1));
    later.hide();

    platform::ui::EndCommandBlock(&front);
    EXPECT_TRUE(owner.SendCommand(40005));
    EXPECT_EQ(nCommands, 11);

    // A front window that goes ends its block.
    auto pFront = std::make_unique<QDialog>(&owner);
    pFront->show();
    platform::ui::BeginCommandBlock(pFront.get());
    EXPECT_TRUE(platform::ui::IsCommandBlocked(&owner));
    pFront.reset();
    EXPECT_FALSE(platform::ui::IsCommandBlocked(&owner));
    owner.hide();
}

TEST_F(FrameworkServicesTest, TemplateExtrasOwnerDrawMnemonicsAndTexts) {
    CTimerDialog dlg;
    auto* pOwnerDrawn = dlg.GetDlgItemAs<COwnerDrawButton>(1004);
    ASSERT_NE(pOwnerDrawn, nullptr);
    // The dialog paints it.
    const QImage image = pOwnerDrawn->grab().toImage();
    ASSERT_FALSE(dlg.m_arrDrawn.empty());
    EXPECT_EQ(dlg.m_arrDrawn.back(), 1004u);
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), QColor(Qt::red));
    // A label's mnemonic leads to the next control; not with SS_NOPREFIX.
    dlg.show();
    uitest::ProcessEvents();
    uitest::PressKey(dlg.GetDlgItem(IDOK), Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(dlg.GetDlgItem(1002)->hasFocus());
    EXPECT_EQ(dlg.GetDlgItemAs<QLabel>(1003)->buddy(), nullptr);
    dlg.hide();
    EXPECT_TRUE(dlg.GetDlgItemAs<QLabel>(1001)->wordWrap());

    EXPECT_TRUE(dlg.SetDlgItemText(1002, "Morgens"));
    EXPECT_EQ(dlg.GetDlgItemAs<QLineEdit>(1002)->text(), "Morgens");
    EXPECT_EQ(dlg.GetDlgItemText(IDOK), "OK");
    EXPECT_FALSE(dlg.SetDlgItemText(4711, "x"));
    EXPECT_EQ(dlg.GetDlgItemText(4711), "");
}

TEST_F(FrameworkServicesTest, ModelessDialogIsCreatedAndDestroyed) {
    CTimerDialog dlg;
    EXPECT_FALSE(dlg.HasWindow());
    EXPECT_TRUE(dlg.Create());
    EXPECT_TRUE(dlg.HasWindow());
    EXPECT_TRUE(dlg.IsInitialized());
    EXPECT_FALSE(dlg.Create());
    EXPECT_FALSE(dlg.isVisible());  // the template is not WS_VISIBLE
    dlg.DestroyWindow();
    EXPECT_FALSE(dlg.HasWindow());
    CDialog missing(4711);
    EXPECT_FALSE(missing.Create());
}

TEST_F(FrameworkServicesTest, ScriptedDoublesAnswerAndFailOnPromptsNobodyExpected) {
    {
        CScriptedMessageBoxSink boxes;
        boxes.ExpectBox("Sollen die geänderten Daten gespeichert werden?", "Änderungen speichern",
                        MB_YESNOCANCEL | MB_ICONQUESTION, IDNO);
        EXPECT_EQ(platform::MessageBox(nullptr, "Sollen die geänderten Daten gespeichert werden?",
                                       "Änderungen speichern", MB_YESNOCANCEL | MB_ICONQUESTION),
                  IDNO);
    }
    EXPECT_NONFATAL_FAILURE(
        {
            CScriptedMessageBoxSink boxes;
            EXPECT_EQ(platform::MessageBox(nullptr, "Überraschung", "", MB_OK), IDCANCEL);
        },
        "unexpected message box");
    EXPECT_NONFATAL_FAILURE(
        {
            CScriptedFileDialogService files;
            CFileDialog dlg(TRUE);
            EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        },
        "unexpected file dialog");
    {
        CScriptedFileDialogService files;
        files.ExpectSave("/tmp/anlage.tv2").ExpectCancel();
        CFileDialog save(FALSE, "tv2");
        EXPECT_EQ(save.DoModal(), IDOK);
        EXPECT_EQ(save.GetPathName(), "/tmp/anlage.tv2");
        CFileDialog open(TRUE);
        EXPECT_EQ(open.DoModal(), IDCANCEL);
        EXPECT_EQ(files.GetRequests().size(), 2u);
    }
    EXPECT_NONFATAL_FAILURE(
        {
            uitest::CTestModalRunner runner;
            CTimerDialog dlg;
            dlg.DoModal();
        },
        "unexpected modal run");
}

TEST_F(FrameworkServicesTest, QtMessageBoxAnswerIsScriptedThroughTheModalRunner) {
    CQtMessageBoxSink sink;
    platform::IMessageBoxSink* pPrevious = platform::SetMessageBoxSink(&sink);
    m_runner.Then([](QDialog& d) { uitest::PressKey(&d, Qt::Key_Escape); });
    EXPECT_EQ(platform::MessageBox(nullptr, "Fehler beim Laden der Parameterdaten!", "Parameterdaten laden",
                                   MB_ICONERROR),
              IDOK);
    platform::SetMessageBoxSink(pPrevious);
}

}  // namespace

// A window manager can leave the keyboard with another window when a modal
// dialog closes; the window that was active gets it back, with the focus on
// the control that had it, and its keys answer.
TEST_F(FrameworkServicesTest, AModalRunGivesTheKeyboardBackToTheWindowThatHadIt) {
    CDialog owner(168);
    ASSERT_TRUE(owner.Create());
    owner.show();
    owner.activateWindow();
    auto* pEdit = owner.GetDlgItemAs<QLineEdit>(1002);
    pEdit->setFocus(Qt::OtherFocusReason);
    uitest::ProcessEvents();
    ASSERT_EQ(QApplication::activeWindow(), &owner);

    QWidget elsewhere;
    QDialog front(&owner);
    m_runner.Then([&](QDialog& d) {
        elsewhere.show();
        elsewhere.activateWindow();
        uitest::ProcessEvents();
        d.reject();
    });
    const int nDelay = platform::ui::SetReactivateDelay(0);
    platform::ui::RunModal(front);
    EXPECT_TRUE(QTest::qWaitFor([&owner]() { return QApplication::activeWindow() == &owner; }));
    platform::ui::SetReactivateDelay(nDelay);
    EXPECT_EQ(QApplication::focusWidget(), pEdit);
    uitest::PressWindowKey(&owner, Qt::Key_X);
    EXPECT_EQ(pEdit->text(), "x");
}
