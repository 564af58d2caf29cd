#include "model/ArchiveSchema.h"

DWORD g_nArchiveSchema = ARCHIVE_SCHEMA_CURRENT;
