#pragma once
// Bitmaps, icons and cursors of the active resource module as Qt images.
// Bitmaps are stored as bitmap files, icons as icon files and cursors as
// cursor files; a missing or unreadable resource gives a null result.

#include "platform/base/WinTypes.h"

#include <QCursor>
#include <QIcon>
#include <QImage>

namespace platform::ui {

QImage LoadBitmapResource(UINT nId);
// The picture with every pixel of the key colour transparent, as a strip
// whose background colour stands for "nothing here" is drawn.
QImage KeyedTransparent(const QImage& image, QRgb key);
// Every picture of the icon file, for drawing at any size.
QIcon LoadIconResource(UINT nId);
// The cursor with its hot spot; false in *pbLoaded when it is missing.
QCursor LoadCursorResource(UINT nId, bool* pbLoaded = nullptr);

// The id a template names a picture by: "#131" or "131"; 0 for none.
UINT ResourceIdFromText(const char* pszText);

}  // namespace platform::ui
