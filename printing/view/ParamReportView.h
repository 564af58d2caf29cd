#pragma once
// The report view behind the main window's print commands. It holds the
// print selection, runs the parameter report on the printer with its own
// print loop, shows the report in a print preview inside the main window's
// frame and opens the printer setup. Where no printer is installed, the
// printer is a PDF file.

#include "printing/param/ParamReportOwner.h"
#include "printing/view/PreviewToolBar.h"
#include "printing/view/PreviewView.h"
#include "ui/IReportView.h"

#include <QPointer>

#include <memory>
#include <vector>

class CParamReport;
class CParameterDlg;
class IReportDC;
class QPainter;
class QPrinter;
class QWidget;

class CParamReportView : public CParamReportOwner, public IReportView {
public:
    explicit CParamReportView(CParameterDlg* pMainWindow = nullptr);
    ~CParamReportView() override;
    CParamReportView(const CParamReportView&) = delete;
    CParamReportView& operator=(const CParamReportView&) = delete;

    // The main window's commands.
    bool HasWindow() const override;
    void OnPreviewPrint() override;
    void OnFilePrint() override;
    bool DoPrintPreview(UINT nIDPreviewToolBar, QWidget* pParent) override;
    void OnFilePrintSetup() override;
    int RunPrintSelection(CParameterDlg* pParent) override;
    void DestroyWindow() override;

    // The print dialog of a print job; a preview asks nothing.
    BOOL DoPreparePrinting(CPrintInfo* pInfo) override;

    // The steps of a job.
    BOOL OnPreparePrinting(CPrintInfo* pInfo);
    void OnEndPrinting(IReportDC& dc, CPrintInfo* pInfo);

    // The printer of the jobs: the one chosen last, at first the system's
    // default printer, or a PDF file when there is none.
    QPrinter& GetPrinter() { return *m_pPrinter; }
    CParamReport* GetReport() const { return m_pReport.get(); }

    // Preview.
    void OnPreviewClose();
    void OnNextPage();
    void OnPrevPage();
    void OnNumPageChange();
    void OnZoomIn();
    void OnZoomOut();
    // A click in the page at the viewport point: the next zoom, centred there.
    void OnZoomAt(const QPoint& pt);
    CPreviewView* GetPreviewView() const { return m_pPreviewView; }
    CPreviewToolBar* GetPreviewToolBar() const { return m_pToolBar; }
    int GetPagesShown() const;
    UINT GetCurrentPage() const;
    // The page the report ended on; 0 until a preview reached it.
    UINT GetLastPage() const { return m_nLastPage; }
    bool CanGoNext() const;
    bool CanGoPrev() const;
    bool CanShowTwoPages() const;
    bool CanZoomIn() const;
    bool CanZoomOut() const;
    // The page exists as far as is known.
    bool IsPageInReport(UINT nPage) const;
    // Draws page n of the preview with the painter set to printer pixels;
    // false when the report ended on it.
    bool DrawPreviewPage(QPainter& painter, UINT nPage);

private:
    void EndPreview();
    // Gives the focus back to the control that had it before the preview,
    // else to the frame's first control that takes it.
    void RestoreFocus();
    void UpdatePreviewBar();
    std::string GetDocumentName() const;

    CParameterDlg* m_pMainWindow;
    std::unique_ptr<QPrinter> m_pPrinter;
    std::unique_ptr<CParamReport> m_pReport;
    // The preview's state while it is open.
    std::unique_ptr<CPrintInfo> m_pPreviewInfo;
    QPointer<QWidget> m_pFrame;
    QPointer<CPreviewToolBar> m_pToolBar;
    QPointer<CPreviewView> m_pPreviewView;
    std::vector<QPointer<QWidget>> m_arrHiddenPanes;
    QPointer<QWidget> m_pFocusBefore;
    UINT m_nLastPage = 0;
};
