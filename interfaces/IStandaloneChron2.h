#pragma once
// The standalone entry of the plug-in library, which the launcher creates
// and starts. Declared apart so the launcher needs nothing else of the
// library.

#include "platform/com/Bstr.h"
#include "platform/com/ComTypes.h"

struct IStandaloneChron2 : IUnknown {
    DECLARE_INTERFACE_IID(IStandaloneChron2, "{046C6ACA-B0A5-4DAA-AD4F-9CB1DDACD2A6}")
    // Runs the editor with its log file; returns the main window's modal
    // result (1 or 2) or a failure code.
    virtual HRESULT Start(BSTR bstrLogFile) = 0;

protected:
    ~IStandaloneChron2() = default;
};

inline constexpr CLSID CLSID_StandaloneChron2 = platform::MakeGuid("{6D6A4DFC-4D63-4ea7-8FAE-893D8BB6E22F}");
inline constexpr CLSID CLSID_DeviceUI2 = platform::MakeGuid("{712CC3F3-3BAB-4646-9EC4-0725857FDF6F}");
inline constexpr GUID LIBID_Vek_ZR02Lib = platform::MakeGuid("{A713B3DD-CB32-40BD-95DF-DAE448762C51}");
