#include "common/ResString.h"
#include "platform/base/ResourceLibrary.h"
#include "resources/de/BuiltInResources.h"
#include "tests/resources/SatellitePath.h"

#include <gtest/gtest.h>

namespace {

using platform::CResourceModule;

// Restores the active resource modules after each test.
class ResStringTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFramework = platform::GetFrameworkResourceModule();
        m_pCom = platform::GetComResourceInstance();
    }
    void TearDown() override {
        platform::SetFrameworkResourceModule(m_pFramework);
        platform::SetComResourceInstance(m_pCom);
    }

    const CResourceModule& German() { return resources::GetBuiltInResourceModule(); }
    const CResourceModule* English() { return platform::LoadResourceLibrary(SatellitePath()); }

private:
    const CResourceModule* m_pFramework = nullptr;
    const CResourceModule* m_pCom = nullptr;
};

TEST_F(ResStringTest, WithoutActiveModuleTheDefaultsApply) {
    platform::SetFrameworkResourceModule(nullptr);
    EXPECT_EQ(GetResString(131, "Parameterdaten speichern"), "Parameterdaten speichern");
    EXPECT_EQ(GetResString(131, nullptr), "");
    EXPECT_EQ(LoadResString(131), "");
}

TEST_F(ResStringTest, BuiltInModuleGivesTheGermanTexts) {
    platform::SetFrameworkResourceModule(&German());
    EXPECT_EQ(German().GetLanguage(), 0x0407);
    EXPECT_EQ(GetResString(131, "default"), "Parameterdaten speichern");
    EXPECT_EQ(GetResString(108, std::string("default")), "Tagesabl\xC3\xA4ufe");
    EXPECT_EQ(LoadResString(220), "\"keine\"");
    EXPECT_EQ(LoadResString(40119), "\"kein\"");
    EXPECT_EQ(LoadResString(99998), "");  // a missing entry loads as the empty text
    EXPECT_EQ(GetResString(99999, "fallback"), "fallback");
}

TEST_F(ResStringTest, SatelliteLoadsAndSwitchesTheLanguage) {
    const CResourceModule* pEnglish = English();
    ASSERT_NE(pEnglish, nullptr) << "cannot load " << SatellitePath();
    EXPECT_EQ(pEnglish->GetLanguage(), 0x0409);
    EXPECT_EQ(pEnglish->GetPath(), SatellitePath());
    EXPECT_EQ(English(), pEnglish);  // loaded once

    platform::SetFrameworkResourceModule(pEnglish);
    EXPECT_EQ(GetResString(131, "Parameterdaten speichern"), "Save parameter data");
    EXPECT_EQ(LoadResString(40010), "Week routine");

    platform::SetFrameworkResourceModule(&German());
    EXPECT_EQ(GetResString(131, "Parameterdaten speichern"), "Parameterdaten speichern");
    EXPECT_EQ(LoadResString(40010), "Wochenablauf");
}

TEST_F(ResStringTest, IdMissingInEnglishFallsBackToTheGermanDefault) {
    const CResourceModule* pEnglish = English();
    ASSERT_NE(pEnglish, nullptr);
    platform::SetFrameworkResourceModule(pEnglish);
    // Both tables hold the same ids, so an id of neither stands for one that
    // a future German text has and its translation lacks.
    ASSERT_EQ(pEnglish->FindString(99997), nullptr);
    EXPECT_EQ(GetResString(99997, "F\xC3\xBCr das Objekt %d ist nur eine Zuordnung zul\xC3\xA4ssig."),
              "F\xC3\xBCr das Objekt %d ist nur eine Zuordnung zul\xC3\xA4ssig.");
    EXPECT_EQ(LoadResString(99997), "");
}

TEST_F(ResStringTest, StringsFollowTheFrameworkModuleNotTheComInstance) {
    const CResourceModule* pEnglish = English();
    ASSERT_NE(pEnglish, nullptr);
    platform::SetFrameworkResourceModule(&German());
    platform::SetComResourceInstance(pEnglish);
    EXPECT_EQ(LoadResString(101), "Allgemein");
}

}  // namespace
