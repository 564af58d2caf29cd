#pragma once
// The associations of the device's communication objects as pairs (object
// number, group-address host id), and the check that finds the group
// addresses the parameter set can take over: those serving trigger objects
// only, or at most one other object, unless that object's address is a
// member of the quantity whose trigger shares it.

#include "platform/base/WinTypes.h"

#include <unordered_map>
#include <vector>

class CEtsDataAccess;
class CProgressInfo;

class CGroupAddressCheck {
public:
    CGroupAddressCheck() = default;

    // The new entry's index.
    int Add(LONG nObjectNumber, LONG nReference);
    // Stores count and limit (the first object number that is no quantity
    // trigger), runs the check and returns the count.
    int Run(CProgressInfo* pProgress, CEtsDataAccess* pAccess, WORD nCount, SHORT nLimit);

    WORD GetCount() const { return m_nCount; }
    SHORT GetLimit() const { return m_nLimit; }
    bool GetEntry(int nIndex, LONG& nObjectNumber, LONG& nReference) const;
    // kind 0 all entries, 1 those below the limit, 2 those from the limit up.
    int CountForAddress(LONG nReference, int nKind) const;
    int CountForObject(LONG nObjectNumber) const;
    LONG GetAddressOfObject(LONG nObjectNumber) const;
    bool HasPair(LONG nObjectNumber, LONG nReference) const;
    bool IsInResult(LONG nReference) const;
    const std::vector<LONG>& GetResult() const { return m_arrResult; }

private:
    void Check(CProgressInfo* pProgress);
    bool IsBelowLimit(LONG nObjectNumber) const;
    // Entries usable within the stored count.
    int UsedEntries() const;

    std::vector<LONG> m_arrPairs;
    std::vector<LONG> m_arrAddresses;
    std::vector<LONG> m_arrResult;
    WORD m_nCount = 0;
    SHORT m_nLimit = -1;
    // CountForObject's answers, gathered in one pass over the entries and
    // kept until the entries change.
    mutable std::unordered_map<WORD, int> m_mapObjectCounts;
    mutable bool m_bObjectCounts = false;
};
