#include "app/ResourceLanguage.h"
#include "model/HostLocalisation.h"
#include "platform/base/PathUtil.h"
#include "platform/base/ResourceLibrary.h"
#include "resources/de/BuiltInResources.h"

#include <gtest/gtest.h>

namespace {

// The host's localisation object as a test scripts it.
struct HostLanguage {
    LCID lcid = 1031;
    HRESULT hrLanguage = S_OK;
    const platform::CResourceModule* pModule = nullptr;  // given for any language but 1031
    std::vector<LCID> asked;
};

class FakeLocalisation : public IHostLocalisation {
public:
    explicit FakeLocalisation(HostLanguage& host) : m_host(host) {}
    HRESULT GetDefaultLCID(LCID& lcid) override
    {
        lcid = m_host.lcid;
        return m_host.hrLanguage;
    }
    HRESULT GetResourceModule(LCID lcid, const platform::CResourceModule*& pModule) override
    {
        m_host.asked.push_back(lcid);
        pModule = m_host.pModule;
        return m_host.pModule ? S_OK : E_FAIL;
    }

private:
    HostLanguage& m_host;
};

class ResourceLanguageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_oldCreator = SetHostLocalisationCreator([this] { return std::make_unique<FakeLocalisation>(m_host); });
        m_pOldFramework = platform::SetFrameworkResourceModule(German());
        m_pOldCom = platform::SetComResourceInstance(German());
    }
    void TearDown() override
    {
        SetHostLocalisationCreator(m_oldCreator);
        platform::SetFrameworkResourceModule(m_pOldFramework);
        platform::SetComResourceInstance(m_pOldCom);
    }
    static const platform::CResourceModule* German() { return &resources::GetBuiltInResourceModule(); }
    static const platform::CResourceModule* English()
    {
        return platform::LoadResourceLibrary(
            platform::PathJoinSlash(platform::PathDirectory(platform::GetProgramPath()), "Vek_ZR020409.loc"));
    }

    HostLanguage m_host;
    HostLocalisationCreator m_oldCreator;
    const platform::CResourceModule* m_pOldFramework = nullptr;
    const platform::CResourceModule* m_pOldCom = nullptr;
};

}  // namespace

TEST_F(ResourceLanguageTest, HostLanguageSwitchesBothModulesAndBack)
{
    ASSERT_NE(English(), nullptr);
    CResourceLanguage language;
    m_host.lcid = 1033;
    m_host.pModule = English();
    language.SwitchToHostLanguage();
    EXPECT_EQ(language.GetActiveLanguage(), 1033u);
    EXPECT_EQ(platform::GetFrameworkResourceModule(), English());
    EXPECT_EQ(platform::GetComResourceInstance(), English());

    // German after English goes back to the library's own resources without
    // asking the host for a module.
    m_host.lcid = 1031;
    m_host.asked.clear();
    language.SwitchToHostLanguage();
    EXPECT_EQ(language.GetActiveLanguage(), 1031u);
    EXPECT_EQ(platform::GetFrameworkResourceModule(), German());
    EXPECT_TRUE(m_host.asked.empty());
}

TEST_F(ResourceLanguageTest, MissingModuleFallsBackToEnglish)
{
    CResourceLanguage language;
    m_host.lcid = 1036;  // French: the host has no module for it
    language.SwitchToHostLanguage();
    EXPECT_EQ(m_host.asked, (std::vector<LCID> {1036, 1033}));
    EXPECT_EQ(language.GetActiveLanguage(), 1033u);
    EXPECT_EQ(platform::GetFrameworkResourceModule(), German());  // nothing obtained, nothing changed
}

TEST_F(ResourceLanguageTest, SameLanguageOrNoHostChangesNothing)
{
    CResourceLanguage language;
    language.SwitchToHostLanguage();  // host says 1031, already active
    EXPECT_TRUE(m_host.asked.empty());
    SetHostLocalisationCreator({});
    language.SwitchToHostLanguage();
    EXPECT_EQ(language.GetActiveLanguage(), 1031u);
    EXPECT_EQ(platform::GetFrameworkResourceModule(), German());
}
