#pragma once
// A report drawing context with fixed metrics for tests: every character is
// half as wide as the selected font is high (|lfHeight|, 20 without a font),
// and by default 254 logical units per inch make one logical unit exactly
// 10 HIMETRIC. The page is A4-sized less nothing (2100 x 2970 units at 254
// per inch). What is drawn is kept as text lines, one per call.

#include "platform/base/Cp1252.h"
#include "report/ReportDC.h"

#include <cstdlib>
#include <string>
#include <vector>

class CFakeReportDC : public IReportDC
{
public:
    explicit CFakeReportDC(int nPixelsPerInch = 254) : m_nPixelsPerInchX(nPixelsPerInch), m_nPixelsPerInchY(nPixelsPerInch) {}
    CFakeReportDC(int nPixelsPerInchX, int nPixelsPerInchY)
        : m_nPixelsPerInchX(nPixelsPerInchX), m_nPixelsPerInchY(nPixelsPerInchY)
    {
    }

    CFont* SelectObject(CFont* pFont) override
    {
        CFont* pOld = m_pFont;
        m_pFont = pFont;
        ++m_nSelectCount;
        return pOld;
    }

    CSize GetTextExtent(const std::string& strText) override
    {
        LONG nChars = 0;
        for (std::size_t pos = 0; pos < strText.size(); ++nChars)
            platform::DecodeUtf8(strText, pos);
        return CSize(nChars * CharWidth(), GetCharHeight());
    }

    int GetCharHeight() override
    {
        if (!m_pFont || m_pFont->GetLogFontRef().lfHeight == 0)
            return 20;
        return std::abs(static_cast<int>(m_pFont->GetLogFontRef().lfHeight));
    }

    int GetDeviceCaps(int nIndex) override
    {
        if (nIndex == LOGPIXELSX)
            return m_nPixelsPerInchX;
        if (nIndex == LOGPIXELSY)
            return m_nPixelsPerInchY;
        if (nIndex == HORZRES)
            return m_nPageWidth;
        if (nIndex == VERTRES)
            return m_nPageHeight;
        return 0;
    }

    UINT SetTextAlign(UINT nFlags) override
    {
        const UINT nOld = m_nAlign;
        m_nAlign = nFlags;
        return nOld;
    }

    BOOL ExtTextOut(int x, int y, UINT nOptions, const RECT* pRect, const std::string& strText) override
    {
        std::string strOp = "text " + std::to_string(x) + "," + std::to_string(y) + " a" + std::to_string(m_nAlign);
        if ((nOptions & ETO_CLIPPED) && pRect)
            strOp += " clip " + std::to_string(pRect->left) + "," + std::to_string(pRect->top) + "," +
                     std::to_string(pRect->right) + "," + std::to_string(pRect->bottom);
        strOp += " h" + std::to_string(GetCharHeight()) + " '" + strText + "'";
        m_arrOps.push_back(strOp);
        return TRUE;
    }

    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD /*dwRop*/) override
    {
        m_arrOps.push_back("bar " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(nWidth) + "x" +
                           std::to_string(nHeight));
        return TRUE;
    }

    int SaveDC() override
    {
        m_arrOps.push_back("save");
        return ++m_nSaveLevel;
    }

    BOOL RestoreDC(int nSavedDC) override
    {
        if (nSavedDC < 0)
            nSavedDC = m_nSaveLevel + 1 + nSavedDC;
        if (nSavedDC <= 0 || nSavedDC > m_nSaveLevel)
            return FALSE;
        m_nSaveLevel = nSavedDC - 1;
        m_arrOps.push_back("restore");
        return TRUE;
    }

    int IntersectClipRect(const RECT& rect) override
    {
        m_arrOps.push_back("cliprect " + std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
                           std::to_string(rect.right) + "," + std::to_string(rect.bottom));
        return 1;
    }

    void SetPageSize(int nWidth, int nHeight)
    {
        m_nPageWidth = nWidth;
        m_nPageHeight = nHeight;
    }
    const std::vector<std::string>& GetOps() const { return m_arrOps; }
    void ClearOps() { m_arrOps.clear(); }
    int GetSaveLevel() const { return m_nSaveLevel; }

    int CharWidth() { return GetCharHeight() / 2; }
    CFont* GetSelectedFont() const { return m_pFont; }
    int GetSelectCount() const { return m_nSelectCount; }

private:
    int m_nPixelsPerInchX;
    int m_nPixelsPerInchY;
    CFont* m_pFont = nullptr;
    int m_nSelectCount = 0;
    int m_nPageWidth = 2100;
    int m_nPageHeight = 2970;
    UINT m_nAlign = 0;
    int m_nSaveLevel = 0;
    std::vector<std::string> m_arrOps;
};
