#pragma once
// What the switching-time and the quantity-member dialogs have in common:
// a group-address chooser, the value controls that follow the chosen
// address's datapoint type (CTypedValueControls), and the state of a run
// that creates or edits one entry after another. Each dialog keeps its own
// template, control ids and entries.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"
#include "ui/TypedValueControls.h"

#include <cstddef>

class CFloatEditEx;
class CGroupDataAddress;
class CMainTableBox;
class CObject;
class CSpinControl;
class CTableComboBox;
class CTableListHeader;

class CTypedValueDlg : public CDialog {
    Q_OBJECT

public:
    // Mode values of 2-bit addresses.
    static constexpr int kModeFree = CTypedValueControls::kModeFree;
    static constexpr int kModeForcedOff = CTypedValueControls::kModeForcedOff;
    static constexpr int kModeForcedOn = CTypedValueControls::kModeForcedOn;
    // The exponent byte of a value without fixed exponent.
    static constexpr BYTE kAutoExponent = 0xFF;

    ~CTypedValueDlg() override;

    // The table told of the entries the dialog stores; null: none.
    void SetTable(CMainTableBox* pTable) { m_pTable = pTable; }

    CTableComboBox* GetAddressCombo() const { return m_pCombo; }
    CFloatEditEx* GetValueEdit() const { return m_pValueEdit; }

protected:
    // Every datapoint type but date and time may be sent: the types a new
    // address made from the chooser may have.
    static constexpr DWORD kAllValueTypes = 127;

    // ids: the template's value controls; its percent and count buttons
    // choose the sub type of a 1-byte address. bUnitAfterMaximum as for
    // CTypedValueControls.
    CTypedValueDlg(UINT nIDD, QWidget* pParent, bool bInsertMode, const CTypedValueControls::CIds& ids,
                   bool bUnitAfterMaximum);

    void OnDestroy() override;

    // The value edit with its spin (nSpinId) in the place of the template's
    // value control.
    void MakeValueEdit(UINT nSpinId);
    // The address chooser with its columns in the place of control nId.
    void MakeAddressCombo(UINT nId);
    CGroupDataAddress* GetSelectedAddress() const;
    // The percent or count choice of a 1-byte address.
    void OnRadio(WORD wSubType);
    void SendToTable(int nType, CObject* pObject, CObject* pParent, int nKind);
    // In debug mode the views recount the kinds after every change.
    void SendKindsChangedInDebug();

    CTypedValueControls m_oValue;
    bool m_bInsertMode;
    CMainTableBox* m_pTable = nullptr;
    // The entry of the caller's list that the dialog shows (edit mode).
    std::size_t m_nPosition = 0;
    int m_nPrevSelection = -1;
    bool m_bLimitShown = false;
    bool m_bNewAddressRunning = false;
    // The controls are showing the current entry as stored.
    bool m_bShowingStored = false;

    CFloatEditEx* m_pValueEdit = nullptr;
    CSpinControl* m_pValueSpin = nullptr;
    CTableComboBox* m_pCombo = nullptr;
    CTableListHeader* m_pHeader = nullptr;

private:
    UINT m_nValueId;
};
