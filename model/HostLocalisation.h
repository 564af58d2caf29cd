#pragma once
// The host's localisation object, as the settings ask it for the language of
// the host's user interface. The COM layer installs a creator that makes the
// host object (class kClsidHostLocalisation, interface
// kIidHostLocalisation) and adapts it; without a creator, or when the creator
// gives nothing, the object counts as not available and the callers fall back
// to their own settings.

#include "platform/base/WinTypes.h"

namespace platform {
class CResourceModule;
}

#include <functional>
#include <memory>

inline constexpr char kClsidHostLocalisation[] = "{A5838EB5-D341-4B7B-BB7A-9CA292CDC6AB}";
inline constexpr char kIidHostLocalisation[] = "{561BE8B4-694B-424B-AE6F-8F2CF45D4C9C}";

class IHostLocalisation {
public:
    virtual ~IHostLocalisation() = default;

    // The language id of the host's user interface.
    virtual HRESULT GetDefaultLCID(LCID& lcid) = 0;
    // The resource module the host keeps for a language.
    virtual HRESULT GetResourceModule(LCID /*lcid*/, const platform::CResourceModule*& /*pModule*/)
    {
        return E_NOTIMPL;
    }
};

using HostLocalisationCreator = std::function<std::unique_ptr<IHostLocalisation>()>;

// Installs the creator (an empty one removes it); gives back the one before.
HostLocalisationCreator SetHostLocalisationCreator(HostLocalisationCreator creator);

// A new localisation object, or null when none can be created.
std::unique_ptr<IHostLocalisation> CreateHostLocalisation();
