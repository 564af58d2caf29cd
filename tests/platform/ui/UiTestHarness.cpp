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
    QTest::mouseClick(pBar, Qt::LeftButton, Qt::NoModifier, pBar->GetItemRect(nIndex).center());
}

void ProcessEvents() {
    QApplication::processEvents();
}

QWidget* FindControl(const QWidget* pRoot, UINT nId) {
    return platform::ui::FindDlgItem(pRoot, nId);
}

void Click(QWidget* pControl) {
    ASSERT_NE(pControl, nullptr);
    if (!pControl->isVisible()) {
        // Hidden controls take no mouse; a button still answers its click.
        if (auto* pButton = qobject_cast<QAbstractButton*>(pControl)) {
            pButton->click();
        }
        return;
    }
    QTest::mouseClick(pControl, Qt::LeftButton);
}

void TypeText(QWidget* pControl, const std::string& strText) {
    ASSERT_NE(pControl, nullptr);
    QTest::keyClicks(pControl, QString::fromStdString(strText));
}

void PressKey(QWidget* pTarget, int nKey, Qt::KeyboardModifiers modifiers) {
    ASSERT_NE(pTarget, nullptr);
    QTest::keyClick(pTarget, static_cast<Qt::Key>(nKey), modifiers);
}

void PressCloseBox(QWidget* pWindow) {
    ASSERT_NE(pWindow, nullptr);
    pWindow->close();
}

}  // namespace uitest
