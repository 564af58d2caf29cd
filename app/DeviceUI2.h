#pragma once
// The object the host creates to edit one device of its project: it takes
// the selected objects, runs the editor on the first of them, and is told of
// association changes in the project (which it may refuse).

#include "common/HostLogger.h"
#include "interfaces/IStandaloneChron2.h"
#include "platform/com/ComCoClass.h"
#include "platform/com/ComDllModule.h"
#include "platform/com/ComObjectRoot.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ContextMenu.h"
#include "platform/host/EtsObjectModel.h"
#include "platform/host/EtsPlugIn.h"

#include <vector>

class CAssociationTable;

class CDeviceUI2 : public IContextMenu,
                   public IEtsPlugInUI,
                   public IEtsPlugInEvents,
                   public ISupportErrorInfo,
                   public CComObjectRoot,
                   public CComCoClass<CDeviceUI2, CLSID_DeviceUI2> {
public:
    CDeviceUI2();
    ~CDeviceUI2();

    BEGIN_COM_MAP(CDeviceUI2)
    COM_INTERFACE_ENTRY(IContextMenu)
    COM_INTERFACE_ENTRY(IEtsPlugInUI)
    COM_INTERFACE_ENTRY(IEtsPlugInEvents)
    COM_INTERFACE_ENTRY(ISupportErrorInfo)
    END_COM_MAP()
    DECLARE_AGGREGATABLE(CDeviceUI2)
    DECLARE_REGISTRY_RESOURCEID(11)

    // Takes the host's user-interface language.
    HRESULT FinalConstruct();

    // IContextMenu: no context menu.
    HRESULT QueryContextMenu(void* hMenu, UINT nIndexMenu, UINT nCmdFirst, UINT nCmdLast, UINT nFlags) override;
    HRESULT InvokeCommand(void* pCommandInfo) override;
    HRESULT GetCommandString(std::uintptr_t nCommand, UINT nType, UINT* pReserved, char* pszName,
                             UINT nMax) override;

    // IEtsPlugInUI
    HRESULT SetObjects(LONG nCount, IUnknown** ppObjects) override;
    HRESULT Edit(HWND hParent) override;

    // IEtsPlugInEvents
    HRESULT OnAddAssociation(IUnknown* pAssociation) override;
    HRESULT OnRemoveAssociation(IUnknown* pAssociation) override;
    HRESULT OnObjectChanged(IUnknown* pObject, LONG nProperty, LONG nFlags) override;
    HRESULT OnParameterChanged(IUnknown* pDevice, LONG nParameterId, LONG nFlags) override;

    // ISupportErrorInfo
    HRESULT InterfaceSupportsErrorInfo(REFIID riid) override;

    std::size_t GetObjectCount() const { return m_arrObjects.size(); }

    // The pieces of the association check.
    // The device's host id; -1 on failure.
    HRESULT GetDeviceId(IEtsDevice* pDevice, LONG& nId);
    // The number of the communication object that carries the association.
    HRESULT GetCommObjectNumber(IEtsAssociation* pAssociation, LONG& nNumber);
    // The first ordinary object number from the device parameter
    // "CacheData": 1 when found and read, else 0.
    int ReadCacheData(IEtsDevice* pDevice, LONG& nFirstObject);
    // The visible objects' host ids and association counts, and the total
    // over all but the clock's objects: 1 when every host call succeeded.
    int ReadAssociationTable(IEtsDevice* pDevice, LONG& nTotal, CAssociationTable& table);

private:
    CHostLogger m_hostLogger;
    std::vector<CComPtr<IUnknown>> m_arrObjects;
    CComPtr<IEtsDeviceParameter> m_pCacheData;
};
