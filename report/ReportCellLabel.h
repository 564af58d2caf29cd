#pragma once
// A text cell with a fixed text of its own.

#include "report/ReportCellText.h"

#include <string>

class CReportCellLabel : public CReportCellText
{
public:
    CReportCellLabel(CReportLine* pLine, int x, int nWidth, int nHeight, CFont* pFont, std::string strText,
                     UINT nFlags);
    // The text from the string table of the active resource module; empty
    // when the entry is missing.
    CReportCellLabel(CReportLine* pLine, int x, int nWidth, int nHeight, CFont* pFont, UINT nStringId,
                     UINT nFlags);

    std::string GetText() const override { return m_strText; }
    void SetText(const std::string& strText) { m_strText = strText; }

private:
    std::string m_strText;
};
