#pragma once
// One positioned cell of a report line. Position and size are HIMETRIC, x
// from the left of the page rectangle. A cell appends itself to its line
// when it is created, and the line owns it.

#include "platform/base/WinTypes.h"

class CPrintInfo;
class CReportLine;
class IReportDC;

// Cell flags.
constexpr UINT RCF_LEFT = 0x00;
constexpr UINT RCF_CENTER = 0x01;
constexpr UINT RCF_RIGHT = 0x02;
constexpr UINT RCF_HALIGN_MASK = 0x03;
constexpr UINT RCF_TOP = 0x00;
constexpr UINT RCF_VCENTER = 0x04;  // centred on the font's character height
constexpr UINT RCF_BOTTOM = 0x08;
constexpr UINT RCF_VALIGN_MASK = 0x0C;
constexpr UINT RCF_NOCLIP = 0x10;     // do not clip the text to the cell
constexpr UINT RCF_WORDBREAK = 0x20;  // with RCF_MULTILINE: also wrap at the cell's width
constexpr UINT RCF_MULTILINE = 0x40;  // split the text at its line ends
constexpr UINT RCF_MEASURE = 0x80;    // measure the height on every call

class CReportCell
{
public:
    // nHeight 0 or less: measured from the content. With a line, the cell is
    // appended to it and belongs to it; create cells with new.
    CReportCell(CReportLine* pLine, int x, int nWidth, int nHeight, UINT nFlags);
    virtual ~CReportCell() = default;
    CReportCell(const CReportCell&) = delete;
    CReportCell& operator=(const CReportCell&) = delete;

    CReportLine* GetLine() const { return m_pLine; }
    UINT GetFlags() const { return m_nFlags; }
    int GetX() const { return m_x; }
    int GetWidth() const { return m_nWidth; }
    // The stored height; a measuring cell stores its first measurement.
    int GetStoredHeight() const { return m_nHeight; }

    // Draws the cell with its top at y (logical units) on the print context
    // (unless the pass only lays out) and on the recording context when one
    // is given. The base draws nothing.
    virtual void Draw(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo, int y);
    // HIMETRIC; the base: 0 when RCF_MEASURE is set, else the stored height.
    virtual int GetHeight(IReportDC& dc);

protected:
    CReportLine* m_pLine;
    UINT m_nFlags;
    int m_x;
    int m_nWidth;
    int m_nHeight;
};
