#pragma once
// The parameter report: the printed record of a device's parameter set. It
// makes its fonts, margins, page header and footer for the job's context
// and a body of the sections of the print items; the data sets add their
// sections to the body with its fonts. Its items are the body's lines, so
// pages break between lines.

#include "platform/base/Font.h"
#include "platform/base/Size.h"
#include "report/ParamReportGroup.h"
#include "report/Report.h"

#include <string>

class IParamReportOwner;
class IReportDC;

constexpr int PARAM_REPORT_MARGIN = 1000;  // HIMETRIC, on each side

class CParamReport : public CReport
{
public:
    explicit CParamReport(IParamReportOwner* pOwner = nullptr);
    ~CParamReport() override;

    // Arial 8 pt regular: column headings and cells of table sections.
    CFont* GetNormalFont() { return &m_fontNormal; }
    // Arial 16 pt bold: section titles.
    CFont* GetTitleFont() { return &m_fontTitle; }
    // Arial 12 pt bold: the headings within a section.
    CFont* GetReportData() { return &m_fontHeading; }

    // Makes the three fonts for the context's vertical resolution (replacing
    // any made before); DeleteFonts drops them when the job ends.
    void CreateFonts(IReportDC& dc);
    void DeleteFonts();

    // Starts an empty body (deleting the one before) and gives it back;
    // DeleteBody drops it when the pass over the pages ends.
    CParamReportGroup* CreateBody();
    void DeleteBody();

    // Appends to the body a line with one label " " at x 0, width 100, in
    // the font; with bPageBreak the line starts a new page. pGroup is not
    // used: the body is always taken. Nothing without a body.
    void AddEmptyLine(CReportGroup* pGroup, CFont* pFont, BOOL bPageBreak);

    // The footer's page number text, "Seite %u" of the page drawn last.
    const std::string& GetPageText() const { return m_strPageText; }

    void BeginPrinting(IReportDC& dc, CPrintInfo* pInfo) override;
    void Print(IReportDC& dc, CPrintInfo* pInfo) override;
    void EndPrinting(IReportDC& dc, CPrintInfo* pInfo) override;
    BOOL MoveFirst() override;
    void Close() override;
    BOOL MoveNext() override;
    void PrepareItem() override;
    // The page number follows the page drawn, also after earlier pages were
    // laid out on the way to it.
    void PrintFooter(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo) override;
    BOOL IsPageFull(IReportDC& dc, CPrintInfo* pInfo) override;
    void PrintItem(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo, int y) override;
    int GetItemHeight(IReportDC& dc, CPrintInfo* pInfo) override;

protected:
    void BuildPageHeader(IReportDC& dc, CPrintInfo* pInfo);
    void BuildPageFooter(IReportDC& dc, CPrintInfo* pInfo);
    void BuildBody(IReportDC& dc, CPrintInfo* pInfo);

private:
    IParamReportOwner* GetParamOwner() const { return m_pParamOwner; }
    CReportLine* GetCurrentLine() const;
    void SetPageText(UINT nPage);
    // The page's width and height in HIMETRIC.
    CSize GetPageSize(IReportDC& dc, const CPrintInfo* pInfo) const;

    IParamReportOwner* m_pParamOwner;
    CFont m_fontNormal;
    CFont m_fontTitle;
    CFont m_fontHeading;
    std::string m_strPageText;
    WORD m_nLineIndex = 0;
};
