#include "ui/IntSpinEdit.h"

#include "ui/SpinEditMath.h"

#include <algorithm>
#include <string>

CIntSpinEdit::CIntSpinEdit(QWidget* pParent) : CFilterEdit(g_csDigits + std::string("+-"), pParent) {}

void CIntSpinEdit::SetRange(LONG nMinimum, LONG nMaximum) {
    m_nMinimum = nMinimum;
    m_nMaximum = nMaximum;
}

void CIntSpinEdit::OnVScroll(UINT nSBCode, UINT /*nPos*/, QWidget* /*pScrollBar*/) {
    if (nSBCode != SB_LINEUP && nSBCode != SB_LINEDOWN) {
        return;
    }
    const std::int64_t nValue = ReadLeadingNumber(GetWindowText());
    std::int64_t nNew = StepOnIntegerGrid(nValue, m_nMinimum, m_nStep, nSBCode == SB_LINEUP);
    nNew = std::clamp<std::int64_t>(nNew, m_nMinimum, std::max(m_nMinimum, m_nMaximum));
    SetWindowText(std::to_string(nNew));
}

void CIntSpinEdit::OnHScroll(UINT /*nSBCode*/, UINT /*nPos*/, QWidget* /*pScrollBar*/) {}
