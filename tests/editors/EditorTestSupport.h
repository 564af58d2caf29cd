#pragma once
// What the editor tests share: the state a test of a table or dialog runs
// in, the user's ways with edits, boxes and table rows (through the window
// system, as everywhere in these tests), and the objects a test puts into
// its parameter set.

#include "app/Chronoset.h"
#include "common/Globals.h"
#include "model/DayRoutine.h"
#include "model/DayRoutines.h"
#include "model/DaySwitchTime.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/WinApp.h"
#include "platform/ui/ComboBoxData.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/support/ScriptedMessageBoxSink.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/MainTableView.h"
#include "ui/TableBox.h"
#include "ui/TableComboBox.h"
#include "ui/ViewNotify.h"
#include "ui/ViewPane.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

namespace editortest {

// The built-in German resources, and the data and debug flags cleared, for
// as long as the object lives; put back afterwards.
class CEditorGlobals {
public:
    CEditorGlobals()
        : m_pPrevious(platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule())),
          m_bModified(g_bDataModified), m_bDebug(g_bDebugMode) {
        g_bDataModified = false;
        g_bDebugMode = false;
    }
    ~CEditorGlobals() {
        g_bDataModified = m_bModified;
        g_bDebugMode = m_bDebug;
        platform::SetFrameworkResourceModule(m_pPrevious);
    }
    CEditorGlobals(const CEditorGlobals&) = delete;
    CEditorGlobals& operator=(const CEditorGlobals&) = delete;

private:
    const platform::CResourceModule* m_pPrevious;
    bool m_bModified;
    bool m_bDebug;
};

// What a user does with the editors' windows, and the objects a test puts
// into its parameter set; a base of the fixtures, so that their tests name
// them unqualified.
struct CEditorSteps {
    using Texts = std::vector<std::string>;

    // Replaces an edit's text as a user does: all of it selected, then typed.
    static void Retype(QWidget* pEdit, const std::string& strText) {
        uitest::PressKey(pEdit, Qt::Key_A, Qt::ControlModifier);
        uitest::TypeText(pEdit, strText);
    }
    // The control of that id in the dialog or form.
    template <class Window>
    static void Retype(const Window& window, UINT nId, const std::string& strText) {
        Retype(window.GetDlgItem(nId), strText);
    }
    // Clicked into first, as a user coming from another field does.
    static void ClickAndRetype(QWidget* pEdit, const std::string& strText) {
        uitest::Click(pEdit);
        Retype(pEdit, strText);
    }

    // Picks the entry with the keys, as a user of the closed box would.
    static void ChooseEntry(QWidget* pCombo, int nIndex) {
        uitest::PressKey(pCombo, Qt::Key_Home);
        for (int i = 0; i < nIndex; ++i) {
            uitest::PressKey(pCombo, Qt::Key_Down);
        }
    }
    // An address's item data in the address boxes; invalid-list ones count
    // below zero.
    static std::intptr_t ComboDataOf(const CGroupDataAddress* pAddress) {
        return pAddress->IsInvalid() ? -pAddress->GetAddress() : pAddress->GetAddress();
    }
    // The row of the address in the box; -1 when it is not offered.
    static int IndexOfAddress(const CTableComboBox* pCombo, const CGroupDataAddress* pAddress) {
        for (int i = 0; i < pCombo->count(); ++i) {
            if (GetComboItemData(pCombo, i) == ComboDataOf(pAddress)) {
                return i;
            }
        }
        return -1;
    }
    static void ChooseAddress(CTableComboBox* pCombo, const CGroupDataAddress* pAddress) {
        const int nIndex = IndexOfAddress(pCombo, pAddress);
        ASSERT_GE(nIndex, 0) << "address not offered: " << pAddress->GetName();
        ChooseEntry(pCombo, nIndex);
        ASSERT_EQ(pCombo->currentIndex(), nIndex);
    }

    // The texts of a table row, of its first nColumns columns or of all.
    static Texts RowTexts(const CTableBox& table, int nRow, int nColumns = -1) {
        Texts texts;
        const int nCount = nColumns < 0 ? table.GetColumnCount() : nColumns;
        for (int c = 0; c < nCount; ++c) {
            texts.push_back(table.GetItemText(nRow, c));
        }
        return texts;
    }
    static std::vector<Texts> AllRows(const CTableBox& table, int nColumns = -1) {
        std::vector<Texts> rows;
        for (int r = 0; r < table.GetItemCount(); ++r) {
            rows.push_back(RowTexts(table, r, nColumns));
        }
        return rows;
    }
    static QPoint RowPoint(const CTableBox& table, int nRow) { return table.GetItemRect(nRow).center(); }
    // Clicks the rows of the objects, the first alone and the others with Ctrl.
    template <class Object>
    static void ClickRows(CTableBox& table, const std::vector<const Object*>& objects) {
        bool bFirst = true;
        for (const Object* pObject : objects) {
            uitest::Click(table.viewport(), RowPoint(table, table.FindRowOfObject(pObject)), Qt::LeftButton,
                          bFirst ? Qt::NoModifier : Qt::ControlModifier);
            bFirst = false;
        }
    }
    // The table of the type in the view, shown at that size so that the
    // mouse and keys reach it through its window.
    template <class Table>
    static Table* OpenTable(CMainTableView& view, int nTableType, CObject* pObject, int nWidth, int nHeight) {
        view.resize(nWidth, nHeight);
        view.show();
        view.CreateTableBox(nTableType, pObject);
        return dynamic_cast<Table*>(view.GetTableBox());
    }

    // A box expected by its whole text and caption, or by a part of its
    // text alone, answered with the button.
    static CScriptedMessageBoxSink::Expectation BoxWithText(const std::string& strText, const std::string& strCaption,
                                                            int nAnswer = IDOK) {
        CScriptedMessageBoxSink::Expectation expectation;
        expectation.text = strText;
        expectation.caption = strCaption;
        expectation.nAnswer = nAnswer;
        return expectation;
    }
    static CScriptedMessageBoxSink::Expectation BoxWithPart(const std::string& strTextPart, int nAnswer = IDOK) {
        CScriptedMessageBoxSink::Expectation expectation;
        expectation.textPart = strTextPart;
        expectation.nAnswer = nAnswer;
        return expectation;
    }

    static CGroupDataAddress* NewAddress(CChronoset& set, const std::string& strName, LONG nAddress, DptType type,
                                         bool bInvalid = false) {
        CGroupDataAddress* pAddress = set.GetGroupDataAddresses()->CreateGroupAddress(bInvalid);
        pAddress->SetName(strName);
        pAddress->SetAddress(nAddress);
        pAddress->SetType(type);
        return pAddress;
    }
    static CDayRoutine* NewRoutine(CChronoset& set, const std::string& strName) {
        CDayRoutine* pRoutine = set.GetDayRoutines()->CreateDayRoutine();
        pRoutine->SetName(strName);
        return pRoutine;
    }
    static CDaySwitchTime* NewSwitchTime(CDayRoutine* pRoutine, CGroupDataAddress* pAddress, int nHour,
                                         int nMinute) {
        CDaySwitchTime* pSwitchTime = pRoutine->AddSwitchTime(nullptr);
        pSwitchTime->SetGroupAddress(pAddress);
        pSwitchTime->SetHour(static_cast<WORD>(nHour));
        pSwitchTime->SetMinute(static_cast<WORD>(nMinute));
        return pSwitchTime;
    }
};

// A test of the editors' windows: those globals and steps, and the
// application with its ini file in a folder of the test's own.
class CEditorTest : public ::testing::Test, public CEditorSteps {
protected:
    CEditorTest() { m_app.SetProfileName(m_dir.File("Vek_ZR02.ini")); }

    CEditorGlobals m_globals;
    uitest::CTempDir m_dir;
    CWinApp m_app;
};

// The pane above a table: it keeps what the table sends.
class CRecordingPane : public QWidget, public IViewPane {
public:
    int OnViewNotify(VIEWNOTIFY* pNotify) override {
        m_received.push_back(*pNotify);
        return 0;
    }
    std::vector<VIEWNOTIFY> m_received;
};

}  // namespace editortest
