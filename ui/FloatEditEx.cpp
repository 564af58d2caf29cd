#include "ui/FloatEditEx.h"

#include "model/DptSubType.h"
#include "model/Float16Value.h"
#include "model/Locale.h"
#include "model/Utils.h"
#include "common/Log.h"

#include <QKeyEvent>

#include <algorithm>
#include <cmath>

CFloatEditEx::CFloatEditEx(QWidget* pParent) : CDoubleSpinEdit(pParent) {
    m_dMinimum = 0.0;
    m_dMaximum = 0.0;
    m_dStep = 1.0;
    m_nDecimals = -1;
    // Any change by the user (cut, undo, the context menu too) needs the
    // check on leaving, not only typed keys.
    connect(this, &QLineEdit::textEdited, this, [this]() { m_bEdited = TRUE; });
}

bool CFloatEditEx::IsScaledType() const {
    return m_nMainType == 5 && m_pSubType != nullptr && m_pSubType->GetScaleFlag() != 0;
}

double CFloatEditEx::ToShown(double dRaw) const {
    if (m_pSubType == nullptr) {
        return dRaw;
    }
    if (IsScaledType()) {
        return dRaw * m_dScale;
    }
    if (m_nMainType == 5) {
        return dRaw;
    }
    return std::clamp(dRaw, m_pSubType->GetMin(), std::max(m_pSubType->GetMin(), m_pSubType->GetMax()));
}

double CFloatEditEx::FromShown(double dShown) const {
    return IsScaledType() && m_dScale != 0.0 ? dShown / m_dScale : dShown;
}

void CFloatEditEx::SetDpt(int nMainType, WORD wSubType, const CDptSubType* pSubType) {
    if (pSubType == nullptr || nMainType == 0) {
        return;
    }
    m_nMainType = nMainType;
    m_wSubType = wSubType;
    m_pSubType = pSubType;
    m_dMinimum = pSubType->GetMin();
    m_dMaximum = pSubType->GetMax();
    AllowChar('-', m_dMinimum < 0.0);

    m_dScale = 1.0;
    const double dShownSpan = pSubType->GetMax() - pSubType->GetMin();
    const double dRawSpan = GetDptMaxValue(nMainType) - GetDptMinValue(nMainType);
    if (dShownSpan != 0.0 && dRawSpan != 0.0 && pSubType->GetScaleFlag() != 0) {
        m_dScale = dShownSpan / dRawSpan;
    }

    if (nMainType == 9 || (nMainType == 5 && wSubType == 1)) {
        m_nDecimals = 2;
    } else if (std::fabs(m_dScale - 1.0) > 0.00001) {
        m_nDecimals = static_cast<LONG>(std::ceil(std::fabs(std::log10(m_dScale))));
    } else {
        m_nDecimals = 0;
    }
    AllowChar(GetDecimalSeparator(), m_nDecimals > 0);

    if (m_pLowerPartner != nullptr) {
        m_dMinimum += ToShown(GetStep(m_dMinimum, +1));
    }
    if (m_pUpperPartner != nullptr) {
        m_dMaximum -= ToShown(GetStep(m_dMaximum, -1));
    }
}

double CFloatEditEx::CastToDouble(DWORD dwRaw) const {
    switch (m_nMainType) {
    case 1:
        return static_cast<double>(dwRaw);
    case 2:
    case 5:
        return static_cast<double>(LOBYTE(dwRaw));
    case 6:
        return static_cast<double>(static_cast<signed char>(LOBYTE(dwRaw)));
    case 7:
        return static_cast<double>(LOWORD(dwRaw));
    case 8:
        return static_cast<double>(static_cast<short>(LOWORD(dwRaw)));
    case 9: {
        CFloat16Value value;
        value.SetLowByte(LOBYTE(dwRaw));
        value.SetHighByte(HIBYTE(LOWORD(dwRaw)));
        return value.GetValue();
    }
    default:
        LOG_WARNING("CFloatEditEx::CastToDouble: Unknown DPT main type %d", m_nMainType);
        return 0.0;
    }
}

void CFloatEditEx::SetRawValue(DWORD dwRaw) {
    SetDouble(CastToDouble(dwRaw));
}

void CFloatEditEx::SetDouble(double dRaw) {
    m_dRawValue = dRaw;
    m_dShownValue = ToShown(dRaw);
    ShowValue();
}

void CFloatEditEx::ShowValue() {
    SetWindowText(FormatFloatValue(m_dShownValue, m_nDecimals, true, false));
}

DWORD CFloatEditEx::GetValue() {
    m_dRawValue = FromShown(m_dShownValue);
    const double dRaw = m_dRawValue;
    const double dRounded = std::round(dRaw);
    switch (m_nMainType) {
    case 1:
        return static_cast<DWORD>(static_cast<LONG>(std::trunc(dRaw)));
    case 2:
    case 5:
        return static_cast<DWORD>(std::clamp(dRounded, 0.0, 255.0));
    case 6:
        return static_cast<DWORD>(static_cast<LONG>(std::clamp(dRounded, -128.0, 127.0)));
    case 7:
        return static_cast<DWORD>(std::clamp(dRounded, 0.0, 65535.0));
    case 8:
        return static_cast<DWORD>(static_cast<LONG>(std::clamp(dRounded, -32768.0, 32767.0)));
    case 9: {
        CFloat16Value value;
        value.SetValue(dRaw);
        return static_cast<DWORD>(value.GetHighByte()) * 256 + value.GetLowByte();
    }
    default:
        LOG_WARNING("CFloatEditEx::GetValue: Unknown DPT main type %d", m_nMainType);
        return 0;
    }
}

double CFloatEditEx::GetStep(double dValue, int nDirection) const {
    if (m_nMainType != 9) {
        return 1.0;
    }
    CFloat16Value value;
    if (m_nExponent >= 0 && m_nExponent <= 15) {
        // Free mode remembers the exponent that fixed mode then uses.
        value.SetExponent(m_nExponent);
        value.SetFixedExponentMode(1);
    }
    value.SetValue(dValue);
    if (nDirection > 0) {
        return value.GetStepUp();
    }
    if (nDirection < 0) {
        return value.GetStepDown();
    }
    return value.GetResolution();
}

void CFloatEditEx::LimitMin(double dRaw) {
    if (m_dRawValue < dRaw) {
        SetDouble(dRaw);
    }
}

void CFloatEditEx::LimitMax(double dRaw) {
    if (m_dRawValue > dRaw) {
        SetDouble(dRaw);
    }
}

void CFloatEditEx::ApplyPartnerRules(double dRaw) {
    if (m_pLowerPartner != nullptr) {
        m_pLowerPartner->LimitMax(dRaw - GetStep(dRaw, -1));
        LimitMin(GetStep(dRaw, +1) + m_pLowerPartner->GetDouble());
    }
    if (m_pUpperPartner != nullptr) {
        m_pUpperPartner->LimitMin(dRaw + GetStep(dRaw, +1));
        LimitMax(m_pUpperPartner->GetDouble() - GetStep(dRaw, -1));
    }
}

void CFloatEditEx::UpdatePartners() {
    const double dRaw = GetDouble();
    if (m_pLowerPartner != nullptr) {
        m_pLowerPartner->LimitMax(dRaw - GetStep(dRaw, -1));
    }
    if (m_pUpperPartner != nullptr) {
        m_pUpperPartner->LimitMin(dRaw + GetStep(dRaw, +1));
    }
}

void CFloatEditEx::CheckEditedText() {
    m_bEdited = FALSE;
    double v = 0.0;
    if (!ParseDouble(GetWindowText(), v)) {
        v = (m_dMinimum + m_dMaximum) / 2;
    }
    const double s = ToShown(GetStep(v, 0));
    if (s > 0.0) {
        const double lo = std::floor(v / s + 0.1) * s;
        const double hi = std::ceil(v / s - 0.1) * s;
        v = (v - lo < hi - v) ? lo : hi;
    }
    v = std::clamp(v, m_dMinimum, std::max(m_dMinimum, m_dMaximum));
    m_dShownValue = v;
    ShowValue();
    SetRawValue(GetValue());
}

void CFloatEditEx::CommitTypedText() {
    if (m_bEdited) {
        OnKillFocus();
    }
}

void CFloatEditEx::OnKillFocus() {
    if (m_bEdited) {
        CheckEditedText();
    }
    ApplyPartnerRules(FromShown(m_dShownValue));
    UpdatePartners();
}

void CFloatEditEx::Step(bool bUp) {
    if (m_bEdited) {
        CheckEditedText();
    }
    double b = m_dShownValue;
    const double c = GetStep(b, bUp ? +1 : -1);
    if (c != 0.0) {
        const double d = ToShown(c);
        if (d != 0.0) {
            const double e = (b - m_dMinimum) / d;
            const double f = bUp ? d * (std::floor(e + 0.1) + 1.0) : d * (std::ceil(e - 0.1) - 1.0);
            b = std::clamp(m_dMinimum + f, m_dMinimum, std::max(m_dMinimum, m_dMaximum));
        }
    }
    m_dShownValue = b;
    ShowValue();
    // The raw value follows the shown one before the partners compare
    // against it.
    m_dRawValue = FromShown(m_dShownValue);
    ApplyPartnerRules(FromShown(b));
    m_dRawValue = FromShown(m_dShownValue);
}

void CFloatEditEx::OnVScroll(UINT nSBCode, UINT /*nPos*/, QWidget* /*pScrollBar*/) {
    if (nSBCode == SB_LINEUP || nSBCode == SB_LINEDOWN) {
        Step(nSBCode == SB_LINEUP);
    }
}

void CFloatEditEx::OnHScroll(UINT nSBCode, UINT /*nPos*/, QWidget* /*pScrollBar*/) {
    // The right half of a horizontal spin steps up.
    if (nSBCode == SB_LINEUP || nSBCode == SB_LINEDOWN) {
        Step(nSBCode == SB_LINEDOWN);
    }
}

void CFloatEditEx::OnChar(unsigned nChar) {
    m_bEdited = TRUE;
    CDoubleSpinEdit::OnChar(nChar);
}

void CFloatEditEx::OnKeyDown(int nKey) {
    if (nKey == Qt::Key_Delete) {
        m_bEdited = TRUE;
    }
}

void CFloatEditEx::OnPaste() {
    m_bEdited = TRUE;
    CDoubleSpinEdit::OnPaste();
}
