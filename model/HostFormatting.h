#pragma once
// The host's formatting object, which formats values the way the host
// project shows them; the settings ask it how a group address looks in the
// current project. The COM layer installs a creator that makes the host
// object (class kClsidHostFormatting, interface kIidHostFormatting) and
// adapts it; without a creator, or when the creator gives nothing, the object
// counts as not available.

#include "platform/base/WinTypes.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

inline constexpr char kClsidHostFormatting[] = "{F321B709-DEAB-4A72-AD02-C0A25BB3D506}";
inline constexpr char kIidHostFormatting[] = "{29E5247E-BEC1-4ADA-98C9-F92154DE04E3}";

// The host's format name for group addresses.
inline constexpr char kszGroupAddressFormat[] = "eteC.GroupAddress";

class IHostFormatting {
public:
    virtual ~IHostFormatting() = default;

    // Formats the 32-bit integer `value` with the host's format `formatName`;
    // `flags` is passed on unchanged.
    virtual HRESULT Format(LONG value, std::string_view formatName, LONG flags, std::string& text) = 0;
};

using HostFormattingCreator = std::function<std::unique_ptr<IHostFormatting>()>;

// Installs the creator (an empty one removes it); gives back the one before.
HostFormattingCreator SetHostFormattingCreator(HostFormattingCreator creator);

// A new formatting object, or null when none can be created.
std::unique_ptr<IHostFormatting> CreateHostFormatting();
