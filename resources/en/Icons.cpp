// English icons: the same pictures as the built-in ones.

#include "resources/en/Tables.h"
#include "resources/icon/ProductIconData.h"
#include "resources/pictures/ResourcePictures.h"

namespace resources::en {

namespace {

const platform::ResBinary kIcons[] = {
    // The product icon of the main window's class; the About box shows it
    // in standalone mode.
    {131, kProductIcon, sizeof(kProductIcon)},
    // The About box's icon in plug-in mode.
    {205, pictures::kIcon205, sizeof(pictures::kIcon205)},
};

}  // namespace

const platform::ResList<platform::ResBinary> g_icons{kIcons, sizeof(kIcons) / sizeof(kIcons[0])};

}  // namespace resources::en
