#pragma once
// The drawing context as the report objects see it while they are built and
// measured: the selected font, text extents and the conversion between
// HIMETRIC (0.01 mm, the unit of every stored position and size) and the
// context's logical units. The window layer implements it on its printer and
// preview devices; tests use one with fixed metrics.

#include "platform/base/Font.h"
#include "platform/base/Size.h"

#include <string>

// Indices of GetDeviceCaps.
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

constexpr int HIMETRIC_INCH = 2540;

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
    // LOGPIXELSX / LOGPIXELSY: logical units per inch along each axis.
    virtual int GetDeviceCaps(int nIndex) = 0;

    // Through device units at the context's pixels per inch, each axis on its
    // own, rounded like MulDiv. Logical units are device units here.
    virtual void HIMETRICtoLP(CSize* pSize);
    virtual void LPtoHIMETRIC(CSize* pSize);

    int HimetricToLogicalX(int nWidth);
    int HimetricToLogicalY(int nHeight);
    int LogicalToHimetricX(int nWidth);
    int LogicalToHimetricY(int nHeight);
};
