#pragma once
// Icon files made in the tests: bitmaps of any depth with their masks, and
// the file around them, byte by byte as an icon file stores them.

#include "platform/base/WinTypes.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace icontest {

inline void PutWord(std::vector<BYTE>& out, WORD w) {
    out.push_back(LOBYTE(w));
    out.push_back(HIBYTE(w));
}

inline void PutDword(std::vector<BYTE>& out, DWORD d) {
    PutWord(out, LOWORD(d));
    PutWord(out, HIWORD(d));
}

inline void SetDword(std::vector<BYTE>& bytes, std::size_t nOffset, DWORD d) {
    for (int i = 0; i < 4; ++i) {
        bytes[nOffset + i] = static_cast<BYTE>(d >> (8 * i));
    }
}

// One image. `value` gives the stored value of a pixel (x, y from the top):
// a palette index up to 8 bits, 0xRRGGBB for 24 bits, 0xAARRGGBB for 32 bits.
// `masked` gives the mask bit (1 = transparent).
struct ImageSpec {
    int nWidth = 16;
    int nHeight = 16;
    int nBits = 32;
    std::vector<DWORD> palette;  // 0xRRGGBB entries; empty: none stored
    std::function<DWORD(int, int)> value = [](int, int) { return 0u; };
    std::function<bool(int, int)> masked = [](int, int) { return false; };
};

inline std::vector<BYTE> MakeImage(const ImageSpec& spec) {
    std::vector<BYTE> out;
    PutDword(out, 40);
    PutDword(out, static_cast<DWORD>(spec.nWidth));
    PutDword(out, static_cast<DWORD>(spec.nHeight * 2));
    PutWord(out, 1);
    PutWord(out, static_cast<WORD>(spec.nBits));
    PutDword(out, 0);
    PutDword(out, 0);
    PutDword(out, 0);
    PutDword(out, 0);
    PutDword(out, static_cast<DWORD>(spec.palette.size()));
    PutDword(out, 0);
    for (DWORD colour : spec.palette) {
        out.push_back(static_cast<BYTE>(colour));
        out.push_back(static_cast<BYTE>(colour >> 8));
        out.push_back(static_cast<BYTE>(colour >> 16));
        out.push_back(0);
    }
    const std::size_t nXorRow = ((static_cast<std::size_t>(spec.nWidth) * spec.nBits + 31) / 32) * 4;
    const std::size_t nAndRow = ((static_cast<std::size_t>(spec.nWidth) + 31) / 32) * 4;
    for (int y = spec.nHeight - 1; y >= 0; --y) {
        std::vector<BYTE> row(nXorRow, 0);
        for (int x = 0; x < spec.nWidth; ++x) {
            const DWORD v = spec.value(x, y);
            switch (spec.nBits) {
                case 1:
                    row[x / 8] = static_cast<BYTE>(row[x / 8] | ((v & 1) << (7 - x % 8)));
                    break;
                case 4:
                    row[x / 2] = static_cast<BYTE>(row[x / 2] | ((v & 0x0F) << ((x % 2) != 0 ? 0 : 4)));
                    break;
                case 8:
                    row[x] = static_cast<BYTE>(v);
                    break;
                case 24:
                    row[x * 3] = static_cast<BYTE>(v);
                    row[x * 3 + 1] = static_cast<BYTE>(v >> 8);
                    row[x * 3 + 2] = static_cast<BYTE>(v >> 16);
                    break;
                default:
                    for (int i = 0; i < 4; ++i) {
                        row[x * 4 + i] = static_cast<BYTE>(v >> (8 * i));
                    }
                    break;
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = spec.nHeight - 1; y >= 0; --y) {
        std::vector<BYTE> row(nAndRow, 0);
        for (int x = 0; x < spec.nWidth; ++x) {
            if (spec.masked(x, y)) {
                row[x / 8] = static_cast<BYTE>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// The offset of directory entry i in a file.
inline std::size_t EntryOffset(std::size_t i) {
    return 6 + 16 * i;
}

inline std::vector<BYTE> MakeIconFile(const std::vector<std::vector<BYTE>>& images, WORD wType = 1) {
    std::vector<BYTE> out;
    PutWord(out, 0);
    PutWord(out, wType);
    PutWord(out, static_cast<WORD>(images.size()));
    DWORD dwOffset = static_cast<DWORD>(6 + 16 * images.size());
    for (const auto& image : images) {
        const BYTE bWidth = image.size() >= 8 ? image[4] : 0;
        out.push_back(bWidth);
        out.push_back(bWidth);
        out.push_back(0);
        out.push_back(0);
        PutWord(out, 1);
        PutWord(out, image.size() >= 16 ? static_cast<WORD>(image[14] | (image[15] << 8)) : 0);
        PutDword(out, static_cast<DWORD>(image.size()));
        PutDword(out, dwOffset);
        dwOffset += static_cast<DWORD>(image.size());
    }
    for (const auto& image : images) {
        out.insert(out.end(), image.begin(), image.end());
    }
    return out;
}

// An opaque one-colour 32-bit image of the width.
inline std::vector<BYTE> MakeSquare(int nWidth, DWORD dwArgb = 0xFF2040C0u) {
    ImageSpec spec;
    spec.nWidth = spec.nHeight = nWidth;
    spec.value = [dwArgb](int, int) { return dwArgb; };
    return MakeImage(spec);
}

}  // namespace icontest
