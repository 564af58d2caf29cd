// English icons: the same pictures as the built-in ones.

#include "resources/en/Tables.h"
#include "resources/icon/ProductIconData.h"

namespace resources::en {

namespace {

const platform::ResBinary kIcons[] = {
    // The product icon of the main window's class.
    {131, kProductIcon, sizeof(kProductIcon)},
};

}  // namespace

const platform::ResList<platform::ResBinary> g_icons{kIcons, sizeof(kIcons) / sizeof(kIcons[0])};

}  // namespace resources::en
