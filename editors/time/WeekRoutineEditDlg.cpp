#include "editors/time/WeekRoutineEditDlg.h"

#include "app/Chronoset.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/Utils.h"
#include "model/WeekRoutine.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/ui/ComboBoxData.h"
#include "ui/MainTableBox.h"
#include "ui/TabComboItem.h"
#include "ui/TabListHeader.h"
#include "ui/TableComboBox.h"
#include "ui/TableComboPlace.h"
#include "ui/TableListHeader.h"
#include "ui/ViewNotify.h"

#include <cstdint>

namespace {

constexpr UINT IDS_COLUMN_NAME = 40102;
constexpr UINT IDS_COLUMN_NUMBER = 40103;
constexpr LONG kColumnWidth = 100;

}  // namespace

CWeekRoutineEditDlg::CWeekRoutineEditDlg(QWidget* pParent, std::vector<WORD>* pWeekdays)
    : CDialog(IDD, pParent), m_pWeekdays(pWeekdays) {
    if (m_pWeekdays == nullptr) {
        LOG_ERROR("CWeekRoutineEditDlg: item list not specified");
    } else if (m_pWeekdays->empty()) {
        LOG_ERROR("CWeekRoutineEditDlg: no items in item list");
    }
}

CWeekRoutineEditDlg::~CWeekRoutineEditDlg() = default;

BOOL CWeekRoutineEditDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    m_strCaption = GetWindowText();

    // The template's place of the chooser takes the table combo box.
    m_pDayRoutineCombo = ui::PlaceTableCombo(*this, IDC_DAY_ROUTINE, m_pHeader);
    m_pDayRoutineCombo->SetNoneEntry(true);
    m_pDayRoutineCombo->AddItem(new CTabComboItem(TCI_LEFT, kColumnWidth, GetResString(IDS_COLUMN_NAME, "Name")));
    m_pDayRoutineCombo->AddItem(new CTabComboItem(TCI_LEFT, kColumnWidth, GetResString(IDS_COLUMN_NUMBER, "Nr")));
    m_pDayRoutineCombo->InitColumns(*m_pHeader, TABLE_TYPE_DAY_ROUTINE_COMBO);
    std::vector<SHORT>& kinds = m_pDayRoutineCombo->GetColumnTypes();
    if (!kinds.empty() && kinds[0] == 0) {
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            kinds[i] = static_cast<SHORT>(i + 1);
        }
    }

    m_nPosition = 0;
    m_nWeekday = kNoWeekday;
    if (m_pWeekdays != nullptr && !m_pWeekdays->empty()) {
        m_nWeekday = m_pWeekdays->front();
    }
    if (m_nWeekday < kNoWeekday) {
        m_pDayRoutineCombo->ClearObjects();
        if (g_pChronoset != nullptr) {
            for (CDayRoutine* pRoutine : g_pChronoset->GetDayRoutines()->GetDayRoutines()) {
                m_pDayRoutineCombo->AddObject(pRoutine);
            }
        }
        m_pDayRoutineCombo->Refill();
        ShowWeekday();
    } else {
        LOG_ERROR("CWeekRoutineEditDlg: specified no day to be edited");
    }
    return TRUE;
}

void CWeekRoutineEditDlg::ShowWeekday() {
    SetWindowText(m_strCaption + " " + GetWeekdayName(m_nWeekday));
    CDayRoutine* pRoutine = nullptr;
    if (g_pChronoset != nullptr) {
        pRoutine = g_pChronoset->GetWeekRoutine()->GetDayRoutine(m_nWeekday);
    }
    // A routine no longer listed counts as none.
    for (int i = 0; pRoutine != nullptr && i < m_pDayRoutineCombo->GetObjectCount(); ++i) {
        if (m_pDayRoutineCombo->GetObject(i) == pRoutine) {
            m_pDayRoutineCombo->SelectObject(pRoutine);
            return;
        }
    }
    m_pDayRoutineCombo->SelectObject(nullptr);
}

CDayRoutine* CWeekRoutineEditDlg::GetSelectedDayRoutine() const {
    if (m_pDayRoutineCombo == nullptr || m_pDayRoutineCombo->currentIndex() < 0) {
        return nullptr;
    }
    const std::intptr_t nData = GetComboSelData(m_pDayRoutineCombo);
    if (nData == 0) {
        return nullptr;
    }
    // Only a listed object is taken, never a bare value.
    for (int i = 0; i < m_pDayRoutineCombo->GetObjectCount(); ++i) {
        auto* pRoutine = dynamic_cast<CDayRoutine*>(m_pDayRoutineCombo->GetObject(i));
        if (pRoutine != nullptr && reinterpret_cast<std::intptr_t>(pRoutine) == nData) {
            return pRoutine;
        }
    }
    return nullptr;
}

void CWeekRoutineEditDlg::OnOK() {
    if (m_nWeekday < kNoWeekday) {
        if (g_pChronoset != nullptr) {
            g_pChronoset->GetWeekRoutine()->SetDayRoutine(m_nWeekday, GetSelectedDayRoutine());
        }
        g_bDataModified = true;
        if (m_pTable != nullptr) {
            VIEWNOTIFY notify;
            notify.nType = VN_CHANGED;
            notify.pObject = WeekdayToObject(m_nWeekday);
            notify.nKind = VOK_WEEKROUTINE;
            m_pTable->SendNotification(&notify);
        }
    }
    if (m_pWeekdays != nullptr && static_cast<std::size_t>(m_nPosition) + 1 < m_pWeekdays->size()) {
        ++m_nPosition;
        m_nWeekday = (*m_pWeekdays)[static_cast<std::size_t>(m_nPosition)];
        if (m_nWeekday >= kNoWeekday) {
            EndDialog(IDOK);
            return;
        }
        ShowWeekday();
        return;
    }
    EndDialog(IDOK);
}

void CWeekRoutineEditDlg::OnDestroy() {
    if (m_pDayRoutineCombo != nullptr) {
        m_pDayRoutineCombo->SaveColumns(TABLE_TYPE_DAY_ROUTINE_COMBO);
    }
    CDialog::OnDestroy();
}
