#pragma once
// An edit of a decimal number in the locale's form that a spin button steps
// along the grid minimum + k * step, limited to minimum and maximum
// (-100000..100000, step 1 until the owner sets others).

#include "ui/FilterEdit.h"
#include "ui/SpinBuddy.h"

class CDoubleSpinEdit : public CFilterEdit, public ISpinBuddy {
    Q_OBJECT

public:
    explicit CDoubleSpinEdit(QWidget* pParent = nullptr);

    void SetRange(double dMinimum, double dMaximum);
    void SetStepSize(double dStep) { m_dStep = dStep; }
    // Digits after the separator; -1 as many as the value needs.
    void SetDecimals(LONG nDecimals) { m_nDecimals = nDecimals; }
    double GetMinimum() const { return m_dMinimum; }
    double GetMaximum() const { return m_dMaximum; }
    double GetStepSize() const { return m_dStep; }
    LONG GetDecimals() const { return m_nDecimals; }

    // SB_LINEUP one step up, SB_LINEDOWN one step down; a text that is no
    // number becomes the middle of the range.
    void OnVScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) override;
    void OnHScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) override;

protected:
    double m_dMinimum = -100000.0;
    double m_dMaximum = 100000.0;
    double m_dStep = 1.0;
    LONG m_nDecimals = -1;
};
