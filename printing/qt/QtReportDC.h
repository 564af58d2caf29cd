#pragma once
// The report's drawing context on a Qt paint device: a printer, a PDF file,
// an image or a preview page. Logical units are the device's pixels, and
// text is measured with the device's own font metrics, so that a page lays
// out alike on every device of the same resolution.

#include "report/ReportDC.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QString>

#include <memory>
#include <vector>

class QPaintDevice;
class QPainter;

class CQtReportDC : public IReportDC
{
public:
    // Measures on the device; draws with the painter while it is active.
    CQtReportDC(QPaintDevice* pDevice, QPainter* pPainter);
    ~CQtReportDC() override;

    CFont* SelectObject(CFont* pFont) override;
    CSize GetTextExtent(const std::string& strText) override;
    int GetCharHeight() override;
    int GetDeviceCaps(int nIndex) override;

    UINT SetTextAlign(UINT nFlags) override;
    BOOL ExtTextOut(int x, int y, UINT nOptions, const RECT* pRect, const std::string& strText) override;
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) override;
    int SaveDC() override;
    BOOL RestoreDC(int nSavedDC) override;
    int IntersectClipRect(const RECT& rect) override;

    // The Qt font the record stands for on this device.
    static QFont MakeQFont(const LOGFONT& logFont);

private:
    struct FontEntry
    {
        LOGFONT logFont;
        QFont font;
        QFontMetrics metrics;
        // Widths of texts measured before: reports repeat their texts.
        QHash<QString, int> widths;
    };
    // The selected font's entry, made once per font record.
    FontEntry& CurrentFont();
    bool CanDraw() const;
    static int TextWidth(FontEntry& entry, const QString& text);

    QPaintDevice* m_pDevice;
    QPainter* m_pPainter;
    CFont* m_pFont = nullptr;
    UINT m_nTextAlign = TA_LEFT | TA_TOP;
    int m_nSaveLevel = 0;
    std::vector<std::unique_ptr<FontEntry>> m_arrFonts;
    FontEntry* m_pCurrent = nullptr;
};
