#pragma once
// Results of the simulated device's operations. The bus-access objects in
// front of the device turn them into their own codes: Ok is success,
// ConnectionRefused makes the connection's open fail, DeviceOpenError lets it
// succeed with the extended error value set, everything else is a failed
// access.

enum class EDeviceResult {
    Ok = 0,
    NotConnected,        // an access without an open connection
    AlreadyConnected,    // a second connect while connected
    ConnectionRefused,   // the bus interface refused the connection
    DeviceOpenError,     // the interface opened with an extended error value
    NoDevice,            // no device answers to the target address
    FrameTooLong,        // more data than one frame carries
    Unmapped,            // an address outside the device's memory map
    ReadOnly,            // a protected address or property
    NotLoading,          // a table or parameter write outside loading
    NoSuchProperty,      // the interface object has no such property
    BadData,             // an argument or a value the device refuses
    InjectedFailure,     // a failure injected for tests
    StateFileError,      // the state file cannot be read or written
    NoAnswer,            // the device stopped answering, or its connection broke
    Refused              // the device answered that it did not do it
};

// The enumerator's name, for traces and test messages.
const char* DeviceResultName(EDeviceResult eResult);
