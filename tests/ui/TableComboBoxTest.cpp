#include "model/DayRoutine.h"
#include "model/GroupDataAddress.h"
#include "model/IniManager.h"
#include "common/Globals.h"
#include "platform/base/PrivateProfile.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/WinApp.h"
#include "platform/ui/ComboBoxData.h"
#include "platform/ui/Dialog.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/ui/PixelChecks.h"
#include "tests/support/ScriptedMessageBoxSink.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/GroupAddressInsertHook.h"
#include "ui/TableBox.h"
#include "ui/TableComboBox.h"
#include "ui/TableListHeader.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QScreen>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>
#include <string>
#include <vector>

namespace {

LONG Raw(int nMain, int nMiddle, int nSub) {
    return (nMain << 12) | (nMiddle << 8) | nSub;
}

// A dialog-like parent with a combo box chooser of group addresses and its
// header above it, laid out the way the edit dialogs do it.
class TableComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pPrevious = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        m_app.SetProfileName(m_dir.File("Vek_ZR02.ini"));
        m_bStandalone = g_bStandalone;
        m_bDebug = g_bDebugMode;
        g_bStandalone = false;
        g_bDebugMode = false;
        m_parent.resize(400, 200);
        m_pBox = new CTableComboBox(false, &m_parent);
        m_pBox->setGeometry(10, 60, 320, 24);
        m_pHeader = new CTableListHeader(1, THS_RESIZABLE, &m_parent);
        m_pBox->AddGroupAddressColumns();
        ASSERT_TRUE(m_pBox->InitColumns(*m_pHeader, TABLE_TYPE_GROUP_ADDRESS_COMBO));
        m_parent.show();
        uitest::ProcessEvents();
    }
    void TearDown() override {
        m_pBox->ShowDropDown(false);
        ui::SetGroupAddressInsertHook(nullptr);
        g_bStandalone = m_bStandalone;
        g_bDebugMode = m_bDebug;
        platform::SetFrameworkResourceModule(m_pPrevious);
    }

    CGroupDataAddress* Address(int nMain, int nMiddle, int nSub, const std::string& strName, LONG nType = 1,
                               bool bInvalid = false) {
        auto pAddress = std::make_unique<CGroupDataAddress>();
        pAddress->SetAddress(Raw(nMain, nMiddle, nSub));
        pAddress->SetName(strName);
        pAddress->SetObjectType(nType);
        pAddress->SetLevels(3);
        pAddress->SetInvalid(bInvalid);
        m_addresses.push_back(std::move(pAddress));
        return m_addresses.back().get();
    }
    void List(const std::vector<CGroupDataAddress*>& addresses) {
        m_pBox->ClearObjects();
        for (CGroupDataAddress* pAddress : addresses) {
            m_pBox->AddObject(pAddress);
        }
        m_pBox->Refill();
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (int i = 0; i < m_pBox->count(); ++i) {
            texts.push_back(m_pBox->itemText(i).toStdString());
        }
        return texts;
    }
    std::vector<std::intptr_t> Data() const {
        std::vector<std::intptr_t> data;
        for (int i = 0; i < m_pBox->count(); ++i) {
            data.push_back(GetComboItemData(m_pBox, i));
        }
        return data;
    }
    std::string Ini(const char* pszSection, const char* pszKey) const {
        return platform::GetPrivateProfileString(pszSection, pszKey, "<none>", m_dir.File("Vek_ZR02.ini"));
    }
    void WriteIni(const char* pszSection, const char* pszKey, const char* pszValue) {
        ASSERT_TRUE(platform::WritePrivateProfileString(pszSection, pszKey, pszValue, m_dir.File("Vek_ZR02.ini")));
    }
    // A click at x in the middle of the header's height. While the list is
    // open the press goes to the list's pop-up first, as a user's would.
    void ClickHeader(int x) {
        uitest::Click(m_pHeader, QPoint(x, m_pHeader->height() / 2));
        uitest::ProcessEvents();
    }
    void DragHeader(int xFrom, int xTo) {
        const int y = m_pHeader->height() / 2;
        uitest::Drag(m_pHeader, QPoint(xFrom, y), m_pHeader, QPoint(xTo, y));
        uitest::ProcessEvents();
    }
    std::vector<WORD> Order() const {
        std::vector<WORD> order;
        m_pBox->GetColumnOrder(order);
        return order;
    }

    uitest::CTempDir m_dir;
    CWinApp m_app;
    const platform::CResourceModule* m_pPrevious = nullptr;
    bool m_bStandalone = false;
    bool m_bDebug = false;
    QWidget m_parent;
    CTableComboBox* m_pBox = nullptr;
    CTableListHeader* m_pHeader = nullptr;
    std::vector<std::unique_ptr<CGroupDataAddress>> m_addresses;
};

TEST_F(TableComboBoxTest, GroupAddressesListSortedInColumnsWithRawOrNegatedAddressAsData) {
    EXPECT_EQ(m_pBox->GetColumnTypes(), (std::vector<SHORT>{1, 2, 3}));
    m_pBox->GetColumnTypes() = {3, 1, 2};
    m_pBox->SetNoneEntry(true);
    m_pBox->SetFirstEntryText("alle");
    List({Address(2, 0, 1, "Licht"), Address(1, 2, 10, "Heizung", 5, true), Address(1, 2, 3, "Jalousie")});
    EXPECT_EQ(Texts(), (std::vector<std::string>{"alle", "\"kein\"", "1 Bit\tJalousie\t01/02/0003",
                                                  "1 Byte vorzeichenlos\tHeizung\t\"keine\"",
                                                  "1 Bit\tLicht\t02/00/0001"}));
    EXPECT_EQ(Data(), (std::vector<std::intptr_t>{0, 0, Raw(1, 2, 3), -Raw(1, 2, 10), Raw(2, 0, 1)}));

    // Selection by data finds the invalid address by its negated value.
    SelectComboByData(m_pBox, -Raw(1, 2, 10), -1);
    EXPECT_EQ(m_pBox->currentIndex(), 3);
    EXPECT_EQ(GetComboSelData(m_pBox), -Raw(1, 2, 10));

    // Sorting by type first, then by name.
    m_pBox->GetColumnTypes() = {1, 2, 3};
    m_pBox->Refill();
    EXPECT_EQ(Data(), (std::vector<std::intptr_t>{0, 0, Raw(1, 2, 3), Raw(2, 0, 1), -Raw(1, 2, 10)}));
    EXPECT_EQ(m_pBox->currentIndex(), 4) << "the selection follows its entry";
}

TEST_F(TableComboBoxTest, ClickOnColumnTitleReversesItsSortAndOpensTheList) {
    m_pBox->GetColumnTypes() = {3, 1, 2};
    CGroupDataAddress* pA = Address(1, 2, 3, "b");
    CGroupDataAddress* pB = Address(1, 2, 10, "a");
    CGroupDataAddress* pC = Address(2, 0, 1, "c");
    List({pC, pA, pB});
    EXPECT_EQ(Data(), (std::vector<std::intptr_t>{Raw(1, 2, 3), Raw(1, 2, 10), Raw(2, 0, 1)}));

    ClickHeader(250);  // the "Nr" column
    EXPECT_EQ(m_pBox->GetColumnTypes(), (std::vector<SHORT>{-3, 1, 2}));
    EXPECT_EQ(Data(), (std::vector<std::intptr_t>{Raw(2, 0, 1), Raw(1, 2, 10), Raw(1, 2, 3)}));
    EXPECT_TRUE(m_pBox->GetDroppedState());

    // A click while the list is open only closes it.
    ClickHeader(250);
    EXPECT_FALSE(m_pBox->GetDroppedState());
    EXPECT_EQ(m_pBox->GetColumnTypes(), (std::vector<SHORT>{-3, 1, 2}));

    ClickHeader(250);
    EXPECT_EQ(m_pBox->GetColumnTypes(), (std::vector<SHORT>{3, 1, 2}));
    EXPECT_EQ(Data(), (std::vector<std::intptr_t>{Raw(1, 2, 3), Raw(1, 2, 10), Raw(2, 0, 1)}));

    // Another column becomes the primary key, reversed.
    m_pBox->ShowDropDown(false);
    ClickHeader(150);
    EXPECT_EQ(m_pBox->GetColumnTypes(), (std::vector<SHORT>{-2, 3, 1}));
    EXPECT_EQ(Data(), (std::vector<std::intptr_t>{Raw(2, 0, 1), Raw(1, 2, 3), Raw(1, 2, 10)}));
}

TEST_F(TableComboBoxTest, SelectObjectFindsTheEntryOrTheNearestOne) {
    m_pBox->GetColumnTypes() = {3, 1, 2};
    CGroupDataAddress* pFirst = Address(1, 2, 3, "x");
    CGroupDataAddress* pLast = Address(2, 0, 1, "y");
    List({pLast, Address(1, 2, 10, "z"), pFirst});

    m_pBox->SelectObject(pLast);
    EXPECT_EQ(m_pBox->currentIndex(), 2);
    m_pBox->SelectObject(Address(1, 2, 5, "not listed"));
    EXPECT_EQ(m_pBox->currentIndex(), 1) << "the next higher address";
    m_pBox->SelectObject(Address(1, 0, 0, "lower than all"));
    EXPECT_EQ(m_pBox->currentIndex(), 0);
    m_pBox->SelectObject(Address(3, 0, 0, "higher than all"));
    EXPECT_EQ(m_pBox->currentIndex(), 2);
    m_pBox->SelectObject(nullptr);
    EXPECT_EQ(m_pBox->currentIndex(), -1);

    // With the none and a first entry the objects move down; no object
    // selects the none entry.
    m_pBox->SetFirstEntryText("erste");
    m_pBox->SetNoneEntry(true);
    m_pBox->Refill();
    m_pBox->SelectObject(nullptr);
    EXPECT_EQ(m_pBox->currentIndex(), 1);
    EXPECT_EQ(m_pBox->currentText().toStdString(), "\"kein\"");
    m_pBox->SelectObject(Address(1, 2, 5, "not listed"));
    EXPECT_EQ(m_pBox->currentIndex(), 3);
    m_pBox->SelectObject(pFirst);
    EXPECT_EQ(m_pBox->currentIndex(), 2);
}

TEST_F(TableComboBoxTest, AddObjectStopsAt250AndRefillKeepsSelectionAndOpenList) {
    for (int i = 0; i < CTableComboBox::MAX_OBJECTS; ++i) {
        ASSERT_TRUE(m_pBox->AddObject(Address(1, i / 200, i % 200 + 1, "a")));
    }
    EXPECT_FALSE(m_pBox->AddObject(Address(5, 0, 1, "too many")));
    EXPECT_EQ(m_pBox->GetObjectCount(), 250);
    m_pBox->Refill();
    EXPECT_EQ(m_pBox->count(), 250);

    SelectComboByData(m_pBox, Raw(1, 1, 7), -1);
    m_pBox->ShowDropDown(true);
    m_pBox->Refill();
    EXPECT_TRUE(m_pBox->GetDroppedState());
    EXPECT_EQ(GetComboSelData(m_pBox), Raw(1, 1, 7));

    // A vanished entry leaves no selection.
    m_pBox->ClearObjects();
    m_pBox->AddObject(Address(4, 0, 1, "other"));
    m_pBox->Refill();
    EXPECT_EQ(m_pBox->currentIndex(), -1);
}

TEST_F(TableComboBoxTest, NewAddressEntryNeedsPlugInModeAndTheInsertionDialog) {
    List({Address(1, 0, 1, "a")});
    m_pBox->EnableNewAddressEntry(true);
    EXPECT_FALSE(m_pBox->IsNewAddressEntryEnabled()) << "no insertion dialog to open";
    EXPECT_EQ(m_pBox->Refill(), -1);

    ui::SetGroupAddressInsertHook([](QWidget*, DWORD) { return nullptr; });
    EXPECT_EQ(m_pBox->Refill(), 1);
    EXPECT_EQ(Texts().back(), "neue Gruppenadresse");
    EXPECT_EQ(Data().back(), 0);
    EXPECT_EQ(m_pBox->GetNewAddressIndex(), 1);

    g_bStandalone = true;
    m_pBox->EnableNewAddressEntry(true);
    EXPECT_EQ(m_pBox->Refill(), -1);
    EXPECT_EQ(m_pBox->count(), 1);
}

TEST_F(TableComboBoxTest, NewAddressEntryIsWithdrawnAtTheAssociationLimitWithOneMessage) {
    uitest::CEditingRun run(false);
    CScriptedMessageBoxSink boxes;
    ui::SetGroupAddressInsertHook([](QWidget*, DWORD) { return nullptr; });
    List({Address(1, 0, 1, "a")});
    bool bLimitShown = false;

    run.Chronoset().SetAssociationCount(249);
    EXPECT_TRUE(m_pBox->UpdateNewAddressEntry(true, &m_parent, &bLimitShown));
    EXPECT_EQ(Texts().back(), "neue Gruppenadresse");
    EXPECT_FALSE(bLimitShown);

    run.Chronoset().SetAssociationCount(250);
    boxes.ExpectAny(IDOK);
    EXPECT_FALSE(m_pBox->UpdateNewAddressEntry(true, &m_parent, &bLimitShown));
    EXPECT_TRUE(bLimitShown);
    EXPECT_EQ(m_pBox->count(), 1);
    EXPECT_EQ(boxes.GetShown().size(), 1U);
    // Once per dialog.
    EXPECT_FALSE(m_pBox->UpdateNewAddressEntry(true, &m_parent, &bLimitShown));
    EXPECT_EQ(boxes.GetShown().size(), 1U);
}

TEST_F(TableComboBoxTest, ColumnLayoutIsRestoredCheckedAndSaved) {
    WriteIni("GroupAddressComboBox", "Column1", "10");
    WriteIni("GroupAddressComboBox", "Column2", "120");
    WriteIni("GroupAddressComboBox", "Pos1", "0");
    WriteIni("GroupAddressComboBox", "Pos2", "0");
    WriteIni("GroupAddressComboBox", "Pos3", "2");
    m_pBox->RestoreColumns(TABLE_TYPE_GROUP_ADDRESS_COMBO);
    EXPECT_EQ(m_pBox->GetColumn(0)->m_nWidth, 100) << "a width of 10 is ignored";
    EXPECT_EQ(m_pBox->GetColumn(1)->m_nWidth, 120);
    EXPECT_EQ(m_pBox->GetColumn(2)->m_nWidth, 100);
    EXPECT_FALSE(m_pBox->HasColumnOrder()) << "0, 0, 2 is no order";

    WriteIni("GroupAddressComboBox", "Pos1", "2");
    WriteIni("GroupAddressComboBox", "Pos3", "1");
    WriteIni("GroupAddressComboBox", "Pref1", "65533");
    WriteIni("GroupAddressComboBox", "Pref2", "1");
    WriteIni("GroupAddressComboBox", "Pref3", "2");
    m_pBox->RestoreColumns(TABLE_TYPE_GROUP_ADDRESS_COMBO);
    EXPECT_EQ(Order(), (std::vector<WORD>{2, 0, 1}));
    EXPECT_EQ(m_pBox->GetColumnTypes(), (std::vector<SHORT>{-3, 1, 2}));

    m_pBox->SetColumnWidth(2, 77);
    m_pBox->GetColumnTypes() = {-2, 3, 1};
    m_pBox->SaveColumns(TABLE_TYPE_GROUP_ADDRESS_COMBO);
    EXPECT_EQ(Ini("GroupAddressComboBox", "Column3"), "77");
    EXPECT_EQ(Ini("GroupAddressComboBox", "Pref1"), "65534");
    EXPECT_EQ(Ini("GroupAddressComboBox", "Pref2"), "3");
    EXPECT_EQ(Ini("GroupAddressComboBox", "Pos1"), "2");
    EXPECT_EQ(Ini("GroupAddressComboBox", "Pos2"), "0");
    EXPECT_EQ(Ini("GroupAddressComboBox", "Pos3"), "1");
}

TEST_F(TableComboBoxTest, DefaultColumnsFitTheEntriesAndTheOpenListStaysInsideTheWindow) {
    WriteIni("GroupAddressComboBox", "Column2", "60");
    m_pBox->RestoreColumns(TABLE_TYPE_GROUP_ADDRESS_COMBO);
    List({Address(1, 0, 1, "Licht", 9), Address(1, 0, 2, "b")});
    // A cell's text needs 12 pixels beside it; the user's 60 stay.
    EXPECT_GE(m_pBox->GetColumn(0)->m_nWidth,
              QFontMetrics(m_pBox->font()).horizontalAdvance("2 Byte Gleitkommazahl") + 12);
    EXPECT_EQ(m_pBox->GetColumn(1)->m_nWidth, 60);
    EXPECT_EQ(m_pBox->GetColumn(2)->m_nWidth, 100);
    m_pBox->SaveColumns(TABLE_TYPE_GROUP_ADDRESS_COMBO);
    EXPECT_EQ(Ini("GroupAddressComboBox", "Column1"), "100");
    EXPECT_EQ(Ini("GroupAddressComboBox", "Column2"), "60");

    // Columns wider than the box: the list is as wide as they are, moved
    // left as far as the window needs; wider than the window, it starts at
    // the window's left edge.
    m_pBox->move(70, 60);
    for (int nWidth : {150, 300}) {
        m_pBox->SetColumnWidth(2, nWidth);
        uitest::Click(m_pBox);
        uitest::ProcessEvents();
        ASSERT_TRUE(m_pBox->GetDroppedState());
        const QRect rcList = m_pBox->view()->window()->geometry();
        const QRect rcWindow = m_parent.geometry();
        EXPECT_GT(rcList.width(), m_pBox->GetColumnsWidth());
        EXPECT_EQ(rcList.left(), std::max(rcWindow.left(), rcWindow.right() - rcList.width() + 1)) << nWidth;
        m_pBox->ShowDropDown(false);
    }
}

TEST_F(TableComboBoxTest, HeaderSitsAboveTheBoxAndResizesColumnsWithinItsWidth) {
    EXPECT_EQ(m_pHeader->geometry().bottom() + 1, m_pBox->geometry().top());
    EXPECT_EQ(m_pHeader->width(), m_pBox->width());
    EXPECT_EQ(m_pHeader->height(), m_pBox->MeasureItem() + 2);
    EXPECT_EQ(m_pHeader->ColumnEdge(1, false), 100);
    EXPECT_EQ(m_pHeader->ColumnEdge(1, true), 200);

    int nColumn = -1;
    int nRow = -1;
    EXPECT_EQ(m_pHeader->HitTest(101, 5, nColumn, nRow), THT_BORDER);
    EXPECT_EQ(nColumn, 0);
    EXPECT_EQ(m_pHeader->HitTest(150, 5, nColumn, nRow), THT_COLUMN);
    EXPECT_EQ(nColumn, 1);
    EXPECT_EQ(m_pHeader->HitTest(310, 5, nColumn, nRow), THT_COLUMN);
    EXPECT_EQ(nColumn, 3) << "right of all columns";

    DragHeader(100, 319);  // the right edge of "Typ" to the header's end
    EXPECT_EQ(m_pBox->GetColumn(0)->m_nWidth, 320 - 4);
    DragHeader(316, 60);
    EXPECT_EQ(m_pBox->GetColumn(0)->m_nWidth, 60);
    DragHeader(160, 30);  // the right edge of "Name" left of its start
    EXPECT_EQ(m_pBox->GetColumn(1)->m_nWidth, 0);
    DragHeader(60, 380);  // released outside the header: nothing changes
    EXPECT_EQ(m_pBox->GetColumn(0)->m_nWidth, 60);

    // A drag the window loses on its way (another window comes to the
    // front) changes nothing.
    const int y = m_pHeader->height() / 2;
    uitest::MousePress(m_pHeader, QPoint(60, y));
    EXPECT_EQ(m_pHeader->GetDragMode(), 1);
    EXPECT_EQ(m_pHeader->GetSizeLineX(), 60);
    QWidget other;
    other.setGeometry(600, 400, 50, 50);
    other.show();
    other.activateWindow();
    uitest::ProcessEvents();
    ASSERT_FALSE(m_parent.isActiveWindow());
    EXPECT_EQ(m_pHeader->GetDragMode(), 0);
    uitest::MouseRelease(m_pHeader, QPoint(100, y));
    EXPECT_EQ(m_pBox->GetColumn(0)->m_nWidth, 60);
    EXPECT_EQ(m_pHeader->GetSizeLineX(), -1);
}

TEST_F(TableComboBoxTest, MovingColumnsChangesTheDisplayOrder) {
    DragHeader(50, 150);  // onto its right neighbour: one less than its place is where it is
    EXPECT_EQ(Order(), (std::vector<WORD>{0, 1, 2}));
    EXPECT_FALSE(m_pBox->HasColumnOrder());

    DragHeader(50, 50);
    EXPECT_FALSE(m_pBox->HasColumnOrder()) << "dropped on itself";

    DragHeader(50, 250);
    EXPECT_EQ(Order(), (std::vector<WORD>{1, 0, 2}));
    m_pBox->SetColumnOrder(nullptr);
    DragHeader(50, 315);
    EXPECT_EQ(Order(), (std::vector<WORD>{1, 2, 0}));
    // The natural order again is kept as no order.
    std::vector<WORD> natural{0, 1, 2};
    m_pBox->SetColumnOrder(&natural);
    EXPECT_FALSE(m_pBox->HasColumnOrder());
}

TEST_F(TableComboBoxTest, FontChangeGivesNewEntryAndHeaderHeights) {
    const int nOld = m_pBox->MeasureItem();
    QFont font = m_pBox->font();
    font.setPixelSize(QFontMetrics(font).height() * 2);
    m_pBox->setFont(font);
    EXPECT_EQ(m_pBox->MeasureItem(), QFontMetrics(font).height() + 2);
    EXPECT_NE(m_pBox->MeasureItem(), nOld);
    EXPECT_EQ(m_pHeader->height(), m_pBox->MeasureItem() + 2);
    EXPECT_EQ(m_pHeader->geometry().bottom() + 1, m_pBox->geometry().top());
}

TEST_F(TableComboBoxTest, HeaderNotifiesItsParentOnlyWithAnId) {
    std::vector<int> codes;
    QObject::connect(m_pHeader, &CTabListHeader::Notify, [&codes](int nCode) { codes.push_back(nCode); });
    ClickHeader(50);
    m_pBox->ShowDropDown(false);
    EXPECT_TRUE(codes.empty()) << "made with id -1";

    CTableListHeader header(1, THS_RESIZABLE);
    QObject::connect(&header, &CTabListHeader::Notify, [&codes](int nCode) { codes.push_back(nCode); });
    CTableComboBox box(false, &m_parent);
    box.setGeometry(10, 150, 320, 24);
    box.AddGroupAddressColumns();
    ASSERT_TRUE(header.CreateForControl(&box, 2, 1400));
    EXPECT_EQ(header.geometry().bottom() + 3, box.geometry().top());
    const int y = header.height() / 2;
    uitest::Click(&header, QPoint(50, y));
    box.ShowDropDown(false);
    uitest::Click(&header, QPoint(310, y));  // right of all columns
    EXPECT_EQ(codes, (std::vector<int>{0})) << "presses inside a column only";
    // Where a click opens no list, so the second press reaches the header.
    uitest::DoubleClick(&header, QPoint(310, y));
    EXPECT_EQ(codes, (std::vector<int>{0, 5}));
}

// The first and last column (or row) of the area with a pixel that stands
// out from the background (text); -1, -1 without any.
std::pair<int, int> InkSpan(const QImage& image, const QRect& area, const QColor& background, bool bRows) {
    int nFirst = -1;
    int nLast = -1;
    const int nFrom = bRows ? area.top() : area.left();
    const int nTo = bRows ? area.bottom() : area.right();
    for (int i = nFrom; i <= nTo; ++i) {
        for (int j = bRows ? area.left() : area.top(); j <= (bRows ? area.right() : area.bottom()); ++j) {
            const QRgb pixel = bRows ? image.pixel(j, i) : image.pixel(i, j);
            if (std::abs(qGray(pixel) - qGray(background.rgb())) > 60) {
                nFirst = nFirst < 0 ? i : nFirst;
                nLast = i;
                break;
            }
        }
    }
    return {nFirst, nLast};
}

std::pair<int, int> Ink(const QImage& image, const QRect& area, const QColor& background) {
    return InkSpan(image, area, background, false);
}

std::pair<int, int> InkRows(const QImage& image, const QRect& area, const QColor& background) {
    return InkSpan(image, area, background, true);
}

using uitest::Darkest;

TEST_F(TableComboBoxTest, EntriesDrawTheirFieldsInTheirColumnsAndSpecialRowsAcrossTheList) {
    ui::SetGroupAddressInsertHook([](QWidget*, DWORD) { return nullptr; });
    m_pBox->SetNoneEntry(true);
    m_pBox->EnableNewAddressEntry(true);
    List({Address(1, 0, 1, "a"), Address(1, 0, 2, "b")});
    m_pBox->SetStyle(TCS_GRIDLINES | TCS_FILLROWS);
    m_pBox->setCurrentIndex(2);
    m_pBox->ShowDropDown(true);
    uitest::ProcessEvents();
    QAbstractItemView* pView = m_pBox->view();
    const QImage list = pView->viewport()->grab().toImage();
    const QFontMetrics metrics(m_pBox->font());
    auto width = [&](const char* pszText) { return metrics.horizontalAdvance(QString::fromUtf8(pszText)); };

    // "1 Bit", "a" and "01/00/0001", each 4 pixels into its column; a black
    // line closes each column.
    const QRect rcRow = pView->visualRect(pView->model()->index(1, 0));
    const QColor back = list.pixelColor(95, rcRow.center().y());
    const char* fields[] = {"1 Bit", "a", "01/00/0001"};
    for (int nColumn = 0; nColumn < 3; ++nColumn) {
        const int nLeft = 100 * nColumn;
        const auto [nFirst, nLast] = Ink(list, QRect(nLeft, rcRow.top(), 99, rcRow.height()), back);
        EXPECT_NEAR(nFirst, nLeft + 4, 2) << fields[nColumn];
        EXPECT_NEAR(nLast - nFirst + 1, width(fields[nColumn]), 3) << fields[nColumn];
        for (int y = rcRow.top(); y <= rcRow.bottom(); ++y) {
            ASSERT_EQ(list.pixel(nLeft + 99, y) & 0xFFFFFF, 0u) << "grid line after column " << nColumn;
        }
    }

    // "neue Gruppenadresse" is one text over the whole width, not cut at the
    // end of the first column.
    ASSERT_GT(width("neue Gruppenadresse"), 100);
    const QRect rcNew = pView->visualRect(pView->model()->index(3, 0));
    const auto [nFirst, nLast] = Ink(list, QRect(0, rcNew.top(), 98, rcNew.height()), back);
    EXPECT_NEAR(nFirst, 4, 2);
    const auto [nBeyond, nEnd] = Ink(list, QRect(100, rcNew.top(), 98, rcNew.height()), back);
    EXPECT_NE(nBeyond, -1);
    EXPECT_NEAR(nEnd - nFirst + 1, width("neue Gruppenadresse"), 3);

    // The header's titles are centred over their columns.
    const QImage header = m_pHeader->grab().toImage();
    const QRect rcTitles(1, 1, 97, header.height() - 2);
    const auto [nTitle, nTitleEnd] = Ink(header, rcTitles.translated(100, 0), header.pixelColor(150, 1));
    EXPECT_NEAR((nTitle + nTitleEnd) / 2, 150, 2);
    EXPECT_NEAR(nTitleEnd - nTitle + 1, width("Name"), 3);

    // The closed box without the focus draws its entry's text black, grey
    // when disabled.
    m_pBox->ShowDropDown(false);
    m_pBox->clearFocus();
    const QRect rcText(8, m_pBox->height() / 3, 80, m_pBox->height() / 3);
    EXPECT_LT(Darkest(m_pBox->grab().toImage(), rcText), 60);
    m_pBox->setEnabled(false);
    EXPECT_NEAR(Darkest(m_pBox->grab().toImage(), rcText), 127, 10);
}

// The largest set's choosers: each column of the open list as wide as its
// title and its widest field, the list as wide as its columns where the
// screen allows and inside the screen; the closed box shows every column.
TEST_F(TableComboBoxTest, OpenListShowsEveryColumnWholeWhereTheScreenAllowsAndTheClosedBoxEachColumn) {
    std::vector<CGroupDataAddress*> addresses;
    for (int i = 0; i < CTableComboBox::MAX_OBJECTS; ++i) {
        const LONG nType = i % 3 == 0 ? 9 : (i % 3 == 1 ? 1 : 5);
        addresses.push_back(Address(1 + i / 256, (i / 16) % 8, i % 256,
                                    "Gruppenadresse " + std::to_string(i) + " mit längerem Namen im Obergeschoss",
                                    nType));
    }
    List(addresses);
    const QFontMetrics metrics(m_pBox->font());
    auto textWidth = [&metrics](const std::string& strText) {
        return metrics.horizontalAdvance(QString::fromStdString(strText));
    };
    const QRect rcScreen = m_pBox->screen()->availableGeometry();

    // A cell's text needs 12 pixels beside it.
    for (int nColumn = 0; nColumn < 3; ++nColumn) {
        int nWidest = textWidth(m_pBox->GetColumn(nColumn)->m_strTitle);
        for (int i = 0; i < m_pBox->count(); ++i) {
            const std::string strText = m_pBox->itemText(i).toStdString();
            nWidest = std::max(nWidest, textWidth(CTabComboBox::GetTabField(strText, nColumn)));
        }
        if (nColumn == 1) {
            ASSERT_GT(nWidest + 12, kMaxFittedColumnWidth) << "names longer than a table's column grows";
        }
        EXPECT_GE(m_pBox->GetColumn(nColumn)->m_nWidth, nWidest + 12) << "column " << nColumn;
    }

    // Opened with the keys in a window narrower than the columns, the list
    // lies inside the screen's width and its rows show all columns.
    ASSERT_LT(m_parent.width(), m_pBox->GetColumnsWidth());
    uitest::PressKey(m_pBox, Qt::Key_Down, Qt::AltModifier);
    uitest::ProcessEvents();
    ASSERT_TRUE(m_pBox->GetDroppedState());
    QRect rcList = m_pBox->view()->window()->geometry();
    EXPECT_GE(rcList.left(), rcScreen.left());
    EXPECT_LE(rcList.right(), rcScreen.right());
    EXPECT_GE(m_pBox->view()->viewport()->width(), m_pBox->GetColumnsWidth());
    uitest::PressKey(m_pBox->view(), Qt::Key_Escape);
    ASSERT_FALSE(m_pBox->GetDroppedState());

    // Closed, the box shows its entry's type and address whole within its
    // width, and the name cut between them.
    m_pBox->setCurrentIndex(1);
    const std::string strEntry = m_pBox->itemText(1).toStdString();
    const QRect rcFace = m_pBox->GetFaceRect();
    const std::vector<int> widths = m_pBox->GetFaceWidths(strEntry, rcFace.width());
    ASSERT_EQ(widths.size(), 3u);
    EXPECT_LE(widths[0] + widths[1] + widths[2], rcFace.width());
    EXPECT_GE(widths[0], textWidth(CTabComboBox::GetTabField(strEntry, 0)) + 12);
    EXPECT_LT(widths[1], textWidth(CTabComboBox::GetTabField(strEntry, 1)) + 12);
    const std::string strAddress = CTabComboBox::GetTabField(strEntry, 2);
    EXPECT_GE(widths[2], textWidth(strAddress) + 12);
    const QImage face = m_pBox->grab().toImage();
    const QColor back = face.pixelColor(rcFace.left() + 1, rcFace.center().y());
    const int nAddressLeft = rcFace.left() + widths[0] + widths[1];
    const auto [nName, nNameEnd] = Ink(face, QRect(rcFace.left() + widths[0], rcFace.top(), widths[1], rcFace.height()), back);
    EXPECT_NE(nName, -1);
    EXPECT_LT(nNameEnd, nAddressLeft);
    // The cut name ends in an ellipsis: the dots at its end stand on the
    // line, below the middle of the letters before them.
    const QRect rcName(rcFace.left() + widths[0], rcFace.top(), widths[1], rcFace.height());
    const auto [nTop, nBottom] = InkRows(face, rcName, back);
    const int nDots = metrics.horizontalAdvance(QChar(0x2026));
    const auto [nDotsTop, nDotsBottom] =
        InkRows(face, QRect(nNameEnd - nDots + 2, rcFace.top(), nDots - 2, rcFace.height()), back);
    EXPECT_GT(nDotsTop, (nTop + nBottom) / 2) << "no ellipsis at the end of the cut name";
    const auto [nFirst, nLast] = Ink(face, QRect(nAddressLeft, rcFace.top(), widths[2], rcFace.height()), back);
    EXPECT_NEAR(nFirst, nAddressLeft + 4, 2);
    EXPECT_NEAR(nLast - nFirst + 1, textWidth(strAddress), 3);

    // With the mouse, a name longer than the screen is wide: the list takes
    // the screen's width and no more.
    addresses.back() = Address(9, 0, 1, std::string(400, 'W'));
    List(addresses);
    uitest::Click(m_pBox);
    uitest::ProcessEvents();
    ASSERT_TRUE(m_pBox->GetDroppedState());
    rcList = m_pBox->view()->window()->geometry();
    EXPECT_EQ(rcList.width(), rcScreen.width());
    // (The offscreen platform keeps 2 pixels left of a window for a frame.)
    EXPECT_LE(rcList.left(), rcScreen.left() + 2);
}

TEST(TabComboBoxTest, TabFieldsAndColumnBookkeeping) {
    EXPECT_EQ(CTabComboBox::GetTabField("a\tb", 1), "b");
    EXPECT_EQ(CTabComboBox::GetTabField("a\tb", 2), "") << "fewer fields leave the last cells empty";
    EXPECT_EQ(CTabComboBox::GetTabField("a\t\tc", 1), "");
    EXPECT_EQ(CTabComboBox::GetTabField("a\t\tc", 2), "c");

    const CTabComboItem columns[] = {{TCI_LEFT, 10, "A"}, {TCI_RIGHT, 10, "B"}, {TCI_CENTER, 10, "C"}};
    CTabComboBox box(TCS_GRIDLINES, 3, columns);
    std::vector<WORD> order{2, 0, 1};
    box.SetColumnOrder(&order);
    EXPECT_EQ(box.OrderToColumn(0), 2);
    EXPECT_EQ(box.ColumnToOrder(2), 0);
    box.RemoveItem(0);
    std::vector<WORD> after;
    box.GetColumnOrder(after);
    EXPECT_EQ(after, (std::vector<WORD>{1, 0}));
    EXPECT_EQ(box.GetColumn(0)->m_strTitle, "B");

    // Fitting widens only and appends the missing columns.
    box.SetColumnWidth(0, 500);
    box.FitText("x\tvery much longer text\tthird");
    EXPECT_EQ(box.GetColumnCount(), 3);
    EXPECT_EQ(box.GetColumn(0)->m_nWidth, 500);
    EXPECT_GT(box.GetColumn(1)->m_nWidth, 10);
    box.GetColumnOrder(after);
    EXPECT_EQ(after, (std::vector<WORD>{1, 0, 2}));
}

// A column that makes its cell texts from the item data.
class CNumberColumn : public CTabComboItem {
public:
    using CTabComboItem::CTabComboItem;
    std::string GetCellText(int nItem, int nColumn, std::intptr_t nItemData) const override {
        return std::to_string(nItem) + ":" + std::to_string(nColumn) + ":" + std::to_string(nItemData);
    }
};

TEST(TabComboBoxTest, BoxWithoutStringsJoinsTheVisibleColumnsCellTexts) {
    QWidget parent;
    CTabComboBox box(0, 0, nullptr, &parent);
    box.AddItem(new CNumberColumn(TCI_LEFT, 20, "A"));
    box.AddItem(new CNumberColumn(TCI_HIDDEN, 20, "B"));
    box.AddItem(new CNumberColumn(TCI_RIGHT, 20, "C"));
    AddComboItem(&box, QString(), 7);
    box.SetHasStrings(false);
    EXPECT_EQ(box.GetItemText(0, 7), "0:0:7\t0:2:7");

    // Hidden columns take no room in the header.
    box.setGeometry(0, 40, 200, 20);
    CTabListHeader header(1, THS_RESIZABLE);
    ASSERT_TRUE(header.CreateForControl(&box, 0, -1));
    EXPECT_EQ(header.ColumnEdge(2, false), 20);
    EXPECT_EQ(header.ColumnEdge(1, true), -1);
    header.SetScrollOffset(5);
    EXPECT_EQ(header.ColumnEdge(2, true), 35);
}

TEST(TableComboBoxDayRoutineTest, DayRoutinesListByNameWithObjectData) {
    const platform::CResourceModule* pPrevious =
        platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
    CDayRoutine work;
    work.SetNumber(2);
    work.SetName("Werktag");
    CDayRoutine holiday;
    holiday.SetNumber(11);
    holiday.SetName("Feiertag");
    CTableComboBox box(false);
    box.AddDayRoutineColumns();
    box.GetColumnTypes() = {1, 2};
    box.SetFirstEntryText("(Woche)");
    box.SetNoneEntry(true);
    box.AddObject(&work);
    box.AddObject(&holiday);
    box.Refill();
    ASSERT_EQ(box.count(), 4);
    EXPECT_EQ(box.itemText(2).toStdString(), "Feiertag\t11");
    // Each routine's data sits on its own entry even with the first entry.
    EXPECT_EQ(GetComboItemData(&box, 2), reinterpret_cast<std::intptr_t>(&holiday));
    EXPECT_EQ(GetComboItemData(&box, 3), reinterpret_cast<std::intptr_t>(&work));
    box.SelectObject(&work);
    EXPECT_EQ(box.currentIndex(), 3);
    box.GetColumnTypes() = {2, 1};
    box.Refill();
    EXPECT_EQ(box.currentIndex(), 2) << "the selection follows the routine";
    // An unsupported object sorts as equal.
    CGroupDataAddress address;
    EXPECT_EQ(box.CompareObjects(&work, &address), 0);
    EXPECT_EQ(box.CompareObjects(nullptr, &work), 1);
    platform::SetFrameworkResourceModule(pPrevious);
}

TEST(TableComboBoxAttachTest, TakesThePlaceOfATemplateComboBox) {
    CDialog dialog;
    auto* pPlain = new QComboBox(&dialog);
    pPlain->setGeometry(5, 40, 200, 22);
    pPlain->addItem("x");
    CDialog::SetDlgCtrlID(pPlain, 1234);
    auto* pBox = new CTableComboBox(true);
    ASSERT_TRUE(pBox->SubclassDlgItem(1234, &dialog));
    EXPECT_EQ(dialog.GetDlgItem(1234), pBox);
    EXPECT_EQ(pBox->parentWidget(), &dialog);
    EXPECT_EQ(pBox->geometry(), QRect(5, 40, 200, 22));
    EXPECT_EQ(pBox->count(), 1);
    EXPECT_EQ(dialog.findChildren<QComboBox*>().size(), 1);
    CTableListHeader header;
    EXPECT_TRUE(header.CreateForControl(pBox, 0, -1));
    EXPECT_EQ(header.parentWidget(), &dialog);
    EXPECT_FALSE(pBox->SubclassDlgItem(999, &dialog));
}

}  // namespace
