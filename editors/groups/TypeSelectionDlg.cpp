#include "editors/groups/TypeSelectionDlg.h"

#include "model/DptManager.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/ui/ComboBoxData.h"

#include <QComboBox>

#include <utility>

namespace {

struct MainTypeEntry {
    int nMainType;
    UINT nTextId;
    const char* pszText;
};

// The offered main types in the order the list shows them.
constexpr MainTypeEntry kMainTypes[] = {
    {1, 250, "1 Bit"},
    {2, 251, "2 Bit Priorität"},
    {5, 252, "1 Byte vorzeichenlos"},
    {6, 253, "1 Byte vorzeichenbehaftet"},
    {7, 254, "2 Byte vorzeichenlos"},
    {8, 255, "2 Byte vorzeichenbehaftet"},
    {9, 256, "2 Byte Gleitkommazahl"},
    {10, 257, "3 Byte Zeit"},
    {11, 258, "3 Byte Datum"},
};

// The mask bit that accepts a main type; 0 for a type no editor knows.
UINT MaskBit(int nMainType) {
    switch (nMainType) {
    case 1:
        return 1;
    case 2:
        return 2;
    case 5:
        return 4;
    case 6:
        return 8;
    case 7:
        return 16;
    case 8:
        return 32;
    case 9:
        return 64;
    case 10:
        return 256;
    case 11:
        return 128;
    default:
        return 0;
    }
}

// The main types whose values have the size the host reports.
constexpr std::pair<int, int> kFittingHostTypes[] = {{1, 0}, {2, 1}, {5, 7}, {6, 7}, {7, 8},
                                                     {8, 8}, {9, 8}, {11, 9}, {10, 9}};

}  // namespace

CTypeSelectionDlg::CTypeSelectionDlg(QWidget* pParent) : CDialog(IDD, pParent) {
    SetHelpID(kHelpContext - 0x20000);
}

CTypeSelectionDlg::~CTypeSelectionDlg() = default;

bool CTypeSelectionDlg::IsTypeAllowed(int nMainType) const {
    if (m_nAllowedTypeMask != 0) {
        const UINT nBit = MaskBit(nMainType);
        if (nBit == 0) {
            LOG_WARNING("unknown GA datatype -> %d", nMainType);
            return false;
        }
        if ((m_nAllowedTypeMask & nBit) == 0) {
            return false;
        }
    }
    if (m_nHostObjectType == -1) {
        return true;
    }
    for (const auto& [nType, nHostType] : kFittingHostTypes) {
        if (nType == nMainType && nHostType == m_nHostObjectType) {
            return true;
        }
    }
    return false;
}

BOOL CTypeSelectionDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    SetDlgItemText(IDC_ADDRESS, m_strAddress);
    SetDlgItemText(IDC_NAME, m_strName);
    // The sub type is chosen for the caller, never by the user: its label and
    // list stay hidden, as the template has them.
    for (UINT nId : {IDC_SUB_TYPE_LABEL, IDC_SUB_TYPE}) {
        if (QWidget* pControl = GetDlgItem(nId)) {
            pControl->setVisible(false);
        }
    }
    if (auto* pList = GetDlgItemAs<QComboBox>(IDC_MAIN_TYPE)) {
        pList->clear();
        for (const MainTypeEntry& entry : kMainTypes) {
            if (IsTypeAllowed(entry.nMainType)) {
                AddComboItem(pList, QString::fromStdString(GetResString(entry.nTextId, entry.pszText)),
                             entry.nMainType);
            }
        }
        pList->setCurrentIndex(m_nMainIndex >= 0 && m_nMainIndex < pList->count() ? m_nMainIndex : 0);
        connect(pList, &QComboBox::activated, this, [this](int) { FillSubTypes(); });
    }
    FillSubTypes();
    return TRUE;
}

void CTypeSelectionDlg::FillSubTypes() {
    auto* pSubList = GetDlgItemAs<QComboBox>(IDC_SUB_TYPE);
    if (pSubList == nullptr) {
        return;
    }
    pSubList->clear();
    const auto nMainType = static_cast<WORD>(GetComboSelData(GetDlgItemAs<QComboBox>(IDC_MAIN_TYPE)));
    // Main types without a table entry (date, time) simply have no sub types.
    if (g_DptManager.GetMainTypeMap(nMainType) != nullptr) {
        CDptManager::Position pos = g_DptManager.GetFirstSubTypePosition(nMainType);
        while (pos != 0) {
            CDptSubType* pSubType = g_DptManager.GetNextSubType(pos, nMainType);
            if (pSubType != nullptr) {
                AddComboItem(pSubList, QString::fromStdString(pSubType->GetName()), pSubType->GetSubType());
            }
        }
    }
    pSubList->setCurrentIndex(pSubList->count() > 0 ? 0 : -1);
}

void CTypeSelectionDlg::OnOK() {
    if (auto* pList = GetDlgItemAs<QComboBox>(IDC_MAIN_TYPE)) {
        m_nMainIndex = pList->currentIndex();
    }
    if (auto* pSubList = GetDlgItemAs<QComboBox>(IDC_SUB_TYPE)) {
        m_nSubIndex = pSubList->currentIndex();
    }
    m_bAccepted = true;
    CDialog::OnOK();
}

void CTypeSelectionDlg::OnDestroy() {
    // The result is taken as the window goes; a cancelled run leaves it unset,
    // so a caller that reads it regardless never takes an unconfirmed type.
    if (m_bAccepted) {
        m_wMainType = static_cast<WORD>(GetComboSelData(GetDlgItemAs<QComboBox>(IDC_MAIN_TYPE)));
        // GetComboSelData gives 0 without a selected row.
        m_wSubType = static_cast<WORD>(GetComboSelData(GetDlgItemAs<QComboBox>(IDC_SUB_TYPE)));
    }
    CDialog::OnDestroy();
}
