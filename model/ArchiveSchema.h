#pragma once
// The schema number of the data file being read. The file load sets it from
// the file before any record is read; the records of the data sets test it to
// know which fields an older file holds. Storing always writes the current
// schema and leaves it alone.

#include "platform/base/WinTypes.h"

constexpr DWORD ARCHIVE_SCHEMA_CURRENT = 0x20000;

// The schemas data files have carried: the older ones up to 0x10007 (the
// "tv1" files among them) and the current one. Anything else, a file of zero
// bytes for one, is no data file of this system.
constexpr bool IsKnownArchiveSchema(DWORD nSchema)
{
    return (nSchema >= 0x10000 && nSchema <= 0x10007) || nSchema == ARCHIVE_SCHEMA_CURRENT;
}

extern DWORD g_nArchiveSchema;
