#include "platform/ui/QtConnectionChooser.h"

#include "platform/ui/ConnectionSelectionDlg.h"
#include "platform/ui/Handles.h"

#include <QApplication>

bool CQtConnectionChooser::ChooseConnection(Falcon::ConnectionChoice& choice) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return false;
    }
    CConnectionSelectionDlg dlg(choice, platform::ui::WidgetFromHwnd(choice.hOwner));
    return dlg.DoModal() == IDOK;
}
