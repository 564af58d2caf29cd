#pragma once
// The record a print or preview job hands to each step of a report: the page
// being asked for, the page rectangle in the context's logical units, and
// the job's flags. A non-null user-data pointer marks a pass that only lays
// the page out and draws nothing on the printer.

#include "platform/base/WinGeometry.h"
#include "platform/base/WinTypes.h"

class CPrintInfo
{
public:
    void SetMinPage(UINT nPage) { m_nMinPage = nPage; }
    void SetMaxPage(UINT nPage) { m_nMaxPage = nPage; }
    UINT GetMinPage() const { return m_nMinPage; }
    UINT GetMaxPage() const { return m_nMaxPage; }

    BOOL m_bPreview = FALSE;
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    void* m_lpUserData = nullptr;
    RECT m_rectDraw;

private:
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 0xFFFF;
};
