#pragma once
// The quantity dialog (179): creates quantities one OK after another, or
// steps through a list of them one OK at a time. The value edits follow the
// chosen value type: percent or plain count for 1-byte values, a fixed or
// automatic exponent for 2-byte floats, read-only copies for 1-bit values.
// The dialog owns no data: a quantity it prepares belongs to the quantities
// at once, and only Cancel takes it away again.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"
#include "ui/LeaveCheck.h"

#include <cstddef>
#include <string>
#include <vector>

class CFloatEditEx;
class CMainTableBox;
class CObject;
class CQuantities;
class CQuantity;
class CSpinControl;

class CQuantityEditDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 179;
    static constexpr UINT IDC_HELP_BUTTON = 1299;
    static constexpr UINT IDC_NUMBER_LABEL = 1178;
    static constexpr UINT IDC_NUMBER = 1269;
    static constexpr UINT IDC_NAME_LABEL = 1180;
    static constexpr UINT IDC_NAME = 1181;
    static constexpr UINT IDC_TYPE_LABEL = 1182;
    static constexpr UINT IDC_TYPE = 1183;
    static constexpr UINT IDC_PERCENT = 1184;
    static constexpr UINT IDC_STANDARD = 1185;
    static constexpr UINT IDC_EXPONENT_LABEL = 1186;
    static constexpr UINT IDC_EXPONENT = 1187;
    static constexpr UINT IDC_TRIGGER_LABEL = 1188;
    static constexpr UINT IDC_RANGE_A_LABEL = 1189;
    static constexpr UINT IDC_MINIMUM = 1190;
    static constexpr UINT IDC_MINIMUM_TEXT = 1270;
    static constexpr UINT IDC_MINIMUM_UNIT = 1191;
    static constexpr UINT IDC_RANGE_A_TO_LABEL = 1192;
    static constexpr UINT IDC_RANGE_A = 1193;
    static constexpr UINT IDC_RANGE_A_UNIT = 1194;
    static constexpr UINT IDC_RANGE_B_LABEL = 1195;
    static constexpr UINT IDC_RANGE_B = 1196;
    static constexpr UINT IDC_RANGE_B_UNIT = 1197;
    static constexpr UINT IDC_RANGE_B_TO_LABEL = 1198;
    static constexpr UINT IDC_MAXIMUM = 1199;
    static constexpr UINT IDC_MAXIMUM_TEXT = 1271;
    static constexpr UINT IDC_MAXIMUM_UNIT = 1200;
    static constexpr UINT IDC_RANGE_A_TEXT = 1272;
    static constexpr UINT IDC_RANGE_A_FRAME = 1274;
    static constexpr UINT IDC_RANGE_B_TEXT = 1273;
    static constexpr UINT IDC_RANGE_B_FRAME = 1275;
    static constexpr UINT IDC_CONDITION_LABEL = 1201;
    static constexpr UINT IDC_CONDITION = 1202;
    static constexpr UINT IDC_COLD_START_LABEL = 1203;
    static constexpr UINT IDC_COLD_START = 1206;
    static constexpr UINT IDC_WARM_START_LABEL = 1204;
    static constexpr UINT IDC_WARM_START = 1207;
    static constexpr UINT IDC_INIT_VALUE_LABEL = 1210;
    static constexpr UINT IDC_INIT_VALUE = 1208;
    static constexpr UINT IDC_INIT_VALUE_UNIT = 1209;
    // The spin buttons below the range-A, range-B and initial-value edits.
    static constexpr UINT IDC_RANGE_A_SPIN = 3;
    static constexpr UINT IDC_RANGE_B_SPIN = 4;
    static constexpr UINT IDC_INIT_VALUE_SPIN = 5;

    static constexpr int kMaxNameLength = 50;
    // The exponent byte of a value without fixed exponent.
    static constexpr BYTE kAutoExponent = 0xFF;

    // The list stays the caller's; in edit mode it holds the quantities to
    // edit, in row order.
    CQuantityEditDlg(QWidget* pParent, bool bInsertMode, std::vector<CQuantity*>* pQuantities);
    ~CQuantityEditDlg() override;

    // The table to notify; null: none.
    void SetTable(CMainTableBox* pTable) { m_pTable = pTable; }
    // Insert mode only.
    void SetTemplateQuantity(CQuantity* pTemplate) { m_pTemplate = pTemplate; }
    CQuantity* GetCurrentQuantity() const { return m_pQuantity; }

    CFloatEditEx* GetValueEdit(UINT nId) const;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void MakeControls();
    void FillCodeCombos();
    void FillTypeCombo();
    void FillExponentCombo();
    // Shows the current quantity in every control.
    void Fill();
    // The chosen value type; also run for each quantity that is shown.
    void OnSelchangeType();
    void OnSubType(WORD wSubType);
    void ApplyExponent();
    void OnKillfocusName();
    bool IsNameLengthAccepted() const;
    void ShowTypeControls(int nMainType);
    // Binds the value edits to the type; bKeepText: the shown numbers stay,
    // else the raw values.
    void BindValueEdits(int nMainType, WORD wSubType, bool bKeepText);
    void ShowTypeLimits(int nMainType, WORD wSubType);
    void ShowUnits(WORD wSubType);
    // The range edits keep to their limits and a step apart.
    void RecheckRangeEdits();
    void CopyRangeTexts();
    WORD SelectedSubType(int nMainType) const;
    int GetExponentSelection() const;
    void ShowControl(UINT nId, bool bShow);
    bool HasTriggersLeft() const;
    // The triggers the type change gave up go when the type is stored.
    void DropTriggers();
    void StoreQuantity();
    void FocusName();
    void SendToTable(int nType, CObject* pObject, CObject* pParent, int nKind);
    CQuantities* Quantities() const;

    bool m_bSpinsCreated = false;
    CQuantity* m_pQuantity = nullptr;
    CQuantity* m_pTemplate = nullptr;
    bool m_bInsertMode;
    int m_nPrevTypeIndex = -1;
    std::vector<CQuantity*>* m_pQuantities;
    std::size_t m_nPosition = 0;
    CMainTableBox* m_pTable = nullptr;

    // The chosen type, stored by OK.
    int m_nMainType = 0;
    WORD m_wSubType = 0;
    // The user agreed that the current quantity's triggers go with its
    // type; nothing is removed before OK.
    bool m_bDropTriggers = false;
    bool m_bCheckingName = false;
    // The name is checked whichever way the user leaves it.
    CLeaveCheck m_nameCheck;

    CFloatEditEx* m_pMinimumEdit = nullptr;
    CFloatEditEx* m_pRangeAEdit = nullptr;
    CFloatEditEx* m_pRangeBEdit = nullptr;
    CFloatEditEx* m_pMaximumEdit = nullptr;
    CFloatEditEx* m_pInitEdit = nullptr;
    CSpinControl* m_pRangeASpin = nullptr;
    CSpinControl* m_pRangeBSpin = nullptr;
    CSpinControl* m_pInitSpin = nullptr;
};
