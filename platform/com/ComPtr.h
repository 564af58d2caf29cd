#pragma once
// Counted reference to an interface: AddRef on copy, Release when it goes.

#include "platform/com/ComActivation.h"
#include "platform/com/ComTypes.h"

#include <memory>
#include <string_view>
#include <utility>

template <class T>
class CComPtr {
public:
    CComPtr() noexcept = default;
    CComPtr(std::nullptr_t) noexcept {}
    CComPtr(T* lp) noexcept
        : p(lp)
    {
        if (p)
            p->AddRef();
    }
    CComPtr(const CComPtr& other) noexcept
        : CComPtr(other.p)
    {
    }
    CComPtr(CComPtr&& other) noexcept
        : p(std::exchange(other.p, nullptr))
    {
    }
    ~CComPtr() { Release(); }

    CComPtr& operator=(T* lp) noexcept
    {
        if (lp != p) {
            if (lp)
                lp->AddRef();
            T* old = std::exchange(p, lp);
            if (old)
                old->Release();
        }
        return *this;
    }
    CComPtr& operator=(const CComPtr& other) noexcept { return *this = other.p; }
    CComPtr& operator=(CComPtr&& other) noexcept
    {
        if (this != std::addressof(other)) {
            T* old = std::exchange(p, std::exchange(other.p, nullptr));
            if (old)
                old->Release();
        }
        return *this;
    }
    CComPtr& operator=(std::nullptr_t) noexcept
    {
        Release();
        return *this;
    }

    operator T*() const noexcept { return p; }
    T* operator->() const noexcept { return p; }
    T& operator*() const noexcept { return *p; }
    // For out parameters: a reference held before is released first, so
    // nothing leaks when the pointer is filled again.
    T** operator&() noexcept
    {
        Release();
        return &p;
    }
    bool operator!() const noexcept { return p == nullptr; }

    void Release() noexcept
    {
        if (T* old = std::exchange(p, nullptr))
            old->Release();
    }
    // Takes over a reference without AddRef.
    void Attach(T* lp) noexcept
    {
        T* old = std::exchange(p, lp);
        if (old && old != lp)
            old->Release();
    }
    // Gives up the reference without Release.
    T* Detach() noexcept { return std::exchange(p, nullptr); }

    HRESULT CopyTo(T** ppT) const noexcept
    {
        if (!ppT)
            return E_POINTER;
        *ppT = p;
        if (p)
            p->AddRef();
        return S_OK;
    }

    template <class Q>
    HRESULT QueryInterface(Q** pp) const noexcept
    {
        if (!pp)
            return E_POINTER;
        *pp = nullptr;
        if (!p)
            return E_POINTER;
        void* pv = nullptr;
        HRESULT hr = p->QueryInterface(IidOf<Q>(), &pv);
        if (SUCCEEDED(hr))
            *pp = static_cast<Q*>(pv);
        return hr;
    }

    // Same object by the identity rule: both answer the same IUnknown.
    bool IsEqualObject(IUnknown* pOther) const noexcept
    {
        if (!p || !pOther)
            return !p && !pOther;
        void* a = nullptr;
        void* b = nullptr;
        p->QueryInterface(IID_IUnknown, &a);
        pOther->QueryInterface(IID_IUnknown, &b);
        bool same = a && a == b;
        if (a)
            static_cast<IUnknown*>(a)->Release();
        if (b)
            static_cast<IUnknown*>(b)->Release();
        return same;
    }

    HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter = nullptr, DWORD dwClsContext = CLSCTX_ALL) noexcept
    {
        Release();
        void* pv = nullptr;
        HRESULT hr = ::CoCreateInstance(rclsid, pUnkOuter, dwClsContext, IidOf<T>(), &pv);
        if (SUCCEEDED(hr))
            p = static_cast<T*>(pv);
        return hr;
    }
    HRESULT CoCreateInstance(std::string_view progId, IUnknown* pUnkOuter = nullptr,
                             DWORD dwClsContext = CLSCTX_ALL) noexcept
    {
        Release();
        CLSID clsid;
        HRESULT hr = ::CLSIDFromProgID(progId, &clsid);
        if (FAILED(hr))
            return hr;
        return CoCreateInstance(clsid, pUnkOuter, dwClsContext);
    }

    T* p = nullptr;
};
