#include "report/ReportCellVariable.h"

CReportCellVariable::CReportCellVariable(CReportLine* pLine, int x, int nWidth, int nHeight, CFont* pFont,
                                         const std::string* pText, UINT nFlags)
    : CReportCellText(pLine, x, nWidth, nHeight, pFont, nFlags), m_pText(pText)
{
}
