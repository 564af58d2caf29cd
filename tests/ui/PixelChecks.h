#pragma once
// Pixel checks of the window tests' grabbed pictures.

#include <QImage>
#include <QRect>

#include <algorithm>

namespace uitest {

// The darkest grey in the area.
inline int Darkest(const QImage& image, const QRect& area) {
    int nDarkest = 255;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            nDarkest = std::min(nDarkest, qGray(image.pixel(x, y)));
        }
    }
    return nDarkest;
}

}  // namespace uitest
