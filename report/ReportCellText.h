#pragma once
// A cell that shows a text in a font (not owned: the report's fonts outlive
// its cells).

#include "platform/base/WinGeometry.h"
#include "report/ReportCell.h"

#include <string>
#include <vector>

class CFont;

class CReportCellText : public CReportCell
{
public:
    CReportCellText(CReportLine* pLine, int x, int nWidth, int nHeight, CFont* pFont, UINT nFlags);

    CFont* GetFont() const { return m_pFont; }
    virtual std::string GetText() const;

    // The stored height when it is set and RCF_MEASURE is clear; otherwise
    // the text's height measured in the cell's font, which a cell without a
    // stored height keeps for later pages. HIMETRIC.
    int GetHeight(IReportDC& dc) override;
    // The text in the cell's font, aligned and clipped as the flags say;
    // several lines one character height apart. An empty text draws nothing.
    void Draw(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo, int y) override;

    // The text's lines as they are laid out: one line, or with RCF_MULTILINE
    // split at "\n" / "\r\n" and with RCF_WORDBREAK also where the next
    // character would pass the cell's width (after the last blank before it,
    // else before it; every line keeps at least one character). The cell's
    // font must be selected.
    std::vector<std::string> GetTextLines(IReportDC& dc) const;

    // Where the cell lies when its top is at y: its rectangle (logical units,
    // from the page rectangle's left, cut at its right edge), the reference
    // point of the text and the text alignment for it.
    struct TextLayout
    {
        RECT rect;
        POINT ptRef;
        UINT nAlign = 0;
    };
    TextLayout CalcTextRect(IReportDC& dc, const CPrintInfo* pInfo, int y);

protected:
    // The measured height in logical units, with the cell's font selected.
    int MeasureHeight(IReportDC& dc) const;

    CFont* m_pFont;
};
