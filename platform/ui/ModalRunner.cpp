#include "platform/ui/ModalRunner.h"

#include <QDialog>

namespace platform::ui {

namespace {
IModalRunner* g_pRunner = nullptr;
}

IModalRunner* SetModalRunner(IModalRunner* pRunner) {
    IModalRunner* pOld = g_pRunner;
    g_pRunner = pRunner;
    return pOld;
}

IModalRunner* GetModalRunner() {
    return g_pRunner;
}

int RunModal(QDialog& dlg) {
    if (g_pRunner != nullptr) {
        return g_pRunner->RunModal(dlg);
    }
    return dlg.exec();
}

}  // namespace platform::ui
