#pragma once
// The print dialog and the printer setup as the report view asks for them.
// Without an installed service the Qt dialogs run; tests install a scripted
// one, so that no dialog waits for a user.

#include <QString>

class QPrinter;
class QWidget;

namespace platform::ui {

struct PrintDialogRequest {
    // The selection choice is offered (and, with bSelection, preset).
    bool bSelectionEnabled = false;
    bool bSelection = false;
};

class IPrintDialogService {
public:
    virtual ~IPrintDialogService() = default;

    // The print dialog on the printer (no page numbers); true when the user
    // chose to print, the printer then set as chosen.
    virtual bool RunPrintDialog(QPrinter& printer, const PrintDialogRequest& request, QWidget* pParent) = 0;
    // The printer setup (paper, orientation, margins); true on OK.
    virtual bool RunPrintSetupDialog(QPrinter& printer, QWidget* pParent) = 0;
};

// What the user is told when the file a job prints to cannot be written:
// the file and the system's reason (an errno).
QString DescribeUnwritablePrintFile(const QString& strFile, int nErrno);

// Installs the service (null: the Qt dialogs); gives back the one before.
IPrintDialogService* SetPrintDialogService(IPrintDialogService* pService);
// The installed service, or the one that shows the Qt dialogs.
IPrintDialogService& GetPrintDialogService();

}  // namespace platform::ui
