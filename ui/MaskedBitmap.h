#pragma once
// A strip of equally wide pictures, drawn one at a time, transparently
// through a mask strip when there is one: where the mask is white the
// picture shows, where it is black the background does. Used by list, tree
// and drag controls.

#include "platform/base/WinTypes.h"

#include <QImage>
#include <QRect>
#include <QSize>

class QBrush;
class QPainter;

class CMaskedBitmap {
public:
    CMaskedBitmap() = default;
    virtual ~CMaskedBitmap();

    CMaskedBitmap(const CMaskedBitmap&) = delete;
    CMaskedBitmap& operator=(const CMaskedBitmap&) = delete;

    // The strips from bitmap resources (nMaskId 0: none), nFrameWidth pixels
    // per picture. False, and nothing loaded, when the image is missing, the
    // frame width is not positive or a mask that was asked for is missing.
    bool Load(UINT nImageId, UINT nMaskId, int nFrameWidth);
    // The same from pictures at hand (a null mask: none).
    bool LoadImages(const QImage& image, const QImage& mask, int nFrameWidth);
    void Clear();

    // Draws picture nIndex at the rectangle's top left. Without a mask the
    // picture is copied (cut to the rectangle) and, with a brush, the rest of
    // the rectangle right of and below it is filled. With a mask the
    // rectangle starts from the brush (or what is there) and the picture
    // shows where the mask is white. Without a picture: only the brush.
    void Draw(QPainter& dc, const QRect& rect, int nIndex, const QBrush* pBrush) const;

    QSize GetFrameSize() const { return {m_nFrameWidth, m_nHeight}; }
    int GetFrameCount() const { return m_nFrameCount; }
    bool HasMask() const { return !m_mask.isNull(); }

private:
    QImage m_image;
    QImage m_mask;
    int m_nFrameWidth = 0;
    int m_nHeight = 0;
    int m_nFrameCount = 0;
};
