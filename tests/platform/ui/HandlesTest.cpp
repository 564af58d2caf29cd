#include "platform/ui/Handles.h"
#include "platform/ui/WindowClasses.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using namespace platform::ui;

QIcon MakeIcon() {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    return QIcon(QPixmap::fromImage(image));
}

TEST(HandlesTest, WindowHandleLivesWithItsWidgetOnly) {
    EXPECT_EQ(HwndFromWidget(nullptr), nullptr);
    EXPECT_EQ(WidgetFromHwnd(nullptr), nullptr);

    auto* pFirst = new QWidget;
    QWidget second;
    const HWND hFirst = HwndFromWidget(pFirst);
    ASSERT_NE(hFirst, nullptr);
    EXPECT_EQ(HwndFromWidget(pFirst), hFirst);  // stable
    EXPECT_NE(HwndFromWidget(&second), hFirst);
    EXPECT_EQ(WidgetFromHwnd(hFirst), pFirst);

    delete pFirst;
    EXPECT_EQ(WidgetFromHwnd(hFirst), nullptr);
    // A new widget, possibly at the same address, gets a new handle.
    QWidget third;
    EXPECT_NE(HwndFromWidget(&third), hFirst);
    EXPECT_EQ(WidgetFromHwnd(hFirst), nullptr);
    EXPECT_EQ(WidgetFromHwnd(reinterpret_cast<HWND>(0x1234)), nullptr);
}

TEST(HandlesTest, IconHandleOwnsItsIconUntilDestroyed) {
    const HICON hIcon = CreateIconHandle(MakeIcon());
    ASSERT_NE(hIcon, nullptr);
    EXPECT_TRUE(IsIconHandle(hIcon));
    EXPECT_FALSE(IconFromHandle(hIcon).isNull());
    EXPECT_TRUE(DestroyIconHandle(hIcon));
    EXPECT_FALSE(IsIconHandle(hIcon));
    EXPECT_TRUE(IconFromHandle(hIcon).isNull());
    EXPECT_FALSE(DestroyIconHandle(hIcon));  // twice is harmless
    EXPECT_FALSE(DestroyIconHandle(nullptr));
    EXPECT_TRUE(IconFromHandle(nullptr).isNull());
}

TEST(HandlesTest, SharedIconHandleSurvivesDestroy) {
    const HICON hIcon = CreateIconHandle(MakeIcon(), true);
    EXPECT_FALSE(DestroyIconHandle(hIcon));
    EXPECT_FALSE(IconFromHandle(hIcon).isNull());
    ReleaseIconHandle(hIcon);
    EXPECT_FALSE(IsIconHandle(hIcon));
}

TEST(WindowClassesTest, RegistryKeepsNamesWithoutRegardToCase) {
    EXPECT_TRUE(IsWindowClassRegistered("#32770"));
    EXPECT_FALSE(UnregisterWindowClass("#32770"));
    EXPECT_EQ(GetWindowClassIcon("#32770"), nullptr);

    const HICON hIcon = CreateIconHandle(MakeIcon());
    EXPECT_FALSE(RegisterWindowClass("", hIcon));
    EXPECT_TRUE(RegisterWindowClass("Vek-Test-Class", hIcon));
    EXPECT_FALSE(RegisterWindowClass("VEK-TEST-CLASS", nullptr));
    EXPECT_TRUE(IsWindowClassRegistered("vek-test-class"));
    EXPECT_EQ(GetWindowClassIcon("Vek-Test-Class"), hIcon);
    EXPECT_TRUE(UnregisterWindowClass("vek-test-CLASS"));
    EXPECT_FALSE(UnregisterWindowClass("Vek-Test-Class"));
    EXPECT_EQ(GetWindowClassIcon("Vek-Test-Class"), nullptr);
    DestroyIconHandle(hIcon);
}

}  // namespace
