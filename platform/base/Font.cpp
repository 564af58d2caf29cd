#include "platform/base/Font.h"

BOOL CFont::CreateFontIndirect(const LOGFONT* pLogFont)
{
    if (m_bCreated || !pLogFont)
        return FALSE;
    m_logFont = *pLogFont;
    m_bCreated = true;
    return TRUE;
}

BOOL CFont::DeleteObject()
{
    if (!m_bCreated)
        return FALSE;
    m_logFont = LOGFONT();
    m_bCreated = false;
    return TRUE;
}

int CFont::GetLogFont(LOGFONT* pLogFont) const
{
    if (!m_bCreated || !pLogFont)
        return 0;
    *pLogFont = m_logFont;
    return 1;
}
