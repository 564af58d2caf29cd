#pragma once
// State that belongs to the whole process, not to one module: the
// in-process class table, the threads' apartments and the registry's
// notices. Every module that
// links this library reaches the same instance when the program exports it
// (this library's link options make programs export it), so that a class
// the host program registers is found by a library it loaded.

#include "platform/com/ComTypes.h"

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct CComInprocClass {
    CLSID clsid;
    std::string strProgId;
    std::function<HRESULT(IUnknown*, REFIID, void**)> fnCreate;
};

struct CComApartment {
    DWORD dwCoInit;
    ULONG nInits;
};

struct CComProcessState {
    // First, so that a module can check a found instance before using it.
    DWORD dwLayout;
    std::size_t cbSize;
    std::mutex mutex;
    std::map<DWORD, CComInprocClass> mapClasses;
    DWORD dwNextCookie = 1;
    std::map<std::thread::id, CComApartment> mapApartments;
    // What the registry's changes have to tell the program (RegistryStore.h).
    std::vector<std::string> vecRegistryNotices;
};

CComProcessState& GetComProcessState();
