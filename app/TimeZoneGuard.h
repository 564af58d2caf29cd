#pragma once
// Lifts the process's TZ setting for the span of one computation, so that
// local times taken meanwhile carry the system's own daylight-saving rules,
// and puts it back when it goes.

#include <optional>
#include <string>

class CTimeZoneGuard {
public:
    CTimeZoneGuard() = default;
    virtual ~CTimeZoneGuard();
    CTimeZoneGuard(const CTimeZoneGuard&) = delete;
    CTimeZoneGuard& operator=(const CTimeZoneGuard&) = delete;

    void ClearTZ();
    void RestoreTZ();

private:
    std::string m_strSavedTz;
};
