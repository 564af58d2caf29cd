// The COM stand-in's registry file on arbitrary bytes, read as activation
// reads it: every class id under HKEY_CLASSES_ROOT\CLSID with its ProgID
// and InprocServer32 (the library is never loaded: dlopen is wrapped at
// link time and refuses), every ProgID back to its class id, the store's
// enumerations; then a registration and its removal, which must leave a
// file that reads as before.

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzFiles.h"
#include "platform/base/Guid.h"
#include "platform/com/ComActivation.h"
#include "platform/com/RegistryStore.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

// Whatever a registry file names is never loaded while fuzzing.
extern "C" void* __wrap_dlopen(const char*, int)
{
    return nullptr;
}

namespace {

constexpr char kProgId[] = "Chrono.FuzzRegistration.1";
constexpr GUID kClassId = platform::MakeGuid("{5A0C4D0E-7F61-4E8B-9C3A-2B1D8E6F4A10}");

void ReadClasses(platform::CRegistryStore& store, const platform::CRegistryKey& root)
{
    const platform::CRegistryKey* pClasses = root.FindPath("HKEY_CLASSES_ROOT");
    if (!pClasses)
        return;
    if (const platform::CRegistryKey* pClsid = pClasses->FindSubKey("CLSID")) {
        for (const std::string& strName : pClsid->GetSubKeyNames()) {
            CLSID clsid;
            if (FAILED(CLSIDFromString(strName, &clsid)))
                continue;
            std::string strProgId;
            if (SUCCEEDED(ProgIDFromCLSID(clsid, &strProgId))) {
                CLSID back;
                (void)CLSIDFromProgID(strProgId, &back);
            }
            (void)store.GetValue("HKCR\\CLSID\\" + strName + "\\InprocServer32", "");
            (void)store.GetValue("HKCR\\CLSID\\" + strName + "\\InprocServer32", "ThreadingModel");
            void* pv = nullptr;
            FUZZ_CHECK(FAILED(CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, &pv)) &&
                  pv == nullptr);
            FUZZ_CHECK(FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, &pv)) && pv == nullptr);
        }
    }
    for (const std::string& strName : pClasses->GetSubKeyNames()) {
        CLSID clsid;
        if (SUCCEEDED(CLSIDFromProgID(strName, &clsid))) {
            std::string strProgId;
            (void)ProgIDFromCLSID(clsid, &strProgId);
        }
        (void)store.EnumValues("HKCR\\" + strName);
        (void)store.EnumKeys("HKCR\\" + strName);
        (void)store.KeyExists("HKCR\\" + strName + "\\CurVer");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ::setenv("CHRONO_REGISTRY_FILE", fuzzfiles::PathOf("registry.json").c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    fuzzfiles::WriteInput("registry.json", pData, nSize);
    platform::CRegistryStore store;
    platform::CRegistryKey root;
    const bool bLoaded = SUCCEEDED(store.Load(root));
    if (bLoaded)
        ReadClasses(store, root);
    else
        FUZZ_CHECK(root == platform::CRegistryKey());

    // A file that does not load is never written over.
    const std::string strClass = "HKCR\\CLSID\\" + platform::FormatGuid(kClassId);
    const bool bOwnKeysThere = root.FindPath(platform::NormalizeRegistryPath(strClass)) != nullptr ||
                               root.FindPath("HKEY_CLASSES_ROOT\\" + std::string(kProgId)) != nullptr;
    const bool bWritten = store.SetValue("HKCR\\" + std::string(kProgId) + "\\CLSID", "", platform::FormatGuid(kClassId)) &&
                          store.SetValue(strClass + "\\InprocServer32", "", "/nonexistent/fuzz.so") &&
                          store.SetValue(strClass + "\\ProgID", "", kProgId);
    FUZZ_CHECK(bWritten == bLoaded);
    if (!bLoaded)
        return 0;
    CLSID clsid;
    FUZZ_CHECK(SUCCEEDED(CLSIDFromProgID(kProgId, &clsid)) && clsid == kClassId);
    std::string strProgId;
    FUZZ_CHECK(SUCCEEDED(ProgIDFromCLSID(kClassId, &strProgId)) && strProgId == kProgId);
    void* pv = nullptr;
    FUZZ_CHECK(CoCreateInstance(kClassId, nullptr, CLSCTX_ALL, IID_IUnknown, &pv) == CO_E_DLLNOTFOUND);

    // The registration taken back: the tree is the one read, with the class
    // key that the registration made.
    FUZZ_CHECK(store.DeleteKey(strClass));
    FUZZ_CHECK(store.DeleteKey("HKCR\\" + std::string(kProgId)));
    platform::CRegistryKey after;
    FUZZ_CHECK(SUCCEEDED(store.Load(after)));
    if (!bOwnKeysThere) {
        platform::CRegistryKey expected = root;
        expected.CreatePath("HKEY_CLASSES_ROOT\\CLSID");
        FUZZ_CHECK(after == expected);
    }
    return 0;
}
