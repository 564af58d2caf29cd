#pragma once
// The schema number of the data file being read. The file load sets it from
// the file before any record is read; the records of the data sets test it to
// know which fields an older file holds. Storing always writes the current
// schema and leaves it alone.

#include "platform/base/WinTypes.h"

constexpr DWORD ARCHIVE_SCHEMA_CURRENT = 0x20000;

extern DWORD g_nArchiveSchema;
