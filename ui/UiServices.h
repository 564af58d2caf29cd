#pragma once
// The window layer as the Qt-free start-up sees it: the application object
// around an editing run, the product icon from a file or the resources, the
// main window's class and its modal run.

#include "platform/base/UiServices.h"
#include "platform/ui/ApplicationGuard.h"
#include "platform/ui/FrameworkTranslator.h"

#include <map>
#include <utility>

namespace platform {
class CResourceModule;
}

class CUiServices : public platform::IUiServices {
public:
    CUiServices() = default;
    ~CUiServices() override;

    CUiServices(const CUiServices&) = delete;
    CUiServices& operator=(const CUiServices&) = delete;

    bool BeginSession() override;
    void EndSession() override;

    bool FindDialogClass() override;
    HICON LoadIconFile(const std::string& path, int nWidth) override;
    HICON LoadIconResource(UINT nId) override;
    void DestroyIcon(HICON hIcon) override;

    bool RegisterWindowClass(const std::string& strName, HICON hIcon) override;
    void UnregisterWindowClass(const std::string& strName) override;

    // The main window over the parent; in standalone mode it answers a
    // second start's request to come to the front while it is open.
    int RunMainWindow(HWND hParent) override;

private:
    void ReleaseResourceIcons();

    CApplicationGuard m_guard;
    // Qt's own dialogs in the language of the session's resources.
    CFrameworkTranslator m_translator;
    // Resource icons are made once per module and id and kept until the
    // session ends.
    std::map<std::pair<const platform::CResourceModule*, UINT>, HICON> m_mapResourceIcons;
};

// Installs the window layer for the Qt-free layers: the services above, the
// message boxes, file dialogs, help, wait cursor and progress windows on Qt.
// The plug-in library calls it when it loads.
void InstallQtUiServices();
