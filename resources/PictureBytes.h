#pragma once
// What the build-time picture makers share: colours and pixels, and the
// little-endian bytes of bitmap, icon and cursor files. Both makers must
// write the same bytes for the same pixels, so these live here once.

#include "platform/base/WinTypes.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace picturebytes {

struct Colour {
    double r = 0, g = 0, b = 0;
};

// Straight (not premultiplied) alpha.
struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;
};

inline BYTE ToByte(double v) {
    return static_cast<BYTE>(std::lround(std::clamp(v, 0.0, 255.0)));
}

inline void PutWord(std::vector<BYTE>& out, WORD w) {
    out.push_back(LOBYTE(w));
    out.push_back(HIBYTE(w));
}

inline void PutDword(std::vector<BYTE>& out, DWORD d) {
    PutWord(out, LOWORD(d));
    PutWord(out, HIWORD(d));
}

// One 32-bit image with its mask, as icon and cursor files store it; the
// pixels are rows top-down, and a pixel below half alpha is masked.
inline std::vector<BYTE> IconImageBytes(const std::vector<Rgba>& pixels, int nWidth, int nHeight) {
    const std::size_t maskRow = ((static_cast<std::size_t>(nWidth) + 31) / 32) * 4;
    std::vector<BYTE> out;
    PutDword(out, 40);
    PutDword(out, static_cast<DWORD>(nWidth));
    PutDword(out, static_cast<DWORD>(2 * nHeight));
    PutWord(out, 1);
    PutWord(out, 32);
    PutDword(out, 0);
    PutDword(out, static_cast<DWORD>(nWidth * nHeight * 4 + maskRow * nHeight));
    PutDword(out, 0);
    PutDword(out, 0);
    PutDword(out, 0);
    PutDword(out, 0);
    for (int y = nHeight - 1; y >= 0; --y) {
        for (int x = 0; x < nWidth; ++x) {
            const Rgba& p = pixels[static_cast<std::size_t>(y) * nWidth + x];
            out.push_back(ToByte(p.b));
            out.push_back(ToByte(p.g));
            out.push_back(ToByte(p.r));
            out.push_back(ToByte(p.a));
        }
    }
    for (int y = nHeight - 1; y >= 0; --y) {
        std::vector<BYTE> row(maskRow, 0);
        for (int x = 0; x < nWidth; ++x) {
            if (pixels[static_cast<std::size_t>(y) * nWidth + x].a < 128) {
                const std::size_t i = static_cast<std::size_t>(x / 8);
                row[i] = static_cast<BYTE>(row[i] | (0x80 >> (x % 8)));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// An image of an icon or cursor file: its size and its IconImageBytes.
struct IconImage {
    int nWidth = 0;
    int nHeight = 0;
    std::vector<BYTE> bytes;
};

// An icon file (type 1) or, with a hot spot, a cursor file (type 2).
inline std::vector<BYTE> IconFileBytes(const std::vector<IconImage>& images, bool bCursor, int nHotX = 0,
                                       int nHotY = 0) {
    std::vector<BYTE> out;
    PutWord(out, 0);
    PutWord(out, bCursor ? 2 : 1);
    PutWord(out, static_cast<WORD>(images.size()));
    DWORD offset = static_cast<DWORD>(6 + 16 * images.size());
    for (const IconImage& image : images) {
        out.push_back(static_cast<BYTE>(image.nWidth));
        out.push_back(static_cast<BYTE>(image.nHeight));
        out.push_back(0);
        out.push_back(0);
        PutWord(out, bCursor ? static_cast<WORD>(nHotX) : 1);
        PutWord(out, bCursor ? static_cast<WORD>(nHotY) : 32);
        PutDword(out, static_cast<DWORD>(image.bytes.size()));
        PutDword(out, offset);
        offset += static_cast<DWORD>(image.bytes.size());
    }
    for (const IconImage& image : images) {
        out.insert(out.end(), image.bytes.begin(), image.bytes.end());
    }
    return out;
}

}  // namespace picturebytes
