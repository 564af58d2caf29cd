#pragma once
// One communication object with the group addresses linked to it, as the
// clock, the quantities and the central object describe the associations
// that the host access creates or finds.

#include "access/GroupAddressLink.h"
#include "platform/base/WinTypes.h"

#include <vector>

class CObjectLink {
public:
    CObjectLink() = default;
    explicit CObjectLink(WORD nObjectNumber) : m_nObjectNumber(nObjectNumber) {}

    void AddGroupAddress(LONG nReference, BYTE nFlag = 1, IEtsAssociation* pAssociation = nullptr)
    {
        m_arrGroupAddresses.emplace_back(nReference, nFlag, pAssociation);
    }
    std::size_t GetGroupAddressCount() const { return m_arrGroupAddresses.size(); }

    WORD m_nObjectNumber = 0;
    BYTE m_nRemoved = 1;
    std::vector<CGroupAddressLink> m_arrGroupAddresses;
    BYTE m_nFlag = 1;
    // The host id of the object's "ObjectType" parameter.
    int m_nObjectTypeId = 0;
};
