#pragma once
// The host stand-in's project file: the whole project database as JSON
// (schema in PROJECT_FORMAT.md beside this file).

#include "platform/host/HostNodes.h"

#include <string>
#include <string_view>

namespace platform::host {

inline constexpr char kszProjectFormat[] = "chronosets2-host-project";
inline constexpr int kProjectFormatVersion = 1;

// Parses a project file's text into `data` (replaced only on success).
// False with a message naming the place of the first fault otherwise.
bool ParseHostProject(std::string_view text, HostData& data, std::string& strError);

// The file text of the data, indented, ending with a line feed.
std::string FormatHostProject(const HostData& data);
// The same without the id counter: what the project holds.
std::string FormatHostProjectContent(const HostData& data);

}  // namespace platform::host
