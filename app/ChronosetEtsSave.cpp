// Saving the parameter set to the host project: the associations are
// rewritten, every parameter text is written through the data sets, and the
// communication objects' types, visibility and links follow the new set.

#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "access/ObjectLinkTable.h"
#include "app/Chronoset.h"
#include "app/ObjectCookieMap.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/ProgressSteps.h"
#include "common/ResString.h"
#include "common/ResultCode.h"
#include "platform/com/ComBSTR.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComVariant.h"

#include <algorithm>

namespace {

constexpr int kProgressKindSave = 8;
constexpr std::size_t kObjectTypeCount = 250;

// Whether the new list's entry for the same object still carries the group
// address.
bool LinkHasReference(const CObjectLink* pLink, LONG nReference)
{
    if (!pLink)
        return false;
    return std::any_of(pLink->m_arrGroupAddresses.begin(), pLink->m_arrGroupAddresses.end(),
                       [&](const CGroupAddressLink& link) { return link.m_nReference == nReference; });
}

// Deletes, in the old entry, every association whose group address the new
// entry no longer has.
void RemoveStaleAssociations(CObjectLinkTable& oldTable, CObjectCookieMap& newObjects)
{
    for (int i = 0; i < oldTable.GetCount(); ++i) {
        const LONG nObjectId = oldTable.GetObjectId(i);
        CObjectLink* pOld = oldTable.GetLink(i);
        if (!pOld)
            continue;
        const CObjectLink* pNew = nullptr;
        for (CObjectLinkTable* pTable : {&newObjects.GetStaticObjects(), &newObjects.GetSwitchableObjects()}) {
            const int nFound = pTable->Find(nObjectId);
            if (nFound >= 0) {
                pNew = pTable->GetLink(nFound);
                break;
            }
        }
        if (!pNew || pNew->m_nObjectNumber != pOld->m_nObjectNumber)
            continue;
        for (CGroupAddressLink& link : pOld->m_arrGroupAddresses) {
            if (LinkHasReference(pNew, link.m_nReference) || !link.m_pAssociation)
                continue;
            const HRESULT hr = link.m_pAssociation->Delete();
            if (FAILED(hr))
                LOG_ERROR("Couldnt delete association hr=0x%08X", Hr(hr));
            else
                link.m_pAssociation.Release();
        }
    }
}

}  // namespace

int CChronoset::SaveToEts(LONG nDeviceId, HWND hParent)
{
    // The caller keeps the parent window disabled while the host project
    // changes; the progress window is modal over it.
    CProgressInfo progress(g_bStandalone ? 1 : 0);
    progress.Show(hParent, kProgressKindSave);
    DWORD nCount = 0;
    CountAssociations(nCount);
    progress.SetRange(0, nCount + 3980);
    progress.SetCaption(GetResString(131, "Parameterdaten speichern"));
    ShowDeviceInfo(&progress);
    progress.SetMiddleText(GetResString(132, "Initialisiere Speichervorgang..."));

    int nResult = 5;
    CEtsDataAccess access;
    if (access.IsValid()) {
        progress.Step(1);
        CCommObjectArray arrObjects;
        GetVisibleCommObjects(arrObjects);
        if (m_bHostAssociationsReplaced) {
            // What the import of a data file left to do; the objects it
            // empties are hidden, so the visible ones are read again.
            if (DeleteAssociations(&access, nDeviceId, arrObjects, &progress) != 0)
                LOG_ERROR("Couldnt delete the associations of the imported device");
            else
                m_bHostAssociationsReplaced = false;
            arrObjects.clear();
            GetVisibleCommObjects(arrObjects);
        }
        CObjectCookieMap oldObjects;
        nResult = WriteAssociations(&access, nDeviceId, arrObjects, oldObjects, &progress);
        if (nResult != 0) {
            LOG_ERROR("failed to unlink communication objects");
            nResult = 5;
        } else {
            nResult = SaveParameters(&progress, &access);
            if (nResult == 0)
                nResult = UpdateObjectTypes(&progress, &access, oldObjects);
        }
        progress.Step(1);
    }
    progress.Hide();
    return nResult;
}

int CChronoset::UpdateObjectTypes(CProgressInfo* pProgress, CEtsDataAccess* pAccess, CObjectCookieMap& oldObjects)
{
    progress::SetBottomText(pProgress, GetResString(106, "Verbinde Kommunikationsobjekte"));
    if (m_arrObjectTypeIds.size() != kObjectTypeCount) {
        LOG_ERROR("invalid number of objecttype parameters: %d should be: %d",
                  static_cast<int>(m_arrObjectTypeIds.size()), static_cast<int>(kObjectTypeCount));
        return 5;
    }

    BYTE nNextObject = 0;
    DWORD nLinkedCount = 0;
    CObjectLinkTable& oldSwitchable = oldObjects.GetSwitchableObjects();
    int nResult = m_oQuantities.UpdateObjectTypes(pAccess, m_arrObjectTypeIds, nNextObject, nLinkedCount,
                                                  &oldSwitchable);
    const bool bQuantityLinks = nLinkedCount > 0;
    progress::Step(pProgress);
    if (nResult == 0) {
        nResult = UpdateGroupAddressObjectTypes(pAccess, nNextObject, nLinkedCount, &oldSwitchable);
        progress::Step(pProgress);
    }

    // Objects the new set no longer uses: their associations go, and the
    // object is hidden.
    for (int i = 0; i < oldSwitchable.GetCount(); ++i) {
        CObjectLink* pLink = oldSwitchable.GetLink(i);
        if (!pLink || !pLink->m_nRemoved)
            continue;
        for (CGroupAddressLink& link : pLink->m_arrGroupAddresses) {
            if (!link.m_nFlag || !link.m_pAssociation)
                continue;
            const HRESULT hr = link.m_pAssociation->Delete();
            if (FAILED(hr))
                LOG_ERROR("Couldnt delete association hr=0x%08X", Hr(hr));
            else
                link.m_pAssociation.Release();
        }
        if (!pAccess || !pAccess->SetDeviceParameterLong(pLink->m_nObjectTypeId, 0))
            LOG_ERROR("failed to set object %ld invisible", static_cast<long>(pLink->m_nObjectTypeId));
    }

    const bool bClockUsed = m_oInternalClock.HasObjectsInUse();
    if (nResult != 0 || (nLinkedCount == 0 && !bClockUsed))
        return nResult;

    // The object numbers the links need, with their host ids.
    CCommObjectArray arrObjects;
    GetVisibleCommObjects(arrObjects);
    CObjectNumberMap mapObjects;
    for (const CommObjectEntry& entry : arrObjects) {
        if (entry.nObjectNumber < nNextObject)
            mapObjects[entry.nObjectNumber] = entry.nObjectId;
        switch (entry.nObjectNumber) {
        case 250:
            m_oInternalClock.SetRequestObjectId(entry.nObjectId);
            break;
        case 251:
            m_oInternalClock.SetDateObjectId(entry.nObjectId);
            break;
        case 252:
            m_oInternalClock.SetTimeObjectId(entry.nObjectId);
            break;
        case 253:
            m_oInternalClock.SetLockObjectId(entry.nObjectId);
            break;
        default:
            break;
        }
        progress::Step(pProgress);
    }

    CObjectCookieMap newObjects;
    {
        int nBuild = 0;
        if (bClockUsed)
            nBuild = m_oInternalClock.CollectObjectLinks(newObjects.GetStaticObjects());
        DWORD nCollected = 0;
        if (nBuild == 0 && bQuantityLinks)
            nBuild = m_oQuantities.CollectObjectLinks(mapObjects, nCollected, newObjects.GetSwitchableObjects());
        GaPosition pos = m_oGroupDataAddresses.GetFirstItemPos(GASM_ANY, nullptr, false);
        while (nBuild == 0 && pos && nCollected < nLinkedCount) {
            CGroupDataAddress* pAddress = m_oGroupDataAddresses.GetNextItem(pos, GASM_ANY, nullptr, false);
            if (!pAddress || !(pAddress->GetUsageFlags() & ~static_cast<DWORD>(GAU_QUANTITY_TRIGGER)))
                continue;
            nBuild = AddObjectLink(mapObjects, pAddress, newObjects.GetSwitchableObjects());
            if (nBuild == 0)
                ++nCollected;
        }
    }
    LOG_INFO("Old Objects:");
    oldObjects.Dump();
    LOG_INFO("New Objects:");
    newObjects.Dump();

    RemoveStaleAssociations(oldObjects.GetStaticObjects(), newObjects);
    RemoveStaleAssociations(oldSwitchable, newObjects);

    if (nResult == 0 && bClockUsed) {
        nResult = m_oInternalClock.LinkObjectsWithTable(pAccess, oldObjects.GetStaticObjects());
        progress::Step(pProgress);
    }
    DWORD nLinked = 0;
    if (nResult == 0 && bQuantityLinks) {
        nResult = m_oQuantities.LinkGroupAddresses(pProgress, pAccess, mapObjects, nLinked, oldSwitchable);
        progress::Step(pProgress);
    }
    // One pass over the addresses: each links its own object once.
    if (nResult == 0 && nLinked < nLinkedCount) {
        GaPosition pos = m_oGroupDataAddresses.GetFirstItemPos(GASM_ANY, nullptr, false);
        while (nResult == 0 && pos && nLinked < nLinkedCount) {
            CGroupDataAddress* pAddress = m_oGroupDataAddresses.GetNextItem(pos, GASM_ANY, nullptr, false);
            if (!pAddress || !(pAddress->GetUsageFlags() & ~static_cast<DWORD>(GAU_QUANTITY_TRIGGER)))
                continue;
            nResult = LinkCommObjectIfMissing(pAccess, mapObjects, pAddress, oldSwitchable, 1);
            if (nResult == 0)
                ++nLinked;
            progress::Step(pProgress);
        }
    }
    return nResult;
}

HRESULT CChronoset::GetVisibleCommObjects(CCommObjectArray& arrObjects)
{
    HRESULT hr = E_FAIL;
    const std::size_t nCount = g_mapCommObjects.GetCount();
    for (std::size_t i = 0; i < nCount; ++i) {
        IEtsCommObject* pObject = g_mapCommObjects.GetAt(i);
        if (!pObject) {
            hr = E_POINTER;
            LOG_ERROR("Couldnt get object on index %ld, hr=0x%08X", static_cast<long>(i), Hr(hr));
            continue;
        }
        CComVariant vVisible;
        hr = pObject->GetProperty(CComBSTR("Visible"), &vVisible);
        CComVariant vBool;
        if (SUCCEEDED(hr))
            hr = vBool.ChangeType(VT_BOOL, &vVisible);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get visible flag hr=0x%08X", Hr(hr));
            continue;
        }
        if (!vBool.boolVal)
            continue;
        CComVariant vNumber;
        hr = pObject->GetProperty(CComBSTR("CommunicationObjectNumber"), &vNumber);
        CComVariant vShort;
        if (SUCCEEDED(hr))
            hr = vShort.ChangeType(VT_I2, &vNumber);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get communication object number. hr=0x%08X", Hr(hr));
            continue;
        }
        CommObjectEntry entry;
        entry.nObjectNumber = static_cast<WORD>(vShort.iVal);
        entry.nIndex = static_cast<LONG>(i);
        entry.nObjectId = g_mapCommObjects.GetIdAt(i);
        arrObjects.push_back(entry);
    }
    return hr;
}
