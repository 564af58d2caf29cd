#include "report/ReportCellText.h"

#include "platform/base/Cp1252.h"
#include "report/ReportDC.h"
#include "report/ReportFontSelection.h"

#include <algorithm>

namespace {

std::vector<std::string> SplitAtLineEnds(const std::string& strText)
{
    std::vector<std::string> arrLines;
    std::size_t nStart = 0;
    for (;;) {
        const std::size_t nEnd = strText.find('\n', nStart);
        if (nEnd == std::string::npos) {
            arrLines.push_back(strText.substr(nStart));
            return arrLines;
        }
        std::size_t nLineEnd = nEnd;
        if (nLineEnd > nStart && strText[nLineEnd - 1] == '\r')
            --nLineEnd;
        arrLines.push_back(strText.substr(nStart, nLineEnd - nStart));
        nStart = nEnd + 1;
    }
}

void WrapLine(IReportDC& dc, const std::string& strLine, int nWidth, std::vector<std::string>& arrLines)
{
    std::size_t nStart = 0;
    while (nStart < strLine.size()) {
        std::size_t nBreakAfterBlank = std::string::npos;  // end of the line after the last blank
        std::size_t pos = nStart;
        std::size_t nLineEnd = strLine.size();
        while (pos < strLine.size()) {
            std::size_t nNext = pos;
            platform::DecodeUtf8(strLine, nNext);
            if (pos > nStart && dc.GetTextExtent(strLine.substr(nStart, nNext - nStart)).cx > nWidth) {
                nLineEnd = nBreakAfterBlank != std::string::npos ? nBreakAfterBlank : pos;
                break;
            }
            if (strLine[pos] == ' ')
                nBreakAfterBlank = nNext;
            pos = nNext;
        }
        arrLines.push_back(strLine.substr(nStart, nLineEnd - nStart));
        nStart = nLineEnd;
    }
    if (strLine.empty())
        arrLines.push_back(std::string());
}

}  // namespace

CReportCellText::CReportCellText(CReportLine* pLine, int x, int nWidth, int nHeight, CFont* pFont, UINT nFlags)
    : CReportCell(pLine, x, nWidth, nHeight, nFlags), m_pFont(pFont)
{
}

std::string CReportCellText::GetText() const
{
    return std::string();
}

std::vector<std::string> CReportCellText::GetTextLines(IReportDC& dc) const
{
    const std::string strText = GetText();
    if (!(m_nFlags & RCF_MULTILINE))
        return {strText};
    std::vector<std::string> arrParagraphs = SplitAtLineEnds(strText);
    if (!(m_nFlags & RCF_WORDBREAK))
        return arrParagraphs;
    const int nWidth = dc.HimetricToLogicalX(m_nWidth);
    std::vector<std::string> arrLines;
    for (const std::string& strParagraph : arrParagraphs)
        WrapLine(dc, strParagraph, nWidth, arrLines);
    return arrLines;
}

int CReportCellText::MeasureHeight(IReportDC& dc) const
{
    if (m_nFlags & RCF_MULTILINE)
        return static_cast<int>(GetTextLines(dc).size()) * dc.GetCharHeight();
    return dc.GetTextExtent(GetText()).cy;
}

CReportCellText::TextLayout CReportCellText::CalcTextRect(IReportDC& dc, const CPrintInfo* pInfo, int y)
{
    const RECT rectPage = pInfo ? pInfo->m_rectDraw : RECT();
    TextLayout layout;
    layout.rect.top = y;
    layout.rect.left = rectPage.left + dc.HimetricToLogicalX(m_x);

    CReportFontSelection selection(dc, m_pFont);
    int nHeight = m_nHeight;
    if ((m_nFlags & RCF_MEASURE) || m_nHeight <= 0) {
        nHeight = dc.LogicalToHimetricY(MeasureHeight(dc));
        if (m_nHeight <= 0)
            m_nHeight = nHeight;
    }
    layout.rect.right = std::min<LONG>(layout.rect.left + dc.HimetricToLogicalX(m_nWidth), rectPage.right);
    layout.rect.bottom = layout.rect.top + dc.HimetricToLogicalY(nHeight);

    switch (m_nFlags & RCF_HALIGN_MASK) {
    case RCF_CENTER:
        layout.ptRef.x = (layout.rect.left + layout.rect.right) / 2;
        layout.nAlign = TA_CENTER;
        break;
    case RCF_RIGHT:
        layout.ptRef.x = layout.rect.right;
        layout.nAlign = TA_RIGHT;
        break;
    default:
        layout.ptRef.x = layout.rect.left;
        layout.nAlign = TA_LEFT;
        break;
    }
    switch (m_nFlags & RCF_VALIGN_MASK) {
    case RCF_VCENTER:
        layout.ptRef.y = (layout.rect.top + layout.rect.bottom) / 2 - dc.GetCharHeight() / 2;
        layout.nAlign |= TA_TOP;
        break;
    case RCF_BOTTOM:
        layout.ptRef.y = layout.rect.bottom;
        layout.nAlign |= TA_BOTTOM;
        break;
    default:
        layout.ptRef.y = layout.rect.top;
        layout.nAlign |= TA_TOP;
        break;
    }
    return layout;
}

void CReportCellText::Draw(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo, int y)
{
    if (GetText().empty())
        return;
    const TextLayout layout = CalcTextRect(dc, pInfo, y);
    std::vector<std::string> arrLines;
    int nLineHeight;
    {
        CReportFontSelection selection(dc, m_pFont);
        arrLines = GetTextLines(dc);
        nLineHeight = dc.GetCharHeight();
    }
    const UINT nOptions = (m_nFlags & RCF_NOCLIP) ? 0 : ETO_CLIPPED;
    DrawOnReportTargets(dc, pRecordDC, pInfo, [&](IReportDC& target) {
        CReportFontSelection selection(target, m_pFont);
        const UINT nOldAlign = target.SetTextAlign(layout.nAlign);
        int yLine = layout.ptRef.y;
        for (const std::string& strLine : arrLines) {
            target.ExtTextOut(layout.ptRef.x, yLine, nOptions, &layout.rect, strLine);
            yLine += nLineHeight;
        }
        target.SetTextAlign(nOldAlign);
    });
}

int CReportCellText::GetHeight(IReportDC& dc)
{
    if (!(m_nFlags & RCF_MEASURE) && m_nHeight > 0)
        return m_nHeight;
    int nMeasured;
    {
        CReportFontSelection selection(dc, m_pFont);
        nMeasured = MeasureHeight(dc);
    }
    const int nHeight = dc.LogicalToHimetricY(nMeasured);
    if (m_nHeight <= 0)
        m_nHeight = nHeight;
    return nHeight;
}
