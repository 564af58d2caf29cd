#include "platform/ui/PrintDialogService.h"

#include "platform/ui/ModalRunner.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace platform::ui {

namespace {

class CQtPrintDialogService : public IPrintDialogService {
public:
    bool RunPrintDialog(QPrinter& printer, const PrintDialogRequest& request, QWidget* pParent) override {
        QPrintDialog dialog(&printer, pParent);
        QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile |
                                                           QAbstractPrintDialog::PrintShowPageSize;
        if (request.bSelectionEnabled) {
            options |= QAbstractPrintDialog::PrintSelection;
        }
        dialog.setOptions(options);
        dialog.setPrintRange(request.bSelectionEnabled && request.bSelection ? QAbstractPrintDialog::Selection
                                                                              : QAbstractPrintDialog::AllPages);
        return RunModal(dialog) == QDialog::Accepted;
    }

    bool RunPrintSetupDialog(QPrinter& printer, QWidget* pParent) override {
        QPageSetupDialog dialog(&printer, pParent);
        return RunModal(dialog) == QDialog::Accepted;
    }
};

IPrintDialogService*& InstalledService() {
    static IPrintDialogService* pService = nullptr;
    return pService;
}

}  // namespace

IPrintDialogService* SetPrintDialogService(IPrintDialogService* pService) {
    IPrintDialogService* pPrevious = InstalledService();
    InstalledService() = pService;
    return pPrevious;
}

IPrintDialogService& GetPrintDialogService() {
    static CQtPrintDialogService qtService;
    IPrintDialogService* pService = InstalledService();
    return pService != nullptr ? *pService : qtService;
}

}  // namespace platform::ui
