#pragma once
// Helpers of the window tests: a modal runner that scripts dialogs and
// message boxes instead of blocking, a popup runner that picks menu items,
// control lookup by id, clicks, typing and keys, toolbar buttons by command
// id and timers ticked by hand.

#include "platform/base/WinTypes.h"
#include "platform/ui/ModalRunner.h"
#include "platform/ui/PopupMenuRunner.h"

#include <QDialog>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

class CToolBar;
class QAction;
class QMenu;

namespace uitest {

// Installs itself while it lives. Each modal run shows the dialog, runs the
// next queued script on it and gives back the dialog's result. A run without
// a script fails the test; a dialog still open after its script fails it too.
// Either is then closed, so no test ever blocks. Scripts that never ran fail
// the test when the runner goes.
class CTestModalRunner : public platform::ui::IModalRunner {
public:
    using Script = std::function<void(QDialog&)>;

    CTestModalRunner();
    ~CTestModalRunner() override;

    CTestModalRunner(const CTestModalRunner&) = delete;
    CTestModalRunner& operator=(const CTestModalRunner&) = delete;

    // Queues the script of the next modal run.
    CTestModalRunner& Then(Script script);

    int RunModal(QDialog& dlg) override;

    int GetRunCount() const { return m_nRuns; }
    std::size_t GetPendingCount() const { return m_queScripts.size(); }

private:
    platform::ui::IModalRunner* m_pPrevious;
    std::deque<Script> m_queScripts;
    int m_nRuns = 0;
};

// Installs itself while it lives. Each tracked popup runs the next queued
// script, which returns the item chosen (or null for none). A popup without
// a script fails the test and chooses nothing; scripts that never ran fail
// the test when the runner goes.
class CTestPopupMenuRunner : public platform::ui::IPopupMenuRunner {
public:
    using Script = std::function<QAction*(QMenu&)>;

    CTestPopupMenuRunner();
    ~CTestPopupMenuRunner() override;

    CTestPopupMenuRunner(const CTestPopupMenuRunner&) = delete;
    CTestPopupMenuRunner& operator=(const CTestPopupMenuRunner&) = delete;

    CTestPopupMenuRunner& Then(Script script);
    // The next popup chooses the item with the command id (failing the test
    // when it has none).
    CTestPopupMenuRunner& ThenChoose(UINT nCommand);

    QAction* RunPopupMenu(QMenu& menu, const QPoint& ptScreen) override;

    int GetRunCount() const { return m_nRuns; }
    const QPoint& GetLastPoint() const { return m_ptLast; }

private:
    platform::ui::IPopupMenuRunner* m_pPrevious;
    std::deque<Script> m_queScripts;
    int m_nRuns = 0;
    QPoint m_ptLast;
};

// The action of a popup (or its submenus) with the command id, or null.
QAction* FindMenuAction(const QMenu& menu, UINT nCommand);

// What elapsing does to the owner's timer, now. False when it is not set.
bool TickTimer(QObject* pOwner, std::uintptr_t nTimerId);

// A left click on the toolbar button with the command id (the bar must be
// shown).
void ClickToolBarButton(CToolBar* pBar, UINT nCommand);

// Lets queued events (shows, focus changes, timers due) happen.
void ProcessEvents();

// The control with that id below the root, or null.
QWidget* FindControl(const QWidget* pRoot, UINT nId);

// The mouse and the keys reach a control as a user's would: through the
// handle of its top-level window, so that Qt routes them (a scroll area's
// viewport, mouse grabs, popups, modal blocking, shortcut overrides, the
// focus widget). Points are in the control's own coordinates; a point left
// out means the middle of the control. The window must be shown.

// A left click in the middle of the control.
void Click(QWidget* pControl);
void Click(QWidget* pControl, const QPoint& pt, Qt::MouseButton button = Qt::LeftButton,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void DoubleClick(QWidget* pControl, const QPoint& pt);
void MousePress(QWidget* pControl, const QPoint& pt, Qt::MouseButton button = Qt::LeftButton,
                Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Moves with the buttons that are down.
void MouseMove(QWidget* pControl, const QPoint& pt);
void MouseRelease(QWidget* pControl, const QPoint& pt, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Presses at the start, moves there in steps of a few pixels, releases at
// the end; the end may lie in another control of the same window.
void Drag(QWidget* pFrom, const QPoint& ptFrom, QWidget* pTo, const QPoint& ptTo,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Gives the control the focus (as a click or Tab would) and types the text
// into it, key by key.
void TypeText(QWidget* pControl, const std::string& strText);
// Gives the control the focus and presses and releases one key on it.
void PressKey(QWidget* pTarget, int nKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Presses and releases one key on the window, wherever its focus is.
void PressWindowKey(QWidget* pWindow, int nKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// What the title bar's close box does: asks the window to close.
void PressCloseBox(QWidget* pWindow);

}  // namespace uitest
