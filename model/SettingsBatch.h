#pragma once
// The keys of one setting, or of all of a window's settings, read with one
// look at the settings file and written in one change of it. A write that
// fails is logged once per file, with its reason.

#include "platform/base/PrivateProfile.h"
#include "platform/base/WinTypes.h"

class CSettingsBatch : public platform::CProfileBatch {
public:
    CSettingsBatch();
    ~CSettingsBatch();
    CSettingsBatch(const CSettingsBatch&) = delete;
    CSettingsBatch& operator=(const CSettingsBatch&) = delete;

    // False when the file could not be written, which the log tells. Inside
    // an outer batch the writes are only handed on (true): the outermost
    // batch's commit tells.
    bool Commit();
    // Commits and gives the writer's result: nonzero when the batch's writes reached the
    // file (or were handed on) and every key could be written.
    BOOL CommitWith(bool bAllWritten);
};
