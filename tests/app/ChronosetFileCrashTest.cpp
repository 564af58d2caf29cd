// The data file and the text export under a crash: a save stopped between
// its temporary file and the rename, and a child process killed while it
// saves again and again. The file on disk is always the old one or the new
// one, whole, and the next save leaves no temporary file behind.

#include "app/Chronoset.h"
#include "model/ArchiveSchema.h"
#include "model/DayRoutine.h"
#include "common/Globals.h"
#include "platform/base/AtomicFile.h"
#include "tests/support/CrashTestSupport.h"
#include "tests/support/StandaloneGlobals.h"
#include "tools/SampleData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

class ChronosetFileCrashTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = crashtest::ScratchDirectory("chronoset-crash");
        // Two sets of clearly different sizes.
        BuildSampleParameterSet(m_small);
        g_pChronoset = &m_large;
        BuildMaximalParameterSet(m_large);
    }
    void TearDown() override
    {
        platform::SetAtomicWriteHooks({});
        fs::remove_all(m_dir);
    }

    std::string PathOf(const char* pszName) const { return (m_dir / pszName).string(); }
    static Bytes Read(const std::string& strPath) { return platform::ReadWholeFile(strPath).value_or(Bytes {}); }
    int Save(CChronoset& set, const std::string& strPath)
    {
        g_pChronoset = &set;
        return set.SaveToFile(strPath, nullptr);
    }
    int Export(CChronoset& set, const std::string& strPath)
    {
        g_pChronoset = &set;
        return set.ExportToFile(strPath, nullptr);
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    CChronoset m_small;
    CChronoset m_large;
    fs::path m_dir;

private:
    testsupport::CStandaloneGlobals m_globals;
};

}  // namespace

TEST_F(ChronosetFileCrashTest, SaveAndExportStoppedBeforeTheRenameKeepTheOldFiles)
{
    const std::string strData = PathOf("anlage.tv2");
    const std::string strCsv = PathOf("anlage.csv");
    ASSERT_EQ(Save(m_small, strData), 1);
    ASSERT_EQ(Export(m_small, strCsv), 1);
    const Bytes oldData = Read(strData);
    const Bytes oldCsv = Read(strCsv);
    {
        crashtest::CStopBeforeRename stop;
        EXPECT_EQ(Save(m_large, strData), 0);
        EXPECT_EQ(Export(m_large, strCsv), 0);
        ASSERT_EQ(stop.Temporaries().size(), 2u);
        // The new content was complete beside the old file.
        CChronoset loaded;
        EXPECT_EQ(loaded.LoadFromFile(stop.Temporaries()[0], nullptr), 1);
        EXPECT_GT(Read(stop.Temporaries()[1]).size(), oldCsv.size());
    }
    EXPECT_EQ(Read(strData), oldData);
    EXPECT_EQ(Read(strCsv), oldCsv);
    // The failed save did not move the file path to the new file either.
    EXPECT_EQ(m_large.GetFilePath(), "");

    ASSERT_EQ(Save(m_large, strData), 1);
    ASSERT_EQ(Export(m_large, strCsv), 1);
    EXPECT_EQ(Names(), (std::vector<std::string> {"anlage.csv", "anlage.tv2"}));
    CChronoset loaded;
    ASSERT_EQ(loaded.LoadFromFile(strData, nullptr), 1);
    EXPECT_EQ(loaded.GetDayRoutines()->GetSwitchTimeCount(), m_large.GetDayRoutines()->GetSwitchTimeCount());
}

TEST_F(ChronosetFileCrashTest, AKilledSaveOrExportLeavesOneWholeFile)
{
    const std::string strData = PathOf("anlage.tv2");
    const std::string strCsv = PathOf("anlage.csv");
    ASSERT_EQ(Save(m_large, strData), 1);
    const Bytes largeData = Read(strData);
    ASSERT_EQ(Export(m_large, strCsv), 1);
    const Bytes largeCsv = Read(strCsv);
    ASSERT_EQ(Save(m_small, strData), 1);
    const Bytes smallData = Read(strData);
    ASSERT_EQ(Export(m_small, strCsv), 1);
    const Bytes smallCsv = Read(strCsv);

    std::mt19937 random(13);
    for (int nRound = 0; nRound < 12; ++nRound) {
        const bool bExport = nRound % 2 == 1;
        crashtest::KillWhileWriting(
            [&](unsigned i) {
                CChronoset& set = i % 2 ? m_large : m_small;
                return (bExport ? Export(set, strCsv) : Save(set, strData)) == 1;
            },
            random, 8000);
        const Bytes data = Read(strData);
        EXPECT_TRUE(data == smallData || data == largeData) << "round " << nRound << ": " << data.size();
        const Bytes csv = Read(strCsv);
        EXPECT_TRUE(csv == smallCsv || csv == largeCsv) << "round " << nRound << ": " << csv.size();
        ASSERT_EQ(bExport ? Export(m_small, strCsv) : Save(m_small, strData), 1);
        EXPECT_EQ(Names(), (std::vector<std::string> {"anlage.csv", "anlage.tv2"})) << "round " << nRound;
    }
    CChronoset loaded;
    EXPECT_EQ(loaded.LoadFromFile(strData, nullptr), 1);
}
