#include "platform/base/ResourceLibrary.h"
#include "platform/base/ResourceModule.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <iterator>
#include <string>

namespace {

using namespace platform;

const ResString kStrings[] = {
    {104, "Tavik (*.tv2)|*.tv2||"},
    {105, nullptr},  // no entry
    {106, "first"},
    {106, "second"},
    {107, ""},
};
const ResMenuItem kFileItems[] = {
    {40006, "&Speichern", 0, {}},
    {0, nullptr, RESMENU_SEPARATOR, {}},
};
const ResMenuItem kBar[] = {
    {0, "&Datei", RESMENU_POPUP, {kFileItems, std::size(kFileItems)}},
};
const ResMenu kMenus[] = {
    {104, {kBar, std::size(kBar)}},
};
const ResAccelerator kAccels[] = {
    {RESACCEL_VIRTKEY | RESACCEL_CONTROL, 'S', 40006},
};
const ResAcceleratorTable kAccelTables[] = {
    {128, {kAccels, std::size(kAccels)}},
};
const ResDialogControl kControls[] = {
    {1, "BUTTON", "OK", 246, 10, 50, 14, 0x50010001, 0},
};
const ResDialog kDialogs[] = {
    {195, "Info", 0, 0, 305, 50, "MS Sans Serif", 8, 0x80C800C0, 0, {kControls, std::size(kControls)}},
};
const BYTE kIconBytes[] = {0, 0, 1, 0};
const ResBinary kIcons[] = {
    {131, kIconBytes, sizeof kIconBytes},
};

const ResourceTables kTables = {
    RESOURCE_TABLES_VERSION,
    0x0407,
    {kStrings, std::size(kStrings)},
    {kMenus, std::size(kMenus)},
    {kAccelTables, std::size(kAccelTables)},
    {kDialogs, std::size(kDialogs)},
    {},
    {kIcons, std::size(kIcons)},
    {},
};

TEST(ResourceModuleTest, StringsAreFoundByIdAndMissingOnesAreNull) {
    CResourceModule module(kTables, "/x/builtin");
    EXPECT_EQ(module.GetLanguage(), 0x0407);
    EXPECT_EQ(module.GetPath(), "/x/builtin");
    EXPECT_STREQ(module.FindString(104), "Tavik (*.tv2)|*.tv2||");
    EXPECT_EQ(module.FindString(105), nullptr);
    EXPECT_STREQ(module.FindString(106), "first");
    EXPECT_STREQ(module.FindString(107), "");  // an empty entry still exists
    EXPECT_EQ(module.FindString(40006), nullptr);
}

TEST(ResourceModuleTest, EachKindHasItsOwnIds) {
    CResourceModule module(kTables);
    // String 104 and menu 104 are unrelated; command 40006 names no string.
    const ResMenu* pMenu = module.FindMenu(104);
    ASSERT_NE(pMenu, nullptr);
    ASSERT_EQ(pMenu->items.size(), 1u);
    const ResMenuItem& popup = pMenu->items.pItems[0];
    EXPECT_EQ(popup.nFlags & RESMENU_POPUP, RESMENU_POPUP);
    ASSERT_EQ(popup.children.size(), 2u);
    EXPECT_EQ(popup.children.pItems[0].nCommand, 40006u);
    EXPECT_EQ(module.FindMenu(105), nullptr);

    const ResAcceleratorTable* pAccel = module.FindAccelerators(128);
    ASSERT_NE(pAccel, nullptr);
    EXPECT_EQ(pAccel->entries.pItems[0].nCommand, 40006u);
    EXPECT_EQ(module.FindAccelerators(104), nullptr);

    const ResDialog* pDialog = module.FindDialog(195);
    ASSERT_NE(pDialog, nullptr);
    EXPECT_EQ(pDialog->cx, 305);
    EXPECT_EQ(pDialog->controls.pItems[0].nId, 1u);
    EXPECT_EQ(module.FindDialog(104), nullptr);

    const ResBinary* pIcon = module.FindIcon(131);
    ASSERT_NE(pIcon, nullptr);
    EXPECT_EQ(pIcon->nSize, 4u);
    EXPECT_EQ(module.FindBitmap(131), nullptr);
    EXPECT_EQ(module.FindCursor(131), nullptr);
}

TEST(ResourceModuleTest, ActiveModulesAreSetIndependently) {
    CResourceModule german(kTables);
    const CResourceModule* pOldFramework = SetFrameworkResourceModule(&german);
    EXPECT_EQ(GetFrameworkResourceModule(), &german);
    EXPECT_EQ(GetComResourceInstance(), nullptr);
    EXPECT_EQ(SetComResourceInstance(&german), nullptr);
    EXPECT_EQ(GetComResourceInstance(), &german);
    EXPECT_EQ(SetFrameworkResourceModule(pOldFramework), &german);
    EXPECT_EQ(SetComResourceInstance(nullptr), &german);
}

TEST(ResourceModuleTest, LoadingAnUnusableLibraryFailsCleanly) {
    EXPECT_EQ(LoadResourceLibrary(""), nullptr);
    EXPECT_EQ(LoadResourceLibrary("/nonexistent/dir/Vek_ZR020409.loc"), nullptr);

    // A file that is no library at all.
    char szPath[] = "/tmp/resmodtest-XXXXXX";
    int fd = mkstemp(szPath);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "not a library", 13), 13);
    close(fd);
    EXPECT_EQ(LoadResourceLibrary(szPath), nullptr);
    std::remove(szPath);

    // A library without the tables export.
    EXPECT_EQ(LoadResourceLibrary("libm.so.6"), nullptr);
}

}  // namespace
