#include "platform/ui/ModalRunner.h"

#include "platform/ui/KeyboardHolder.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

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

namespace {

// The window manager may give the keyboard back only after the close, or Qt
// may miss it (see GiveKeyboardBack: the progress window of a load right
// after a file dialog takes it on), and the menus and mnemonics stop
// answering; a second request once the close and what followed it are
// handled gives it back. A user who went on to another program keeps it:
// the editor must not jump in front of it.
int g_nReactivateDelayMs = 500;

void Reactivate(const QPointer<QWidget>& pWindow) {
    if (QApplication::activeWindow() != pWindow) {
        GiveKeyboardBack(*pWindow);
    }
    QTimer::singleShot(g_nReactivateDelayMs, pWindow, [pWindow]() {
        const QWidget* pModal = QApplication::activeModalWidget();
        if (QApplication::activeWindow() == nullptr && pWindow->isVisible() &&
            (pModal == nullptr || pModal == pWindow)) {
            GiveKeyboardBack(*pWindow);
        }
    });
}

}  // namespace

int SetReactivateDelay(int nDelayMs) {
    const int nOld = g_nReactivateDelayMs;
    g_nReactivateDelayMs = nDelayMs;
    return nOld;
}

int RunModal(QDialog& dlg) {
    // The window that was active gets the keyboard back when the dialog
    // goes; it gives the focus back to the control that had it.
    const QPointer<QWidget> pActive = QApplication::activeWindow();
    const int nResult = g_pRunner != nullptr ? g_pRunner->RunModal(dlg) : dlg.exec();
    if (pActive != nullptr && pActive != &dlg && pActive->isVisible()) {
        Reactivate(pActive);
    }
    return nResult;
}

}  // namespace platform::ui
