#pragma once
// The progress window as the Qt-free progress indicator sees it: the
// progress dialog over the owner window, made when the indicator shows it
// and made again, with the first animation kind, after it was closed.

#include "platform/base/ProgressSink.h"
#include "platform/base/WinTypes.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

class CProgressDlg;

class CProgressWindow : public platform::IProgressWindow {
public:
    CProgressWindow(HWND hOwner, int nAnimationKind);
    ~CProgressWindow() override;

    CProgressWindow(const CProgressWindow&) = delete;
    CProgressWindow& operator=(const CProgressWindow&) = delete;

    HWND Create() override;
    HWND GetHandle() const override;
    void Activate() override;
    void Hide() override;
    void Destroy() override;

    void SetCaption(const std::string& strText) override;
    void SetTopText(const std::string& strText) override;
    void SetMiddleText(const std::string& strText) override;
    void SetBottomText(const std::string& strText) override;

    int SetProgress(WORD wPercent) override;

    // The dialog while it exists, else null.
    CProgressDlg* GetDialog() const;

    // The factory the window layer installs.
    static std::unique_ptr<platform::IProgressWindow> Make(HWND hOwner, int nAnimationKind);

private:
    // Gives the owner the keyboard back when Qt counts no window active.
    void GiveKeyboardToOwner();
    QPointer<QWidget> m_pOwner;
    int m_nAnimationKind;
    QPointer<CProgressDlg> m_pDlg;
};
