// German bitmaps: the pictures drawn at build time (the same in English).

#include "resources/de/Tables.h"
#include "resources/pictures/ResourcePictures.h"

namespace resources::de {

namespace {

#define CHRONO_BITMAP(id) {id, pictures::kBitmap##id, sizeof(pictures::kBitmap##id)}

const platform::ResBinary kBitmaps[] = {
    CHRONO_BITMAP(106),  // toolbar strip
    CHRONO_BITMAP(124),  // navigation tree
    CHRONO_BITMAP(125),  // group tree and its drag strip
    CHRONO_BITMAP(173),  // calendar button
    CHRONO_BITMAP(208),  // sub-group rows
    // Transfer with the project or a file.
    CHRONO_BITMAP(500), CHRONO_BITMAP(501), CHRONO_BITMAP(502), CHRONO_BITMAP(503), CHRONO_BITMAP(504),
    CHRONO_BITMAP(505), CHRONO_BITMAP(506), CHRONO_BITMAP(507), CHRONO_BITMAP(508), CHRONO_BITMAP(509),
    CHRONO_BITMAP(510), CHRONO_BITMAP(511), CHRONO_BITMAP(512),
    // Transfer over the bus.
    CHRONO_BITMAP(550), CHRONO_BITMAP(551), CHRONO_BITMAP(552), CHRONO_BITMAP(553), CHRONO_BITMAP(554),
    CHRONO_BITMAP(555), CHRONO_BITMAP(556), CHRONO_BITMAP(557),
};

#undef CHRONO_BITMAP

}  // namespace

const platform::ResList<platform::ResBinary> g_bitmaps{kBitmaps, sizeof(kBitmaps) / sizeof(kBitmaps[0])};

}  // namespace resources::de
