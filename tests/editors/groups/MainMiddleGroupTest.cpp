// The main-group and middle-group tables and the dialog of a new main or
// middle group against the host stand-in; and main group, middle group and
// group address made through the dialogs, as the group tree makes them,
// end up in the host's saved project.

#include "HostGroupsTest.h"

#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "editors/groups/MainMiddleGroupDlg.h"
#include "editors/groups/MainMiddleGroupTable.h"
#include "editors/groups/SubGroupEditDlg.h"
#include "editors/groups/SubGroupTable.h"
#include "tests/support/RecordingHelpService.h"

#include <gtest/gtest.h>

#include <QDialog>

namespace {

using grouptest::Json;
using GroupDlg = CMainMiddleGroupDlg;

// Main groups 0 (id 20, "Null", middle groups 0 and 5), 1 (id 25, "Eins",
// pass-through, "Licht") and 3 (id 30, "Drei").
Json ThreeMainGroups() {
    Json project = apptest::ProjectWithGroups(
        {{20, 0, 21, 0, 22, 1}, {20, 0, 23, 5, 24, 1}, {25, 1, 26, 0, 27, 1}, {30, 3, 31, 0, 32, 1}});
    Json& mains = project["projects"][0]["mainGroups"];
    mains[0]["name"] = "Null";
    mains[1].update({{"name", "Eins"}, {"passThrough", true}, {"description", "Licht"}});
    mains[2]["name"] = "Drei";
    return project;
}

// Main groups 0 .. n-1; main group 0 (id 5) holds middle group 0 (id 6)
// with the sub groups 1 .. nSubs (ids 2001 ..).
Json ManyGroups(int nMains, int nSubs) {
    std::vector<std::vector<LONG>> groups;
    for (LONG s = 1; s <= nSubs; ++s) {
        groups.push_back({5, 0, 6, 0, 2000 + s, s});
    }
    for (LONG m = 1; m < nMains; ++m) {
        groups.push_back({10 + m * 3, m, 11 + m * 3, 0, 12 + m * 3, 1});
    }
    return apptest::ProjectWithGroups(groups);
}

class MainMiddleGroupTest : public grouptest::HostGroupsTest {
protected:
    // Runs the dialog; the script sees it open.
    int Run(CDialog& dlg, const std::function<void(CDialog&)>& script) {
        m_runner.Then([&](QDialog&) { script(dlg); });
        return dlg.DoModal();
    }
};

TEST_F(MainMiddleGroupTest, MainAndMiddleGroupsAreReadOnlyRowsByAddress) {
    Start(ThreeMainGroups());
    auto* pTable = OpenTable<CMainMiddleGroupTable>(16, 0);
    ASSERT_NE(pTable, nullptr);
    EXPECT_FALSE(pTable->AreNotificationsOn());
    EXPECT_EQ(pTable->headerItem()->text(1).toStdString(), "Hauptgruppe");
    EXPECT_EQ(Column(*pTable, 2), (Texts {"0", "1", "3"}));
    EXPECT_EQ(RowTexts(*pTable, 1), (Texts {"", "Eins", "1", "+", "Licht"}));
    // By "W": the groups without the flag first.
    ClickHeader(*pTable, 3);
    EXPECT_EQ(Column(*pTable, 1).back(), "Eins");
    // A group whose read fails is left out.
    m_host.AddFault("MainGroup:30", "get_Description", E_FAIL);
    pTable->RefreshTable();
    EXPECT_EQ(pTable->GetItemCount(), 2);

    auto* pMiddle = OpenTable<CMainMiddleGroupTable>(17, 20);
    ASSERT_NE(pMiddle, nullptr);
    EXPECT_EQ(pMiddle->headerItem()->text(1).toStdString(), "Mittelgruppe");
    EXPECT_EQ(Column(*pMiddle, 2), (Texts {"0", "5"}));
}

TEST_F(MainMiddleGroupTest, FullGroupsListTheirLimitAndTheDialogsFindNoFreeNumber) {
    // 16 main groups; 0/0 holds the sub groups 1 .. 255.
    Start(ManyGroups(16, 255));
    EXPECT_EQ(OpenTable<CMainMiddleGroupTable>(16, 0)->GetItemCount(), 15);
    EXPECT_TRUE(Logged("Maximum count exceeded. max=15, actual counter=16")) << LoggedLines();
    EXPECT_EQ(OpenTable<CSubGroupTable>(18, 6)->GetItemCount(), 255);
    // Every number taken: the highest is offered and refused.
    CEtsDataAccess access;
    GroupDlg mainDlg(GroupDlg::kMainGroup, 1, &access);
    CSubGroupEditDlg subDlg(&access, 6, 0, 0);
    for (CDialog* pDlg : {static_cast<CDialog*>(&mainDlg), static_cast<CDialog*>(&subDlg)}) {
        const bool bMain = pDlg == &mainDlg;
        ExpectRefusal(bMain ? "Hauptgruppenadresse ist schon vergeben" : "Untergruppenadresse ist schon vergeben");
        EXPECT_EQ(Run(*pDlg,
                      [&](CDialog& d) {
                          EXPECT_EQ(d.GetDlgItemText(GroupDlg::IDC_NUMBER), bMain ? "15" : "255");
                          uitest::Click(d.GetDlgItem(IDOK));
                          uitest::Click(d.GetDlgItem(IDCANCEL));
                      }),
                  IDCANCEL);
    }
}

TEST_F(MainMiddleGroupTest, TheDialogsOfferTheFirstFreeNumberAndRefuseOnesInUse) {
    Start(ThreeMainGroups());
    CEtsDataAccess access;
    CRecordingHelpService help;
    GroupDlg main(GroupDlg::kMainGroup, 1, &access);
    ExpectRefusal("Hauptgruppenadresse ist schon vergeben");
    EXPECT_EQ(Run(main,
                  [&](CDialog& d) {
                      EXPECT_EQ(d.GetWindowText(), "Hauptgruppe bearbeiten");
                      EXPECT_EQ(d.GetDlgItemText(GroupDlg::IDC_NUMBER), "2");
                      EXPECT_EQ(d.GetDlgItemText(GroupDlg::IDC_RANGE), "[0..15]");
                      EXPECT_EQ(d.GetDlgItemText(GroupDlg::IDC_NAME), "Neue Hauptgruppe");
                      uitest::Click(d.GetDlgItem(GroupDlg::IDC_HELP_BUTTON));
                      Retype(d.GetDlgItem(GroupDlg::IDC_NUMBER), "3");
                      uitest::Click(d.GetDlgItem(IDOK));
                      EXPECT_TRUE(d.isVisible());
                      EXPECT_TRUE(d.GetDlgItem(GroupDlg::IDC_NUMBER)->hasFocus());
                      Retype(d.GetDlgItem(GroupDlg::IDC_NUMBER), "4");
                      uitest::Click(d.GetDlgItem(IDOK));
                  }),
              IDOK);
    EXPECT_EQ(main.m_nNumber, 4);
    EXPECT_EQ(help.GetContexts(), (std::vector<DWORD> {GroupDlg::kHelpContext}));

    GroupDlg middle(GroupDlg::kMiddleGroup, 20, &access);
    ExpectRefusal("Mittelgruppenadresse ist schon vergeben");
    EXPECT_EQ(Run(middle,
                  [&](CDialog& d) {
                      EXPECT_EQ(d.GetWindowText(), "Mittelgruppe bearbeiten");
                      EXPECT_EQ(d.GetDlgItemText(GroupDlg::IDC_NUMBER), "1");
                      EXPECT_EQ(d.GetDlgItemText(GroupDlg::IDC_RANGE), "[0..7]");
                      Retype(d.GetDlgItem(GroupDlg::IDC_NUMBER), "5");
                      uitest::Click(d.GetDlgItem(IDOK));
                      Retype(d.GetDlgItem(GroupDlg::IDC_NUMBER), "7");
                      uitest::Click(d.GetDlgItem(IDOK));
                  }),
              IDOK);
    EXPECT_EQ(middle.m_nNumber, 7);
    EXPECT_EQ(middle.m_strName, "Neue Mittelgruppe");
}

TEST_F(MainMiddleGroupTest, GroupsMadeThroughTheDialogsAreInTheSavedProject) {
    Start(ThreeMainGroups());
    CEtsDataAccess access;
    IEtsProject* pProject = g_mapProjects.Lookup(1);

    GroupDlg main(GroupDlg::kMainGroup, 1, &access);
    ASSERT_EQ(Run(main,
                  [&](CDialog& d) {
                      Retype(d.GetDlgItem(GroupDlg::IDC_NUMBER), "4");
                      Retype(d.GetDlgItem(GroupDlg::IDC_NAME), "Etage 4");
                      uitest::TypeText(d.GetDlgItem(GroupDlg::IDC_DESCRIPTION), "Obergeschoss");
                      uitest::TypeText(d.GetDlgItem(GroupDlg::IDC_KEY), "OG");
                      uitest::Click(d.GetDlgItem(IDOK));
                  }),
              IDOK);
    const LONG nMain =
        access.AddMainGroup(pProject, main.m_nNumber, main.m_strName, main.m_strDescription, main.m_strKey, 1, 0);
    ASSERT_GT(nMain, 0);

    GroupDlg middle(GroupDlg::kMiddleGroup, nMain, &access);
    ASSERT_EQ(Run(middle,
                  [&](CDialog& d) {
                      EXPECT_EQ(d.GetDlgItemText(GroupDlg::IDC_NUMBER), "0");
                      Retype(d.GetDlgItem(GroupDlg::IDC_NAME), "Flur");
                      uitest::Click(d.GetDlgItem(IDOK));
                  }),
              IDOK);
    const LONG nMiddle =
        access.AddMiddleGroup(nMain, middle.m_nNumber, middle.m_strName, middle.m_strDescription, middle.m_strKey, 1);
    ASSERT_GT(nMiddle, 0);

    CSubGroupEditDlg sub(&access, nMiddle, 4, 0);
    ASSERT_EQ(Run(sub,
                  [&](CDialog& d) {
                      EXPECT_EQ(d.GetDlgItemText(CSubGroupEditDlg::IDC_RANGE), "[0..255]");
                      Retype(d.GetDlgItem(CSubGroupEditDlg::IDC_NUMBER), "12");
                      Retype(d.GetDlgItem(CSubGroupEditDlg::IDC_NAME), "Licht Flur");
                      uitest::Click(d.GetDlgItem(CSubGroupEditDlg::IDC_CENTRAL));
                      uitest::Click(d.GetDlgItem(IDOK));
                  }),
              IDOK);
    ASSERT_GT(access.AddGroupAddress(pProject, 4, 0, sub.m_nNumber, sub.m_strName, sub.m_strDescription, sub.m_strKey,
                                     sub.m_bCentralFunction, 1, 0),
              0);

    const std::string strPath = m_dir.File("project.json");
    ASSERT_TRUE(m_host.IsModified());
    ASSERT_TRUE(m_host.SaveFile(strPath));
    platform::host::CEtsHost saved;
    ASSERT_TRUE(saved.LoadFile(strPath));
    const Json mainGroup = Json::parse(saved.SaveText())["projects"][0]["mainGroups"].back();
    EXPECT_EQ(mainGroup["address"], 4);
    EXPECT_EQ(mainGroup["name"], "Etage 4");
    EXPECT_EQ(mainGroup["description"], "Obergeschoss");
    EXPECT_EQ(mainGroup["uniqueName"], "OG");
    const Json& middleGroup = mainGroup["middleGroups"][0];
    EXPECT_EQ(middleGroup["name"], "Flur");
    const Json& groupAddress = middleGroup["groupAddresses"][0];
    EXPECT_EQ(groupAddress["address"], 12);
    EXPECT_EQ(groupAddress["name"], "Licht Flur");
    EXPECT_EQ(groupAddress["central"], true);
}

}  // namespace
