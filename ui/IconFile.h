#pragma once
// An icon file (.ico) read into memory, and a window icon of a wanted width
// made from it. The file is checked against its own size throughout: an
// image whose bytes lie outside the file, or whose header does not fit its
// bytes, stays unprepared and is never used.

#include "platform/base/WinTypes.h"

#include <QIcon>
#include <QImage>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CIconFile {
public:
    // One directory entry as stored (16 bytes).
    struct IconDirEntry {
        BYTE bWidth = 0;
        BYTE bHeight = 0;
        BYTE bColorCount = 0;
        BYTE bReserved = 0;
        WORD wPlanes = 0;
        WORD wBitCount = 0;
        DWORD dwBytesInRes = 0;
        DWORD dwImageOffset = 0;
    };

    // One image: its bytes as stored and where header, colour bits and mask
    // bits lie in them. The mask rows are turned top-down when the image is
    // prepared.
    struct IconImage {
        int nWidth = 0;
        int nHeight = 0;        // half the header's height: colour and mask
        int nBitsPerPixel = 0;  // planes x bit count
        std::vector<BYTE> data;
        std::size_t nDataSize = 0;
        std::size_t nHeaderOffset = 0;  // the bitmap header, at the start
        std::size_t nXorOffset = 0;     // colour bits, rows bottom-up
        std::size_t nAndOffset = 0;     // mask bits, rows top-down
        std::size_t nXorRowSize = 0;
        std::size_t nAndRowSize = 0;  // rows as the file pads them, to 4 bytes
        std::size_t nColorCount = 0;  // entries of the colour table
        bool bPrepared = false;
    };

    CIconFile() = default;
    virtual ~CIconFile();

    CIconFile(const CIconFile&) = delete;
    CIconFile& operator=(const CIconFile&) = delete;

    // Reads the file. False when it cannot be opened or read, or is no icon
    // file (no message for that: a cursor file is simply not an icon).
    bool Load(const std::string& strPath);
    // The same for the bytes of an icon resource.
    bool LoadFromMemory(const BYTE* pData, std::size_t nSize);

    // A window icon of the image with the wanted width, else of the first
    // usable image; null when there is none (or no application to make
    // icons). The caller owns the handle.
    HICON CreateIcon(int nWantedWidth) const;
    // An icon of every usable image, for windows that show it at more than
    // one size; null when there is none.
    QIcon CreateIconSet() const;
    // The picture CreateIcon makes, with its transparency; null when there is
    // no usable image.
    QImage CreateImage(int nWantedWidth) const;

    // Frees everything; the count becomes 0.
    void Clear();

    // -1 before loading and after a file that is no icon file.
    int GetCount() const { return m_nCount; }
    const IconDirEntry* GetEntry(int nIndex) const;
    const IconImage* GetImage(int nIndex) const;

private:
    class CSource;
    class CFileSource;
    class CMemorySource;

    bool LoadFrom(CSource& source);
    static bool PrepareImage(IconImage& image);
    const IconImage* ChooseImage(int nWantedWidth) const;
    static QImage DecodeImage(const IconImage& image);

    int m_nCount = -1;
    std::vector<IconImage> m_arrImages;
    std::vector<IconDirEntry> m_arrEntries;
};
