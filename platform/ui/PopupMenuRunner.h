#pragma once
// Every tracked popup menu (context menus) goes through the installed
// runner. Without one the popup runs in Qt's own loop (QMenu::exec); tests
// install a runner that picks an item, or none, without blocking.

#include <QPoint>

class QAction;
class QMenu;

namespace platform::ui {

class IPopupMenuRunner {
public:
    virtual ~IPopupMenuRunner() = default;
    // Shows the popup at the screen point until the user picks an item or
    // dismisses it; the chosen item or null.
    virtual QAction* RunPopupMenu(QMenu& menu, const QPoint& ptScreen) = 0;
};

// Installs the runner (null: Qt's own loop); gives back the previous.
IPopupMenuRunner* SetPopupMenuRunner(IPopupMenuRunner* pRunner);
IPopupMenuRunner* GetPopupMenuRunner();

// Through the installed runner, or QMenu::exec.
QAction* RunPopupMenu(QMenu& menu, const QPoint& ptScreen);

}  // namespace platform::ui
