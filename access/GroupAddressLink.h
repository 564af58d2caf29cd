#pragma once
// One group address an object link carries: the group address's host
// reference and a flag (1 when created). A link read from the host project
// also keeps the host's association, so that an existing association can be
// reused instead of made anew.

#include "platform/base/WinTypes.h"
#include "platform/com/ComPtr.h"
#include "platform/host/EtsObjectModel.h"

class CGroupAddressLink {
public:
    CGroupAddressLink() = default;
    CGroupAddressLink(LONG nReference, BYTE nFlag, IEtsAssociation* pAssociation = nullptr)
        : m_nReference(nReference), m_nFlag(nFlag), m_pAssociation(pAssociation)
    {
    }

    WORD m_wReserved = 0;
    LONG m_nReference = -1;
    BYTE m_nFlag = 1;
    CComPtr<IEtsAssociation> m_pAssociation;
};
