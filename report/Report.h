#pragma once
// The report engine's object: the three groups of a report (page header,
// page footer, body), each owned and each possibly absent. Pagination and
// drawing build on these.

#include "report/ReportGroup.h"

#include <memory>

class CReport
{
public:
    CReport();
    virtual ~CReport();
    CReport(const CReport&) = delete;
    CReport& operator=(const CReport&) = delete;

    CReportGroup* GetHeaderGroup() const { return m_pHeaderGroup.get(); }
    CReportGroup* GetFooterGroup() const { return m_pFooterGroup.get(); }
    CReportGroup* GetBodyGroup() const { return m_pBodyGroup.get(); }

protected:
    // Each replaces (and deletes) the group held before.
    void SetHeaderGroup(std::unique_ptr<CReportGroup> pGroup);
    void SetFooterGroup(std::unique_ptr<CReportGroup> pGroup);
    void SetBodyGroup(std::unique_ptr<CReportGroup> pGroup);

private:
    std::unique_ptr<CReportGroup> m_pHeaderGroup;
    std::unique_ptr<CReportGroup> m_pFooterGroup;
    std::unique_ptr<CReportGroup> m_pBodyGroup;
};
