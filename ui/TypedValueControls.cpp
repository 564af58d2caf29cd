#include "ui/TypedValueControls.h"

#include "model/DptManager.h"
#include "model/Float16Value.h"
#include "model/Utils.h"
#include "common/ResString.h"
#include "platform/ui/ComboBoxData.h"
#include "platform/ui/Dialog.h"
#include "ui/FloatEditEx.h"
#include "ui/SpinControl.h"

#include <QComboBox>

#include <cmath>

namespace {

constexpr int kAutoRangeExponent = 15;

double Float16Limit(int nExponent, int nMantissa) {
    const int e = nExponent < 0 ? kAutoRangeExponent : nExponent;
    return 0.01 * nMantissa * std::ldexp(1.0, e);
}

}  // namespace

double CTypedValueControls::Float16Minimum(int nExponent) {
    return Float16Limit(nExponent, CFloat16Value::kMinMantissa);
}

double CTypedValueControls::Float16Maximum(int nExponent) {
    return Float16Limit(nExponent, CFloat16Value::kMaxMantissa);
}

double CTypedValueControls::ThroughFloat16(double dValue, int nExponent) {
    CFloat16Value value;
    if (nExponent >= 0) {
        value.SetExponent(nExponent);
        value.SetFixedExponentMode(1);
    }
    value.SetValue(dValue);
    return value.GetValue();
}

std::string CTypedValueControls::RangeText(const std::string& strMinimum, const std::string& strMaximum) {
    return "(" + strMinimum + " .. " + strMaximum + ")";
}

void CTypedValueControls::FillExponentCombo() {
    auto* pCombo = m_dialog.GetDlgItemAs<QComboBox>(m_ids.nExponent);
    if (pCombo == nullptr) {
        return;
    }
    pCombo->clear();
    pCombo->addItem(QStringLiteral("Auto"));
    for (int e = 0; e <= 15; ++e) {
        pCombo->addItem(e == 3 ? QStringLiteral("3 (Temp.)") : QString::number(e));
    }
    pCombo->setCurrentIndex(kDefaultExponentIndex);
}

void CTypedValueControls::FillModeCombo() {
    auto* pCombo = m_dialog.GetDlgItemAs<QComboBox>(m_ids.nMode);
    if (pCombo == nullptr) {
        return;
    }
    pCombo->clear();
    AddComboItem(pCombo, QString::fromStdString(GetResString(340, "Frei")), kModeFree);
    AddComboItem(pCombo, QString::fromStdString(GetResString(341, "Zwangs-Ein")), kModeForcedOn);
    AddComboItem(pCombo, QString::fromStdString(GetResString(342, "Zwangs-Aus")), kModeForcedOff);
    pCombo->setCurrentIndex(0);
}

int CTypedValueControls::GetExponentSelection() const {
    auto* pCombo = m_dialog.GetDlgItemAs<QComboBox>(m_ids.nExponent);
    return pCombo != nullptr ? pCombo->currentIndex() : kDefaultExponentIndex;
}

void CTypedValueControls::ShowValueControls(bool bAnyAddress, LONG nMainType) {
    const bool bTwoBit = bAnyAddress && nMainType == kTwoBitType;
    const bool bEdit = bAnyAddress && !bTwoBit;
    const bool bByte = bAnyAddress && nMainType == kByteType;
    const bool bFloat = bAnyAddress && nMainType == kFloatType;
    const auto show = [this](UINT nId, bool bShow) {
        if (QWidget* pControl = m_dialog.GetDlgItem(nId)) {
            pControl->setVisible(bShow);
        }
    };
    show(m_ids.nMode, bTwoBit);
    show(m_ids.nValue, bEdit);
    if (m_pValueSpin != nullptr) {
        m_pValueSpin->setVisible(bEdit);
    }
    show(m_ids.nUnit, bByte);
    show(m_ids.nPercent, bByte);
    show(m_ids.nStandard, bByte);
    show(m_ids.nExponentLabel, bFloat);
    show(m_ids.nExponent, bFloat);
    show(m_ids.nRange, bAnyAddress);
}

void CTypedValueControls::BindValueEdit(LONG nMainType, WORD wSubType) {
    const CDptSubType* pSubType = g_DptManager.GetSubType(static_cast<WORD>(nMainType), wSubType);
    if (pSubType == nullptr || m_pValueEdit == nullptr) {
        return;
    }
    // The raw value stays; an edit bound to nothing yet has none.
    const DWORD dwRaw = m_pValueEdit->GetMainType() != 0 ? m_pValueEdit->GetValue() : 0;
    m_pValueEdit->SetDpt(static_cast<int>(nMainType), wSubType, pSubType);
    m_pValueEdit->SetRawValue(dwRaw);
}

void CTypedValueControls::ApplyExponent() {
    if (m_pValueEdit == nullptr) {
        return;
    }
    const int nExponent = GetExponentSelection() - 1;
    // The value becomes one that the exponent can hold.
    m_pValueEdit->SetDouble(ThroughFloat16(m_pValueEdit->GetDouble(), nExponent));
    ShowExponentRange(nExponent);
}

void CTypedValueControls::ShowStoredExponent(BYTE nStored) {
    if (auto* pCombo = m_dialog.GetDlgItemAs<QComboBox>(m_ids.nExponent)) {
        pCombo->setCurrentIndex(nStored < 16 ? nStored + 1 : 0);
    }
    if (m_pValueEdit != nullptr) {
        ShowExponentRange(GetExponentSelection() - 1);
    }
}

void CTypedValueControls::ShowExponentRange(int nExponent) {
    m_pValueEdit->SetExponent(nExponent);
    const double dMinimum = Float16Minimum(nExponent);
    const double dMaximum = Float16Maximum(nExponent);
    m_dialog.SetDlgItemText(m_ids.nRange, RangeText(FormatFloatValue(dMinimum, 2, false, false),
                                                    FormatFloatValue(dMaximum, 2, false, false)));
    m_pValueEdit->SetRange(dMinimum, dMaximum);
}

void CTypedValueControls::ShowPlainRange() {
    if (m_pValueEdit == nullptr) {
        return;
    }
    const CDptSubType* pSubType =
        g_DptManager.GetSubType(static_cast<WORD>(m_pValueEdit->GetMainType()), m_pValueEdit->GetSubType());
    if (pSubType == nullptr) {
        return;
    }
    std::string strMinimum = FormatFloatValue(pSubType->GetMin(), 0, true, false);
    std::string strMaximum = FormatFloatValue(pSubType->GetMax(), 0, true, false);
    if (!pSubType->GetUnit().empty()) {
        strMinimum += " " + pSubType->GetUnit();
        if (m_bUnitAfterMaximum) {
            strMaximum += " " + pSubType->GetUnit();
        }
    }
    m_dialog.SetDlgItemText(m_ids.nRange, RangeText(strMinimum, strMaximum));
}

void CTypedValueControls::SelectSubType(LONG nMainType, WORD wSubType) {
    if (m_pValueEdit == nullptr) {
        return;
    }
    const CDptSubType* pSubType = g_DptManager.GetSubType(static_cast<WORD>(nMainType), wSubType);
    if (pSubType == nullptr) {
        return;
    }
    m_dialog.SetDlgItemText(m_ids.nUnit, pSubType->GetUnit());
    BindValueEdit(nMainType, wSubType);
    ShowPlainRange();
}

void CTypedValueControls::RememberShownValue(LONG nMainType, DWORD dwStored, BYTE nStoredExponent) {
    m_nShownType = nMainType;
    if (nMainType == 0) {
        return;
    }
    m_dwStored = dwStored;
    m_nStoredExponent = nStoredExponent;
    m_nShownExponentSelection = GetExponentSelection();
    if (nMainType == kTwoBitType) {
        auto* pMode = m_dialog.GetDlgItemAs<QComboBox>(m_ids.nMode);
        m_dwShownEncoding = pMode != nullptr ? static_cast<DWORD>(pMode->currentIndex()) : 0;
    } else {
        m_dwShownEncoding = m_pValueEdit != nullptr ? m_pValueEdit->GetValue() : 0;
    }
}

DWORD CTypedValueControls::ValueToStore(LONG nMainType) {
    DWORD dwValue = 0;
    DWORD dwEncoding = 0;
    if (nMainType == kTwoBitType) {
        auto* pMode = m_dialog.GetDlgItemAs<QComboBox>(m_ids.nMode);
        dwValue = static_cast<DWORD>(GetComboSelData(pMode) & 3);
        dwEncoding = pMode != nullptr ? static_cast<DWORD>(pMode->currentIndex()) : 0;
    } else {
        dwValue = m_pValueEdit != nullptr ? m_pValueEdit->GetValue() : 0;
        dwEncoding = dwValue;
    }
    return nMainType != 0 && nMainType == m_nShownType && dwEncoding == m_dwShownEncoding ? m_dwStored : dwValue;
}

BYTE CTypedValueControls::ExponentToStore() const {
    const int nSelection = GetExponentSelection();
    return m_nShownType != 0 && nSelection == m_nShownExponentSelection ? m_nStoredExponent
                                                                          : static_cast<BYTE>(nSelection - 1);
}
