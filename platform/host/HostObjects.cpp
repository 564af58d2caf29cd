#include "platform/host/HostObjects.h"

#include "platform/com/ComObject.h"
#include "platform/com/ComObjectRoot.h"
#include "platform/com/ComVariant.h"
#include "platform/host/HostProjectFile.h"

#include <algorithm>
#include <functional>
#include <strings.h>
#include <utility>

namespace platform::host {

namespace {

template <class T, class I, class... Args>
HRESULT MakeView(I** pp, Args&&... args)
{
    if (!pp)
        return E_POINTER;
    *pp = nullptr;
    CComObjectNoLock<T>* p = nullptr;
    HRESULT hr = CComObjectNoLock<T>::CreateInstance(&p);
    if (FAILED(hr))
        return hr;
    p->Init(std::forward<Args>(args)...);
    p->AddRef();
    *pp = static_cast<I*>(p);
    return S_OK;
}

// Texts a project file could not hold are refused, so that the project the
// host writes can be read again.
bool FitsProject(const std::string& strText, std::size_t nMaxLength = kMaxProjectTextLength)
{
    return CountCharacters(strText) <= nMaxLength;
}

HRESULT OutText(const std::string& strText, BSTR* pbstr)
{
    if (!pbstr)
        return E_POINTER;
    *pbstr = platform::BstrFromUtf8(strText);
    return *pbstr ? S_OK : E_OUTOFMEMORY;
}

HRESULT OutAddress(const std::optional<LONG>& address, VARIANT* pv)
{
    if (!pv)
        return E_POINTER;
    VariantInit(pv);
    if (address) {
        pv->vt = VT_I4;
        pv->lVal = *address;
    } else {
        pv->vt = VT_NULL;
    }
    return S_OK;
}

HRESULT OutBool(bool bValue, VARIANT_BOOL* pb)
{
    if (!pb)
        return E_POINTER;
    *pb = bValue ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

// An integer VARIANT as a number; false for any other kind.
bool IntegerOf(const VARIANT& v, LONG& nValue)
{
    switch (v.vt) {
    case VT_I1: case VT_I2: case VT_I4: case VT_INT: case VT_UI1: case VT_UI2: case VT_UI4: case VT_UINT: {
        CComVariant converted;
        if (FAILED(VariantChangeType(&converted, &v, 0, VT_I4)))
            return false;
        nValue = converted.lVal;
        return true;
    }
    case VT_BOOL:
        nValue = v.boolVal ? 1 : 0;
        return true;
    default:
        return false;
    }
}

// A new group's address: an integer 0..65535 or null.
HRESULT AddressOf(const VARIANT& v, std::optional<LONG>& address)
{
    if (v.vt == VT_NULL) {
        address.reset();
        return S_OK;
    }
    LONG nValue = 0;
    if (v.vt == VT_BOOL || !IntegerOf(v, nValue))
        return E_INVALIDARG;
    // A 16-bit VARIANT may carry an address above 0x7FFF as a negative number.
    if (v.vt == VT_I2 && nValue < 0)
        nValue &= 0xFFFF;
    if (nValue < 0 || nValue > 0xFFFF)
        return E_INVALIDARG;
    address = nValue;
    return S_OK;
}

// ---- persistence objects ----------------------------------------------------

class CInternalDatabaseView : public IEtsInternalDatabase, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CInternalDatabaseView)
    COM_INTERFACE_ENTRY(IEtsInternalDatabase)
    END_COM_MAP()

    void Init(HostStatePtr pState) { m_pState = std::move(pState); }

    HRESULT NewId(LONG* pnId) override
    {
        HRESULT hr = m_pState->Enter("InternalDatabase", 0, "NewId");
        if (FAILED(hr))
            return hr;
        if (!pnId)
            return E_POINTER;
        // An id for an object outside the project (a placeholder of the
        // plug-in's) is no change of the project: it is kept with the next
        // real change, and until then nothing refers to it.
        *pnId = m_pState->NewId();
        return S_OK;
    }

private:
    HostStatePtr m_pState;
};

class CPersistInfoView : public IEagleDomPersist, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CPersistInfoView)
    COM_INTERFACE_ENTRY(IEagleDomPersist)
    END_COM_MAP()

    void Init(HostStatePtr pState, LONG nId)
    {
        m_pState = std::move(pState);
        m_nId = nId;
    }

    HRESULT get_Database(IUnknown** ppDatabase) override
    {
        if (ppDatabase)
            *ppDatabase = nullptr;
        HRESULT hr = m_pState->Enter("PersistInfo", m_nId, "get_Database");
        if (FAILED(hr))
            return hr;
        IEtsInternalDatabase* pDatabase = nullptr;
        hr = MakeView<CInternalDatabaseView>(&pDatabase, m_pState);
        if (SUCCEEDED(hr))
            *ppDatabase = pDatabase;
        return hr;
    }

private:
    HostStatePtr m_pState;
    LONG m_nId = 0;
};

// ---- base of the project objects ----------------------------------------------

template <class Node>
class CHostView : public IEtsDomObjectInternal, public CComObjectRoot {
public:
    void Init(HostStatePtr pState, std::shared_ptr<Node> pNode, const char* pszKind)
    {
        m_pState = std::move(pState);
        m_pNode = std::move(pNode);
        m_pszKind = pszKind;
    }

    HRESULT GetPersistInfo(LONG* pnCookie, IUnknown** ppPersistInfo) override
    {
        if (ppPersistInfo)
            *ppPersistInfo = nullptr;
        HRESULT hr = Enter("GetPersistInfo");
        if (FAILED(hr))
            return hr;
        if (!pnCookie)
            return E_POINTER;
        *pnCookie = m_pNode->nId;
        if (ppPersistInfo) {
            IEagleDomPersist* pPersist = nullptr;
            hr = MakeView<CPersistInfoView>(&pPersist, m_pState, m_pNode->nId);
            if (FAILED(hr))
                return hr;
            *ppPersistInfo = pPersist;
        }
        return S_OK;
    }

protected:
    // A deleted object answers nothing.
    HRESULT Enter(const char* pszMember)
    {
        HRESULT hr = m_pState->Enter(m_pszKind, m_pNode->nId, pszMember);
        if (SUCCEEDED(hr) && m_pNode->bDeleted)
            return E_FAIL;
        return hr;
    }

    HostStatePtr m_pState;
    std::shared_ptr<Node> m_pNode;
    const char* m_pszKind = "";
};

#define HOST_ENTER(member)                                                                                        \
    do {                                                                                                          \
        HRESULT hrEnter_ = Enter(member);                                                                         \
        if (FAILED(hrEnter_))                                                                                     \
            return hrEnter_;                                                                                      \
    } while (0)

// ---- collections --------------------------------------------------------------------

// Count and 1-based Item over a list that is taken anew at each call.
template <class Collection, class ItemItf, class Node>
class CHostCollectionBase : public Collection, public CComObjectRoot {
public:
    using Source = std::function<std::vector<std::shared_ptr<Node>>()>;
    using Maker = HRESULT (*)(const HostStatePtr&, const std::shared_ptr<Node>&, ItemItf**);

    void Init(HostStatePtr pState, const char* pszKind, LONG nOwnerId, Source source, Maker maker)
    {
        m_pState = std::move(pState);
        m_pszKind = pszKind;
        m_nOwnerId = nOwnerId;
        m_source = std::move(source);
        m_maker = maker;
    }

    // The same list read where it lies at each call, by its count and its
    // item at a 0-based place, rather than copied whole for every item: the
    // answers are those of the source.
    struct LiveSource {
        std::function<std::size_t()> count;
        std::function<std::shared_ptr<Node>(std::size_t)> at;
    };
    void SetLive(LiveSource live) { m_live = std::move(live); }

    HRESULT get_Count(LONG* pnCount) override
    {
        HOST_ENTER("get_Count");
        if (!pnCount)
            return E_POINTER;
        *pnCount = static_cast<LONG>(m_live.count ? m_live.count() : m_source().size());
        return S_OK;
    }

    HRESULT ItemImpl(const VARIANT& vIndex, ItemItf** ppItem)
    {
        if (ppItem)
            *ppItem = nullptr;
        HOST_ENTER("Item");
        if (!ppItem)
            return E_POINTER;
        LONG nIndex = 0;
        if (vIndex.vt == VT_BOOL || !IntegerOf(vIndex, nIndex))
            return DISP_E_TYPEMISMATCH;
        if (m_live.count) {
            if (nIndex < 1 || static_cast<std::size_t>(nIndex) > m_live.count())
                return DISP_E_BADINDEX;
            const std::shared_ptr<Node> pNode = m_live.at(static_cast<std::size_t>(nIndex - 1));
            return m_maker(m_pState, pNode, ppItem);
        }
        const std::vector<std::shared_ptr<Node>> items = m_source();
        if (nIndex < 1 || static_cast<std::size_t>(nIndex) > items.size())
            return DISP_E_BADINDEX;
        return m_maker(m_pState, items[static_cast<std::size_t>(nIndex - 1)], ppItem);
    }

protected:
    HRESULT Enter(const char* pszMember) { return m_pState->Enter(m_pszKind, m_nOwnerId, pszMember); }

    HostStatePtr m_pState;
    const char* m_pszKind = "";
    LONG m_nOwnerId = 0;
    Source m_source;
    LiveSource m_live;
    Maker m_maker = nullptr;
};

#define HOST_COLLECTION_ITEM(ItemItf)                                                                            \
    HRESULT Item(VARIANT vIndex, ItemItf** ppItem) override { return this->ItemImpl(vIndex, ppItem); }

class CProjectsView : public CHostCollectionBase<IEtsProjects, IEtsProject, HostProject> {
public:
    BEGIN_COM_MAP(CProjectsView)
    COM_INTERFACE_ENTRY(IEtsProjects)
    END_COM_MAP()
    HOST_COLLECTION_ITEM(IEtsProject)
};

class CDevicesView : public CHostCollectionBase<IEtsDevices, IEtsDevice, HostDevice> {
public:
    BEGIN_COM_MAP(CDevicesView)
    COM_INTERFACE_ENTRY(IEtsDevices)
    END_COM_MAP()
    HOST_COLLECTION_ITEM(IEtsDevice)
};

class CParametersView : public CHostCollectionBase<IEtsDeviceParameters, IEtsDeviceParameter, HostParameter> {
public:
    BEGIN_COM_MAP(CParametersView)
    COM_INTERFACE_ENTRY(IEtsDeviceParameters)
    END_COM_MAP()
    HOST_COLLECTION_ITEM(IEtsDeviceParameter)
};

class CCommObjectsView : public CHostCollectionBase<IEtsCommObjects, IEtsCommObject, HostCommObject> {
public:
    BEGIN_COM_MAP(CCommObjectsView)
    COM_INTERFACE_ENTRY(IEtsCommObjects)
    END_COM_MAP()
    HOST_COLLECTION_ITEM(IEtsCommObject)
};

class CMainGroupsView : public CHostCollectionBase<IEtsMainGroups, IEtsMainGroup, HostMainGroup> {
public:
    BEGIN_COM_MAP(CMainGroupsView)
    COM_INTERFACE_ENTRY(IEtsMainGroups)
    END_COM_MAP()
    HOST_COLLECTION_ITEM(IEtsMainGroup)

    // The project the main groups are added to; null for the database's list.
    void SetProject(std::shared_ptr<HostProject> pProject) { m_pProject = std::move(pProject); }

    HRESULT Add(VARIANT vAddress, BSTR bstrName, IEtsMainGroup** ppMainGroup) override
    {
        if (ppMainGroup)
            *ppMainGroup = nullptr;
        HOST_ENTER("Add");
        if (!ppMainGroup)
            return E_POINTER;
        if (!m_pProject)
            return E_NOTIMPL;
        auto pNode = std::make_shared<HostMainGroup>();
        HRESULT hr = AddressOf(vAddress, pNode->address);
        if (FAILED(hr))
            return hr;
        pNode->strName = platform::BstrToUtf8(bstrName);
        if (!FitsProject(pNode->strName))
            return E_INVALIDARG;
        pNode->nId = m_pState->NewId();
        pNode->pProject = m_pProject;
        m_pProject->mainGroups.push_back(pNode);
        m_pState->SetModified();
        return CreateMainGroupView(m_pState, pNode, ppMainGroup);
    }

private:
    std::shared_ptr<HostProject> m_pProject;
};

class CMiddleGroupsView : public CHostCollectionBase<IEtsMiddleGroups, IEtsMiddleGroup, HostMiddleGroup> {
public:
    BEGIN_COM_MAP(CMiddleGroupsView)
    COM_INTERFACE_ENTRY(IEtsMiddleGroups)
    END_COM_MAP()
    HOST_COLLECTION_ITEM(IEtsMiddleGroup)

    void SetMainGroup(std::shared_ptr<HostMainGroup> pMain) { m_pMain = std::move(pMain); }

    HRESULT Add(VARIANT vAddress, BSTR bstrName, IEtsMiddleGroup** ppMiddleGroup) override
    {
        if (ppMiddleGroup)
            *ppMiddleGroup = nullptr;
        HOST_ENTER("Add");
        if (!ppMiddleGroup)
            return E_POINTER;
        if (!m_pMain || m_pMain->bDeleted)
            return E_FAIL;
        auto pNode = std::make_shared<HostMiddleGroup>();
        HRESULT hr = AddressOf(vAddress, pNode->address);
        if (FAILED(hr))
            return hr;
        pNode->strName = platform::BstrToUtf8(bstrName);
        if (!FitsProject(pNode->strName))
            return E_INVALIDARG;
        pNode->nId = m_pState->NewId();
        pNode->pParent = m_pMain;
        m_pMain->middleGroups.push_back(pNode);
        m_pState->SetModified();
        return CreateMiddleGroupView(m_pState, pNode, ppMiddleGroup);
    }

private:
    std::shared_ptr<HostMainGroup> m_pMain;
};

class CGroupAddressesView : public CHostCollectionBase<IEtsGroupAddresses, IEtsGroupAddress, HostGroupAddress> {
public:
    BEGIN_COM_MAP(CGroupAddressesView)
    COM_INTERFACE_ENTRY(IEtsGroupAddresses)
    END_COM_MAP()
    HOST_COLLECTION_ITEM(IEtsGroupAddress)

    // The middle group added to; null for the list of all group addresses.
    void SetMiddleGroup(std::shared_ptr<HostMiddleGroup> pMiddle) { m_pMiddle = std::move(pMiddle); }

    HRESULT Add(VARIANT vAddress, BSTR bstrName, IEtsGroupAddress** ppGroupAddress) override
    {
        if (ppGroupAddress)
            *ppGroupAddress = nullptr;
        HOST_ENTER("Add");
        if (!ppGroupAddress)
            return E_POINTER;
        if (!m_pMiddle)
            return E_NOTIMPL;
        if (m_pMiddle->bDeleted)
            return E_FAIL;
        auto pNode = std::make_shared<HostGroupAddress>();
        HRESULT hr = AddressOf(vAddress, pNode->address);
        if (FAILED(hr))
            return hr;
        pNode->strName = platform::BstrToUtf8(bstrName);
        if (!FitsProject(pNode->strName))
            return E_INVALIDARG;
        pNode->nId = m_pState->NewId();
        pNode->pParent = m_pMiddle;
        m_pMiddle->groupAddresses.push_back(pNode);
        m_pState->SetModified();
        return CreateGroupAddressView(m_pState, pNode, ppGroupAddress);
    }

private:
    std::shared_ptr<HostMiddleGroup> m_pMiddle;
};

class CAssociationsView : public CHostCollectionBase<IEtsAssociations, IEtsAssociation, HostAssociation> {
public:
    BEGIN_COM_MAP(CAssociationsView)
    COM_INTERFACE_ENTRY(IEtsAssociations)
    END_COM_MAP()
    HOST_COLLECTION_ITEM(IEtsAssociation)

    // The object added to; null for the associations of a group address.
    void SetCommObject(std::shared_ptr<HostCommObject> pObject) { m_pObject = std::move(pObject); }

    HRESULT Add(IEtsGroupAddress* pGroupAddress, IEtsAssociation** ppAssociation) override;

private:
    std::shared_ptr<HostCommObject> m_pObject;
};

#undef HOST_COLLECTION_ITEM

// ---- the database and projects ------------------------------------------------------

std::vector<std::shared_ptr<HostGroupAddress>> AllGroupAddresses(const HostData& data)
{
    std::vector<std::shared_ptr<HostGroupAddress>> all;
    for (const auto& pProject : data.projects)
        for (const auto& pMain : pProject->mainGroups)
            for (const auto& pMiddle : pMain->middleGroups)
                all.insert(all.end(), pMiddle->groupAddresses.begin(), pMiddle->groupAddresses.end());
    return all;
}

template <class View, class Collection, class Node, class Item>
HRESULT MakeCollection(Collection** pp, const HostStatePtr& pState, const char* pszKind, LONG nOwnerId,
                       std::function<std::vector<std::shared_ptr<Node>>()> source,
                       HRESULT (*maker)(const HostStatePtr&, const std::shared_ptr<Node>&, Item**),
                       const std::function<void(View&)>& configure = {})
{
    if (!pp)
        return E_POINTER;
    *pp = nullptr;
    CComObjectNoLock<View>* p = nullptr;
    HRESULT hr = CComObjectNoLock<View>::CreateInstance(&p);
    if (FAILED(hr))
        return hr;
    p->Init(pState, pszKind, nOwnerId, std::move(source), maker);
    if (configure)
        configure(*p);
    p->AddRef();
    *pp = static_cast<Collection*>(p);
    return S_OK;
}

// A collection over a list its owner keeps (see SetLive).
template <class View, class Collection, class Node, class Item>
HRESULT MakeLiveCollection(Collection** pp, const HostStatePtr& pState, const char* pszKind, LONG nOwnerId,
                           std::function<const std::vector<std::shared_ptr<Node>>&()> live,
                           HRESULT (*maker)(const HostStatePtr&, const std::shared_ptr<Node>&, Item**),
                           const std::function<void(View&)>& configure = {})
{
    typename View::LiveSource indexed;
    indexed.count = [live] { return live().size(); };
    indexed.at = [live](std::size_t i) { return live()[i]; };
    return MakeCollection<View>(
        pp, pState, pszKind, nOwnerId, std::function<std::vector<std::shared_ptr<Node>>()>([live] { return live(); }),
        maker, std::function<void(View&)>([indexed, configure](View& view) {
            view.SetLive(indexed);
            if (configure)
                configure(view);
        }));
}

class CDatabaseView : public IEtsProjectDatabase, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CDatabaseView)
    COM_INTERFACE_ENTRY(IEtsProjectDatabase)
    END_COM_MAP()

    void Init(HostStatePtr pState) { m_pState = std::move(pState); }

    HRESULT get_Projects(IEtsProjects** pp) override
    {
        HRESULT hr = Enter("get_Projects", pp);
        if (FAILED(hr))
            return hr;
        HostStatePtr pState = m_pState;
        return MakeCollection<CProjectsView>(pp, m_pState, "Projects", 0,
                                             std::function<std::vector<std::shared_ptr<HostProject>>()>(
                                                 [pState] { return pState->m_data.projects; }),
                                             &CreateProjectView);
    }

    HRESULT get_Devices(IEtsDevices** pp) override
    {
        HRESULT hr = Enter("get_Devices", pp);
        if (FAILED(hr))
            return hr;
        HostStatePtr pState = m_pState;
        return MakeCollection<CDevicesView>(pp, m_pState, "Devices", 0,
                                            std::function<std::vector<std::shared_ptr<HostDevice>>()>([pState] {
                                                std::vector<std::shared_ptr<HostDevice>> all;
                                                for (const auto& pProject : pState->m_data.projects)
                                                    all.insert(all.end(), pProject->devices.begin(),
                                                               pProject->devices.end());
                                                return all;
                                            }),
                                            &CreateDeviceView);
    }

    HRESULT get_AllGroupAddresses(IEtsGroupAddresses** pp) override
    {
        HRESULT hr = Enter("get_AllGroupAddresses", pp);
        if (FAILED(hr))
            return hr;
        HostStatePtr pState = m_pState;
        // Item by item the plug-in walks them all: each is found in its
        // middle group rather than by gathering the whole list again.
        CGroupAddressesView::LiveSource indexed;
        indexed.count = [pState] {
            std::size_t nCount = 0;
            for (const auto& pProject : pState->m_data.projects)
                for (const auto& pMain : pProject->mainGroups)
                    for (const auto& pMiddle : pMain->middleGroups)
                        nCount += pMiddle->groupAddresses.size();
            return nCount;
        };
        indexed.at = [pState](std::size_t nIndex) -> std::shared_ptr<HostGroupAddress> {
            for (const auto& pProject : pState->m_data.projects)
                for (const auto& pMain : pProject->mainGroups)
                    for (const auto& pMiddle : pMain->middleGroups) {
                        if (nIndex < pMiddle->groupAddresses.size())
                            return pMiddle->groupAddresses[nIndex];
                        nIndex -= pMiddle->groupAddresses.size();
                    }
            return nullptr;
        };
        return MakeCollection<CGroupAddressesView>(
            pp, m_pState, "GroupAddresses", 0,
            std::function<std::vector<std::shared_ptr<HostGroupAddress>>()>(
                [pState] { return AllGroupAddresses(pState->m_data); }),
            &CreateGroupAddressView,
            std::function<void(CGroupAddressesView&)>([indexed](CGroupAddressesView& view) { view.SetLive(indexed); }));
    }

    HRESULT get_MainGroups(IEtsMainGroups** pp) override
    {
        HRESULT hr = Enter("get_MainGroups", pp);
        if (FAILED(hr))
            return hr;
        HostStatePtr pState = m_pState;
        return MakeCollection<CMainGroupsView>(pp, m_pState, "MainGroups", 0,
                                               std::function<std::vector<std::shared_ptr<HostMainGroup>>()>([pState] {
                                                   std::vector<std::shared_ptr<HostMainGroup>> all;
                                                   for (const auto& pProject : pState->m_data.projects)
                                                       all.insert(all.end(), pProject->mainGroups.begin(),
                                                                  pProject->mainGroups.end());
                                                   return all;
                                               }),
                                               &CreateMainGroupView);
    }

private:
    template <class T>
    HRESULT Enter(const char* pszMember, T** pp)
    {
        if (pp)
            *pp = nullptr;
        HRESULT hr = m_pState->Enter("Database", 0, pszMember);
        if (SUCCEEDED(hr) && !pp)
            hr = E_POINTER;
        return hr;
    }

    HostStatePtr m_pState;
};

class CProjectView : public IEtsProject, public CHostView<HostProject> {
public:
    BEGIN_COM_MAP(CProjectView)
    COM_INTERFACE_ENTRY(IEtsProject)
    COM_INTERFACE_ENTRY(IEtsDomObjectInternal)
    END_COM_MAP()

    HRESULT get_Name(BSTR* pbstrName) override
    {
        HOST_ENTER("get_Name");
        return OutText(m_pNode->strName, pbstrName);
    }

    HRESULT get_MainGroups(IEtsMainGroups** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_MainGroups");
        std::shared_ptr<HostProject> pProject = m_pNode;
        return MakeLiveCollection<CMainGroupsView>(
            pp, m_pState, "MainGroups", m_pNode->nId,
            std::function<const std::vector<std::shared_ptr<HostMainGroup>>&()>(
                [pProject]() -> const std::vector<std::shared_ptr<HostMainGroup>>& { return pProject->mainGroups; }),
            &CreateMainGroupView, std::function<void(CMainGroupsView&)>([pProject](CMainGroupsView& view) {
                view.SetProject(pProject);
            }));
    }
};

// ---- devices -------------------------------------------------------------------------

class CProductView : public IEtsProduct, public CHostView<HostDevice> {
public:
    BEGIN_COM_MAP(CProductView)
    COM_INTERFACE_ENTRY(IEtsProduct)
    END_COM_MAP()

    HRESULT get_Text(BSTR* pbstrText) override
    {
        HOST_ENTER("get_Text");
        return OutText(m_pNode->strProductText, pbstrText);
    }
};

class CAreaView : public IEtsArea, public CHostView<HostDevice> {
public:
    BEGIN_COM_MAP(CAreaView)
    COM_INTERFACE_ENTRY(IEtsArea)
    END_COM_MAP()

    HRESULT get_Address(VARIANT* pv) override
    {
        HOST_ENTER("get_Address");
        return OutAddress(m_pNode->areaAddress, pv);
    }
};

class CLineView : public IEtsLine, public CHostView<HostDevice> {
public:
    BEGIN_COM_MAP(CLineView)
    COM_INTERFACE_ENTRY(IEtsLine)
    END_COM_MAP()

    HRESULT get_Address(VARIANT* pv) override
    {
        HOST_ENTER("get_Address");
        return OutAddress(m_pNode->lineAddress, pv);
    }

    HRESULT get_Area(IEtsArea** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_Area");
        return MakeView<CAreaView>(pp, m_pState, m_pNode, "Area");
    }
};

class CManufacturerView : public IEtsManufacturer, public CHostView<HostDevice> {
public:
    BEGIN_COM_MAP(CManufacturerView)
    COM_INTERFACE_ENTRY(IEtsManufacturer)
    END_COM_MAP()

    HRESULT get_Name(BSTR* pbstrName) override
    {
        HOST_ENTER("get_Name");
        return OutText(m_pNode->application->strManufacturerName, pbstrName);
    }

    HRESULT get_ID(LONG* pnId) override
    {
        HOST_ENTER("get_ID");
        if (!pnId)
            return E_POINTER;
        *pnId = m_pNode->application->nManufacturerId;
        return S_OK;
    }
};

class CApplicationView : public IEtsApplicationProgram, public CHostView<HostDevice> {
public:
    BEGIN_COM_MAP(CApplicationView)
    COM_INTERFACE_ENTRY(IEtsApplicationProgram)
    END_COM_MAP()

    HRESULT get_Name(BSTR* pbstrName) override
    {
        HOST_ENTER("get_Name");
        return OutText(m_pNode->application->strName, pbstrName);
    }

    HRESULT get_Version(LONG* pn) override
    {
        HOST_ENTER("get_Version");
        if (!pn)
            return E_POINTER;
        *pn = m_pNode->application->nVersion;
        return S_OK;
    }

    HRESULT get_DeviceType(LONG* pn) override
    {
        HOST_ENTER("get_DeviceType");
        if (!pn)
            return E_POINTER;
        *pn = m_pNode->application->nDeviceType;
        return S_OK;
    }

    HRESULT get_Manufacturer(IEtsManufacturer** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_Manufacturer");
        return MakeView<CManufacturerView>(pp, m_pState, m_pNode, "Manufacturer");
    }
};

class CDeviceView : public IEtsDevice, public CHostView<HostDevice> {
public:
    BEGIN_COM_MAP(CDeviceView)
    COM_INTERFACE_ENTRY(IEtsDevice)
    COM_INTERFACE_ENTRY(IEtsDomObjectInternal)
    END_COM_MAP()

    HRESULT get_Parent(IEtsProjectDatabase** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_Parent");
        return CreateDatabaseView(m_pState, pp);
    }

    HRESULT get_Project(IEtsProject** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_Project");
        std::shared_ptr<HostProject> pProject = m_pNode->pProject.lock();
        if (!pProject)
            return E_FAIL;
        return CreateProjectView(m_pState, pProject, pp);
    }

    HRESULT get_Name(BSTR* pbstr) override
    {
        HOST_ENTER("get_Name");
        return OutText(m_pNode->strName, pbstr);
    }

    HRESULT get_Description(BSTR* pbstr) override
    {
        HOST_ENTER("get_Description");
        return OutText(m_pNode->strDescription, pbstr);
    }

    HRESULT get_Product(IEtsProduct** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_Product");
        return MakeView<CProductView>(pp, m_pState, m_pNode, "Product");
    }

    HRESULT get_Address(VARIANT* pv) override
    {
        HOST_ENTER("get_Address");
        return OutAddress(m_pNode->address, pv);
    }

    HRESULT get_Line(IEtsLine** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_Line");
        if (!pp)
            return E_POINTER;
        if (!m_pNode->bHasLine)
            return S_OK;
        return MakeView<CLineView>(pp, m_pState, m_pNode, "Line");
    }

    HRESULT get_ApplicationProgram(IEtsApplicationProgram** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_ApplicationProgram");
        if (!m_pNode->application)
            return E_FAIL;
        return MakeView<CApplicationView>(pp, m_pState, m_pNode, "ApplicationProgram");
    }

    HRESULT get_DeviceParameters(IEtsDeviceParameters** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_DeviceParameters");
        std::shared_ptr<HostDevice> pDevice = m_pNode;
        return MakeLiveCollection<CParametersView>(
            pp, m_pState, "DeviceParameters", m_pNode->nId,
            std::function<const std::vector<std::shared_ptr<HostParameter>>&()>(
                [pDevice]() -> const std::vector<std::shared_ptr<HostParameter>>& { return pDevice->parameters; }),
            &CreateParameterView);
    }

    HRESULT get_CommunicationObjects(IEtsCommObjects** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_CommunicationObjects");
        std::shared_ptr<HostDevice> pDevice = m_pNode;
        return MakeLiveCollection<CCommObjectsView>(
            pp, m_pState, "CommObjects", m_pNode->nId,
            std::function<const std::vector<std::shared_ptr<HostCommObject>>&()>(
                [pDevice]() -> const std::vector<std::shared_ptr<HostCommObject>>& { return pDevice->commObjects; }),
            &CreateCommObjectView);
    }

    HRESULT get_VisibleCommunicationObjects(IEtsCommObjects** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_VisibleCommunicationObjects");
        std::shared_ptr<HostDevice> pDevice = m_pNode;
        return MakeCollection<CCommObjectsView>(
            pp, m_pState, "VisibleCommObjects", m_pNode->nId,
            std::function<std::vector<std::shared_ptr<HostCommObject>>()>([pDevice] {
                std::vector<std::shared_ptr<HostCommObject>> visible;
                for (const auto& pObject : pDevice->commObjects)
                    if (IsCommObjectVisible(*pObject))
                        visible.push_back(pObject);
                return visible;
            }),
            &CreateCommObjectView);
    }
};

// ---- parameters ----------------------------------------------------------------------

class CParameterView : public IEtsDeviceParameter, public CHostView<HostParameter> {
public:
    BEGIN_COM_MAP(CParameterView)
    COM_INTERFACE_ENTRY(IEtsDeviceParameter)
    COM_INTERFACE_ENTRY(IEtsDomObjectInternal)
    END_COM_MAP()

    HRESULT get_Name(BSTR* pbstr) override
    {
        HOST_ENTER("get_Name");
        if (!pbstr)
            return E_POINTER;
        if (!m_pNode->name) {
            *pbstr = nullptr;
            return S_FALSE;
        }
        return OutText(*m_pNode->name, pbstr);
    }

    HRESULT get_Value(VARIANT* pv) override
    {
        HOST_ENTER("get_Value");
        if (!pv)
            return E_POINTER;
        VariantInit(pv);
        if (const LONG* pNumber = std::get_if<LONG>(&m_pNode->value)) {
            pv->vt = VT_I4;
            pv->lVal = *pNumber;
            return S_OK;
        }
        pv->bstrVal = platform::BstrFromUtf8(std::get<std::string>(m_pNode->value));
        if (!pv->bstrVal)
            return E_OUTOFMEMORY;
        pv->vt = VT_BSTR;
        return S_OK;
    }

    HRESULT put_Value(VARIANT vValue) override
    {
        HOST_ENTER("put_Value");
        HostValue value;
        LONG nNumber = 0;
        if (vValue.vt == VT_BSTR) {
            value = platform::BstrToUtf8(vValue.bstrVal);
            if (!FitsProject(std::get<std::string>(value), kMaxParameterTextLength))
                return E_INVALIDARG;
        } else if (IntegerOf(vValue, nNumber))
            value = nNumber;
        else
            return DISP_E_TYPEMISMATCH;
        if (value != m_pNode->value) {
            m_pNode->value = std::move(value);
            m_pState->SetModified();
        }
        return S_OK;
    }

    HRESULT get_UniqueNumber(LONG* pn) override
    {
        HOST_ENTER("get_UniqueNumber");
        if (!pn)
            return E_POINTER;
        *pn = m_pNode->nUniqueNumber;
        return S_OK;
    }
};

// ---- communication objects and associations ---------------------------------------------

class CCommObjectView : public IEtsCommObject, public CHostView<HostCommObject> {
public:
    BEGIN_COM_MAP(CCommObjectView)
    COM_INTERFACE_ENTRY(IEtsCommObject)
    COM_INTERFACE_ENTRY(IEtsDomObjectInternal)
    END_COM_MAP()

    HRESULT GetProperty(BSTR bstrName, VARIANT* pv) override
    {
        const std::string strName = platform::BstrToUtf8(bstrName);
        const std::string strMember = "GetProperty(" + strName + ")";
        HOST_ENTER(strMember.c_str());
        if (!pv)
            return E_POINTER;
        VariantInit(pv);
        const HostCommObject& object = *m_pNode;
        if (strName == "CommunicationObjectNumber")
            return OutLong(object.nNumber, pv);
        if (strName == "CommunicationObjectName")
            return OutVariantText(object.strName, pv);
        if (strName == "CommunicationObjectFunction")
            return OutVariantText(object.strFunction, pv);
        if (strName == "AssociationsText")
            return OutVariantText(AssociationsText(), pv);
        if (strName == "CommunicationObjectLength")
            return OutShort(GetCommObjectLength(object), pv);
        if (strName == "TransmissionPriority")
            return OutShort(object.nPriority, pv);
        if (strName == "Visible")
            return OutVariantBool(IsCommObjectVisible(object), pv);
        if (const bool* pFlag = FindFlag(strName))
            return OutVariantBool(*pFlag, pv);
        return DISP_E_MEMBERNOTFOUND;
    }

    HRESULT PutProperty(BSTR bstrName, VARIANT vValue) override
    {
        const std::string strName = platform::BstrToUtf8(bstrName);
        const std::string strMember = "PutProperty(" + strName + ")";
        HOST_ENTER(strMember.c_str());
        bool* pFlag = FindFlag(strName);
        if (!pFlag) {
            static const char* const kReadOnly[] = {"CommunicationObjectNumber", "CommunicationObjectName",
                                                    "CommunicationObjectFunction", "AssociationsText",
                                                    "CommunicationObjectLength", "TransmissionPriority", "Visible"};
            for (const char* pszName : kReadOnly)
                if (strName == pszName)
                    return E_ACCESSDENIED;
            return DISP_E_MEMBERNOTFOUND;
        }
        LONG nValue = 0;
        if (!IntegerOf(vValue, nValue))
            return DISP_E_TYPEMISMATCH;
        if (*pFlag != (nValue != 0)) {
            *pFlag = nValue != 0;
            m_pState->SetModified();
        }
        return S_OK;
    }

    HRESULT get_Associations(IEtsAssociations** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_Associations");
        std::shared_ptr<HostCommObject> pObject = m_pNode;
        return MakeLiveCollection<CAssociationsView>(
            pp, m_pState, "Associations", m_pNode->nId,
            std::function<const std::vector<std::shared_ptr<HostAssociation>>&()>(
                [pObject]() -> const std::vector<std::shared_ptr<HostAssociation>>& { return pObject->associations; }),
            &CreateAssociationView, std::function<void(CAssociationsView&)>([pObject](CAssociationsView& view) {
                view.SetCommObject(pObject);
            }));
    }

    HRESULT get_Parent(IEtsDevice** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_Parent");
        std::shared_ptr<HostDevice> pDevice = m_pNode->pDevice.lock();
        if (!pDevice)
            return E_FAIL;
        return CreateDeviceView(m_pState, pDevice, pp);
    }

private:
    bool* FindFlag(const std::string& strName)
    {
        HostCommObject& object = *m_pNode;
        if (strName == "CommunicationEnabled")
            return &object.bCommunication;
        if (strName == "ReadEnabled")
            return &object.bRead;
        if (strName == "WriteEnabled")
            return &object.bWrite;
        if (strName == "TransmissionEnabled")
            return &object.bTransmit;
        if (strName == "UpdateEnabled")
            return &object.bUpdate;
        return nullptr;
    }

    std::string AssociationsText() const
    {
        std::string strText;
        for (const auto& pAssociation : m_pNode->associations) {
            if (!pAssociation->pGroupAddress)
                continue;
            if (!strText.empty())
                strText += ", ";
            strText += FormatGroupAddressNumbers(*pAssociation->pGroupAddress, m_pState->m_data.nGroupAddressLevels);
        }
        return strText;
    }

    static HRESULT OutLong(LONG nValue, VARIANT* pv)
    {
        pv->vt = VT_I4;
        pv->lVal = nValue;
        return S_OK;
    }
    static HRESULT OutShort(SHORT nValue, VARIANT* pv)
    {
        pv->vt = VT_I2;
        pv->iVal = nValue;
        return S_OK;
    }
    static HRESULT OutVariantBool(bool bValue, VARIANT* pv)
    {
        pv->vt = VT_BOOL;
        pv->boolVal = bValue ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    static HRESULT OutVariantText(const std::string& strText, VARIANT* pv)
    {
        pv->bstrVal = platform::BstrFromUtf8(strText);
        if (!pv->bstrVal)
            return E_OUTOFMEMORY;
        pv->vt = VT_BSTR;
        return S_OK;
    }
};

class CAssociationView : public IEtsAssociation, public CHostView<HostAssociation> {
public:
    BEGIN_COM_MAP(CAssociationView)
    COM_INTERFACE_ENTRY(IEtsAssociation)
    COM_INTERFACE_ENTRY(IEtsDomObjectInternal)
    END_COM_MAP()

    HRESULT get_GroupAddress(IEtsGroupAddress** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_GroupAddress");
        if (!m_pNode->pGroupAddress)
            return E_FAIL;
        return CreateGroupAddressView(m_pState, m_pNode->pGroupAddress, pp);
    }

    HRESULT get_Parent(IEtsCommObject** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_Parent");
        std::shared_ptr<HostCommObject> pObject = m_pNode->pObject.lock();
        if (!pObject)
            return E_FAIL;
        return CreateCommObjectView(m_pState, pObject, pp);
    }

    HRESULT get_Device(IEtsDevice** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_Device");
        std::shared_ptr<HostCommObject> pObject = m_pNode->pObject.lock();
        std::shared_ptr<HostDevice> pDevice = pObject ? pObject->pDevice.lock() : nullptr;
        if (!pDevice)
            return E_FAIL;
        return CreateDeviceView(m_pState, pDevice, pp);
    }

    HRESULT get_Send(VARIANT_BOOL* pb) override
    {
        HOST_ENTER("get_Send");
        return OutBool(m_pNode->bSend, pb);
    }

    HRESULT put_Send(VARIANT_BOOL bSend) override
    {
        HOST_ENTER("put_Send");
        if (m_pNode->bSend != (bSend != 0)) {
            m_pNode->bSend = bSend != 0;
            m_pState->SetModified();
        }
        return S_OK;
    }

    HRESULT get_Acknowledge(VARIANT_BOOL* pb) override
    {
        HOST_ENTER("get_Acknowledge");
        return OutBool(m_pNode->bAcknowledge, pb);
    }

    HRESULT Delete() override
    {
        HOST_ENTER("Delete");
        if (std::shared_ptr<HostCommObject> pObject = m_pNode->pObject.lock()) {
            auto& list = pObject->associations;
            list.erase(std::remove(list.begin(), list.end(), m_pNode), list.end());
        }
        m_pNode->bDeleted = true;
        m_pState->SetModified();
        return S_OK;
    }
};

HRESULT CAssociationsView::Add(IEtsGroupAddress* pGroupAddress, IEtsAssociation** ppAssociation)
{
    if (ppAssociation)
        *ppAssociation = nullptr;
    HOST_ENTER("Add");
    if (!ppAssociation || !pGroupAddress)
        return E_POINTER;
    if (!m_pObject)
        return E_NOTIMPL;
    if (m_pObject->bDeleted)
        return E_FAIL;
    std::shared_ptr<HostDevice> pDevice = m_pObject->pDevice.lock();
    std::shared_ptr<HostProject> pProject = pDevice ? pDevice->pProject.lock() : nullptr;
    if (!pProject)
        return E_FAIL;

    // The group address is one of this project's, found by its id.
    CComPtr<IEtsDomObjectInternal> pInternal;
    LONG nGroupId = 0;
    if (FAILED(pGroupAddress->QueryInterface(&pInternal.p)) || FAILED(pInternal->GetPersistInfo(&nGroupId, nullptr)))
        return E_INVALIDARG;
    std::shared_ptr<HostGroupAddress> pGroup;
    for (const auto& pMain : pProject->mainGroups)
        for (const auto& pMiddle : pMain->middleGroups)
            for (const auto& pSub : pMiddle->groupAddresses)
                if (pSub->nId == nGroupId)
                    pGroup = pSub;
    if (!pGroup)
        return E_INVALIDARG;

    for (const auto& pExisting : m_pObject->associations)
        if (pExisting->pGroupAddress == pGroup) {
            HRESULT hr = CreateAssociationView(m_pState, pExisting, ppAssociation);
            return FAILED(hr) ? hr : ETS_E_ASSOCIATION_EXISTS;
        }

    auto pNode = std::make_shared<HostAssociation>();
    pNode->nId = m_pState->NewId();
    pNode->pObject = m_pObject;
    pNode->pGroupAddress = pGroup;
    m_pObject->associations.push_back(pNode);

    CComPtr<IEtsAssociation> pView;
    HRESULT hr = CreateAssociationView(m_pState, pNode, &pView.p);
    // The device's plug-in sees the new association as it will be and may
    // refuse it, synchronously, before the add returns.
    if (SUCCEEDED(hr)) {
        if (IEtsPlugInEvents* pSink = m_pState->FindEventSink(pDevice->nId)) {
            CComPtr<IEtsPlugInEvents> pHold(pSink);
            if (m_pState->m_bCallLog)
                m_pState->m_callLog.push_back("Event:" + std::to_string(pDevice->nId) + ".OnAddAssociation");
            if (FAILED(pHold->OnAddAssociation(pView)))
                hr = E_ABORT;
        }
    }
    if (FAILED(hr)) {
        auto& list = m_pObject->associations;
        list.erase(std::remove(list.begin(), list.end(), pNode), list.end());
        pNode->bDeleted = true;
        return hr;
    }
    m_pState->SetModified();
    *ppAssociation = pView.Detach();
    return S_OK;
}

// ---- the group tree -----------------------------------------------------------------------

// Marks a group address dead and takes its associations out of the
// project; its parent's list is the caller's.
void DropGroupAddress(HostGroupAddress& node)
{
    for (const auto& pAssociation : ReferringAssociations(node)) {
        if (std::shared_ptr<HostCommObject> pObject = pAssociation->pObject.lock()) {
            auto& list = pObject->associations;
            list.erase(std::remove(list.begin(), list.end(), pAssociation), list.end());
        }
        pAssociation->bDeleted = true;
    }
    node.bDeleted = true;
}

void DropMiddleGroup(HostMiddleGroup& node)
{
    for (const auto& pSub : node.groupAddresses)
        DropGroupAddress(*pSub);
    node.bDeleted = true;
}

void DropMainGroup(HostMainGroup& node)
{
    for (const auto& pMiddle : node.middleGroups)
        DropMiddleGroup(*pMiddle);
    node.bDeleted = true;
}

template <class Node>
void EraseFrom(std::vector<std::shared_ptr<Node>>& list, const std::shared_ptr<Node>& pNode)
{
    list.erase(std::remove(list.begin(), list.end(), pNode), list.end());
}

template <class Itf, class Node>
class CGroupViewBase : public Itf, public CHostView<Node> {
public:
    HRESULT get_Name(BSTR* pbstr) override
    {
        HOST_ENTER("get_Name");
        return OutText(this->m_pNode->strName, pbstr);
    }
    HRESULT get_Description(BSTR* pbstr) override
    {
        HOST_ENTER("get_Description");
        return OutText(this->m_pNode->strDescription, pbstr);
    }
    HRESULT put_Description(BSTR bstr) override
    {
        HOST_ENTER("put_Description");
        return Put(this->m_pNode->strDescription, bstr);
    }
    HRESULT get_UniqueName(BSTR* pbstr) override
    {
        HOST_ENTER("get_UniqueName");
        return OutText(this->m_pNode->strUniqueName, pbstr);
    }
    HRESULT put_UniqueName(BSTR bstr) override
    {
        HOST_ENTER("put_UniqueName");
        return Put(this->m_pNode->strUniqueName, bstr);
    }
    HRESULT get_Address(VARIANT* pv) override
    {
        HOST_ENTER("get_Address");
        return OutAddress(this->m_pNode->address, pv);
    }
    HRESULT get_PassThrough(VARIANT_BOOL* pb) override
    {
        HOST_ENTER("get_PassThrough");
        return OutBool(this->m_pNode->bPassThrough, pb);
    }

protected:
    using CHostView<Node>::Enter;

    HRESULT Put(std::string& strField, BSTR bstr)
    {
        std::string strValue = platform::BstrToUtf8(bstr);
        if (!FitsProject(strValue))
            return E_INVALIDARG;
        if (strValue != strField) {
            strField = std::move(strValue);
            this->m_pState->SetModified();
        }
        return S_OK;
    }
};

class CMainGroupView : public CGroupViewBase<IEtsMainGroup, HostMainGroup> {
public:
    BEGIN_COM_MAP(CMainGroupView)
    COM_INTERFACE_ENTRY(IEtsMainGroup)
    COM_INTERFACE_ENTRY(IEtsDomObjectInternal)
    END_COM_MAP()

    HRESULT get_Project(IEtsProject** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_Project");
        std::shared_ptr<HostProject> pProject = m_pNode->pProject.lock();
        if (!pProject)
            return E_FAIL;
        return CreateProjectView(m_pState, pProject, pp);
    }

    HRESULT get_MiddleGroups(IEtsMiddleGroups** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_MiddleGroups");
        std::shared_ptr<HostMainGroup> pMain = m_pNode;
        return MakeLiveCollection<CMiddleGroupsView>(
            pp, m_pState, "MiddleGroups", m_pNode->nId,
            std::function<const std::vector<std::shared_ptr<HostMiddleGroup>>&()>(
                [pMain]() -> const std::vector<std::shared_ptr<HostMiddleGroup>>& { return pMain->middleGroups; }),
            &CreateMiddleGroupView,
            std::function<void(CMiddleGroupsView&)>([pMain](CMiddleGroupsView& view) { view.SetMainGroup(pMain); }));
    }
    HRESULT Delete() override
    {
        HOST_ENTER("Delete");
        // The associations are found through the project, so they go first.
        DropMainGroup(*m_pNode);
        if (std::shared_ptr<HostProject> pProject = m_pNode->pProject.lock())
            EraseFrom(pProject->mainGroups, m_pNode);
        m_pState->SetModified();
        return S_OK;
    }
};

class CMiddleGroupView : public CGroupViewBase<IEtsMiddleGroup, HostMiddleGroup> {
public:
    BEGIN_COM_MAP(CMiddleGroupView)
    COM_INTERFACE_ENTRY(IEtsMiddleGroup)
    COM_INTERFACE_ENTRY(IEtsDomObjectInternal)
    END_COM_MAP()

    HRESULT get_Parent(IEtsMainGroup** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_Parent");
        std::shared_ptr<HostMainGroup> pMain = m_pNode->pParent.lock();
        if (!pMain)
            return E_FAIL;
        return CreateMainGroupView(m_pState, pMain, pp);
    }

    HRESULT get_GroupAddresses(IEtsGroupAddresses** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_GroupAddresses");
        std::shared_ptr<HostMiddleGroup> pMiddle = m_pNode;
        return MakeLiveCollection<CGroupAddressesView>(
            pp, m_pState, "GroupAddresses", m_pNode->nId,
            std::function<const std::vector<std::shared_ptr<HostGroupAddress>>&()>(
                [pMiddle]() -> const std::vector<std::shared_ptr<HostGroupAddress>>& { return pMiddle->groupAddresses; }),
            &CreateGroupAddressView, std::function<void(CGroupAddressesView&)>([pMiddle](CGroupAddressesView& view) {
                view.SetMiddleGroup(pMiddle);
            }));
    }
    HRESULT Delete() override
    {
        HOST_ENTER("Delete");
        DropMiddleGroup(*m_pNode);
        if (std::shared_ptr<HostMainGroup> pMain = m_pNode->pParent.lock())
            EraseFrom(pMain->middleGroups, m_pNode);
        m_pState->SetModified();
        return S_OK;
    }
};

class CGroupAddressView : public CGroupViewBase<IEtsGroupAddress, HostGroupAddress> {
public:
    BEGIN_COM_MAP(CGroupAddressView)
    COM_INTERFACE_ENTRY(IEtsGroupAddress)
    COM_INTERFACE_ENTRY(IEtsDomObjectInternal)
    END_COM_MAP()

    HRESULT get_Central(VARIANT_BOOL* pb) override
    {
        HOST_ENTER("get_Central");
        return OutBool(m_pNode->bCentral, pb);
    }

    HRESULT put_Central(VARIANT_BOOL bCentral) override
    {
        HOST_ENTER("put_Central");
        if (m_pNode->bCentral != (bCentral != 0)) {
            m_pNode->bCentral = bCentral != 0;
            m_pState->SetModified();
        }
        return S_OK;
    }

    HRESULT get_CommunicationObjectLength(SHORT* pn) override
    {
        HOST_ENTER("get_CommunicationObjectLength");
        if (!pn)
            return E_POINTER;
        *pn = -1;
        // The first referring association with its object, as
        // ReferringAssociations lists them, without gathering them all.
        std::shared_ptr<HostProject> pProject = ProjectOf(*m_pNode);
        if (!pProject)
            return S_OK;
        for (const auto& pDevice : pProject->devices)
            for (const auto& pCommObject : pDevice->commObjects)
                for (const auto& pAssociation : pCommObject->associations)
                    if (pAssociation->pGroupAddress.get() == m_pNode.get())
                        if (std::shared_ptr<HostCommObject> pObject = pAssociation->pObject.lock()) {
                            *pn = GetCommObjectLength(*pObject);
                            return S_OK;
                        }
        return S_OK;
    }

    HRESULT get_Parent(IEtsMiddleGroup** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_Parent");
        std::shared_ptr<HostMiddleGroup> pMiddle = m_pNode->pParent.lock();
        if (!pMiddle)
            return E_FAIL;
        return CreateMiddleGroupView(m_pState, pMiddle, pp);
    }

    HRESULT get_RefAssociations(IEtsAssociations** pp) override
    {
        if (pp)
            *pp = nullptr;
        HOST_ENTER("get_RefAssociations");
        std::shared_ptr<HostGroupAddress> pGroup = m_pNode;
        return MakeCollection<CAssociationsView>(pp, m_pState, "RefAssociations", m_pNode->nId,
                                                 std::function<std::vector<std::shared_ptr<HostAssociation>>()>(
                                                     [pGroup] { return ReferringAssociations(*pGroup); }),
                                                 &CreateAssociationView);
    }
    HRESULT Delete() override
    {
        HOST_ENTER("Delete");
        DropGroupAddress(*m_pNode);
        if (std::shared_ptr<HostMiddleGroup> pMiddle = m_pNode->pParent.lock())
            EraseFrom(pMiddle->groupAddresses, m_pNode);
        m_pState->SetModified();
        return S_OK;
    }
};

#undef HOST_ENTER

}  // namespace

HRESULT CreateDatabaseView(const HostStatePtr& pState, IEtsProjectDatabase** pp)
{
    return MakeView<CDatabaseView>(pp, pState);
}

HRESULT CreateProjectView(const HostStatePtr& pState, const std::shared_ptr<HostProject>& pNode, IEtsProject** pp)
{
    return MakeView<CProjectView>(pp, pState, pNode, "Project");
}

HRESULT CreateDeviceView(const HostStatePtr& pState, const std::shared_ptr<HostDevice>& pNode, IEtsDevice** pp)
{
    return MakeView<CDeviceView>(pp, pState, pNode, "Device");
}

HRESULT CreateParameterView(const HostStatePtr& pState, const std::shared_ptr<HostParameter>& pNode,
                            IEtsDeviceParameter** pp)
{
    return MakeView<CParameterView>(pp, pState, pNode, "DeviceParameter");
}

HRESULT CreateCommObjectView(const HostStatePtr& pState, const std::shared_ptr<HostCommObject>& pNode,
                             IEtsCommObject** pp)
{
    return MakeView<CCommObjectView>(pp, pState, pNode, "CommObject");
}

HRESULT CreateAssociationView(const HostStatePtr& pState, const std::shared_ptr<HostAssociation>& pNode,
                              IEtsAssociation** pp)
{
    return MakeView<CAssociationView>(pp, pState, pNode, "Association");
}

HRESULT CreateMainGroupView(const HostStatePtr& pState, const std::shared_ptr<HostMainGroup>& pNode,
                            IEtsMainGroup** pp)
{
    return MakeView<CMainGroupView>(pp, pState, pNode, "MainGroup");
}

HRESULT CreateMiddleGroupView(const HostStatePtr& pState, const std::shared_ptr<HostMiddleGroup>& pNode,
                              IEtsMiddleGroup** pp)
{
    return MakeView<CMiddleGroupView>(pp, pState, pNode, "MiddleGroup");
}

HRESULT CreateGroupAddressView(const HostStatePtr& pState, const std::shared_ptr<HostGroupAddress>& pNode,
                               IEtsGroupAddress** pp)
{
    return MakeView<CGroupAddressView>(pp, pState, pNode, "GroupAddress");
}

std::shared_ptr<HostProject> ProjectOf(const HostGroupAddress& node)
{
    std::shared_ptr<HostMiddleGroup> pMiddle = node.pParent.lock();
    std::shared_ptr<HostMainGroup> pMain = pMiddle ? pMiddle->pParent.lock() : nullptr;
    return pMain ? pMain->pProject.lock() : nullptr;
}

std::vector<std::shared_ptr<HostAssociation>> ReferringAssociations(const HostGroupAddress& node)
{
    std::vector<std::shared_ptr<HostAssociation>> found;
    std::shared_ptr<HostProject> pProject = ProjectOf(node);
    if (!pProject)
        return found;
    for (const auto& pDevice : pProject->devices)
        for (const auto& pObject : pDevice->commObjects)
            for (const auto& pAssociation : pObject->associations)
                if (pAssociation->pGroupAddress.get() == &node)
                    found.push_back(pAssociation);
    return found;
}

}  // namespace platform::host
