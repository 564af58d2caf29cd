#include "platform/ui/PopupMenuRunner.h"

#include <QMenu>

namespace platform::ui {

namespace {
IPopupMenuRunner* g_pPopupRunner = nullptr;
}

IPopupMenuRunner* SetPopupMenuRunner(IPopupMenuRunner* pRunner) {
    IPopupMenuRunner* pOld = g_pPopupRunner;
    g_pPopupRunner = pRunner;
    return pOld;
}

IPopupMenuRunner* GetPopupMenuRunner() {
    return g_pPopupRunner;
}

QAction* RunPopupMenu(QMenu& menu, const QPoint& ptScreen) {
    if (g_pPopupRunner != nullptr) {
        return g_pPopupRunner->RunPopupMenu(menu, ptScreen);
    }
    return menu.exec(ptScreen);
}

}  // namespace platform::ui
