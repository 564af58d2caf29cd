#pragma once
// An edit of an unsigned number that a spin button steps along the grid
// minimum + k * step, limited to minimum and maximum (0..32767, step 1
// until the owner sets others).

#include "ui/FilterEdit.h"
#include "ui/SpinBuddy.h"

class CUIntSpinEdit : public CFilterEdit, public ISpinBuddy {
    Q_OBJECT

public:
    explicit CUIntSpinEdit(QWidget* pParent = nullptr);

    void SetRange(DWORD dwMinimum, DWORD dwMaximum);
    void SetStepSize(DWORD dwStep) { m_dwStep = dwStep; }
    DWORD GetMinimum() const { return m_dwMinimum; }
    DWORD GetMaximum() const { return m_dwMaximum; }
    DWORD GetStepSize() const { return m_dwStep; }

    // SB_LINEUP one step up, SB_LINEDOWN one step down.
    void OnVScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) override;
    void OnHScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) override;

protected:
    DWORD m_dwMinimum = 0;
    DWORD m_dwMaximum = 32767;
    DWORD m_dwStep = 1;
};
