#include "model/DaySwitchTime.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/QuantityMember.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/ui/CmdUI.h"
#include "resources/de/BuiltInResources.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/ParameterDlg.h"
#include "ui/ViewNotify.h"
#include "ui/ViewPane.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A pane that records what reaches it and answers with set handled flags.
class CFakePane : public IViewPane {
public:
    explicit CFakePane(bool bTree = false, int nAnswer = 1) : m_bTree(bTree), m_nAnswer(nAnswer) {}
    int OnViewNotify(VIEWNOTIFY* pNotify) override {
        m_received.push_back(*pNotify);
        pNotify->nHandled = m_nAnswer;
        return 1;
    }
    bool IsTreePane() const override { return m_bTree; }

    bool m_bTree;
    int m_nAnswer;
    std::vector<VIEWNOTIFY> m_received;
};

class ViewNotifyTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pPrevious = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
    }
    void TearDown() override { platform::SetFrameworkResourceModule(m_pPrevious); }

private:
    const platform::CResourceModule* m_pPrevious = nullptr;
};

CMainTableBox* const kTable1 = reinterpret_cast<CMainTableBox*>(std::uintptr_t{0x1000});

TEST_F(ViewNotifyTest, BroadcastReturnsToTheSenderAsAnOrdinaryRecordButNeverForType16) {
    uitest::CEditingRun run(true);
    CParameterDlg dlg(nullptr, nullptr);
    CFakePane tree1(true, 2), table1(false, 4), tree2(true, 0), table2(false, 1);
    dlg.SetPanes(&tree1, &table1, &tree2, &table2);

    VIEWNOTIFY added;
    added.nType = VN_ADDED;
    added.pSource = kTable1;
    added.pSourcePane = &table1;
    added.nHandled = 8;
    dlg.OnViewNotify(&added);
    ASSERT_EQ(table1.m_received.size(), 1U);
    EXPECT_EQ(table1.m_received[0].pSource, nullptr);
    EXPECT_EQ(table1.m_received[0].nHandled, 0);
    ASSERT_EQ(table2.m_received.size(), 1U);
    EXPECT_EQ(table2.m_received[0].pSource, kTable1);
    EXPECT_TRUE(tree1.m_received.size() == 1 && tree2.m_received.size() == 1);
    // Restored source, the handled flags of all receivers and the sender's.
    EXPECT_EQ(added.pSource, kTable1);
    EXPECT_EQ(added.nHandled, 8 | 2 | 4 | 1);

    VIEWNOTIFY replaced;
    replaced.nType = VN_DATA_REPLACED;
    replaced.pSourcePane = &table1;
    dlg.OnViewNotify(&replaced);
    EXPECT_EQ(table1.m_received.size(), 1U);
    EXPECT_EQ(table2.m_received.size(), 2U);

    // A tree sending: it is left out, both tables get it.
    VIEWNOTIFY changed;
    changed.nType = VN_CHANGED;
    changed.pSourcePane = &tree2;
    dlg.OnViewNotify(&changed);
    EXPECT_EQ(tree2.m_received.size(), 2U);  // the added and the replaced record only
    EXPECT_EQ(table1.m_received.size(), 2U);
}

TEST_F(ViewNotifyTest, DropGoesToItsTargetPaneOnlyAndAForeignTargetIsReported) {
    uitest::CEditingRun run(true);
    CParameterDlg dlg(nullptr, nullptr);
    CFakePane tree1(true), table1, table2;
    dlg.SetPanes(&tree1, &table1, nullptr, &table2);

    VIEWNOTIFY drop;
    drop.nType = VN_DROP;
    drop.pSource = kTable1;
    drop.pTargetPane = &table2;
    dlg.OnViewNotify(&drop);
    ASSERT_EQ(table2.m_received.size(), 1U);
    EXPECT_EQ(table2.m_received[0].pSource, nullptr);
    EXPECT_TRUE(table1.m_received.empty());

    CFakePane foreign;
    VIEWNOTIFY lost;
    lost.nType = VN_DROP;
    lost.pTargetPane = &foreign;
    dlg.OnViewNotify(&lost);
    EXPECT_NE(lost.nHandled & VNH_NO_TARGET, 0);
    EXPECT_TRUE(foreign.m_received.empty());
}

TEST_F(ViewNotifyTest, CommandsGoToTheFocusedPaneAndWithoutOneAreUnhandled) {
    uitest::CEditingRun run(true);
    CParameterDlg dlg(nullptr, nullptr);
    CFakePane table1, table2;
    dlg.SetPanes(nullptr, &table1, nullptr, &table2);

    VIEWNOTIFY command;
    command.nType = VN_COMMAND;
    command.nCommandId = 40027;
    command.nHandled = 1;
    dlg.OnViewNotify(&command);
    EXPECT_EQ(command.nHandled, 0);
    EXPECT_TRUE(table1.m_received.empty() && table2.m_received.empty());

    VIEWNOTIFY activate;
    activate.nType = VN_ACTIVATE;
    activate.nValue = 1;
    activate.pSourcePane = &table2;
    dlg.OnViewNotify(&activate);
    EXPECT_EQ(activate.nHandled, 1);
    EXPECT_EQ(dlg.GetFocusedPane(), &table2);

    CCmdUI cmdUI;
    VIEWNOTIFY query;
    query.nType = VN_UPDATE_COMMAND_UI;
    query.pCmdUI = &cmdUI;
    query.nCommandId = 40009;
    dlg.OnViewNotify(&query);
    EXPECT_EQ(table2.m_received.size(), 1U);
    EXPECT_EQ(query.nHandled, 1);

    // A focused pane that left the frame is no target any more.
    dlg.SetPanes(nullptr, &table1, nullptr, nullptr);
    VIEWNOTIFY again;
    again.nType = VN_COMMAND;
    dlg.OnViewNotify(&again);
    EXPECT_EQ(again.nHandled, 0);
    EXPECT_EQ(table2.m_received.size(), 1U);
}

TEST_F(ViewNotifyTest, SelectionChangesMirrorToTheOtherRow) {
    uitest::CEditingRun run(true);
    CParameterDlg dlg(nullptr, nullptr);
    CFakePane tree1(true), table1, tree2(true), table2;
    dlg.SetPanes(&tree1, &table1, &tree2, &table2);
    VIEWNOTIFY sync;
    sync.nType = VN_SYNC;
    sync.nSubcode = VNS_SELECTION_CHANGED;
    sync.pSourcePane = &table2;
    dlg.OnViewNotify(&sync);
    EXPECT_EQ(table1.m_received.size(), 1U);
    EXPECT_TRUE(tree1.m_received.empty() && tree2.m_received.empty() && table2.m_received.empty());
}

TEST_F(ViewNotifyTest, ClipboardHoldsOneClassAndIsReplacedByAnother) {
    uitest::CEditingRun run(true);
    CParameterDlg dlg(nullptr, nullptr);
    CDaySwitchTime time1, time2;
    CQuantityMember member;

    EXPECT_TRUE(dlg.SetClipboardObject(&time1));
    EXPECT_TRUE(dlg.AppendClipboardObject(&time2));
    EXPECT_EQ(dlg.GetClipboard().GetCount(), 2U);
    EXPECT_FALSE(dlg.AppendClipboardObject(&member));
    EXPECT_EQ(dlg.GetClipboard().GetCount(), 2U);
    EXPECT_NE(dlg.GetClipboard().GetAt(0), &time1);  // a copy

    EXPECT_TRUE(dlg.ClipboardOffers(11, VOK_DAYSWITCHTIME));
    EXPECT_FALSE(dlg.ClipboardOffers(11, VOK_QUANTITYMEMBER));
    // Never for the overview, however full.
    EXPECT_FALSE(dlg.ClipboardOffers(10, VOK_DAYSWITCHTIME));

    EXPECT_TRUE(dlg.SetClipboardObject(&member));
    EXPECT_EQ(dlg.GetClipboard().GetCount(), 1U);
    EXPECT_TRUE(dlg.ClipboardOffers(14, VOK_QUANTITYMEMBER));

    CDaySwitchTime* pNull = nullptr;
    EXPECT_FALSE(dlg.SetClipboardObject(pNull));

    // Through the records.
    VIEWNOTIFY canPaste;
    canPaste.nType = VN_SYNC;
    canPaste.nSubcode = VNS_CAN_PASTE;
    canPaste.nTableType = 14;
    canPaste.nKind = VOK_QUANTITYMEMBER;
    dlg.OnViewNotify(&canPaste);
    EXPECT_EQ(canPaste.GetResult(), 1);
}

TEST_F(ViewNotifyTest, ACopyWhoseAddressWasDeletedIsDroppedWhenAskedFor) {
    uitest::CEditingRun run(true);
    CGroupDataAddresses* pAddresses = run.Chronoset().GetGroupDataAddresses();
    CGroupDataAddress* pKept = pAddresses->CreateGroupAddress(false);
    CGroupDataAddress* pGone = pAddresses->CreateGroupAddress(false);
    ASSERT_NE(pKept, nullptr);
    ASSERT_NE(pGone, nullptr);
    CDaySwitchTime timeKept, timeGone;
    timeKept.SetGroupAddress(pKept);
    timeGone.SetGroupAddress(pGone);

    CParameterDlg dlg(nullptr, nullptr);
    ASSERT_TRUE(dlg.SetClipboardObject(&timeGone));
    ASSERT_TRUE(dlg.AppendClipboardObject(&timeKept));
    timeGone.SetGroupAddress(nullptr);
    ASSERT_TRUE(pAddresses->Remove(pGone, true));
    ASSERT_FALSE(pAddresses->IsInList(pGone));
    delete pGone;  // destroyed: the copy must not read it

    // The stale copy goes; the next request gives the usable one.
    EXPECT_EQ(dlg.GetFirstClipboardObject(VOK_DAYSWITCHTIME), nullptr);
    EXPECT_EQ(dlg.GetClipboard().GetCount(), 1U);
    CObject* pFirst = dlg.GetFirstClipboardObject(VOK_DAYSWITCHTIME);
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(static_cast<CDaySwitchTime*>(pFirst)->GetGroupAddress(), pKept);
    EXPECT_EQ(dlg.GetNextClipboardObject(VOK_DAYSWITCHTIME), nullptr);
    // Other kinds are never handed out.
    EXPECT_EQ(dlg.GetFirstClipboardObject(VOK_DAYROUTINE), nullptr);
    timeKept.SetGroupAddress(nullptr);
}

}  // namespace
