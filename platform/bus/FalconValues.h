#pragma once
// How the bus-access library's stand-in turns the device's answers into its
// results and VARIANTs, and the VARIANTs it is given into bytes.

#include "platform/bus/DeviceResult.h"
#include "platform/com/Variant.h"

#include <vector>

namespace platform {

// S_OK for Ok, else Falcon::kDeviceErrorBase + the reason.
HRESULT FalconResultOf(EDeviceResult eResult);

// The answer of a read in the form and with the element limit the stand-in
// is set to (FalconStandIn.h). pvData is cleared first.
HRESULT MakeFalconReply(const std::vector<BYTE>& arrBytes, VARIANT* pvData);

// The bytes of a written value: a plain VT_UI1 or a byte array.
// DISP_E_TYPEMISMATCH for any other kind, E_INVALIDARG for an empty array.
HRESULT FalconValueBytes(const VARIANT& vData, std::vector<BYTE>& arrBytes);

}  // namespace platform
