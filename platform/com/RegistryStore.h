#pragma once
// The registry: one tree of keys kept in a JSON file, so that separate
// processes (the registration program, the launcher, the host program) see
// each other's entries. Every read loads the file afresh; every change is a
// read-modify-write under the lock the ini files take too
// (CFileWriteLock: "<file>.lock", waited for three seconds at most, once
// while another process keeps it; none where the file system gives none)
// and replaces the file atomically, so a failure never leaves half a file.
// A change that fails, and one made without a lock, is told to the program
// through TakeRegistryNotices: the module that registers itself cannot say
// it otherwise.
//
// File: $CHRONO_REGISTRY_FILE, else $XDG_CONFIG_HOME/chronosets2/registry.json,
// else ~/.config/chronosets2/registry.json.
//
// Paths start with a root key; "HKCR", "HKCU", "HKLM", "HKU" and "HKCC"
// stand for the full root names (HKEY_CLASSES_ROOT ...). Parts are joined
// by '\'.

#include "platform/base/WinTypes.h"
#include "platform/com/RegistryKey.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// The full root name of an abbreviation ("HKCR" -> "HKEY_CLASSES_ROOT"),
// the name itself otherwise.
std::string RegistryRootName(std::string_view root);
// The path with its root written in full.
std::string NormalizeRegistryPath(std::string_view path);

class CRegistryStore {
public:
    // The file named by the environment at construction.
    CRegistryStore();
    explicit CRegistryStore(std::string strFilePath);

    static std::string DefaultFilePath();
    const std::string& GetFilePath() const { return m_strFilePath; }

    // The whole tree. A missing file is an empty tree; a file that cannot be
    // read or is not a registry file gives REGDB_E_READREGDB.
    HRESULT Load(CRegistryKey& root) const;
    // Changes the tree in one step: fn works on the current tree; when it
    // fails, its result is returned and nothing is written. A file that is
    // not a registry file is never overwritten (REGDB_E_READREGDB); a failed
    // write gives REGDB_E_WRITEREGDB and leaves the old file. fn must not
    // change the store itself (the lock is held while it runs).
    HRESULT Update(const std::function<HRESULT(CRegistryKey& root)>& fn);
    // Why the last Update failed to read or write the file, in words ("the
    // registry file F cannot be written: No space left on device"); empty
    // when it did not.
    const std::string& GetFailureText() const { return m_strFailure; }

    bool KeyExists(std::string_view path) const;
    bool CreateKey(std::string_view path);
    // The key with everything below it; false when it does not exist.
    bool DeleteKey(std::string_view path);
    // Creates the key when missing.
    bool SetValue(std::string_view path, std::string_view name, std::string_view value);
    std::optional<std::string> GetValue(std::string_view path, std::string_view name) const;
    bool DeleteValue(std::string_view path, std::string_view name);
    std::vector<std::string> EnumKeys(std::string_view path) const;
    std::vector<std::pair<std::string, std::string>> EnumValues(std::string_view path) const;

    // The tree as file text and back (false when the text is not a tree).
    static std::string Serialize(const CRegistryKey& root);
    static bool Parse(std::string_view text, CRegistryKey& root);

private:
    HRESULT Read(CRegistryKey& root, std::string& strWhy) const;

    std::string m_strFilePath;
    std::string m_strFailure;
};

// What the registry's changes in this process had to tell since the last
// call, one line each: a change that failed, with its reason, and one made
// without a lock. Shared by the program and the modules it loads.
std::vector<std::string> TakeRegistryNotices();

}  // namespace platform
