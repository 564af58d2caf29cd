#pragma once
// What the group addresses and the quantities both read when they number
// their communication objects: a host device parameter's value, and the old
// link of an object type.

#include "platform/base/WinTypes.h"

class CObjectLink;
class CObjectLinkTable;

// The current value of a host device parameter as a number; false (logged)
// when the parameter is unknown or its value cannot be read as one.
bool ReadDeviceParameterLong(LONG nId, LONG& nValue);

// The first link of the table whose "ObjectType" parameter is nId.
CObjectLink* FindByObjectTypeId(const CObjectLinkTable& table, LONG nId);
