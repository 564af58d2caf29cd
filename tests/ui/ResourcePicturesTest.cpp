// The framework's resources in both languages: pictures that decode at
// their sizes, the menus and accelerators of the main window and the
// tables, and the templates of the progress window, the About box and the
// close bar with the same controls in both.

#include "platform/base/ResourceLibrary.h"
#include "platform/ui/AcceleratorTable.h"
#include "platform/ui/Menu.h"
#include "platform/ui/ResourceImages.h"
#include "resources/de/BuiltInResources.h"
#include "tests/resources/SatellitePath.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

#include <vector>

namespace {

const platform::CResourceModule& German() { return resources::GetBuiltInResourceModule(); }

const platform::CResourceModule* English() { return platform::LoadResourceLibrary(SatellitePath()); }

// Every module in turn as the active one.
class ResourcePicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pPrevious = platform::GetFrameworkResourceModule();
        ASSERT_NE(English(), nullptr) << SatellitePath();
        m_modules = {&German(), English()};
    }
    void TearDown() override { platform::SetFrameworkResourceModule(m_pPrevious); }

    std::vector<const platform::CResourceModule*> m_modules;

private:
    const platform::CResourceModule* m_pPrevious = nullptr;
};

// The ids of a popup's items in order (0 separators).
std::vector<UINT> Ids(CMenu* pPopup) {
    std::vector<UINT> ids;
    for (int i = 0; pPopup != nullptr && i < pPopup->GetMenuItemCount(); ++i) {
        ids.push_back(pPopup->GetMenuItemID(i));
    }
    return ids;
}

TEST_F(ResourcePicturesTest, BitmapsDecodeAtTheirSizes) {
    for (const platform::CResourceModule* pModule : m_modules) {
        platform::SetFrameworkResourceModule(pModule);
        const QImage toolbar = platform::ui::LoadBitmapResource(106);
        EXPECT_EQ(toolbar.size(), QSize(120, 20));  // six 20 x 20 images
        // The toolbar's transparent gray around the pictures.
        EXPECT_EQ(toolbar.pixel(0, 19) & 0xFFFFFF, 0xC0C0C0u);
        EXPECT_EQ(platform::ui::LoadBitmapResource(124).size(), QSize(60, 20));
        EXPECT_FALSE(platform::ui::LoadBitmapResource(173).isNull());
        const QImage rows = platform::ui::LoadBitmapResource(208);
        EXPECT_EQ(rows.size(), QSize(48, 16));
        EXPECT_EQ(rows.pixel(0, 0) & 0xFFFFFF, 0u);  // black is the mask colour
        for (UINT nId = 500; nId <= 512; ++nId) {
            EXPECT_EQ(platform::ui::LoadBitmapResource(nId).size(), QSize(48, 64)) << nId;
        }
        for (UINT nId = 550; nId <= 557; ++nId) {
            EXPECT_EQ(platform::ui::LoadBitmapResource(nId).size(), QSize(48, 64)) << nId;
        }
        // Frames of one series differ.
        EXPECT_NE(platform::ui::LoadBitmapResource(500), platform::ui::LoadBitmapResource(506));
        EXPECT_NE(platform::ui::LoadBitmapResource(550), platform::ui::LoadBitmapResource(551));
    }
}

TEST_F(ResourcePicturesTest, IconsAndCursors) {
    for (const platform::CResourceModule* pModule : m_modules) {
        platform::SetFrameworkResourceModule(pModule);
        for (UINT nId : {131u, 205u}) {
            const QIcon icon = platform::ui::LoadIconResource(nId);
            ASSERT_FALSE(icon.isNull()) << nId;
            const QList<QSize> sizes = icon.availableSizes();
            EXPECT_TRUE(sizes.contains(QSize(16, 16))) << nId;
            EXPECT_TRUE(sizes.contains(QSize(32, 32))) << nId;
        }
        bool bLoaded = false;
        const QCursor drop = platform::ui::LoadCursorResource(118, &bLoaded);
        EXPECT_TRUE(bLoaded);
        EXPECT_EQ(drop.hotSpot(), QPoint(0, 0));
        EXPECT_EQ(drop.pixmap().size(), QSize(32, 32));
        const QCursor noDrop = platform::ui::LoadCursorResource(142, &bLoaded);
        EXPECT_TRUE(bLoaded);
        EXPECT_EQ(noDrop.hotSpot(), QPoint(16, 16));
        platform::ui::LoadCursorResource(4711, &bLoaded);
        EXPECT_FALSE(bLoaded);
    }
}

TEST_F(ResourcePicturesTest, MainMenusPerMode) {
    const std::vector<UINT> file104{40005, 40006, 40021, 0, 40004, 0, 40007, 40036, 40035, 40008, 0, 40022};
    const std::vector<UINT> file105{40006, 0, 40004, 40002, 0, 40007, 40036, 40035, 40008, 0, 40022};
    const std::vector<UINT> edit{40027, 0, 40020, 40009, 40010, 0, 40012};
    const std::vector<UINT> online104{40013, 0, 40014, 0, 40015, 40016};
    const std::vector<UINT> online105{40015, 40016};
    const std::vector<UINT> window{40017, 40024, 40025};
    const std::vector<UINT> help{40018, 40019, 0, 40023};
    for (const platform::CResourceModule* pModule : m_modules) {
        platform::SetFrameworkResourceModule(pModule);
        CMenu standalone;
        ASSERT_TRUE(standalone.LoadMenu(104));
        ASSERT_EQ(standalone.GetMenuItemCount(), 5);
        EXPECT_EQ(Ids(standalone.GetSubMenu(0)), file104);
        EXPECT_EQ(Ids(standalone.GetSubMenu(1)), edit);
        EXPECT_EQ(Ids(standalone.GetSubMenu(2)), online104);
        EXPECT_EQ(Ids(standalone.GetSubMenu(3)), window);
        EXPECT_EQ(Ids(standalone.GetSubMenu(4)), help);
        CMenu plugIn;
        ASSERT_TRUE(plugIn.LoadMenu(105));
        EXPECT_EQ(Ids(plugIn.GetSubMenu(0)), file105);
        EXPECT_EQ(Ids(plugIn.GetSubMenu(2)), online105);
        EXPECT_EQ(Ids(plugIn.GetSubMenu(4)), help);
    }
    platform::SetFrameworkResourceModule(&German());
    CMenu german;
    german.LoadMenu(104);
    EXPECT_EQ(german.GetSafeHmenu()->actions().at(0)->text(), "&Datei");
    EXPECT_EQ(german.GetSubMenu(0)->GetMenuString(40022, MF_BYCOMMAND), "&Beenden\tAlt+F4");
    EXPECT_EQ(german.GetSubMenu(2)->GetMenuString(40014, MF_BYCOMMAND), "&Parameter übertragen");
    platform::SetFrameworkResourceModule(English());
    CMenu english;
    english.LoadMenu(104);
    EXPECT_EQ(english.GetSafeHmenu()->actions().at(0)->text(), "&File");
    EXPECT_EQ(english.GetSubMenu(0)->GetMenuString(40022, MF_BYCOMMAND), "&Close\tAlt+F4");
    EXPECT_EQ(english.GetSubMenu(2)->GetMenuString(40016, MF_BYCOMMAND), "Sho&w Status...");
}

TEST_F(ResourcePicturesTest, ContextMenusOfTheTables) {
    for (const platform::CResourceModule* pModule : m_modules) {
        platform::SetFrameworkResourceModule(pModule);
        CMenu menu;
        ASSERT_TRUE(menu.LoadMenu(133));
        ASSERT_EQ(menu.GetMenuItemCount(), 7);
        EXPECT_EQ(Ids(menu.GetSubMenu(0)), (std::vector<UINT>{40027, 40028, 0, 40020, 40009, 40010, 0, 40012, 40031}));
        EXPECT_EQ(Ids(menu.GetSubMenu(1)), (std::vector<UINT>{40027, 0, 40009, 0, 40031}));
        EXPECT_EQ(Ids(menu.GetSubMenu(2)), (std::vector<UINT>{40027, 40028, 0, 40010, 0, 40012, 40031}));
        EXPECT_EQ(Ids(menu.GetSubMenu(3)), (std::vector<UINT>{40027, 0, 40031}));
        EXPECT_EQ(Ids(menu.GetSubMenu(4)), (std::vector<UINT>{40034, 0, 40031}));
        EXPECT_EQ(Ids(menu.GetSubMenu(5)), (std::vector<UINT>{40031}));
        EXPECT_EQ(Ids(menu.GetSubMenu(6)), (std::vector<UINT>{40031}));
    }
    platform::SetFrameworkResourceModule(&German());
    CMenu menu;
    menu.LoadMenu(133);
    EXPECT_EQ(menu.GetSubMenu(2)->GetMenuString(40027, MF_BYCOMMAND), "neue GA");
    EXPECT_EQ(menu.GetSubMenu(4)->GetMenuString(40034, MF_BYCOMMAND), "Übernehmen");
}

TEST_F(ResourcePicturesTest, AcceleratorTable134) {
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        UINT nCommand;
    };
    const Key keys[] = {
        {Qt::Key_A, Qt::ControlModifier, 40038}, {Qt::Key_C, Qt::ControlModifier, 40020},
        {Qt::Key_V, Qt::ControlModifier, 40009}, {Qt::Key_Delete, Qt::NoModifier, 40010},
        {Qt::Key_Insert, Qt::ControlModifier, 40020}, {Qt::Key_Insert, Qt::ShiftModifier, 40009},
        {Qt::Key_Delete, Qt::ShiftModifier, 0},  {Qt::Key_A, Qt::NoModifier, 0},
    };
    for (const platform::CResourceModule* pModule : m_modules) {
        platform::SetFrameworkResourceModule(pModule);
        CAcceleratorTable table;
        ASSERT_TRUE(table.Load(134));
        EXPECT_EQ(table.GetEntries().size(), 6u);
        for (const Key& key : keys) {
            const QKeyEvent event(QEvent::KeyPress, key.key, key.modifiers);
            EXPECT_EQ(table.FindCommand(event), key.nCommand) << key.key;
        }
    }
}

TEST_F(ResourcePicturesTest, TemplatesHaveTheSameControlsInBothLanguages) {
    for (UINT nId : {145u, 195u, 196u, 207u}) {
        const platform::ResDialog* pGerman = German().FindDialog(nId);
        const platform::ResDialog* pEnglish = English()->FindDialog(nId);
        ASSERT_NE(pGerman, nullptr) << nId;
        ASSERT_NE(pEnglish, nullptr) << nId;
        EXPECT_EQ(pGerman->cx, pEnglish->cx);
        EXPECT_EQ(pGerman->cy, pEnglish->cy);
        ASSERT_EQ(pGerman->controls.size(), pEnglish->controls.size()) << nId;
        for (std::size_t i = 0; i < pGerman->controls.size(); ++i) {
            const platform::ResDialogControl& de = pGerman->controls.begin()[i];
            const platform::ResDialogControl& en = pEnglish->controls.begin()[i];
            EXPECT_EQ(de.nId, en.nId);
            EXPECT_EQ(de.x, en.x);
            EXPECT_EQ(de.y, en.y);
            EXPECT_EQ(de.cx, en.cx);
            EXPECT_EQ(de.cy, en.cy);
            EXPECT_EQ(de.dwStyle, en.dwStyle);
        }
    }
    const platform::ResDialog* pCloseBar = German().FindDialog(196);
    EXPECT_EQ(pCloseBar->cx, 112);
    EXPECT_EQ(pCloseBar->cy, 16);
    ASSERT_EQ(pCloseBar->controls.size(), 1u);
    EXPECT_EQ(pCloseBar->controls.begin()->nId, static_cast<UINT>(IDCANCEL));
    EXPECT_STREQ(pCloseBar->controls.begin()->pszText, "Schließen");
    EXPECT_STREQ(English()->FindDialog(196)->controls.begin()->pszText, "Close");
}

}  // namespace
