#pragma once
// The host's service objects that a plug-in creates by class id: the logger,
// the localisation (the language of the host's user interface and the
// resource module of a language) and the value formatting. The host program
// serves these classes in the process's in-process class table.

#include "platform/com/Bstr.h"
#include "platform/com/ComTypes.h"

namespace platform {
class CResourceModule;
}

// ---- logger ------------------------------------------------------------------

inline constexpr CLSID CLSID_EtsLogger = platform::MakeGuid("{7525BFB6-F4C1-11D3-B29A-00104B091E6B}");

struct IEtsLogger : IUnknown {
    DECLARE_INTERFACE_IID(IEtsLogger, "{C95E37E8-F4E3-11D3-B29A-00104B091E6B}")
    // One line at a level (2 error .. 6 trace); narrow text.
    virtual HRESULT Log(LONG nLevel, const char* pszText) = 0;
    // Whether lines of the level are wanted: nonzero = wanted.
    virtual HRESULT IsEnabled(LONG nLevel, SHORT* pnEnabled) = 0;

protected:
    ~IEtsLogger() = default;
};

// The logger's naming side: the component its lines come from.
struct IEtsLoggerName : IUnknown {
    DECLARE_INTERFACE_IID(IEtsLoggerName, "{7525BFB5-F4C1-11D3-B29A-00104B091E6B}")
    virtual HRESULT put_ComponentName(BSTR bstrName) = 0;

protected:
    ~IEtsLoggerName() = default;
};

// ---- localisation ---------------------------------------------------------------

inline constexpr CLSID CLSID_EtsLocalisation = platform::MakeGuid("{A5838EB5-D341-4B7B-BB7A-9CA292CDC6AB}");

struct IEtsLocalisation : IUnknown {
    DECLARE_INTERFACE_IID(IEtsLocalisation, "{561BE8B4-694B-424B-AE6F-8F2CF45D4C9C}")
    // The language id of the host's user interface.
    virtual HRESULT GetDefaultLCID(LCID* pLcid) = 0;
    // The resource module of a language for the library at `bstrModulePath`
    // (the library instance): the satellite beside it whose name is the
    // library's name without its extension, the language id as four
    // hexadecimal digits and ".loc". E_FAIL when there is none.
    virtual HRESULT GetResourceModule(BSTR bstrModulePath, LCID lcid, const platform::CResourceModule** ppModule) = 0;

protected:
    ~IEtsLocalisation() = default;
};

// ---- formatting --------------------------------------------------------------------

inline constexpr CLSID CLSID_EtsFormatting = platform::MakeGuid("{F321B709-DEAB-4A72-AD02-C0A25BB3D506}");

struct IEtsFormatting : IUnknown {
    DECLARE_INTERFACE_IID(IEtsFormatting, "{29E5247E-BEC1-4ADA-98C9-F92154DE04E3}")
    // Formats a value the way the open project shows it. The one format
    // known here is "eteC.GroupAddress" (a raw group address in the
    // project's level style: "1/2/3" or "1/515"); others give E_INVALIDARG.
    virtual HRESULT Format(LONG nValue, BSTR bstrFormatName, LONG nFlags, BSTR* pbstrText) = 0;

protected:
    ~IEtsFormatting() = default;
};
