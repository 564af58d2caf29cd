#pragma once
// What the data sets use of the central object that embeds them: the data
// sets they refer to, the association count against the device's limit, the
// host's type check of a group address and the linking of communication
// objects. The central object of the application layer implements it, so
// that the model links without that layer.

#include "model/ObjectNumberMap.h"
#include "platform/base/WinTypes.h"

class CDayRoutines;
class CEtsDataAccess;
class CGroupDataAddress;
class CGroupDataAddresses;
class CObjectLinkTable;
class CQuantities;

class IChronosetServices {
public:
    virtual ~IChronosetServices() = default;

    virtual CGroupDataAddresses* GetGroupDataAddresses() = 0;
    virtual const CGroupDataAddresses* GetGroupDataAddresses() const = 0;
    virtual CDayRoutines* GetDayRoutines() = 0;
    virtual const CDayRoutines* GetDayRoutines() const = 0;
    virtual const CQuantities* GetQuantities() const = 0;

    // Associations in use; the device takes no more than the maximum.
    virtual DWORD GetAddressCount() const = 0;
    static int GetMaxGroupAddressCount() { return 250; }

    // Whether the host still knows the group address (by its host reference,
    // in this device's project) with a type that fits; then its name and raw
    // address are refreshed from the host. Removes nothing itself.
    virtual bool CheckGroupAddressType(CEtsDataAccess* pAccess, CGroupDataAddress* pAddress) = 0;
    virtual int LinkCommObject(CEtsDataAccess* pAccess, const CObjectNumberMap& mapObjects,
                               CGroupDataAddress* pAddress, WORD wObjectNumber, int nUpdate) = 0;
    virtual int LinkCommObjectIfMissing(CEtsDataAccess* pAccess, const CObjectNumberMap& mapObjects,
                                        CGroupDataAddress* pAddress, CObjectLinkTable& associations, BYTE nSend,
                                        WORD wObjectNumber, int nUpdate) = 0;
};

// The open device as the data sets know it, null outside an editing run.
// The layers above set and read it only as g_pChronoset, the same object
// typed as the central object.
extern IChronosetServices* g_pChronosetServices;
