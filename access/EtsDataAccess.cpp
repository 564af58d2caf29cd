#include "access/EtsDataAccess.h"

#include "access/AssociationVeto.h"
#include "access/HostObjectMaps.h"
#include "common/Log.h"
#include "common/ResultCode.h"
#include "platform/com/ComBSTR.h"
#include "platform/com/ComVariant.h"

namespace {

// An address VARIANT read from the host: the number, or null.
HRESULT AddressFromVariant(const VARIANT& v, LONG& nAddress, bool& bNull)
{
    bNull = v.vt == VT_NULL;
    if (bNull)
        return S_OK;
    CComVariant converted;
    HRESULT hr = converted.ChangeType(VT_I4, &v);
    if (SUCCEEDED(hr))
        nAddress = converted.lVal;
    return hr;
}

// A new group's address as the host takes it: a 16-bit integer VARIANT.
CComVariant AddressVariant(LONG nAddress)
{
    return CComVariant(static_cast<SHORT>(nAddress & 0xFFFF));
}

// Takes a group that a creation made back out of the project, and out of
// its host object map (nId -1: it was never entered), when a later step of
// the same creation failed: no half-made group stays behind.
template <class Group>
void TakeBack(Group* pGroup, CHostObjectMap<Group>* pMap, LONG nId, const char* pszKind)
{
    if (pMap && nId != -1)
        pMap->RemoveKey(nId);
    if (!pGroup)
        return;
    const HRESULT hr = pGroup->Delete();
    if (FAILED(hr))
        LOG_ERROR("Couldnt remove the new %s again hr=0x%08X", pszKind, static_cast<unsigned>(hr));
}

// The log texts of the group kind FindOrAddGroup looks through.
struct GroupKindTexts
{
    const char* pszCount;
    const char* pszItem;
    const char* pszAddress;
    const char* pszAdd;
    const char* pszCookie;
    const char* pszKind;
};

// The group of the collection with the address (its low 16 bits), else a
// new one added with it and entered into the map (nNewId its id); an item
// that can't be read is logged and passed over.
template <class Groups, class Group>
HRESULT FindOrAddGroup(Groups* pGroups, LONG nAddress, CHostObjectMap<Group>& map, const GroupKindTexts& texts,
                       CComPtr<Group>& pGroup, LONG& nNewId)
{
    LONG nCount = 0;
    HRESULT hr = pGroups->get_Count(&nCount);
    if (FAILED(hr)) {
        LOG_ERROR(texts.pszCount, Hr(hr));
        return hr;
    }
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<Group> pItem;
        hr = pGroups->Item(MakeIndexVariant(i), &pItem);
        if (FAILED(hr) || !pItem) {
            LOG_ERROR(texts.pszItem, Hr(hr));
            continue;
        }
        CComVariant vAddress;
        hr = pItem->get_Address(&vAddress);
        if (FAILED(hr)) {
            LOG_ERROR(texts.pszAddress, Hr(hr));
            continue;
        }
        LONG nItemAddress = 0;
        bool bNull = false;
        if (FAILED(AddressFromVariant(vAddress, nItemAddress, bNull)) || bNull)
            continue;
        if ((nItemAddress & 0xFFFF) == (nAddress & 0xFFFF)) {
            pGroup = pItem;
            return hr;
        }
    }
    CComPtr<Group> pNew;
    hr = pGroups->Add(AddressVariant(nAddress), CComBSTR(""), &pNew);
    if (FAILED(hr) || !pNew) {
        hr = FAILED(hr) ? hr : E_POINTER;
        LOG_ERROR(texts.pszAdd, Hr(hr));
        return hr;
    }
    LONG nId = -1;
    hr = GetObjectCookie(pNew, nId);
    if (FAILED(hr)) {
        LOG_ERROR(texts.pszCookie, Hr(hr));
        TakeBack<Group>(pNew, nullptr, -1, texts.pszKind);
        return hr;
    }
    map.SetAt(nId, pNew);
    pGroup = pNew;
    nNewId = nId;
    return hr;
}

// The log texts of the child group kind FindChildGroup looks for, and of
// the parent it looks in.
struct ChildGroupTexts
{
    const char* pszNoParent;    // the parent's id
    const char* pszNoChildren;  // the parent's id, hr
    const char* pszCount;       // hr
    const char* pszItem;        // hr; with bItemIndexed the item's index first
    bool bItemIndexed;
    const char* pszAddress;     // hr
    const char* pszCookie;      // hr
    const char* pszMissing;     // the address, the parent's id
    bool bMissingIsError;       // else a warning
};

// The id of the child group of the parent with the address, else -1 (also
// for an unknown parent); an item that can't be read is logged and passed
// over.
template <class Child, class Parent, class Children>
LONG FindChildGroup(CHostObjectMap<Parent>& parents, LONG nParentId, HRESULT (Parent::*pfnChildren)(Children**),
                    LONG nAddress, const ChildGroupTexts& texts)
{
    Parent* pParent = parents.Lookup(nParentId);
    if (!pParent) {
        LOG_ERROR(texts.pszNoParent, static_cast<long>(nParentId));
        return -1;
    }
    CComPtr<Children> pChildren;
    HRESULT hr = (pParent->*pfnChildren)(&pChildren);
    if (FAILED(hr) || !pChildren) {
        LOG_ERROR(texts.pszNoChildren, static_cast<long>(nParentId), Hr(FAILED(hr) ? hr : E_POINTER));
        return -1;
    }
    LONG nCount = 0;
    hr = pChildren->get_Count(&nCount);
    if (FAILED(hr)) {
        LOG_ERROR(texts.pszCount, Hr(hr));
        return -1;
    }
    LONG nResult = -1;
    bool bFound = false;
    // The walk goes on after a match: of two groups with the same address
    // the later one counts.
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<Child> pItem;
        hr = pChildren->Item(MakeIndexVariant(i), &pItem);
        if (FAILED(hr) || !pItem) {
            if (texts.bItemIndexed)
                LOG_ERROR(texts.pszItem, static_cast<int>(i), Hr(hr));
            else
                LOG_ERROR(texts.pszItem, Hr(hr));
            continue;
        }
        CComVariant vAddress;
        hr = pItem->get_Address(&vAddress);
        if (FAILED(hr)) {
            LOG_ERROR(texts.pszAddress, Hr(hr));
            continue;
        }
        LONG nItemAddress = 0;
        bool bNull = false;
        if (FAILED(AddressFromVariant(vAddress, nItemAddress, bNull)) || bNull || nItemAddress != nAddress)
            continue;
        LONG nId = -1;
        hr = GetObjectCookie(pItem, nId);
        if (FAILED(hr)) {
            LOG_ERROR(texts.pszCookie, Hr(hr));
            continue;
        }
        nResult = nId;
        bFound = true;
    }
    if (!bFound) {
        if (texts.bMissingIsError)
            LOG_ERROR(texts.pszMissing, static_cast<long>(nAddress), static_cast<long>(nParentId));
        else
            LOG_WARNING(texts.pszMissing, static_cast<long>(nAddress), static_cast<long>(nParentId));
    }
    return nResult;
}

HRESULT ReadText(HRESULT hr, BSTR& bstr, std::string& strText)
{
    // The text is taken through the reference, after the call that filled it.
    if (SUCCEEDED(hr))
        strText = platform::BstrToUtf8(bstr);
    SysFreeString(bstr);
    bstr = nullptr;
    return hr;
}

}  // namespace

// ---- device parameters ----------------------------------------------------------

int CEtsDataAccess::SetDeviceParameterValue(LONG nParameterId, const std::string& strText)
{
    CComVariant vValue(strText);
    HRESULT hr = SetDeviceParameterVariant(nParameterId, vValue);
    if (FAILED(hr)) {
        LOG_ERROR("Calling SetDeviceParameterValue hr=0x%08X", Hr(hr));
        return 0;
    }
    return 1;
}

int CEtsDataAccess::SetDeviceParameterLong(LONG nParameterId, LONG nValue)
{
    CComVariant vValue(static_cast<int>(nValue));
    HRESULT hr = SetDeviceParameterVariant(nParameterId, vValue);
    if (FAILED(hr)) {
        LOG_ERROR("Calling SetDeviceParameterValue hr=0x%08X", Hr(hr));
        return 0;
    }
    return 1;
}

HRESULT CEtsDataAccess::SetDeviceParameterVariant(LONG nParameterId, VARIANT vValue)
{
    IEtsDeviceParameter* pParameter = g_mapDeviceParameters.Lookup(nParameterId);
    if (!pParameter) {
        LOG_ERROR("Device Parameter with id: %ld not found in the global map.", static_cast<long>(nParameterId));
        return E_FAIL;
    }
    HRESULT hr = pParameter->put_Value(vValue);
    if (FAILED(hr))
        LOG_ERROR("Couldnt set value of device parameter hr=0x%08X", Hr(hr));
    return hr;
}

// ---- group addresses by host id -------------------------------------------------------

LONG CEtsDataAccess::GetGroupAddressParts(LONG nSubGroupId, LONG nProjectId)
{
    IEtsGroupAddress* pSubGroup = g_mapGroupAddresses.Lookup(nSubGroupId);
    if (!pSubGroup)
        return -1;
    CComPtr<IEtsMiddleGroup> pMiddleGroup;
    HRESULT hr = pSubGroup->get_Parent(&pMiddleGroup);
    if (FAILED(hr) || !pMiddleGroup) {
        LOG_ERROR("Couldnt get parent of sub group. hr=0x%08X", Hr(FAILED(hr) ? hr : E_POINTER));
        return -1;
    }
    CComPtr<IEtsMainGroup> pMainGroup;
    hr = pMiddleGroup->get_Parent(&pMainGroup);
    if (FAILED(hr) || !pMainGroup) {
        LOG_ERROR("Couldnt get parent of middle group. hr=0x%08X", Hr(FAILED(hr) ? hr : E_POINTER));
        return -1;
    }
    LONG nMain = 0;
    LONG nMiddle = 0;
    LONG nSub = 0;
    bool bNull = false;
    CComVariant vAddress;
    hr = pMainGroup->get_Address(&vAddress);
    if (SUCCEEDED(hr))
        hr = AddressFromVariant(vAddress, nMain, bNull);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get main group address. hr=0x%08X", Hr(hr));
        return -1;
    }
    vAddress.Clear();
    hr = pMiddleGroup->get_Address(&vAddress);
    if (SUCCEEDED(hr))
        hr = AddressFromVariant(vAddress, nMiddle, bNull);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get middle group address. hr=0x%08X", Hr(hr));
        return -1;
    }
    vAddress.Clear();
    hr = pSubGroup->get_Address(&vAddress);
    if (SUCCEEDED(hr))
        hr = AddressFromVariant(vAddress, nSub, bNull);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get subgroup address. hr=0x%08X", Hr(hr));
        return -1;
    }
    LONG nGroupProjectId = 0;
    if (!CompareProjectIds(nProjectId, pMainGroup, nGroupProjectId)) {
        LOG_ERROR("group address in wrong project: %ld, current: %ld", static_cast<long>(nGroupProjectId),
                  static_cast<long>(nProjectId));
        return -1;
    }
    return ((nMain & 15) << 12) | ((nMiddle & 15) << 8) | (nSub & 255);
}

bool CEtsDataAccess::CompareProjectIds(LONG nProjectId, IEtsMainGroup* pMainGroup, LONG& nGroupProjectId)
{
    nGroupProjectId = 0;
    if (!pMainGroup)
        return false;
    CComPtr<IEtsProject> pProject;
    HRESULT hr = pMainGroup->get_Project(&pProject);
    if (FAILED(hr) || !pProject) {
        LOG_ERROR("CEtsDataAccess::CompareProjectIds couldnt get project hr=0x%08X", Hr(FAILED(hr) ? hr : E_POINTER));
        return false;
    }
    LONG nId = 0;
    hr = GetObjectCookie(pProject, nId);
    if (FAILED(hr)) {
        LOG_ERROR("CEtsDataAccess::CompareProjectIds couldnt get project cookie hr=0x%08X", Hr(hr));
        return false;
    }
    nGroupProjectId = nId;
    return nId == nProjectId;
}

SHORT CEtsDataAccess::GetCommObjectLength(LONG nSubGroupId)
{
    IEtsGroupAddress* pSubGroup = g_mapGroupAddresses.Lookup(nSubGroupId);
    if (!pSubGroup)
        return kCommObjectLengthFailed;
    SHORT nLength = 0;
    HRESULT hr = pSubGroup->get_CommunicationObjectLength(&nLength);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get communication object length of group address %ld hr=0x%08X",
                  static_cast<long>(nSubGroupId), Hr(hr));
        return kCommObjectLengthFailed;
    }
    return nLength;
}

std::string CEtsDataAccess::GetGroupName(LONG nSubGroupId)
{
    IEtsGroupAddress* pSubGroup = g_mapGroupAddresses.Lookup(nSubGroupId);
    if (!pSubGroup)
        return {};
    BSTR bstrName = nullptr;
    std::string strName;
    HRESULT hr = ReadText(pSubGroup->get_Name(&bstrName), bstrName, strName);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get name of group address %ld hr=0x%08X", static_cast<long>(nSubGroupId), Hr(hr));
        return {};
    }
    return strName;
}

// ---- associations ---------------------------------------------------------------------------

LONG CEtsDataAccess::SetSend(IEtsAssociation* pAssociation, BOOL bSend)
{
    HRESULT hr = pAssociation->put_Send(bSend ? VARIANT_TRUE : VARIANT_FALSE);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt put send property for association hr=0x%08X", Hr(hr));
        return -1;
    }
    return 0;
}

LONG CEtsDataAccess::AddAssociation(IEtsCommObject* pObject, IEtsGroupAddress* pGroupAddress, BOOL bSend)
{
    CComPtr<IEtsAssociations> pAssociations;
    HRESULT hr = pObject->get_Associations(&pAssociations);
    if (FAILED(hr) || !pAssociations) {
        LOG_ERROR("Couldnt get associations hr=0x%08X", Hr(FAILED(hr) ? hr : E_POINTER));
        return -1;
    }
    CComPtr<IEtsAssociation> pAssociation;
    hr = pAssociations->Add(pGroupAddress, &pAssociation);
    // The host's answer for a pair that is associated already is no failure.
    if (FAILED(hr) && hr != ETS_E_ASSOCIATION_EXISTS) {
        LOG_ERROR("Couldnt create association hr=0x%08X", Hr(hr));
        return -1;
    }
    if (!pAssociation) {
        LOG_WARNING("Couldnt create association hr=0x%08X", Hr(hr));
        return -1;
    }
    return SetSend(pAssociation, bSend);
}

LONG CEtsDataAccess::CreateAssociation(LONG nCommObjectId, LONG nSubGroupId, BOOL bSend, BOOL, BOOL, BOOL)
{
    // The host tells the plug-in of the association it is making; that
    // notification must not veto the plug-in's own work.
    COwnAssociationChange ownChange;
    IEtsCommObject* pObject = g_mapCommObjects.Lookup(nCommObjectId);
    if (!pObject) {
        LOG_ERROR("Couldnt found device communication object with id=%ld", static_cast<long>(nCommObjectId));
        return -1;
    }
    IEtsGroupAddress* pGroupAddress = g_mapGroupAddresses.Lookup(nSubGroupId);
    if (!pGroupAddress) {
        LOG_ERROR("Couldnt found group address object with id=%ld", static_cast<long>(nSubGroupId));
        return -1;
    }
    return AddAssociation(pObject, pGroupAddress, bSend);
}

LONG CEtsDataAccess::CreateAssociationIfMissing(LONG nCommObjectId, LONG nSubGroupId, CObjectLinkTable& associations,
                                                BOOL bSend, BOOL, BOOL, BOOL)
{
    COwnAssociationChange ownChange;
    IEtsCommObject* pObject = g_mapCommObjects.Lookup(nCommObjectId);
    if (!pObject) {
        LOG_ERROR("Couldnt found device communication object with id=%ld", static_cast<long>(nCommObjectId));
        return -1;
    }
    IEtsGroupAddress* pGroupAddress = g_mapGroupAddresses.Lookup(nSubGroupId);
    if (!pGroupAddress) {
        LOG_ERROR("Couldnt found group address object with id=%ld", static_cast<long>(nSubGroupId));
        return -1;
    }
    CComPtr<IEtsAssociation> pListed;
    // A listed pair whose association object was not kept is made again: the
    // host then hands out the existing one.
    if (FindAssociation(associations, nCommObjectId, nSubGroupId, pListed) && pListed)
        return SetSend(pListed, bSend);
    return AddAssociation(pObject, pGroupAddress, bSend);
}

bool CEtsDataAccess::FindAssociation(CObjectLinkTable& associations, LONG nCommObjectId, LONG nSubGroupId,
                                     CComPtr<IEtsAssociation>& pAssociation)
{
    for (int i = 0; i < associations.GetCount(); ++i) {
        if (associations.GetObjectId(i) != nCommObjectId)
            continue;
        CObjectLink* pLink = associations.GetLink(i);
        if (!pLink)
            continue;
        auto& links = pLink->m_arrGroupAddresses;
        for (auto it = links.begin(); it != links.end(); ++it) {
            if (it->m_nReference != nSubGroupId)
                continue;
            pAssociation = it->m_pAssociation;
            links.erase(it);
            return true;
        }
    }
    return false;
}

// ---- the group tree -------------------------------------------------------------------------

LONG CEtsDataAccess::AddMainGroup(IEtsProject* pProject, LONG nAddress, const std::string& strName,
                                  const std::string& strDescription, const std::string& strUniqueName, int, int)
{
    if (!pProject)
        return -1;
    CComPtr<IEtsMainGroups> pMainGroups;
    HRESULT hr = pProject->get_MainGroups(&pMainGroups);
    if (FAILED(hr) || !pMainGroups) {
        LOG_ERROR("Couldnt get Main Groups hr=0x%08X", Hr(FAILED(hr) ? hr : E_POINTER));
        return -1;
    }
    CComPtr<IEtsMainGroup> pMainGroup;
    hr = pMainGroups->Add(AddressVariant(nAddress), CComBSTR(strName), &pMainGroup);
    if (FAILED(hr) || !pMainGroup) {
        LOG_ERROR("Couldnt add main group hr=0x%08X", Hr(FAILED(hr) ? hr : E_POINTER));
        return -1;
    }
    LONG nId = -1;
    hr = GetObjectCookie(pMainGroup, nId);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get main group cookie hr=0x%08X", Hr(hr));
        TakeBack<IEtsMainGroup>(pMainGroup, nullptr, -1, "main group");
        return -1;
    }
    g_mapMainGroups.SetAt(nId, pMainGroup);
    if (!strDescription.empty()) {
        hr = pMainGroup->put_Description(CComBSTR(strDescription));
        if (FAILED(hr))
            LOG_ERROR("Couldnt set main group description hr=0x%08X, description=%s", Hr(hr), strDescription.c_str());
    }
    if (!strUniqueName.empty()) {
        hr = pMainGroup->put_UniqueName(CComBSTR(strUniqueName));
        if (FAILED(hr))
            LOG_ERROR("Couldnt set main group unique name hr=0x%08X, unique name=%s", Hr(hr), strUniqueName.c_str());
    }
    return nId;
}

LONG CEtsDataAccess::AddMiddleGroup(LONG nMainGroupId, LONG nAddress, const std::string& strName,
                                    const std::string& strDescription, const std::string& strUniqueName, int)
{
    IEtsMainGroup* pMainGroup = g_mapMainGroups.Lookup(nMainGroupId);
    if (!pMainGroup) {
        LOG_ERROR("Couldnt find Maingroup with Id: %ld", static_cast<long>(nMainGroupId));
        return -1;
    }
    CComPtr<IEtsMiddleGroups> pMiddleGroups;
    HRESULT hr = pMainGroup->get_MiddleGroups(&pMiddleGroups);
    if (FAILED(hr) || !pMiddleGroups) {
        LOG_ERROR("Couldnt get middle groups from Maingroup with Id: %ld, hr=0x%08X", static_cast<long>(nMainGroupId),
                  Hr(FAILED(hr) ? hr : E_POINTER));
        return -1;
    }
    CComPtr<IEtsMiddleGroup> pMiddleGroup;
    hr = pMiddleGroups->Add(AddressVariant(nAddress), CComBSTR(strName), &pMiddleGroup);
    if (FAILED(hr) || !pMiddleGroup) {
        LOG_ERROR("Couldnt add middle groups to Maingroup with Id: %ld, hr=0x%08X", static_cast<long>(nMainGroupId),
                  Hr(FAILED(hr) ? hr : E_POINTER));
        return -1;
    }
    LONG nId = -1;
    hr = GetObjectCookie(pMiddleGroup, nId);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get middle group cookie, global map not updated hr=0x%08X", Hr(hr));
        TakeBack<IEtsMiddleGroup>(pMiddleGroup, nullptr, -1, "middle group");
        return -1;
    }
    g_mapMiddleGroups.SetAt(nId, pMiddleGroup);
    if (!strDescription.empty()) {
        hr = pMiddleGroup->put_Description(CComBSTR(strDescription));
        if (FAILED(hr))
            LOG_ERROR("Couldnt set middle group description hr=0x%08X, description=%s", Hr(hr),
                      strDescription.c_str());
    }
    if (!strUniqueName.empty()) {
        hr = pMiddleGroup->put_UniqueName(CComBSTR(strUniqueName));
        if (FAILED(hr))
            LOG_ERROR("Couldnt set middle group unique name hr=0x%08X, unique name=%s", Hr(hr),
                      strUniqueName.c_str());
    }
    return nId;
}

LONG CEtsDataAccess::AddGroupAddress(IEtsProject* pProject, LONG nMainAddress, LONG nMiddleAddress, LONG nSubAddress,
                                     const std::string& strName, const std::string& strDescription,
                                     const std::string& strUniqueName, BOOL bCentral, int, int)
{
    CComPtr<IEtsMainGroup> pMainGroup;
    LONG nNewMainId = -1;
    HRESULT hr = GetOrCreateMainGroup(pProject, nMainAddress, pMainGroup, nNewMainId);
    if (FAILED(hr) || !pMainGroup) {
        LOG_ERROR("Couldnt get or create a main group with address %d hr=0x%08X", static_cast<int>(nMainAddress),
                  Hr(FAILED(hr) ? hr : E_POINTER));
        return -1;
    }
    CComPtr<IEtsMiddleGroup> pMiddleGroup;
    LONG nNewMiddleId = -1;
    // What this call created on the way goes again when a later step fails.
    auto takeBackGroups = [&] {
        if (nNewMiddleId != -1)
            TakeBack<IEtsMiddleGroup>(pMiddleGroup, &g_mapMiddleGroups, nNewMiddleId, "middle group");
        if (nNewMainId != -1)
            TakeBack<IEtsMainGroup>(pMainGroup, &g_mapMainGroups, nNewMainId, "main group");
    };
    hr = GetOrCreateMiddleGroup(pMainGroup, nMiddleAddress, pMiddleGroup, nNewMiddleId);
    if (FAILED(hr) || !pMiddleGroup) {
        LOG_ERROR("Couldnt get or create a middle group with address %d, hr=0x%08X", static_cast<int>(nMiddleAddress),
                  Hr(FAILED(hr) ? hr : E_POINTER));
        takeBackGroups();
        return -1;
    }
    CComPtr<IEtsGroupAddresses> pGroupAddresses;
    hr = pMiddleGroup->get_GroupAddresses(&pGroupAddresses);
    if (FAILED(hr) || !pGroupAddresses) {
        LOG_ERROR("Couldnt get group addresses hr=0x%08X", Hr(FAILED(hr) ? hr : E_POINTER));
        takeBackGroups();
        return -1;
    }
    CComPtr<IEtsGroupAddress> pGroupAddress;
    hr = pGroupAddresses->Add(AddressVariant(nSubAddress), CComBSTR(strName), &pGroupAddress);
    if (FAILED(hr) || !pGroupAddress) {
        LOG_ERROR("Couldnt add group address hr=0x%08X", Hr(FAILED(hr) ? hr : E_POINTER));
        takeBackGroups();
        return -1;
    }
    LONG nId = -1;
    hr = GetObjectCookie(pGroupAddress, nId);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get group address cookie hr=0x%08X", Hr(hr));
        TakeBack<IEtsGroupAddress>(pGroupAddress, nullptr, -1, "group address");
        takeBackGroups();
        return -1;
    }
    g_mapGroupAddresses.SetAt(nId, pGroupAddress);
    // The address exists from here on; what follows only completes it.
    hr = pGroupAddress->put_Central(bCentral ? VARIANT_TRUE : VARIANT_FALSE);
    if (FAILED(hr))
        LOG_WARNING("Couldnt put group address central hr=0x%08X", Hr(hr));
    if (!strDescription.empty()) {
        hr = pGroupAddress->put_Description(CComBSTR(strDescription));
        if (FAILED(hr))
            LOG_WARNING("Couldnt put group address description hr=0x%08X", Hr(hr));
    }
    if (!strUniqueName.empty()) {
        hr = pGroupAddress->put_UniqueName(CComBSTR(strUniqueName));
        if (FAILED(hr))
            LOG_WARNING("Couldnt put group address unique name hr=0x%08X", Hr(hr));
    }
    return nId;
}

HRESULT CEtsDataAccess::GetOrCreateMainGroup(IEtsProject* pProject, LONG nAddress, CComPtr<IEtsMainGroup>& pMainGroup)
{
    LONG nNewId = -1;
    return GetOrCreateMainGroup(pProject, nAddress, pMainGroup, nNewId);
}

HRESULT CEtsDataAccess::GetOrCreateMainGroup(IEtsProject* pProject, LONG nAddress, CComPtr<IEtsMainGroup>& pMainGroup,
                                             LONG& nNewId)
{
    nNewId = -1;
    if (!pProject)
        return E_POINTER;
    CComPtr<IEtsMainGroups> pMainGroups;
    HRESULT hr = pProject->get_MainGroups(&pMainGroups);
    if (FAILED(hr) || !pMainGroups) {
        hr = FAILED(hr) ? hr : E_POINTER;
        LOG_ERROR("Couldnt get main groups hr=0x%08X", Hr(hr));
        return hr;
    }
    static constexpr GroupKindTexts kTexts = {
        "Couldnt get main groups count hr=0x%08X", "Couldnt get main group item hr=0x%08X",
        "Couldnt get main group address hr=0x%08X", "Couldnt add new main group hr=0x%08X",
        "Couldnt get maingroup object cookie hr=0x%08X", "main group"};
    return FindOrAddGroup(pMainGroups.p, nAddress, g_mapMainGroups, kTexts, pMainGroup, nNewId);
}

HRESULT CEtsDataAccess::GetOrCreateMiddleGroup(IEtsMainGroup* pMainGroup, LONG nAddress,
                                               CComPtr<IEtsMiddleGroup>& pMiddleGroup)
{
    LONG nNewId = -1;
    return GetOrCreateMiddleGroup(pMainGroup, nAddress, pMiddleGroup, nNewId);
}

HRESULT CEtsDataAccess::GetOrCreateMiddleGroup(IEtsMainGroup* pMainGroup, LONG nAddress,
                                               CComPtr<IEtsMiddleGroup>& pMiddleGroup, LONG& nNewId)
{
    nNewId = -1;
    if (!pMainGroup)
        return E_POINTER;
    CComPtr<IEtsMiddleGroups> pMiddleGroups;
    HRESULT hr = pMainGroup->get_MiddleGroups(&pMiddleGroups);
    if (FAILED(hr) || !pMiddleGroups) {
        hr = FAILED(hr) ? hr : E_POINTER;
        LOG_ERROR("Couldnt get middle groups hr=0x%08X", Hr(hr));
        return hr;
    }
    static constexpr GroupKindTexts kTexts = {
        "Couldnt get Middle groups count hr=0x%08X", "Couldnt get Middle group item hr=0x%08X",
        "Couldnt get Middle group address hr=0x%08X", "Couldnt add new Middle group hr=0x%08X",
        "Couldnt get Middlegroup object cookie hr=0x%08X", "middle group"};
    return FindOrAddGroup(pMiddleGroups.p, nAddress, g_mapMiddleGroups, kTexts, pMiddleGroup, nNewId);
}

LONG CEtsDataAccess::GetSubGroupCount(LONG nMiddleGroupId)
{
    IEtsMiddleGroup* pMiddleGroup = g_mapMiddleGroups.Lookup(nMiddleGroupId);
    if (!pMiddleGroup)
        return 0;
    CComPtr<IEtsGroupAddresses> pGroupAddresses;
    HRESULT hr = pMiddleGroup->get_GroupAddresses(&pGroupAddresses);
    if (FAILED(hr) || !pGroupAddresses) {
        LOG_WARNING("Couldnt get group addresses from middlegroup hr=0x%08X", Hr(FAILED(hr) ? hr : E_POINTER));
        return 0;
    }
    LONG nCount = 0;
    hr = pGroupAddresses->get_Count(&nCount);
    if (FAILED(hr)) {
        LOG_WARNING("Couldnt get subgroup count for middlegroup  hr=0x%08X", Hr(hr));
        return 0;
    }
    return nCount;
}

LONG CEtsDataAccess::FindSubGroup(LONG nMiddleGroupId, LONG nAddress)
{
    static constexpr ChildGroupTexts kTexts = {
        "Couldnt get middle group with id %ld",
        "Couldnt get group addresses from middle group with id %ld hr=0x%08X",
        "Couldnt get group addresses count hr=0x%08X",
        "Couldnt get group addresses item with id %d hr=0x%08X",
        true,
        "Couldnt get sub group address hr=0x%08X",
        "Couldnt get sub group cookie hr=0x%08X",
        "Subgroup with address %ld doesnt exist in middlegroup(ID): %ld",
        false,
    };
    return FindChildGroup<IEtsGroupAddress>(g_mapMiddleGroups, nMiddleGroupId, &IEtsMiddleGroup::get_GroupAddresses,
                                            nAddress, kTexts);
}

LONG CEtsDataAccess::FindMiddleGroup(LONG nMainGroupId, LONG nAddress)
{
    static constexpr ChildGroupTexts kTexts = {
        "Couldnt find Maingroup with Id: %ld",
        "Couldnt find middle groups from Maingroup with Id: %ld hr=0x%08X",
        "Couldnt middle group count hr=0x%08X",
        "Couldnt get middle group item hr=0x%08X",
        false,
        "Couldnt get middle group address hr=0x%08X",
        "Couldnt get middle group cookie hr=0x%08X",
        "Middlegroup with address %ld doesnt exist in maingroup(ID): %ld",
        true,
    };
    return FindChildGroup<IEtsMiddleGroup>(g_mapMainGroups, nMainGroupId, &IEtsMainGroup::get_MiddleGroups, nAddress,
                                           kTexts);
}

int CEtsDataAccess::IsMainGroupEmpty(IEtsMainGroup* pMainGroup)
{
    int nEmpty = 1;
    CComPtr<IEtsMiddleGroups> pMiddleGroups;
    LONG nCount = 0;
    if (!pMainGroup || FAILED(pMainGroup->get_MiddleGroups(&pMiddleGroups)) || !pMiddleGroups ||
        FAILED(pMiddleGroups->get_Count(&nCount)))
        return nEmpty;
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsMiddleGroup> pItem;
        if (SUCCEEDED(pMiddleGroups->Item(MakeIndexVariant(i), &pItem)) && pItem)
            nEmpty = 0;
    }
    return nEmpty;
}

int CEtsDataAccess::IsMiddleGroupEmpty(IEtsMiddleGroup* pMiddleGroup)
{
    int nEmpty = 1;
    CComPtr<IEtsGroupAddresses> pGroupAddresses;
    LONG nCount = 0;
    if (!pMiddleGroup || FAILED(pMiddleGroup->get_GroupAddresses(&pGroupAddresses)) || !pGroupAddresses ||
        FAILED(pGroupAddresses->get_Count(&nCount)))
        return nEmpty;
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsGroupAddress> pItem;
        if (SUCCEEDED(pGroupAddresses->Item(MakeIndexVariant(i), &pItem)) && pItem)
            nEmpty = 0;
    }
    return nEmpty;
}

namespace {

// Name, id and address of a group in that order, stopping at the first
// failure, which is logged with its text; the outputs are written only when
// all three were read. A null address gives -1.
template <class Group>
HRESULT ReadGroupData(Group* pGroup, std::string& strName, LONG& nId, LONG& nAddress, const char* pszNameText,
                      const char* pszIdText, const char* pszAddressText)
{
    if (!pGroup)
        return E_POINTER;
    BSTR bstrName = nullptr;
    std::string strReadName;
    HRESULT hr = ReadText(pGroup->get_Name(&bstrName), bstrName, strReadName);
    if (FAILED(hr)) {
        LOG_ERROR(pszNameText, Hr(hr));
        return hr;
    }
    LONG nReadId = -1;
    hr = GetObjectCookie(pGroup, nReadId);
    if (FAILED(hr)) {
        LOG_ERROR(pszIdText, Hr(hr));
        return hr;
    }
    CComVariant vAddress;
    LONG nReadAddress = -1;
    bool bNull = false;
    hr = pGroup->get_Address(&vAddress);
    if (SUCCEEDED(hr))
        hr = AddressFromVariant(vAddress, nReadAddress, bNull);
    if (FAILED(hr)) {
        LOG_ERROR(pszAddressText, Hr(hr));
        return hr;
    }
    strName = strReadName;
    nId = nReadId;
    nAddress = bNull ? -1 : nReadAddress;
    return hr;
}

// The extended read of a main or middle group: name, id, address,
// description and the pass-through flag, filling the record only when every
// read succeeded; a null address leaves the record's address as it was.
template <class Group>
HRESULT ReadGroupDataEx(Group* pGroup, GroupData& data, const char* pszNameText, const char* pszIdText,
                        const char* pszAddressText, const char* pszDescriptionText)
{
    if (!pGroup)
        return E_POINTER;
    GroupData read = data;
    BSTR bstrText = nullptr;
    HRESULT hr = ReadText(pGroup->get_Name(&bstrText), bstrText, read.strName);
    if (FAILED(hr)) {
        LOG_ERROR(pszNameText, Hr(hr));
        return hr;
    }
    hr = GetObjectCookie(pGroup, read.nId);
    if (FAILED(hr)) {
        LOG_ERROR(pszIdText, Hr(hr));
        return hr;
    }
    CComVariant vAddress;
    bool bNull = false;
    LONG nAddress = read.nAddress;
    hr = pGroup->get_Address(&vAddress);
    if (SUCCEEDED(hr))
        hr = AddressFromVariant(vAddress, nAddress, bNull);
    if (FAILED(hr)) {
        LOG_ERROR(pszAddressText, Hr(hr));
        return hr;
    }
    if (!bNull)
        read.nAddress = nAddress;
    bstrText = nullptr;
    hr = ReadText(pGroup->get_Description(&bstrText), bstrText, read.strDescription);
    if (FAILED(hr)) {
        LOG_ERROR(pszDescriptionText, Hr(hr));
        return hr;
    }
    VARIANT_BOOL bFlag = VARIANT_FALSE;
    hr = pGroup->get_PassThrough(&bFlag);
    if (FAILED(hr))
        return hr;
    read.nFlag = bFlag ? 1 : 0;
    data = read;
    return hr;
}

}  // namespace

HRESULT CEtsDataAccess::GetMainGroupData(IEtsMainGroup* pMainGroup, std::string& strName, LONG& nId, LONG& nAddress)
{
    return ReadGroupData(pMainGroup, strName, nId, nAddress, "Couldnt get main group name hr=0x%08X",
                         "Couldnt get main group ID hr=0x%08X", "Couldnt get main group address hr=0x%08X");
}

HRESULT CEtsDataAccess::GetMainGroupDataEx(IEtsMainGroup* pMainGroup, MainGroupData& data)
{
    return ReadGroupDataEx(pMainGroup, data, "Couldnt get main Group name hr=0x%08X",
                           "Couldnt get main Group ID hr=0x%08X", "Couldnt get main Group Address hr=0x%08X",
                           "Couldnt get main group description hr=0x%08X");
}

HRESULT CEtsDataAccess::GetMainGroupAddress(IEtsMainGroup* pMainGroup, LONG& nAddress)
{
    if (!pMainGroup)
        return E_POINTER;
    CComVariant vAddress;
    HRESULT hr = pMainGroup->get_Address(&vAddress);
    LONG nRead = -1;
    bool bNull = false;
    if (SUCCEEDED(hr))
        hr = AddressFromVariant(vAddress, nRead, bNull);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get main group address hr=0x%08X", Hr(hr));
        return hr;
    }
    nAddress = bNull ? -1 : nRead;
    return hr;
}

HRESULT CEtsDataAccess::GetMiddleGroupData(IEtsMiddleGroup* pMiddleGroup, std::string& strName, LONG& nId,
                                           LONG& nAddress)
{
    return ReadGroupData(pMiddleGroup, strName, nId, nAddress, "Couldnt get Middle group name hr=0x%08X",
                         "Couldnt get Middle group ID hr=0x%08X", "Couldnt get Middle group address hr=0x%08X");
}

HRESULT CEtsDataAccess::GetMiddleGroupDataEx(IEtsMiddleGroup* pMiddleGroup, MiddleGroupData& data)
{
    return ReadGroupDataEx(pMiddleGroup, data, "Couldnt get middle Group name hr=0x%08X",
                           "Couldnt get Middle Group ID hr=0x%08X", "Couldnt get Middle Group Address hr=0x%08X",
                           "Couldnt get middle group description hr=0x%08X");
}

HRESULT CEtsDataAccess::GetMiddleGroupAddress(IEtsMiddleGroup* pMiddleGroup, LONG& nAddress)
{
    nAddress = 0;
    if (!pMiddleGroup)
        return E_POINTER;
    CComVariant vAddress;
    HRESULT hr = pMiddleGroup->get_Address(&vAddress);
    LONG nRead = 0;
    bool bNull = false;
    if (SUCCEEDED(hr))
        hr = AddressFromVariant(vAddress, nRead, bNull);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get Middle group address hr=0x%08X", Hr(hr));
        return hr;
    }
    if (bNull) {
        nAddress = -1;
        LOG_ERROR("Couldnt get Middle group address, address==VT_NULL hr=0x%08X", Hr(hr));
        return hr;
    }
    nAddress = nRead;
    return hr;
}

HRESULT CEtsDataAccess::GetSubGroupData(IEtsGroupAddress* pSubGroup, std::string& strName, LONG& nId, LONG& nAddress)
{
    return ReadGroupData(pSubGroup, strName, nId, nAddress, "Couldnt get GroupAddress name hr=0x%08X",
                         "Couldnt get GroupAddress ID hr=0x%08X", "Couldnt get GroupAddress hr=0x%08X");
}

HRESULT CEtsDataAccess::GetSubGroupDataEx(IEtsGroupAddress* pSubGroup, SubGroupData& data)
{
    if (!pSubGroup)
        return E_POINTER;
    SubGroupData read = data;
    LONG nAddress = -1;
    HRESULT hr = ReadGroupData(pSubGroup, read.strName, read.nId, nAddress, "Couldnt get GroupAddress name hr=0x%08X",
                               "Couldnt get GroupAddress ID hr=0x%08X", "Couldnt get GroupAddress hr=0x%08X");
    if (FAILED(hr))
        return hr;
    read.nAddress = nAddress;
    BSTR bstrDescription = nullptr;
    hr = ReadText(pSubGroup->get_Description(&bstrDescription), bstrDescription, read.strDescription);
    if (FAILED(hr))
        return hr;
    VARIANT_BOOL bFlag = VARIANT_FALSE;
    hr = pSubGroup->get_PassThrough(&bFlag);
    if (FAILED(hr))
        return hr;
    read.nFlag = bFlag ? 1 : 0;
    hr = pSubGroup->get_Central(&bFlag);
    if (FAILED(hr))
        return hr;
    read.nCentral = bFlag ? 1 : 0;
    hr = pSubGroup->get_CommunicationObjectLength(&read.nValueType);
    if (FAILED(hr))
        return hr;
    data = read;
    return hr;
}

// ---- communication objects and the device -----------------------------------------------------

HRESULT CEtsDataAccess::GetCommObjectData(IEtsCommObject* pObject, CommObjectData& data)
{
    if (!pObject)
        return E_POINTER;
    HRESULT hrLast = S_OK;
    // Each property on its own: a value that cannot be read keeps what the
    // record held.
    auto read = [&](const char* pszName, VARTYPE vt, auto&& store) {
        CComVariant vValue;
        HRESULT hr = pObject->GetProperty(CComBSTR(pszName), &vValue);
        CComVariant converted;
        if (SUCCEEDED(hr))
            hr = converted.ChangeType(vt, &vValue);
        if (FAILED(hr))
            LOG_WARNING("Couldnt get %s hr=0x%08X", pszName, Hr(hr));
        else
            store(converted);
        hrLast = hr;
    };
    auto flag = [](SHORT& nField) { return [&nField](const CComVariant& v) { nField = v.boolVal ? 1 : 0; }; };
    read("CommunicationObjectName", VT_BSTR, [&](const CComVariant& v) { data.strName = platform::BstrToUtf8(v.bstrVal); });
    read("CommunicationObjectFunction", VT_BSTR,
         [&](const CComVariant& v) { data.strFunction = platform::BstrToUtf8(v.bstrVal); });
    read("CommunicationObjectNumber", VT_I4, [&](const CComVariant& v) { data.nNumber = v.lVal; });
    read("TransmissionPriority", VT_I2, [&](const CComVariant& v) { data.nPriority = v.iVal; });
    read("CommunicationEnabled", VT_BOOL, flag(data.nCommunication));
    read("ReadEnabled", VT_BOOL, flag(data.nRead));
    read("WriteEnabled", VT_BOOL, flag(data.nWrite));
    read("TransmissionEnabled", VT_BOOL, flag(data.nTransmit));
    read("UpdateEnabled", VT_BOOL, flag(data.nUpdate));
    read("CommunicationObjectLength", VT_I2, [&](const CComVariant& v) { data.nLength = v.iVal; });
    read("AssociationsText", VT_BSTR,
         [&](const CComVariant& v) { data.strAssociations = platform::BstrToUtf8(v.bstrVal); });
    return hrLast;
}

HRESULT CEtsDataAccess::GetDeviceAddress(IEtsDevice* pDevice, LONG& nAddress)
{
    nAddress = -1;
    if (!pDevice)
        return E_POINTER;
    CComVariant vAddress;
    HRESULT hr = pDevice->get_Address(&vAddress);
    LONG nValue = 0;
    bool bNull = false;
    if (SUCCEEDED(hr))
        hr = AddressFromVariant(vAddress, nValue, bNull);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get device Address hr=0x%08X", Hr(hr));
        return hr;
    }
    if (!bNull)
        nAddress = nValue & 255;
    CComPtr<IEtsLine> pLine;
    hr = pDevice->get_Line(&pLine);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get device line hr=0x%08X", Hr(hr));
        return hr;
    }
    if (!pLine) {
        LOG_ERROR("ptrLine == NULL");
        return S_OK;
    }
    // An unassigned device address stays -1 whatever is ORed in.
    vAddress.Clear();
    hr = pLine->get_Address(&vAddress);
    if (SUCCEEDED(hr))
        hr = AddressFromVariant(vAddress, nValue, bNull);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get line address hr=0x%08X", Hr(hr));
        return hr;
    }
    if (!bNull)
        nAddress |= (nValue & 15) << 8;
    CComPtr<IEtsArea> pArea;
    hr = pLine->get_Area(&pArea);
    if (FAILED(hr) || !pArea) {
        hr = FAILED(hr) ? hr : E_POINTER;
        LOG_ERROR("Couldnt get line address hr=0x%08X", Hr(hr));
        return hr;
    }
    vAddress.Clear();
    hr = pArea->get_Address(&vAddress);
    if (SUCCEEDED(hr))
        hr = AddressFromVariant(vAddress, nValue, bNull);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get area address hr=0x%08X", Hr(hr));
        return hr;
    }
    if (!bNull)
        nAddress |= (nValue & 15) << 12;
    return hr;
}

HRESULT CEtsDataAccess::GetAcknowledge(IEtsAssociation* pAssociation, bool& bAcknowledge)
{
    if (!pAssociation)
        return E_POINTER;
    VARIANT_BOOL bValue = VARIANT_FALSE;
    HRESULT hr = pAssociation->get_Acknowledge(&bValue);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get Acknowledge hr=0x%08X", Hr(hr));
        return hr;
    }
    bAcknowledge = bValue != 0;
    return hr;
}

HRESULT CEtsDataAccess::GetApplicationInfo(IEtsApplicationProgram* pProgram, ApplicationData& data)
{
    if (!pProgram)
        return E_POINTER;
    BSTR bstrName = nullptr;
    HRESULT hr = ReadText(pProgram->get_Name(&bstrName), bstrName, data.strName);
    if (FAILED(hr))
        LOG_WARNING("Couldnt get application name hr=0x%08X", Hr(hr));
    LONG nValue = 0;
    hr = pProgram->get_Version(&nValue);
    if (FAILED(hr))
        LOG_WARNING("Couldnt get application version hr=0x%08X", Hr(hr));
    else
        data.nVersion = nValue;
    hr = pProgram->get_DeviceType(&nValue);
    if (FAILED(hr))
        LOG_WARNING("Couldnt get device type hr=0x%08X", Hr(hr));
    else
        data.nDeviceType = nValue;
    return hr;
}

HRESULT CEtsDataAccess::GetManufacturerInfo(IEtsManufacturer* pManufacturer, ManufacturerData& data)
{
    if (!pManufacturer)
        return E_POINTER;
    BSTR bstrName = nullptr;
    HRESULT hr = ReadText(pManufacturer->get_Name(&bstrName), bstrName, data.strName);
    if (FAILED(hr))
        LOG_WARNING("Couldnt get manufacturer name hr=0x%08X", Hr(hr));
    LONG nId = 0;
    hr = pManufacturer->get_ID(&nId);
    if (FAILED(hr))
        LOG_WARNING("Couldnt get manufacturer ID hr=0x%08X", Hr(hr));
    else
        data.nId = nId;
    return hr;
}

HRESULT CEtsDataAccess::GetProjectName(IEtsDevice* pDevice, std::string& strName)
{
    if (!pDevice)
        return E_POINTER;
    CComPtr<IEtsProject> pProject;
    HRESULT hr = pDevice->get_Project(&pProject);
    if (FAILED(hr) || !pProject) {
        hr = FAILED(hr) ? hr : E_POINTER;
        LOG_ERROR("Couldnt get project from device hr=0x%08X", Hr(hr));
        return hr;
    }
    BSTR bstrName = nullptr;
    hr = ReadText(pProject->get_Name(&bstrName), bstrName, strName);
    if (FAILED(hr))
        LOG_ERROR("Couldnt get project name hr=0x%08X", Hr(hr));
    return hr;
}

HRESULT CEtsDataAccess::GetInternalDatabase(IEtsDevice* pDevice, CComPtr<IEtsInternalDatabase>& pDatabase)
{
    if (!pDevice)
        return E_POINTER;
    CComPtr<IEtsDomObjectInternal> pInternal;
    HRESULT hr = pDevice->QueryInterface(&pInternal.p);
    if (FAILED(hr) || !pInternal) {
        hr = FAILED(hr) ? hr : E_NOINTERFACE;
        LOG_ERROR("Couldnt get Internal Interface hr=0x%08X", Hr(hr));
        return hr;
    }
    LONG nCookie = 0;
    CComPtr<IUnknown> pPersistInfo;
    hr = pInternal->GetPersistInfo(&nCookie, &pPersistInfo);
    if (FAILED(hr) || !pPersistInfo) {
        hr = FAILED(hr) ? hr : E_POINTER;
        LOG_ERROR("Calling function GetPersistInfo hr=0x%08X", Hr(hr));
        return hr;
    }
    CComPtr<IEagleDomPersist> pPersist;
    hr = pPersistInfo->QueryInterface(&pPersist.p);
    if (FAILED(hr) || !pPersist) {
        hr = FAILED(hr) ? hr : E_NOINTERFACE;
        LOG_ERROR("Couldnt get EagleDomPersist hr=0x%08X", Hr(hr));
        return hr;
    }
    CComPtr<IUnknown> pDatabaseObject;
    hr = pPersist->get_Database(&pDatabaseObject);
    if (FAILED(hr) || !pDatabaseObject) {
        hr = FAILED(hr) ? hr : E_POINTER;
        LOG_ERROR("Couldnt get Database hr=0x%08X", Hr(hr));
        return hr;
    }
    CComPtr<IEtsInternalDatabase> pInternalDatabase;
    hr = pDatabaseObject->QueryInterface(&pInternalDatabase.p);
    if (FAILED(hr) || !pInternalDatabase) {
        hr = FAILED(hr) ? hr : E_NOINTERFACE;
        LOG_ERROR("Couldnt get Internal Database hr=0x%08X", Hr(hr));
        return hr;
    }
    pDatabase = pInternalDatabase;
    return hr;
}

HRESULT CEtsDataAccess::SetUpdateEnabled(LONG nCommObjectId, bool bEnabled)
{
    IEtsCommObject* pObject = g_mapCommObjects.Lookup(nCommObjectId);
    if (!pObject) {
        LOG_ERROR("No communication object with id=%ld, hr=0x%08X", static_cast<long>(nCommObjectId),
                  Hr(E_UNEXPECTED));
        return E_UNEXPECTED;
    }
    CComVariant vFlag(bEnabled);
    HRESULT hr = pObject->PutProperty(CComBSTR("UpdateEnabled"), vFlag);
    if (FAILED(hr))
        LOG_ERROR("Calling function put_UpdateEnabled for objectId: %ld, hr=0x%08X", static_cast<long>(nCommObjectId),
                  Hr(hr));
    return hr;
}
