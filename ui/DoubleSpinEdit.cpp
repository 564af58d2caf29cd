#include "ui/DoubleSpinEdit.h"

#include "model/Locale.h"
#include "ui/SpinEditMath.h"

#include <algorithm>
#include <string>

CDoubleSpinEdit::CDoubleSpinEdit(QWidget* pParent)
    : CFilterEdit(g_csDigits + std::string("+-") + GetDecimalSeparator(), pParent) {}

void CDoubleSpinEdit::SetRange(double dMinimum, double dMaximum) {
    m_dMinimum = dMinimum;
    m_dMaximum = dMaximum;
}

void CDoubleSpinEdit::OnVScroll(UINT nSBCode, UINT /*nPos*/, QWidget* /*pScrollBar*/) {
    if (nSBCode != SB_LINEUP && nSBCode != SB_LINEDOWN) {
        return;
    }
    double dValue = 0.0;
    if (!ParseDouble(GetWindowText(), dValue)) {
        SetWindowText(FormatNumber((m_dMinimum + m_dMaximum) / 2, m_nDecimals, false));
        return;
    }
    double dNew = dValue;
    if (m_dStep != 0.0) {
        dNew = StepOnDoubleGrid(dValue, m_dMinimum, m_dStep, nSBCode == SB_LINEUP);
    }
    dNew = std::clamp(dNew, m_dMinimum, std::max(m_dMinimum, m_dMaximum));
    SetWindowText(FormatNumber(dNew, m_nDecimals, false));
}

void CDoubleSpinEdit::OnHScroll(UINT /*nSBCode*/, UINT /*nPos*/, QWidget* /*pScrollBar*/) {}
