// German icons.

#include "resources/de/Tables.h"
#include "resources/icon/ProductIconData.h"

namespace resources::de {

namespace {

const platform::ResBinary kIcons[] = {
    // The product icon of the main window's class.
    {131, kProductIcon, sizeof(kProductIcon)},
};

}  // namespace

const platform::ResList<platform::ResBinary> g_icons{kIcons, sizeof(kIcons) / sizeof(kIcons[0])};

}  // namespace resources::de
