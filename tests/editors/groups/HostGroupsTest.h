#pragma once
// The group tables and dialogs of the host project against the host
// stand-in: a project with a device to scan from, an editing run on that
// project, and the tables opened through the table view as the group tree
// opens them (the node's object names the group's host id).

#include "app/Chronoset.h"
#include "editors/groups/GroupEditors.h"
#include "model/StringLongObject.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/WinApp.h"
#include "resources/de/BuiltInResources.h"
#include "tests/app/HostTestSupport.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/support/ScriptedMessageBoxSink.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/MainTableView.h"
#include "ui/TableBox.h"

#include <QHeaderView>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace grouptest {

using apptest::Json;

constexpr LONG kDevice = 1000;

class HostGroupsTest : public apptest::HostTest, public editortest::CEditorSteps {
protected:
    void SetUp() override {
        HostTest::SetUp();
        m_pPrevious = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        m_app.SetProfileName(m_dir.File("Vek_ZR02.ini"));
        InstallGroupEditors();
    }
    void TearDown() override {
        CloseTable();
        m_pRun.reset();
        platform::SetFrameworkResourceModule(m_pPrevious);
        HostTest::TearDown();
    }

    // Loads the project (project 1, with the device added) with that many
    // address levels and starts an editing run on it.
    void Start(Json project, int nLevels = 3) {
        CloseTable();
        m_pRun.reset();
        ReleaseHostObjectMaps();
        project["groupAddressLevels"] = nLevels;
        project["projects"][0]["devices"].push_back(apptest::Device(kDevice, 1, {}));
        Load(project);
        Scan(kDevice);
        m_pRun = std::make_unique<uitest::CEditingRun>(false);
        m_pRun->Chronoset().SetProjectId(1);
        m_host.ClearLoggerLines();
    }

    // The table of a tree node inside the top window (a plain one unless
    // given).
    template <class Table>
    Table* OpenTable(int nTableType, LONG nHostId, QWidget* pTop = nullptr) {
        CloseTable();
        if (pTop == nullptr) {
            m_pPlainTop = std::make_unique<QWidget>();
            pTop = m_pPlainTop.get();
        }
        pTop->resize(700, 400);
        m_pView = new CMainTableView(pTop);
        m_pView->setGeometry(0, 0, 700, 400);
        m_pView->show();
        pTop->show();
        m_object.SetId(nHostId);
        m_pView->CreateTableBox(nTableType, &m_object);
        return dynamic_cast<Table*>(m_pView->GetTableBox());
    }
    void CloseTable() {
        delete m_pView.data();
        m_pPlainTop.reset();
    }

    static std::vector<std::string> Column(const CTableBox& table, int nColumn) {
        std::vector<std::string> texts;
        for (int r = 0; r < table.GetItemCount(); ++r) {
            texts.push_back(table.GetItemText(r, nColumn));
        }
        return texts;
    }
    // Clicks the header of a column.
    static void ClickHeader(CTableBox& table, int nColumn) {
        QHeaderView* pHeader = table.header();
        uitest::Click(pHeader->viewport(), QPoint(pHeader->sectionViewportPosition(nColumn) +
                                                      pHeader->sectionSize(nColumn) / 2,
                                                  pHeader->height() / 2));
    }

    CChronoset& Set() { return m_pRun->Chronoset(); }
    // The information box of a number in use, answered with OK.
    void ExpectRefusal(const std::string& strText) {
        CScriptedMessageBoxSink::Expectation box;
        box.text = strText;
        box.caption = "Hinweis";
        m_boxes.Expect(box);
    }

    uitest::CTempDir m_dir;
    CWinApp m_app;
    uitest::CTestModalRunner m_runner;
    CScriptedMessageBoxSink m_boxes;
    std::unique_ptr<uitest::CEditingRun> m_pRun;
    CStringLongObject m_object;
    std::unique_ptr<QWidget> m_pPlainTop;
    // Goes with a top window that a test owns.
    QPointer<CMainTableView> m_pView;

private:
    const platform::CResourceModule* m_pPrevious = nullptr;
};

}  // namespace grouptest
