#include "report/ReportGroup.h"

#include "report/ReportDC.h"
#include "report/ReportLine.h"

CReportGroup::CReportGroup(CReport* pReport) : m_pReport(pReport)
{
}

CReportGroup::~CReportGroup()
{
    for (auto& pLine : m_arrLines)
        pLine.reset();
}

void CReportGroup::Add(CReportLine* pLine)
{
    if (pLine)
        m_arrLines.emplace_back(pLine);
}

CReportLine* CReportGroup::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    return m_arrLines[static_cast<std::size_t>(nIndex)].get();
}

int CReportGroup::GetHeight(IReportDC& dc)
{
    int nHeight = 0;
    for (auto& pLine : m_arrLines)
        nHeight += pLine->GetHeight(dc);
    return nHeight;
}

void CReportGroup::Draw(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo, int y)
{
    for (auto& pLine : m_arrLines) {
        pLine->Draw(dc, pRecordDC, pInfo, y);
        y += dc.HimetricToLogicalY(pLine->GetHeight(dc));
    }
}
