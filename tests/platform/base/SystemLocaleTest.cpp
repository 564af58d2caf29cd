#include "platform/base/SystemLocale.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace platform;

TEST(SystemLocale, GermanAndUsValues)
{
    IntlValues de = IntlValuesForLocale("de_DE.UTF-8");
    EXPECT_EQ(de, (IntlValues {",", ".", 1, "dd.MM.yyyy", ":", 1, 1, "", ""}));
    IntlValues us = IntlValuesForLocale("C");
    EXPECT_EQ(us.sDecimal, ".");
    EXPECT_EQ(us.iTime, 0);
    EXPECT_EQ(us.s1159, "AM");
}

TEST(SystemLocale, FollowsTheEnvironmentUnlessOverridden)
{
    const char* oldAll = std::getenv("LC_ALL");
    std::string saved = oldAll ? oldAll : "";
    ::setenv("LC_ALL", "de_AT.UTF-8", 1);
    EXPECT_EQ(GetIntlValues().sDecimal, ",");
    EXPECT_EQ(GetSystemDefaultLCID(), 1031u);
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    EXPECT_EQ(GetIntlValues().sDecimal, ".");
    EXPECT_EQ(GetSystemDefaultLCID(), 1033u);

    SetIntlOverride(IntlValuesForLocale("de"));
    SetSystemLcidOverride(1031);
    EXPECT_EQ(GetIntlValues().sShortDate, "dd.MM.yyyy");
    EXPECT_EQ(GetSystemDefaultLCID(), 1031u);
    SetIntlOverride(std::nullopt);
    SetSystemLcidOverride(std::nullopt);

    if (oldAll)
        ::setenv("LC_ALL", saved.c_str(), 1);
    else
        ::unsetenv("LC_ALL");
}
