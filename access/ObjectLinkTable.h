#pragma once
// Object links by the host id of their communication object, in the order
// they were added.

#include "access/ObjectLink.h"
#include "platform/base/WinTypes.h"

#include <memory>
#include <vector>

class CObjectLinkTable {
public:
    CObjectLinkTable() = default;
    CObjectLinkTable(const CObjectLinkTable&) = delete;
    CObjectLinkTable& operator=(const CObjectLinkTable&) = delete;

    // Takes the link over, under the object's host id.
    void Add(LONG nObjectId, std::unique_ptr<CObjectLink> pLink);

    int GetCount() const { return static_cast<int>(m_arrObjectIds.size()); }
    LONG GetObjectId(int nIndex) const { return m_arrObjectIds[static_cast<std::size_t>(nIndex)]; }
    CObjectLink* GetLink(int nIndex) const { return m_arrLinks[static_cast<std::size_t>(nIndex)].get(); }
    // The first entry with the object's host id, -1 when none.
    int Find(LONG nObjectId) const;

    // Destroys every link.
    void RemoveAll();

private:
    std::vector<LONG> m_arrObjectIds;
    std::vector<std::unique_ptr<CObjectLink>> m_arrLinks;
};
