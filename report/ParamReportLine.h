#pragma once
// A line of the parameter report. Its height is always that of its tallest
// cell; the page-broken mark makes a page break before it happen only once.

#include "report/ReportLine.h"

class CParamReportLine : public CReportLine
{
public:
    // The minimum height is accepted for the callers' sake and not used.
    CParamReportLine(CReportGroup* pGroup, UINT nFlags, int nMinHeight);

    void SetPageBroken(BOOL bPageBroken) { m_bPageBroken = bPageBroken; }
    BOOL IsPageBroken() const { return m_bPageBroken; }

private:
    BOOL m_bPageBroken = FALSE;
};
