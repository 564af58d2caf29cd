#pragma once
// For the targets whose reader takes a file: one folder per fuzzing process
// (on /dev/shm when there is one, so that the atomic writes' fsync costs
// nothing), removed at exit, and the input written into a file there.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fuzzfiles {

inline const std::filesystem::path& Folder()
{
    // Never destroyed: the handler that removes it runs after the statics'
    // destructors.
    static const std::filesystem::path* const s_pFolder = [] {
        std::string strTemplate = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        strTemplate += "/chrono-fuzz-XXXXXX";
        if (::mkdtemp(strTemplate.data()) == nullptr)
            std::abort();
        auto* pFolder = new std::filesystem::path(strTemplate);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(Folder(), ec);
        });
        return pFolder;
    }();
    return *s_pFolder;
}

inline std::string PathOf(const char* pszName)
{
    return (Folder() / pszName).string();
}

// Replaces the file with the bytes; the path.
inline std::string WriteInput(const char* pszName, const std::uint8_t* pData, std::size_t nSize)
{
    const std::string strPath = PathOf(pszName);
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(pData), static_cast<std::streamsize>(nSize));
    out.close();
    if (!out)
        std::abort();
    return strPath;
}

}  // namespace fuzzfiles
