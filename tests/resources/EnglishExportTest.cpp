// The text export of the sample data file reads in one language: with the
// English satellite active no German word of the program's own texts is left.

#include "app/Chronoset.h"
#include "model/DayRoutine.h"
#include "model/DptManager.h"
#include "model/GroupDataAddress.h"
#include "model/Locale.h"
#include "model/Quantity.h"
#include "common/Globals.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/Cp1252.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/SystemLocale.h"
#include "resources/de/BuiltInResources.h"
#include "tests/resources/SatellitePath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Words of the German texts of the export; each one is in the German export
// of the sample outside its names.
const std::set<std::string> kGermanWords = {
    "Hersteller", "Applikation", "Physikalische", "Allgemein", "Sendeverzögerung", "Gruppenadressen",
    "Gruppenadresse", "Typ", "Interne", "Uhr", "Betriebsart", "Zeitprogrammtyp", "Zeitprogramm", "Tagesabläufe",
    "Auslöser", "Tagesablauf", "Zeit", "Wert", "Nein", "Ja", "Wochenablauf", "Wochentag", "Montag", "Sonntag",
    "Sommerzeiten", "Jahr", "Beginn", "Ende", "Versatz", "vom", "bis", "ab", "Sondertage", "Mengen", "Bereich",
    "Auslösung", "Warmstart", "Kaltstart", "Initwert", "Menge", "Mitglieder", "Abfrage",
};

// The export of the sample under the given resources, as UTF-8, with the
// parameter set's own names blanked out: they are the user's words.
std::string ExportSample(const platform::CResourceModule* pModule, const std::string& strPath) {
    platform::SetFrameworkResourceModule(pModule);
    CChronoset sample;
    g_pChronoset = &sample;
    EXPECT_EQ(sample.LoadFromFile(CHRONO_SAMPLE_DATA_FILE, nullptr), 1);
    EXPECT_EQ(sample.ExportToFile(strPath, nullptr), 1);
    g_pChronoset = nullptr;
    const auto bytes = platform::ReadWholeFile(strPath).value_or(std::vector<std::uint8_t>{});
    std::string strText = platform::Cp1252ToUtf8(std::string(bytes.begin(), bytes.end()));

    std::vector<std::string> arrNames = {sample.m_strDeviceTitle, sample.m_strManufacturerName,
                                         sample.m_strApplicationName};
    const CInternalClock* pClock = sample.GetInternalClock();
    std::vector<const CGroupDataAddress*> arrAddresses = {pClock->GetTimeGroupAddress(), pClock->GetDateGroupAddress(),
                                                          pClock->GetRequestGroupAddress(),
                                                          pClock->GetLockGroupAddress()};
    for (const CGroupDataAddress* pAddress : sample.GetGroupDataAddresses()->GetList(false)) {
        arrAddresses.push_back(pAddress);
    }
    for (const CGroupDataAddress* pAddress : arrAddresses) {
        arrNames.push_back(pAddress ? pAddress->GetName() : std::string());
    }
    for (const CDayRoutine* pRoutine : sample.GetDayRoutines()->GetDayRoutines()) {
        arrNames.push_back(pRoutine->GetName());
    }
    for (const CQuantity* pQuantity : sample.GetQuantities()->GetQuantityList()) {
        arrNames.push_back(pQuantity->GetName());
    }
    // Longest first, so that no name is cut by a shorter one inside it.
    std::sort(arrNames.begin(), arrNames.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
    for (const std::string& strName : arrNames) {
        for (std::size_t pos = strName.empty() ? std::string::npos : strText.find(strName); pos != std::string::npos;
             pos = strText.find(strName, pos + 1)) {
            strText.replace(pos, strName.size(), "#");
        }
    }
    return strText;
}

// The German words that stand in a text as whole words.
std::set<std::string> GermanWordsIn(const std::string& strText) {
    std::set<std::string> setFound;
    std::string strWord;
    for (char c : strText + " ") {
        if (std::isalpha(static_cast<unsigned char>(c)) || (static_cast<unsigned char>(c) & 0x80) != 0) {
            strWord += c;
            continue;
        }
        if (kGermanWords.count(strWord) != 0) {
            setFound.insert(strWord);
        }
        strWord.clear();
    }
    return setFound;
}

TEST(EnglishExportTest, SampleExportHasNoGermanWordsWithTheEnglishResources) {
    const platform::CResourceModule* pPrevious = platform::GetFrameworkResourceModule();
    CChronoset* pOpen = g_pChronoset;
    const bool bStandalone = g_bStandalone;
    g_bStandalone = true;
    g_DptManager.Init();  // values with their units, as after the start-up
    // US settings: times with their AM/PM suffix, whatever the machine's.
    platform::SetIntlOverride(platform::IntlValuesForLocale("en_US"));
    ResetLocaleCache();
    const std::string strPath = (std::filesystem::temp_directory_path() /
                                 ("chrono-english-export-" + std::to_string(::getpid()) + ".csv"))
                                    .string();

    // The check finds every word in the German export, so it cannot miss
    // one left in the English one.
    const std::string strGerman = ExportSample(&resources::GetBuiltInResourceModule(), strPath);
    EXPECT_EQ(GermanWordsIn(strGerman), kGermanWords) << strGerman;

    const platform::CResourceModule* pEnglish = platform::LoadResourceLibrary(SatellitePath());
    ASSERT_NE(pEnglish, nullptr) << SatellitePath();
    const std::string strEnglish = ExportSample(pEnglish, strPath);
    EXPECT_EQ(GermanWordsIn(strEnglish), std::set<std::string>{}) << strEnglish;
    for (const char* pszText : {"\"Manufacturer:\"", "\"Group address\"", "\"Internal clock\"",
                                "\"Time program type:\"", "\"Time\"", "\"Week routine\"", " AM\"", "\"from ",
                                "\"up to ", "\"Triggers of group #\"", "\"Members of group #\"", "\"Request\"",
                                "\"Range\""}) {
        EXPECT_NE(strEnglish.find(pszText), std::string::npos) << pszText;
    }
    // The suffix ends a 12-hour time; no clock word follows it.
    EXPECT_EQ(strEnglish.find("o'clock"), std::string::npos) << strEnglish;

    std::filesystem::remove(strPath);
    g_bStandalone = bStandalone;
    g_pChronoset = pOpen;
    platform::SetIntlOverride(std::nullopt);
    ResetLocaleCache();
    platform::SetFrameworkResourceModule(pPrevious);
}

}  // namespace
