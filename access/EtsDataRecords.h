#pragma once
// The records the host data access fills for its callers.

#include "platform/base/WinTypes.h"

#include <string>

// One communication object as the device object table shows it.
struct CommObjectData {
    LONG nNumber = 0;
    std::string strFunction;
    std::string strName;
    std::string strAssociations;
    SHORT nLength = 0;
    SHORT nPriority = 0;
    SHORT nCommunication = 0;
    SHORT nRead = 0;
    SHORT nWrite = 0;
    SHORT nTransmit = 0;
    SHORT nUpdate = 0;
};

// A main or middle group of the host's group tree.
struct GroupData {
    std::string strName;
    std::string strDescription;
    LONG nId = -1;
    LONG nAddress = -1;
    BYTE nFlag = 0;  // the host's pass-through flag ("W")
};
using MainGroupData = GroupData;
using MiddleGroupData = GroupData;

// A group address (sub group) of the host's group tree.
struct SubGroupData {
    std::string strName;
    std::string strDescription;
    LONG nId = -1;
    LONG nAddress = -1;  // -1 when the host has none
    BYTE nFlag = 0;      // the host's pass-through flag ("W")
    BYTE nCentral = 0;
    SHORT nValueType = -1;  // the host's value type of the linked objects, -1 none
};

struct ApplicationData {
    std::string strName;
    LONG nVersion = 0;
    LONG nDeviceType = -1;
};

struct ManufacturerData {
    std::string strName;
    LONG nId = -1;
};
