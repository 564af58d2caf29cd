#include "report/ReportDC.h"

#include "platform/base/MulDiv.h"

void IReportDC::HIMETRICtoLP(CSize* pSize)
{
    pSize->cx = MulDiv(pSize->cx, GetDeviceCaps(LOGPIXELSX), HIMETRIC_INCH);
    pSize->cy = MulDiv(pSize->cy, GetDeviceCaps(LOGPIXELSY), HIMETRIC_INCH);
}

void IReportDC::LPtoHIMETRIC(CSize* pSize)
{
    pSize->cx = MulDiv(pSize->cx, HIMETRIC_INCH, GetDeviceCaps(LOGPIXELSX));
    pSize->cy = MulDiv(pSize->cy, HIMETRIC_INCH, GetDeviceCaps(LOGPIXELSY));
}

int IReportDC::HimetricToLogicalX(int nWidth)
{
    CSize size(nWidth, 0);
    HIMETRICtoLP(&size);
    return size.cx;
}

int IReportDC::HimetricToLogicalY(int nHeight)
{
    CSize size(0, nHeight);
    HIMETRICtoLP(&size);
    return size.cy;
}

int IReportDC::LogicalToHimetricX(int nWidth)
{
    CSize size(nWidth, 0);
    LPtoHIMETRIC(&size);
    return size.cx;
}

int IReportDC::LogicalToHimetricY(int nHeight)
{
    CSize size(0, nHeight);
    LPtoHIMETRIC(&size);
    return size.cy;
}

RECT IReportDC::GetPrintablePageRect()
{
    RECT rect;
    rect.right = GetDeviceCaps(HORZRES);
    rect.bottom = GetDeviceCaps(VERTRES);
    return rect;
}
