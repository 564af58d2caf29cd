#pragma once
// Interfaces and class ids shared by the object-layer tests and the test
// server library.

#include "platform/com/Bstr.h"
#include "platform/com/ComTypes.h"

struct IGreeter : IUnknown {
    DECLARE_INTERFACE_IID(IGreeter, "{8D1E3C52-0B7A-4F0E-9A51-3C2B7E6D4A01}")
    // "Hallo, <name>!"
    virtual HRESULT Greet(BSTR bstrName, BSTR* pbstrGreeting) = 0;
};

struct ICounter : IUnknown {
    DECLARE_INTERFACE_IID(ICounter, "{8D1E3C52-0B7A-4F0E-9A51-3C2B7E6D4A02}")
    virtual HRESULT Increment(LONG* plValue) = 0;
};

inline constexpr CLSID CLSID_ModuleGreeter = platform::MakeGuid("{8D1E3C52-0B7A-4F0E-9A51-3C2B7E6D4B01}");
// Registered by the test program, created from inside the test library.
inline constexpr CLSID CLSID_ProgramCounter = platform::MakeGuid("{8D1E3C52-0B7A-4F0E-9A51-3C2B7E6D4B02}");

// Extra entry points of the test library.
extern "C" {
using PFNTESTMODULECREATE = HRESULT (*)(REFCLSID rclsid, REFIID riid, void** ppv);
using PFNTESTMODULELOCKCOUNT = LONG (*)();
}
