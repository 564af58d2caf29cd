#pragma once
// The drawing context as the report objects see it: the selected font, text
// extents, the conversion between HIMETRIC (0.01 mm, the unit of every
// stored position and size) and the context's logical units, and the few
// drawing calls a page needs (aligned and clipped text, black bars, a clip
// rectangle). The window layer implements it on printers, PDF files, images
// and preview pages; a recording context keeps a page to replay it; tests
// use one with fixed metrics.

#include "platform/base/Font.h"
#include "platform/base/PrintInfo.h"
#include "platform/base/Size.h"
#include "platform/base/WinGeometry.h"

#include <string>

// Indices of GetDeviceCaps.
constexpr int HORZRES = 8;   // width of the printable area, device units
constexpr int VERTRES = 10;  // height of the printable area, device units
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

constexpr int HIMETRIC_INCH = 2540;

// Text alignment: the reference point of ExtTextOut is the text's left,
// centre or right, and its top or bottom.
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_HORZ_MASK = 6;
constexpr UINT TA_VERT_MASK = 8;

// ExtTextOut option: clip the text to the rectangle.
constexpr UINT ETO_CLIPPED = 4;

// PatBlt raster operation that blackens the destination.
constexpr DWORD BLACKNESS = 0x00000042;

class IReportDC
{
public:
    virtual ~IReportDC() = default;

    // Selects the font; gives back the one selected before (null for the
    // context's own font), so that callers can put it back.
    virtual CFont* SelectObject(CFont* pFont) = 0;
    // The size of one line of text in the selected font, logical units.
    virtual CSize GetTextExtent(const std::string& strText) = 0;
    // The character height of the selected font (its ascent plus descent).
    virtual int GetCharHeight() = 0;
    // LOGPIXELSX / LOGPIXELSY: logical units per inch along each axis;
    // HORZRES / VERTRES: the printable area.
    virtual int GetDeviceCaps(int nIndex) = 0;

    // Drawing. Coordinates are logical units.
    virtual UINT SetTextAlign(UINT nFlags) = 0;
    // The text in the selected font at the reference point; with
    // ETO_CLIPPED only its part inside the rectangle.
    virtual BOOL ExtTextOut(int x, int y, UINT nOptions, const RECT* pRect, const std::string& strText) = 0;
    virtual BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) = 0;
    // Clip state: SaveDC gives a level that RestoreDC returns to; a
    // negative level counts back from the latest save (-1 is it).
    virtual int SaveDC() = 0;
    virtual BOOL RestoreDC(int nSavedDC) = 0;
    virtual int IntersectClipRect(const RECT& rect) = 0;

    // Through device units at the context's pixels per inch, each axis on its
    // own, rounded like MulDiv. Logical units are device units here.
    virtual void HIMETRICtoLP(CSize* pSize);
    virtual void LPtoHIMETRIC(CSize* pSize);

    int HimetricToLogicalX(int nWidth);
    int HimetricToLogicalY(int nHeight);
    int LogicalToHimetricX(int nWidth);
    int LogicalToHimetricY(int nHeight);

    // The page rectangle a print job gives every page: the printable area,
    // in logical units.
    RECT GetPrintablePageRect();
};

// A pass that only lays out draws nothing on the printer.
inline bool IsLayoutOnly(const CPrintInfo* pInfo)
{
    return pInfo != nullptr && pInfo->m_lpUserData != nullptr;
}

// Runs the drawing on the print context unless the pass only lays out, and
// on the recording context whenever there is one.
template <class Draw>
void DrawOnReportTargets(IReportDC& dc, IReportDC* pRecordDC, const CPrintInfo* pInfo, Draw draw)
{
    if (!IsLayoutOnly(pInfo))
        draw(dc);
    if (pRecordDC)
        draw(*pRecordDC);
}
