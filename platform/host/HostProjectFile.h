#pragma once
// The host stand-in's project file: the whole project database as JSON
// (schema in PROJECT_FORMAT.md beside this file).

#include "platform/host/HostNodes.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::host {

inline constexpr char kszProjectFormat[] = "chronosets2-host-project";
inline constexpr int kProjectFormatVersion = 1;

// What a project may hold. A larger file is refused before it is read, a
// longer name or other text, or a longer parameter text, with its place;
// lengths count characters. The host's objects take no longer texts either,
// so every project the host writes can be read again.
inline constexpr std::size_t kMaxProjectFileSize = 32u << 20;
inline constexpr std::size_t kMaxProjectTextLength = 1024;
inline constexpr std::size_t kMaxParameterTextLength = 16384;
// Why a file over the size limit is refused.
inline constexpr char kszProjectFileTooLarge[] = "larger than a project file may be (32 MiB)";

// The characters of a UTF-8 text.
std::size_t CountCharacters(std::string_view text);

// Parses a project file's text into `data` (replaced only on success).
// False with a message naming the place of the first fault otherwise.
bool ParseHostProject(std::string_view text, HostData& data, std::string& strError);

// The file text of the data, indented, ending with a line feed.
std::string FormatHostProject(const HostData& data);
// The same without the id counter: what the project holds.
std::string FormatHostProjectContent(const HostData& data);

}  // namespace platform::host
