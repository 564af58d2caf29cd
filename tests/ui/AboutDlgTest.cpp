// The About box: texts and icon by mode and language, the build text, and
// its help context.

#include "platform/base/MulDiv.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/ui/ResourceImages.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/resources/SatellitePath.h"
#include "tests/support/RecordingHelpService.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/AboutDlg.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// The picture as the box draws it, over the dialog's background.
QImage Drawn(const QImage& picture) {
    QImage image(picture.size(), QImage::Format_ARGB32);
    image.fill(QWidget().palette().color(QPalette::Window));
    QPainter painter(&image);
    painter.drawImage(0, 0, picture);
    return image;
}

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
        // What the shown icon place draws.
        QImage icon;
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
            for (UINT nId : {CAboutDlg::IDC_ICON_STANDALONE, CAboutDlg::IDC_ICON_PLUGIN}) {
                QWidget* pIcon = about.GetDlgItem(nId);
                if (pIcon->isVisible()) {
                    shown.icon = pIcon->grab(QRect(0, 0, 32, 32)).toImage();
                }
            }
            uitest::Click(uitest::FindControl(&d, IDOK));
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        return shown;
    }

    // The icon resource as an icon place of 32 x 32 shows it.
    static QImage IconImage(UINT nId) {
        return platform::ui::LoadIconResource(nId).pixmap(32, 32).toImage();
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
    // The product icon and the plug-in's, two different pictures.
    EXPECT_EQ(pStandalone->pixmap().toImage(), IconImage(131));
    EXPECT_EQ(pPlugIn->pixmap().toImage(), IconImage(205));
    EXPECT_NE(IconImage(131), IconImage(205));
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
    EXPECT_EQ(shown.icon.convertToFormat(QImage::Format_ARGB32), Drawn(IconImage(131)));
}

TEST_F(AboutDlgTest, PlugInShowsThePlugInIcon) {
    uitest::CEditingRun run(false);
    const Shown shown = Run();
    EXPECT_EQ(shown.strCaption, "Über Parametrierung Tavik");
    EXPECT_EQ(shown.strProduct, "Parametrierung Tavik");
    EXPECT_FALSE(shown.bStandaloneIcon);
    EXPECT_TRUE(shown.bPlugInIcon);
    EXPECT_EQ(shown.icon.convertToFormat(QImage::Format_ARGB32), Drawn(IconImage(205)));
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
