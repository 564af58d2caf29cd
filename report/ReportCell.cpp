#include "report/ReportCell.h"

#include "report/ReportLine.h"

CReportCell::CReportCell(CReportLine* pLine, int x, int nWidth, int nHeight, UINT nFlags)
    : m_pLine(pLine), m_nFlags(nFlags), m_x(x), m_nWidth(nWidth), m_nHeight(nHeight)
{
    if (m_pLine)
        m_pLine->AddCell(this);
}

void CReportCell::Draw(IReportDC& /*dc*/, IReportDC* /*pRecordDC*/, CPrintInfo* /*pInfo*/, int /*y*/)
{
}

int CReportCell::GetHeight(IReportDC& /*dc*/)
{
    return (m_nFlags & RCF_MEASURE) ? 0 : m_nHeight;
}
