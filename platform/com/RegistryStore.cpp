#include "platform/com/RegistryStore.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/FileWriteLock.h"
#include "platform/base/PathUtil.h"
#include "platform/com/ComProcessState.h"
#include "platform/com/ComTypes.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>

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

// Told to the program that runs the registration, which the module doing it
// cannot reach otherwise; once, however many changes of one registration
// met it.
void Notice(std::string strLine)
{
    CComProcessState& state = GetComProcessState();
    std::lock_guard lock(state.mutex);
    std::vector<std::string>& notices = state.vecRegistryNotices;
    if (std::find(notices.begin(), notices.end(), strLine) == notices.end())
        notices.push_back(std::move(strLine));
}

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
    std::string strWhy;
    return Read(root, strWhy);
}

HRESULT CRegistryStore::Read(CRegistryKey& root, std::string& strWhy) const
{
    root = CRegistryKey();
    if (!FileExists(m_strFilePath))
        return S_OK;
    std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(m_strFilePath);
    if (!bytes) {
        strWhy = std::strerror(errno);
        return REGDB_E_READREGDB;
    }
    std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos)
        return S_OK;
    strWhy = "it is not a registry file";
    try {
        return Parse(text, root) ? S_OK : REGDB_E_READREGDB;
    } catch (const std::exception&) {
        root = CRegistryKey();
        return REGDB_E_READREGDB;
    }
}

HRESULT CRegistryStore::Update(const std::function<HRESULT(CRegistryKey& root)>& fn)
{
    m_strFailure.clear();
    if (m_strFilePath.empty())
        return REGDB_E_WRITEREGDB;
    const auto fail = [this](HRESULT hr, const std::string& strWhy) {
        m_strFailure = "the registry file " + m_strFilePath +
                       (hr == REGDB_E_READREGDB ? " cannot be read: " : " cannot be written: ") + strWhy;
        Notice(m_strFailure);
        return hr;
    };
    try {
        std::error_code ec;
        std::filesystem::path dir = std::filesystem::path(m_strFilePath).parent_path();
        if (!dir.empty() && !std::filesystem::create_directories(dir, ec) && ec)
            return fail(REGDB_E_WRITEREGDB, ec.message());
        // The ini files' rules: one bounded wait, a lock file in the way
        // named, and no lock where the file system gives none.
        const CFileWriteLock lock(m_strFilePath);
        switch (lock.GetState()) {
        case CFileWriteLock::EState::busy:
        case CFileWriteLock::EState::failed:
            return fail(REGDB_E_WRITEREGDB, lock.DescribeFailure());
        case CFileWriteLock::EState::unlocked:
            Notice(DescribeWriteWithoutLock("Registry file \"" + m_strFilePath + "\"", lock.GetErrno()));
            break;
        case CFileWriteLock::EState::held:
            break;
        }
        CRegistryKey root;
        std::string strWhy;
        HRESULT hr = Read(root, strWhy);
        if (FAILED(hr))
            return fail(hr, strWhy);
        CRegistryKey before = root;
        hr = fn(root);
        if (FAILED(hr))
            return hr;
        if (root == before && FileExists(m_strFilePath))
            return hr;
        if (!WriteFileAtomically(m_strFilePath, Serialize(root)))
            return fail(REGDB_E_WRITEREGDB, std::strerror(errno));
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::exception&) {
        return E_FAIL;
    }
}

std::vector<std::string> TakeRegistryNotices()
{
    CComProcessState& state = GetComProcessState();
    std::lock_guard lock(state.mutex);
    return std::exchange(state.vecRegistryNotices, {});
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

