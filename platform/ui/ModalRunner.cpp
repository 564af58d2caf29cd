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

// Some window managers leave the keyboard with no window of ours after a
// transient window closes (seen after a file dialog whose completer was
// open), and the menus and mnemonics stop answering; a second request
// once the window manager has handled the close gives it back.
int g_nReactivateDelayMs = 500;

// A user who went on to another program keeps it: the editor must not jump
// in front of it.
void Reactivate(const QPointer<QWidget>& pWindow) {
    if (QApplication::activeWindow() != pWindow && WhoHasTheKeyboard() != KeyboardHolder::AnotherProgram) {
        pWindow->activateWindow();
    }
    QTimer::singleShot(g_nReactivateDelayMs, pWindow, [pWindow]() {
        const QWidget* pModal = QApplication::activeModalWidget();
        if (pWindow->isVisible() && (pModal == nullptr || pModal == pWindow) &&
            WhoHasTheKeyboard() == KeyboardHolder::Nobody) {
            pWindow->activateWindow();
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
