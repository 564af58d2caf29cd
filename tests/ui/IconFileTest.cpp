#include "platform/base/AtomicFile.h"
#include "platform/ui/Handles.h"
#include "tests/ui/IconFileBuilder.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/IconFile.h"

#include <QColor>

#include <gtest/gtest.h>

namespace {

using namespace icontest;

class IconFileTest : public ::testing::Test {
protected:
    // Writes the bytes to a file and loads it.
    bool LoadBytes(CIconFile& iconFile, const std::vector<BYTE>& bytes) {
        const std::string strPath = m_dir.File("test.ico");
        EXPECT_TRUE(platform::WriteFileAtomically(strPath, bytes.data(), bytes.size()));
        return iconFile.Load(strPath);
    }

    uitest::CTempDir m_dir;
    uitest::CLogCapture m_log;
};

TEST_F(IconFileTest, ThirtyTwoBitImageKeepsItsAlphaAndComesOutTopDown) {
    ImageSpec spec;
    spec.nWidth = 4;
    spec.nHeight = 3;
    spec.value = [](int x, int y) {
        return (static_cast<DWORD>(0x40 * (x + 1) - 1) << 24) | static_cast<DWORD>((x * 60) << 16) |
               static_cast<DWORD>((y * 100) << 8) | 7u;
    };
    spec.masked = [](int, int) { return true; };  // the alpha rules, not the mask
    CIconFile iconFile;
    ASSERT_TRUE(LoadBytes(iconFile, MakeIconFile({MakeImage(spec)})));
    EXPECT_EQ(iconFile.GetCount(), 1);
    const QImage image = iconFile.CreateImage(4);
    ASSERT_EQ(image.size(), QSize(4, 3));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(image.pixel(x, y), qRgba(x * 60, y * 100, 7, 0x40 * (x + 1) - 1)) << x << "," << y;
        }
    }
    EXPECT_EQ(m_log.Lines(), "");
}

TEST_F(IconFileTest, PaletteAndTrueColourImagesUseTheMaskRowByRow) {
    // Widths that are no multiple of 32 pad both colour and mask rows; a
    // different mask in every row shows the rows stay whole when turned.
    auto diagonal = [](int x, int y) { return x == y || x == 19 - y; };
    std::vector<ImageSpec> specs(4);
    specs[0].nWidth = 20, specs[0].nHeight = 5, specs[0].nBits = 1;
    specs[0].palette = {0x000000, 0xFFFFFF};
    specs[0].value = [](int x, int) { return static_cast<DWORD>(x % 2); };
    specs[1].nWidth = 5, specs[1].nHeight = 4, specs[1].nBits = 4;
    specs[1].palette.resize(16);
    for (DWORD i = 0; i < 16; ++i) {
        specs[1].palette[i] = i * 0x101010;
    }
    specs[1].value = [](int x, int y) { return static_cast<DWORD>(x + 3 * y); };
    specs[2].nWidth = 3, specs[2].nHeight = 3, specs[2].nBits = 8;
    specs[2].palette = {0x112233, 0x445566, 0x778899};
    specs[2].value = [](int x, int) { return static_cast<DWORD>(x); };
    specs[3].nWidth = 7, specs[3].nHeight = 6, specs[3].nBits = 24;
    specs[3].value = [](int x, int y) { return static_cast<DWORD>((x << 16) | (y << 8) | 0x80); };
    for (ImageSpec& spec : specs) {
        spec.masked = diagonal;
    }
    std::vector<std::vector<BYTE>> images;
    for (const ImageSpec& spec : specs) {
        images.push_back(MakeImage(spec));
    }
    CIconFile iconFile;
    ASSERT_TRUE(LoadBytes(iconFile, MakeIconFile(images)));
    ASSERT_EQ(iconFile.GetCount(), 4);

    const auto check = [&](int nWidth, const ImageSpec& spec, auto colour) {
        const QImage image = iconFile.CreateImage(nWidth);
        ASSERT_EQ(image.size(), QSize(spec.nWidth, spec.nHeight));
        for (int y = 0; y < spec.nHeight; ++y) {
            for (int x = 0; x < spec.nWidth; ++x) {
                const QRgb rgb = colour(x, y);
                const int nAlpha = diagonal(x, y) ? 0 : 255;
                EXPECT_EQ(image.pixel(x, y), qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), nAlpha))
                    << spec.nBits << " bits at " << x << "," << y;
            }
        }
    };
    check(20, specs[0], [](int x, int) { return x % 2 != 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0); });
    check(5, specs[1], [](int x, int y) {
        const int v = (x + 3 * y) * 0x10;
        return qRgb(v, v, v);
    });
    check(3, specs[2], [](int x, int) {
        const QRgb colours[] = {qRgb(0x11, 0x22, 0x33), qRgb(0x44, 0x55, 0x66), qRgb(0x77, 0x88, 0x99)};
        return colours[x];
    });
    check(7, specs[3], [](int x, int y) { return qRgb(x, y, 0x80); });
}

TEST_F(IconFileTest, CursorFileFailsWithoutALogLine) {
    CIconFile iconFile;
    EXPECT_FALSE(LoadBytes(iconFile, MakeIconFile({MakeSquare(16)}, 2)));
    EXPECT_EQ(iconFile.GetCount(), -1);
    EXPECT_EQ(iconFile.CreateIcon(16), nullptr);
    EXPECT_FALSE(LoadBytes(iconFile, {0x00, 0x00, 0x01}));  // header cut short
    EXPECT_EQ(iconFile.GetCount(), -1);
    EXPECT_EQ(m_log.Lines(), "");
}

TEST_F(IconFileTest, MissingFileIsLogged) {
    CIconFile iconFile;
    const std::string strPath = m_dir.File("missing.ico");
    EXPECT_FALSE(iconFile.Load(strPath));
    EXPECT_NE(m_log.Lines().find("Failed to open file " + strPath), std::string::npos);
}

TEST_F(IconFileTest, WantedWidthIsChosenElseTheFirstImage) {
    CIconFile onlyLarge;
    ASSERT_TRUE(LoadBytes(onlyLarge, MakeIconFile({MakeSquare(32)})));
    EXPECT_EQ(onlyLarge.CreateImage(16).width(), 32);
    const HICON hIcon = onlyLarge.CreateIcon(16);
    ASSERT_NE(hIcon, nullptr);
    EXPECT_FALSE(platform::ui::IconFromHandle(hIcon).isNull());
    EXPECT_TRUE(platform::ui::DestroyIconHandle(hIcon));

    CIconFile both;
    ASSERT_TRUE(LoadBytes(both, MakeIconFile({MakeSquare(32), MakeSquare(16)})));
    EXPECT_EQ(both.CreateImage(16).width(), 16);
    EXPECT_EQ(both.CreateImage(32).width(), 32);
    EXPECT_EQ(both.CreateImage(48).width(), 32);
    EXPECT_EQ(both.CreateIconSet().availableSizes().size(), 2);
}

TEST_F(IconFileTest, CutShortSecondImageLeavesTheFirstUsable) {
    std::vector<BYTE> bytes = MakeIconFile({MakeSquare(32, 0xFF00FF00u), MakeSquare(16)});
    bytes.resize(bytes.size() - 100);
    CIconFile iconFile;
    ASSERT_TRUE(LoadBytes(iconFile, bytes));
    EXPECT_EQ(iconFile.GetCount(), 2);
    EXPECT_TRUE(iconFile.GetImage(0)->bPrepared);
    EXPECT_FALSE(iconFile.GetImage(1)->bPrepared);
    // The short image is never chosen, even when its width is the wanted one.
    const QImage image = iconFile.CreateImage(16);
    ASSERT_EQ(image.width(), 32);
    EXPECT_EQ(image.pixel(0, 0), qRgba(0, 0xFF, 0, 0xFF));
    EXPECT_NE(m_log.Lines().find("Error reading file"), std::string::npos);
}

TEST_F(IconFileTest, CraftedFilesFailCleanly) {
    const std::vector<BYTE> good = MakeIconFile({MakeSquare(16)});
    const std::size_t nImageStart = EntryOffset(1);
    struct Case {
        const char* pszName;
        std::function<void(std::vector<BYTE>&)> damage;
        bool bLoads;
    };
    const Case cases[] = {
        {"offset past the end", [](auto& b) { SetDword(b, EntryOffset(0) + 12, 0xFFFFFFF0u); }, true},
        {"size past the end", [](auto& b) { SetDword(b, EntryOffset(0) + 8, static_cast<DWORD>(b.size())); }, true},
        {"offset plus size overflows",
         [](auto& b) {
             SetDword(b, EntryOffset(0) + 12, 0x10);
             SetDword(b, EntryOffset(0) + 8, 0xFFFFFFF8u);
         },
         true},
        {"huge count",
         [](auto& b) {
             b[4] = 0xFF;
             b[5] = 0xFF;
         },
         false},
        {"bitmap header larger than the image", [nImageStart](auto& b) { SetDword(b, nImageStart, 0x7FFFFFFFu); },
         true},
        {"width beyond the image bytes", [nImageStart](auto& b) { SetDword(b, nImageStart + 4, 0x7FFFFFFFu); }, true},
        {"negative height", [nImageStart](auto& b) { SetDword(b, nImageStart + 8, 0xFFFFFFE0u); }, true},
        {"colour table beyond the image", [nImageStart](auto& b) { SetDword(b, nImageStart + 32, 0x40000000u); }, true},
        {"unknown bit depth", [nImageStart](auto& b) { b[nImageStart + 14] = 7; }, true},
        {"compressed image", [nImageStart](auto& b) { SetDword(b, nImageStart + 16, 1); }, true},
        {"image shorter than a bitmap header", [](auto& b) { SetDword(b, EntryOffset(0) + 8, 20); }, true},
    };
    for (const Case& c : cases) {
        std::vector<BYTE> bytes = good;
        c.damage(bytes);
        CIconFile iconFile;
        EXPECT_EQ(LoadBytes(iconFile, bytes), c.bLoads) << c.pszName;
        EXPECT_TRUE(iconFile.CreateImage(16).isNull()) << c.pszName;
        EXPECT_EQ(iconFile.CreateIcon(16), nullptr) << c.pszName;
        // The same bytes from memory behave alike.
        CIconFile fromMemory;
        EXPECT_EQ(fromMemory.LoadFromMemory(bytes.data(), bytes.size()), c.bLoads) << c.pszName;
        EXPECT_EQ(fromMemory.CreateIcon(16), nullptr) << c.pszName;
    }
}

// Found by fuzzing: an entry of size 0 was read into an empty buffer (a copy
// to a null pointer, which the sanitizer build reports).
TEST_F(IconFileTest, EmptyImageEntryIsSkipped) {
    const std::vector<BYTE> bytes = MakeIconFile({{}, MakeSquare(16)});
    CIconFile fromMemory;
    ASSERT_TRUE(fromMemory.LoadFromMemory(bytes.data(), bytes.size()));
    CIconFile fromFile;
    ASSERT_TRUE(LoadBytes(fromFile, bytes));
    for (const CIconFile* pIconFile : {&fromMemory, &fromFile}) {
        EXPECT_EQ(pIconFile->GetCount(), 2);
        EXPECT_FALSE(pIconFile->GetImage(0)->bPrepared);
        EXPECT_TRUE(pIconFile->GetImage(0)->data.empty());
        EXPECT_TRUE(pIconFile->GetImage(1)->bPrepared);
        EXPECT_EQ(pIconFile->CreateImage(16).width(), 16);
    }
    EXPECT_NE(m_log.Lines().find("Icon image 0 is empty"), std::string::npos);
}

// Found by fuzzing: the empty directory of a file without images was read
// into a null buffer as well.
TEST_F(IconFileTest, FileWithoutImagesLoadsEmpty) {
    const std::vector<BYTE> bytes = MakeIconFile({});
    CIconFile fromMemory;
    ASSERT_TRUE(fromMemory.LoadFromMemory(bytes.data(), bytes.size()));
    EXPECT_EQ(fromMemory.GetCount(), 0);
    EXPECT_TRUE(fromMemory.CreateImage(16).isNull());
    CIconFile fromFile;
    ASSERT_TRUE(LoadBytes(fromFile, bytes));
    EXPECT_EQ(fromFile.GetCount(), 0);
}

// Found by fuzzing: planes 65534 times bit count 65535 overflowed an int
// (the sanitizer build reports it) before the depth was checked.
TEST_F(IconFileTest, PlanesTimesBitCountBeyondIntIsRejected) {
    std::vector<BYTE> bytes = MakeIconFile({MakeSquare(16), MakeSquare(32)});
    const std::size_t nHeader = EntryOffset(2);
    bytes[nHeader + 12] = 0xFE;  // planes
    bytes[nHeader + 13] = 0xFF;
    bytes[nHeader + 14] = 0xFF;  // bit count
    bytes[nHeader + 15] = 0xFF;
    CIconFile iconFile;
    ASSERT_TRUE(iconFile.LoadFromMemory(bytes.data(), bytes.size()));
    EXPECT_FALSE(iconFile.GetImage(0)->bPrepared);
    EXPECT_TRUE(iconFile.GetImage(1)->bPrepared);
    EXPECT_EQ(iconFile.CreateImage(16).width(), 32);
}

TEST_F(IconFileTest, ClearForgetsEverything) {
    CIconFile iconFile;
    EXPECT_EQ(iconFile.GetCount(), -1);
    ASSERT_TRUE(LoadBytes(iconFile, MakeIconFile({MakeSquare(16)})));
    iconFile.Clear();
    EXPECT_EQ(iconFile.GetCount(), 0);
    EXPECT_EQ(iconFile.GetImage(0), nullptr);
    EXPECT_EQ(iconFile.CreateIcon(16), nullptr);
}

}  // namespace
