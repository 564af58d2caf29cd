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
    // What Print gives when the document could not be started (the device
    // untouched), or when a page could not be begun (the job broken off).
    static constexpr int kNotStarted = -1;
    static constexpr int kBrokenOff = -2;

    // Pages nFirst to nLast (0xFFFF: until the report ends; a last page
    // before the first runs backwards). The number of pages written, or one
    // of the two failures above.
    static int Print(CReport& report, QPagedPaintDevice& device, CPrintInfo& info, UINT nFirst = 1,
                     UINT nLast = 0xFFFF);
};
