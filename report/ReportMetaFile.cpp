#include "report/ReportMetaFile.h"

#include "report/ReportDC.h"

int CReportMetaFile::AddFont(const CFont* pFont)
{
    if (!pFont)
        return -1;
    for (std::size_t i = 0; i < m_arrFonts.size(); ++i)
        if (m_arrFonts[i]->GetLogFontRef() == pFont->GetLogFontRef())
            return static_cast<int>(i);
    auto pCopy = std::make_unique<CFont>();
    pCopy->CreateFontIndirect(&pFont->GetLogFontRef());
    m_arrFonts.push_back(std::move(pCopy));
    return static_cast<int>(m_arrFonts.size()) - 1;
}

void CReportMetaFile::Play(IReportDC& dc) const
{
    CFont* pOldFont = nullptr;
    bool bFontSelected = false;
    // The page was recorded from a fresh context's alignment.
    const UINT nOldAlign = dc.SetTextAlign(TA_LEFT | TA_TOP);
    // Levels saved by the page map onto the context's own levels.
    std::vector<int> arrLevels;
    for (const Record& record : m_arrRecords) {
        switch (record.op) {
        case Op::SelectFont: {
            const int nIndex = static_cast<int>(record.nValue);
            CFont* pFont = nIndex >= 0 && nIndex < static_cast<int>(m_arrFonts.size())
                               ? m_arrFonts[static_cast<std::size_t>(nIndex)].get()
                               : nullptr;
            CFont* pPrevious = dc.SelectObject(pFont);
            if (!bFontSelected) {
                pOldFont = pPrevious;
                bFontSelected = true;
            }
            break;
        }
        case Op::SetTextAlign:
            dc.SetTextAlign(record.nValue);
            break;
        case Op::ExtTextOut:
            dc.ExtTextOut(record.x, record.y, record.nValue, record.bHasRect ? &record.rect : nullptr, record.strText);
            break;
        case Op::PatBlt:
            dc.PatBlt(record.x, record.y, record.cx, record.cy, record.nValue);
            break;
        case Op::SaveDC:
            arrLevels.push_back(dc.SaveDC());
            break;
        case Op::RestoreDC:
            if (!arrLevels.empty()) {
                dc.RestoreDC(arrLevels.back());
                arrLevels.pop_back();
            }
            break;
        case Op::IntersectClipRect:
            dc.IntersectClipRect(record.rect);
            break;
        }
    }
    if (bFontSelected)
        dc.SelectObject(pOldFont);
    dc.SetTextAlign(nOldAlign);
    // A page that saved more than it restored gives the rest back.
    while (!arrLevels.empty()) {
        dc.RestoreDC(arrLevels.back());
        arrLevels.pop_back();
    }
}
