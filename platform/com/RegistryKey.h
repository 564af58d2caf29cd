#pragma once
// One key of the registry tree: named string values (the default value has
// the empty name) and subkeys. Names of keys and values compare without
// regard to ASCII case and keep the case they were first written with.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct RegistryNameLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

class CRegistryKey {
public:
    explicit CRegistryKey(std::string strName = {});
    CRegistryKey(const CRegistryKey& other);
    CRegistryKey& operator=(const CRegistryKey& other);
    CRegistryKey(CRegistryKey&&) noexcept = default;
    CRegistryKey& operator=(CRegistryKey&&) noexcept = default;

    const std::string& GetName() const { return m_strName; }

    CRegistryKey* FindSubKey(std::string_view name);
    const CRegistryKey* FindSubKey(std::string_view name) const;
    // The subkey, made when missing.
    CRegistryKey& CreateSubKey(std::string_view name);
    // Removes the subkey with everything below it; false when there is none.
    bool DeleteSubKey(std::string_view name);
    bool HasSubKeys() const { return !m_mapSubKeys.empty(); }
    std::vector<std::string> GetSubKeyNames() const;

    // Paths are key names joined by '\'; an empty path is this key.
    CRegistryKey* FindPath(std::string_view path);
    const CRegistryKey* FindPath(std::string_view path) const;
    CRegistryKey& CreatePath(std::string_view path);
    bool DeletePath(std::string_view path);

    void SetValue(std::string_view name, std::string_view value);
    const std::string* GetValue(std::string_view name) const;
    bool DeleteValue(std::string_view name);
    const std::map<std::string, std::string, RegistryNameLess>& GetValues() const { return m_mapValues; }

    bool operator==(const CRegistryKey& other) const;

private:
    std::string m_strName;
    std::map<std::string, std::string, RegistryNameLess> m_mapValues;
    std::map<std::string, std::unique_ptr<CRegistryKey>, RegistryNameLess> m_mapSubKeys;
};

// The path split at '\', empty parts dropped.
std::vector<std::string_view> SplitRegistryPath(std::string_view path);

}  // namespace platform
