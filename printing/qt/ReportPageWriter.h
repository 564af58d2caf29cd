#pragma once
// Runs a report's print job on a paged device (a printer or a PDF file):
// the report is begun with the device's page rectangle, each page it draws
// becomes one page of the device, and the job is ended in every case.

#include "platform/base/WinTypes.h"

class CPrintInfo;
class CReport;
class QPagedPaintDevice;

class CReportPageWriter
{
public:
    // Pages nFirst to nLast (0xFFFF: until the report ends; a last page
    // before the first runs backwards). The number of pages written, -1 when
    // the document could not be started or a page could not be begun.
    static int Print(CReport& report, QPagedPaintDevice& device, CPrintInfo& info, UINT nFirst = 1,
                     UINT nLast = 0xFFFF);
};
