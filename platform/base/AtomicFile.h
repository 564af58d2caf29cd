#pragma once
// Whole-file reads and crash-safe whole-file writes. Every file the system
// writes goes through WriteFileAtomically, so a failure never leaves half a
// file behind: the bytes go to a temporary file beside the target, which is
// flushed and then renamed over the old one.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The file's bytes, or nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

// True when the new content is in place. On false the old file is untouched.
bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size);
bool WriteFileAtomically(const std::string& path, std::string_view text);

bool FileExists(const std::string& path);

}  // namespace platform
