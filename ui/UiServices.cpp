#include "ui/UiServices.h"

#include "common/Globals.h"
#include "common/Log.h"
#include "platform/base/FileDialogService.h"
#include "platform/base/HelpService.h"
#include "platform/base/ProgressSink.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/WaitCursorSink.h"
#include "platform/bus/ConnectionChooser.h"
#include "platform/host/WindowMessages.h"
#include "platform/ui/Handles.h"
#include "platform/ui/QtConnectionChooser.h"
#include "platform/ui/QtFileDialogService.h"
#include "platform/ui/QtHelpService.h"
#include "platform/ui/QtMessageBoxSink.h"
#include "platform/ui/QtWaitCursorSink.h"
#include "platform/ui/WindowClasses.h"
#include "ui/IconFile.h"
#include "ui/ParameterDlg.h"
#include "ui/ProgressWindow.h"
#include "ui/SingleInstanceServer.h"

#include <QApplication>

CUiServices::~CUiServices() {
    ReleaseResourceIcons();
}

bool CUiServices::BeginSession() {
    if (!m_guard.Begin()) {
        return false;
    }
    if (m_guard.IsOutermost() && !m_translator.Install()) {
        LOG_WARNING("Qt's translations \"%s\" could not be loaded: its file and print dialogs stay English",
                    m_translator.GetFileName().toUtf8().constData());
    }
    return true;
}

void CUiServices::EndSession() {
    // The icons and the translations must not outlive an application object
    // the guard destroys.
    ReleaseResourceIcons();
    if (m_guard.IsOutermost()) {
        m_translator.Remove();
    }
    m_guard.End();
}

bool CUiServices::FindDialogClass() {
    return platform::ui::IsWindowClassRegistered(platform::ui::kStandardDialogClass);
}

HICON CUiServices::LoadIconFile(const std::string& path, int nWidth) {
    CIconFile iconFile;
    if (!iconFile.Load(path)) {
        return nullptr;
    }
    return iconFile.CreateIcon(nWidth);
}

HICON CUiServices::LoadIconResource(UINT nId) {
    const platform::CResourceModule* pModule = platform::GetFrameworkResourceModule();
    if (pModule == nullptr) {
        return nullptr;
    }
    const auto key = std::make_pair(pModule, nId);
    if (const auto it = m_mapResourceIcons.find(key); it != m_mapResourceIcons.end()) {
        return it->second;
    }
    const platform::ResBinary* pIcon = pModule->FindIcon(nId);
    if (pIcon == nullptr) {
        return nullptr;
    }
    CIconFile iconFile;
    if (!iconFile.LoadFromMemory(pIcon->pData, pIcon->nSize)) {
        return nullptr;
    }
    const QIcon icon = iconFile.CreateIconSet();
    if (icon.isNull()) {
        return nullptr;
    }
    const HICON hIcon = platform::ui::CreateIconHandle(icon, true);
    m_mapResourceIcons.emplace(key, hIcon);
    return hIcon;
}

void CUiServices::DestroyIcon(HICON hIcon) {
    platform::ui::DestroyIconHandle(hIcon);
}

bool CUiServices::RegisterWindowClass(const std::string& strName, HICON hIcon) {
    return platform::ui::RegisterWindowClass(strName, hIcon);
}

void CUiServices::UnregisterWindowClass(const std::string& strName) {
    platform::ui::UnregisterWindowClass(strName);
}

int CUiServices::RunMainWindow(HWND hParent) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        LOG_ERROR("No application object for the main window");
        return IDCANCEL;
    }
    CParameterDlg dlg(nullptr, platform::ui::WidgetFromHwnd(hParent));
    // The host finds its own window above the editor's: the live device
    // connection asks for the top window of the dialog that wants it, and
    // the main window's owner is the window the host passed.
    platform::host::WindowRelations relations;
    relations.isChild = [](HWND hWnd, bool& bChild) {
        const QWidget* pWidget = platform::ui::WidgetFromHwnd(hWnd);
        if (pWidget == nullptr) {
            return false;
        }
        bChild = !pWidget->isWindow();
        return true;
    };
    relations.getParent = [](HWND hWnd, HWND& hParentOut) {
        const QWidget* pWidget = platform::ui::WidgetFromHwnd(hWnd);
        if (pWidget == nullptr) {
            return false;
        }
        hParentOut = !pWidget->isWindow() && pWidget->parentWidget() != nullptr
                         ? platform::ui::HwndFromWidget(pWidget->parentWidget())
                         : nullptr;
        return true;
    };
    relations.getOwner = [pMain = static_cast<QWidget*>(&dlg), hParent](HWND hWnd, HWND& hOwner) {
        const QWidget* pWidget = platform::ui::WidgetFromHwnd(hWnd);
        if (pWidget == nullptr) {
            return false;
        }
        if (!pWidget->isWindow()) {
            hOwner = nullptr;
        } else if (pWidget->parentWidget() != nullptr) {
            hOwner = platform::ui::HwndFromWidget(pWidget->parentWidget()->window());
        } else {
            hOwner = pWidget == pMain ? hParent : nullptr;
        }
        return true;
    };
    const DWORD dwRelations = platform::host::AddWindowRelations(std::move(relations));
    CSingleInstanceServer server;
    if (g_bStandalone) {
        server.Start(&dlg);
    }
    const int nResult = dlg.DoModal();
    server.Stop();
    platform::host::RemoveWindowRelations(dwRelations);
    return nResult;
}

void CUiServices::ReleaseResourceIcons() {
    for (const auto& [key, hIcon] : m_mapResourceIcons) {
        platform::ui::ReleaseIconHandle(hIcon);
    }
    m_mapResourceIcons.clear();
}

namespace {

// The help service's lines go to the log of the run.
void LogHelpLine(int nLevel, const std::string& strLine) {
    if (nLevel <= CQtHelpService::kLevelWarning) {
        LOG_WARNING("%s", strLine.c_str());
    } else {
        LOG_INFO("%s", strLine.c_str());
    }
}

}  // namespace

void InstallQtUiServices() {
    static CUiServices services;
    static CQtMessageBoxSink sink;
    static CQtFileDialogService fileDialogs;
    static CQtHelpService help(&LogHelpLine);
    static CQtWaitCursorSink waitCursor;
    static CQtConnectionChooser connectionChooser;
    platform::SetUiServices(&services);
    platform::SetMessageBoxSink(&sink);
    platform::SetFileDialogService(&fileDialogs);
    platform::SetHelpService(&help);
    platform::SetWaitCursorSink(&waitCursor);
    platform::SetProgressWindowFactory(&CProgressWindow::Make);
    Falcon::SetConnectionChooser(&connectionChooser);
}
