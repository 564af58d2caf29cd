#pragma once
// Every modal run of a dialog or message box goes through the installed
// runner. Without one the dialog runs in Qt's modal loop (QDialog::exec);
// tests install a runner that shows the dialog, scripts it and returns
// without blocking.

class QDialog;

namespace platform::ui {

class IModalRunner {
public:
    virtual ~IModalRunner() = default;
    // Runs the dialog until it is closed and gives back its result code.
    virtual int RunModal(QDialog& dlg) = 0;
};

// Installs the runner (null: Qt's own modal loop); gives back the previous.
IModalRunner* SetModalRunner(IModalRunner* pRunner);
IModalRunner* GetModalRunner();

// Through the installed runner, or QDialog::exec. The window that was
// active before gets the keyboard back unless another program took it, and
// once more after the delay below when Qt counts no window active then.
int RunModal(QDialog& dlg);

// The delay of the second request, in milliseconds (500); tests shorten it,
// or put it off past their end to see the first request alone.
// Gives back the previous one.
int SetReactivateDelay(int nDelayMs);

}  // namespace platform::ui
