#pragma once
// The host tool's two plug-in interfaces: the host hands the plug-in object
// the selected objects and asks it to edit them, and tells it of association
// changes in the project, which the plug-in may refuse.

#include "platform/com/ComTypes.h"

struct IEtsPlugInUI : IUnknown {
    DECLARE_INTERFACE_IID(IEtsPlugInUI, "{9E81CEC9-B33D-4E4D-B035-B1A26112A53C}")
    virtual HRESULT SetObjects(LONG nCount, IUnknown** ppObjects) = 0;
    virtual HRESULT Edit(HWND hParent) = 0;

protected:
    ~IEtsPlugInUI() = default;
};

struct IEtsPlugInEvents : IUnknown {
    DECLARE_INTERFACE_IID(IEtsPlugInEvents, "{616145AD-DF45-4A6F-A66F-2DE15100EB1E}")
    // An association is being added; E_ABORT refuses it.
    virtual HRESULT OnAddAssociation(IUnknown* pAssociation) = 0;
    virtual HRESULT OnRemoveAssociation(IUnknown* pAssociation) = 0;
    virtual HRESULT OnObjectChanged(IUnknown* pObject, LONG nProperty, LONG nFlags) = 0;
    virtual HRESULT OnParameterChanged(IUnknown* pDevice, LONG nParameterId, LONG nFlags) = 0;

protected:
    ~IEtsPlugInEvents() = default;
};
