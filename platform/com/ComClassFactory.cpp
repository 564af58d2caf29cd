#include "platform/com/ComClassFactory.h"

#include "platform/com/ComModuleLock.h"

#include <new>
#include <utility>

CComClassFactory::CComClassFactory(Creator creator)
    : m_fnCreator(std::move(creator))
{
}

HRESULT CComClassFactory::Create(Creator creator, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!creator)
        return E_INVALIDARG;
    CComClassFactory* p = nullptr;
    try {
        p = new CComClassFactory(std::move(creator));
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    p->AddRef();
    HRESULT hr = p->QueryInterface(riid, ppv);
    p->Release();
    return hr;
}

HRESULT CComClassFactory::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CComClassFactory::AddRef()
{
    return ++m_dwRef;
}

ULONG CComClassFactory::Release()
{
    ULONG n = --m_dwRef;
    if (n == 0)
        delete this;
    return n;
}

HRESULT CComClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject)
{
    if (!ppvObject)
        return E_POINTER;
    *ppvObject = nullptr;
    try {
        return m_fnCreator(pUnkOuter, riid, ppvObject);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT CComClassFactory::LockServer(BOOL fLock)
{
    if (fLock)
        CComModuleLock::Lock();
    else
        CComModuleLock::Unlock();
    return S_OK;
}
