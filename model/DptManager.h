#pragma once
// The registry of the KNX datapoint types the device supports, one map per
// main type (1, 2, 5, 6, 7, 8, 9) from sub type number to its entry. Every
// value field of the editors is formatted and checked through it.

#include "model/DptSubType.h"
#include "platform/base/WinTypes.h"

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// The single values of one registry entry, as AddSubType takes them.
struct DptSubTypeInfo
{
    WORD wMainType = 0;
    WORD wSubType = 0;
    std::string strName;
    double dMin = 0.0;
    double dMax = 0.0;
    std::string strUnit;
    int nScaleFlag = 0;
};

class CDptManager
{
public:
    // The entries of one main type. The main type's preferred sub type (the
    // one an unknown sub type falls back to) always stands first; the others
    // follow in the order they were registered.
    class SubTypeMap
    {
    public:
        explicit SubTypeMap(WORD wPreferredSubType) : m_wPreferredSubType(wPreferredSubType) {}

        CDptSubType* Lookup(WORD wSubType) const;
        // Takes ownership; false (and the entry is dropped) when the sub type
        // is already held.
        bool Add(std::unique_ptr<CDptSubType> pEntry);
        void RemoveAll() { m_arrEntries.clear(); }
        std::size_t GetCount() const { return m_arrEntries.size(); }
        bool IsEmpty() const { return m_arrEntries.empty(); }
        CDptSubType* GetAt(std::size_t nIndex) const;
        CDptSubType* GetFirst() const { return IsEmpty() ? nullptr : m_arrEntries.front().get(); }

    private:
        WORD m_wPreferredSubType;
        std::vector<std::unique_ptr<CDptSubType>> m_arrEntries;
    };

    // An iteration position over one main type's entries; 0 means the end.
    using Position = std::size_t;

    CDptManager();
    ~CDptManager();
    CDptManager(const CDptManager&) = delete;
    CDptManager& operator=(const CDptManager&) = delete;

    // Empties the registry and registers the built-in table; 1 when every
    // entry was registered, else 0 (the others are still registered).
    int Init();

    CDptSubType* AddSubTypeFromValues(WORD wMainType, WORD wSubType, const std::string& strName, double dMin,
                                      double dMax, const std::string& strUnit, int nScaleFlag);
    CDptSubType* AddSubType(const DptSubTypeInfo& info);

    SubTypeMap* GetMainTypeMap(WORD wMainType);
    const SubTypeMap* GetMainTypeMap(WORD wMainType) const;

    // The entry of (main, sub); an unregistered sub type of a known main type
    // resolves to the main type's first entry. NULL only for an unknown main
    // type or an empty map (both logged).
    CDptSubType* GetObject(WORD wMainType, WORD wSubType) const;
    CDptSubType* GetSubType(WORD wMainType, WORD wSubType) const { return GetObject(wMainType, wSubType); }

    Position GetFirstSubTypePosition(WORD wMainType) const;
    CDptSubType* GetNextSubType(Position& pos, WORD wMainType) const;

    void RemoveMainType(WORD wMainType);
    void RemoveAll();

private:
    static int MapIndex(WORD wMainType);

    std::array<SubTypeMap, 7> m_arrMaps;
};

extern CDptManager g_DptManager;
