#pragma once
// Path basics. Splitting accepts both '/' and '\' as separators, since paths
// may come from files written on the original platform; joining uses '/'.

#include <string>
#include <string_view>

namespace platform {

// The running program's full path (from /proc/self/exe), empty on failure.
std::string GetProgramPath();

// The full path of the executable or shared library that holds `address`
// (a function or object of that module), empty on failure.
std::string GetModulePathOf(const void* address);

// The user's home folder ($HOME, else the password database), empty when
// neither knows one.
std::string GetHomeDirectory();

bool IsPathSeparator(char c);

// Everything before the last separator ("" when there is none).
std::string PathDirectory(std::string_view path);
// Everything after the last separator.
std::string PathFileName(std::string_view path);
// The text after the last '.' of the file name, "" when it has none.
std::string PathExtension(std::string_view path);
// The file name without its extension.
std::string PathStem(std::string_view path);
// dir + '/' + name, without doubling a separator; `name` alone when dir is empty.
std::string PathJoinSlash(std::string_view dir, std::string_view name);

// A text, such as a document's name, as one file name: each separator ('/'
// and '\\', which the splitting above takes for one too) and control
// character as '_', and a leading '.' as well, which would hide the file;
// cut to nMaxBytes bytes, never inside a UTF-8 character.
std::string MakeFileName(std::string_view text, std::size_t nMaxBytes);

}  // namespace platform
