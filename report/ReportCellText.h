#pragma once
// A cell that shows a text in a font (not owned: the report's fonts outlive
// its cells).

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

    // The text's lines as they are laid out: one line, or with RCF_MULTILINE
    // split at "\n" / "\r\n" and with RCF_WORDBREAK also where the next
    // character would pass the cell's width (after the last blank before it,
    // else before it; every line keeps at least one character). The cell's
    // font must be selected.
    std::vector<std::string> GetTextLines(IReportDC& dc) const;

protected:
    // The measured height in logical units, with the cell's font selected.
    int MeasureHeight(IReportDC& dc) const;

    CFont* m_pFont;
};
