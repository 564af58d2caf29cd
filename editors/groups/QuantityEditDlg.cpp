#include "editors/groups/QuantityEditDlg.h"

#include "app/Chronoset.h"
#include "model/DptManager.h"
#include "model/GroupDataAddress.h"
#include "model/Locale.h"
#include "model/MessageBoxes.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/ui/ComboBoxData.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Handles.h"
#include "ui/FloatEditEx.h"
#include "ui/MainTableBox.h"
#include "ui/SpinControl.h"
#include "ui/TypedValueControls.h"
#include "ui/ViewNotify.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int kOneBitType = 1;
constexpr int kByteType = 5;
constexpr int kFloatType = 9;
constexpr WORD kPercentSubType = 1;
constexpr WORD kCountSubType = 10;
// The main types a quantity may have, in the order the type list offers them.
constexpr int kQuantityTypes[] = {1, 5, 6, 7, 8, 9};

// The shown value kept within the edit's limits, then snapped to what the
// raw encoding can hold.
void KeepWithinLimits(CFloatEditEx* pEdit) {
    if (pEdit == nullptr || pEdit->GetMainType() == 0) {
        return;
    }
    const double dShown = pEdit->GetShownValue();
    const double dLimited =
        std::clamp(dShown, pEdit->GetMinimum(), std::max(pEdit->GetMinimum(), pEdit->GetMaximum()));
    if (dLimited != dShown) {
        pEdit->SetDouble(dLimited / pEdit->GetScale());
    }
    pEdit->SetRawValue(pEdit->GetValue());
}

}  // namespace

CQuantityEditDlg::CQuantityEditDlg(QWidget* pParent, bool bInsertMode, std::vector<CQuantity*>* pQuantities)
    : CDialog(IDD, pParent), m_bInsertMode(bInsertMode), m_pQuantities(pQuantities) {
    SetHelpID(IDD);
    MapCommand(IDC_PERCENT, [this]() { OnSubType(kPercentSubType); });
    MapCommand(IDC_STANDARD, [this]() { OnSubType(kCountSubType); });
}

CQuantityEditDlg::~CQuantityEditDlg() = default;

CQuantities* CQuantityEditDlg::Quantities() const {
    return g_pChronoset != nullptr ? g_pChronoset->GetQuantities() : nullptr;
}

CFloatEditEx* CQuantityEditDlg::GetValueEdit(UINT nId) const {
    switch (nId) {
    case IDC_MINIMUM:
        return m_pMinimumEdit;
    case IDC_RANGE_A:
        return m_pRangeAEdit;
    case IDC_RANGE_B:
        return m_pRangeBEdit;
    case IDC_MAXIMUM:
        return m_pMaximumEdit;
    case IDC_INIT_VALUE:
        return m_pInitEdit;
    default:
        return nullptr;
    }
}

void CQuantityEditDlg::MakeControls() {
    // The template's edits give their places to the value edits.
    const auto replace = [this](UINT nId) -> CFloatEditEx* {
        QWidget* pPlace = GetDlgItem(nId);
        if (pPlace == nullptr) {
            return nullptr;
        }
        auto* pEdit = new CFloatEditEx(pPlace->parentWidget());
        platform::ui::ReplaceDlgControl(pPlace, pEdit);
        return pEdit;
    };
    m_pMinimumEdit = replace(IDC_MINIMUM);
    m_pRangeAEdit = replace(IDC_RANGE_A);
    m_pRangeBEdit = replace(IDC_RANGE_B);
    m_pMaximumEdit = replace(IDC_MAXIMUM);
    m_pInitEdit = replace(IDC_INIT_VALUE);
    for (CFloatEditEx* pBound : {m_pMinimumEdit, m_pMaximumEdit}) {
        if (pBound != nullptr) {
            pBound->setReadOnly(true);
        }
    }
    // Range A ends below where range B starts.
    if (m_pRangeAEdit != nullptr && m_pRangeBEdit != nullptr) {
        m_pRangeAEdit->SetUpperPartner(m_pRangeBEdit);
        m_pRangeBEdit->SetLowerPartner(m_pRangeAEdit);
    }
    if (!m_bSpinsCreated) {
        const auto spin = [](CFloatEditEx* pEdit, UINT nId) -> CSpinControl* {
            if (pEdit == nullptr) {
                return nullptr;
            }
            auto* pSpin = new CSpinControl();
            pSpin->CreateBelow(pEdit, nId);
            return pSpin;
        };
        m_pRangeASpin = spin(m_pRangeAEdit, IDC_RANGE_A_SPIN);
        m_pRangeBSpin = spin(m_pRangeBEdit, IDC_RANGE_B_SPIN);
        m_pInitSpin = spin(m_pInitEdit, IDC_INIT_VALUE_SPIN);
        m_bSpinsCreated = true;
    }
    if (auto* pType = GetDlgItemAs<QComboBox>(IDC_TYPE)) {
        connect(pType, &QComboBox::activated, this, [this](int) { OnSelchangeType(); });
    }
    if (auto* pExponent = GetDlgItemAs<QComboBox>(IDC_EXPONENT)) {
        connect(pExponent, &QComboBox::activated, this, [this](int) { ApplyExponent(); });
    }
    if (QWidget* pName = GetDlgItem(IDC_NAME)) {
        m_nameCheck.Attach(
            pName, [this]() { return m_bCheckingName || IsNameLengthAccepted(); }, [this]() { OnKillfocusName(); });
    }
}

void CQuantityEditDlg::FillCodeCombos() {
    struct Item {
        UINT nTextId;
        const char* pszText;
        int nCode;
    };
    const auto fill = [this](UINT nComboId, std::initializer_list<Item> items) {
        auto* pCombo = GetDlgItemAs<QComboBox>(nComboId);
        if (pCombo == nullptr) {
            return;
        }
        pCombo->clear();
        for (const Item& item : items) {
            AddComboItem(pCombo, QString::fromStdString(GetResString(item.nTextId, item.pszText)), item.nCode);
        }
    };
    fill(IDC_CONDITION, {{280, "A, B (immer)", 0}, {281, ">A, >B (Neueintritt)", 1}, {282, "A< >B (Hysterese)", 2}});
    fill(IDC_WARM_START,
         {{283, "Bus (Wert lesen)", 0}, {284, "RAM (alter Wert)", 2}, {285, "kein (keine Reaktion)", 3}});
    fill(IDC_COLD_START,
         {{286, "Bus (Wert lesen)", 0}, {287, "Init (Initwert verwenden)", 1}, {288, "kein (keine Reaktion)", 3}});
}

void CQuantityEditDlg::FillTypeCombo() {
    auto* pCombo = GetDlgItemAs<QComboBox>(IDC_TYPE);
    if (pCombo == nullptr) {
        return;
    }
    pCombo->clear();
    for (int nMainType : kQuantityTypes) {
        AddComboItem(pCombo, QString::fromStdString(GetDptTypeName(nMainType)), nMainType);
    }
}

void CQuantityEditDlg::FillExponentCombo() {
    auto* pCombo = GetDlgItemAs<QComboBox>(IDC_EXPONENT);
    if (pCombo == nullptr) {
        return;
    }
    pCombo->clear();
    pCombo->addItem(QStringLiteral("Auto"));
    for (int e = 0; e <= 15; ++e) {
        pCombo->addItem(e == 3 ? QStringLiteral("3 (Temp.)") : QString::number(e));
    }
}

BOOL CQuantityEditDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    MakeControls();
    if (m_bInsertMode) {
        SetDlgItemText(IDOK, GetResString(180, "&Einfügen"));
    } else {
        SetDlgItemText(IDCANCEL, GetResString(146, "Abbrechen"));
    }
    m_nPosition = 0;
    m_pQuantity = nullptr;
    if (!m_bInsertMode && m_pQuantities != nullptr) {
        for (; m_nPosition < m_pQuantities->size(); ++m_nPosition) {
            if ((*m_pQuantities)[m_nPosition] != nullptr) {
                m_pQuantity = (*m_pQuantities)[m_nPosition];
                break;
            }
        }
    }
    // A quantity made here would outlive a Cancel in edit mode, so only
    // insert mode prepares one.
    if (m_pQuantity == nullptr && m_bInsertMode && Quantities() != nullptr) {
        m_pQuantity = Quantities()->CreateQuantity();
    }
    if (m_pQuantity == nullptr) {
        LOG_ERROR("CQuantityEditDlg: no quantity to edit");
        EndDialog(IDCANCEL);
        return TRUE;
    }
    if (m_bInsertMode && m_pTemplate != nullptr) {
        m_pQuantity->SetName(m_pTemplate->GetName());
        m_pQuantity->SetWarmStart(m_pTemplate->GetWarmStart());
        m_pQuantity->SetColdStart(m_pTemplate->GetColdStart());
        m_pQuantity->SetExponent(m_pTemplate->GetExponent());
        m_pQuantity->SetType(m_pTemplate->GetType());
        m_pQuantity->SetRangeA(m_pTemplate->GetRangeA());
        m_pQuantity->SetRangeB(m_pTemplate->GetRangeB());
        m_pQuantity->SetInitValue(m_pTemplate->GetInitValue());
    }
    FillExponentCombo();
    Fill();
    OnSelchangeType();
    FocusName();
    return FALSE;
}

void CQuantityEditDlg::ShowControl(UINT nId, bool bShow) {
    if (QWidget* pControl = GetDlgItem(nId)) {
        pControl->setVisible(bShow);
    }
}

int CQuantityEditDlg::GetExponentSelection() const {
    auto* pCombo = GetDlgItemAs<QComboBox>(IDC_EXPONENT);
    return pCombo != nullptr ? pCombo->currentIndex() : 0;
}

WORD CQuantityEditDlg::SelectedSubType(int nMainType) const {
    if (nMainType == kByteType) {
        return IsDlgButtonChecked(IDC_PERCENT) ? kPercentSubType : kCountSubType;
    }
    const CDptManager::SubTypeMap* pMap = g_DptManager.GetMainTypeMap(static_cast<WORD>(nMainType));
    const CDptSubType* pFirst = pMap != nullptr ? pMap->GetFirst() : nullptr;
    return pFirst != nullptr ? pFirst->GetSubType() : 0;
}

void CQuantityEditDlg::BindValueEdits(int nMainType, WORD wSubType, bool bKeepText) {
    const CDptSubType* pSubType = g_DptManager.GetSubType(static_cast<WORD>(nMainType), wSubType);
    if (pSubType == nullptr) {
        return;
    }
    for (CFloatEditEx* pEdit : {m_pMinimumEdit, m_pRangeAEdit, m_pRangeBEdit, m_pMaximumEdit, m_pInitEdit}) {
        if (pEdit == nullptr) {
            continue;
        }
        const bool bWasBound = pEdit->GetMainType() != 0;
        if (bKeepText) {
            // Another type reads the number as it stands, not its encoding.
            double dShown = 0.0;
            if (!ParseDouble(pEdit->text().toStdString(), dShown)) {
                dShown = pEdit->GetShownValue();
            }
            pEdit->SetDpt(nMainType, wSubType, pSubType);
            pEdit->SetDouble(dShown / pEdit->GetScale());
        } else {
            const DWORD dwRaw = bWasBound ? pEdit->GetValue() : 0;
            pEdit->SetDpt(nMainType, wSubType, pSubType);
            pEdit->SetRawValue(dwRaw);
        }
    }
}

void CQuantityEditDlg::ShowTypeLimits(int nMainType, WORD wSubType) {
    const CDptSubType* pSubType = g_DptManager.GetSubType(static_cast<WORD>(nMainType), wSubType);
    if (pSubType == nullptr) {
        return;
    }
    const std::string strMinimum = FormatFloatValue(pSubType->GetMin(), 0, true, false);
    const std::string strMaximum = FormatFloatValue(pSubType->GetMax(), 0, true, false);
    SetDlgItemText(IDC_MINIMUM, strMinimum);
    SetDlgItemText(IDC_MINIMUM_TEXT, strMinimum);
    SetDlgItemText(IDC_MAXIMUM, strMaximum);
    SetDlgItemText(IDC_MAXIMUM_TEXT, strMaximum);
}

void CQuantityEditDlg::ShowUnits(WORD wSubType) {
    const CDptSubType* pSubType = g_DptManager.GetSubType(kByteType, wSubType);
    if (pSubType == nullptr) {
        return;
    }
    for (UINT nId : {IDC_MINIMUM_UNIT, IDC_RANGE_A_UNIT, IDC_RANGE_B_UNIT, IDC_MAXIMUM_UNIT, IDC_INIT_VALUE_UNIT}) {
        SetDlgItemText(nId, pSubType->GetUnit());
    }
}

void CQuantityEditDlg::CopyRangeTexts() {
    if (m_pRangeAEdit != nullptr) {
        SetDlgItemText(IDC_RANGE_A_TEXT, m_pRangeAEdit->text().toStdString());
    }
    if (m_pRangeBEdit != nullptr) {
        SetDlgItemText(IDC_RANGE_B_TEXT, m_pRangeBEdit->text().toStdString());
    }
}

void CQuantityEditDlg::RecheckRangeEdits() {
    KeepWithinLimits(m_pRangeAEdit);
    if (m_pRangeAEdit != nullptr && m_pRangeAEdit->GetMainType() != 0) {
        m_pRangeAEdit->UpdatePartners();
    }
    KeepWithinLimits(m_pRangeBEdit);
    if (m_pRangeBEdit != nullptr && m_pRangeBEdit->GetMainType() != 0) {
        m_pRangeBEdit->UpdatePartners();
    }
    KeepWithinLimits(m_pInitEdit);
}

void CQuantityEditDlg::Fill() {
    if (m_pQuantity == nullptr) {
        return;
    }
    FillCodeCombos();
    const int nMainType = m_pQuantity->GetMainType();
    const WORD wSubType = static_cast<WORD>(m_pQuantity->GetSubType());
    const bool bKnownType = std::find(std::begin(kQuantityTypes), std::end(kQuantityTypes), nMainType) !=
                            std::end(kQuantityTypes);
    if (bKnownType) {
        BindValueEdits(nMainType, wSubType, false);
    }
    FillTypeCombo();
    // A new quantity has no type yet and starts with the first.
    SelectComboByData(GetDlgItemAs<QComboBox>(IDC_TYPE), nMainType, 0);
    if (nMainType == kByteType) {
        const bool bStandard = wSubType != kPercentSubType;
        CheckDlgButton(IDC_STANDARD, bStandard);
        CheckDlgButton(IDC_PERCENT, !bStandard);
        OnSubType(bStandard ? kCountSubType : kPercentSubType);
    }
    SetDlgItemText(IDC_NUMBER, std::to_string(m_pQuantity->GetNumber()));
    if (auto* pName = GetDlgItemAs<QLineEdit>(IDC_NAME)) {
        pName->setText(QString::fromStdString(m_pQuantity->GetName()));
    }
    SelectComboByData(GetDlgItemAs<QComboBox>(IDC_CONDITION), m_pQuantity->GetCondition(), -1);
    SelectComboByData(GetDlgItemAs<QComboBox>(IDC_COLD_START), m_pQuantity->GetColdStart(), -1);
    SelectComboByData(GetDlgItemAs<QComboBox>(IDC_WARM_START), m_pQuantity->GetWarmStart(), -1);
    const BYTE nExponent = m_pQuantity->GetExponent();
    if (auto* pExponent = GetDlgItemAs<QComboBox>(IDC_EXPONENT)) {
        pExponent->setCurrentIndex(nExponent < 16 ? nExponent + 1 : 0);
    }
    // The exponent means nothing to the other types; applied to them it
    // would bend their values to 2-byte floats.
    if (nMainType == kFloatType) {
        ApplyExponent();
    }
    if (bKnownType) {
        m_pRangeAEdit->SetRawValue(m_pQuantity->GetRangeA());
        m_pRangeBEdit->SetRawValue(m_pQuantity->GetRangeB());
        m_pInitEdit->SetRawValue(m_pQuantity->GetInitValue());
    }
    CopyRangeTexts();
}

bool CQuantityEditDlg::HasTriggersLeft() const {
    return m_pQuantity != nullptr && !m_bDropTriggers && m_pQuantity->GetTriggerCount(false) > 0;
}

void CQuantityEditDlg::ShowTypeControls(int nMainType) {
    const bool bOneBit = nMainType == kOneBitType;
    for (QWidget* pControl : std::initializer_list<QWidget*>{m_pRangeAEdit, m_pRangeBEdit, m_pRangeASpin,
                                                             m_pRangeBSpin}) {
        if (pControl != nullptr) {
            pControl->setVisible(!bOneBit);
        }
    }
    for (UINT nId : {IDC_RANGE_A_TEXT, IDC_RANGE_A_FRAME, IDC_RANGE_B_TEXT, IDC_RANGE_B_FRAME}) {
        ShowControl(nId, bOneBit);
    }
    const bool bByte = nMainType == kByteType;
    for (UINT nId : {IDC_MINIMUM_UNIT, IDC_RANGE_A_UNIT, IDC_RANGE_B_UNIT, IDC_MAXIMUM_UNIT, IDC_INIT_VALUE_UNIT,
                     IDC_PERCENT, IDC_STANDARD}) {
        ShowControl(nId, bByte);
    }
    ShowControl(IDC_EXPONENT_LABEL, nMainType == kFloatType);
    ShowControl(IDC_EXPONENT, nMainType == kFloatType);
}

void CQuantityEditDlg::OnSelchangeType() {
    auto* pType = GetDlgItemAs<QComboBox>(IDC_TYPE);
    if (pType == nullptr) {
        return;
    }
    const int nIndex = pType->currentIndex();
    if (m_nPrevTypeIndex != -1 && nIndex != m_nPrevTypeIndex && HasTriggersLeft()) {
        const std::string strQuestion =
            GetResString(611, "Die bereits ausgewählten Auslösegruppenadressen werden gelöscht.");
        if (QuestionBox("%s", strQuestion.c_str()) != IDYES) {
            pType->setCurrentIndex(m_nPrevTypeIndex);
            return;
        }
        m_bDropTriggers = true;
    }
    m_nPrevTypeIndex = nIndex;
    m_nMainType = static_cast<int>(GetComboItemData(pType, nIndex));
    m_wSubType = SelectedSubType(m_nMainType);

    ShowTypeControls(m_nMainType);
    if (g_DptManager.GetSubType(static_cast<WORD>(m_nMainType), m_wSubType) != nullptr) {
        BindValueEdits(m_nMainType, m_wSubType, true);
        if (m_nMainType == kByteType) {
            ShowUnits(m_wSubType);
        }
        if (m_nMainType == kFloatType) {
            const BYTE nExponent = m_pQuantity != nullptr ? m_pQuantity->GetExponent() : kAutoExponent;
            if (auto* pExponent = GetDlgItemAs<QComboBox>(IDC_EXPONENT)) {
                pExponent->setCurrentIndex(nExponent < 16 ? nExponent + 1 : 0);
            }
            ApplyExponent();
        } else {
            ShowTypeLimits(m_nMainType, m_wSubType);
        }
        if (m_nMainType == kByteType) {
            CheckDlgButton(IDC_PERCENT, m_wSubType == kPercentSubType);
            CheckDlgButton(IDC_STANDARD, m_wSubType == kCountSubType);
        }
    }
    RecheckRangeEdits();
    CopyRangeTexts();
}

void CQuantityEditDlg::OnSubType(WORD wSubType) {
    if (g_DptManager.GetSubType(kByteType, wSubType) == nullptr) {
        return;
    }
    m_wSubType = wSubType;
    ShowUnits(wSubType);
    BindValueEdits(kByteType, wSubType, false);
    CopyRangeTexts();
    ShowTypeLimits(kByteType, wSubType);
}

void CQuantityEditDlg::ApplyExponent() {
    const int nExponent = GetExponentSelection() - 1;
    for (CFloatEditEx* pEdit : {m_pRangeAEdit, m_pRangeBEdit, m_pInitEdit}) {
        if (pEdit != nullptr) {
            pEdit->SetExponent(nExponent);
            pEdit->SetDouble(CTypedValueControls::ThroughFloat16(pEdit->GetDouble(), nExponent));
        }
    }
    const double dMinimum = CTypedValueControls::Float16Minimum(nExponent);
    const double dMaximum = CTypedValueControls::Float16Maximum(nExponent);
    const std::string strMinimum = FormatFloatValue(dMinimum, 2, false, false);
    const std::string strMaximum = FormatFloatValue(dMaximum, 2, false, false);
    SetDlgItemText(IDC_MINIMUM, strMinimum);
    SetDlgItemText(IDC_MINIMUM_TEXT, strMinimum);
    SetDlgItemText(IDC_MAXIMUM, strMaximum);
    SetDlgItemText(IDC_MAXIMUM_TEXT, strMaximum);
    for (CFloatEditEx* pEdit : {m_pRangeAEdit, m_pRangeBEdit, m_pInitEdit}) {
        if (pEdit != nullptr) {
            pEdit->SetRange(dMinimum, dMaximum);
        }
    }
    RecheckRangeEdits();
    CopyRangeTexts();
}

bool CQuantityEditDlg::IsNameLengthAccepted() const {
    const auto* pName = GetDlgItemAs<QLineEdit>(IDC_NAME);
    return pName == nullptr || pName->text().toUcs4().size() <= kMaxNameLength;
}

void CQuantityEditDlg::OnKillfocusName() {
    auto* pName = GetDlgItemAs<QLineEdit>(IDC_NAME);
    if (pName == nullptr || m_bCheckingName || IsNameLengthAccepted()) {
        return;
    }
    const QList<uint> characters = pName->text().toUcs4();
    const int nLength = static_cast<int>(characters.size());
    // The box takes the focus from the edit; that loss is not a second one.
    m_bCheckingName = true;
    const std::string strMessage = FormatIntFields(
        GetResString(450, "Die angegebene Bezeichnung ist mit %d Zeichen zu lang und wird daher gekürzt. "
                          "Bezeichnungen dürfen maximal %d Zeichen lang sein."),
        {nLength, kMaxNameLength});
    InfoBox("%s", strMessage.c_str());
    pName->setText(QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), kMaxNameLength));
    m_bCheckingName = false;
}

void CQuantityEditDlg::DropTriggers() {
    const CTriggerList triggers = m_pQuantity->GetTriggers();
    for (CGroupDataAddress* pAddress : triggers) {
        m_pQuantity->RemoveTriggerGroupAddress(pAddress);
    }
    m_bDropTriggers = false;
    g_bDataModified = true;
    // Trigger lists, usage and the addresses of the invalid list all change.
    SendToTable(VN_KINDS_CHANGED, nullptr, nullptr, VOK_ALL);
}

void CQuantityEditDlg::StoreQuantity() {
    // Enter reaches OK without the fields losing the focus.
    for (CFloatEditEx* pEdit : {m_pRangeAEdit, m_pRangeBEdit, m_pInitEdit}) {
        if (pEdit != nullptr) {
            pEdit->CommitTypedText();
        }
    }
    OnKillfocusName();
    if (auto* pName = GetDlgItemAs<QLineEdit>(IDC_NAME)) {
        m_pQuantity->SetName(pName->text().toStdString());
    }
    m_pQuantity->SetType({m_nMainType, m_wSubType});
    m_pQuantity->SetExponent(static_cast<BYTE>(GetExponentSelection() - 1));
    if (m_pRangeAEdit != nullptr && m_pRangeAEdit->GetMainType() != 0) {
        m_pQuantity->SetRangeA(static_cast<WORD>(m_pRangeAEdit->GetValue()));
        m_pQuantity->SetRangeB(static_cast<WORD>(m_pRangeBEdit->GetValue()));
        m_pQuantity->SetInitValue(static_cast<WORD>(m_pInitEdit->GetValue()));
    }
    m_pQuantity->SetColdStart(static_cast<int>(GetComboSelData(GetDlgItemAs<QComboBox>(IDC_COLD_START))));
    m_pQuantity->SetWarmStart(static_cast<int>(GetComboSelData(GetDlgItemAs<QComboBox>(IDC_WARM_START))));
    m_pQuantity->SetCondition(static_cast<int>(GetComboSelData(GetDlgItemAs<QComboBox>(IDC_CONDITION))));
    if (m_bDropTriggers) {
        DropTriggers();
    }
}

void CQuantityEditDlg::FocusName() {
    if (auto* pName = GetDlgItemAs<QLineEdit>(IDC_NAME)) {
        pName->setFocus();
        pName->selectAll();
    }
}

void CQuantityEditDlg::SendToTable(int nType, CObject* pObject, CObject* pParent, int nKind) {
    if (m_pTable != nullptr) {
        m_pTable->SendObjectRecord(nType, pObject, pParent, nKind);
    }
}

void CQuantityEditDlg::OnOK() {
    if (m_pQuantity != nullptr) {
        StoreQuantity();
    }
    g_bDataModified = true;
    CQuantities* pQuantities = Quantities();
    if (m_bInsertMode) {
        if (m_pQuantity != nullptr) {
            SendToTable(VN_ADDED, m_pQuantity, pQuantities, 0);
        }
        CQuantity* pNext = pQuantities != nullptr ? pQuantities->CreateQuantity() : nullptr;
        if (pNext == nullptr) {
            // The quantity just stored stays; nothing is left to cancel.
            CMessageBox().ShowInfo(platform::ui::HwndFromWidget(this),
                                   GetResString(609, "Die maximale Anzahl von Mengen ist erreicht.").c_str(),
                                   GetResString(608, "Mengen ausgelastet").c_str());
            EndDialog(IDOK);
            return;
        }
        m_pQuantity = pNext;
        SetDlgItemText(IDC_NUMBER, std::to_string(m_pQuantity->GetNumber()));
    } else {
        if (m_pQuantity != nullptr) {
            SendToTable(VN_CHANGED, m_pQuantity, nullptr, VOK_QUANTITY);
        }
        CQuantity* pNext = nullptr;
        while (m_pQuantities != nullptr && ++m_nPosition < m_pQuantities->size()) {
            if ((*m_pQuantities)[m_nPosition] != nullptr) {
                pNext = (*m_pQuantities)[m_nPosition];
                break;
            }
        }
        if (pNext == nullptr) {
            EndDialog(IDOK);
            return;
        }
        m_pQuantity = pNext;
        m_bDropTriggers = false;
        // The next quantity starts from its own type: showing it is no type
        // change, so its triggers are not in question (a No would otherwise
        // put the previous quantity's type on it).
        m_nPrevTypeIndex = -1;
        Fill();
        OnSelchangeType();
    }
    FocusName();
}

void CQuantityEditDlg::OnCancel() {
    if (m_bInsertMode && m_pQuantity != nullptr && Quantities() != nullptr) {
        Quantities()->DeleteQuantity(m_pQuantity);
        delete m_pQuantity;
        m_pQuantity = nullptr;
    }
    EndDialog(IDCANCEL);
}
