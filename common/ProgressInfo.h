#pragma once
// The progress indicator of long operations (loads, saves, export, download).
// It keeps a range, a position and the percentage last reported, and owns a
// modeless progress window from Show on. Without a window only the numbers
// change.

#include "platform/base/ProgressSink.h"
#include "platform/base/WinTypes.h"

#include <memory>
#include <string>

class CProgressInfo
{
public:
    explicit CProgressInfo(int nMode);
    virtual ~CProgressInfo();
    CProgressInfo(const CProgressInfo&) = delete;
    CProgressInfo& operator=(const CProgressInfo&) = delete;

    // Creates and activates the window over the owner on first use; its
    // handle, or null when it already shows or cannot be made. nKind picks
    // the animation (8 host load, 9 host save, 12 file save and export, 13
    // file load, 15/16 device writes and reads).
    HWND Show(HWND hOwner, int nKind);
    void Hide();
    HWND GetWindow() const;

    void SetCaption(const std::string& strText);
    void SetTopText(const std::string& strText);
    void SetMiddleText(const std::string& strText);
    void SetBottomText(const std::string& strText);

    // The smaller value becomes the low end; position and last percentage 0,
    // and 0 % is shown.
    void SetRange(DWORD dwA, DWORD dwB);
    // Advances by n and shows the new percentage when it changed (never more
    // than 100; the position then stops at the end of the range). False when
    // the user cancelled.
    bool Step(DWORD dwCount = 1);
    // Shows a percentage (above 100: no change) without touching position or
    // last percentage. False when the user cancelled.
    bool SetPercent(WORD wPercent);
    WORD GetPercent() const { return m_wLastPercent; }

    int GetMode() const { return m_nMode; }
    DWORD GetLow() const { return m_dwLow; }
    DWORD GetHigh() const { return m_dwHigh; }
    DWORD GetPosition() const { return m_dwPosition; }

private:
    bool Report(WORD wValue);

    int m_nMode;
    DWORD m_dwLow = 0;
    DWORD m_dwHigh = 0;
    DWORD m_dwPosition = 0;
    WORD m_wLastPercent = 0;
    std::unique_ptr<platform::IProgressWindow> m_pDialog;
};
