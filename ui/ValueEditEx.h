#pragma once
// The edit of a bounded unsigned number (clock and group-address fields):
// fixed digit count with leading zeros, an optional "." after the digits,
// stepping that may wrap around the ends, and a switched-off state that
// shows "- -" and keeps the value.

#include "ui/UIntSpinEdit.h"

class CValueEditEx : public CUIntSpinEdit {
    Q_OBJECT

public:
    explicit CValueEditEx(QWidget* pParent = nullptr);

    void SetWrapAround(BOOL bWrap) { m_bWrapAround = bWrap; }
    // Exactly n digits with leading zeros; 0 (or less) for none.
    void SetDigitCount(LONG nDigits) { m_nDigitCount = nDigits < 0 ? 0 : nDigits; }
    void SetDotSuffix(BOOL bDot) { m_bDotSuffix = bDot; }

    // Limited to the range; shown when the value is switched on, else only
    // kept.
    void SetValue(DWORD dwValue);
    // The kept value when switched off, else the text's number within the
    // range.
    DWORD GetValue() const;
    // Switching off keeps the value and shows "- -"; switching on shows it
    // again. The window follows.
    void EnableValue(BOOL bEnable);
    BOOL IsValueEnabled() const { return m_bEnabled; }

    void OnVScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) override;
    void OnHScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) override;

protected:
    void OnKillFocus() override;

private:
    void Step(bool bUp);

    BOOL m_bWrapAround = FALSE;
    BOOL m_bEnabled = TRUE;
    BOOL m_bDotSuffix = FALSE;
    DWORD m_dwKeptValue = 0;
    LONG m_nDigitCount = 0;
};
