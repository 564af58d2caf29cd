// The strip of pictures drawn one at a time, with and without a mask.

#include "platform/base/ResourceLibrary.h"
#include "resources/de/BuiltInResources.h"
#include "ui/MaskedBitmap.h"

#include <QBrush>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// Four 16 x 8 pictures; pixel (x, y) of the strip has red x and green y.
QImage Strip() {
    QImage image(64, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 64; ++x) {
            image.setPixel(x, y, qRgb(x, y, 200));
        }
    }
    return image;
}

// White (the picture shows) in the left half of every frame.
QImage Mask() {
    QImage mask(64, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 64; ++x) {
            mask.setPixel(x, y, (x % 16) < 8 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        }
    }
    return mask;
}

QImage Canvas(int w, int h) {
    QImage canvas(w, h, QImage::Format_RGB32);
    canvas.fill(qRgb(1, 2, 3));
    return canvas;
}

TEST(MaskedBitmapTest, FramesOfTheStrip) {
    CMaskedBitmap bitmap;
    EXPECT_EQ(bitmap.GetFrameCount(), 0);
    EXPECT_FALSE(bitmap.LoadImages(Strip(), QImage(), 0));  // no frame width
    EXPECT_FALSE(bitmap.LoadImages(QImage(), QImage(), 16));
    ASSERT_TRUE(bitmap.LoadImages(Strip(), QImage(), 16));
    EXPECT_EQ(bitmap.GetFrameCount(), 4);
    EXPECT_EQ(bitmap.GetFrameSize(), QSize(16, 8));
    bitmap.Clear();
    EXPECT_EQ(bitmap.GetFrameCount(), 0);
    EXPECT_EQ(bitmap.GetFrameSize(), QSize(0, 0));
}

TEST(MaskedBitmapTest, FrameThreeOfFourTakesSourcePixels48To63) {
    CMaskedBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadImages(Strip(), QImage(), 16));
    QImage canvas = Canvas(40, 20);
    {
        QPainter painter(&canvas);
        const QBrush brush(qRgb(9, 9, 9));
        bitmap.Draw(painter, QRect(4, 2, 30, 12), 3, &brush);
    }
    EXPECT_EQ(canvas.pixel(4, 2), qRgb(48, 0, 200));
    EXPECT_EQ(canvas.pixel(19, 9), qRgb(63, 7, 200));
    // Right of the frame (full height) and below it (frame width) the brush.
    EXPECT_EQ(canvas.pixel(20, 2), qRgb(9, 9, 9));
    EXPECT_EQ(canvas.pixel(33, 13), qRgb(9, 9, 9));
    EXPECT_EQ(canvas.pixel(10, 10), qRgb(9, 9, 9));
    EXPECT_EQ(canvas.pixel(3, 2), qRgb(1, 2, 3));   // outside untouched
    EXPECT_EQ(canvas.pixel(34, 2), qRgb(1, 2, 3));

    // A smaller rectangle cuts the frame; without a brush nothing else.
    QImage small = Canvas(20, 20);
    {
        QPainter painter(&small);
        bitmap.Draw(painter, QRect(0, 0, 10, 5), 1, nullptr);
    }
    EXPECT_EQ(small.pixel(9, 4), qRgb(25, 4, 200));
    EXPECT_EQ(small.pixel(10, 4), qRgb(1, 2, 3));
    EXPECT_EQ(small.pixel(9, 5), qRgb(1, 2, 3));
}

TEST(MaskedBitmapTest, MaskLetsTheBackgroundThroughWhereItIsBlack) {
    CMaskedBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadImages(Strip(), Mask(), 16));
    EXPECT_TRUE(bitmap.HasMask());
    QImage canvas = Canvas(16, 8);
    {
        QPainter painter(&canvas);
        bitmap.Draw(painter, QRect(0, 0, 16, 8), 2, nullptr);
    }
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(32, 0, 200));
    EXPECT_EQ(canvas.pixel(7, 7), qRgb(39, 7, 200));
    EXPECT_EQ(canvas.pixel(8, 0), qRgb(1, 2, 3));  // what was there
    // With a brush the background is the brush.
    {
        QPainter painter(&canvas);
        const QBrush brush(qRgb(250, 250, 250));
        bitmap.Draw(painter, QRect(0, 0, 16, 8), 0, &brush);
    }
    EXPECT_EQ(canvas.pixel(3, 3), qRgb(3, 3, 200));
    EXPECT_EQ(canvas.pixel(12, 3), qRgb(250, 250, 250));
}

TEST(MaskedBitmapTest, WithoutAPictureOnlyTheBrush) {
    CMaskedBitmap bitmap;
    QImage canvas = Canvas(10, 10);
    QPainter painter(&canvas);
    bitmap.Draw(painter, QRect(0, 0, 5, 5), 0, nullptr);
    EXPECT_EQ(canvas.pixel(2, 2), qRgb(1, 2, 3));
    const QBrush brush(qRgb(7, 7, 7));
    bitmap.Draw(painter, QRect(0, 0, 5, 5), 0, &brush);
    painter.end();
    EXPECT_EQ(canvas.pixel(2, 2), qRgb(7, 7, 7));
}

TEST(MaskedBitmapTest, LoadsTheSubGroupImagesFromTheResources) {
    const platform::CResourceModule* pPrevious =
        platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
    CMaskedBitmap bitmap;
    EXPECT_FALSE(bitmap.Load(4711, 0, 16));
    EXPECT_FALSE(bitmap.Load(208, 4711, 16));  // a mask asked for but missing
    EXPECT_EQ(bitmap.GetFrameCount(), 0);
    ASSERT_TRUE(bitmap.Load(208, 0, 16));
    EXPECT_EQ(bitmap.GetFrameCount(), 3);
    EXPECT_EQ(bitmap.GetFrameSize(), QSize(16, 16));
    platform::SetFrameworkResourceModule(pPrevious);
}

}  // namespace
