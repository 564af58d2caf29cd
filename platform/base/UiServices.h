#pragma once
// What the Qt-free start-up needs of the window layer: the session around one
// editing run (the window layer creates its application object when none
// exists and destroys it again when it made it), the product icon, the
// window class of the main window and the main window's modal run. The
// window layer installs its implementation when the plug-in library loads;
// without one the start-up runs no window and says so in the log.

#include "platform/base/WinTypes.h"

#include <string>

namespace platform {

class IUiServices {
public:
    virtual ~IUiServices() = default;

    // Before and after one editing run. BeginSession is false when no window
    // can be shown at all (no display).
    virtual bool BeginSession() = 0;
    virtual void EndSession() = 0;

    // The standard dialog window class exists and can be copied.
    virtual bool FindDialogClass() = 0;
    // An icon of the wanted width made from an icon file, null when the file
    // is missing or unusable (the reasons are logged).
    virtual HICON LoadIconFile(const std::string& path, int nWidth) = 0;
    // An icon resource of the active resource module, null when missing. The
    // window layer keeps it; it is not destroyed by the caller.
    virtual HICON LoadIconResource(UINT nId) = 0;
    virtual void DestroyIcon(HICON hIcon) = 0;

    // The main window's class under its name, with the icon it shows.
    virtual bool RegisterWindowClass(const std::string& strName, HICON hIcon) = 0;
    virtual void UnregisterWindowClass(const std::string& strName) = 0;

    // Runs the main window modally over the parent (may be null) and returns
    // its modal result.
    virtual int RunMainWindow(HWND hParent) = 0;
};

// The installed services, null when none.
IUiServices* GetUiServices();
// Installs the services (null removes them); returns the previous ones.
IUiServices* SetUiServices(IUiServices* pServices);

}  // namespace platform
