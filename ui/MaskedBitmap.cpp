#include "ui/MaskedBitmap.h"

#include "platform/ui/ResourceImages.h"

#include <QBrush>
#include <QPainter>

#include <algorithm>

CMaskedBitmap::~CMaskedBitmap() = default;

bool CMaskedBitmap::Load(UINT nImageId, UINT nMaskId, int nFrameWidth) {
    const QImage image = platform::ui::LoadBitmapResource(nImageId);
    QImage mask;
    if (!image.isNull() && nMaskId != 0) {
        mask = platform::ui::LoadBitmapResource(nMaskId);
        if (mask.isNull()) {
            Clear();
            return false;
        }
    }
    return LoadImages(image, mask, nFrameWidth);
}

bool CMaskedBitmap::LoadImages(const QImage& image, const QImage& mask, int nFrameWidth) {
    Clear();
    // A frame width of 0 would leave the frame count undefined.
    if (image.isNull() || nFrameWidth <= 0) {
        return false;
    }
    m_image = image.convertToFormat(QImage::Format_RGB32);
    m_nFrameWidth = nFrameWidth;
    m_nHeight = m_image.height();
    m_nFrameCount = m_image.width() / nFrameWidth;
    if (!mask.isNull()) {
        m_mask = mask.convertToFormat(QImage::Format_RGB32);
        // The picture is black wherever the mask is black.
        const int nWidth = std::min(m_nFrameCount * m_nFrameWidth, m_mask.width());
        const int nHeight = std::min(m_nHeight, m_mask.height());
        for (int y = 0; y < nHeight; ++y) {
            auto* pImage = reinterpret_cast<QRgb*>(m_image.scanLine(y));
            const auto* pMask = reinterpret_cast<const QRgb*>(m_mask.constScanLine(y));
            for (int x = 0; x < nWidth; ++x) {
                pImage[x] = (pImage[x] & pMask[x]) | 0xFF000000u;
            }
        }
    }
    return true;
}

void CMaskedBitmap::Clear() {
    m_image = QImage();
    m_mask = QImage();
    m_nFrameWidth = 0;
    m_nHeight = 0;
    m_nFrameCount = 0;
}

void CMaskedBitmap::Draw(QPainter& dc, const QRect& rect, int nIndex, const QBrush* pBrush) const {
    if (m_image.isNull()) {
        if (pBrush != nullptr) {
            dc.fillRect(rect, *pBrush);
        }
        return;
    }
    // The picture's pixels, never those of its neighbour in the strip.
    const int nSourceX = nIndex * m_nFrameWidth;
    const int nWidth = std::max(0, std::min({rect.width(), m_nFrameWidth, m_image.width() - nSourceX}));
    const int nHeight = std::min(rect.height(), m_nHeight);
    if (nIndex < 0 || nWidth <= 0 || nHeight <= 0) {
        if (pBrush != nullptr) {
            dc.fillRect(rect, *pBrush);
        }
        return;
    }
    const QImage frame = m_image.copy(nSourceX, 0, nWidth, nHeight);

    if (m_mask.isNull()) {
        dc.drawImage(rect.topLeft(), frame);
        if (pBrush != nullptr) {
            if (rect.width() > m_nFrameWidth) {
                dc.fillRect(QRect(rect.left() + m_nFrameWidth, rect.top(), rect.width() - m_nFrameWidth, rect.height()),
                            *pBrush);
            }
            if (rect.height() > m_nHeight) {
                dc.fillRect(QRect(rect.left(), rect.top() + m_nHeight, std::min(rect.width(), m_nFrameWidth),
                                  rect.height() - m_nHeight),
                            *pBrush);
            }
        }
        return;
    }

    // The picture where the mask is white over the background: with a brush
    // on a filled copy, otherwise over what the painter has drawn already.
    QImage overlay(nWidth, nHeight, QImage::Format_ARGB32);
    overlay.fill(Qt::transparent);
    for (int y = 0; y < nHeight; ++y) {
        const auto* pImage = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
        const QRgb* pMask = y < m_mask.height() ? reinterpret_cast<const QRgb*>(m_mask.constScanLine(y)) : nullptr;
        auto* pOut = reinterpret_cast<QRgb*>(overlay.scanLine(y));
        for (int x = 0; x < nWidth; ++x) {
            const int nMaskX = nSourceX + x;
            const int nAlpha = (pMask != nullptr && nMaskX < m_mask.width()) ? qGray(pMask[nMaskX]) : 0;
            pOut[x] = qRgba(qRed(pImage[x]), qGreen(pImage[x]), qBlue(pImage[x]), nAlpha);
        }
    }
    if (pBrush != nullptr) {
        dc.fillRect(rect, *pBrush);
    }
    dc.drawImage(rect.topLeft(), overlay);
}
