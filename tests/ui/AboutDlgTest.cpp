// The About box: texts and icon by mode and language, the build text, and
// its help context.

#include "platform/base/MulDiv.h"
#include "platform/base/ResourceLibrary.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/resources/SatellitePath.h"
#include "tests/support/RecordingHelpService.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/AboutDlg.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class AboutDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pPrevious = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
    }
    void TearDown() override { platform::SetFrameworkResourceModule(m_pPrevious); }

    static void UseEnglish() {
        const platform::CResourceModule* pEnglish = platform::LoadResourceLibrary(SatellitePath());
        ASSERT_NE(pEnglish, nullptr);
        platform::SetFrameworkResourceModule(pEnglish);
    }

    // What the box shows once it is open.
    struct Shown {
        std::string strCaption;
        std::string strProduct;
        std::string strBuild;
        bool bStandaloneIcon = false;
        bool bPlugInIcon = false;
    };

    Shown Run() {
        Shown shown;
        CAboutDlg dlg(nullptr);
        m_runner.Then([&shown](QDialog& d) {
            auto& about = dynamic_cast<CAboutDlg&>(d);
            shown.strCaption = about.GetWindowText();
            shown.strProduct = about.GetDlgItemText(CAboutDlg::IDC_PRODUCT_LINE);
            shown.strBuild = about.GetDlgItemText(CAboutDlg::IDC_BUILD);
            shown.bStandaloneIcon = about.GetDlgItem(CAboutDlg::IDC_ICON_STANDALONE)->isVisible();
            shown.bPlugInIcon = about.GetDlgItem(CAboutDlg::IDC_ICON_PLUGIN)->isVisible();
            uitest::Click(uitest::FindControl(&d, IDOK));
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        return shown;
    }

    uitest::CTestModalRunner m_runner;

private:
    const platform::CResourceModule* m_pPrevious = nullptr;
};

TEST_F(AboutDlgTest, Template195WithBothIcons) {
    CAboutDlg dlg(nullptr);
    ASSERT_TRUE(dlg.IsTemplateBuilt());
    const QSize base = dlg.GetBaseUnits();
    EXPECT_EQ(dlg.size(), QSize(MulDiv(305, base.width(), 4), MulDiv(50, base.height(), 8)));
    auto* pStandalone = dlg.GetDlgItemAs<QLabel>(CAboutDlg::IDC_ICON_STANDALONE);
    auto* pPlugIn = dlg.GetDlgItemAs<QLabel>(CAboutDlg::IDC_ICON_PLUGIN);
    ASSERT_NE(pStandalone, nullptr);
    ASSERT_NE(pPlugIn, nullptr);
    EXPECT_FALSE(pStandalone->pixmap().isNull());
    EXPECT_FALSE(pPlugIn->pixmap().isNull());
    // Two different pictures.
    EXPECT_NE(pStandalone->pixmap().toImage(), pPlugIn->pixmap().toImage());
    EXPECT_TRUE(dlg.GetDlgItemAs<QPushButton>(IDOK)->isDefault());
    EXPECT_EQ(dlg.GetDlgItemText(IDC_HILFE), "Hilfe");
    EXPECT_FALSE(dlg.GetDlgItemText(CAboutDlg::IDC_NOTICE).empty());
}

TEST_F(AboutDlgTest, StandaloneShowsTheProductIconAndTheSoftwareName) {
    uitest::CEditingRun run(true);
    const Shown shown = Run();
    EXPECT_EQ(shown.strCaption, "Über Parametriersoftware Tavik 2.1");
    EXPECT_EQ(shown.strProduct, "Parametriersoftware Tavik 2.1 für den ORV/X2.1");
    EXPECT_EQ(shown.strBuild, "Build version R1.00.0431.0000");
    EXPECT_TRUE(shown.bStandaloneIcon);
    EXPECT_FALSE(shown.bPlugInIcon);
}

TEST_F(AboutDlgTest, PlugInShowsThePlugInIcon) {
    uitest::CEditingRun run(false);
    const Shown shown = Run();
    EXPECT_EQ(shown.strCaption, "Über Parametrierung Tavik");
    EXPECT_EQ(shown.strProduct, "Parametrierung Tavik");
    EXPECT_FALSE(shown.bStandaloneIcon);
    EXPECT_TRUE(shown.bPlugInIcon);
}

TEST_F(AboutDlgTest, EnglishTexts) {
    UseEnglish();
    {
        uitest::CEditingRun run(true);
        const Shown shown = Run();
        EXPECT_EQ(shown.strCaption, "About parameterisation software Tavik 2.1");
        EXPECT_EQ(shown.strProduct, "Parameterisation software Tavik 2.1 for ORV/X2.1");
        EXPECT_EQ(shown.strBuild, "Build version R1.00.0431.0000");
    }
    uitest::CEditingRun run(false);
    const Shown shown = Run();
    EXPECT_EQ(shown.strCaption, "About parameterisation of Tavik/2");
    EXPECT_EQ(shown.strProduct, "Parameterisation of Tavik/2");
}

TEST_F(AboutDlgTest, HilfeAndF1OpenContext131267) {
    uitest::CEditingRun run(true);
    CRecordingHelpService help;
    CAboutDlg dlg(nullptr);
    m_runner.Then([](QDialog& d) {
        uitest::Click(uitest::FindControl(&d, IDC_HILFE));
        uitest::PressKey(&d, Qt::Key_F1);
        uitest::Click(uitest::FindControl(&d, IDOK));
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(help.GetContexts(), (std::vector<DWORD>{131267, 131267}));
}

}  // namespace
