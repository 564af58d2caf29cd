#include "platform/com/RegistryKey.h"

#include <algorithm>

namespace platform {

namespace {

char Fold(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool RegistryNameLess::operator()(std::string_view a, std::string_view b) const
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(Fold(x)) < static_cast<unsigned char>(Fold(y));
    });
}

std::vector<std::string_view> SplitRegistryPath(std::string_view path)
{
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        std::size_t sep = path.find('\\');
        std::string_view part = path.substr(0, sep);
        if (!part.empty())
            parts.push_back(part);
        if (sep == std::string_view::npos)
            break;
        path.remove_prefix(sep + 1);
    }
    return parts;
}

CRegistryKey::CRegistryKey(std::string strName)
    : m_strName(std::move(strName))
{
}

CRegistryKey::CRegistryKey(const CRegistryKey& other)
    : m_strName(other.m_strName)
    , m_mapValues(other.m_mapValues)
{
    for (const auto& [name, key] : other.m_mapSubKeys)
        m_mapSubKeys.emplace(name, std::make_unique<CRegistryKey>(*key));
}

CRegistryKey& CRegistryKey::operator=(const CRegistryKey& other)
{
    if (this != &other) {
        CRegistryKey copy(other);
        *this = std::move(copy);
    }
    return *this;
}

CRegistryKey* CRegistryKey::FindSubKey(std::string_view name)
{
    auto it = m_mapSubKeys.find(name);
    return it == m_mapSubKeys.end() ? nullptr : it->second.get();
}

const CRegistryKey* CRegistryKey::FindSubKey(std::string_view name) const
{
    auto it = m_mapSubKeys.find(name);
    return it == m_mapSubKeys.end() ? nullptr : it->second.get();
}

CRegistryKey& CRegistryKey::CreateSubKey(std::string_view name)
{
    auto it = m_mapSubKeys.find(name);
    if (it == m_mapSubKeys.end())
        it = m_mapSubKeys.emplace(std::string(name), std::make_unique<CRegistryKey>(std::string(name))).first;
    return *it->second;
}

bool CRegistryKey::DeleteSubKey(std::string_view name)
{
    auto it = m_mapSubKeys.find(name);
    if (it == m_mapSubKeys.end())
        return false;
    m_mapSubKeys.erase(it);
    return true;
}

std::vector<std::string> CRegistryKey::GetSubKeyNames() const
{
    std::vector<std::string> names;
    names.reserve(m_mapSubKeys.size());
    for (const auto& entry : m_mapSubKeys)
        names.push_back(entry.second->m_strName);
    return names;
}

CRegistryKey* CRegistryKey::FindPath(std::string_view path)
{
    CRegistryKey* key = this;
    for (std::string_view part : SplitRegistryPath(path)) {
        key = key->FindSubKey(part);
        if (!key)
            return nullptr;
    }
    return key;
}

const CRegistryKey* CRegistryKey::FindPath(std::string_view path) const
{
    return const_cast<CRegistryKey*>(this)->FindPath(path);
}

CRegistryKey& CRegistryKey::CreatePath(std::string_view path)
{
    CRegistryKey* key = this;
    for (std::string_view part : SplitRegistryPath(path))
        key = &key->CreateSubKey(part);
    return *key;
}

bool CRegistryKey::DeletePath(std::string_view path)
{
    std::vector<std::string_view> parts = SplitRegistryPath(path);
    if (parts.empty())
        return false;
    CRegistryKey* parent = this;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        parent = parent->FindSubKey(parts[i]);
        if (!parent)
            return false;
    }
    return parent->DeleteSubKey(parts.back());
}

void CRegistryKey::SetValue(std::string_view name, std::string_view value)
{
    auto it = m_mapValues.find(name);
    if (it == m_mapValues.end())
        m_mapValues.emplace(std::string(name), std::string(value));
    else
        it->second = std::string(value);
}

const std::string* CRegistryKey::GetValue(std::string_view name) const
{
    auto it = m_mapValues.find(name);
    return it == m_mapValues.end() ? nullptr : &it->second;
}

bool CRegistryKey::DeleteValue(std::string_view name)
{
    auto it = m_mapValues.find(name);
    if (it == m_mapValues.end())
        return false;
    m_mapValues.erase(it);
    return true;
}

bool CRegistryKey::operator==(const CRegistryKey& other) const
{
    if (m_strName != other.m_strName || m_mapValues != other.m_mapValues ||
        m_mapSubKeys.size() != other.m_mapSubKeys.size())
        return false;
    auto a = m_mapSubKeys.begin();
    for (auto b = other.m_mapSubKeys.begin(); b != other.m_mapSubKeys.end(); ++a, ++b) {
        if (!(*a->second == *b->second))
            return false;
    }
    return true;
}

}  // namespace platform
