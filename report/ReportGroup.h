#pragma once
// An ordered group of report lines (page header, page footer or body). The
// group owns its lines: a line appends itself when it is created and is
// deleted with the group.

#include "platform/base/WinTypes.h"

#include <memory>
#include <vector>

class CPrintInfo;
class CReport;
class CReportLine;
class IReportDC;

class CReportGroup
{
public:
    explicit CReportGroup(CReport* pReport = nullptr);
    virtual ~CReportGroup();
    CReportGroup(const CReportGroup&) = delete;
    CReportGroup& operator=(const CReportGroup&) = delete;

    CReport* GetReport() const { return m_pReport; }

    // Appends the line and takes ownership of it.
    void Add(CReportLine* pLine);
    int GetCount() const { return static_cast<int>(m_arrLines.size()); }
    // The line at the index, null outside the group.
    CReportLine* GetAt(int nIndex) const;

    // The sum of the lines' heights, HIMETRIC.
    int GetHeight(IReportDC& dc);
    // The lines top-down from y, each below the one before (logical units).
    void Draw(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo, int y);

private:
    CReport* m_pReport;
    std::vector<std::unique_ptr<CReportLine>> m_arrLines;
};
