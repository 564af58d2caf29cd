#pragma once
// Sets the schema of the data file being read or written for one test and
// puts the old one back after it.

#include "model/ArchiveSchema.h"

class CSchemaGuard {
public:
    explicit CSchemaGuard(DWORD nSchema) : m_nSaved(g_nArchiveSchema) { g_nArchiveSchema = nSchema; }
    ~CSchemaGuard() { g_nArchiveSchema = m_nSaved; }
    CSchemaGuard(const CSchemaGuard&) = delete;
    CSchemaGuard& operator=(const CSchemaGuard&) = delete;

private:
    DWORD m_nSaved;
};
