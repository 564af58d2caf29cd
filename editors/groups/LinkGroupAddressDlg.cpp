#include "editors/groups/LinkGroupAddressDlg.h"

#include "app/Chronoset.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/DaySwitchTime.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/Quantities.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/ui/ComboBoxData.h"
#include "ui/GroupAddressInsertHook.h"
#include "ui/TableComboBox.h"
#include "ui/TableComboPlace.h"
#include "ui/TableListHeader.h"

#include <QComboBox>

#include <cstdio>

namespace {

constexpr DWORD kOtherUses = GAU_DAYROUTINE_TRIGGER | GAU_SWITCHTIME | GAU_QUANTITY_MEMBER;

// The text with its first "%u" replaced by the number; a resource text is
// never handed to printf.
std::string FillUnsigned(const std::string& strFormat, unsigned nValue) {
    std::string strText = strFormat;
    const std::size_t nField = strText.find("%u");
    if (nField != std::string::npos) {
        strText.replace(nField, 2, std::to_string(nValue));
    }
    return strText;
}

std::string NumberAndName(int nNumber, const std::string& strName) {
    char szNumber[16];
    std::snprintf(szNumber, sizeof szNumber, "%02d, ", nNumber);
    return szNumber + strName;
}

// "Nr. 03": the number word of the string table, a point and two digits.
std::string NumberText(const std::string& strNo, int nNumber) {
    char szNumber[16];
    std::snprintf(szNumber, sizeof szNumber, ". %02d", nNumber);
    return strNo + szNumber;
}

CDayRoutines* DayRoutines() {
    return g_pChronoset != nullptr ? g_pChronoset->GetDayRoutines() : nullptr;
}

CQuantities* Quantities() {
    return g_pChronoset != nullptr ? g_pChronoset->GetQuantities() : nullptr;
}

CGroupDataAddresses* Lists() {
    return g_pChronoset != nullptr ? g_pChronoset->GetGroupDataAddresses() : nullptr;
}

bool IsListed(const CGroupDataAddress* pAddress) {
    CGroupDataAddresses* pLists = Lists();
    return pAddress != nullptr && pLists != nullptr && pLists->IsInList(pAddress);
}

}  // namespace

CLinkGroupAddressDlg::CLinkGroupAddressDlg(QWidget* pParent, const std::vector<CGroupDataAddress*>& addresses)
    : CDialog(IDD, pParent), m_arrAddresses(addresses) {
    SetHelpID(IDD);
}

CLinkGroupAddressDlg::~CLinkGroupAddressDlg() = default;

DWORD CLinkGroupAddressDlg::AllowedTypeMask(LONG nMainType) {
    switch (nMainType) {
    case 1: return 1;
    case 2: return 2;
    case 5: return 4;
    case 6: return 8;
    case 7: return 16;
    case 8: return 32;
    case 9: return 64;
    default: return 0;
    }
}

std::vector<DWORD> CLinkGroupAddressDlg::BuildEntries(const CGroupDataAddress* pAddress,
                                                      std::vector<CQuantity*>* pQuantities) {
    std::vector<DWORD> entries;
    if (pQuantities != nullptr) {
        pQuantities->clear();
    }
    if (pAddress == nullptr) {
        return entries;
    }
    // Only uses that a routine or quantity really has make an entry: a flag
    // nobody backs would offer a use that cannot be moved.
    DWORD dwFlags = 0;
    if (const CDayRoutines* pRoutines = DayRoutines()) {
        if (pAddress->HasUsage(GAU_DAYROUTINE_TRIGGER) && pRoutines->GetTriggeredDayRoutineNumber(pAddress) != 0) {
            dwFlags |= GAU_DAYROUTINE_TRIGGER;
        }
        for (const CDayRoutine* pRoutine : pRoutines->GetDayRoutines()) {
            if (pRoutine != nullptr && pRoutine->UsesGroupAddress(pAddress)) {
                dwFlags |= GAU_SWITCHTIME;
                break;
            }
        }
    }
    const CQuantities* pAll = Quantities();
    if (pAll != nullptr) {
        for (const CQuantity* pQuantity : pAll->GetQuantityList()) {
            if (pQuantity != nullptr && pQuantity->HasMember(pAddress)) {
                dwFlags |= GAU_QUANTITY_MEMBER;
                break;
            }
        }
    }
    if ((dwFlags & kOtherUses) != 0) {
        entries.push_back(MakeEntry(dwFlags, static_cast<WORD>(pAddress->GetObjectNumber())));
        if (pQuantities != nullptr) {
            pQuantities->push_back(nullptr);
        }
    }
    if (pAll != nullptr) {
        for (CQuantity* pQuantity : pAll->GetQuantityList()) {
            if (pQuantity != nullptr && pQuantity->FindTrigger(pAddress)) {
                entries.push_back(MakeEntry(GAU_QUANTITY_TRIGGER, pQuantity->GetTriggerObjectNumber()));
                if (pQuantities != nullptr) {
                    pQuantities->push_back(pQuantity);
                }
            }
        }
    }
    return entries;
}

std::string CLinkGroupAddressDlg::GetUsageText(const CGroupDataAddress* pAddress, DWORD dwEntry,
                                               const CQuantity* pQuantity) {
    const DWORD dwFlags = EntryFlags(dwEntry);
    const WORD wNumber = EntryNumber(dwEntry);
    const std::string strRoutine = GetResString(40111, "Tagesablauf");
    const std::string strQuantity = GetResString(168, "Menge");
    const std::string strNo = GetResString(40103, "Nr");
    std::string strText = FillUnsigned(GetResString(166, "Kommunikationsobjekt: %u"), wNumber) + "\n";

    if ((dwFlags & (GAU_DAYROUTINE_TRIGGER | GAU_QUANTITY_TRIGGER)) != 0) {
        strText += GetResString(228, "als Auslöser für") + " ";
        if ((dwFlags & GAU_DAYROUTINE_TRIGGER) != 0) {
            const CDayRoutines* pRoutines = DayRoutines();
            const int nRoutine = pRoutines != nullptr ? pRoutines->GetTriggeredDayRoutineNumber(pAddress) : 0;
            const CDayRoutine* pRoutine = pRoutines != nullptr ? pRoutines->FindDayRoutine(nRoutine) : nullptr;
            strText += strRoutine + " " + strNo + ". " +
                       NumberAndName(nRoutine, pRoutine != nullptr ? pRoutine->GetName() : std::string());
        } else {
            if (pQuantity == nullptr && Quantities() != nullptr) {
                pQuantity = Quantities()->FindQuantity(wNumber);
            }
            strText += strQuantity + " " + strNo + ". " +
                       NumberAndName(pQuantity != nullptr ? pQuantity->GetNumber() : 0,
                                     pQuantity != nullptr ? pQuantity->GetName() : std::string());
        }
        strText += "\n";
    }
    if ((dwFlags & GAU_SWITCHTIME) != 0) {
        strText += GetResString(230, "als Schaltzeit in") + " " + strRoutine + " ";
        bool bFirst = true;
        if (const CDayRoutines* pRoutines = DayRoutines()) {
            for (const CDayRoutine* pRoutine : pRoutines->GetDayRoutines()) {
                if (pRoutine != nullptr && pRoutine->UsesGroupAddress(pAddress)) {
                    strText += (bFirst ? "" : ", ") + NumberText(strNo, pRoutine->GetNumber());
                    bFirst = false;
                }
            }
        }
        strText += "\n";
    }
    if ((dwFlags & GAU_QUANTITY_MEMBER) != 0) {
        strText += GetResString(229, "als Mitglied in") + " " + strQuantity + " ";
        bool bFirst = true;
        if (const CQuantities* pAll = Quantities()) {
            for (const CQuantity* pOther : pAll->GetQuantityList()) {
                if (pOther != nullptr && pOther->HasMember(pAddress)) {
                    strText += (bFirst ? "" : ", ") + NumberText(strNo, pOther->GetNumber());
                    bFirst = false;
                }
            }
        }
        strText += "\n";
    }
    return strText;
}

void CLinkGroupAddressDlg::MakeAddressCombo() {
    // The template's combo box place takes the table combo box.
    m_pCombo = ui::PlaceTableCombo(*this, IDC_ADDRESS, m_pHeader);
    m_pCombo->AddGroupAddressColumns();
    m_pCombo->InitColumns(*m_pHeader, TABLE_TYPE_GROUP_ADDRESS_COMBO);
    connect(m_pCombo, &CTabComboBox::CloseUp, this, [this]() { OnCloseUp(); });
    // A choice made with the keys on the closed box counts as a close-up.
    connect(m_pCombo, &QComboBox::activated, this, [this](int) {
        if (!m_pCombo->GetDroppedState()) {
            OnCloseUp();
        }
    });
}

BOOL CLinkGroupAddressDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    MakeAddressCombo();
    m_pCombo->EnableNewAddressEntry(g_pChronoset != nullptr && g_pChronoset->CanAddGroupAddress());
    m_nPrevSelection = -1;
    m_nNextAddress = 0;
    m_pCurrent = nullptr;
    m_dwCurrentEntry = static_cast<DWORD>(-1);
    m_arrEntries.clear();
    m_arrEntryQuantities.clear();
    m_nEntryIndex = -1;
    if (!StepToNextEntry()) {
        // Nothing to link: nothing was changed either.
        LOG_WARNING("CLinkGroupAddressDlg: no group address with a use to link");
        EndDialog(IDCANCEL);
    }
    return TRUE;
}

bool CLinkGroupAddressDlg::StepToNextEntry() {
    ++m_nEntryIndex;
    // An address that lost its last use went with it: its entries are done.
    while (m_pCurrent == nullptr || m_nEntryIndex >= static_cast<int>(m_arrEntries.size())) {
        m_pCurrent = nullptr;
        m_arrEntries.clear();
        m_arrEntryQuantities.clear();
        m_nEntryIndex = 0;
        if (m_nNextAddress >= m_arrAddresses.size()) {
            break;
        }
        CGroupDataAddress* pNext = m_arrAddresses[m_nNextAddress++];
        if (!IsListed(pNext)) {
            continue;
        }
        // An address without a use that anybody backs has no entry and is
        // passed over.
        m_pCurrent = pNext;
        m_arrEntries = BuildEntries(m_pCurrent, &m_arrEntryQuantities);
    }
    if (m_pCurrent == nullptr) {
        m_dwCurrentEntry = static_cast<DWORD>(-1);
        return false;
    }
    m_dwCurrentEntry = m_arrEntries[static_cast<std::size_t>(m_nEntryIndex)];
    SetDlgItemText(IDC_USAGE, GetUsageText(m_pCurrent, m_dwCurrentEntry, CurrentQuantity()));
    FillCombo();
    return true;
}

CQuantity* CLinkGroupAddressDlg::CurrentQuantity() const {
    if (m_nEntryIndex < 0 || m_nEntryIndex >= static_cast<int>(m_arrEntryQuantities.size())) {
        return nullptr;
    }
    return m_arrEntryQuantities[static_cast<std::size_t>(m_nEntryIndex)];
}

bool CLinkGroupAddressDlg::IsGaToInsert(const CGroupDataAddress* pAddress) const {
    LOG_TRACE("CLinkGroupAddressDlg::IsGaToInsert - Begin");
    bool bInsert = false;
    if (pAddress == nullptr || pAddress->GetAddress() == -1) {
        LOG_TRACE("no address specified or GA number == -1 -> skip");
    } else {
        LOG_TRACE("GroupAddress: %s, %s", pAddress->GetName().c_str(), pAddress->GetAddressText(false).c_str());
        if (pAddress == m_pCurrent) {
            if (pAddress->IsInvalid()) {
                LOG_TRACE("-> GA is invalid -> skip");
            } else {
                LOG_TRACE("-> GA is the currently associated GA -> insert");
                bInsert = true;
            }
        } else {
            bInsert = (pAddress->GetUsageFlags() & GAU_ANY) == 0;
        }
    }
    LOG_TRACE("CLinkGroupAddressDlg::IsGaToInsert - End");
    return bInsert;
}

void CLinkGroupAddressDlg::FillCombo() {
    if (m_pCombo == nullptr || m_pCurrent == nullptr) {
        return;
    }
    m_pCombo->ClearObjects();
    m_pCombo->SetFirstEntryText(m_pCurrent->GetTypeText() + "\t" +
                                FillUnsigned(GetResString(167, "für Objekt %u"), EntryNumber(m_dwCurrentEntry)) +
                                "\t" + GetResString(40119, "\"kein\""));
    if (CGroupDataAddresses* pLists = Lists()) {
        const LONG nType = m_pCurrent->GetObjectType();
        GaPosition pos = pLists->GetFirstPosByType(nType, GASM_ANY, m_pCurrent, false);
        while (pos) {
            CGroupDataAddress* pAddress = pLists->GetNextItemByType(pos, nType, GASM_ANY, m_pCurrent, false);
            if (!IsGaToInsert(pAddress)) {
                continue;
            }
            if (!m_pCombo->AddObject(pAddress)) {
                break;
            }
        }
    }
    m_pCombo->Refill();
    // Nothing but the current address itself may be preselected: OK on a
    // neighbour would move the use without the user having chosen it.
    m_pCombo->setCurrentIndex(m_pCurrent->IsInvalid() ? 0 : RowOf(m_pCurrent));
    m_nPrevSelection = m_pCombo->currentIndex();
}

int CLinkGroupAddressDlg::RowOf(const CGroupDataAddress* pAddress) const {
    if (m_pCombo == nullptr || pAddress == nullptr) {
        return -1;
    }
    const auto nRaw = static_cast<std::intptr_t>(static_cast<WORD>(pAddress->GetAddress()));
    const std::intptr_t nData = pAddress->IsInvalid() ? -nRaw : nRaw;
    // Row 0 is the none row.
    for (int i = 1; i < m_pCombo->count(); ++i) {
        if (i != m_pCombo->GetNewAddressIndex() && GetComboItemData(m_pCombo, i) == nData) {
            return i;
        }
    }
    return -1;
}

void CLinkGroupAddressDlg::OnCloseUp() {
    if (m_pCombo == nullptr) {
        return;
    }
    m_bChanged = true;
    const int nSelection = m_pCombo->currentIndex();
    if (!g_bStandalone && nSelection >= 0 && nSelection == m_pCombo->GetNewAddressIndex()) {
        RunInsertion();
        return;
    }
    m_nPrevSelection = nSelection;
}

void CLinkGroupAddressDlg::RunInsertion() {
    if (m_bNewAddressRunning || m_pCurrent == nullptr) {
        return;
    }
    // The row to go back to, by its address: the insertion may add rows.
    const int nPrevious = m_nPrevSelection;
    CGroupDataAddress* pPrevious = nullptr;
    if (nPrevious > 0) {
        const std::intptr_t nData = GetComboItemData(m_pCombo, nPrevious);
        if (CGroupDataAddresses* pLists = Lists(); pLists != nullptr && nData != 0) {
            pPrevious = nData < 0 ? pLists->GetReferenceFromAddress(static_cast<LONG>(-nData), true)
                                  : pLists->GetReferenceFromAddress(static_cast<LONG>(nData), false);
        }
    }
    CGroupDataAddress* pAdded = nullptr;
    const DWORD dwMask = AllowedTypeMask(m_pCurrent->GetObjectType());
    if (dwMask == 0) {
        LOG_ERROR("CLinkGroupAddressDlg: no group address of type %ld can be inserted",
                  static_cast<long>(m_pCurrent->GetObjectType()));
    } else {
        m_bNewAddressRunning = true;
        pAdded = ui::InsertGroupAddress(this, dwMask);
        m_bNewAddressRunning = false;
    }
    FillCombo();
    // An address the list does not offer (used, or of another type) must
    // not be stood in for by its neighbour.
    const int nAdded = RowOf(pAdded);
    if (nAdded >= 0) {
        m_pCombo->setCurrentIndex(nAdded);
    } else if (nPrevious == 0) {
        m_pCombo->setCurrentIndex(0);
    } else {
        m_pCombo->setCurrentIndex(RowOf(pPrevious));
    }
    m_nPrevSelection = m_pCombo->currentIndex();
}

void CLinkGroupAddressDlg::OnOK() {
    if (m_pCurrent == nullptr || m_pCombo == nullptr) {
        EndDialog(IDCANCEL);
        return;
    }
    const int nSelection = m_pCombo->currentIndex();
    CGroupDataAddresses* pLists = Lists();
    if (nSelection < 0 || nSelection == m_pCombo->GetNewAddressIndex() || pLists == nullptr) {
        LOG_ERROR("error in GA selection");
    } else if (nSelection == 0) {
        if (Relink(nullptr)) {
            m_bChanged = true;
        }
    } else {
        const std::intptr_t nData = GetComboItemData(m_pCombo, nSelection);
        CGroupDataAddress* pTarget =
            nData > 0 ? pLists->GetReferenceFromAddress(static_cast<LONG>(nData), false) : nullptr;
        if (pTarget == nullptr) {
            LOG_ERROR("error in GA selection");
        } else if (Relink(pTarget)) {
            m_bChanged = true;
        }
    }
    g_bDataModified = true;
    AfterStore();
    if (!StepToNextEntry()) {
        EndDialog(IDOK);
        return;
    }
    m_pCombo->setFocus();
}

bool CLinkGroupAddressDlg::Relink(CGroupDataAddress* pTarget) {
    if (pTarget == m_pCurrent) {
        return false;
    }
    if (pTarget == nullptr) {
        return RelinkToNone();
    }
    const DWORD dwFlags = EntryFlags(m_dwCurrentEntry);
    if ((dwFlags & GAU_QUANTITY_TRIGGER) != 0) {
        if (!RelinkTrigger(CurrentQuantity(), pTarget)) {
            return false;
        }
    } else {
        MoveOtherUses(dwFlags, pTarget);
    }
    DropCurrentIfUnusedInvalid();
    return true;
}

bool CLinkGroupAddressDlg::RelinkTrigger(CQuantity* pQuantity, CGroupDataAddress* pTarget) {
    if (pQuantity == nullptr || !pQuantity->IsTrigger(m_pCurrent)) {
        LOG_ERROR("CLinkGroupAddressDlg: quantity of trigger object %u not found",
                  static_cast<unsigned>(EntryNumber(m_dwCurrentEntry)));
        return false;
    }
    const bool bRequest = pQuantity->IsRequestGroupAddress(m_pCurrent);
    // The new trigger first: were it refused, the use would be lost.
    if (!pQuantity->AddTriggerGroupAddress(pTarget, false)) {
        LOG_ERROR("CLinkGroupAddressDlg: %s refused as trigger of quantity %d",
                  pTarget != nullptr ? pTarget->GetAddressText(false).c_str() : "-", pQuantity->GetNumber());
        return false;
    }
    if (bRequest) {
        pQuantity->SetRequestGroupAddress(pTarget);
    }
    CGroupDataAddress* pOld = m_pCurrent;
    pQuantity->RemoveTriggerGroupAddress(pOld);
    if (pOld == nullptr) {
        m_pCurrent = nullptr;
    }
    return true;
}

bool CLinkGroupAddressDlg::RelinkToNone() {
    CGroupDataAddresses* pLists = Lists();
    if (m_pCurrent->IsInvalid() || pLists == nullptr) {
        return false;
    }
    // Without a placeholder the use would simply be gone, a trigger as much
    // as any other: a full invalid list changes nothing.
    CGroupDataAddress* pCopy = pLists->CreateGroupAddress(true);
    if (pCopy == nullptr) {
        LOG_ERROR("unable to add invalid GA to list");
        return false;
    }
    pCopy->CopyFrom(*m_pCurrent);
    const DWORD dwFlags = EntryFlags(m_dwCurrentEntry);
    if ((dwFlags & GAU_QUANTITY_TRIGGER) == 0) {
        MoveOtherUses(dwFlags, pCopy);
        return true;
    }
    if (!RelinkTrigger(CurrentQuantity(), pCopy)) {
        pLists->Remove(pCopy, true);
        delete pCopy;
        return false;
    }
    return true;
}

void CLinkGroupAddressDlg::MoveOtherUses(DWORD dwFlags, CGroupDataAddress* pTarget) {
    CGroupDataAddress* pCurrent = m_pCurrent;
    if (CDayRoutines* pRoutines = DayRoutines()) {
        for (CDayRoutine* pRoutine : pRoutines->GetDayRoutines()) {
            if (pRoutine == nullptr) {
                continue;
            }
            if ((dwFlags & GAU_DAYROUTINE_TRIGGER) != 0 && pRoutine->GetTriggerGroupAddress() == pCurrent) {
                pRoutine->SetTriggerGroupAddress(pTarget);
            }
            // A loaded parameter set may hold an address as trigger and as
            // switching time at once; the entry shows both, so both move.
            if ((dwFlags & GAU_SWITCHTIME) != 0) {
                for (CDaySwitchTime* pSwitchTime : pRoutine->GetSwitchTimes()) {
                    if (pSwitchTime != nullptr && pSwitchTime->GetGroupAddress() == pCurrent) {
                        pSwitchTime->SetGroupAddress(pTarget);
                    }
                }
            }
        }
    }
    if ((dwFlags & GAU_QUANTITY_MEMBER) != 0) {
        if (CQuantities* pAll = Quantities()) {
            for (CQuantity* pQuantity : pAll->GetQuantityList()) {
                if (pQuantity == nullptr) {
                    continue;
                }
                for (CQuantityMember* pMember : pQuantity->GetMembers()) {
                    if (pMember != nullptr && pMember->GetGroupAddress() == pCurrent) {
                        pMember->SetGroupAddress(pTarget);
                    }
                }
            }
        }
    }
}

void CLinkGroupAddressDlg::DropCurrentIfUnusedInvalid() {
    if (!IsListed(m_pCurrent)) {
        m_pCurrent = nullptr;
        return;
    }
    if (!m_pCurrent->IsInvalid() || m_pCurrent->HasUsage(GAU_ANY)) {
        return;
    }
    if (Lists()->Remove(m_pCurrent, false)) {
        delete m_pCurrent;
    }
    m_pCurrent = nullptr;
}

void CLinkGroupAddressDlg::AfterStore() {
    if (g_pChronoset == nullptr || m_pCombo == nullptr) {
        return;
    }
    DWORD nCount = 0;
    g_pChronoset->CountAssociations(nCount);
    m_pCombo->UpdateNewAddressEntry(true, this, &m_bLimitShown);
}

void CLinkGroupAddressDlg::OnDestroy() {
    if (m_pCombo != nullptr) {
        m_pCombo->SaveColumns(TABLE_TYPE_GROUP_ADDRESS_COMBO);
    }
    CDialog::OnDestroy();
}
