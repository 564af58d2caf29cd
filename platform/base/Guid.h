#pragma once
// Class and interface ids: 16 bytes, written as braced text
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".

#include "platform/base/WinTypes.h"

#include <compare>
#include <optional>
#include <string>
#include <string_view>

struct GUID {
    DWORD Data1 = 0;
    WORD Data2 = 0;
    WORD Data3 = 0;
    BYTE Data4[8] = {};

    auto operator<=>(const GUID&) const = default;
    bool operator==(const GUID&) const = default;
};

using CLSID = GUID;
using IID = GUID;

inline constexpr GUID GUID_NULL{};

namespace platform {

// Parses braced text without regard to case; nothing when malformed.
std::optional<GUID> ParseGuid(std::string_view text);

// Braced upper-case text.
std::string FormatGuid(const GUID& guid);

// For ids written in code: the braced or bare text must be well-formed.
GUID GuidFromString(std::string_view text);

bool IsNullGuid(const GUID& guid);

}  // namespace platform
