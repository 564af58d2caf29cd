#include "report/ReportLine.h"

#include "report/ReportCell.h"
#include "report/ReportDC.h"
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

void CReportLine::Draw(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo, int y)
{
    for (auto& pCell : m_listCells)
        pCell->Draw(dc, pRecordDC, pInfo, y);
    if (!(m_nFlags & RLF_BORDERS) || !pInfo)
        return;

    const RECT& rectPage = pInfo->m_rectDraw;
    const int nLeft = rectPage.left;
    const int nRight = rectPage.right;
    const int nTop = y;
    const int nBottom = y + dc.HimetricToLogicalY(GetHeight(dc));
    // One device unit is one logical unit in the report's contexts.
    constexpr int nBar = 1;
    DrawOnReportTargets(dc, pRecordDC, pInfo, [&](IReportDC& target) {
        if (m_nFlags & RLF_BORDER_TOP)
            target.PatBlt(nLeft, nTop, nRight - nLeft, nBar, BLACKNESS);
        if (m_nFlags & RLF_BORDER_BOTTOM)
            target.PatBlt(nLeft, nBottom - nBar, nRight - nLeft, nBar, BLACKNESS);
        if (m_nFlags & RLF_BORDER_LEFT)
            target.PatBlt(nLeft, nTop, nBar, nBottom - nTop, BLACKNESS);
        if (m_nFlags & RLF_BORDER_RIGHT)
            target.PatBlt(nRight - nBar, nTop, nBar, nBottom - nTop, BLACKNESS);
    });
}
