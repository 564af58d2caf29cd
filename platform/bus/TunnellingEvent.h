#pragma once
// What the tunnelling face of the simulated device reports to whoever
// watches it (a test, a program's log), on the thread that serves it.

#include "platform/base/WinTypes.h"

#include <functional>

enum class ETunnellingEvent {
    TunnelOpened,       // value: the channel
    TunnelClosed,       // value: the channel
    ConnectionOpened,   // a transport connection to the device; value: the partner's address
    ConnectionClosed,   // value: the partner's address
    ApplicationFrame    // a new APDU over the connection; value: its number, from 1
};

using TunnellingEventSink = std::function<void(ETunnellingEvent eEvent, DWORD nValue)>;
