#include "editors/groups/QuantityWnd.h"

#include "editors/groups/QuantityEditDlg.h"
#include "editors/groups/QuantityTable.h"
#include "model/DptManager.h"
#include "model/DptSubType.h"
#include "model/Quantity.h"
#include "model/Utils.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/base/HelpService.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Menu.h"
#include "ui/FloatEditEx.h"
#include "ui/MainTableBox.h"

#include <QMouseEvent>

#include <string>
#include <vector>

namespace {

std::string ConditionText(int nCode) {
    switch (nCode) {
        case 0: return LoadResString(280);
        case 1: return LoadResString(281);
        case 2: return LoadResString(282);
        default: return "?";
    }
}

std::string WarmStartText(int nCode) {
    switch (nCode) {
        case 0: return LoadResString(283);
        case 2: return LoadResString(284);
        case 3: return LoadResString(285);
        default: return "?";
    }
}

std::string ColdStartText(int nCode) {
    switch (nCode) {
        case 0: return LoadResString(286);
        case 1: return LoadResString(287);
        case 3: return LoadResString(288);
        default: return "?";
    }
}

}  // namespace

CQuantityWnd::CQuantityWnd(CQuantityTable* pTable) : CMainFormView(IDD, pTable), m_pTable(pTable) {
    MapCommand(IDC_CHANGE, [this]() { OnChange(); });
    MapCommand(ID_TABLE_HELP, [this]() { OnHelpOnTable(); });
    MapUpdateCommandUI(ID_TABLE_HELP, [](CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); });
}

CQuantityWnd::~CQuantityWnd() = default;

void CQuantityWnd::SetTable(CQuantityTable* pTable) {
    m_pTable = pTable;
    SetOwnerTable(pTable);
}

CFloatEditEx* CQuantityWnd::MakeValueEdit(UINT nId) {
    QWidget* pPlace = GetDlgItem(nId);
    auto* pEdit = new CFloatEditEx(pPlace != nullptr ? pPlace->parentWidget() : this);
    if (pPlace != nullptr) {
        platform::ui::ReplaceDlgControl(pPlace, pEdit);
    } else {
        SetDlgCtrlID(pEdit, nId);
    }
    // Only their texts are shown, copied into the statics.
    pEdit->hide();
    return pEdit;
}

int CQuantityWnd::OnCreate() {
    m_pMinimumEdit = MakeValueEdit(IDC_MINIMUM_EDIT);
    m_pRangeAEdit = MakeValueEdit(IDC_RANGE_A_EDIT);
    m_pRangeBEdit = MakeValueEdit(IDC_RANGE_B_EDIT);
    m_pMaximumEdit = MakeValueEdit(IDC_MAXIMUM_EDIT);
    m_pInitEdit = MakeValueEdit(IDC_INIT_VALUE_EDIT);
    // Paired as in the quantity dialog, so the values show with the same
    // limits there and here.
    m_pRangeAEdit->SetUpperPartner(m_pRangeBEdit);
    m_pRangeBEdit->SetLowerPartner(m_pRangeAEdit);
    return CMainFormView::OnCreate();
}

void CQuantityWnd::OnOK() {}

void CQuantityWnd::OnCancel() {}

void CQuantityWnd::Refresh() {
    if (m_pQuantity == nullptr || m_pMinimumEdit == nullptr) {
        return;
    }
    SetDlgItemText(IDC_CONDITION, ConditionText(m_pQuantity->GetCondition()));
    SetDlgItemText(IDC_WARM_START, WarmStartText(m_pQuantity->GetWarmStart()));
    SetDlgItemText(IDC_COLD_START, ColdStartText(m_pQuantity->GetColdStart()));

    const int nMainType = m_pQuantity->GetMainType();
    const int nSubType = m_pQuantity->GetSubType();
    const CDptSubType* pSubType = g_DptManager.GetSubType(static_cast<WORD>(nMainType), static_cast<WORD>(nSubType));
    if (pSubType == nullptr) {
        LOG_ERROR("CQuantityWnd: no subtype object for main type %d, subtype %d", nMainType, nSubType);
        return;
    }
    for (CFloatEditEx* pEdit : {m_pMinimumEdit, m_pRangeAEdit, m_pRangeBEdit, m_pMaximumEdit, m_pInitEdit}) {
        pEdit->SetDpt(nMainType, static_cast<WORD>(nSubType), pSubType);
    }
    SetDlgItemText(IDC_TYPE, GetDptTypeName(nMainType));
    std::string strSubType;
    if (nMainType == 5) {
        strSubType = LoadResString(nSubType == 1 ? 390 : 391);
    }
    SetDlgItemText(IDC_SUBTYPE, strSubType);
    // A quantity whose type changed away from 5 keeps no stale unit.
    const std::string strUnit = nMainType == 5 ? pSubType->GetUnit() : std::string();
    for (UINT nId : {IDC_MINIMUM_UNIT, IDC_RANGE_A_UNIT, IDC_RANGE_B_UNIT, IDC_MAXIMUM_UNIT, IDC_INIT_VALUE_UNIT}) {
        SetDlgItemText(nId, strUnit);
    }
    SetDlgItemText(IDC_NUMBER, std::to_string(m_pQuantity->GetNumber()));
    SetDlgItemText(IDC_NAME, m_pQuantity->GetName());

    m_pRangeAEdit->SetRawValue(m_pQuantity->GetRangeA());
    m_pRangeBEdit->SetRawValue(m_pQuantity->GetRangeB());
    m_pInitEdit->SetRawValue(m_pQuantity->GetInitValue());
    m_pMinimumEdit->SetDouble(GetDptMinValue(nMainType));
    m_pMaximumEdit->SetDouble(GetDptMaxValue(nMainType));
    SetDlgItemText(IDC_MINIMUM, m_pMinimumEdit->GetWindowText());
    SetDlgItemText(IDC_RANGE_A, m_pRangeAEdit->GetWindowText());
    SetDlgItemText(IDC_RANGE_B, m_pRangeBEdit->GetWindowText());
    SetDlgItemText(IDC_MAXIMUM, m_pMaximumEdit->GetWindowText());
    SetDlgItemText(IDC_INIT_VALUE, m_pInitEdit->GetWindowText());
}

void CQuantityWnd::OnChange() {
    if (m_pQuantity == nullptr) {
        // The dialog would make a new quantity for an empty list entry.
        return;
    }
    std::vector<CQuantity*> quantities{m_pQuantity};
    CQuantityEditDlg dlg(GetParameterDlg(), false, &quantities);
    if (m_pTable != nullptr) {
        dlg.SetTable(m_pTable);
    } else {
        LOG_ERROR("CQuantityWnd: No table reference specified");
    }
    if (dlg.DoModal() == IDOK) {
        Refresh();
    }
}

void CQuantityWnd::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::RightButton) {
        OnRButtonDown(pEvent->position().toPoint());
    }
    CMainFormView::mousePressEvent(pEvent);
}

void CQuantityWnd::OnRButtonDown(const QPoint& ptClient) {
    CMenu menu;
    if (!menu.LoadMenu(CMainTableBox::kContextMenuId)) {
        return;
    }
    CMenu* pPopup = menu.GetSubMenu(static_cast<int>(kContextPopup));
    if (pPopup == nullptr) {
        return;
    }
    const QPoint ptScreen = mapToGlobal(ptClient);
    pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, ptScreen.x(), ptScreen.y(), this);
}

void CQuantityWnd::OnHelpOnTable() {
    platform::WinHelp(CMainTableBox::GetHelpId(CQuantityTable::kTableType));
}
