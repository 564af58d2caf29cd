#pragma once
// The road to the host's live device connection, which the device-status and
// device-clock dialogs use in plug-in mode, and the three-level text of a
// group address for the host diagnostics.

#include "platform/base/WinTypes.h"
#include "platform/com/ComTypes.h"

#include <string>

class CHostLogger;

// Asks the host, through its top window, for a live connection to the device
// and hands out the interface `riid` of it. The numbers and the interface id
// are the host's and are passed on unchanged (callers pass 0, 0, -1 and the
// device-management id). E_UNEXPECTED without a logger, without a window or
// when the top window is not the host's (both logged at level 2), else the
// host's answer.
HRESULT GetLifeDeviceConnection(HWND hWnd, IUnknown* pDevice, LONG nArg1, LONG nArg2, LONG nArg3, REFIID riid,
                                void** ppv, CHostLogger* pLogger);

// "%02ld/%02ld/%04ld" of main group (bits 12..15), middle group (8..11) and
// sub group (0..7).
std::string FormatGroupAddress3(WORD wAddress);
