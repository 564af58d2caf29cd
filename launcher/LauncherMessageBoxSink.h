#pragma once
// The launcher's message boxes: Qt boxes when a display is there (the
// application object is made on the first box), none otherwise; the text
// reaches standard error either way.

#include "platform/base/MessageBoxSink.h"
#include "platform/ui/ApplicationGuard.h"
#include "platform/ui/QtMessageBoxSink.h"

class CLauncherMessageBoxSink : public platform::IMessageBoxSink {
public:
    CLauncherMessageBoxSink() = default;
    ~CLauncherMessageBoxSink() override;

    int ShowMessageBox(HWND hOwner, const std::string& strText, const std::string& strCaption,
                       UINT nStyle) override;
    void SetFocus(HWND hWnd) override;
    HWND GetActiveWindow() override;

private:
    CApplicationGuard m_guard;
    CQtMessageBoxSink m_qtBoxes;
};
