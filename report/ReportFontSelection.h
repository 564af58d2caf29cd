#pragma once
// Selects a font into a report drawing context for the life of the object
// and puts the previous one back.

#include "report/ReportDC.h"

class CReportFontSelection
{
public:
    CReportFontSelection(IReportDC& dc, CFont* pFont) : m_dc(dc), m_pOldFont(dc.SelectObject(pFont)) {}
    ~CReportFontSelection() { m_dc.SelectObject(m_pOldFont); }
    CReportFontSelection(const CReportFontSelection&) = delete;
    CReportFontSelection& operator=(const CReportFontSelection&) = delete;

private:
    IReportDC& m_dc;
    CFont* m_pOldFont;
};
