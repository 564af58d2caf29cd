// Tool and status bars inside a dialog: buttons from a bitmap strip, clicks
// as commands, command-UI updates, panes, and the bars placed around the
// client area.

#include "platform/base/ResourceLibrary.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/ToolBar.h"
#include "tests/platform/ui/UiTestHarness.h"

#include <QBuffer>
#include <QImage>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <iterator>
#include <vector>

namespace {

// A strip of three 16 x 15 images, each in its own colour on the light gray
// that the toolbar draws transparent.
QByteArray StripBytes() {
    QImage strip(48, 15, QImage::Format_RGB32);
    strip.fill("#c0c0c0");
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue};
    for (int i = 0; i < 3; ++i) {
        for (int y = 4; y < 11; ++y) {
            for (int x = 4; x < 12; ++x) {
                strip.setPixelColor(i * 16 + x, y, colours[i]);
            }
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    strip.save(&buffer, "BMP");
    return bytes;
}

class BarsTest : public ::testing::Test {
protected:
    void SetUp() override {
        static const QByteArray bytes = StripBytes();
        static const platform::ResBinary bitmaps[] = {
            {300, reinterpret_cast<const BYTE*>(bytes.constData()), static_cast<std::size_t>(bytes.size())},
        };
        static const platform::ResourceTables tables{
            platform::RESOURCE_TABLES_VERSION, 0x0407, {}, {}, {}, {}, {bitmaps, std::size(bitmaps)}, {}, {},
        };
        static const platform::CResourceModule module(tables);
        m_pPrevious = platform::SetFrameworkResourceModule(&module);
    }
    void TearDown() override { platform::SetFrameworkResourceModule(m_pPrevious); }

private:
    const platform::CResourceModule* m_pPrevious = nullptr;
};

constexpr UINT kButtons[] = {10, 11, ID_SEPARATOR, 12};

class CBarDialog : public CDialog {
public:
    CBarDialog() {
        resize(400, 200);
        MapCommand(10, [this]() { m_arrCommands.push_back(10); });
        MapCommand(12, [this]() { m_arrCommands.push_back(12); });
        MapUpdateCommandUI(11, [this](CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bChecked ? 1 : 0); });
        MapUpdateCommandUI(20, [this](CCmdUI* pCmdUI) { pCmdUI->SetText(m_strPane); });
    }
    std::vector<UINT> m_arrCommands;
    bool m_bChecked = true;
    std::string m_strPane = "Bereit";
};

TEST_F(BarsTest, ToolbarTakesItsImagesFromTheStripAndItsButtonsByCommand) {
    CBarDialog dlg;
    CToolBar bar;
    ASSERT_TRUE(bar.CreateEx(&dlg));
    EXPECT_FALSE(bar.CreateEx(&dlg));
    bar.SetSizes(QSize(24, 22), QSize(16, 15));
    EXPECT_FALSE(bar.LoadBitmap(4711));
    ASSERT_TRUE(bar.LoadBitmap(300));
    EXPECT_EQ(bar.GetImageCount(), 3);
    ASSERT_TRUE(bar.SetButtons(kButtons, static_cast<int>(std::size(kButtons))));
    EXPECT_EQ(bar.GetCount(), 4);
    EXPECT_EQ(bar.CommandToIndex(12), 3);
    EXPECT_EQ(bar.CommandToIndex(99), -1);
    EXPECT_EQ(bar.GetItemID(2), ID_SEPARATOR);

    UINT nId = 0;
    UINT nStyle = 0;
    int iImage = 0;
    bar.GetButtonInfo(3, nId, nStyle, iImage);
    EXPECT_EQ(nId, 12u);
    EXPECT_EQ(nStyle, TBBS_BUTTON);
    EXPECT_EQ(iImage, 2);  // separators take no image
    bar.GetButtonInfo(2, nId, nStyle, iImage);
    EXPECT_EQ(nStyle, TBBS_SEPARATOR);

    // Buttons side by side, the separator narrower; hits only on buttons.
    const QRect first = bar.GetItemRect(0);
    EXPECT_EQ(first.size(), QSize(24, 22));
    EXPECT_EQ(bar.GetItemRect(1).left(), first.right() + 1);
    EXPECT_LT(bar.GetItemRect(2).width(), 24);
    EXPECT_EQ(bar.HitTest(bar.GetItemRect(3).center()), 3);
    EXPECT_EQ(bar.HitTest(bar.GetItemRect(2).center()), -1);
    EXPECT_EQ(bar.CalcHeight(), 22 + 4);

    // Drawn: each button shows its own image with the strip's light gray
    // see-through; a disabled one is greyed.
    dlg.RepositionBars();
    dlg.show();
    uitest::ProcessEvents();
    bar.SetButtonStyle(1, TBBS_DISABLED);
    const QImage shot = bar.grab().toImage();
    auto colourAt = [&](int nIndex, const QPoint& ptFromMiddle) {
        return shot.pixelColor(bar.GetItemRect(nIndex).center() + ptFromMiddle).name().toStdString();
    };
    // (Nothing else, such as a drop-down arrow, on top of the image.)
    EXPECT_EQ(colourAt(0, QPoint()), "#ff0000");
    EXPECT_EQ(colourAt(3, QPoint()), "#0000ff");
    EXPECT_NE(colourAt(1, QPoint(0, 3)), "#00ff00");
    EXPECT_EQ(colourAt(0, QPoint(0, 3)), "#ff0000");
    EXPECT_NE(colourAt(0, QPoint(-6, -5)), "#c0c0c0");
    dlg.hide();
}

TEST_F(BarsTest, ClicksSendCommandsToTheDialogExceptOnDisabledButtons) {
    CBarDialog dlg;
    CToolBar bar;
    ASSERT_TRUE(bar.CreateEx(&dlg));
    bar.LoadBitmap(300);
    bar.SetButtons(kButtons, static_cast<int>(std::size(kButtons)));
    dlg.RepositionBars();
    dlg.show();
    uitest::ProcessEvents();
    uitest::ClickToolBarButton(&bar, 10);
    bar.SetButtonStyle(3, TBBS_DISABLED);
    uitest::ClickToolBarButton(&bar, 12);
    bar.SetButtonStyle(3, TBBS_BUTTON);
    uitest::ClickToolBarButton(&bar, 12);
    EXPECT_EQ(dlg.m_arrCommands, (std::vector<UINT>{10, 12}));

    // Qt's own tooltips never show over the bar, though one beside it does.
    auto* pBeside = new QWidget(&dlg);
    pBeside->setGeometry(300, 100, 60, 40);
    pBeside->setToolTip("daneben");
    pBeside->show();
    bar.setToolTip("Qt");
    uitest::MouseMove(pBeside, QPoint(10, 10));
    EXPECT_TRUE(QTest::qWaitFor([]() { return QToolTip::isVisible(); }, 3000));
    EXPECT_EQ(QToolTip::text(), "daneben");
    QToolTip::hideText();
    uitest::MouseMove(&bar, bar.GetItemRect(0).center());
    QTest::qWait(100);
    uitest::MouseMove(&bar, bar.GetItemRect(0).center() + QPoint(1, 0));
    EXPECT_FALSE(QTest::qWaitFor([]() { return QToolTip::isVisible() && QToolTip::text() == "Qt"; }, 1500));
    dlg.hide();
}

TEST_F(BarsTest, ToolbarUpdateDisablesButtonsWithoutHandlerWhenAsked) {
    CBarDialog dlg;
    CToolBar bar;
    ASSERT_TRUE(bar.CreateEx(&dlg));
    bar.SetButtons(kButtons, static_cast<int>(std::size(kButtons)));
    bar.OnUpdateCmdUI(&dlg, FALSE);
    EXPECT_EQ(bar.GetButtonStyle(0), TBBS_BUTTON);
    EXPECT_EQ(bar.GetButtonStyle(1), TBBS_CHECKBOX | TBBS_CHECKED);
    dlg.m_bChecked = false;
    bar.OnUpdateCmdUI(&dlg, TRUE);
    EXPECT_EQ(bar.GetButtonStyle(0), TBBS_BUTTON);                    // command handler
    EXPECT_EQ(bar.GetButtonStyle(1), TBBS_CHECKBOX | TBBS_DISABLED);  // update handler, no command
    EXPECT_EQ(bar.GetButtonStyle(2), TBBS_SEPARATOR);
    // The base bar does no idle update of its own.
    bar.SetButtonStyle(0, TBBS_DISABLED);
    bar.OnIdleUpdateCmdUI(TRUE);
    EXPECT_EQ(bar.GetButtonStyle(0), TBBS_DISABLED);
}

TEST_F(BarsTest, StatusBarWithTwoPlainPanes) {
    CBarDialog dlg;
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(&dlg));
    const UINT indicators[] = {ID_SEPARATOR, ID_SEPARATOR};
    ASSERT_TRUE(bar.SetIndicators(indicators, 2));
    EXPECT_EQ(bar.GetCount(), 2);
    EXPECT_EQ(bar.GetPaneStyle(0), SBPS_STRETCH | SBPS_NOBORDERS);
    EXPECT_EQ(bar.GetPaneStyle(1), SBPS_NORMAL);
    EXPECT_TRUE(bar.SetPaneText(0, "Tagesabläufe: 3 (20%) belegt, 12 frei von insgesamt 15"));
    EXPECT_EQ(bar.GetPaneText(0), "Tagesabläufe: 3 (20%) belegt, 12 frei von insgesamt 15");
    EXPECT_FALSE(bar.SetPaneText(2, "x"));
    EXPECT_EQ(bar.GetPaneText(2), "");

    // The first pane takes what the second leaves.
    bar.SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL, 80);
    dlg.RepositionBars();
    const QRect first = bar.GetItemRect(0);
    const QRect second = bar.GetItemRect(1);
    EXPECT_EQ(second.width(), 80);
    EXPECT_GT(first.width(), 200);
    EXPECT_LT(first.right(), second.left());
    EXPECT_LE(second.right(), bar.width());

    // Panes with an id are updated from the dialog; plain ones are not.
    bar.SetPaneInfo(1, 20, SBPS_NORMAL, 80);
    EXPECT_EQ(bar.CommandToIndex(20), 1);
    bar.OnUpdateCmdUI(&dlg, TRUE);
    EXPECT_EQ(bar.GetPaneText(1), "Bereit");
    EXPECT_EQ(bar.GetPaneText(0), "Tagesabläufe: 3 (20%) belegt, 12 frei von insgesamt 15");
}

TEST_F(BarsTest, BarsAreRepositionedAroundTheClientArea) {
    CBarDialog dlg;
    CToolBar tool;
    CStatusBar status;
    ASSERT_TRUE(tool.CreateEx(&dlg, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    ASSERT_TRUE(status.Create(&dlg));
    tool.SetSizes(QSize(40, 40), QSize(20, 20));
    QRect rest;
    dlg.RepositionBars(&rest);
    EXPECT_EQ(tool.geometry(), QRect(0, 0, 400, tool.CalcHeight()));
    EXPECT_EQ(status.geometry(), QRect(0, 200 - status.CalcHeight(), 400, status.CalcHeight()));
    EXPECT_EQ(rest, QRect(0, tool.CalcHeight(), 400, 200 - tool.CalcHeight() - status.CalcHeight()));

    // A hidden bar takes no room.
    tool.hide();
    EXPECT_FALSE(tool.IsBarVisible());
    dlg.RepositionBars(&rest);
    EXPECT_EQ(rest.top(), 0);
    // Nor does a bar that was made without WS_VISIBLE or destroyed.
    tool.show();
    status.DestroyWindow();
    EXPECT_FALSE(status.HasWindow());
    dlg.RepositionBars(&rest);
    EXPECT_EQ(rest.bottom(), 199);
}

}  // namespace
