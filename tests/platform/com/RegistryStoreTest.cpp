#include "platform/base/AtomicFile.h"
#include "platform/com/RegistryStore.h"
#include "platform/com/ComTypes.h"
#include "tests/platform/com/TempRegistry.h"
#include "tests/support/ProfileLockHolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

using platform::CRegistryKey;
using platform::CRegistryStore;

TEST(RegistryStoreTest, LocationComesFromTheEnvironment)
{
    CTempRegistry temp;
    EXPECT_EQ(temp.GetFilePath(), CRegistryStore().GetFilePath());
    ::unsetenv("CHRONO_REGISTRY_FILE");
    std::string oldXdg = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    ::setenv("XDG_CONFIG_HOME", "/srv/cfg", 1);
    EXPECT_EQ("/srv/cfg/chronosets2/registry.json", CRegistryStore::DefaultFilePath());
    ::unsetenv("XDG_CONFIG_HOME");
    std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", "/home/anna", 1);
    EXPECT_EQ("/home/anna/.config/chronosets2/registry.json", CRegistryStore::DefaultFilePath());
    ::setenv("HOME", home.c_str(), 1);
    if (!oldXdg.empty())
        ::setenv("XDG_CONFIG_HOME", oldXdg.c_str(), 1);
}

TEST(RegistryStoreTest, SecondStoreSeesWhatTheFirstWrote)
{
    CTempRegistry temp;
    CRegistryStore writer;
    CRegistryStore reader;
    // No file yet is an empty registry, not a failure.
    EXPECT_FALSE(reader.KeyExists("HKCR\\CLSID"));
    EXPECT_EQ(std::nullopt, reader.GetValue("HKCR\\CLSID", ""));

    ASSERT_TRUE(writer.SetValue("HKCR\\Vek_ZR01.DeviceUI2.1", "", "DeviceUI2 Class"));
    ASSERT_TRUE(writer.SetValue("HKEY_CLASSES_ROOT\\Vek_ZR01.DeviceUI2.1\\CLSID", "", "{712CC3F3-3BAB-4646-9EC4-0725857FDF6F}"));
    ASSERT_TRUE(writer.SetValue("HKCR\\CLSID\\{X}\\InprocServer32", "ThreadingModel", "Apartment"));
    ASSERT_TRUE(writer.CreateKey("HKLM\\Software\\Vek"));

    // Roots by either name, keys and value names without regard to case.
    EXPECT_EQ("DeviceUI2 Class", reader.GetValue("hkey_classes_root\\VEK_ZR01.DEVICEUI2.1", ""));
    EXPECT_EQ("Apartment", reader.GetValue("HKCR\\clsid\\{x}\\inprocserver32", "threadingmodel"));
    EXPECT_TRUE(reader.KeyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\vek"));
    EXPECT_EQ((std::vector<std::string> {"CLSID", "Vek_ZR01.DeviceUI2.1"}), reader.EnumKeys("HKCR"));
    EXPECT_EQ(1u, reader.EnumValues("HKCR\\CLSID\\{X}\\InprocServer32").size());

    // A name keeps the case it was first written with.
    ASSERT_TRUE(writer.CreateKey("HKCR\\clsid\\{Y}"));
    EXPECT_EQ((std::vector<std::string> {"{X}", "{Y}"}), reader.EnumKeys("HKCR\\CLSID"));

    EXPECT_TRUE(writer.DeleteValue("HKCR\\CLSID\\{X}\\InprocServer32", "ThreadingModel"));
    EXPECT_FALSE(writer.DeleteValue("HKCR\\CLSID\\{X}\\InprocServer32", "ThreadingModel"));
    EXPECT_TRUE(writer.DeleteKey("HKCR\\CLSID"));  // with everything below it
    EXPECT_FALSE(reader.KeyExists("HKCR\\CLSID\\{X}"));
    EXPECT_FALSE(writer.DeleteKey("HKCR\\CLSID"));
    EXPECT_TRUE(reader.KeyExists("HKCR\\Vek_ZR01.DeviceUI2.1\\CLSID"));
}

TEST(RegistryStoreTest, FileFormatIsPlainJson)
{
    CRegistryKey root;
    root.CreatePath("HKEY_CLASSES_ROOT\\Größe").SetValue("", "Wert 'ä'");
    root.CreatePath("HKEY_CLASSES_ROOT\\Größe\\Sub").SetValue("Name", "x");
    const std::string text = CRegistryStore::Serialize(root);
    EXPECT_EQ(R"({
  "keys": {
    "HKEY_CLASSES_ROOT": {
      "keys": {
        "Größe": {
          "keys": {
            "Sub": {
              "values": {
                "Name": "x"
              }
            }
          },
          "values": {
            "": "Wert 'ä'"
          }
        }
      }
    }
  }
}
)",
              text);
    CRegistryKey parsed;
    ASSERT_TRUE(CRegistryStore::Parse(text, parsed));
    EXPECT_TRUE(parsed == root);
    EXPECT_FALSE(CRegistryStore::Parse(R"({"keys": {"A": {"values": {"x": 5}}}})", parsed));
    EXPECT_FALSE(CRegistryStore::Parse(R"({"keys": {"A\\B": {}}})", parsed));
    EXPECT_FALSE(CRegistryStore::Parse("[1, 2]", parsed));
}

TEST(RegistryStoreTest, BrokenFileIsNeitherReadNorOverwritten)
{
    CTempRegistry temp;
    std::filesystem::create_directories(std::filesystem::path(temp.GetFilePath()).parent_path());
    ASSERT_TRUE(platform::WriteFileAtomically(temp.GetFilePath(), std::string_view("{\"keys\": {")));
    CRegistryStore store;
    CRegistryKey root;
    EXPECT_EQ(REGDB_E_READREGDB, store.Load(root));
    EXPECT_FALSE(store.SetValue("HKCR\\A", "", "x"));
    auto bytes = platform::ReadWholeFile(temp.GetFilePath());
    ASSERT_TRUE(bytes);
    EXPECT_EQ("{\"keys\": {", std::string(bytes->begin(), bytes->end()));
}

TEST(RegistryStoreTest, UpdateIsAllOrNothing)
{
    CTempRegistry temp;
    CRegistryStore store;
    ASSERT_TRUE(store.SetValue("HKCR\\Keep", "", "1"));
    const auto before = platform::ReadWholeFile(temp.GetFilePath());
    EXPECT_EQ(E_ABORT, store.Update([](CRegistryKey& root) {
        root.CreatePath("HKEY_CLASSES_ROOT\\Half");
        return E_ABORT;
    }));
    EXPECT_FALSE(store.KeyExists("HKCR\\Half"));
    EXPECT_EQ(before, platform::ReadWholeFile(temp.GetFilePath()));

    // The write goes through a temporary file that never stays behind.
    ASSERT_TRUE(store.SetValue("HKCR\\Keep", "", "2"));
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(temp.GetFilePath()).parent_path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "registry.json" || name == "registry.json.lock") << name;
    }

    // A target that cannot be written leaves the store as it was.
    CRegistryStore unwritable(temp.GetDirectory() + "/config/registry.json/inside.json");
    EXPECT_EQ(REGDB_E_WRITEREGDB, unwritable.Update([](CRegistryKey& root) {
        root.CreatePath("HKCR");
        return S_OK;
    }));
}

// The ini files' lock rules: behind another's lock one bounded wait, then
// failures at once until it is free, each said to the program with its
// reason; a lock file in the way is named.
TEST(RegistryStoreTest, AChangeBehindAnotherLockWaitsOnceAndSaysWhy)
{
    CTempRegistry temp;
    CRegistryStore store;
    ASSERT_TRUE(store.SetValue("HKCR\\Keep", "", "1"));
    platform::TakeRegistryNotices();
    const std::string strFile = std::filesystem::canonical(temp.GetFilePath()).string();
    const locktest::CCountedLockWaits waits;
    {
        locktest::CLockHolder holder(strFile + ".lock");
        ASSERT_TRUE(holder.Holds());
        EXPECT_FALSE(store.SetValue("HKCR\\A", "", "1"));
        EXPECT_FALSE(store.SetValue("HKCR\\A", "", "2"));
        EXPECT_EQ(waits.nWaited, platform::kFileWriteLockWaitMilliseconds);
        const std::string strLocked = "the registry file " + temp.GetFilePath() +
                                      " cannot be written: the file is locked by another program";
        EXPECT_EQ(store.GetFailureText(), strLocked);
        EXPECT_EQ(platform::TakeRegistryNotices(), (std::vector<std::string> {strLocked}));
    }
    EXPECT_TRUE(store.SetValue("HKCR\\A", "", "3"));
    EXPECT_EQ(store.GetFailureText(), "");
    EXPECT_TRUE(platform::TakeRegistryNotices().empty());

    std::filesystem::create_directory(strFile + ".lock");
    EXPECT_FALSE(store.SetValue("HKCR\\A", "", "4"));
    EXPECT_EQ(store.GetFailureText(), "the registry file " + temp.GetFilePath() + " cannot be written: its lock file \"" +
                                          strFile + ".lock\" cannot be opened: " + std::strerror(EISDIR));
    EXPECT_EQ(store.GetValue("HKCR\\A", ""), "3");
}

}  // namespace
