#include "model/DptManager.h"

#include "common/Log.h"

#include <utility>

CDptManager g_DptManager;

namespace {

constexpr WORD kMainTypes[7] = {1, 2, 5, 6, 7, 8, 9};

// The sub type each main type falls back to when asked for one it does not
// know: the plain raw-value entry, so that any value still shows unscaled.
constexpr WORD kPreferredSubTypes[7] = {2, 2, 10, 10, 1, 1, 0};

struct BuiltInEntry
{
    WORD wMainType;
    WORD wSubType;
    const char* pszName;
    double dMin;
    double dMax;
    const char* pszUnit;
    int nScaleFlag;
};

const BuiltInEntry kBuiltInTable[] = {
    {1, 2, "1 Bit", 0, 1, "", 0},
    {2, 2, "2 Bit", 0, 3, "", 0},
    {5, 1, "1 Byte vorzeichenlos", 0, 100, "%", 1},
    {5, 10, "1 Byte vorzeichenlos", 0, 255, "", 0},
    {6, 10, "1 Byte vorzeichenbehaftet", -128, 127, "", 0},
    {7, 1, "2 Byte vorzeichenlos", 0, 65535, "", 0},
    {8, 1, "2 Byte vorzeichenbehaftet", -32768, 32767, "", 0},
    {9, 0, "2 Byte Float", -671088.64, 670760.96, "", 0},
};

}  // namespace

CDptSubType* CDptManager::SubTypeMap::Lookup(WORD wSubType) const
{
    for (const auto& pEntry : m_arrEntries)
        if (pEntry->GetSubType() == wSubType)
            return pEntry.get();
    return nullptr;
}

bool CDptManager::SubTypeMap::Add(std::unique_ptr<CDptSubType> pEntry)
{
    if (!pEntry || Lookup(pEntry->GetSubType()))
        return false;
    if (pEntry->GetSubType() == m_wPreferredSubType)
        m_arrEntries.insert(m_arrEntries.begin(), std::move(pEntry));
    else
        m_arrEntries.push_back(std::move(pEntry));
    return true;
}

CDptSubType* CDptManager::SubTypeMap::GetAt(std::size_t nIndex) const
{
    return nIndex < m_arrEntries.size() ? m_arrEntries[nIndex].get() : nullptr;
}

CDptManager::CDptManager()
    : m_arrMaps{SubTypeMap(kPreferredSubTypes[0]), SubTypeMap(kPreferredSubTypes[1]),
                SubTypeMap(kPreferredSubTypes[2]), SubTypeMap(kPreferredSubTypes[3]),
                SubTypeMap(kPreferredSubTypes[4]), SubTypeMap(kPreferredSubTypes[5]),
                SubTypeMap(kPreferredSubTypes[6])}
{
}

CDptManager::~CDptManager()
{
    RemoveAll();
}

int CDptManager::MapIndex(WORD wMainType)
{
    for (int i = 0; i < 7; ++i)
        if (kMainTypes[i] == wMainType)
            return i;
    return -1;
}

int CDptManager::Init()
{
    RemoveAll();
    int nResult = 1;
    for (const BuiltInEntry& entry : kBuiltInTable) {
        if (!AddSubTypeFromValues(entry.wMainType, entry.wSubType, entry.pszName, entry.dMin, entry.dMax,
                                  entry.pszUnit, entry.nScaleFlag)) {
            LOG_ERROR("CDptManager could not create CDptSubGroup object for MainType=%d, Subtype=%d",
                      static_cast<int>(entry.wMainType), static_cast<int>(entry.wSubType));
            nResult = 0;
        }
    }
    return nResult;
}

CDptSubType* CDptManager::AddSubTypeFromValues(WORD wMainType, WORD wSubType, const std::string& strName,
                                               double dMin, double dMax, const std::string& strUnit,
                                               int nScaleFlag)
{
    DptSubTypeInfo info;
    info.wMainType = wMainType;
    info.wSubType = wSubType;
    info.strName = strName;
    info.dMin = dMin;
    info.dMax = dMax;
    info.strUnit = strUnit;
    info.nScaleFlag = nScaleFlag;
    return AddSubType(info);
}

CDptSubType* CDptManager::AddSubType(const DptSubTypeInfo& info)
{
    SubTypeMap* pMap = GetMainTypeMap(info.wMainType);
    if (!pMap) {
        LOG_ERROR("Trying to access unknown main data type: %d", static_cast<int>(info.wMainType));
        return nullptr;
    }
    if (pMap->Lookup(info.wSubType))
        return nullptr;
    auto pEntry = std::make_unique<CDptSubType>(info.wSubType, info.strName, info.strUnit, info.dMin, info.dMax,
                                                info.nScaleFlag);
    CDptSubType* pResult = pEntry.get();
    pMap->Add(std::move(pEntry));
    return pResult;
}

CDptManager::SubTypeMap* CDptManager::GetMainTypeMap(WORD wMainType)
{
    const int nIndex = MapIndex(wMainType);
    return nIndex < 0 ? nullptr : &m_arrMaps[static_cast<std::size_t>(nIndex)];
}

const CDptManager::SubTypeMap* CDptManager::GetMainTypeMap(WORD wMainType) const
{
    const int nIndex = MapIndex(wMainType);
    return nIndex < 0 ? nullptr : &m_arrMaps[static_cast<std::size_t>(nIndex)];
}

CDptSubType* CDptManager::GetObject(WORD wMainType, WORD wSubType) const
{
    const SubTypeMap* pMap = GetMainTypeMap(wMainType);
    if (!pMap) {
        LOG_ERROR("Trying to access unknown main data type: %d", static_cast<int>(wMainType));
        return nullptr;
    }
    if (CDptSubType* pEntry = pMap->Lookup(wSubType))
        return pEntry;
    if (CDptSubType* pFirst = pMap->GetFirst())
        return pFirst;
    LOG_ERROR("CDptManager::GetObject can't find main type = %d, sub type = %d", static_cast<int>(wMainType),
              static_cast<int>(wSubType));
    return nullptr;
}

CDptManager::Position CDptManager::GetFirstSubTypePosition(WORD wMainType) const
{
    const SubTypeMap* pMap = GetMainTypeMap(wMainType);
    if (!pMap) {
        LOG_ERROR("Trying to access unknown main data type: %d", static_cast<int>(wMainType));
        return 0;
    }
    return pMap->IsEmpty() ? 0 : 1;
}

CDptSubType* CDptManager::GetNextSubType(Position& pos, WORD wMainType) const
{
    const SubTypeMap* pMap = GetMainTypeMap(wMainType);
    if (!pMap) {
        LOG_ERROR("Trying to access unknown main data type: %d", static_cast<int>(wMainType));
        pos = 0;
        return nullptr;
    }
    CDptSubType* pEntry = pos == 0 ? nullptr : pMap->GetAt(pos - 1);
    pos = (pEntry && pos < pMap->GetCount()) ? pos + 1 : 0;
    return pEntry;
}

void CDptManager::RemoveMainType(WORD wMainType)
{
    SubTypeMap* pMap = GetMainTypeMap(wMainType);
    if (!pMap) {
        LOG_ERROR("Trying to access unknown main data type: %d", static_cast<int>(wMainType));
        return;
    }
    pMap->RemoveAll();
}

void CDptManager::RemoveAll()
{
    for (WORD wMainType : kMainTypes)
        RemoveMainType(wMainType);
}
