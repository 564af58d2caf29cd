#pragma once
// The concrete object around an implementation class T (derived from
// CComObjectRoot with a COM map): supplies IUnknown with an atomic count.
// When created with an outer unknown it is aggregated: every interface
// delegates IUnknown to the outer object, and the outer object holds the
// inner, non-delegating IUnknown that alone controls the object's life.
//
//   CComObject<T>        counts in the module lock while alive
//   CComObjectNoLock<T>  does not (class factories, helpers)
//   CComCreator<T>::CreateInstance(outer, iid, ppv)  the usual way to create

#include "platform/com/ComModuleLock.h"
#include "platform/com/ComObjectRoot.h"

#include <new>

template <bool bLockModule>
class CComModuleLockHolder {
protected:
    CComModuleLockHolder()
    {
        if constexpr (bLockModule)
            CComModuleLock::Lock();
    }
    ~CComModuleLockHolder()
    {
        if constexpr (bLockModule)
            CComModuleLock::Unlock();
    }
};

template <class T, bool bLockModule>
class CComObjectImpl final : private CComModuleLockHolder<bLockModule>, public T {
public:
    explicit CComObjectImpl(IUnknown* pOuter = nullptr)
        : m_inner(this)
    {
        this->m_pOuterUnknown = pOuter;
    }

    ~CComObjectImpl()
    {
        // A count far from zero keeps AddRef/Release pairs made during
        // FinalRelease from destroying the object a second time.
        this->m_dwRef = 1u << 30;
        this->FinalRelease();
    }

    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (this->m_pOuterUnknown)
            return this->m_pOuterUnknown->QueryInterface(riid, ppv);
        return this->InternalQueryInterface(riid, ppv);
    }

    ULONG AddRef() override
    {
        if (this->m_pOuterUnknown)
            return this->m_pOuterUnknown->AddRef();
        return this->InternalAddRef();
    }

    ULONG Release() override
    {
        if (this->m_pOuterUnknown)
            return this->m_pOuterUnknown->Release();
        ULONG n = this->InternalRelease();
        if (n == 0)
            delete this;
        return n;
    }

    // The inner unknown: the object's own identity when aggregated.
    IUnknown* GetInnerUnknown() { return &m_inner; }

    // Creates an object with a count of 0 after FinalConstruct succeeded;
    // the caller takes the first reference.
    static HRESULT CreateInstance(CComObjectImpl** pp) noexcept
    {
        if (!pp)
            return E_POINTER;
        *pp = nullptr;
        CComObjectImpl* p = nullptr;
        HRESULT hr = Construct(nullptr, p);
        if (SUCCEEDED(hr))
            *pp = p;
        return hr;
    }

private:
    template <class>
    friend struct CComCreator;

    static HRESULT Construct(IUnknown* pOuter, CComObjectImpl*& p) noexcept
    {
        try {
            p = new CComObjectImpl(pOuter);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_FAIL;
        }
        // One reference while FinalConstruct runs, so that it may hand
        // itself out and take itself back safely.
        p->InternalAddRef();
        HRESULT hr;
        try {
            hr = p->FinalConstruct();
        } catch (const std::bad_alloc&) {
            hr = E_OUTOFMEMORY;
        } catch (...) {
            hr = E_FAIL;
        }
        p->InternalRelease();
        if (FAILED(hr)) {
            delete p;
            p = nullptr;
        }
        return hr;
    }

    struct CInnerUnknown final : IUnknown {
        explicit CInnerUnknown(CComObjectImpl* pOwner)
            : m_pOwner(pOwner)
        {
        }
        HRESULT QueryInterface(REFIID riid, void** ppv) override
        {
            if (!ppv)
                return E_POINTER;
            if (riid == IID_IUnknown) {
                *ppv = static_cast<IUnknown*>(this);
                AddRef();
                return S_OK;
            }
            return m_pOwner->InternalQueryInterface(riid, ppv);
        }
        ULONG AddRef() override { return m_pOwner->InternalAddRef(); }
        ULONG Release() override
        {
            ULONG n = m_pOwner->InternalRelease();
            if (n == 0)
                delete m_pOwner;
            return n;
        }
        CComObjectImpl* m_pOwner;
    };

    CInnerUnknown m_inner;
};

template <class T>
using CComObject = CComObjectImpl<T, true>;
template <class T>
using CComObjectNoLock = CComObjectImpl<T, false>;

template <class T>
struct CComCreator {
    // Creates an object (aggregated when pOuter is given) and asks it for
    // riid. Aggregation needs a class that allows it and the request for
    // IUnknown, else CLASS_E_NOAGGREGATION.
    static HRESULT CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) noexcept
    {
        using Object = CComObject<T>;
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (pOuter && (!T::kAggregatable || riid != IID_IUnknown))
            return CLASS_E_NOAGGREGATION;
        Object* p = nullptr;
        HRESULT hr = Object::Construct(pOuter, p);
        if (FAILED(hr))
            return hr;
        p->InternalAddRef();
        if (pOuter) {
            *ppv = p->GetInnerUnknown();
            return S_OK;
        }
        hr = p->InternalQueryInterface(riid, ppv);
        p->Release();
        return hr;
    }
};
