#pragma once
// Base of every class that implements interfaces. The class lists its
// interfaces in a map, and CComObject<T> (ComObject.h) supplies IUnknown:
//
//   class CFoo : public IFoo, public IBar, public CComObjectRoot {
//   public:
//       BEGIN_COM_MAP(CFoo)
//           COM_INTERFACE_ENTRY(IFoo)     // the first entry gives the identity
//           COM_INTERFACE_ENTRY(IBar)
//       END_COM_MAP()
//       DECLARE_NOT_AGGREGATABLE(CFoo)   // aggregation is allowed otherwise
//       HRESULT FinalConstruct();         // optional, after construction
//       void FinalRelease();              // optional, before destruction
//   };

#include "platform/com/ComTypes.h"

#include <atomic>

struct ComInterfaceEntry {
    // Null for a blind aggregate, which is asked for every interface.
    const IID* piid;
    // The interface inside the object, for ordinary entries.
    IUnknown* (*pfnCast)(void* pThis);
    // Answers the query itself, for entries that delegate (aggregates).
    HRESULT (*pfnQuery)(void* pThis, REFIID riid, void** ppv);
};

class CComObjectRoot {
public:
    static constexpr bool kAggregatable = true;

    HRESULT FinalConstruct() { return S_OK; }
    void FinalRelease() {}

    // The controlling unknown when this object is aggregated, else null.
    IUnknown* GetOuterUnknown() const { return m_pOuterUnknown; }

    ULONG InternalAddRef() { return ++m_dwRef; }
    ULONG InternalRelease() { return --m_dwRef; }

    // Walks a map: IUnknown gives the first entry; the result is AddRef'd.
    static HRESULT InternalQueryInterface(void* pThis, const ComInterfaceEntry* pEntries, REFIID riid, void** ppv);

protected:
    CComObjectRoot() = default;
    ~CComObjectRoot() = default;
    CComObjectRoot(const CComObjectRoot&) = delete;
    CComObjectRoot& operator=(const CComObjectRoot&) = delete;

    std::atomic<ULONG> m_dwRef {0};
    IUnknown* m_pOuterUnknown = nullptr;
};

#define BEGIN_COM_MAP(cls)                                                                                   \
public:                                                                                                      \
    using ComMapClass = cls;                                                                                 \
    static const ::ComInterfaceEntry* GetComEntries()                                                        \
    {                                                                                                        \
        static const ::ComInterfaceEntry s_entries[] = {

#define COM_INTERFACE_ENTRY(itf)                                                                             \
    {&::IidOf<itf>(),                                                                                        \
     [](void* pThis) -> ::IUnknown* { return static_cast<itf*>(static_cast<ComMapClass*>(pThis)); }, nullptr},

// An interface reached through one branch when it is inherited more than once.
#define COM_INTERFACE_ENTRY2(itf, branch)                                                                    \
    {&::IidOf<itf>(),                                                                                        \
     [](void* pThis) -> ::IUnknown* {                                                                        \
         return static_cast<itf*>(static_cast<branch*>(static_cast<ComMapClass*>(pThis)));                   \
     },                                                                                                      \
     nullptr},

// An interface answered under another id.
#define COM_INTERFACE_ENTRY_IID(iid, itf)                                                                    \
    {&(iid), [](void* pThis) -> ::IUnknown* { return static_cast<itf*>(static_cast<ComMapClass*>(pThis)); }, \
     nullptr},

// An interface of an aggregated inner object, held in member `punk`
// (its non-delegating IUnknown).
#define COM_INTERFACE_ENTRY_AGGREGATE(iid, punk)                                                             \
    {&(iid), nullptr, [](void* pThis, ::REFIID riid, void** ppv) -> ::HRESULT {                              \
         auto* self = static_cast<ComMapClass*>(pThis);                                                      \
         return self->punk ? self->punk->QueryInterface(riid, ppv) : E_NOINTERFACE;                          \
     }},

// Every interface the inner object offers.
#define COM_INTERFACE_ENTRY_AGGREGATE_BLIND(punk)                                                            \
    {nullptr, nullptr, [](void* pThis, ::REFIID riid, void** ppv) -> ::HRESULT {                             \
         auto* self = static_cast<ComMapClass*>(pThis);                                                      \
         return self->punk ? self->punk->QueryInterface(riid, ppv) : E_NOINTERFACE;                          \
     }},

#define END_COM_MAP()                                                                                        \
    {nullptr, nullptr, nullptr}                                                                              \
    }                                                                                                        \
    ;                                                                                                        \
    return s_entries;                                                                                        \
    }                                                                                                        \
    ::IUnknown* GetUnknown() { return GetComEntries()[0].pfnCast(static_cast<ComMapClass*>(this)); }         \
    ::IUnknown* GetControllingUnknown() { return m_pOuterUnknown ? m_pOuterUnknown : GetUnknown(); }         \
    ::HRESULT InternalQueryInterface(::REFIID riid, void** ppv)                                              \
    {                                                                                                        \
        return ::CComObjectRoot::InternalQueryInterface(static_cast<ComMapClass*>(this), GetComEntries(),    \
                                                        riid, ppv);                                          \
    }

#define DECLARE_NOT_AGGREGATABLE(cls)                                                                        \
public:                                                                                                      \
    static constexpr bool kAggregatable = false;

#define DECLARE_AGGREGATABLE(cls)                                                                            \
public:                                                                                                      \
    static constexpr bool kAggregatable = true;
