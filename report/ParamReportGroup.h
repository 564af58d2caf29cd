#pragma once
// The body group of the parameter report; a report group without change.

#include "report/ReportGroup.h"

class CParamReportGroup : public CReportGroup
{
public:
    using CReportGroup::CReportGroup;
};
