#pragma once
// One of the host object maps: host objects by their host id (persistence
// cookie), each held as a counted reference. The map also keeps the order in
// which the ids were first entered, so that a map filled from a host
// collection can be walked, and indexed, in the collection's order.

#include "platform/com/ComPtr.h"
#include "platform/base/WinTypes.h"

#include <cstddef>
#include <unordered_map>
#include <utility>
#include <vector>

template <class T>
class CHostObjectMap {
public:
    CHostObjectMap() = default;
    CHostObjectMap(const CHostObjectMap&) = delete;
    CHostObjectMap& operator=(const CHostObjectMap&) = delete;

    // Enters the object under the id; an id entered before keeps its place
    // and gets the new object.
    void SetAt(LONG nId, T* pObject)
    {
        auto it = m_index.find(nId);
        if (it != m_index.end()) {
            m_entries[it->second].second = pObject;
            return;
        }
        m_index.emplace(nId, m_entries.size());
        m_entries.emplace_back(nId, CComPtr<T>(pObject));
    }

    // The object under the id (no reference taken), null when none.
    T* Lookup(LONG nId) const
    {
        auto it = m_index.find(nId);
        return it == m_index.end() ? nullptr : m_entries[it->second].second.p;
    }

    bool Lookup(LONG nId, CComPtr<T>& pObject) const
    {
        pObject = Lookup(nId);
        return pObject.p != nullptr;
    }

    // Takes the id out (an object the editing run created and took back);
    // the entries after it keep their order.
    void RemoveKey(LONG nId)
    {
        auto it = m_index.find(nId);
        if (it == m_index.end())
            return;
        const std::size_t nPos = it->second;
        m_index.erase(it);
        CComPtr<T> pHeld = m_entries[nPos].second;
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(nPos));
        for (auto& [nKey, nIndex] : m_index)
            if (nIndex > nPos)
                --nIndex;
        // Released once the map is consistent again.
        pHeld = nullptr;
    }

    std::size_t GetCount() const { return m_entries.size(); }
    bool IsEmpty() const { return m_entries.empty(); }

    // The entry at a position in the order of entering.
    LONG GetIdAt(std::size_t nIndex) const { return m_entries[nIndex].first; }
    T* GetAt(std::size_t nIndex) const { return m_entries[nIndex].second.p; }

    // Empties the map, releasing every held object.
    void RemoveAll()
    {
        // Released after the map is empty, so a release that reaches back
        // into the map finds it consistent.
        std::vector<std::pair<LONG, CComPtr<T>>> entries;
        entries.swap(m_entries);
        m_index.clear();
        entries.clear();
        // The room stays for the next scan, which enters as many again.
        if (m_entries.empty())
            m_entries.swap(entries);
    }

private:
    std::vector<std::pair<LONG, CComPtr<T>>> m_entries;
    std::unordered_map<LONG, std::size_t> m_index;
};
