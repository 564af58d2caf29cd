#include "app/ObjectCookieMap.h"

#include "access/HostObjectMaps.h"
#include "app/HostConnection.h"
#include "common/Log.h"
#include "platform/com/ComVariant.h"

namespace {

LONG ReadLevel(HRESULT hr, const VARIANT& vAddress)
{
    CComVariant vNumber;
    if (FAILED(hr) || FAILED(vNumber.ChangeType(VT_I4, &vAddress)))
        return 0;
    return vNumber.lVal;
}

// The raw address of a group address as the host holds it now, from its
// own level and those of its middle and main group; a level that cannot be
// read counts as 0.
WORD ReadRawAddress(IEtsGroupAddress* pGroupAddress)
{
    CComVariant vAddress;
    const LONG nSub = ReadLevel(pGroupAddress->get_Address(&vAddress), vAddress);
    LONG nMiddle = 0;
    LONG nMain = 0;
    CComPtr<IEtsMiddleGroup> pMiddleGroup;
    if (SUCCEEDED(pGroupAddress->get_Parent(&pMiddleGroup)) && pMiddleGroup) {
        vAddress.Clear();
        nMiddle = ReadLevel(pMiddleGroup->get_Address(&vAddress), vAddress);
        CComPtr<IEtsMainGroup> pMainGroup;
        if (SUCCEEDED(pMiddleGroup->get_Parent(&pMainGroup)) && pMainGroup) {
            vAddress.Clear();
            nMain = ReadLevel(pMainGroup->get_Address(&vAddress), vAddress);
        }
    }
    return static_cast<WORD>(((nMain & 15) << 12) | ((nMiddle & 15) << 8) | (nSub & 255));
}

}  // namespace

CObjectCookieMap::~CObjectCookieMap()
{
    m_oSwitchableObjects.RemoveAll();
    m_oStaticObjects.RemoveAll();
}

void CObjectCookieMap::Dump() const
{
    LOG_INFO("Dumping Static Objects.");
    DumpTable(m_oStaticObjects);
    LOG_INFO("Dumping Switchable Objects.");
    DumpTable(m_oSwitchableObjects);
}

void CObjectCookieMap::DumpTable(const CObjectLinkTable& table)
{
    for (int i = 0; i < table.GetCount(); ++i) {
        const CObjectLink* pLink = table.GetLink(i);
        if (!pLink)
            continue;
        LOG_INFO("CONr.: %d, Cookie: %ld", static_cast<int>(pLink->m_nObjectNumber),
                 static_cast<long>(table.GetObjectId(i)));
        for (const CGroupAddressLink& groupAddress : pLink->m_arrGroupAddresses) {
            IEtsGroupAddress* pGroupAddress = g_mapGroupAddresses.Lookup(groupAddress.m_nReference);
            if (!pGroupAddress) {
                LOG_ERROR("GA with Id: %ld not found.", static_cast<long>(groupAddress.m_nReference));
                continue;
            }
            LOG_INFO("GA: %s, Cookie: %ld", FormatGroupAddress3(ReadRawAddress(pGroupAddress)).c_str(),
                     static_cast<long>(groupAddress.m_nReference));
        }
    }
}
