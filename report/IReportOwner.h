#pragma once
// The view that prints a report, as the report sees it: it runs the print
// dialog when a print job is prepared.

#include "platform/base/WinTypes.h"

class CPrintInfo;

class IReportOwner
{
public:
    virtual ~IReportOwner() = default;

    // The print dialog unless the job is a preview; FALSE cancels the job.
    virtual BOOL DoPreparePrinting(CPrintInfo* pInfo) = 0;
};
