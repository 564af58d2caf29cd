// The switching-time dialog and the dialog that asks for a new time: values
// of each datapoint type stored and shown again, the duplicate refusal, a
// value confirmed with Enter at once, and the old invalid address that a
// switching time gives up.

#include "app/Chronoset.h"
#include "editors/time/DaySwitchTimeEditDlg.h"
#include "editors/time/SetSwitchTimeDlg.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/DaySwitchTime.h"
#include "model/DptManager.h"
#include "model/Float16Value.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/Utils.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/ui/ControlsTestSupport.h"
#include "ui/FloatEditEx.h"
#include "ui/TableComboBox.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using SwitchTimeDlg = CDaySwitchTimeEditDlg;

class DaySwitchTimeEditDlgTest : public editortest::CEditorTest {
protected:
    void SetUp() override {
        g_DptManager.Init();
        m_pRoutine = NewRoutine(Set(), "Werktag");
    }

    CChronoset& Set() { return m_run.Chronoset(); }
    CGroupDataAddress* AddAddress(const std::string& strName, LONG nAddress, int nType, int nSubType,
                                  bool bInvalid = false) {
        return NewAddress(Set(), strName, nAddress, {nType, nSubType}, bInvalid);
    }
    CDaySwitchTime* AddSwitchTime(CGroupDataAddress* pAddress, int nHour, int nMinute, DWORD dwValue,
                                  BYTE nExponent = 3) {
        CDaySwitchTime* pSwitchTime = NewSwitchTime(m_pRoutine, pAddress, nHour, nMinute);
        pSwitchTime->SetValue({dwValue});
        pSwitchTime->SetExponent(nExponent);
        return pSwitchTime;
    }

    static QWidget* Item(const SwitchTimeDlg& dlg, UINT nId) { return dlg.GetDlgItem(nId); }
    static std::string Text(const SwitchTimeDlg& dlg, UINT nId) { return dlg.GetDlgItemText(nId); }
    static void ChooseAddress(const SwitchTimeDlg& dlg, const CGroupDataAddress* pAddress) {
        CEditorSteps::ChooseAddress(dlg.GetAddressCombo(), pAddress);
    }
    static double FloatOf(const CDaySwitchTime* pSwitchTime) {
        return DecodeDptValue(9, pSwitchTime->GetValue().dwValue);
    }
    std::vector<CDaySwitchTime*> SwitchTimes() const {
        return {m_pRoutine->GetSwitchTimes().begin(), m_pRoutine->GetSwitchTimes().end()};
    }

    controlstest::CScopedIntl m_intl{controlstest::UsIntl()};
    uitest::CEditingRun m_run{false};
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    CDayRoutine* m_pRoutine = nullptr;
};

TEST_F(DaySwitchTimeEditDlgTest, InsertingStoresTheValueOfEachTypeAndCancelTakesOnlyThePendingOne) {
    CGroupDataAddress* pBit = AddAddress("Licht", 0x0101, 1, 2);
    CGroupDataAddress* pMode = AddAddress("Zwang", 0x0102, 2, 2);
    CGroupDataAddress* pByte = AddAddress("Dimmer", 0x0103, 5, 1);
    CGroupDataAddress* pFloat = AddAddress("Sollwert", 0x0104, 9, 0);
    SwitchTimeDlg dlg(nullptr, true, nullptr);
    dlg.SetDayRoutine(m_pRoutine);
    m_runner.Then([&](QDialog&) {
        EXPECT_EQ(dlg.GetWindowText(), "Schaltzeit für Tagesablauf Werktag");
        EXPECT_EQ(Text(dlg, IDOK), "&Einfügen");
        ASSERT_EQ(m_pRoutine->GetSwitchTimeCount(), 1);
        QWidget* pTime = Item(dlg, SwitchTimeDlg::IDC_TIME);
        QWidget* pValue = Item(dlg, SwitchTimeDlg::IDC_VALUE);
        auto* pModeCombo = dynamic_cast<QComboBox*>(Item(dlg, SwitchTimeDlg::IDC_MODE));

        // 1 bit.
        Retype(pTime, "0730");
        ChooseAddress(dlg, pBit);
        EXPECT_TRUE(pValue->isVisible());
        EXPECT_FALSE(pModeCombo->isVisible());
        EXPECT_EQ(Text(dlg, SwitchTimeDlg::IDC_RANGE), "(0 .. 1)");
        Retype(pValue, "1");
        uitest::Click(Item(dlg, SwitchTimeDlg::IDC_SEND_ON_CHANGE));
        uitest::Click(Item(dlg, IDOK));
        ASSERT_TRUE(dlg.isVisible());
        // The next one starts as a copy of the one stored.
        ASSERT_EQ(m_pRoutine->GetSwitchTimeCount(), 2);
        EXPECT_EQ(dlg.GetCurrentSwitchTime()->GetHour(), 7);
        EXPECT_EQ(dlg.GetCurrentSwitchTime()->GetMinute(), 30);
        EXPECT_EQ(dlg.GetCurrentSwitchTime()->GetValue().dwValue, 1u);
        EXPECT_EQ(GetComboSelData(dlg.GetAddressCombo()), 0x0101);

        // 2 bit: the mode's value.
        ChooseAddress(dlg, pMode);
        EXPECT_FALSE(pValue->isVisible());
        EXPECT_TRUE(pModeCombo->isVisible());
        EXPECT_EQ(Text(dlg, SwitchTimeDlg::IDC_RANGE), "");
        const std::vector<std::pair<const char*, int>> modes{{"0801", 1}, {"0802", 2}, {"0803", 0}};
        for (const auto& [pszTime, nEntry] : modes) {
            Retype(pTime, pszTime);
            ChooseEntry(pModeCombo, nEntry);
            uitest::Click(Item(dlg, IDOK));
        }

        // 1 byte: percent, then plain count.
        ChooseAddress(dlg, pByte);
        EXPECT_TRUE(Item(dlg, SwitchTimeDlg::IDC_PERCENT)->isVisible());
        EXPECT_TRUE(dynamic_cast<QAbstractButton*>(Item(dlg, SwitchTimeDlg::IDC_PERCENT))->isChecked());
        EXPECT_EQ(Text(dlg, SwitchTimeDlg::IDC_UNIT), "%");
        EXPECT_FALSE(Item(dlg, SwitchTimeDlg::IDC_EXPONENT)->isVisible());
        Retype(pTime, "0900");
        Retype(pValue, "50");
        uitest::Click(Item(dlg, IDOK));
        EXPECT_EQ(Text(dlg, SwitchTimeDlg::IDC_VALUE), "50.20");
        uitest::Click(Item(dlg, SwitchTimeDlg::IDC_STANDARD));
        EXPECT_EQ(Text(dlg, SwitchTimeDlg::IDC_VALUE), "128");
        EXPECT_EQ(Text(dlg, SwitchTimeDlg::IDC_RANGE), "(0 .. 255)");
        Retype(pTime, "0901");
        Retype(pValue, "200");
        uitest::Click(Item(dlg, IDOK));

        // 2-byte float: the exponent sets the range.
        ChooseAddress(dlg, pFloat);
        auto* pExponent = dynamic_cast<QComboBox*>(Item(dlg, SwitchTimeDlg::IDC_EXPONENT));
        ASSERT_TRUE(pExponent->isVisible());
        ASSERT_EQ(pExponent->count(), 17);
        EXPECT_EQ(pExponent->currentText(), "3 (Temp.)");
        EXPECT_EQ(pExponent->itemText(16), "15");
        ChooseEntry(pExponent, 0);
        EXPECT_EQ(Text(dlg, SwitchTimeDlg::IDC_RANGE), "(-671088.64 .. 670760.96)");
        ChooseEntry(pExponent, 1);
        EXPECT_EQ(Text(dlg, SwitchTimeDlg::IDC_RANGE), "(-20.48 .. 20.47)");
        Retype(pTime, "1000");
        Retype(pValue, "12.5");
        uitest::Click(Item(dlg, IDOK));
        uitest::Click(Item(dlg, IDCANCEL));
    });
    g_bDataModified = false;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(g_bDataModified);

    const std::vector<CDaySwitchTime*> stored = SwitchTimes();
    ASSERT_EQ(stored.size(), 7u);
    EXPECT_EQ(stored[0]->GetGroupAddress(), pBit);
    EXPECT_EQ(stored[0]->GetHour(), 7);
    EXPECT_EQ(stored[0]->GetMinute(), 30);
    EXPECT_EQ(stored[0]->GetValue().dwValue, 1u);
    EXPECT_EQ(stored[0]->GetSendOnChange(), 1);
    EXPECT_TRUE(pBit->HasUsage(GAU_SWITCHTIME));
    // "Zwangs-Ein" 3, "Zwangs-Aus" 2, "Frei" 0.
    EXPECT_EQ(stored[1]->GetValue().dwValue, 3u);
    EXPECT_EQ(stored[2]->GetValue().dwValue, 2u);
    EXPECT_EQ(stored[3]->GetValue().dwValue, 0u);
    EXPECT_EQ(stored[3]->GetMinute(), 3);
    EXPECT_EQ(stored[4]->GetValue().dwValue, 128u);
    EXPECT_EQ(stored[5]->GetValue().dwValue, 200u);
    // The radio decides the sub type of the address itself.
    EXPECT_EQ(pByte->GetSubType(), 10);
    EXPECT_EQ(stored[6]->GetGroupAddress(), pFloat);
    EXPECT_EQ(stored[6]->GetExponent(), 0);
    EXPECT_DOUBLE_EQ(FloatOf(stored[6]), 12.5);
}

TEST_F(DaySwitchTimeEditDlgTest, EditingShowsEachStoredValueAndDropsTheInvalidAddressItGivesUp) {
    CGroupDataAddress* pFloat = AddAddress("Sollwert", 0x0104, 9, 0);
    CGroupDataAddress* pBit = AddAddress("Licht", 0x0101, 1, 2);
    CGroupDataAddress* pGone = AddAddress("Verwaist", 0x0105, 2, 2, true);
    CFloat16Value encoded;
    encoded.SetValue(12.5);
    CDaySwitchTime* pFirst = AddSwitchTime(pFloat, 10, 0, encoded.GetWord(), 0);
    CDaySwitchTime* pSecond = AddSwitchTime(pGone, 11, 15, 2);
    std::vector<CDaySwitchTime*> list{pFirst, pSecond};
    SwitchTimeDlg dlg(nullptr, false, &list);
    dlg.SetDayRoutine(m_pRoutine);
    m_runner.Then([&](QDialog&) {
        EXPECT_EQ(Text(dlg, IDCANCEL), "Abbrechen");
        EXPECT_EQ(Text(dlg, SwitchTimeDlg::IDC_TIME), "10:00");
        auto* pExponent = dynamic_cast<QComboBox*>(Item(dlg, SwitchTimeDlg::IDC_EXPONENT));
        EXPECT_EQ(pExponent->currentText(), "0");
        EXPECT_EQ(Text(dlg, SwitchTimeDlg::IDC_RANGE), "(-20.48 .. 20.47)");
        EXPECT_EQ(Text(dlg, SwitchTimeDlg::IDC_VALUE), "12.50");
        ChooseEntry(pExponent, 0);
        uitest::Click(Item(dlg, IDOK));
        ASSERT_TRUE(dlg.isVisible());

        EXPECT_EQ(dlg.GetCurrentSwitchTime(), pSecond);
        EXPECT_EQ(Text(dlg, SwitchTimeDlg::IDC_TIME), "11:15");
        // Its own address of the invalid list is offered and chosen.
        EXPECT_EQ(GetComboSelData(dlg.GetAddressCombo()), -0x0105);
        EXPECT_EQ(dynamic_cast<QComboBox*>(Item(dlg, SwitchTimeDlg::IDC_MODE))->currentText(), "Zwangs-Aus");
        ChooseAddress(dlg, pBit);
        uitest::Click(Item(dlg, IDOK));
        EXPECT_FALSE(dlg.isVisible());
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(pFirst->GetExponent(), SwitchTimeDlg::kAutoExponent);
    EXPECT_DOUBLE_EQ(FloatOf(pFirst), 12.5);
    EXPECT_EQ(pSecond->GetGroupAddress(), pBit);
    // The placeholder lived only for that use.
    EXPECT_EQ(Set().GetGroupDataAddresses()->GetCount(true), 0);
    EXPECT_EQ(m_pRoutine->GetSwitchTimeCount(), 2);
}

TEST_F(DaySwitchTimeEditDlgTest, AnUntouchedOkKeepsTheStoredBytesOfEveryType) {
    CGroupDataAddress* pBit = AddAddress("Licht", 0x0101, 1, 2);
    CGroupDataAddress* pMode = AddAddress("Zwang", 0x0102, 2, 2);
    CGroupDataAddress* pByte = AddAddress("Dimmer", 0x0103, 5, 1);
    CGroupDataAddress* pFloat = AddAddress("Sollwert", 0x0104, 9, 0);
    // 21.00 is stored with exponent 1 under the chosen exponent 3, which
    // cannot hold it; 20.96 with exponent 3, which the automatic encoding
    // would store with exponent 1; the mode byte 1 is none the list offers.
    std::vector<CDaySwitchTime*> list{
        AddSwitchTime(pBit, 6, 0, 1), AddSwitchTime(pMode, 6, 15, 1), AddSwitchTime(pByte, 6, 30, 128),
        AddSwitchTime(pFloat, 6, 45, 0x0C1A, 3), AddSwitchTime(pFloat, 7, 0, 0x1906, 16)};
    std::vector<std::pair<DWORD, BYTE>> before;
    for (const CDaySwitchTime* pSwitchTime : list) {
        before.emplace_back(pSwitchTime->GetValue().dwValue, pSwitchTime->GetExponent());
    }
    SwitchTimeDlg dlg(nullptr, false, &list);
    dlg.SetDayRoutine(m_pRoutine);
    std::vector<std::string> shown;
    m_runner.Then([&](QDialog&) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            ASSERT_EQ(dlg.GetCurrentSwitchTime(), list[i]);
            shown.push_back(Item(dlg, SwitchTimeDlg::IDC_VALUE)->isVisible() ? Text(dlg, SwitchTimeDlg::IDC_VALUE) : "");
            uitest::Click(Item(dlg, IDOK));
        }
        EXPECT_FALSE(dlg.isVisible());
    });
    g_bDataModified = false;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(shown, (std::vector<std::string>{"1", "", "50.20", "21.00", "20.96"}));
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i]->GetValue().dwValue, before[i].first) << i;
        EXPECT_EQ(list[i]->GetExponent(), before[i].second) << i;
    }
    EXPECT_TRUE(g_bDataModified);
}

TEST_F(DaySwitchTimeEditDlgTest, TheSameTimeAndAddressTwiceIsRefused) {
    CGroupDataAddress* pBit = AddAddress("Licht", 0x0101, 1, 2);
    CGroupDataAddress* pOther = AddAddress("Jalousie", 0x0102, 1, 2);
    AddSwitchTime(pBit, 7, 30, 1);
    SwitchTimeDlg dlg(nullptr, true, nullptr);
    dlg.SetDayRoutine(m_pRoutine);
    m_runner.Then([&](QDialog&) {
        Retype(Item(dlg, SwitchTimeDlg::IDC_TIME), "0730");
        ChooseAddress(dlg, pBit);
        m_boxes.ExpectBox("Es existiert bereits ein Eintrag mit der selben Schaltzeit und Gruppenadresse.",
                          "Doppelte Schaltzeit", MB_ICONERROR, IDOK);
        uitest::Click(Item(dlg, IDOK));
        EXPECT_EQ(m_boxes.GetPendingCount(), 0u);
        ASSERT_TRUE(dlg.isVisible());
        EXPECT_EQ(m_pRoutine->GetSwitchTimeCount(), 2);
        EXPECT_EQ(dlg.GetCurrentSwitchTime()->GetGroupAddress(), nullptr);
        // Another address at that time, and that address at another time.
        ChooseAddress(dlg, pOther);
        uitest::Click(Item(dlg, IDOK));
        ChooseAddress(dlg, pBit);
        Retype(Item(dlg, SwitchTimeDlg::IDC_TIME), "0731");
        uitest::Click(Item(dlg, IDOK));
        uitest::Click(Item(dlg, IDCANCEL));
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(m_pRoutine->GetSwitchTimeCount(), 3);
    EXPECT_EQ(m_boxes.GetShown().size(), 1u);
}

TEST_F(DaySwitchTimeEditDlgTest, EnterRightAfterTypingStoresTheValueWithinTheLimits) {
    CGroupDataAddress* pFloat = AddAddress("Sollwert", 0x0104, 9, 0);
    CGroupDataAddress* pByte = AddAddress("Dimmer", 0x0103, 5, 1);
    SwitchTimeDlg dlg(nullptr, true, nullptr);
    dlg.SetDayRoutine(m_pRoutine);
    m_runner.Then([&](QDialog&) {
        QWidget* pValue = Item(dlg, SwitchTimeDlg::IDC_VALUE);
        Retype(Item(dlg, SwitchTimeDlg::IDC_TIME), "0600");
        ChooseAddress(dlg, pFloat);
        ChooseEntry(Item(dlg, SwitchTimeDlg::IDC_EXPONENT), 1);
        Retype(pValue, "21.3");
        uitest::PressKey(pValue, Qt::Key_Return);
        ASSERT_EQ(m_pRoutine->GetSwitchTimeCount(), 2);

        ChooseAddress(dlg, pByte);
        Retype(pValue, "150");
        uitest::PressKey(pValue, Qt::Key_Return);
        uitest::Click(Item(dlg, IDCANCEL));
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    const std::vector<CDaySwitchTime*> stored = SwitchTimes();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_DOUBLE_EQ(FloatOf(stored[0]), 20.47);
    EXPECT_EQ(stored[1]->GetValue().dwValue, 255u);
}

TEST_F(DaySwitchTimeEditDlgTest, TheAdjustDialogGivesBackTheChosenTime) {
    CSetSwitchTimeDlg dlg(nullptr);
    dlg.SetMessage("Bitte wählen Sie eine neue Schaltzeit.");
    dlg.SetTime(7, 30);
    m_runner.Then([&](QDialog&) {
        EXPECT_EQ(dlg.GetWindowText(), "Schaltzeit einstellen");
        EXPECT_EQ(dlg.GetDlgItemText(CSetSwitchTimeDlg::IDC_MESSAGE), "Bitte wählen Sie eine neue Schaltzeit.");
        QWidget* pTime = dlg.GetDlgItem(CSetSwitchTimeDlg::IDC_TIME);
        EXPECT_EQ(dlg.GetDlgItemText(CSetSwitchTimeDlg::IDC_TIME), "07:30");
        Retype(pTime, "0945");
        uitest::Click(dlg.GetDlgItem(IDOK));
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetHour(), 9);
    EXPECT_EQ(dlg.GetMinute(), 45);
}

}  // namespace
