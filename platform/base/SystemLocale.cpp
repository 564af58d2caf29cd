#include "platform/base/SystemLocale.h"

#include <cstdlib>

namespace platform {

namespace {

std::optional<IntlValues>& IntlOverride()
{
    static std::optional<IntlValues> value;
    return value;
}

std::optional<LCID>& LcidOverride()
{
    static std::optional<LCID> value;
    return value;
}

bool IsGerman(const std::string& locale)
{
    return locale.size() >= 2 && (locale[0] == 'd' || locale[0] == 'D') && (locale[1] == 'e' || locale[1] == 'E');
}

}  // namespace

std::string ProcessLocaleName(const char* category)
{
    for (const char* var : {"LC_ALL", category, "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v)
            return v;
    }
    return "C";
}

IntlValues IntlValuesForLocale(const std::string& localeName)
{
    if (IsGerman(localeName))
        return IntlValues {",", ".", 1, "dd.MM.yyyy", ":", 1, 1, "", ""};
    if (localeName.rfind("en_GB", 0) == 0)
        return IntlValues {".", ",", 1, "dd/MM/yyyy", ":", 1, 1, "", ""};
    return IntlValues {".", ",", 1, "M/d/yyyy", ":", 0, 0, "AM", "PM"};
}

IntlValues GetIntlValues()
{
    if (IntlOverride())
        return *IntlOverride();
    // Numbers follow LC_NUMERIC and dates LC_TIME, as the platform's
    // regional settings keep them apart too.
    IntlValues numeric = IntlValuesForLocale(ProcessLocaleName("LC_NUMERIC"));
    IntlValues v = IntlValuesForLocale(ProcessLocaleName("LC_TIME"));
    v.sDecimal = numeric.sDecimal;
    v.sThousand = numeric.sThousand;
    v.iLZero = numeric.iLZero;
    return v;
}

void SetIntlOverride(const std::optional<IntlValues>& values)
{
    IntlOverride() = values;
}

LCID GetSystemDefaultLCID()
{
    if (LcidOverride())
        return *LcidOverride();
    return IsGerman(ProcessLocaleName("LC_MESSAGES")) ? 1031 : 1033;
}

void SetSystemLcidOverride(std::optional<LCID> lcid)
{
    LcidOverride() = lcid;
}

}  // namespace platform
