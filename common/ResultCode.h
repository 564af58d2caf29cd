#pragma once
// The bits of a result code, as the log prints them with %08X.

#include "platform/base/WinTypes.h"

inline unsigned Hr(HRESULT hr)
{
    return static_cast<unsigned>(hr);
}
