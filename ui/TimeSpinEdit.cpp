#include "ui/TimeSpinEdit.h"

#include "model/Locale.h"

#include <string>

CTimeSpinEdit::CTimeSpinEdit(QWidget* pParent)
    : CFilterEdit(g_csDigits + GetTimeSeparator(), pParent),
      m_tMinimum(2000, 1, 1, 0, 0, 0),
      m_tMaximum(2000, 1, 1, 23, 59, 59),
      m_tsStep(0, 0, 1, 0) {}

void CTimeSpinEdit::SetRange(const CTime& minimum, const CTime& maximum) {
    m_tMinimum = minimum;
    m_tMaximum = maximum;
}

CTime CTimeSpinEdit::Limit(const CTime& time) const {
    if (time < m_tMinimum) {
        return m_tMinimum;
    }
    if (time > m_tMaximum) {
        return m_tMaximum;
    }
    return time;
}

void CTimeSpinEdit::OnVScroll(UINT nSBCode, UINT /*nPos*/, QWidget* /*pScrollBar*/) {
    if (nSBCode != SB_LINEUP && nSBCode != SB_LINEDOWN) {
        return;
    }
    CTime time;
    if (ParseTime(GetWindowText(), time)) {
        time = Limit(nSBCode == SB_LINEUP ? time + m_tsStep : time - m_tsStep);
    } else {
        time = CTime::GetCurrentTime();
    }
    SetWindowText(FormatTime(time, true));
}

void CTimeSpinEdit::OnHScroll(UINT /*nSBCode*/, UINT /*nPos*/, QWidget* /*pScrollBar*/) {}
