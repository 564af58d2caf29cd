#include "platform/base/MulDiv.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Handles.h"
#include "platform/ui/WindowClasses.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/resources/SatellitePath.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/ParameterDlg.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

class ParameterDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pPrevious = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
    }
    void TearDown() override { platform::SetFrameworkResourceModule(m_pPrevious); }

    static void UseEnglish() {
        const platform::CResourceModule* pEnglish = platform::LoadResourceLibrary(SatellitePath());
        ASSERT_NE(pEnglish, nullptr) << SatellitePath();
        platform::SetFrameworkResourceModule(pEnglish);
    }

    uitest::CTestModalRunner m_runner;

private:
    const platform::CResourceModule* m_pPrevious = nullptr;
};

TEST_F(ParameterDlgTest, Template207GivesAResizableWindowOfItsSize) {
    uitest::CEditingRun run(false);
    CParameterDlg dlg(nullptr, nullptr);
    ASSERT_TRUE(dlg.IsTemplateBuilt());
    const QSize base = platform::ui::GetDialogBaseUnits(dlg.font());
    EXPECT_EQ(dlg.font().pointSize(), 8);
    EXPECT_EQ(dlg.GetBaseUnits(), base);
    EXPECT_EQ(dlg.size(), QSize(MulDiv(340, base.width(), 4), MulDiv(191, base.height(), 8)));
    EXPECT_NE(dlg.minimumSize(), dlg.maximumSize());
    EXPECT_TRUE(dlg.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(dlg.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(dlg.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(dlg.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).isEmpty());
    // "Dialog" until the window initialises.
    EXPECT_EQ(dlg.GetWindowText(), "Dialog");
    dlg.show();
    EXPECT_EQ(dlg.GetWindowText(), "Vek - Tavik/2 - --.--.--- ORV/X2.1 Applikationsbaustein");
    dlg.hide();
}

TEST_F(ParameterDlgTest, TitleInPlugInMode) {
    uitest::CEditingRun run(false);
    run.Chronoset().SetDeviceAddress(0x1203);
    run.Chronoset().m_strFilePath = "/daten/Anlage.zr2";  // only standalone shows the file
    EXPECT_EQ(CParameterDlg::BuildTitle(), "Vek - Tavik/2 - 01.02.003 ORV/X2.1 Applikationsbaustein");
    g_atlModule.m_strManuf = "Acme";
    EXPECT_EQ(CParameterDlg::BuildTitle(), "Applikationsbaustein - Tavik/2 - 01.02.003");
    UseEnglish();
    EXPECT_EQ(CParameterDlg::BuildTitle(), "Application Unit - Tavik/2 - 01.02.003");
    g_atlModule.m_strManuf = "Vek";
    EXPECT_EQ(CParameterDlg::BuildTitle(), "Vek - Tavik/2 - 01.02.003 ORV/X2.1 Application unit");
}

TEST_F(ParameterDlgTest, TitleInStandaloneModeNamesTheDataFile) {
    uitest::CEditingRun run(true);
    EXPECT_EQ(CParameterDlg::BuildTitle(), "Vek - Parametriersoftware Tavik 2.1 - --.--.---");
    run.Chronoset().SetDeviceAddress(0xF1FE);
    run.Chronoset().m_strFilePath = "/home/anna/daten/Anlage Nord.zr2";
    EXPECT_EQ(CParameterDlg::BuildTitle(), "Vek - Parametriersoftware Tavik 2.1 - Anlage Nord.zr2 - 15.01.254");
    run.Chronoset().m_strFilePath = "C:\\Daten\\Halle.zr2";
    EXPECT_EQ(CParameterDlg::BuildTitle(), "Vek - Parametriersoftware Tavik 2.1 - Halle.zr2 - 15.01.254");
    g_atlModule.m_strManuf = "Acme";
    EXPECT_EQ(CParameterDlg::BuildTitle(),
              "Applikationsbaustein - Parametriersoftware Tavik 2.1 - Halle.zr2 - 15.01.254");
    UseEnglish();
    EXPECT_EQ(CParameterDlg::BuildTitle(),
              "Application Unit - Parameterisation software Tavik 2.1 - Halle.zr2 - 15.01.254");
}

TEST_F(ParameterDlgTest, EnterAndEscapeNeverCloseAndTheCloseBoxEndsWithOk) {
    uitest::CEditingRun run(true);
    run.Chronoset().SetDeviceAddress(0x1105);
    CParameterDlg dlg(nullptr, nullptr);
    m_runner.Then([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Vek - Parametriersoftware Tavik 2.1 - 01.01.005");
        for (int nKey : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            uitest::PressKey(&d, nKey);
            uitest::ProcessEvents();
            EXPECT_TRUE(d.isVisible()) << nKey;
        }
        uitest::PressCloseBox(&d);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(ParameterDlgTest, MainWindowShowsTheIconOfItsRegisteredClass) {
    uitest::CEditingRun run(false);
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::green);
    const HICON hIcon = platform::ui::CreateIconHandle(QIcon(QPixmap::fromImage(image)));
    ASSERT_TRUE(platform::ui::RegisterWindowClass("Vek-DialogClass-SAT", hIcon));
    CParameterDlg dlg(nullptr, nullptr);
    m_runner.Then([](QDialog& d) {
        EXPECT_EQ(d.windowIcon().pixmap(16, 16).toImage().pixelColor(4, 4), QColor(Qt::green));
        uitest::PressCloseBox(&d);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    platform::ui::UnregisterWindowClass("Vek-DialogClass-SAT");
    platform::ui::DestroyIconHandle(hIcon);
}

}  // namespace
