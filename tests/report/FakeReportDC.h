#pragma once
// A report drawing context with fixed metrics for tests: every character is
// half as wide as the selected font is high (|lfHeight|, 20 without a font),
// and by default 254 logical units per inch make one logical unit exactly
// 10 HIMETRIC.

#include "platform/base/Cp1252.h"
#include "report/ReportDC.h"

#include <cstdlib>
#include <string>

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
        return 0;
    }

    int CharWidth() { return GetCharHeight() / 2; }
    CFont* GetSelectedFont() const { return m_pFont; }
    int GetSelectCount() const { return m_nSelectCount; }

private:
    int m_nPixelsPerInchX;
    int m_nPixelsPerInchY;
    CFont* m_pFont = nullptr;
    int m_nSelectCount = 0;
};
