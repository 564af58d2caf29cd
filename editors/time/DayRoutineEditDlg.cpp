#include "editors/time/DayRoutineEditDlg.h"

#include "app/Chronoset.h"
#include "editors/time/DayRoutineTable.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/ui/ComboBoxData.h"
#include "platform/ui/Handles.h"
#include "ui/AssociationCount.h"
#include "ui/GroupAddressInsertHook.h"
#include "platform/ui/TextLimitValidator.h"
#include "ui/TableComboBox.h"
#include "ui/TableComboPlace.h"
#include "ui/TableListHeader.h"
#include "ui/ViewNotify.h"

#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>

namespace {

// Group addresses of this object type (one bit) can trigger a routine.
constexpr LONG kOneBitType = 1;
constexpr DWORD kOneBitTypeMask = 1;

using ui::AssociationLimit;
using ui::CountAssociationsNow;

}  // namespace

CDayRoutineEditDlg::CDayRoutineEditDlg(QWidget* pParent, bool bInsertMode, std::vector<CDayRoutine*>* pRoutines)
    : CDialog(IDD, pParent), m_bInsertMode(bInsertMode), m_pRoutines(pRoutines) {
    SetHelpID(IDD);
    MapCommand(IDC_TRIGGER_CHECK, [this]() { OnTriggerCheck(); });
}

CDayRoutineEditDlg::~CDayRoutineEditDlg() = default;

std::size_t CDayRoutineEditDlg::CharacterCount(const std::string& strText) {
    std::size_t nCount = 0;
    for (unsigned char c : strText) {
        if ((c & 0xC0) != 0x80) {
            ++nCount;
        }
    }
    return nCount;
}

std::string CDayRoutineEditDlg::FirstCharacters(const std::string& strText, std::size_t nCount) {
    std::size_t nSeen = 0;
    for (std::size_t i = 0; i < strText.size(); ++i) {
        if ((static_cast<unsigned char>(strText[i]) & 0xC0) != 0x80) {
            if (nSeen == nCount) {
                return strText.substr(0, i);
            }
            ++nSeen;
        }
    }
    return strText;
}

void CDayRoutineEditDlg::MakeTriggerCombo() {
    // The template's combo box place takes the table combo box.
    m_pCombo = ui::PlaceTableCombo(*this, IDC_TRIGGER_COMBO, m_pHeader);
    m_pCombo->AddGroupAddressColumns();
    m_pCombo->InitColumns(*m_pHeader, TABLE_TYPE_GROUP_ADDRESS_COMBO);
    connect(m_pCombo, &CTabComboBox::CloseUp, this, [this]() { OnComboSelection(); });
    connect(m_pCombo, &QComboBox::activated, this, [this](int) {
        if (!m_pCombo->GetDroppedState()) {
            OnComboSelection();
        }
    });
}

BOOL CDayRoutineEditDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    m_nAssociationsAtOpen = CountAssociationsNow();
    MakeTriggerCombo();
    m_pCombo->EnableNewAddressEntry(m_nAssociationsAtOpen < AssociationLimit());
    if (auto* pEdit = GetDlgItemAs<QLineEdit>(IDC_NAME)) {
        m_nameCheck.Attach(
            pEdit, [this]() { return IsNameLengthAccepted(); }, [this]() { CheckNameLength(); });
        CTextLimitValidator::LimitText(pEdit, kMaxNameLength);
    }
    if (m_bInsertMode) {
        SetDlgItemText(IDOK, GetResString(180, "&Einfügen"));
    } else {
        SetDlgItemText(IDCANCEL, GetResString(146, "Abbrechen"));
    }
    m_nPosition = 0;
    m_pDayRoutine = nullptr;
    if (!m_bInsertMode && m_pRoutines != nullptr && !m_pRoutines->empty()) {
        m_pDayRoutine = m_pRoutines->front();
    }
    FillGdaSelection(nullptr);
    if (m_bInsertMode && g_pChronoset != nullptr) {
        m_pDayRoutine = g_pChronoset->GetDayRoutines()->CreateDayRoutine();
        if (m_pDayRoutine != nullptr && m_pTemplateRoutine != nullptr) {
            m_pDayRoutine->SetName(m_pTemplateRoutine->GetName());
            SetTriggerChecked(SelectListedAddress(m_pTemplateRoutine->GetTriggerGroupAddress()));
        }
    }
    ShowTriggerControls();
    ShowCurrentRoutine();
    return TRUE;
}

bool CDayRoutineEditDlg::SelectListedAddress(const CGroupDataAddress* pAddress) {
    if (pAddress != nullptr) {
        for (int i = 0; i < m_pCombo->GetObjectCount(); ++i) {
            if (m_pCombo->GetObject(i) == pAddress) {
                m_pCombo->SelectObject(const_cast<CGroupDataAddress*>(pAddress));
                m_nPrevSelection = m_pCombo->currentIndex();
                return m_nPrevSelection >= 0;
            }
        }
    }
    // An address that is not offered (another routine's trigger) is not
    // replaced by its neighbour in the list.
    m_pCombo->setCurrentIndex(-1);
    m_nPrevSelection = -1;
    return false;
}

void CDayRoutineEditDlg::FillGdaSelection(CGroupDataAddress* pPreselect) {
    if (m_pCombo == nullptr) {
        return;
    }
    m_pCombo->ClearObjects();
    CGroupDataAddress* pTrigger = m_pDayRoutine != nullptr ? m_pDayRoutine->GetTriggerGroupAddress() : nullptr;
    if (pTrigger != nullptr) {
        m_pCombo->AddObject(pTrigger);
    }
    CGroupDataAddresses* pLists = g_pChronoset != nullptr ? g_pChronoset->GetGroupDataAddresses() : nullptr;
    bool bPreselectListed = pPreselect == nullptr || pPreselect == pTrigger;
    if (pLists != nullptr) {
        const int nMask = (!m_bInsertMode && pTrigger != nullptr) ? (GASM_DAYROUTINE_TRIGGER | GASM_NO_LIMIT)
                                                                   : GASM_DAYROUTINE_TRIGGER;
        GaPosition pos = pLists->GetFirstPosByType(kOneBitType, nMask, pTrigger, false);
        while (pos) {
            CGroupDataAddress* pAddress = pLists->GetNextItemByType(pos, kOneBitType, nMask, pTrigger, false);
            if (pAddress == nullptr || pAddress == pTrigger || pAddress->GetAddress() == -1 ||
                pAddress->HasUsage(GAU_ANY)) {
                continue;
            }
            m_pCombo->AddObject(pAddress);
            if (pAddress == pPreselect) {
                bPreselectListed = true;
            }
        }
    }
    if (!bPreselectListed && !m_bInsertMode) {
        m_pCombo->AddObject(pPreselect);
    }
    m_pCombo->Refill();
    SetTriggerChecked(SelectListedAddress(pPreselect != nullptr ? pPreselect : pTrigger));
}

bool CDayRoutineEditDlg::IsTriggerChecked() const {
    auto* pCheck = GetDlgItemAs<QCheckBox>(IDC_TRIGGER_CHECK);
    return pCheck != nullptr && pCheck->isChecked();
}

void CDayRoutineEditDlg::SetTriggerChecked(bool bChecked) {
    if (auto* pCheck = GetDlgItemAs<QCheckBox>(IDC_TRIGGER_CHECK)) {
        pCheck->setChecked(bChecked);
    }
}

void CDayRoutineEditDlg::ShowTriggerControls() {
    const bool bShow = IsTriggerChecked();
    for (UINT nId : {IDC_TRIGGER_COMBO, IDC_ADDRESS_LABEL, IDC_BUS_NOTE}) {
        if (QWidget* pControl = GetDlgItem(nId)) {
            pControl->setVisible(bShow);
        }
    }
    if (m_pHeader != nullptr) {
        m_pHeader->setVisible(bShow);
    }
}

void CDayRoutineEditDlg::OnTriggerCheck() {
    ShowTriggerControls();
}

void CDayRoutineEditDlg::OnComboSelection() {
    const int nSelection = m_pCombo->currentIndex();
    const bool bAllowed = m_pCombo->IsNewAddressEntryEnabled() && g_pChronoset != nullptr &&
                          g_pChronoset->CanAddGroupAddress();
    if (bAllowed && nSelection >= 0 && nSelection == m_pCombo->GetNewAddressIndex()) {
        const bool bChecked = IsTriggerChecked();
        CGroupDataAddress* pAdded = ui::InsertGroupAddress(this, kOneBitTypeMask);
        if (pAdded != nullptr) {
            FillGdaSelection(pAdded);
        } else {
            m_pCombo->setCurrentIndex(m_nPrevSelection);
        }
        SetTriggerChecked(bChecked);
        ShowTriggerControls();
        return;
    }
    m_nPrevSelection = nSelection;
}

CGroupDataAddress* CDayRoutineEditDlg::GetSelectedAddress() const {
    return m_pCombo != nullptr ? m_pCombo->GetSelectedGroupAddress() : nullptr;
}

bool CDayRoutineEditDlg::IsNameLengthAccepted() const {
    const auto* pEdit = GetDlgItemAs<QLineEdit>(IDC_NAME);
    return pEdit == nullptr || CharacterCount(pEdit->text().toStdString()) <= static_cast<std::size_t>(kMaxNameLength);
}

void CDayRoutineEditDlg::CheckNameLength() {
    auto* pEdit = GetDlgItemAs<QLineEdit>(IDC_NAME);
    if (pEdit == nullptr || IsNameLengthAccepted()) {
        return;
    }
    const std::string strText = pEdit->text().toStdString();
    const std::size_t nLength = CharacterCount(strText);
    const std::string strMessage = FormatIntFields(
        GetResString(450, "Die angegebene Bezeichnung ist mit %d Zeichen zu lang und wird daher gekürzt. "
                          "Bezeichnungen dürfen maximal %d Zeichen lang sein."),
        {static_cast<int>(nLength), kMaxNameLength});
    CMessageBox().ShowInfo(platform::ui::HwndFromWidget(this), strMessage.c_str(),
                           GetResString(451, "Bezeichnung zu lang").c_str());
    pEdit->setText(QString::fromStdString(FirstCharacters(strText, kMaxNameLength)));
}

void CDayRoutineEditDlg::ShowCurrentRoutine() {
    if (m_pDayRoutine == nullptr) {
        LOG_ERROR("CDayRoutineEditDlg: try to fill data w/o setting day routine reference first");
        return;
    }
    SetDlgItemText(IDC_NUMBER, CDayRoutineTable::FormatNumber(m_pDayRoutine->GetNumber()));
    m_strName = m_pDayRoutine->GetName();
    if (auto* pEdit = GetDlgItemAs<QLineEdit>(IDC_NAME)) {
        pEdit->setText(QString::fromStdString(m_strName));
        pEdit->setFocus();
        pEdit->selectAll();
    }
}

void CDayRoutineEditDlg::SendToTable(int nType, CObject* pObject, CObject* pParent, int nKind) {
    if (m_pTable != nullptr) {
        m_pTable->SendObjectRecord(nType, pObject, pParent, nKind);
    }
}

void CDayRoutineEditDlg::SendKindsChangedInDebug() {
    if (g_bDebugMode && m_pTable != nullptr) {
        SendToTable(VN_KINDS_CHANGED, nullptr, nullptr, VOK_ALL);
    }
}

void CDayRoutineEditDlg::AfterStore() {
    g_bDataModified = true;
    const int nCount = CountAssociationsNow();
    if (nCount < AssociationLimit()) {
        m_pCombo->EnableNewAddressEntry(true);
    } else {
        if (!m_bLimitShown && nCount > m_nAssociationsAtOpen) {
            m_bLimitShown = true;
            ShowAssociationLimitMessage(platform::ui::HwndFromWidget(this));
        }
        // No further address may be made once the limit is reached.
        m_pCombo->EnableNewAddressEntry(false);
    }
}

void CDayRoutineEditDlg::OnOK() {
    if (m_pDayRoutine == nullptr || g_pChronoset == nullptr) {
        LOG_ERROR("CDayRoutineEditDlg: try to fill data w/o setting day routine reference first");
        EndDialog(IDCANCEL);
        return;
    }
    CheckNameLength();
    if (auto* pEdit = GetDlgItemAs<QLineEdit>(IDC_NAME)) {
        m_strName = pEdit->text().toStdString();
    }
    m_pDayRoutine->SetName(m_strName);
    CGroupDataAddress* pOldTrigger = m_pDayRoutine->GetTriggerGroupAddress();
    CGroupDataAddress* pNewTrigger = IsTriggerChecked() ? GetSelectedAddress() : nullptr;
    m_pDayRoutine->SetTriggerGroupAddress(pNewTrigger);
    CGroupDataAddresses* pLists = g_pChronoset->GetGroupDataAddresses();
    if (pOldTrigger != nullptr && pOldTrigger != pNewTrigger && pLists->IsInList(pOldTrigger) &&
        pOldTrigger->IsInvalid() && !pOldTrigger->HasUsage(GAU_ANY)) {
        // An address of the invalid list lives only as long as it is used.
        pLists->Remove(pOldTrigger, false);
        delete pOldTrigger;
    }
    AfterStore();

    CDayRoutines* pRoutines = g_pChronoset->GetDayRoutines();
    if (m_bInsertMode) {
        SendToTable(VN_ADDED, m_pDayRoutine, pRoutines, 0);
        SendKindsChangedInDebug();
        CDayRoutine* pPrevious = m_pDayRoutine;
        m_pDayRoutine = pRoutines->CreateDayRoutine();
        if (m_pDayRoutine == nullptr) {
            // The routine just added stays; nothing is left to cancel.
            m_pDayRoutine = pPrevious;
            CMessageBox().ShowInfo(platform::ui::HwndFromWidget(this),
                                   GetResString(621, "Die maximale Anzahl von Tagesabläufen ist erreicht.").c_str(),
                                   GetResString(620, "Tagesabläufe ausgelastet").c_str());
            EndDialog(IDOK);
            return;
        }
        m_pDayRoutine->SetName(pPrevious->GetName());
        FillGdaSelection(nullptr);
        SetTriggerChecked(SelectListedAddress(pPrevious->GetTriggerGroupAddress()));
        ShowTriggerControls();
    } else {
        SendToTable(VN_CHANGED, m_pDayRoutine, nullptr, VOK_DAYROUTINE);
        SendKindsChangedInDebug();
        ++m_nPosition;
        if (m_pRoutines == nullptr || m_nPosition >= m_pRoutines->size()) {
            EndDialog(IDOK);
            return;
        }
        m_pDayRoutine = (*m_pRoutines)[m_nPosition];
        FillGdaSelection(nullptr);
        ShowTriggerControls();
    }
    ShowCurrentRoutine();
}

void CDayRoutineEditDlg::OnCancel() {
    if (m_bInsertMode && m_pDayRoutine != nullptr && g_pChronoset != nullptr) {
        g_pChronoset->GetDayRoutines()->DeleteDayRoutine(m_pDayRoutine);
        delete m_pDayRoutine;
        m_pDayRoutine = nullptr;
    }
    SendKindsChangedInDebug();
    EndDialog(IDCANCEL);
}

void CDayRoutineEditDlg::OnDestroy() {
    if (m_pCombo != nullptr) {
        m_pCombo->SaveColumns(TABLE_TYPE_GROUP_ADDRESS_COMBO);
    }
    CDialog::OnDestroy();
}
