#include "ui/UIntSpinEdit.h"

#include "ui/SpinEditMath.h"

#include <algorithm>
#include <string>

CUIntSpinEdit::CUIntSpinEdit(QWidget* pParent) : CFilterEdit(g_csDigits, pParent) {}

void CUIntSpinEdit::SetRange(DWORD dwMinimum, DWORD dwMaximum) {
    m_dwMinimum = dwMinimum;
    m_dwMaximum = dwMaximum;
}

void CUIntSpinEdit::OnVScroll(UINT nSBCode, UINT /*nPos*/, QWidget* /*pScrollBar*/) {
    if (nSBCode != SB_LINEUP && nSBCode != SB_LINEDOWN) {
        return;
    }
    const std::int64_t nValue = ReadLeadingNumber(GetWindowText());
    std::int64_t nNew = StepOnIntegerGrid(nValue, m_dwMinimum, m_dwStep, nSBCode == SB_LINEUP);
    nNew = std::clamp<std::int64_t>(nNew, m_dwMinimum, std::max(m_dwMinimum, m_dwMaximum));
    SetWindowText(std::to_string(nNew));
}

void CUIntSpinEdit::OnHScroll(UINT /*nSBCode*/, UINT /*nPos*/, QWidget* /*pScrollBar*/) {}
