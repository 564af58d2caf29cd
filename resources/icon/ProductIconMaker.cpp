// Draws the product icon (a clock face with a green switching period from
// twelve to four o'clock) at 16 and 32 pixels and writes it as an icon file
// with alpha and mask. "ico <path>" writes the icon file the build places
// beside the programs; "header <path>" writes the same bytes as the C++
// header that the resource tables embed as icon 131.

#include "platform/base/AtomicFile.h"
#include "platform/base/FileSizeLimit.h"
#include "platform/base/WinTypes.h"
#include "resources/PictureBytes.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using picturebytes::Colour;
using picturebytes::IconImage;
using picturebytes::Rgba;

constexpr Colour kRing{30, 60, 120};
constexpr Colour kFace{255, 255, 255};
constexpr Colour kPeriod{124, 196, 106};
constexpr Colour kInk{40, 40, 40};

constexpr double kPi = 3.14159265358979323846;
constexpr int kSamples = 8;  // per pixel and axis

// Distance of p from the segment a-b.
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax;
    const double dy = by - ay;
    double t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    const double qx = ax + t * dx - px;
    const double qy = ay + t * dy - py;
    return std::sqrt(qx * qx + qy * qy);
}

// The colour of the topmost shape at the point, or none.
bool Sample(double x, double y, int n, Colour& colour) {
    const double size = n;
    const double c = size / 2;
    const double dx = x - c;
    const double dy = y - c;
    const double r = std::sqrt(dx * dx + dy * dy);
    const double outer = size / 2 - 0.5;
    const double ring = n <= 16 ? 1.5 : size * 0.09;
    const double face = outer - ring;
    if (r > outer) {
        return false;
    }
    // Angle clockwise from twelve o'clock.
    double angle = std::atan2(dx, -dy);
    if (angle < 0) {
        angle += 2 * kPi;
    }
    const double hour = face * 0.55;
    const double minute = face * 0.80;
    const double hand = 2.0;  // whole pixels either side of the centre: crisp
    const double twelve[2] = {c, c - minute};
    const double four[2] = {c + hour * std::sin(kPi * 2 / 3), c - hour * std::cos(kPi * 2 / 3)};
    if (r <= hand || SegmentDistance(x, y, c, c, twelve[0], twelve[1]) <= hand / 2 ||
        SegmentDistance(x, y, c, c, four[0], four[1]) <= hand / 2) {
        colour = kInk;
        return true;
    }
    // Marks at three, six and nine o'clock (twelve has the minute hand);
    // at 16 pixels they would crowd the hands.
    const double tickLength = 4.0;
    const double tickWidth = 2.0;
    const double inner = face - 1.0;
    for (int k = 1; k < 4 && n > 16; ++k) {
        const double a = k * kPi / 2;
        const double sx = std::sin(a);
        const double sy = -std::cos(a);
        if (SegmentDistance(x, y, c + sx * (inner - tickLength), c + sy * (inner - tickLength), c + sx * inner,
                            c + sy * inner) <= tickWidth / 2) {
            colour = kInk;
            return true;
        }
    }
    if (r <= face) {
        const double period = face - (n <= 16 ? 0.5 : size * 0.05);
        colour = (r <= period && angle <= kPi * 2 / 3) ? kPeriod : kFace;
        return true;
    }
    colour = kRing;
    return true;
}

// The icon of n x n pixels, rows top-down, straight (not premultiplied) alpha.
std::vector<Rgba> Draw(int n) {
    std::vector<Rgba> pixels(static_cast<std::size_t>(n) * n);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            double r = 0, g = 0, b = 0;
            int covered = 0;
            for (int j = 0; j < kSamples; ++j) {
                for (int i = 0; i < kSamples; ++i) {
                    Colour colour{};
                    if (Sample(x + (i + 0.5) / kSamples, y + (j + 0.5) / kSamples, n, colour)) {
                        r += colour.r;
                        g += colour.g;
                        b += colour.b;
                        ++covered;
                    }
                }
            }
            Rgba& p = pixels[static_cast<std::size_t>(y) * n + x];
            if (covered > 0) {
                p = {r / covered, g / covered, b / covered, 255.0 * covered / (kSamples * kSamples)};
            } else {
                p = {0, 0, 0, 0};
            }
        }
    }
    return pixels;
}

std::vector<BYTE> IconFileBytes() {
    std::vector<IconImage> images;
    for (int n : {16, 32}) {
        images.push_back({n, n, picturebytes::IconImageBytes(Draw(n), n, n)});
    }
    return picturebytes::IconFileBytes(images, false);
}

std::string HeaderText(const std::vector<BYTE>& bytes) {
    std::string text =
        "#pragma once\n"
        "// The product icon: a clock face with a green switching period from twelve\n"
        "// to four o'clock, 16 x 16 and 32 x 32 pixels with alpha, as an icon file.\n"
        "// Written by resources/icon/ProductIconMaker (\"header\"); edit the drawing\n"
        "// there, not these bytes.\n"
        "\n"
        "#include \"platform/base/WinTypes.h\"\n"
        "\n"
        "namespace resources {\n"
        "\n"
        "inline constexpr BYTE kProductIcon[] = {\n";
    char item[8];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % 16 == 0) {
            text += "   ";
        }
        std::snprintf(item, sizeof(item), " 0x%02X,", bytes[i]);
        text += item;
        if (i % 16 == 15 || i + 1 == bytes.size()) {
            text += "\n";
        }
    }
    text +=
        "};\n"
        "\n"
        "}  // namespace resources\n";
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    platform::FailWritesPastFileSizeLimit();
    if (argc != 3 || (std::strcmp(argv[1], "ico") != 0 && std::strcmp(argv[1], "header") != 0)) {
        std::fprintf(stderr, "usage: %s ico|header <path>\n", argc > 0 ? argv[0] : "ProductIconMaker");
        return 2;
    }
    const std::vector<BYTE> bytes = IconFileBytes();
    const bool ok = std::strcmp(argv[1], "ico") == 0
                        ? platform::WriteFileAtomically(argv[2], bytes.data(), bytes.size())
                        : platform::WriteFileAtomically(argv[2], HeaderText(bytes));
    if (!ok) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
