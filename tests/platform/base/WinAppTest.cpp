#include "platform/base/WinApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

TEST(WinApp, LatestObjectIsTheApplicationInAnyEndingOrder)
{
    CWinApp* const before = AfxGetApp();
    auto first = std::make_unique<CWinApp>();
    auto second = std::make_unique<CWinApp>();
    EXPECT_EQ(AfxGetApp(), second.get());
    first.reset();  // ends out of order: must not come back later
    EXPECT_EQ(AfxGetApp(), second.get());
    second.reset();
    EXPECT_EQ(AfxGetApp(), before);
}

TEST(WinApp, ProfileFunctionsWorkOnTheProfileFile)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "winappXXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const std::filesystem::path dir = pattern;

    CWinApp app;
    EXPECT_FALSE(app.WriteProfileInt("MainWindow", "Width", 1));  // no profile chosen
    EXPECT_EQ(app.GetProfileString("MainWindow", "WindowSize", "none"), "none");

    app.SetProfileName((dir / "app.ini").string());
    ASSERT_TRUE(app.WriteProfileString("MainWindow", "WindowSize", "640 480"));
    ASSERT_TRUE(app.WriteProfileInt("MainWindow", "Offset", -3));
    EXPECT_EQ(app.GetProfileString("mainwindow", "windowsize"), "640 480");
    EXPECT_EQ(static_cast<int>(app.GetProfileInt("MainWindow", "Offset", 0)), -3);
    EXPECT_EQ(app.GetProfileInt("MainWindow", "Missing", 9), 9u);
    ASSERT_TRUE(app.WriteProfileString("MainWindow", "WindowSize", nullptr));
    EXPECT_EQ(app.GetProfileString("MainWindow", "WindowSize", "gone"), "gone");

    std::filesystem::remove_all(dir);
}

}  // namespace
