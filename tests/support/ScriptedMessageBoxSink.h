#pragma once
// A message-box sink for tests. A test queues the boxes it expects, each with
// the button that answers it; the sink checks every box shown against the
// next expectation, records it, and fails the running test on any box it did
// not expect (answered IDCANCEL) and, when it goes, on expected boxes that
// never came. It installs itself while it lives and puts the previous sink
// back afterwards.

#include "platform/base/MessageBoxSink.h"
#include "platform/base/WinTypes.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

class CScriptedMessageBoxSink : public platform::IMessageBoxSink {
public:
    // What an expected box must look like; unset fields match anything.
    struct Expectation {
        std::optional<std::string> text;       // whole text
        std::optional<std::string> textPart;   // part of the text
        std::optional<std::string> caption;
        std::optional<UINT> style;
        std::optional<HWND> owner;
        int nAnswer = IDOK;
    };

    struct ShownBox {
        HWND hOwner;
        std::string strText;
        std::string strCaption;
        UINT nStyle;
    };

    CScriptedMessageBoxSink();
    ~CScriptedMessageBoxSink() override;

    CScriptedMessageBoxSink(const CScriptedMessageBoxSink&) = delete;
    CScriptedMessageBoxSink& operator=(const CScriptedMessageBoxSink&) = delete;

    // Queues one expected box.
    CScriptedMessageBoxSink& Expect(Expectation expectation);
    // Any box, answered with the button.
    CScriptedMessageBoxSink& ExpectAny(int nAnswer);
    // A box with exactly this text.
    CScriptedMessageBoxSink& ExpectText(std::string strText, int nAnswer);
    // A box with exactly this text, caption and style.
    CScriptedMessageBoxSink& ExpectBox(std::string strText, std::string strCaption, UINT nStyle, int nAnswer);

    // The window GetActiveWindow reports (null at the start).
    void SetActiveWindow(HWND hWnd) { m_hActive = hWnd; }

    const std::vector<ShownBox>& GetShown() const { return m_vecShown; }
    const std::vector<HWND>& GetFocusCalls() const { return m_vecFocus; }
    std::size_t GetPendingCount() const { return m_queExpected.size(); }

    // IMessageBoxSink
    int ShowMessageBox(HWND hOwner, const std::string& strText, const std::string& strCaption,
                       UINT nStyle) override;
    void SetFocus(HWND hWnd) override;
    HWND GetActiveWindow() override { return m_hActive; }

private:
    platform::IMessageBoxSink* m_pPrevious;
    std::deque<Expectation> m_queExpected;
    std::vector<ShownBox> m_vecShown;
    std::vector<HWND> m_vecFocus;
    HWND m_hActive = nullptr;
};
