#pragma once
// Alt plus a character goes to the mnemonics of a dialog's shown, enabled
// controls; one that no mnemonic took only sounds the simple beep and never
// reaches the focused control: a field must not take the letter of a hidden
// control's mnemonic as text. Watches the dialog's native window, which sees
// a key only after the shortcuts had it.

#include <QObject>

class CAltKeyFilter : public QObject {
    Q_OBJECT

public:
    explicit CAltKeyFilter(QObject* pParent);

    // Watches the window (again, when it was made anew).
    void Watch(QObject* pWindow);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
};
