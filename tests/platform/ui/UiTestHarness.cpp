#include "tests/platform/ui/UiTestHarness.h"

#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Menu.h"
#include "platform/ui/ToolBar.h"
#include "platform/ui/WndTimers.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QWindow>

#include <algorithm>

#include <gtest/gtest.h>

namespace uitest {

CTestModalRunner::CTestModalRunner() : m_pPrevious(platform::ui::SetModalRunner(this)) {}

CTestModalRunner::~CTestModalRunner() {
    platform::ui::SetModalRunner(m_pPrevious);
    if (!m_queScripts.empty()) {
        ADD_FAILURE() << m_queScripts.size() << " scripted modal run(s) never happened";
    }
}

CTestModalRunner& CTestModalRunner::Then(Script script) {
    m_queScripts.push_back(std::move(script));
    return *this;
}

int CTestModalRunner::RunModal(QDialog& dlg) {
    ++m_nRuns;
    // Modal as exec() makes it: the windows behind it take no mouse or keys.
    const bool bWasShowModal = dlg.testAttribute(Qt::WA_ShowModal);
    dlg.setAttribute(Qt::WA_ShowModal, true);
    struct RestoreModality {
        QDialog& dlg;
        bool bWas;
        ~RestoreModality() { dlg.setAttribute(Qt::WA_ShowModal, bWas); }
    } restore{dlg, bWasShowModal};
    dlg.show();
    ProcessEvents();
    if (m_queScripts.empty()) {
        ADD_FAILURE() << "unexpected modal run of \"" << dlg.windowTitle().toStdString() << "\"";
        dlg.QDialog::done(IDCANCEL);
        return dlg.result();
    }
    Script script = std::move(m_queScripts.front());
    m_queScripts.pop_front();
    script(dlg);
    ProcessEvents();
    if (dlg.isVisible()) {
        ADD_FAILURE() << "\"" << dlg.windowTitle().toStdString() << "\" still open after its script";
        dlg.QDialog::done(IDCANCEL);
    }
    return dlg.result();
}

CTestPopupMenuRunner::CTestPopupMenuRunner() : m_pPrevious(platform::ui::SetPopupMenuRunner(this)) {}

CTestPopupMenuRunner::~CTestPopupMenuRunner() {
    platform::ui::SetPopupMenuRunner(m_pPrevious);
    if (!m_queScripts.empty()) {
        ADD_FAILURE() << m_queScripts.size() << " scripted popup menu(s) never shown";
    }
}

CTestPopupMenuRunner& CTestPopupMenuRunner::Then(Script script) {
    m_queScripts.push_back(std::move(script));
    return *this;
}

CTestPopupMenuRunner& CTestPopupMenuRunner::ThenChoose(UINT nCommand) {
    return Then([nCommand](QMenu& menu) {
        QAction* pAction = FindMenuAction(menu, nCommand);
        if (pAction == nullptr) {
            ADD_FAILURE() << "the popup has no item " << nCommand;
        }
        return pAction;
    });
}

QAction* CTestPopupMenuRunner::RunPopupMenu(QMenu& menu, const QPoint& ptScreen) {
    ++m_nRuns;
    m_ptLast = ptScreen;
    if (m_queScripts.empty()) {
        ADD_FAILURE() << "unexpected popup menu \"" << menu.title().toStdString() << "\"";
        return nullptr;
    }
    Script script = std::move(m_queScripts.front());
    m_queScripts.pop_front();
    return script(menu);
}

QAction* FindMenuAction(const QMenu& menu, UINT nCommand) {
    const auto actions = menu.actions();
    for (QAction* pAction : actions) {
        if (pAction->menu() != nullptr) {
            if (QAction* pFound = FindMenuAction(*pAction->menu(), nCommand)) {
                return pFound;
            }
        } else if (!pAction->isSeparator() && CMenu::GetActionID(pAction) == nCommand) {
            return pAction;
        }
    }
    return nullptr;
}

bool TickTimer(QObject* pOwner, std::uintptr_t nTimerId) {
    CWndTimers* pTimers = CWndTimers::Of(pOwner, false);
    return pTimers != nullptr && pTimers->Fire(nTimerId);
}

void ClickToolBarButton(CToolBar* pBar, UINT nCommand) {
    ASSERT_NE(pBar, nullptr);
    const int nIndex = pBar->CommandToIndex(nCommand);
    ASSERT_GE(nIndex, 0) << "no button " << nCommand;
    ASSERT_TRUE(pBar->isVisible()) << "the toolbar is not shown";
    Click(pBar, pBar->GetItemRect(nIndex).center());
}

void ProcessEvents() {
    QApplication::processEvents();
}

QWidget* FindControl(const QWidget* pRoot, UINT nId) {
    return platform::ui::FindDlgItem(pRoot, nId);
}

namespace {

// The handle of the control's top-level window and the point in it.
QWindow* WindowOf(QWidget* pControl, const QPoint& pt, QPoint* pWindowPoint) {
    QWidget* pWindow = pControl->window();
    QWindow* pHandle = pWindow->windowHandle();
    EXPECT_NE(pHandle, nullptr) << "the window of the control was never shown";
    if (pWindowPoint != nullptr) {
        *pWindowPoint = pControl->mapTo(pWindow, pt);
    }
    return pHandle;
}

QPoint MiddleOf(const QWidget* pControl) {
    return pControl->rect().center();
}

// Where key presses go: the window's focus widget. A window that is not
// active yet becomes active first, as a user's click on it would make it.
void FocusControl(QWidget* pControl) {
    QWidget* pWindow = pControl->window();
    if (QApplication::activeWindow() != pWindow) {
        pWindow->activateWindow();
        QApplication::setActiveWindow(pWindow);
    }
    if (!pControl->hasFocus()) {
        pControl->setFocus(Qt::OtherFocusReason);
    }
    ProcessEvents();
}

Qt::Key KeyOfCharacter(QChar ch) {
    if (ch.isLetter() && ch.unicode() < 0x80) {
        return static_cast<Qt::Key>(ch.toUpper().unicode());
    }
    if (ch.unicode() >= 0x20 && ch.unicode() < 0x7F) {
        return static_cast<Qt::Key>(ch.unicode());
    }
    return Qt::Key_unknown;
}

}  // namespace

void Click(QWidget* pControl) {
    ASSERT_NE(pControl, nullptr);
    if (!pControl->isVisible()) {
        // Hidden controls take no mouse; a button still answers its click.
        if (auto* pButton = qobject_cast<QAbstractButton*>(pControl)) {
            pButton->click();
        }
        return;
    }
    Click(pControl, MiddleOf(pControl));
}

void Click(QWidget* pControl, const QPoint& pt, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    ASSERT_NE(pControl, nullptr);
    QPoint ptWindow;
    if (QWindow* pHandle = WindowOf(pControl, pt, &ptWindow)) {
        QTest::mouseClick(pHandle, button, modifiers, ptWindow);
    }
}

void DoubleClick(QWidget* pControl, const QPoint& pt) {
    ASSERT_NE(pControl, nullptr);
    QPoint ptWindow;
    if (QWindow* pHandle = WindowOf(pControl, pt, &ptWindow)) {
        QTest::mouseDClick(pHandle, Qt::LeftButton, Qt::NoModifier, ptWindow);
    }
}

void MousePress(QWidget* pControl, const QPoint& pt, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    ASSERT_NE(pControl, nullptr);
    QPoint ptWindow;
    if (QWindow* pHandle = WindowOf(pControl, pt, &ptWindow)) {
        QTest::mousePress(pHandle, button, modifiers, ptWindow);
    }
}

void MouseMove(QWidget* pControl, const QPoint& pt) {
    ASSERT_NE(pControl, nullptr);
    QPoint ptWindow;
    if (QWindow* pHandle = WindowOf(pControl, pt, &ptWindow)) {
        QTest::mouseMove(pHandle, ptWindow);
    }
}

void MouseRelease(QWidget* pControl, const QPoint& pt, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    ASSERT_NE(pControl, nullptr);
    QPoint ptWindow;
    if (QWindow* pHandle = WindowOf(pControl, pt, &ptWindow)) {
        QTest::mouseRelease(pHandle, button, modifiers, ptWindow);
    }
}

void Drag(QWidget* pFrom, const QPoint& ptFrom, QWidget* pTo, const QPoint& ptTo, Qt::KeyboardModifiers modifiers) {
    ASSERT_NE(pFrom, nullptr);
    ASSERT_NE(pTo, nullptr);
    ASSERT_EQ(pFrom->window(), pTo->window()) << "a drag stays in one window";
    MousePress(pFrom, ptFrom, Qt::LeftButton, modifiers);
    QWidget* pWindow = pFrom->window();
    const QPoint ptStart = pFrom->mapTo(pWindow, ptFrom);
    const QPoint ptEnd = pTo->mapTo(pWindow, ptTo);
    const QPoint delta = ptEnd - ptStart;
    const int nSteps = std::max(2, delta.manhattanLength() / 3);
    for (int i = 1; i <= nSteps; ++i) {
        MouseMove(pWindow, ptStart + delta * i / nSteps);
    }
    MouseRelease(pWindow, ptEnd, Qt::LeftButton, modifiers);
}

void TypeText(QWidget* pControl, const std::string& strText) {
    ASSERT_NE(pControl, nullptr);
    FocusControl(pControl);
    QWindow* pHandle = WindowOf(pControl, QPoint(), nullptr);
    if (pHandle == nullptr) {
        return;
    }
    const QString text = QString::fromStdString(strText);
    for (const QChar ch : text) {
        QTest::sendKeyEvent(QTest::Click, pHandle, KeyOfCharacter(ch), QString(ch), Qt::NoModifier);
    }
}

void PressKey(QWidget* pTarget, int nKey, Qt::KeyboardModifiers modifiers) {
    ASSERT_NE(pTarget, nullptr);
    FocusControl(pTarget);
    PressWindowKey(pTarget, nKey, modifiers);
}

void PressWindowKey(QWidget* pWindow, int nKey, Qt::KeyboardModifiers modifiers) {
    ASSERT_NE(pWindow, nullptr);
    if (QWindow* pHandle = WindowOf(pWindow, QPoint(), nullptr)) {
        QTest::keyClick(pHandle, static_cast<Qt::Key>(nKey), modifiers);
    }
}

void PressCloseBox(QWidget* pWindow) {
    ASSERT_NE(pWindow, nullptr);
    pWindow->close();
}

}  // namespace uitest
