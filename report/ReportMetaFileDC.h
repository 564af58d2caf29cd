#pragma once
// The context that records a report page while it is drawn for the preview.
// It measures through the context it records for (its attribute context), so
// that the recorded page lays out exactly as the page drawn there.

#include "report/ReportDC.h"
#include "report/ReportMetaFile.h"

#include <memory>

class CReportMetaFileDC : public IReportDC
{
public:
    explicit CReportMetaFileDC(IReportDC& attributeDC);

    // Ends the recording and hands over the page; the context records nothing
    // afterwards.
    std::unique_ptr<CReportMetaFile> Close();

    CFont* SelectObject(CFont* pFont) override;
    CSize GetTextExtent(const std::string& strText) override;
    int GetCharHeight() override;
    int GetDeviceCaps(int nIndex) override;
    void HIMETRICtoLP(CSize* pSize) override { m_attributeDC.HIMETRICtoLP(pSize); }
    void LPtoHIMETRIC(CSize* pSize) override { m_attributeDC.LPtoHIMETRIC(pSize); }

    UINT SetTextAlign(UINT nFlags) override;
    BOOL ExtTextOut(int x, int y, UINT nOptions, const RECT* pRect, const std::string& strText) override;
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) override;
    int SaveDC() override;
    BOOL RestoreDC(int nSavedDC) override;
    int IntersectClipRect(const RECT& rect) override;

private:
    IReportDC& m_attributeDC;
    std::unique_ptr<CReportMetaFile> m_pMetaFile;
    CFont* m_pFont = nullptr;
    UINT m_nTextAlign = TA_LEFT | TA_TOP;
    int m_nSaveLevel = 0;
};
