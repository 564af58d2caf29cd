#include "report/ParamReport.h"

#include "platform/base/MulDiv.h"
#include "platform/base/PrintInfo.h"
#include "platform/base/ResourceLibrary.h"
#include "report/IParamReportOwner.h"
#include "report/ParamReportLine.h"
#include "report/ReportCellLabel.h"
#include "report/ReportCellVariable.h"
#include "report/ReportDC.h"

#include <cstdio>
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

// A string of the active language, or the German text when the table has
// no such entry.
std::string LoadReportString(UINT nId, const char* pszGerman)
{
    if (const platform::CResourceModule* pModule = platform::GetFrameworkResourceModule())
        if (const char* pszText = pModule->FindString(nId))
            return pszText;
    return pszGerman;
}

// The page rectangle less the margins.
void NarrowByMargins(IReportDC& dc, RECT& rect)
{
    CSize size(-PARAM_REPORT_MARGIN, -PARAM_REPORT_MARGIN);
    dc.HIMETRICtoLP(&size);
    rect.left -= size.cx;
    rect.top -= size.cy;
    rect.right += size.cx;
    rect.bottom += size.cy;
}

}  // namespace

CParamReport::CParamReport(IParamReportOwner* pOwner) : CReport(pOwner), m_pParamOwner(pOwner)
{
}

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

void CParamReport::SetPageText(UINT nPage)
{
    const std::string strFormat = LoadReportString(305, "Seite %u");
    // Only the one number the format is made for is put in.
    const std::size_t nPos = strFormat.find("%u");
    m_strPageText = nPos == std::string::npos
                        ? strFormat
                        : strFormat.substr(0, nPos) + std::to_string(nPage) + strFormat.substr(nPos + 2);
}

CSize CParamReport::GetPageSize(IReportDC& dc, const CPrintInfo* pInfo) const
{
    CSize size(pInfo->m_rectDraw.right - pInfo->m_rectDraw.left, pInfo->m_rectDraw.bottom - pInfo->m_rectDraw.top);
    dc.LPtoHIMETRIC(&size);
    return size;
}

void CParamReport::BeginPrinting(IReportDC& dc, CPrintInfo* pInfo)
{
    CReport::BeginPrinting(dc, pInfo);
    CreateFonts(dc);
    // The job may begin before it set a page's rectangle: the sections are
    // then laid out for the page every drawn page gets.
    if (pInfo->m_rectDraw.right <= pInfo->m_rectDraw.left || pInfo->m_rectDraw.bottom <= pInfo->m_rectDraw.top)
        pInfo->m_rectDraw = dc.GetPrintablePageRect();
    NarrowByMargins(dc, pInfo->m_rectDraw);
    BuildPageHeader(dc, pInfo);
    BuildPageFooter(dc, pInfo);
    BuildBody(dc, pInfo);
}

void CParamReport::Print(IReportDC& dc, CPrintInfo* pInfo)
{
    SetPageText(pInfo->m_nCurPage);
    NarrowByMargins(dc, pInfo->m_rectDraw);
    CReport::Print(dc, pInfo);
}

void CParamReport::EndPrinting(IReportDC& dc, CPrintInfo* pInfo)
{
    DeleteFonts();
    CReport::EndPrinting(dc, pInfo);
}

void CParamReport::PrintFooter(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo)
{
    SetPageText(pInfo->m_nCurPage);
    CReport::PrintFooter(dc, pRecordDC, pInfo);
}

BOOL CParamReport::MoveFirst()
{
    m_nLineIndex = 0;
    return TRUE;
}

void CParamReport::Close()
{
    m_nLineIndex = 0;
    DeleteBody();
}

BOOL CParamReport::MoveNext()
{
    const CReportGroup* pBody = GetBodyGroup();
    if (!pBody || m_nLineIndex == 0xFFFF)
        return FALSE;
    ++m_nLineIndex;
    return m_nLineIndex < pBody->GetCount();
}

void CParamReport::PrepareItem()
{
}

CReportLine* CParamReport::GetCurrentLine() const
{
    const CReportGroup* pBody = GetBodyGroup();
    return pBody ? pBody->GetAt(m_nLineIndex) : nullptr;
}

BOOL CParamReport::IsPageFull(IReportDC& dc, CPrintInfo* pInfo)
{
    auto* pLine = dynamic_cast<CParamReportLine*>(GetCurrentLine());
    if (pLine && (pLine->GetFlags() & RLF_PAGE_BREAK) && !pLine->IsPageBroken()) {
        pLine->SetPageBroken(TRUE);
        // A line that already stands first on its page needs no new page.
        if (GetItemsOnPage() > 0)
            return TRUE;
    }
    return CReport::IsPageFull(dc, pInfo);
}

void CParamReport::PrintItem(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo, int y)
{
    if (CReportLine* pLine = GetCurrentLine())
        pLine->Draw(dc, pRecordDC, pInfo, y);
}

int CParamReport::GetItemHeight(IReportDC& dc, CPrintInfo* /*pInfo*/)
{
    CReportLine* pLine = GetCurrentLine();
    return pLine ? pLine->GetHeight(dc) : 0;
}

void CParamReport::BuildPageHeader(IReportDC& dc, CPrintInfo* pInfo)
{
    auto pHeader = std::make_unique<CReportGroup>(this);
    const int nWidth = GetPageSize(dc, pInfo).cx;
    auto* pLine = new CParamReportLine(pHeader.get(), RLF_BORDER_BOTTOM, 0);
    const IParamReportOwner* pOwner = GetParamOwner();
    new CReportCellLabel(pLine, 0, nWidth, 0, &m_fontNormal, pOwner ? pOwner->GetDeviceText() : std::string(), RCF_LEFT);
    new CReportCellLabel(pLine, 0, nWidth, 0, &m_fontNormal,
                         LoadReportString(125, "Physikalische Adresse:") + " " +
                             (pOwner ? pOwner->GetIndividualAddressText() : std::string("--.--.---")),
                         RCF_RIGHT);
    SetHeaderGroup(std::move(pHeader));
}

void CParamReport::BuildPageFooter(IReportDC& dc, CPrintInfo* pInfo)
{
    auto pFooter = std::make_unique<CReportGroup>(this);
    const int nWidth = GetPageSize(dc, pInfo).cx;
    auto* pLine = new CParamReportLine(pFooter.get(), RLF_BORDER_TOP, 0);
    SetPageText(pInfo->m_nCurPage);
    new CReportCellVariable(pLine, 0, nWidth, 0, &m_fontNormal, &m_strPageText, RCF_CENTER);
    const IParamReportOwner* pOwner = GetParamOwner();
    const std::string strPath = pOwner ? pOwner->GetFilePath() : std::string();
    if (!strPath.empty())
        new CReportCellLabel(pLine, 0, nWidth, 0, &m_fontNormal, strPath, RCF_LEFT);
    new CReportCellLabel(pLine, 0, nWidth, 0, &m_fontNormal, pOwner ? pOwner->GetDateText() : std::string(),
                         RCF_RIGHT);
    SetFooterGroup(std::move(pFooter));
}

void CParamReport::BuildBody(IReportDC& dc, CPrintInfo* pInfo)
{
    CParamReportGroup* pBody = CreateBody();
    const CSize sizePage = GetPageSize(dc, pInfo);
    IParamReportOwner* pOwner = GetParamOwner();
    const int nItems = pOwner ? pOwner->GetPrintItemCount() : 0;
    if (nItems > 0) {
        for (int i = 0; i < nItems; ++i) {
            // Every section after the first starts on a new page.
            AddEmptyLine(pBody, &m_fontNormal, i > 0);
            pOwner->AddPrintItemToReport(i, this, &dc, pInfo, sizePage.cx, sizePage.cy);
        }
        return;
    }
    AddEmptyLine(pBody, &m_fontNormal, FALSE);
    auto* pLine = new CParamReportLine(pBody, 0, 0);
    new CReportCellLabel(pLine, 500, sizePage.cx, 0, &m_fontNormal,
                         LoadReportString(296, "Keine Druckdatenselektion"), RCF_LEFT);
}
