#pragma once
// The window of a progress indicator (template 145): an animated picture,
// a percentage bar, three text lines and a Cancel button, modeless over its
// owner. Each progress report lets the waiting window messages through so
// the user interface stays alive and a cancel is noticed; the keyboard's
// cancel key cancels (the Cancel button stays disabled). While the window
// is up, the windows behind it take no commands.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"

#include <string>

class QFont;

class CProgressDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 145;
    static constexpr UINT IDC_ANIMATION = 1107;
    static constexpr UINT IDC_PERCENT_BAR = 1108;
    static constexpr UINT IDC_TOP_TEXT = 1109;
    static constexpr UINT IDC_MIDDLE_TEXT = 1110;
    static constexpr UINT IDC_BOTTOM_TEXT = 1111;
    static constexpr CWndTimers::TimerId kAnimationTimer = 1;
    static constexpr UINT kAnimationElapse = 500;

    CProgressDlg(int nAnimationKind, QWidget* pOwner);
    ~CProgressDlg() override;

    // The modeless window, centred over the owner, with the animation
    // running. FALSE when it cannot be made.
    BOOL Create() override;
    void DestroyWindow() override;

    // Shows the percentage (0xFFFF: no change; above 100 shows 100), lets
    // the waiting window messages through and answers 1 to go on or 0 when
    // the user cancelled meanwhile.
    int SetProgress(WORD wPercent);

    void SetTopText(const std::string& strText);
    void SetMiddleText(const std::string& strText);
    void SetBottomText(const std::string& strText);

    int GetAnimationKind() const { return m_nAnimationKind; }
    WORD GetPercent() const { return m_wPercent; }
    int GetFrameIndex() const { return m_nFrameIndex; }
    int GetTimerId() const { return m_nTimerId; }
    int IsCancelled() const { return m_bCancelled; }

    // The frame after nFrame in the kind's series.
    static int NextFrame(int nKind, int nFrame);
    // The bitmap of the kind's series for the frame.
    static UINT GetPictureId(int nKind, int nFrame);
    // The bar: white, "%u %%" in blue in the middle, and blue from the left
    // over percent of the width, where the text shows light on blue.
    static void DrawPercentBar(QPainter& painter, const QRect& rect, WORD wPercent, const QFont& font);

    void OnDrawItem(UINT nIDCtl, QPainter& painter, const DrawItemInfo& item) override;

protected:
    BOOL OnInitDialog() override;
    // Enter changes nothing; Cancel (the cancel key) only marks the cancel.
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(CWndTimers::TimerId nIDEvent) override;
    void OnDestroy() override;

private:
    int m_nAnimationKind;
    WORD m_wPercent = 0;
    int m_nFrameIndex = 0;
    int m_nTimerId = 0;
    int m_bCancelled = 0;
};
