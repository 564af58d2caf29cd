#pragma once
// One row of a report: positioned cells and border flags. A line appends
// itself to its group when it is created, and the group owns it; the line in
// turn owns its cells.

#include "platform/base/WinTypes.h"

#include <memory>
#include <vector>

class CPrintInfo;
class CReportCell;
class CReportGroup;
class IReportDC;

// Line flags.
constexpr UINT RLF_BORDER_TOP = 0x001;
constexpr UINT RLF_BORDER_BOTTOM = 0x002;
constexpr UINT RLF_BORDER_LEFT = 0x004;   // along the page rectangle's left edge
constexpr UINT RLF_BORDER_RIGHT = 0x008;  // along the page rectangle's right edge
constexpr UINT RLF_BORDERS = 0x00F;
constexpr UINT RLF_PAGE_BREAK = 0x400;    // start a new page before this line

class CReportLine
{
public:
    // nMinHeight in HIMETRIC. With a group, the line is appended to it and
    // belongs to it; create lines with new.
    CReportLine(CReportGroup* pGroup, UINT nFlags, int nMinHeight);
    virtual ~CReportLine();
    CReportLine(const CReportLine&) = delete;
    CReportLine& operator=(const CReportLine&) = delete;

    // Appends the cell and takes ownership of it.
    void AddCell(CReportCell* pCell);
    int GetCellCount() const { return static_cast<int>(m_listCells.size()); }
    CReportCell* GetCell(int nIndex) const;

    UINT GetFlags() const { return m_nFlags; }
    int GetMinHeight() const { return m_nMinHeight; }
    CReportGroup* GetGroup() const { return m_pGroup; }

    // The larger of the minimum height and the tallest cell, HIMETRIC.
    virtual int GetHeight(IReportDC& dc);
    // The cells at y (logical units), then the borders of the flags: black
    // bars one device unit thick across the page rectangle.
    virtual void Draw(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo, int y);

protected:
    UINT m_nFlags;
    int m_nMinHeight;
    CReportGroup* m_pGroup;
    std::vector<std::unique_ptr<CReportCell>> m_listCells;
};
