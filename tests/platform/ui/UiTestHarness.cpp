#include "tests/platform/ui/UiTestHarness.h"

#include "platform/ui/DialogTemplate.h"

#include <QAbstractButton>
#include <QApplication>
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
    } else {
        Script script = std::move(m_queScripts.front());
        m_queScripts.pop_front();
        script(dlg);
        ProcessEvents();
    }
    if (dlg.isVisible()) {
        ADD_FAILURE() << "\"" << dlg.windowTitle().toStdString() << "\" still open after its script";
        dlg.QDialog::done(IDCANCEL);
    }
    return dlg.result();
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
