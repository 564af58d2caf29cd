// Fields that check their text when the user leaves them, in the complete
// main window and in a dialog: every way of leaving checks once, a refused
// text gets its message and comes back, and whatever the key or click was
// for does not happen; the message's modal loop never runs inside a menu's
// or a focus change's handling of the input.

#include "app/Chronoset.h"
#include "editors/time/DaySwitchTimeEditDlg.h"
#include "editors/time/OverviewEditWnd.h"
#include "editors/time/OverviewTable.h"
#include "editors/time/TimeEditors.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/DaySwitchTime.h"
#include "model/DptManager.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/WeekRoutine.h"
#include "platform/ui/ModalRunner.h"
#include "platform/ui/QtMessageBoxSink.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/ui/ControlsTestSupport.h"
#include "ui/MainFrameWnd.h"
#include "ui/MainTableView.h"
#include "ui/MainTreeView.h"
#include "ui/NavigationTree.h"
#include "ui/ParameterDlg.h"
#include "ui/TimeEditEx.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

namespace {

const char* const kRefusedDateText = "Zulässig sind Eingaben vom 01.01.2000 bis 31.12.2035.";

class FieldLeaveTest : public editortest::CEditorTest {
protected:
    void SetUp() override {
        g_DptManager.Init();
        InstallTimeEditors();
        CChronoset& set = m_run.Chronoset();
        m_pLight = NewAddress(set, "Licht", 0x0101, {1, 1});
        m_pWorkday = NewRoutine(set, "Werktag");
        NewSwitchTime(m_pWorkday, m_pLight, 8, 0)->SetValue({1});
        for (int nDay = 0; nDay < 7; ++nDay) {
            set.GetWeekRoutine()->SetDayRoutine(nDay, m_pWorkday);
        }
    }

    // Runs the main window on the overview with the period 03.06. to
    // 05.06.2024 shown; the script gets the window and the form.
    void RunOnOverview(const std::function<void(CParameterDlg&, COverviewEditWnd&)>& script) {
        CParameterDlg dlg(nullptr, nullptr);
        m_runner.Then([&](QDialog&) {
            CNavigationTree* pTree = dlg.GetFrame()->GetTreeView(0)->GetTree();
            QTreeWidgetItem* pNode = nullptr;
            for (QTreeWidgetItem* p : pTree->findItems("Übersicht", Qt::MatchExactly | Qt::MatchRecursive)) {
                pNode = p;
            }
            ASSERT_NE(pNode, nullptr);
            pTree->scrollToItem(pNode);
            uitest::Click(pTree->viewport(), pTree->visualItemRect(pNode).center());
            m_pTable = dynamic_cast<COverviewTable*>(dlg.GetTableView(0)->GetTableBox());
            ASSERT_NE(m_pTable, nullptr);
            m_pForm = m_pTable->GetOverviewForm();
            TypeDate(COverviewEditWnd::IDC_START, "03.06.2024");
            TypeDate(COverviewEditWnd::IDC_END, "05.06.2024");
            uitest::Click(Control(COverviewEditWnd::IDC_SHOW));
            ASSERT_EQ(m_pTable->GetItemCount(), 3);
            script(dlg, *m_pForm);
            g_bDataModified = false;
            dlg.SendCommand(CParameterDlg::ID_FILE_EXIT);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }
    QWidget* Control(UINT nId) const { return m_pForm->GetDlgItem(nId); }
    void TypeDate(UINT nId, const std::string& strDate) { ClickAndRetype(Control(nId), strDate); }
    // The end date refused by one way of leaving it: one message, the date
    // back, the focus kept, no menu open and nothing computed.
    void ExpectRefusedWhenLeft(const char* pszWay, const std::function<void()>& leave) {
        SCOPED_TRACE(pszWay);
        const std::size_t nShown = m_boxes.GetShown().size();
        m_boxes.ExpectText(kRefusedDateText, IDOK);
        TypeDate(COverviewEditWnd::IDC_END, "02.05.2036");
        leave();
        uitest::ProcessEvents();
        EXPECT_EQ(m_boxes.GetShown().size(), nShown + 1);
        EXPECT_EQ(m_pForm->GetDlgItemText(COverviewEditWnd::IDC_END), "05.06.2024");
        EXPECT_EQ(QApplication::focusWidget(), Control(COverviewEditWnd::IDC_END));
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        EXPECT_EQ(m_pTable->GetItemCount(), 3);
        EXPECT_EQ(m_pTable->GetItemText(2, 0), "05.06.2024");
    }

    controlstest::CScopedIntl m_intl{controlstest::GermanIntl()};
    uitest::CEditingRun m_run{true};
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    CGroupDataAddress* m_pLight = nullptr;
    CDayRoutine* m_pWorkday = nullptr;
    COverviewTable* m_pTable = nullptr;
    COverviewEditWnd* m_pForm = nullptr;
};

// The message box of a real modal loop, answered with Return once it shows.
class CReturnOnBox : public QObject {
public:
    CReturnOnBox() {
        connect(&m_timer, &QTimer::timeout, this, [this]() {
            if (auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                m_texts.push_back(pBox->text().toStdString());
                QTest::keyClick(pBox->windowHandle(), Qt::Key_Return);
            }
        });
        m_timer.start(10);
    }
    std::vector<std::string> m_texts;

private:
    QTimer m_timer;
};

TEST_F(FieldLeaveTest, AMenuMnemonicOnARefusedDateGetsTheMessageInARealModalLoop) {
    RunOnOverview([&](CParameterDlg& dlg, COverviewEditWnd&) {
        // The Qt box in Qt's own modal loop, not the scripted one.
        CQtMessageBoxSink sink;
        platform::IMessageBoxSink* pScripted = platform::SetMessageBoxSink(&sink);
        platform::ui::IModalRunner* pRunner = platform::ui::SetModalRunner(nullptr);
        CReturnOnBox answer;
        for (Qt::Key key : {Qt::Key_O, Qt::Key_D}) {
            TypeDate(COverviewEditWnd::IDC_END, "02.05.2036");
            uitest::PressWindowKey(&dlg, key, Qt::AltModifier);
            uitest::ProcessEvents();
            EXPECT_EQ(m_pForm->GetDlgItemText(COverviewEditWnd::IDC_END), "05.06.2024");
            EXPECT_EQ(QApplication::focusWidget(), Control(COverviewEditWnd::IDC_END));
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        }
        platform::ui::SetModalRunner(pRunner);
        platform::SetMessageBoxSink(pScripted);
        EXPECT_EQ(answer.m_texts, std::vector<std::string>(2, kRefusedDateText));
        // The window goes on, and its menus answer the keyboard.
        uitest::PressWindowKey(&dlg, Qt::Key_O, Qt::AltModifier);
        uitest::ProcessEvents();
        auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(pMenu, nullptr);
        EXPECT_EQ(pMenu->title().toStdString(), "&Online");
        uitest::PressWindowKey(pMenu, Qt::Key_Escape);
        uitest::PressWindowKey(pMenu, Qt::Key_Escape);
    });
}

TEST_F(FieldLeaveTest, EveryWayOfLeavingARefusedDateChecksItOnceAndActsOnNothing) {
    RunOnOverview([&](CParameterDlg& dlg, COverviewEditWnd& form) {
        QWidget* pEnd = Control(COverviewEditWnd::IDC_END);
        CNavigationTree* pTree = dlg.GetFrame()->GetTreeView(0)->GetTree();
        ExpectRefusedWhenLeft("Tab", [&]() { uitest::PressWindowKey(pEnd, Qt::Key_Tab); });
        ExpectRefusedWhenLeft("Shift+Tab", [&]() { uitest::PressWindowKey(pEnd, Qt::Key_Backtab, Qt::ShiftModifier); });
        ExpectRefusedWhenLeft("the mnemonic of Zeigen",
                              [&]() { uitest::PressWindowKey(&dlg, Qt::Key_Z, Qt::AltModifier); });
        ExpectRefusedWhenLeft("F1", [&]() { uitest::PressWindowKey(pEnd, Qt::Key_F1); });
        ExpectRefusedWhenLeft("a click on Zeigen", [&]() { uitest::Click(Control(COverviewEditWnd::IDC_SHOW)); });
        ExpectRefusedWhenLeft("a click on the tree", [&]() {
            uitest::Click(pTree->viewport(), pTree->visualItemRect(pTree->topLevelItem(0)).center());
        });
        ExpectRefusedWhenLeft("a click on a row", [&]() {
            uitest::Click(m_pTable->viewport(), m_pTable->GetItemRect(0).center());
        });
        ExpectRefusedWhenLeft("a click on the toolbar", [&]() {
            uitest::ClickToolBarButton(&dlg.GetToolBar(), CParameterDlg::ID_HELP_TABLE);
        });
        ExpectRefusedWhenLeft("a click on the menu bar", [&]() {
            QMenuBar* pBar = dlg.GetMenuBarWidget();
            uitest::Click(pBar, pBar->actionGeometry(pBar->actions().at(0)).center());
        });
        EXPECT_TRUE(pTree->currentItem() != pTree->topLevelItem(0));
        // Leaving the restored date asks nothing; an accepted one is taken
        // by the mnemonic that leaves it, and Zeigen computes with it.
        uitest::PressWindowKey(pEnd, Qt::Key_Tab);
        TypeDate(COverviewEditWnd::IDC_END, "04062024");
        uitest::PressWindowKey(&dlg, Qt::Key_Z, Qt::AltModifier);
        QTest::qWait(200);  // the button's animated click
        EXPECT_EQ(form.GetDlgItemText(COverviewEditWnd::IDC_END), "04.06.2024");
        EXPECT_EQ(m_pTable->GetItemCount(), 2);
        EXPECT_EQ(m_boxes.GetPendingCount(), 0u);
    });
}

TEST_F(FieldLeaveTest, ZeigenNeverComputesWithADateOutsideTheYears) {
    RunOnOverview([&](CParameterDlg& dlg, COverviewEditWnd& form) {
        // A date the edit never checked (the program's own text).
        form.SetDlgItemText(COverviewEditWnd::IDC_START, "01.01.1999");
        m_boxes.ExpectText(kRefusedDateText, IDOK);
        uitest::PressWindowKey(&dlg, Qt::Key_Z, Qt::AltModifier);
        QTest::qWait(200);
        EXPECT_NE(form.GetDlgItemText(COverviewEditWnd::IDC_START), "01.01.1999");
        EXPECT_EQ(QApplication::focusWidget(), Control(COverviewEditWnd::IDC_START));
        EXPECT_EQ(m_pTable->GetItemCount(), 3);
    });
}

// In a dialog Return means its default button and Escape its Cancel: the
// switching-time dialog's time that warns is checked by the one and not by
// the other.
TEST_F(FieldLeaveTest, ReturnChecksATimeThatWarnsAndEscapeCancelsWithoutACheck) {
    CDaySwitchTime* pTime = m_pWorkday->GetSwitchTimes().front();
    std::vector<CDaySwitchTime*> times{pTime};
    for (bool bEscape : {false, true}) {
        SCOPED_TRACE(bEscape ? "Escape" : "Return");
        CDaySwitchTimeEditDlg dlg(nullptr, false, &times);
        dlg.SetDayRoutine(m_pWorkday);
        m_runner.Then([&](QDialog&) {
            auto* pEdit = qobject_cast<CTimeEditEx*>(dlg.GetDlgItem(CDaySwitchTimeEditDlg::IDC_TIME));
            ASSERT_NE(pEdit, nullptr);
            ClickAndRetype(pEdit, "25:00");
            if (bEscape) {
                uitest::PressWindowKey(pEdit, Qt::Key_Escape);
                return;
            }
            m_boxes.ExpectBox("Die eingegebene Zeit ist ungültig. Sie wird daher durch den letzten gültigen Wert "
                              "ersetzt.",
                              "Ungültige Zeit", MB_ICONWARNING, IDOK);
            uitest::PressWindowKey(pEdit, Qt::Key_Return);
            uitest::ProcessEvents();
            EXPECT_TRUE(dlg.isVisible());
            EXPECT_EQ(pEdit->GetWindowText(), "08:00");
            EXPECT_EQ(QApplication::focusWidget(), pEdit);
            uitest::PressWindowKey(pEdit, Qt::Key_Return);
        });
        EXPECT_EQ(dlg.DoModal(), bEscape ? IDCANCEL : IDOK);
    }
    EXPECT_EQ(m_boxes.GetShown().size(), 1u);
    EXPECT_EQ(pTime->GetHour(), 8);
}

}  // namespace
