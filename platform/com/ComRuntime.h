#pragma once
// Library start-up and the small runtime services: apartments (recorded per
// thread, nothing is marshalled: every object is called directly), task
// memory, new GUIDs and running objects.

#include "platform/com/ComTypes.h"

#include <cstddef>

constexpr DWORD COINIT_MULTITHREADED = 0x0;
constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;
constexpr DWORD COINIT_DISABLE_OLE1DDE = 0x4;
constexpr DWORD COINIT_SPEED_OVER_MEMORY = 0x8;

enum APTTYPE { APTTYPE_STA = 0, APTTYPE_MTA = 1 };

// S_OK for the thread's first call, S_FALSE for a further one with the same
// model, RPC_E_CHANGED_MODE (and nothing counted) for another model. Each
// successful call wants its CoUninitialize.
HRESULT CoInitializeEx(void* pvReserved, DWORD dwCoInit);
HRESULT CoInitialize(void* pvReserved);
void CoUninitialize();
// The calling thread's apartment, CO_E_NOTINITIALIZED before CoInitializeEx.
HRESULT CoGetApartmentType(APTTYPE* pAptType);

void* CoTaskMemAlloc(std::size_t cb);
void* CoTaskMemRealloc(void* pv, std::size_t cb);
void CoTaskMemFree(void* pv);

// A new random GUID (version 4).
HRESULT CoCreateGuid(GUID* pguid);

// Every object here runs once it exists; S_OK for any object.
HRESULT OleRun(IUnknown* pUnknown);
