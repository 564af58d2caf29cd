#pragma once
// The splitter frame in a top window of its own for the tree and frame
// tests: German built-in resources, a profile in a temporary folder, and
// helpers to look at the tree's nodes.

#include "platform/base/ResourceLibrary.h"
#include "platform/base/WinApp.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/MainFrameWnd.h"
#include "ui/MainTableView.h"
#include "ui/MainTreeView.h"
#include "ui/NavigationTree.h"
#include "ui/NavigationTreeItem.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace uitest {

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pPrevious = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        m_app.SetProfileName(m_dir.File("Vek_ZR02.ini"));
    }
    void TearDown() override {
        m_pFrame.reset();
        m_pTop.reset();
        platform::SetFrameworkResourceModule(m_pPrevious);
    }

    // A shown top window holding a frame of one or two rows; each row's tree
    // attached to its table pane as the main window does it.
    CMainFrameWnd& MakeFrame(bool bSplit, bool bAttach = true) {
        m_pFrame.reset();
        m_pTop.reset();
        m_pTop = std::make_unique<QWidget>();
        m_pTop->resize(640, 480);
        m_pFrame = std::make_unique<CMainFrameWnd>(nullptr);
        EXPECT_TRUE(m_pFrame->Create(m_pTop.get(), QRect(0, 0, 640, 480), bSplit));
        m_pTop->show();
        m_pTop->activateWindow();
        ProcessEvents();
        for (int nRow = 0; bAttach && nRow < m_pFrame->GetRowCount(); ++nRow) {
            m_pFrame->GetTreeView(nRow)->GetTree()->Attach(m_pFrame->GetTableView(nRow), 0);
        }
        return *m_pFrame;
    }
    CNavigationTree& Tree(int nRow = 0) { return *m_pFrame->GetTreeView(nRow)->GetTree(); }
    CMainTableView& Table(int nRow = 0) { return *m_pFrame->GetTableView(nRow); }

    void WriteProfileInt(const char* pszKey, int nValue) { m_app.WriteProfileInt("MainWindow", pszKey, nValue); }
    int ReadProfileInt(const char* pszKey) {
        return static_cast<int>(m_app.GetProfileInt("MainWindow", pszKey, -12345));
    }

    // The captions of the node's children, in order.
    static std::vector<std::string> Captions(const CTreeCtrlEx& tree, const QTreeWidgetItem* hParent) {
        std::vector<std::string> captions;
        for (QTreeWidgetItem* hChild = tree.GetChildItem(hParent); hChild != nullptr;
             hChild = tree.GetNextSiblingItem(hChild)) {
            captions.push_back(tree.GetItemText(hChild));
        }
        return captions;
    }

    CTempDir m_dir;
    CWinApp m_app;
    std::unique_ptr<QWidget> m_pTop;
    std::unique_ptr<CMainFrameWnd> m_pFrame;

private:
    const platform::CResourceModule* m_pPrevious = nullptr;
};

}  // namespace uitest
