#pragma once
// The file-dialog service on Qt's file dialog, run through the modal runner:
// open or save, title, filters in the framework's format, start folder and
// name, default extension, and the question before a save replaces a file
// only where the caller asks for it.

#include "platform/base/FileDialogService.h"

#include <QStringList>

class QFileDialog;

class CQtFileDialogService : public platform::IFileDialogService {
public:
    int ShowFileDialog(const platform::FileDialogRequest& request, std::string& strPath) override;

    // Fills the dialog from the request; for the service and its tests.
    static void PrepareDialog(QFileDialog& dlg, const platform::FileDialogRequest& request);
    // "Description (*.a *.b)" per entry; the patterns are added where the
    // description does not already end with them.
    static QStringList NameFilters(const std::vector<platform::FileFilterEntry>& filters);
};
