#pragma once
// The report engine: three groups of lines (page header, page footer, body),
// paginated into pages of whole items, each page drawn with its header and
// footer. In a preview every page is recorded when it is drawn first and
// replayed when it is shown again. Derived reports choose what an item is.

#include "report/ReportGroup.h"
#include "report/ReportMetaFile.h"

#include <memory>
#include <vector>

class CPrintInfo;
class CReportMetaFileDC;
class IReportDC;
class IReportOwner;

class CReport
{
public:
    explicit CReport(IReportOwner* pOwner = nullptr);
    virtual ~CReport();
    CReport(const CReport&) = delete;
    CReport& operator=(const CReport&) = delete;

    CReportGroup* GetHeaderGroup() const { return m_pHeaderGroup.get(); }
    CReportGroup* GetFooterGroup() const { return m_pFooterGroup.get(); }
    CReportGroup* GetBodyGroup() const { return m_pBodyGroup.get(); }

    // The job's steps, in the order a print loop or a preview calls them.
    virtual BOOL PreparePrinting(CPrintInfo* pInfo);
    virtual void BeginPrinting(IReportDC& dc, CPrintInfo* pInfo);
    // Stops the print loop once the last item is on a page.
    virtual void PrepareDC(IReportDC& dc, CPrintInfo* pInfo);
    // Draws the page the print info names; pages before it that were never
    // laid out are laid out first, without drawing.
    virtual void Print(IReportDC& dc, CPrintInfo* pInfo);
    virtual void EndPrinting(IReportDC& dc, CPrintInfo* pInfo);

    // The pass over the items.
    virtual BOOL MoveFirst();
    virtual void Close();
    virtual BOOL MoveNext();
    virtual void PrepareItem();

    // Each narrows the print info's page rectangle by the group's height.
    virtual void PrintHeader(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo);
    virtual void PrintFooter(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo);
    virtual BOOL IsPageFull(IReportDC& dc, CPrintInfo* pInfo);
    virtual void PrintItem(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo, int y);
    // HIMETRIC.
    virtual int GetItemHeight(IReportDC& dc, CPrintInfo* pInfo);

    BOOL IsEnd() const { return m_bEnd; }
    void SetEnd(BOOL bEnd) { m_bEnd = bEnd; }
    UINT GetCurrentPage() const { return m_nCurPage; }
    // The number of items drawn on the page being laid out.
    int GetItemsOnPage() const { return m_nItemsOnPage; }
    // The recorded page n (1-based), null when it is not cached.
    const CReportMetaFile* GetCachedPage(UINT nPage) const;

protected:
    IReportOwner* GetOwner() const { return m_pOwner; }
    CPrintInfo* GetPrintInfo() const { return m_pInfo; }
    int GetY() const { return m_y; }

    // Each replaces (and deletes) the group held before.
    void SetHeaderGroup(std::unique_ptr<CReportGroup> pGroup);
    void SetFooterGroup(std::unique_ptr<CReportGroup> pGroup);
    void SetBodyGroup(std::unique_ptr<CReportGroup> pGroup);

private:
    void ClearPageCache();
    // Lays out (and, unless the print info says otherwise, draws) the items
    // of one page from the current item on.
    void PrintPageItems(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo);

    IReportOwner* m_pOwner;
    CPrintInfo* m_pInfo = nullptr;
    int m_y = 0;
    BOOL m_bEnd = FALSE;
    UINT m_nCurPage = 0;
    int m_nItemsOnPage = 0;
    std::unique_ptr<CReportMetaFileDC> m_pRecordDC;
    std::vector<std::unique_ptr<CReportMetaFile>> m_arrPageCache;
    std::unique_ptr<CReportGroup> m_pHeaderGroup;
    std::unique_ptr<CReportGroup> m_pFooterGroup;
    std::unique_ptr<CReportGroup> m_pBodyGroup;
};
