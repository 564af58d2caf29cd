// German cursors (the same pictures in English).

#include "resources/de/Tables.h"
#include "resources/pictures/ResourcePictures.h"

namespace resources::de {

namespace {

const platform::ResBinary kCursors[] = {
    // Dragging rows: a drop is possible here.
    {118, pictures::kCursor118, sizeof(pictures::kCursor118)},
    // Dragging a group symbol of the group-address insertion: it can go here.
    {190, pictures::kCursor118, sizeof(pictures::kCursor118)},
    // Dragging: no drop here.
    {142, pictures::kCursor142, sizeof(pictures::kCursor142)},
};

}  // namespace

const platform::ResList<platform::ResBinary> g_cursors{kCursors, sizeof(kCursors) / sizeof(kCursors[0])};

}  // namespace resources::de
