// The data file frame, its schema gates, clean failure on truncated files,
// atomic saving and the text export frame.

#include "app/Chronoset.h"

#include "model/ArchiveSchema.h"
#include "common/Globals.h"
#include "platform/base/AtomicFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class ChronosetFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_bStandalone = g_bStandalone;
        g_bStandalone = true;
        m_nSchema = g_nArchiveSchema;
        m_pPrevious = g_pChronoset;
        m_dir = std::filesystem::temp_directory_path() /
                ("chronoset-file-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override
    {
        g_bStandalone = m_bStandalone;
        g_nArchiveSchema = m_nSchema;
        g_pChronoset = m_pPrevious;
        std::filesystem::remove_all(m_dir);
    }

    std::string PathOf(const char* pszName) const { return (m_dir / pszName).string(); }

    static Bytes Read(const std::string& strPath) { return platform::ReadWholeFile(strPath).value_or(Bytes {}); }
    void Write(const std::string& strPath, const Bytes& bytes) const
    {
        ASSERT_TRUE(platform::WriteFileAtomically(strPath, bytes.data(), bytes.size()));
    }

    // An identity with texts of every length form the header knows.
    static void FillIdentity(CChronoset& set)
    {
        set.m_nIndividualAddress = 0x1105;
        set.m_strDeviceName = "Schaltuhr Büro";
        set.m_strDeviceDescription = "";
        set.m_strManufacturerName = "Vek";
        set.m_strDeviceTitle = "ORV/X2.1";
        set.m_strApplicationName = "Tavik";
        set.m_nManufacturerId = 2;
        set.m_nDeviceType = 0x2101;
        set.m_nApplicationVersion = 0x21;
        set.m_strDeviceComment = "Kommentar";
        set.m_nSendDelay = 3;
    }

    bool m_bStandalone = false;
    DWORD m_nSchema = 0;
    CChronoset* m_pPrevious = nullptr;
    std::filesystem::path m_dir;
};

// The header as this system writes it, up to the data sets' records.
const Bytes kGoldenHeader = {
    0x00, 0x00, 0x02, 0x00,                                                       // schema 0x20000
    0x05, 0x11, 0x00, 0x00,                                                       // 1.1.5
    0x0E, 'S', 'c', 'h', 'a', 'l', 't', 'u', 'h', 'r', ' ', 'B', 0xFC, 'r', 'o',  // Windows-1252 name
    0x00,                                                                         // description
    0x03, 'V', 'e', 'k',
    0x08, 'O', 'R', 'V', '/', 'X', '2', '.', '1',
    0x05, 'T', 'a', 'v', 'i', 'k',
    0x02, 0x00, 0x00, 0x00,                                                       // manufacturer
    0x01, 0x21, 0x00, 0x00,                                                       // device type
    0x21,                                                                         // version
    0x09, 'K', 'o', 'm', 'm', 'e', 'n', 't', 'a', 'r',
    0x03,                                                                         // send delay
};

}  // namespace

TEST_F(ChronosetFileTest, NewObjectIsEmptyAndUnknown)
{
    CChronoset set;
    EXPECT_EQ(set.GetIndividualAddressText(), "--.--.---");
    EXPECT_EQ(set.GetSendDelay(), 0);
    EXPECT_EQ(set.GetAddressCount(), 0u);
    EXPECT_TRUE(set.CanAddGroupAddress());
    EXPECT_EQ(set.GetMaxGroupAddressCount(), 250);
    EXPECT_EQ(set.m_nParameterVersion, 0x20000);
    set.m_nIndividualAddress = 0xF3FE;
    EXPECT_EQ(set.GetIndividualAddressText(), "15.03.254");
}

TEST_F(ChronosetFileTest, SavedFileStartsWithTheGoldenHeaderAndLoadsBack)
{
    CChronoset set;
    g_pChronoset = &set;
    FillIdentity(set);
    const std::string strPath = PathOf("device.tv2");
    ASSERT_EQ(set.SaveToFile(strPath, nullptr), 1);
    EXPECT_EQ(set.GetFilePath(), strPath);
    const Bytes bytes = Read(strPath);
    ASSERT_GE(bytes.size(), kGoldenHeader.size());
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(kGoldenHeader.size())), kGoldenHeader);

    CChronoset loaded;
    g_pChronoset = &loaded;
    g_nArchiveSchema = 0;
    ASSERT_EQ(loaded.LoadFromFile(strPath, nullptr), 1);
    EXPECT_EQ(g_nArchiveSchema, 0x20000u);
    EXPECT_EQ(loaded.m_nIndividualAddress, 0x1105);
    EXPECT_EQ(loaded.m_strDeviceName, "Schaltuhr Büro");
    EXPECT_EQ(loaded.m_nManufacturerId, 2);
    EXPECT_EQ(loaded.m_nDeviceType, 0x2101);
    EXPECT_EQ(loaded.m_nApplicationVersion, 0x21);
    EXPECT_EQ(*loaded.GetDeviceComment(), "Kommentar");
    EXPECT_EQ(loaded.GetSendDelay(), 3);
    EXPECT_EQ(loaded.GetFilePath(), strPath);

    // Stored again, the file is the same to the byte.
    const std::string strAgain = PathOf("again.tv2");
    ASSERT_EQ(loaded.SaveToFile(strAgain, nullptr), 1);
    EXPECT_EQ(Read(strAgain), bytes);
}

TEST_F(ChronosetFileTest, OlderSchemasLeaveOutTheirMissingFields)
{
    CChronoset source;
    g_pChronoset = &source;
    FillIdentity(source);
    const std::string strPath = PathOf("source.tv2");
    ASSERT_EQ(source.SaveToFile(strPath, nullptr), 1);
    const Bytes full = Read(strPath);
    // The header without fields 8..11 (manufacturer .. comment) and with
    // them; the data sets' records follow the send delay.
    const std::size_t nStrings = 4 + 4 + 15 + 1 + 4 + 9 + 6;
    const Bytes tail(full.begin() + static_cast<long>(kGoldenHeader.size()), full.end());

    struct Case {
        DWORD nSchema;
        bool bApplication;
        bool bComment;
    };
    for (const Case& c : {Case {0x10002, false, false}, Case {0x10006, true, false}, Case {0x10007, true, true}}) {
        Bytes file = {static_cast<std::uint8_t>(c.nSchema), static_cast<std::uint8_t>(c.nSchema >> 8),
                      static_cast<std::uint8_t>(c.nSchema >> 16), 0};
        file.insert(file.end(), kGoldenHeader.begin() + 4, kGoldenHeader.begin() + static_cast<long>(nStrings));
        if (c.bApplication)
            file.insert(file.end(), kGoldenHeader.begin() + static_cast<long>(nStrings),
                        kGoldenHeader.begin() + static_cast<long>(nStrings + 9));
        if (c.bComment)
            file.insert(file.end(), kGoldenHeader.begin() + static_cast<long>(nStrings + 9),
                        kGoldenHeader.begin() + static_cast<long>(nStrings + 19));
        file.push_back(0x03);
        file.insert(file.end(), tail.begin(), tail.end());
        const std::string strOld = PathOf("old.tv1");
        Write(strOld, file);

        CChronoset loaded;
        g_pChronoset = &loaded;
        // The data sets' records of an older schema have other forms than
        // the current empty ones spliced in here; the header is what this
        // case checks, and it is read before any record.
        loaded.LoadFromFile(strOld, nullptr);
        EXPECT_EQ(g_nArchiveSchema, c.nSchema);
        EXPECT_EQ(loaded.m_strApplicationName, "Tavik");
        EXPECT_EQ(loaded.m_nManufacturerId, c.bApplication ? 2 : -1) << std::hex << c.nSchema;
        EXPECT_EQ(loaded.m_nDeviceType, c.bApplication ? 0x2101 : -1);
        EXPECT_EQ(loaded.m_nApplicationVersion, c.bApplication ? 0x21 : 0);
        EXPECT_EQ(*loaded.GetDeviceComment(), c.bComment ? "Kommentar" : "");
        EXPECT_EQ(loaded.GetSendDelay(), 3);
    }
}

TEST_F(ChronosetFileTest, TruncatedFileFailsAtEveryLength)
{
    CChronoset source;
    g_pChronoset = &source;
    FillIdentity(source);
    const std::string strPath = PathOf("full.tv2");
    ASSERT_EQ(source.SaveToFile(strPath, nullptr), 1);
    const Bytes full = Read(strPath);
    const std::string strCut = PathOf("cut.tv2");
    for (std::size_t n = 0; n < full.size(); ++n) {
        Write(strCut, Bytes(full.begin(), full.begin() + static_cast<long>(n)));
        CChronoset loaded;
        g_pChronoset = &loaded;
        EXPECT_EQ(loaded.LoadFromFile(strCut, nullptr), 0) << "length " << n;
    }
}

TEST_F(ChronosetFileTest, MissingFileOrPathLoadsNothing)
{
    CChronoset set;
    g_pChronoset = &set;
    EXPECT_EQ(set.LoadFromFile("", nullptr), 0);
    EXPECT_EQ(set.LoadFromFile(PathOf("none.tv2"), nullptr), 0);
    EXPECT_EQ(set.GetFilePath(), "");
}

TEST_F(ChronosetFileTest, FailedSaveKeepsTheOldFile)
{
    CChronoset set;
    g_pChronoset = &set;
    const std::string strPath = PathOf("kept.tv2");
    Write(strPath, {1, 2, 3});
    // A directory in the file's place cannot be replaced.
    const std::string strDirectory = PathOf("folder");
    std::filesystem::create_directories(std::filesystem::path(strDirectory) / "inner");
    EXPECT_EQ(set.SaveToFile(strDirectory, nullptr), 0);
    EXPECT_EQ(set.SaveToFile(PathOf("missing/dir/x.tv2"), nullptr), 0);
    EXPECT_EQ(Read(strPath), (Bytes {1, 2, 3}));
    EXPECT_EQ(set.GetFilePath(), "");
}

TEST_F(ChronosetFileTest, PlugInModeKeepsTheHostAddress)
{
    CChronoset source;
    g_pChronoset = &source;
    FillIdentity(source);
    const std::string strPath = PathOf("plugin.tv2");
    ASSERT_EQ(source.SaveToFile(strPath, nullptr), 1);

    g_bStandalone = false;
    CChronoset loaded;
    g_pChronoset = &loaded;
    loaded.m_nIndividualAddress = 0x2203;
    ASSERT_EQ(loaded.LoadFromFile(strPath, nullptr), 1);
    EXPECT_EQ(loaded.m_nIndividualAddress, 0x2203);
    EXPECT_EQ(loaded.m_strDeviceName, "Schaltuhr Büro");
}

TEST_F(ChronosetFileTest, ExportFrameIsQuotedWindows1252WithCrLf)
{
    CChronoset set;
    g_pChronoset = &set;
    set.m_strManufacturerName = "Vek \"Zeit\"";
    set.m_strApplicationName = "Tavik";
    set.m_nIndividualAddress = 0x1105;
    set.m_nSendDelay = 15;
    const std::string strPath = PathOf("export.csv");
    ASSERT_EQ(set.ExportToFile(strPath, nullptr), 1);
    const Bytes bytes = Read(strPath);
    const std::string strText(bytes.begin(), bytes.end());
    const std::string strFrame = "\"\"\r\n"
                                 "\r\n"
                                 "\"Hersteller:\",\"Vek \"\"Zeit\"\"\"\r\n"
                                 "\"Applikation:\",\"Tavik\"\r\n"
                                 "\"Physikalische Adresse:\",\"01.01.005\"\r\n"
                                 "\r\n"
                                 "\"Allgemein\"\r\n"
                                 "\"Sendeverz\xF6gerung\",\"15 ms\"\r\n"
                                 "\r\n";
    ASSERT_GE(strText.size(), strFrame.size());
    EXPECT_EQ(strText.substr(0, strFrame.size()), strFrame);
    // Every line feed has its carriage return.
    for (std::size_t i = 0; i < strText.size(); ++i) {
        if (strText[i] == '\n') {
            ASSERT_TRUE(i > 0 && strText[i - 1] == '\r') << "at " << i;
        }
    }
}
