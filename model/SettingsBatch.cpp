#include "model/SettingsBatch.h"

#include "model/IniManager.h"

CSettingsBatch::CSettingsBatch() : platform::CProfileBatch(CIniManager::GetProfileName()) {}

CSettingsBatch::~CSettingsBatch()
{
    Commit();
}

bool CSettingsBatch::Commit()
{
    const bool bWritten = platform::CProfileBatch::Commit();
    CIniManager::LogProfileNotices(CIniManager::GetProfileName());
    return bWritten;
}

BOOL CSettingsBatch::CommitWith(bool bAllWritten)
{
    return Commit() && bAllWritten ? TRUE : FALSE;
}
