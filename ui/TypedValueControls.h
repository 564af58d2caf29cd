#pragma once
// The value controls that the switching-time and the quantity-member dialogs
// share: a value edit with its spin that follows the datapoint type of the
// chosen group address, a mode choice for 2-bit addresses, percent or plain
// count for 1-byte addresses, a fixed or automatic exponent for 2-byte
// floats, and the line that shows the value's range. The dialog owns the
// controls; this finds them by the ids its template gives them.

#include "platform/base/WinTypes.h"

#include <string>

class CDialog;
class CFloatEditEx;
class CSpinControl;

class CTypedValueControls {
public:
    struct CIds {
        UINT nValue;
        UINT nUnit;
        UINT nRange;
        UINT nMode;
        UINT nPercent;
        UINT nStandard;
        UINT nExponentLabel;
        UINT nExponent;
    };

    static constexpr LONG kTwoBitType = 2;
    static constexpr LONG kByteType = 5;
    static constexpr LONG kFloatType = 9;
    static constexpr WORD kPercentSubType = 1;
    static constexpr WORD kCountSubType = 10;
    // The exponent of "3 (Temp.)", the usual choice for temperatures.
    static constexpr int kDefaultExponentIndex = 4;
    // Mode values of 2-bit addresses.
    static constexpr int kModeFree = 0;
    static constexpr int kModeForcedOff = 2;
    static constexpr int kModeForcedOn = 3;

    // bUnitAfterMaximum: the plain range shows the unit after its maximum
    // too, not only after its minimum.
    CTypedValueControls(CDialog& dialog, const CIds& ids, bool bUnitAfterMaximum)
        : m_dialog(dialog), m_ids(ids), m_bUnitAfterMaximum(bUnitAfterMaximum) {}

    void SetValueEdit(CFloatEditEx* pEdit, CSpinControl* pSpin) {
        m_pValueEdit = pEdit;
        m_pValueSpin = pSpin;
    }

    // "Auto" and the exponents 0..15, the default chosen.
    void FillExponentCombo();
    // "Frei", "Zwangs-Ein", "Zwangs-Aus", the first chosen.
    void FillModeCombo();
    // The exponent list's index: 0 automatic, else the exponent + 1.
    int GetExponentSelection() const;
    void ShowValueControls(bool bAnyAddress, LONG nMainType);
    // Binds the value edit to another sub type, keeping its raw value.
    void BindValueEdit(LONG nMainType, WORD wSubType);
    // The chosen exponent: the value becomes one it can hold, and the range
    // line and the edit's limits follow it.
    void ApplyExponent();
    // Shows the stored exponent byte (16 and above: automatic) with its
    // range, the value as it is stored.
    void ShowStoredExponent(BYTE nStored);
    // Notes the stored value and exponent byte as the dialog shows them, so
    // that an OK that leaves them as they were keeps their bytes: the edit
    // may encode the same value in other bytes than the stored ones.
    void RememberShownValue(LONG nMainType, DWORD dwStored, BYTE nStoredExponent);
    // What OK stores: the edit's value, or the stored bytes while the value
    // is the one shown.
    DWORD ValueToStore(LONG nMainType);
    BYTE ExponentToStore() const;
    // The range of the bound sub type.
    void ShowPlainRange();
    // A percent or count choice of a 1-byte address: the unit, the binding
    // and the range follow it.
    void SelectSubType(LONG nMainType, WORD wSubType);

    // The limits of a 2-byte float with the exponent (-1: automatic, whose
    // range is that of exponent 15).
    static double Float16Minimum(int nExponent);
    static double Float16Maximum(int nExponent);
    // The value as a 2-byte float holds it, with the fixed exponent (or the
    // automatic one for -1).
    static double ThroughFloat16(double dValue, int nExponent);
    static std::string RangeText(const std::string& strMinimum, const std::string& strMaximum);

private:
    CDialog& m_dialog;
    CIds m_ids;
    bool m_bUnitAfterMaximum;
    void ShowExponentRange(int nExponent);

    CFloatEditEx* m_pValueEdit = nullptr;
    CSpinControl* m_pValueSpin = nullptr;
    // What the dialog showed of the stored value; main type 0: nothing.
    LONG m_nShownType = 0;
    DWORD m_dwShownEncoding = 0;
    DWORD m_dwStored = 0;
    BYTE m_nStoredExponent = 0;
    int m_nShownExponentSelection = -1;
};
