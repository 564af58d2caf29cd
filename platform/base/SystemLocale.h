#pragma once
// The system's regional settings (the "Intl" values of the profile) and the
// default LCID, derived from the process locale: LC_ALL, then LC_NUMERIC or
// LC_TIME, then LANG. Tests set an override so nothing depends on the machine.

#include "platform/base/WinTypes.h"

#include <optional>
#include <string>

namespace platform {

struct IntlValues {
    std::string sDecimal;    // decimal separator
    std::string sThousand;   // thousands separator
    int iLZero = 1;          // 1: leading zero before the decimal separator
    std::string sShortDate;  // short date picture, e.g. "dd.MM.yyyy"
    std::string sTime;       // time separator
    int iTLZero = 1;         // 1: leading zero in hours
    int iTime = 1;           // 1: 24-hour clock
    std::string s1159;       // AM suffix
    std::string s2359;       // PM suffix

    bool operator==(const IntlValues&) const = default;
};

// The values for a locale name such as "de_DE.UTF-8"; German locales give
// "," "." 1 "dd.MM.yyyy" ":" 1 1 "" "", everything else the US values.
IntlValues IntlValuesForLocale(const std::string& localeName);

// The values of the process locale, or the override when one is set.
IntlValues GetIntlValues();
void SetIntlOverride(const std::optional<IntlValues>& values);

// 1031 for a German locale, 1033 otherwise, or the override when one is set.
LCID GetSystemDefaultLCID();
void SetSystemLcidOverride(std::optional<LCID> lcid);

// The locale name in force for the given category ("LC_NUMERIC", "LC_TIME",
// "LC_MESSAGES"), following the usual precedence of the environment.
std::string ProcessLocaleName(const char* category);

}  // namespace platform
