// The registry file under a crash: an update stopped before its rename and a
// child process killed while it updates again and again leave one whole
// registry, and the next update leaves nothing beside it but its lock file.

#include "platform/com/RegistryStore.h"

#include "TempRegistry.h"
#include "platform/base/AtomicFile.h"
#include "platform/com/ComTypes.h"
#include "tests/support/CrashTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

using platform::CRegistryKey;
using platform::CRegistryStore;

namespace {

std::string ReadText(const std::string& strPath)
{
    auto bytes = platform::ReadWholeFile(strPath);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

std::vector<std::string> NamesBeside(const std::string& strPath)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(strPath).parent_path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(RegistryCrash, AnUpdateStoppedBeforeTheRenameKeepsTheOldRegistry)
{
    CTempRegistry temp;
    CRegistryStore store;
    ASSERT_TRUE(store.SetValue("HKCR\\CLSID\\{1}", "", "alt"));
    const std::string strOld = ReadText(temp.GetFilePath());
    {
        crashtest::CStopBeforeRename stop;
        EXPECT_FALSE(store.SetValue("HKCR\\CLSID\\{1}", "", "neu"));
        EXPECT_EQ(store.Update([](CRegistryKey& root) {
                      root.CreatePath("HKEY_CLASSES_ROOT\\Other");
                      return S_OK;
                  }),
                  REGDB_E_WRITEREGDB);
        EXPECT_EQ(stop.Temporaries().size(), 2u);
    }
    EXPECT_EQ(ReadText(temp.GetFilePath()), strOld);
    EXPECT_EQ(store.GetValue("HKCR\\CLSID\\{1}", ""), "alt");
    ASSERT_TRUE(store.SetValue("HKCR\\CLSID\\{1}", "", "neu"));
    EXPECT_EQ(NamesBeside(temp.GetFilePath()), (std::vector<std::string> {"registry.json"}));
}

TEST(RegistryCrash, AKilledUpdateLeavesOneWholeRegistry)
{
    CTempRegistry temp;
    CRegistryStore store;
    ASSERT_TRUE(store.SetValue("HKCR\\Keep", "", "1"));
    const std::string strLongValue(30000, 'l');

    std::mt19937 random(23);
    for (int nRound = 0; nRound < 10; ++nRound) {
        crashtest::KillWhileWriting(
            [&](unsigned i) {
                return store.SetValue("HKCR\\CLSID\\{1}\\InprocServer32", "", i % 2 ? strLongValue : "short");
            },
            random);
        // A whole registry file with one of the two values.
        CRegistryKey root;
        EXPECT_TRUE(CRegistryStore::Parse(ReadText(temp.GetFilePath()), root)) << "round " << nRound;
        const std::optional<std::string> value = store.GetValue("HKCR\\CLSID\\{1}\\InprocServer32", "");
        EXPECT_TRUE(!value || *value == "short" || *value == strLongValue) << "round " << nRound;
        EXPECT_EQ(store.GetValue("HKCR\\Keep", ""), "1");
        // The next update that changes the tree writes it and clears up.
        ASSERT_TRUE(store.SetValue("HKCR\\Round", "", std::to_string(nRound)));
        EXPECT_EQ(NamesBeside(temp.GetFilePath()), (std::vector<std::string> {"registry.json"}))
            << "round " << nRound;
    }
}
