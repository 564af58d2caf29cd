#include "report/ReportCellLabel.h"

#include "platform/base/ResourceLibrary.h"

#include <utility>

CReportCellLabel::CReportCellLabel(CReportLine* pLine, int x, int nWidth, int nHeight, CFont* pFont,
                                   std::string strText, UINT nFlags)
    : CReportCellText(pLine, x, nWidth, nHeight, pFont, nFlags), m_strText(std::move(strText))
{
}

CReportCellLabel::CReportCellLabel(CReportLine* pLine, int x, int nWidth, int nHeight, CFont* pFont,
                                   UINT nStringId, UINT nFlags)
    : CReportCellText(pLine, x, nWidth, nHeight, pFont, nFlags)
{
    if (const platform::CResourceModule* pModule = platform::GetFrameworkResourceModule())
        if (const char* pszText = pModule->FindString(nStringId))
            m_strText = pszText;
}
