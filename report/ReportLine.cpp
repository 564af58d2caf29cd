#include "report/ReportLine.h"

#include "report/ReportCell.h"
#include "report/ReportGroup.h"

#include <algorithm>

CReportLine::CReportLine(CReportGroup* pGroup, UINT nFlags, int nMinHeight)
    : m_nFlags(nFlags), m_nMinHeight(nMinHeight), m_pGroup(pGroup)
{
    if (m_pGroup)
        m_pGroup->Add(this);
}

CReportLine::~CReportLine()
{
    // First to last.
    for (auto& pCell : m_listCells)
        pCell.reset();
}

void CReportLine::AddCell(CReportCell* pCell)
{
    if (pCell)
        m_listCells.emplace_back(pCell);
}

CReportCell* CReportLine::GetCell(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCellCount())
        return nullptr;
    return m_listCells[static_cast<std::size_t>(nIndex)].get();
}

int CReportLine::GetHeight(IReportDC& dc)
{
    int nHeight = m_nMinHeight;
    for (auto& pCell : m_listCells)
        nHeight = std::max(nHeight, pCell->GetHeight(dc));
    return nHeight;
}
