#include "ui/ViewClipboard.h"

#include "app/Chronoset.h"
#include "model/DaySwitchTime.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/QuantityMember.h"
#include "common/Globals.h"
#include "ui/ViewNotify.h"

#include <iterator>

namespace {

CGroupDataAddress* AddressOf(const CObject* pCopy) {
    if (const auto* pTime = dynamic_cast<const CDaySwitchTime*>(pCopy)) {
        return pTime->GetGroupAddress();
    }
    if (const auto* pMember = dynamic_cast<const CQuantityMember*>(pCopy)) {
        return pMember->GetGroupAddress();
    }
    return nullptr;
}

// The address is looked up by identity in the central object's lists before
// anything is read from it: a copy may name an address destroyed since.
bool IsListed(const CGroupDataAddress* pAddress) {
    return pAddress != nullptr && g_pChronoset != nullptr && g_pChronoset->GetGroupDataAddresses()->IsInList(pAddress);
}

// Whether a listed address may take one more use; an unlisted one counts as
// absent, which may.
bool MayTakeFurtherUse(const CGroupDataAddress* pAddress, bool bListed) {
    if (!bListed) {
        return true;
    }
    const bool bFull = g_pChronoset->GetAddressCount() >= static_cast<DWORD>(CChronoset::GetMaxGroupAddressCount());
    return !(bFull && (pAddress->GetUseCount(0x81) > 0 || pAddress->GetUseCount(0x42) == 0));
}

bool MatchesKind(const CObject* pCopy, int nKind) {
    return (nKind == VOK_DAYSWITCHTIME && dynamic_cast<const CDaySwitchTime*>(pCopy) != nullptr) ||
           (nKind == VOK_QUANTITYMEMBER && dynamic_cast<const CQuantityMember*>(pCopy) != nullptr);
}

}  // namespace

CViewClipboard::~CViewClipboard() = default;

void CViewClipboard::Clear() {
    m_copies.clear();
    m_position = m_copies.end();
}

const CObject* CViewClipboard::GetAt(std::size_t nIndex) const {
    if (nIndex >= m_copies.size()) {
        return nullptr;
    }
    return std::next(m_copies.begin(), static_cast<std::ptrdiff_t>(nIndex))->get();
}

std::unique_ptr<CObject> CViewClipboard::MakeCopy(const CObject* pObject) {
    if (const auto* pTime = dynamic_cast<const CDaySwitchTime*>(pObject)) {
        return std::make_unique<CDaySwitchTime>(*pTime);
    }
    if (const auto* pMember = dynamic_cast<const CQuantityMember*>(pObject)) {
        auto pCopy = std::make_unique<CQuantityMember>();
        pCopy->CopyConstruct(*pMember);
        return pCopy;
    }
    return nullptr;
}

bool CViewClipboard::IsSameClass(const CObject* pA, const CObject* pB) {
    return (dynamic_cast<const CDaySwitchTime*>(pA) != nullptr && dynamic_cast<const CDaySwitchTime*>(pB) != nullptr) ||
           (dynamic_cast<const CQuantityMember*>(pA) != nullptr && dynamic_cast<const CQuantityMember*>(pB) != nullptr);
}

bool CViewClipboard::SetObject(const CObject* pObject) {
    if (pObject == nullptr) {
        return false;
    }
    Clear();
    std::unique_ptr<CObject> pCopy = MakeCopy(pObject);
    if (!pCopy) {
        return false;
    }
    m_copies.push_back(std::move(pCopy));
    m_position = m_copies.end();
    return true;
}

bool CViewClipboard::AppendObject(const CObject* pObject) {
    if (pObject == nullptr) {
        return false;
    }
    if (!m_copies.empty() && !IsSameClass(m_copies.front().get(), pObject)) {
        return false;
    }
    std::unique_ptr<CObject> pCopy = MakeCopy(pObject);
    if (!pCopy) {
        return false;
    }
    m_copies.push_back(std::move(pCopy));
    return true;
}

bool CViewClipboard::Offers(int nTableType, int nKind) const {
    if (nTableType == 10 || m_copies.empty()) {
        return false;
    }
    return MatchesKind(m_copies.front().get(), nKind);
}

CObject* CViewClipboard::GetFirst(int nKind) {
    if (nKind != VOK_DAYSWITCHTIME && nKind != VOK_QUANTITYMEMBER) {
        return nullptr;
    }
    m_position = m_copies.begin();
    if (m_position == m_copies.end()) {
        return nullptr;
    }
    const auto itCopy = m_position++;
    CObject* pCopy = itCopy->get();
    CGroupDataAddress* pAddress = AddressOf(pCopy);
    const bool bListed = IsListed(pAddress);
    const bool bMayTake = MayTakeFurtherUse(pAddress, bListed);
    const bool bTime = dynamic_cast<CDaySwitchTime*>(pCopy) != nullptr;
    if ((bTime && (!bListed || !bMayTake)) || (!bTime && !bListed && bMayTake)) {
        m_copies.erase(itCopy);
        return nullptr;
    }
    return MatchesKind(pCopy, nKind) ? pCopy : nullptr;
}

CObject* CViewClipboard::GetNext(int nKind) {
    if (m_position == m_copies.end() || (nKind != VOK_DAYSWITCHTIME && nKind != VOK_QUANTITYMEMBER)) {
        return nullptr;
    }
    const auto itCopy = m_position++;
    CObject* pCopy = itCopy->get();
    CGroupDataAddress* pAddress = AddressOf(pCopy);
    const bool bListed = IsListed(pAddress);
    if (!bListed && MayTakeFurtherUse(pAddress, bListed)) {
        m_copies.erase(itCopy);
        return nullptr;
    }
    return MatchesKind(pCopy, nKind) ? pCopy : nullptr;
}
