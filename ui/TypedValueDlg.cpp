#include "ui/TypedValueDlg.h"

#include "common/Globals.h"
#include "model/GroupDataAddress.h"
#include "platform/ui/DialogTemplate.h"
#include "ui/FloatEditEx.h"
#include "ui/MainTableBox.h"
#include "ui/SpinControl.h"
#include "ui/TableComboBox.h"
#include "ui/TableComboPlace.h"
#include "ui/TableListHeader.h"
#include "ui/ViewNotify.h"

CTypedValueDlg::CTypedValueDlg(UINT nIDD, QWidget* pParent, bool bInsertMode,
                               const CTypedValueControls::CIds& ids, bool bUnitAfterMaximum)
    : CDialog(nIDD, pParent), m_oValue(*this, ids, bUnitAfterMaximum), m_bInsertMode(bInsertMode),
      m_nValueId(ids.nValue) {
    SetHelpID(nIDD);
    MapCommand(ids.nPercent, [this]() { OnRadio(CTypedValueControls::kPercentSubType); });
    MapCommand(ids.nStandard, [this]() { OnRadio(CTypedValueControls::kCountSubType); });
}

CTypedValueDlg::~CTypedValueDlg() = default;

void CTypedValueDlg::MakeValueEdit(UINT nSpinId) {
    if (QWidget* pPlace = GetDlgItem(m_nValueId)) {
        m_pValueEdit = new CFloatEditEx(pPlace->parentWidget());
        platform::ui::ReplaceDlgControl(pPlace, m_pValueEdit);
        m_pValueSpin = new CSpinControl();
        m_oValue.SetValueEdit(m_pValueEdit, m_pValueSpin);
        m_pValueSpin->CreateBelow(m_pValueEdit, nSpinId);
    }
}

void CTypedValueDlg::MakeAddressCombo(UINT nId) {
    m_pCombo = ui::PlaceTableCombo(*this, nId, m_pHeader);
    m_pCombo->AddGroupAddressColumns();
    m_pCombo->InitColumns(*m_pHeader, TABLE_TYPE_GROUP_ADDRESS_COMBO);
}

CGroupDataAddress* CTypedValueDlg::GetSelectedAddress() const {
    return m_pCombo != nullptr ? m_pCombo->GetSelectedGroupAddress() : nullptr;
}

void CTypedValueDlg::OnRadio(WORD wSubType) {
    if (CGroupDataAddress* pAddress = GetSelectedAddress()) {
        m_oValue.SelectSubType(pAddress->GetObjectType(), wSubType);
    }
}

void CTypedValueDlg::SendToTable(int nType, CObject* pObject, CObject* pParent, int nKind) {
    if (m_pTable != nullptr) {
        m_pTable->SendObjectRecord(nType, pObject, pParent, nKind);
    }
}

void CTypedValueDlg::SendKindsChangedInDebug() {
    if (g_bDebugMode) {
        SendToTable(VN_KINDS_CHANGED, nullptr, nullptr, VOK_ALL);
    }
}

void CTypedValueDlg::OnDestroy() {
    if (m_pCombo != nullptr) {
        m_pCombo->SaveColumns(TABLE_TYPE_GROUP_ADDRESS_COMBO);
    }
    CDialog::OnDestroy();
}
