#include "editors/groups/UsageList.h"

#include "app/Chronoset.h"
#include "app/GroupAddressCheck.h"
#include "model/DayRoutine.h"
#include "model/DaySwitchTime.h"
#include "model/GroupDataAddress.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "common/ResString.h"

#include <array>
#include <cstdio>

namespace {

constexpr int kQuantityNumbers = 30;
constexpr int kDayRoutineNumbers = 15;

// Uses of one address, by quantity and day-routine number (index 0 unused).
struct UsageTables {
    std::array<bool, kQuantityNumbers + 1> quantityTriggers{};
    std::array<bool, kDayRoutineNumbers + 1> routineTriggers{};
    std::array<int, kQuantityNumbers + 1> quantityMembers{};
    std::array<int, kDayRoutineNumbers + 1> routineSwitchTimes{};
};

bool InRange(int nNumber, int nMax) {
    return nNumber >= 1 && nNumber <= nMax;
}

}  // namespace

CUsageList::CUsageList(QWidget* pParent) : CTableBox(pParent) {}

CUsageList::~CUsageList() = default;

int CUsageList::CompareItems(int /*nColumn*/, int /*nRowA*/, int /*nRowB*/) {
    return 0;
}

void CUsageList::CreateColumns() {
    // The client width: the viewport takes its size only when the list
    // first shows, after the columns are made.
    const int nNinth = contentsRect().width() / 9;
    for (int nParts : {3, 1, 3, 1}) {
        AddColumn("", nNinth * nParts, 0);
    }
}

bool CUsageList::AddHeading(const std::string& strText) {
    return AddRow({strText, "", "", ""}, nullptr, -1) >= 0;
}

bool CUsageList::AddEntry(bool bQuantity, int nNumber, const std::string& strName, int nCount) {
    const std::string strKind =
        "  " + (bQuantity ? GetResString(168, "Menge") : GetResString(40111, "Tagesablauf"));
    char szNumber[64];
    std::snprintf(szNumber, sizeof szNumber, "%s %02d", GetResString(40103, "Nr").c_str(), nNumber);
    std::string strCount;
    if (nCount >= 0) {
        char szCount[32];
        std::snprintf(szCount, sizeof szCount, "(%d)", nCount);
        strCount = szCount;
    }
    return AddRow({strKind, szNumber, strName, strCount}, nullptr, -1) >= 0;
}

void CUsageList::Fill(CGroupDataAddress* pAddress, const CGroupAddressCheck* pCheck) {
    DeleteAllRows();
    m_pGroupAddress = pAddress;
    if (pAddress == nullptr || g_pChronoset == nullptr) {
        return;
    }
    if (pCheck != nullptr) {
        FillFromCheck(pAddress, *pCheck);
    } else {
        FillFromParameterSet(pAddress);
    }
}

void CUsageList::FillFromParameterSet(const CGroupDataAddress* pAddress) {
    CQuantities* pQuantities = g_pChronoset->GetQuantities();
    CDayRoutines* pRoutines = g_pChronoset->GetDayRoutines();
    if (!AddHeading(GetResString(222, "als Auslöser/Anzeige für:"))) {
        return;
    }
    for (const CQuantity* pQuantity : pQuantities->GetQuantityList()) {
        if (pQuantity->IsTrigger(pAddress) && !AddEntry(true, pQuantity->GetNumber(), pQuantity->GetName(), -1)) {
            return;
        }
    }
    for (DayRoutinePosition pos = pRoutines->GetHeadPosition(); pos;) {
        const CDayRoutine* pRoutine = pRoutines->GetNext(pos);
        if (pRoutine != nullptr && pRoutine->GetTriggerGroupAddress() == pAddress &&
            !AddEntry(false, pRoutine->GetNumber(), pRoutine->GetName(), -1)) {
            return;
        }
    }
    if (!AddHeading("") || !AddHeading(GetResString(223, "als Mitglied in:"))) {
        return;
    }
    for (const CQuantity* pQuantity : pQuantities->GetQuantityList()) {
        int nCount = 0;
        for (const CQuantityMember* pMember : pQuantity->GetMembers()) {
            nCount += pMember->GetGroupAddress() == pAddress ? 1 : 0;
        }
        if (nCount > 0 && !AddEntry(true, pQuantity->GetNumber(), pQuantity->GetName(), nCount)) {
            return;
        }
    }
    for (DayRoutinePosition pos = pRoutines->GetHeadPosition(); pos;) {
        const CDayRoutine* pRoutine = pRoutines->GetNext(pos);
        if (pRoutine == nullptr) {
            continue;
        }
        int nCount = 0;
        for (const CDaySwitchTime* pTime : pRoutine->GetSwitchTimes()) {
            nCount += pTime->GetGroupAddress() == pAddress ? 1 : 0;
        }
        if (nCount > 0 && !AddEntry(false, pRoutine->GetNumber(), pRoutine->GetName(), nCount)) {
            return;
        }
    }
}

void CUsageList::FillFromCheck(const CGroupDataAddress* pAddress, const CGroupAddressCheck& check) {
    CQuantities* pQuantities = g_pChronoset->GetQuantities();
    CDayRoutines* pRoutines = g_pChronoset->GetDayRoutines();
    const int nFirstOther = g_pChronoset->GetFirstNonQuantityCommObjectNumber();
    UsageTables tables;
    for (int i = 0; i < check.GetCount(); ++i) {
        LONG nObject = 0;
        LONG nReference = 0;
        if (!check.GetEntry(i, nObject, nReference) || nReference != pAddress->GetReference()) {
            continue;
        }
        if (nObject < nFirstOther) {
            for (const CQuantity* pQuantity : pQuantities->GetQuantityList()) {
                if (pQuantity->GetTriggerObjectNumber() == nObject && InRange(pQuantity->GetNumber(), kQuantityNumbers)) {
                    tables.quantityTriggers[static_cast<std::size_t>(pQuantity->GetNumber())] = true;
                }
            }
            continue;
        }
        // An object number beyond 16 bits names no object of the device.
        if (nObject > 0x7FFF) {
            continue;
        }
        const CGroupDataAddress* pBound =
            g_pChronoset->GetGroupDataAddresses()->FindByObjectNumber(static_cast<SHORT>(nObject), true);
        if (pBound == nullptr) {
            continue;
        }
        for (DayRoutinePosition pos = pRoutines->GetHeadPosition(); pos;) {
            const CDayRoutine* pRoutine = pRoutines->GetNext(pos);
            if (pRoutine == nullptr || !InRange(pRoutine->GetNumber(), kDayRoutineNumbers)) {
                continue;
            }
            const auto nRoutine = static_cast<std::size_t>(pRoutine->GetNumber());
            for (const CDaySwitchTime* pTime : pRoutine->GetSwitchTimes()) {
                tables.routineSwitchTimes[nRoutine] += pTime->GetGroupAddress() == pBound ? 1 : 0;
            }
            if (pRoutine->GetTriggerGroupAddress() == pBound) {
                tables.routineTriggers[nRoutine] = true;
            }
        }
        for (const CQuantity* pQuantity : pQuantities->GetQuantityList()) {
            if (!InRange(pQuantity->GetNumber(), kQuantityNumbers)) {
                continue;
            }
            for (const CQuantityMember* pMember : pQuantity->GetMembers()) {
                tables.quantityMembers[static_cast<std::size_t>(pQuantity->GetNumber())] +=
                    pMember->GetGroupAddress() == pBound ? 1 : 0;
            }
        }
    }

    auto quantity = [&](int nNumber) { return pQuantities->GetQuantity(nNumber); };
    auto routine = [&](int nNumber) -> const CDayRoutine* {
        for (DayRoutinePosition pos = pRoutines->GetHeadPosition(); pos;) {
            const CDayRoutine* pRoutine = pRoutines->GetNext(pos);
            if (pRoutine != nullptr && pRoutine->GetNumber() == nNumber) {
                return pRoutine;
            }
        }
        return nullptr;
    };
    auto name = [](const auto* pObject) { return pObject != nullptr ? pObject->GetName() : std::string(); };

    if (!AddHeading(GetResString(222, "als Auslöser/Anzeige für:"))) {
        return;
    }
    for (int n = 1; n <= kQuantityNumbers; ++n) {
        if (tables.quantityTriggers[static_cast<std::size_t>(n)] && !AddEntry(true, n, name(quantity(n)), -1)) {
            return;
        }
    }
    for (int n = 1; n <= kDayRoutineNumbers; ++n) {
        if (tables.routineTriggers[static_cast<std::size_t>(n)] && !AddEntry(false, n, name(routine(n)), -1)) {
            return;
        }
    }
    if (!AddHeading("") || !AddHeading(GetResString(223, "als Mitglied in:"))) {
        return;
    }
    for (int n = 1; n <= kQuantityNumbers; ++n) {
        const int nCount = tables.quantityMembers[static_cast<std::size_t>(n)];
        if (nCount > 0 && !AddEntry(true, n, name(quantity(n)), nCount)) {
            return;
        }
    }
    for (int n = 1; n <= kDayRoutineNumbers; ++n) {
        const int nCount = tables.routineSwitchTimes[static_cast<std::size_t>(n)];
        if (nCount > 0 && !AddEntry(false, n, name(routine(n)), nCount)) {
            return;
        }
    }
}
