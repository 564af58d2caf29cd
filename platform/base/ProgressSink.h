#pragma once
// The progress window as the Qt-free layers see it. The window layer installs
// a factory at start-up; without one (tests, early start-up) no window is
// made and a progress indicator only keeps its numbers.

#include "platform/base/WinTypes.h"

#include <functional>
#include <memory>
#include <string>

namespace platform {

class IProgressWindow
{
public:
    // SetProgress value that changes nothing but still lets waiting window
    // messages run.
    static constexpr WORD kNoChange = 0xFFFF;

    virtual ~IProgressWindow() = default;

    // Creates the modeless window over the owner given to the factory; its
    // handle, or null when it cannot be made. Called again after the window
    // was lost, with the animation kind the object was made with.
    virtual HWND Create() = 0;
    // The window's handle, null while there is none.
    virtual HWND GetHandle() const = 0;
    virtual void Activate() = 0;
    virtual void Hide() = 0;
    // Closes the window; the object may be created again.
    virtual void Destroy() = 0;

    virtual void SetCaption(const std::string& strText) = 0;
    virtual void SetTopText(const std::string& strText) = 0;
    virtual void SetMiddleText(const std::string& strText) = 0;
    virtual void SetBottomText(const std::string& strText) = 0;

    // Shows the percentage (0..100; kNoChange keeps the bar), lets waiting
    // window messages run, and answers 1 to go on or 0 when the user
    // cancelled.
    virtual int SetProgress(WORD wPercent) = 0;
};

// (owner window, animation kind) -> a window object, or null.
using ProgressWindowFactory = std::function<std::unique_ptr<IProgressWindow>(HWND hOwner, int nKind)>;

// Installs the factory (an empty one removes it).
void SetProgressWindowFactory(ProgressWindowFactory factory);
// A new window object from the installed factory, null without one.
std::unique_ptr<IProgressWindow> CreateProgressWindow(HWND hOwner, int nKind);

}  // namespace platform
