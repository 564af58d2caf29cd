// The progress window behind the progress indicator: template 145, the
// percentage bar, the animation, cancelling with the cancel key, and the
// windows behind it taking no commands while it is up.

#include "common/ProgressInfo.h"
#include "platform/base/MulDiv.h"
#include "platform/base/ProgressSink.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/ui/Handles.h"
#include "platform/ui/OwnerDrawButton.h"
#include "platform/ui/Posting.h"
#include "platform/ui/ResourceImages.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/resources/SatellitePath.h"
#include "ui/ProgressDlg.h"
#include "ui/ProgressWindow.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class ProgressDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pPrevious = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        platform::SetProgressWindowFactory(&CProgressWindow::Make);
    }
    void TearDown() override {
        platform::SetProgressWindowFactory({});
        platform::SetFrameworkResourceModule(m_pPrevious);
    }

    static CProgressDlg* DialogOf(HWND hWnd) { return qobject_cast<CProgressDlg*>(platform::ui::WidgetFromHwnd(hWnd)); }

    uitest::CTestModalRunner m_runner;

private:
    const platform::CResourceModule* m_pPrevious = nullptr;
};

QRect Units(const CDialog& dlg, int x, int y, int cx, int cy) {
    const QSize base = dlg.GetBaseUnits();
    return {MulDiv(x, base.width(), 4), MulDiv(y, base.height(), 8), MulDiv(cx, base.width(), 4),
            MulDiv(cy, base.height(), 8)};
}

TEST_F(ProgressDlgTest, Template145BuildsItsControlsAtTheirConvertedPositions) {
    CProgressDlg dlg(8, nullptr);
    ASSERT_TRUE(dlg.IsTemplateBuilt());
    EXPECT_EQ(dlg.font().pointSize(), 8);
    EXPECT_EQ(dlg.size(), Units(dlg, 0, 0, 227, 121).size());
    EXPECT_EQ(dlg.GetWindowText(), "");
    auto* pCancel = dlg.GetDlgItemAs<QPushButton>(IDCANCEL);
    ASSERT_NE(pCancel, nullptr);
    EXPECT_EQ(pCancel->text(), "Abbrechen");
    EXPECT_FALSE(pCancel->isEnabled());  // nothing enables it; the cancel key cancels
    EXPECT_EQ(pCancel->geometry(), Units(dlg, 89, 103, 50, 14));
    auto* pAnimation = dlg.GetDlgItemAs<COwnerDrawButton>(CProgressDlg::IDC_ANIMATION);
    ASSERT_NE(pAnimation, nullptr);
    EXPECT_EQ(pAnimation->geometry(), Units(dlg, 16, 15, 28, 37));
    auto* pBar = dlg.GetDlgItemAs<COwnerDrawButton>(CProgressDlg::IDC_PERCENT_BAR);
    ASSERT_NE(pBar, nullptr);
    EXPECT_EQ(pBar->geometry(), Units(dlg, 15, 78, 197, 14));
    EXPECT_EQ(dlg.GetDlgItemAs<QLabel>(CProgressDlg::IDC_TOP_TEXT)->geometry(), Units(dlg, 52, 16, 165, 32));
    EXPECT_EQ(dlg.GetDlgItemAs<QLabel>(CProgressDlg::IDC_MIDDLE_TEXT)->geometry(), Units(dlg, 52, 50, 165, 8));
    EXPECT_EQ(dlg.GetDlgItemAs<QLabel>(CProgressDlg::IDC_BOTTOM_TEXT)->geometry(), Units(dlg, 52, 60, 165, 8));
    EXPECT_EQ(dlg.findChildren<QGroupBox*>().size(), 1);

    const platform::CResourceModule* pEnglish = platform::LoadResourceLibrary(SatellitePath());
    ASSERT_NE(pEnglish, nullptr);
    platform::SetFrameworkResourceModule(pEnglish);
    CProgressDlg english(8, nullptr);
    EXPECT_EQ(english.GetDlgItemText(IDCANCEL), "Cancel");
}

TEST_F(ProgressDlgTest, FourStepsShowEachQuarterOnTheBarOverItsOwner) {
    CDialog owner;
    owner.resize(600, 400);
    owner.show();
    CProgressInfo progress(1);
    const HWND hWnd = progress.Show(owner.GetSafeHwnd(), 12);
    ASSERT_NE(hWnd, nullptr);
    CProgressDlg* pDlg = DialogOf(hWnd);
    ASSERT_NE(pDlg, nullptr);
    EXPECT_TRUE(pDlg->isVisible());
    EXPECT_EQ(pDlg->parentWidget(), &owner);
    EXPECT_EQ(pDlg->GetAnimationKind(), 12);
    // Shown already: no second window.
    EXPECT_EQ(progress.Show(owner.GetSafeHwnd(), 8), nullptr);
    EXPECT_EQ(progress.GetWindow(), hWnd);

    progress.SetCaption("Parameterdaten laden");
    progress.SetTopText("ORV/X2.1");
    progress.SetMiddleText("Lese Gerätedaten...");
    progress.SetBottomText("Tagesabläufe");
    EXPECT_EQ(pDlg->GetWindowText(), "Parameterdaten laden");
    EXPECT_EQ(pDlg->GetDlgItemText(CProgressDlg::IDC_TOP_TEXT), "ORV/X2.1");
    EXPECT_EQ(pDlg->GetDlgItemText(CProgressDlg::IDC_MIDDLE_TEXT), "Lese Gerätedaten...");
    EXPECT_EQ(pDlg->GetDlgItemText(CProgressDlg::IDC_BOTTOM_TEXT), "Tagesabläufe");

    progress.SetRange(0, 4);
    EXPECT_EQ(pDlg->GetPercent(), 0);
    std::vector<WORD> shown;
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(progress.Step(1));
        shown.push_back(pDlg->GetPercent());
    }
    EXPECT_EQ(shown, (std::vector<WORD>{25, 50, 75, 100, 100}));
    EXPECT_EQ(progress.GetPosition(), 4u);
    // Above 100 changes nothing.
    EXPECT_TRUE(progress.SetPercent(40));
    EXPECT_TRUE(progress.SetPercent(101));
    EXPECT_EQ(pDlg->GetPercent(), 40);
    owner.hide();
}

TEST_F(ProgressDlgTest, BarShowsThePercentAndTheTextLightOnTheBlue) {
    const QRect rect(0, 0, 300, 22);
    auto render = [&](WORD wPercent) {
        QImage image(rect.size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        CProgressDlg::DrawPercentBar(painter, rect, wPercent, QApplication::font());
        return image;
    };
    // Pixels of exactly the colour, and pixels of the text's blue (its
    // edges are smoothed into the white).
    auto count = [](const QImage& image, int x0, int x1, QRgb colour) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = x0; x < x1; ++x) {
                n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
            }
        }
        return n;
    };
    auto countBluish = [](const QImage& image, int x0, int x1) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = x0; x < x1; ++x) {
                const QRgb pixel = image.pixel(x, y);
                n += qBlue(pixel) > qRed(pixel) + 60 ? 1 : 0;
            }
        }
        return n;
    };
    const QRgb blue = qRgb(0, 0, 255);
    const QRgb white = qRgb(255, 255, 255);

    const QImage half = render(50);
    EXPECT_EQ(half.pixel(3, 3) & 0xFFFFFF, blue & 0xFFFFFF);
    EXPECT_EQ(half.pixel(296, 3) & 0xFFFFFF, white & 0xFFFFFF);
    EXPECT_EQ(half.pixel(149, 1) & 0xFFFFFF, blue & 0xFFFFFF);
    EXPECT_EQ(half.pixel(150, 1) & 0xFFFFFF, white & 0xFFFFFF);
    // "50 %" in the middle: its left part light on the bar, its right part
    // blue on white.
    EXPECT_LT(count(half, 100, 150, blue), 50 * 22);
    EXPECT_GT(countBluish(half, 150, 200), 0);

    const QImage none = render(0);
    EXPECT_EQ(count(none, 0, 100, white), 100 * 22);
    EXPECT_GT(countBluish(none, 100, 200), 0);  // "0 %"
    const QImage full = render(100);
    EXPECT_EQ(count(full, 0, 100, blue), 100 * 22);
    EXPECT_LT(count(full, 100, 200, blue), 100 * 22);  // "100 %" light on blue
}

TEST_F(ProgressDlgTest, CancelKeyCancelsTheStepThatLetsItThrough) {
    CProgressInfo progress(1);
    const HWND hWnd = progress.Show(nullptr, 15);
    CProgressDlg* pDlg = DialogOf(hWnd);
    ASSERT_NE(pDlg, nullptr);
    progress.SetRange(0, 10);
    // The user presses a key while the operation works: it arrives when the
    // next report lets the waiting messages through.
    auto pressMeanwhile = [pDlg](int nKey) {
        platform::ui::PostCall(pDlg, [pDlg, nKey] { uitest::PressWindowKey(pDlg, nKey); });
    };
    // Enter changes nothing.
    pressMeanwhile(Qt::Key_Return);
    EXPECT_TRUE(progress.Step(1));
    EXPECT_TRUE(pDlg->isVisible());
    pressMeanwhile(Qt::Key_Escape);
    EXPECT_FALSE(progress.Step(1));
    EXPECT_TRUE(pDlg->isVisible());  // the dialog stays; the operation decides
    // The next report starts afresh.
    EXPECT_TRUE(progress.Step(1));
    pressMeanwhile(Qt::Key_Escape);
    EXPECT_FALSE(progress.SetPercent(0xFFFF));
}

TEST_F(ProgressDlgTest, AnimationRunsItsKindsSeriesEvery500Ms) {
    EXPECT_EQ(CProgressDlg::NextFrame(8, 0), 1);
    EXPECT_EQ(CProgressDlg::NextFrame(8, 12), 0);
    EXPECT_EQ(CProgressDlg::NextFrame(12, 5), 6);
    EXPECT_EQ(CProgressDlg::NextFrame(9, 0), 12);
    EXPECT_EQ(CProgressDlg::NextFrame(13, 7), 6);
    EXPECT_EQ(CProgressDlg::NextFrame(15, 7), 0);
    EXPECT_EQ(CProgressDlg::NextFrame(16, 0), 7);
    EXPECT_EQ(CProgressDlg::NextFrame(22, 0), 0);
    EXPECT_EQ(CProgressDlg::GetPictureId(8, 12), 512u);
    EXPECT_EQ(CProgressDlg::GetPictureId(16, 7), 557u);
    EXPECT_EQ(CProgressDlg::GetPictureId(22, 0), 500u);

    CProgressInfo progress(1);
    CProgressDlg* pDlg = DialogOf(progress.Show(nullptr, 9));
    ASSERT_NE(pDlg, nullptr);
    EXPECT_EQ(pDlg->GetTimerId(), 1);
    EXPECT_EQ(CWndTimers::Of(pDlg, false)->GetElapse(1), 500u);
    EXPECT_TRUE(uitest::TickTimer(pDlg, 1));
    EXPECT_EQ(pDlg->GetFrameIndex(), 12);
    EXPECT_TRUE(uitest::TickTimer(pDlg, 1));
    EXPECT_EQ(pDlg->GetFrameIndex(), 11);

    // The picture of the frame fills the animation control.
    auto* pAnimation = pDlg->GetDlgItemAs<COwnerDrawButton>(CProgressDlg::IDC_ANIMATION);
    const QImage drawn = pAnimation->grab().toImage();
    const QImage picture = platform::ui::LoadBitmapResource(511).scaled(drawn.size());
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(drawn.pixelColor(drawn.width() / 2, 2), picture.pixelColor(picture.width() / 2, 2));

    // The still picture of other kinds.
    CProgressInfo still(1);
    CProgressDlg* pStill = DialogOf(still.Show(nullptr, 22));
    ASSERT_NE(pStill, nullptr);
    uitest::TickTimer(pStill, 1);
    EXPECT_EQ(pStill->GetFrameIndex(), 0);
}

TEST_F(ProgressDlgTest, WhileItIsUpItsOwnerTakesNoCommandsAndDoesNotClose) {
    CDialog owner;
    int nOpened = 0;
    owner.MapCommand(40005, [&]() { ++nOpened; });
    owner.show();
    {
        CProgressInfo progress(1);
        ASSERT_NE(progress.Show(owner.GetSafeHwnd(), 13), nullptr);
        // A command arriving while the operation lets messages through.
        platform::ui::PostCommand(&owner, 40005);
        EXPECT_TRUE(progress.Step(1));
        EXPECT_FALSE(owner.SendCommand(40005));
        uitest::PressCloseBox(&owner);
        EXPECT_TRUE(owner.isVisible());
        // A dialog the operation opens meanwhile works.
        CDialog question;
        question.MapCommand(7, []() {});
        m_runner.Then([](QDialog& d) {
            EXPECT_TRUE(dynamic_cast<CDialog&>(d).SendCommand(7));
            dynamic_cast<CDialog&>(d).EndDialog(IDOK);
        });
        EXPECT_EQ(question.DoModal(), IDOK);
    }
    EXPECT_EQ(nOpened, 0);
    // Gone with the indicator.
    EXPECT_TRUE(owner.SendCommand(40005));
    EXPECT_EQ(nOpened, 1);
    owner.hide();
}

TEST_F(ProgressDlgTest, ALostWindowIsMadeAgainWithItsFirstKind) {
    CProgressWindow window(nullptr, 16);
    EXPECT_EQ(window.GetHandle(), nullptr);
    EXPECT_EQ(window.SetProgress(50), 1);  // without a window: go on
    const HWND hFirst = window.Create();
    ASSERT_NE(hFirst, nullptr);
    EXPECT_EQ(window.GetHandle(), hFirst);
    window.Destroy();
    EXPECT_EQ(window.GetHandle(), nullptr);
    EXPECT_EQ(window.GetDialog(), nullptr);
    const HWND hSecond = window.Create();
    ASSERT_NE(hSecond, nullptr);
    EXPECT_NE(hSecond, hFirst);
    EXPECT_EQ(window.GetDialog()->GetAnimationKind(), 16);
    window.Hide();
    EXPECT_FALSE(window.GetDialog()->isVisible());
    EXPECT_NE(window.GetHandle(), nullptr);  // hidden, not gone
}

}  // namespace
