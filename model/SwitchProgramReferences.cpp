#include "model/SwitchProgramReferences.h"

#include "model/ArchiveSchema.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "platform/archive/Archive.h"

bool IsListedGroupAddress(const CGroupDataAddresses* pLists, const CGroupDataAddress* pAddress)
{
    if (!pAddress)
        return false;
    return !pLists || pLists->IsInList(pAddress);
}

void StoreArchivedGroupAddress(CArchive& ar, const CGroupDataAddress* pAddress)
{
    if (!pAddress) {
        ar << static_cast<WORD>(0);
        return;
    }
    ar << static_cast<WORD>(1) << static_cast<DWORD>(pAddress->GetReference())
       << static_cast<WORD>(pAddress->IsInvalid() ? 1 : 0);
}

CGroupDataAddress* ReadArchivedGroupAddress(CArchive& ar, const CGroupDataAddresses* pLists)
{
    constexpr DWORD kNone = 0xFFFFFFFF;
    if (g_nArchiveSchema <= 0x10003) {
        WORD wAddress = 0;
        ar >> wAddress;
        if (wAddress == 0xFFFF || !pLists)
            return nullptr;
        return pLists->GetReferenceFromAddress(wAddress, false);
    }

    DWORD dwReference = kNone;
    bool bInvalid = false;
    if (g_nArchiveSchema == 0x10004) {
        ar >> dwReference;
        if (dwReference == kNone)
            return nullptr;
    } else if (g_nArchiveSchema == 0x10005) {
        ar >> dwReference;
        if (dwReference == kNone)
            return nullptr;
        WORD wInvalid = 0;
        ar >> wInvalid;
        bInvalid = wInvalid != 0;
    } else {
        WORD wPresent = 0;
        ar >> wPresent;
        if (wPresent == 0)
            return nullptr;
        WORD wInvalid = 0;
        ar >> dwReference >> wInvalid;
        bInvalid = wInvalid != 0;
    }
    return pLists ? pLists->FindByReference(static_cast<LONG>(dwReference), bInvalid) : nullptr;
}
