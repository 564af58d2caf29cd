#pragma once
// The device's associations as the association check counts them: for each
// communication object number 0..253 the object's host id and its number of
// associations, and the total over all objects but the clock's (250..253).

#include "platform/base/WinTypes.h"

#include <array>

class CAssociationTable {
public:
    static constexpr int kEntries = 254;

    struct Entry {
        LONG nObjectId = 0;
        LONG nCount = 0;
    };

    CAssociationTable() = default;

    // Null for a number outside 0..253.
    Entry* GetEntry(LONG nNumber);
    const Entry* GetEntry(LONG nNumber) const;
    LONG GetCount(LONG nNumber) const;

    // Whether an object's associations count towards the device's total.
    static bool IsCounted(LONG nNumber) { return nNumber < 250 || nNumber > 253; }

private:
    std::array<Entry, kEntries> m_entries {};
};
