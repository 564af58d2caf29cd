#include "report/ReportMetaFileDC.h"

#include "report/ReportFontSelection.h"

CReportMetaFileDC::CReportMetaFileDC(IReportDC& attributeDC)
    : m_attributeDC(attributeDC), m_pMetaFile(std::make_unique<CReportMetaFile>())
{
}

std::unique_ptr<CReportMetaFile> CReportMetaFileDC::Close()
{
    return std::move(m_pMetaFile);
}

CFont* CReportMetaFileDC::SelectObject(CFont* pFont)
{
    CFont* pOld = m_pFont;
    m_pFont = pFont;
    if (m_pMetaFile) {
        CReportMetaFile::Record record;
        record.op = CReportMetaFile::Op::SelectFont;
        record.nValue = static_cast<UINT>(m_pMetaFile->AddFont(pFont));
        m_pMetaFile->Add(std::move(record));
    }
    return pOld;
}

CSize CReportMetaFileDC::GetTextExtent(const std::string& strText)
{
    CReportFontSelection selection(m_attributeDC, m_pFont);
    return m_attributeDC.GetTextExtent(strText);
}

int CReportMetaFileDC::GetCharHeight()
{
    CReportFontSelection selection(m_attributeDC, m_pFont);
    return m_attributeDC.GetCharHeight();
}

int CReportMetaFileDC::GetDeviceCaps(int nIndex)
{
    return m_attributeDC.GetDeviceCaps(nIndex);
}

UINT CReportMetaFileDC::SetTextAlign(UINT nFlags)
{
    const UINT nOld = m_nTextAlign;
    m_nTextAlign = nFlags;
    if (m_pMetaFile) {
        CReportMetaFile::Record record;
        record.op = CReportMetaFile::Op::SetTextAlign;
        record.nValue = nFlags;
        m_pMetaFile->Add(std::move(record));
    }
    return nOld;
}

BOOL CReportMetaFileDC::ExtTextOut(int x, int y, UINT nOptions, const RECT* pRect, const std::string& strText)
{
    if (!m_pMetaFile)
        return FALSE;
    CReportMetaFile::Record record;
    record.op = CReportMetaFile::Op::ExtTextOut;
    record.x = x;
    record.y = y;
    record.nValue = nOptions;
    if (pRect) {
        record.bHasRect = true;
        record.rect = *pRect;
    }
    record.strText = strText;
    m_pMetaFile->Add(std::move(record));
    return TRUE;
}

BOOL CReportMetaFileDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop)
{
    if (!m_pMetaFile)
        return FALSE;
    CReportMetaFile::Record record;
    record.op = CReportMetaFile::Op::PatBlt;
    record.x = x;
    record.y = y;
    record.cx = nWidth;
    record.cy = nHeight;
    record.nValue = dwRop;
    m_pMetaFile->Add(std::move(record));
    return TRUE;
}

int CReportMetaFileDC::SaveDC()
{
    if (!m_pMetaFile)
        return 0;
    CReportMetaFile::Record record;
    record.op = CReportMetaFile::Op::SaveDC;
    m_pMetaFile->Add(std::move(record));
    return ++m_nSaveLevel;
}

BOOL CReportMetaFileDC::RestoreDC(int nSavedDC)
{
    // A negative level counts back from the latest save, -1 being it.
    if (nSavedDC < 0)
        nSavedDC = m_nSaveLevel + 1 + nSavedDC;
    if (!m_pMetaFile || nSavedDC <= 0 || nSavedDC > m_nSaveLevel)
        return FALSE;
    // Each level saved above the one asked for is restored in turn.
    while (m_nSaveLevel >= nSavedDC) {
        CReportMetaFile::Record record;
        record.op = CReportMetaFile::Op::RestoreDC;
        m_pMetaFile->Add(std::move(record));
        --m_nSaveLevel;
    }
    return TRUE;
}

int CReportMetaFileDC::IntersectClipRect(const RECT& rect)
{
    if (!m_pMetaFile)
        return 0;
    CReportMetaFile::Record record;
    record.op = CReportMetaFile::Op::IntersectClipRect;
    record.rect = rect;
    m_pMetaFile->Add(std::move(record));
    return 1;
}
