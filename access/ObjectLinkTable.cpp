#include "access/ObjectLinkTable.h"

void CObjectLinkTable::Add(LONG nObjectId, std::unique_ptr<CObjectLink> pLink)
{
    m_arrObjectIds.push_back(nObjectId);
    m_arrLinks.push_back(std::move(pLink));
}

int CObjectLinkTable::Find(LONG nObjectId) const
{
    for (std::size_t i = 0; i < m_arrObjectIds.size(); ++i)
        if (m_arrObjectIds[i] == nObjectId)
            return static_cast<int>(i);
    return -1;
}

void CObjectLinkTable::RemoveAll()
{
    m_arrObjectIds.clear();
    m_arrLinks.clear();
}
