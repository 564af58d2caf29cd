#pragma once
// The host's service objects (logger, localisation, formatting) over the
// host's shared state.

#include "platform/host/EtsHostServices.h"
#include "platform/host/HostState.h"

#include <memory>

namespace platform::host {

HRESULT CreateLoggerObject(const std::shared_ptr<CHostState>& pState, REFIID riid, void** ppv);
HRESULT CreateLocalisationObject(const std::shared_ptr<CHostState>& pState, REFIID riid, void** ppv);
HRESULT CreateFormattingObject(const std::shared_ptr<CHostState>& pState, REFIID riid, void** ppv);

// "1/2/3" (three levels: main bits 11..15, middle 8..10, sub 0..7) or
// "1/515" (two levels: main bits 11..15, sub 0..10) of a raw group address.
std::string FormatRawGroupAddress(LONG nValue, int nLevels);

}  // namespace platform::host
