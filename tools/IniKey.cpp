// inikey: reads or sets keys of an ini file through the program's own ini
// engine, so that scripts see and write the settings exactly as the editor
// does (sections and keys without regard to case, the first of equal
// sections, every other line kept, the file replaced atomically).
//
//   inikey FILE SECTION KEY                 prints the value (empty when missing)
//   inikey FILE SECTION KEY=VALUE...        sets each key in the order given
//
// Exit codes: 0 done, 1 a write was refused (the file keeps what the earlier
// keys wrote), or the file is there but cannot be read (a folder, no
// permission) or is too large to be a settings file, 2 bad arguments. Either
// failure says why on standard error. A write that went without a lock,
// which the file system does not give, is done but warned of there too: a
// script is to know that another program's change may be lost.

#include "platform/base/FileSizeLimit.h"
#include "platform/base/PrivateProfile.h"
#include "tools/CommandLine.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: inikey FILE SECTION KEY\n       inikey FILE SECTION KEY=VALUE...\n");
    return 2;
}

// The engine neither reads nor writes a file that large; a script must not
// take its silence for an empty key.
bool SaysTooLarge(const std::string& strPath)
{
    if (!platform::TakeOversizedProfileNotice(strPath))
        return false;
    std::fprintf(stderr, "inikey: %s is larger than %zu bytes, too large to be a settings file\n", strPath.c_str(),
                 platform::kMaxProfileSize);
    return true;
}

// Said however the writes ended: what was written may have crossed another
// program's write.
void WarnOfWritesWithoutLock(const std::string& strPath)
{
    int nErrno = 0;
    if (platform::TakeUnlockedProfileWriteNotice(strPath, nErrno))
        std::fprintf(stderr, "inikey: %s\n", platform::DescribeUnlockedProfileWrite(strPath, nErrno).c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    platform::FailWritesPastFileSizeLimit();
    if (argc < 4 || IsOptionArgument(argv[1]))
        return Usage();
    const std::string strPath = argv[1];
    const std::string strSection = argv[2];

    if (argc == 4 && std::strchr(argv[3], '=') == nullptr) {
        const std::string strValue = platform::GetPrivateProfileString(strSection, argv[3], "", strPath);
        if (SaysTooLarge(strPath))
            return 1;
        // A file that is there but cannot be read is no missing key.
        int nErrno = 0;
        if (platform::TakeUnreadableProfileNotice(strPath, nErrno)) {
            std::fprintf(stderr, "inikey: cannot read %s: %s\n", strPath.c_str(), std::strerror(nErrno));
            return 1;
        }
        std::printf("%s\n", strValue.c_str());
        return 0;
    }
    for (int i = 3; i < argc; ++i) {
        const char* pszEq = std::strchr(argv[i], '=');
        if (pszEq == nullptr || pszEq == argv[i])
            return Usage();
    }
    // A key holds no '=', so the first one ends it; the value may hold more.
    for (int i = 3; i < argc; ++i) {
        const std::string strEntry = argv[i];
        const std::size_t nEq = strEntry.find('=');
        const std::string strKey = strEntry.substr(0, nEq);
        const std::string strValue = strEntry.substr(nEq + 1);
        if (!platform::WritePrivateProfileString(strSection, strKey.c_str(), strValue.c_str(), strPath)) {
            WarnOfWritesWithoutLock(strPath);
            if (SaysTooLarge(strPath))
                return 1;
            std::string strReason;
            if (platform::TakeFailedProfileWriteNotice(strPath, strReason))
                std::fprintf(stderr, "inikey: cannot set %s in [%s] of %s: %s\n", strKey.c_str(), strSection.c_str(),
                             strPath.c_str(), strReason.c_str());
            else
                std::fprintf(stderr, "inikey: cannot set %s in [%s] of %s: it would not read back as given\n",
                             strKey.c_str(), strSection.c_str(), strPath.c_str());
            return 1;
        }
    }
    WarnOfWritesWithoutLock(strPath);
    return 0;
}
