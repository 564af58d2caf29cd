#include "printing/view/ParamReportView.h"

#include "app/Chronoset.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/PathUtil.h"
#include "platform/base/PrintInfo.h"
#include "platform/ui/PrintDialogService.h"
#include "report/ParamReport.h"
#include "printing/qt/QtReportDC.h"
#include "printing/qt/ReportPageWriter.h"
#include "printing/view/PreviewToolBar.h"
#include "printing/view/PreviewView.h"
#include "printing/view/PrintSelectionDlg.h"
#include "ui/ParameterDlg.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <string_view>

namespace {

constexpr std::string_view kPdfSuffix = ".pdf";

// The document's name as the name of a PDF file: it may hold a '/'
// ("ORV/X2.1") that must not lead into folders.
std::string PdfFileName(const std::string& strDocument) {
    return platform::MakeFileName(strDocument.empty() ? "Tavik" : strDocument, NAME_MAX - kPdfSuffix.size()) +
           std::string(kPdfSuffix);
}

// Without a system printer every job goes to a PDF file: beside the open
// data file, else in the home folder under the document's name.
void UsePdfWhenNoPrinter(QPrinter& printer, const std::string& strDocument) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
        return;
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    std::string strPath;
    if (g_pChronoset != nullptr && !g_pChronoset->GetFilePath().empty()) {
        strPath = g_pChronoset->GetFilePath();
        const std::size_t nDot = strPath.find_last_of('.');
        const std::size_t nSlash = strPath.find_last_of('/');
        if (nDot != std::string::npos && (nSlash == std::string::npos || nDot > nSlash)) {
            strPath.erase(nDot);
        }
        strPath += kPdfSuffix;
    } else {
        strPath = platform::PathJoinSlash(QDir::homePath().toStdString(), PdfFileName(strDocument));
    }
    printer.setOutputFileName(QString::fromStdString(strPath));
}

// Qt ends a PDF file without telling whether its bytes reached the disk: a
// full disk leaves it cut short, without the end mark it writes last. A
// file that is there but that this user may not read is not judged.
bool IsCutShortPdf(const QString& strFile) {
    QFile file(strFile);
    constexpr qint64 kTail = 64;
    if (!file.open(QIODevice::ReadOnly)) {
        return !file.exists();
    }
    return !file.seek(std::max<qint64>(0, file.size() - kTail)) || !file.read(kTail).contains("%%EOF");
}

}  // namespace

CParamReportView::CParamReportView(CParameterDlg* pMainWindow)
    : m_pMainWindow(pMainWindow), m_pPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    UsePdfWhenNoPrinter(*m_pPrinter, GetDocumentName());
}

CParamReportView::~CParamReportView() {
    if (HasWindow()) {
        EndPreview();
    }
    m_pReport.reset();
    g_bPrintPreviewActive = false;
}

std::string CParamReportView::GetDocumentName() const {
    if (g_pChronoset == nullptr) {
        return std::string();
    }
    return g_pChronoset->GetProductText() + " - " + g_pChronoset->GetApplicationText();
}

BOOL CParamReportView::DoPreparePrinting(CPrintInfo* pInfo) {
    if (pInfo->m_bPreview) {
        return TRUE;
    }
    platform::ui::PrintDialogRequest request;
    request.bSelectionEnabled = GetPrintSelection() == PRINT_SELECTION_CHOSEN;
    request.bSelection = request.bSelectionEnabled;
    // With a system printer Qt's dialog names the PDF file it offers after
    // the printer's document, cut at its last '.': the document's name as a
    // file name there; the job takes its own name again (OnFilePrint).
    if (m_pPrinter->outputFileName().isEmpty()) {
        m_pPrinter->setDocName(QString::fromStdString(PdfFileName(GetDocumentName())));
    }
    QWidget* pParent = m_pMainWindow != nullptr ? static_cast<QWidget*>(m_pMainWindow) : nullptr;
    return platform::ui::GetPrintDialogService().RunPrintDialog(*m_pPrinter, request, pParent) ? TRUE : FALSE;
}

BOOL CParamReportView::OnPreparePrinting(CPrintInfo* pInfo) {
    if (pInfo == nullptr || m_pReport) {
        return FALSE;
    }
    m_pReport = std::make_unique<CParamReport>(this);
    pInfo->SetMinPage(1);
    pInfo->SetMaxPage(0xFFFF);
    if (!m_pReport->PreparePrinting(pInfo)) {
        m_pReport.reset();
        return FALSE;
    }
    return TRUE;
}

void CParamReportView::OnEndPrinting(IReportDC& dc, CPrintInfo* pInfo) {
    if (m_pReport) {
        m_pReport->EndPrinting(dc, pInfo);
    }
    m_pReport.reset();
}

void CParamReportView::OnFilePrint() {
    CPrintInfo info;
    if (!OnPreparePrinting(&info)) {
        return;
    }
    m_pPrinter->setDocName(QString::fromStdString(GetDocumentName()));
    // The page writer begins the report on the printer, prints every page
    // until the report ends and ends the job in every case, also when the
    // document cannot start, so that the next job can begin.
    const int nResult = CReportPageWriter::Print(*m_pReport, *m_pPrinter, info);
    m_pReport.reset();
    // A printer that cannot start a job says nothing; a PDF file that
    // cannot be written is said, with the system's reason.
    const QString strFile = m_pPrinter->outputFileName();
    if (m_pPrinter->outputFormat() != QPrinter::PdfFormat || strFile.isEmpty()) {
        return;
    }
    int nErrno = 0;
    if (nResult == CReportPageWriter::kNotStarted) {
        nErrno = platform::WhyNotWritable(strFile.toStdString());
        nErrno = nErrno != 0 ? nErrno : EIO;
    } else if (IsCutShortPdf(strFile)) {
        // Cut short: no reader must take it for the report.
        nErrno = platform::WhyWriteStoppedShort(strFile.toStdString());
        QFile::remove(strFile);
    }
    if (nErrno != 0) {
        const std::string strText = platform::ui::DescribeUnwritablePrintFile(strFile, nErrno).toStdString();
        CMessageBox box(g_bStandalone);
        box.ShowError(m_pMainWindow != nullptr ? m_pMainWindow->GetSafeHwnd() : nullptr, strText.c_str(), "");
    }
}

void CParamReportView::OnFilePrintSetup() {
    QWidget* pParent = m_pMainWindow != nullptr ? static_cast<QWidget*>(m_pMainWindow) : nullptr;
    platform::ui::GetPrintDialogService().RunPrintSetupDialog(*m_pPrinter, pParent);
}

int CParamReportView::RunPrintSelection(CParameterDlg* pParent) {
    CPrintSelectionDlg dialog(this, pParent);
    return dialog.DoModal();
}

bool CParamReportView::HasWindow() const {
    return m_pPreviewView != nullptr;
}

void CParamReportView::OnPreviewPrint() {
    if (HasWindow()) {
        OnPreviewClose();
    }
    OnFilePrint();
}

bool CParamReportView::DoPrintPreview(UINT nIDPreviewToolBar, QWidget* pParent) {
    if (pParent == nullptr || HasWindow()) {
        return false;
    }
    m_pFrame = pParent;
    m_pFocusBefore = pParent->window()->focusWidget();
    // The frame's panes give way to the preview.
    m_arrHiddenPanes.clear();
    for (QObject* pChild : pParent->children()) {
        auto* pWidget = qobject_cast<QWidget*>(pChild);
        if (pWidget != nullptr && !pWidget->isWindow() && pWidget->isVisible()) {
            m_arrHiddenPanes.emplace_back(pWidget);
            pWidget->hide();
        }
    }
    m_pToolBar = new CPreviewToolBar(nIDPreviewToolBar, this);
    if (!m_pToolBar->CreateBar(pParent)) {
        LOG_ERROR("Couldnt create preview toolbar");
        delete m_pToolBar;
        EndPreview();
        return false;
    }
    m_pPreviewView = new CPreviewView(this);
    m_pPreviewView->AttachToFrame(pParent, m_pToolBar);

    m_pPreviewInfo = std::make_unique<CPrintInfo>();
    m_pPreviewInfo->m_bPreview = TRUE;
    if (!OnPreparePrinting(m_pPreviewInfo.get())) {
        LOG_WARNING("Couldnt initialize print preview (no printer?)");
        OnPreviewClose();
        return false;
    }
    QPainter painter;
    CQtReportDC dc(m_pPrinter.get(), &painter);
    m_pPreviewInfo->m_rectDraw = dc.GetPrintablePageRect();
    m_pReport->BeginPrinting(dc, m_pPreviewInfo.get());
    m_nLastPage = 0;
    m_pPreviewView->SetCurrentPage(1);
    m_pPreviewView->setFocus();
    UpdatePreviewBar();
    return true;
}

void CParamReportView::EndPreview() {
    // The close may come from a key or a click inside the bar or the view,
    // so both go once that event is done with them.
    if (m_pPreviewView != nullptr && m_pFrame != nullptr) {
        m_pFrame->removeEventFilter(m_pPreviewView);
    }
    for (QWidget* pWidget : {static_cast<QWidget*>(m_pPreviewView), static_cast<QWidget*>(m_pToolBar)}) {
        if (pWidget != nullptr) {
            pWidget->hide();
            pWidget->deleteLater();
        }
    }
    m_pPreviewView = nullptr;
    m_pToolBar = nullptr;
    for (const QPointer<QWidget>& pPane : m_arrHiddenPanes) {
        if (pPane != nullptr) {
            pPane->show();
        }
    }
    m_arrHiddenPanes.clear();
    if (m_pFrame != nullptr) {
        RestoreFocus();
        m_pFrame->update();
    }
    m_pFrame = nullptr;
    m_pFocusBefore = nullptr;
    m_pPreviewInfo.reset();
}

void CParamReportView::RestoreFocus() {
    QWidget* pFocus = m_pFocusBefore;
    const auto takesFocus = [](const QWidget* pWidget) {
        return pWidget->isVisible() && pWidget->isEnabled() && (pWidget->focusPolicy() & Qt::TabFocus) != 0;
    };
    if (pFocus == nullptr || !takesFocus(pFocus)) {
        pFocus = nullptr;
        for (QWidget* pNext = m_pFrame->nextInFocusChain(); pNext != m_pFrame; pNext = pNext->nextInFocusChain()) {
            if (m_pFrame->isAncestorOf(pNext) && takesFocus(pNext)) {
                pFocus = pNext;
                break;
            }
        }
    }
    if (pFocus != nullptr) {
        pFocus->setFocus(Qt::OtherFocusReason);
    }
}

void CParamReportView::OnPreviewClose() {
    if (m_pReport && m_pPreviewInfo) {
        QPainter painter;
        CQtReportDC dc(m_pPrinter.get(), &painter);
        OnEndPrinting(dc, m_pPreviewInfo.get());
    }
    m_pReport.reset();
    EndPreview();
    if (m_pMainWindow != nullptr) {
        m_pMainWindow->GetStatusBar().SetPaneText(0, GetResString(57345, "Bereit"));
    }
    g_bPrintPreviewActive = false;
}

void CParamReportView::DestroyWindow() {
    if (HasWindow()) {
        OnPreviewClose();
    }
}

int CParamReportView::GetPagesShown() const {
    return m_pPreviewView != nullptr ? m_pPreviewView->GetPagesShown() : 0;
}

UINT CParamReportView::GetCurrentPage() const {
    return m_pPreviewView != nullptr ? m_pPreviewView->GetCurrentPage() : 0;
}

bool CParamReportView::IsPageInReport(UINT nPage) const {
    return m_nLastPage == 0 || nPage <= m_nLastPage;
}

bool CParamReportView::CanGoNext() const {
    return HasWindow() && IsPageInReport(GetCurrentPage() + static_cast<UINT>(GetPagesShown()));
}

bool CParamReportView::CanGoPrev() const {
    return HasWindow() && GetCurrentPage() > 1;
}

bool CParamReportView::CanShowTwoPages() const {
    return HasWindow() && m_pPreviewView->GetZoom() == CPreviewView::kZoomOut && m_nLastPage != 1;
}

bool CParamReportView::CanZoomIn() const {
    return HasWindow() && m_pPreviewView->GetZoom() < CPreviewView::kZoomIn;
}

bool CParamReportView::CanZoomOut() const {
    return HasWindow() && m_pPreviewView->GetZoom() > CPreviewView::kZoomOut;
}

void CParamReportView::OnNextPage() {
    if (CanGoNext()) {
        m_pPreviewView->SetCurrentPage(GetCurrentPage() + 1);
    }
    UpdatePreviewBar();
}

void CParamReportView::OnPrevPage() {
    if (CanGoPrev()) {
        m_pPreviewView->SetCurrentPage(GetCurrentPage() - 1);
    }
    UpdatePreviewBar();
}

void CParamReportView::OnNumPageChange() {
    if (CanShowTwoPages()) {
        m_pPreviewView->SetPages(m_pPreviewView->GetPagesShown() == 1 ? 2 : 1);
    }
    UpdatePreviewBar();
}

void CParamReportView::OnZoomIn() {
    if (CanZoomIn()) {
        m_pPreviewView->SetZoom(m_pPreviewView->GetZoom() + 1);
    }
    UpdatePreviewBar();
}

void CParamReportView::OnZoomOut() {
    if (CanZoomOut()) {
        m_pPreviewView->SetZoom(m_pPreviewView->GetZoom() - 1);
    }
    UpdatePreviewBar();
}

void CParamReportView::OnZoomAt(const QPoint& pt) {
    if (!HasWindow()) {
        return;
    }
    const int nZoom = m_pPreviewView->GetZoom();
    m_pPreviewView->SetZoom(nZoom == CPreviewView::kZoomIn ? CPreviewView::kZoomOut : nZoom + 1, pt);
    UpdatePreviewBar();
}

bool CParamReportView::DrawPreviewPage(QPainter& painter, UINT nPage) {
    if (!m_pReport || !m_pPreviewInfo) {
        return false;
    }
    CQtReportDC dc(m_pPrinter.get(), &painter);
    CPrintInfo& info = *m_pPreviewInfo;
    info.m_nCurPage = nPage;
    info.m_rectDraw = dc.GetPrintablePageRect();
    m_pReport->PrepareDC(dc, &info);
    m_pReport->Print(dc, &info);
    if (m_pReport->IsEnd() && (m_nLastPage == 0 || nPage < m_nLastPage)) {
        // The report ended on this page: it is the preview's last one.
        m_nLastPage = nPage;
        m_pReport->SetEnd(FALSE);
        UpdatePreviewBar();
        return false;
    }
    return m_nLastPage == 0 || nPage < m_nLastPage;
}

void CParamReportView::UpdatePreviewBar() {
    if (m_pToolBar != nullptr) {
        m_pToolBar->UpdateButtons();
    }
}
