#include "model/GaMap.h"

#include "model/GroupDataAddress.h"
#include "model/Utils.h"
#include "common/Log.h"

#include <cstdio>
#include <string>

void CGaMap::AddEntry(CGroupDataAddress* pOld, CGroupDataAddress* pNew, LONG nId, LONG nQuantityNumber)
{
    for (const Entry& entry : m_arrEntries)
        if (entry.pOld == pOld && entry.pNew == pNew && entry.nId == nId && entry.nQuantityNumber == nQuantityNumber)
            return;
    m_arrEntries.push_back({pOld, pNew, nId, nQuantityNumber});
}

CGroupDataAddress* CGaMap::Lookup(const CGroupDataAddress* pOld, LONG& nQuantityNumber, bool bClear)
{
    for (Entry& entry : m_arrEntries) {
        if (entry.pOld != pOld)
            continue;
        CGroupDataAddress* pNew = entry.pNew;
        nQuantityNumber = entry.nQuantityNumber;
        if (bClear)
            entry = Entry {nullptr, nullptr, 0, 0};
        return pNew;
    }
    return nullptr;
}

CGroupDataAddress* CGaMap::GetOldGroupAddress(int nIndex) const
{
    return IsIndex(nIndex) ? m_arrEntries[static_cast<std::size_t>(nIndex)].pOld : nullptr;
}

CGroupDataAddress* CGaMap::GetNewGroupAddress(int nIndex) const
{
    return IsIndex(nIndex) ? m_arrEntries[static_cast<std::size_t>(nIndex)].pNew : nullptr;
}

LONG CGaMap::GetId(int nIndex) const
{
    return IsIndex(nIndex) ? m_arrEntries[static_cast<std::size_t>(nIndex)].nId : -1;
}

LONG CGaMap::GetQuantityNumber(int nIndex) const
{
    return IsIndex(nIndex) ? m_arrEntries[static_cast<std::size_t>(nIndex)].nQuantityNumber : -1;
}

CGroupDataAddress* CGaMap::FindNewGroupAddress(LONG nReference, bool bInvalid) const
{
    if (nReference == -1)
        return nullptr;
    for (const Entry& entry : m_arrEntries)
        if (entry.pNew && entry.pNew->GetReference() == nReference && entry.pNew->IsInvalid() == bInvalid)
            return entry.pNew;
    return nullptr;
}

void CGaMap::Dump() const
{
    LOG_DETAIL("Dump of Ga map with %d entries.", GetCount());
    LOG_DETAIL(". index | cont | address    | id     | QuanNr | OldRef    | NewRef");
    LOG_DETAIL("--------+------+------------+--------+--------+-----------+-----------");
    for (int i = 0; i < GetCount(); ++i) {
        const Entry& entry = m_arrEntries[static_cast<std::size_t>(i)];
        std::string strLine = ". #" + FormatDecimal(static_cast<DWORD>(i), 3, true) + "  | ";
        if (entry.pOld && entry.pNew) {
            const bool bSame = entry.pOld != entry.pNew && entry.pOld->GetReference() == entry.pNew->GetReference() &&
                               entry.pOld->GetAddress() == entry.pNew->GetAddress() &&
                               entry.pOld->GetObjectType() == entry.pNew->GetObjectType();
            strLine += bSame ? "OK   | " : "ERR  | ";
        }
        if (entry.pOld) {
            std::string strAddress = entry.pOld->GetAddressText(false);
            if (strAddress.size() < 10)
                strAddress.append(10 - strAddress.size(), ' ');
            strLine += strAddress;
        } else {
            strLine += "not def.  ";
        }
        // A negative id keeps its sign in front of the six digits.
        strLine += " | " + FormatDecimalSigned(entry.nId, 6, true) + " | ";
        if (entry.nQuantityNumber == -1)
            strLine += "undef. | ";
        else
            strLine += FormatDecimalSigned(entry.nQuantityNumber, 3, true) + "    | ";
        char szIdentities[64];
        std::snprintf(szIdentities, sizeof szIdentities, "%p | %p", static_cast<const void*>(entry.pOld),
                      static_cast<const void*>(entry.pNew));
        strLine += szIdentities;
        LOG_DETAIL("%s", strLine.c_str());
    }
}
