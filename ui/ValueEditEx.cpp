#include "ui/ValueEditEx.h"

#include "model/Utils.h"
#include "ui/SpinEditMath.h"

#include <algorithm>
#include <string>

CValueEditEx::CValueEditEx(QWidget* pParent) : CUIntSpinEdit(pParent) {}

void CValueEditEx::SetValue(DWORD dwValue) {
    dwValue = std::clamp(dwValue, m_dwMinimum, std::max(m_dwMinimum, m_dwMaximum));
    if (!m_bEnabled) {
        m_dwKeptValue = dwValue;
        return;
    }
    std::string strText = m_nDigitCount > 0 ? FormatDecimal(dwValue, m_nDigitCount, true) : std::to_string(dwValue);
    if (m_bDotSuffix) {
        strText += '.';
    }
    SetWindowText(strText);
}

DWORD CValueEditEx::GetValue() const {
    if (!m_bEnabled) {
        return m_dwKeptValue;
    }
    const std::int64_t nValue = ReadLeadingNumber(GetWindowText());
    return static_cast<DWORD>(
        std::clamp<std::int64_t>(nValue, m_dwMinimum, std::max<std::int64_t>(m_dwMinimum, m_dwMaximum)));
}

void CValueEditEx::EnableValue(BOOL bEnable) {
    if (!bEnable) {
        if (m_bEnabled) {
            m_dwKeptValue = GetValue();
        }
        m_bEnabled = FALSE;
        SetWindowText("- -");
    } else if (!m_bEnabled) {
        // Only a disabled edit holds its value aside; an enabled one already
        // shows it, and its kept value is stale.
        m_bEnabled = TRUE;
        SetValue(m_dwKeptValue);
    }
    setEnabled(bEnable != FALSE);
}

void CValueEditEx::Step(bool bUp) {
    const std::int64_t nValue = ReadLeadingNumber(GetWindowText());
    const std::int64_t nMin = m_dwMinimum;
    const std::int64_t nMax = std::max(m_dwMinimum, m_dwMaximum);
    std::int64_t nNew = StepOnIntegerGrid(nValue, nMin, m_dwStep, bUp);
    if (nNew > nMax) {
        // Past the top going up wraps to the bottom; a value that was above
        // the range comes down to its top.
        nNew = (bUp && m_bWrapAround) ? nMin : nMax;
    } else if (nNew < nMin) {
        nNew = (!bUp && m_bWrapAround) ? nMax : nMin;
    }
    SetValue(static_cast<DWORD>(nNew));
}

void CValueEditEx::OnVScroll(UINT nSBCode, UINT /*nPos*/, QWidget* /*pScrollBar*/) {
    if (nSBCode == SB_LINEUP || nSBCode == SB_LINEDOWN) {
        Step(nSBCode == SB_LINEUP);
    }
}

void CValueEditEx::OnHScroll(UINT nSBCode, UINT /*nPos*/, QWidget* /*pScrollBar*/) {
    // The right half of a horizontal spin steps up.
    if (nSBCode == SB_LINEUP || nSBCode == SB_LINEDOWN) {
        Step(nSBCode == SB_LINEDOWN);
    }
}

void CValueEditEx::OnKillFocus() {
    SetValue(GetValue());
}
