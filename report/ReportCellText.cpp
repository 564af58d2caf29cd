#include "report/ReportCellText.h"

#include "platform/base/Cp1252.h"
#include "report/ReportDC.h"
#include "report/ReportFontSelection.h"

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
