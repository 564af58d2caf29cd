#include "report/Report.h"

#include "report/ReportLine.h"

#include <utility>

CReport::CReport() = default;

CReport::~CReport() = default;

void CReport::SetHeaderGroup(std::unique_ptr<CReportGroup> pGroup)
{
    m_pHeaderGroup = std::move(pGroup);
}

void CReport::SetFooterGroup(std::unique_ptr<CReportGroup> pGroup)
{
    m_pFooterGroup = std::move(pGroup);
}

void CReport::SetBodyGroup(std::unique_ptr<CReportGroup> pGroup)
{
    m_pBodyGroup = std::move(pGroup);
}
