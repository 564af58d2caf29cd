#include "platform/base/AtomicFile.h"
#include "platform/base/FileDialogService.h"
#include "platform/base/HelpService.h"
#include "platform/base/MessageBoxSink.h"
#include "platform/base/PathUtil.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/ProgressSink.h"
#include "platform/base/SingleInstance.h"
#include "platform/base/WaitCursorSink.h"
#include "platform/host/WindowMessages.h"
#include "platform/ui/Handles.h"
#include "platform/ui/QtFileDialogService.h"
#include "platform/ui/QtHelpService.h"
#include "platform/ui/QtMessageBoxSink.h"
#include "platform/ui/QtWaitCursorSink.h"
#include "platform/ui/WindowClasses.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/resources/SatellitePath.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/IconFile.h"
#include "ui/ProgressWindow.h"
#include "ui/UiServices.h"

#include <QApplication>
#include <QLabel>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>

namespace {

std::string ProductIconPath() {
    return platform::PathJoinSlash(platform::PathDirectory(platform::GetProgramPath()), "Tavik2.ico");
}

class UiServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pPrevious = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        ASSERT_TRUE(m_services.BeginSession());  // the test main's application stays
    }
    void TearDown() override {
        m_services.EndSession();
        platform::SetFrameworkResourceModule(m_pPrevious);
    }

    CUiServices m_services;
    uitest::CTestModalRunner m_runner;

private:
    const platform::CResourceModule* m_pPrevious = nullptr;
};

TEST_F(UiServicesTest, ProductIconFileBesideTheProgramsIsIconResource131) {
    const auto fileBytes = platform::ReadWholeFile(ProductIconPath());
    ASSERT_TRUE(fileBytes.has_value()) << ProductIconPath();
    const platform::ResBinary* pGerman = resources::GetBuiltInResourceModule().FindIcon(131);
    ASSERT_NE(pGerman, nullptr);
    EXPECT_EQ(*fileBytes, std::vector<BYTE>(pGerman->pData, pGerman->pData + pGerman->nSize));
    const platform::CResourceModule* pEnglish = platform::LoadResourceLibrary(SatellitePath());
    ASSERT_NE(pEnglish, nullptr);
    const platform::ResBinary* pEnglishIcon = pEnglish->FindIcon(131);
    ASSERT_NE(pEnglishIcon, nullptr);
    EXPECT_EQ(*fileBytes, std::vector<BYTE>(pEnglishIcon->pData, pEnglishIcon->pData + pEnglishIcon->nSize));

    // A clock: opaque in the middle, transparent in the corners, at both sizes.
    CIconFile iconFile;
    ASSERT_TRUE(iconFile.Load(ProductIconPath()));
    ASSERT_EQ(iconFile.GetCount(), 2);
    for (int nWidth : {16, 32}) {
        const QImage image = iconFile.CreateImage(nWidth);
        ASSERT_EQ(image.size(), QSize(nWidth, nWidth));
        EXPECT_EQ(qAlpha(image.pixel(nWidth / 2, nWidth / 2)), 255);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(nWidth - 1, nWidth - 1)), 0);
    }
}

TEST_F(UiServicesTest, IconFileGivesAnOwnedIcon) {
    const HICON hIcon = m_services.LoadIconFile(ProductIconPath(), 16);
    ASSERT_NE(hIcon, nullptr);
    EXPECT_EQ(platform::ui::IconFromHandle(hIcon).availableSizes(), QList<QSize>{QSize(16, 16)});
    m_services.DestroyIcon(hIcon);
    EXPECT_FALSE(platform::ui::IsIconHandle(hIcon));

    uitest::CLogCapture log;
    EXPECT_EQ(m_services.LoadIconFile("/nonexistent/Tavik2.ico", 16), nullptr);
    EXPECT_NE(log.Lines().find("Failed to open file /nonexistent/Tavik2.ico"), std::string::npos);
}

TEST_F(UiServicesTest, ResourceIconIsKeptByTheWindowLayerUntilTheSessionEnds) {
    const HICON hIcon = m_services.LoadIconResource(131);
    ASSERT_NE(hIcon, nullptr);
    EXPECT_EQ(m_services.LoadIconResource(131), hIcon);
    EXPECT_EQ(platform::ui::IconFromHandle(hIcon).availableSizes().size(), 2);
    m_services.DestroyIcon(hIcon);  // not the caller's to destroy
    EXPECT_TRUE(platform::ui::IsIconHandle(hIcon));
    EXPECT_EQ(m_services.LoadIconResource(4711), nullptr);

    m_services.EndSession();
    EXPECT_FALSE(platform::ui::IsIconHandle(hIcon));
    ASSERT_TRUE(m_services.BeginSession());
}

TEST_F(UiServicesTest, WindowClassOfTheMainWindow) {
    EXPECT_TRUE(m_services.FindDialogClass());
    const HICON hIcon = m_services.LoadIconResource(131);
    EXPECT_TRUE(m_services.RegisterWindowClass("Vek-DialogClass-SAT", hIcon));
    EXPECT_EQ(platform::ui::GetWindowClassIcon("Vek-DialogClass-SAT"), hIcon);
    m_services.UnregisterWindowClass("Vek-DialogClass-SAT");
    EXPECT_FALSE(platform::ui::IsWindowClassRegistered("Vek-DialogClass-SAT"));
}

TEST_F(UiServicesTest, MainWindowRunsModallyAndEndsWithOk) {
    uitest::CEditingRun run(false);
    QWidget parent;
    const HICON hIcon = m_services.LoadIconResource(131);
    ASSERT_TRUE(m_services.RegisterWindowClass("Vek-DialogClass-SAT", hIcon));
    m_runner.Then([&parent](QDialog& d) {
        EXPECT_EQ(d.parentWidget(), &parent);
        EXPECT_EQ(d.windowTitle(), "Vek - Tavik/2 - --.--.--- ORV/X2.1 Applikationsbaustein");
        EXPECT_FALSE(d.windowIcon().isNull());
        uitest::PressCloseBox(&d);
    });
    EXPECT_EQ(m_services.RunMainWindow(platform::ui::HwndFromWidget(&parent)), IDOK);
    m_services.UnregisterWindowClass("Vek-DialogClass-SAT");
}

TEST_F(UiServicesTest, StandaloneMainWindowAnswersASecondStart) {
    uitest::CTempDir dir;
    uitest::CScopedEnv runtime("XDG_RUNTIME_DIR", dir.Path().c_str());
    uitest::CEditingRun run(true);
    m_runner.Then([](QDialog& d) {
        d.showMinimized();
        uitest::ProcessEvents();
        auto future = std::async(std::launch::async, []() { return platform::AskRunningEditorToActivate(); });
        while (future.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) {
            QApplication::processEvents();
        }
        EXPECT_TRUE(future.get());
        uitest::ProcessEvents();
        EXPECT_FALSE(d.isMinimized());
        EXPECT_EQ(QApplication::activeWindow(), &d);
        uitest::PressCloseBox(&d);
    });
    EXPECT_EQ(m_services.RunMainWindow(nullptr), IDOK);
    EXPECT_FALSE(std::filesystem::exists(platform::GetSingleInstanceSocketPath()));
}

TEST_F(UiServicesTest, PlugInMainWindowKeepsNoSocket) {
    uitest::CTempDir dir;
    uitest::CScopedEnv runtime("XDG_RUNTIME_DIR", dir.Path().c_str());
    uitest::CEditingRun run(false);
    m_runner.Then([](QDialog& d) {
        EXPECT_FALSE(platform::IsEditorListening(platform::GetSingleInstanceSocketPath()));
        uitest::PressCloseBox(&d);
    });
    EXPECT_EQ(m_services.RunMainWindow(nullptr), IDOK);
}

// In plug-in mode the host's window is the top window of every window of
// the editor: a dialog's live device connection is asked of the host.
TEST_F(UiServicesTest, PlugInWindowsLeadUpToTheHostsWindow) {
    uitest::CEditingRun run(false);
    const HWND hHost = reinterpret_cast<HWND>(std::uintptr_t{0x4711});
    m_runner.Then([&](QDialog& d) {
        QDialog inner(&d);
        QWidget* pChild = new QWidget(&inner);
        EXPECT_EQ(platform::host::GetTopLevelWindow(platform::ui::HwndFromWidget(pChild)), hHost);
        EXPECT_EQ(platform::host::GetTopLevelWindow(platform::ui::HwndFromWidget(&d)), hHost);
        uitest::PressCloseBox(&d);
    });
    EXPECT_EQ(m_services.RunMainWindow(hHost), IDOK);
    // After the run the editor's windows are unknown again.
    QWidget stray;
    EXPECT_EQ(platform::host::GetTopLevelWindow(platform::ui::HwndFromWidget(&stray)),
              platform::ui::HwndFromWidget(&stray));
}

// Qt's own dialogs speak the session's language: File > Open's labels are
// German with the built-in resources and English with the satellite.
TEST_F(UiServicesTest, QtsOwnDialogsSpeakTheLanguageOfTheResources) {
    auto fileNameLabel = [this]() {
        QString strLabel;
        m_runner.Then([&strLabel](QDialog& d) {
            if (const auto* pLabel = d.findChild<QLabel*>(QStringLiteral("fileNameLabel"))) {
                strLabel = pLabel->text();
            }
            uitest::PressWindowKey(&d, Qt::Key_Escape);
        });
        CQtFileDialogService service;
        platform::FileDialogRequest request;
        std::string strPath;
        EXPECT_EQ(service.ShowFileDialog(request, strPath), IDCANCEL);
        return strLabel.toStdString();
    };
    EXPECT_EQ(fileNameLabel(), "Datei&name:");
    m_services.EndSession();
    const platform::CResourceModule* pEnglish = platform::LoadResourceLibrary(SatellitePath());
    ASSERT_NE(pEnglish, nullptr);
    platform::SetFrameworkResourceModule(pEnglish);
    ASSERT_TRUE(m_services.BeginSession());
    EXPECT_EQ(fileNameLabel(), "File &name:");
}

TEST(InstallQtUiServicesTest, InstallsTheServicesAndTheQtSinks) {
    platform::IUiServices* pOldServices = platform::GetUiServices();
    platform::IMessageBoxSink* pOldSink = platform::GetMessageBoxSink();
    platform::IFileDialogService* pOldFileDialogs = platform::GetFileDialogService();
    platform::IHelpService* pOldHelp = platform::GetHelpService();
    platform::IWaitCursorSink* pOldWaitCursor = platform::GetWaitCursorSink();
    InstallQtUiServices();
    EXPECT_NE(dynamic_cast<CUiServices*>(platform::GetUiServices()), nullptr);
    EXPECT_NE(dynamic_cast<CQtMessageBoxSink*>(platform::GetMessageBoxSink()), nullptr);
    EXPECT_NE(dynamic_cast<CQtFileDialogService*>(platform::GetFileDialogService()), nullptr);
    EXPECT_NE(dynamic_cast<CQtHelpService*>(platform::GetHelpService()), nullptr);
    EXPECT_NE(dynamic_cast<CQtWaitCursorSink*>(platform::GetWaitCursorSink()), nullptr);
    // The progress indicator now gets its window from the window layer.
    EXPECT_NE(dynamic_cast<CProgressWindow*>(platform::CreateProgressWindow(nullptr, 8).get()), nullptr);
    platform::SetUiServices(pOldServices);
    platform::SetMessageBoxSink(pOldSink);
    platform::SetFileDialogService(pOldFileDialogs);
    platform::SetHelpService(pOldHelp);
    platform::SetWaitCursorSink(pOldWaitCursor);
    platform::SetProgressWindowFactory({});
}

}  // namespace
