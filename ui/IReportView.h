#pragma once
// The report view as the main window's print commands use it: it prints,
// shows the print preview inside the splitter frame, sets up the printer
// and chooses the data to print. The main window makes it on the first
// print command and keeps it until its frame goes.

#include "platform/base/WinTypes.h"

class CParameterDlg;
class QWidget;

class IReportView {
public:
    virtual ~IReportView() = default;

    // The preview is open.
    virtual bool HasWindow() const = 0;
    // Prints from the open preview.
    virtual void OnPreviewPrint() = 0;
    // Prints at once, through the print dialog.
    virtual void OnFilePrint() = 0;
    // Opens the preview with its toolbar over the parent; false when it
    // could not start.
    virtual bool DoPrintPreview(UINT nIDPreviewToolBar, QWidget* pParent) = 0;
    virtual void OnFilePrintSetup() = 0;
    // The print data selection, modally over the main window.
    virtual int RunPrintSelection(CParameterDlg* pParent) = 0;
    // Closes the preview when it is open.
    virtual void DestroyWindow() = 0;
};
