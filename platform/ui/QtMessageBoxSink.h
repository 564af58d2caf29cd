#pragma once
// The message-box sink on QMessageBox: the box style chooses buttons and
// icon, the button texts follow the language of the active resource module,
// the owner comes from the window handle and gets the focus back when the
// box closes; the box is at least as wide as its caption needs, within the
// screen. The box runs through the modal runner.

#include "platform/base/MessageBoxSink.h"
#include "platform/base/WinTypes.h"

#include <string>

class QMessageBox;

class CQtMessageBoxSink : public platform::IMessageBoxSink {
public:
    int ShowMessageBox(HWND hOwner, const std::string& strText, const std::string& strCaption, UINT nStyle) override;
    void SetFocus(HWND hWnd) override;
    HWND GetActiveWindow() override;

    // Fills the box for the style: buttons with their texts, default and
    // escape button, icon. For the sink and its tests.
    static void PrepareBox(QMessageBox& box, UINT nStyle);
    // The answer of a closed box: the id of the button that closed it;
    // IDCANCEL when none did (IDOK for a box with only OK).
    static int GetAnswer(const QMessageBox& box, UINT nStyle);
};
