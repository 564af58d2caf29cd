#pragma once
// The working table of the association reconciliation: for each group
// address to be replaced in the parameter set, the old address, the one that
// replaces it, a host id and a quantity's trigger object number, so that the
// uses of the old address can be moved to the new one afterwards. The table
// owns neither address.

#include "platform/base/WinTypes.h"

#include <vector>

class CGroupDataAddress;

class CGaMap {
public:
    CGaMap() = default;

    // Appends the entry unless one with all four values equal exists.
    void AddEntry(CGroupDataAddress* pOld, CGroupDataAddress* pNew, LONG nId, LONG nQuantityNumber);
    // The new address of the first entry for pOld, with its quantity number;
    // bClear empties that entry (it stays in the table). Null when there is
    // none; the quantity number is then left alone.
    CGroupDataAddress* Lookup(const CGroupDataAddress* pOld, LONG& nQuantityNumber, bool bClear);

    CGroupDataAddress* GetOldGroupAddress(int nIndex) const;
    CGroupDataAddress* GetNewGroupAddress(int nIndex) const;
    LONG GetId(int nIndex) const;
    LONG GetQuantityNumber(int nIndex) const;
    int GetCount() const { return static_cast<int>(m_arrEntries.size()); }

    // The new address of the first entry whose new address has the host
    // reference and the invalid flag; null for reference -1.
    CGroupDataAddress* FindNewGroupAddress(LONG nReference, bool bInvalid) const;

    // Writes the table to the detail log.
    void Dump() const;

private:
    struct Entry {
        CGroupDataAddress* pOld = nullptr;
        CGroupDataAddress* pNew = nullptr;
        LONG nId = -1;
        LONG nQuantityNumber = -1;
    };

    bool IsIndex(int nIndex) const { return nIndex >= 0 && nIndex < GetCount(); }

    std::vector<Entry> m_arrEntries;
};
