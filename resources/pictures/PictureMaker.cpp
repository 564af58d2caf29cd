// Draws the pictures of the resources at build time: the toolbar strip
// (bitmap 106), the navigation-tree images (124), the group-tree images
// (125), the calendar button (173),
// the sub-group row images (208), the progress animations (500 to 512 and
// 550 to 557), the plug-in icon (205) and the drag cursors (118, 142).
// "header <path>" writes them as a C++ header of bitmap, icon and cursor file
// bytes that the resource tables embed; "files <dir>" writes each as a file
// to look at.

#include "platform/base/AtomicFile.h"
#include "platform/base/FileSizeLimit.h"
#include "platform/base/WinTypes.h"
#include "resources/PictureBytes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSamples = 8;  // per pixel and axis

using picturebytes::Colour;
using picturebytes::IconImage;
using picturebytes::PutDword;
using picturebytes::PutWord;
using picturebytes::Rgba;
using picturebytes::ToByte;

// Whether a point (in pixel units, y downwards) lies in the shape.
using Shape = std::function<bool(double, double)>;

struct Layer {
    Shape shape;
    Colour colour;
};

// ---------------------------------------------------------------- shapes

Shape Rect(double x0, double y0, double x1, double y1) {
    return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

Shape RoundRect(double x0, double y0, double x1, double y1, double r) {
    return [=](double x, double y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1) {
            return false;
        }
        const double cx = std::clamp(x, x0 + r, x1 - r);
        const double cy = std::clamp(y, y0 + r, y1 - r);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
    };
}

Shape Ellipse(double cx, double cy, double rx, double ry) {
    return [=](double x, double y) {
        const double dx = (x - cx) / rx;
        const double dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
}

Shape Circle(double cx, double cy, double r) {
    return Ellipse(cx, cy, r, r);
}

Shape Ring(double cx, double cy, double r0, double r1) {
    return [=](double x, double y) {
        const double d = std::hypot(x - cx, y - cy);
        return d >= r0 && d <= r1;
    };
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax;
    const double dy = by - ay;
    const double len = dx * dx + dy * dy;
    double t = len > 0 ? ((px - ax) * dx + (py - ay) * dy) / len : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(ax + t * dx - px, ay + t * dy - py);
}

// A line of the width with round ends.
Shape Line(double x0, double y0, double x1, double y1, double width) {
    return [=](double x, double y) { return SegmentDistance(x, y, x0, y0, x1, y1) <= width / 2; };
}

using Points = std::vector<std::pair<double, double>>;

bool InPolygon(const Points& points, double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const auto [xi, yi] = points[i];
        const auto [xj, yj] = points[j];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) {
            inside = !inside;
        }
    }
    return inside;
}

Shape Polygon(Points points) {
    return [points = std::move(points)](double x, double y) { return InPolygon(points, x, y); };
}

// The band of the width along the polygon's edges.
Shape PolygonEdge(Points points, double width) {
    return [points = std::move(points), width](double x, double y) {
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            if (SegmentDistance(x, y, points[j].first, points[j].second, points[i].first, points[i].second) <=
                width / 2) {
                return true;
            }
        }
        return false;
    };
}

// Angles clockwise from twelve o'clock, in degrees.
double AngleOf(double dx, double dy) {
    double a = std::atan2(dx, -dy) * 180 / kPi;
    return a < 0 ? a + 360 : a;
}

bool AngleBetween(double a, double a0, double a1) {
    return a0 <= a1 ? (a >= a0 && a <= a1) : (a >= a0 || a <= a1);
}

Shape Sector(double cx, double cy, double r, double a0, double a1) {
    return [=](double x, double y) {
        return std::hypot(x - cx, y - cy) <= r && AngleBetween(AngleOf(x - cx, y - cy), a0, a1);
    };
}

Shape Arc(double cx, double cy, double r, double width, double a0, double a1) {
    return [=](double x, double y) {
        const double d = std::hypot(x - cx, y - cy);
        return std::abs(d - r) <= width / 2 && AngleBetween(AngleOf(x - cx, y - cy), a0, a1);
    };
}

// The lower half of an ellipse's outline, of the width.
Shape LowerEllipseEdge(double cx, double cy, double rx, double ry, double width) {
    return [=](double x, double y) {
        const double d = std::hypot((x - cx) / rx, (y - cy) / ry);
        return y >= cy && std::abs(d - 1) * std::min(rx, ry) <= width / 2;
    };
}

Shape And(Shape a, Shape b) {
    return [=](double x, double y) { return a(x, y) && b(x, y); };
}


// ---------------------------------------------------------------- drawing

// A picture: layers painted in order over a background. A keyed picture has
// a background colour that its user draws transparent (or that it masks):
// its pixels are either that colour exactly or a shape's colour, never a
// blend of the two, so no fringe of the key colour stays around the shapes.
struct Picture {
    int nWidth = 0;
    int nHeight = 0;
    Colour background;
    bool bTransparent = false;  // background of alpha 0 (icons, cursors)
    bool bKeyed = false;
    std::vector<Layer> layers;

    void Add(Shape shape, Colour colour) { layers.push_back({std::move(shape), colour}); }
    // A shape with an outline of one pixel around it.
    void AddOutlined(const Shape& outer, const Shape& inner, Colour outline, Colour fill) {
        Add(outer, outline);
        Add(inner, fill);
    }
};

std::vector<Rgba> Render(const Picture& picture) {
    std::vector<Rgba> pixels(static_cast<std::size_t>(picture.nWidth) * picture.nHeight);
    const int total = kSamples * kSamples;
    for (int y = 0; y < picture.nHeight; ++y) {
        for (int x = 0; x < picture.nWidth; ++x) {
            double r = 0, g = 0, b = 0;
            int covered = 0;
            for (int j = 0; j < kSamples; ++j) {
                for (int i = 0; i < kSamples; ++i) {
                    const double sx = x + (i + 0.5) / kSamples;
                    const double sy = y + (j + 0.5) / kSamples;
                    for (auto it = picture.layers.rbegin(); it != picture.layers.rend(); ++it) {
                        if (it->shape(sx, sy)) {
                            r += it->colour.r;
                            g += it->colour.g;
                            b += it->colour.b;
                            ++covered;
                            break;
                        }
                    }
                }
            }
            Rgba& p = pixels[static_cast<std::size_t>(y) * picture.nWidth + x];
            const Colour& bg = picture.background;
            if (picture.bKeyed) {
                if (covered * 2 >= total) {
                    p = {r / covered, g / covered, b / covered, 255};
                } else {
                    p = {bg.r, bg.g, bg.b, 255};
                }
            } else if (picture.bTransparent) {
                p = covered > 0 ? Rgba{r / covered, g / covered, b / covered, 255.0 * covered / total}
                                : Rgba{0, 0, 0, 0};
            } else {
                const int uncovered = total - covered;
                p = {(r + bg.r * uncovered) / total, (g + bg.g * uncovered) / total, (b + bg.b * uncovered) / total,
                     255};
            }
        }
    }
    return pixels;
}

// Pixels of a keyed picture that round to the key colour without being
// background move one step away from it.
void KeepOffKey(const Picture& picture, std::vector<Rgba>& pixels, std::vector<bool> background) {
    const BYTE kr = ToByte(picture.background.r), kg = ToByte(picture.background.g), kb = ToByte(picture.background.b);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        Rgba& p = pixels[i];
        if (!background[i] && ToByte(p.r) == kr && ToByte(p.g) == kg && ToByte(p.b) == kb) {
            p.b = kb < 255 ? kb + 1 : kb - 1;
        }
    }
}

// A 24-bit bitmap file.
std::vector<BYTE> BitmapFile(const Picture& picture) {
    std::vector<Rgba> pixels = Render(picture);
    if (picture.bKeyed) {
        std::vector<bool> background(pixels.size());
        const Colour& bg = picture.background;
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            background[i] = pixels[i].r == bg.r && pixels[i].g == bg.g && pixels[i].b == bg.b;
        }
        KeepOffKey(picture, pixels, std::move(background));
    }
    const DWORD rowSize = (static_cast<DWORD>(picture.nWidth) * 3 + 3) & ~3u;
    const DWORD imageSize = rowSize * static_cast<DWORD>(picture.nHeight);
    std::vector<BYTE> out;
    out.push_back('B');
    out.push_back('M');
    PutDword(out, 14 + 40 + imageSize);
    PutDword(out, 0);
    PutDword(out, 14 + 40);
    PutDword(out, 40);
    PutDword(out, static_cast<DWORD>(picture.nWidth));
    PutDword(out, static_cast<DWORD>(picture.nHeight));
    PutWord(out, 1);
    PutWord(out, 24);
    PutDword(out, 0);
    PutDword(out, imageSize);
    PutDword(out, 2835);
    PutDword(out, 2835);
    PutDword(out, 0);
    PutDword(out, 0);
    for (int y = picture.nHeight - 1; y >= 0; --y) {
        DWORD written = 0;
        for (int x = 0; x < picture.nWidth; ++x) {
            const Rgba& p = pixels[static_cast<std::size_t>(y) * picture.nWidth + x];
            out.push_back(ToByte(p.b));
            out.push_back(ToByte(p.g));
            out.push_back(ToByte(p.r));
            written += 3;
        }
        for (; written < rowSize; ++written) {
            out.push_back(0);
        }
    }
    return out;
}

// An icon file (type 1) or, with a hot spot, a cursor file (type 2).
std::vector<BYTE> IconFile(const std::vector<Picture>& pictures, bool bCursor, int nHotX = 0, int nHotY = 0) {
    std::vector<IconImage> images;
    for (const Picture& picture : pictures) {
        images.push_back({picture.nWidth, picture.nHeight,
                          picturebytes::IconImageBytes(Render(picture), picture.nWidth, picture.nHeight)});
    }
    return picturebytes::IconFileBytes(images, bCursor, nHotX, nHotY);
}

// ---------------------------------------------------------------- colours

constexpr Colour kToolbarKey{192, 192, 192};
constexpr Colour kFace{240, 240, 240};
constexpr Colour kWhite{255, 255, 255};
constexpr Colour kInk{50, 50, 55};
constexpr Colour kOutline{70, 70, 80};
constexpr Colour kTextLine{120, 140, 175};
constexpr Colour kBlue{45, 100, 190};
constexpr Colour kLightBlue{150, 190, 240};
constexpr Colour kDarkBlue{30, 60, 120};
constexpr Colour kGreen{60, 165, 75};
constexpr Colour kDarkGreen{30, 105, 45};
constexpr Colour kYellow{245, 205, 85};
constexpr Colour kDarkYellow{190, 145, 35};
constexpr Colour kRed{205, 45, 40};
constexpr Colour kBrown{165, 110, 55};
constexpr Colour kSilver{205, 208, 215};
constexpr Colour kGray{150, 150, 155};

// A page of the size with a one-pixel outline and text lines.
void AddPage(Picture& p, double x0, double y0, double x1, double y1, bool bLines = true) {
    p.AddOutlined(Rect(x0, y0, x1, y1), Rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1), kOutline, kWhite);
    if (!bLines) {
        return;
    }
    for (double y = y0 + 3; y + 1 <= y1 - 2; y += 2) {
        p.Add(Rect(x0 + 2.5, y, x1 - 2.5, y + 1), kTextLine);
    }
}

// ---------------------------------------------------------------- toolbar

// Each image is drawn in a 20 x 20 cell at its offset.
void ToolCopy(Picture& p, double ox) {
    AddPage(p, ox + 2, 2, ox + 12, 14);
    AddPage(p, ox + 7, 6, ox + 18, 19);
}

void ToolPaste(Picture& p, double ox) {
    p.AddOutlined(RoundRect(ox + 2, 3, ox + 15, 19, 1.5), RoundRect(ox + 3, 4, ox + 14, 18, 1), kOutline, kBrown);
    p.AddOutlined(RoundRect(ox + 5.5, 1, ox + 11.5, 6, 1), RoundRect(ox + 6.5, 2, ox + 10.5, 5, 0.5), kOutline, kSilver);
    AddPage(p, ox + 8, 8, ox + 18, 19);
}

void ToolPrint(Picture& p, double ox) {
    AddPage(p, ox + 5, 1, ox + 15, 9, false);
    p.AddOutlined(RoundRect(ox + 1, 7, ox + 19, 15, 1.5), RoundRect(ox + 2, 8, ox + 18, 14, 1), kOutline, kGray);
    p.Add(Circle(ox + 15.5, 10, 1), kGreen);
    AddPage(p, ox + 4, 12, ox + 16, 19);
}

void ToolSave(Picture& p, double ox) {
    p.AddOutlined(RoundRect(ox + 2, 2, ox + 18, 18, 1.5), RoundRect(ox + 3, 3, ox + 17, 17, 1), kDarkBlue, kBlue);
    p.AddOutlined(Rect(ox + 6, 2, ox + 14, 8), Rect(ox + 7, 3, ox + 13, 7), kDarkBlue, kSilver);
    p.Add(Rect(ox + 10.5, 3.5, ox + 12, 6.5), kDarkBlue);
    p.AddOutlined(Rect(ox + 5, 10, ox + 15, 18), Rect(ox + 6, 11, ox + 14, 18), kDarkBlue, kWhite);
    p.Add(Rect(ox + 7, 13, ox + 13, 14), kTextLine);
    p.Add(Rect(ox + 7, 15, ox + 13, 16), kTextLine);
}

void ToolHelp(Picture& p, double ox) {
    p.AddOutlined(Circle(ox + 10, 10, 9), Circle(ox + 10, 10, 8), kDarkBlue, kBlue);
    p.Add(Arc(ox + 10, 7.5, 3, 2.2, 270, 135), kWhite);
    p.Add(Line(ox + 12.1, 9.6, ox + 10, 11.2, 2.2), kWhite);
    p.Add(Line(ox + 10, 11.2, ox + 10, 12.6, 2.2), kWhite);
    p.Add(Circle(ox + 10, 15.6, 1.4), kWhite);
}

void ToolEnd(Picture& p, double ox) {
    p.AddOutlined(Rect(ox + 2, 1, ox + 13, 19), Rect(ox + 4, 3, ox + 11, 19), Colour{95, 70, 45}, Colour{45, 40, 40});
    p.AddOutlined(Polygon({{ox + 4, 3}, {ox + 9, 5}, {ox + 9, 20}, {ox + 4, 19}}),
                  Polygon({{ox + 4.8, 4.1}, {ox + 8.2, 5.6}, {ox + 8.2, 18.8}, {ox + 4.8, 18.2}}), Colour{95, 70, 45},
                  kBrown);
    p.Add(Line(ox + 10, 10, ox + 16, 10, 2.6), kGreen);
    p.Add(Polygon({{ox + 14, 5.5}, {ox + 19.5, 10}, {ox + 14, 14.5}}), kGreen);
}

Picture Toolbar106() {
    Picture p;
    p.nWidth = 120;
    p.nHeight = 20;
    p.background = kToolbarKey;
    p.bKeyed = true;
    ToolCopy(p, 0);
    ToolPaste(p, 20);
    ToolPrint(p, 40);
    ToolSave(p, 60);
    ToolHelp(p, 80);
    ToolEnd(p, 100);
    return p;
}

// ---------------------------------------------------------------- tree

void FolderClosed(Picture& p, double ox, double oy, double s) {
    const Colour edge = kDarkYellow;
    p.AddOutlined(RoundRect(ox + 2 * s, oy + 4 * s, ox + 9 * s, oy + 8 * s, 1), RoundRect(ox + 3 * s, oy + 5 * s, ox + 8 * s, oy + 8 * s, 0.5),
                  edge, Colour{225, 180, 60});
    p.AddOutlined(RoundRect(ox + 2 * s, oy + 6 * s, ox + 18 * s, oy + 17 * s, 1),
                  RoundRect(ox + 3 * s, oy + 7 * s, ox + 17 * s, oy + 16 * s, 0.5), edge, kYellow);
}

void FolderOpen(Picture& p, double ox, double oy) {
    const Colour edge = kDarkYellow;
    p.AddOutlined(RoundRect(ox + 2, oy + 4, ox + 9, oy + 8, 1), RoundRect(ox + 3, oy + 5, ox + 8, oy + 8, 0.5), edge,
                  Colour{215, 170, 55});
    p.AddOutlined(RoundRect(ox + 2, oy + 6, ox + 16, oy + 17, 1), RoundRect(ox + 3, oy + 7, ox + 15, oy + 16, 0.5), edge,
                  Colour{215, 170, 55});
    AddPage(p, ox + 5, oy + 3, ox + 14, oy + 12, false);
    p.AddOutlined(Polygon({{ox + 4.5, oy + 9}, {ox + 19.5, oy + 9}, {ox + 16.5, oy + 17}, {ox + 1.5, oy + 17}}),
                  Polygon({{ox + 5.2, oy + 10}, {ox + 18.1, oy + 10}, {ox + 15.8, oy + 16}, {ox + 2.9, oy + 16}}), edge,
                  Colour{250, 220, 120});
}

void DataNode(Picture& p, double ox, double oy) {
    p.AddOutlined(Rect(ox + 3, oy + 2, ox + 17, oy + 18), Rect(ox + 4, oy + 3, ox + 16, oy + 17), kOutline, kWhite);
    p.Add(Rect(ox + 4, oy + 3, ox + 16, oy + 6), kBlue);
    for (double y : {8.5, 11.5, 14.5}) {
        p.Add(Rect(ox + 4, oy + y, ox + 16, oy + y + 1), kLightBlue);
    }
    p.Add(Rect(ox + 9, oy + 6, ox + 10, oy + 17), kLightBlue);
}

Picture Tree124() {
    Picture p;
    p.nWidth = 60;
    p.nHeight = 20;
    p.background = kWhite;
    FolderClosed(p, 0, 0, 1);
    FolderOpen(p, 20, 0);
    DataNode(p, 40, 0);
    return p;
}

// ---------------------------------------------------------------- calendar button

Picture Calendar173() {
    Picture p;
    p.nWidth = 18;
    p.nHeight = 18;
    p.background = kFace;
    p.AddOutlined(Rect(2, 3, 16, 17), Rect(3, 4, 15, 16), kOutline, kWhite);
    p.Add(Rect(3, 4, 15, 7), kRed);
    p.Add(RoundRect(5, 1.5, 6.5, 5.5, 0.7), kOutline);
    p.Add(RoundRect(11.5, 1.5, 13, 5.5, 0.7), kOutline);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col) {
            const double x = 4 + col * 2.8;
            const double y = 8.5 + row * 2.5;
            p.Add(Rect(x, y, x + 1.6, y + 1.5), row == 1 && col == 2 ? kRed : kGray);
        }
    }
    return p;
}

// ---------------------------------------------------------------- sub-group rows

void Tag(Picture& p, double ox, Colour fill, Colour edge) {
    const Points outer{{ox + 1, 4}, {ox + 10, 4}, {ox + 15, 8}, {ox + 10, 12}, {ox + 1, 12}};
    const Points inner{{ox + 2, 5}, {ox + 9.6, 5}, {ox + 13.4, 8}, {ox + 9.6, 11}, {ox + 2, 11}};
    p.AddOutlined(Polygon(outer), Polygon(inner), edge, fill);
    p.Add(Circle(ox + 10.5, 8, 1.1), kWhite);
    p.Add(Rect(ox + 3.5, 7.5, ox + 8, 8.5), kWhite);
}

Picture SubGroup208() {
    Picture p;
    p.nWidth = 48;
    p.nHeight = 16;
    p.background = Colour{0, 0, 0};  // the mask colour
    p.bKeyed = true;
    Tag(p, 0, kGreen, kDarkGreen);
    FolderClosed(p, 16 - 0.5, 0, 0.85);
    Tag(p, 32, kGray, Colour{95, 95, 100});
    return p;
}

// ---------------------------------------------------------------- group tree

// A folder with a coloured band across it: a main or a middle group.
void GroupFolder(Picture& p, double ox, Colour band) {
    FolderClosed(p, ox, 0, 1);
    p.Add(Rect(ox + 3, 10.5, ox + 17, 13), band);
}

// The project: a building, its windows lit while it is selected.
void ProjectBuilding(Picture& p, double ox, bool bSelected) {
    p.AddOutlined(Polygon({{ox + 1, 9}, {ox + 10, 1.5}, {ox + 19, 9}}),
                  Polygon({{ox + 3.2, 8.2}, {ox + 10, 2.8}, {ox + 16.8, 8.2}}), kOutline, kRed);
    p.AddOutlined(Rect(ox + 3, 8, ox + 17, 19), Rect(ox + 4, 9, ox + 16, 18), kOutline, kSilver);
    const Colour window = bSelected ? kYellow : kLightBlue;
    p.Add(Rect(ox + 5.5, 10.5, ox + 8.5, 13.5), window);
    p.Add(Rect(ox + 11.5, 10.5, ox + 14.5, 13.5), window);
    p.Add(Rect(ox + 8.5, 14.5, ox + 11.5, 18), kBrown);
}

Picture GroupTree125() {
    Picture p;
    p.nWidth = 100;
    p.nHeight = 20;
    p.background = kWhite;
    GroupFolder(p, 0, kBlue);
    GroupFolder(p, 20, kGreen);
    Tag(p, 42, kGreen, kDarkGreen);
    ProjectBuilding(p, 60, false);
    ProjectBuilding(p, 80, true);
    return p;
}

// ---------------------------------------------------------------- progress animations

// The host project (a database) above, the editor's window below, and a
// sheet on its way between them: frame 0 at the top, frame 12 at the bottom.
Picture ProjectTransfer(int nFrame) {
    Picture p;
    p.nWidth = 48;
    p.nHeight = 64;
    p.background = kFace;
    // The track.
    for (double y = 26; y < 44; y += 4) {
        p.Add(Circle(24, y, 0.8), kGray);
    }
    // The sheet, one pixel further down each frame; it comes out from under
    // the database and goes into the window.
    const double top = 20 + nFrame;
    AddPage(p, 19, top, 29, top + 10);
    // The database.
    p.Add(Ellipse(24, 20, 15, 4.5), kDarkBlue);
    p.Add(Rect(9, 7, 39, 20), kDarkBlue);
    p.Add(Ellipse(24, 19.5, 14, 4), kBlue);
    p.Add(Rect(10, 7, 38, 19.5), kBlue);
    p.Add(LowerEllipseEdge(24, 10.5, 14, 4, 1), Colour{35, 80, 160});
    p.Add(LowerEllipseEdge(24, 15, 14, 4, 1), Colour{35, 80, 160});
    p.Add(Ellipse(24, 7, 15, 4.5), kDarkBlue);
    p.Add(Ellipse(24, 7, 14, 3.8), kLightBlue);
    // The editor's window.
    p.AddOutlined(Rect(10, 44, 38, 63), Rect(11, 45, 37, 62), kOutline, kWhite);
    p.Add(Rect(11, 45, 37, 49), kBlue);
    p.Add(Rect(11, 49, 18, 62), Colour{225, 232, 245});
    for (double y = 51; y < 61; y += 3) {
        p.Add(Rect(20, y, 35, y + 1), kTextLine);
        p.Add(Rect(12.5, y, 16.5, y + 1), kLightBlue);
    }
    return p;
}

// The PC above, the device below, and a telegram on the bus between them:
// frame 0 at the top, frame 7 at the bottom.
Picture BusTransfer(int nFrame) {
    Picture p;
    p.nWidth = 48;
    p.nHeight = 64;
    p.background = kFace;
    // The PC.
    p.AddOutlined(RoundRect(9, 2, 39, 21, 2), RoundRect(10, 3, 38, 20, 1.5), kOutline, Colour{90, 95, 105});
    p.Add(Rect(12, 5, 36, 18), kLightBlue);
    p.Add(Rect(14, 8, 28, 9), kBlue);
    p.Add(Rect(14, 11, 32, 12), kBlue);
    p.Add(Rect(14, 14, 25, 15), kBlue);
    p.Add(Rect(21, 21, 27, 24), Colour{90, 95, 105});
    p.Add(RoundRect(15, 23.5, 33, 26, 1), Colour{90, 95, 105});
    // The bus: a pair of wires.
    p.Add(Line(22, 26, 22, 44, 1.6), kGreen);
    p.Add(Line(26, 26, 26, 44, 1.6), kInk);
    // The device on its rail.
    p.Add(Rect(6, 55, 42, 59), kSilver);
    p.AddOutlined(Rect(12, 43, 36, 63), Rect(13, 44, 35, 62), kOutline, Colour{215, 217, 222});
    p.Add(Rect(15, 44, 19, 46.5), kInk);
    p.Add(Rect(29, 44, 33, 46.5), kInk);
    p.Add(Circle(17.5, 50, 1.8), (nFrame % 2) != 0 ? Colour{90, 230, 90} : kDarkGreen);
    p.AddOutlined(Rect(21, 48, 33, 53), Rect(22, 49, 32, 52), kOutline, kWhite);
    p.Add(Rect(15, 56, 33, 60), kWhite);
    p.Add(Rect(16, 57.5, 30, 58.5), kTextLine);
    // The telegram.
    const double y = 29 + nFrame * (41.0 - 29) / 7;
    p.Add(Circle(24, y, 3.6), Colour{235, 150, 30});
    p.Add(Circle(24, y, 2.2), Colour{255, 215, 90});
    return p;
}

// ---------------------------------------------------------------- icons and cursors

// The plug-in icon: the product's clock on a blue tile.
Picture PlugInIcon(int n) {
    Picture p;
    p.nWidth = n;
    p.nHeight = n;
    p.bTransparent = true;
    const double s = n;
    const double c = s / 2;
    const double edge = n <= 16 ? 1 : 1.5;
    p.AddOutlined(RoundRect(0.5, 0.5, s - 0.5, s - 0.5, s * 0.18), RoundRect(0.5 + edge, 0.5 + edge, s - 0.5 - edge, s - 0.5 - edge, s * 0.15),
                  kDarkBlue, kBlue);
    const double face = s * 0.36;
    p.Add(Circle(c, c, face), kWhite);
    p.Add(Sector(c, c, face - (n <= 16 ? 1 : 1.5), 0, 120), Colour{124, 196, 106});
    const double hand = n <= 16 ? 1.5 : 2.2;
    p.Add(Line(c, c, c, c - face * 0.82, hand), kInk);
    p.Add(Line(c, c, c + face * 0.55 * std::sin(kPi * 2 / 3), c - face * 0.55 * std::cos(kPi * 2 / 3), hand), kInk);
    p.Add(Circle(c, c, hand * 0.8), kInk);
    return p;
}

Picture DropCursor() {
    Picture p;
    p.nWidth = 32;
    p.nHeight = 32;
    p.bTransparent = true;
    const Points arrow{{0.5, 0.5}, {0.5, 17.5}, {4.6, 13.6}, {7.6, 20.5}, {10.3, 19.3}, {7.4, 12.6}, {12.8, 12.6}};
    p.Add(Polygon(arrow), kWhite);
    p.Add(PolygonEdge(arrow, 1.2), Colour{0, 0, 0});
    // A page with a plus: the rows go here.
    p.AddOutlined(Rect(13, 16, 24, 29), Rect(14, 17, 23, 28), Colour{0, 0, 0}, kWhite);
    p.AddOutlined(Rect(19, 22, 30, 31), Rect(20, 23, 29, 30), Colour{0, 0, 0}, kWhite);
    p.Add(Rect(21, 26, 28, 27), Colour{0, 0, 0});
    p.Add(Rect(24, 23.5, 25, 29.5), Colour{0, 0, 0});
    return p;
}

Picture NoDropCursor() {
    Picture p;
    p.nWidth = 32;
    p.nHeight = 32;
    p.bTransparent = true;
    p.Add(Ring(16, 16, 8, 13.5), Colour{0, 0, 0});
    p.Add(Ring(16, 16, 9, 12.5), kRed);
    p.Add(And(Line(8, 24, 24, 8, 5), Circle(16, 16, 12.5)), Colour{0, 0, 0});
    p.Add(And(Line(8, 24, 24, 8, 3), Circle(16, 16, 12.5)), kRed);
    return p;
}

// ---------------------------------------------------------------- output

struct Resource {
    std::string strName;   // of the C++ array
    std::string strFile;   // for "files"
    std::string strWhat;   // the comment above the array
    std::vector<BYTE> bytes;
};

std::vector<Resource> AllResources() {
    std::vector<Resource> resources;
    resources.push_back({"kBitmap106", "bitmap106.bmp", "Toolbar: copy, insert, print, save, help, end (20 x 20 each).",
                         BitmapFile(Toolbar106())});
    resources.push_back({"kBitmap124", "bitmap124.bmp", "Navigation tree: folder, open folder, data node (20 x 20 each).",
                         BitmapFile(Tree124())});
    resources.push_back({"kBitmap125", "bitmap125.bmp",
                         "Group tree: main group, middle group, sub group, project, selected project (20 x 20 each).",
                         BitmapFile(GroupTree125())});
    resources.push_back({"kBitmap173", "bitmap173.bmp", "Calendar button.", BitmapFile(Calendar173())});
    resources.push_back({"kBitmap208", "bitmap208.bmp",
                         "Sub-group rows: listed address, group, other address (16 x 16 each, black is the mask).",
                         BitmapFile(SubGroup208())});
    for (int i = 0; i <= 12; ++i) {
        resources.push_back({"kBitmap" + std::to_string(500 + i), "bitmap" + std::to_string(500 + i) + ".bmp",
                             "Transfer with the project, frame " + std::to_string(i) + ".",
                             BitmapFile(ProjectTransfer(i))});
    }
    for (int i = 0; i <= 7; ++i) {
        resources.push_back({"kBitmap" + std::to_string(550 + i), "bitmap" + std::to_string(550 + i) + ".bmp",
                             "Transfer over the bus, frame " + std::to_string(i) + ".", BitmapFile(BusTransfer(i))});
    }
    resources.push_back({"kIcon205", "icon205.ico", "The plug-in's icon (16 and 32 pixels).",
                         IconFile({PlugInIcon(16), PlugInIcon(32)}, false)});
    resources.push_back({"kCursor118", "cursor118.cur", "Dragging: a drop is possible.",
                         IconFile({DropCursor()}, true, 0, 0)});
    resources.push_back({"kCursor142", "cursor142.cur", "Dragging: no drop.", IconFile({NoDropCursor()}, true, 16, 16)});
    return resources;
}

std::string HeaderText(const std::vector<Resource>& resources) {
    std::string text =
        "#pragma once\n"
        "// The pictures of the resources: bitmap, icon and cursor files.\n"
        "// Written by resources/pictures/PictureMaker at build time; edit the\n"
        "// drawing there.\n"
        "\n"
        "#include \"platform/base/WinTypes.h\"\n"
        "\n"
        "namespace resources::pictures {\n";
    char item[8];
    for (const Resource& resource : resources) {
        text += "\n// " + resource.strWhat + "\ninline constexpr BYTE " + resource.strName + "[] = {\n";
        for (std::size_t i = 0; i < resource.bytes.size(); ++i) {
            if (i % 20 == 0) {
                text += "   ";
            }
            std::snprintf(item, sizeof(item), " %u,", static_cast<unsigned>(resource.bytes[i]));
            text += item;
            if (i % 20 == 19 || i + 1 == resource.bytes.size()) {
                text += "\n";
            }
        }
        text += "};\n";
    }
    text += "\n}  // namespace resources::pictures\n";
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    platform::FailWritesPastFileSizeLimit();
    if (argc != 3 || (std::strcmp(argv[1], "header") != 0 && std::strcmp(argv[1], "files") != 0)) {
        std::fprintf(stderr, "usage: %s header <path> | files <dir>\n", argc > 0 ? argv[0] : "PictureMaker");
        return 2;
    }
    const std::vector<Resource> resources = AllResources();
    if (std::strcmp(argv[1], "header") == 0) {
        if (!platform::WriteFileAtomically(argv[2], HeaderText(resources))) {
            std::fprintf(stderr, "cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    for (const Resource& resource : resources) {
        const std::string strPath = std::string(argv[2]) + "/" + resource.strFile;
        if (!platform::WriteFileAtomically(strPath, resource.bytes.data(), resource.bytes.size())) {
            std::fprintf(stderr, "cannot write %s\n", strPath.c_str());
            return 1;
        }
    }
    return 0;
}
