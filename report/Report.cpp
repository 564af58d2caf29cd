#include "report/Report.h"

#include "platform/base/PrintInfo.h"
#include "report/IReportOwner.h"
#include "report/ReportDC.h"
#include "report/ReportLine.h"
#include "report/ReportMetaFileDC.h"

#include <utility>

CReport::CReport(IReportOwner* pOwner) : m_pOwner(pOwner)
{
}

CReport::~CReport() = default;

BOOL CReport::PreparePrinting(CPrintInfo* pInfo)
{
    m_pInfo = pInfo;
    return m_pOwner ? m_pOwner->DoPreparePrinting(pInfo) : TRUE;
}

void CReport::BeginPrinting(IReportDC& /*dc*/, CPrintInfo* pInfo)
{
    m_pInfo = pInfo;
    m_nCurPage = 0;
    m_bEnd = !MoveFirst();
}

void CReport::PrepareDC(IReportDC& /*dc*/, CPrintInfo* pInfo)
{
    if (pInfo)
        pInfo->m_bContinuePrinting = !m_bEnd;
}

void CReport::Print(IReportDC& dc, CPrintInfo* pInfo)
{
    m_pInfo = pInfo;
    const UINT nPage = pInfo->m_nCurPage;
    if (pInfo->m_bPreview) {
        if (const CReportMetaFile* pPage = GetCachedPage(nPage)) {
            m_nCurPage = nPage;
            if (!IsLayoutOnly(pInfo))
                pPage->Play(dc);
            return;
        }
    }

    if (nPage > m_nCurPage + 1) {
        if (m_bEnd) {
            m_nCurPage = nPage;
            return;
        }
        for (UINT nSkipped = m_nCurPage + 1; nSkipped < nPage; ++nSkipped) {
            CPrintInfo info;
            info.m_nCurPage = nSkipped;
            info.m_lpUserData = reinterpret_cast<void*>(1);
            info.m_bPreview = pInfo->m_bPreview;
            info.m_bContinuePrinting = pInfo->m_bContinuePrinting;
            // The rectangle every drawn page gets, so that these pages break
            // exactly as they would when drawn.
            info.m_rectDraw = dc.GetPrintablePageRect();
            PrepareDC(dc, &info);
            if (!info.m_bContinuePrinting) {
                m_pInfo = pInfo;
                return;
            }
            Print(dc, &info);
        }
        m_pInfo = pInfo;
    }

    m_nCurPage = nPage;
    if (m_bEnd)
        return;

    if (pInfo->m_bPreview)
        m_pRecordDC = std::make_unique<CReportMetaFileDC>(dc);
    PrintHeader(dc, m_pRecordDC.get(), pInfo);
    PrintFooter(dc, m_pRecordDC.get(), pInfo);
    m_y = pInfo->m_rectDraw.top;
    PrintPageItems(dc, m_pRecordDC.get(), pInfo);

    if (m_pRecordDC) {
        if (m_arrPageCache.size() < nPage)
            m_arrPageCache.resize(nPage);
        m_arrPageCache[nPage - 1] = m_pRecordDC->Close();
        m_pRecordDC.reset();
    }
}

void CReport::PrintPageItems(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo)
{
    m_nItemsOnPage = 0;
    for (;;) {
        PrepareItem();
        // A page holds whole items; only an item that stands first on its
        // page is drawn whatever its height, so that every page takes at
        // least one item and the report ends.
        if (IsPageFull(dc, pInfo) && m_nItemsOnPage > 0)
            break;
        const int nHeight = dc.HimetricToLogicalY(GetItemHeight(dc, pInfo));
        const bool bTooTall = m_y + nHeight > pInfo->m_rectDraw.bottom;
        if (bTooTall) {
            // Taller than the page's body: cut at the footer.
            RECT rectBody = pInfo->m_rectDraw;
            rectBody.top = m_y;
            DrawOnReportTargets(dc, pRecordDC, pInfo, [&](IReportDC& target) {
                target.SaveDC();
                target.IntersectClipRect(rectBody);
            });
        }
        PrintItem(dc, pRecordDC, pInfo, m_y);
        if (bTooTall) {
            DrawOnReportTargets(dc, pRecordDC, pInfo, [](IReportDC& target) { target.RestoreDC(-1); });
        }
        m_y += nHeight;
        ++m_nItemsOnPage;
        if (!MoveNext()) {
            m_bEnd = TRUE;
            break;
        }
        if (bTooTall)
            break;
    }
}

void CReport::EndPrinting(IReportDC& /*dc*/, CPrintInfo* pInfo)
{
    m_pInfo = pInfo;
    Close();
    ClearPageCache();
}

BOOL CReport::MoveFirst()
{
    return FALSE;
}

void CReport::Close()
{
}

BOOL CReport::MoveNext()
{
    return FALSE;
}

void CReport::PrepareItem()
{
}

void CReport::PrintHeader(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo)
{
    if (!m_pHeaderGroup)
        return;
    m_pHeaderGroup->Draw(dc, pRecordDC, pInfo, pInfo->m_rectDraw.top);
    pInfo->m_rectDraw.top += dc.HimetricToLogicalY(m_pHeaderGroup->GetHeight(dc));
}

void CReport::PrintFooter(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo)
{
    if (!m_pFooterGroup)
        return;
    const int nHeight = dc.HimetricToLogicalY(m_pFooterGroup->GetHeight(dc));
    m_pFooterGroup->Draw(dc, pRecordDC, pInfo, pInfo->m_rectDraw.bottom - nHeight);
    pInfo->m_rectDraw.bottom -= nHeight;
}

BOOL CReport::IsPageFull(IReportDC& dc, CPrintInfo* pInfo)
{
    return pInfo->m_rectDraw.bottom < m_y + dc.HimetricToLogicalY(GetItemHeight(dc, pInfo));
}

void CReport::PrintItem(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo, int y)
{
    if (m_pBodyGroup)
        m_pBodyGroup->Draw(dc, pRecordDC, pInfo, y);
}

int CReport::GetItemHeight(IReportDC& dc, CPrintInfo* /*pInfo*/)
{
    return m_pBodyGroup ? m_pBodyGroup->GetHeight(dc) : 0;
}

const CReportMetaFile* CReport::GetCachedPage(UINT nPage) const
{
    if (nPage < 1 || nPage > m_arrPageCache.size())
        return nullptr;
    return m_arrPageCache[nPage - 1].get();
}

void CReport::ClearPageCache()
{
    m_arrPageCache.clear();
}

void CReport::SetHeaderGroup(std::unique_ptr<CReportGroup> pGroup)
{
    m_pHeaderGroup = std::move(pGroup);
}

void CReport::SetFooterGroup(std::unique_ptr<CReportGroup> pGroup)
{
    m_pFooterGroup = std::move(pGroup);
}

void CReport::SetBodyGroup(std::unique_ptr<CReportGroup> pGroup)
{
    m_pBodyGroup = std::move(pGroup);
}
