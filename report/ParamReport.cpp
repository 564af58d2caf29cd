#include "report/ParamReport.h"

#include "platform/base/MulDiv.h"
#include "report/ParamReportLine.h"
#include "report/ReportCellLabel.h"
#include "report/ReportDC.h"

#include <memory>

namespace {

void CreateArialFont(CFont& font, IReportDC& dc, int nPoints, LONG nWeight)
{
    LOGFONT logFont;
    logFont.lfFaceName = "Arial";
    logFont.lfHeight = -MulDiv(nPoints, dc.GetDeviceCaps(LOGPIXELSY), 72);
    logFont.lfWeight = nWeight;
    logFont.lfCharSet = 1;
    logFont.lfOutPrecision = 0;
    logFont.lfClipPrecision = 0;
    logFont.lfQuality = 2;
    logFont.lfPitchAndFamily = 0x22;
    font.DeleteObject();
    font.CreateFontIndirect(&logFont);
}

}  // namespace

CParamReport::CParamReport() = default;

CParamReport::~CParamReport()
{
    // The body's cells point at the fonts; drop them first.
    DeleteBody();
}

void CParamReport::CreateFonts(IReportDC& dc)
{
    CreateArialFont(m_fontNormal, dc, 8, FW_NORMAL);
    CreateArialFont(m_fontTitle, dc, 16, FW_BOLD);
    CreateArialFont(m_fontHeading, dc, 12, FW_BOLD);
}

void CParamReport::DeleteFonts()
{
    m_fontNormal.DeleteObject();
    m_fontTitle.DeleteObject();
    m_fontHeading.DeleteObject();
}

CParamReportGroup* CParamReport::CreateBody()
{
    auto pBody = std::make_unique<CParamReportGroup>(this);
    CParamReportGroup* pResult = pBody.get();
    SetBodyGroup(std::move(pBody));
    return pResult;
}

void CParamReport::DeleteBody()
{
    SetBodyGroup(nullptr);
}

void CParamReport::AddEmptyLine(CReportGroup* /*pGroup*/, CFont* pFont, BOOL bPageBreak)
{
    CReportGroup* pBody = GetBodyGroup();
    if (!pBody)
        return;
    auto* pLine = new CParamReportLine(pBody, bPageBreak ? RLF_PAGE_BREAK : 0, 0);
    new CReportCellLabel(pLine, 0, 100, 0, pFont, std::string(" "), 0);
}
