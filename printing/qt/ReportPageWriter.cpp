#include "printing/qt/ReportPageWriter.h"

#include "platform/base/PrintInfo.h"
#include "report/Report.h"
#include "printing/qt/QtReportDC.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

int CReportPageWriter::Print(CReport& report, QPagedPaintDevice& device, CPrintInfo& info, UINT nFirst, UINT nLast)
{
    QPainter painter;
    CQtReportDC dc(&device, &painter);
    info.m_rectDraw = dc.GetPrintablePageRect();
    report.BeginPrinting(dc, &info);

    if (!painter.begin(&device)) {
        report.EndPrinting(dc, &info);
        return kNotStarted;
    }
    nFirst = std::clamp(nFirst, info.GetMinPage(), info.GetMaxPage());
    nLast = std::clamp(nLast, info.GetMinPage(), info.GetMaxPage());
    const int nStep = nLast >= nFirst ? 1 : -1;
    const bool bToEnd = nLast == 0xFFFF;
    const UINT nEndMark = nLast + static_cast<UINT>(nStep);

    int nPages = 0;
    bool bAborted = false;
    for (info.m_nCurPage = nFirst; bToEnd || info.m_nCurPage != nEndMark;
         info.m_nCurPage += static_cast<UINT>(nStep)) {
        report.PrepareDC(dc, &info);
        if (!info.m_bContinuePrinting)
            break;
        info.m_rectDraw = dc.GetPrintablePageRect();
        if (nPages > 0 && !device.newPage()) {
            bAborted = true;
            break;
        }
        report.Print(dc, &info);
        ++nPages;
        if (bToEnd && info.m_nCurPage == 0xFFFF)
            break;
    }
    // A job that broke off is dropped, not handed to the printer as done.
    if (bAborted) {
        if (auto* pPrinter = dynamic_cast<QPrinter*>(&device))
            pPrinter->abort();
    }
    painter.end();
    report.EndPrinting(dc, &info);
    return bAborted ? kBrokenOff : nPages;
}
