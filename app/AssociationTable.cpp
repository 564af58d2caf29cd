#include "app/AssociationTable.h"

CAssociationTable::Entry* CAssociationTable::GetEntry(LONG nNumber)
{
    if (nNumber < 0 || nNumber >= kEntries)
        return nullptr;
    return &m_entries[static_cast<std::size_t>(nNumber)];
}

const CAssociationTable::Entry* CAssociationTable::GetEntry(LONG nNumber) const
{
    if (nNumber < 0 || nNumber >= kEntries)
        return nullptr;
    return &m_entries[static_cast<std::size_t>(nNumber)];
}

LONG CAssociationTable::GetCount(LONG nNumber) const
{
    const Entry* pEntry = GetEntry(nNumber);
    return pEntry ? pEntry->nCount : 0;
}
