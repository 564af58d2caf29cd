#include "platform/ui/QtFileDialogService.h"

#include "platform/ui/Handles.h"
#include "platform/ui/ModalRunner.h"

#include <QApplication>
#include <QFileDialog>
#include <QPointer>

QStringList CQtFileDialogService::NameFilters(const std::vector<platform::FileFilterEntry>& filters) {
    QStringList names;
    for (const platform::FileFilterEntry& entry : filters) {
        QStringList patterns;
        for (const std::string& strPattern : entry.patterns) {
            patterns << QString::fromStdString(strPattern);
        }
        const QString strPatterns = patterns.join(QLatin1Char(' '));
        QString strName = QString::fromStdString(entry.strDescription);
        // Qt reads the patterns from the parentheses at the end.
        if (!strName.endsWith(QLatin1Char('(') + strPatterns + QLatin1Char(')'))) {
            strName += QLatin1String(" (") + strPatterns + QLatin1Char(')');
        }
        names << strName;
    }
    return names;
}

void CQtFileDialogService::PrepareDialog(QFileDialog& dlg, const platform::FileDialogRequest& request) {
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setAcceptMode(request.bOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dlg.setFileMode(request.bOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, (request.dwFlags & OFN_OVERWRITEPROMPT) == 0);
    if (!request.strTitle.empty()) {
        dlg.setWindowTitle(QString::fromStdString(request.strTitle));
    }
    const QStringList filters = NameFilters(request.filters);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        const int nIndex = request.nFilterIndex >= 1 && request.nFilterIndex <= filters.size()
                               ? request.nFilterIndex - 1
                               : 0;
        dlg.selectNameFilter(filters.at(nIndex));
    }
    if (!request.strDefExt.empty()) {
        dlg.setDefaultSuffix(QString::fromStdString(request.strDefExt));
    }
    if (!request.strInitialDir.empty()) {
        dlg.setDirectory(QString::fromStdString(request.strInitialDir));
    }
    if (!request.strFileName.empty()) {
        dlg.selectFile(QString::fromStdString(request.strFileName));
    }
}

int CQtFileDialogService::ShowFileDialog(const platform::FileDialogRequest& request, std::string& strPath) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return IDCANCEL;
    }
    QPointer<QWidget> pOwner = platform::ui::WidgetFromHwnd(request.hOwner);
    QFileDialog dlg(pOwner.data());
    PrepareDialog(dlg, request);
    const int nResult = platform::ui::RunModal(dlg);
    if (nResult != QDialog::Accepted || dlg.selectedFiles().isEmpty()) {
        return IDCANCEL;
    }
    strPath = dlg.selectedFiles().constFirst().toStdString();
    if (pOwner != nullptr) {
        pOwner->activateWindow();
    }
    return IDOK;
}
