#pragma once
// Counted reference that queries for its interface when given another one.

#include "platform/com/ComPtr.h"

template <class T>
class CComQIPtr : public CComPtr<T> {
public:
    CComQIPtr() noexcept = default;
    CComQIPtr(std::nullptr_t) noexcept {}
    CComQIPtr(T* lp) noexcept
        : CComPtr<T>(lp)
    {
    }
    CComQIPtr(const CComQIPtr& other) noexcept
        : CComPtr<T>(other.p)
    {
    }
    // Holds nothing when the object does not offer T.
    CComQIPtr(IUnknown* lp) noexcept { Query(lp); }

    CComQIPtr& operator=(const CComQIPtr& other) noexcept
    {
        CComPtr<T>::operator=(other.p);
        return *this;
    }
    CComQIPtr& operator=(T* lp) noexcept
    {
        CComPtr<T>::operator=(lp);
        return *this;
    }
    CComQIPtr& operator=(IUnknown* lp) noexcept
    {
        CComPtr<T>::Release();
        Query(lp);
        return *this;
    }

private:
    void Query(IUnknown* lp) noexcept
    {
        void* pv = nullptr;
        if (lp && SUCCEEDED(lp->QueryInterface(IidOf<T>(), &pv)))
            this->p = static_cast<T*>(pv);
    }
};

// For IUnknown the query is the identity query: the held pointer is the
// object's one IUnknown, whatever interface it was given.
template <>
class CComQIPtr<IUnknown> : public CComPtr<IUnknown> {
public:
    CComQIPtr() noexcept = default;
    CComQIPtr(std::nullptr_t) noexcept {}
    CComQIPtr(const CComQIPtr& other) noexcept
        : CComPtr<IUnknown>(other.p)
    {
    }
    CComQIPtr(IUnknown* lp) noexcept { Query(lp); }

    CComQIPtr& operator=(const CComQIPtr& other) noexcept
    {
        CComPtr<IUnknown>::operator=(other.p);
        return *this;
    }
    CComQIPtr& operator=(IUnknown* lp) noexcept
    {
        CComPtr<IUnknown>::Release();
        Query(lp);
        return *this;
    }

private:
    void Query(IUnknown* lp) noexcept
    {
        void* pv = nullptr;
        if (lp && SUCCEEDED(lp->QueryInterface(IID_IUnknown, &pv)))
            p = static_cast<IUnknown*>(pv);
    }
};
