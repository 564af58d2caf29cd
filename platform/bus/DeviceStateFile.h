#pragma once
// The state file of a simulated device: a JSON text, written atomically.
//
//   {
//     "format": "simulated-knx-device",
//     "version": 1,
//     "individualAddress": "1.1.1",
//     "application": { "manufacturer": 2, "deviceType": 8449, "version": 33 },
//     "loadStates": [ 1, 1, 1 ],                  // machines 1..3
//     "memory": {                                 // hex, region start -> bytes
//       "4000": "...", "4200": "...", "4400": "...", "8000": "..." },
//     "properties": { "5/201": "...", "5/202": "..." },
//     "clock": { "baseMs": 0, "baseWeekday": 6, "setAtMs": 0,
//                "trim": 0, "set": false },
//     "faults": { "refuseConnection": false, "deviceOpenError": 0,
//                 "failCall": 0, "failCallCount": 1, "callCount": 0,
//                 "stuckLoadStates": [ ], "foreignApplication": null },
//     "busTime": { "lastSession": { "frames": 0, "characters": 0, "bitTimes": 0 },
//                  "total": { ... } }
//   }
//
// Hex texts are lower case, two digits per byte, and must have exactly the
// region's or property's size. "baseMs" is the device time in milliseconds
// since 2000-01-01 00:00 at the wall-clock moment "setAtMs" (milliseconds
// since 1970-01-01 UTC). "foreignApplication" is null or an object like
// "application". Every key is required when reading; a file that is not of
// this form is refused as a whole, with a reason that names the first key
// found wrong and what it should hold, as
// "application.manufacturer: expected an integer from 0 to 65535". The
// individual address 0.0.0 is refused: no device has it.

#include "platform/bus/DeviceState.h"

#include <string>

class CDeviceStateFile
{
public:
    static constexpr int kVersion = 1;

    static std::string ToText(const CDeviceState& oState);
    // False (the state untouched) when the text is not a valid state; the
    // reason then goes to *pstrReason where one is given.
    static bool FromText(const std::string& strText, CDeviceState& oState, std::string* pstrReason = nullptr);

    // False when the file cannot be written or read, or is not a valid
    // state; the reason is the system's (as "Permission denied"), "not a
    // regular file" for a pipe or a device, or FromText's.
    static bool Save(const std::string& strPath, const CDeviceState& oState, std::string* pstrReason = nullptr);
    static bool Load(const std::string& strPath, CDeviceState& oState, std::string* pstrReason = nullptr);

    // "area.line.device"; parsing gives false when the text is not one:
    // anything but three decimal numbers and two dots, or a number out of
    // its range (area and line 0..15, device 0..255).
    static std::string FormatIndividualAddress(WORD nAddress);
    static bool ParseIndividualAddress(const std::string& strText, WORD& nAddress);
};
