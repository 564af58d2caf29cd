#pragma once
// Which language's resources are active inside the host: the host reports
// its user-interface language and hands out the resource module for it.

#include "platform/base/WinTypes.h"

class CResourceLanguage {
public:
    void SwitchToHostLanguage();
    LCID GetActiveLanguage() const { return m_lcid; }

private:
    LCID m_lcid = 1031;
};

extern CResourceLanguage g_resourceLanguage;
