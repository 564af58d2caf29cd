#pragma once
// The globals a standalone file test changes, set for a standalone run while
// it lives and given back afterwards, so that later tests find them as they
// were.

#include "app/Chronoset.h"
#include "model/ArchiveSchema.h"
#include "common/Globals.h"

namespace testsupport {

class CStandaloneGlobals {
public:
    CStandaloneGlobals() { g_bStandalone = true; }
    ~CStandaloneGlobals()
    {
        g_bStandalone = m_bStandalone;
        g_nArchiveSchema = m_nSchema;
        g_pChronoset = m_pChronoset;
    }
    CStandaloneGlobals(const CStandaloneGlobals&) = delete;
    CStandaloneGlobals& operator=(const CStandaloneGlobals&) = delete;

private:
    bool m_bStandalone = g_bStandalone;
    DWORD m_nSchema = g_nArchiveSchema;
    CChronoset* m_pChronoset = g_pChronoset;
};

}  // namespace testsupport
