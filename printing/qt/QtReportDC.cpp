#include "printing/qt/QtReportDC.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QString>

#include <cstdlib>

namespace {

// The system font stands in when none is selected, as on a fresh context.
LOGFONT DefaultLogFont(QPaintDevice* pDevice)
{
    LOGFONT logFont;
    logFont.lfFaceName = "Arial";
    logFont.lfHeight = -(10 * pDevice->logicalDpiY() + 36) / 72;
    logFont.lfWeight = FW_NORMAL;
    return logFont;
}

}  // namespace

CQtReportDC::CQtReportDC(QPaintDevice* pDevice, QPainter* pPainter) : m_pDevice(pDevice), m_pPainter(pPainter)
{
}

CQtReportDC::~CQtReportDC() = default;

QFont CQtReportDC::MakeQFont(const LOGFONT& logFont)
{
    QFont font(QString::fromStdString(logFont.lfFaceName));
    font.setStyleHint(QFont::SansSerif);
    // A negative height is the character height, a positive one the cell
    // height; both are taken as the font's pixel size on the device.
    font.setPixelSize(std::max(1, std::abs(static_cast<int>(logFont.lfHeight))));
    font.setWeight(logFont.lfWeight >= 600 ? QFont::Bold : QFont::Normal);
    font.setItalic(logFont.lfItalic != 0);
    font.setUnderline(logFont.lfUnderline != 0);
    font.setStrikeOut(logFont.lfStrikeOut != 0);
    return font;
}

CQtReportDC::FontEntry& CQtReportDC::CurrentFont()
{
    const LOGFONT logFont =
        m_pFont && m_pFont->IsCreated() ? m_pFont->GetLogFontRef() : DefaultLogFont(m_pDevice);
    if (m_pCurrent && m_pCurrent->logFont == logFont)
        return *m_pCurrent;
    for (const auto& pEntry : m_arrFonts) {
        if (pEntry->logFont == logFont) {
            m_pCurrent = pEntry.get();
            return *m_pCurrent;
        }
    }
    QFont font = MakeQFont(logFont);
    auto pEntry = std::unique_ptr<FontEntry>(new FontEntry{logFont, font, QFontMetrics(font, m_pDevice), {}});
    m_pCurrent = pEntry.get();
    m_arrFonts.push_back(std::move(pEntry));
    return *m_pCurrent;
}

int CQtReportDC::TextWidth(FontEntry& entry, const QString& text)
{
    const auto it = entry.widths.constFind(text);
    if (it != entry.widths.constEnd())
        return it.value();
    const int nWidth = entry.metrics.horizontalAdvance(text);
    entry.widths.insert(text, nWidth);
    return nWidth;
}

bool CQtReportDC::CanDraw() const
{
    return m_pPainter != nullptr && m_pPainter->isActive();
}

CFont* CQtReportDC::SelectObject(CFont* pFont)
{
    CFont* pOld = m_pFont;
    m_pFont = pFont;
    return pOld;
}

CSize CQtReportDC::GetTextExtent(const std::string& strText)
{
    FontEntry& entry = CurrentFont();
    return CSize(TextWidth(entry, QString::fromStdString(strText)),
                 entry.metrics.ascent() + entry.metrics.descent());
}

int CQtReportDC::GetCharHeight()
{
    const FontEntry& entry = CurrentFont();
    return entry.metrics.ascent() + entry.metrics.descent();
}

int CQtReportDC::GetDeviceCaps(int nIndex)
{
    switch (nIndex) {
    case LOGPIXELSX:
        return m_pDevice->logicalDpiX();
    case LOGPIXELSY:
        return m_pDevice->logicalDpiY();
    case HORZRES:
        return m_pDevice->width();
    case VERTRES:
        return m_pDevice->height();
    default:
        return 0;
    }
}

UINT CQtReportDC::SetTextAlign(UINT nFlags)
{
    const UINT nOld = m_nTextAlign;
    m_nTextAlign = nFlags;
    return nOld;
}

BOOL CQtReportDC::ExtTextOut(int x, int y, UINT nOptions, const RECT* pRect, const std::string& strText)
{
    if (!CanDraw())
        return FALSE;
    FontEntry& entry = CurrentFont();
    const QString text = QString::fromStdString(strText);
    // Only a centred or right-aligned text needs its width: shaping the
    // text is the dearest part of drawing it.
    int xLeft = x;
    if ((m_nTextAlign & TA_HORZ_MASK) == TA_CENTER)
        xLeft = x - TextWidth(entry, text) / 2;
    else if ((m_nTextAlign & TA_HORZ_MASK) == TA_RIGHT)
        xLeft = x - TextWidth(entry, text);
    const int yBaseline = (m_nTextAlign & TA_VERT_MASK) == TA_BOTTOM ? y - entry.metrics.descent()
                                                                       : y + entry.metrics.ascent();
    const bool bClip = (nOptions & ETO_CLIPPED) && pRect != nullptr;
    if (bClip) {
        m_pPainter->save();
        m_pPainter->setClipRect(QRect(pRect->left, pRect->top, pRect->right - pRect->left, pRect->bottom - pRect->top),
                                Qt::IntersectClip);
    }
    if (m_pPainter->font() != entry.font)
        m_pPainter->setFont(entry.font);
    if (m_pPainter->pen().color() != Qt::black)
        m_pPainter->setPen(Qt::black);
    m_pPainter->drawText(QPoint(xLeft, yBaseline), text);
    if (bClip)
        m_pPainter->restore();
    return TRUE;
}

BOOL CQtReportDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop)
{
    if (!CanDraw() || dwRop != BLACKNESS)
        return FALSE;
    if (nWidth == 1 || nHeight == 1) {
        // A bar one unit thick is the thinnest line the output can show; a
        // cosmetic pen keeps it visible in the scaled-down preview and in a
        // PDF file viewed at any size.
        m_pPainter->save();
        m_pPainter->setPen(QPen(Qt::black, 0));
        if (nHeight == 1)
            m_pPainter->drawLine(x, y, x + nWidth - 1, y);
        else
            m_pPainter->drawLine(x, y, x, y + nHeight - 1);
        m_pPainter->restore();
        return TRUE;
    }
    m_pPainter->fillRect(QRect(x, y, nWidth, nHeight), Qt::black);
    return TRUE;
}

int CQtReportDC::SaveDC()
{
    if (!CanDraw())
        return 0;
    m_pPainter->save();
    return ++m_nSaveLevel;
}

BOOL CQtReportDC::RestoreDC(int nSavedDC)
{
    if (nSavedDC < 0)
        nSavedDC = m_nSaveLevel + 1 + nSavedDC;
    if (!CanDraw() || nSavedDC <= 0 || nSavedDC > m_nSaveLevel)
        return FALSE;
    while (m_nSaveLevel >= nSavedDC) {
        m_pPainter->restore();
        --m_nSaveLevel;
    }
    return TRUE;
}

int CQtReportDC::IntersectClipRect(const RECT& rect)
{
    if (!CanDraw())
        return 0;
    m_pPainter->setClipRect(QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top),
                            Qt::IntersectClip);
    return 1;
}
