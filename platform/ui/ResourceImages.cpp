#include "platform/ui/ResourceImages.h"

#include "platform/base/ResourceLibrary.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPixmap>

#include <cstdlib>

namespace platform::ui {

namespace {

const CResourceModule* Module() {
    return GetFrameworkResourceModule();
}

QByteArray Bytes(const ResBinary& resource) {
    return QByteArray(reinterpret_cast<const char*>(resource.pData), static_cast<qsizetype>(resource.nSize));
}

// Every image of an icon file.
std::vector<QImage> ReadIconImages(QByteArray bytes) {
    std::vector<QImage> images;
    if (bytes.size() < 6) {
        return images;
    }
    // A cursor file is an icon file with hot spots where the icon has plane
    // and bit counts; read as an icon it gives the same pictures.
    bytes[2] = 1;
    bytes[3] = 0;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    const int nCount = std::max(1, reader.imageCount());
    for (int i = 0; i < nCount; ++i) {
        if (i > 0 && !reader.jumpToImage(i)) {
            break;
        }
        QImage image = reader.read();
        if (!image.isNull()) {
            images.push_back(std::move(image));
        }
    }
    return images;
}

}  // namespace

QImage LoadBitmapResource(UINT nId) {
    const CResourceModule* pModule = Module();
    const ResBinary* pBitmap = pModule != nullptr ? pModule->FindBitmap(nId) : nullptr;
    if (pBitmap == nullptr) {
        return {};
    }
    QImage image;
    image.loadFromData(Bytes(*pBitmap));
    return image;
}

QImage KeyedTransparent(const QImage& image, QRgb key) {
    QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* pLine = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if ((pLine[x] & 0xFFFFFF) == (key & 0xFFFFFF)) {
                pLine[x] = qRgba(0, 0, 0, 0);
            }
        }
    }
    return keyed;
}

QIcon LoadIconResource(UINT nId) {
    const CResourceModule* pModule = Module();
    const ResBinary* pIcon = pModule != nullptr ? pModule->FindIcon(nId) : nullptr;
    if (pIcon == nullptr) {
        return {};
    }
    QIcon icon;
    for (const QImage& image : ReadIconImages(Bytes(*pIcon))) {
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

QCursor LoadCursorResource(UINT nId, bool* pbLoaded) {
    if (pbLoaded != nullptr) {
        *pbLoaded = false;
    }
    const CResourceModule* pModule = Module();
    const ResBinary* pCursor = pModule != nullptr ? pModule->FindCursor(nId) : nullptr;
    if (pCursor == nullptr || pCursor->nSize < 22) {
        return {};
    }
    const QByteArray bytes = Bytes(*pCursor);
    const std::vector<QImage> images = ReadIconImages(bytes);
    if (images.empty()) {
        return {};
    }
    // The first entry's hot spot.
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const int nHotX = p[10] | (p[11] << 8);
    const int nHotY = p[12] | (p[13] << 8);
    if (pbLoaded != nullptr) {
        *pbLoaded = true;
    }
    return QCursor(QPixmap::fromImage(images.front()), nHotX, nHotY);
}

UINT ResourceIdFromText(const char* pszText) {
    if (pszText == nullptr) {
        return 0;
    }
    const char* p = pszText[0] == '#' ? pszText + 1 : pszText;
    if (*p < '0' || *p > '9') {
        return 0;
    }
    char* pEnd = nullptr;
    const unsigned long nId = std::strtoul(p, &pEnd, 10);
    return (pEnd != nullptr && *pEnd == '\0') ? static_cast<UINT>(nId) : 0;
}

}  // namespace platform::ui
