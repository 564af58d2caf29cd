#pragma once
// The edit of a datapoint value. Bound to one datapoint sub type, it shows
// the value in that sub type's units with fitting decimals, converts between
// the shown value and the raw datapoint value (1 bit up to the 2-byte
// float), snaps a typed value to the datapoint's resolution when it loses
// the focus, and can be tied to partner edits so that a lower limit stays a
// step below an upper one.

#include "ui/DoubleSpinEdit.h"

class CDptSubType;

class CFloatEditEx : public CDoubleSpinEdit {
    Q_OBJECT

public:
    explicit CFloatEditEx(QWidget* pParent = nullptr);

    // Binds the edit to the type; ignored without a sub type object or for
    // main type 0.
    void SetDpt(int nMainType, WORD wSubType, const CDptSubType* pSubType);
    int GetMainType() const { return m_nMainType; }
    WORD GetSubType() const { return m_wSubType; }

    // The raw datapoint value (low bits by type).
    void SetRawValue(DWORD dwRaw);
    // The raw value as a number, shown in the sub type's units.
    void SetDouble(double dRaw);
    double GetDouble() const { return m_dRawValue; }
    // The raw datapoint value of what is shown.
    DWORD GetValue();
    double GetShownValue() const { return m_dShownValue; }
    double GetScale() const { return m_dScale; }
    double CastToDouble(DWORD dwRaw) const;

    // Stored only (as SetRange); the owner applies the value again
    // afterwards.
    void SetExponent(LONG nExponent) { m_nExponent = nExponent; }
    LONG GetExponent() const { return m_nExponent; }
    void SetLowerPartner(CFloatEditEx* pEdit) { m_pLowerPartner = pEdit; }
    void SetUpperPartner(CFloatEditEx* pEdit) { m_pUpperPartner = pEdit; }

    void LimitMin(double dRaw);
    void LimitMax(double dRaw);
    // Pushes this edit's value, a step apart, into both partners.
    void UpdatePartners();

    // The datapoint's step at the raw value: up (+1), down (-1) or its
    // resolution (0); 0 at the end of the 2-byte float's range.
    double GetStep(double dValue, int nDirection) const;

    bool IsEdited() const { return m_bEdited; }
    // What leaving the field does to typed text: checked, limited and
    // snapped. A dialog runs it before it reads the value, since Enter
    // reaches its OK without the field losing the focus.
    void CommitTypedText();

    void OnVScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) override;
    void OnHScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) override;
    void OnPaste() override;

protected:
    void OnChar(unsigned nChar) override;
    void OnKeyDown(int nKey) override;
    void OnKillFocus() override;

private:
    bool IsScaledType() const;
    double ToShown(double dRaw) const;
    double FromShown(double dShown) const;
    void ShowValue();
    // Reads, snaps and limits an edited text.
    void CheckEditedText();
    // Keeps the partners a step away from the raw value.
    void ApplyPartnerRules(double dRaw);
    void Step(bool bUp);

    int m_nMainType = 0;
    WORD m_wSubType = 0;
    const CDptSubType* m_pSubType = nullptr;
    double m_dRawValue = 0.0;
    double m_dShownValue = 0.0;
    double m_dScale = 1.0;
    LONG m_nExponent = -1;
    BOOL m_bEdited = FALSE;
    CFloatEditEx* m_pLowerPartner = nullptr;
    CFloatEditEx* m_pUpperPartner = nullptr;
};
