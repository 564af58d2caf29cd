#pragma once
// An edit of a signed number that a spin button steps along the grid
// minimum + k * step, limited to minimum and maximum (-32767..32767, step 1
// until the owner sets others).

#include "ui/FilterEdit.h"
#include "ui/SpinBuddy.h"

class CIntSpinEdit : public CFilterEdit, public ISpinBuddy {
    Q_OBJECT

public:
    explicit CIntSpinEdit(QWidget* pParent = nullptr);

    void SetRange(LONG nMinimum, LONG nMaximum);
    void SetStepSize(LONG nStep) { m_nStep = nStep; }
    LONG GetMinimum() const { return m_nMinimum; }
    LONG GetMaximum() const { return m_nMaximum; }
    LONG GetStepSize() const { return m_nStep; }

    // SB_LINEUP one step up, SB_LINEDOWN one step down.
    void OnVScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) override;
    void OnHScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) override;

protected:
    LONG m_nMinimum = -32767;
    LONG m_nMaximum = 32767;
    LONG m_nStep = 1;
};
