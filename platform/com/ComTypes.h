#pragma once
// The object model's basics: interface ids, IUnknown and the few system
// interfaces every server needs, the class contexts and the result codes of
// activation, the registry and the VARIANT functions.

#include "platform/base/Guid.h"
#include "platform/base/WinTypes.h"

#include <string_view>
#include <type_traits>

using REFIID = const IID&;
using REFCLSID = const CLSID&;
using REFGUID = const GUID&;
using SCODE = LONG;

constexpr HRESULT E_ACCESSDENIED = MakeHResult(0x80070005u);
constexpr HRESULT DISP_E_TYPEMISMATCH = MakeHResult(0x80020005u);
constexpr HRESULT DISP_E_BADVARTYPE = MakeHResult(0x80020008u);
constexpr HRESULT DISP_E_EXCEPTION = MakeHResult(0x80020009u);
constexpr HRESULT DISP_E_OVERFLOW = MakeHResult(0x8002000Au);
constexpr HRESULT DISP_E_BADINDEX = MakeHResult(0x8002000Bu);
constexpr HRESULT DISP_E_ARRAYISLOCKED = MakeHResult(0x8002000Du);
constexpr HRESULT REGDB_E_READREGDB = MakeHResult(0x80040150u);
constexpr HRESULT REGDB_E_WRITEREGDB = MakeHResult(0x80040151u);
constexpr HRESULT REGDB_E_KEYMISSING = MakeHResult(0x80040152u);
constexpr HRESULT CO_E_NOTINITIALIZED = MakeHResult(0x800401F0u);
constexpr HRESULT CO_E_CLASSSTRING = MakeHResult(0x800401F3u);
constexpr HRESULT CO_E_DLLNOTFOUND = MakeHResult(0x800401F8u);
constexpr HRESULT CO_E_ERRORINDLL = MakeHResult(0x800401F9u);
constexpr HRESULT RPC_E_CHANGED_MODE = MakeHResult(0x80010106u);
// A registry script (or any other resource) the module does not hold.
constexpr HRESULT HRESULT_RESOURCE_NOT_FOUND = MakeHResult(0x80070716u);

// Class contexts. Only in-process servers exist here; the other bits are
// accepted so that callers can ask for "all" as they always did.
constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
constexpr DWORD CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
constexpr DWORD CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr DWORD CLSCTX_ALL = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

namespace platform {

// A GUID written in code, checked while compiling: braced or bare text.
consteval GUID MakeGuid(std::string_view text)
{
    if (text.size() == 38) {
        if (text.front() != '{' || text.back() != '}')
            throw "malformed GUID text";
        text = text.substr(1, 36);
    }
    if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-')
        throw "malformed GUID text";
    auto hex = [](char c) -> unsigned {
        if (c >= '0' && c <= '9')
            return static_cast<unsigned>(c - '0');
        if (c >= 'a' && c <= 'f')
            return static_cast<unsigned>(c - 'a' + 10);
        if (c >= 'A' && c <= 'F')
            return static_cast<unsigned>(c - 'A' + 10);
        throw "malformed GUID text";
    };
    auto read = [&](std::size_t pos, int digits) -> unsigned long long {
        unsigned long long v = 0;
        for (int i = 0; i < digits; ++i)
            v = (v << 4) | hex(text[pos + static_cast<std::size_t>(i)]);
        return v;
    };
    GUID g;
    g.Data1 = static_cast<DWORD>(read(0, 8));
    g.Data2 = static_cast<WORD>(read(9, 4));
    g.Data3 = static_cast<WORD>(read(14, 4));
    constexpr std::size_t kBytePos[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (int i = 0; i < 8; ++i)
        g.Data4[i] = static_cast<BYTE>(read(kBytePos[i], 2));
    return g;
}

}  // namespace platform

inline bool IsEqualGUID(REFGUID a, REFGUID b) { return a == b; }
inline bool IsEqualIID(REFIID a, REFIID b) { return a == b; }
inline bool IsEqualCLSID(REFCLSID a, REFCLSID b) { return a == b; }

// Declares the id of an interface inside its declaration:
//   struct IFoo : IUnknown { DECLARE_INTERFACE_IID(IFoo, "{...}") ... };
// IidOf<IFoo>() then yields it; an interface that forgets the declaration
// fails to compile instead of silently answering with its base's id.
#define DECLARE_INTERFACE_IID(itf, text)                                                                  \
    using InterfaceIidOwner = itf;                                                                         \
    static constexpr IID kIid = ::platform::MakeGuid(text);

template <class T>
constexpr const IID& IidOf()
{
    static_assert(std::is_same_v<typename T::InterfaceIidOwner, T>, "interface without DECLARE_INTERFACE_IID");
    return T::kIid;
}

// Every interface begins with these three methods. Reference counts are
// atomic in every implementation of this layer.
struct IUnknown {
    DECLARE_INTERFACE_IID(IUnknown, "{00000000-0000-0000-C000-000000000046}")
    virtual HRESULT QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

    // Typed form: pp receives the interface of type Q.
    template <class Q>
    HRESULT QueryInterface(Q** pp)
    {
        if (!pp)
            return E_POINTER;
        void* pv = nullptr;
        HRESULT hr = QueryInterface(IidOf<Q>(), &pv);
        *pp = static_cast<Q*>(pv);
        return hr;
    }

protected:
    ~IUnknown() = default;
};

struct IClassFactory : IUnknown {
    DECLARE_INTERFACE_IID(IClassFactory, "{00000001-0000-0000-C000-000000000046}")
    virtual HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) = 0;
    virtual HRESULT LockServer(BOOL fLock) = 0;

protected:
    ~IClassFactory() = default;
};

struct ISupportErrorInfo : IUnknown {
    DECLARE_INTERFACE_IID(ISupportErrorInfo, "{DF0B3D60-548F-101B-8E65-08002B2BD119}")
    virtual HRESULT InterfaceSupportsErrorInfo(REFIID riid) = 0;

protected:
    ~ISupportErrorInfo() = default;
};

inline constexpr IID IID_IUnknown = IUnknown::kIid;
inline constexpr IID IID_IClassFactory = IClassFactory::kIid;
inline constexpr IID IID_ISupportErrorInfo = ISupportErrorInfo::kIid;

// The exported entry points of an in-process server module.
using PFNDLLGETCLASSOBJECT = HRESULT (*)(REFCLSID rclsid, REFIID riid, void** ppv);
using PFNDLLCANUNLOADNOW = HRESULT (*)();

// Creates an object of one class: the shape of every class-table entry and
// of the generic class factory.
using PFNCREATEINSTANCE = HRESULT (*)(IUnknown* pUnkOuter, REFIID riid, void** ppv);
