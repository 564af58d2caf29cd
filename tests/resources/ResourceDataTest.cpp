#include "platform/base/ResourceLibrary.h"
#include "resources/de/BuiltInResources.h"
#include "tests/resources/SatellitePath.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

using platform::CResourceModule;
using platform::ResString;

const CResourceModule& German() { return resources::GetBuiltInResourceModule(); }

const CResourceModule& English() {
    const CResourceModule* pModule = platform::LoadResourceLibrary(SatellitePath());
    if (pModule == nullptr) {
        ADD_FAILURE() << "cannot load " << SatellitePath();
        return German();
    }
    return *pModule;
}

// The printf conversions of a text in order ("%d", "%02u", "%s" ...), "%%" left out.
std::vector<std::string> Conversions(const char* pszText) {
    std::vector<std::string> vec;
    for (const char* p = pszText; *p != '\0'; ++p) {
        if (*p != '%') {
            continue;
        }
        if (p[1] == '%') {
            ++p;
            continue;
        }
        const char* pStart = p++;
        while (*p != '\0' && std::strchr("-+ #0123456789.hlLqjzt", *p) != nullptr) {
            ++p;
        }
        if (*p == '\0') {
            vec.emplace_back(pStart);
            break;
        }
        vec.emplace_back(pStart, p + 1);
    }
    return vec;
}

bool IsUtf8(const std::string& str) {
    std::size_t i = 0;
    while (i < str.size()) {
        auto c = static_cast<unsigned char>(str[i]);
        std::size_t nMore = 0;
        if (c < 0x80) {
            nMore = 0;
        } else if (c >= 0xC2 && c <= 0xDF) {
            nMore = 1;
        } else if ((c & 0xF0) == 0xE0) {
            nMore = 2;
        } else if (c >= 0xF0 && c <= 0xF4) {
            nMore = 3;
        } else {
            return false;
        }
        if (nMore > str.size() - i - 1) {
            return false;
        }
        for (std::size_t k = 1; k <= nMore; ++k) {
            if ((static_cast<unsigned char>(str[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += nMore + 1;
    }
    return true;
}

void ExpectWellFormed(const CResourceModule& module) {
    std::set<UINT> setIds;
    for (const ResString& entry : module.GetTables().strings) {
        EXPECT_TRUE(setIds.insert(entry.nId).second) << "string " << entry.nId << " is doubled";
        ASSERT_NE(entry.pszText, nullptr) << "string " << entry.nId;
        EXPECT_NE(entry.pszText[0], '\0') << "string " << entry.nId << " is empty";
        EXPECT_TRUE(IsUtf8(entry.pszText)) << "string " << entry.nId << " is not UTF-8";
    }
}

TEST(ResourceDataTest, BothTablesAreWellFormed) {
    ExpectWellFormed(German());
    ExpectWellFormed(English());
    EXPECT_EQ(English().GetLanguage(), 0x0409);
}

TEST(ResourceDataTest, EnglishUsesOnlyGermanIdsWithTheSameConversions) {
    for (const ResString& entry : English().GetTables().strings) {
        const char* pszGerman = German().FindString(entry.nId);
        ASSERT_NE(pszGerman, nullptr) << "English string " << entry.nId << " has no German original";
        // The callers format both with the same arguments.
        EXPECT_EQ(Conversions(entry.pszText), Conversions(pszGerman)) << "string " << entry.nId;
    }
}

TEST(ResourceDataTest, EveryGermanStringHasAnEnglishText) {
    // A missing English entry shows the German default in the English editor.
    for (const ResString& entry : German().GetTables().strings) {
        const char* pszEnglish = English().FindString(entry.nId);
        EXPECT_NE(pszEnglish, nullptr) << "German string " << entry.nId << " has no English text";
    }
    EXPECT_EQ(English().GetTables().strings.size(), German().GetTables().strings.size());
}

TEST(ResourceDataTest, EnglishTextsKeepNoGermanWords) {
    // Words (and letters outside ASCII) a translation is apt to keep; only a
    // text both tables share (a name) may hold one.
    const std::regex german(R"(\b(ist|Nr|Uhr|und|oder|der|die|das|nicht|mit|von|vom|bis|kein|keine|Ja|Nein)\b|[^\x01-\x7F])");
    for (const ResString& entry : English().GetTables().strings) {
        const char* pszGerman = German().FindString(entry.nId);
        if (pszGerman == nullptr || std::strcmp(pszGerman, entry.pszText) != 0) {
            EXPECT_FALSE(std::regex_search(entry.pszText, german)) << entry.nId << ": " << entry.pszText;
        }
    }
}

TEST(ResourceDataTest, IndexedRunsHaveNoGaps) {
    // Callers compute these ids as first id + index.
    struct Run {
        UINT nFirst;
        UINT nLast;
    };
    for (Run run : {Run{250, 258}, Run{269, 274}, Run{280, 288}, Run{290, 295}, Run{850, 858}, Run{1200, 1211},
                    Run{40112, 40118}, Run{40126, 40132}}) {
        for (UINT nId = run.nFirst; nId <= run.nLast; ++nId) {
            EXPECT_NE(German().FindString(nId), nullptr) << "German string " << nId;
        }
    }
    for (Run run : {Run{250, 258}, Run{269, 274}, Run{1200, 1211}, Run{40112, 40118}, Run{40126, 40132}}) {
        for (UINT nId = run.nFirst; nId <= run.nLast; ++nId) {
            EXPECT_NE(English().FindString(nId), nullptr) << "English string " << nId;
        }
    }
}

TEST(ResourceDataTest, TextsAreStoredAsUtf8Bytes) {
    EXPECT_STREQ(German().FindString(477), "\xC3\x9C");                       // Ü
    EXPECT_STREQ(German().FindString(40109), "Sb\xC3\x84");                   // SbÄ
    EXPECT_STREQ(German().FindString(111), "Gr\xC3\xB6\xC3\x9F" "e");         // Größe
    EXPECT_STREQ(German().FindString(220), "\"keine\"");
    EXPECT_STREQ(English().FindString(220), "\"none\"");
    EXPECT_STREQ(English().FindString(817), "o'clock");
    EXPECT_STREQ(German().FindString(305), "Seite %u");
    EXPECT_STREQ(English().FindString(305), "Page %u");
}

}  // namespace
