#pragma once
// A text cell that shows a string owned elsewhere, read each time the cell is
// laid out (the page number of the footer).

#include "report/ReportCellText.h"

#include <string>

class CReportCellVariable : public CReportCellText
{
public:
    CReportCellVariable(CReportLine* pLine, int x, int nWidth, int nHeight, CFont* pFont, const std::string* pText,
                        UINT nFlags);

    // A copy of the string; empty for a null pointer.
    std::string GetText() const override { return m_pText ? *m_pText : std::string(); }

private:
    const std::string* m_pText;
};
