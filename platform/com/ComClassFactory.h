#pragma once
// The generic class factory: creates objects through one creation function.
// A factory does not count in the module lock (holding one does not keep a
// module loaded); LockServer does.

#include "platform/com/ComObject.h"
#include "platform/com/ComTypes.h"

#include <atomic>
#include <functional>

class CComClassFactory final : public IClassFactory {
public:
    using Creator = std::function<HRESULT(IUnknown* pUnkOuter, REFIID riid, void** ppv)>;

    // A new factory asked for riid (IClassFactory or IUnknown).
    static HRESULT Create(Creator creator, REFIID riid, void** ppv);

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) override;
    HRESULT LockServer(BOOL fLock) override;

private:
    explicit CComClassFactory(Creator creator);
    ~CComClassFactory() = default;

    std::atomic<ULONG> m_dwRef {0};
    Creator m_fnCreator;
};

// The factory of an implementation class T (created through CComCreator<T>).
template <class T>
HRESULT CreateClassFactory(REFIID riid, void** ppv)
{
    return CComClassFactory::Create(&CComCreator<T>::CreateInstance, riid, ppv);
}
