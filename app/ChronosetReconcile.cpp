// Reconciliation of the parameter set with the associations the host project
// holds now: the user may have deleted or moved associations outside this
// system. Objects with one association, the quantity trigger objects and the
// clock's objects are compared; replaced group addresses are swapped in all
// data sets, old ones deleted, and the association count kept within 250.

#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "app/Chronoset.h"
#include "app/GroupAddressCheck.h"
#include "app/UsageDialog.h"
#include "common/ProgressSteps.h"
#include "common/ResultCode.h"
#include "model/DayRoutine.h"
#include "model/DaySwitchTime.h"
#include "model/GaMap.h"
#include "model/Quantity.h"
#include "model/QuantityMember.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/com/ComBSTR.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComVariant.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

constexpr std::size_t kObjectTableSize = 256;
constexpr WORD kMaxObjectNumber = 250;
constexpr int kModeIntern = 255;

std::string PointerText(const void* p)
{
    char szText[32];
    std::snprintf(szText, sizeof szText, "%p", p);
    return szText;
}

// Each association of a communication object, with its group address's
// host id and its send flag; false when a host call failed (the walk ends
// there, what was read stays).
struct AssociationInfo {
    LONG nReference = -1;
    bool bSend = false;
};

// Whether a data set still points at the address. The use counts cannot
// tell once the address has left the lists: uses are given back only to
// listed addresses.
bool IsReferenced(const CChronoset& set, const CGroupDataAddress* pAddress)
{
    for (const CQuantity* pQuantity : set.GetQuantities()->GetQuantityList()) {
        if (!pQuantity)
            continue;
        if (pQuantity->IsTrigger(pAddress))
            return true;
        for (const CQuantityMember* pMember : pQuantity->GetMembers())
            if (pMember && pMember->GetGroupAddress() == pAddress)
                return true;
    }
    DayRoutinePosition pos = set.GetDayRoutines()->GetHeadPosition();
    while (pos) {
        const CDayRoutine* pRoutine = set.GetDayRoutines()->GetNext(pos);
        if (!pRoutine)
            continue;
        if (pRoutine->GetTriggerGroupAddress() == pAddress)
            return true;
        for (const CDaySwitchTime* pSwitchTime : pRoutine->GetSwitchTimes())
            if (pSwitchTime && pSwitchTime->GetGroupAddress() == pAddress)
                return true;
    }
    return false;
}

// Every address a data set points at, gathered once for a run of questions
// IsReferenced would answer the same while no data set changes.
class CReferencedAddresses {
public:
    explicit CReferencedAddresses(const CChronoset& set) : m_set(set)
    {
        for (const CQuantity* pQuantity : set.GetQuantities()->GetQuantityList()) {
            if (!pQuantity)
                continue;
            for (const CGroupDataAddress* pTrigger : pQuantity->GetTriggers())
                m_addresses.insert(pTrigger);
            for (const CQuantityMember* pMember : pQuantity->GetMembers())
                if (pMember)
                    m_addresses.insert(pMember->GetGroupAddress());
        }
        DayRoutinePosition pos = set.GetDayRoutines()->GetHeadPosition();
        while (pos) {
            const CDayRoutine* pRoutine = set.GetDayRoutines()->GetNext(pos);
            if (!pRoutine)
                continue;
            m_addresses.insert(pRoutine->GetTriggerGroupAddress());
            for (const CDaySwitchTime* pSwitchTime : pRoutine->GetSwitchTimes())
                if (pSwitchTime)
                    m_addresses.insert(pSwitchTime->GetGroupAddress());
        }
    }

    bool Contains(const CGroupDataAddress* pAddress) const
    {
        // A trigger is never null; the null address is asked the long way.
        if (!pAddress)
            return IsReferenced(m_set, pAddress);
        return m_addresses.count(pAddress) != 0;
    }

private:
    const CChronoset& m_set;
    std::unordered_set<const CGroupDataAddress*> m_addresses;
};

// The members, switching times and day-routine triggers in the order
// ReplaceGroupAddress walks them, each with the address it points at, so
// that swapping a whole map compares in flat arrays instead of walking the
// lists once per entry. Setting an address changes that one object alone,
// so the arrays stay true as long as the replacements go through Replace.
class CUseSnapshot {
public:
    CUseSnapshot(const CQuantities& quantities, const CDayRoutines& routines)
    {
        QuantityPosition pos = quantities.GetHeadPosition();
        while (pos) {
            const CQuantity* pQuantity = quantities.GetNext(pos);
            if (!pQuantity)
                continue;
            for (CQuantityMember* pMember : pQuantity->GetMembers())
                if (pMember)
                    m_members.push_back({pMember, pMember->GetGroupAddress()});
        }
        DayRoutinePosition posRoutine = routines.GetHeadPosition();
        while (posRoutine) {
            CDayRoutine* pRoutine = routines.GetNext(posRoutine);
            if (!pRoutine)
                continue;
            m_routines.push_back({pRoutine, pRoutine->GetTriggerGroupAddress()});
            for (CDaySwitchTime* pSwitchTime : pRoutine->GetSwitchTimes())
                if (pSwitchTime)
                    m_switchTimes.push_back({pSwitchTime, pSwitchTime->GetGroupAddress()});
        }
    }

    // ReplaceGroupAddress with the mask 14: members, switching times, then
    // day-routine triggers, each in order.
    void Replace(CGroupDataAddress* pOld, CGroupDataAddress* pNew)
    {
        for (auto& [pMember, pAddress] : m_members)
            if (pAddress == pOld) {
                pMember->SetGroupAddress(pNew);
                pAddress = pMember->GetGroupAddress();
            }
        for (auto& [pSwitchTime, pAddress] : m_switchTimes)
            if (pAddress == pOld) {
                pSwitchTime->SetGroupAddress(pNew);
                pAddress = pSwitchTime->GetGroupAddress();
            }
        for (auto& [pRoutine, pAddress] : m_routines)
            if (pAddress == pOld) {
                pRoutine->SetTriggerGroupAddress(pNew);
                pAddress = pRoutine->GetTriggerGroupAddress();
            }
    }

private:
    std::vector<std::pair<CQuantityMember*, const CGroupDataAddress*>> m_members;
    std::vector<std::pair<CDaySwitchTime*, const CGroupDataAddress*>> m_switchTimes;
    std::vector<std::pair<CDayRoutine*, const CGroupDataAddress*>> m_routines;
};

}  // namespace

int CChronoset::GetFirstNonQuantityCommObjectNumber() const
{
    LOG_TRACE("CChronoset::GetFirstNonQuantityCommObjectNumber");
    int nResult = 0;
    QuantityPosition pos = m_oQuantities.GetHeadPosition();
    while (pos) {
        const CQuantity* pQuantity = m_oQuantities.GetNext(pos);
        if (!pQuantity)
            continue;
        const WORD wNumber = pQuantity->GetTriggerObjectNumber();
        if (wNumber < kMaxObjectNumber) {
            LOG_TRACE("  + found object number %d", static_cast<int>(wNumber));
            nResult = std::max(nResult, static_cast<int>(wNumber) + 1);
        }
    }
    LOG_TRACE("  -> Result: CommObjectNumber = %d", nResult);
    return nResult;
}

bool CChronoset::ReadDeviceCommObjects(CProgressInfo* pProgress, CEtsDataAccess* /*pAccess*/,
                                       std::vector<LONG>& arrObjectTable, IEtsDevice* pDevice)
{
    if (arrObjectTable.size() < kObjectTableSize)
        return false;
    progress::SetBottomText(pProgress, GetResString(177, "Erstelle Objektzuordnungsliste"));
    if (!pDevice)
        return false;
    CComPtr<IEtsCommObjects> pObjects;
    HRESULT hr = pDevice->get_CommunicationObjects(&pObjects);
    if (SUCCEEDED(hr) && !pObjects)
        hr = E_POINTER;
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get device comunication objects. hr=0x%08X", Hr(hr));
        return false;
    }
    LONG nCount = 0;
    hr = pObjects->get_Count(&nCount);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get object count. hr=0x%08X", Hr(hr));
        return false;
    }
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsCommObject> pObject;
        hr = pObjects->Item(MakeIndexVariant(i), &pObject);
        if (SUCCEEDED(hr) && !pObject)
            hr = E_POINTER;
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get communication object item. hr=0x%08X", Hr(hr));
            return false;
        }
        CComPtr<IEtsDomObjectInternal> pInternal;
        hr = pObject->QueryInterface(&pInternal.p);
        if (SUCCEEDED(hr) && !pInternal)
            hr = E_NOINTERFACE;
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt IDomObjectInternal interface. hr=0x%08X", Hr(hr));
            return false;
        }
        LONG nId = -1;
        hr = pInternal->GetPersistInfo(&nId, nullptr);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get object cookie. hr=0x%08X", Hr(hr));
            return false;
        }
        g_mapCommObjects.SetAt(nId, pObject);
        CComVariant vVisible;
        hr = pObject->GetProperty(CComBSTR("Visible"), &vVisible);
        CComVariant vBool;
        if (SUCCEEDED(hr))
            hr = vBool.ChangeType(VT_BOOL, &vVisible);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get visible flag. hr=0x%08X", Hr(hr));
            return false;
        }
        if (vBool.boolVal) {
            CComVariant vNumber;
            hr = pObject->GetProperty(CComBSTR("CommunicationObjectNumber"), &vNumber);
            CComVariant vLong;
            if (SUCCEEDED(hr))
                hr = vLong.ChangeType(VT_I4, &vNumber);
            if (FAILED(hr)) {
                LOG_ERROR("Couldnt get communication object number. hr=0x%08X", Hr(hr));
                return false;
            }
            // A number outside the table would write past it.
            if (vLong.lVal >= 0 && static_cast<std::size_t>(vLong.lVal) < kObjectTableSize)
                arrObjectTable[static_cast<std::size_t>(vLong.lVal)] = nId;
            else
                LOG_WARNING("communication object number %ld out of range, ignored", static_cast<long>(vLong.lVal));
        }
        progress::Step(pProgress);
    }
    return true;
}

namespace {

// The associations of a host object, in the host's order.
bool ReadObjectAssociations(IEtsCommObject* pObject, std::vector<AssociationInfo>& arrAssociations,
                            bool bWithSend)
{
    CComPtr<IEtsAssociations> pAssociations;
    HRESULT hr = pObject->get_Associations(&pAssociations);
    if (SUCCEEDED(hr) && !pAssociations)
        hr = E_POINTER;
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get associations. hr=0x%08X", Hr(hr));
        return false;
    }
    LONG nCount = 0;
    hr = pAssociations->get_Count(&nCount);
    if (FAILED(hr)) {
        if (bWithSend)
            LOG_ERROR("Couldnt get count. hr=0x%08X", Hr(hr));
        else
            LOG_ERROR("Couldnt get assoc count. hr=0x%08X", Hr(hr));
        return false;
    }
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsAssociation> pAssociation;
        hr = pAssociations->Item(MakeIndexVariant(i), &pAssociation);
        if (SUCCEEDED(hr) && !pAssociation)
            hr = E_POINTER;
        if (FAILED(hr)) {
            if (bWithSend)
                LOG_ERROR("Couldnt get item. hr=0x%08X", Hr(hr));
            else
                LOG_ERROR("Couldnt get assoc item. hr=0x%08X", Hr(hr));
            return false;
        }
        AssociationInfo info;
        if (bWithSend) {
            VARIANT_BOOL bSend = VARIANT_FALSE;
            hr = pAssociation->get_Send(&bSend);
            if (FAILED(hr)) {
                LOG_ERROR("Couldnt get send property. hr=0x%08X", Hr(hr));
                return false;
            }
            info.bSend = bSend != VARIANT_FALSE;
        }
        CComPtr<IEtsGroupAddress> pGroupAddress;
        hr = pAssociation->get_GroupAddress(&pGroupAddress);
        if (SUCCEEDED(hr) && !pGroupAddress)
            hr = E_POINTER;
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get group address. hr=0x%08X", Hr(hr));
            return false;
        }
        CComPtr<IEtsDomObjectInternal> pInternal;
        hr = pGroupAddress->QueryInterface(&pInternal.p);
        if (SUCCEEDED(hr) && !pInternal)
            hr = E_NOINTERFACE;
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get internal dom object. hr=0x%08X", Hr(hr));
            return false;
        }
        hr = pInternal->GetPersistInfo(&info.nReference, nullptr);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get object cookie. hr=0x%08X", Hr(hr));
            return false;
        }
        arrAssociations.push_back(info);
    }
    return true;
}

}  // namespace

int CChronoset::GetCommObjectAssociations(LONG nObjectId, CEtsDataAccess* /*pAccess*/, std::vector<LONG>& arrIds)
{
    IEtsCommObject* pObject = g_mapCommObjects.Lookup(nObjectId);
    if (!pObject)
        return 0;
    std::vector<AssociationInfo> arrAssociations;
    ReadObjectAssociations(pObject, arrAssociations, false);
    for (const AssociationInfo& info : arrAssociations)
        arrIds.push_back(info.nReference);
    return static_cast<int>(arrAssociations.size());
}

int CChronoset::ReadAssociationList(CProgressInfo* pProgress, CEtsDataAccess* pAccess,
                                    CGroupAddressCheck& associations, const std::vector<LONG>& arrObjectTable)
{
    int nCount = 0;
    for (std::size_t i = 0; i < kObjectTableSize && i < arrObjectTable.size(); ++i) {
        if (arrObjectTable[i] != 0) {
            std::vector<LONG> arrIds;
            GetCommObjectAssociations(arrObjectTable[i], pAccess, arrIds);
            for (LONG nId : arrIds) {
                associations.Add(static_cast<LONG>(i), nId);
                ++nCount;
            }
        }
        progress::Step(pProgress);
    }
    return nCount;
}

int CChronoset::ReplaceGroupAddress(CGroupDataAddress* pOld, CGroupDataAddress* pNew, int nMask,
                                    LONG nTriggerObject)
{
    int nReplaced = 0;
    if (nMask & 1) {
        QuantityPosition pos = m_oQuantities.GetHeadPosition();
        while (pos) {
            CQuantity* pQuantity = m_oQuantities.GetNext(pos);
            if (!pQuantity)
                continue;
            if (nTriggerObject != -1 && pQuantity != m_oQuantities.FindQuantity(static_cast<WORD>(nTriggerObject)))
                continue;
            // Only the first equal trigger of the one quantity; every one
            // when any quantity is meant.
            while (pQuantity->IsTrigger(pOld)) {
                CGroupDataAddress* pRemoved = pOld;
                pQuantity->RemoveTriggerGroupAddress(pRemoved);
                pQuantity->AddTriggerGroupAddress(pNew, false);
                ++nReplaced;
                if (nTriggerObject != -1 || !pRemoved)
                    break;
            }
        }
    }
    if (nMask & 2) {
        QuantityPosition pos = m_oQuantities.GetHeadPosition();
        while (pos) {
            CQuantity* pQuantity = m_oQuantities.GetNext(pos);
            if (!pQuantity)
                continue;
            for (CQuantityMember* pMember : pQuantity->GetMembers()) {
                if (pMember && pMember->GetGroupAddress() == pOld) {
                    pMember->SetGroupAddress(pNew);
                    ++nReplaced;
                }
            }
        }
    }
    if (nMask & 4) {
        DayRoutinePosition pos = m_oDayRoutines.GetHeadPosition();
        while (pos) {
            CDayRoutine* pRoutine = m_oDayRoutines.GetNext(pos);
            if (!pRoutine)
                continue;
            for (CDaySwitchTime* pSwitchTime : pRoutine->GetSwitchTimes()) {
                if (pSwitchTime && pSwitchTime->GetGroupAddress() == pOld) {
                    pSwitchTime->SetGroupAddress(pNew);
                    ++nReplaced;
                }
            }
        }
    }
    if (nMask & 8) {
        DayRoutinePosition pos = m_oDayRoutines.GetHeadPosition();
        while (pos) {
            CDayRoutine* pRoutine = m_oDayRoutines.GetNext(pos);
            if (pRoutine && pRoutine->GetTriggerGroupAddress() == pOld) {
                pRoutine->SetTriggerGroupAddress(pNew);
                ++nReplaced;
            }
        }
    }
    return nReplaced;
}

int CChronoset::RemoveInvalidTriggerReferences(CGroupDataAddress* pAddress, int nMax)
{
    if (!pAddress)
        return 0;
    LOG_DETAIL("Removing group address associations for %s, id=%ld", pAddress->GetAddressText(false).c_str(),
               static_cast<long>(pAddress->GetReference()));
    if (!pAddress->HasUsage(GAU_QUANTITY_TRIGGER))
        return 0;
    int nRemoved = 0;
    QuantityPosition pos = m_oQuantities.GetHeadPosition();
    while (pos && nRemoved < nMax) {
        CQuantity* pQuantity = m_oQuantities.GetNext(pos);
        if (!pQuantity || !pQuantity->IsTrigger(pAddress))
            continue;
        CGroupDataAddress* pRemoved = pAddress;
        pQuantity->RemoveTriggerGroupAddress(pRemoved);
        ++nRemoved;
        // The last use gone: the invalid address was destroyed with it.
        if (!pRemoved)
            break;
    }
    return nRemoved;
}

int CChronoset::ReconcileAssociations(CProgressInfo* pProgress, CEtsDataAccess* pAccess, HWND hParent,
                                      bool bNoMessages, IEtsDevice* pDevice)
{
    CEtsDataAccess ownAccess;
    if (!pAccess)
        pAccess = &ownAccess;
    progress::SetMiddleText(pProgress, GetResString(170, "Überprüfe GA-Konsistenz..."));
    progress::SetBottomText(pProgress, "");
    const int N = m_nObjectCount;
    const int F = GetFirstNonQuantityCommObjectNumber();
    // Progress share of one object; no objects, no share.
    const DWORD nObjectStep = N > 0 ? static_cast<DWORD>(250 / N) : 0;

    std::vector<LONG> arrObjectTable(kObjectTableSize, 0);
    CGroupAddressCheck associations;
    CGroupDataAddresses newList(false);
    std::vector<CGroupDataAddress*> arrCreated;
    CGaMap gaMap;
    CGaMap qtrGaMap;
    std::vector<CGroupDataAddress*> arrDeletion;

    const auto createNew = [&](bool bInvalid) {
        CGroupDataAddress* pAddress = newList.CreateGroupAddress(bInvalid);
        if (pAddress)
            arrCreated.push_back(pAddress);
        return pAddress;
    };
    // Created addresses that no list took over belong to nobody else.
    const auto freeUnlisted = [&]() {
        const CReferencedAddresses referenced(*this);
        for (CGroupDataAddress* pAddress : arrCreated) {
            if (m_oGroupDataAddresses.IsInList(pAddress))
                continue;
            if (referenced.Contains(pAddress)) {
                m_oGroupDataAddresses.AddGroupAddress(pAddress, true);
                continue;
            }
            delete pAddress;
        }
        arrCreated.clear();
    };

    const bool bOk = ReadDeviceCommObjects(pProgress, pAccess, arrObjectTable, pDevice);
    const int nCount = ReadAssociationList(pProgress, pAccess, associations, arrObjectTable);
    associations.Run(pProgress, pAccess, static_cast<WORD>(nCount), static_cast<SHORT>(F));
    LOG_TRACE("ETS associations for device: %d", nCount);
    LOG_TRACE("assoc | object | subgroup id");
    {
        LONG nObject = 0;
        LONG nReference = 0;
        for (int i = 0; associations.GetEntry(i, nObject, nReference); ++i)
            LOG_TRACE("%s   | %s  | %s", FormatDecimal(static_cast<DWORD>(i), 3, false).c_str(),
                      FormatDecimalSigned(nObject, 3, false).c_str(),
                      FormatDecimalSigned(nReference, 6, false).c_str());
    }

    m_oGroupDataAddresses.SetUnlimited(true);
    {
        std::vector<CGroupDataAddress*> arrValid;
        GaPosition pos = m_oGroupDataAddresses.GetFirstItemPos(GASM_ANY, nullptr, false);
        while (pos)
            arrValid.push_back(m_oGroupDataAddresses.GetNextItem(pos, GASM_ANY, nullptr, false));
        for (CGroupDataAddress* pAddress : arrValid)
            CheckGroupAddressType(pAccess, pAddress);
    }

    DWORD nQuantityCount = 0;
    if (!bOk) {
        LOG_ERROR("SEVERE ERROR: Device objects could not be mapped to communication objects!");
    } else {
        // ---- objects with one association
        LOG_DETAIL("Checking group addresses for communication objects %d to %d ", F, N - 1);
        progress::SetBottomText(pProgress, GetResString(172, "Objekte: SZ, MM, TA"));
        if (N <= 0 || F >= N) {
            LOG_DETAIL("This project contains no non-quantity trigger communication objects.");
        } else {
            for (int k = F; k < N; ++k) {
                LOG_DETAIL("Checking associations for object number = %d", k);
                const int a = associations.CountForObject(k);
                LOG_DETAIL("... Found associations: %d", a);
                std::vector<LONG> arrIds;
                if (static_cast<std::size_t>(k) < kObjectTableSize)
                    GetCommObjectAssociations(arrObjectTable[static_cast<std::size_t>(k)], pAccess, arrIds);
                CGroupDataAddress* pOld = m_oGroupDataAddresses.FindByObjectNumber(static_cast<SHORT>(k), true);
                if (!pOld) {
                    LOG_DETAIL("GA association was changed from invalid GA to other GA, CO number: %d", k);
                    progress::Step(pProgress, nObjectStep);
                    continue;
                }
                if (a == 0) {
                    if (!pOld->IsInvalid())
                        g_bDataModified = true;
                    LOG_WARNING("... Group address association deleted in ETS for object: %d", k);
                    CGroupDataAddress* pNew = createNew(true);
                    if (pNew) {
                        gaMap.AddEntry(pOld, pNew, -1, -1);
                        pNew->CopyFrom(*pOld);
                    } else {
                        LOG_ERROR("Could not create invalid assoc group address");
                    }
                } else if (a == 1 && !arrIds.empty()) {
                    const LONG nId = arrIds[0];
                    const bool bAccepted = associations.IsInResult(nId);
                    CGroupDataAddress* pExisting = m_oGroupDataAddresses.FindByReference(nId, false);
                    if (pExisting == pOld) {
                        LOG_DETAIL("... Group address already exists in parametrization");
                        LOG_DETAIL("... Group address has not changed for CO number %d", k);
                        CGroupDataAddress* pNew = createNew(!bAccepted);
                        if (pNew) {
                            gaMap.AddEntry(pOld, pNew, nId, -1);
                            pNew->CopyFrom(*pOld);
                            CheckGroupAddressType(pAccess, pNew);
                        } else {
                            LOG_ERROR("... A new group address could not be created! Change in association is lost.");
                        }
                    } else if (pExisting) {
                        g_bDataModified = true;
                        LOG_DETAIL("... Group address already exists in parametrization");
                        LOG_DETAIL("... Old group address has been replaced with existing group address");
                        LOG_DETAIL("... ... Old group address name = %s, address = %s, CO number = %d",
                                   pOld->GetName().c_str(), pOld->GetAddressText(false).c_str(),
                                   static_cast<int>(pOld->GetObjectNumber()));
                        LOG_DETAIL("... ... New group address name = %s, address = %s, CO number = %d",
                                   pExisting->GetName().c_str(), pExisting->GetAddressText(false).c_str(),
                                   static_cast<int>(pExisting->GetObjectNumber()));
                        const bool bTake = bAccepted && pOld->GetObjectType() == pExisting->GetObjectType();
                        CGroupDataAddress* pNew = createNew(!bTake);
                        if (pNew) {
                            gaMap.AddEntry(pOld, pNew, nId, -1);
                            pNew->CopyFrom(bTake ? *pExisting : *pOld);
                            CheckGroupAddressType(pAccess, pNew);
                        } else {
                            LOG_ERROR("... A new group address could not be created! Change in association is lost.");
                        }
                    } else {
                        g_bDataModified = true;
                        LOG_DETAIL("... Group address is not present in parametrization; a new one is added...");
                        CGroupDataAddress* pNew = createNew(!bAccepted);
                        if (pNew) {
                            pNew->SetAddress(pAccess->GetGroupAddressParts(nId, m_nProjectId));
                            pNew->SetName(pAccess->GetGroupName(nId));
                            pNew->SetType(pOld->GetDptType());
                            pNew->SetReference(nId);
                            pNew->SetObjectNumber(pOld->GetObjectNumber());
                            pOld->SetObjectNumber(-1);
                            LOG_DETAIL("... New group address has address = %s, name = %s, ID = %ld",
                                       pNew->GetAddressText(false).c_str(), pNew->GetName().c_str(),
                                       static_cast<long>(nId));
                            gaMap.AddEntry(pOld, pNew, nId, -1);
                        } else {
                            LOG_ERROR("... A new group address could not be created! Change in association is lost.");
                        }
                    }
                } else if (a > 1) {
                    LOG_ERROR("UNEXPECTED: More than one association was found for an object which can have at "
                              "most one association by design");
                }
                progress::Step(pProgress, nObjectStep);
            }
        }

        // ---- quantity trigger objects
        progress::SetBottomText(pProgress, GetResString(171, "Objekte: MA"));
        // Rule R: the trigger x (reference r, object l) gets the replacement
        // already made for r, or a copy of its own.
        const auto record = [&](CGroupDataAddress* pX, LONG nReference, LONG nObject, bool bInvalid) {
            if (CGroupDataAddress* pFound = gaMap.FindNewGroupAddress(nReference, bInvalid)) {
                qtrGaMap.AddEntry(pX, pFound, nReference, nObject);
                return;
            }
            if (CGroupDataAddress* pFound = qtrGaMap.FindNewGroupAddress(nReference, bInvalid)) {
                qtrGaMap.AddEntry(pX, pFound, nReference, nObject);
                return;
            }
            CGroupDataAddress* pNew = createNew(bInvalid);
            if (!pNew) {
                LOG_ERROR("... A new group address could not be created! Change in association is lost.");
                return;
            }
            pNew->CopyFrom(*pX);
            qtrGaMap.AddEntry(pX, pNew, nReference, nObject);
            if (!bInvalid)
                CheckGroupAddressType(pAccess, pNew);
        };
        if (F == 0) {
            LOG_DETAIL("This project contains no quantity trigger communication objects.");
        } else {
            LOG_DETAIL("Checking group addresses for communication objects 0 to %d", F - 1);
            for (int l = 0; l < F; ++l) {
                CQuantity* pQuantity = m_oQuantities.FindQuantity(static_cast<WORD>(l));
                if (!pQuantity) {
                    LOG_ERROR("... SEVERE: Could not find quantity object for CO number %d", l);
                    progress::Step(pProgress, nObjectStep);
                    continue;
                }
                const int nBefore = pQuantity->GetTriggerCount(false);
                LOG_DETAIL("Checking quantity triggers for object nr. %d, quantity nr. %d, name = %s with number "
                           "of trigger group addresses = %d",
                           l, pQuantity->GetNumber(), pQuantity->GetName().c_str(), nBefore);
                LOG_DETAIL("... Number of associations = %d", associations.CountForObject(l));
                const int nValueType = GetKnxValueType(pQuantity->GetMainType());
                int nSeen = 0;

                LOG_DETAIL("... Step 2: check ETS associations for existence in parametrization");
                LONG nObject = 0;
                LONG nId = 0;
                for (int i = 0; associations.GetEntry(i, nObject, nId); ++i) {
                    if (nObject != l)
                        continue;
                    LOG_DETAIL("... ... Checking Assoc = %d, SubgroupId = %ld", i, static_cast<long>(nId));
                    ++nSeen;
                    const LONG nRaw = pAccess->GetGroupAddressParts(nId, m_nProjectId);
                    CGroupDataAddress* pG = m_oGroupDataAddresses.GetReferenceFromAddress(nRaw, false);
                    if (pG) {
                        LOG_DETAIL("... ... Subgroup already in parametrization, type = %d",
                                   static_cast<int>(pG->GetObjectType()));
                        if (pG->GetObjectType() == pQuantity->GetMainType()) {
                            if (pQuantity->IsTrigger(pG)) {
                                LOG_DETAIL("... ... Type OK, group address already in trigger list.");
                            } else {
                                LOG_DETAIL("... ... Type OK, adding group address to trigger list.");
                                pQuantity->AddTriggerGroupAddress(pG, false);
                                g_bDataModified = true;
                            }
                            record(pG, nId, l, false);
                        } else {
                            g_bDataModified = true;
                            LOG_DETAIL("... ... Wrong type; group address is not added to trigger list.");
                        }
                        continue;
                    }
                    g_bDataModified = true;
                    const SHORT nType = pAccess->GetCommObjectLength(nId);
                    LOG_DETAIL("... ... Subgroup not in parametrization; in ETS it has type = %s",
                               std::to_string(nType).c_str());
                    if (nType != nValueType) {
                        LOG_DETAIL("... ... Wrong type; group address is not added to trigger list");
                        continue;
                    }
                    LOG_DETAIL("... ... Type OK, adding group address and trigger.");
                    if (m_oGroupDataAddresses.GetCount(false) >= CGroupDataAddresses::GetMaxCount()) {
                        GaPosition pos = m_oGroupDataAddresses.GetFirstPosByUsage(0, false);
                        if (pos) {
                            CGroupDataAddress* pUnused = m_oGroupDataAddresses.GetNextItemByUsage(pos, 0, false);
                            if (pUnused) {
                                LOG_DETAIL("... ... Group address list is full. Removing one group address with "
                                           "address = %s, name = %s, ID = %ld",
                                           pUnused->GetAddressText(false).c_str(), pUnused->GetName().c_str(),
                                           static_cast<long>(pUnused->GetReference()));
                                m_oGroupDataAddresses.Remove(pUnused, true);
                                delete pUnused;
                            } else {
                                LOG_ERROR("SEVERE: Could not get group address although position in list");
                            }
                        }
                    }
                    CGroupDataAddress* pCreated = m_oGroupDataAddresses.CreateGroupAddress(false);
                    if (!pCreated) {
                        LOG_ERROR("... A new group address could not be created! Change in association is lost.");
                        continue;
                    }
                    pCreated->SetAddress(nRaw);
                    pCreated->SetName(pAccess->GetGroupName(nId));
                    pCreated->SetType(pQuantity->GetType());
                    pCreated->SetReference(nId);
                    pQuantity->AddTriggerGroupAddress(pCreated, false);
                    record(pCreated, nId, l, false);
                    LOG_DETAIL("... ... New group address has address = %s, name = %s, ID = %ld",
                               pCreated->GetAddressText(false).c_str(), pCreated->GetName().c_str(),
                               static_cast<long>(nId));
                }

                LOG_DETAIL("... Step 1: check quantity triggers in parametrization for existence in ETS "
                           "association list");
                if (nSeen != nBefore) {
                    std::vector<CGroupDataAddress*> arrTriggers(pQuantity->GetTriggers().begin(),
                                                                pQuantity->GetTriggers().end());
                    for (CGroupDataAddress* pX : arrTriggers) {
                        if (!pX)
                            continue;
                        if (associations.HasPair(l, pX->GetReference())) {
                            LOG_DETAIL("... ... Group address has not changed, address = %s, name = %s, ID = %ld",
                                       pX->GetAddressText(false).c_str(), pX->GetName().c_str(),
                                       static_cast<long>(pX->GetReference()));
                            record(pX, pX->GetReference(), l, false);
                        } else {
                            if (!pX->IsInvalid())
                                g_bDataModified = true;
                            LOG_DETAIL("... ... Group address (quantity trigger) was removed on ETS-level, address = "
                                       "%s, name = %s, ID = %ld",
                                       pX->GetAddressText(false).c_str(), pX->GetName().c_str(),
                                       static_cast<long>(pX->GetReference()));
                            record(pX, pX->GetReference(), l, true);
                        }
                    }
                } else {
                    while (pQuantity->GetTriggerCount(false) > nBefore) {
                        CGroupDataAddress* pUnbound = nullptr;
                        for (CGroupDataAddress* pX : pQuantity->GetTriggers())
                            if (pX && pX->GetAddress() == -1) {
                                pUnbound = pX;
                                break;
                            }
                        if (!pUnbound)
                            break;
                        pQuantity->RemoveTriggerGroupAddress(pUnbound);
                    }
                }
                progress::Step(pProgress, nObjectStep);
            }
        }

        // ---- clock objects
        progress::SetBottomText(pProgress, GetResString(173, "Datum, Uhrzeit und Abfrage"));
        const LONG s253 = associations.GetAddressOfObject(253);
        const LONG s252 = associations.GetAddressOfObject(252);
        const LONG s251 = associations.GetAddressOfObject(251);
        const LONG s250 = associations.GetAddressOfObject(250);
        if ((s252 == s251 && s252 != -1) || (s250 != -1 && !associations.IsInResult(s250))) {
            g_bDataModified = true;
            LOG_ERROR("... error in internal clock configuration, setting mode to 'intern'");
            m_oInternalClock.SetLockGroupAddress(nullptr);
            m_oInternalClock.SetTimeGroupAddress(nullptr);
            m_oInternalClock.SetDateGroupAddress(nullptr);
            m_oInternalClock.SetRequestGroupAddress(nullptr);
            m_oInternalClock.SetMode(kModeIntern);
        } else {
            struct ClockObject {
                LONG nHostId;
                LONG nObjectType;
                CGroupDataAddress* (CInternalClock::*get)() const;
                void (CInternalClock::*set)(CGroupDataAddress*);
                const char* pszRemoved;
                bool bSetsIntern;
            };
            const ClockObject objects[] = {
                {s253, 1, &CInternalClock::GetLockGroupAddress, &CInternalClock::SetLockGroupAddress,
                 "group address for \"locktimeprogram\" was removed", false},
                {s252, 10, &CInternalClock::GetTimeGroupAddress, &CInternalClock::SetTimeGroupAddress,
                 "group address for \"time\" was removed; set operating mode to \"intern\"", true},
                {s251, 11, &CInternalClock::GetDateGroupAddress, &CInternalClock::SetDateGroupAddress,
                 "group address for \"date\" was removed; set operating mode to \"intern\"", true},
                {s250, 1, &CInternalClock::GetRequestGroupAddress, &CInternalClock::SetRequestGroupAddress,
                 "group address for \"request\" was removed; set operating mode to \"intern\"", true},
            };
            for (const ClockObject& object : objects) {
                const CGroupDataAddress* pCurrent = (m_oInternalClock.*object.get)();
                if (object.nHostId != -1 && (!pCurrent || pCurrent->GetReference() != object.nHostId)) {
                    auto* pProbe = new CGroupDataAddress;
                    pProbe->SetLevels(m_oGroupDataAddresses.GetAddressLevels());
                    pProbe->SetReference(object.nHostId);
                    pProbe->SetObjectType(object.nObjectType);
                    g_bDataModified = true;
                    if (CheckGroupAddressType(pAccess, pProbe)) {
                        (m_oInternalClock.*object.set)(pProbe);
                    } else {
                        (m_oInternalClock.*object.set)(nullptr);
                        delete pProbe;
                    }
                } else if (object.nHostId == -1 && pCurrent) {
                    g_bDataModified = true;
                    LOG_DETAIL("%s", object.pszRemoved);
                    (m_oInternalClock.*object.set)(nullptr);
                    if (object.bSetsIntern)
                        m_oInternalClock.SetMode(kModeIntern);
                }
            }
        }
        progress::Step(pProgress);

        // ---- usage check
        progress::SetBottomText(pProgress, GetResString(174, "Aktualisiere Verknüpfungen"));
        if (!bNoMessages) {
            std::set<LONG> shown;
            for (int i = 0; i < gaMap.GetCount(); ++i) {
                CGroupDataAddress* pNew = gaMap.GetNewGroupAddress(i);
                const LONG nId = gaMap.GetId(i);
                if (!pNew || !pNew->IsInvalid() || nId == -1 || !shown.insert(nId).second)
                    continue;
                CGroupDataAddresses scratchList(true);
                CGroupDataAddress* pScratch = scratchList.CreateGroupAddress(false);
                if (!pScratch)
                    continue;
                pScratch->CopyFrom(*pNew);
                pScratch->SetReference(nId);
                CheckGroupAddressType(pAccess, pScratch);
                IUsageDialog* pDialog = GetUsageDialog();
                const int nAnswer = pDialog ? pDialog->DoModal(hParent, false, &scratchList, &associations, true)
                                            : IDOK;
                if (nAnswer != IDOK) {
                    // Nothing was replaced yet: the set stays as loaded.
                    freeUnlisted();
                    m_oGroupDataAddresses.SetUnlimited(false);
                    m_oGroupDataAddresses.CleanUpGroupAddresses();
                    return -1;
                }
                g_bDataModified = true;
            }
        }

        // ---- take out the replaced addresses
        const auto takeOut = [&](CGroupDataAddress* pNew) {
            if (!pNew || pNew->IsInvalid())
                return;
            CGroupDataAddress* pListed = m_oGroupDataAddresses.FindByReference(pNew->GetReference(), false);
            if (pListed && pListed != pNew && m_oGroupDataAddresses.Remove(pListed, true))
                arrDeletion.push_back(pListed);
        };
        for (int i = 0; i < gaMap.GetCount(); ++i)
            takeOut(gaMap.GetNewGroupAddress(i));
        progress::Step(pProgress);
        for (int i = 0; i < qtrGaMap.GetCount(); ++i) {
            CGroupDataAddress* pNew = qtrGaMap.GetNewGroupAddress(i);
            if (pNew && gaMap.FindNewGroupAddress(pNew->GetReference(), pNew->IsInvalid()) != pNew)
                takeOut(pNew);
        }
        progress::Step(pProgress);

        // ---- swap
        LOG_DETAIL("Map for GA for objects with one association:");
        gaMap.Dump();
        LOG_DETAIL("Swapping group addresses from GaMap");
        CUseSnapshot uses(m_oQuantities, m_oDayRoutines);
        for (int i = 0; i < gaMap.GetCount(); ++i) {
            CGroupDataAddress* pOld = gaMap.GetOldGroupAddress(i);
            if (pOld) {
                LONG nNumber = -1;
                CGroupDataAddress* pNew = gaMap.Lookup(pOld, nNumber, false);
                if (pNew) {
                    uses.Replace(pOld, pNew);
                    if (!m_oGroupDataAddresses.IsInList(pNew))
                        m_oGroupDataAddresses.AddGroupAddress(pNew, true);
                }
            }
            progress::Step(pProgress);
        }
        LOG_DETAIL("Map for GA for objects with one or more associations:");
        qtrGaMap.Dump();
        LOG_DETAIL("Swapping group addresses from QtrGaMap");
        for (int i = 0; i < qtrGaMap.GetCount(); ++i) {
            CGroupDataAddress* pOld = qtrGaMap.GetOldGroupAddress(i);
            if (pOld) {
                LONG nNumber = -1;
                CGroupDataAddress* pNew = qtrGaMap.Lookup(pOld, nNumber, true);
                if (pNew) {
                    ReplaceGroupAddress(pOld, pNew, 1, nNumber);
                    if (!m_oGroupDataAddresses.IsInList(pNew))
                        m_oGroupDataAddresses.AddGroupAddress(pNew, true);
                }
            }
            progress::Step(pProgress);
        }
        // Every replacement is in place: what the lists did not take is no
        // one's. Later steps may free listed ones, so this is the moment.
        freeUnlisted();

        // ---- delete
        progress::SetBottomText(pProgress, GetResString(175, "Lösche temporäre Daten"));
        LOG_DETAIL("Deleting old group addresses:");
        LOG_DETAIL("#   | address    | id     | CO Nr. | Ref       | v/i     ");
        LOG_DETAIL("----+------------+--------+--------+-----------+---------");
        int nRow = 0;
        const CReferencedAddresses referenced(*this);
        for (CGroupDataAddress* pAddress : arrDeletion) {
            LOG_DETAIL("%s | %s | %s | %s    | %s | %s", FormatDecimal(static_cast<DWORD>(++nRow), 3, false).c_str(),
                       pAddress->GetAddressText(false).c_str(),
                       FormatDecimalSigned(pAddress->GetReference(), 6, false).c_str(),
                       FormatDecimalSigned(pAddress->GetObjectNumber(), 3, false).c_str(),
                       PointerText(pAddress).c_str(), pAddress->IsInvalid() ? "invalid" : "valid");
            // A use no replacement reached keeps its address alive, in the
            // invalid list, rather than pointing at freed memory.
            if (referenced.Contains(pAddress)) {
                LOG_WARNING("group address %s still in use, kept", pAddress->GetAddressText(false).c_str());
                pAddress->SetInvalid(true);
                m_oGroupDataAddresses.AddGroupAddress(pAddress, true);
                continue;
            }
            delete pAddress;
        }
        arrDeletion.clear();
        progress::Step(pProgress);
        m_oGroupDataAddresses.DeleteUnusedInvalid();
        progress::Step(pProgress);

        // ---- request addresses
        progress::SetBottomText(pProgress, GetResString(176, "Aktualisiere Abfrage-Mengenauslöser"));
        QuantityPosition pos = m_oQuantities.GetHeadPosition();
        while (pos) {
            CQuantity* pQuantity = m_oQuantities.GetNext(pos);
            if (!pQuantity)
                continue;
            ++nQuantityCount;
            CGroupDataAddress* pRequest =
                pQuantity->GetTriggers().empty() ? nullptr : pQuantity->GetTriggers().front();
            const WORD wObject = pQuantity->GetTriggerObjectNumber();
            std::vector<AssociationInfo> arrHost;
            if (wObject < kObjectTableSize)
                if (IEtsCommObject* pObject = g_mapCommObjects.Lookup(arrObjectTable[wObject]))
                    ReadObjectAssociations(pObject, arrHost, true);
            for (CGroupDataAddress* pX : pQuantity->GetTriggers()) {
                for (const AssociationInfo& info : arrHost)
                    if (pX && info.nReference == pX->GetReference() && info.bSend)
                        pRequest = pX;
            }
            pQuantity->SetRequestGroupAddress(pRequest);
            progress::Step(pProgress);
        }
        progress::StepRemaining(pProgress, 770L - nCount - N - gaMap.GetCount() - qtrGaMap.GetCount() -
                                     static_cast<long>(nQuantityCount));
    }

    // ---- limits
    m_oGroupDataAddresses.SetUnlimited(false);
    m_oGroupDataAddresses.CleanUpGroupAddresses();
    DWORD nAssociations = 0;
    CountAssociations(nAssociations);
    LOG_DETAIL("Number of associations in current project: %d", static_cast<int>(nAssociations));
    if (nAssociations > 250) {
        int nRemaining = static_cast<int>(nAssociations) - 250;
        LOG_DETAIL(". Removing %d  invalid group address references!", nRemaining);
        std::vector<CGroupDataAddress*> arrInvalid;
        GaPosition pos = m_oGroupDataAddresses.GetFirstItemPos(GASM_ANY, nullptr, true);
        while (pos)
            arrInvalid.push_back(m_oGroupDataAddresses.GetNextItem(pos, GASM_ANY, nullptr, true));
        for (CGroupDataAddress* pAddress : arrInvalid) {
            if (nRemaining <= 0)
                break;
            const int nRemoved = RemoveInvalidTriggerReferences(pAddress, nRemaining);
            nRemaining -= nRemoved;
            if (nRemoved > 0)
                g_bDataModified = true;
        }
    }

    return 0;
}
