#include "platform/com/RegistryStore.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/PathUtil.h"
#include "platform/com/ComTypes.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

using Json = nlohmann::json;

Json KeyToJson(const CRegistryKey& key)
{
    Json node = Json::object();
    if (!key.GetValues().empty()) {
        Json values = Json::object();
        for (const auto& [name, value] : key.GetValues())
            values[name] = value;
        node["values"] = std::move(values);
    }
    if (key.HasSubKeys()) {
        Json keys = Json::object();
        for (const std::string& name : key.GetSubKeyNames())
            keys[name] = KeyToJson(*key.FindSubKey(name));
        node["keys"] = std::move(keys);
    }
    return node;
}

bool KeyFromJson(const Json& node, CRegistryKey& key, int depth)
{
    // A tree nested this deep is no registry file of ours.
    if (depth > 512 || !node.is_object())
        return false;
    if (auto it = node.find("values"); it != node.end()) {
        if (!it->is_object())
            return false;
        for (const auto& [name, value] : it->items()) {
            if (!value.is_string())
                return false;
            key.SetValue(name, value.get<std::string>());
        }
    }
    if (auto it = node.find("keys"); it != node.end()) {
        if (!it->is_object())
            return false;
        for (const auto& [name, sub] : it->items()) {
            if (name.empty() || name.find('\\') != std::string::npos)
                return false;
            if (!KeyFromJson(sub, key.CreateSubKey(name), depth + 1))
                return false;
        }
    }
    return true;
}

// An exclusive lock on "<file>.lock" for one read-modify-write; the lock
// file stays, so every process locks the same inode.
class CFileLock {
public:
    explicit CFileLock(const std::string& path)
    {
        m_fd = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (m_fd < 0)
            return;
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(m_fd);
                m_fd = -1;
                return;
            }
        }
    }
    ~CFileLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;
    bool IsLocked() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};


}  // namespace

std::string RegistryRootName(std::string_view root)
{
    static constexpr std::pair<std::string_view, std::string_view> kRoots[] = {
        {"HKCR", "HKEY_CLASSES_ROOT"}, {"HKCU", "HKEY_CURRENT_USER"}, {"HKLM", "HKEY_LOCAL_MACHINE"},
        {"HKU", "HKEY_USERS"},         {"HKCC", "HKEY_CURRENT_CONFIG"},
    };
    RegistryNameLess less;
    for (const auto& [abbr, full] : kRoots) {
        if (!less(root, abbr) && !less(abbr, root))
            return std::string(full);
        if (!less(root, full) && !less(full, root))
            return std::string(full);
    }
    return std::string(root);
}

std::string NormalizeRegistryPath(std::string_view path)
{
    std::vector<std::string_view> parts = SplitRegistryPath(path);
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out += '\\';
        out += i == 0 ? RegistryRootName(parts[i]) : std::string(parts[i]);
    }
    return out;
}

CRegistryStore::CRegistryStore()
    : m_strFilePath(DefaultFilePath())
{
}

CRegistryStore::CRegistryStore(std::string strFilePath)
    : m_strFilePath(std::move(strFilePath))
{
}

std::string CRegistryStore::DefaultFilePath()
{
    if (const char* file = std::getenv("CHRONO_REGISTRY_FILE"); file && *file)
        return file;
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        config = xdg;
    else if (std::string home = platform::GetHomeDirectory(); !home.empty())
        config = home + "/.config";
    else
        config = ".";
    return config + "/chronosets2/registry.json";
}

std::string CRegistryStore::Serialize(const CRegistryKey& root)
{
    // Names and values are UTF-8; anything malformed is replaced rather than
    // making the whole file unwritable.
    return KeyToJson(root).dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

bool CRegistryStore::Parse(std::string_view text, CRegistryKey& root)
{
    Json json = Json::parse(text.begin(), text.end(), nullptr, false);
    if (json.is_discarded())
        return false;
    CRegistryKey parsed;
    if (!KeyFromJson(json, parsed, 0))
        return false;
    root = std::move(parsed);
    return true;
}

HRESULT CRegistryStore::Load(CRegistryKey& root) const
{
    root = CRegistryKey();
    if (!FileExists(m_strFilePath))
        return S_OK;
    std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(m_strFilePath);
    if (!bytes)
        return REGDB_E_READREGDB;
    std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos)
        return S_OK;
    try {
        return Parse(text, root) ? S_OK : REGDB_E_READREGDB;
    } catch (const std::exception&) {
        root = CRegistryKey();
        return REGDB_E_READREGDB;
    }
}

HRESULT CRegistryStore::Update(const std::function<HRESULT(CRegistryKey& root)>& fn)
{
    if (m_strFilePath.empty())
        return REGDB_E_WRITEREGDB;
    try {
        std::error_code ec;
        std::filesystem::path dir = std::filesystem::path(m_strFilePath).parent_path();
        if (!dir.empty())
            std::filesystem::create_directories(dir, ec);
        CFileLock lock(m_strFilePath);
        if (!lock.IsLocked())
            return REGDB_E_WRITEREGDB;
        CRegistryKey root;
        HRESULT hr = Load(root);
        if (FAILED(hr))
            return hr;
        CRegistryKey before = root;
        hr = fn(root);
        if (FAILED(hr))
            return hr;
        if (root == before && FileExists(m_strFilePath))
            return hr;
        if (!WriteFileAtomically(m_strFilePath, Serialize(root)))
            return REGDB_E_WRITEREGDB;
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::exception&) {
        return E_FAIL;
    }
}

bool CRegistryStore::KeyExists(std::string_view path) const
{
    CRegistryKey root;
    return SUCCEEDED(Load(root)) && root.FindPath(NormalizeRegistryPath(path)) != nullptr;
}

bool CRegistryStore::CreateKey(std::string_view path)
{
    std::string full = NormalizeRegistryPath(path);
    if (full.empty())
        return false;
    return SUCCEEDED(Update([&](CRegistryKey& root) {
        root.CreatePath(full);
        return S_OK;
    }));
}

bool CRegistryStore::DeleteKey(std::string_view path)
{
    std::string full = NormalizeRegistryPath(path);
    return Update([&](CRegistryKey& root) { return root.DeletePath(full) ? S_OK : REGDB_E_KEYMISSING; }) == S_OK;
}

bool CRegistryStore::SetValue(std::string_view path, std::string_view name, std::string_view value)
{
    std::string full = NormalizeRegistryPath(path);
    if (full.empty())
        return false;
    return SUCCEEDED(Update([&](CRegistryKey& root) {
        root.CreatePath(full).SetValue(name, value);
        return S_OK;
    }));
}

std::optional<std::string> CRegistryStore::GetValue(std::string_view path, std::string_view name) const
{
    CRegistryKey root;
    if (FAILED(Load(root)))
        return std::nullopt;
    const CRegistryKey* key = root.FindPath(NormalizeRegistryPath(path));
    const std::string* value = key ? key->GetValue(name) : nullptr;
    if (!value)
        return std::nullopt;
    return *value;
}

bool CRegistryStore::DeleteValue(std::string_view path, std::string_view name)
{
    std::string full = NormalizeRegistryPath(path);
    return Update([&](CRegistryKey& root) {
               CRegistryKey* key = root.FindPath(full);
               return key && key->DeleteValue(name) ? S_OK : REGDB_E_KEYMISSING;
           }) == S_OK;
}

std::vector<std::string> CRegistryStore::EnumKeys(std::string_view path) const
{
    CRegistryKey root;
    if (FAILED(Load(root)))
        return {};
    const CRegistryKey* key = root.FindPath(NormalizeRegistryPath(path));
    return key ? key->GetSubKeyNames() : std::vector<std::string>();
}

std::vector<std::pair<std::string, std::string>> CRegistryStore::EnumValues(std::string_view path) const
{
    CRegistryKey root;
    if (FAILED(Load(root)))
        return {};
    const CRegistryKey* key = root.FindPath(NormalizeRegistryPath(path));
    if (!key)
        return {};
    return {key->GetValues().begin(), key->GetValues().end()};
}

}  // namespace platform

