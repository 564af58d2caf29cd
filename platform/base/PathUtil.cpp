#include "platform/base/PathUtil.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace platform {

std::string GetProgramPath()
{
    std::vector<char> buf(PATH_MAX);
    for (;;) {
        ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < buf.size())
            return std::string(buf.data(), static_cast<std::size_t>(n));
        buf.resize(buf.size() * 2);
    }
}

std::string GetModulePathOf(const void* address)
{
    Dl_info info {};
    if (!address || ::dladdr(address, &info) == 0 || !info.dli_fname)
        return {};
    std::string path = info.dli_fname;
    // The main program is reported by the name it was started with, which
    // may hold no directory at all.
    if (path.find('/') == std::string::npos)
        return GetProgramPath();
    if (path.front() != '/') {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            path = real;
            ::free(real);
        }
    }
    return path;
}

bool IsPathSeparator(char c)
{
    return c == '/' || c == '\\';
}

static std::size_t LastSeparator(std::string_view path)
{
    return path.find_last_of("/\\");
}

std::string PathDirectory(std::string_view path)
{
    std::size_t pos = LastSeparator(path);
    return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos));
}

std::string PathFileName(std::string_view path)
{
    std::size_t pos = LastSeparator(path);
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string PathExtension(std::string_view path)
{
    std::string name = PathFileName(path);
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string PathStem(std::string_view path)
{
    std::string name = PathFileName(path);
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string PathJoinSlash(std::string_view dir, std::string_view name)
{
    if (dir.empty())
        return std::string(name);
    std::string out(dir);
    if (!IsPathSeparator(out.back()))
        out += '/';
    out += name;
    return out;
}

std::string MakeFileName(std::string_view text, std::size_t nMaxBytes)
{
    std::string name(text.substr(0, nMaxBytes));
    if (name.size() < text.size()) {
        // Never half a UTF-8 character at the end.
        std::size_t n = name.size();
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
        name.resize(n);
    }
    for (char& c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (IsPathSeparator(c) || b < 0x20 || b == 0x7F)
            c = '_';
    }
    if (!name.empty() && name.front() == '.')
        name.front() = '_';
    return name;
}

std::string GetHomeDirectory() {
    if (const char* pszHome = std::getenv("HOME"); pszHome != nullptr && *pszHome != '\0') {
        return pszHome;
    }
    if (const passwd* pPassword = ::getpwuid(::getuid()); pPassword != nullptr && pPassword->pw_dir != nullptr) {
        return pPassword->pw_dir;
    }
    return {};
}

}  // namespace platform
