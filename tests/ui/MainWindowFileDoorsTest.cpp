// The main window's file commands with files that go wrong: open and import
// of empty, truncated, foreign and oversized data files, save, Save As and
// export to targets that may not be written. Each shows its error box, and
// the open parameter set, the window's file and title and every file on disk
// stay as they were.

#include "app/Chronoset.h"
#include "model/DayRoutine.h"
#include "common/Globals.h"
#include "platform/archive/Archive.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/WinApp.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/support/ScriptedFileDialogService.h"
#include "tests/support/ScriptedMessageBoxSink.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/ParameterDlg.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr UINT kErrorBoxOk = 0x10;  // error icon, OK
const char kLoadError[] = "Fehler beim Laden der Parameterdaten!";
const char kLoadCaption[] = "Parameterdaten laden";
const char kSaveError[] = "Fehler beim Speichern der Parameterdaten!";
const char kSaveCaption[] = "Parameterdaten speichern";

class MainWindowFileDoorsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pPreviousResources = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        m_app.SetProfileName(m_dir.File("Vek_ZR02.ini"));
        m_bStandalone = g_bStandalone;
        m_bModified = g_bDataModified;
        m_pPrevious = g_pChronoset;
        g_pChronoset = new CChronoset;
        g_bDataModified = false;
        g_bStandalone = true;
        fs::create_directories(Data());
    }
    void TearDown() override {
        for (const auto& entry : fs::recursive_directory_iterator(Data())) {
            ::chmod(entry.path().c_str(), 0755);
        }
        delete g_pChronoset;
        g_pChronoset = m_pPrevious;
        g_bDataModified = m_bModified;
        g_bStandalone = m_bStandalone;
        platform::SetFrameworkResourceModule(m_pPreviousResources);
    }

    // The data files live apart from the window's ini file, which the
    // window writes as it likes.
    fs::path Data() const { return fs::path(m_dir.Path()) / "data"; }
    std::string DataFile(const std::string& strName) const { return (Data() / strName).string(); }

    // A data file of a set with the routines' names.
    std::string WriteDataFile(const std::string& strName, std::initializer_list<const char*> routines) {
        CChronoset set;
        for (const char* pszName : routines) {
            set.GetDayRoutines()->CreateDayRoutine()->SetName(pszName);
        }
        const std::string strPath = DataFile(strName);
        CChronoset* pKept = g_pChronoset;
        g_pChronoset = &set;
        EXPECT_EQ(set.SaveToFile(strPath, nullptr), 1);
        g_pChronoset = pKept;
        return strPath;
    }
    void WriteBytes(const std::string& strName, const std::string& strBytes) const {
        ASSERT_TRUE(platform::WriteFileAtomically(DataFile(strName), strBytes));
    }
    // What the open set holds, as its data file would.
    static std::string Snapshot() {
        CArchive ar;
        g_pChronoset->StoreToArchive(ar, nullptr);
        return std::string(ar.GetBuffer().begin(), ar.GetBuffer().end());
    }
    // Every data file with its bytes and mode.
    std::map<std::string, std::pair<std::string, unsigned>> Disk() const {
        std::map<std::string, std::pair<std::string, unsigned>> files;
        for (const auto& entry : fs::recursive_directory_iterator(Data())) {
            struct stat st {};
            ::lstat(entry.path().c_str(), &st);
            std::string strBytes;
            if (S_ISREG(st.st_mode) && st.st_size < (1 << 20)) {
                ::chmod(entry.path().c_str(), st.st_mode | 0400);
                auto bytes = platform::ReadWholeFile(entry.path().string());
                ::chmod(entry.path().c_str(), st.st_mode & 07777);
                strBytes.assign(bytes->begin(), bytes->end());
            }
            files[entry.path().string()] = {strBytes, static_cast<unsigned>(st.st_mode)};
        }
        return files;
    }
    void Run(const std::function<void(CParameterDlg&)>& script) {
        CParameterDlg dlg(nullptr, nullptr);
        m_runner.Then([&](QDialog& d) {
            script(dlg);
            if (d.isVisible()) {
                g_bDataModified = false;
                dlg.SendCommand(CParameterDlg::ID_FILE_EXIT);
            }
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }

    uitest::CTempDir m_dir;
    CWinApp m_app;
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    CScriptedFileDialogService m_files;

private:
    const platform::CResourceModule* m_pPreviousResources = nullptr;
    bool m_bStandalone = false;
    bool m_bModified = false;
    CChronoset* m_pPrevious = nullptr;
};

}  // namespace

TEST_F(MainWindowFileDoorsTest, DataFilesThatDoNotLoadShowTheLoadErrorAndKeepTheSetAndTheFiles) {
    const std::string strGood = WriteDataFile("gut.tv2", {"Morgens", "Abends"});
    const auto good = platform::ReadWholeFile(strGood);
    ASSERT_TRUE(good);
    const std::string strBytes(good->begin(), good->end());
    WriteBytes("leer.tv2", "");
    WriteBytes("halb.tv2", strBytes.substr(0, strBytes.size() / 2));
    WriteBytes("liste.tv2", "\"ORV/X\"\r\n\r\n\"Hersteller:\",\"Vek\"\r\n");
    WriteBytes("bild.tv2", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
    WriteBytes("riesig.tv2", strBytes);
    ASSERT_EQ(::truncate(DataFile("riesig.tv2").c_str(), static_cast<off_t>(CChronoset::MAX_DATA_FILE_SIZE) + 1), 0);
    fs::create_directories(Data() / "ordner.tv2");

    Run([&](CParameterDlg& dlg) {
        m_files.ExpectOpen(strGood);
        dlg.SendCommand(CParameterDlg::ID_FILE_OPEN);
        ASSERT_EQ(dlg.GetCurrentFile(), strGood);
        CChronoset* pOpen = g_pChronoset;
        const std::string strSet = Snapshot();
        const std::string strTitle = dlg.GetWindowText();
        const auto diskBefore = Disk();
        for (const char* pszName : {"leer.tv2", "halb.tv2", "liste.tv2", "bild.tv2", "riesig.tv2", "ordner.tv2",
                                    "fehlt.tv2"}) {
            for (UINT nCommand : {CParameterDlg::ID_FILE_OPEN, CParameterDlg::ID_FILE_IMPORT}) {
                g_bDataModified = false;
                if (nCommand == CParameterDlg::ID_FILE_OPEN) {
                    m_files.ExpectOpen(DataFile(pszName));
                } else {
                    m_files.Expect({.bOpen = true, .title = "Import", .initialDir = {}, .nAnswer = IDOK,
                                    .strPath = DataFile(pszName)});
                }
                m_boxes.ExpectBox(kLoadError, kLoadCaption, kErrorBoxOk, IDOK);
                dlg.SendCommand(nCommand);
                EXPECT_EQ(m_boxes.GetPendingCount(), 0u) << pszName;
                EXPECT_EQ(g_pChronoset, pOpen) << pszName;
                EXPECT_EQ(Snapshot(), strSet) << pszName;
                EXPECT_EQ(dlg.GetCurrentFile(), strGood) << pszName;
                EXPECT_EQ(dlg.GetWindowText(), strTitle) << pszName;
                // An import counts as a change whatever came of it; an open
                // leaves the flag.
                EXPECT_EQ(g_bDataModified, nCommand == CParameterDlg::ID_FILE_IMPORT) << pszName;
            }
        }
        EXPECT_EQ(Disk(), diskBefore);
        EXPECT_EQ(g_pChronoset->GetDayRoutines()->GetCount(), 2);
    });
}

TEST_F(MainWindowFileDoorsTest, TargetsThatMayNotBeWrittenShowTheSaveErrorAndKeepEverything) {
    const std::string strCurrent = WriteDataFile("anlage.tv2", {"Morgens"});
    WriteBytes("schreibgeschuetzt.tv2", "alt");
    WriteBytes("schreibgeschuetzt.csv", "\"alt\"");
    WriteBytes("gesperrt.tv2", "alt");
    ASSERT_EQ(::chmod(DataFile("schreibgeschuetzt.tv2").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(DataFile("schreibgeschuetzt.csv").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(DataFile("gesperrt.tv2").c_str(), 0000), 0);
    fs::create_directories(Data() / "ordner.csv");

    Run([&](CParameterDlg& dlg) {
        m_files.ExpectOpen(strCurrent);
        dlg.SendCommand(CParameterDlg::ID_FILE_OPEN);
        ASSERT_EQ(dlg.GetCurrentFile(), strCurrent);
        g_pChronoset->GetDayRoutines()->CreateDayRoutine()->SetName("Neu");
        g_bDataModified = true;
        ASSERT_EQ(::chmod(strCurrent.c_str(), 0444), 0);
        const std::string strSet = Snapshot();
        const std::string strTitle = dlg.GetWindowText();
        const auto diskBefore = Disk();

        // Save onto the open file, which became read-only.
        m_boxes.ExpectBox(kSaveError, kSaveCaption, kErrorBoxOk, IDOK);
        dlg.SendCommand(CParameterDlg::ID_FILE_SAVE);
        EXPECT_TRUE(g_bDataModified);
        // Save As and the data-file export.
        for (const char* pszName : {"schreibgeschuetzt.tv2", "gesperrt.tv2"}) {
            m_files.ExpectSave(DataFile(pszName));
            m_boxes.ExpectBox(kSaveError, kSaveCaption, kErrorBoxOk, IDOK);
            dlg.SendCommand(CParameterDlg::ID_FILE_SAVE_AS);
            m_files.ExpectSave(DataFile(pszName));
            m_boxes.ExpectBox(kSaveError, "Export", kErrorBoxOk, IDOK);
            dlg.SendCommand(CParameterDlg::ID_FILE_EXPORT);
        }
        // The text export.
        for (const char* pszName : {"schreibgeschuetzt.csv", "ordner.csv"}) {
            m_files.ExpectSave(DataFile(pszName));
            m_boxes.ExpectBox(kSaveError, kSaveCaption, kErrorBoxOk, IDOK);
            dlg.SendCommand(CParameterDlg::ID_FILE_EXPORT);
        }
        EXPECT_EQ(m_boxes.GetPendingCount(), 0u);
        EXPECT_EQ(dlg.GetCurrentFile(), strCurrent);
        EXPECT_EQ(dlg.GetWindowText(), strTitle);
        EXPECT_TRUE(g_bDataModified);
        EXPECT_EQ(Snapshot(), strSet);
        EXPECT_EQ(Disk(), diskBefore);

        // Writable again, the same save goes through.
        ASSERT_EQ(::chmod(strCurrent.c_str(), 0644), 0);
        dlg.SendCommand(CParameterDlg::ID_FILE_SAVE);
        EXPECT_FALSE(g_bDataModified);
        EXPECT_EQ(platform::ReadWholeFile(strCurrent)->size(), strSet.size());
    });
}

TEST_F(MainWindowFileDoorsTest, AFirstSaveThatFailsLeavesTheWindowWithoutAFile) {
    const std::string strTarget = DataFile("neu.tv2");
    Run([&](CParameterDlg& dlg) {
        g_bDataModified = true;
        const std::string strTitle = dlg.GetWindowText();
        // The disk refuses the flush, as a full one would.
        platform::SetAtomicWriteHooks(
            {.beforeRename = {}, .afterRename = {}, .sync = [](int) { return errno = EIO, -1; }});
        m_files.ExpectSave(strTarget);
        m_boxes.ExpectBox(kSaveError, kSaveCaption, kErrorBoxOk, IDOK);
        dlg.SendCommand(CParameterDlg::ID_FILE_SAVE);
        platform::SetAtomicWriteHooks({});
        EXPECT_EQ(dlg.GetCurrentFile(), "");
        EXPECT_EQ(dlg.GetWindowText(), strTitle);
        EXPECT_TRUE(g_bDataModified);
        // So the next Save asks for a file again.
        m_files.ExpectSave(strTarget);
        dlg.SendCommand(CParameterDlg::ID_FILE_SAVE);
        EXPECT_EQ(dlg.GetCurrentFile(), strTarget);
        EXPECT_FALSE(g_bDataModified);
    });
}
