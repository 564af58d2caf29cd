#include "platform/ui/PrintDialogService.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/ui/ModalRunner.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

#include <cstring>

namespace platform::ui {

namespace {

constexpr unsigned kPrintFileNotWritable = 61720;

// Qt's print dialog refuses an output file it cannot open by saying the
// file "is not writable", also where its folder is missing or the file
// system read-only, and the user cannot tell what to mend. While the dialog
// runs, that message is given the system's reason as it shows.
class CPrintFileReason : public QObject {
public:
    explicit CPrintFileReason(QPrintDialog& dialog) : m_dialog(dialog) { qApp->installEventFilter(this); }
    ~CPrintFileReason() override { qApp->removeEventFilter(this); }
    CPrintFileReason(const CPrintFileReason&) = delete;
    CPrintFileReason& operator=(const CPrintFileReason&) = delete;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
        auto* pBox = pEvent->type() == QEvent::Show ? qobject_cast<QMessageBox*>(pWatched) : nullptr;
        if (pBox != nullptr && IsOverTheDialog(*pBox)) {
            Mend(*pBox);
        }
        return false;
    }

private:
    bool IsOverTheDialog(const QWidget& box) const {
        for (const QWidget* pWidget = box.parentWidget(); pWidget != nullptr; pWidget = pWidget->parentWidget()) {
            if (pWidget == &m_dialog) {
                return true;
            }
        }
        return false;
    }

    void Mend(QMessageBox& box) const {
        const auto* pFile = m_dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
        if (pFile == nullptr) {
            return;
        }
        const QString strFile = pFile->text();
        const QString strQtText =
            QPrintDialog::tr("File %1 is not writable.\nPlease choose a different file name.").arg(strFile);
        const int nErrno = WhyNotWritable(strFile.toStdString());
        if (box.text() == strQtText && nErrno != 0) {
            box.setText(DescribeUnwritablePrintFile(strFile, nErrno));
        }
    }

    QPrintDialog& m_dialog;
};

class CQtPrintDialogService : public IPrintDialogService {
public:
    bool RunPrintDialog(QPrinter& printer, const PrintDialogRequest& request, QWidget* pParent) override {
        QPrintDialog dialog(&printer, pParent);
        const CPrintFileReason reason(dialog);
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

QString DescribeUnwritablePrintFile(const QString& strFile, int nErrno) {
    const CResourceModule* pModule = GetFrameworkResourceModule();
    const char* pszText = pModule != nullptr ? pModule->FindString(kPrintFileNotWritable) : nullptr;
    const QString strText = QString::fromUtf8(pszText != nullptr ? pszText
                                                                  : "The file \"%1\" cannot be written: %2.\nPlease "
                                                                    "choose a different file name.");
    return strText.arg(strFile, QString::fromLocal8Bit(std::strerror(nErrno)));
}

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
