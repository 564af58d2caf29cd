#pragma once
// The parameter report: the printed record of a device's parameter set. The
// data sets add their sections to its body group with its fonts.

#include "platform/base/Font.h"
#include "report/ParamReportGroup.h"
#include "report/Report.h"

#include <string>

class IReportDC;

class CParamReport : public CReport
{
public:
    CParamReport();
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

private:
    CFont m_fontNormal;
    CFont m_fontTitle;
    CFont m_fontHeading;
};
