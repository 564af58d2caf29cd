#pragma once
// Base of a creatable class: its class id and its registration hook.
//
//   inline constexpr CLSID CLSID_Foo = platform::MakeGuid("{...}");
//   class CFoo : public IFoo, public CComObjectRoot, public CComCoClass<CFoo, CLSID_Foo> {
//       ...
//       DECLARE_REGISTRY_RESOURCEID(101)   // ComDllModule.h; without it nothing is registered
//   };

#include "platform/com/ComObject.h"

class CComDllModule;

template <class T, const CLSID& clsid>
class CComCoClass {
public:
    static const CLSID& GetObjectCLSID() { return clsid; }

    // Classes with a registry script replace this through
    // DECLARE_REGISTRY_RESOURCEID.
    static HRESULT UpdateRegistry(CComDllModule&, bool) { return S_OK; }

    // A new object of the class, asked for interface Q.
    template <class Q>
    static HRESULT CreateInstance(Q** pp)
    {
        return CComCreator<T>::CreateInstance(nullptr, IidOf<Q>(), reinterpret_cast<void**>(pp));
    }
};
