// The data-file load on arbitrary bytes: what LoadFromFile does once the
// file is read, through an archive over the bytes. A load that fails ends
// in an archive exception; anything else (a crash, a sanitizer report, a
// hang) is a fault. A load that succeeds is stored again.

#include "app/Chronoset.h"
#include "model/ArchiveSchema.h"
#include "common/Globals.h"
#include "platform/archive/Archive.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    g_bStandalone = true;
    CChronoset set;
    g_pChronoset = &set;
    bool bLoaded = false;
    try {
        CArchive ar(std::vector<std::uint8_t>(pData, pData + nSize));
        set.LoadFromArchive(ar, nullptr, nullptr);
        bLoaded = true;
    } catch (const CArchiveException&) {
    } catch (const std::exception&) {
    }
    if (bLoaded) {
        CArchive out;
        set.StoreToArchive(out, nullptr);
        std::string strExport;
        set.ExportText(nullptr, strExport);
    }
    g_pChronoset = nullptr;
    g_nArchiveSchema = ARCHIVE_SCHEMA_CURRENT;
    return 0;
}
