#pragma once
// The switching-time dialog (169): creates switching times of a day routine
// one OK after another, or steps through a list of them one OK at a time.
// The value control follows the datapoint type of the chosen group address:
// a mode choice for 2-bit addresses, otherwise a value edit (with percent or
// plain count for 1-byte addresses and a fixed or automatic exponent for
// 2-byte floats). The dialog owns no data: a switching time it prepares
// belongs to the routine at once, and only Cancel takes it away again.

#include "platform/base/WinTypes.h"
#include "ui/TypedValueDlg.h"

#include <string>
#include <vector>

class CDayRoutine;
class CDaySwitchTime;
class CGroupDataAddress;
class CSpinControl;
class CTimeEditEx;

class CDaySwitchTimeEditDlg : public CTypedValueDlg {
    Q_OBJECT

public:
    static constexpr UINT IDD = 169;
    static constexpr UINT IDC_HELP_BUTTON = 1299;
    static constexpr UINT IDC_TIME = 1215;
    static constexpr UINT IDC_SEND_ON_CHANGE = 1126;
    static constexpr UINT IDC_PERCENT = 1130;
    static constexpr UINT IDC_STANDARD = 1131;
    static constexpr UINT IDC_TIME_LABEL = 1118;
    static constexpr UINT IDC_ADDRESS_LABEL = 1133;
    static constexpr UINT IDC_VALUE_LABEL = 1123;
    static constexpr UINT IDC_RANGE = 1124;
    static constexpr UINT IDC_UNIT = 1132;
    static constexpr UINT IDC_OPTIONS_LABEL = 1125;
    static constexpr UINT IDC_EXPONENT_LABEL = 1122;
    static constexpr UINT IDC_VALUE = 1128;
    static constexpr UINT IDC_EXPONENT = 1018;
    static constexpr UINT IDC_MODE = 1129;
    static constexpr UINT IDC_ADDRESS = 1024;

    // The list stays the caller's; in edit mode it holds the switching times
    // to edit, in row order.
    CDaySwitchTimeEditDlg(QWidget* pParent, bool bInsertMode, std::vector<CDaySwitchTime*>* pSwitchTimes);
    ~CDaySwitchTimeEditDlg() override;

    void SetDayRoutine(CDayRoutine* pRoutine) { m_pDayRoutine = pRoutine; }
    // Insert mode only.
    void SetTemplateSwitchTime(CDaySwitchTime* pTemplate) { m_pTemplate = pTemplate; }
    CDaySwitchTime* GetCurrentSwitchTime() const { return m_pSwitchTime; }

    CTimeEditEx* GetTimeEdit() const { return m_pTimeEdit; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void MakeControls();
    // Empties and fills the address chooser; the address to select, else the
    // switching time's own.
    void FillAddressList(CGroupDataAddress* pSelect);
    // The chosen address changed: the value controls follow its type; with
    // the offer, the "neue Gruppenadresse" entry runs the insertion.
    void OnAddressChange(bool bOffer);
    void OnExponentChange();
    void ShowSwitchTime();
    // A value typed but not yet checked (Enter pressed in the field) is
    // snapped and limited as leaving the field would do.
    void NormaliseTypedValue();
    // Recounts the associations and offers or withdraws the new-address
    // entry; whether the count reached the limit.
    bool AfterStore();
    bool HasDuplicate(const CGroupDataAddress* pAddress, int nHour, int nMinute) const;

    CDaySwitchTime* m_pSwitchTime = nullptr;
    CDaySwitchTime* m_pTemplate = nullptr;
    CDayRoutine* m_pDayRoutine = nullptr;
    std::vector<CDaySwitchTime*>* m_pSwitchTimes;

    CTimeEditEx* m_pTimeEdit = nullptr;
    CSpinControl* m_pHourSpin = nullptr;
    CSpinControl* m_pMinuteSpin = nullptr;
};
