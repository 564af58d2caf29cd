#include "ui/IconFile.h"

#include "common/Log.h"
#include "platform/ui/Handles.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>

#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kMinBitmapHeaderSize = 40;

WORD ReadWord(const BYTE* p) {
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

DWORD ReadDword(const BYTE* p) {
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}

}  // namespace

// Where the icon bytes come from: a file or a resource in memory.
class CIconFile::CSource {
public:
    virtual ~CSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads up to nCount bytes at the offset; the number read.
    virtual std::size_t ReadAt(std::uint64_t nOffset, void* pBuffer, std::size_t nCount) = 0;
};

class CIconFile::CFileSource : public CIconFile::CSource {
public:
    explicit CFileSource(std::FILE* pFile) : m_pFile(pFile) {
        if (std::fseek(m_pFile, 0, SEEK_END) == 0) {
            const long nEnd = std::ftell(m_pFile);
            m_nSize = nEnd > 0 ? static_cast<std::uint64_t>(nEnd) : 0;
        }
    }
    ~CFileSource() override { std::fclose(m_pFile); }
    CFileSource(const CFileSource&) = delete;
    CFileSource& operator=(const CFileSource&) = delete;

    std::uint64_t Size() const override { return m_nSize; }
    std::size_t ReadAt(std::uint64_t nOffset, void* pBuffer, std::size_t nCount) override {
        if (nOffset > static_cast<std::uint64_t>(LONG_MAX) ||
            std::fseek(m_pFile, static_cast<long>(nOffset), SEEK_SET) != 0) {
            return 0;
        }
        return std::fread(pBuffer, 1, nCount, m_pFile);
    }

private:
    std::FILE* m_pFile;
    std::uint64_t m_nSize = 0;
};

class CIconFile::CMemorySource : public CIconFile::CSource {
public:
    CMemorySource(const BYTE* pData, std::size_t nSize) : m_pData(pData), m_nSize(pData != nullptr ? nSize : 0) {}
    std::uint64_t Size() const override { return m_nSize; }
    std::size_t ReadAt(std::uint64_t nOffset, void* pBuffer, std::size_t nCount) override {
        // Nothing to read may come with no buffer at all (an empty vector's).
        if (nCount == 0 || nOffset >= m_nSize) {
            return 0;
        }
        const std::size_t nAvailable = static_cast<std::size_t>(m_nSize - nOffset);
        const std::size_t nRead = nCount < nAvailable ? nCount : nAvailable;
        std::memcpy(pBuffer, m_pData + nOffset, nRead);
        return nRead;
    }

private:
    const BYTE* m_pData;
    std::size_t m_nSize;
};

CIconFile::~CIconFile() {
    Clear();
}

void CIconFile::Clear() {
    m_arrEntries.clear();
    m_arrEntries.shrink_to_fit();
    m_arrImages.clear();
    m_arrImages.shrink_to_fit();
    m_nCount = 0;
}

bool CIconFile::Load(const std::string& strPath) {
    Clear();
    m_nCount = -1;
    std::FILE* pFile = std::fopen(strPath.c_str(), "rb");
    if (pFile == nullptr) {
        LOG_ERROR("Failed to open file %s", strPath.c_str());
        return false;
    }
    CFileSource source(pFile);
    return LoadFrom(source);
}

bool CIconFile::LoadFromMemory(const BYTE* pData, std::size_t nSize) {
    Clear();
    m_nCount = -1;
    CMemorySource source(pData, nSize);
    return LoadFrom(source);
}

bool CIconFile::LoadFrom(CSource& source) {
    // The header, field by field.
    BYTE field[2];
    WORD header[3];
    for (int i = 0; i < 3; ++i) {
        if (source.ReadAt(static_cast<std::uint64_t>(i) * 2, field, 2) != 2) {
            m_nCount = -1;
            return false;
        }
        header[i] = ReadWord(field);
    }
    if (header[0] != 0 || header[1] != 1) {
        m_nCount = -1;
        return false;
    }
    const std::size_t nCount = header[2];
    const std::uint64_t nFileSize = source.Size();

    try {
        // A directory longer than the file is a short read, whatever the
        // count says.
        if (kHeaderSize + nCount * kEntrySize > nFileSize) {
            LOG_ERROR("Error reading file");
            Clear();
            return false;
        }
        std::vector<BYTE> directory(nCount * kEntrySize);
        m_arrEntries.resize(nCount);
        m_arrImages.resize(nCount);
        m_nCount = static_cast<int>(nCount);
        if (nCount > 0 && source.ReadAt(kHeaderSize, directory.data(), directory.size()) != directory.size()) {
            LOG_ERROR("Error reading file");
            Clear();
            return false;
        }
        for (std::size_t i = 0; i < nCount; ++i) {
            const BYTE* p = directory.data() + i * kEntrySize;
            IconDirEntry& entry = m_arrEntries[i];
            entry.bWidth = p[0];
            entry.bHeight = p[1];
            entry.bColorCount = p[2];
            entry.bReserved = p[3];
            entry.wPlanes = ReadWord(p + 4);
            entry.wBitCount = ReadWord(p + 6);
            entry.dwBytesInRes = ReadDword(p + 8);
            entry.dwImageOffset = ReadDword(p + 12);
        }

        for (std::size_t i = 0; i < nCount; ++i) {
            const IconDirEntry& entry = m_arrEntries[i];
            IconImage& image = m_arrImages[i];
            // Bytes beyond the end of the file cannot be read.
            if (entry.dwImageOffset > nFileSize || entry.dwBytesInRes > nFileSize - entry.dwImageOffset) {
                LOG_ERROR("Error reading file");
                continue;
            }
            // An entry without bytes has no image to read or prepare.
            if (entry.dwBytesInRes == 0) {
                LOG_WARNING("Icon image %u is empty", static_cast<unsigned>(i));
                continue;
            }
            image.data.resize(entry.dwBytesInRes);
            image.nDataSize = entry.dwBytesInRes;
            if (source.ReadAt(entry.dwImageOffset, image.data.data(), image.nDataSize) != image.nDataSize) {
                LOG_ERROR("Error reading file");
                continue;
            }
            if (!PrepareImage(image)) {
                LOG_WARNING("Icon image %u has an invalid bitmap", static_cast<unsigned>(i));
            }
        }
    } catch (const std::bad_alloc&) {
        LOG_ERROR("out of memory");
        Clear();
        return false;
    }
    return true;
}

bool CIconFile::PrepareImage(IconImage& image) {
    image.bPrepared = false;
    if (image.nDataSize < kMinBitmapHeaderSize) {
        return false;
    }
    const BYTE* pHeader = image.data.data();
    const std::uint64_t nHeaderSize = ReadDword(pHeader);
    const auto nWidth = static_cast<LONG>(ReadDword(pHeader + 4));
    const auto nFullHeight = static_cast<LONG>(ReadDword(pHeader + 8));
    const WORD wPlanes = ReadWord(pHeader + 12);
    const WORD wBitCount = ReadWord(pHeader + 14);
    const DWORD dwCompression = ReadDword(pHeader + 16);
    const DWORD dwColorsUsed = ReadDword(pHeader + 32);

    if (nHeaderSize < kMinBitmapHeaderSize || nHeaderSize > image.nDataSize) {
        return false;
    }
    // Uncompressed images of positive size, stored bottom-up.
    if (nWidth <= 0 || nFullHeight < 2 || dwCompression != 0) {
        return false;
    }
    // Both fields take any 16-bit value: their product needs 32 unsigned bits.
    const std::uint32_t nBitsProduct = std::uint32_t{wPlanes} * std::uint32_t{wBitCount};
    if (nBitsProduct != 1 && nBitsProduct != 4 && nBitsProduct != 8 && nBitsProduct != 16 && nBitsProduct != 24 &&
        nBitsProduct != 32) {
        return false;
    }
    const int nBits = static_cast<int>(nBitsProduct);
    const std::uint64_t nHeight = static_cast<std::uint64_t>(nFullHeight) / 2;
    std::uint64_t nColors = dwColorsUsed;
    if (nColors == 0 && nBits <= 8) {
        nColors = std::uint64_t{1} << nBits;
    }
    const std::uint64_t nXorRow =
        ((static_cast<std::uint64_t>(nWidth) * static_cast<std::uint64_t>(nBits) + 31) / 32) * 4;
    const std::uint64_t nAndRow = ((static_cast<std::uint64_t>(nWidth) + 31) / 32) * 4;
    const std::uint64_t nXorOffset = nHeaderSize + nColors * 4;
    const std::uint64_t nAndOffset = nXorOffset + nXorRow * nHeight;
    const std::uint64_t nEnd = nAndOffset + nAndRow * nHeight;
    if (nEnd > image.nDataSize) {
        return false;
    }

    image.nWidth = static_cast<int>(nWidth);
    image.nHeight = static_cast<int>(nHeight);
    image.nBitsPerPixel = nBits;
    image.nHeaderOffset = 0;
    image.nColorCount = static_cast<std::size_t>(nColors);
    image.nXorOffset = static_cast<std::size_t>(nXorOffset);
    image.nAndOffset = static_cast<std::size_t>(nAndOffset);
    image.nXorRowSize = static_cast<std::size_t>(nXorRow);
    image.nAndRowSize = static_cast<std::size_t>(nAndRow);

    // The file stores the mask bottom-up; turn it top-down, whole padded
    // rows at a time, so that widths that are no multiple of 32 keep their
    // rows intact.
    BYTE* pMask = image.data.data() + image.nAndOffset;
    std::vector<BYTE> row(image.nAndRowSize);
    for (std::size_t nTop = 0, nBottom = image.nHeight - 1; nTop < nBottom; ++nTop, --nBottom) {
        BYTE* pTop = pMask + nTop * image.nAndRowSize;
        BYTE* pBottom = pMask + nBottom * image.nAndRowSize;
        std::memcpy(row.data(), pTop, image.nAndRowSize);
        std::memcpy(pTop, pBottom, image.nAndRowSize);
        std::memcpy(pBottom, row.data(), image.nAndRowSize);
    }
    image.bPrepared = true;
    return true;
}

const CIconFile::IconDirEntry* CIconFile::GetEntry(int nIndex) const {
    return nIndex >= 0 && static_cast<std::size_t>(nIndex) < m_arrEntries.size() ? &m_arrEntries[nIndex] : nullptr;
}

const CIconFile::IconImage* CIconFile::GetImage(int nIndex) const {
    return nIndex >= 0 && static_cast<std::size_t>(nIndex) < m_arrImages.size() ? &m_arrImages[nIndex] : nullptr;
}

const CIconFile::IconImage* CIconFile::ChooseImage(int nWantedWidth) const {
    const IconImage* pFirst = nullptr;
    for (const IconImage& image : m_arrImages) {
        if (!image.bPrepared) {
            continue;
        }
        if (image.nWidth == nWantedWidth) {
            return &image;
        }
        if (pFirst == nullptr) {
            pFirst = &image;
        }
    }
    return pFirst;
}

QImage CIconFile::CreateImage(int nWantedWidth) const {
    const IconImage* pImage = ChooseImage(nWantedWidth);
    return pImage != nullptr ? DecodeImage(*pImage) : QImage();
}

QImage CIconFile::DecodeImage(const IconImage& image) {
    QImage result(image.nWidth, image.nHeight, QImage::Format_ARGB32);
    if (result.isNull()) {
        return {};
    }
    const BYTE* pData = image.data.data();
    const BYTE* pColors = pData + image.nXorOffset - image.nColorCount * 4;
    const BYTE* pXor = pData + image.nXorOffset;
    const BYTE* pAnd = pData + image.nAndOffset;

    // 32-bit images carry their own alpha; the mask counts only when all
    // alpha bytes are 0 (images written before alpha existed).
    bool bAlpha = false;
    if (image.nBitsPerPixel == 32) {
        for (int y = 0; y < image.nHeight && !bAlpha; ++y) {
            const BYTE* pRow = pXor + static_cast<std::size_t>(y) * image.nXorRowSize;
            for (int x = 0; x < image.nWidth; ++x) {
                if (pRow[x * 4 + 3] != 0) {
                    bAlpha = true;
                    break;
                }
            }
        }
    }

    auto paletteColor = [&](std::size_t nIndex) -> QRgb {
        if (nIndex >= image.nColorCount) {
            return qRgb(0, 0, 0);
        }
        const BYTE* p = pColors + nIndex * 4;
        return qRgb(p[2], p[1], p[0]);
    };

    for (int y = 0; y < image.nHeight; ++y) {
        const BYTE* pRow = pXor + static_cast<std::size_t>(image.nHeight - 1 - y) * image.nXorRowSize;
        const BYTE* pMaskRow = pAnd + static_cast<std::size_t>(y) * image.nAndRowSize;
        auto* pOut = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < image.nWidth; ++x) {
            QRgb rgb = 0;
            int nAlpha = 255;
            switch (image.nBitsPerPixel) {
                case 1:
                    rgb = paletteColor((pRow[x / 8] >> (7 - x % 8)) & 1);
                    break;
                case 4:
                    rgb = paletteColor((pRow[x / 2] >> ((x % 2) != 0 ? 0 : 4)) & 0x0F);
                    break;
                case 8:
                    rgb = paletteColor(pRow[x]);
                    break;
                case 16: {
                    const WORD w = ReadWord(pRow + x * 2);
                    rgb = qRgb(((w >> 10) & 0x1F) * 255 / 31, ((w >> 5) & 0x1F) * 255 / 31, (w & 0x1F) * 255 / 31);
                    break;
                }
                case 24:
                    rgb = qRgb(pRow[x * 3 + 2], pRow[x * 3 + 1], pRow[x * 3]);
                    break;
                default:
                    rgb = qRgb(pRow[x * 4 + 2], pRow[x * 4 + 1], pRow[x * 4]);
                    if (bAlpha) {
                        nAlpha = pRow[x * 4 + 3];
                    }
                    break;
            }
            if (!bAlpha && ((pMaskRow[x / 8] >> (7 - x % 8)) & 1) != 0) {
                nAlpha = 0;
            }
            pOut[x] = qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), nAlpha);
        }
    }
    return result;
}

HICON CIconFile::CreateIcon(int nWantedWidth) const {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return nullptr;
    }
    const QImage image = CreateImage(nWantedWidth);
    if (image.isNull()) {
        return nullptr;
    }
    return platform::ui::CreateIconHandle(QIcon(QPixmap::fromImage(image)));
}

QIcon CIconFile::CreateIconSet() const {
    QIcon icon;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return icon;
    }
    for (const IconImage& image : m_arrImages) {
        if (image.bPrepared) {
            const QImage picture = DecodeImage(image);
            if (!picture.isNull()) {
                icon.addPixmap(QPixmap::fromImage(picture));
            }
        }
    }
    return icon;
}
