#include "platform/ui/ApplicationGuard.h"

#include <QApplication>

#include <cstdlib>

namespace {

bool IsSet(const char* pszName) {
    const char* pszValue = std::getenv(pszName);
    return pszValue != nullptr && *pszValue != '\0';
}

// QApplication keeps references to its arguments for its whole life.
int s_nArgc = 1;
char s_szProgram[] = "Chronosets2";
char* s_argv[] = {s_szProgram, nullptr};

}  // namespace

CApplicationGuard::~CApplicationGuard() {
    while (m_nDepth > 0) {
        End();
    }
}

bool CApplicationGuard::HasDisplay() {
    return IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

bool CApplicationGuard::Begin() {
    if (m_nDepth == 0) {
        QCoreApplication* pApp = QCoreApplication::instance();
        if (pApp != nullptr) {
            // The host's application object; widgets need a QApplication.
            if (qobject_cast<QApplication*>(pApp) == nullptr) {
                return false;
            }
        } else {
            // Without a display Qt would abort the process.
            if (!HasDisplay()) {
                return false;
            }
            s_nArgc = 1;
            m_pOwnApp = new QApplication(s_nArgc, s_argv);
        }
    }
    ++m_nDepth;
    return true;
}

void CApplicationGuard::End() {
    if (m_nDepth == 0) {
        return;
    }
    if (--m_nDepth == 0 && m_pOwnApp != nullptr) {
        delete m_pOwnApp;
        m_pOwnApp = nullptr;
    }
}
