#include "app/GroupAddressCheck.h"

#include "app/Chronoset.h"
#include "model/GroupDataAddresses.h"
#include "model/InternalClock.h"
#include "model/Quantities.h"
#include "common/ProgressInfo.h"

#include <algorithm>
#include <unordered_map>

int CGroupAddressCheck::Add(LONG nObjectNumber, LONG nReference)
{
    const std::size_t nIndex = m_nCount;
    if (m_arrPairs.size() < 2 * nIndex + 2)
        m_arrPairs.resize(2 * nIndex + 2);
    m_arrPairs[2 * nIndex] = nObjectNumber;
    m_arrPairs[2 * nIndex + 1] = nReference;
    ++m_nCount;
    m_bObjectCounts = false;
    return static_cast<int>(nIndex);
}

int CGroupAddressCheck::Run(CProgressInfo* pProgress, CEtsDataAccess* /*pAccess*/, WORD nCount, SHORT nLimit)
{
    m_nCount = nCount;
    m_nLimit = nLimit;
    m_bObjectCounts = false;
    m_arrAddresses.clear();
    m_arrResult.clear();
    Check(pProgress);
    return m_nCount;
}

int CGroupAddressCheck::UsedEntries() const
{
    // A count beyond the pairs added reads nothing that is not there.
    return static_cast<int>(std::min<std::size_t>(m_nCount, m_arrPairs.size() / 2));
}

bool CGroupAddressCheck::GetEntry(int nIndex, LONG& nObjectNumber, LONG& nReference) const
{
    if (nIndex < 0 || nIndex >= UsedEntries())
        return false;
    nObjectNumber = m_arrPairs[2 * static_cast<std::size_t>(nIndex)];
    nReference = m_arrPairs[2 * static_cast<std::size_t>(nIndex) + 1];
    return true;
}

bool CGroupAddressCheck::IsBelowLimit(LONG nObjectNumber) const
{
    return static_cast<WORD>(nObjectNumber) < static_cast<WORD>(m_nLimit);
}

int CGroupAddressCheck::CountForAddress(LONG nReference, int nKind) const
{
    int nFound = 0;
    LONG nObject = 0;
    LONG nAddress = 0;
    for (int i = 0; GetEntry(i, nObject, nAddress); ++i) {
        if (nAddress != nReference)
            continue;
        if (nKind == 0 || (nKind == 1 && IsBelowLimit(nObject)) || (nKind == 2 && !IsBelowLimit(nObject)))
            ++nFound;
    }
    return nFound;
}

int CGroupAddressCheck::CountForObject(LONG nObjectNumber) const
{
    // Asked for every object in turn: the counts come from one pass.
    if (!m_bObjectCounts) {
        m_mapObjectCounts.clear();
        LONG nObject = 0;
        LONG nAddress = 0;
        for (int i = 0; GetEntry(i, nObject, nAddress); ++i)
            ++m_mapObjectCounts[static_cast<WORD>(nObject)];
        m_bObjectCounts = true;
    }
    auto it = m_mapObjectCounts.find(static_cast<WORD>(nObjectNumber));
    return it != m_mapObjectCounts.end() ? it->second : 0;
}

LONG CGroupAddressCheck::GetAddressOfObject(LONG nObjectNumber) const
{
    LONG nObject = 0;
    LONG nAddress = 0;
    for (int i = 0; GetEntry(i, nObject, nAddress); ++i) {
        if (static_cast<WORD>(nObject) == static_cast<WORD>(nObjectNumber))
            return nAddress;
    }
    return -1;
}

bool CGroupAddressCheck::HasPair(LONG nObjectNumber, LONG nReference) const
{
    LONG nObject = 0;
    LONG nAddress = 0;
    for (int i = 0; GetEntry(i, nObject, nAddress); ++i) {
        if (nObject == nObjectNumber && nAddress == nReference)
            return true;
    }
    return false;
}

bool CGroupAddressCheck::IsInResult(LONG nReference) const
{
    return std::find(m_arrResult.begin(), m_arrResult.end(), nReference) != m_arrResult.end();
}

namespace {

// The group address of a non-trigger object: the clock's for its objects,
// else the list's address with that object number.
CGroupDataAddress* AddressOfObject(CChronoset* pChronoset, LONG nObjectNumber)
{
    if (!pChronoset)
        return nullptr;
    const CInternalClock* pClock = pChronoset->GetInternalClock();
    switch (nObjectNumber) {
    case CInternalClock::kRequestObject:
        return pClock->GetRequestGroupAddress();
    case CInternalClock::kDateObject:
        return pClock->GetDateGroupAddress();
    case CInternalClock::kTimeObject:
        return pClock->GetTimeGroupAddress();
    case CInternalClock::kLockObject:
        return pClock->GetLockGroupAddress();
    default:
        break;
    }
    return pChronoset->GetGroupDataAddresses()->FindByObjectNumber(static_cast<SHORT>(nObjectNumber), true);
}

// Whether a member of the quantity whose trigger object is nTrigger uses the
// address.
bool IsMemberOfTriggeredQuantity(CChronoset* pChronoset, LONG nTrigger, const CGroupDataAddress* pAddress)
{
    if (!pChronoset || !pAddress)
        return false;
    for (const CQuantity* pQuantity : pChronoset->GetQuantities()->GetQuantityList()) {
        if (!pQuantity || pQuantity->GetTriggerObjectNumber() != static_cast<WORD>(nTrigger))
            continue;
        for (const CQuantityMember* pMember : pQuantity->GetMembers()) {
            const CGroupDataAddress* pMemberAddress = pMember ? pMember->GetGroupAddress() : nullptr;
            if (!pMemberAddress)
                continue;
            // The clock holds its addresses apart from the lists: the same
            // group address of the project is known by its host id.
            if (pMemberAddress == pAddress ||
                (pAddress->GetReference() != -1 && pMemberAddress->GetReference() == pAddress->GetReference()))
                return true;
        }
    }
    return false;
}

}  // namespace

void CGroupAddressCheck::Check(CProgressInfo* pProgress)
{
    // The addresses in the order they first appear, with their counts of
    // entries in all and below the limit (CountForAddress kinds 0 and 1),
    // gathered in one pass rather than one pass per address.
    struct Counts {
        int nTotal = 0;
        int nTriggers = 0;
        // The objects of the address's entries, in entry order.
        std::vector<LONG> arrObjects;
    };
    std::unordered_map<LONG, Counts> mapCounts;
    LONG nObject = 0;
    LONG nAddress = 0;
    for (int i = 0; GetEntry(i, nObject, nAddress); ++i) {
        auto [it, bNew] = mapCounts.try_emplace(nAddress);
        if (bNew)
            m_arrAddresses.push_back(nAddress);
        ++it->second.nTotal;
        if (IsBelowLimit(nObject))
            ++it->second.nTriggers;
        it->second.arrObjects.push_back(nObject);
    }
    for (LONG nReference : m_arrAddresses) {
        const Counts& counts = mapCounts[nReference];
        const int nTotal = counts.nTotal;
        const int nTriggers = counts.nTriggers;
        const WORD nOthers = static_cast<WORD>(nTotal - nTriggers);
        bool bLinked = false;
        if (nOthers == 1) {
            LONG nTrigger = -1;
            LONG nOther = -1;
            for (std::size_t i = 0; !bLinked && i < counts.arrObjects.size(); ++i) {
                nObject = counts.arrObjects[i];
                if (IsBelowLimit(nObject))
                    nTrigger = nObject;
                else
                    nOther = nObject;
                if (nOther == -1)
                    continue;
                const CGroupDataAddress* pOther = AddressOfObject(g_pChronoset, nOther);
                bLinked = IsMemberOfTriggeredQuantity(g_pChronoset, nTrigger, pOther);
            }
        }
        if (nOthers <= 1 && !bLinked)
            m_arrResult.push_back(nReference);
        if (pProgress)
            pProgress->Step(1);
    }
}
