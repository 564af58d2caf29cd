// The internal clock's pane: the form writes mode, send time, addresses,
// polarity and send delay into the clock and the central object, writes
// nothing once another central object took its place, and a chooser whose
// insertion dialog takes the focus does not open a second one.

#include "app/Chronoset.h"
#include "editors/time/InternalClockEditWnd.h"
#include "editors/time/InternalClockTable.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/InternalClock.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/ui/ControlsTestSupport.h"
#include "ui/GroupAddressInsertHook.h"
#include "ui/ParameterDlg.h"

#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>

namespace {

class InternalClockTest : public editortest::CEditorTest {
protected:
    void SetUp() override {
        CMainTableView::RegisterTableClass(CInternalClockTable::kTableType,
                                           [](int, CObject*) -> CMainTableBox* { return new CInternalClockTable(); });
        m_view.SetDispatcher(&m_dlg);
        m_dlg.SetPanes(nullptr, &m_view, nullptr, nullptr);
    }
    void TearDown() override {
        m_view.DeleteTableBox();
        CMainTableView::RegisterTableClass(CInternalClockTable::kTableType, nullptr);
        ui::SetGroupAddressInsertHook(nullptr);
    }

    CInternalClock& Clock() { return *m_run.Chronoset().GetInternalClock(); }
    CGroupDataAddress* AddAddress(const std::string& strName, LONG nAddress) {
        return NewAddress(m_run.Chronoset(), strName, nAddress, {1, 1});
    }
    CInternalClockEditWnd* Open() {
        auto* pTable = OpenTable<CInternalClockTable>(m_view, CInternalClockTable::kTableType, nullptr, 900, 600);
        m_pForm = pTable != nullptr ? pTable->GetClockForm() : nullptr;
        return m_pForm;
    }
    template <typename T = QWidget>
    T* Control(UINT nId) {
        return qobject_cast<T*>(m_pForm->GetDlgItem(nId));
    }
    // Picks the entry by stepping the closed list with the keys; the
    // "neue Gruppenadresse" entry does not stay selected.
    void Pick(UINT nId, int nIndex, bool bStays = true) {
        auto* pCombo = Control<QComboBox>(nId);
        ASSERT_NE(pCombo, nullptr);
        uitest::Click(pCombo);
        uitest::PressWindowKey(pCombo, Qt::Key_Escape);
        ChooseEntry(pCombo, nIndex);
        if (bStays) {
            ASSERT_EQ(pCombo->currentIndex(), nIndex);
        }
    }
    void Retype(UINT nId, const std::string& strText) { ClickAndRetype(Control(nId), strText); }

    controlstest::CScopedIntl m_intl{controlstest::GermanIntl()};
    uitest::CEditingRun m_run{false};
    uitest::CTestModalRunner m_runner;
    CParameterDlg m_dlg{nullptr, nullptr};
    CMainTableView m_view;
    CInternalClockEditWnd* m_pForm = nullptr;
};

TEST_F(InternalClockTest, ControlsWriteIntoClockAndCentralObject) {
    Clock().SetMode(2);
    CGroupDataAddress* pLock = new CGroupDataAddress();
    pLock->SetName("Sperre");
    pLock->SetAddress(0x0805);
    Clock().SetLockGroupAddress(pLock);
    ASSERT_NE(Open(), nullptr);
    g_bDataModified = false;

    // Mode 2 shows the address rows but not the send time.
    EXPECT_EQ(Control<QComboBox>(CInternalClockEditWnd::IDC_MODE)->currentIndex(), 3);
    EXPECT_TRUE(Control(CInternalClockEditWnd::IDC_TIME_ADDRESS)->isVisible());
    EXPECT_FALSE(Control(CInternalClockEditWnd::IDC_SEND_HOUR)->isVisible());
    EXPECT_TRUE(Control(CInternalClockEditWnd::IDC_LOCK_POLARITY)->isVisible());
    EXPECT_FALSE(g_bDataModified);

    // Hourly sending: the minute only.
    Pick(CInternalClockEditWnd::IDC_MODE, 5);
    EXPECT_EQ(Clock().GetMode(), 4);
    Pick(CInternalClockEditWnd::IDC_MODE, 4);
    EXPECT_EQ(Clock().GetMode(), 3);
    EXPECT_TRUE(g_bDataModified);
    EXPECT_TRUE(Control(CInternalClockEditWnd::IDC_SEND_MINUTE)->isEnabled());
    EXPECT_FALSE(Control(CInternalClockEditWnd::IDC_SEND_HOUR)->isEnabled());
    Pick(CInternalClockEditWnd::IDC_MODE, 5);
    Retype(CInternalClockEditWnd::IDC_SEND_HOUR, "17");
    Retype(CInternalClockEditWnd::IDC_SEND_MINUTE, "99");
    EXPECT_EQ(Clock().GetSendHour(), 17);
    EXPECT_EQ(Clock().GetSendMinute(), 59);  // clamped, not refused
    Retype(CInternalClockEditWnd::IDC_INACTIVE_SECONDS, "30");
    uitest::Click(Control(CInternalClockEditWnd::IDC_INACTIVE_MINUTES));
    EXPECT_EQ(Clock().GetInactiveMinute(), 30);
    EXPECT_EQ(Control<QLineEdit>(CInternalClockEditWnd::IDC_SEND_MINUTE)->text(), "59");

    // Polarity, then "keine" for the lock resets it and hides the chooser.
    g_bDataModified = false;
    Pick(CInternalClockEditWnd::IDC_LOCK_POLARITY, 1);
    EXPECT_EQ(Clock().GetLockPolarity(), 1);
    EXPECT_TRUE(g_bDataModified);
    Pick(CInternalClockEditWnd::IDC_LOCK_ADDRESS, 0);
    EXPECT_EQ(Clock().GetLockGroupAddress(), nullptr);
    EXPECT_EQ(Clock().GetLockPolarity(), 0);
    EXPECT_FALSE(Control(CInternalClockEditWnd::IDC_LOCK_POLARITY)->isVisible());

    Pick(CInternalClockEditWnd::IDC_SEND_DELAY, 3);
    EXPECT_EQ(m_run.Chronoset().GetSendDelay(), 3);
}

TEST_F(InternalClockTest, ShowingAndLeavingTheFormKeepsTheSendTime) {
    for (const bool bStandalone : {false, true}) {
        for (const int nMode : {3, 4}) {
            SCOPED_TRACE(testing::Message() << "standalone " << bStandalone << ", mode " << nMode);
            g_bStandalone = bStandalone;
            Clock().SetMode(nMode);
            Clock().SetSendHour(3);
            Clock().SetSendMinute(15);
            g_bDataModified = false;
            ASSERT_NE(Open(), nullptr);
            EXPECT_EQ(Control<QLineEdit>(CInternalClockEditWnd::IDC_SEND_HOUR)->text(), nMode == 4 ? "03" : "- -");
            EXPECT_EQ(Control<QLineEdit>(CInternalClockEditWnd::IDC_SEND_MINUTE)->text(), "15");
            m_view.DeleteTableBox();  // the form writes what its edits hold as it goes
            EXPECT_EQ(Clock().GetSendHour(), 3);
            EXPECT_EQ(Clock().GetSendMinute(), 15);
            EXPECT_FALSE(g_bDataModified);
        }
    }
    // Hourly to daily sending brings back the hour the form kept aside.
    g_bStandalone = false;
    Clock().SetMode(3);
    ASSERT_NE(Open(), nullptr);
    Pick(CInternalClockEditWnd::IDC_MODE, 5);
    EXPECT_EQ(Control<QLineEdit>(CInternalClockEditWnd::IDC_SEND_HOUR)->text(), "03");
    EXPECT_EQ(Control<QLineEdit>(CInternalClockEditWnd::IDC_SEND_MINUTE)->text(), "15");
}

TEST_F(InternalClockTest, NewAddressEntryGivesRequestToClockAndCancelRestores) {
    CGroupDataAddress* pAdded = AddAddress("Anforderung", 0x0a01);
    int nCalls = 0;
    CGroupDataAddress* pResult = nullptr;
    ui::SetGroupAddressInsertHook([&](QWidget*, DWORD dwAllowed) {
        ++nCalls;
        EXPECT_EQ(dwAllowed, 0x200u);
        return pResult;
    });
    Clock().SetMode(0);
    ASSERT_NE(Open(), nullptr);
    auto* pCombo = Control<QComboBox>(CInternalClockEditWnd::IDC_REQUEST_ADDRESS);
    ASSERT_EQ(pCombo->count(), 2);  // "keine", "neue Gruppenadresse"

    Pick(CInternalClockEditWnd::IDC_REQUEST_ADDRESS, 1, false);  // cancelled
    EXPECT_EQ(nCalls, 1);
    EXPECT_EQ(pCombo->currentIndex(), 0);
    EXPECT_EQ(Clock().GetRequestGroupAddress(), nullptr);

    pResult = pAdded;
    Pick(CInternalClockEditWnd::IDC_REQUEST_ADDRESS, 1, false);
    EXPECT_EQ(nCalls, 2);
    EXPECT_EQ(Clock().GetRequestGroupAddress(), pAdded);
    // The clock owns it now; the list no longer holds it.
    EXPECT_FALSE(m_run.Chronoset().GetGroupDataAddresses()->Remove(pAdded, true));
    ASSERT_EQ(pCombo->count(), 3);
    EXPECT_EQ(pCombo->currentIndex(), 1);
    EXPECT_NE(pCombo->currentText().toStdString().find("Anforderung"), std::string::npos);
}

TEST_F(InternalClockTest, ChooserDoesNotReenterWhileInsertionDialogRuns) {
    int nCalls = 0;
    QComboBox* pCombo = nullptr;
    ui::SetGroupAddressInsertHook([&](QWidget*, DWORD) -> CGroupDataAddress* {
        // The dialog took the focus; the chooser reports a selection once
        // more meanwhile.
        if (++nCalls < 5) {
            uitest::PressKey(pCombo, Qt::Key_Up);
            uitest::PressKey(pCombo, Qt::Key_Down);
        }
        return nullptr;
    });
    Clock().SetMode(0);
    ASSERT_NE(Open(), nullptr);
    pCombo = Control<QComboBox>(CInternalClockEditWnd::IDC_LOCK_ADDRESS);
    Pick(CInternalClockEditWnd::IDC_LOCK_ADDRESS, 1, false);
    EXPECT_EQ(nCalls, 1);
    EXPECT_EQ(pCombo->currentIndex(), 0);
}

TEST_F(InternalClockTest, NothingIsWrittenAfterCentralObjectWasReplaced) {
    Clock().SetMode(4);
    Clock().SetSendHour(6);
    ASSERT_NE(Open(), nullptr);
    {
        auto pImported = std::make_unique<CChronoset>();
        // Not the mode the first entry stands for, so that a write shows.
        pImported->GetInternalClock()->SetMode(2);
        CChronoset* pOld = g_pChronoset;
        g_pChronoset = pImported.get();
        g_bDataModified = false;
        Retype(CInternalClockEditWnd::IDC_SEND_HOUR, "12");
        Pick(CInternalClockEditWnd::IDC_MODE, 0);
        Pick(CInternalClockEditWnd::IDC_SEND_DELAY, 2);
        EXPECT_EQ(pImported->GetInternalClock()->GetSendHour(), 0);
        EXPECT_EQ(pImported->GetSendDelay(), 0);
        EXPECT_EQ(pImported->GetInternalClock()->GetMode(), 2);
        m_view.DeleteTableBox();  // the form writes its values as it goes
        g_pChronoset = pOld;
        EXPECT_EQ(pImported->GetInternalClock()->GetSendHour(), 0);
    }
    EXPECT_EQ(Clock().GetSendHour(), 6);
    EXPECT_EQ(Clock().GetMode(), 4);
    EXPECT_EQ(m_run.Chronoset().GetSendDelay(), 0);
    EXPECT_FALSE(g_bDataModified);
}

}  // namespace
